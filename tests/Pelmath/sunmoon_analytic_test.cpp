// Analytic Sun and Moon against ERFA's geometric Sun and Moon of date, the FK4/FK5 choice by the
// catalogue setting, and the values fixed by the series at J2000.
#include <cmath>

#include "Pelmath.h"
#include "Pelmath/EarthFrames.h"
#include "Pelmath/SunMoon.h"
#include "Pelmath/Units.h"
#include "Siblings/Planix/Planix.h"
#include "common/TestSupport.h"

using namespace pelmath;

namespace {

constexpr double kArcsec = 4.84813681109536e-06;

double angleBetween(const double* a, const double* b) {
  const double c = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  const double s =
      std::hypot(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]);
  return std::atan2(s, c);
}

class SunMoon : public ::testing::Test {
 protected:
  void SetUp() override {
    planix::setEnvFk(5);
    planix::setGeoModel(planix::kWgs72);
  }
  void TearDown() override { planix::setEnvFk(5); }
};

// Geometric geocentric directions in the mean equator and equinox of date: ERFA 2.0 epv00 (Sun =
// minus the heliocentric Earth) and moon98, both rotated by pmat76 only, at JD = DS50 + 2433281.5.
struct SunMoonRef {
  double ds50, sun[3], moon[3];
};
const SunMoonRef kRefs[] = {
    {13880.00,
     {0.169867310705, -0.904139297599, -0.392016871182},
     {0.421215958622, 0.796456107163, 0.433860329559}},
    {15507.47,
     {0.094204747313, 0.913395106913, 0.396023792533},
     {-0.040979291189, -0.914771398911, -0.401888025981}},
    {17134.94,
     {-0.390904592919, -0.844474914550, -0.366136201339},
     {-0.348551890139, 0.890371694879, 0.292830710206}},
    {18762.41,
     {0.592424641018, 0.739149643498, 0.320454129682},
     {0.676304706514, -0.653289941005, -0.340329541664}},
    {20389.88,
     {-0.823614163495, -0.520353894460, -0.225591520699},
     {-0.906838937780, 0.360524428767, 0.218323789791}},
    {22017.35,
     {0.925024419890, 0.348561393573, 0.151111804693},
     {0.995525664822, -0.074804041984, 0.057732191923}},
    {23644.82,
     {-0.998918936261, -0.042650628331, -0.018490069844},
     {-0.938282847325, -0.317979704343, -0.136066917515}},
    {25272.29,
     {0.986056575539, -0.152680923231, -0.066188862489},
     {0.735202902539, 0.650765465053, 0.189686587806}},
    {26899.76,
     {-0.877488472790, 0.440032715629, 0.190749021746},
     {-0.413198585965, -0.811477620093, -0.413244480477}},
    {28527.23,
     {0.742644423286, -0.614442436500, -0.266345176023},
     {-0.014339416577, 0.897160739164, 0.441471391184}},
    {30154.70,
     {-0.506455196156, 0.791137724835, 0.342934738149},
     {0.485913595605, -0.832454494260, -0.266284608253}},
    {31782.17,
     {0.261475117329, -0.885596182064, -0.383862169705},
     {-0.841386558645, 0.483035084415, 0.242375258961}},
};

}  // namespace

TEST_F(SunMoon, Fk5DirectionsAgreeWithErfaOver1988To2037) {
  double worstSun = 0, worstMoon = 0;
  for (const SunMoonRef& r : kRefs) {
    double sun[3], moon[3], sunDist, moonDist;
    CompSunMoonPos(r.ds50, sun, &sunDist, moon, &moonDist);
    worstSun = std::max(worstSun, angleBetween(sun, r.sun));
    worstMoon = std::max(worstMoon, angleBetween(moon, r.moon));
    EXPECT_NEAR(sunDist, 1.496e8, 2.6e6) << r.ds50;
    EXPECT_GT(moonDist, 356000.0);
    EXPECT_LT(moonDist, 407000.0);
  }
  EXPECT_LT(worstSun, 40 * kArcsec);
  EXPECT_LT(worstMoon, 6 * 60 * kArcsec);
}

