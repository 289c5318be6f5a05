// State of an external ephemeris at a time: the four-point window around the time, its spacing
// check, Hermite (position and velocity known) or Lagrange (position only) interpolation, the
// covariance and the revolution number. Times DS50 UTC (TAI where named); km, km/s.
#include "Tarvexon/Interpolation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/TarvexonTree.h"

namespace tarvexon {
namespace {

using basalon::kMinPerDay;
using basalon::kSecPerDay;

// A request may lie this far outside the first or last point (seconds).
constexpr double kRangeToleranceSec = 5e-4;
// A request this close to a stored point returns the point (days).
constexpr double kExactMatchDays = 1e-12;
constexpr int kWindowSize = 4;
// Largest spacing between consecutive window points (days, 61 minutes).
constexpr double kMaxSpacingDays = 0.04236111111111111;
constexpr int32_t kRevWrap = 100000;
// Windows up to this many points are worked on the stack.
constexpr size_t kStackNodes = 8;

// Scratch of n values: on the stack (left uninitialised) for small windows, on the heap beyond.
template <class T>
class Scratch {
 public:
  explicit Scratch(size_t n) : data_(stack_) {
    if (n > kStackNodes) {
      heap_ = std::make_unique<T[]>(n);
      data_ = heap_.get();
    }
  }
  T& operator[](size_t i) { return data_[i]; }
  T* data() { return data_; }

