/* Pelmath element conversions: Keplerian [a km, e, i, M, node, perigee deg], classical [n rev/day,
   e, i, M, node, perigee deg], equinoctial [af, ag, chi, psi, L deg, n rev/day] and position (km) /
   velocity (km/s) forms, Kepler's equation, mean motions, drag terms and the SGP4 -> SGP drag
   conversion. Outputs are cleared on entry; an output may be the same array as an input. */
#ifndef PELMATH_ELEMENTS_H
#define PELMATH_ELEMENTS_H

#include "../ZkExport.h"

ZK_API void KepToPosVel(const double metricKep[6], double pos[3], double vel[3]);
ZK_API void KepToEqnx(const double metricKep[6], double metricEqnx[6]);
/* Radial, in-track and cross-track unit vectors. */
ZK_API void KepToUVW(const double metricKep[6], double uVec[3], double vVec[3], double wVec[3]);
ZK_API void ClassToEqnx(const double metricClass[6], double metricEqnx[6]);
ZK_API void EqnxToClass(const double metricEqnx[6], double metricClass[6]);
ZK_API void EqnxToKep(const double metricEqnx[6], double metricKep[6]);
ZK_API void EqnxToPosVel(const double metricEqnx[6], double pos[3], double vel[3]);
/* State to elements with the current constants' mu, or with mu (km^3/s^2) given; in the Mu form of
   the Keplerian conversion a is still derived from n with the current ke. */
ZK_API void PosVelToEqnx(const double pos[3], const double vel[3], double metricEqnx[6]);
ZK_API void PosVelMuToEqnx(const double pos[3], const double vel[3], double mu, double metricEqnx[6]);
ZK_API void PosVelToKep(const double pos[3], const double vel[3], double metricKep[6]);
ZK_API void PosVelMuToKep(const double pos[3], const double vel[3], double mu, double metricKep[6]);
/* Not normalised, in the units of the inputs: (r x v) x v, v, r x v. */
ZK_API void PosVelToPTW(const double pos[3], const double vel[3], double uVec[3], double vVec[3],
                        double wVec[3]);
/* Not normalised, in the units of the inputs: (r x v) x r, r, r x v. */
ZK_API void PosVelToUUVW(const double pos[3], const double vel[3], double uVec[3], double vVec[3],
                         double wVec[3]);
/* Eccentric anomaly in radians. */
ZK_API double SolveKepEqtn(const double metricKep[6]);
/* True anomaly in degrees, [0, 360). */
ZK_API double CompTrueAnomaly(const double metricKep[6]);
/* Semi-major axis (km) -> mean motion (rev/day), and back. */
ZK_API double AToN(double a);
ZK_API double NToA(double n);
/* Mean motion (rev/day) of the other theory for e, i (deg) and n (rev/day); WGS-72 constants. */
ZK_API double KozaiToBrouwer(double eccen, double incli, double nKozai);
ZK_API double BrouwerToKozai(double eccen, double incli, double nBrouwer);
ZK_API void KepOscToMean(const double metricOscKep[6], double metricMeanKep[6]);
/* From a (km) and e: ndot/2 (rev/day^2) and B* (1/er) of the initial drag table. */
ZK_API void GetInitialDrag(double semiMajorAxis, double eccen, double* nDotO2, double* bstar);

/* Element-set conversion by code. Code 101, SGP4 -> SGP: frArr = [a km, e, i deg, B* 1/er],
   toArr = [ndot/2 rev/day^2, nddot/6 rev/day^3]. Any other code leaves toArr untouched. */
ZK_API void AstroConvFrTo(int32_t xf_Conv, const double frArr[4], double toArr[2]);

#endif
