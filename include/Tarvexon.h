/* Tarvexon library exports. Text arguments are fixed-length, blank-padded buffers without terminator. */
#ifndef TARVEXON_H
#define TARVEXON_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. Any argument is ignored. */
ZK_API int32_t TarvexInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void TarvexGetInfo(char infoStr[128]);

#endif
