// Surface geodesy: Vincenty's published test lines and the Flinders Peak - Buninyong example,
// rhumb lines against a numerically integrated meridian arc, moving-site velocity, orbit planes.
#include <cmath>
#include <string>

#include "Pelmath/EarthFrames.h"
#include "Pelmath/Geodesy.h"
#include "Pelmath/Units.h"
#include "Siblings/Planix/Planix.h"
#include "common/TestSupport.h"

using namespace pelmath;

namespace {

double dms(double d, double m, double s) { return std::copysign(std::fabs(d) + m / 60.0 + s / 3600.0, d); }
constexpr double kArcsecDeg = 1.0 / 3600.0;

struct GeodesicLine {
  const char* name;
  Ellipsoid ell;  // km
  double lat1, lon1, lat2, lon2, az12, az21, distKm;
};

// Vincenty (1975), Survey Review 23(176), test lines (a)-(c) (Bessel and International
// ellipsoids; his alpha2 is the forward azimuth at P2, so the back azimuth is alpha2 + 180 deg),
// and Geoscience Australia's Flinders Peak - Buninyong example on GRS80. Confirmed to 0.1 mm and
// 1e-5" with geographiclib 2.0 Geodesic.Inverse.
const GeodesicLine kLines[] = {
    {"a",
     {6377.397155, 1 / 299.1528128},
     dms(55, 45, 0),
     0.0,
     dms(-33, 26, 0),
     dms(108, 13, 0),
     dms(96, 36, 8.79960),
     dms(137, 52, 22.01454) + 180.0,
     14110.526170},
    {"b",
     {6378.388, 1 / 297.0},
     dms(37, 19, 54.95367),
     0.0,
     dms(26, 7, 42.83946),
     dms(41, 28, 35.50729),
     dms(95, 27, 59.63089),
     dms(118, 5, 58.96161) + 180.0,
     4085.966703},
    {"c",
     {6378.388, 1 / 297.0},
     dms(35, 16, 11.24862),
     0.0,
     dms(67, 22, 14.77638),
     dms(137, 47, 28.31435),
     dms(15, 44, 23.74850),
     dms(144, 55, 39.92147) + 180.0,
     8084.823839},
    {"FlindersPeak",
     {6378.137, 1 / 298.257222101},
     dms(-37, 57, 3.72030),
     dms(144, 25, 29.52440),
     dms(-37, 39, 10.15610),
     dms(143, 55, 35.38390),
     dms(306, 52, 5.37),
     dms(127, 10, 25.07),
     54.972271},
};

// Meridian arc from latitude 0 to lat (km) by Simpson's rule on a(1 - e^2)/(1 - e^2 sin^2)^1.5.
double meridianArc(double lat, double a, double f) {
  const double e2 = 2 * f - f * f;
  const int n = 2000;
  double s = 0;
  for (int k = 0; k <= n; ++k) {
    const double p = lat * k / n, w = (k == 0 || k == n) ? 1 : (k % 2 ? 4 : 2);
    s += w * a * (1 - e2) / std::pow(1 - e2 * std::sin(p) * std::sin(p), 1.5);
  }
  return s * lat / n / 3;
}

}  // namespace

TEST(TopoGeodesy, VincentyInverseReproducesPublishedLines) {
  for (const GeodesicLine& g : kLines) {
    double dist, az12, az21;
    ASSERT_EQ(inversevincenty(g.lat1, g.lon1, g.lat2, g.lon2, dist, az12, az21, g.ell), 0) << g.name;
    EXPECT_NEAR(dist, g.distKm, 1e-6) << g.name;  // the millimetre
    const double azTol = std::string(g.name) == "FlindersPeak" ? 0.006 * kArcsecDeg : 2e-5 * kArcsecDeg;
    EXPECT_NEAR(az12, g.az12, azTol) << g.name;
    EXPECT_NEAR(az21, std::fmod(g.az21, 360.0), azTol) << g.name;
  }
}

