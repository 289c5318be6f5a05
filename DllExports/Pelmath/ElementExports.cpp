// Element conversion exports: metric/degree arguments converted to canonical units, the library
// routine called, the results converted back. Inputs are copied first so outputs may alias them.
// These routines report no errors for degenerate values (NaN comes back as NaN); a null pointer
// is refused with one trace-log line and nothing written (NaN for the exports returning a value).
#include <limits>

#include "DllExports/Pelmath/PelmathDllVarsUtils.h"
#include "Pelmath/ElementConversions.h"
#include "PelmathApi/Elements.h"

using namespace pelmath;
using namespace pelmath::dll;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void stateToHost(const Vec3& pos, const Vec3& vel, double* posOut, double* velOut) {
  posToMetric(pos, posOut);
  velToMetric(vel, velOut);
}

}  // namespace

void KepToPosVel(const double metricKep[6], double pos[3], double vel[3]) {
  if (!nonNull("KepToPosVel", metricKep, pos, vel)) return;
  const Elset k = kepToCanonical(metricKep);
  Vec3 p{}, v{};
  kep2pv(k, p, v);
  stateToHost(p, v, pos, vel);
}

void KepToEqnx(const double metricKep[6], double metricEqnx[6]) {
  if (!nonNull("KepToEqnx", metricKep, metricEqnx)) return;
  tometriceqnx(kep2eqnx(kepToCanonical(metricKep)).data(), metricEqnx);
}

void KepToUVW(const double metricKep[6], double uVec[3], double vVec[3], double wVec[3]) {
  if (!nonNull("KepToUVW", metricKep, uVec, vVec, wVec)) return;
  const Uvwelts f = kep2uvw(kepToCanonical(metricKep));
  rowsToHost({f.u, f.v, f.w}, uVec, vVec, wVec);
}

void ClassToEqnx(const double metricClass[6], double metricEqnx[6]) {
  if (!nonNull("ClassToEqnx", metricClass, metricEqnx)) return;
  tometriceqnx(class2eqnx(classToCanonical(metricClass)).data(), metricEqnx);
}

void EqnxToClass(const double metricEqnx[6], double metricClass[6]) {
  if (!nonNull("EqnxToClass", metricEqnx, metricClass)) return;
  tometricclass(eqnx2class(eqnxToCanonical(metricEqnx)).data(), metricClass);
}

void EqnxToKep(const double metricEqnx[6], double metricKep[6]) {
  if (!nonNull("EqnxToKep", metricEqnx, metricKep)) return;
  tometrickep(eqnx2kep(eqnxToCanonical(metricEqnx)).data(), metricKep);
}

void EqnxToPosVel(const double metricEqnx[6], double pos[3], double vel[3]) {
  if (!nonNull("EqnxToPosVel", metricEqnx, pos, vel)) return;
  const Elset q = eqnxToCanonical(metricEqnx);
  Vec3 p{}, v{};
  eqnx2pv(q, p, v);
  stateToHost(p, v, pos, vel);
}

// The state-to-element routines take km and km/s directly.
void PosVelToEqnx(const double pos[3], const double vel[3], double metricEqnx[6]) {
  if (!nonNull("PosVelToEqnx", pos, vel, metricEqnx)) return;
  tometriceqnx(pv2eqnx(fromHost3(pos), fromHost3(vel)).data(), metricEqnx);
}

void PosVelMuToEqnx(const double pos[3], const double vel[3], double mu, double metricEqnx[6]) {
  if (!nonNull("PosVelMuToEqnx", pos, vel, metricEqnx)) return;
  tometriceqnx(pv2eqnx(fromHost3(pos), fromHost3(vel), mu).data(), metricEqnx);
}

void PosVelToKep(const double pos[3], const double vel[3], double metricKep[6]) {
  if (!nonNull("PosVelToKep", pos, vel, metricKep)) return;
  tometrickep(pv2kep(fromHost3(pos), fromHost3(vel)).data(), metricKep);
}

void PosVelMuToKep(const double pos[3], const double vel[3], double mu, double metricKep[6]) {
  if (!nonNull("PosVelMuToKep", pos, vel, metricKep)) return;
  tometrickep(pv2kep(fromHost3(pos), fromHost3(vel), mu).data(), metricKep);
}

// The frame vectors are not unit vectors and carry no unit conversion: they are built from the
// caller's km and km/s directly.
void PosVelToPTW(const double pos[3], const double vel[3], double uVec[3], double vVec[3], double wVec[3]) {
  if (!nonNull("PosVelToPTW", pos, vel, uVec, vVec, wVec)) return;
  rowsToHost(pv2uvvw(fromHost3(pos), fromHost3(vel)), uVec, vVec, wVec);
}

void PosVelToUUVW(const double pos[3], const double vel[3], double uVec[3], double vVec[3], double wVec[3]) {
  if (!nonNull("PosVelToUUVW", pos, vel, uVec, vVec, wVec)) return;
  rowsToHost(pv2uuvw(fromHost3(pos), fromHost3(vel)), uVec, vVec, wVec);
}

double SolveKepEqtn(const double metricKep[6]) {
  if (!nonNull("SolveKepEqtn", metricKep)) return kNaN;
  return finde(kepToCanonical(metricKep));
}

double CompTrueAnomaly(const double metricKep[6]) {
  if (!nonNull("CompTrueAnomaly", metricKep)) return kNaN;
  return gettrueanomaly(kepToCanonical(metricKep));
}

double AToN(double a) { return a2n(kmtoer(a)) * kRadMinToRevDay; }

double NToA(double n) { return ertokm(n2a(n * kRevDayToRadMin)); }

double KozaiToBrouwer(double eccen, double incli, double nKozai) {
  return kozai2brouwer(eccen, incli * kDegToRad, nKozai * kRevDayToRadMin) * kRadMinToRevDay;
}

double BrouwerToKozai(double eccen, double incli, double nBrouwer) {
  return brouwer2kozai(eccen, incli * kDegToRad, nBrouwer * kRevDayToRadMin) * kRadMinToRevDay;
}

void KepOscToMean(const double metricOscKep[6], double metricMeanKep[6]) {
  if (!nonNull("KepOscToMean", metricOscKep, metricMeanKep)) return;
  tometrickep(keposc2mean(kepToCanonical(metricOscKep)).data(), metricMeanKep);
}

void GetInitialDrag(double semiMajorAxis, double eccen, double* nDotO2, double* bstar) {
  if (!nonNull("GetInitialDrag", nDotO2, bstar)) return;
  double nd = 0.0, bs = 0.0;
  initialdrag(kmtoer(semiMajorAxis), eccen, nd, bs);
  *nDotO2 = nd;
  *bstar = bs;
}
