/* Brevanta library exports: one state interface over every element-set store. A satellite is
   named by its satKey. States are TEME of date: position km, velocity km/s; geodetic latitude and
   longitude in degrees (longitude east, 0 to 360), height km; times DS50 (days since 1950 Jan 0.0)
   or minutes since the element set's epoch. Results are 0 for success, else non-zero with one
   trace-log line. */
#ifndef BREVANTA_H
#define BREVANTA_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. Any argument is ignored. */
ZK_API int32_t BrevantaInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void BrevantaGetInfo(char infoStr[128]);

/* Prepares one satellite for states: SGP4 element sets are initialised by Kinetra; an external
   ephemeris must hold at least one point. 0, Kinetra's code, or 2 (other element types). */
ZK_API int32_t BrevantaInitSat(int64_t satKey);
/* Removes the satellite from the store that holds its element set: that store's code, or 2. */
ZK_API int32_t BrevantaRemoveSat(int64_t satKey);
/* Removes the satellite from its element store and, for an SGP4 satellite, its SGP4 object too:
   for an SGP4 satellite 0 when either was removed, else 2; otherwise BrevantaRemoveSat's code. */
ZK_API int32_t BrevantaRemoveSatAll(int64_t satKey);
/* Empties the TLE, SP vector, Qel, external ephemeris and SGP4 stores: 0 or the first failure. */
ZK_API int32_t BrevantaRemoveAllSats(void);
/* Does nothing. */
ZK_API void BrevantaReset(void);

/* State of an SGP4 satellite (initialised by BrevantaInitSat) or of an external ephemeris at a
   DS50 UTC time: minutes since epoch, revolution number, position (km), velocity (km/s) and
   latitude, longitude (deg) and height (km). Every output is zeroed first and stays zero on a
   failure. 2 for satellites Brevanta does not propagate (SP vectors, Qel messages). */
ZK_API int32_t BrevantaDs50UTC(int64_t satKey, double ds50UTC, double* mse, int32_t* revNum, double pos[3],
                               double vel[3], double llh[3]);
/* The same at minutes since the element set's epoch; the DS50 UTC time of the state comes back. */
ZK_API int32_t BrevantaMse(int64_t satKey, double mse, double* ds50UTC, int32_t* revNum, double pos[3],
                           double vel[3], double llh[3]);

#endif
