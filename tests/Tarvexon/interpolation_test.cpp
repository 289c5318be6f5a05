// Ephemeris interpolation: Hermite and Lagrange against two-body truth and exact polynomials, the
// window and its spacing rule, span tolerances, revolution counting, covariance, GetEphem's modes.
#include "Tarvexon/Interpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "Siblings/Basalon/Keys.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/TarvexonTree.h"
#include "common/TestSupport.h"

namespace {

using tarvexon::EphemInput;
using tarvexon::TarvexPoint;
using tarvexon::TarvexRecord;

constexpr double kMu = 398600.4418;  // km^3/s^2
constexpr double kT0 = 27000.25;     // DS50 UTC of the first point
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const std::string kOutOfSpan = "GetEphem: Requested time is outside of ephemeris time span.";
const std::string kOutOfRange = "InterpolateEP: Request time out of ephemeris range.";

// Keplerian orbit: a km, angles rad, mean anomaly m0 at kT0.
struct Orbit {
  double a, e, inc, raan, argp, m0;
};

// Two-body state at dt seconds after kT0.
TarvexPoint kepler(const Orbit& o, double dt) {
  const double n = std::sqrt(kMu / (o.a * o.a * o.a));
  const double m = o.m0 + n * dt;
  double ea = m;
  for (int i = 0; i < 50; ++i) {
    const double step = (ea - o.e * std::sin(ea) - m) / (1.0 - o.e * std::cos(ea));
    ea -= step;
    if (std::fabs(step) < 1e-15) break;
  }
  const double sq = std::sqrt(1.0 - o.e * o.e);
  const double r = o.a * (1.0 - o.e * std::cos(ea));
  const double pf[3] = {o.a * (std::cos(ea) - o.e), o.a * sq * std::sin(ea), 0.0};
  const double vf[3] = {-std::sqrt(kMu * o.a) / r * std::sin(ea),
                        std::sqrt(kMu * o.a) / r * sq * std::cos(ea), 0.0};
  const double cw = std::cos(o.argp), sw = std::sin(o.argp), cO = std::cos(o.raan), sO = std::sin(o.raan);
  const double ci = std::cos(o.inc), si = std::sin(o.inc);
  const double p[3] = {cO * cw - sO * sw * ci, sO * cw + cO * sw * ci, sw * si};
  const double q[3] = {-cO * sw - sO * cw * ci, -sO * sw + cO * cw * ci, cw * si};
  TarvexPoint pt;
  pt.ds50UTC = kT0 + dt / 86400.0;
  for (int c = 0; c < 3; ++c) {
    pt.pos[c] = pf[0] * p[c] + pf[1] * q[c];
    pt.vel[c] = vf[0] * p[c] + vf[1] * q[c];
  }
  return pt;
}

// Cubic motion in seconds s after kT0: pos = a + b s + c s^2 + d s^3.
TarvexPoint cubic(double s, bool atRest = false) {
  const double a[3] = {7000.0, -1200.0, 300.0}, b[3] = {1.5, 7.0, -0.4};
  const double c[3] = {-4e-3, 2e-3, 1e-3}, d[3] = {1e-6, -2e-6, 3e-7};
  const double lin = atRest ? 0.0 : 1.0;
  TarvexPoint pt;
  pt.ds50UTC = kT0 + s / 86400.0;
  for (int k = 0; k < 3; ++k) {
    pt.pos[k] = a[k] + lin * b[k] * s + c[k] * s * s + d[k] * s * s * s;
    pt.vel[k] = lin * b[k] + 2.0 * c[k] * s + 3.0 * d[k] * s * s;
  }
  return pt;
}

// Seconds from kT0 of a stored DS50 time (the difference of nearby doubles is exact).
double secondsOf(double ds50) { return (ds50 - kT0) * 86400.0; }

// Record of count points at kT0 + k * step seconds; truth evaluated at the stored double times.
TarvexRecord makeRecord(const std::function<TarvexPoint(double)>& truth, double stepSec, int count,
                        bool withVel = true) {
  TarvexRecord rec;
  rec.satNum = 90001;
  for (int k = 0; k < count; ++k) {
    const double t = kT0 + k * stepSec / 86400.0;
    TarvexPoint p = truth(secondsOf(t));
    p.ds50UTC = t;
    if (!withVel) p.vel[0] = p.vel[1] = p.vel[2] = 0.0;
    tarvexon::AddOneEPPoint(p, rec);
  }
  return rec;
}

TarvexPoint interp(const TarvexRecord& rec, double ds50UTC, int32_t& code) {
  TarvexPoint pt;
  tarvexon::InterpolateEP(rec, chronel::utc2tai(ds50UTC), pt, code);
  return pt;
}

double distance(const double a[3], const double b[3]) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                   (a[2] - b[2]) * (a[2] - b[2]));
}

