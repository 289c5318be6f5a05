// Orbit geometry of the GEO parameters: eccentricity vector, orbit normal, secular J2 rates, the
// last ascending node, the mean sub-satellite longitude and drift, and the geostationary test.
#include "Kymor/GeoParams.h"

#include <cmath>

#include "Pelmath/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Planix/Planix.h"

namespace kymor {

using basalon::kDegToRad;
using basalon::kRadToDeg;
using basalon::kTwoPi;

namespace {

// A fold of the node search within this many radians of a whole revolution is the node itself:
// (M + w) rounded near 2 pi must not put the last crossing a whole period back.
constexpr double kAtNodeRad = 1e-12;

// GEO test of IsGeoSat.
constexpr double kGeoMaxInclDeg = 15.0;
constexpr double kGeoPeriodMin = 1436.0;
constexpr double kGeoPeriodTolMin = 4.0;

}  // namespace

void CompAbar(basalon::Vec3& aBar, const basalon::Elset& kepRad) {
  const double e = kepRad[1], incl = kepRad[2], node = kepRad[4], argp = kepRad[5];
  const double cw = std::cos(argp), sw = std::sin(argp);
  const double cn = std::cos(node), sn = std::sin(node);
  const double ci = std::cos(incl), si = std::sin(incl);
  aBar = {e * (cw * cn - ci * sw * sn), e * (cw * sn + ci * sw * cn), e * si * sw};
}

void ComputeWVector(basalon::Vec3& w, double incl, double node) {
  const double i = incl * kDegToRad, n = node * kDegToRad;
  w = {std::sin(n) * std::sin(i), -std::cos(n) * std::sin(i), std::cos(i)};
}

void CompOmgDotRaDot(double mu, double incl, double semiMajorAxisKm, double ecc, double* argpDot,
                     double* nodeDot) {
  double argpRate = 0.0, nodeRate = 0.0;
  // An axis not positive or an open orbit has no secular rates (the formula gives infinities).
  if (semiMajorAxisKm > 0.0 && ecc < 1.0) {
    const double aEr = pelmath::kmtoer(semiMajorAxisKm);
    const double oneMinusE2 = 1.0 - ecc * ecc;
    // n J2 / (p/R)^2 in rad/s.
    const double k = std::sqrt(mu / (semiMajorAxisKm * semiMajorAxisKm * semiMajorAxisKm)) *
                     planix::genvgeo().j2 / (oneMinusE2 * oneMinusE2 * aEr * aEr);
    const double ci = std::cos(incl * kDegToRad);
    argpRate = 0.75 * k * (5.0 * ci * ci - 1.0) * kRadPerSecToDegPerDay;
    nodeRate = -1.5 * k * ci * kRadPerSecToDegPerDay;
  }
  if (argpDot != nullptr) *argpDot = argpRate;
  if (nodeDot != nullptr) *nodeDot = nodeRate;
}

double TimeBack2NodalX(double meanAnomaly, double argPerigee, double meanMotionRevDay, double ecc) {
  if (!(meanMotionRevDay > 0.0)) return 0.0;
  const double m = meanAnomaly * kDegToRad, w = argPerigee * kDegToRad, e = ecc;
  const double e2 = e * e;
  // Mean anomaly of the ascending node (true anomaly -w, series in e to e^4) less M, in revolutions.
  const double x = (2.0 * e * std::sin(w) - (m + w) - (e2 / 8.0) * (6.0 + e2) * std::sin(2.0 * w) +
                    (e2 * e / 3.0) * std::sin(3.0 * w) - (5.0 / 32.0) * e2 * e2 * std::sin(4.0 * w)) /
                   kTwoPi;
  double f = (x - std::trunc(x)) * kTwoPi;
  if (f > 0.0) f -= kTwoPi;
  // Departure: within rounding of the node the last crossing is the epoch itself.
  if (f > -kAtNodeRad || f + kTwoPi < kAtNodeRad) f = 0.0;
  return f / (kTwoPi * meanMotionRevDay);
}

double LonEastSubPt(double ds50UTC, double node, double argPerigee, double meanAnomaly) {
  const double thetaDeg = chronel::getthgr(chronel::utc2ut1(ds50UTC), planix::genvfk()) * kRadToDeg;
  double lon = node - thetaDeg;
  if (lon < 0.0) lon += 360.0;
  lon += meanAnomaly + argPerigee - 360.0;
  if (lon < 0.0) lon += 360.0;
  if (lon > 360.0) lon -= 360.0;
  // The steps above keep [0, 360] only for angles within [0, 360]; any others are reduced here.
  lon = std::fmod(lon, 360.0);
  if (lon < 0.0) lon += 360.0;
  return lon >= 360.0 ? 0.0 : lon;
}

double DriftRate(double periodMin) { return (kSiderealDayMin - periodMin) * 0.25; }

void SubPt(double ds50UTC, double node, double argPerigee, double meanAnomaly, double periodMin, double& lon,
           double& drift) {
  lon = LonEastSubPt(ds50UTC, node, argPerigee, meanAnomaly);
  drift = DriftRate(periodMin);
}

bool IsGeoSat(double incl, double periodMin) {
  return incl < kGeoMaxInclDeg && std::fabs(periodMin - kGeoPeriodMin) < kGeoPeriodTolMin;
}

}  // namespace kymor
