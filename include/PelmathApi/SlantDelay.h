/* Tropospheric slant delay by the UNB3m model with the Niell mapping functions.
   Latitude and elevation in degrees, site height above the ellipsoid in metres, delays in metres. */
#ifndef PELMATH_SLANTDELAY_H
#define PELMATH_SLANTDELAY_H

#include "../ZkExport.h"

/* Slant delay (m) of the ray at elevation elevDeg from a site at geodetic latitude latDeg and
   height heightM on day of year dayOfYear (fraction allowed), and its derivative with respect to
   elevation (m per degree). Either output may be null. A NaN or infinite argument writes one
   trace-log line and no output. */
ZK_API void SlantDelayUnb3(double latDeg, double heightM, double dayOfYear, double elevDeg,
                           double* slantDelay, double* slantDelayRate);

/* The model's parts at the same inputs: xa[0] hydrostatic zenith delay (m), xa[1] hydrostatic
   mapping function, xa[2] wet zenith delay (m), xa[3] wet mapping function, xa[4] slant delay (m). */
ZK_API void Unb3mDelays(double latDeg, double heightM, double dayOfYear, double elevDeg, double xa[5]);

#endif
