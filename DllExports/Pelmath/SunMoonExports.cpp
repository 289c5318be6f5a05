// Analytic Sun and Moon exports: unit vectors and distances in km, series chosen by the catalogue
// setting at each call.
#include "Pelmath/SunMoon.h"
#include "PelmathApi/SunMoon.h"
#include "Siblings/Planix/Planix.h"

namespace {

void copy3(const pelmath::Vec3& v, double* out) {
  for (int k = 0; k < 3; ++k) out[k] = v[k];
}

}  // namespace

void CompSunPos(double ds50, double sunVec[3], double* sunVecMag) {
  const int selector = pelmath::sunmoonselector();
  const double radius = planix::genvgeo().earthRadius;
  pelmath::Sundata sd;
  pelmath::getsundata(selector, ds50, sd);
  pelmath::Vec3 unit;
  double dist;
  pelmath::solar(selector, sd, unit, dist, radius);
  copy3(unit, sunVec);
  *sunVecMag = dist * radius;
}

void CompMoonPos(double ds50, double moonVec[3], double* moonVecMag) {
  const int selector = pelmath::sunmoonselector();
  pelmath::Sundata sd;
  pelmath::getsundata(selector, ds50, sd);
  pelmath::Vec3 pos, unit;
  double dist;
  pelmath::lunar(selector, sd, pos, unit, dist);
  copy3(unit, moonVec);
  *moonVecMag = dist * planix::genvgeo().earthRadius;
}

void CompSunMoonPos(double ds50, double sunVec[3], double* sunVecMag, double moonVec[3], double* moonVecMag) {
  const int selector = pelmath::sunmoonselector();
  const double radius = planix::genvgeo().earthRadius;
  pelmath::Sunmoondata smd;
  pelmath::getsunmoondata(selector, ds50, 1.0, smd, radius);
  copy3(smd.sunUnit, sunVec);
  *sunVecMag = smd.sunDist * radius;
  copy3(smd.moonUnit, moonVec);
  *moonVecMag = smd.moonDist * radius;
}
