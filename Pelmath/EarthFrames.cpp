// Rotations between ECI, EFG and ECR, and the geodetic LLH conversions (closed form, no iteration).
// ECI/EFG work in km and km/s; LLH routines in canonical units (rad, er).
#include "Pelmath/EarthFrames.h"

#include <algorithm>
#include <cmath>

#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {
namespace {

// Earth rotation rate of the ECI <-> EFG rotations only (rad/min, used per second); the Planix
// rate is not used there.
constexpr double kEarthRateRadPerMin = 0.0043752690880113;
constexpr double kEarthRateRadPerSec = kEarthRateRadPerMin / 60.0;

// Components of v in a frame turned by theta about z (passive rotation).
inline Vec3 turnZ(double c, double s, const Vec3& v) {
  return {c * v[0] + s * v[1], c * v[1] - s * v[0], v[2]};
}
// Inverse of turnZ.
inline Vec3 unturnZ(double c, double s, const Vec3& v) {
  return {c * v[0] - s * v[1], c * v[1] + s * v[0], v[2]};
}

inline double eccSquared(double f) { return 2.0 * f - f * f; }

}  // namespace

double centryj2000(double ds50) { return (ds50 - kDs50J2000) / 36525.0; }
double centryb1950(double ds50) { return (ds50 - 0.923) / 36524.22; }

void eci2efg(double theta, const Vec3& posEci, const Vec3& velEci, Vec3& posEfg, Vec3& velEfg) {
  const double c = std::cos(theta), s = std::sin(theta);
  // Velocity relative to the rotating frame first, then the same rotation as the position.
  const Vec3 rel{velEci[0] + kEarthRateRadPerSec * posEci[1], velEci[1] - kEarthRateRadPerSec * posEci[0],
                 velEci[2]};
  posEfg = turnZ(c, s, posEci);
  velEfg = turnZ(c, s, rel);
}

void efg2eci(double theta, const Vec3& posEfg, const Vec3& velEfg, Vec3& posEci, Vec3& velEci) {
  const double c = std::cos(theta), s = std::sin(theta);
  const Vec3 rel{velEfg[0] - kEarthRateRadPerSec * posEfg[1], velEfg[1] + kEarthRateRadPerSec * posEfg[0],
                 velEfg[2]};
  posEci = unturnZ(c, s, posEfg);
  velEci = unturnZ(c, s, rel);
}

void getpolarmotnmtx(double xp, double yp, Mat3& w) {
  const double x = xp * kArcsecToRad, y = yp * kArcsecToRad;
  const double cx = std::cos(x), sx = std::sin(x), cy = std::cos(y), sy = std::sin(y);
  w = Mat3{{{cx, sx * sy, sx * cy}, {0.0, cy, -sy}, {-sx, cx * sy, cx * cy}}};
}

Vec3 applypolarmotion(double xp, double yp, const Vec3& v, PolarMotionDirection direction) {
  Mat3 w;
  getpolarmotnmtx(xp, yp, w);
  return direction == PolarMotionDirection::kEfgToEcr ? mulMatVec(w, v) : mulMatTVec(w, v);
}

void efg2ecr(double xp, double yp, const Vec3& posEfg, const Vec3& velEfg, Vec3& posEcr, Vec3& velEcr) {
  Mat3 w;
  getpolarmotnmtx(xp, yp, w);
  posEcr = mulMatVec(w, posEfg);
  velEcr = mulMatVec(w, velEfg);
}

void ecr2efg(double xp, double yp, const Vec3& posEcr, const Vec3& velEcr, Vec3& posEfg, Vec3& velEfg) {
  Mat3 w;
  getpolarmotnmtx(xp, yp, w);
  posEfg = mulMatTVec(w, posEcr);
  velEfg = mulMatTVec(w, velEcr);
}

void llh2efg(const Vec3& llh, Vec3& efg) {
  const double f = planix::genvgeo().flatLlh;
  const double e2 = eccSquared(f);
  const double sphi = std::sin(llh[0]), cphi = std::cos(llh[0]);
  const double n = 1.0 / std::sqrt(1.0 - e2 * sphi * sphi);
  const double h = llh[2];
  efg = {(n + h) * cphi * std::cos(llh[1]), (n + h) * cphi * std::sin(llh[1]),
         ((1.0 - f) * (1.0 - f) * n + h) * sphi};
}

