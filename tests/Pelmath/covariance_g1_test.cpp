// The closed-form G1 Jacobian against a central finite-difference Jacobian of the UVW state with
// respect to the equinoctial elements, built from the element-to-state conversion.
#include <array>
#include <cmath>

#include <gtest/gtest.h>

#include <Pelmath.h>

#include "Pelmath/CovarianceEquinoctial.h"
#include "Pelmath/CovarianceRotations.h"

namespace {

constexpr double kRadToDeg = 57.29577951308232;

struct Orbit {
  const char* name;
  double eqnx[6];  // af, ag, chi, psi, L (deg), n (rev/day)
};

// Equinoctial sets of a few orbit families (e, i, node, perigee folded into af, ag, chi, psi).
std::array<Orbit, 5> orbits() {
  auto make = [](const char* name, double e, double iDeg, double nodeDeg, double argpDeg, double lDeg,
                 double n) {
    const double d = M_PI / 180.0;
    const double t = std::tan(0.5 * iDeg * d);
    return Orbit{name,
                 {e * std::cos((argpDeg + nodeDeg) * d), e * std::sin((argpDeg + nodeDeg) * d),
                  t * std::sin(nodeDeg * d), t * std::cos(nodeDeg * d), lDeg, n}};
  };
  return {make("low", 0.01, 51.6, 40.0, 80.0, 123.0, 15.5), make("molniya", 0.72, 63.4, 300.0, 270.0, 20.0, 2.006),
          make("geo", 0.0003, 0.05, 80.0, 10.0, 250.0, 1.0027), make("near-circular", 1e-7, 98.0, 10.0, 0.0, 33.0, 14.2),
          make("near-equatorial", 0.05, 1e-6, 0.0, 45.0, 300.0, 12.0)};
}

// UVW components of the state difference (pos+ - pos-, vel+ - vel-) / (2h) in the nominal frame.
void fdColumn(const double base[6], int native, double h, const pelmath::Mat3& m, double col[6]) {
  double plus[6], minus[6];
  for (int k = 0; k < 6; ++k) plus[k] = minus[k] = base[k];
  switch (native) {
    case 0:  // mean longitude, rad (the array holds degrees)
      plus[4] += h * kRadToDeg;
      minus[4] -= h * kRadToDeg;
      break;
    case 1:  // n d/dn: relative step of the mean motion
      plus[5] *= 1.0 + h;
      minus[5] *= 1.0 - h;
      break;
    default: {  // chi, psi, af, ag at array slots 2, 3, 0, 1
      const int slot[6] = {-1, -1, 2, 3, 0, 1};
      plus[slot[native]] += h;
      minus[slot[native]] -= h;
    }
  }
  double pp[3], vp[3], pm[3], vm[3];
  EqnxToPosVel(plus, pp, vp);
  EqnxToPosVel(minus, pm, vm);
  for (int axis = 0; axis < 3; ++axis) {
    double dr = 0.0, dv = 0.0;
    for (int k = 0; k < 3; ++k) {
      dr += m[k][axis] * (pp[k] - pm[k]);
      dv += m[k][axis] * (vp[k] - vm[k]);
    }
    col[axis] = dr / (2.0 * h);
    col[axis + 3] = dv / (2.0 * h);
  }
}

TEST(EquinoctialCovariance, G1MatchesFiniteDifferenceJacobian) {
  for (const Orbit& o : orbits()) {
    SCOPED_TRACE(o.name);
    double pos[3], vel[3];
    EqnxToPosVel(o.eqnx, pos, vel);
    pelmath::Mat6 g1;
    ASSERT_TRUE(pelmath::g1Jacobian(pelmath::toVec3(pos), pelmath::toVec3(vel), g1));
    const pelmath::Mat3 m = pelmath::uvwFrameMatrix(pelmath::toVec3(pos), pelmath::toVec3(vel));
    for (int c = 0; c < 6; ++c) {
      double col[6];
      fdColumn(o.eqnx, c, 1e-6, m, col);
      // Compare position rows and velocity rows each against their own scale in this column.
      for (int block = 0; block < 2; ++block) {
        double scale = 0.0;
        for (int r = 3 * block; r < 3 * block + 3; ++r) scale = std::max(scale, std::fabs(col[r]));
        for (int r = 3 * block; r < 3 * block + 3; ++r)
          EXPECT_NEAR(g1[r * 6 + c], col[r], 1e-6 * scale + 1e-12) << "row " << r << " column " << c;
      }
    }
  }
}

TEST(EquinoctialCovariance, MessageOrderTakesNativeColumnsFiveSixOneToFour) {
  const Orbit o = orbits()[0];
  double pos[3], vel[3];
  pelmath::Mat6 g1, g1m;
  EqnxToPosVel(o.eqnx, pos, vel);
  pelmath::g1Jacobian(pelmath::toVec3(pos), pelmath::toVec3(vel), g1);
  pelmath::g1JacobianMsgOrder(pelmath::toVec3(pos), pelmath::toVec3(vel), g1m);
  const int native[6] = {4, 5, 0, 1, 2, 3};
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 6; ++c) EXPECT_EQ(g1m[r * 6 + c], g1[r * 6 + native[c]]);
}

}  // namespace
