// The orbit geometry of the GEO parameters against independent values: J2 secular rates against
// the textbook formulas and python-sgp4's rates, the eccentricity vector and orbit normal against
// a two-body state, the last ascending node against an exact Kepler solution, the sub-point
// longitude against an IAU 1982 sidereal time of our own, the GEO test and drift at their edges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Kymor.h"
#include "Kymor/GeoParams.h"
#include "Siblings/Planix/Planix.h"
#include "common/TestSupport.h"
#include "kymor_samples.h"

namespace {

using namespace kymortest;

// WGS-72 as published.
constexpr double kMu72 = 398600.8, kRadius72 = 6378.135, kJ2Wgs72 = 0.001082616;
constexpr double kSecPerDay = 86400.0;

// Textbook secular J2 rates (deg/day): n = sqrt(mu/a^3), p = a(1 - e^2),
// node rate -1.5 n J2 (R/p)^2 cos i, perigee rate 0.75 n J2 (R/p)^2 (5 cos^2 i - 1).
void textbookRates(double aKm, double e, double inclDeg, double& argpDot, double& nodeDot) {
  const double n = std::sqrt(kMu72 / (aKm * aKm * aKm));
  const double p = aKm * (1 - e * e);
  const double f = n * kJ2Wgs72 * (kRadius72 / p) * (kRadius72 / p) * kSecPerDay / kDeg;
  const double c = std::cos(inclDeg * kDeg);
  nodeDot = -1.5 * f * c;
  argpDot = 0.75 * f * (5 * c * c - 1);
}

// Semi-major axis (km) of a mean motion (rev/day) by Kepler's third law.
double axisOf(double revPerDay) {
  const double n = revPerDay * 2 * kPi / kSecPerDay;
  return std::cbrt(kMu72 / (n * n));
}

TEST(KymorGeoOrbit, SecularRatesAreTheTextbookJ2Rates) {
  const double cases[][3] = {{7000, 0.001, 51.6},  {7200, 0.0, 98.7},  {26560, 0.01, 55},
                             {42164, 0.0003, 0.1}, {24000, 0.7, 63.4}, {7500, 0.05, 120}};
  for (const auto& c : cases) {
    double argpDot = 0, nodeDot = 0, wantArgp = 0, wantNode = 0;
    kymor::CompOmgDotRaDot(kMu72, c[2], c[0], c[1], &argpDot, &nodeDot);
    textbookRates(c[0], c[1], c[2], wantArgp, wantNode);
    EXPECT_NEAR(argpDot, wantArgp, 1e-12 + 1e-12 * std::fabs(wantArgp)) << c[0] << " " << c[2];
    EXPECT_NEAR(nodeDot, wantNode, 1e-12 + 1e-12 * std::fabs(wantNode)) << c[0] << " " << c[2];
  }
  // One output alone is written; the other is not needed.
  double nodeOnly = 0;
  kymor::CompOmgDotRaDot(kMu72, 51.6, 7000, 0.001, nullptr, &nodeOnly);
  EXPECT_LT(nodeOnly, -4.0);
  // An axis that is not positive or an open orbit has no rates rather than infinities.
  double argpDot = 1, nodeDot = 1;
  kymor::CompOmgDotRaDot(kMu72, 51.6, 0.0, 0.0, &argpDot, &nodeDot);
  EXPECT_EQ(argpDot, 0.0);
  EXPECT_EQ(nodeDot, 0.0);
  kymor::CompOmgDotRaDot(kMu72, 51.6, 7000.0, 1.0, &argpDot, &nodeDot);
  EXPECT_EQ(argpDot, 0.0);
  EXPECT_EQ(nodeDot, 0.0);
}

// The rates of catalogue TLEs within 0.5 % of SGP4's secular rates (which add J2^2 and J4 terms).
// References: python-sgp4 (Debian python3-sgp4), Satrec.twoline2rv(line1, line2, WGS72), fields
// nodedot and argpdot in rad/min. Rates near zero (polar nodes, critical inclination) are left out.
TEST(KymorGeoOrbit, SecularRatesAgreeWithSgp4) {
  struct Case {
    const char* name;
    double incl, ecc, meanMotion;  // deg, -, rev/day (Kozai, from line 2)
    double nodedot, argpdot;       // rad/min; NaN where the rate is near zero
  } cases[] = {
      {"ISS", 51.6344, 0.0006229, 15.48370465, -5.993222037220747e-05, 4.4609152834511e-05},
      {"EYESAT A", 98.6961, 0.0008473, 14.30916114, 1.2122858187955685e-05, -3.553513553590494e-05},
      {"RS15", 64.8139, 0.0153020, 11.27583925, -1.959934279954431e-05, std::nan("")},
      {"HISAKI", 29.7211, 0.0136509, 13.55531837, -6.160525533145817e-05, 9.827439002431353e-05},
      {"CALSPHERE 1", 90.2170, 0.0024457, 13.76510242, std::nan(""), -3.6637097361993686e-05},
  };
  const double radMinToDegDay = 1440.0 / kDeg;
  for (const Case& c : cases) {
    double argpDot = 0, nodeDot = 0;
    kymor::CompOmgDotRaDot(kMu72, c.incl, axisOf(c.meanMotion), c.ecc, &argpDot, &nodeDot);
    if (!std::isnan(c.nodedot)) {
      EXPECT_NEAR(nodeDot / (c.nodedot * radMinToDegDay), 1.0, 0.005) << c.name;
    }
    if (!std::isnan(c.argpdot)) {
      EXPECT_NEAR(argpDot / (c.argpdot * radMinToDegDay), 1.0, 0.005) << c.name;
    }
  }
}

// The eccentricity vector ((v^2 - mu/r) r - (r.v) v) / mu and the unit angular momentum of a state.
TEST(KymorGeoOrbit, AbarAndNormalAreThoseOfTheState) {
  const Kep kps[] = {{7000, 0.001, 51.6, 25.7, 207.5, 152.6},
                     {26560, 0.7, 63.4, 300, 270, 10},
                     {42164, 0.1, 179.0, 45, 90, 200},
                     {9000, 0.3, 0.0, 0, 33, 77},
                     {12000, 0.2, 90.0, 123, 321, 0}};
  for (const Kep& k : kps) {
    double r[3], v[3];
    stateOf(k, kMu72, r, v);
    const double rn = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    const double v2 = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    const double rv = r[0] * v[0] + r[1] * v[1] + r[2] * v[2];
    const double h[3] = {r[1] * v[2] - r[2] * v[1], r[2] * v[0] - r[0] * v[2], r[0] * v[1] - r[1] * v[0]};
    const double hn = std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2]);

