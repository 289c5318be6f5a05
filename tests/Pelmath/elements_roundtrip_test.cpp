// Round trips between the Keplerian, classical, equinoctial and position/velocity forms, over
// eccentricities from circular to 0.99 and inclinations from equatorial to nearly retrograde.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "PelmathApi/Elements.h"

namespace {

// a - b in degrees, wrapped into (-180, 180].
double angDiff(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

double norm3(const double* v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

struct Case {
  double e, incl;
};

class ElementRoundTrip : public ::testing::TestWithParam<Case> {};

constexpr double kAngleTol = 1e-8;  // degrees

// Keplerian -> state -> Keplerian, compared through the state and the angles that are defined.
TEST_P(ElementRoundTrip, KeplerianThroughState) {
  const Case c = GetParam();
  const double kep[6] = {26000.0, c.e, c.incl, 40.0, 120.0, 250.0};
  double pos[3], vel[3], back[6];
  KepToPosVel(kep, pos, vel);
  PosVelToKep(pos, vel, back);

  EXPECT_NEAR(back[0], kep[0], 1e-9 * kep[0]);
  // Near 180 deg the equinoctial frame vectors lose digits (1 + wz cancels).
  EXPECT_NEAR(back[1], kep[1], c.incl > 179.0 ? 1e-9 : 1e-12);
  EXPECT_NEAR(angDiff(back[2], kep[2]), 0.0, kAngleTol);

  // The same state again from the recovered elements.
  double pos2[3], vel2[3];
  KepToPosVel(back, pos2, vel2);
  const double r = norm3(pos), v = norm3(vel);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(pos2[k], pos[k], 1e-9 * r);
    EXPECT_NEAR(vel2[k], vel[k], 1e-9 * v);
  }

  const bool circular = c.e < 1e-6;
  const bool equatorial = c.incl < 1e-6;  // 179.9 deg still has a well-defined node
  const double lonIn = kep[3] + kep[4] + kep[5], lonOut = back[3] + back[4] + back[5];
  EXPECT_NEAR(angDiff(lonOut, lonIn), 0.0, kAngleTol) << "mean longitude";
  if (!equatorial) {
    EXPECT_NEAR(angDiff(back[4], kep[4]), 0.0, kAngleTol) << "node";
    EXPECT_NEAR(angDiff(back[3] + back[5], kep[3] + kep[5]), 0.0, kAngleTol) << "mean arg. of latitude";
  }
  if (!circular) {
    EXPECT_NEAR(angDiff(back[3], kep[3]), 0.0, kAngleTol) << "mean anomaly";
    EXPECT_NEAR(angDiff(back[4] + back[5], kep[4] + kep[5]), 0.0, kAngleTol) << "longitude of perigee";
  }
  if (!circular && !equatorial) {
    EXPECT_NEAR(angDiff(back[5], kep[5]), 0.0, kAngleTol) << "perigee";
  }
}

// Keplerian <-> equinoctial <-> classical, and the two paths to the state agree.
TEST_P(ElementRoundTrip, EquinoctialAndClassical) {
  const Case c = GetParam();
  const double kep[6] = {12000.0, c.e, c.incl, 300.0, 10.0, 80.0};
  double eq[6], kep2[6], cls[6], eq2[6], cls2[6];
  KepToEqnx(kep, eq);
  EqnxToKep(eq, kep2);
  EXPECT_NEAR(kep2[0], kep[0], 1e-9 * kep[0]);
  EXPECT_NEAR(kep2[1], kep[1], 1e-12);
  EXPECT_NEAR(angDiff(kep2[2], kep[2]), 0.0, kAngleTol);
  EXPECT_NEAR(angDiff(kep2[3] + kep2[4] + kep2[5], kep[3] + kep[4] + kep[5]), 0.0, kAngleTol);

  // Classical form: n from a, then back through the equinoctial set.
  EqnxToClass(eq, cls);
  EXPECT_NEAR(cls[0], AToN(kep[0]), 1e-12 * cls[0]);
  ClassToEqnx(cls, eq2);
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(eq2[k], eq[k], 1e-12 * (1.0 + std::fabs(eq[k])));
  EXPECT_NEAR(angDiff(eq2[4], eq[4]), 0.0, kAngleTol);
  EXPECT_NEAR(eq2[5], eq[5], 1e-12 * eq[5]);
  EqnxToClass(eq2, cls2);
  for (int k = 0; k < 2; ++k) EXPECT_NEAR(cls2[k], cls[k], 1e-12 * (1.0 + cls[k]));

  double p1[3], v1[3], p2[3], v2[3], eq3[6];
  KepToPosVel(kep, p1, v1);
  EqnxToPosVel(eq, p2, v2);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(p2[k], p1[k], 1e-12 * norm3(p1));
    EXPECT_NEAR(v2[k], v1[k], 1e-12 * norm3(v1));
  }
  PosVelToEqnx(p1, v1, eq3);
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(eq3[k], eq[k], 1e-9 * (1.0 + std::fabs(eq[k])));
  EXPECT_NEAR(angDiff(eq3[4], eq[4]), 0.0, kAngleTol);
  EXPECT_NEAR(eq3[5], eq[5], 1e-9 * eq[5]);
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  std::string s = "e" + std::to_string(info.param.e) + "_i" + std::to_string(info.param.incl);
  for (char& ch : s)
    if (ch == '.' || ch == '-') ch = '_';
  return s + "_" + std::to_string(info.index);
}

std::vector<Case> grid() {
  std::vector<Case> cases;
  for (double e : {0.0, 1e-9, 0.1, 0.7, 0.99})
    for (double i : {0.0, 1e-9, 63.4, 90.0, 179.9}) cases.push_back({e, i});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Grid, ElementRoundTrip, ::testing::ValuesIn(grid()), caseName);

TEST(ElementEdges, CircularEquatorialSetHasZeroAngles) {
  const pelmath::Elset kep{1.2, 0.0, 0.0, 0.3, 0.5, 0.7};
  const pelmath::Elset eq = pelmath::kep2eqnx(kep);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(eq[k], 0.0);
  EXPECT_DOUBLE_EQ(eq[4], 1.5);
  const pelmath::Elset back = pelmath::eqnx2kep(eq);
  EXPECT_EQ(back[4], 0.0);
  EXPECT_EQ(back[5], 0.0);
  EXPECT_DOUBLE_EQ(back[3], 1.5);
  EXPECT_NEAR(back[0], 1.2, 1e-14);
}

TEST(ElementEdges, HyperbolicNodePlusPerigeeReducedTowardsZero) {
  using pelmath::kDegToRad;
  // node + perigee = 350 deg enters the mean longitude as -10 deg when e >= 1 ...
  const pelmath::Elset hyp{2.0, 1.5, 0.5, 20.0 * kDegToRad, 300.0 * kDegToRad, 50.0 * kDegToRad};
  EXPECT_NEAR(pelmath::kep2eqnx(hyp)[4], 10.0 * kDegToRad, 1e-14);
  // ... and unreduced for an ellipse.
  pelmath::Elset ell = hyp;
  ell[1] = 0.5;
  EXPECT_NEAR(pelmath::kep2eqnx(ell)[4], 370.0 * kDegToRad, 1e-14);
  // The equinoctial set of the hyperbola gives back its eccentricity and node + perigee.
  const pelmath::Elset back = pelmath::eqnx2kep(pelmath::kep2eqnx(hyp));
  EXPECT_NEAR(back[1], 1.5, 1e-14);
  EXPECT_NEAR(std::remainder(back[4] + back[5] - 350.0 * kDegToRad, pelmath::kTwoPi), 0.0, 1e-13);
}

TEST(ElementEdges, ExportsAcceptTheSameArrayInAndOut) {
  const double kep[6] = {9000.0, 0.2, 45.0, 10.0, 20.0, 30.0};
  double ref[6], buf[6];
  KepToEqnx(kep, ref);
  std::copy(kep, kep + 6, buf);
  KepToEqnx(buf, buf);
  for (int k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(buf[k], ref[k]);
  EqnxToKep(buf, buf);
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(buf[k], kep[k], 1e-9 * (1.0 + kep[k]));
}

}  // namespace
