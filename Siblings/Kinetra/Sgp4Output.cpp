// SGP4 objects from TLE records, osculating elements of a state, and the state record fill.
#include "Siblings/Kinetra/Sgp4Output.h"

#include <cmath>

#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Planix/Planix.h"

namespace kinetra {
namespace {

using basalon::cross;
using basalon::dot;
using basalon::kDegToRad;
using basalon::kTwoPi;

constexpr double kRevDayToRadMin = 0.004363323129985824;  // 2 pi / 1440
constexpr double kSmall = 1.0e-12;

// x reduced to [0, 2 pi) as fmod and one turn added to a negative remainder. Angles within one
// turn of zero (all of them here but absurd ones) skip the fmod, whose result is x itself there.
double wrap(double x) {
  if (x >= 0.0 && x < kTwoPi) return x;
  if (x < 0.0 && x > -kTwoPi) return x + kTwoPi;
  x = std::fmod(x, kTwoPi);
  return x < 0.0 ? x + kTwoPi : x;
}

// Epoch as DS50 through the Julian date: the day's start from the calendar, then the hour,
// minute and seconds of the day's fraction added to the Julian date, which rounds the way the
// published verification output was made.
double tleEpochDs50(int year, double dayOfYear) {
  const double whole = std::floor(dayOfYear);
  double temp = (dayOfYear - whole) * 24.0;
  const double hour = std::floor(temp);
  temp = (temp - hour) * 60.0;
  const double minute = std::floor(temp);
  const double sec = (temp - minute) * 60.0;
  const double jd =
      chronel::ds50ToJd(chronel::yrdays2ds50(year, whole)) + ((sec / 60.0 + minute) / 60.0 + hour) / 24.0;
  return chronel::jdToDs50(jd);
}

}  // namespace

Sgp4Elements elementsOfTle(const lineset::TleRecord& tle) {
  Sgp4Elements el;
  el.satNum = tle.satNum;
  el.revNum = tle.revNum;
  el.epochDs50 = tleEpochDs50(tle.epochYear, tle.epochDay);
  el.bstar = tle.dragB;
  el.ecc = tle.ecc;
  el.incl = tle.incl * kDegToRad;
  el.node = tle.node * kDegToRad;
  el.argPerigee = tle.argPerigee * kDegToRad;
  el.meanAnomaly = tle.meanAnomaly * kDegToRad;
  el.meanMotion = tle.meanMotion * kRevDayToRadMin;
  return el;
}

int initFromTle(const lineset::TleRecord& tle, Sgp4Obj& obj) { return obj.init(elementsOfTle(tle)); }

// A second copy of Pelmath's state-to-elements conversion: a sibling library cannot call up into
// Pelmath. The true anomaly's sine and cosine come from the directions of the radius and of the
// eccentricity vector in the orbit plane, and those of the eccentric anomaly from their ratio, so
// that only the node, inclination, perigee and eccentric anomaly take an inverse function each.
void oscKeplerian(const Vec3& r, const Vec3& v, basalon::Elset& kep, double* trueAnomaly) {
  kep.fill(0.0);
  if (trueAnomaly != nullptr) *trueAnomaly = 0.0;
  const double rmag = std::sqrt(dot(r, r));
  if (rmag <= 0.0) return;
  const double v2 = dot(v, v), rv = dot(r, v);
  const Vec3 h = cross(r, v);
  const double hmag = std::sqrt(dot(h, h));
  // Eccentricity vector (mu = 1) and the node vector k x h.
  const double c1 = v2 - 1.0 / rmag;
  const Vec3 ev{c1 * r[0] - rv * v[0], c1 * r[1] - rv * v[1], c1 * r[2] - rv * v[2]};
  const double e = std::sqrt(dot(ev, ev));
  const double energy = 0.5 * v2 - 1.0 / rmag;
  const double a = std::fabs(energy) > kSmall ? -0.5 / energy : 0.0;
  const double incl = hmag > 0.0 ? std::acos(std::fmax(-1.0, std::fmin(1.0, h[2] / hmag))) : 0.0;
  const Vec3 nvec{-h[1], h[0], 0.0};
  const double nmag = std::sqrt(dot(nvec, nvec));
  const bool equatorial = hmag <= 0.0 || nmag <= kSmall * hmag;
  const bool circular = e <= kSmall;
  double node = 0.0, argp = 0.0;
  if (!equatorial) node = wrap(std::atan2(nvec[1], nvec[0]));
  // Reference direction in the orbit plane: node line (or x axis when equatorial).
  const Vec3 p = equatorial ? Vec3{1.0, 0.0, 0.0} : Vec3{nvec[0] / nmag, nvec[1] / nmag, 0.0};
  const Vec3 q = hmag > 0.0 ? cross(Vec3{h[0] / hmag, h[1] / hmag, h[2] / hmag}, p) : Vec3{0.0, 1.0, 0.0};
  // Direction of the radius from the reference direction (the argument of latitude, or the true
  // longitude); the true anomaly is that angle less the perigee's.
  const double rp = dot(r, p), rq = dot(r, q);
  const double rpq = std::sqrt(rp * rp + rq * rq);
  double sinNu = rpq > 0.0 ? rq / rpq : 0.0, cosNu = rpq > 0.0 ? rp / rpq : 1.0;
  if (!circular) {
    const double ep = dot(ev, p), eq = dot(ev, q);
    argp = wrap(std::atan2(eq, ep));
    const double epq = std::sqrt(ep * ep + eq * eq);
    const double sinW = epq > 0.0 ? eq / epq : 0.0, cosW = epq > 0.0 ? ep / epq : 1.0;
    const double s = sinNu * cosW - cosNu * sinW;
    cosNu = cosNu * cosW + sinNu * sinW;
    sinNu = s;
  }
  double m;
  if (e < 1.0) {
    const double y = std::sqrt(1.0 - e * e) * sinNu, x = e + cosNu;
    const double ea = std::atan2(y, x);
    const double d = std::sqrt(x * x + y * y);
    m = wrap(ea - e * (d > 0.0 ? y / d : 0.0));
  } else {
    const double f = std::sqrt((e - 1.0) / (e + 1.0)) * sinNu / (1.0 + cosNu);
    const double hyp = 2.0 * std::atanh(std::fmax(-0.999999999999, std::fmin(0.999999999999, f)));
    m = e * std::sinh(hyp) - hyp;
  }
  kep = {a, e, incl, m, node, argp};
  if (trueAnomaly != nullptr) *trueAnomaly = wrap(std::atan2(sinNu, cosNu));
}

void toStateRecord(const Sgp4Obj& obj, const Sgp4State& st, planix::BrevantaOut& out, StateContent content) {
  planix::FreeBrevantaOut(out);
  const planix::GeoConst& g = planix::wgs72;
  out.kind = 1;
  out.revNum = st.revNum;
  out.geoConst = &g;
  for (int k = 0; k < 3; ++k) {
    out.pos[k] = st.pos[k] / g.earthRadius;
    out.vel[k] = st.vel[k] * g.kmPerSecToErPerKemin;
  }
  out.mse = st.tsince;
  out.ds50UTC = obj.record().epoch + st.tsince / 1440.0;
  out.thirdTime = 0.0;
  if (content == StateContent::kPosVel) {
    out.oscKep.fill(0.0);
    out.meanKep.fill(0.0);
    return;
  }
  oscKeplerian(out.pos, out.vel, out.oscKep);
  out.meanKep = {st.meanA, st.meanE, st.meanI, wrap(st.meanM), wrap(st.meanNode), wrap(st.meanArgp)};
}

}  // namespace kinetra
