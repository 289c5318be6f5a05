// Covariances of equinoctial elements <-> UVW and ECI covariances, through the closed-form
// Jacobian G1 of the UVW position/velocity with respect to the equinoctial elements.
// Position km, velocity km/s, mu km^3/s^2. Equinoctial covariances are in message order
// af, ag, L, n, chi, psi; the n column is the derivative with respect to n times n.
#pragma once

#include <optional>

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

// G1 with rows U, V, W, Ud, Vd, Wd and native columns L, n, chi, psi, af, ag.
// Logs "G1Mat: Hyperbolic" and leaves G1 zero when 2mu/r - v.v < 0. Returns false then.
// mu defaults to that of the current constant set.
bool g1Jacobian(const Vec3& pos, const Vec3& vel, Mat6& g1, std::optional<double> mu = {});
// G1 with its columns in message order (af, ag, L, n, chi, psi).
bool g1JacobianMsgOrder(const Vec3& pos, const Vec3& vel, Mat6& g1m, std::optional<double> mu = {});

Mat6 covEqnxToUvw(const Vec3& pos, const Vec3& vel, const Mat6& cEq);
Mat6 covUvwToEqnx(const Vec3& pos, const Vec3& vel, const Mat6& cUvw);
Mat9 covEqnxToUvw9(const Vec3& pos, const Vec3& vel, const Mat9& cEq);
Mat9 covEqnxToEci9(const Vec3& pos, const Vec3& vel, const Mat9& cEq);
Mat9 covEciToEqnx9(const Vec3& pos, const Vec3& vel, const Mat9& cEci);

}  // namespace pelmath
