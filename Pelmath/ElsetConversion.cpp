// SGP4 B* -> SGP ndot/2 and nddot/6: the secular along-track drift that SGP4's drag produces is
// sampled over a fit span and fitted by c1 t^2 + c2 t^3 in the minimax sense.
#include "Pelmath/ElsetConversion.h"

#include <cmath>

#include "Pelmath/Units.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {

namespace {
constexpr int kFitRows = 4;
constexpr int kFitCols = 2;
constexpr double kFitTol = 1e-12;
constexpr double kFitRelErr = 0.0;
}  // namespace

double odie(double rate, double n) {
  const double period = kTwoPi / n;  // minutes
  if (period >= 800.0) return 43200.0;
  if (period >= 600.0) return 21600.0;
  const double r = std::fabs(2.0 * rate) / n;
  if (r < 1e-19) return 14400.0;
  return std::fmax(1188.23 * (-11.51 - std::log(r)) + 720.0, 720.0);
}

DriftSamples meth13(double a, double e, double incli, double bstar) {
  const planix::GeoConst& geo = planix::genvgeo();
  const double radius = geo.earthRadius;
  const double n = geo.ke / (a * std::sqrt(a));
  const double th = std::cos(incli);
  const double hp = (a * (1.0 - e) - 1.0) * radius;

  // Atmosphere parameters s and (q0 - s)^4 of SGP4 by perigee height.
  double sKm, q0s4;
  if (hp < 1.0) {
    sKm = hp - 20.0;
    q0s4 = std::pow(20.0 / radius, 4);
  } else if (hp < 156.0) {
    sKm = hp <= 98.0 ? 20.0 : hp - 78.0;
    q0s4 = std::pow((120.0 - sKm) / radius, 4);
  } else {
    sKm = 78.0;
    q0s4 = std::pow(42.0 / radius, 4);
  }
  const double s = sKm / radius + 1.0;

  const double xi = 1.0 / std::fabs(a - s);
  const double eta = a * e * xi, eta2 = eta * eta;
  const double b = 1.0 - eta2;
  const double xi2 = xi * xi;
  const double c =
      n * q0s4 * xi2 * xi2 *
      (0.375 * geo.j2 * xi * (3.0 * th * th - 1.0) * (8.0 + 24.0 * eta2 + 3.0 * eta2 * eta2) / b +
       a * (1.0 + 1.5 * eta2 + e * eta * (4.0 + eta2))) /
      std::pow(b, 3.5);

  // Higher drag coefficients; dropped for low perigees as in SGP4.
  double d2 = 0.0, d3 = 0.0, d4 = 0.0;
  if (hp > 220.0) {
    d2 = 4.0 * a * xi * c * c;
    d3 = xi * d2 * c * (17.0 * a + s) / 3.0;
    d4 = xi * d2 * d2 * (221.0 * a + 31.0 * s) / 24.0;
  }

  DriftSamples out;
  const double span = odie(1.5 * n * c * bstar, n);
  const double c2 = c * c;
  const double k1 = 1.5 * c;
  const double k2 = 2.0 * c2 + d2;
  const double k3 = 0.25 * (12.0 * c * d2 + 3.0 * d3 + 10.0 * c2 * c);
  const double k4 = 0.6 * (5.0 * c2 * c2 + 4.0 * c * d3 + d4 + 2.0 * d2 * d2 + 10.0 * c2 * d2);
  for (int k = 0; k < kFitRows; ++k) {
    const double t = k * span / 3.0;
    const double u = bstar * t;
    out.samples[k] = n * bstar * t * t * (k1 + u * (k2 + u * (k3 + u * k4)));
    out.design[k] = {t * t, t * t * t};
  }
  return out;
}

std::array<double, 2> meth15(const DriftSamples& s) {
  double design[kFitRows * kFitCols];
  for (int k = 0; k < kFitRows; ++k)
    for (int j = 0; j < kFitCols; ++j) design[k * kFitCols + j] = s.design[k][j];
  std::array<double, 2> x{};
  cheb(kFitRows, kFitCols, design, kFitCols, s.samples.data(), kFitTol, kFitRelErr, x.data());
  return x;
}

void sgp42sgp(double aKm, double e, double incliDeg, double bstar, double& ndotHalf, double& nddotSixth) {
  ndotHalf = 0.0;
  nddotSixth = 0.0;
  if (bstar == 0.0) return;
  const DriftSamples s = meth13(aKm / planix::genvgeo().earthRadius, e, incliDeg * kDegToRad, bstar);
  const std::array<double, 2> coef = meth15(s);
  ndotHalf = coef[0] * kRadMinToRevDay * 1440.0;
  nddotSixth = coef[1] * kRadMinToRevDay * 1440.0 * 1440.0;
}

}  // namespace pelmath
