/* Kinetra library exports: the SGP4 propagator and its store of initialised objects, keyed by
   the satKey of an element set loaded in the TLE store (Lineset). States are TEME, km and km/s. */
#ifndef KINETRA_H
#define KINETRA_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. */
ZK_API int32_t KinetraInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void KinetraGetInfo(char infoStr[128]);

/* Initialises the SGP4 object of a TLE-store satellite: 0, 2 when the key has no SGP4 element
   set, or the model's error code (1-6). */
ZK_API int32_t KinetraInitSat(int64_t satKey);
/* State at minutes since epoch: DS50 UTC of the time, position (km) and velocity (km/s).
   0, or a non-zero code with every output zeroed. */
ZK_API int32_t KinetraPropMse(int64_t satKey, double mse, double* ds50UTC, double pos[3], double vel[3]);
/* State at a DS50 UTC time: minutes since epoch, position (km) and velocity (km/s). */
ZK_API int32_t KinetraPropDs50UTC(int64_t satKey, double ds50UTC, double* mse, double pos[3], double vel[3]);
/* Number of initialised objects. */
ZK_API int32_t KinetraGetCount(void);
/* Removes one object: 0, or 2 when the key has none. */
ZK_API int32_t KinetraRemoveSat(int64_t satKey);
/* Removes every object: 0. */
ZK_API int32_t KinetraRemoveAllSats(void);

#endif
