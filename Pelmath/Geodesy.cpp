// Vincenty's direct and inverse geodesics, rhumb lines by isometric latitude and meridian-arc series,
// the velocity of a moving site and the orbit plane through a site.
#include "Pelmath/Geodesy.h"

#include <cmath>

#include "Pelmath/EarthFrames.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {
namespace {

constexpr double kVincentyTol = 1e-12;
constexpr int kVincentyMaxIter = 100;

inline double eccSquared(double f) { return 2.0 * f - f * f; }

// Vincenty's series coefficients A and B of u^2.
inline double vincentyA(double u2) {
  return 1.0 + u2 / 16384.0 * (4096.0 + u2 * (-768.0 + u2 * (320.0 - 175.0 * u2)));
}
inline double vincentyB(double u2) { return u2 / 1024.0 * (256.0 + u2 * (-128.0 + u2 * (74.0 - 47.0 * u2))); }

inline double deltaSigma(double B, double sinS, double cosS, double cos2Sm) {
  const double c2 = cos2Sm * cos2Sm;
  return B * sinS *
         (cos2Sm +
          B / 4.0 *
              (cosS * (-1.0 + 2.0 * c2) - B / 6.0 * cos2Sm * (-3.0 + 4.0 * sinS * sinS) * (-3.0 + 4.0 * c2)));
}

// Geocentric <-> geodetic latitude on the surface: tan(lat') = (1 - e^2) tan(lat).
inline double geocentricOf(double lat, double e2) {
  return std::atan2((1.0 - e2) * std::sin(lat), std::cos(lat));
}
inline double geodeticOf(double geocLat, double e2) {
  return std::atan2(std::sin(geocLat), (1.0 - e2) * std::cos(geocLat));
}

// Difference of longitudes brought into [-pi, pi].
inline double wrapPi(double d) {
  d = std::fmod(d, kTwoPi);
  if (d > kPi) d -= kTwoPi;
  if (d < -kPi) d += kTwoPi;
  return d;
}

}  // namespace

Ellipsoid geodEllipsoid() {
  const planix::GeoConst& g = planix::genvgeo();
  return {g.earthRadius, g.flatGeod};
}

int directvincenty(double lat1, double lon1, double az12, double dist, double& lat2, double& lon2,
                   double& az21, std::optional<Ellipsoid> ellOpt) {
  lat2 = lon2 = az21 = 0.0;
  const Ellipsoid ell = ellOpt.value_or(geodEllipsoid());
  const double a = ell.a, f = ell.f, b = (1.0 - f) * a;
  const double phi1 = lat1 * kDegToRad, alpha1 = az12 * kDegToRad;
  const double sinA1 = std::sin(alpha1), cosA1 = std::cos(alpha1);
  const double u1 = std::atan((1.0 - f) * std::tan(phi1));
  const double sinU1 = std::sin(u1), cosU1 = std::cos(u1);
  const double sigma1 = std::atan2(std::tan(u1), cosA1);
  const double sinAlpha = cosU1 * sinA1, cos2Alpha = 1.0 - sinAlpha * sinAlpha;
  const double u2 = cos2Alpha * (a * a - b * b) / (b * b);
  const double A = vincentyA(u2), B = vincentyB(u2);
  double sigma = dist / (b * A), cos2Sm = 0.0, sinS = 0.0, cosS = 1.0;
  bool converged = false;
  for (int it = 0; it < kVincentyMaxIter; ++it) {
    cos2Sm = std::cos(2.0 * sigma1 + sigma);
    sinS = std::sin(sigma);
    cosS = std::cos(sigma);
    const double next = dist / (b * A) + deltaSigma(B, sinS, cosS, cos2Sm);
    const double change = std::fabs(next - sigma);
    sigma = next;
    if (change <= kVincentyTol) {
      converged = true;
      break;
    }
  }
  if (!converged) return 1;
  cos2Sm = std::cos(2.0 * sigma1 + sigma);
  sinS = std::sin(sigma);
  cosS = std::cos(sigma);
  const double tmp = sinU1 * sinS - cosU1 * cosS * cosA1;
  const double phi2 =
      std::atan2(sinU1 * cosS + cosU1 * sinS * cosA1, (1.0 - f) * std::sqrt(sinAlpha * sinAlpha + tmp * tmp));
  const double lambda = std::atan2(sinS * sinA1, cosU1 * cosS - sinU1 * sinS * cosA1);
  const double C = f / 16.0 * cos2Alpha * (4.0 + f * (4.0 - 3.0 * cos2Alpha));
  const double L = lambda - (1.0 - C) * f * sinAlpha *
                                (sigma + C * sinS * (cos2Sm + C * cosS * (-1.0 + 2.0 * cos2Sm * cos2Sm)));
  // Azimuth of the geodesic at the destination, turned round to point back to the start.
  const double alpha2 = std::atan2(sinAlpha, -tmp);
  lat2 = phi2 * kRadToDeg;
  lon2 = (basalon::fmod2p(lon1 * kDegToRad + L + 3.0 * kPi) - kPi) * kRadToDeg;
  az21 = basalon::fmod2p(alpha2 + kPi) * kRadToDeg;
  return 0;
}

