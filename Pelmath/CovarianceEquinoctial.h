// Covariances of equinoctial elements <-> UVW and ECI covariances, through the closed-form
// Jacobian G1 of the UVW position/velocity with respect to the equinoctial elements.
// Position km, velocity km/s, mu km^3/s^2. Equinoctial covariances are in message order
// af, ag, L, n, chi, psi; the n column is the derivative with respect to n times n.
#pragma once

#include <optional>

namespace pelmath {

// G1 (row-major 6x6) with rows U, V, W, Ud, Vd, Wd and native columns L, n, chi, psi, af, ag.
// Logs "G1Mat: Hyperbolic" and leaves G1 zero when 2mu/r - v.v < 0. Returns false then.
// mu defaults to that of the current constant set.
bool g1mat(const double pos[3], const double vel[3], double g1[36], std::optional<double> mu = {});
// G1 with its columns in message order (af, ag, L, n, chi, psi).
bool g1matmsg(const double pos[3], const double vel[3], double g1m[36], std::optional<double> mu = {});

void coveqnx2uvw(const double pos[3], const double vel[3], const double cEq[36], double cUvw[36]);
void covuvw2eqnx(const double pos[3], const double vel[3], const double cUvw[36], double cEq[36]);
void coveqnx2uvw9(const double pos[3], const double vel[3], const double cEq[81], double cUvw[81]);
void coveqnx2eci9(const double pos[3], const double vel[3], const double cEq[81], double cEci[81]);
void coveci2eqnx9(const double pos[3], const double vel[3], const double cEci[81], double cEq[81]);

}  // namespace pelmath