void llh2xyz(double theta, const Vec3& llh, Vec3& xyz) {
  Vec3 efg;
  llh2efg(llh, efg);
  xyz = unturnZ(std::cos(theta), std::sin(theta), efg);
}

void xyz2llh(double theta, const Vec3& xyz, Vec3& llh) {
  const double r = norm(xyz);
  if (r == 0.0) {
    llh = {0.0, 0.0, 0.0};
    return;
  }
  const double f = planix::genvgeo().flatLlh;
  const double z = xyz[2];
  const double s = z * z / (r * r);
  const double e = (2.0 - f) * f / r;
  // Closed-form geodetic latitude: geocentric latitude plus a series correction in e^2/r.
  // Deep inside the Earth (r below ~0.01 er) the series leaves [-1, 1]: held there, not NaN.
  const double corr = (((1.0 - 2.0 * s) * e + 1.0 + 0.5 * e * r * s) * e * z / r) * std::sqrt(1.0 - s);
  const double lat = std::asin(std::clamp(z / r, -1.0, 1.0)) + std::asin(std::clamp(corr, -1.0, 1.0));
  llh[0] = lat;
  llh[1] = basalon::fmod2p(std::atan2(xyz[1], xyz[0]) - theta);
  llh[2] = computeheight(lat, xyz);
}

void efg2llh(const Vec3& efg, Vec3& llh) { xyz2llh(0.0, efg, llh); }

void llh2efg(const Latlonheight& llh, Vec3& efg) { llh2efg(Vec3{llh.lat, llh.lon, llh.height}, efg); }

void efg2llh(const Vec3& efg, Latlonheight& llh) {
  Vec3 v;
  efg2llh(efg, v);
  llh = {v[0], v[1], v[2]};
}

double computeheight(double lat, const Vec3& pos) {
  const double e2 = eccSquared(planix::genvgeo().flatLlh);
  const double sphi = std::sin(lat);
  return std::sqrt(pos[0] * pos[0] + pos[1] * pos[1]) * std::cos(lat) + pos[2] * sphi -
         std::sqrt(1.0 - e2 * sphi * sphi);
}

double getearthradius(double lat) {
  const double e2 = eccSquared(planix::genvgeo().flatLlh);
  const double s2 = std::sin(lat) * std::sin(lat);
  return std::sqrt((1.0 - (2.0 * e2 - e2 * e2) * s2) / (1.0 - e2 * s2));
}

double togeocentriclat(double lat, double height) {
  const double e2 = eccSquared(planix::genvgeo().flatGeod);
  const double sphi = std::sin(lat), cphi = std::cos(lat);
  const double n = 1.0 / std::sqrt(1.0 - e2 * sphi * sphi);
  // Direction of the point itself; at height 0 this is tan(lat') = (1 - e^2) tan(lat).
  return std::atan2((n * (1.0 - e2) + height) * sphi, (n + height) * cphi);
}

double togeodeticlat(double geocLat, double height) {
  const double e2 = eccSquared(planix::genvgeo().flatGeod);
  double lat = std::atan2(std::sin(geocLat), (1.0 - e2) * std::cos(geocLat));
  if (height == 0.0) return lat;
  // The height correction is small (rad per er of height ~ e^2): a few fixed-point steps suffice.
  for (int k = 0; k < 6; ++k) lat += geocLat - togeocentriclat(lat, height);
  return lat;
}

Vec3 ecisenvelocity(const Vec3& pos) {
  const double w = planix::genvgeo().earthRotRate;
  return {-w * pos[1], w * pos[0], 0.0};
}

Vec3 renorm(const Vec3& v, const Vec3& ref) {
  const double len = norm(v);
  if (len == 0.0) return v;
  const double k = norm(ref) / len;
  return {v[0] * k, v[1] * k, v[2] * k};
}

void computeradec(const Vec3& v, double& ra, double& dec) {
  const double len = norm(v);
  if (len == 0.0) {
    ra = dec = 0.0;
    return;
  }
  double sdec = v[2] / len;
  sdec = sdec > 1.0 ? 1.0 : (sdec < -1.0 ? -1.0 : sdec);
  dec = std::asin(sdec);
  ra = basalon::actan(v[1], v[0]);
}

}  // namespace pelmath
