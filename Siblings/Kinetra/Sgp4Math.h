// Small helpers of the propagator: sine and cosine of an angle turned by a small step.
#pragma once

#include <cmath>

#include "Siblings/Basalon/ValueTypes.h"

namespace kinetra::detail {

// Largest step the series below take: their truncation error stays below 1e-25 there.
constexpr double kSmallAngle = 0.12;

// Sine and cosine of a small angle d (|d| <= kSmallAngle) by their series, exact to rounding
// (fewer terms below 0.01 rad, where they already are).
inline void smallSinCos(double d, double& s, double& c) {
  constexpr double k6 = 1.0 / 6.0, k20 = 1.0 / 20.0, k42 = 1.0 / 42.0, k72 = 1.0 / 72.0;
  constexpr double k110 = 1.0 / 110.0, k156 = 1.0 / 156.0;
  constexpr double k12 = 1.0 / 12.0, k30 = 1.0 / 30.0, k56 = 1.0 / 56.0, k90 = 1.0 / 90.0;
  constexpr double k132 = 1.0 / 132.0, k182 = 1.0 / 182.0;
  const double x = d * d;
  if (x < 1.0e-4) {
    s = d * (1.0 - x * k6 * (1.0 - x * k20 * (1.0 - x * k42)));
    c = 1.0 - x * 0.5 * (1.0 - x * k12 * (1.0 - x * k30 * (1.0 - x * k56)));
    return;
  }
  s = d *
      (1.0 -
       x * k6 * (1.0 - x * k20 * (1.0 - x * k42 * (1.0 - x * k72 * (1.0 - x * k110 * (1.0 - x * k156))))));
  c = 1.0 -
      x * 0.5 *
          (1.0 -
           x * k12 *
               (1.0 - x * k30 * (1.0 - x * k56 * (1.0 - x * k90 * (1.0 - x * k132 * (1.0 - x * k182))))));
}

// x reduced by whole turns towards zero, the sign of x kept (as fmod(x, 2 pi), to rounding).
// Departure from the published model: angles are reduced this way rather than by fmod.
inline double fmodTwoPi(double x) {
  constexpr double kInvTwoPi = 1.0 / basalon::kTwoPi;
  const double turns = std::trunc(x * kInvTwoPi);
  return std::fma(-turns, basalon::kTwoPi, x);
}

// Sine and cosine of a + d from those of a, for a small step d.
inline void addAngle(double sa, double ca, double d, double& s, double& c) {
  double sd, cd;
  smallSinCos(d, sd, cd);
  s = sa * cd + ca * sd;
  c = ca * cd - sa * sd;
}

}  // namespace kinetra::detail
