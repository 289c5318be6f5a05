// Earth-frame exports: metric/degree arguments converted to the library-level routines' units,
// and the Greenwich angle and polar motion of the "Time" forms taken from Chronel.
#include <cmath>

#include "DllExports/Pelmath/PelmathDllVarsUtils.h"
#include "Pelmath/EarthFrames.h"
#include "Pelmath/PrecessionNutation.h"
#include "PelmathApi/EarthFrames.h"

using namespace pelmath;
using namespace pelmath::dll;

namespace {

// A state (position, velocity) through a library rotation; nothing written on a null pointer.
template <class Op>
void rotateState(const char* name, const double* posIn, const double* velIn, double* posOut, double* velOut,
                 Op op) {
  if (!nonNull(name, posIn, velIn, posOut, velOut)) return;
  Vec3 p, v;
  op(fromHost3(posIn), fromHost3(velIn), p, v);
  toHost3(p, posOut);
  toHost3(v, velOut);
}

void eciToEfg(const char* name, double thetaG, const double* posECI, const double* velECI, double* posEFG,
              double* velEFG) {
  rotateState(name, posECI, velECI, posEFG, velEFG,
              [thetaG](const Vec3& p, const Vec3& v, Vec3& po, Vec3& vo) { eci2efg(thetaG, p, v, po, vo); });
}

void efgToEci(const char* name, double thetaG, const double* posEFG, const double* velEFG, double* posECI,
              double* velECI) {
  rotateState(name, posEFG, velEFG, posECI, velECI,
              [thetaG](const Vec3& p, const Vec3& v, Vec3& po, Vec3& vo) { efg2eci(thetaG, p, v, po, vo); });
}

void efgToEcr(const char* name, double xp, double yp, const double* posEFG, const double* velEFG,
              double* posECR, double* velECR) {
  rotateState(name, posEFG, velEFG, posECR, velECR,
              [xp, yp](const Vec3& p, const Vec3& v, Vec3& po, Vec3& vo) { efg2ecr(xp, yp, p, v, po, vo); });
}

void ecrToEfg(const char* name, double xp, double yp, const double* posECR, const double* velECR,
              double* posEFG, double* velEFG) {
  rotateState(name, posECR, velECR, posEFG, velEFG,
              [xp, yp](const Vec3& p, const Vec3& v, Vec3& po, Vec3& vo) { ecr2efg(xp, yp, p, v, po, vo); });
}

void llhToXyz(const char* name, double thetaG, const double* metricLLH, double* metricXYZ) {
  if (!nonNull(name, metricLLH, metricXYZ)) return;
  Vec3 xyz;
  llh2xyz(thetaG, llhToCanonical(metricLLH), xyz);
  posToMetric(xyz, metricXYZ);
}

void xyzToLlh(const char* name, double thetaG, const double* metricXYZ, double* metricLLH) {
  if (!nonNull(name, metricXYZ, metricLLH)) return;
  Vec3 llh;
  xyz2llh(thetaG, posToCanonical(metricXYZ), llh);
  llhToMetric(llh, metricLLH);
}

// The year-of-equinox code of the RA/Dec exports (1, 2, 3).
bool equinoxYearOf(int32_t yrOfEqnx, EquinoxYear& year) {
  switch (yrOfEqnx) {
    case 1:
      year = EquinoxYear::kStartOfYear;
      return true;
    case 2:
      year = EquinoxYear::kJ2000;
      return true;
    case 3:
      year = EquinoxYear::kDs50Zero;
      return true;
    default:
      return false;
  }
}

using RaDecRotation = void (*)(int, EquinoxYear, double, double, double, double&, double&);

// The two RA/Dec equinox rotations: outputs zeroed first, then the checks under the export's own
// name, then the rotation in radians. A result that is not finite (a time far outside any
// ephemeris) is refused as well, outputs left zero.
int32_t rotateRaDec(const char* name, RaDecRotation rotation, int32_t nutationTerms, int32_t yrOfEqnx,
                    double ds50, double raDeg, double decDeg, double* raOut, double* decOut) {
  if (!nonNull(name, raOut, decOut)) return basalon::kResultFail;
  *raOut = *decOut = 0.0;
  if (nutationTerms < 4 || nutationTerms > kNutation1980Terms)
    return basalon::failf("%s: nutation terms is outside of its valid range (4-106)", name);
  EquinoxYear year;
  if (!equinoxYearOf(yrOfEqnx, year))
    return basalon::failf("%s: year of equinox is outside of its valid range (1-3)", name);
  if (!allFinite(name, {ds50, raDeg, decDeg})) return basalon::kResultFail;
  double ra, dec;
  rotation(nutationTerms, year, ds50, raDeg * kDegToRad, decDeg * kDegToRad, ra, dec);
  if (!std::isfinite(ra) || !std::isfinite(dec)) return basalon::failf("%s: result is NaN or infinite", name);
  *raOut = ra * kRadToDeg;
  *decOut = dec * kRadToDeg;
  return basalon::kResultOk;
}

// The direction code of RotRADecl (1 or 2).
bool trueMeanDirectionOf(int32_t dir, TrueMeanDirection& direction) {
  if (dir != 1 && dir != 2) return false;
  direction = dir == 1 ? TrueMeanDirection::kTrueToMean : TrueMeanDirection::kMeanToTrue;
  return true;
}

}  // namespace

