/* Pelmath library frame. Throughout Pelmath's exports a null required pointer writes one trace-log
   line ("<Export>: null argument") and nothing else; an export returning a code then returns 2. */
#ifndef PELMATH_FRAME_H
#define PELMATH_FRAME_H

#include "../ZkExport.h"

/* Returns 0; the library needs no initialisation. Any argument is ignored. */
ZK_API int32_t PelmathInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void PelmathGetInfo(char infoStr[128]);

#endif
