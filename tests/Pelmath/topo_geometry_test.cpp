// Topocentric geometry: look vectors, Az/El <-> RA/Dec against ERFA, topocentric rates against
// finite differences, RAE <-> inertial inverses, aberration, sunlight and Earth obstruction.
#include <cmath>

#include "Pelmath.h"
#include "Pelmath/EarthFrames.h"
#include "Pelmath/SunMoon.h"
#include "Pelmath/Topocentric.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"
#include "common/TestSupport.h"

using namespace pelmath;

namespace {

double dotv(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Vec3 turnedZ(const Vec3& v, double a) {
  return {std::cos(a) * v[0] - std::sin(a) * v[1], std::sin(a) * v[0] + std::cos(a) * v[1], v[2]};
}

class Topo : public ::testing::Test {
 protected:
  void SetUp() override {
    planix::setGeoModel(planix::kWgs72);
    planix::setEnvFk(5);
  }
};

}  // namespace

TEST_F(Topo, ZenithHasAzimuthZero) {
  double az = 9, el = 9;
  computeazel(Vec3{0, 0, 3}, az, el);
  EXPECT_EQ(az, 0.0);
  EXPECT_DOUBLE_EQ(el, kPi / 2);
  // Straight up from a site through the export as well.
  double a, e;
  RaDecToAzEl(0.0, 0.0, 0.0, 0.0, 0.0, &a, &e);
  EXPECT_EQ(a, 0.0);
  EXPECT_NEAR(e, 90.0, 1e-12);
}

// ERFA 2.0 hd2ae(ha = thetaG + lon - ra, dec, phi) at phi 38.8 deg, lon 255.2 deg, thetaG 1.3 rad:
// {ra, dec, az, el} in degrees, recorded offline.
TEST_F(Topo, RaDecToAzElMatchesErfa) {
  const double cases[][4] = {{10.0, 20.0, 106.701415772232, 50.598249217423},
                             {200.0, -5.0, 293.332062298237, -33.392559179967},
                             {300.0, 60.0, 328.416076818483, 61.785732039852},
                             {95.0, 38.0, 40.038825432821, 1.762843643168}};
  for (const auto& c : cases) {
    double az, el, ra, dec;
    RaDecToAzEl(1.3, 38.8, 255.2, c[0], c[1], &az, &el);
    EXPECT_NEAR(az, c[2], 1e-9);
    EXPECT_NEAR(el, c[3], 1e-9);
    AzElToRaDec(1.3, 38.8, 255.2, az, el, &ra, &dec);
    EXPECT_NEAR(ra, c[0], 1e-9);
    EXPECT_NEAR(dec, c[1], 1e-9);
  }
}

TEST_F(Topo, TopoRatesMatchFiniteDifferences) {
  const double lat = 0.6, lst0 = 2.2;
  Vec3 sen;
  llh2xyz(lst0, Vec3{lat, 0.0, 0.0003}, sen);  // the site's longitude is folded into lst here
  const Vec3 sat{3.1, -2.2, 2.9}, vel{0.25, 0.31, -0.12};
  const double w = planix::genvgeo().earthRotRate;
  double c[10];
  eci2topocomps(lst0, lat, sen, sat, vel, c);
  const double h = 1e-3;  // kemin
  double cp[10], cm[10];
  auto at = [&](double t, double* out) {
    const Vec3 s{sat[0] + vel[0] * t, sat[1] + vel[1] * t, sat[2] + vel[2] * t};
    eci2topocomps(lst0 + w * t, lat, turnedZ(sen, w * t), s, vel, out);
  };
  at(h, cp);
  at(-h, cm);
  const int angle[4] = {0, 1, 2, 3}, rate[4] = {5, 6, 7, 8};
  for (int k = 0; k < 4; ++k) {
    const double d = std::remainder(cp[angle[k]] - cm[angle[k]], 2 * kPi) / (2 * h);
    EXPECT_NEAR(c[rate[k]], d, 1e-7) << k;
  }
  EXPECT_NEAR(c[9], (cp[4] - cm[4]) / (2 * h), 1e-8);
  EXPECT_GE(c[0], 0.0);
  EXPECT_GE(c[2], 0.0);
  // With the flag the azimuth and RA rates are the ones multiplied by cos(El), cos(Dec).
  double f[10];
  eci2topocomps(lst0, lat, sen, sat, vel, f, AzimuthRate::kTimesCosEl);
  EXPECT_NEAR(f[7], c[7] * std::cos(c[3]), 1e-14);
  EXPECT_NEAR(f[5], c[5] * std::cos(c[1]), 1e-14);
}

TEST_F(Topo, SatelliteAtRestOverEquatorialSensorHasNoRangeRate) {
  const double R = planix::genvgeo().earthRadius, w = planix::genvgeo().earthRotRate;
  const double sen[3] = {R, 0, 0}, sat[3] = {42164.0, 0, 0};
  // Velocity of the co-rotating satellite, km/s: omega (rad/kemin) x r converted to km/s.
  const double satVel[3] = {0, w * (42164.0 / R) / planix::genvgeo().kmPerSecToErPerKemin, 0};
  double comps[10];
  ECIToTopoComps(0.0, 0.0, sen, sat, satVel, comps);
  EXPECT_NEAR(comps[9], 0.0, 1e-12);
  EXPECT_NEAR(comps[4], 42164.0 - R, 1e-9);
  EXPECT_NEAR(comps[3], 90.0, 1e-9);
  EXPECT_NEAR(comps[8], 0.0, 1e-12);
  EXPECT_EQ(comps[7], 0.0);  // zenith: the azimuth rate is left at 0, not infinite
}

TEST_F(Topo, RaeToEciInvertsTopoComps) {
  const double theta = 4.0, lat = -0.5;
  const double senKm[3] = {3500.0, -4200.0, -3100.0};
  const double satKm[3] = {-1200.0, -9800.0, 2500.0}, velKms[3] = {4.1, -1.5, 5.9};
  double comps[10];
  ECIToTopoComps(theta, lat / kDegToRad, senKm, satKm, velKms, comps);
  const double rae[6] = {comps[4], comps[2], comps[3], comps[9], comps[7], comps[8]};
  double pos[3], vel[3];
  RAEToECI(theta, lat / kDegToRad, senKm, rae, pos, vel);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(pos[k], satKm[k], 1e-8);
    EXPECT_NEAR(vel[k], velKms[k], 1e-11);
  }
  // Library level with the cos(El) flag on both sides.
  const Vec3 sen{senKm[0] / 6378.135, senKm[1] / 6378.135, senKm[2] / 6378.135};
  const Vec3 sat{satKm[0] / 6378.135, satKm[1] / 6378.135, satKm[2] / 6378.135}, v{0.5, -0.2, 0.7};
  double c[10];
  eci2topocomps(theta, lat, sen, sat, v, c, AzimuthRate::kTimesCosEl);
  const double r2[6] = {c[4], c[2], c[3], c[9], c[7], c[8]};
  Vec3 p2, v2;
  rae2eci(theta, lat, r2, sen, p2, v2, AzimuthRate::kTimesCosEl);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(p2[k], sat[k], 1e-12);
    EXPECT_NEAR(v2[k], v[k], 1e-12);
  }
}

