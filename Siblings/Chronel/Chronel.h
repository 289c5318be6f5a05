// Time services: DS50 (days since 1950 January 0.0, JD - 2433281.5) in UTC, TAI or UT1,
// calendar conversions, date-time groups, leap seconds, timing constants, the Greenwich angle,
// split TAI arithmetic and satKey creation.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace chronel {

constexpr double kJulianDateAtDs50Zero = 2433281.5;
constexpr double kModifiedJulianDateAtDs50Zero = 33281.0;  // MJD = JD - 2400000.5
constexpr double kDs50J2000 = 18263.5;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kTTMinusTAISeconds = 32.184;

// ---- Calendar -------------------------------------------------------------------------------

// Four-digit year from a two-digit one (57-99 -> 19xx, 00-56 -> 20xx); four-digit years unchanged.
int fixyr(int year);
// True for a Gregorian leap year.
bool hleap(int year);
// DS50 of a (four- or two-digit) year and a day of year with fraction (day 1.0 is January 1 0h).
double yrdays2ds50(int year, double dayOfYear);
// DS50 UTC from day of year, hour, minute, seconds and year (year last).
double tcomps2utc(int dayOfYear, int hour, int minute, double seconds, int year);

// Day of year (1-366) of a month (1-12) and day of month; 0 when the date does not exist.
int mmdd2jul(int year, int month, int day);
// Month (1-12) and day of month of a day of year; both 0 when the day of year is out of range.
void jul2mmdd(int year, int dayOfYear, int& month, int& day);

// DS50 of a calendar date and time (Gregorian calendar, year of four or two digits).
double ymdhmsToDs50(int year, int month, int day, int hour, int minute, double seconds);
// Calendar date and time of a DS50 time, seconds rounded to the millisecond.
void ds50ToYmdhms(double ds50, int& year, int& month, int& day, int& hour, int& minute, double& seconds);

// Julian date and modified Julian date of a DS50 time, and back.
double ds50ToJd(double ds50);
double jdToDs50(double jd);
double ds50ToMjd(double ds50);
double mjdToDs50(double mjd);

// Year, day of year, hour, minute and seconds of a DS50 time. The time is rounded to the
// microsecond first, so the seconds never read 60 and a carry moves into the minute.
void dyklok(double ds50, int& year, int& dayOfYear, int& hour, int& minute, double& seconds);
// The same rounded to 10^-decimals seconds (decimals 0-6), so the seconds can be written with
// that many decimals without ever reading 60.
void dyklok(double ds50, int decimals, int& year, int& dayOfYear, int& hour, int& minute, double& seconds);
// Day of year with its fraction (1.0 is January 1 0h) and the year of a DS50 time.
void fyklok(double ds50, double& dayOfYear, int& year);

// ---- Date-time groups -----------------------------------------------------------------------

// DS50 UTC of a fixed date-time group: 15 characters "YYDDDHHMMSS.SSS", 17 characters
// "YYYYDDDHHMMSS.SSS" or 20 characters "YYYY/DDD HHMM SS.SSS" (fewer second decimals allowed in
// each). Surrounding blanks and NULs are ignored; <= 0 when the text is not such a group.
double dtgtods50(std::string_view dtg);
// DS50 UTC of a date-time group or of a calendar date and time (see DateText.cpp for the forms:
// "1 Jan 2020 12:00:00.000", "2020/001 12:00:00.000", "2020/01/01 12:00:00.000",
// "2020-01-01T12:00:00.000", "2020-001T12:00:00.000", "2020 Jan 01 12:00:00.000", ...);
// <= 0 when the text cannot be read.
double dtg2ds50utc(std::string_view text);

// "YYDDDHHMMSS.SSS" (two-digit year), rounded to the millisecond.
std::string ds50todate15(double ds50);
// "YYYYDDDHHMMSS.SSS" (four-digit year), rounded to the millisecond.
std::string ds50toyydate15(double ds50);
// "YYYY/DDD HHMM SS.SSS", rounded to the millisecond.
std::string ds50ToDate20(double ds50);

