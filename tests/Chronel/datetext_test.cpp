// Date-time groups and calendar text: every form read to the same time, round trips over the
// two-digit-year span, unreadable text, and the 20-character export buffers.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>

#include "Chronel.h"
#include "Siblings/Chronel/Chronel.h"

using namespace chronel;

namespace {
// DS50 rounded to whole milliseconds, the resolution of the groups.
long long millis(double ds50) { return std::llround(ds50 * 86400000.0); }
}  // namespace

TEST(ChronelDateText, EveryFormReadsToTheSameTime) {
  const double expected = ymdhmsToDs50(2020, 1, 1, 12, 0, 0.0);
  for (const char* text :
       {"1 Jan 2020 12:00:00.000", "01 JAN 2020 12:00:00", "2020/001 12:00:00.000", "2020-01-01T12:00:00.000",
        "2020-001T12:00:00.000", "2020 Jan 01 12:00:00.000", "2020/01/01 12:00:00.000", "20001120000.000",
        "2020001120000.000", "2020/001 1200 00.000", "  2020-01-01T12:00:00Z  ", "January 1 2020 12:00",
        "2020-01-01 12:00:00.000000 UTC"}) {
    EXPECT_DOUBLE_EQ(dtg2ds50utc(text), expected) << text;
  }
  // The fixed groups alone through dtgtods50, with fewer second decimals too.
  for (const char* text : {"20001120000.000", "2020001120000.000", "2020/001 1200 00.000", "20001120000",
                           "20001120000.0", " 2020001120000.000  "})
    EXPECT_DOUBLE_EQ(dtgtods50(text), expected) << text;
  EXPECT_DOUBLE_EQ(dtgtods50(std::string_view("20001120000.000\0\0\0\0\0", 20)), expected);
  EXPECT_LE(dtgtods50("2020-01-01T12:00:00.000"), 0.0);  // calendar text is dtg2ds50utc's
  // Fractions of a second and the two-digit year window.
  EXPECT_NEAR(dtg2ds50utc("2020-06-15T01:02:03.456789"), ymdhmsToDs50(2020, 6, 15, 1, 2, 3.456789), 1e-11);
  EXPECT_DOUBLE_EQ(dtgtods50("57001000000.000"), ymdhmsToDs50(1957, 1, 1, 0, 0, 0.0));
  EXPECT_DOUBLE_EQ(dtgtods50("56366235959.999"), ymdhmsToDs50(2056, 12, 31, 23, 59, 59.999));
  EXPECT_DOUBLE_EQ(dtg2ds50utc("29 Feb 2016 00:00:00"), ymdhmsToDs50(2016, 2, 29, 0, 0, 0.0));
  // A leap second as written (23:59:60.x) counts on into the next day; 60 s elsewhere is refused.
  EXPECT_NEAR(dtg2ds50utc("2016-12-31T23:59:60.5"), ymdhmsToDs50(2017, 1, 1, 0, 0, 0.5), 1e-11);
  EXPECT_LE(dtg2ds50utc("2016-12-31T23:58:60.5"), 0.0);
}

