// Exports of the covariance transforms: metric units pass straight through (km, km/s, rad).
#include <Pelmath.h>

#include "DllExports/Pelmath/PelmathDllVarsUtils.h"
#include "Pelmath/CovarianceEquinoctial.h"
#include "Pelmath/CovariancePropagation.h"
#include "Pelmath/CovarianceRotations.h"
#include "Siblings/Basalon/Vectors.h"

using namespace pelmath;
using namespace pelmath::dll;

namespace {

// A 6x6 covariance of a state (pos, vel) through a library routine; nothing written on a null.
template <class Op>
void covOfState6(const char* name, const double* pos, const double* vel, const double* in, double* out,
                 Op op) {
  if (!nonNull(name, pos, vel, in, out)) return;
  toHost<36>(op(fromHost3(pos), fromHost3(vel), fromHost<36>(in)), out);
}

template <class Op>
void covOfState9(const char* name, const double* pos, const double* vel, const double* in, double* out,
                 Op op) {
  if (!nonNull(name, pos, vel, in, out)) return;
  toHost<81>(op(fromHost3(pos), fromHost3(vel), fromHost<81>(in)), out);
}

Mat6 uvwToPtw(const Vec3& pos, const Vec3& vel, const Mat6& c) {
  return covUvwPtw(pos, vel, c, UvwPtwDirection::kUvwToPtw);
}
Mat6 ptwToUvw(const Vec3& pos, const Vec3& vel, const Mat6& c) {
  return covUvwPtw(pos, vel, c, UvwPtwDirection::kPtwToUvw);
}

}  // namespace

void CovMtxUVWToECI(const double pos[3], const double vel[3], const double uvwCov[36], double eciCov[36]) {
  covOfState6("CovMtxUVWToECI", pos, vel, uvwCov, eciCov, covUvwToXyz);
}

void CovMtxECIToUVW(const double pos[3], const double vel[3], const double eciCov[36], double uvwCov[36]) {
  covOfState6("CovMtxECIToUVW", pos, vel, eciCov, uvwCov, covXyzToUvw);
}

void CovMtxUVWToPTW(const double pos[3], const double vel[3], const double uvwCov[36], double ptwCov[36]) {
  covOfState6("CovMtxUVWToPTW", pos, vel, uvwCov, ptwCov, uvwToPtw);
}

void CovMtxPTWToUVW(const double pos[3], const double vel[3], const double ptwCov[36], double uvwCov[36]) {
  covOfState6("CovMtxPTWToUVW", pos, vel, ptwCov, uvwCov, ptwToUvw);
}

void CovMtxEFGToECI(const double efgCov[36], double eciCov[36], double theta) {
  if (!nonNull("CovMtxEFGToECI", efgCov, eciCov)) return;
  toHost<36>(covEfgToEci(theta, fromHost<36>(efgCov)), eciCov);
}

void CovMtxECIToEFG(const double eciCov[36], double efgCov[36], double theta) {
  if (!nonNull("CovMtxECIToEFG", eciCov, efgCov)) return;
  toHost<36>(covEciToEfg(theta, fromHost<36>(eciCov)), efgCov);
}

void LTA21ToMtx6x6(const double lta21[21], double mtx6x6[36]) {
  if (nonNull("LTA21ToMtx6x6", lta21, mtx6x6)) basalon::lta2sqrmtx(lta21, 6, mtx6x6);
}
void Mtx6x6ToLTA21(const double mtx6x6[36], double lta21[21]) {
  if (nonNull("Mtx6x6ToLTA21", mtx6x6, lta21)) basalon::sqrmtx2lta(mtx6x6, 6, lta21);
}
void LTA45ToMtx9x9(const double lta45[45], double mtx9x9[81]) {
  if (nonNull("LTA45ToMtx9x9", lta45, mtx9x9)) basalon::lta2sqrmtx(lta45, 9, mtx9x9);
}
void Mtx9x9ToLTA45(const double mtx9x9[81], double lta45[45]) {
  if (nonNull("Mtx9x9ToLTA45", mtx9x9, lta45)) basalon::sqrmtx2lta(mtx9x9, 9, lta45);
}

void CovMtxUVWToEqnx(const double pos[3], const double vel[3], const double uvwCov[36], double eqnxCov[36]) {
  covOfState6("CovMtxUVWToEqnx", pos, vel, uvwCov, eqnxCov, covUvwToEqnx);
}

void CovMtxEqnxToUVW(const double pos[3], const double vel[3], const double eqnxCov[36], double uvwCov[36]) {
  covOfState6("CovMtxEqnxToUVW", pos, vel, eqnxCov, uvwCov, covEqnxToUvw);
}

void CovMtxEqnxToUVW9x9(const double pos[3], const double vel[3], const double eqnxCov[81],
                        double uvwCov[81]) {
  covOfState9("CovMtxEqnxToUVW9x9", pos, vel, eqnxCov, uvwCov, covEqnxToUvw9);
}

void CovMtxEqnxToECI9x9(const double pos[3], const double vel[3], const double eqnxCov[81],
                        double eciCov[81]) {
  covOfState9("CovMtxEqnxToECI9x9", pos, vel, eqnxCov, eciCov, covEqnxToEci9);
}

void CovMtxECIToEqnx(const double pos[3], const double vel[3], const double eciCov[81], double eqnxCov[81]) {
  covOfState9("CovMtxECIToEqnx", pos, vel, eciCov, eqnxCov, covEciToEqnx9);
}

void CovMtxUpdate(const double cov9x9[81], const double phi[54], double cov6x6[36], double s1, double s2) {
  if (!nonNull("CovMtxUpdate", cov9x9, phi, cov6x6)) return;
  // Column-by-column layout: value k is Phi(k mod 6, k div 6).
  std::array<double, 54> rowMajor;
  for (size_t k = 0; k < 54; ++k) rowMajor[(k % 6) * 9 + k / 6] = phi[k];
  toHost<36>(propagateCov(rowMajor, fromHost<81>(cov9x9), s1, s2), cov6x6);
}

void PropCovFrState(const double phi[54], const double cov9x9[81], double cov6x6[36], double s1, double s2) {
  if (!nonNull("PropCovFrState", phi, cov9x9, cov6x6)) return;
  toHost<36>(propagateCov(std::span<const double, 54>(phi, 54), fromHost<81>(cov9x9), s1, s2), cov6x6);
}