// ---- Time systems ---------------------------------------------------------------------------

// TAI - UTC in seconds at a UTC time, from the built-in leap-second table (10 s before 1972).
double taiMinusUtcSeconds(double ds50UTC);
// TAI - UTC in seconds at a TAI time; the leap second itself belongs to the earlier offset.
double taiMinusUtcAtTai(double ds50TAI);

double utc2tai(double ds50UTC);
double tai2utc(double ds50TAI);
// UT1 = UTC + (UT1 - UTC) of the loaded timing constants (0 when none are loaded).
double utc2ut1(double ds50UTC);
double taiToUt1(double ds50TAI);
// Four times from one: [0] UTC, [1] UT1, [2] TAI, [3] TT (all DS50).
void utc2types(double ds50UTC, double times[4]);
void tai2types(double ds50TAI, double times[4]);

// ---- Timing constants -----------------------------------------------------------------------

// Timing constants at a time, six doubles:
//   [0] TAI - UTC (s, from the leap-second table; always filled)
//   [1] UT1 - UTC (s)          [2] rate of UT1 - UTC (s/day)
//   [3] source: 0 none loaded, 1 interpolated inside the loaded span, 2 end value held outside it
//   [4] polar motion x (arcsec)    [5] polar motion y (arcsec)
// Slots 1-5 are zero until a table is loaded.
void gettconst(double ds50UTC, double tconst[6]);
void gettconsttai(double ds50TAI, double tconst[6]);

// Loads daily timing constants from a text file, replacing the loaded table: one line per day
// "MJD UT1-UTC(s) xp(arcsec) yp(arcsec)", blanks or commas between fields, "#" starts a comment.
// 0 on success; kResultFail (table kept, one trace-log line naming the line) for an unopenable file,
// an unreadable or implausible day (see TimingConstants.cpp), days not increasing or no data line.
int loadTimeConstFile(std::string_view fileName);
// Forgets the loaded timing constants.
void clearTimeConstants();
// Number of days in the loaded table.
int timeConstCount();

// ---- Greenwich angle ------------------------------------------------------------------------

// Greenwich angle (radians, [0, 2pi)) at a DS50 UT1 time. fk 4: the FK4-era Newcomb-based
// formula; any other value: FK5, the IAU 1982 GMST.
double getthgr(double ds50UT1, int fk);

// ---- Split TAI time -------------------------------------------------------------------------

// A DS50 TAI time as whole days plus the fraction of a day in [0, 1).
struct SplitTime {
  double days = 0.0;
  double frac = 0.0;
};

// Inline: the interpolation splits every window time.
inline SplitTime tosplittai(double ds50TAI) {
  double days = std::floor(ds50TAI);
  double frac = ds50TAI - days;  // exact, in [0, 1)
  if (frac >= 1.0) {             // cannot happen for a finite time; kept for a clear invariant
    days += 1.0;
    frac -= 1.0;
  }
  return {days, frac};
}
// The split time back as one DS50 value.
double fromSplit(const SplitTime& t);
// t + seconds.
SplitTime plus(const SplitTime& t, double seconds);
// a - b in seconds.
inline double minus(const SplitTime& a, const SplitTime& b) {
  return (a.days - b.days) * 86400.0 + (a.frac - b.frac) * 86400.0;
}
bool lt(const SplitTime& a, const SplitTime& b);
bool gt(const SplitTime& a, const SplitTime& b);

// ---- satKey creation ------------------------------------------------------------------------

// satKey of a satellite number (0 to 999999999), element-set type (1 to 9) and epoch in DS50 UTC;
// -1 when none can be made. Equal inputs give equal keys; key mod 10 is the type, never 0.
int64_t createsatkey(int satNum, int elsetType, double epochDs50UTC);
// The same with the epoch as date-time text (read by dtg2ds50utc); -1 when it is unreadable.
int64_t createsatkey(int satNum, int elsetType, std::string_view epochText);

}  // namespace chronel
