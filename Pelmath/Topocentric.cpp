// Topocentric geometry: SEZ rotations, look vectors, RAE <-> inertial state, topocentric components,
// annual and diurnal aberration, sunlight and Earth obstruction (canonical units).
#include "Pelmath/Topocentric.h"

#include <algorithm>
#include <cmath>

#include "Pelmath/EarthFrames.h"
#include "Pelmath/SunMoon.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {
namespace {

constexpr double kTiny = 2.220446049250313e-16;
constexpr double kAzTolerance = 1e-6;  // below this horizontal part the azimuth is 0
// Diurnal aberration constant 0.32 arcsec per Earth radius of distance from the axis, in degrees.
constexpr double kDiurnalAbDeg = 8.888888888888889e-05;
constexpr double kAnnualAbDeg = 0.0056932;  // constant of aberration, deg

inline double clamp1(double x) { return std::clamp(x, -1.0, 1.0); }

// Distance from the centre to the ellipsoid (flatLlh) along a unit direction (er).
double ellipsoidRadiusAlong(const Vec3& u) {
  const double b = 1.0 - planix::genvgeo().flatLlh;
  const double horiz2 = u[0] * u[0] + u[1] * u[1];
  return b / std::sqrt(b * b * horiz2 + u[2] * u[2]);
}

// Nadir angle at the satellite of the raised ellipsoid point in direction cos t e1 + sin t e2.
double nadirAngleOf(double t, const Vec3& satPos, double rSat, const Vec3& e1, const Vec3& e2,
                    double limbHeight) {
  const Vec3 dir = added(scaled(e1, std::cos(t)), scaled(e2, std::sin(t)));
  const Vec3 q = subtracted(scaled(dir, ellipsoidRadiusAlong(dir) + limbHeight), satPos);
  const double qLen = norm(q);
  return qLen > 0.0 ? std::acos(clamp1(-dot(q, satPos) / (qLen * rSat))) : kPi / 2.0;
}

// Largest nadir angle over the section: golden-section search around the tangent point of the
// sphere of the same radius (the ellipsoid moves it by about the flattening).
double limbAngle(const Vec3& satPos, double rSat, const Vec3& e1, const Vec3& e2, double limbHeight) {
  const double radius = 1.0 + limbHeight;
  if (rSat <= radius) return kPi / 2.0;  // at or below the limb: the limb is the local horizon
  const double guess = std::acos(radius / rSat);
  double lo = std::max(0.0, guess - 0.05), hi = std::min(kPi / 2.0, guess + 0.05);
  constexpr double kGolden = 0.6180339887498949;
  double x1 = hi - kGolden * (hi - lo), x2 = lo + kGolden * (hi - lo);
  double f1 = nadirAngleOf(x1, satPos, rSat, e1, e2, limbHeight),
         f2 = nadirAngleOf(x2, satPos, rSat, e1, e2, limbHeight);
  for (int k = 0; k < 60; ++k) {
    if (f1 < f2) {
      lo = x1;
      x1 = x2;
      f1 = f2;
      x2 = lo + kGolden * (hi - lo);
      f2 = nadirAngleOf(x2, satPos, rSat, e1, e2, limbHeight);
    } else {
      hi = x2;
      x2 = x1;
      f2 = f1;
      x1 = hi - kGolden * (hi - lo);
      f1 = nadirAngleOf(x1, satPos, rSat, e1, e2, limbHeight);
    }
  }
  return std::max(f1, f2);
}

}  // namespace

void rotmtxt_sez(double lat, double lst, Mat3& t) {
  const double sp = std::sin(lat), cp = std::cos(lat), sl = std::sin(lst), cl = std::cos(lst);
  t = Mat3{{{sp * cl, sp * sl, -cp}, {-sl, cl, 0.0}, {cp * cl, cp * sl, sp}}};
}

Vec3 azel2lhvec(double az, double el) {
  return {-std::cos(el) * std::cos(az), std::cos(el) * std::sin(az), std::sin(el)};
}

Vec3 radec2lvec(double ra, double dec) {
  return {std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)};
}

void getlad_horizon(double el, double az, Vec3& L, Vec3& A, Vec3& D) {
  const double se = std::sin(el), ce = std::cos(el), sa = std::sin(az), ca = std::cos(az);
  L = {-ce * ca, ce * sa, se};
  A = {sa, ca, 0.0};
  D = {se * ca, -se * sa, ce};
}