// Meeus, Astronomical Algorithms, Example 23.a: theta Persei 2028 Nov 13.19 TD (JD 2462088.69),
// mean place of date RA 2h46m11.331s, Dec +49d20'54.54": annual aberration +30.045" in RA and
// +6.697" in Dec.
TEST_F(Topo, AnnualAberrationMeeusExample) {
  const double ra = (2 + 46 / 60.0 + 11.331 / 3600.0) * 15.0, dec = 49 + 20 / 60.0 + 54.54 / 3600.0;
  double dRa, dDec;
  AberrationAnnual(ra, dec, 2462088.69 - 2433281.5, &dRa, &dDec);
  EXPECT_NEAR(dRa * 3600.0, 30.045, 0.01);
  EXPECT_NEAR(dDec * 3600.0, 6.697, 0.01);
}

TEST_F(Topo, DiurnalAberrationOnTheMeridian) {
  // A site on the equator at longitude 0 sees RA = thetaG on its meridian: H = 0 gives
  // 0.32" / cos(dec) in RA and nothing in Dec.
  const double site[3] = {6378135.0, 0.0, 0.0};  // m
  const double ds50 = 20000.0;
  double dRa, dDec;
  double raMer, decMer;
  AzElToRaDecTime(ds50, 0.0, 0.0, 0.0, 90.0, &raMer, &decMer);  // the zenith's RA is thetaG
  AberrationDiurnal(raMer, 30.0, ds50, site, &dRa, &dDec);
  EXPECT_NEAR(dRa * 3600.0, 0.32 / std::cos(30.0 * kDegToRad), 1e-6);
  EXPECT_NEAR(dDec * 3600.0, 0.0, 1e-6);
}

