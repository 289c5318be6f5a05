/* Qel library exports: the store of Qel (SP vector/covariance) messages, keyed by satKey.
   Text arguments are fixed-length, blank-padded buffers without terminator, of exactly the length
   given with each argument: file names, field values and the string array 512, message text 4000
   (50 lines of 80 columns), the one-line message 1500, an epoch text 20, a date-time group 17.
   The double array holds 512 doubles (the array form: positions km, velocities km/s, epochs DS50 UTC,
   UT1 rate ms/day; slots 0-48 and the packed covariance 100-144 are read, the rest is free).
   A code is 0 on success and 2 on failure (or a file service's code); a satKey is -1 on failure and
   0 for a duplicate reported as an error. Outputs are cleared (blanks, zeros) on entry, so a failed
   call leaves them cleared. A null required pointer, or a NaN or infinite number, is refused with
   the failure code (a key of -1; nothing written by a void export) and one trace-log line. */
#ifndef QEL_H
#define QEL_H

#include "ZkExport.h"

/* Returns 0; the library needs no initialisation. Any argument is ignored. */
ZK_API int32_t QelInit(int64_t apPtr);
/* Fills a 128-character buffer with the library's information string. */
ZK_API void QelGetInfo(char infoStr[128]);

/* ---- Files ------------------------------------------------------------------------------------ */

/* Loads every message of a card file (and the files it references) into the store; logs the file
   name and the count line as information. 0, 2 when a message or referenced file failed, or the
   file-open code. Safe beside other loads and saves on other threads. */
ZK_API int32_t QelLoadFile(const char fileName[512]);
/* Saves every record in ascending satKey order: three empty lines, the title line, then each
   record as a multi-line message followed by its maneuver card lines. saveMode 0 replaces the
   file, any other value appends. The file-open code when it cannot be opened; 2 with one line
   naming how many records could not be written; 0 otherwise. The common name is not saved (the
   multi-line form has no place for it). */
ZK_API int32_t QelSaveFile(const char fileName[512], int32_t saveMode);

/* ---- Store ------------------------------------------------------------------------------------ */

/* Removes one record: 0, or 2 when the key is not loaded. */
ZK_API int32_t QelRemoveSat(int64_t satKey);
/* Removes every record: 0. */
ZK_API int32_t QelRemoveAllSats(void);
/* Number of loaded records. */
ZK_API int32_t QelGetCount(void);
/* Every loaded satKey in an order (0 ascending by satellite number and epoch, 1 descending, 2 load
   order, other ascending satKey). satKeys must have room for as many keys as the store holds at the
   moment of the call; prefer QelGetKeys when another thread may load meanwhile. An empty store
   logs a warning and writes nothing. */
ZK_API void QelGetLoaded(int32_t order, int64_t* satKeys);
/* The bounded form of QelGetLoaded: at most maxKeys keys in the same orders; the number written. */
ZK_API int32_t QelGetKeys(int32_t order, int32_t maxKeys, int64_t* satKeys);

/* ---- Adding and updating ------------------------------------------------------------------------ */

/* Adds the message of a text (4000: one-line or concatenated "<>" form); its satKey. */
ZK_API int64_t QelAddSatFrLines(const char qelText[4000]);
/* As QelAddSatFrLines, the satKey returned in *satKey. */
ZK_API void QelAddSatFrLinesML(const char qelText[4000], int64_t* satKey);
/* Adds a record from the array form (string array first, then the double array); its satKey. */
ZK_API int64_t QelAddSatFrFields(const char xsQel[512], const double xaQel[512]);
/* As QelAddSatFrFields, the satKey returned in *satKey. */
ZK_API void QelAddSatFrFieldsML(const char xsQel[512], const double xaQel[512], int64_t* satKey);
/* Replaces a stored record by the array form (string array first). The satellite number, epoch,
   common name and maneuver card lines of the stored record are kept. 0, or 2 (record unchanged)
   when the key is not loaded or the new values are refused. */
ZK_API int32_t QelUpdateSatFrFields(int64_t satKey, const char xsQel[512], const double xaQel[512]);

/* ---- Reading records ---------------------------------------------------------------------------- */