TEST(TopoGeodesy, VincentyDirectReproducesPublishedLines) {
  for (const GeodesicLine& g : kLines) {
    double lat2, lon2, az21;
    ASSERT_EQ(directvincenty(g.lat1, g.lon1, g.az12, g.distKm, lat2, lon2, az21, g.ell), 0) << g.name;
    // The direct iteration lands within 5e-5" (1.5 mm) of the inverse line's printed end point.
    const double tol = std::string(g.name) == "FlindersPeak" ? 0.006 * kArcsecDeg : 5e-5 * kArcsecDeg;
    EXPECT_NEAR(lat2, g.lat2, tol) << g.name;
    EXPECT_NEAR(lon2, g.lon2, tol) << g.name;
    EXPECT_NEAR(az21, std::fmod(g.az21, 360.0), tol) << g.name;
  }
}

TEST(TopoGeodesy, DirectAndInverseInvertEachOther) {
  planix::setGeoModel(planix::kWgs72);
  for (double lat1 : {-70.0, -10.0, 0.0, 33.0, 80.0}) {
    for (double az : {0.0, 45.0, 135.0, 200.0, 300.0}) {
      for (double d : {0.001, 150.0, 5000.0, 15000.0}) {
        double lat2, lon2, az21, dist, az12b, az21b;
        ASSERT_EQ(directvincenty(lat1, 20.0, az, d, lat2, lon2, az21), 0);
        EXPECT_GT(lon2, -180.0);
        EXPECT_LE(lon2, 180.0);
        ASSERT_EQ(inversevincenty(lat1, 20.0, lat2, lon2, dist, az12b, az21b), 0);
        EXPECT_NEAR(dist, d, 1e-7) << lat1 << " " << az << " " << d;
        // Over 1 m the azimuths rest on the last digits of the coordinates.
        const double azTol = d < 1.0 ? 1e-6 : 1e-8;
        EXPECT_NEAR(std::remainder(az12b - az, 360.0), 0.0, azTol) << lat1 << " " << az << " " << d;
        EXPECT_NEAR(std::remainder(az21b - az21, 360.0), 0.0, azTol);
      }
    }
  }
  // Zero distance: the start point itself.
  double lat2, lon2, az21;
  ASSERT_EQ(directvincenty(12.5, 100.25, 77.0, 0.0, lat2, lon2, az21), 0);
  EXPECT_NEAR(lat2, 12.5, 1e-12);
  EXPECT_NEAR(lon2, 100.25, 1e-12);
  // Coincident points in the inverse.
  double dist = 9, a = 9, b = 9;
  EXPECT_EQ(inversevincenty(12.5, 100.25, 12.5, 100.25, dist, a, b), 0);
  EXPECT_EQ(dist, 0.0);
}

TEST(TopoGeodesy, VincentyInverseNearAntipodeReportsNonConvergence) {
  double dist = 9, a = 9, b = 9;
  EXPECT_EQ(inversevincenty(0.0, 0.0, 0.5, 179.7, dist, a, b), 1);
  EXPECT_EQ(dist, 0.0);
  EXPECT_EQ(a, 0.0);
  EXPECT_EQ(b, 0.0);
}

TEST(TopoGeodesy, RhumbHeadings) {
  EXPECT_DOUBLE_EQ(computeheading(0.5, 0.1, 0.5, 0.3), kPi / 2);
  EXPECT_DOUBLE_EQ(computeheading(0.5, 0.3, 0.5, 0.1), 1.5 * kPi);
  EXPECT_DOUBLE_EQ(computeheading(0.1, 0.3, 0.5, 0.3), 0.0);
  EXPECT_DOUBLE_EQ(computeheading(0.5, 0.3, 0.1, 0.3), kPi);
  // Across the date line the short way east: Delta lon = +20 deg, not -340.
  const double h = computeheading(0.2, 350 * kDegToRad, 0.3, 10 * kDegToRad);
  EXPECT_GT(h, 0.0);
  EXPECT_LT(h, kPi / 2);
  double heading, dist;
  computedistazimrl(10.0, 350.0, 10.0, 10.0, heading, dist);
  EXPECT_DOUBLE_EQ(heading, 90.0);
  EXPECT_NEAR(dist, planix::genvgeo().earthRadius * std::cos(10.0 * kDegToRad) * 20 * kDegToRad, 1e-9);
}

