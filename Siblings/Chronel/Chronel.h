// Time services: DS50 (days since 1950 January 0.0, JD - 2433281.5) in UTC, TAI or UT1,
// calendar conversions, and satKey creation.
#pragma once

#include <cstdint>
#include <string_view>

namespace chronel {

constexpr double kJulianDateAtDs50Zero = 2433281.5;
constexpr double kDs50J2000 = 18263.5;

// Four-digit year from a two-digit one (57-99 -> 19xx, 00-56 -> 20xx); four-digit years unchanged.
int fixyr(int year);
// True for a Gregorian leap year.
bool hleap(int year);
// DS50 of a (four- or two-digit) year and a day of year with fraction (day 1.0 is January 1 0h).
double yrdays2ds50(int year, double dayOfYear);
// DS50 UTC from day of year, hour, minute, seconds and year (year last).
double tcomps2utc(int dayOfYear, int hour, int minute, double seconds, int year);

// satKey of a satellite number (0 to 999999999), element-set type (1 to 9) and epoch in DS50 UTC;
// -1 when none can be made. Equal inputs give equal keys; key mod 10 is the type, never 0.
int64_t createsatkey(int satNum, int elsetType, double epochDs50UTC);

}  // namespace chronel
