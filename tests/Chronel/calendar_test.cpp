// Calendar facts and the split of DS50 times into calendar fields.
#include <gtest/gtest.h>

#include <cmath>

#include "Siblings/Chronel/Chronel.h"

using namespace chronel;

TEST(ChronelCalendar, EpochsAndJulianDates) {
  EXPECT_DOUBLE_EQ(ymdhmsToDs50(1950, 1, 1, 0, 0, 0.0), 1.0);
  EXPECT_DOUBLE_EQ(ymdhmsToDs50(2000, 1, 1, 12, 0, 0.0), kDs50J2000);
  EXPECT_DOUBLE_EQ(ds50ToJd(kDs50J2000), 2451545.0);
  // MJD 51544 is 2000 January 1 0h; MJD 57754 is 2017 January 1 (IERS Bulletin C dates).
  EXPECT_DOUBLE_EQ(ds50ToMjd(ymdhmsToDs50(2000, 1, 1, 0, 0, 0.0)), 51544.0);
  EXPECT_DOUBLE_EQ(ds50ToMjd(ymdhmsToDs50(2017, 1, 1, 0, 0, 0.0)), 57754.0);
  // 1957 October 4 (Sputnik 1) is JD 2436115.5 at 0h.
  EXPECT_DOUBLE_EQ(ds50ToJd(ymdhmsToDs50(1957, 10, 4, 0, 0, 0.0)), 2436115.5);
}

TEST(ChronelCalendar, LeapYearsAndTwoDigitYears) {
  EXPECT_TRUE(hleap(2000));
  EXPECT_FALSE(hleap(1900));
  EXPECT_FALSE(hleap(2100));
  EXPECT_TRUE(hleap(4));  // two-digit year 04 is 2004
  EXPECT_EQ(fixyr(57), 1957);
  EXPECT_EQ(fixyr(56), 2056);
  // Year lengths come out of the day counts: 366 days from 2000 to 2001, 365 from 2100 to 2101.
  EXPECT_DOUBLE_EQ(yrdays2ds50(2001, 1.0) - yrdays2ds50(2000, 1.0), 366.0);
  EXPECT_DOUBLE_EQ(yrdays2ds50(2101, 1.0) - yrdays2ds50(2100, 1.0), 365.0);
  EXPECT_DOUBLE_EQ(yrdays2ds50(99, 1.0), yrdays2ds50(1999, 1.0));
}

TEST(ChronelCalendar, MonthDayAndDayOfYear) {
  EXPECT_EQ(mmdd2jul(2000, 3, 1), 61);
  EXPECT_EQ(mmdd2jul(1999, 3, 1), 60);
  EXPECT_EQ(mmdd2jul(1900, 2, 29), 0);  // no such date
  EXPECT_EQ(mmdd2jul(2001, 13, 1), 0);
  for (int year : {1999, 2000}) {
    for (int doy = 1; doy <= (hleap(year) ? 366 : 365); ++doy) {
      int m = 0, d = 0;
      jul2mmdd(year, doy, m, d);
      ASSERT_EQ(mmdd2jul(year, m, d), doy) << year << " " << doy;
    }
  }
  int m = -1, d = -1;
  jul2mmdd(1999, 366, m, d);
  EXPECT_EQ(m, 0);
  EXPECT_EQ(d, 0);
}

TEST(ChronelCalendar, ClockFieldsNeverShowSixtySeconds) {
  int y = 0, doy = 0, h = 0, mi = 0;
  double s = 0.0;
  // 0.1 microsecond before 2001 January 1 0h: the rounding carries into the new year.
  dyklok(ymdhmsToDs50(2000, 12, 31, 23, 59, 59.9999999), y, doy, h, mi, s);
  EXPECT_EQ(y, 2001);
  EXPECT_EQ(doy, 1);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(mi, 0);
  EXPECT_EQ(s, 0.0);
  // At millisecond resolution 59.9996 s is the next minute too.
  dyklok(tcomps2utc(100, 10, 20, 59.9996, 2020), 3, y, doy, h, mi, s);
  EXPECT_EQ(mi, 21);
  EXPECT_DOUBLE_EQ(s, 0.0);
  dyklok(tcomps2utc(100, 10, 20, 30.25, 2020), y, doy, h, mi, s);
  EXPECT_EQ(y, 2020);
  EXPECT_EQ(doy, 100);
  EXPECT_EQ(h, 10);
  EXPECT_EQ(mi, 20);
  EXPECT_NEAR(s, 30.25, 1e-6);

  int mo = 0, day = 0;
  ds50ToYmdhms(ymdhmsToDs50(2016, 2, 29, 6, 7, 8.5), y, mo, day, h, mi, s);
  EXPECT_EQ(y * 10000 + mo * 100 + day, 20160229);
  EXPECT_EQ(h * 100 + mi, 607);
  EXPECT_DOUBLE_EQ(s, 8.5);
}

TEST(ChronelCalendar, DayOfYearWithFraction) {
  double doy = 0.0;
  int year = 0;
  fyklok(ymdhmsToDs50(2000, 1, 1, 0, 0, 0.0), doy, year);
  EXPECT_EQ(year, 2000);
  EXPECT_DOUBLE_EQ(doy, 1.0);
  fyklok(ymdhmsToDs50(2000, 12, 31, 18, 0, 0.0), doy, year);
  EXPECT_EQ(year, 2000);
  EXPECT_DOUBLE_EQ(doy, 366.75);
  // Start of a year in the way the equinox-of-year code uses it: day 0, 00:00:00 of that year.
  EXPECT_DOUBLE_EQ(tcomps2utc(0, 0, 0, 0.0, year), ymdhmsToDs50(1999, 12, 31, 0, 0, 0.0));
  fyklok(NAN, doy, year);  // not a time: cleared, no crash
  EXPECT_EQ(year, 0);
}