void getlad_equatorial(double dec, double ra, Vec3& L, Vec3& A, Vec3& D) {
  const double sd = std::sin(dec), cd = std::cos(dec), sr = std::sin(ra), cr = std::cos(ra);
  L = {cd * cr, cd * sr, sd};
  A = {-sr, cr, 0.0};
  D = {-sd * cr, -sd * sr, cd};
}

void computeazel(const Vec3& sez, double& az, double& el) {
  const bool horizontal = std::fabs(sez[1]) > kAzTolerance || std::fabs(sez[0]) > kAzTolerance;
  az = horizontal ? basalon::actan(sez[1], -sez[0]) : 0.0;
  const double len = norm(sez);
  el = len > 0.0 ? std::asin(clamp1(sez[2] / len)) : 0.0;
}

void azel2radec(double thetaG, double lat, double lon, double az, double el, double& ra, double& dec) {
  Mat3 t;
  rotmtxt_sez(lat, basalon::fmod2p(thetaG + lon), t);
  computeradec(mulMatTVec(t, azel2lhvec(az, el)), ra, dec);
}

void radec2azel(double thetaG, double lat, double lon, double ra, double dec, double& az, double& el) {
  Mat3 t;
  rotmtxt_sez(lat, basalon::fmod2p(thetaG + lon), t);
  computeazel(mulMatVec(t, radec2lvec(ra, dec)), az, el);
}

void rae2eci(double lst, double lat, const double rae[6], const Vec3& senPos, Vec3& pos, Vec3& vel,
             AzimuthRate rateForm) {
  const double range = rae[0], az = rae[1], el = rae[2], rangeRate = rae[3], azRate = rae[4], elRate = rae[5];
  Mat3 t;
  rotmtxt_sez(lat, lst, t);
  Vec3 lh, ah, dh;
  getlad_horizon(el, az, lh, ah, dh);
  const Vec3 L = mulMatTVec(t, lh), A = mulMatTVec(t, ah), D = mulMatTVec(t, dh);
  pos = added(senPos, scaled(L, range));
  const double azTerm = rateForm == AzimuthRate::kTimesCosEl ? azRate : azRate * std::cos(el);
  Vec3 rates = added(scaled(A, azTerm), scaled(D, elRate));
  // The sight line turns with the Earth as well (omega x L).
  const double w = planix::genvgeo().earthRotRate;
  rates[0] -= w * L[1];
  rates[1] += w * L[0];
  vel = added(added(ecisenvelocity(senPos), scaled(L, rangeRate)), scaled(rates, range));
}

void eci2topocomps(double lst, double lat, const Vec3& senPos, const Vec3& satPos, const Vec3& satVel,
                   double comps[10], AzimuthRate rateForm) {
  std::fill(comps, comps + 10, 0.0);
  const Vec3 rho = subtracted(satPos, senPos);
  const double range = norm(rho);
  if (range == 0.0) return;  // no direction from a satellite at the site
  const Vec3 rhoDot = subtracted(satVel, ecisenvelocity(senPos));
  const Vec3 u = scaled(rho, 1.0 / range);
  double ra, dec, az, el;
  computeradec(u, ra, dec);
  Mat3 t;
  rotmtxt_sez(lat, lst, t);
  computeazel(mulMatVec(t, u), az, el);
  Vec3 lh, ah, dh, le, ae, de;
  getlad_horizon(el, az, lh, ah, dh);
  const Vec3 A = mulMatTVec(t, ah), D = mulMatTVec(t, dh);
  getlad_equatorial(dec, ra, le, ae, de);
  const double w = planix::genvgeo().earthRotRate;
  double azRate = dot(rhoDot, A) / range + w * D[2];
  const double elRate = dot(rhoDot, D) / range - w * A[2];
  double raRate = dot(rhoDot, ae) / range;
  const double decRate = dot(rhoDot, de) / range;
  if (rateForm == AzimuthRate::kAngular) {
    // At the zenith or a celestial pole the angle rate is undefined: left at 0 rather than infinite.
    const double ce = std::cos(el), cd = std::cos(dec);
    azRate = std::fabs(ce) > kTiny ? azRate / ce : 0.0;
    raRate = std::fabs(cd) > kTiny ? raRate / cd : 0.0;
  }
  comps[0] = basalon::fmod2p(ra);
  comps[1] = dec;
  comps[2] = basalon::fmod2p(az);
  comps[3] = el;
  comps[4] = range;
  comps[5] = raRate;
  comps[6] = decRate;
  comps[7] = azRate;
  comps[8] = elRate;
  comps[9] = dot(u, rhoDot);
}