int inversevincenty(double lat1, double lon1, double lat2, double lon2, double& dist, double& az12,
                    double& az21, std::optional<Ellipsoid> ellOpt) {
  dist = az12 = az21 = 0.0;
  const Ellipsoid ell = ellOpt.value_or(geodEllipsoid());
  const double a = ell.a, f = ell.f, b = (1.0 - f) * a;
  const double L = (lon2 - lon1) * kDegToRad;
  const double u1 = std::atan((1.0 - f) * std::tan(lat1 * kDegToRad));
  const double u2 = std::atan((1.0 - f) * std::tan(lat2 * kDegToRad));
  const double sinU1 = std::sin(u1), cosU1 = std::cos(u1), sinU2 = std::sin(u2), cosU2 = std::cos(u2);
  double lambda = L, sinS = 0, cosS = 0, sigma = 0, cos2Alpha = 0, cos2Sm = 0, sinL = 0, cosL = 0;
  bool converged = false;
  for (int it = 0; it < kVincentyMaxIter; ++it) {
    sinL = std::sin(lambda);
    cosL = std::cos(lambda);
    const double t1 = cosU2 * sinL, t2 = cosU1 * sinU2 - sinU1 * cosU2 * cosL;
    sinS = std::sqrt(t1 * t1 + t2 * t2);
    if (sinS == 0.0) return 0;  // coincident points: distance 0
    cosS = sinU1 * sinU2 + cosU1 * cosU2 * cosL;
    sigma = std::atan2(sinS, cosS);
    const double sinAlpha = cosU1 * cosU2 * sinL / sinS;
    cos2Alpha = 1.0 - sinAlpha * sinAlpha;
    cos2Sm = cos2Alpha != 0.0 ? cosS - 2.0 * sinU1 * sinU2 / cos2Alpha : 0.0;  // equatorial line
    const double C = f / 16.0 * cos2Alpha * (4.0 + f * (4.0 - 3.0 * cos2Alpha));
    const double next = L + (1.0 - C) * f * sinAlpha *
                                (sigma + C * sinS * (cos2Sm + C * cosS * (-1.0 + 2.0 * cos2Sm * cos2Sm)));
    const double change = std::fabs(next - lambda);
    lambda = next;
    if (change <= kVincentyTol) {
      converged = true;
      break;
    }
  }
  if (!converged) return 1;
  sinL = std::sin(lambda);
  cosL = std::cos(lambda);
  const double u2sq = cos2Alpha * (a * a - b * b) / (b * b);
  const double A = vincentyA(u2sq), B = vincentyB(u2sq);
  dist = b * A * (sigma - deltaSigma(B, sinS, cosS, cos2Sm));
  az12 = basalon::fmod2p(std::atan2(cosU2 * sinL, cosU1 * sinU2 - sinU1 * cosU2 * cosL)) * kRadToDeg;
  const double alpha2 = std::atan2(cosU1 * sinL, -sinU1 * cosU2 + cosU1 * sinU2 * cosL);
  az21 = basalon::fmod2p(alpha2 + kPi) * kRadToDeg;
  return 0;
}

double compisometrilat(double lat) {
  const double e = std::sqrt(eccSquared(planix::genvgeo().flatGeod));
  const double es = e * std::sin(lat);
  return std::log(std::tan(kPi / 4.0 + lat / 2.0) * std::pow((1.0 - es) / (1.0 + es), e / 2.0));
}

double latfunc(double x) {
  const double s = std::sin(x), s2 = s * s;
  return 1.001679911 * x - (0.001679910845 + 4.220933486e-06 * s2 + 1.570500088e-08 * s2 * s2 +
                            6.864254626e-11 * s2 * s2 * s2) *
                               s * std::cos(x);
}

double computeheading(double lat1, double lon1, double lat2, double lon2) {
  // Along a parallel the short way round, as for every other heading.
  if (lat1 == lat2) return wrapPi(lon2 - lon1) > 0.0 ? kPi / 2.0 : 1.5 * kPi;
  if (lon1 == lon2) return lat2 > lat1 ? 0.0 : kPi;
  const double dLon = wrapPi(lon2 - lon1);
  double h = std::atan2(dLon, compisometrilat(lat2) - compisometrilat(lat1));
  if (h < 0.0) h += kTwoPi;
  return h;
}

