// Kepler's equation, true anomaly, two-body motion, derived terms and local frames, checked
// against each other along independent paths (perifocal vs equinoctial construction).
#include <gtest/gtest.h>

#include <cmath>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "PelmathApi/Elements.h"
#include "Siblings/Planix/Planix.h"

namespace {

using pelmath::Elset;
using pelmath::kTwoPi;
using pelmath::Vec3;

double keplerResidual(double e, double m, double ecc) { return ecc - e * std::sin(ecc) - m; }

double wrapPi(double x) { return std::remainder(x, kTwoPi); }

TEST(KeplerEquation, HardCasesConverge) {
  // e = 0.99 near perigee, a first step that would overshoot (clamped to 1 rad), and M beyond 2 pi.
  for (const auto& [e, m] : {std::pair{0.99, 0.001}, std::pair{0.99, 0.3}, std::pair{0.999, 3.1},
                             std::pair{0.5, 20.0}, std::pair{0.0, 1.0}}) {
    const Elset kep{1.5, e, 0.3, m, 0.0, 0.0};
    const double ecc = pelmath::finde(kep);
    EXPECT_NEAR(keplerResidual(e, m, ecc), 0.0, 1e-12) << "e " << e << " M " << m;
  }
}

TEST(KeplerEquation, TimeOffsetAdvancesTheMeanAnomaly) {
  const Elset kep{1.3, 0.2, 0.5, 0.4, 0.0, 0.0};
  const double dt = 37.0;
  Elset later = kep;
  later[3] += pelmath::a2n(kep[0]) * dt;
  EXPECT_NEAR(pelmath::finde(kep, dt), pelmath::finde(later), 1e-13);
}

TEST(KeplerEquation, ExportUnitsRadiansAndDegrees) {
  const double kep[6] = {8000.0, 0.3, 20.0, 200.0, 0.0, 0.0};  // M past apogee
  const double ecc = SolveKepEqtn(kep);
  EXPECT_NEAR(keplerResidual(0.3, 200.0 * pelmath::kDegToRad, ecc), 0.0, 1e-12);
  const double nu = CompTrueAnomaly(kep);
  EXPECT_GT(nu, 180.0);
  EXPECT_LT(nu, 360.0);
  // tan(nu/2) = sqrt((1+e)/(1-e)) tan(E/2).
  EXPECT_NEAR(std::tan(0.5 * nu * pelmath::kDegToRad), std::sqrt(1.3 / 0.7) * std::tan(0.5 * ecc), 1e-10);
}

// The perifocal two-body state agrees with the equinoctial construction, now and later.
TEST(TwoBody, KeplerMatchesEquinoctialState) {
  const double ke = planix::genvgeo().ke;
  const Elset kep{1.8, 0.35, 1.1, 2.0, 4.0, 5.5};
  const double n = pelmath::a2n(kep[0]);
  for (double dt : {0.0, 55.0, -400.0}) {
    Vec3 p{}, v{}, pe{}, ve{};
    pelmath::kepler(kep, n, ke * ke, dt, p, v);  // er and er/min
    Elset moved = kep;
    moved[3] += n * dt;
    pelmath::kep2pv(moved, pe, ve);  // er and er/kemin
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(p[k], pe[k], 1e-12);
      EXPECT_NEAR(v[k], ve[k] * ke, 1e-12);
    }
  }
}

TEST(DerivedTerms, StateTermsMatchTheElements) {
  const Elset kep{1.6, 0.25, 0.8, 2.5, 1.0, 4.0};
  Vec3 p{}, v{};
  pelmath::kep2pv(kep, p, v);
  pelmath::Derivedterms t = pelmath::getderivedterms(kep);
  EXPECT_EQ(t.v[11], 0.0);
  EXPECT_EQ(t.v[21], 0.0);
  pelmath::pv2derivedterms(p, v, t);
  const double nu = pelmath::gettrueanomaly(kep) * pelmath::kDegToRad;
  EXPECT_NEAR(t.v[11], std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 1e-14);
  EXPECT_NEAR(t.v[21], nu, 1e-11);
  EXPECT_NEAR(wrapPi(t.v[22] - nu - kep[5]), 0.0, 1e-11);
  // rdot = e sin(nu) / sqrt(p) with mu = 1; p = a (1 - e^2) is entry 8.
  EXPECT_NEAR(t.v[12], 0.25 * std::sin(nu) / std::sqrt(t.v[8]), 1e-13);
  EXPECT_NEAR(t.v[8], 1.6 * (1.0 - 0.0625), 1e-15);
  EXPECT_NEAR(t.v[23], std::fmod(2.5 + 4.0, kTwoPi), 1e-15);
}

