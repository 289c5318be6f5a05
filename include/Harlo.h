/* Harlo library exports: the store of SP vectors (text form in Siblings/Harlo/HarloText.h).
   File names are 512-character blank-padded buffers without terminator. */
#ifndef HARLO_H
#define HARLO_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. */
ZK_API int32_t HarloInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void HarloGetInfo(char infoStr[128]);

/* Loads every SP vector of a file: 0 when the file was read (bad vectors are logged one line
   each and skipped), else the file-open code. */
ZK_API int32_t HarloLoadFile(const char fileName[512]);
/* Number of stored SP vectors. */
ZK_API int32_t HarloGetCount(void);
/* Up to maxKeys satKeys in an order (0 ascending by satellite number and epoch, 1 descending,
   2 load order, other ascending satKey); returns the number written. */
ZK_API int32_t HarloGetKeys(int32_t order, int32_t maxKeys, int64_t* keys);
/* Removes one vector: 0, or 2 when no vector has the key. */
ZK_API int32_t HarloRemoveSat(int64_t satKey);
/* Removes every vector: 0. */
ZK_API int32_t HarloRemoveAllSats(void);

#endif
