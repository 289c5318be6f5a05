// GOBS longitude-libration parameters of a near-geosynchronous satellite: mean longitude, drift
// rate with the J2 and lunisolar secular terms, the 2:2 and 3:3 tesseral resonance energy, class.
// Angles in degrees unless named Rad, a and p in Earth radii, rates in degrees per day.
#include <cmath>

#include "Kymor/CommonElData.h"
#include "Kymor/GeoParams.h"
#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Planix/Planix.h"

namespace kymor {

using basalon::kDegToRad;
using basalon::kRadToDeg;

namespace {

// Mean obliquity of the ecliptic for the lunisolar term.
constexpr double kSinObliquity = 0.39714789063478056;
constexpr double kCosObliquity = 0.9177546256839811;

// Lunisolar secular term: coefficient of a^3, and its value for a near-circular equatorial orbit.
constexpr double kLunisolarPerA3 = 8.23e-08;
constexpr double kLunisolarEquatorial = -0.7634103294465165;
constexpr double kNearEquatorialCircular = 0.001;  // sin^2 i + e^2 below this

// Tesseral 2:2 and 3:3 resonance amplitudes and phases (deg).
constexpr double kT22PerInvA2 = 8.05125555e-06;
constexpr double kT33PerInvA3 = 3.73325878125e-06;
constexpr double kPhase22Deg = 29.481297;
constexpr double kPhase33Deg = 64.36852;
constexpr double kResonanceScale = 130310.63762879714;

// Class thresholds of the resonance energy and the longitude (deg).
constexpr double kQLibrating = 0.08708;
constexpr double kQDrifting = 0.1093;
constexpr double kLonUnstableLow = 143.7;
constexpr double kLonUnstableHigh = 181.2;
constexpr double kLonWestHigh = 348.5;

// Below this 1 + cos i counts as 0: the terms divided by it (which grow as tan(i/2) for a
// retrograde orbit) are left out instead of dividing by zero at i = 180 deg.
constexpr double kMinOnePlusCosI = 1e-12;

double reduce360(double deg) {
  const double r = std::fmod(deg, 360.0);
  return r < 0.0 ? r + 360.0 : r;
}

}  // namespace

GobsClass gobsClass(double q, double d, double lonDeg) {
  if (q < kQLibrating) {
    if (lonDeg > kLonWestHigh || lonDeg < kLonUnstableLow) return GobsClass::kLibratesEast;
    if ((lonDeg >= kLonUnstableLow && lonDeg <= kLonUnstableHigh) || lonDeg == kLonWestHigh)
      return GobsClass::kNearUnstable;
    return GobsClass::kLibratesWest;
  }
  if (q <= kQDrifting) return GobsClass::kTransition;
  return d < 0.0 ? GobsClass::kDriftsWest : GobsClass::kDriftsEast;
}

bool ComputeGobsParams(int64_t satKey, double& d, double& q, double& gobsClassOut, double& lon) {
  CommonSatData rec;
  GetCommElData(rec, satKey);
  if (rec.errCode != 0 || rec.noElements != 0 || !(rec.meanMotion > 0.0) || !(rec.ecc < 1.0)) return false;
  const planix::GeoConst& geo = rec.earthConsts != nullptr ? *rec.earthConsts : planix::genvgeo();
  const double j2 = geo.j2;
  // J3 of the record's model: the constant record itself holds no J3 (the field after J2 is ke).
  const double j3 = planix::j3Of(geo);

  const double e = rec.ecc, e2 = e * e;
  const double incl = rec.incl * kDegToRad;
  const double node = rec.node * kDegToRad, argp = rec.argPerigee * kDegToRad;
  const double si = std::sin(incl), ci = std::cos(incl);
  const double sw = std::sin(argp), cw = std::cos(argp);

  // The record's mean motion is taken as Brouwer's and turned into Kozai's (rad/min, WGS-72 theory).
  const double nKozaiRadMin = pelmath::brouwer2kozai(e, incl, rec.meanMotion * pelmath::kRevDayToRadMin);
  const double nKozaiRevDay = nKozaiRadMin * pelmath::kRadMinToRevDay;
  const double a = pelmath::n2a(nKozaiRadMin, geo.ke);
  const double p = a * (1.0 - e2);
  const double k = (j3 / (2.0 * j2)) * si / p;

  const double onePlusCos = 1.0 + ci;
  const double invOnePlusCos = onePlusCos > kMinOnePlusCosI ? 1.0 / onePlusCos : 0.0;

  // Greenwich angle at epoch (of its UT1), shifted to the GOBS longitude reference.
  const double thetaG = chronel::getthgr(chronel::utc2ut1(rec.epochDs50UTC), planix::genvfk()) * kRadToDeg;
  const double thetaRef = std::fmod(thetaG + kGobsLonOffsetDeg, 360.0);
  lon = reduce360(rec.node + rec.meanAnomaly + rec.argPerigee -
                  k * e * cw * (1.5 - invOnePlusCos) * kRadToDeg - thetaRef + 720.0);

  // Lunisolar secular term.
  const double c0 = kLunisolarPerA3 * a * a * a;
  double lunisolar;
  if (si * si + e2 < kNearEquatorialCircular) {
    lunisolar = kLunisolarEquatorial * c0;
  } else {
    const double eta = std::sqrt(1.0 - e2);
    const double sn = std::sin(node), cn = std::cos(node);
    const double z = kSinObliquity * si * cn + kCosObliquity * ci;
    const double y = kCosObliquity * si - kSinObliquity * ci * cn;
    const double x = (e * sw - k) * y - kSinObliquity * sn * e * cw;
    lunisolar = 0.75 * c0 * ((z * z - 2.0) * e2 + 5.0 * x * x) * (2.0 + eta) / (1.0 + eta) +
                0.5 * c0 * (1.0 - 3.0 * z * z) -
                0.75 * c0 * z * si * (5.0 * x * (e * sw - k) / eta + eta * y) * invOnePlusCos;
  }

  const double j2p2 = j2 / (p * p);
  d = 360.0 * nKozaiRevDay * (1.0 - 1.5 * j2p2 * ci + 0.75 * j2p2 * (5.0 * ci * ci - 1.0) + lunisolar) -
      kEarthRotDegPerDay;

  // Tesseral resonance at the longitude (the 1:1 term has a zero coefficient and is left out).
  const double e4 = e2 * e2;
  const double t22 = (1.0 - 2.5 * e2 + 0.8125 * e4) * onePlusCos * onePlusCos * kT22PerInvA2 / (a * a);
  const double t33 =
      (1.0 - 6.0 * e2 + 6.609375 * e4) * kT33PerInvA3 / (a * a * a) * onePlusCos * onePlusCos * onePlusCos;
  const double w = t22 * std::cos((2.0 * lon + kPhase22Deg) * kDegToRad) +
                   (2.0 / 3.0) * t33 * std::cos((3.0 * lon - kPhase33Deg) * kDegToRad);
  q = kResonanceScale * w + d * d;
  gobsClassOut = static_cast<double>(gobsClass(q, d, lon));
  return true;
}

}  // namespace kymor
