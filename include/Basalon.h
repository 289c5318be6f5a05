/* Basalon: support services (trace log, key modes, units, formatted numbers).
   Text arguments are fixed-length, blank-padded buffers without terminator. Every failure writes
   exactly one trace-log error line; a null required pointer is a failure (a void export writes
   its line and returns). */
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

/* Units: an integer names an open text file. BasalonFileOpen takes the fixed units 1-99; units
   100-999 are given out by BasalonFileOpenMT only. Open modes: 0 write a new file (replacing),
   1 read an existing file, 2 append. File names are 512-character buffers: the name ends at the
   first NUL or at the end of the buffer and is trimmed of blanks.
   Result codes: 0 success, -1 end of file (reads), 1 unit number out of range, 2 file cannot be
   opened, 3 unit already open, 4 unit not open, 5 wrong mode (reading a write unit or the reverse),
   6 read/write/close failure, 7 bad argument (mode, length, null pointer), 8 no free unit.
   Every failure writes one trace-log error line (an open failure names the file). */
ZK_API int32_t BasalonFileOpen(int32_t unit, const char fileName[512], int32_t mode);
/* Opens on a free unit chosen by the library (100-999), safe from any thread; the unit (0 on
   failure) goes to *unit. */
ZK_API int32_t BasalonFileOpenMT(const char fileName[512], int32_t mode, int32_t* unit);
ZK_API int32_t BasalonFileClose(int32_t unit);
ZK_API int32_t BasalonFileRewind(int32_t unit);
/* Steps a read unit back one line. */
ZK_API int32_t BasalonFileBackspace(int32_t unit);
/* Reads the next line into exactly lineLength (1 to 65536) characters, blank padded or cut, no
   terminator; LF and CR LF line ends; NULs in the line become blanks. */
ZK_API int32_t BasalonFileReadLine(int32_t unit, char* line, int32_t lineLength);
/* Writes lineLength (0 to 65536) characters, trailing blanks and NULs dropped, as one line. */
ZK_API int32_t BasalonFileWriteLine(int32_t unit, const char* line, int32_t lineLength);
/* 1 when the unit is connected to a file named "fort." followed by the unit number, else 0. */
ZK_API int32_t BasalonExistFortDotFileUnit(int32_t unit);

/* A real written right-justified into width characters (1 to 256, no terminator) as Fw.d or Ew.d;
   0 when it fits, 2 when the field was filled with '*' (value too large, NaN, bad decimals); a width
   outside 1-256 gives 2 with nothing written. */
ZK_API int32_t BasalonFormatF(double value, int32_t width, int32_t decimals, char* field);
ZK_API int32_t BasalonFormatE(double value, int32_t width, int32_t decimals, char* field);
/* The real written in textLength (0 to 512) characters, read as a formatted field (blanks ignored,
   E or D exponent, all blanks read as 0); 0 and the value, or 2 and 0.0 when the text is not a
   number. */
ZK_API int32_t BasalonReadReal(const char* text, int32_t textLength, double* value);
/* The value part of a 512-character keyword card ("KEYWORD = value" or "KEYWORD value"),
   left-justified and blank padded into 512 characters. */
ZK_API void BasalonGetInputStr(const char card[512], char value[512]);

#endif
