// JPL ephemeris exports: control record access and the Sun and Moon of date in km.
#include <cmath>

#include "Pelmath.h"
#include "Pelmath/JplProcessing.h"
#include "Siblings/Basalon/FixedText.h"

namespace {

constexpr size_t kFileNameChars = 512;

void putvec(const pelmath::Vec3& v, double out[3]) {
  if (out == nullptr) return;
  for (int i = 0; i < 3; ++i) out[i] = v[i];
}

// Unit vector and length; a zero vector stays zero.
double split(const pelmath::Vec3& v, double unit[3]) {
  const double d = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (unit != nullptr)
    for (int i = 0; i < 3; ++i) unit[i] = d > 0.0 ? v[i] / d : 0.0;
  return d;
}

}  // namespace

void JplSetParameters(const char jplFile[512], double ds50Start, double ds50Stop) {
  pelmath::jplsetparameters(basalon::chararrtostr(jplFile, kFileNameChars), ds50Start, ds50Stop);
}

void JplGetParameters(char jplFile[512], double* ds50Start, double* ds50Stop) {
  basalon::strtochararr(pelmath::jplctrl.fileName.view(), jplFile, kFileNameChars);
  if (ds50Start != nullptr) *ds50Start = pelmath::jplctrl.startTime;
  if (ds50Stop != nullptr) *ds50Stop = pelmath::jplctrl.stopTime;
}

void JplReset(void) { pelmath::jplreset(); }

void RemoveJpl(void) { pelmath::resetjplbuf(); }

int32_t JplCompSunMoonPos(double ds50UTC, double sunPos[3], double moonPos[3]) {
  pelmath::Vec3 sun{}, moon{};
  const int st = pelmath::jplsunmoonofdate(ds50UTC, sun, moon);
  putvec(sun, sunPos);
  putvec(moon, moonPos);
  return st;
}

int32_t JplCompSunMoonVec(double ds50UTC, double sunVec[3], double* sunDist, double moonVec[3],
                          double* moonDist) {
  pelmath::Vec3 sun{}, moon{};
  const int st = pelmath::jplsunmoonofdate(ds50UTC, sun, moon);
  const double ds = split(sun, sunVec), dm = split(moon, moonVec);
  if (sunDist != nullptr) *sunDist = ds;
  if (moonDist != nullptr) *moonDist = dm;
  return st;
}
