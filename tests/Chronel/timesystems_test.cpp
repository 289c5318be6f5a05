// Leap seconds, UTC <-> TAI inversion, the four time systems, the Greenwich angle and split TAI.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "Siblings/Chronel/Chronel.h"

using namespace chronel;

namespace {
constexpr double kSec = 1.0 / 86400.0;  // one second in days
constexpr double kDeg = std::numbers::pi / 180.0;
}  // namespace

TEST(ChronelTimeSystems, LeapSecondTableFacts) {
  // IERS Bulletin C: 36 s from 2015 July 1, 37 s from 2017 January 1.
  EXPECT_DOUBLE_EQ(taiMinusUtcSeconds(ymdhmsToDs50(2016, 12, 31, 23, 59, 59.0)), 36.0);
  EXPECT_DOUBLE_EQ(taiMinusUtcSeconds(ymdhmsToDs50(2017, 1, 1, 0, 0, 0.0)), 37.0);
  EXPECT_NEAR((utc2tai(ymdhmsToDs50(2017, 1, 1, 0, 0, 0.0)) - ymdhmsToDs50(2017, 1, 1, 0, 0, 0.0)) / kSec, 37.0,
              1e-6);
  EXPECT_DOUBLE_EQ(taiMinusUtcSeconds(ymdhmsToDs50(1972, 1, 1, 0, 0, 0.0)), 10.0);
  EXPECT_DOUBLE_EQ(taiMinusUtcSeconds(ymdhmsToDs50(1972, 6, 30, 23, 59, 59.0)), 10.0);
  EXPECT_DOUBLE_EQ(taiMinusUtcSeconds(ymdhmsToDs50(1972, 7, 1, 0, 0, 0.0)), 11.0);
  EXPECT_DOUBLE_EQ(taiMinusUtcSeconds(ymdhmsToDs50(2005, 12, 31, 12, 0, 0.0)), 32.0);  // the 1999-2005 gap
  EXPECT_DOUBLE_EQ(taiMinusUtcSeconds(ymdhmsToDs50(2040, 1, 1, 0, 0, 0.0)), 37.0);
  EXPECT_DOUBLE_EQ(taiMinusUtcSeconds(ymdhmsToDs50(1960, 1, 1, 0, 0, 0.0)), 10.0);  // held before 1972
  // The inserted second: one UTC second before the step is two TAI seconds before it.
  const double before = ymdhmsToDs50(2016, 12, 31, 23, 59, 59.0), after = ymdhmsToDs50(2017, 1, 1, 0, 0, 0.0);
  EXPECT_NEAR((utc2tai(after) - utc2tai(before)) / kSec, 2.0, 1e-6);
}

TEST(ChronelTimeSystems, UtcAndTaiInvertEachOther) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> when(ymdhmsToDs50(1957, 1, 1, 0, 0, 0.0),
                                              ymdhmsToDs50(2056, 1, 1, 0, 0, 0.0));
  for (int i = 0; i < 20000; ++i) {
    const double u = when(rng);
    ASSERT_NEAR(tai2utc(utc2tai(u)), u, 1e-6 * kSec);
  }
  // Every UTC time of the leap second's day and the day after, at 0.1 s steps, comes back.
  const double day = ymdhmsToDs50(2016, 12, 31, 0, 0, 0.0);
  for (double s = 86390.0; s < 86410.0; s += 0.1) {
    const double u = day + s * kSec;
    ASSERT_NEAR(tai2utc(utc2tai(u)), u, 1e-6 * kSec) << s;
  }
  for (double s = 0.0; s < 86400.0; s += 997.3)
    ASSERT_NEAR(tai2utc(utc2tai(day + s * kSec)), day + s * kSec, 1e-6 * kSec);
  // TAI inside the leap second (UTC 23:59:60) has no UTC of its own: UTC holds at the new day and
  // never runs backwards through the step.
  const double taiLeap = utc2tai(day + 86399.0 * kSec) + 1.5 * kSec;
  EXPECT_DOUBLE_EQ(tai2utc(taiLeap), ymdhmsToDs50(2017, 1, 1, 0, 0, 0.0));
  double last = -1.0;
  for (double s = -3.0; s < 3.0; s += 0.05) {
    const double u = tai2utc(taiLeap + s * kSec);
    ASSERT_GE(u, last);
    last = u;
  }
}

TEST(ChronelTimeSystems, FourTimesFromOne) {
  clearTimeConstants();  // UT1 = UTC without timing constants
  const double u = ymdhmsToDs50(2020, 5, 5, 5, 5, 5.0);
  double a[4], b[4];
  utc2types(u, a);
  tai2types(utc2tai(u), b);
  EXPECT_DOUBLE_EQ(a[0], u);
  EXPECT_DOUBLE_EQ(a[1], u);
  EXPECT_NEAR((a[2] - u) / kSec, 37.0, 1e-6);
  EXPECT_NEAR((a[3] - u) / kSec, 37.0 + 32.184, 1e-6);  // TT = TAI + 32.184 s
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(a[i], b[i], 1e-6 * kSec) << i;
  EXPECT_DOUBLE_EQ(taiToUt1(utc2tai(u)), utc2ut1(u));
}