    basalon::Vec3 aBar{}, w{};
    kymor::CompAbar(aBar, {k.a / kRadius72, k.e, k.i * kDeg, k.m * kDeg, k.node * kDeg, k.argp * kDeg});
    kymor::ComputeWVector(w, k.i, k.node);
    for (int j = 0; j < 3; ++j) {
      const double eVec = ((v2 - kMu72 / rn) * r[j] - rv * v[j]) / kMu72;
      EXPECT_NEAR(aBar[static_cast<size_t>(j)], eVec, 1e-12) << k.a << " " << j;
      EXPECT_NEAR(w[static_cast<size_t>(j)], h[j] / hn, 1e-12) << k.a << " " << j;
    }
  }
}

// Exact time back to the node: the mean anomaly of true anomaly -w by Kepler's equation.
double exactRevsBack(double mDeg, double wDeg, double e) {
  const double nu = -wDeg * kDeg;
  const double ea = 2 * std::atan(std::sqrt((1 - e) / (1 + e)) * std::tan(nu / 2));
  double d = (ea - e * std::sin(ea) - mDeg * kDeg) / (2 * kPi);
  d -= std::floor(d);  // [0, 1)
  return d > 0 ? d - 1 : 0.0;
}

TEST(KymorGeoOrbit, TimeBackToNodeAgreesWithKepler) {
  const double n = 2.0;  // rev/day
  double worst = 0;
  for (double e : {0.0, 0.001, 0.01, 0.05, 0.1}) {
    for (double w = 5; w < 360; w += 37) {
      for (double m = 3; m < 360; m += 29) {
        const double days = kymor::TimeBack2NodalX(m, w, n, e);
        ASSERT_LE(days, 0.0);
        ASSERT_GT(days, -1.0 / n);
        const double diff = days * n - exactRevsBack(m, w, e);
        worst = std::max(worst, std::fabs(diff));
      }
    }
  }
  EXPECT_LT(worst, 1e-6);
}

TEST(KymorGeoOrbit, TimeBackToNodeAtAndNearTheNode) {
  const double n = 1.5;
  // Circular, M + w = 90 deg: a quarter revolution back.
  EXPECT_NEAR(kymor::TimeBack2NodalX(60, 30, n, 0), -0.25 / n, 1e-15);
  EXPECT_NEAR(kymor::TimeBack2NodalX(90, 0, n, 0), -0.25 / n, 1e-15);
  // At the node (M + w a whole revolution, circular) the last crossing is the epoch itself, not a
  // whole period back, whatever the rounding of M + w.
  EXPECT_EQ(kymor::TimeBack2NodalX(0, 0, n, 0), 0.0);
  for (double w = 0.1; w < 360; w += 0.7) EXPECT_EQ(kymor::TimeBack2NodalX(360.0 - w, w, n, 0), 0.0) << w;
  EXPECT_EQ(kymor::TimeBack2NodalX(0, 0, n, 0.3), 0.0);
  // Just after the node: almost nothing back; just before it: almost a whole period.
  EXPECT_NEAR(kymor::TimeBack2NodalX(0.36, 0, n, 0), -0.001 / n, 1e-12);
  EXPECT_NEAR(kymor::TimeBack2NodalX(359.64, 0, n, 0), -0.999 / n, 1e-12);
  // No mean motion, no time.
  EXPECT_EQ(kymor::TimeBack2NodalX(30, 40, 0.0, 0.1), 0.0);
}

