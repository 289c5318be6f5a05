// JPL ephemeris exports: control record access and the Sun and Moon of date in km.
#include "DllExports/Pelmath/PelmathDllVarsUtils.h"
#include "Pelmath.h"
#include "Pelmath/JplProcessing.h"

using namespace pelmath::dll;
using pelmath::Vec3;

namespace {

// Optional output vectors: a null one is skipped.
void optionalToHost3(const Vec3& v, double* out) {
  if (out != nullptr) toHost3(v, out);
}

}  // namespace

void JplSetParameters(const char jplFile[512], double ds50Start, double ds50Stop) {
  if (!nonNull("JplSetParameters", jplFile)) return;
  if (!allFinite("JplSetParameters", {ds50Start, ds50Stop})) return;
  pelmath::jplSetParameters(basalon::hostText(jplFile, basalon::kFileNameWidth), ds50Start, ds50Stop);
}

void JplGetParameters(char jplFile[512], double* ds50Start, double* ds50Stop) {
  if (!nonNull("JplGetParameters", jplFile)) return;
  basalon::strtochararr(pelmath::jplctrl.fileName.view(), jplFile, basalon::kFileNameWidth);
  if (ds50Start != nullptr) *ds50Start = pelmath::jplctrl.startTime;
  if (ds50Stop != nullptr) *ds50Stop = pelmath::jplctrl.stopTime;
}

void JplReset(void) { pelmath::jplReset(); }

void RemoveJpl(void) { pelmath::resetjplbuf(); }

// A NaN or infinite time is refused by the ephemeris itself as out of range; outputs stay zero.
int32_t JplCompSunMoonPos(double ds50UTC, double sunPos[3], double moonPos[3]) {
  Vec3 sun, moon;
  const int st = pelmath::jplSunMoonOfDate(ds50UTC, sun, moon);
  optionalToHost3(sun, sunPos);
  optionalToHost3(moon, moonPos);
  return st;
}

int32_t JplCompSunMoonVec(double ds50UTC, double sunVec[3], double* sunDist, double moonVec[3],
                          double* moonDist) {
  Vec3 sun, moon;
  const int st = pelmath::jplSunMoonOfDate(ds50UTC, sun, moon);
  optionalToHost3(pelmath::unitVector(sun), sunVec);
  optionalToHost3(pelmath::unitVector(moon), moonVec);
  if (sunDist != nullptr) *sunDist = pelmath::norm(sun);
  if (moonDist != nullptr) *moonDist = pelmath::norm(moon);
  return st;
}
