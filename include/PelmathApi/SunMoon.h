/* Pelmath analytic Sun and Moon: geocentric unit vectors (mean equator and equinox of date) and
   distances in km at a DS50 time; FK4 or FK5 series by the Planix catalogue setting.
   An export that takes a DS50 time and returns no code answers a NaN or infinite time with one
   trace-log line and NaN outputs. */
#ifndef PELMATH_SUNMOON_H
#define PELMATH_SUNMOON_H

#include "../ZkExport.h"

ZK_API void CompSunPos(double ds50, double sunVec[3], double* sunVecMag);
ZK_API void CompMoonPos(double ds50, double moonVec[3], double* moonVecMag);
ZK_API void CompSunMoonPos(double ds50, double sunVec[3], double* sunVecMag, double moonVec[3],
                           double* moonVecMag);

#endif
