/* Tarvexon library exports: the store of external ephemerides (time-tagged position/velocity points
   with an optional covariance per point), keyed by satKey, and their interpolation.
   Text arguments are fixed-length, blank-padded buffers without terminator, of exactly the length
   given with each argument: file names, field values and lines 512, the card label 128, the
   satellite name 8, an epoch text 20.
   Times are DS50 UTC (days since 1950 January 0.0); MSE is minutes since the time of the record's
   first point. Positions are km and velocities km/s in the record's coordinate system (coordSys:
   1 ECI (TEME of date), 2 J2K, 3 EFG, 4 ECR, 15 to 20 site and mobile kinds). A packed covariance is
   the 6x6 lower triangle row by row (21 doubles); a 6x6 covariance output is 36 doubles (the full
   symmetric matrix, so row- and column-major alike), all zero when the point carries none.
   A code is 0 on success and 2 on failure; a satKey is -1 on failure and 0 for a duplicate
   reported as an error. Outputs are cleared (blanks, zeros) on entry, so a failed call leaves them
   cleared. A null required pointer, or a NaN or infinite number, is refused with the failure code
   (a key of -1; nothing written by a void export) and one trace-log line. */
#ifndef TARVEXON_H
#define TARVEXON_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. Any argument is ignored. */
ZK_API int32_t TarvexInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void TarvexGetInfo(char infoStr[128]);

/* ---- Satellites and points ------------------------------------------------------------------- */

/* A new ephemeris without points: satellite number, epoch (DS50 UTC), Earth radius (km), ke
   (er^1.5/min) and coordinate argument (its last digit is the system, the tens are kept apart: 12 is
   system 2; 15 to 20 are taken whole). Only systems 1 to 4 and 15 to 20 are accepted. Its satKey. */
ZK_API int64_t TarvexAddSat(int32_t satNum, double epochDs50UTC, double earthRadius, double ke,
                            int32_t coordSys);
/* Appends one point (time DS50 UTC, pos km, vel km/s, revolution number) without covariance. A
   point at or before the last stored time is dropped and the call still gives 0; 2 when the key is
   not loaded. Safe beside readers of the same satellite on other threads: every append runs as a
   writer of the store, so no reader meets a point half stored or the points being moved. */
ZK_API int32_t TarvexAddSatEphem(int64_t satKey, double ds50UTC, const double pos[3], const double vel[3],
                                 int32_t revNum);
/* As TarvexAddSatEphem, with a packed covariance (21) stored with the point when some value is
   not zero (all zero: the point has no covariance). */
ZK_API int32_t TarvexAddSatEphemCovMtx(int64_t satKey, double ds50UTC, const double pos[3],
                                       const double vel[3], int32_t revNum, const double covMtx[21]);
/* As TarvexAddSatEphemCovMtx, the covariance being the first 21 doubles of an extension array
   (only those 21 are read; the array needs no more). */
ZK_API int32_t TarvexAddSatEphemExt(int64_t satKey, double ds50UTC, const double pos[3], const double vel[3],
                                    int32_t revNum, const double extArr[21]);
/* Removes one ephemeris: 0, or 2 when the key is not loaded. */
ZK_API int32_t TarvexRemoveSat(int64_t satKey);
/* Removes every ephemeris: 0. */
ZK_API int32_t TarvexRemoveAllSats(void);
/* Number of loaded ephemerides. */
ZK_API int32_t TarvexGetCount(void);
/* Every loaded satKey in an order (0 ascending by satellite number, coordinate system and epoch,
   1 descending, 2 load order, other ascending satKey). satKeys must have room for as many keys as
   the store holds at the moment of the call; prefer TarvexGetKeys when another thread may add
   meanwhile. An empty store logs a warning (as information) and writes nothing. */
ZK_API void TarvexGetLoaded(int32_t order, int64_t* satKeys);
/* The bounded form of TarvexGetLoaded: at most maxKeys keys in the same orders; the number written. */
ZK_API int32_t TarvexGetKeys(int32_t order, int32_t maxKeys, int64_t* satKeys);

/* ---- Keys ------------------------------------------------------------------------------------- */

/* satKey of the first loaded ephemeris with a satellite number; -1 (logged) when there is none. */
ZK_API int64_t TarvexGetSatKey(int32_t satNum);
/* The standard-mode satKey of a satellite number and epoch text (20, e.g. "2021123010203.456" or
   "21123010203.456", UTC; blanks after its first two characters read as "0"), made without looking
   in the store; -1 (logged) when the text is not a time. */