bool isCleared(const TarvexPoint& p) {
  if (p.ds50UTC != 0.0 || p.revNum != 0) return false;
  for (int c = 0; c < 3; ++c) {
    if (p.pos[c] != 0.0 || p.vel[c] != 0.0) return false;
  }
  for (double v : p.covMtx) {
    if (v != 0.0) return false;
  }
  return true;
}

void expectSamePoint(const TarvexPoint& got, const TarvexPoint& want) {
  EXPECT_EQ(got.ds50UTC, want.ds50UTC);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(got.pos[c], want.pos[c]);
    EXPECT_EQ(got.vel[c], want.vel[c]);
  }
  EXPECT_EQ(got.revNum, want.revNum);
  for (int e = 0; e < tarvexon::kCovPacked; ++e) EXPECT_EQ(got.covMtx[e], want.covMtx[e]) << "element " << e;
}

const Orbit kLeo{7000.0, 0.001, 0.9, 0.4, 0.3, 1.0};

class InterpolationTest : public ::testing::Test {
 protected:
  void SetUp() override { empty(); }
  void TearDown() override {
    empty();
    basalon::elsetkeymodeset(0);
  }
  static void empty() {
    int32_t code = 0;
    tarvexon::TarvexEmptyTree(code);
  }
  static int64_t store(const TarvexRecord& rec) {
    int64_t key = -7;
    tarvexon::AddTarvexToMem(rec, key);
    return key;
  }
};

// ---- Accuracy ------------------------------------------------------------------------------------

TEST(Interpolation, HermiteMatchesTwoBodyWithinAMillimetre) {
  const auto truth = [](double s) { return kepler(kLeo, s); };
  const TarvexRecord rec = makeRecord(truth, 60.0, 120);
  double worstPos = 0.0, worstVel = 0.0;
  for (int k = 0; k + 1 < rec.numPts; ++k) {
    const double mid = 0.5 * (rec.points[k].ds50UTC + rec.points[k + 1].ds50UTC);
    int32_t code = -1;
    const TarvexPoint pt = interp(rec, mid, code);
    ASSERT_EQ(code, 0);
    const TarvexPoint want = kepler(kLeo, secondsOf(pt.ds50UTC));
    worstPos = std::max(worstPos, distance(pt.pos, want.pos));
    worstVel = std::max(worstVel, distance(pt.vel, want.vel));
  }
  EXPECT_LT(worstPos, 1e-6);  // km
  EXPECT_LT(worstVel, 1e-8);  // km/s
}

TEST(Interpolation, LagrangeOfPositionOnlyEphemeris) {
  const auto truth = [](double s) { return kepler(kLeo, s); };
  for (const auto& [step, bound] : {std::pair{60.0, 5e-3}, std::pair{30.0, 3e-4}}) {
    TarvexRecord rec = makeRecord(truth, step, 100, false);
    ASSERT_TRUE(tarvexon::IsPositionOnly(rec));
    double worst = 0.0;
    // Interior intervals: the window then holds two points on each side of the request.
    for (int k = 1; k + 2 < rec.numPts; ++k) {
      const double mid = 0.5 * (rec.points[k].ds50UTC + rec.points[k + 1].ds50UTC);
      int32_t code = -1;
      const TarvexPoint pt = interp(rec, mid, code);
      ASSERT_EQ(code, 0);
      EXPECT_EQ(pt.vel[0], 0.0);
      EXPECT_EQ(pt.vel[1], 0.0);
      EXPECT_EQ(pt.vel[2], 0.0);
      worst = std::max(worst, distance(pt.pos, kepler(kLeo, secondsOf(pt.ds50UTC)).pos));
    }
    EXPECT_LT(worst, bound) << "step " << step << " s";
    EXPECT_GT(worst, 0.0);
  }
}

