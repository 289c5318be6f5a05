// Equinoctial covariance: the closed-form G1 Jacobian and the conversions built on it.
#include "Pelmath/CovarianceEquinoctial.h"

#include <algorithm>
#include <cmath>

#include "Pelmath/CovarianceRotations.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {
namespace {

using basalon::cross;
using basalon::dot;
using basalon::mag;

// Column of message order k in the native order (af, ag, L, n, chi, psi <- 5, 6, 1, 2, 3, 4).
constexpr int kMsgToNative[6] = {4, 5, 0, 1, 2, 3};

// J = R6(UVW -> XYZ) * G1m; false when the state is hyperbolic.
bool ecijacobian(const double pos[3], const double vel[3], double j[36]) {
  double g1m[36], r6[36];
  const bool ok = g1matmsg(pos, vel, g1m);
  Mat3 m;
  uvwrotmtx(pos, vel, m);
  blockmtx6(m, r6);
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 6; ++c) {
      double s = 0.0;
      for (int k = 0; k < 6; ++k) s += r6[r * 6 + k] * g1m[k * 6 + c];
      j[r * 6 + c] = s;
    }
  return ok;
}

}  // namespace

bool g1mat(const double pos[3], const double vel[3], double g1[36], std::optional<double> muArg) {
  std::fill(g1, g1 + 36, 0.0);
  const double mu = muArg.value_or(planix::genvgeo().muKm);
  const double r = mag(pos);
  const double xi = 2.0 * mu / r - dot(vel, vel);
  if (xi < 0.0) {
    basalon::tracelogerror("G1Mat: Hyperbolic");
    return false;
  }
  double h[3];
  cross(h, pos, vel);
  const double hm = mag(h);
  const double wx = h[0] / hm, wy = h[1] / hm, wz = h[2] / hm;
  const double w[3] = {wx, wy, wz};
  const double rhat[3] = {pos[0] / r, pos[1] / r, pos[2] / r};
  const double rdot = dot(pos, vel) / r;
  double vhat[3];
  cross(vhat, w, rhat);

  // Eccentricity vector and the direct equinoctial basis.
  double vxh[3];
  cross(vxh, vel, h);
  const double ev[3] = {vxh[0] / mu - rhat[0], vxh[1] / mu - rhat[1], vxh[2] / mu - rhat[2]};
  const double f[3] = {1.0 - wx * wx / (1.0 + wz), -wx * wy / (1.0 + wz), -wx};
  const double g[3] = {-wx * wy / (1.0 + wz), 1.0 - wy * wy / (1.0 + wz), -wy};
  const double af = dot(ev, f), ag = dot(ev, g);
  const double e2 = dot(ev, ev);
  const double beta = std::sqrt(1.0 - e2);

  const double a = mu / xi;
  const double ecosE = 1.0 - r * xi / mu;
  const double esinE = r * rdot * std::sqrt(std::fabs(xi)) / mu;
  const double bigE = std::atan2(esinE, ecosE);
  const double varpi = std::atan2(ag, af);
  const double bigF = bigE + varpi;
  const double sinF = std::sin(bigF), cosF = std::cos(bigF);

  const double q = a * a / r;
  const double gamma1 = -((ecosE * (1.0 + beta) - e2) * esinE) / ((2.0 * (1.0 + beta) - e2) * beta);
  const double s = (r + a) / a;
  const double k1 = (mu / std::sqrt(xi)) * q / (r * r);
  const double k2 = q * hm / (r * r);
  const double nu = -hm / (r * r);
  const double rho = rdot / r;
  const double gamma2 = r * r / (a * hm * hm / mu) + 1.0;

  auto at = [g1](int row, int col) -> double& { return g1[(row - 1) * 6 + (col - 1)]; };
  at(1, 1) = esinE * q;
  at(1, 2) = -(2.0 / 3.0) * r;
  at(1, 5) = (af - cosF) * q;
  at(1, 6) = (ag - sinF) * q;
  at(2, 1) = beta * q;
  at(2, 3) = wy * r;
  at(2, 4) = wx * r;
  at(2, 5) = (af * gamma1 - ag / (1.0 + beta) + s * sinF) * q;
  at(2, 6) = (ag * gamma1 + af / (1.0 + beta) - s * cosF) * q;
  at(3, 3) = -(1.0 + wz) * r * dot(rhat, f);
  at(3, 4) = -(1.0 + wz) * r * dot(vhat, f);
  at(4, 1) = nu * at(2, 1) - (e2 - ecosE) * k1;
  at(4, 2) = rdot / 3.0;
  at(4, 3) = nu * at(2, 3);
  at(4, 4) = nu * at(2, 4);
  at(4, 5) = nu * at(2, 5) - (af * esinE + ag - sinF) * k1;
  at(4, 6) = nu * at(2, 6) - (ag * esinE - af + cosF) * k1;
  at(5, 2) = hm / (3.0 * r);
  at(5, 3) = rho * at(2, 3);
  at(5, 4) = rho * at(2, 4);
  at(5, 5) = rho * at(2, 5) - (af * gamma2 - cosF) * k2;
  at(5, 6) = rho * at(2, 6) - (ag * gamma2 - sinF) * k2;
  at(6, 3) = rho * at(3, 3) - nu * at(3, 4);
  at(6, 4) = rho * at(3, 4) + nu * at(3, 3);
  return true;
}

bool g1matmsg(const double pos[3], const double vel[3], double g1m[36], std::optional<double> mu) {
  double g1[36];
  const bool ok = g1mat(pos, vel, g1, mu);
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 6; ++c) g1m[r * 6 + c] = g1[r * 6 + kMsgToNative[c]];
  return ok;
}

void coveqnx2uvw(const double pos[3], const double vel[3], const double cEq[36], double cUvw[36]) {
  double g1m[36];
  g1matmsg(pos, vel, g1m);
  rotcov6(g1m, cEq, cUvw);
}

void covuvw2eqnx(const double pos[3], const double vel[3], const double cUvw[36], double cEq[36]) {
  double g1m[36], inv[36];
  g1matmsg(pos, vel, g1m);
  basalon::minv(g1m, 6, inv);
  rotcov6(inv, cUvw, cEq);
}

void coveqnx2uvw9(const double pos[3], const double vel[3], const double cEq[81], double cUvw[81]) {
  double g1m[36];
  g1matmsg(pos, vel, g1m);
  rotcov9(g1m, cEq, cUvw);
}

void coveqnx2eci9(const double pos[3], const double vel[3], const double cEq[81], double cEci[81]) {
  double j[36];
  ecijacobian(pos, vel, j);
  rotcov9(j, cEq, cEci);
}

void coveci2eqnx9(const double pos[3], const double vel[3], const double cEci[81], double cEq[81]) {
  double j[36], inv[36];
  ecijacobian(pos, vel, j);
  basalon::minv(j, 6, inv);
  rotcov9(inv, cEci, cEq);
}

}  // namespace pelmath
