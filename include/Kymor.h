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

#endif