TEST(TopoGeodesy, RhumbMeridianDistanceFollowsTheEllipsoid) {
  planix::setGeoModel(planix::kWgs72);
  const double a = planix::genvgeo().earthRadius, f = planix::genvgeo().flatGeod;
  for (double lat : {10.0, 45.0, 89.0}) {
    double heading, dist;
    computedistazimrl(0.0, 30.0, lat, 30.0, heading, dist);
    EXPECT_EQ(heading, 0.0);
    // The two-term series drops the terms of order e^4: up to ~40 m.
    EXPECT_NEAR(dist, meridianArc(lat * kDegToRad, a, f), 0.05) << lat;
  }
}

TEST(TopoGeodesy, RhumbDestinationAndDistanceAgree) {
  planix::setGeoModel(planix::kWgs72);
  for (double heading : {10.0, 60.0, 120.0, 225.0, 330.0}) {
    for (double d : {50.0, 800.0, 3000.0}) {
      double lat2, lon2, h2, d2;
      computedestptrl(20.0, 40.0, heading, d, lat2, lon2);
      EXPECT_GE(lon2, 0.0);
      EXPECT_LT(lon2, 360.0);
      computedistazimrl(20.0, 40.0, lat2, lon2, h2, d2);
      EXPECT_NEAR(h2, heading, 1e-3) << heading << " " << d;
      EXPECT_NEAR(d2, d, 1e-3 * d) << heading << " " << d;
    }
  }
  // Due east keeps the latitude; a long track due north ends at the pole.
  double lat2, lon2;
  computedestptrl(20.0, 40.0, 90.0, 1000.0, lat2, lon2);
  EXPECT_EQ(lat2, 20.0);
  EXPECT_NEAR(lon2, 40.0 + 1000.0 / planix::genvgeo().earthRadius / std::cos(20 * kDegToRad) / kDegToRad,
              1e-9);
  computedestptrl(80.0, 40.0, 0.0, 3000.0, lat2, lon2);
  EXPECT_EQ(lat2, 90.0);
}

TEST(TopoGeodesy, MobileSiteVelocity) {
  planix::setGeoModel(planix::kWgs72);
  const planix::GeoConst& g = planix::genvgeo();
  const double speed = 900.0;  // km/h
  const double speedCanon = speed / 3600.0 * g.kmPerSecToErPerKemin;
  for (double lat : {0.0, 35.0, -50.0}) {
    Vec3 pos;
    llh2efg(Vec3{lat * kDegToRad, 0.0, 0.0}, pos);  // on the x-z meridian at longitude 0
    const Vec3 earth = ecisenvelocity(pos);
    for (double heading : {0.0, 45.0, 90.0, 180.0, 230.0, 270.0}) {
      const Vec3 v = computemobilevel(pos, lat, heading, speed);
      const Vec3 rel{v[0] - earth[0], v[1] - earth[1], v[2] - earth[2]};
      // East is +y here; north is (-sin lat, 0, cos lat).
      const double east = rel[1];
      const double north = -std::sin(lat * kDegToRad) * rel[0] + std::cos(lat * kDegToRad) * rel[2];
      const double h = heading * kDegToRad;
      EXPECT_NEAR(east, speedCanon * std::sin(h), 0.01 * speedCanon) << lat << " " << heading;
      EXPECT_NEAR(north, speedCanon * std::cos(h), 0.01 * speedCanon) << lat << " " << heading;
    }
  }
}

TEST(TopoGeodesy, OrbitPlaneThroughASite) {
  double incli, node;
  // Due east at latitude 30: the site is the orbit's northernmost point, 90 deg past the node.
  computeinclinode(kPi / 6, 2.0, kPi / 2, incli, node);
  EXPECT_NEAR(incli, kPi / 6, 1e-12);
  EXPECT_NEAR(node, 2.0 - kPi / 2, 1e-12);
  EXPECT_DOUBLE_EQ(computexlam(kPi / 6, 2.0, kPi / 2), node);
  computeinclinode(0.0, 1.0, 0.0, incli, node);  // due north on the equator: polar, node at the site
  EXPECT_NEAR(incli, kPi / 2, 1e-12);
  EXPECT_NEAR(node, 1.0, 1e-12);
}
