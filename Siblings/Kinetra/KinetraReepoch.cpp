// Moving an element set to a new epoch. SGP4 propagates the set to the new epoch; the new mean
// elements are then fitted so that SGP4 started at the new epoch gives that same state:
// Newton's method on the six-dimensional state residual, with a forward-difference Jacobian in
// equinoctial variables (mean motion, e cos/sin of the longitude of perigee, tan(i/2) sin/cos of
// the node, mean longitude), which stay regular for circular and equatorial orbits. The first
// guess is SGP4's own mean elements at the new epoch. B*, the mean-motion derivatives and the
// other fields of the set are kept; the revolution number is the one at the new epoch.
#include <array>
#include <cinttypes>
#include <cmath>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/LinesetStore.h"

namespace kinetra {
namespace {

using basalon::kRadToDeg;
using basalon::kTwoPi;

constexpr double kRevDayToRadMin = 0.004363323129985824;  // 2 pi / 1440
constexpr int kMaxIterations = 30;
// Accepted residual: position and velocity differences relative to their magnitudes (1e-10 is
// under a millimetre in position for any Earth orbit).
constexpr double kTolerance = 1.0e-10;

using Vec6 = std::array<double, 6>;

double wrap(double x) {
  x = std::fmod(x, kTwoPi);
  return x < 0.0 ? x + kTwoPi : x;
}

// Equinoctial variables of (n rad/min, e, i, node, argp, M) and back.
Vec6 toEqui(double n, double e, double i, double node, double argp, double m) {
  const double lp = node + argp, t = std::tan(0.5 * i);
  return {n, e * std::cos(lp), e * std::sin(lp), t * std::sin(node), t * std::cos(node), m + lp};
}

void fromEqui(const Vec6& q, double& n, double& e, double& i, double& node, double& argp, double& m) {
  n = q[0];
  e = std::hypot(q[1], q[2]);
  const double lp = e > 0.0 ? std::atan2(q[2], q[1]) : 0.0;
  const double t = std::hypot(q[3], q[4]);
  i = 2.0 * std::atan(t);
  node = t > 0.0 ? wrap(std::atan2(q[3], q[4])) : 0.0;
  argp = wrap(lp - node);
  m = wrap(q[5] - lp);
}

// The element set with the fitted variables, in the set's units.
void applyEqui(const Vec6& q, lineset::TleRecord& r) {
  double n, e, i, node, argp, m;
  fromEqui(q, n, e, i, node, argp, m);
  r.meanMotion = n / kRevDayToRadMin;
  r.ecc = e;
  r.incl = i * kRadToDeg;
  r.node = node * kRadToDeg;
  r.argPerigee = argp * kRadToDeg;
  r.meanAnomaly = m * kRadToDeg;
}

// Residual of a trial set at its epoch against the target state, position and velocity each
// relative to the target's magnitude. False when the trial cannot be propagated.
bool residual(const Vec6& q, lineset::TleRecord& trial, const Vec3& pos, const Vec3& vel, Vec6& res) {
  applyEqui(q, trial);
  if (!(trial.ecc < 1.0) || !(trial.meanMotion > 0.0)) return false;
  Sgp4Obj obj;
  if (initFromTle(trial, obj) != kSgp4Ok) return false;
  Sgp4State st;
  if (obj.propagate(0.0, st) != kSgp4Ok) return false;
  const double rs = basalon::norm(pos);
  const double vs = basalon::norm(vel);
  for (int k = 0; k < 3; ++k) {
    res[k] = (st.pos[k] - pos[k]) / rs;
    res[k + 3] = (st.vel[k] - vel[k]) / vs;
  }
  return true;
}

double norm(const Vec6& v) {
  double s = 0.0;
  for (double x : v) s += x * x;
  return std::sqrt(s);
}

// Solves a x = b by Gaussian elimination with partial pivoting; false when singular.
bool solve6(std::array<Vec6, 6> a, Vec6 b, Vec6& x) {
  for (int c = 0; c < 6; ++c) {
    int p = c;
    for (int r = c + 1; r < 6; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[p][c])) p = r;
    if (!(std::fabs(a[p][c]) > 1e-300)) return false;
    std::swap(a[p], a[c]);
    std::swap(b[p], b[c]);
    for (int r = c + 1; r < 6; ++r) {
      const double f = a[r][c] / a[c][c];
      for (int k = c; k < 6; ++k) a[r][k] -= f * a[c][k];
      b[r] -= f * b[c];
    }
  }
  for (int c = 5; c >= 0; --c) {
    double s = b[c];
    for (int k = c + 1; k < 6; ++k) s -= a[c][k] * x[k];
    x[c] = s / a[c][c];
  }
  return true;
}

// Newton iterations from q; true when the residual falls below kTolerance.
bool fit(Vec6& q, lineset::TleRecord& trial, const Vec3& pos, const Vec3& vel) {
  Vec6 res{};
  if (!residual(q, trial, pos, vel, res)) return false;
  double rn = norm(res);
  for (int it = 0; it < kMaxIterations && rn > kTolerance; ++it) {
    // Jacobian columns by forward differences; steps relative to each variable's natural scale.
    const Vec6 step{1e-7 * q[0], 1e-8, 1e-8, 1e-8, 1e-8, 1e-8};
    std::array<Vec6, 6> jac{};
    for (int j = 0; j < 6; ++j) {
      Vec6 qj = q;
      qj[j] += step[j];
      Vec6 rj{};
      if (!residual(qj, trial, pos, vel, rj)) return false;
      for (int r = 0; r < 6; ++r) jac[r][j] = (rj[r] - res[r]) / step[j];
    }
    Vec6 minus{}, dx{};
    for (int r = 0; r < 6; ++r) minus[r] = -res[r];
    if (!solve6(jac, minus, dx)) return false;
    // Halve the step until the residual shrinks.
    bool improved = false;
    for (double lambda = 1.0; lambda > 1e-3 && !improved; lambda *= 0.5) {
      Vec6 qn = q;
      for (int j = 0; j < 6; ++j) qn[j] += lambda * dx[j];
      Vec6 rnew{};
      if (residual(qn, trial, pos, vel, rnew) && norm(rnew) < rn) {
        q = qn;
        res = rnew;
        rn = norm(rnew);
        improved = true;
      }
    }
    if (!improved) break;
  }
  applyEqui(q, trial);
  return rn <= kTolerance;
}

}  // namespace