void ECIToEFG(double thetaG, const double posECI[3], const double velECI[3], double posEFG[3],
              double velEFG[3]) {
  eciToEfg("ECIToEFG", thetaG, posECI, velECI, posEFG, velEFG);
}

void EFGToECI(double thetaG, const double posEFG[3], const double velEFG[3], double posECI[3],
              double velECI[3]) {
  efgToEci("EFGToECI", thetaG, posEFG, velEFG, posECI, velECI);
}

void ECIToEFGTime(double ds50UTC, const double posECI[3], const double velECI[3], double posEFG[3],
                  double velEFG[3]) {
  if (!timeUsable("ECIToEFGTime", ds50UTC, {{posEFG, 3}, {velEFG, 3}})) return;
  eciToEfg("ECIToEFGTime", thetaAtUtc(ds50UTC), posECI, velECI, posEFG, velEFG);
}

void EFGToECITime(double ds50UTC, const double posEFG[3], const double velEFG[3], double posECI[3],
                  double velECI[3]) {
  if (!timeUsable("EFGToECITime", ds50UTC, {{posECI, 3}, {velECI, 3}})) return;
  efgToEci("EFGToECITime", thetaAtUtc(ds50UTC), posEFG, velEFG, posECI, velECI);
}

void EFGToECR(double polarX, double polarY, const double posEFG[3], const double velEFG[3], double posECR[3],
              double velECR[3]) {
  efgToEcr("EFGToECR", polarX, polarY, posEFG, velEFG, posECR, velECR);
}

void ECRToEFG(double polarX, double polarY, const double posECR[3], const double velECR[3], double posEFG[3],
              double velEFG[3]) {
  ecrToEfg("ECRToEFG", polarX, polarY, posECR, velECR, posEFG, velEFG);
}

// Without timing constants the pole offsets are 0 and the rotation is the identity: the input
// comes back unchanged (never a zeroed state that would pass for a position).
void EFGToECRTime(double ds50UTC, const double posEFG[3], const double velEFG[3], double posECR[3],
                  double velECR[3]) {
  if (!timeUsable("EFGToECRTime", ds50UTC, {{posECR, 3}, {velECR, 3}})) return;
  double xp, yp;
  polarAtUtc(ds50UTC, xp, yp);
  efgToEcr("EFGToECRTime", xp, yp, posEFG, velEFG, posECR, velECR);
}

void ECRToEFGTime(double ds50UTC, const double posECR[3], const double velECR[3], double posEFG[3],
                  double velEFG[3]) {
  if (!timeUsable("ECRToEFGTime", ds50UTC, {{posEFG, 3}, {velEFG, 3}})) return;
  double xp, yp;
  polarAtUtc(ds50UTC, xp, yp);
  ecrToEfg("ECRToEFGTime", xp, yp, posECR, velECR, posEFG, velEFG);
}

void LLHToEFGPos(const double metricLLH[3], double metricPos[3]) {
  if (!nonNull("LLHToEFGPos", metricLLH, metricPos)) return;
  Vec3 efg;
  llh2efg(llhToCanonical(metricLLH), efg);
  posToMetric(efg, metricPos);
}

void EFGPosToLLH(const double metricPos[3], double metricLLH[3]) {
  if (!nonNull("EFGPosToLLH", metricPos, metricLLH)) return;
  Vec3 llh;
  efg2llh(posToCanonical(metricPos), llh);
  llhToMetric(llh, metricLLH);
}

void LLHToXYZ(double thetaG, const double metricLLH[3], double metricXYZ[3]) {
  llhToXyz("LLHToXYZ", thetaG, metricLLH, metricXYZ);
}

