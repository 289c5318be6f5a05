// Degenerate input to the element exports: NaN elements, zero state vectors and eccentricities the
// elliptic routines cannot take come back as NaN (never as plausible numbers), without a crash and
// without trace-log lines (these routines report no errors).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "PelmathApi/Elements.h"
#include "common/TestSupport.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

bool anyNaN(const double* v, int n) {
  for (int k = 0; k < n; ++k)
    if (std::isnan(v[k])) return true;
  return false;
}

TEST(ElementBadInput, NaNElementsGiveNaN) {
  zktest::LogWatch log;
  for (int slot = 0; slot < 6; ++slot) {
    double kep[6] = {7000.0, 0.1, 30.0, 10.0, 20.0, 30.0};
    kep[slot] = kNaN;
    double pos[3], vel[3], eq[6], back[6], mean[6];
    KepToPosVel(kep, pos, vel);
    EXPECT_TRUE(anyNaN(pos, 3) || anyNaN(vel, 3)) << slot;
    KepToEqnx(kep, eq);
    EXPECT_TRUE(anyNaN(eq, 6)) << slot;
    EqnxToKep(eq, back);
    EXPECT_TRUE(anyNaN(back, 6)) << slot;
    EqnxToPosVel(eq, pos, vel);
    EXPECT_TRUE(anyNaN(pos, 3)) << slot;
    KepOscToMean(kep, mean);
    EXPECT_TRUE(anyNaN(mean, 6)) << slot;
  }
  double kep[6] = {7000.0, kNaN, 30.0, 10.0, 20.0, 30.0};
  EXPECT_TRUE(std::isnan(SolveKepEqtn(kep)));
  EXPECT_TRUE(std::isnan(CompTrueAnomaly(kep)));
  EXPECT_TRUE(std::isnan(KozaiToBrouwer(kNaN, 30.0, 15.0)));
  EXPECT_TRUE(std::isnan(AToN(kNaN)));
  EXPECT_EQ(log.errors(), 0);
}

TEST(ElementBadInput, ZeroStateVectors) {
  const double zero[3] = {0.0, 0.0, 0.0}, r[3] = {7000.0, 0.0, 0.0};
  double kep[6], eq[6], u[3], v[3], w[3];
  PosVelToKep(zero, zero, kep);
  EXPECT_TRUE(anyNaN(kep, 6));
  PosVelToEqnx(r, zero, eq);  // no angular momentum: no orbit plane
  EXPECT_TRUE(anyNaN(eq, 6));
  PosVelMuToKep(r, zero, 398600.0, kep);
  EXPECT_TRUE(anyNaN(kep, 6));
  PosVelToPTW(zero, zero, u, v, w);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(u[k] + v[k] + w[k], 0.0);
}

TEST(ElementBadInput, NonEllipticSetsHaveNoEllipticState) {
  // The equinoctial state construction is elliptic: e > 1 gives NaN, not a state (e = 1 at a
  // finite a is the limiting radial ellipse).
  for (double e : {1.0 + 1e-9, 1.5}) {
    const double kep[6] = {20000.0, e, 30.0, 10.0, 20.0, 30.0};
    double pos[3], vel[3];
    KepToPosVel(kep, pos, vel);
    EXPECT_TRUE(anyNaN(pos, 3) || anyNaN(vel, 3)) << e;
  }
  // A hyperbolic state still gives its elements (e > 1).
  const double r[3] = {7000.0, 0.0, 0.0}, v[3] = {0.0, 12.0, 0.0};
  double kep[6];
  PosVelToKep(r, v, kep);
  EXPECT_GT(kep[1], 1.0);
  EXPECT_FALSE(anyNaN(kep, 6));
}

}  // namespace
