/* Pelmath covariance transforms. 6x6 (36 doubles) and 9x9 (81 doubles) covariances: rows and
   columns are three position then three velocity components (km, km/s) of the named frame, then
   for 9x9 three further parameters that rotations pass through. Inputs are symmetric, so row- and
   column-major storage give the same values. Equinoctial covariances are in the order af, ag, L,
   n, chi, psi. Packed lower triangles hold (1,1), (2,1), (2,2), (3,1), ... row by row. */
#ifndef PELMATH_COVARIANCE_H
#define PELMATH_COVARIANCE_H

#include "../ZkExport.h"

ZK_API void CovMtxUVWToECI(const double pos[3], const double vel[3], const double uvwCov[36], double eciCov[36]);
ZK_API void CovMtxECIToUVW(const double pos[3], const double vel[3], const double eciCov[36], double uvwCov[36]);
ZK_API void CovMtxUVWToPTW(const double pos[3], const double vel[3], const double uvwCov[36], double ptwCov[36]);
ZK_API void CovMtxPTWToUVW(const double pos[3], const double vel[3], const double ptwCov[36], double uvwCov[36]);
/* theta: Greenwich angle in radians. */
ZK_API void CovMtxEFGToECI(const double efgCov[36], double eciCov[36], double theta);
ZK_API void CovMtxECIToEFG(const double eciCov[36], double efgCov[36], double theta);

ZK_API void LTA21ToMtx6x6(const double lta21[21], double mtx6x6[36]);
ZK_API void Mtx6x6ToLTA21(const double mtx6x6[36], double lta21[21]);
ZK_API void LTA45ToMtx9x9(const double lta45[45], double mtx9x9[81]);
ZK_API void Mtx9x9ToLTA45(const double mtx9x9[81], double lta45[45]);

/* Equinoctial covariances. A hyperbolic state logs "G1Mat: Hyperbolic" and gives zeros. */
ZK_API void CovMtxUVWToEqnx(const double pos[3], const double vel[3], const double uvwCov[36], double eqnxCov[36]);
ZK_API void CovMtxEqnxToUVW(const double pos[3], const double vel[3], const double eqnxCov[36], double uvwCov[36]);
ZK_API void CovMtxEqnxToUVW9x9(const double pos[3], const double vel[3], const double eqnxCov[81], double uvwCov[81]);
ZK_API void CovMtxEqnxToECI9x9(const double pos[3], const double vel[3], const double eqnxCov[81], double eciCov[81]);
ZK_API void CovMtxECIToEqnx(const double pos[3], const double vel[3], const double eciCov[81], double eqnxCov[81]);

/* Propagation of a 9x9 equinoctial covariance to 6x6 through a 6x9 transition matrix Phi:
   out = m Phi (C + longitude noise) Phi^T, m = s1^2 when s1 > 1, else 1; (s2/100)^2/m is added
   to the mean-longitude variance. CovMtxUpdate reads Phi column by column (value k is
   Phi(k mod 6, k div 6)), PropCovFrState row by row (value k is Phi(k div 9, k mod 9)). */
ZK_API void CovMtxUpdate(const double cov9x9[81], const double phi[54], double cov6x6[36], double s1, double s2);
ZK_API void PropCovFrState(const double phi[54], const double cov9x9[81], double cov6x6[36], double s1, double s2);

#endif