void radecannualab(double ra, double dec, double ds50, double& dRa, double& dDec) {
  const double T = (ds50 - kDs50J2000) / 36525.0, T2 = T * T, T3 = T2 * T;
  const double M = (357.52911 + 35999.05029 * T - 0.0001537 * T2) * kDegToRad;
  const double q = (1.914602 - 0.004817 * T - 0.000014 * T2) * std::sin(M) +
                   (0.019993 - 0.000101 * T) * std::sin(2.0 * M) + 0.000289 * std::sin(3.0 * M);
  const double sun = (280.46646 + 36000.76983 * T + 0.0003032 * T2 + q) * kDegToRad;
  const double peri = (102.93735 + 1.71946 * T + 0.00046 * T2) * kDegToRad;
  const double e = 0.016708634 - 0.000042037 * T - 0.0000001267 * T2;
  const double eps = (23.43929111111111 - 0.013004166666666666 * T - 1.638888888888889e-07 * T2 +
                      5.036111111111111e-07 * T3) *
                     kDegToRad;
  const double a = ra * kDegToRad, d = dec * kDegToRad;
  const double ca = std::cos(a), sa = std::sin(a), cd = std::cos(d), sd = std::sin(d), ce = std::cos(eps);
  const double k = kAnnualAbDeg;
  dRa = k * e * (ca * std::cos(peri) * ce + sa * std::sin(peri)) / cd -
        k * (ca * std::cos(sun) * ce + sa * std::sin(sun)) / cd;
  const double w = (std::tan(eps) * cd - sa * sd) * ce;
  dDec = k * e * (std::cos(peri) * w + std::sin(peri) * ca * sd) -
         k * (std::cos(sun) * w + std::sin(sun) * ca * sd);
}

void radecdiurnalab(double thetaG, double ra, double dec, const Vec3& senEfg, double& dRa, double& dDec) {
  Vec3 llh;
  efg2llh(senEfg, llh);
  const double geocLat = togeocentriclat(llh[0], llh[2]);
  const double hourAngle = thetaG + llh[1] - ra * kDegToRad;
  const double k = norm(senEfg) * kDiurnalAbDeg * std::cos(geocLat);
  const double d = dec * kDegToRad;
  dRa = k * std::cos(hourAngle) / std::cos(d);
  dDec = k * std::sin(hourAngle) * std::sin(d);
}

void earthobstrangles(double limbHeight, const Vec3& senPos, const Vec3& satPos, double angles[3]) {
  angles[2] = basalon::angleof2vecs(senPos.data(), satPos.data());
  const Vec3 d = subtracted(senPos, satPos);
  const double dLen = norm(d), rSat = norm(satPos), rSen = norm(senPos);
  Vec3 p{0.0, 0.0, 0.0};
  if (dLen < kTiny || rSat == 0.0) {
    angles[1] = kPi;
  } else {
    angles[1] = std::acos(clamp1((rSat * rSat - rSen * rSen + dLen * dLen) / (2.0 * dLen * rSat)));
    p = added(satPos, scaled(d, rSat * std::cos(angles[1]) / dLen));
  }
  const double pLen = norm(p);
  if (pLen < kTiny) {
    // Sight line through the centre: no plane to place the limb in.
    Vec3 llh;
    efg2llh(satPos, llh);
    angles[0] = basalon::actan(limbHeight + 1.0, llh[2] + 1.0);
    return;
  }
  // The limb in the plane of the sight line, on the side the line passes the centre: the point of
  // the ellipsoid section (raised by limbHeight) seen farthest from nadir.
  const Vec3 e1 = scaled(satPos, 1.0 / rSat);
  Vec3 e2 = subtracted(p, scaled(e1, dot(p, e1)));
  const double e2Len = norm(e2);
  if (e2Len < kTiny) {
    Vec3 llh;
    efg2llh(satPos, llh);
    angles[0] = basalon::actan(limbHeight + 1.0, llh[2] + 1.0);
    return;
  }
  e2 = scaled(e2, 1.0 / e2Len);
  angles[0] = limbAngle(satPos, rSat, e1, e2, limbHeight);
}

bool isPointSunlit(double ds50, const Vec3& posKm) {
  const SunMoonTheory selector = sunMoonSelector();
  Sundata sd;
  getsundata(selector, ds50, sd);
  Vec3 sun;
  double dist;
  solar(selector, sd, sun, dist);
  const Vec3 r = scaled(posKm, 1.0 / planix::genvgeo().earthRadius);
  const double along = dot(r, sun);
  if (along >= 0.0) return true;
  return dot(r, r) - along * along >= 1.0;
}

}  // namespace pelmath
