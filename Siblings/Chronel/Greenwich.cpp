// Greenwich angle (mean sidereal time at Greenwich) in radians from a DS50 UT1 time, for the FK4
// and FK5 catalogue settings.
#include <cmath>

#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Chronel/Chronel.h"

namespace chronel {

namespace {

using basalon::kTwoPi;

// Fraction of the whole value kept apart so large day counts do not swamp the angle.
double frac(double x) { return x - std::floor(x); }

// IAU 1982 GMST (Aoki et al. 1982, A&A 105, 359), in the single-expression form for a UT1
// instant: GMST = 67310.54841 s + (876600 h + 8640184.812866 s) T + 0.093104 s T^2 - 6.2e-6 s T^3,
// T = Julian centuries of UT1 from J2000.0. The 876600 h T term is 86400 s per day exactly, so it
// is taken as the day fraction of the time to keep the precision.
double gmstIau1982(double ds50UT1) {
  const double d = ds50UT1 - kDs50J2000;
  const double t = d / 36525.0;
  const double poly = 67310.54841 + t * (8640184.812866 + t * (0.093104 - 6.2e-6 * t));
  const double turns = frac(d) + poly / kSecondsPerDay;
  return kTwoPi * frac(turns);
}

// Spacetrack Report No. 3 (Hoots & Roehrich 1980), THETAG: theta = 1.72944494 + 6.3003880987 ds50
// radians, Newcomb's sidereal time referred to the FK4 equinox. The rate is split into whole turns
// per day (2 pi) and the remainder so the product keeps its digits.
double thetagFk4(double ds50UT1) {
  constexpr double kTheta0 = 1.72944494;
  constexpr double kRate = 6.3003880987;
  const double turns = frac(ds50UT1) + (kTheta0 + (kRate - kTwoPi) * ds50UT1) / kTwoPi;
  return kTwoPi * frac(turns);
}

}  // namespace

double getthgr(double ds50UT1, int fk) {
  if (!std::isfinite(ds50UT1)) return 0.0;
  double theta = fk == 4 ? thetagFk4(ds50UT1) : gmstIau1982(ds50UT1);
  if (theta >= kTwoPi) theta -= kTwoPi;  // frac() of a value just below 1 can round up to 1
  if (theta < 0.0) theta = 0.0;
  return theta;
}

}  // namespace chronel
