/* Lineset library exports: the store of two-line element sets (TLE). Text arguments are
   fixed-length, blank-padded buffers without terminator: file names 512 characters, TLE lines
   130 characters (columns 1-69 are the element set; anything after column 69 is kept as text). */
#ifndef LINESET_H
#define LINESET_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. */
ZK_API int32_t LinesetInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void LinesetGetInfo(char infoStr[128]);

/* File names are read to their first NUL, trailing blanks dropped.
   Loads every element set of a file (optional name line before each pair, checksums verified).
   0 when the file was read (bad sets are logged one line each and skipped), else the file-open
   code. counts (3 values, may be null): sets loaded, duplicates, bad sets. */
ZK_API int32_t LinesetLoadFile(const char fileName[512]);
ZK_API int32_t LinesetLoadFileCounts(const char fileName[512], int32_t counts[3]);
/* Adds one element set from its two lines; returns its satKey, -1 when the set is bad (one
   trace-log line, nothing stored), 0 for a duplicate reported as an error. */
ZK_API int64_t LinesetAddSatFrLines(const char line1[130], const char line2[130]);
/* Number of stored element sets. */
ZK_API int32_t LinesetGetCount(void);
/* Up to maxKeys satKeys in an order (0 ascending by satellite number and epoch, 1 descending,
   2 load order, other ascending satKey); returns the number written. */
ZK_API int32_t LinesetGetKeys(int32_t order, int32_t maxKeys, int64_t* keys);
/* satKey of the first stored set with that satellite number, -1 when none. */
ZK_API int64_t LinesetNumToKey(int32_t satNum);
/* The two lines of a stored set as they were read (blank padded to 130); 0, or 2 when the key
   is not stored (buffers blank). */
ZK_API int32_t LinesetGetLines(int64_t satKey, char line1[130], char line2[130]);
/* Removes one set: 0, or 2 when no set has the key. The SGP4 object initialised from the set
   (KinetraInitSat) stays in Kinetra's store under the same key until it is removed itself
   (KinetraRemoveSat or KinetraRemoveAllSats); Brevanta's remove-all relies on that. */
ZK_API int32_t LinesetRemoveSat(int64_t satKey);
/* Removes every set: 0. */
ZK_API int32_t LinesetRemoveAllSats(void);
/* Writes every stored set to a file: saveMode 0 replaces the file, any other value appends;
   saveForm 1 writes each set's name line before its lines, 0 the two lines only. 0, or the
   file-open code. */
ZK_API int32_t LinesetSaveFile(const char fileName[512], int32_t saveMode, int32_t saveForm);

#endif
