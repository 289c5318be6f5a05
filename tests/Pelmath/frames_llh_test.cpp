// Geodetic LLH <-> EFG/XYZ: the closed form against an iterative solution and ERFA's gc2gd, round
// trips over heights -10 km to 40000 km and latitudes to the poles, and the degenerate points.
#include <cmath>

#include "Pelmath.h"
#include "Pelmath/EarthFrames.h"
#include "Pelmath/Units.h"
#include "common/TestSupport.h"

using namespace pelmath;

namespace {

// Independent geodetic latitude (rad) by fixed-point iteration tan(lat) = (z + e^2 N sin lat)/p.
double iterativeLat(const Vec3& r, double f) {
  const double e2 = 2 * f - f * f, p = std::hypot(r[0], r[1]);
  double lat = std::atan2(r[2], p * (1 - e2));
  for (int k = 0; k < 50; ++k) {
    const double n = 1.0 / std::sqrt(1 - e2 * std::sin(lat) * std::sin(lat));
    lat = std::atan2(r[2] + e2 * n * std::sin(lat), p);
  }
  return lat;
}

class FramesLlh : public ::testing::Test {
 protected:
  void SetUp() override { planix::setGeoModel(planix::kWgs72); }
  void TearDown() override { planix::setGeoModel(planix::kWgs72); }
};

}  // namespace

TEST_F(FramesLlh, RoundTripHoldsToClosedFormAccuracy) {
  const double R = planix::genvgeo().earthRadius;
  double worstLat = 0, worstH = 0;
  for (double hKm : {-10.0, 0.0, 0.5, 400.0, 2000.0, 20200.0, 35786.0, 40000.0}) {
    for (double latDeg = -90.0; latDeg <= 90.0; latDeg += 7.5) {
      for (double lonDeg : {0.0, 47.3, 183.0, 359.9}) {
        const Vec3 llh{latDeg * kDegToRad, lonDeg * kDegToRad, hKm / R};
        Vec3 efg, back;
        llh2efg(llh, efg);
        efg2llh(efg, back);
        worstLat = std::max(worstLat, std::fabs(back[0] - llh[0]));
        worstH = std::max(worstH, std::fabs(back[2] - llh[2]) * R);
        if (std::fabs(latDeg) < 90.0) {
          EXPECT_NEAR(std::remainder(back[1] - llh[1], 2 * kPi), 0.0, 1e-12) << latDeg << " " << lonDeg;
        }
      }
    }
  }
  EXPECT_LT(worstLat, 8e-8);
  EXPECT_LT(worstH, 2e-8);   // km
  EXPECT_GT(worstLat, 0.0);  // the closed form is not an exact inverse: this is its accuracy
}

TEST_F(FramesLlh, ClosedFormAgreesWithIteration) {
  const double f = planix::genvgeo().flatLlh;
  for (double r : {0.998, 1.0, 1.07, 4.2, 6.6, 7.3}) {
    for (double gc = -kPi / 2; gc <= kPi / 2 + 1e-9; gc += kPi / 36) {
      const Vec3 pos{r * std::cos(gc) * std::cos(0.3), r * std::cos(gc) * std::sin(0.3), r * std::sin(gc)};
      Vec3 llh;
      efg2llh(pos, llh);
      const double ref = iterativeLat(pos, f);
      EXPECT_NEAR(llh[0], ref, 8e-8) << r << " " << gc;
      EXPECT_NEAR(llh[2], computeheight(ref, pos), 2e-12) << r << " " << gc;
    }
  }
}

