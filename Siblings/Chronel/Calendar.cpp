// Calendar arithmetic on DS50 days.
#include <cmath>

#include "Siblings/Chronel/Chronel.h"

namespace chronel {

int fixyr(int year) {
  if (year >= 0 && year < 57) return year + 2000;
  if (year >= 57 && year < 100) return year + 1900;
  return year;
}

bool hleap(int year) {
  year = fixyr(year);
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days from 1950 January 0.0 to (year) January 0.0.
static double daysToYearStart(int year) {
  // Count days year by year from 1950 with the Gregorian rule, in closed form.
  auto leapsBefore = [](int y) {  // leap years in [1, y-1]
    const int p = y - 1;
    return p / 4 - p / 100 + p / 400;
  };
  const int y = fixyr(year);
  return 365.0 * (y - 1950) + (leapsBefore(y) - leapsBefore(1950));
}

double yrdays2ds50(int year, double dayOfYear) { return daysToYearStart(year) + dayOfYear; }

double tcomps2utc(int dayOfYear, int hour, int minute, double seconds, int year) {
  return yrdays2ds50(year, dayOfYear) + (hour * 3600.0 + minute * 60.0 + seconds) / 86400.0;
}

}  // namespace chronel
