// Earth-frame exports: metric/degree arguments converted to the library-level routines' units,
// and the Greenwich angle and polar motion of the "Time" forms taken from Chronel.
#include <cstdio>

#include "Pelmath/EarthFrames.h"
#include "Pelmath/PrecessionNutation.h"
#include "Pelmath/Units.h"
#include "PelmathApi/EarthFrames.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Planix/Planix.h"

using pelmath::Vec3;

namespace {

Vec3 in3(const double* v) { return {v[0], v[1], v[2]}; }
void out3(const Vec3& v, double* out) {
  for (int k = 0; k < 3; ++k) out[k] = v[k];
}

double thetaAtUtc(double ds50UTC) { return chronel::getthgr(chronel::utc2ut1(ds50UTC), planix::genvfk()); }

void polarAtUtc(double ds50UTC, double& xp, double& yp) {
  double tconst[6] = {};
  chronel::gettconst(ds50UTC, tconst);
  xp = tconst[4];
  yp = tconst[5];
}

// Metric LLH (deg, deg, km) <-> canonical (rad, rad, er).
Vec3 llhToCanonical(const double* llh) {
  Vec3 c;
  pelmath::tocanonicalllh(llh, c.data());
  return c;
}
void llhToMetric(const Vec3& llh, double* out) { pelmath::tometricllh(llh.data(), out); }
Vec3 posToCanonical(const double* pos) {
  Vec3 c;
  pelmath::tocanonicalpos(pos, c.data());
  return c;
}

// Checks shared by the two RA/Dec equinox rotations; logs under the export's own name.
bool raDecArgsValid(const char* name, int32_t nutationTerms, int32_t yrOfEqnx) {
  char msg[128];
  if (nutationTerms < 4 || nutationTerms > pelmath::kNutation1980Terms) {
    std::snprintf(msg, sizeof msg, "%s: nutation terms is outside of its valid range (4-106)", name);
    basalon::tracelogerror(msg);
    return false;
  }
  if (yrOfEqnx < 1 || yrOfEqnx > 3) {
    std::snprintf(msg, sizeof msg, "%s: year of equinox is outside of its valid range (1-3)", name);
    basalon::tracelogerror(msg);
    return false;
  }
  return true;
}

}  // namespace

void ECIToEFG(double thetaG, const double posECI[3], const double velECI[3], double posEFG[3],
              double velEFG[3]) {
  Vec3 p, v;
  pelmath::eci2efg(thetaG, in3(posECI), in3(velECI), p, v);
  out3(p, posEFG);
  out3(v, velEFG);
}

void EFGToECI(double thetaG, const double posEFG[3], const double velEFG[3], double posECI[3],
              double velECI[3]) {
  Vec3 p, v;
  pelmath::efg2eci(thetaG, in3(posEFG), in3(velEFG), p, v);
  out3(p, posECI);
  out3(v, velECI);
}

void ECIToEFGTime(double ds50UTC, const double posECI[3], const double velECI[3], double posEFG[3],
                  double velEFG[3]) {
  ECIToEFG(thetaAtUtc(ds50UTC), posECI, velECI, posEFG, velEFG);
}

void EFGToECITime(double ds50UTC, const double posEFG[3], const double velEFG[3], double posECI[3],
                  double velECI[3]) {
  EFGToECI(thetaAtUtc(ds50UTC), posEFG, velEFG, posECI, velECI);
}

void EFGToECR(double polarX, double polarY, const double posEFG[3], const double velEFG[3], double posECR[3],
              double velECR[3]) {
  Vec3 p, v;
  pelmath::efg2ecr(polarX, polarY, in3(posEFG), in3(velEFG), p, v);
  out3(p, posECR);
  out3(v, velECR);
}

void ECRToEFG(double polarX, double polarY, const double posECR[3], const double velECR[3], double posEFG[3],
              double velEFG[3]) {
  Vec3 p, v;
  pelmath::ecr2efg(polarX, polarY, in3(posECR), in3(velECR), p, v);
  out3(p, posEFG);
  out3(v, velEFG);
}

// Without timing constants the pole offsets are 0 and the rotation is the identity: the input
// comes back unchanged (never a zeroed state that would pass for a position).
void EFGToECRTime(double ds50UTC, const double posEFG[3], const double velEFG[3], double posECR[3],
                  double velECR[3]) {
  double xp, yp;
  polarAtUtc(ds50UTC, xp, yp);
  EFGToECR(xp, yp, posEFG, velEFG, posECR, velECR);
}

void ECRToEFGTime(double ds50UTC, const double posECR[3], const double velECR[3], double posEFG[3],
                  double velEFG[3]) {
  double xp, yp;
  polarAtUtc(ds50UTC, xp, yp);
  ECRToEFG(xp, yp, posECR, velECR, posEFG, velEFG);
}