TEST(DerivedTerms, EquatorialArgumentOfLatitudeIsTheTrueLongitude) {
  const Elset kep{1.6, 0.25, 0.0, 2.5, 1.0, 4.0};
  Vec3 p{}, v{};
  pelmath::kep2pv(kep, p, v);
  pelmath::Derivedterms t;
  pelmath::pv2derivedterms(p, v, t);
  const double nu = pelmath::gettrueanomaly(kep) * pelmath::kDegToRad;
  EXPECT_NEAR(wrapPi(t.v[22] - (nu + kep[4] + kep[5])), 0.0, 1e-11);
}

TEST(DerivedElts, ShapeAndFrameOfAState) {
  const Elset kep{2.2, 0.4, 0.6, 1.2, 0.3, 2.0};
  Vec3 p{}, v{};
  pelmath::kep2pv(kep, p, v);
  const pelmath::Derivedelts d = pelmath::pv2drvdelts(p, v, 1.0);
  const double ecc = pelmath::finde(kep);
  EXPECT_NEAR(d.v[4], 1.0 / 2.2, 1e-14);            // mu / a
  EXPECT_NEAR(d.v[5], 0.4 * std::sin(ecc), 1e-13);  // e sin E
  EXPECT_NEAR(d.v[6], 0.4 * std::cos(ecc), 1e-13);  // e cos E
  EXPECT_NEAR(std::hypot(std::hypot(d.v[9], d.v[10]), d.v[11]), 0.4, 1e-13);
  // Node along (cos node, sin node, 0); angular momentum along the W of the set.
  EXPECT_NEAR(d.v[27], std::cos(0.3), 1e-14);
  EXPECT_NEAR(d.v[28], std::sin(0.3), 1e-14);
  const pelmath::Uvwelts f = pelmath::kep2uvw(kep);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(d.v[18 + k], f.w[k], 1e-14);
    EXPECT_NEAR(d.v[12 + k], f.u[k], 1e-13);  // radial unit vector
    EXPECT_NEAR(d.v[15 + k], f.v[k], 1e-13);  // w x r
  }
  EXPECT_NEAR(pelmath::kep2ubar3(kep), f.u[2], 1e-15);

  // An equatorial orbit takes its node along x.
  Vec3 pe{}, ve{};
  pelmath::kep2pv(Elset{2.2, 0.4, 0.0, 1.2, 0.3, 2.0}, pe, ve);
  const pelmath::Derivedelts de = pelmath::pv2drvdelts(pe, ve, 1.0);
  EXPECT_EQ(de.v[27], 1.0);
  EXPECT_EQ(de.v[28], 0.0);
  EXPECT_EQ(de.v[31], 1.0);
}

TEST(LocalFrames, PtwAndUuvwAreNotNormalised) {
  const double r[3] = {7000.0, 0.0, 0.0}, v[3] = {0.0, 7.5, 0.0};
  double a[3], b[3], c[3];
  PosVelToPTW(r, v, a, b, c);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(b[k], v[k]);
  EXPECT_DOUBLE_EQ(c[2], 52500.0);    // r x v
  EXPECT_DOUBLE_EQ(a[0], -393750.0);  // (r x v) x v
  EXPECT_EQ(a[1], 0.0);
  PosVelToUUVW(r, v, a, b, c);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(b[k], r[k]);
  EXPECT_DOUBLE_EQ(a[1], 367500000.0);  // (r x v) x r
  EXPECT_DOUBLE_EQ(c[2], 52500.0);
}

}  // namespace
