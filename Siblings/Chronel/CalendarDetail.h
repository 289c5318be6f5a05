// Internal calendar helpers shared by the Chronel sources: integer day numbers (day 1 is
// 1950 January 1) and the split of a DS50 time into whole clock fields at a given resolution.
#pragma once

#include <cstdint>

namespace chronel::detail {

// Day number of (year) January 0, i.e. the DS50 of that year's January 0.0.
int64_t dayNumberOfYearStart(int year);
int daysInYear(int year);
// Days in a month (1-12) of a year; 0 for a month out of range.
int daysInMonth(int year, int month);
// Year and day of year (1-366) of a day number.
void yearOfDayNumber(int64_t dayNumber, int& year, int& dayOfYear);

// A DS50 time rounded to 1/ticksPerDay of a day: the day number and the tick within the day.
// False for a time that is not finite or lies beyond +-3e6 days.
bool splitTicks(double ds50, double ticksPerDay, int64_t& day, int64_t& tickOfDay);

// Calendar fields of a DS50 time rounded to 10^-decimals seconds (decimals 0-6); the seconds
// are secondTicks / ticksPerSecond, always below 60.
struct ClockFields {
  int year = 0;
  int dayOfYear = 0;
  int hour = 0;
  int minute = 0;
  int64_t secondTicks = 0;
  int64_t ticksPerSecond = 1;
};
bool fieldsOfDs50(double ds50, int decimals, ClockFields& f);

}  // namespace chronel::detail