void reepochTleRecord(const lineset::TleRecord& tle, double newEpoch, lineset::TleRecord& out,
                      int32_t& code) {
  out = lineset::TleRecord{};
  code = 0;
  Sgp4Obj orig;
  code = inittlegp(tle, orig);
  if (code != 0) return;
  // The new set's epoch as the model will read it back from year and day.
  lineset::TleRecord next = tle;
  double day = 0.0;
  int year = 0;
  chronel::fyklok(newEpoch, day, year);
  next.epochYear = year;
  next.epochDay = day;
  const double epoch1 = elementsOfTle(next).epochDs50;
  Sgp4State st;
  const int rc = orig.propagate((epoch1 - orig.record().epoch) * 1440.0, st);
  if (rc != kSgp4Ok) {
    code = rc;
    basalon::tracelogerror("reepochtle: SGP4 error code " + basalon::formatI0(rc) + " for satellite " +
                           basalon::formatI0(tle.satNum) + " at the new epoch.");
    return;
  }
  // First guess: the model's mean elements at the new epoch, the Kozai mean motion scaled by the
  // set's own Kozai/Brouwer ratio.
  const double nKozai = st.meanN * orig.record().noKozai / orig.record().no;
  Vec6 q = toEqui(nKozai, st.meanE, st.meanI, st.meanNode, st.meanArgp, st.meanM);
  if (!fit(q, next, st.pos, st.vel)) {
    code = basalon::fail("reepochtle: The mean elements of satellite " + basalon::formatI0(tle.satNum) +
                         " at the new epoch did not converge.");
    return;
  }
  next.revNum = st.revNum;
  next.name = tle.name;
  // The lines of the moved set; empty when a value does not fit the two-line columns.
  if (!lineset::tleComposeLines(next)) {
    next.line1.clear();
    next.line2.clear();
  }
  out = std::move(next);
}

void reepochtle(int64_t satKey, double newEpoch, lineset::TleRecord& out, int32_t& code) {
  out = lineset::TleRecord{};
  // A copy made under the TLE store's read side (DMA keys too): a concurrent removal cannot
  // free the set half-way through.
  lineset::TleRecord tle;
  std::string msg;
  lineset::tlefindrec(satKey, tle, &msg);
  if (tle.satNum == keyedtree::kNotFoundSatNum) {
    code = basalon::failf("reepochtle: Unable to locate satKey %19" PRId64 " in the TLE tree.", satKey);
    return;
  }
  reepochTleRecord(tle, newEpoch, out, code);
}

}  // namespace kinetra