void XYZToLLH(double thetaG, const double metricXYZ[3], double metricLLH[3]) {
  xyzToLlh("XYZToLLH", thetaG, metricXYZ, metricLLH);
}

void LLHToXYZTime(double ds50UTC, const double metricLLH[3], double metricXYZ[3]) {
  if (!timeUsable("LLHToXYZTime", ds50UTC, {{metricXYZ, 3}})) return;
  llhToXyz("LLHToXYZTime", thetaAtUtc(ds50UTC), metricLLH, metricXYZ);
}

void XYZToLLHTime(double ds50UTC, const double metricXYZ[3], double metricLLH[3]) {
  if (!timeUsable("XYZToLLHTime", ds50UTC, {{metricLLH, 3}})) return;
  xyzToLlh("XYZToLLHTime", thetaAtUtc(ds50UTC), metricXYZ, metricLLH);
}

void RotDateToJ2K(int32_t spectr, int32_t nutationTerms, double ds50, const double posDate[3],
                  const double velDate[3], double posJ2K[3], double velJ2K[3]) {
  if (!timeUsable("RotDateToJ2K", ds50, {{posJ2K, 3}, {velJ2K, 3}})) return;
  const PnSpectrum s = pnSpectrumOf(spectr);
  rotateState("RotDateToJ2K", posDate, velDate, posJ2K, velJ2K,
              [&](const Vec3& p, const Vec3& v, Vec3& po, Vec3& vo) {
                rotdate2j2k(s, nutationTerms, ds50, p, v, po, vo);
              });
}

void RotJ2KToDate(int32_t spectr, int32_t nutationTerms, double ds50, const double posJ2K[3],
                  const double velJ2K[3], double posDate[3], double velDate[3]) {
  if (!timeUsable("RotJ2KToDate", ds50, {{posDate, 3}, {velDate, 3}})) return;
  const PnSpectrum s = pnSpectrumOf(spectr);
  rotateState("RotJ2KToDate", posJ2K, velJ2K, posDate, velDate,
              [&](const Vec3& p, const Vec3& v, Vec3& po, Vec3& vo) {
                rotj2k2date(s, nutationTerms, ds50, p, v, po, vo);
              });
}

void TemeEpochToDate(int32_t nutationTerms, double epochDs50, double ds50, const double posEpoch[3],
                     const double velEpoch[3], double posDate[3], double velDate[3]) {
  if (!timeUsable("TemeEpochToDate", epochDs50 + ds50, {{posDate, 3}, {velDate, 3}})) return;
  rotateState("TemeEpochToDate", posEpoch, velEpoch, posDate, velDate,
              [&](const Vec3& p, const Vec3& v, Vec3& po, Vec3& vo) {
                rotateteme(nutationTerms, epochDs50, ds50, p, v, po, vo);
              });
}

int32_t RotRADec_DateToEqnx(int32_t nutationTerms, int32_t yrOfEqnx, double ds50, double RAIn, double declIn,
                            double* RAOut, double* declOut) {
  return rotateRaDec("RotRADec_DateToEqnx", rotradec_date2eqnx, nutationTerms, yrOfEqnx, ds50, RAIn, declIn,
                     RAOut, declOut);
}

int32_t RotRADec_EqnxToDate(int32_t nutationTerms, int32_t yrOfEqnx, double ds50, double RAIn, double declIn,
                            double* RAOut, double* declOut) {
  return rotateRaDec("RotRADec_EqnxToDate", rotradec_eqnx2date, nutationTerms, yrOfEqnx, ds50, RAIn, declIn,
                     RAOut, declOut);
}

void RotRADecl(int32_t nutationTerms, int32_t dir, double ds50In, double RAIn, double declIn, double ds50Out,
               double* RAOut, double* declOut) {
  if (!timeUsable("RotRADecl", ds50In + ds50Out, {{RAOut, 1}, {declOut, 1}})) return;
  if (!nonNull("RotRADecl", RAOut, declOut)) return;
  TrueMeanDirection direction;
  if (!trueMeanDirectionOf(dir, direction)) {
    basalon::logErrorf("RotRADecl: direction is outside of its valid range (1-2)");
    return;
  }
  double ra, dec;
  rotobs(nutationTerms, direction, ds50In, RAIn * kDegToRad, declIn * kDegToRad, ds50Out, ra, dec);
  *RAOut = ra * kRadToDeg;
  *declOut = dec * kRadToDeg;
}