TEST(ChronelDateText, UnreadableTextGivesNoTime) {
  std::string nuls(40, '\0');
  for (const std::string& text : {std::string(),
                                  std::string(20, ' '),
                                  nuls,
                                  std::string("garbage"),
                                  std::string("20001120000.00x"),
                                  std::string("20366250000.000"),
                                  std::string("21366120000.000"),
                                  std::string("20001126000.000"),
                                  std::string("2020/000 1200 00.000"),
                                  std::string("31 Feb 2020 12:00:00"),
                                  std::string("32 Jan 2020 12:00"),
                                  std::string("2020-13-01T00:00:00"),
                                  std::string("2020-01-01T24:00:00"),
                                  std::string("2020-01-01T12:60:00"),
                                  std::string("2020-01-01X12:00:00"),
                                  std::string("01/02/2020 12:00:00"),
                                  std::string("1 Foo 2020 12:00:00"),
                                  std::string("2020-01-01T12:00:00.1.2"),
                                  std::string("2020-01-01T:00:00"),
                                  std::string("::::"),
                                  std::string("2020-01-01T12:00:00\0\x01", 21),
                                  std::string(200, '9')}) {
    EXPECT_LE(dtg2ds50utc(text), 0.0) << text;
    EXPECT_LE(dtgtods50(text), 0.0) << text;
  }
  // Random bytes, and random edits of a good group, never crash and never read past the text.
  std::mt19937 rng(20240607);
  std::uniform_int_distribution<int> byte(0, 255), len(0, 40);
  for (int i = 0; i < 20000; ++i) {
    std::string s(static_cast<size_t>(len(rng)), ' ');
    for (char& c : s) c = static_cast<char>(byte(rng));
    const double a = dtg2ds50utc(s), b = dtgtods50(s);
    ASSERT_FALSE(std::isnan(a) || std::isnan(b));
    std::string g = "2020-01-01T12:00:00.000";
    g[static_cast<size_t>(byte(rng)) % g.size()] = static_cast<char>(byte(rng));
    ASSERT_FALSE(std::isnan(dtg2ds50utc(g)));
  }
}

TEST(ChronelDateText, RoundTripsKeepTheMillisecond) {
  EXPECT_EQ(ds50todate15(kDs50J2000), "00001120000.000");
  EXPECT_EQ(ds50toyydate15(kDs50J2000), "2000001120000.000");
  EXPECT_EQ(ds50ToDate20(kDs50J2000), "2000/001 1200 00.000");
  // Half a millisecond before midnight rounds into the next day, never to 60 seconds.
  EXPECT_EQ(ds50todate15(ymdhmsToDs50(2000, 12, 31, 23, 59, 59.9996)), "01001000000.000");

  std::mt19937_64 rng(1957);
  std::uniform_real_distribution<double> when(ymdhmsToDs50(1957, 1, 1, 0, 0, 0.0),
                                              ymdhmsToDs50(2057, 1, 1, 0, 0, 0.0));
  for (int i = 0; i < 100000; ++i) {
    const double t = when(rng);
    const std::string g15 = ds50todate15(t), g17 = ds50toyydate15(t), g20 = ds50ToDate20(t);
    ASSERT_EQ(g15.size(), 15u);
    ASSERT_EQ(g17.size(), 17u);
    ASSERT_EQ(g20.size(), 20u);
    for (const std::string& g : {g15, g17, g20}) {
      const double back = dtgtods50(g);
      ASSERT_EQ(millis(back), millis(t)) << g;
      ASSERT_EQ(dtg2ds50utc(g), back) << g;
    }
    ASSERT_EQ(ds50todate15(dtgtods50(g15)), g15);
  }
  EXPECT_EQ(ds50todate15(NAN), std::string(15, '*'));
}

TEST(ChronelDateText, ExportBuffersOfTwentyCharacters) {
  std::array<char, 21> buf;
  buf.fill('#');
  ChronelUTCToDTG20(kDs50J2000, buf.data());
  EXPECT_EQ(std::string(buf.data(), 20), "2000/001 1200 00.000");
  ChronelUTCToDTG15(kDs50J2000, buf.data());
  EXPECT_EQ(std::string(buf.data(), 20), "00001120000.000     ");
  ChronelUTCToDTG17(kDs50J2000, buf.data());
  EXPECT_EQ(std::string(buf.data(), 20), "2000001120000.000   ");
  EXPECT_EQ(buf[20], '#');  // nothing written past the buffer
  // A caller's buffer without terminator, read back through the export.
  const std::array<char, 20> in{'0', '1', ' ', 'J', 'A', 'N', ' ', '2', '0', '2',
                                '0', ' ', '1', '2', ':', '0', '0', ':', '0', '0'};
  EXPECT_DOUBLE_EQ(ChronelDTGToUTC(in.data()), ymdhmsToDs50(2020, 1, 1, 12, 0, 0.0));
}