TEST(ChronelTimeSystems, GreenwichAngle) {
  // IAU 1982 GMST at J2000.0 (2000 January 1 12h UT1): 280.46061837 degrees.
  EXPECT_NEAR(getthgr(kDs50J2000, 5) / kDeg, 280.46061837, 1e-8);
  // Further values from ERFA's gmst82 (independent implementation), UT1 dates as given.
  EXPECT_NEAR(getthgr(ymdhmsToDs50(1992, 8, 20, 12, 14, 0.0), 5) / kDeg, 152.57878785165767, 1e-8);
  EXPECT_NEAR(getthgr(ymdhmsToDs50(1970, 1, 1, 0, 0, 0.0), 5) / kDeg, 100.22963720719517, 1e-8);
  EXPECT_NEAR(getthgr(ymdhmsToDs50(2040, 6, 15, 6, 0, 0.0), 5) / kDeg, 354.139754264256, 1e-8);
  EXPECT_DOUBLE_EQ(getthgr(kDs50J2000, 0), getthgr(kDs50J2000, 5));  // anything but 4 is FK5

  // FK4 (Newcomb, Spacetrack Report No. 3): at 1950.0 the FK5 equinox lies 0.035 s of time
  // (0.525 arcsec) from the FK4 one (Fricke 1982); the gap stays within a few arcseconds.
  auto gapArcsec = [](double t) {
    double d = getthgr(t, 5) - getthgr(t, 4);
    if (d > std::numbers::pi) d -= 2 * std::numbers::pi;
    if (d < -std::numbers::pi) d += 2 * std::numbers::pi;
    return d / kDeg * 3600.0;
  };
  EXPECT_NEAR(gapArcsec(ymdhmsToDs50(1950, 1, 1, 0, 0, 0.0)), 0.525, 0.05);
  for (int y = 1957; y <= 2056; y += 3)
    EXPECT_LT(std::fabs(gapArcsec(ymdhmsToDs50(y, 7, 1, 3, 0, 0.0))), 3.0) << y;

  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> when(0.0, 40000.0);
  for (int i = 0; i < 10000; ++i) {
    const double t = when(rng);
    for (int fk : {4, 5}) {
      const double th = getthgr(t, fk);
      ASSERT_GE(th, 0.0);
      ASSERT_LT(th, 2 * std::numbers::pi);
    }
  }
  // One sidereal day (UT1) brings the angle back: 86164.0905 s.
  const double t0 = ymdhmsToDs50(2010, 3, 3, 3, 3, 3.0);
  EXPECT_NEAR(std::remainder(getthgr(t0 + 86164.0905 * kSec, 5) - getthgr(t0, 5), 2 * std::numbers::pi), 0.0,
              1e-6);
}

TEST(ChronelTimeSystems, SplitTaiKeepsSubMicrosecondSums) {
  const double t = 25000.3;  // DS50 TAI, where one double holds only about 0.3 microsecond
  const SplitTime s = tosplittai(t);
  EXPECT_EQ(s.days, 25000.0);
  EXPECT_NEAR(fromSplit(s), t, 1e-12);
  EXPECT_NEAR(minus(plus(s, 1e-6), s), 1e-6, 1e-10);
  EXPECT_NEAR(minus(plus(s, 1.234567891), s), 1.234567891, 1e-10);
  // Many small steps add up: 10000 steps of 1 microsecond are 10 ms.
  SplitTime u = s;
  for (int i = 0; i < 10000; ++i) u = plus(u, 1e-6);
  EXPECT_NEAR(minus(u, s), 0.01, 1e-9);
  // Day carries both ways keep the fraction in [0, 1).
  for (double dt : {86400.0 * 3.5, -86400.0 * 2.75, -0.5, 61234.5}) {
    const SplitTime v = plus(s, dt);
    EXPECT_GE(v.frac, 0.0);
    EXPECT_LT(v.frac, 1.0);
    EXPECT_NEAR(minus(v, s), dt, 1e-9) << dt;
    EXPECT_NEAR(fromSplit(v), t + dt / 86400.0, 1e-10);
  }
  const SplitTime later = plus(s, 1e-7);
  EXPECT_TRUE(lt(s, later));
  EXPECT_TRUE(gt(later, s));
  EXPECT_FALSE(lt(s, s));
  EXPECT_FALSE(gt(s, s));
  EXPECT_TRUE(lt(plus(s, -86400.0), s));
}
