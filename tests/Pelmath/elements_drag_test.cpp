// Kozai/Brouwer mean motions, the SGP4 C2 drag coefficient, B* <-> ndot/2 and the initial drag
// table, against the published SGP4 initialisation computed independently here.
#include <gtest/gtest.h>

#include <cmath>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "PelmathApi/Elements.h"
#include "Siblings/Planix/Planix.h"

namespace {

using pelmath::Elset;

// WGS-72 as published for SGP4 (Hoots and Roehrich 1980; Vallado et al. 2006).
constexpr double kR72 = 6378.135, kMu72 = 398600.8, kJ2_72 = 0.001082616;
const double kKe72 = 60.0 / std::sqrt(kR72 * kR72 * kR72 / kMu72);

// Brouwer mean motion n0'' recovered from the Kozai n (rad/min) as SGP4's initialisation does.
double sgp4UnKozai(double e, double incl, double n) {
  const double k2 = 0.5 * kJ2_72;
  const double c = std::cos(incl);
  const double f = 1.5 * k2 * (3.0 * c * c - 1.0) / std::pow(1.0 - e * e, 1.5);
  const double a1 = std::pow(kKe72 / n, 2.0 / 3.0);
  const double d1 = f / (a1 * a1);
  const double a0 = a1 * (1.0 - d1 / 3.0 - d1 * d1 - 134.0 / 81.0 * d1 * d1 * d1);
  const double d0 = f / (a0 * a0);
  return n / (1.0 + d0);
}

// SGP4's C2 (Hoots and Roehrich 1980), for Brouwer a0 (er), e, i, with the current constants.
double sgp4C2(double a0, double e, double incl) {
  const planix::GeoConst& g = planix::genvgeo();
  const double n0 = g.ke / std::pow(a0, 1.5);
  const double perigeeKm = (a0 * (1.0 - e) - 1.0) * g.earthRadius;
  double sKm = 78.0;
  if (perigeeKm < 156.0) sKm = perigeeKm <= 98.0 ? 20.0 : perigeeKm - 78.0;
  const double qoms4 = std::pow((120.0 - sKm) / g.earthRadius, 4);
  const double s = sKm / g.earthRadius + 1.0;
  const double xi = 1.0 / (a0 - s), eta = a0 * e * xi, psisq = std::fabs(1.0 - eta * eta);
  const double theta = std::cos(incl);
  const double coef1 = qoms4 * std::pow(xi, 4) / std::pow(psisq, 3.5);
  return coef1 * n0 *
         (a0 * (1.0 + 1.5 * eta * eta + 4.0 * e * eta + e * eta * eta * eta) +
          0.75 * g.j2 * xi / psisq * (-0.5 + 1.5 * theta * theta) *
              (8.0 + 24.0 * eta * eta + 3.0 * std::pow(eta, 4)));
}

struct MeanCase {
  double e, inclDeg, nRevDay;
};
// Satellites 00005, 04632 and 28057 of the SGP4 verification set, and a near-equatorial GEO.
constexpr MeanCase kCases[] = {{0.1859667, 34.2682, 10.82419157},
                               {0.0027869, 11.4628, 1.00270272},
                               {0.0000884, 98.0551, 14.33549746},
                               {0.0003, 0.05, 1.0027}};

TEST(MeanMotions, KozaiToBrouwerMatchesSgp4Initialisation) {
  for (const MeanCase& c : kCases) {
    const double nK = c.nRevDay * pelmath::kRevDayToRadMin;
    const double expect = sgp4UnKozai(c.e, c.inclDeg * pelmath::kDegToRad, nK) * pelmath::kRadMinToRevDay;
    EXPECT_NEAR(KozaiToBrouwer(c.e, c.inclDeg, c.nRevDay), expect, 1e-13 * expect) << c.nRevDay;
  }
}

TEST(MeanMotions, AlwaysWgs72AndInverseOfEachOther) {
  const MeanCase c = kCases[0];
  const double nB = KozaiToBrouwer(c.e, c.inclDeg, c.nRevDay);
  ASSERT_EQ(planix::setGeoModel(planix::kWgs84), 0);
  EXPECT_EQ(KozaiToBrouwer(c.e, c.inclDeg, c.nRevDay), nB);
  planix::setGeoModel(planix::kWgs72);
  for (const MeanCase& k : kCases) {
    const double nb = KozaiToBrouwer(k.e, k.inclDeg, k.nRevDay);
    EXPECT_NE(nb, k.nRevDay);
    EXPECT_NEAR(BrouwerToKozai(k.e, k.inclDeg, nb), k.nRevDay, 1e-8 * k.nRevDay);
  }
}

TEST(DragCoefficient, C2MatchesSgp4ForEachAtmosphereBranch) {
  // Perigee heights 600 km (s = 78 km), 130 km (s = hp - 78) and 90 km (s = 20 km).
  for (double hp : {600.0, 130.0, 90.0}) {
    const double e = 0.05;
    const double a = (1.0 + hp / kR72) / (1.0 - e);
    const Elset kep{a, e, 0.9, 0.0, 0.0, 0.0};
    const double expect = sgp4C2(a, e, 0.9);
    EXPECT_NEAR(pelmath::computecc2(kep), expect, 1e-12 * expect) << hp;
  }
}

TEST(DragCoefficient, BstarAndNdotConvertBothWays) {
  const Elset leo{1.08, 0.01, 0.9, 0.0, 0.0, 0.0};
  const Elset eq = pelmath::kep2eqnx(leo);
  const double bstar = 2.5e-4;
  const double ndot = pelmath::bstar2ndot(bstar, eq);
  EXPECT_NEAR(ndot, 1.5 * eq[5] * sgp4C2(1.08, 0.01, 0.9) * bstar, 1e-12 * std::fabs(ndot));
  EXPECT_NEAR(pelmath::ndot2bstar(ndot, eq), bstar, 1e-15);
  // A geosynchronous orbit's C2 is zero to the support library's tolerance: both give 0.
  const Elset geo = pelmath::kep2eqnx(Elset{6.6107, 0.0002, 0.001, 0.0, 0.0, 0.0});
  EXPECT_EQ(pelmath::bstar2ndot(bstar, geo), 0.0);
  EXPECT_EQ(pelmath::ndot2bstar(1e-8, geo), 0.0);
}

TEST(InitialDrag, BandsAtTheirEdges) {
  struct Band {
    double edgeKm, bstar, ndotRadMin2;
  };
  const Band bands[] = {{200.0, 0.01, 3.6361026e-08},
                        {300.0, 0.001, 4.5451283e-09},
                        {500.0, 0.0001, 3.0300855e-10},
                        {800.0, 1e-05, 9.0902565e-11}};
  const double eps = 1e-6;  // km either side of an edge
  for (int k = 0; k < 4; ++k) {
    double ndot = -1, bstar = -1;
    GetInitialDrag(kR72 + bands[k].edgeKm - eps, 0.0, &ndot, &bstar);
    EXPECT_EQ(bstar, bands[k].bstar) << bands[k].edgeKm;
    EXPECT_NEAR(ndot, bands[k].ndotRadMin2 * pelmath::kRadMin2ToRevDay2, 1e-15);
    GetInitialDrag(kR72 + bands[k].edgeKm + eps, 0.0, &ndot, &bstar);
    EXPECT_EQ(bstar, k < 3 ? bands[k + 1].bstar : 0.0) << bands[k].edgeKm;
  }
  // Perigee from a and e; e above 0.5 has no table value; 900 km neither.
  double ndot = -1, bstar = -1;
  GetInitialDrag((kR72 + 250.0) / (1.0 - 0.5), 0.5, &ndot, &bstar);
  EXPECT_EQ(bstar, 0.001);
  GetInitialDrag((kR72 + 250.0) / (1.0 - 0.6), 0.6, &ndot, &bstar);
  EXPECT_EQ(bstar, 0.0);
  EXPECT_EQ(ndot, 0.0);
  GetInitialDrag(kR72 + 900.0, 0.0, &ndot, &bstar);
  EXPECT_EQ(bstar, 0.0);
  EXPECT_EQ(ndot, 0.0);
  GetInitialDrag(std::nan(""), 0.0, &ndot, &bstar);
  EXPECT_EQ(bstar, 0.0);
}

}  // namespace
