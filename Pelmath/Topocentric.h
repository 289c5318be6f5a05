// Topocentric geometry of a site: the SEZ frame, look vectors, Az/El <-> RA/Dec, range/azimuth/
// elevation <-> inertial state, topocentric components, aberration, sunlight and Earth obstruction.
// Canonical units (er, er/kemin, rad, rad/kemin) unless noted; lst is the site's local sidereal
// angle (longitude + Greenwich angle, rad).
#pragma once

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

// Rows S, E, Z: from the inertial (or Earth-fixed, with lst = longitude) frame to SEZ.
void rotmtxt_sez(double lat, double lst, Mat3& t);
// Line-of-sight unit vectors: in SEZ from Az/El, inertial from RA/Dec.
Vec3 azel2lhvec(double az, double el);
Vec3 radec2lvec(double ra, double dec);
// Look vector L and its azimuth and elevation directions A, D: in SEZ (horizon) or inertial
// (equatorial, A along increasing RA and D along increasing Dec).
void getlad_horizon(double el, double az, Vec3& L, Vec3& A, Vec3& D);
void getlad_equatorial(double dec, double ra, Vec3& L, Vec3& A, Vec3& D);
// Az ([0, 2pi), 0 when the horizontal part vanishes) and El of a SEZ vector.
void computeazel(const Vec3& sez, double& az, double& el);

// thetaG is the Greenwich angle; the site is at geodetic latitude lat and east longitude lon.
void azel2radec(double thetaG, double lat, double lon, double az, double el, double& ra, double& dec);
void radec2azel(double thetaG, double lat, double lon, double ra, double dec, double& az, double& el);

// Form of the azimuth (and RA) rates: the angle's own rate, or that rate times cos(El) (cos(Dec)),
// the rate across the sky.
enum class AzimuthRate { kAngular, kTimesCosEl };

// Range, azimuth, elevation and their rates (er, rad, rad, er/kemin, rad/kemin, rad/kemin) seen
// from a site at senPos -> inertial position and velocity.
void rae2eci(double lst, double lat, const double rae[6], const Vec3& senPos, Vec3& pos, Vec3& vel,
             AzimuthRate rateForm = AzimuthRate::kAngular);
// The ten topocentric components: RA, Dec, Az, El, range, RA rate, Dec rate, Az rate, El rate,
// range rate. kTimesCosEl leaves out the divisions by cos(El) and cos(Dec).
void eci2topocomps(double lst, double lat, const Vec3& senPos, const Vec3& satPos, const Vec3& satVel,
                   double comps[10], AzimuthRate rateForm = AzimuthRate::kAngular);

// Annual aberration of RA, Dec (deg) at a DS50 time: corrections in deg.
void radecannualab(double ra, double dec, double ds50, double& dRa, double& dDec);
// Diurnal aberration of RA, Dec (deg) for a site at EFG position senEfg (er): corrections in deg.
void radecdiurnalab(double thetaG, double ra, double dec, const Vec3& senEfg, double& dRa, double& dDec);

// Earth obstruction of the sight line from a satellite to a sensor, limb raised by limbHeight (er):
// [0] angle at the satellite between nadir and the Earth's limb, [1] between nadir and the
// sensor, [2] between the sensor and satellite position vectors (rad).
void earthobstrangles(double limbHeight, const Vec3& senPos, const Vec3& satPos, double angles[3]);

// Whether a point (km, inertial of date) is sunlit: on the sunward side, or outside the cylinder of
// one Earth radius behind the Earth. FK4 or FK5 Sun by the catalogue setting.
bool isPointSunlit(double ds50, const Vec3& posKm);

}  // namespace pelmath
