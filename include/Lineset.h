/* Lineset library exports (stand-in of the sibling library). */
#ifndef LINESET_H
#define LINESET_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. */
ZK_API int32_t LinesetInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void LinesetGetInfo(char infoStr[128]);

#endif