TEST(Interpolation, CubicMotionIsReproduced) {
  const auto truth = [](double s) { return cubic(s); };
  const TarvexRecord withVel = makeRecord(truth, 60.0, 8);
  const TarvexRecord posOnly = makeRecord(truth, 60.0, 8, false);
  for (double s : {7.0, 30.0, 95.5, 200.0, 333.3, 419.0}) {
    const double t = kT0 + s / 86400.0;
    int32_t code = -1;
    const TarvexPoint h = interp(withVel, t, code);
    ASSERT_EQ(code, 0);
    const TarvexPoint want = cubic(secondsOf(h.ds50UTC));
    for (int c = 0; c < 3; ++c) {
      EXPECT_NEAR(h.pos[c], want.pos[c], 1e-8) << s;
      EXPECT_NEAR(h.vel[c], want.vel[c], 1e-11) << s;
    }
    const TarvexPoint l = interp(posOnly, t, code);
    ASSERT_EQ(code, 0);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(l.pos[c], want.pos[c], 1e-8) << s;
  }
}

TEST(Interpolation, FirstPointAtRestStillUsesVelocities) {
  const auto truth = [](double s) { return cubic(s, true); };
  const TarvexRecord rec = makeRecord(truth, 60.0, 6);
  ASSERT_EQ(rec.points[0].vel[0], 0.0);
  ASSERT_EQ(rec.points[0].vel[1], 0.0);
  ASSERT_EQ(rec.points[0].vel[2], 0.0);
  int32_t code = -1;
  const TarvexPoint pt = interp(rec, kT0 + 30.0 / 86400.0, code);
  ASSERT_EQ(code, 0);
  const TarvexPoint want = cubic(secondsOf(pt.ds50UTC), true);
  for (int c = 0; c < 3; ++c) {
    EXPECT_NE(pt.vel[c], 0.0);
    EXPECT_NEAR(pt.vel[c], want.vel[c], 1e-11);
    EXPECT_NEAR(pt.pos[c], want.pos[c], 1e-8);
  }
}

TEST(Interpolation, HermiteWithAVanishingDerivativeSum) {
  // Three nodes symmetric about the middle one: its S_j is exactly zero (the "infinite" c_j).
  const double step = 1.0 / 1024.0;  // days, exact in binary
  std::vector<TarvexPoint> nodes;
  for (int k = 0; k < 3; ++k) {
    TarvexPoint p = cubic(k * step * 86400.0);
    p.ds50UTC = kT0 + k * step;
    nodes.push_back(p);
  }
  for (double frac : {0.25, 0.6, 1.3, 1.9}) {
    const TarvexPoint pt = tarvexon::HermiteTarvex(nodes, kT0 + frac * step);
    const TarvexPoint want = cubic(secondsOf(pt.ds50UTC));
    for (int c = 0; c < 3; ++c) {
      ASSERT_TRUE(std::isfinite(pt.pos[c]));
      EXPECT_NEAR(pt.pos[c], want.pos[c], 1e-7) << frac;
      EXPECT_NEAR(pt.vel[c], want.vel[c], 1e-10) << frac;
    }
  }
}

TEST(Interpolation, LagrangeValReproducesCubicsAndNodes) {
  const std::vector<double> x = {1.0, 2.5, 4.0, 7.0};
  std::vector<double> y;
  const auto f = [](double v) { return 2.0 - 3.0 * v + 0.5 * v * v - 0.125 * v * v * v; };
  for (double v : x) y.push_back(f(v));
  for (double t : {0.0, 1.7, 3.3, 6.9, 9.0}) EXPECT_NEAR(tarvexon::LagrangeVal(y, x, t), f(t), 1e-12) << t;
  EXPECT_EQ(tarvexon::LagrangeVal(y, x, 2.5), y[1]);
}

// ---- Covariance ----------------------------------------------------------------------------------

