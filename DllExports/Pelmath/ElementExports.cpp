// Element conversion exports: metric/degree arguments converted to canonical units, the library
// routine called, the results converted back. Inputs are copied first so outputs may alias them.
#include <algorithm>
#include <array>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "PelmathApi/Elements.h"

using pelmath::Elset;
using pelmath::Vec3;

namespace {

Elset load6(const double* v) {
  Elset e;
  std::copy(v, v + 6, e.begin());
  return e;
}

Vec3 load3(const double* v) { return {v[0], v[1], v[2]}; }

void clear(double* v, int n) { std::fill(v, v + n, 0.0); }

Elset canonicalKep(const double* metricKep) {
  Elset k = load6(metricKep);
  pelmath::tocanonicalkep(k.data(), k.data());
  return k;
}

Elset canonicalEqnx(const double* metricEqnx) {
  Elset q = load6(metricEqnx);
  pelmath::tocanonicaleqnx(q.data(), q.data());
  return q;
}

void storeState(const Vec3& pos, const Vec3& vel, double* posOut, double* velOut) {
  pelmath::tometricpos(pos.data(), posOut);
  pelmath::tometricvel(vel.data(), velOut);
}

void storeRows(const pelmath::Mat3& m, double* u, double* v, double* w) {
  std::copy(m[0].begin(), m[0].end(), u);
  std::copy(m[1].begin(), m[1].end(), v);
  std::copy(m[2].begin(), m[2].end(), w);
}

}  // namespace

void KepToPosVel(const double metricKep[6], double pos[3], double vel[3]) {
  const Elset k = canonicalKep(metricKep);
  clear(pos, 3);
  clear(vel, 3);
  Vec3 p{}, v{};
  pelmath::kep2pv(k, p, v);
  storeState(p, v, pos, vel);
}

void KepToEqnx(const double metricKep[6], double metricEqnx[6]) {
  const Elset k = canonicalKep(metricKep);
  clear(metricEqnx, 6);
  pelmath::tometriceqnx(pelmath::kep2eqnx(k).data(), metricEqnx);
}

void KepToUVW(const double metricKep[6], double uVec[3], double vVec[3], double wVec[3]) {
  const Elset k = canonicalKep(metricKep);
  clear(uVec, 3);
  clear(vVec, 3);
  clear(wVec, 3);
  const pelmath::Uvwelts f = pelmath::kep2uvw(k);
  storeRows({f.u, f.v, f.w}, uVec, vVec, wVec);
}

void ClassToEqnx(const double metricClass[6], double metricEqnx[6]) {
  Elset c = load6(metricClass);
  pelmath::tocanonicalclass(c.data(), c.data());
  clear(metricEqnx, 6);
  pelmath::tometriceqnx(pelmath::class2eqnx(c).data(), metricEqnx);
}

void EqnxToClass(const double metricEqnx[6], double metricClass[6]) {
  const Elset q = canonicalEqnx(metricEqnx);
  clear(metricClass, 6);
  pelmath::tometricclass(pelmath::eqnx2class(q).data(), metricClass);
}

void EqnxToKep(const double metricEqnx[6], double metricKep[6]) {
  const Elset q = canonicalEqnx(metricEqnx);
  clear(metricKep, 6);
  pelmath::tometrickep(pelmath::eqnx2kep(q).data(), metricKep);
}

void EqnxToPosVel(const double metricEqnx[6], double pos[3], double vel[3]) {
  const Elset q = canonicalEqnx(metricEqnx);
  clear(pos, 3);
  clear(vel, 3);
  Vec3 p{}, v{};
  pelmath::eqnx2pv(q, p, v);
  storeState(p, v, pos, vel);
}

// The state-to-element routines take km and km/s directly.
void PosVelToEqnx(const double pos[3], const double vel[3], double metricEqnx[6]) {
  const Vec3 p = load3(pos), v = load3(vel);
  clear(metricEqnx, 6);
  pelmath::tometriceqnx(pelmath::pv2eqnx(p, v).data(), metricEqnx);
}

void PosVelMuToEqnx(const double pos[3], const double vel[3], double mu, double metricEqnx[6]) {
  const Vec3 p = load3(pos), v = load3(vel);
  clear(metricEqnx, 6);
  pelmath::tometriceqnx(pelmath::pv2eqnx(p, v, mu).data(), metricEqnx);
}

void PosVelToKep(const double pos[3], const double vel[3], double metricKep[6]) {
  const Vec3 p = load3(pos), v = load3(vel);
  clear(metricKep, 6);
  pelmath::tometrickep(pelmath::pv2kep(p, v).data(), metricKep);
}

void PosVelMuToKep(const double pos[3], const double vel[3], double mu, double metricKep[6]) {
  const Vec3 p = load3(pos), v = load3(vel);
  clear(metricKep, 6);
  pelmath::tometrickep(pelmath::pv2kep(p, v, mu).data(), metricKep);
}

// The frame vectors are not unit vectors and carry no unit conversion: they are built from the
// caller's km and km/s directly.
void PosVelToPTW(const double pos[3], const double vel[3], double uVec[3], double vVec[3], double wVec[3]) {
  const Vec3 p = load3(pos), v = load3(vel);
  clear(uVec, 3);
  clear(vVec, 3);
  clear(wVec, 3);
  storeRows(pelmath::pv2uvvw(p, v), uVec, vVec, wVec);
}

void PosVelToUUVW(const double pos[3], const double vel[3], double uVec[3], double vVec[3], double wVec[3]) {
  const Vec3 p = load3(pos), v = load3(vel);
  clear(uVec, 3);
  clear(vVec, 3);
  clear(wVec, 3);
  storeRows(pelmath::pv2uuvw(p, v), uVec, vVec, wVec);
}

double SolveKepEqtn(const double metricKep[6]) { return pelmath::finde(canonicalKep(metricKep)); }

double CompTrueAnomaly(const double metricKep[6]) { return pelmath::gettrueanomaly(canonicalKep(metricKep)); }

double AToN(double a) { return pelmath::a2n(pelmath::kmtoer(a)) * pelmath::kRadMinToRevDay; }

double NToA(double n) { return pelmath::ertokm(pelmath::n2a(n * pelmath::kRevDayToRadMin)); }

double KozaiToBrouwer(double eccen, double incli, double nKozai) {
  return pelmath::kozai2brouwer(eccen, incli * pelmath::kDegToRad, nKozai * pelmath::kRevDayToRadMin) *
         pelmath::kRadMinToRevDay;
}

double BrouwerToKozai(double eccen, double incli, double nBrouwer) {
  return pelmath::brouwer2kozai(eccen, incli * pelmath::kDegToRad, nBrouwer * pelmath::kRevDayToRadMin) *
         pelmath::kRadMinToRevDay;
}

void KepOscToMean(const double metricOscKep[6], double metricMeanKep[6]) {
  const Elset k = canonicalKep(metricOscKep);
  clear(metricMeanKep, 6);
  pelmath::tometrickep(pelmath::keposc2mean(k).data(), metricMeanKep);
}

void GetInitialDrag(double semiMajorAxis, double eccen, double* nDotO2, double* bstar) {
  double nd = 0.0, bs = 0.0;
  pelmath::initialdrag(pelmath::kmtoer(semiMajorAxis), eccen, nd, bs);
  *nDotO2 = nd;
  *bstar = bs;
}