 private:
  T stack_[kStackNodes];
  std::unique_ptr<T[]> heap_;
  T* data_;
};

// A stored point as it leaves the library. A point of the scalar form (marker 12345.0 in
// covMtx[1]) leaves as the scalar and its marker alone, whether it is a node or interpolated, so
// every reader of the output can tell it from a covariance (HasCovariance).
TarvexPoint outputPoint(const TarvexPoint& stored) {
  TarvexPoint p = stored;
  if (basalon::eqr(p.covMtx[1], kScalarCovMarker)) {
    std::fill(p.covMtx + 1, p.covMtx + kCovPacked, 0.0);
    p.covMtx[1] = kScalarCovMarker;
  }
  return p;
}

// The infinite c_j of a node whose S_j vanishes: twice the mantissa magnitude of d_j (in
// [0.5, 1)) times 2^53; 0 for d_j = 0 and NaN for a non-finite d_j.
double infiniteC(double d) {
  if (!std::isfinite(d)) return std::numeric_limits<double>::quiet_NaN();
  int exponent = 0;
  const double mantissa = std::fabs(std::frexp(d, &exponent));
  return 2.0 * mantissa * 9007199254740992.0;
}

// The bracketing search over the n >= 4 points: L points lie strictly before t, and R is the
// point of the last probe (the reference of the revolution count).
struct Bracket {
  int last;  // L
  int ref;   // R, 1-based
};

Bracket bracket(const double* times, int n, double t) {
  // Each probe above t moves lo to it, each other probe moves hi to it; the search ends when lo and
  // hi are neighbours. Written with selections so the probes cost no mispredicted branches, over
  // the dense times so they touch few cache lines.
  int lo = 0, hi = n + 1, mid = 0;
  while (hi - lo > 1) {
    mid = (lo + hi) / 2;
    const bool above = t > times[mid - 1];
    lo = above ? mid : lo;
    hi = above ? hi : mid;
  }
  return {lo, mid};
}

// Lagrange weights at t of the nodes (days): the index of a node that t meets (eqr), else -1 with
// w[j] = (P / d_j) / prod_{k != j} (x_j - x_k).
int lagrangeWeights(const double* nodes, size_t n, double t, double* w) {
  double prod = 1.0;
  for (size_t i = 0; i < n; ++i) {
    w[i] = t - nodes[i];
    if (basalon::eqr(w[i], 0.0)) return static_cast<int>(i);
    prod *= w[i];
  }
  for (size_t j = 0; j < n; ++j) {
    double denom = 1.0;
    for (size_t k = 0; k < n; ++k) {
      if (k != j) denom *= nodes[j] - nodes[k];
    }
    w[j] = (prod / w[j]) / denom;
  }
  return -1;
}

}  // namespace

double LagrangeVal(std::span<const double> values, std::span<const double> nodes, double t) {
  const size_t n = std::min(values.size(), nodes.size());
  Scratch<double> w(n);
  const int hit = lagrangeWeights(nodes.data(), n, t, w.data());
  if (hit >= 0) return values[static_cast<size_t>(hit)];
  double sum = 0.0;
  for (size_t j = 0; j < n; ++j) sum += values[j] * w[j];
  return sum;
}

TarvexPoint LagrangeTarvex(std::span<const TarvexPoint> window, double t) {
  const size_t n = window.size();
  Scratch<double> times(n);
  Scratch<double> w(n);
  for (size_t i = 0; i < n; ++i) times[i] = window[i].ds50UTC;
  TarvexPoint pt;
  pt.ds50UTC = t;
  // One set of weights for the three coordinates.
  const int hit = lagrangeWeights(times.data(), n, t, w.data());
  for (int c = 0; c < 3; ++c) {
    if (hit >= 0) {
      pt.pos[c] = window[static_cast<size_t>(hit)].pos[c];
      continue;
    }
    for (size_t j = 0; j < n; ++j) pt.pos[c] += window[j].pos[c] * w[j];
  }
  return pt;
}

namespace {
// HermiteTarvex, with the covariance left zero when withCov is false.
TarvexPoint hermite(std::span<const TarvexPoint> window, double t, bool withCov);
}  // namespace

TarvexPoint HermiteTarvex(std::span<const TarvexPoint> window, double t) { return hermite(window, t, true); }

namespace {

TarvexPoint hermite(std::span<const TarvexPoint> window, double t, bool withCov) {
  const size_t n = window.size();
  // Time differences in seconds between split times: the split of t and of each node once.
  const chronel::SplitTime st = chronel::tosplittai(t);
  Scratch<chronel::SplitTime> sn(n);
  Scratch<double> d(n);
  double prod = 1.0;
  for (size_t i = 0; i < n; ++i) {
    sn[i] = chronel::tosplittai(window[i].ds50UTC);
    d[i] = chronel::minus(st, sn[i]);
    if (basalon::eqr(d[i], 0.0)) return outputPoint(window[i]);
    prod *= d[i];
  }

  // Per node: D_j and S_j over the pairs of nodes (each pair's difference once, antisymmetric),
  // Q_j from the reciprocals of the d_k.
  Scratch<double> dprod(n), ssum(n), inv(n);
  for (size_t j = 0; j < n; ++j) {
    dprod[j] = 1.0;
    ssum[j] = 0.0;
    inv[j] = 1.0 / d[j];
  }
  for (size_t j = 0; j < n; ++j) {
    for (size_t k = j + 1; k < n; ++k) {
      const double tjk = chronel::minus(sn[j], sn[k]);
      const double r = 1.0 / tjk;
      dprod[j] *= tjk;
      dprod[k] *= -tjk;
      ssum[j] += r;
      ssum[k] -= r;
    }
  }

  const bool scalarCov = withCov && n > 0 && basalon::eqr(window[0].covMtx[1], kScalarCovMarker);
  TarvexPoint pt;
  pt.ds50UTC = t;
  for (size_t j = 0; j < n; ++j) {
    double qj = 0.0;
    for (size_t k = 0; k < n; ++k) {
      if (k != j) qj += inv[k];
    }
    const double sj = ssum[j];
    const double lj = (prod / d[j]) / dprod[j];  // Lagrange basis value at t
    const double cj = basalon::neqr(sj, 0.0) ? -0.5 / sj : infiniteC(d[j]);
    const double wj = lj * lj;
    const double posCoef = (cj + d[j]) / cj;
    const double velCoef = (1.0 + 2.0 * qj * (cj + d[j])) / cj;
    const double velVelCoef = 1.0 + 2.0 * qj * d[j];
    const TarvexPoint& node = window[j];
    for (int c = 0; c < 3; ++c) {
      pt.pos[c] += wj * (posCoef * node.pos[c] + d[j] * node.vel[c]);
      pt.vel[c] += wj * (velCoef * node.pos[c] + velVelCoef * node.vel[c]);
    }
    if (withCov && !scalarCov) {
      for (int e = 0; e < kCovPacked; ++e) pt.covMtx[e] += lj * node.covMtx[e];
    }
  }
  if (scalarCov) {
    // The scalar form is interpolated in value alone over the node times (days).
    Scratch<double> times(n);
    Scratch<double> scalar(n);
    for (size_t i = 0; i < n; ++i) {
      times[i] = window[i].ds50UTC;
      scalar[i] = window[i].covMtx[0];
    }
    pt.covMtx[0] = LagrangeVal({scalar.data(), n}, {times.data(), n}, t);
    pt.covMtx[1] = kScalarCovMarker;
  }
  return pt;
}

}  // namespace

int32_t UpdateRev(const TarvexPoint& pt, const TarvexPoint& ref, int32_t revRef) {
  int64_t r = revRef;
  // Across the equatorial plane from the reference and moving north: an ascending node lies
  // between the two, counted forward when pt is later, backward otherwise.
  if (pt.pos[2] * ref.pos[2] < 0.0 && pt.vel[2] > 0.0) r += pt.ds50UTC - ref.ds50UTC > 0.0 ? 1 : -1;
  return static_cast<int32_t>(r % kRevWrap);
}

void InterpolateEP(const TarvexRecord& rec, double timeTAI, TarvexPoint& pt, int32_t& code) {
  interpolateAtUtc(rec, std::isfinite(timeTAI) ? chronel::tai2utc(timeTAI) : timeTAI, pt, code);
}

void interpolateAtUtc(const TarvexRecord& rec, double t, TarvexPoint& pt, int32_t& code) {
  pt = TarvexPoint{};
  code = basalon::kResultOk;
  const int n = rec.numPts;
  const bool haveBuffer = n >= 1 && rec.points.size() >= static_cast<size_t>(n);
  // A non-finite time is outside every span (never a NaN state with a success code).
  const bool finite = std::isfinite(t);
  if (haveBuffer && n == 1 && finite) {
    pt = outputPoint(rec.points[0]);
    return;
  }
  if (!haveBuffer) {
    code = basalon::fail("InterpolateEP: Buffer not initialized.");
    return;
  }
  const TarvexPoint* p = rec.points.data();
  if (!finite || (t - p[0].ds50UTC) * kSecPerDay < -kRangeToleranceSec ||
      (t - p[n - 1].ds50UTC) * kSecPerDay > kRangeToleranceSec) {
    code = basalon::fail("InterpolateEP: Request time out of ephemeris range.");
    return;
  }
  if (n < kWindowSize) {
    for (int k = 0; k < n; ++k) {
      if (std::fabs(t - p[k].ds50UTC) < kExactMatchDays) {
        pt = outputPoint(p[k]);
        return;
      }
    }
    code = basalon::fail("InterpolateEP: Can not interpolate with less than 4 ephemeris data points");
    return;
  }

  const Bracket b = bracket(rec.points.times(), n, t);
  const int last = b.last <= 1 ? kWindowSize : std::min(b.last + 2, n);  // 1-based
  const std::span<const TarvexPoint> window(p + (last - kWindowSize), kWindowSize);
  for (const TarvexPoint& w : window) {
    if (std::fabs(t - w.ds50UTC) < kExactMatchDays) {
      pt = outputPoint(w);
      return;
    }
  }
  // Every consecutive pair of the window must lie within 61 minutes of each other: one gap
  // beside close points is a gap even when the window's mean spacing is small.
  double widest = 0.0;
  for (int k = 1; k < kWindowSize; ++k) widest = std::max(widest, window[k].ds50UTC - window[k - 1].ds50UTC);
  if (widest > kMaxSpacingDays) {
    code = basalon::fail("InterpolateEP: Data points too far apart due to spacing or data gap. (" +
                         chronel::ds50todate15(window.front().ds50UTC) + ", " +
                         chronel::ds50todate15(window.back().ds50UTC) + ")");
    return;
  }
  // Records without covariance values skip their interpolation (it would sum zeros).
  pt = IsPositionOnly(rec) ? LagrangeTarvex(window, t) : hermite(window, t, rec.points.anyCovValues());
  const TarvexPoint& ref = p[b.ref - 1];
  pt.revNum = UpdateRev(pt, ref, ref.revNum);
}

void GetEphem(int64_t satKey, double value, EphemInput mode, double& otherTime, TarvexPoint& pt,
              int32_t& code, double* mse) {
  pt = TarvexPoint{};
  code = basalon::kResultOk;
  otherTime = 0.0;
  if (mse != nullptr) *mse = 0.0;

  const auto read = [&](const TarvexRecord& rec) {
    const int n = rec.numPts;
    if (n <= 0 || rec.points.size() < static_cast<size_t>(n)) {
      code = basalon::fail("GetEphem: satKey " + basalon::formatI(satKey, 19) +
                           " does not contain any ephemeris data.");
      return;
    }
    const double t1 = rec.points[0].ds50UTC;
    double t = 0.0;
    switch (mode) {
      case EphemInput::kPointIndex: {
        const double k = std::trunc(value);  // NaN and far values fail the range test too
        if (!(k >= 1.0 && k <= static_cast<double>(n))) {
          code = basalon::fail("GetEphem: Input index is out of valid range.");
          return;
        }
        pt = outputPoint(rec.points[static_cast<size_t>(k) - 1]);
        otherTime = pt.ds50UTC;
        if (mse != nullptr) *mse = (pt.ds50UTC - t1) * kMinPerDay;
        return;
      }
      case EphemInput::kMse:
        t = value / kMinPerDay + t1;
        otherTime = t;
        break;
      case EphemInput::kDs50Utc:
        t = value;
        otherTime = (t - t1) * kMinPerDay;
        break;
      default:
        code = basalon::failf("GetEphem: Invalid input mode %d.", static_cast<int>(mode));
        return;
    }
    // No tolerance here, and a NaN or infinite time is outside the span.
    if (!(t >= t1 && t <= rec.points[static_cast<size_t>(n) - 1].ds50UTC)) {
      code = basalon::fail("GetEphem: Requested time is outside of ephemeris time span.");
      return;
    }
    // The UTC request goes straight to the interpolation: a trip through TAI and back can move a
    // DS50 time by one unit in the last place (0.3 us), enough to miss a node's exact match.
    interpolateAtUtc(rec, t, pt, code);
    if (code == basalon::kResultOk && mse != nullptr) *mse = mode == EphemInput::kMse ? value : otherTime;
  };

  std::string msg;
  if (!TarvexReadRec(satKey, read, &msg)) code = basalon::fail(msg);
  if (code != basalon::kResultOk) {  // a failed request leaves every output cleared
    otherTime = 0.0;
    if (mse != nullptr) *mse = 0.0;
  }
}

}  // namespace tarvexon
