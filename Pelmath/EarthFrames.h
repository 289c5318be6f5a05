// Rotations between the Earth frames: inertial of date (ECI), Earth-fixed Greenwich (EFG), EFG with
// polar motion (ECR) and geodetic latitude/longitude/height (LLH).
#pragma once

#include <cmath>

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

constexpr double kArcsecToRad = 4.84813681109536e-06;
constexpr double kDs50J2000 = 18263.5;

// Julian centuries from J2000 and tropical centuries from B1950.0 of a DS50 time.
double centryj2000(double ds50);
double centryb1950(double ds50);

// ---- ECI <-> EFG <-> ECR -------------------------------------------------------------------

// theta is the Greenwich angle (rad); positions in km, velocities in km/s.
void eci2efg(double theta, const Vec3& posEci, const Vec3& velEci, Vec3& posEfg, Vec3& velEfg);
void efg2eci(double theta, const Vec3& posEfg, const Vec3& velEfg, Vec3& posEci, Vec3& velEci);

// Polar-motion matrix W (EFG -> ECR) of the pole offsets xp, yp in arcseconds.
void getpolarmotnmtx(double xp, double yp, Mat3& w);
// Which way polar motion is applied: EFG -> ECR (W v) or ECR -> EFG (W^T v).
enum class PolarMotionDirection { kEfgToEcr, kEcrToEfg };
Vec3 applypolarmotion(double xp, double yp, const Vec3& v,
                      PolarMotionDirection direction = PolarMotionDirection::kEfgToEcr);
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