void computedistazimrl(double lat1, double lon1, double lat2, double lon2, double& heading, double& dist) {
  const double R = planix::genvgeo().earthRadius;
  const double e2 = eccSquared(planix::genvgeo().flatGeod);
  const double p1 = lat1 * kDegToRad, p2 = lat2 * kDegToRad, l1 = lon1 * kDegToRad, l2 = lon2 * kDegToRad;
  const double h = computeheading(p1, l1, p2, l2);
  heading = h * kRadToDeg;
  if (p1 == p2) {
    // Along the parallel, the short way round (the way the heading points).
    dist = R * std::cos(p2) * std::fabs(wrapPi(l2 - l1));
    return;
  }
  dist = R * ((1.0 - e2 / 4.0) * (p2 - p1) - 0.375 * e2 * (std::sin(2.0 * p2) - std::sin(2.0 * p1))) /
         std::cos(h);
}

void computedestptrl(double lat1, double lon1, double heading, double dist, double& lat2, double& lon2) {
  const double R = planix::genvgeo().earthRadius;
  const double e2 = eccSquared(planix::genvgeo().flatGeod);
  const double p1 = lat1 * kDegToRad, alpha = heading * kDegToRad;
  if (heading == 90.0 || heading == 270.0) {
    lat2 = lat1;
    lon2 = lon1 + std::sin(alpha) * (dist / R) / std::cos(p1) * kRadToDeg;
  } else {
    const double ca = std::cos(alpha);
    const double mu = latfunc(kPi / 2.0 - geocentricOf(p1, e2));
    const double sigma = ((1.573435125 - mu) * std::sqrt(1.0 - e2) / ca + dist / R) * 1.001681323 * ca;
    const double p2c = sigma - 0.0008396029524 * std::sin(2.0 * sigma) +
                       1.762333415e-07 * std::sin(4.0 * sigma) - 4.932201996e-11 * std::sin(6.0 * sigma);
    if (std::fabs(p2c) <= kPi / 2.0) {
      const double p2 = geodeticOf(p2c, e2);
      lat2 = p2 * kRadToDeg;
      lon2 = lon1 + (compisometrilat(p2) - compisometrilat(p1)) * std::tan(alpha) * kRadToDeg;
    } else {
      // The track reaches a pole: the longitude there is not defined, the start's is kept.
      lat2 = p2c > 0.0 ? 90.0 : -90.0;
      lon2 = lon1;
    }
  }
  lon2 = basalon::fmod2p(lon2 * kDegToRad) * kRadToDeg;
}

Vec3 computemobilevel(const Vec3& pos, double lat, double heading, double speed) {
  const planix::GeoConst& g = planix::genvgeo();
  const double e2 = eccSquared(g.flatGeod);
  const double phi = lat * kDegToRad, sphi = std::sin(phi), cphi = std::cos(phi);
  const double w = 1.0 - e2 * cphi * cphi;
  const double k = sphi * e2 * cphi / w;
  const double r = norm(pos), rho = r * cphi;
  const double ground = toradperkemin(speed / (g.earthRadius * 3600.0) * kRadToDeg);  // rad/kemin of arc
  double latRate, lonRate;
  if (heading == 90.0) {
    latRate = 0.0;
    lonRate = ground / cphi;
  } else if (heading == 270.0) {
    latRate = 0.0;
    lonRate = -ground / cphi;
  } else {
    const double alpha = heading * kDegToRad, ca = std::cos(alpha);
    const double B = (1.0 - e2) / w;
    // The square root gives the size of the latitude rate; its sign is that of the northward
    // component of the heading (southward headings move the site south).
    latRate = std::copysign(ground / std::sqrt(k * k * B + B / (ca * ca)), ca);
    lonRate = std::tan(alpha) / cphi * latRate;
  }
  const double omega = g.earthRotRate;
  const double x = pos[0], y = pos[1], z = pos[2];
  return {-(x * k + (x / rho) * z) * latRate - lonRate * y - omega * y,
          omega * x + lonRate * x - (y * k + z * (y / rho)) * latRate,
          r * (1.0 - sphi * sphi * e2 / w) * cphi * latRate};
}

void computeinclinode(double lat, double lon, double azim, double& incli, double& node) {
  const double cl = std::cos(lat), sl = std::sin(lat), co = std::cos(lon), so = std::sin(lon);
  const Vec3 site{cl * co, cl * so, sl};
  const Vec3 east{-so, co, 0.0}, north{-sl * co, -sl * so, cl};
  const double sa = std::sin(azim), ca = std::cos(azim);
  const Vec3 dir{sa * east[0] + ca * north[0], sa * east[1] + ca * north[1], sa * east[2] + ca * north[2]};
  // Orbit normal h = site x direction of motion; the node lies along z x h.
  const Vec3 h{site[1] * dir[2] - site[2] * dir[1], site[2] * dir[0] - site[0] * dir[2],
               site[0] * dir[1] - site[1] * dir[0]};
  double hz = h[2];
  hz = hz > 1.0 ? 1.0 : (hz < -1.0 ? -1.0 : hz);
  incli = std::acos(hz);
  node = basalon::actan(h[0], -h[1]);
}

double computexlam(double lat, double lon, double azim) {
  double incli, node;
  computeinclinode(lat, lon, azim, incli, node);
  return node;
}

}  // namespace pelmath
