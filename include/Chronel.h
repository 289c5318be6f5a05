/* Chronel library exports (stand-in of the sibling library): DS50 times and date-time groups,
   UTC/TAI/UT1 conversions, the Greenwich angle and the timing constants.
   Times are DS50 days. A time that is NaN, infinite or beyond 3e6 days (about year 10000) is refused
   with one trace-log error line: the time and angle routines then return NaN, the date-time group
   and timing-constant routines write nothing. A null buffer is refused the same way. */
#ifndef CHRONEL_H
#define CHRONEL_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. */
ZK_API int32_t ChronelInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void ChronelGetInfo(char infoStr[128]);

/* DS50 UTC of a date-time group in a 20-character buffer (blank or NUL padded): the forms
   "YYDDDHHMMSS.SSS", "YYYYDDDHHMMSS.SSS", "YYYY/DDD HHMM SS.SSS" and calendar text that fits,
   such as "01 JAN 2020 12:00:00" or "2020-01-01T12:00:00"; <= 0 (and one trace-log line) when it
   cannot be read or lies before 1950 January 0.0. */
ZK_API double ChronelDTGToUTC(const char dtg[20]);
/* DS50 UTC -> 20-character buffer, blank padded, rounded to the millisecond:
   "YYYY/DDD HHMM SS.SSS", "YYYYDDDHHMMSS.SSS" and "YYDDDHHMMSS.SSS" respectively; '*' filled (and one
   trace-log line) for a year beyond 9999. */
ZK_API void ChronelUTCToDTG20(double ds50UTC, char dtg20[20]);
ZK_API void ChronelUTCToDTG17(double ds50UTC, char dtg17[20]);
ZK_API void ChronelUTCToDTG15(double ds50UTC, char dtg15[20]);

/* DS50 UTC <-> DS50 TAI (built-in leap seconds), DS50 UTC -> DS50 UT1 (loaded UT1 - UTC). */
ZK_API double ChronelUTCToTAI(double ds50UTC);
ZK_API double ChronelTAIToUTC(double ds50TAI);
ZK_API double ChronelUTCToUT1(double ds50UTC);

/* Greenwich angle in radians, [0, 2pi), at a DS50 UT1 time; fk 4 = FK4, otherwise FK5. */
ZK_API double ChronelThetaGrnwch(double ds50UT1, int32_t fk);

/* Loads daily timing constants ("MJD UT1-UTC(s) xp(arcsec) yp(arcsec)" per line, "#" comments)
   from the file named in a 512-character buffer (the name ends at the first NUL, trailing blanks
   dropped); 0 on success, 2 on failure (one trace-log line naming the line, the loaded table
   unchanged). Every day must be plausible: MJD 15020 to 88069, |UT1-UTC| < 1 s, |xp|, |yp| <= 5". */
ZK_API int32_t ChronelLoadTimeConstFile(const char fileName[512]);
/* Timing constants at a DS50 UTC time: [0] TAI-UTC (s), [1] UT1-UTC (s), [2] UT1-UTC rate (s/day),
   [3] 0 none loaded / 1 interpolated / 2 end value held, [4] polar motion x, [5] y (arcsec). */
ZK_API void ChronelGetTimeConsts(double ds50UTC, double tconst[6]);

#endif