TEST(Interpolation, CovarianceIsInterpolatedAndNodesAreReturnedWhole) {
  TarvexRecord rec;
  for (int k = 0; k < 8; ++k) {
    TarvexPoint p = cubic(60.0 * k);
    p.ds50UTC = kT0 + 60.0 * k / 86400.0;
    p.revNum = 300 + k;
    for (int e = 0; e < tarvexon::kCovPacked; ++e)
      p.covMtx[e] = (e + 1) * (1.0 + 1e-3 * secondsOf(p.ds50UTC));
    tarvexon::AddOneEPPoint(p, rec);
  }
  int32_t code = -1;
  const TarvexPoint pt = interp(rec, kT0 + 150.0 / 86400.0, code);
  ASSERT_EQ(code, 0);
  for (int e = 0; e < tarvexon::kCovPacked; ++e) {
    EXPECT_NEAR(pt.covMtx[e], (e + 1) * (1.0 + 1e-3 * secondsOf(pt.ds50UTC)), 1e-11 * (e + 1));
  }
  // At a stored time the stored point comes back as it is, revNum and covariance included.
  for (int k : {0, 3, 7}) {
    const TarvexPoint at = interp(rec, rec.points[static_cast<size_t>(k)].ds50UTC, code);
    ASSERT_EQ(code, 0);
    expectSamePoint(at, rec.points[static_cast<size_t>(k)]);
  }
}

TEST_F(InterpolationTest, ScalarCovarianceLeavesAsScalarAndMarkerOnly) {
  TarvexRecord rec;
  rec.satNum = 4242;
  for (int k = 0; k < 6; ++k) {
    TarvexPoint p = cubic(60.0 * k);
    p.ds50UTC = kT0 + 60.0 * k / 86400.0;
    p.covMtx[0] = 5.0 + 0.01 * secondsOf(p.ds50UTC);
    p.covMtx[1] = tarvexon::kScalarCovMarker;
    for (int e = 2; e < tarvexon::kCovPacked; ++e) p.covMtx[e] = 3.0;
    tarvexon::AddOneEPPoint(p, rec);
  }
  const auto expectScalarOnly = [](const TarvexPoint& p, double value) {
    EXPECT_NEAR(p.covMtx[0], value, 1e-12);
    EXPECT_EQ(p.covMtx[1], tarvexon::kScalarCovMarker);
    EXPECT_FALSE(tarvexon::HasCovariance(p));
    for (int e = 2; e < tarvexon::kCovPacked; ++e) EXPECT_EQ(p.covMtx[e], 0.0) << "element " << e;
  };
  int32_t code = -1;
  const TarvexPoint between = interp(rec, kT0 + 100.0 / 86400.0, code);
  ASSERT_EQ(code, 0);
  expectScalarOnly(between, 5.0 + 0.01 * secondsOf(between.ds50UTC));
  const TarvexPoint atNode = interp(rec, rec.points[2].ds50UTC, code);
  ASSERT_EQ(code, 0);
  EXPECT_EQ(atNode.pos[0], rec.points[2].pos[0]);
  expectScalarOnly(atNode, rec.points[2].covMtx[0]);

  const int64_t key = store(rec);
  double other = 0.0;
  TarvexPoint pt;
  tarvexon::GetEphem(key, 4.0, EphemInput::kPointIndex, other, pt, code);
  ASSERT_EQ(code, 0);
  expectScalarOnly(pt, rec.points[3].covMtx[0]);
  tarvexon::GetEphem(key, 0.0, EphemInput::kMse, other, pt, code);
  ASSERT_EQ(code, 0);
  expectScalarOnly(pt, rec.points[0].covMtx[0]);
}

// ---- Span, small records, spacing ---------------------------------------------------------------

