/* Tarvexon library exports. Text arguments are fixed-length, blank-padded buffers without terminator. */
#ifndef TARVEXON_H
#define TARVEXON_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. Any argument is ignored. */
ZK_API int32_t TarvexInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void TarvexGetInfo(char infoStr[128]);

/* Loading and saving */
/* Loads a card file (its referenced ephemeris files and the ephemerides it holds itself) or a ".dce"
   file; 0, 2, or the file service's code when the file cannot be opened. */
ZK_API int32_t TarvexLoadFile(const char fileName[512]);
/* Loads one ephemeris file without following its cards; the satKey of the last ephemeris stored from
   it, -1 when it cannot be opened, reading failed or nothing was stored. */
ZK_API int64_t TarvexAddSatFrFile(const char fileName[512]);
/* Saves the store as a card file naming each loaded ephemeris file once (with its "#TARVEXON" label);
   saveMode 0 replaces the file, any other value appends. 0, 2 when a line cannot be written, or the
   file service's code when the file cannot be opened or closed. */
ZK_API int32_t TarvexSaveFile(const char fileName[512], int32_t saveMode);

#endif
