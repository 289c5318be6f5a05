// Analytic Sun and Moon exports: unit vectors and distances in km, series chosen by the catalogue
// setting at each call.
#include "DllExports/Pelmath/PelmathDllVarsUtils.h"
#include "Pelmath/SunMoon.h"
#include "PelmathApi/SunMoon.h"

using namespace pelmath;
using namespace pelmath::dll;

void CompSunPos(double ds50, double sunVec[3], double* sunVecMag) {
  if (!timeUsable("CompSunPos", ds50, {{sunVec, 3}, {sunVecMag, 1}})) return;
  if (!nonNull("CompSunPos", sunVec, sunVecMag)) return;
  const SunMoonTheory theory = sunMoonSelector();
  const double radius = planix::genvgeo().earthRadius;
  Sundata sd;
  getsundata(theory, ds50, sd);
  Vec3 unit;
  double dist;
  solar(theory, sd, unit, dist, radius);
  toHost3(unit, sunVec);
  *sunVecMag = dist * radius;
}

void CompMoonPos(double ds50, double moonVec[3], double* moonVecMag) {
  if (!timeUsable("CompMoonPos", ds50, {{moonVec, 3}, {moonVecMag, 1}})) return;
  if (!nonNull("CompMoonPos", moonVec, moonVecMag)) return;
  const SunMoonTheory theory = sunMoonSelector();
  Sundata sd;
  getsundata(theory, ds50, sd);
  Vec3 pos, unit;
  double dist;
  lunar(theory, sd, pos, unit, dist);
  toHost3(unit, moonVec);
  *moonVecMag = dist * planix::genvgeo().earthRadius;
}

void CompSunMoonPos(double ds50, double sunVec[3], double* sunVecMag, double moonVec[3], double* moonVecMag) {
  if (!timeUsable("CompSunMoonPos", ds50, {{sunVec, 3}, {sunVecMag, 1}, {moonVec, 3}, {moonVecMag, 1}})) return;
  if (!nonNull("CompSunMoonPos", sunVec, sunVecMag, moonVec, moonVecMag)) return;
  const SunMoonTheory theory = sunMoonSelector();
  const double radius = planix::genvgeo().earthRadius;
  Sunmoondata smd;
  getsunmoondata(theory, ds50, 1.0, smd, radius);
  toHost3(smd.sunUnit, sunVec);
  *sunVecMag = smd.sunDist * radius;
  toHost3(smd.moonUnit, moonVec);
  *moonVecMag = smd.moonDist * radius;
}