/* A stored record in the array form (string array first, then the double array): 0 or 2. */
ZK_API int32_t QelRetrieveAllData(int64_t satKey, char xsQel[512], double xaQel[512]);
/* One field (index 1 to 42) as text, left-justified in 512 characters: 0 or 2. An index without a
   field gives blanks and 0. */
ZK_API int32_t QelGetField(int64_t satKey, int32_t fieldIndex, char valueStr[512]);
/* One field set from text (512): 0, or 2 when the key is not loaded, the field is the satellite
   number (1) or epoch (3), the text does not read, or the changed record is refused. */
ZK_API int32_t QelSetField(int64_t satKey, int32_t fieldIndex, const char valueStr[512]);
/* Every field at once: 0 or 2. Texts are blank padded to the lengths given; epochs are 17-character
   date-time groups "YYYYDDDHHMMSS.SSS" (UTC); ECI position km, velocity km/s; the UT1 rate ms/day. */
ZK_API int32_t QelGetAllFields(int64_t satKey, int32_t* satNum, char intlDes[8], char epochDtg[17],
                               int32_t* epochRev, double eciPos[3], double eciVel[3], char geoModel[6],
                               int32_t* geoZonals, int32_t* geoTesserals, char dragModel[12],
                               char lunarSolar[3], char solarRadPress[3], char solidEarthTides[3],
                               char inTrackThrust[3], double* ballisticCoef, double* solarRadPressCoef,
                               double* thrustAccel, double* cmOffset, int32_t* f10, int32_t* avgF10,
                               double* avgAp, double* taiMinusUtc, double* ut1MinusUtc, double* ut1Rate,
                               double* polarMotionX, double* polarMotionY, int32_t* nutationTerms,
                               char leapSecondDtg[17], char integratorMode[6], char partials[8],
                               char stepMode[4], char fixedStep[3], char stepSizeSelection[6],
                               double* initialStepSize, double* errorControl, double* wtdRms);
/* A stored record as the multi-line message (4000: up to 50 lines of 80 columns): 0 or 2. */
ZK_API int32_t QelGetLines(int64_t satKey, char qelLines[4000]);

/* ---- Keys ----------------------------------------------------------------------------------------- */

/* satKey of the first loaded record with a satellite number; -1 (logged) when there is none. */
ZK_API int64_t QelGetSatKey(int32_t satNum);
/* As QelGetSatKey, the satKey also returned in *satKey. */
ZK_API int64_t QelGetSatKeyML(int32_t satNum, int64_t* satKey);
/* The standard-mode satKey of a satellite number and epoch text (20, e.g. "2021123010203.456",
   UTC), made without looking in the store; -1 (logged) when the text is not a time. */
ZK_API int64_t QelFieldsToSatKey(int32_t satNum, const char epochDtg[20]);
/* As QelFieldsToSatKey, the satKey returned in *satKey. */
ZK_API void QelFieldsToSatKeyML(int32_t satNum, const char epochDtg[20], int64_t* satKey);

/* ---- Conversions (nothing is stored) -------------------------------------------------------------- */

/* A one-line or concatenated message (4000) to the array form (double array first): 0, or 2 with
   zero and blank arrays when it does not read. */
ZK_API int32_t QelStringToArray(const char qelText[4000], double xaQel[512], char xsQel[512]);
/* The array form (double array first) as the one-line message (1500); blank when it cannot be made. */
ZK_API void QelArrayToQel1Line(const double xaQel[512], const char xsQel[512], char qel1Line[1500]);
/* The array form (double array first) as the multi-line message (4000); blank when it cannot be made. */
ZK_API void QelArrayToQelLines(const double xaQel[512], const char xsQel[512], char qelLines[4000]);
/* A concatenated or one-line message (4000) as the one-line message (1500): 0 or 2. */
ZK_API int32_t QelMultiLineTo1Line(const char qelLines[4000], char qel1Line[1500]);
/* A one-line message (1500) as the multi-line message (4000). Always 0 for any text (the lines are
   left blank when it does not read); 2 only for a null pointer. */
ZK_API int32_t Qel1LineToMultiLine(const char qel1Line[1500], char qelLines[4000]);

#endif
