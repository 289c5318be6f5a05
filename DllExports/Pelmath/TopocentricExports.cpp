// Topocentric exports: degrees, km, km/s and deg/s converted to the canonical library routines and
// back; the "Time" forms take the Greenwich angle from Chronel.
#include "DllExports/Pelmath/PelmathDllVarsUtils.h"
#include "Pelmath/EarthFrames.h"
#include "Pelmath/Topocentric.h"
#include "PelmathApi/Topocentric.h"

using namespace pelmath;
using namespace pelmath::dll;

namespace {

void azElToRaDec(const char* name, double thetaG, double lat, double lon, double az, double el, double* RA,
                 double* dec) {
  if (!nonNull(name, RA, dec)) return;
  double ra, d;
  azel2radec(thetaG, lat * kDegToRad, lon * kDegToRad, az * kDegToRad, el * kDegToRad, ra, d);
  *RA = ra * kRadToDeg;
  *dec = d * kRadToDeg;
}

void raDecToAzEl(const char* name, double thetaG, double lat, double lon, double RA, double dec, double* az,
                 double* el) {
  if (!nonNull(name, az, el)) return;
  double a, e;
  radec2azel(thetaG, lat * kDegToRad, lon * kDegToRad, RA * kDegToRad, dec * kDegToRad, a, e);
  *az = a * kRadToDeg;
  *el = e * kRadToDeg;
}

}  // namespace

void AzElToRaDec(double thetaG, double lat, double lon, double az, double el, double* RA, double* dec) {
  azElToRaDec("AzElToRaDec", thetaG, lat, lon, az, el, RA, dec);
}

void RaDecToAzEl(double thetaG, double lat, double lon, double RA, double dec, double* az, double* el) {
  raDecToAzEl("RaDecToAzEl", thetaG, lat, lon, RA, dec, az, el);
}

void AzElToRaDecTime(double ds50UTC, double lat, double lon, double az, double el, double* RA, double* dec) {
  if (!timeUsable("AzElToRaDecTime", ds50UTC, {{RA, 1}, {dec, 1}})) return;
  azElToRaDec("AzElToRaDecTime", thetaAtUtc(ds50UTC), lat, lon, az, el, RA, dec);
}

void RaDecToAzElTime(double ds50UTC, double lat, double lon, double RA, double dec, double* az, double* el) {
  if (!timeUsable("RaDecToAzElTime", ds50UTC, {{az, 1}, {el, 1}})) return;
  raDecToAzEl("RaDecToAzElTime", thetaAtUtc(ds50UTC), lat, lon, RA, dec, az, el);
}

void AzElToLAD(double az, double el, double Lh[3], double Ah[3], double Dh[3]) {
  if (!nonNull("AzElToLAD", Lh, Ah, Dh)) return;
  Vec3 l, a, d;
  getlad_horizon(el * kDegToRad, az * kDegToRad, l, a, d);
  rowsToHost({l, a, d}, Lh, Ah, Dh);
}

void RADecToLAD(double RA, double dec, double L[3], double A[3], double D[3]) {
  if (!nonNull("RADecToLAD", L, A, D)) return;
  Vec3 l, a, d;
  getlad_equatorial(dec * kDegToRad, RA * kDegToRad, l, a, d);
  rowsToHost({l, a, d}, L, A, D);
}

void RAEToECI(double theta, double astroLat, const double senPos[3], const double rae[6], double satPos[3],
              double satVel[3]) {
  if (!nonNull("RAEToECI", senPos, rae, satPos, satVel)) return;
  const double raeC[6] = {kmtoer(rae[0]),       rae[1] * kDegToRad,    rae[2] * kDegToRad,
                          kmsectoerkem(rae[3]), toradperkemin(rae[4]), toradperkemin(rae[5])};
  Vec3 pos, vel;
  rae2eci(theta, astroLat * kDegToRad, raeC, posToCanonical(senPos), pos, vel);
  posToMetric(pos, satPos);
  velToMetric(vel, satVel);
}

void ECIToTopoComps(double theta, double astroLat, const double senPos[3], const double satPos[3],
                    const double satVel[3], double comps[10]) {
  if (!nonNull("ECIToTopoComps", senPos, satPos, satVel, comps)) return;
  double c[10];
  eci2topocomps(theta, astroLat * kDegToRad, posToCanonical(senPos), posToCanonical(satPos),
                velToCanonical(satVel), c);
  for (int k = 0; k < 4; ++k) comps[k] = c[k] * kRadToDeg;
  comps[4] = ertokm(c[4]);
  for (int k = 5; k < 9; ++k) comps[k] = todegpersec(c[k]);
  comps[9] = c[9] / planix::genvgeo().kmPerSecToErPerKemin;
}

void AberrationAnnual(double RA, double dec, double ds50, double* dRA, double* dDec) {
  if (!timeUsable("AberrationAnnual", ds50, {{dRA, 1}, {dDec, 1}})) return;
  if (!nonNull("AberrationAnnual", dRA, dDec)) return;
  radecannualab(RA, dec, ds50, *dRA, *dDec);
}

void AberrationDiurnal(double RA, double dec, double ds50UTC, const double senEfgPos[3], double* dRA,
                       double* dDec) {
  if (!timeUsable("AberrationDiurnal", ds50UTC, {{dRA, 1}, {dDec, 1}})) return;
  if (!nonNull("AberrationDiurnal", senEfgPos, dRA, dDec)) return;
  const double km[3] = {senEfgPos[0] / 1000.0, senEfgPos[1] / 1000.0, senEfgPos[2] / 1000.0};
  radecdiurnalab(thetaAtUtc(ds50UTC), RA, dec, posToCanonical(km), *dRA, *dDec);
}

void EarthObstructionAngles(double limbHeight, const double senPos[3], const double satPos[3],
                            double* earthLimbAngle, double* earthSensorAngle, double* sensorSatAngle) {
  if (!nonNull("EarthObstructionAngles", senPos, satPos, earthLimbAngle, earthSensorAngle, sensorSatAngle))
    return;
  double a[3];
  earthobstrangles(kmtoer(limbHeight), posToCanonical(senPos), posToCanonical(satPos), a);
  *earthLimbAngle = a[0] * kRadToDeg;
  *earthSensorAngle = a[1] * kRadToDeg;
  *sensorSatAngle = a[2] * kRadToDeg;
}

// A null position or a NaN or infinite time is refused with one trace-log line and reported as
// not sunlit.
int32_t IsPointSunlit(double ds50, const double pos[3]) {
  if (!timeUsable("IsPointSunlit", ds50, {})) return 0;
  if (!nonNull("IsPointSunlit", pos)) return 0;
  return isPointSunlit(ds50, fromHost3(pos)) ? 1 : 0;
}