// ERFA 2.0 gc2gd(3 = WGS-72, xyz in metres) -> (elong, phi, height m), recorded offline.
TEST_F(FramesLlh, ExportMatchesErfaGc2gd) {
  struct Case {
    double xyz[3], lon, lat, h;
  };
  const Case cases[] = {
      {{6524834.0, 6862875.0, 6448296.0}, 0.8106428999047803, 0.5995641299236059, 5085220.665718613},
      {{-1000.0, 2000.0, 6356000.0}, 2.0344439357957027, 1.570446877898943, -750.1293203461007},
      {{42164000.0, -1000000.0, 3000000.0}, -0.02371246954518543, 0.07108268095489861, 35904390.86506974},
      {{1917000.0, -6000000.0, -1200000.0}, -1.2615470039371048, -0.18948844314773133, 34706.874896317946},
      {{-300000.0, -200000.0, -6300000.0}, -2.5535900500422257, -1.514012391840089, -46510.95503413585},
      {{6370000.0, 0.0, 100000.0}, 0.0, 0.015803193812784208, -7344.82353370869},
  };
  for (const Case& c : cases) {
    const double km[3] = {c.xyz[0] / 1000, c.xyz[1] / 1000, c.xyz[2] / 1000};
    double llh[3];
    EFGPosToLLH(km, llh);
    EXPECT_NEAR(llh[0], c.lat / kDegToRad, 8e-8 / kDegToRad);
    EXPECT_NEAR(llh[1], std::fmod(c.lon + 2 * kPi, 2 * kPi) / kDegToRad, 1e-10);
    EXPECT_NEAR(llh[2], c.h / 1000, 1e-8);
    EXPECT_GE(llh[1], 0.0);
    EXPECT_LT(llh[1], 360.0);
    double back[3];
    LLHToEFGPos(llh, back);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[k], km[k], 1e-3);  // 8e-8 rad of latitude ~ 0.5 m
  }
}

TEST_F(FramesLlh, OriginAndPolesAndLongitudeRange) {
  Vec3 llh{9, 9, 9};
  xyz2llh(1.0, Vec3{0, 0, 0}, llh);
  EXPECT_EQ(llh, (Vec3{0, 0, 0}));
  // A point near the centre gives finite values, not NaN.
  xyz2llh(0.0, Vec3{1e-4, 2e-4, 3e-4}, llh);
  for (double v : llh) EXPECT_TRUE(std::isfinite(v));
  // North pole on the surface: latitude 90 deg, height 0.
  Vec3 pole;
  llh2efg(Vec3{kPi / 2, 0, 0}, pole);
  efg2llh(pole, llh);
  EXPECT_NEAR(llh[0], kPi / 2, 1e-12);
  EXPECT_NEAR(llh[2], 0.0, 1e-12);
  // Longitudes come back in [0, 2pi) whatever the Greenwich angle.
  for (double theta : {-7.0, -0.1, 0.0, 3.0, 12.0}) {
    for (double lon : {-3.0, -1e-9, 0.0, 2.0, 6.28}) {
      Vec3 xyz;
      llh2xyz(theta, Vec3{0.4, lon, 0.1}, xyz);
      xyz2llh(theta, xyz, llh);
      EXPECT_GE(llh[1], 0.0);
      EXPECT_LT(llh[1], 2 * kPi);
      EXPECT_NEAR(std::remainder(llh[1] - lon, 2 * kPi), 0.0, 1e-9);
    }
  }
}

TEST_F(FramesLlh, RadiiAndLatitudeConversions) {
  const double f = planix::genvgeo().flatLlh;
  EXPECT_DOUBLE_EQ(getearthradius(0.0), 1.0);
  EXPECT_NEAR(getearthradius(kPi / 2), 1.0 - f, 1e-15);
  for (double lat : {-1.2, -0.3, 0.0, 0.7, 1.5}) {
    Vec3 surf;
    llh2efg(Vec3{lat, 0.0, 0.0}, surf);
    EXPECT_NEAR(getearthradius(lat), norm(surf), 1e-15);
    EXPECT_NEAR(computeheight(lat, surf), 0.0, 1e-15);
    // Geocentric <-> geodetic at height 0 and at a height of a few er.
    const double e2 = 2 * planix::genvgeo().flatGeod - std::pow(planix::genvgeo().flatGeod, 2);
    EXPECT_NEAR(std::tan(togeocentriclat(lat)), (1 - e2) * std::tan(lat), 1e-12);
    EXPECT_NEAR(togeodeticlat(togeocentriclat(lat)), lat, 1e-14);
    EXPECT_NEAR(togeodeticlat(togeocentriclat(lat, 2.5), 2.5), lat, 1e-13);
  }
  // Higher points see a geocentric latitude closer to the geodetic one.
  EXPECT_LT(std::fabs(togeocentriclat(0.7, 5.0) - 0.7), std::fabs(togeocentriclat(0.7) - 0.7));
}
