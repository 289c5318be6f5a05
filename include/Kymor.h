/* Kymor library exports. Text arguments are fixed-length, blank-padded buffers without terminator. */
#ifndef KYMOR_H
#define KYMOR_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. Any argument is ignored. */
ZK_API int32_t KymorInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void KymorGetInfo(char infoStr[128]);

#endif
