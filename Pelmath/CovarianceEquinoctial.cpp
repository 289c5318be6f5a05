// Equinoctial covariance: the closed-form G1 Jacobian and the conversions built on it.
#include "Pelmath/CovarianceEquinoctial.h"

#include <cmath>

#include "Pelmath/CovarianceRotations.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {
namespace {

using basalon::similarity;

// Column of message order k in the native order (af, ag, L, n, chi, psi <- 5, 6, 1, 2, 3, 4).
constexpr size_t kMsgToNative[6] = {4, 5, 0, 1, 2, 3};

// J = R6(UVW -> XYZ) * G1m (zero for a hyperbolic state, which G1 has logged).
Mat6 eciJacobian(const Vec3& pos, const Vec3& vel) {
  Mat6 g1m;
  g1JacobianMsgOrder(pos, vel, g1m);
  return mulMat<6>(blockDiagonal6(uvwFrameMatrix(pos, vel)), g1m);
}

// Inverse of a 6x6 matrix; all zeros when it is singular.
Mat6 inverse6(const Mat6& m) {
  Mat6 inv;
  basalon::minv(m.data(), 6, inv.data());
  return inv;
}

}  // namespace

bool g1Jacobian(const Vec3& pos, const Vec3& vel, Mat6& g1, std::optional<double> muArg) {
  g1.fill(0.0);
  const double mu = muArg.value_or(planix::genvgeo().muKm);
  const double r = norm(pos);
  const double xi = 2.0 * mu / r - dot(vel, vel);
  if (xi < 0.0) {
    basalon::logErrorf("G1Mat: Hyperbolic");
    return false;
  }
  const Vec3 h = cross(pos, vel);
  const double hm = norm(h);
  const double wx = h[0] / hm, wy = h[1] / hm, wz = h[2] / hm;
  const Vec3 w{wx, wy, wz};
  const Vec3 rhat{pos[0] / r, pos[1] / r, pos[2] / r};
  const double rdot = dot(pos, vel) / r;
  const Vec3 vhat = cross(w, rhat);

  // Eccentricity vector and the direct equinoctial basis.
  const Vec3 vxh = cross(vel, h);
  const Vec3 ev{vxh[0] / mu - rhat[0], vxh[1] / mu - rhat[1], vxh[2] / mu - rhat[2]};
  const Vec3 f{1.0 - wx * wx / (1.0 + wz), -wx * wy / (1.0 + wz), -wx};
  const Vec3 g{-wx * wy / (1.0 + wz), 1.0 - wy * wy / (1.0 + wz), -wy};
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

  auto at = [&g1](size_t row, size_t col) -> double& { return g1[(row - 1) * 6 + (col - 1)]; };
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

bool g1JacobianMsgOrder(const Vec3& pos, const Vec3& vel, Mat6& g1m, std::optional<double> mu) {
  Mat6 g1;
  const bool ok = g1Jacobian(pos, vel, g1, mu);
  for (size_t r = 0; r < 6; ++r)
    for (size_t c = 0; c < 6; ++c) g1m[r * 6 + c] = g1[r * 6 + kMsgToNative[c]];
  return ok;
}

Mat6 covEqnxToUvw(const Vec3& pos, const Vec3& vel, const Mat6& cEq) {
  Mat6 g1m;
  g1JacobianMsgOrder(pos, vel, g1m);
  return similarity<6>(g1m, cEq);
}

Mat6 covUvwToEqnx(const Vec3& pos, const Vec3& vel, const Mat6& cUvw) {
  Mat6 g1m;
  g1JacobianMsgOrder(pos, vel, g1m);
  return similarity<6>(inverse6(g1m), cUvw);
}

Mat9 covEqnxToUvw9(const Vec3& pos, const Vec3& vel, const Mat9& cEq) {
  Mat6 g1m;
  g1JacobianMsgOrder(pos, vel, g1m);
  return similarityOfStateBlock(g1m, cEq);
}

Mat9 covEqnxToEci9(const Vec3& pos, const Vec3& vel, const Mat9& cEq) {
  return similarityOfStateBlock(eciJacobian(pos, vel), cEq);
}

Mat9 covEciToEqnx9(const Vec3& pos, const Vec3& vel, const Mat9& cEci) {
  return similarityOfStateBlock(inverse6(eciJacobian(pos, vel)), cEci);
}

}  // namespace pelmath
