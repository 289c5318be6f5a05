// Calendar arithmetic on DS50 days: years, days of year, months, Julian dates and the split of a
// DS50 time into its calendar fields.
#include <cmath>
#include <cstdint>

#include "Siblings/Chronel/CalendarDetail.h"
#include "Siblings/Chronel/Chronel.h"

namespace chronel {

namespace {

// Cumulative days before each month in a common year.
constexpr int kDaysBeforeMonth[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

int leapsThrough(int y) {  // Gregorian leap years in [1, y], floor division for y < 0
  auto fdiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
  return fdiv(y, 4) - fdiv(y, 100) + fdiv(y, 400);
}

}  // namespace

int fixyr(int year) {
  if (year >= 0 && year < 57) return year + 2000;
  if (year >= 57 && year < 100) return year + 1900;
  return year;
}

bool hleap(int year) {
  year = fixyr(year);
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

namespace detail {

int64_t dayNumberOfYearStart(int year) {
  const int y = fixyr(year);
  return 365LL * (y - 1950) + (leapsThrough(y - 1) - leapsThrough(1949));
}

int daysInYear(int year) { return hleap(year) ? 366 : 365; }

int daysInMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  const int n = kDaysBeforeMonth[month] - kDaysBeforeMonth[month - 1];
  return (month == 2 && hleap(year)) ? n + 1 : n;
}

void yearOfDayNumber(int64_t dayNumber, int& year, int& dayOfYear) {
  // Estimate from the mean Gregorian year, then correct by at most one year either way.
  int y = 1950 + static_cast<int>(std::floor(static_cast<double>(dayNumber - 1) / 365.2425));
  while (dayNumber <= dayNumberOfYearStart(y)) --y;
  while (dayNumber > dayNumberOfYearStart(y + 1)) ++y;
  year = y;
  dayOfYear = static_cast<int>(dayNumber - dayNumberOfYearStart(y));
}

bool splitTicks(double ds50, double ticksPerDay, int64_t& day, int64_t& tickOfDay) {
  // 3e6 days reaches past year 9999; keeps every product far inside the int64 range.
  if (!std::isfinite(ds50) || std::fabs(ds50) > 3.0e6) return false;
  const auto perDay = static_cast<int64_t>(ticksPerDay);
  const auto ticks = static_cast<int64_t>(std::llround(ds50 * ticksPerDay));
  day = ticks >= 0 ? ticks / perDay : -((-ticks + perDay - 1) / perDay);
  tickOfDay = ticks - day * perDay;
  return true;
}

bool fieldsOfDs50(double ds50, int decimals, ClockFields& f) {
  if (decimals < 0) decimals = 0;
  if (decimals > 6) decimals = 6;
  int64_t perSecond = 1;
  for (int i = 0; i < decimals; ++i) perSecond *= 10;
  int64_t day = 0, tick = 0;
  if (!splitTicks(ds50, 86400.0 * static_cast<double>(perSecond), day, tick)) return false;
  yearOfDayNumber(day, f.year, f.dayOfYear);
  const int64_t perMinute = 60 * perSecond;
  f.hour = static_cast<int>(tick / (60 * perMinute));
  f.minute = static_cast<int>((tick / perMinute) % 60);
  f.secondTicks = tick % perMinute;
  f.ticksPerSecond = perSecond;
  return true;
}

}  // namespace detail

double yrdays2ds50(int year, double dayOfYear) {
  return static_cast<double>(detail::dayNumberOfYearStart(year)) + dayOfYear;
}

double tcomps2utc(int dayOfYear, int hour, int minute, double seconds, int year) {
  return yrdays2ds50(year, dayOfYear) + (hour * 3600.0 + minute * 60.0 + seconds) / kSecondsPerDay;
}

int mmdd2jul(int year, int month, int day) {
  if (day < 1 || day > detail::daysInMonth(year, month)) return 0;
  return kDaysBeforeMonth[month - 1] + day + ((month > 2 && hleap(year)) ? 1 : 0);
}

void jul2mmdd(int year, int dayOfYear, int& month, int& day) {
  month = 0;
  day = 0;
  if (dayOfYear < 1 || dayOfYear > detail::daysInYear(year)) return;
  int rest = dayOfYear;
  for (int m = 1; m <= 12; ++m) {
    const int n = detail::daysInMonth(year, m);
    if (rest <= n) {
      month = m;
      day = rest;
      return;
    }
    rest -= n;
  }
}

double ymdhmsToDs50(int year, int month, int day, int hour, int minute, double seconds) {
  const int doy = mmdd2jul(year, month, day);
  if (doy == 0) return 0.0;
  return tcomps2utc(doy, hour, minute, seconds, year);
}

void ds50ToYmdhms(double ds50, int& year, int& month, int& day, int& hour, int& minute, double& seconds) {
  int doy = 0;
  detail::ClockFields f;
  if (!detail::fieldsOfDs50(ds50, 3, f)) {
    year = month = day = hour = minute = 0;
    seconds = 0.0;
    return;
  }
  year = f.year;
  doy = f.dayOfYear;
  jul2mmdd(year, doy, month, day);
  hour = f.hour;
  minute = f.minute;
  seconds = static_cast<double>(f.secondTicks) / static_cast<double>(f.ticksPerSecond);
}

double ds50ToJd(double ds50) { return ds50 + kJulianDateAtDs50Zero; }
double jdToDs50(double jd) { return jd - kJulianDateAtDs50Zero; }
double ds50ToMjd(double ds50) { return ds50 + kModifiedJulianDateAtDs50Zero; }
double mjdToDs50(double mjd) { return mjd - kModifiedJulianDateAtDs50Zero; }

void dyklok(double ds50, int decimals, int& year, int& dayOfYear, int& hour, int& minute, double& seconds) {
  detail::ClockFields f;
  if (!detail::fieldsOfDs50(ds50, decimals, f)) {
    year = dayOfYear = hour = minute = 0;
    seconds = 0.0;
    return;
  }
  year = f.year;
  dayOfYear = f.dayOfYear;
  hour = f.hour;
  minute = f.minute;
  seconds = static_cast<double>(f.secondTicks) / static_cast<double>(f.ticksPerSecond);
}

void dyklok(double ds50, int& year, int& dayOfYear, int& hour, int& minute, double& seconds) {
  dyklok(ds50, 6, year, dayOfYear, hour, minute, seconds);
}

void fyklok(double ds50, double& dayOfYear, int& year) {
  if (!std::isfinite(ds50) || std::fabs(ds50) > 3.0e6) {
    dayOfYear = 0.0;
    year = 0;
    return;
  }
  const auto dayNumber = static_cast<int64_t>(std::floor(ds50));
  int doy = 0;
  detail::yearOfDayNumber(dayNumber, year, doy);
  dayOfYear = ds50 - static_cast<double>(detail::dayNumberOfYearStart(year));
}

}  // namespace chronel
