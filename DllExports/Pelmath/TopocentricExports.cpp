// Topocentric exports: degrees, km, km/s and deg/s converted to the canonical library routines and
// back; the "Time" forms take the Greenwich angle from Chronel.
#include "Pelmath/EarthFrames.h"
#include "Pelmath/Topocentric.h"
#include "Pelmath/Units.h"
#include "PelmathApi/Topocentric.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Planix/Planix.h"

using pelmath::kDegToRad;
using pelmath::kRadToDeg;
using pelmath::Vec3;

namespace {

double thetaAtUtc(double ds50UTC) { return chronel::getthgr(chronel::utc2ut1(ds50UTC), planix::genvfk()); }

Vec3 posToCanonical(const double* km) {
  Vec3 c;
  pelmath::tocanonicalpos(km, c.data());
  return c;
}
Vec3 velToCanonical(const double* kms) {
  Vec3 c;
  pelmath::tocanonicalvel(kms, c.data());
  return c;
}
void copy3(const Vec3& v, double* out) {
  for (int k = 0; k < 3; ++k) out[k] = v[k];
}

}  // namespace

void AzElToRaDec(double thetaG, double lat, double lon, double az, double el, double* RA, double* dec) {
  double ra, d;
  pelmath::azel2radec(thetaG, lat * kDegToRad, lon * kDegToRad, az * kDegToRad, el * kDegToRad, ra, d);
  *RA = ra * kRadToDeg;
  *dec = d * kRadToDeg;
}

void RaDecToAzEl(double thetaG, double lat, double lon, double RA, double dec, double* az, double* el) {
  double a, e;
  pelmath::radec2azel(thetaG, lat * kDegToRad, lon * kDegToRad, RA * kDegToRad, dec * kDegToRad, a, e);
  *az = a * kRadToDeg;
  *el = e * kRadToDeg;
}

void AzElToRaDecTime(double ds50UTC, double lat, double lon, double az, double el, double* RA, double* dec) {
  AzElToRaDec(thetaAtUtc(ds50UTC), lat, lon, az, el, RA, dec);
}

void RaDecToAzElTime(double ds50UTC, double lat, double lon, double RA, double dec, double* az, double* el) {
  RaDecToAzEl(thetaAtUtc(ds50UTC), lat, lon, RA, dec, az, el);
}

void AzElToLAD(double az, double el, double Lh[3], double Ah[3], double Dh[3]) {
  Vec3 l, a, d;
  pelmath::getlad_horizon(el * kDegToRad, az * kDegToRad, l, a, d);
  copy3(l, Lh);
  copy3(a, Ah);
  copy3(d, Dh);
}

void RADecToLAD(double RA, double dec, double L[3], double A[3], double D[3]) {
  Vec3 l, a, d;
  pelmath::getlad_equatorial(dec * kDegToRad, RA * kDegToRad, l, a, d);
  copy3(l, L);
  copy3(a, A);
  copy3(d, D);
}

void RAEToECI(double theta, double astroLat, const double senPos[3], const double rae[6], double satPos[3],
              double satVel[3]) {
  const double raeC[6] = {pelmath::kmtoer(rae[0]),
                          rae[1] * kDegToRad,
                          rae[2] * kDegToRad,
                          pelmath::kmsectoerkem(rae[3]),
                          pelmath::toradperkemin(rae[4]),
                          pelmath::toradperkemin(rae[5])};
  Vec3 pos, vel;
  pelmath::rae2eci(theta, astroLat * kDegToRad, raeC, posToCanonical(senPos), pos, vel);
  pelmath::tometricpos(pos.data(), satPos);
  pelmath::tometricvel(vel.data(), satVel);
}

void ECIToTopoComps(double theta, double astroLat, const double senPos[3], const double satPos[3],
                    const double satVel[3], double comps[10]) {
  double c[10];
  pelmath::eci2topocomps(theta, astroLat * kDegToRad, posToCanonical(senPos), posToCanonical(satPos),
                         velToCanonical(satVel), c);
  for (int k = 0; k < 4; ++k) comps[k] = c[k] * kRadToDeg;
  comps[4] = pelmath::ertokm(c[4]);
  for (int k = 5; k < 9; ++k) comps[k] = pelmath::todegpersec(c[k]);
  comps[9] = c[9] / planix::genvgeo().kmPerSecToErPerKemin;
}

void AberrationAnnual(double RA, double dec, double ds50, double* dRA, double* dDec) {
  pelmath::radecannualab(RA, dec, ds50, *dRA, *dDec);
}

void AberrationDiurnal(double RA, double dec, double ds50UTC, const double senEfgPos[3], double* dRA,
                       double* dDec) {
  const double km[3] = {senEfgPos[0] / 1000.0, senEfgPos[1] / 1000.0, senEfgPos[2] / 1000.0};
  pelmath::radecdiurnalab(thetaAtUtc(ds50UTC), RA, dec, posToCanonical(km), *dRA, *dDec);
}

void EarthObstructionAngles(double limbHeight, const double senPos[3], const double satPos[3],
                            double* earthLimbAngle, double* earthSensorAngle, double* sensorSatAngle) {
  double a[3];
  pelmath::earthobstrangles(pelmath::kmtoer(limbHeight), posToCanonical(senPos), posToCanonical(satPos), a);
  *earthLimbAngle = a[0] * kRadToDeg;
  *earthSensorAngle = a[1] * kRadToDeg;
  *sensorSatAngle = a[2] * kRadToDeg;
}

int32_t IsPointSunlit(double ds50, const double pos[3]) {
  return pelmath::ispointsunlit(ds50, Vec3{pos[0], pos[1], pos[2]}) ? 1 : 0;
}