// Greenwich mean sidereal time (IAU 1982, deg) of a DS50 UT1 time.
double gmstDeg(double ds50) {
  const double t = (ds50 - 18263.5) / 36525.0;  // Julian centuries from J2000
  const double sec =
      67310.54841 + (876600.0 * 3600.0 + 8640184.812866) * t + 0.093104 * t * t - 6.2e-6 * t * t * t;
  double deg = std::fmod(sec / 240.0, 360.0);
  return deg < 0 ? deg + 360 : deg;
}

double angleDiff(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180) d -= 360;
  if (d < -180) d += 360;
  return d;
}

TEST(KymorGeoOrbit, SubPointLongitudeIsMeanLongitudeLessSiderealTime) {
  for (double t : {20000.25, 27000.0, 27836.123456, 30000.9}) {
    for (const double a : {0.0, 45.0, 180.0, 359.0}) {
      const double lon = kymor::LonEastSubPt(t, a, 100.0, 200.0);
      EXPECT_NEAR(angleDiff(lon, a + 300.0 - gmstDeg(t)), 0.0, 1e-6) << t << " " << a;
    }
  }
  // Always within [0, 360), also for angles outside [0, 360] (negative, several turns).
  const double wild[][3] = {{-10, -20, -30},  {720, 725, 1000}, {-400, 0, 0}, {359.999, 359.999, 359.999},
                            {1e4, -1e4, 3e3}, {0, 0, 0}};
  for (const auto& w : wild) {
    const double lon = kymor::LonEastSubPt(27000.5, w[0], w[1], w[2]);
    EXPECT_GE(lon, 0.0);
    EXPECT_LT(lon, 360.0);
    EXPECT_NEAR(angleDiff(lon, w[0] + w[1] + w[2] - gmstDeg(27000.5)), 0.0, 1e-6);
    EXPECT_DOUBLE_EQ(CompLonEastSubPt(27000.5, w[0], w[1], w[2]), lon);
  }
}

TEST(KymorGeoOrbit, DriftAndGeoTestAtTheirEdges) {
  EXPECT_EQ(kymor::DriftRate(1436.068176), 0.0);
  EXPECT_NEAR(kymor::DriftRate(1432.0), 1.017044, 1e-12);
  EXPECT_LT(kymor::DriftRate(1440.0), 0.0);
  double lon = -1, drift = -1;
  kymor::SubPt(27000.5, 10, 20, 30, 1432.0, lon, drift);
  EXPECT_EQ(lon, kymor::LonEastSubPt(27000.5, 10, 20, 30));
  EXPECT_NEAR(drift, 1.017044, 1e-12);

  EXPECT_EQ(IsGeoOrbit(14.9, 1439.9), 1);
  EXPECT_EQ(IsGeoOrbit(15.0, 1436.0), 0);
  EXPECT_EQ(IsGeoOrbit(0.0, 1440.0), 0);
  EXPECT_EQ(IsGeoOrbit(0.0, 1432.0), 0);
  EXPECT_EQ(IsGeoOrbit(0.0, 1432.001), 1);
  EXPECT_EQ(IsGeoOrbit(0.0, 1436.0), 1);
}

TEST(KymorGeoOrbit, ExportsRefuseNonFiniteNumbers) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  {
    zktest::LogWatch log;
    EXPECT_TRUE(std::isnan(CompLonEastSubPt(nan, 0, 0, 0)));
    EXPECT_TRUE(std::isnan(CompLonEastSubPt(27000, 0, inf, 0)));
    EXPECT_EQ(log.errors(), 2);
    EXPECT_EQ(zktest::LogWatch::lastError(), "CompLonEastSubPt: input is NaN or infinite");
  }
  {
    zktest::LogWatch log;
    EXPECT_EQ(IsGeoOrbit(nan, 1436), 0);
    EXPECT_EQ(IsGeoOrbit(0, -inf), 0);
    EXPECT_EQ(log.errors(), 2);
    EXPECT_EQ(zktest::LogWatch::lastError(), "IsGeoOrbit: input is NaN or infinite");
  }
}

// J3 of each model; the nine-field record keeps ke after J2.
TEST(KymorGeoOrbit, PlanixJ3OfEachModel) {
  EXPECT_EQ(planix::j3Of(planix::kWgs72), -2.53881e-6);
  EXPECT_EQ(planix::j3Of(planix::kWgs84), -2.53265649e-6);
  EXPECT_EQ(planix::j3Of(planix::kEgm96), -2.53265649e-6);
  EXPECT_EQ(planix::j3Of(0), 0.0);
  EXPECT_EQ(planix::j3Of(planix::wgs72), -2.53881e-6);
  EXPECT_EQ(planix::j3Of(planix::egm96), -2.53265649e-6);
  const planix::GeoConst copy84 = planix::wgs84;
  EXPECT_EQ(planix::j3Of(copy84), -2.53265649e-6);
  EXPECT_EQ(planix::j3Of(planix::genvgeo()), -2.53881e-6);  // WGS-72 is current
}

}  // namespace
