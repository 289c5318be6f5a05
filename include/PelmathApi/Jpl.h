/* JPL planetary ephemeris: geocentric Sun and Moon from a JPL DE text file, in km, true equator and
   equinox of date. Times are DS50 UTC; file names are 512-character blank-padded buffers. */
#ifndef PELMATH_JPL_H
#define PELMATH_JPL_H

#include "../ZkExport.h"

/* Sets the JPL file and the DS50 span to load at the next request; a loaded file stays in use
   until JplReset. */
ZK_API void JplSetParameters(const char jplFile[512], double ds50Start, double ds50Stop);
/* Copies out the file name and span of the control record. */
ZK_API void JplGetParameters(char jplFile[512], double* ds50Start, double* ds50Stop);
/* Control record back to its defaults (no file, span 0.0 to 36525.0) and loaded data released. */
ZK_API void JplReset(void);
/* Loaded data released; the control record is kept. */
ZK_API void RemoveJpl(void);
/* Sun and Moon positions (km) at a DS50 UTC time. 0 on success; otherwise the outputs are zero
   and the code is returned (the reason is in the trace log). */
ZK_API int32_t JplCompSunMoonPos(double ds50UTC, double sunPos[3], double moonPos[3]);
/* The same as unit vectors and distances (km). */
ZK_API int32_t JplCompSunMoonVec(double ds50UTC, double sunVec[3], double* sunDist, double moonVec[3],
                                 double* moonDist);

#endif
