// Planix constant records: published defining values and the derived canonical factors.
#include <cmath>

#include <gtest/gtest.h>

#include "Siblings/Planix/Planix.h"

namespace {

using planix::GeoConst;

void expectConsistent(const GeoConst& g) {
  // ke = sqrt(mu / R^3) in er^1.5/min.
  EXPECT_NEAR(g.ke, 60.0 * std::sqrt(g.muKm / (g.earthRadius * g.earthRadius * g.earthRadius)), 1e-15);
  EXPECT_DOUBLE_EQ(g.ck2, 0.5 * g.j2);
  // One er/kemin in km/s, converted back, is one.
  EXPECT_NEAR(g.kmPerSecToErPerKemin * g.earthRadius * g.ke / 60.0, 1.0, 1e-15);
  // The rotation rate in rad/kemin converts back to about 7.292e-5 rad/s.
  EXPECT_NEAR(g.earthRotRate * g.ke / 60.0, 7.2921e-5, 1e-8);
  EXPECT_EQ(g.flatLlh, g.flatGeod);
}

TEST(PlanixConstants, PublishedModelValues) {
  EXPECT_EQ(planix::wgs72.earthRadius, 6378.135);
  EXPECT_EQ(planix::wgs72.muKm, 398600.8);
  EXPECT_EQ(planix::wgs72.j2, 0.001082616);
  EXPECT_NEAR(1.0 / planix::wgs72.flatLlh, 298.26, 1e-9);
  // SGP4's WGS-72 ke, as the published model quotes it.
  EXPECT_NEAR(planix::wgs72.ke, 0.07436691613317342, 1e-15);
  EXPECT_EQ(planix::wgs84.earthRadius, 6378.137);
  EXPECT_EQ(planix::wgs84.muKm, 398600.4418);
  EXPECT_NEAR(1.0 / planix::wgs84.flatLlh, 298.257223563, 1e-9);
  EXPECT_EQ(planix::egm96.earthRadius, 6378.1363);
  for (const GeoConst* g : {&planix::wgs72, &planix::wgs84, &planix::egm96}) expectConsistent(*g);
}

TEST(PlanixConstants, CurrentSetAndCatalogueSetting) {
  EXPECT_EQ(planix::getGeoModel(), planix::kWgs72);
  EXPECT_EQ(&planix::genvgeo(), &planix::wgs72);
  EXPECT_EQ(planix::setGeoModel(planix::kEgm96), 0);
  EXPECT_EQ(&planix::genvgeo(), &planix::egm96);
  EXPECT_EQ(planix::setGeoModel(0), 2);  // unknown code: refused, no change
  EXPECT_EQ(&planix::genvgeo(), &planix::egm96);
  EXPECT_EQ(planix::geoconstof(1), nullptr);
  planix::setGeoModel(planix::kWgs72);

  EXPECT_EQ(planix::genvfk(), 5);
  planix::setEnvFk(4);
  EXPECT_EQ(planix::genvfk(), 4);
  EXPECT_EQ(planix::getfk(planix::genvfk()), 4);
  planix::setEnvFk(5);
  EXPECT_EQ(planix::getfk(7), 5);
}

}  // namespace
