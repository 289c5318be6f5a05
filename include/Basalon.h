/* Basalon: support services (trace log, key modes, units, formatted numbers).
   Text arguments are fixed-length, blank-padded buffers without terminator. */
#ifndef BASALON_H
#define BASALON_H

#include "ZkExport.h"

/* Opens (appending) the trace log file named in a 512-character buffer; 0 on success, 2 on failure. */
ZK_API int32_t BasalonOpenLogFile(const char fileName[512]);
/* Closes the trace log file. */
ZK_API void BasalonCloseLogFile(void);
/* Appends one error / information line from a 128-character buffer. */
ZK_API void BasalonLogError(const char msg[128]);
ZK_API void BasalonLogInfo(const char msg[128]);
/* The last error / information line written, blank padded to 128 characters. */
ZK_API void BasalonGetLastErrMsg(char msg[128]);
ZK_API void BasalonGetLastInfoMsg(char msg[128]);

/* Key modes: 0 standard keys, 1 DMA keys; duplicate mode 0 reports identical duplicates. */
ZK_API void BasalonSetElsetKeyMode(int32_t mode);
ZK_API int32_t BasalonGetElsetKeyMode(void);
ZK_API void BasalonSetAllKeyMode(int32_t useAll, int32_t mode);
ZK_API int32_t BasalonGetAllKeyMode(void);
ZK_API void BasalonSetDupKeyMode(int32_t mode);
ZK_API int32_t BasalonGetDupKeyMode(void);

#endif
