// Pelmath library frame: unit conversions, element-array units, card types, the NaN test.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include <Pelmath.h>

#include "Pelmath/CardType.h"
#include "Pelmath/Units.h"
#include "Siblings/Planix/Planix.h"

namespace {

using namespace pelmath;

// Restores the default constant set after a test that changes it.
struct GeoModelGuard {
  ~GeoModelGuard() { planix::setGeoModel(planix::kWgs72); }
};

TEST(PelmathFrame, InitAlwaysReturnsZeroAndInfoNamesTheLibrary) {
  for (int64_t arg : {int64_t{0}, int64_t{-1}, int64_t{123456789}}) EXPECT_EQ(PelmathInit(arg), 0);
  char info[128];
  PelmathGetInfo(info);
  EXPECT_EQ(std::string(info, 7), "Pelmath");
  EXPECT_EQ(info[127], ' ');
}

TEST(PelmathUnits, AnglesAreReducedForKeplerianButNotForMeanLongitude) {
  const double kep[6] = {1.1, 0.01, -0.1, -0.1, 7.0, -0.1};
  double out[6];
  tometrickep(kep, out);
  EXPECT_NEAR(out[2], 360.0 - 0.1 * 180.0 / M_PI, 1e-12);
  EXPECT_NEAR(out[2], 354.27042204869178, 1e-10);
  EXPECT_NEAR(out[4], std::fmod(7.0, 2 * M_PI) * 180.0 / M_PI, 1e-12);
  EXPECT_DOUBLE_EQ(out[0], 1.1 * 6378.135);

  const double eq[6] = {0.1, 0.2, 0.3, 0.4, -0.1, 0.06};
  tometriceqnx(eq, out);
  EXPECT_NEAR(out[4], -5.729577951308232, 1e-12);
  EXPECT_NEAR(out[5], 0.06 * 1440.0 / (2 * M_PI), 1e-12);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(out[k], eq[k]);

  const double cls[6] = {0.06, 0.1, -0.1, 2 * M_PI, 1.0, 2.0};
  tometricclass(cls, out);
  EXPECT_NEAR(out[2], 354.27042204869178, 1e-10);
  EXPECT_GE(out[3], 0.0);
  EXPECT_LT(out[3], 360.0);
}

TEST(PelmathUnits, ElementArraysRoundTrip) {
  const double kepM[6] = {7000.0, 0.1, 63.4, 10.0, 200.0, 300.0};
  double c[6], back[6];
  tocanonicalkep(kepM, c);
  EXPECT_NEAR(c[0], 7000.0 / 6378.135, 1e-15);
  tometrickep(c, back);
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(back[k], kepM[k], 1e-10) << k;

  const double clsM[6] = {15.5, 0.001, 98.0, 359.0, 1.0, 90.0};
  tocanonicalclass(clsM, c);
  EXPECT_NEAR(c[0], 15.5 * 2 * M_PI / 1440.0, 1e-15);
  tometricclass(c, back);
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(back[k], clsM[k], 1e-10) << k;

  const double eqM[6] = {0.01, -0.02, 0.3, -0.4, 720.5, 14.0};
  tocanonicaleqnx(eqM, c);
  tometriceqnx(c, back);
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(back[k], eqM[k], 1e-10) << k;
}

TEST(PelmathUnits, VelocityFactorAgreesWithTheCanonicalTimeUnit) {
  // 1 er/kemin is R km per (1/ke) minutes, i.e. R ke / 60 km/s.
  const planix::GeoConst& g = planix::genvgeo();
  const double kmPerSecPerCanonical = g.earthRadius * g.ke / 60.0;
  EXPECT_NEAR(kmsectoerkem(kmPerSecPerCanonical), 1.0, 1e-14);
  // mu = 1 in canonical units: circular speed at 1 er is 1 er/kemin.
  EXPECT_NEAR(kmsectoerkem(std::sqrt(g.muKm / g.earthRadius)), 1.0, 1e-12);
  EXPECT_NEAR(todegpersec(toradperkemin(0.25)), 0.25, 1e-15);
  EXPECT_NEAR(toradperkemin(1.0), M_PI / 3.0 / g.ke, 1e-15);
  EXPECT_NEAR(kmtoer(ertokm(1.7)), 1.7, 1e-15);
  EXPECT_DOUBLE_EQ(degtorad(180.0), M_PI);
}

TEST(PelmathUnits, StridedViewsAndOptionalConstants) {
  // Position components every third element of a larger array; other slots untouched.
  double arr[9] = {6378.135, -1, -1, 2 * 6378.135, -1, -1, -6378.135, -1, -1};
  tocanonicalpos(arr, arr, {}, 3);
  EXPECT_DOUBLE_EQ(arr[0], 1.0);
  EXPECT_DOUBLE_EQ(arr[3], 2.0);
  EXPECT_DOUBLE_EQ(arr[6], -1.0);
  EXPECT_EQ(arr[1], -1.0);
  // Stride 0 is taken as 1.
  double v[3] = {1.0, 2.0, 3.0}, o[3];
  tometricpos(v, o, 10.0, 0);
  EXPECT_EQ(o[2], 30.0);
  tocanonicalvel(v, o, 2.0);
  EXPECT_EQ(o[1], 4.0);
  tometricvel(o, o, 2.0);
  EXPECT_EQ(o[1], 2.0);
  const double llh[3] = {45.0, -120.0, 100.0};
  double cl[3], ml[3];
  tocanonicalllh(llh, cl, 1000.0);
  EXPECT_DOUBLE_EQ(cl[2], 0.1);
  tometricllh(cl, ml, 1000.0);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(ml[k], llh[k], 1e-12);
}

TEST(PelmathUnits, ConstantSetChangeTakesEffectAtTheNextCall) {
  GeoModelGuard guard;
  EXPECT_DOUBLE_EQ(ertokm(1.0), 6378.135);
  ASSERT_EQ(planix::setGeoModel(planix::kWgs84), 0);
  EXPECT_DOUBLE_EQ(ertokm(1.0), 6378.137);
  const double kep[6] = {1.0, 0, 0, 0, 0, 0};
  double out[6];
  tometrickep(kep, out);
  EXPECT_DOUBLE_EQ(out[0], 6378.137);
}

TEST(PelmathUnits, ContainsNanTestsAllSixValues) {
  double v[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_FALSE(containsnan(v));
  for (int k = 0; k < 6; ++k) {
    double w[6] = {1, 2, 3, 4, 5, 6};
    w[k] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(containsnan(w)) << k;
  }
  v[3] = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(containsnan(v));
}

TEST(PelmathCardType, ColumnsDecideTheTypeInOrder) {
  std::string card(80, ' ');
  EXPECT_EQ(maneuvcardtype(card), 100);
  card.replace(0, 4, "ACC_");
  EXPECT_EQ(maneuvcardtype(card), 3);
  card.replace(78, 2, "VP");
  EXPECT_EQ(maneuvcardtype(card), 2);  // VP in 79-80 wins over ACC_ in 1-4
  card.replace(0, 6, "VPCFIL");
  EXPECT_EQ(maneuvcardtype(card), 1);
  EXPECT_EQ(maneuvcardtype("ACC_FILE = x.txt"), 4);
  EXPECT_EQ(maneuvcardtype("ACC_"), 3);
  EXPECT_EQ(maneuvcardtype(""), 100);
  EXPECT_EQ(maneuvcardtype("vpcfil"), 100);  // the raw test is case sensitive
}

TEST(PelmathCardType, TheBooleanTestUpperCasesAndPadsShortCards) {
  EXPECT_TRUE(ismaneuvcardtype("vpcfil = maneuvers.txt"));
  EXPECT_TRUE(ismaneuvcardtype("acc_file"));
  EXPECT_TRUE(ismaneuvcardtype("acc_x"));
  EXPECT_FALSE(ismaneuvcardtype("QELFIL = a.txt"));
  EXPECT_FALSE(ismaneuvcardtype(""));
  std::string vp(80, ' ');
  vp.replace(78, 2, "vp");
  EXPECT_TRUE(ismaneuvcardtype(vp));
  EXPECT_FALSE(ismaneuvcardtype(vp.substr(0, 79)));  // columns 79-80 read as blanks
  EXPECT_TRUE(ismaneuvcardtype(vp + "trailing text past column 80"));
}

}  // namespace