TEST_F(Topo, SunlitPoints) {
  const double ds50 = 21000.0;
  double sun[3], dist;
  CompSunPos(ds50, sun, &dist);
  const double R = planix::genvgeo().earthRadius;
  const double toward[3] = {sun[0] * 2 * R, sun[1] * 2 * R, sun[2] * 2 * R};
  EXPECT_EQ(IsPointSunlit(ds50, toward), 1);
  const double behind[3] = {-sun[0] * 0.5 * R, -sun[1] * 0.5 * R, -sun[2] * 0.5 * R};
  EXPECT_EQ(IsPointSunlit(ds50, behind), 0);
  // Behind the Earth but 1.2 er off the Earth-Sun line: outside the shadow cylinder.
  Vec3 perp{-sun[1], sun[0], 0.0};
  const double pl = norm(perp);
  const double off[3] = {(-sun[0] * 3 + perp[0] / pl * 1.2) * R, (-sun[1] * 3 + perp[1] / pl * 1.2) * R,
                         (-sun[2] * 3 + perp[2] / pl * 1.2) * R};
  EXPECT_EQ(IsPointSunlit(ds50, off), 1);
  const double in[3] = {(-sun[0] * 3 + perp[0] / pl * 0.8) * R, (-sun[1] * 3 + perp[1] / pl * 0.8) * R,
                        (-sun[2] * 3 + perp[2] / pl * 0.8) * R};
  EXPECT_EQ(IsPointSunlit(ds50, in), 0);
}

TEST_F(Topo, EarthObstructionAngles) {
  // Sensor at the sub-satellite point: the sensor lies at nadir.
  double a[3];
  earthobstrangles(0.0, Vec3{1, 0, 0}, Vec3{4, 0, 0}, a);
  EXPECT_NEAR(a[1], 0.0, 1e-7);
  EXPECT_NEAR(a[2], 0.0, 1e-15);
  // The line passes the centre: the fallback limb angle actan(1 + hl, 1 + h_sat).
  EXPECT_NEAR(a[0], std::atan2(1.0, 4.0), 1e-12);
  // Equatorial plane: the ellipsoid section is the unit circle, so the limb is at asin(1/r).
  const double r = 4.0;
  const double g = std::asin(1.0 / r);
  const Vec3 sat{r, 0, 0};
  const Vec3 sen{r - 5 * std::cos(g), 5 * std::sin(g) * 1.02, 0};
  earthobstrangles(0.0, sen, sat, a);
  EXPECT_NEAR(a[0], g, 1e-12);
  EXPECT_NEAR(a[2], basalon::angleof2vecs(sen.data(), sat.data()), 0.0);
  EXPECT_GT(a[1], a[0]);  // the sight line passes above the limb
  earthobstrangles(0.1, sen, sat, a);
  EXPECT_NEAR(a[0], std::asin(1.1 / r), 1e-12);
}

TEST_F(Topo, EarthObstructionLimbInAMeridianPlane) {
  // Brute force: the limb angle is the largest nadir angle of any ellipsoid point in the plane.
  const double f = planix::genvgeo().flatLlh;
  const Vec3 sat{2.0 * std::cos(0.8), 0.0, 2.0 * std::sin(0.8)};
  const Vec3 sen{0.3, 0.0, 1.1};  // in the x-z plane
  double a[3];
  earthobstrangles(0.0, sen, sat, a);
  const Vec3 nadir{-sat[0] / 2.0, 0.0, -sat[2] / 2.0};
  // Foot of the perpendicular from the centre on the sight line: the side the line passes.
  const Vec3 d{sen[0] - sat[0], 0.0, sen[2] - sat[2]};
  const double along = -dotv(sat, d) / dotv(d, d);
  const Vec3 foot{sat[0] + along * d[0], 0.0, sat[2] + along * d[2]};
  double best = 0.0;
  for (int k = 0; k < 200000; ++k) {
    const double t = 2 * kPi * k / 200000.0;
    const Vec3 pt{std::cos(t), 0.0, (1 - f) * std::sin(t)};
    const Vec3 q{pt[0] - sat[0], 0.0, pt[2] - sat[2]};
    const double ang = std::acos(dotv(q, nadir) / norm(q));
    // Only points on the side of the nadir line that the sight line passes.
    if ((pt[2] * sat[0] - pt[0] * sat[2]) * (foot[2] * sat[0] - foot[0] * sat[2]) > 0)
      best = std::max(best, ang);
  }
  EXPECT_NEAR(a[0], best, 1e-8);
}
