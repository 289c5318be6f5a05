// Rotations between the Earth frames: inertial of date (ECI), Earth-fixed Greenwich (EFG), EFG with
// polar motion (ECR), geodetic latitude/longitude/height (LLH) and small 3x3 matrix helpers.
#pragma once

#include <cmath>

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

constexpr double kArcsecToRad = 4.84813681109536e-06;
constexpr double kDs50J2000 = 18263.5;

// Julian centuries from J2000 and tropical centuries from B1950.0 of a DS50 time.
double centryj2000(double ds50);
double centryb1950(double ds50);

// ---- Matrix helpers (Mat3 is row-major: m[row][column]) ------------------------------------

inline Vec3 mxv(const Mat3& m, const Vec3& v) {
  return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
          m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}
// Transpose of m times v.
inline Vec3 mtxv(const Mat3& m, const Vec3& v) {
  return {m[0][0] * v[0] + m[1][0] * v[1] + m[2][0] * v[2], m[0][1] * v[0] + m[1][1] * v[1] + m[2][1] * v[2],
          m[0][2] * v[0] + m[1][2] * v[1] + m[2][2] * v[2]};
}
inline Mat3 mxm(const Mat3& a, const Mat3& b) {
  Mat3 c{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) c[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
  return c;
}
inline Mat3 transpose(const Mat3& a) {
  Mat3 t{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) t[i][j] = a[j][i];
  return t;
}
inline double norm3(const Vec3& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// ---- ECI <-> EFG <-> ECR -------------------------------------------------------------------

// theta is the Greenwich angle (rad); positions in km, velocities in km/s.
void eci2efg(double theta, const Vec3& posEci, const Vec3& velEci, Vec3& posEfg, Vec3& velEfg);
void efg2eci(double theta, const Vec3& posEfg, const Vec3& velEfg, Vec3& posEci, Vec3& velEci);

// Polar-motion matrix W (EFG -> ECR) of the pole offsets xp, yp in arcseconds.
void getpolarmotnmtx(double xp, double yp, Mat3& w);
// direction 1 (default): EFG -> ECR (W v); any other value: ECR -> EFG (W^T v).
Vec3 applypolarmotion(double xp, double yp, const Vec3& v, int direction = 1);
void efg2ecr(double xp, double yp, const Vec3& posEfg, const Vec3& velEfg, Vec3& posEcr, Vec3& velEcr);
void ecr2efg(double xp, double yp, const Vec3& posEcr, const Vec3& velEcr, Vec3& posEfg, Vec3& velEfg);

// ---- Geodetic latitude, longitude, height (canonical: rad, er) ------------------------------

// llh = (geodetic latitude, east longitude, height) on the ellipsoid of flatLlh.
void llh2efg(const Vec3& llh, Vec3& efg);
void efg2llh(const Vec3& efg, Vec3& llh);
void llh2efg(const Latlonheight& llh, Vec3& efg);
void efg2llh(const Vec3& efg, Latlonheight& llh);
// The inertial position an LLH point has at Greenwich angle theta, and back (closed form).
void llh2xyz(double theta, const Vec3& llh, Vec3& xyz);
void xyz2llh(double theta, const Vec3& xyz, Vec3& llh);
// Height above the ellipsoid of a position whose geodetic latitude is lat.
double computeheight(double lat, const Vec3& pos);
// Distance from the centre to the ellipsoid surface at geodetic latitude lat (er).
double getearthradius(double lat);
// Geocentric latitude of a point at geodetic latitude lat and height (er), ellipsoid of flatGeod,
// and the geodetic latitude of a geocentric latitude at that height.
double togeocentriclat(double lat, double height = 0.0);
double togeodeticlat(double geocLat, double height = 0.0);
// omega x r of a point fixed on the Earth (er/kemin for a position in er).
Vec3 ecisenvelocity(const Vec3& pos);

// ---- Helpers shared by the rotations -------------------------------------------------------

// v rescaled to the length of ref (v unchanged when it is the zero vector).
Vec3 renorm(const Vec3& v, const Vec3& ref);
// Right ascension actan(y, x) in [0, 2pi) and declination asin(z/|v|); both 0 for the zero vector.
void computeradec(const Vec3& v, double& ra, double& dec);

}  // namespace pelmath