void LLHToEFGPos(const double metricLLH[3], double metricPos[3]) {
  Vec3 efg;
  pelmath::llh2efg(llhToCanonical(metricLLH), efg);
  pelmath::tometricpos(efg.data(), metricPos);
}

void EFGPosToLLH(const double metricPos[3], double metricLLH[3]) {
  Vec3 llh;
  pelmath::efg2llh(posToCanonical(metricPos), llh);
  llhToMetric(llh, metricLLH);
}

void LLHToXYZ(double thetaG, const double metricLLH[3], double metricXYZ[3]) {
  Vec3 xyz;
  pelmath::llh2xyz(thetaG, llhToCanonical(metricLLH), xyz);
  pelmath::tometricpos(xyz.data(), metricXYZ);
}

void XYZToLLH(double thetaG, const double metricXYZ[3], double metricLLH[3]) {
  Vec3 llh;
  pelmath::xyz2llh(thetaG, posToCanonical(metricXYZ), llh);
  llhToMetric(llh, metricLLH);
}

void LLHToXYZTime(double ds50UTC, const double metricLLH[3], double metricXYZ[3]) {
  LLHToXYZ(thetaAtUtc(ds50UTC), metricLLH, metricXYZ);
}

void XYZToLLHTime(double ds50UTC, const double metricXYZ[3], double metricLLH[3]) {
  XYZToLLH(thetaAtUtc(ds50UTC), metricXYZ, metricLLH);
}

void RotDateToJ2K(int32_t spectr, int32_t nutationTerms, double ds50, const double posDate[3],
                  const double velDate[3], double posJ2K[3], double velJ2K[3]) {
  Vec3 p, v;
  pelmath::rotdate2j2k(spectr, nutationTerms, ds50, in3(posDate), in3(velDate), p, v);
  out3(p, posJ2K);
  out3(v, velJ2K);
}

void RotJ2KToDate(int32_t spectr, int32_t nutationTerms, double ds50, const double posJ2K[3],
                  const double velJ2K[3], double posDate[3], double velDate[3]) {
  Vec3 p, v;
  pelmath::rotj2k2date(spectr, nutationTerms, ds50, in3(posJ2K), in3(velJ2K), p, v);
  out3(p, posDate);
  out3(v, velDate);
}

void TemeEpochToDate(int32_t nutationTerms, double epochDs50, double ds50, const double posEpoch[3],
                     const double velEpoch[3], double posDate[3], double velDate[3]) {
  Vec3 p, v;
  pelmath::rotateteme(nutationTerms, epochDs50, ds50, in3(posEpoch), in3(velEpoch), p, v);
  out3(p, posDate);
  out3(v, velDate);
}

int32_t RotRADec_DateToEqnx(int32_t nutationTerms, int32_t yrOfEqnx, double ds50, double RAIn, double declIn,
                            double* RAOut, double* declOut) {
  *RAOut = *declOut = 0.0;
  if (!raDecArgsValid("RotRADec_DateToEqnx", nutationTerms, yrOfEqnx)) return 2;
  double ra, dec;
  pelmath::rotradec_date2eqnx(nutationTerms, yrOfEqnx, ds50, RAIn * pelmath::kDegToRad,
                              declIn * pelmath::kDegToRad, ra, dec);
  *RAOut = ra * pelmath::kRadToDeg;
  *declOut = dec * pelmath::kRadToDeg;
  return 0;
}

int32_t RotRADec_EqnxToDate(int32_t nutationTerms, int32_t yrOfEqnx, double ds50, double RAIn, double declIn,
                            double* RAOut, double* declOut) {
  *RAOut = *declOut = 0.0;
  if (!raDecArgsValid("RotRADec_EqnxToDate", nutationTerms, yrOfEqnx)) return 2;
  double ra, dec;
  pelmath::rotradec_eqnx2date(nutationTerms, yrOfEqnx, ds50, RAIn * pelmath::kDegToRad,
                              declIn * pelmath::kDegToRad, ra, dec);
  *RAOut = ra * pelmath::kRadToDeg;
  *declOut = dec * pelmath::kRadToDeg;
  return 0;
}

void RotRADecl(int32_t nutationTerms, int32_t dir, double ds50In, double RAIn, double declIn, double ds50Out,
               double* RAOut, double* declOut) {
  double ra, dec;
  pelmath::rotobs(nutationTerms, dir, ds50In, RAIn * pelmath::kDegToRad, declIn * pelmath::kDegToRad, ds50Out,
                  ra, dec);
  *RAOut = ra * pelmath::kRadToDeg;
  *declOut = dec * pelmath::kRadToDeg;
}
