/* Harlo library exports (stand-in of the sibling library). */
#ifndef HARLO_H
#define HARLO_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. */
ZK_API int32_t HarloInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void HarloGetInfo(char infoStr[128]);

#endif
