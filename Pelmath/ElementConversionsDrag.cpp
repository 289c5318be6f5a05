// Mean motions of SGP4 theory (Kozai <-> Brouwer, WGS-72), the SGP4 drag coefficient C2, the
// B* <-> ndot/2 conversion and the initial drag table. Canonical units: er, rad, rad/min.
#include <array>
#include <cmath>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {

namespace {

// 0.75 J2 (3 cos^2 i - 1) / (1 - e^2)^1.5 with the WGS-72 J2: the first-order J2 term shared by
// both mean-motion conversions.
double meanMotionTerm(double e, double incli) {
  const double c = std::cos(incli);
  const double b2 = 1.0 - e * e;
  return 0.75 * planix::wgs72.j2 * (3.0 * c * c - 1.0) / (b2 * std::sqrt(b2));
}

// Perigee-height bands of the initial drag table: upper edge (km), B* (1/er), ndot/2 (rad/min^2).
struct DragBand {
  double maxHeightKm, bstar, ndotHalf;
};
constexpr std::array<DragBand, 4> kDragBands{{
    {200.0, 0.01, 3.6361026e-08},
    {300.0, 0.001, 4.5451283e-09},
    {500.0, 0.0001, 3.0300855e-10},
    {800.0, 1e-05, 9.0902565e-11},
}};
constexpr double kMaxDragEcc = 0.5;

}  // namespace

double kozai2brouwer(double e, double incli, double nKozai) {
  const double d = meanMotionTerm(e, incli);
  const double a1 = std::pow(planix::wgs72.ke / nKozai, 2.0 / 3.0);
  const double d1 = d / (a1 * a1);
  const double a0 = a1 * (1.0 - d1 / 3.0 - d1 * d1 - (134.0 / 81.0) * d1 * d1 * d1);
  return nKozai / (1.0 + d / (a0 * a0));
}

double brouwer2kozai(double e, double incli, double nBrouwer) {
  const double d = meanMotionTerm(e, incli);
  const double g = std::pow(planix::wgs72.ke / nBrouwer, 2.0 / 3.0);
  double h = g * (1.0 - d / (g * g));
  h = g * (1.0 - d / (h * h));
  const double g1 = g * (1.0 - d / (h * h));
  return nBrouwer * (1.0 + d / (g1 * g1));
}

double computecc2(const Elset& kep) {
  const planix::GeoConst& geo = planix::genvgeo();
  const double a = kep[0], e = kep[1];
  const double radius = geo.earthRadius;
  const double n = a2n(a);
  const double hp = (a * (1.0 - e) - 1.0) * radius;
  // Atmosphere parameters s and (q0 - s)^4 of SGP4, lowered for perigees under 156 km.
  double s, q0s4;
  if (hp >= 156.0) {
    s = 78.0 / radius + 1.0;
    q0s4 = std::pow(42.0 / radius, 4);
  } else {
    const double sKm = hp <= 98.0 ? 20.0 : hp - 78.0;
    s = sKm / radius + 1.0;
    q0s4 = std::pow((120.0 - sKm) / radius, 4);
  }
  const double xi = 1.0 / (a - s);
  const double eta = a * e * xi;
  const double eta2 = eta * eta;
  const double b = std::fabs(1.0 - eta2);
  const double c = std::cos(kep[2]);
  const double xi2 = xi * xi;
  return n * q0s4 * xi2 * xi2 * std::pow(b, -4.5) *
         (0.75 * geo.ck2 * xi * (3.0 * c * c - 1.0) * (8.0 + 24.0 * eta2 + 3.0 * eta2 * eta2) +
          (1.0 + 1.5 * eta2 + e * eta * (4.0 + eta2)) * a * b);
}

double bstar2ndot(double bstar, const Elset& eqnx) {
  const double c2 = computecc2(eqnx2kep(eqnx));
  if (basalon::eqr(c2, 0.0)) return 0.0;
  return 1.5 * eqnx[5] * c2 * bstar;
}

double ndot2bstar(double ndot, const Elset& eqnx) {
  const double c2 = computecc2(eqnx2kep(eqnx));
  if (basalon::eqr(c2, 0.0)) return 0.0;
  return ndot / (1.5 * eqnx[5] * c2);
}

void initialdrag(double a, double e, double& ndot, double& bstar) {
  ndot = 0.0;
  bstar = 0.0;
  if (!(e <= kMaxDragEcc)) return;  // also refuses a NaN eccentricity
  const double hp = (a * (1.0 - e) - 1.0) * planix::genvgeo().earthRadius;
  for (const DragBand& band : kDragBands) {
    if (hp <= band.maxHeightKm) {
      ndot = band.ndotHalf * kRadMin2ToRevDay2;
      bstar = band.bstar;
      return;
    }
  }
}

}  // namespace pelmath
