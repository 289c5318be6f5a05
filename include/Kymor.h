/* Kymor library exports: common element data of any loaded satellite, whatever store holds it
   (TLE, SP vector, Qel or external ephemeris). Text arguments are fixed-length, blank-padded
   buffers without terminator. The library-level routines (element and propagator types, the
   common record, single fields, the satellite-number search) are C++ and live in
   Kymor/CommonElData.h. */
#ifndef KYMOR_H
#define KYMOR_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. Any argument is ignored. */
ZK_API int32_t KymorInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void KymorGetInfo(char infoStr[128]);
/* Satellite number of a loaded satellite of any store; -1 when the key is not loaded or its
   element type is not 1 to 7 (no message). */
ZK_API int32_t SatNumOf(int64_t satKey);

/* The 32 satellite parameters of a loaded satellite (0-based): 0 epoch (DS50 UTC), 1 mean anomaly,
   2 node, 3 argument of perigee (deg), 4 period (min), 5 eccentricity, 6 inclination (deg),
   7 mean motion (rev/day), 8 drag term, 9-10 perigee and apogee height (km), 11-12 perigee and
   apogee radius (km), 13 semi-major axis (km), 14 satellite category, 15 extra value 1,
   16 sub-point east longitude at epoch (deg), 17 drift rate (deg/day), 18-19 rates of the
   argument of perigee and the node (deg/day), 20 period corrected for perigee motion, 21 last
   ascending node at or before epoch (DS50 UTC), 22 1 in the GEO band (period 1200 to 1800 min,
   e up to 0.4) else 0, 23 resonance energy, 24 satellite number, 25 element type,
   26 propagator type, 27 element set number, 28-30 orbit normal, 31 GOBS class (0 to 5).
   16, 17, 23 and 31 are 0 outside the GEO band; a satellite without elements (a one-point
   ephemeris) has 16 to 23 and 28 to 31 at 0. Returns 0, or the common data's code (2, one
   trace-log line) with the array untouched; a null array gives 2 and one line. */
ZK_API int32_t GetSatParameters(int64_t satKey, double satParms[32]);
/* East longitude (deg, 0 to 360) of the mean sub-satellite point at a DS50 UTC time, from the
   node, argument of perigee and mean anomaly (deg). NaN and one trace-log line for a NaN or
   infinite argument. */
ZK_API double CompLonEastSubPt(double ds50UTC, double node, double omega, double mo);
/* 1 for a geostationary orbit (inclination below 15 deg, period within 4 min of 1436), else 0;
   0 and one trace-log line for a NaN or infinite argument. */
ZK_API int32_t IsGeoOrbit(double incli, double period);

#endif