TEST_F(SunMoon, Fk4SeriesAlsoFollowTheSunAndMoon) {
  planix::setEnvFk(4);
  for (const SunMoonRef& r : kRefs) {
    double sun[3], moon[3], sunDist, moonDist;
    CompSunPos(r.ds50, sun, &sunDist);
    CompMoonPos(r.ds50, moon, &moonDist);
    // The FK4 time arguments follow the Sun and Moon as closely as the FK5 ones.
    EXPECT_LT(angleBetween(sun, r.sun), 40 * kArcsec) << r.ds50;
    EXPECT_LT(angleBetween(moon, r.moon), 6 * 60 * kArcsec) << r.ds50;
  }
}

TEST_F(SunMoon, CatalogueSettingChoosesTheSeries) {
  Sundata fk4, fk5;
  getsundata(SunMoonTheory::kFk4, 20000.0, fk4);
  getsundata(SunMoonTheory::kFk5, 20000.0, fk5);
  EXPECT_DOUBLE_EQ(fk4.time, 20000.0 + 18261.5);  // days from 1900 Jan 0.5
  EXPECT_DOUBLE_EQ(fk5.time, (20000.0 - 18263.5) / 36525.0);
  Vec3 u4, u5;
  double d4, d5;
  solar(SunMoonTheory::kFk4, fk4, u4, d4);
  solar(SunMoonTheory::kFk5, fk5, u5, d5);
  double viaExport[3], dist;
  planix::setEnvFk(4);
  CompSunPos(20000.0, viaExport, &dist);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(viaExport[k], u4[k]);
  EXPECT_DOUBLE_EQ(dist, d4 * planix::genvgeo().earthRadius);
  planix::setEnvFk(5);
  CompSunPos(20000.0, viaExport, &dist);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(viaExport[k], u5[k]);
  EXPECT_NE(u4[0], u5[0]);
}

TEST_F(SunMoon, ValuesAtJ2000) {
  Sundata sd;
  getsundata(SunMoonTheory::kFk5, 18263.5, sd);
  EXPECT_EQ(sd.time, 0.0);
  EXPECT_NEAR(sd.meanAnomaly, 357.52772333333 * kDegToRad, 1e-15);
  EXPECT_NEAR(sd.obliquity, 23.4392635861111 * kDegToRad, 1e-15);
  EXPECT_DOUBLE_EQ(sd.eccentricity, 0.01670832);
  Vec3 unit;
  double dist, trueLong, r2;
  solar(SunMoonTheory::kFk5, sd, unit, dist, 6378.135, &trueLong, &r2);
  EXPECT_NEAR(norm(unit), 1.0, 1e-15);
  // Near perihelion (early January): r/a ~ 1 - e.
  EXPECT_NEAR(std::sqrt(r2), 0.9833, 5e-4);
  EXPECT_NEAR(dist, std::sqrt(r2) * 149597870.0 / 6378.135, 1e-6);
  // True longitude ~ 280.4 deg on 2000 January 1.5.
  EXPECT_NEAR(trueLong / kDegToRad - 360.0 * std::floor(trueLong / kDegToRad / 360.0), 280.37, 0.05);
}

TEST_F(SunMoon, SunUnitVectorHasNoXAtNinetyDegreesLongitude) {
  // The Sun's true longitude passes 90 deg near the June solstice: find it and check x = 0 there.
  Sundata sd;
  double lo = 18263.5 + 150, hi = 18263.5 + 200;
  for (int k = 0; k < 60; ++k) {
    const double mid = 0.5 * (lo + hi);
    getsundata(SunMoonTheory::kFk5, mid, sd);
    Vec3 u;
    double d, lam;
    solar(SunMoonTheory::kFk5, sd, u, d, {}, &lam);
    (std::remainder(lam - 1.5707963267948966, 6.283185307179586) < 0 ? lo : hi) = mid;
  }
  getsundata(SunMoonTheory::kFk5, lo, sd);
  Vec3 u;
  double d;
  solar(SunMoonTheory::kFk5, sd, u, d);
  EXPECT_NEAR(u[0], 0.0, 1e-12);
  EXPECT_NEAR(u[2], std::sin(sd.obliquity), 1e-12);  // at the solstice z = sin(eps)
}
