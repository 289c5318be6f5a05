// Tropospheric slant delay exports: degrees at the boundary, radians inside.
#include "Pelmath.h"
#include "Pelmath/SlantDelay.h"
#include "Pelmath/Units.h"

void SlantDelayUnb3(double latDeg, double heightM, double dayOfYear, double elevDeg, double* slantDelay,
                    double* slantDelayRate) {
  double delay = 0, rate = 0;
  pelmath::slantdelayunb3(latDeg * pelmath::kDegToRad, heightM, dayOfYear, elevDeg * pelmath::kDegToRad,
                          delay, rate);
  if (slantDelay != nullptr) *slantDelay = delay;
  if (slantDelayRate != nullptr) *slantDelayRate = rate * pelmath::kDegToRad;  // m/rad -> m/deg
}

void Unb3mDelays(double latDeg, double heightM, double dayOfYear, double elevDeg, double xa[5]) {
  if (xa == nullptr) return;
  const pelmath::Unb3mDelay d =
      pelmath::unb3m(latDeg * pelmath::kDegToRad, heightM, dayOfYear, elevDeg * pelmath::kDegToRad);
  xa[0] = d.hzd;
  xa[1] = d.hmf;
  xa[2] = d.wzd;
  xa[3] = d.wmf;
  xa[4] = d.slant;
}
