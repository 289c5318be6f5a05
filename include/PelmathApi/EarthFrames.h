/* Pelmath Earth frames: ECI (inertial of date), EFG (Earth-fixed Greenwich), ECR (EFG with polar
   motion), geodetic LLH, J2000 <-> date and RA/Dec between equinoxes. Positions km, velocities
   km/s, angles deg except the Greenwich angle thetaG (rad); polar motion in arcseconds.
   An export that takes a DS50 time and returns no code answers a NaN or infinite time with one
   trace-log line and NaN outputs. */
#ifndef PELMATH_EARTHFRAMES_H
#define PELMATH_EARTHFRAMES_H

#include "../ZkExport.h"

ZK_API void ECIToEFG(double thetaG, const double posECI[3], const double velECI[3], double posEFG[3],
                     double velEFG[3]);
ZK_API void EFGToECI(double thetaG, const double posEFG[3], const double velEFG[3], double posECI[3],
                     double velECI[3]);
/* As above, the Greenwich angle taken from the time library at a DS50 UTC time. */
ZK_API void ECIToEFGTime(double ds50UTC, const double posECI[3], const double velECI[3], double posEFG[3],
                         double velEFG[3]);
ZK_API void EFGToECITime(double ds50UTC, const double posEFG[3], const double velEFG[3], double posECI[3],
                         double velECI[3]);

ZK_API void EFGToECR(double polarX, double polarY, const double posEFG[3], const double velEFG[3],
                     double posECR[3], double velECR[3]);
ZK_API void ECRToEFG(double polarX, double polarY, const double posECR[3], const double velECR[3],
                     double posEFG[3], double velEFG[3]);
/* Polar motion from the time library's timing constants at a DS50 UTC time (none loaded: 0, 0,
   so ECR and EFG coincide). */
ZK_API void EFGToECRTime(double ds50UTC, const double posEFG[3], const double velEFG[3], double posECR[3],
                         double velECR[3]);
ZK_API void ECRToEFGTime(double ds50UTC, const double posECR[3], const double velECR[3], double posEFG[3],
                         double velEFG[3]);

/* LLH = geodetic latitude (deg), east longitude (deg, [0, 360) on output), height (km). */
ZK_API void LLHToEFGPos(const double metricLLH[3], double metricPos[3]);
ZK_API void EFGPosToLLH(const double metricPos[3], double metricLLH[3]);
ZK_API void LLHToXYZ(double thetaG, const double metricLLH[3], double metricXYZ[3]);
ZK_API void XYZToLLH(double thetaG, const double metricXYZ[3], double metricLLH[3]);
ZK_API void LLHToXYZTime(double ds50UTC, const double metricLLH[3], double metricXYZ[3]);
ZK_API void XYZToLLHTime(double ds50UTC, const double metricXYZ[3], double metricLLH[3]);

/* spectr: 0 N*P with the linearised nutation when nutationTerms < 1 (outputs keep the input
   lengths); 1 N*P; 2 precession only; 3 nutation only. nutationTerms: 4 to 106. */
ZK_API void RotDateToJ2K(int32_t spectr, int32_t nutationTerms, double ds50, const double posDate[3],
                         const double velDate[3], double posJ2K[3], double velJ2K[3]);
ZK_API void RotJ2KToDate(int32_t spectr, int32_t nutationTerms, double ds50, const double posJ2K[3],
                         const double velJ2K[3], double posDate[3], double velDate[3]);
/* TEME of the epoch to the frame of date at ds50. */
ZK_API void TemeEpochToDate(int32_t nutationTerms, double epochDs50, double ds50, const double posEpoch[3],
                            const double velEpoch[3], double posDate[3], double velDate[3]);

/* RA/Dec (deg) of date <-> the mean equinox of yrOfEqnx: 1 start of the year of ds50, 2 J2000,
   3 1950 (DS50 0.0). Return 0, or 2 with zero outputs and one trace-log line when nutationTerms
   is outside 4..106, yrOfEqnx outside 1..3, ds50, RAIn or declIn is NaN or infinite, or the
   result is not finite (a time far outside any meaningful span). */
ZK_API int32_t RotRADec_DateToEqnx(int32_t nutationTerms, int32_t yrOfEqnx, double ds50, double RAIn,
                                   double declIn, double* RAOut, double* declOut);
ZK_API int32_t RotRADec_EqnxToDate(int32_t nutationTerms, int32_t yrOfEqnx, double ds50, double RAIn,
                                   double declIn, double* RAOut, double* declOut);
/* dir 1: true of date at ds50In -> mean of ds50Out; 2: mean of ds50In -> true of date at ds50Out;
   any other value: one trace-log line, outputs not written. */
ZK_API void RotRADecl(int32_t nutationTerms, int32_t dir, double ds50In, double RAIn, double declIn,
                      double ds50Out, double* RAOut, double* declOut);

#endif
