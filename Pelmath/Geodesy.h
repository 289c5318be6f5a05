// Surface geodesy for sites and moving sensors: Vincenty geodesics, rhumb lines, the velocity of a
// moving site and the orbit plane through a site. Angles in degrees and distances in km unless noted.
#pragma once

#include <optional>

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

// Ellipsoid of the geodesy routines: equatorial radius a (km) and flattening f.
struct Ellipsoid {
  double a = 0, f = 0;
};
// R and flatGeod of the current constant set.
Ellipsoid geodEllipsoid();

// Destination of a geodesic from (lat1, lon1) along azimuth az12 over dist km: latitude, longitude
// in (-180, 180] and the back azimuth (from the destination towards the start) in [0, 360).
// Returns 0, or 1 with all outputs 0 when the iteration does not converge.
int directvincenty(double lat1, double lon1, double az12, double dist, double& lat2, double& lon2,
                   double& az21, std::optional<Ellipsoid> ell = {});
// Distance (km), forward azimuth and back azimuth ([0, 360)) between two points. Returns 0, or 1
// with all outputs 0 when the iteration does not converge (nearly antipodal points).
int inversevincenty(double lat1, double lon1, double lat2, double lon2, double& dist, double& az12,
                    double& az21, std::optional<Ellipsoid> ell = {});

// Rhumb lines on the ellipsoid of flatGeod. compisometrilat: isometric latitude of a geodetic
// latitude (rad); latfunc: the meridian-arc series of the destination problem (rad).
double compisometrilat(double lat);
double latfunc(double x);
// Constant heading (rad, [0, 2pi)) from point 1 to point 2 (rad).
double computeheading(double lat1, double lon1, double lat2, double lon2);
// Heading (deg) and distance (km) along the rhumb line from point 1 to point 2 (deg).
void computedistazimrl(double lat1, double lon1, double lat2, double lon2, double& heading, double& dist);
// Destination (deg; longitude in [0, 360)) along a rhumb line of heading (deg) over dist (km).
void computedestptrl(double lat1, double lon1, double heading, double dist, double& lat2, double& lon2);

// Inertial velocity (er/kemin) of a site at canonical position pos, geodetic latitude lat (deg),
// moving over the ground at heading (deg) with speed (km/h), the Earth's rotation included.
Vec3 computemobilevel(const Vec3& pos, double lat, double heading, double speed);

// Orbit plane through a site: node longitude (rad, [0, 2pi), measured like lon) and inclination
// (rad) of the great circle through the site at geocentric latitude lat and longitude (or local
// sidereal angle) lon, crossing it at azimuth azim (all rad).
double computexlam(double lat, double lon, double azim);
void computeinclinode(double lat, double lon, double azim, double& incli, double& node);

}  // namespace pelmath
