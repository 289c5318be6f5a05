/* Pelmath topocentric and observation geometry: Az/El <-> RA/Dec, look vectors, range/azimuth/
   elevation <-> inertial state, topocentric components, aberration, Earth obstruction and
   sunlight. Angles deg (the Greenwich or local sidereal angle theta in rad), km, km/s, deg/s.
   An export that takes a DS50 time and returns no code answers a NaN or infinite time with one
   trace-log line and NaN outputs. */
#ifndef PELMATH_TOPOCENTRIC_H
#define PELMATH_TOPOCENTRIC_H

#include "../ZkExport.h"

/* thetaG: Greenwich angle (rad); the site at geodetic latitude lat and east longitude lon (deg). */
ZK_API void AzElToRaDec(double thetaG, double lat, double lon, double az, double el, double* RA, double* dec);
ZK_API void RaDecToAzEl(double thetaG, double lat, double lon, double RA, double dec, double* az, double* el);
/* As above with the Greenwich angle of a DS50 UTC time. */
ZK_API void AzElToRaDecTime(double ds50UTC, double lat, double lon, double az, double el, double* RA,
                            double* dec);
ZK_API void RaDecToAzElTime(double ds50UTC, double lat, double lon, double RA, double dec, double* az,
                            double* el);

/* Look vector L and the azimuth/elevation (or RA/Dec) directions A, D: SEZ (horizon) or inertial. */
ZK_API void AzElToLAD(double az, double el, double Lh[3], double Ah[3], double Dh[3]);
ZK_API void RADecToLAD(double RA, double dec, double L[3], double A[3], double D[3]);

/* theta: the site's local sidereal angle (rad). rae: range (km), az, el (deg), range rate (km/s),
   az rate, el rate (deg/s). */
ZK_API void RAEToECI(double theta, double astroLat, const double senPos[3], const double rae[6],
                     double satPos[3], double satVel[3]);
/* comps: RA [0, 360), Dec, Az [0, 360), El (deg), range (km), RA, Dec, Az, El rates (deg/s), range
   rate (km/s). */
ZK_API void ECIToTopoComps(double theta, double astroLat, const double senPos[3], const double satPos[3],
                           const double satVel[3], double comps[10]);

/* Corrections to RA and Dec (deg) for annual aberration, and for diurnal aberration of a site at
   EFG position senEfgPos in metres. */
ZK_API void AberrationAnnual(double RA, double dec, double ds50, double* dRA, double* dDec);
ZK_API void AberrationDiurnal(double RA, double dec, double ds50UTC, const double senEfgPos[3], double* dRA,
                              double* dDec);

/* Angles (deg) at the satellite: nadir to the limb raised by limbHeight (km), nadir to the sensor,
   and between the sensor and satellite position vectors. */
ZK_API void EarthObstructionAngles(double limbHeight, const double senPos[3], const double satPos[3],
                                   double* earthLimbAngle, double* earthSensorAngle, double* sensorSatAngle);

/* 1 when the point (km, inertial of date) is sunlit at the DS50 time, else 0. */
ZK_API int32_t IsPointSunlit(double ds50, const double pos[3]);

#endif
