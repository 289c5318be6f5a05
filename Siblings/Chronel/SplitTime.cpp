// Split TAI time: whole DS50 days plus a day fraction, so that sums and differences of seconds
// keep sub-microsecond precision at any epoch.
#include <cmath>

#include "Siblings/Chronel/Chronel.h"

namespace chronel {

namespace {

// Moves whole days of the fraction into the day count so the fraction lies in [0, 1).
SplitTime normalised(double days, double frac) {
  const double whole = std::floor(frac);
  days += whole;
  frac -= whole;
  if (frac >= 1.0) {  // a fraction just below 0 can round up to exactly 1
    days += 1.0;
    frac -= 1.0;
  }
  return {days, frac};
}

}  // namespace

double fromSplit(const SplitTime& t) { return t.days + t.frac; }

SplitTime plus(const SplitTime& t, double seconds) {
  // Whole days of the increment go to the day count directly, the rest into the fraction.
  const double addDays = std::trunc(seconds / kSecondsPerDay);
  const double rest = (seconds - addDays * kSecondsPerDay) / kSecondsPerDay;
  return normalised(t.days + addDays, t.frac + rest);
}

bool lt(const SplitTime& a, const SplitTime& b) {
  return a.days < b.days || (a.days == b.days && a.frac < b.frac);
}

bool gt(const SplitTime& a, const SplitTime& b) { return lt(b, a); }

}  // namespace chronel