TEST_F(InterpolationTest, OnePointRecord) {
  const TarvexRecord rec = makeRecord([](double s) { return cubic(s); }, 60.0, 1);
  int32_t code = -1;
  for (double t : {kT0, kT0 - 3.0, kT0 + 100.0}) {
    expectSamePoint(interp(rec, t, code), rec.points[0]);
    EXPECT_EQ(code, 0);
  }
  const int64_t key = store(rec);
  double other = -1.0;
  TarvexPoint pt;
  tarvexon::GetEphem(key, kT0, EphemInput::kDs50Utc, other, pt, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(other, 0.0);
  expectSamePoint(pt, rec.points[0]);
  zktest::LogWatch log;
  tarvexon::GetEphem(key, kT0 + 1.0 / 86400.0, EphemInput::kDs50Utc, other, pt, code);
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(isCleared(pt));
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(zktest::LogWatch::lastError(), kOutOfSpan);
}

TEST(Interpolation, ThreePointRecord) {
  const TarvexRecord rec = makeRecord([](double s) { return cubic(s); }, 60.0, 3);
  int32_t code = -1;
  zktest::LogWatch log;
  TarvexPoint pt = interp(rec, kT0 + 10.0 / 86400.0, code);
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(isCleared(pt));
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(zktest::LogWatch::lastError(),
            "InterpolateEP: Can not interpolate with less than 4 ephemeris data points");
  pt = interp(rec, rec.points[1].ds50UTC, code);
  EXPECT_EQ(code, 0);
  expectSamePoint(pt, rec.points[1]);
  pt = interp(rec, rec.points[2].ds50UTC, code);
  EXPECT_EQ(code, 0);
  expectSamePoint(pt, rec.points[2]);
}

TEST_F(InterpolationTest, SubMillisecondToleranceOnlyInInterpolateEP) {
  const auto truth = [](double s) { return kepler(kLeo, s); };
  const TarvexRecord rec = makeRecord(truth, 60.0, 10);
  const double before = kT0 - 0.0004 / 86400.0;
  int32_t code = -1;
  const TarvexPoint pt = interp(rec, before, code);
  ASSERT_EQ(code, 0);
  EXPECT_LT(distance(pt.pos, kepler(kLeo, secondsOf(pt.ds50UTC)).pos), 1e-6);
  const double after = rec.points[9].ds50UTC + 0.0004 / 86400.0;
  interp(rec, after, code);
  EXPECT_EQ(code, 0);

  zktest::LogWatch log;
  interp(rec, kT0 - 0.0006 / 86400.0, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(zktest::LogWatch::lastError(), kOutOfRange);

  const int64_t key = store(rec);
  double other = 0.0;
  TarvexPoint got;
  tarvexon::GetEphem(key, before, EphemInput::kDs50Utc, other, got, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(zktest::LogWatch::lastError(), kOutOfSpan);
  tarvexon::GetEphem(key, (after - kT0) * 1440.0, EphemInput::kMse, other, got, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(zktest::LogWatch::lastError(), kOutOfSpan);
  EXPECT_EQ(log.errors(), 3);
}

TEST_F(InterpolationTest, NonFiniteTimesAreOutOfSpan) {
  const TarvexRecord rec = makeRecord([](double s) { return kepler(kLeo, s); }, 60.0, 10);
  const TarvexRecord single = makeRecord([](double s) { return kepler(kLeo, s); }, 60.0, 1);
  const int64_t key = store(rec);
  for (double bad : {kNaN, kInf, -kInf}) {
    for (const TarvexRecord* r : {&rec, &single}) {
      zktest::LogWatch log;
      int32_t code = -1;
      TarvexPoint pt;
      tarvexon::InterpolateEP(*r, bad, pt, code);
      EXPECT_EQ(code, 2) << bad;
      EXPECT_TRUE(isCleared(pt));
      EXPECT_EQ(log.errors(), 1);
      EXPECT_EQ(zktest::LogWatch::lastError(), kOutOfRange);
    }
    for (EphemInput mode : {EphemInput::kMse, EphemInput::kDs50Utc}) {
      zktest::LogWatch log;
      int32_t code = -1;
      double other = 5.0, mse = 5.0;
      TarvexPoint pt;
      tarvexon::GetEphem(key, bad, mode, other, pt, code, &mse);
      EXPECT_EQ(code, 2) << bad;
      EXPECT_TRUE(isCleared(pt));
      EXPECT_EQ(other, 0.0);
      EXPECT_EQ(mse, 0.0);
      EXPECT_EQ(log.errors(), 1);
      EXPECT_EQ(zktest::LogWatch::lastError(), kOutOfSpan);
    }
    int32_t code = -1;
    double other = 0.0;
    TarvexPoint pt;
    tarvexon::GetEphem(key, bad, EphemInput::kPointIndex, other, pt, code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(zktest::LogWatch::lastError(), "GetEphem: Input index is out of valid range.");
  }
}

std::string spacingMessage(const TarvexRecord& rec, int first, int last) {  // 1-based points
  return "InterpolateEP: Data points too far apart due to spacing or data gap. (" +
         chronel::ds50todate15(rec.points[static_cast<size_t>(first - 1)].ds50UTC) + ", " +
         chronel::ds50todate15(rec.points[static_cast<size_t>(last - 1)].ds50UTC) + ")";
}

TEST(Interpolation, SpacingOfSixtyMinutesPassesSixtyTwoFails) {
  const auto truth = [](double s) { return kepler(Orbit{42164.0, 0.0, 0.1, 0.0, 0.0, 0.0}, s); };
  const TarvexRecord ok = makeRecord(truth, 3600.0, 8);
  int32_t code = -1;
  interp(ok, 0.5 * (ok.points[2].ds50UTC + ok.points[3].ds50UTC), code);
  EXPECT_EQ(code, 0);

  const TarvexRecord wide = makeRecord(truth, 3720.0, 8);
  zktest::LogWatch log;
  // Between points 3 and 4 the window is points 2 to 5.
  const TarvexPoint pt = interp(wide, 0.5 * (wide.points[2].ds50UTC + wide.points[3].ds50UTC), code);
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(isCleared(pt));
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(zktest::LogWatch::lastError(), spacingMessage(wide, 2, 5));
  // At a stored point no spacing is needed.
  interp(wide, wide.points[3].ds50UTC, code);
  EXPECT_EQ(code, 0);
}

TEST(Interpolation, OneGapAmongClosePointsFails) {
  // Points (s): 0, 60, 120, then a 62-minute gap, then every 60 s. The mean spacing of a window
  // holding the gap stays far below 61 minutes; the widest step decides.
  const auto truth = [](double s) { return kepler(Orbit{42164.0, 0.0, 0.1, 0.0, 0.0, 0.0}, s); };
  TarvexRecord rec;
  for (double s : {0.0, 60.0, 120.0, 3840.0, 3900.0, 3960.0, 4020.0, 4080.0}) {
    TarvexPoint p = truth(s);
    tarvexon::AddOneEPPoint(p, rec);
  }
  ASSERT_EQ(rec.numPts, 8);
  int32_t code = -1;
  zktest::LogWatch log;
  interp(rec, kT0 + 90.0 / 86400.0, code);  // window 1 to 4
  EXPECT_EQ(code, 2);
  EXPECT_EQ(zktest::LogWatch::lastError(), spacingMessage(rec, 1, 4));
  interp(rec, kT0 + 3870.0 / 86400.0, code);  // window 3 to 6
  EXPECT_EQ(code, 2);
  EXPECT_EQ(zktest::LogWatch::lastError(), spacingMessage(rec, 3, 6));
  EXPECT_EQ(log.errors(), 2);
  interp(rec, kT0 + 4050.0 / 86400.0, code);  // window 5 to 8, past the gap
  EXPECT_EQ(code, 0);

  // A 60-minute gap among close points is within the rule.
  TarvexRecord within;
  for (double s : {0.0, 60.0, 120.0, 3720.0, 3780.0}) tarvexon::AddOneEPPoint(truth(s), within);
  interp(within, kT0 + 90.0 / 86400.0, code);
  EXPECT_EQ(code, 0);
}

// ---- Revolution numbers --------------------------------------------------------------------------

TEST(Interpolation, UpdateRevAcrossTheAscendingNode) {
  TarvexPoint ref, pt;
  ref.ds50UTC = 100.0;
  ref.pos[2] = -10.0;
  pt.ds50UTC = 100.001;
  pt.pos[2] = 5.0;
  pt.vel[2] = 1.0;
  EXPECT_EQ(tarvexon::UpdateRev(pt, ref, 41), 42);
  EXPECT_EQ(tarvexon::UpdateRev(pt, ref, 99999), 0);
  pt.ds50UTC = 99.999;  // the node lies after pt: one revolution back
  EXPECT_EQ(tarvexon::UpdateRev(pt, ref, 41), 40);
  EXPECT_EQ(tarvexon::UpdateRev(pt, ref, 0), -1);
  pt.ds50UTC = ref.ds50UTC;  // no time difference counts as backward
  EXPECT_EQ(tarvexon::UpdateRev(pt, ref, 41), 40);
  pt.vel[2] = -1.0;  // descending: no count
  EXPECT_EQ(tarvexon::UpdateRev(pt, ref, 41), 41);
  pt.vel[2] = 1.0;
  pt.pos[2] = -1.0;  // same side
  EXPECT_EQ(tarvexon::UpdateRev(pt, ref, 41), 41);
  EXPECT_EQ(tarvexon::UpdateRev(pt, ref, 150000), 50000);
  EXPECT_EQ(tarvexon::UpdateRev(pt, ref, -100001), -1);
}

// Circular orbit crossing its ascending node nodeSec after kT0; points every 60 s.
TarvexRecord nodeRecord(double nodeSec, int revBefore, int revAfter) {
  const double n = std::sqrt(kMu / (7000.0 * 7000.0 * 7000.0));
  const Orbit orbit{7000.0, 0.0, 0.9, 0.7, 0.0, -n * nodeSec};
  TarvexRecord rec;
  for (int k = 0; k < 12; ++k) {
    TarvexPoint p = kepler(orbit, 60.0 * k);
    p.revNum = 60.0 * k < nodeSec ? revBefore : revAfter;
    tarvexon::AddOneEPPoint(p, rec);
  }
  return rec;
}

TEST(Interpolation, RevolutionNumberFollowsTheNode) {
  // Nodes between points 5 and 6 and between points 6 and 7: the search ends on a probe before
  // the node in one case and after it in the other, so both directions are exercised.
  for (const double nodeSec : {260.0, 340.0}) {
    const TarvexRecord rec = nodeRecord(nodeSec, 41, 42);
    for (double s = nodeSec - 75.0; s <= nodeSec + 75.0; s += 5.0) {
      if (std::fabs(s - nodeSec) < 1.0) continue;
      int32_t code = -1;
      const TarvexPoint pt = interp(rec, kT0 + s / 86400.0, code);
      ASSERT_EQ(code, 0);
      EXPECT_EQ(pt.revNum, s < nodeSec ? 41 : 42) << "node " << nodeSec << " s " << s;
    }
  }
  // Counting on from 99999 wraps to 0; counting back from 0 keeps the sign (-1).
  int32_t code = -1;
  EXPECT_EQ(interp(nodeRecord(260.0, 99999, 0), kT0 + 280.0 / 86400.0, code).revNum, 0);
  EXPECT_EQ(interp(nodeRecord(340.0, 99999, 0), kT0 + 320.0 / 86400.0, code).revNum, -1);
}

TEST(Interpolation, RevolutionNumberIsCountedFromTheLastProbe) {
  // Every point carries 41 (a source that does not count revolutions). With 12 points, a request
  // between points 5 and 6 ends the search on point 5; between points 6 and 7 on point 7.
  TarvexRecord rec = nodeRecord(260.0, 41, 41);
  int32_t code = -1;
  EXPECT_EQ(interp(rec, kT0 + 280.0 / 86400.0, code).revNum, 42);  // reference 5 lies before the node
  EXPECT_EQ(interp(rec, kT0 + 250.0 / 86400.0, code).revNum, 41);
  rec = nodeRecord(340.0, 41, 41);
  EXPECT_EQ(interp(rec, kT0 + 350.0 / 86400.0, code).revNum, 41);  // reference 7 lies after the node
  EXPECT_EQ(interp(rec, kT0 + 320.0 / 86400.0, code).revNum, 40);
  // Position only: no velocity, so no count; the reference's revNum comes back.
  TarvexRecord flat = nodeRecord(260.0, 41, 41);
  TarvexRecord posOnly;
  for (size_t k = 0; k < flat.points.size(); ++k) {
    TarvexPoint p = flat.points[k];
    p.vel[0] = p.vel[1] = p.vel[2] = 0.0;
    tarvexon::AddOneEPPoint(p, posOnly);
  }
  EXPECT_EQ(interp(posOnly, kT0 + 280.0 / 86400.0, code).revNum, 41);
  EXPECT_EQ(code, 0);
}

// ---- GetEphem ------------------------------------------------------------------------------------

TEST_F(InterpolationTest, GetEphemModes) {
  const TarvexRecord rec = makeRecord([](double s) { return kepler(kLeo, s); }, 60.0, 10);
  const int64_t key = store(rec);
  int32_t code = -1;
  double other = 0.0, mse = -1.0;
  TarvexPoint pt;

  tarvexon::GetEphem(key, 2.9, EphemInput::kPointIndex, other, pt, code, &mse);
  ASSERT_EQ(code, 0);
  expectSamePoint(pt, rec.points[1]);
  EXPECT_EQ(other, rec.points[1].ds50UTC);
  EXPECT_NEAR(mse, 1.0, 1e-8);  // one minute, as far as DS50 days resolve it

  tarvexon::GetEphem(key, 4.5, EphemInput::kMse, other, pt, code, &mse);
  ASSERT_EQ(code, 0);
  EXPECT_DOUBLE_EQ(other, kT0 + 4.5 / 1440.0);
  EXPECT_EQ(mse, 4.5);
  const TarvexPoint byMse = pt;
  int32_t direct = -1;
  expectSamePoint(byMse, interp(rec, kT0 + 4.5 / 1440.0, direct));

  tarvexon::GetEphem(key, kT0 + 4.5 / 1440.0, EphemInput::kDs50Utc, other, pt, code, &mse);
  ASSERT_EQ(code, 0);
  EXPECT_NEAR(other, 4.5, 1e-8);
  EXPECT_EQ(mse, other);
  EXPECT_EQ(pt.pos[0], byMse.pos[0]);

  zktest::LogWatch log;
  for (double index : {0.0, 0.99, -1.0, 11.0, 1e300}) {
    tarvexon::GetEphem(key, index, EphemInput::kPointIndex, other, pt, code, &mse);
    EXPECT_EQ(code, 2) << index;
    EXPECT_EQ(zktest::LogWatch::lastError(), "GetEphem: Input index is out of valid range.");
    EXPECT_TRUE(isCleared(pt));
  }
  EXPECT_EQ(log.errors(), 5);
  tarvexon::GetEphem(key, 10.0, EphemInput::kPointIndex, other, pt, code);
  EXPECT_EQ(code, 0);
  expectSamePoint(pt, rec.points[9]);
  EXPECT_EQ(tarvexon::TarvexStore().NumReads(), 0);
}

TEST_F(InterpolationTest, GetEphemWithoutPointsOrRecord) {
  const int64_t empty = tarvexon::CreateNewSatEntry(77, kT0, 6378.135, 0.0743669161, 1);
  ASSERT_GT(empty, 0);
  zktest::LogWatch log;
  int32_t code = -1;
  double other = 0.0;
  TarvexPoint pt;
  tarvexon::GetEphem(empty, 0.0, EphemInput::kMse, other, pt, code);
  EXPECT_EQ(code, 2);
  char keyText[32];
  std::snprintf(keyText, sizeof keyText, "%19lld", static_cast<long long>(empty));
  EXPECT_EQ(zktest::LogWatch::lastError(),
            std::string("GetEphem: satKey ") + keyText + " does not contain any ephemeris data.");

  // An unknown key logs the store's lookup message.
  std::string lookup;
  TarvexRecord* found = nullptr;
  tarvexon::TarvexFindRecPtr(empty + 10, found, &lookup);
  tarvexon::TarvexEndRead();
  ASSERT_EQ(found, nullptr);
  ASSERT_FALSE(lookup.empty());
  tarvexon::GetEphem(empty + 10, 0.0, EphemInput::kMse, other, pt, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(zktest::LogWatch::lastError(), lookup);
  EXPECT_EQ(log.errors(), 2);
  EXPECT_EQ(tarvexon::TarvexStore().NumReads(), 0);
}

TEST_F(InterpolationTest, GetEphemByDmaKeyLeavesTheReadSide) {
  basalon::elsetkeymodeset(1);
  const TarvexRecord rec = makeRecord([](double s) { return kepler(kLeo, s); }, 60.0, 10);
  const int64_t key = store(rec);
  ASSERT_TRUE(basalon::isdma(key));
  int32_t code = -1;
  double other = 0.0;
  TarvexPoint pt;
  tarvexon::GetEphem(key, 3.0, EphemInput::kMse, other, pt, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(tarvexon::TarvexStore().NumReads(), 0);
  tarvexon::GetEphem(key, 1e6, EphemInput::kMse, other, pt, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(tarvexon::TarvexStore().NumReads(), 0);
  int32_t flag = 0;
  tarvexon::TarvexRemoveNode(key, flag, code);
  EXPECT_EQ(code, 0);
}

}  // namespace