ZK_API int64_t TarvexFieldsToSatKey(int32_t satNum, const char epochDtg[20]);

/* ---- Reading records -------------------------------------------------------------------------- */

/* Number of points: 0 (also for an ephemeris without points) or 2. */
ZK_API int32_t TarvexGetNumPts(int64_t satKey, int32_t* numPts);
/* Times (DS50 UTC) of the first and last point: 0, or 2 when the key is not loaded or the ephemeris
   has no points. */
ZK_API int32_t TarvexStartEndTime(int64_t satKey, double* startDs50UTC, double* endDs50UTC);
/* The card line naming the ephemeris file, "EPHFIL = " and the file name, in 512 characters: 0 or 2. */
ZK_API int32_t TarvexGetLine(int64_t satKey, char line[512]);

/* ---- State at a time or at a point ------------------------------------------------------------ */
/* A request outside the span of the points, a bad point index, or points too sparse to interpolate
   give 2. The revolution number is carried across ascending-node crossings. */

/* State at a DS50 UTC time; its MSE. */
ZK_API int32_t TarvexDs50UTC(int64_t satKey, double ds50UTC, double* mse, double pos[3], double vel[3],
                             int32_t* revNum);
/* State at an MSE; its DS50 UTC time. */
ZK_API int32_t TarvexMse(int64_t satKey, double mse, double* ds50UTC, double pos[3], double vel[3],
                         int32_t* revNum);
/* Stored point of a 1-based index; its DS50 UTC time. */
ZK_API int32_t TarvexGetEphemeris(int64_t satKey, int32_t index, double* ds50UTC, double pos[3], double vel[3],
                                  int32_t* revNum);
/* As TarvexDs50UTC, with the 6x6 covariance (36). */
ZK_API int32_t TarvexDs50UTCCovMtx(int64_t satKey, double ds50UTC, double* mse, double pos[3], double vel[3],
                                   int32_t* revNum, double covMtx[36]);
/* As TarvexMse, with the 6x6 covariance (36). */
ZK_API int32_t TarvexMseCovMtx(int64_t satKey, double mse, double* ds50UTC, double pos[3], double vel[3],
                               int32_t* revNum, double covMtx[36]);
/* As TarvexGetEphemeris, with the 6x6 covariance (36). */
ZK_API int32_t TarvexGetCovMtx(int64_t satKey, int32_t index, double* ds50UTC, double pos[3], double vel[3],
                               int32_t* revNum, double covMtx[36]);
/* State in one array of 128 doubles. xtenType says what value is: 1 MSE, 2 DS50 UTC, 3 a 1-based
   point index (truncated). Out (0-based): [0] MSE, [1] DS50 UTC, [2..4] pos, [5..7] vel, [8] revNum,
   [9..29] the packed covariance as stored or interpolated, the rest zero. Another type gives 2. */
ZK_API int32_t TarvexXten(int64_t satKey, int32_t xtenType, double value, double xtenArr[128]);

/* ---- Fields ----------------------------------------------------------------------------------- */

/* One field as text, left-justified in 512 characters: 1 satNum, 2 epoch ("YYDDDHHMMSS.SSS", UTC),
   3 Earth radius km, 4 ke, 5-7 position of point 1 km, 8-10 its velocity km/s, 11 coordSys (one
   column, "*" above 9), 12 number of points, 13 file name, 14 satellite name, 15 card label.
   Another index gives blanks and 0. 2 when the key is not loaded or the ephemeris has no points. */
ZK_API int32_t TarvexGetField(int64_t satKey, int32_t fieldIndex, char valueStr[512]);
/* One field set from text (512, left-adjusted first): 11 coordSys (an integer, 1 to 4 or 15 to 20;
   anything else gives 2 and changes nothing), 14 satellite name (first 8 characters), 15 card label
   (first 128). Another index changes nothing and gives 0. 2 when the key is not loaded. */
ZK_API int32_t TarvexSetField(int64_t satKey, int32_t fieldIndex, const char valueStr[512]);
/* Every field at once: 0 or 2. Epoch DS50 UTC, Earth radius km, ke er^1.5/min; pos and vel are
   those of point 1 (zero when there are no points). */
ZK_API int32_t TarvexGetAllFields(int64_t satKey, int32_t* satNum, char satName[8], char cardLabel[128],
                                  double* epochDs50UTC, double* earthRadius, double* ke, double pos[3],
                                  double vel[3], int32_t* coordSys, int32_t* numPts, char fileName[512]);

/* ---- Loading and saving ----------------------------------------------------------------------- */

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
