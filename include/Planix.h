/* Planix library exports (stand-in of the sibling library): Earth constant sets and the
   fundamental-catalogue setting. A null buffer is refused with one trace-log line, nothing written. */
#ifndef PLANIX_H
#define PLANIX_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. */
ZK_API int32_t PlanixInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void PlanixGetInfo(char infoStr[128]);
/* Chooses the current constant set: 72 WGS-72 (default), 84 WGS-84, 96 EGM-96. 0, or 2 and one
   trace-log line for an unknown code (the set unchanged). */
ZK_API int32_t PlanixSetGeoModel(int32_t model);
ZK_API int32_t PlanixGetGeoModel(void);
/* The nine fields of the current set, in record order: flattening (LLH), flattening (geodesy), J2,
   ke (er^1.5/min), R (km), J2/2, km/s to er/kemin factor, rotation rate (rad/kemin), mu (km^3/s^2). */
ZK_API void PlanixGetGeoConst(double geoConst[9]);
/* Fundamental catalogue: 4 FK4, otherwise FK5 (default 5). */
ZK_API void PlanixSetFK(int32_t fk);
ZK_API int32_t PlanixGetFK(void);

#endif
