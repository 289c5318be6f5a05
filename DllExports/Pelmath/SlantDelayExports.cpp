// Tropospheric slant delay exports: degrees at the boundary, radians inside. A NaN or infinite
// argument is refused before it reaches the latitude tables: one trace-log line, nothing written.
#include "DllExports/Pelmath/PelmathDllVarsUtils.h"
#include "Pelmath.h"
#include "Pelmath/SlantDelay.h"

using namespace pelmath::dll;
using pelmath::kDegToRad;

// The outputs are optional: a null one is skipped.
void SlantDelayUnb3(double latDeg, double heightM, double dayOfYear, double elevDeg, double* slantDelay,
                    double* slantDelayRate) {
  if (!allFinite("SlantDelayUnb3", {latDeg, heightM, dayOfYear, elevDeg})) return;
  double delay = 0, rate = 0;
  pelmath::slantdelayunb3(latDeg * kDegToRad, heightM, dayOfYear, elevDeg * kDegToRad, delay, rate);
  if (slantDelay != nullptr) *slantDelay = delay;
  if (slantDelayRate != nullptr) *slantDelayRate = rate * kDegToRad;  // m/rad -> m/deg
}

void Unb3mDelays(double latDeg, double heightM, double dayOfYear, double elevDeg, double xa[5]) {
  if (!nonNull("Unb3mDelays", xa)) return;
  if (!allFinite("Unb3mDelays", {latDeg, heightM, dayOfYear, elevDeg})) return;
  const pelmath::Unb3mDelay d = pelmath::unb3m(latDeg * kDegToRad, heightM, dayOfYear, elevDeg * kDegToRad);
  xa[0] = d.hzd;
  xa[1] = d.hmf;
  xa[2] = d.wzd;
  xa[3] = d.wmf;
  xa[4] = d.slant;
}
