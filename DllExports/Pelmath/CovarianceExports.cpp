// Exports of the covariance transforms: metric units pass straight through (km, km/s, rad).
#include <Pelmath.h>

#include <algorithm>

#include "Pelmath/CovarianceEquinoctial.h"
#include "Pelmath/CovariancePropagation.h"
#include "Pelmath/CovarianceRotations.h"
#include "Siblings/Basalon/Vectors.h"

using namespace pelmath;

void CovMtxUVWToECI(const double pos[3], const double vel[3], const double uvwCov[36], double eciCov[36]) {
  covuvw2xyz(pos, vel, uvwCov, eciCov);
}

void CovMtxECIToUVW(const double pos[3], const double vel[3], const double eciCov[36], double uvwCov[36]) {
  covxyz2uvw(pos, vel, eciCov, uvwCov);
}

void CovMtxUVWToPTW(const double pos[3], const double vel[3], const double uvwCov[36], double ptwCov[36]) {
  covuvwptw(pos, vel, uvwCov, ptwCov, 0);
}

void CovMtxPTWToUVW(const double pos[3], const double vel[3], const double ptwCov[36], double uvwCov[36]) {
  covuvwptw(pos, vel, ptwCov, uvwCov, 1);
}

void CovMtxEFGToECI(const double efgCov[36], double eciCov[36], double theta) { covefg2eci(theta, efgCov, eciCov); }

void CovMtxECIToEFG(const double eciCov[36], double efgCov[36], double theta) { coveci2efg(theta, eciCov, efgCov); }

void LTA21ToMtx6x6(const double lta21[21], double mtx6x6[36]) { basalon::lta2sqrmtx(lta21, 6, mtx6x6); }
void Mtx6x6ToLTA21(const double mtx6x6[36], double lta21[21]) { basalon::sqrmtx2lta(mtx6x6, 6, lta21); }
void LTA45ToMtx9x9(const double lta45[45], double mtx9x9[81]) { basalon::lta2sqrmtx(lta45, 9, mtx9x9); }
void Mtx9x9ToLTA45(const double mtx9x9[81], double lta45[45]) { basalon::sqrmtx2lta(mtx9x9, 9, lta45); }

void CovMtxUVWToEqnx(const double pos[3], const double vel[3], const double uvwCov[36], double eqnxCov[36]) {
  covuvw2eqnx(pos, vel, uvwCov, eqnxCov);
}

void CovMtxEqnxToUVW(const double pos[3], const double vel[3], const double eqnxCov[36], double uvwCov[36]) {
  coveqnx2uvw(pos, vel, eqnxCov, uvwCov);
}

void CovMtxEqnxToUVW9x9(const double pos[3], const double vel[3], const double eqnxCov[81], double uvwCov[81]) {
  coveqnx2uvw9(pos, vel, eqnxCov, uvwCov);
}

void CovMtxEqnxToECI9x9(const double pos[3], const double vel[3], const double eqnxCov[81], double eciCov[81]) {
  coveqnx2eci9(pos, vel, eqnxCov, eciCov);
}

void CovMtxECIToEqnx(const double pos[3], const double vel[3], const double eciCov[81], double eqnxCov[81]) {
  coveci2eqnx9(pos, vel, eciCov, eqnxCov);
}

void CovMtxUpdate(const double cov9x9[81], const double phi[54], double cov6x6[36], double s1, double s2) {
  // Column-by-column layout: value k is Phi(k mod 6, k div 6).
  double rowMajor[54];
  for (int k = 0; k < 54; ++k) rowMajor[(k % 6) * 9 + k / 6] = phi[k];
  propcov(rowMajor, cov9x9, cov6x6, s1, s2);
}

void PropCovFrState(const double phi[54], const double cov9x9[81], double cov6x6[36], double s1, double s2) {
  std::fill(cov6x6, cov6x6 + 36, 0.0);
  propcov(phi, cov9x9, cov6x6, s1, s2);
}
