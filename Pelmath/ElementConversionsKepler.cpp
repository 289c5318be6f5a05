// Kepler's equation, true anomaly, two-body motion and the mean motion <-> semi-major axis forms.
// Canonical units: a in er, n in rad/min, angles in radians, time offsets in minutes.
#include <cmath>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {

namespace {
constexpr double kKeplerTol = 1e-12;
constexpr int kKeplerMaxIter = 20;
}  // namespace

double atan2_0(double y, double x) {
  if (basalon::eqr(y, 0.0) && basalon::eqr(x, 0.0)) return 0.0;
  return std::atan2(y, x);
}

double a2n(double a, std::optional<double> ke) {
  return ke.value_or(planix::genvgeo().ke) / (a * std::sqrt(a));
}

// (ke/n)^(2/3) as the cube root of the square: the same value to an ulp, cheaper than pow.
double n2a(double n, std::optional<double> ke) {
  const double r = ke.value_or(planix::genvgeo().ke) / n;
  return std::cbrt(r * r);
}

double finde(const Elset& kep, std::optional<double> dt) {
  const double e = kep[1];
  double m = kep[3];
  if (dt) m += a2n(kep[0]) * *dt;
  double ecc = m + e * std::sin(m);
  // Newton's method; a step longer than 1 rad is clamped and never counts as converged.
  for (int it = 0; it < kKeplerMaxIter; ++it) {
    const double delta = (ecc - e * std::sin(ecc) - m) / (1.0 - e * std::cos(ecc));
    if (std::fabs(delta) > 1.0) {
      ecc -= std::copysign(1.0, delta);
      continue;
    }
    ecc -= delta;
    if (std::fabs(delta) < kKeplerTol) break;
  }
  return ecc;
}

double gettrueanomaly(const Elset& kep) {
  const double e = kep[1];
  const double ecc = finde(kep);
  double nu = 2.0 * std::atan(std::tan(0.5 * ecc) * std::sqrt((1.0 + e) / (1.0 - e))) * kRadToDeg;
  if (nu < 0.0) nu += 360.0;
  return nu;
}

void kepler(const Elset& kep, double n, double mu, std::optional<double> dt, Vec3& pos, Vec3& vel) {
  const double e = kep[1];
  const double a = std::cbrt(mu / (n * n));
  const double ecc = finde(kep, dt);
  const double sE = std::sin(ecc), cE = std::cos(ecc);
  const double root = std::sqrt(std::fabs(1.0 - e * e));
  const double k = a * n / (1.0 - e * cE);
  // Perifocal coordinates, then the P (towards perigee) and Q vectors.
  const double x = a * (cE - e), y = a * sE * root;
  const double xd = -k * sE, yd = k * root * cE;
  const double si = std::sin(kep[2]), ci = std::cos(kep[2]);
  const double sO = std::sin(kep[4]), cO = std::cos(kep[4]);
  const double sw = std::sin(kep[5]), cw = std::cos(kep[5]);
  const Vec3 p{cw * cO - sw * sO * ci, cw * sO + sw * cO * ci, sw * si};
  const Vec3 q{-sw * cO - cw * sO * ci, -sw * sO + cw * cO * ci, cw * si};
  for (int k3 = 0; k3 < 3; ++k3) {
    pos[k3] = x * p[k3] + y * q[k3];
    vel[k3] = xd * p[k3] + yd * q[k3];
  }
}

double getalpha(const Vec3& pos, const Vec3& vel, double mu) { return 2.0 * mu / norm(pos) - dot(vel, vel); }

}  // namespace pelmath
