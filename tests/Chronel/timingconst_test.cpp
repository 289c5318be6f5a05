// Timing-constants loader: interpolation between days, held end values, leap seconds inside the
// table, UT1, and refused files (code 2 and one trace-log line each).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Chronel.h"
#include "Siblings/Chronel/Chronel.h"
#include "common/TestSupport.h"

using namespace chronel;

namespace {

class ChronelTimingConst : public ::testing::Test {
 protected:
  void SetUp() override { clearTimeConstants(); }
  void TearDown() override {
    clearTimeConstants();
    std::filesystem::remove(path_);
  }
  std::string write(const std::string& text) {
    std::ofstream(path_) << text;
    return path_;
  }
  std::string path_ =
      (std::filesystem::temp_directory_path() / ("chronel_tconst_" + std::to_string(::getpid()) + ".txt"))
          .string();
};

double mjdUtc(double mjd) { return mjdToDs50(mjd); }

}  // namespace

TEST_F(ChronelTimingConst, NothingLoadedGivesZerosButTaiMinusUtc) {
  double tc[6] = {9, 9, 9, 9, 9, 9};
  gettconst(mjdUtc(58000.5), tc);
  EXPECT_DOUBLE_EQ(tc[0], 37.0);
  for (int i = 1; i < 6; ++i) EXPECT_EQ(tc[i], 0.0) << i;
  EXPECT_DOUBLE_EQ(utc2ut1(mjdUtc(58000.5)), mjdUtc(58000.5));
}

TEST_F(ChronelTimingConst, InterpolatesBetweenDaysAndHoldsTheEnds) {
  zktest::LogWatch log;
  ASSERT_EQ(loadTimeConstFile(write("# MJD UT1-UTC xp yp\n"
                               "58000  0.3000  0.100 0.300\n"
                               "\n"
                               "58001, 0.2990, 0.110, 0.280   # comma separated\n"
                               "58002\t0.2970\t0.130\t+0.260\r\n")),
            0);
  EXPECT_EQ(log.errors(), 0);
  EXPECT_EQ(timeConstCount(), 3);
  double tc[6];
  gettconst(mjdUtc(58000.25), tc);
  EXPECT_NEAR(tc[1], 0.29975, 1e-12);
  EXPECT_NEAR(tc[2], -0.001, 1e-12);  // s/day
  EXPECT_EQ(tc[3], 1.0);
  EXPECT_NEAR(tc[4], 0.1025, 1e-12);
  EXPECT_NEAR(tc[5], 0.295, 1e-12);
  gettconst(mjdUtc(58001.5), tc);
  EXPECT_NEAR(tc[1], 0.298, 1e-12);
  EXPECT_NEAR(tc[4], 0.12, 1e-12);
  // Outside the span the end values hold.
  gettconst(mjdUtc(57990.0), tc);
  EXPECT_NEAR(tc[1], 0.3, 1e-12);
  EXPECT_EQ(tc[2], 0.0);
  EXPECT_EQ(tc[3], 2.0);
  gettconst(mjdUtc(58100.0), tc);
  EXPECT_NEAR(tc[1], 0.297, 1e-12);
  EXPECT_NEAR(tc[4], 0.13, 1e-12);
  // UT1 follows, and the TAI entry point reads the same instant.
  EXPECT_NEAR((utc2ut1(mjdUtc(58000.25)) - mjdUtc(58000.25)) * 86400.0, 0.29975, 1e-6);
  double tt[6];
  gettconsttai(utc2tai(mjdUtc(58000.25)), tt);
  EXPECT_NEAR(tt[1], 0.29975, 1e-9);
  EXPECT_EQ(log.infos(), 1);
}

TEST_F(ChronelTimingConst, LeapSecondBetweenTwoDaysIsNotSmeared) {
  // 2016 December 31 (MJD 57753) and 2017 January 1 (57754): UT1-UTC jumps by +1 s with the leap
  // second; UT1 itself runs smoothly, so half-way through the last day of 2016 UT1-UTC is the
  // mean of -0.4 and (0.59 - 1).
  ASSERT_EQ(loadTimeConstFile(write("57753 -0.40 0 0\n57754 0.59 0 0\n")), 0);
  double tc[6];
  gettconst(mjdUtc(57753.5), tc);
  EXPECT_NEAR(tc[1], -0.405, 1e-9);
  gettconst(mjdUtc(57754.0), tc);
  EXPECT_NEAR(tc[1], 0.59, 1e-9);
  // UT1 across the step: one UTC second before midnight to midnight is two seconds of TAI but
  // only about one second of UT1.
  const double b = mjdUtc(57754.0) - 1.0 / 86400.0, a = mjdUtc(57754.0);
  EXPECT_NEAR((utc2ut1(a) - utc2ut1(b)) * 86400.0, 2.0, 1e-5);
  EXPECT_NEAR((utc2ut1(a) - utc2ut1(b)) * 86400.0 - (utc2tai(a) - utc2tai(b)) * 86400.0, 0.0, 1e-5);
}

TEST_F(ChronelTimingConst, RefusedFilesLogOneLineAndKeepTheTable) {
  ASSERT_EQ(loadTimeConstFile(write("58000 0.1 0.2 0.3\n58001 0.1 0.2 0.3\n")), 0);
  const std::string missing = path_ + ".missing";
  struct Case {
    std::string text;  // file content; empty means the file does not exist
    const char* expect;
  };
  for (const Case& c :
       {Case{"", "Unable to open"}, Case{"58000 0.1 0.2\n", "Expected MJD"},
        Case{"58000 0.1 0.2 0.3 0.4\n", "Expected MJD"}, Case{"58000 0.1 x 0.3\n", "Expected MJD"},
        Case{"58001 0.1 0.2 0.3\n58000 0.1 0.2 0.3\n", "not increasing"},
        Case{"# nothing\n\n", "No timing constants"}, Case{"58000 nan 0 0\n", "Expected MJD"}}) {
    zktest::LogWatch log;
    const std::string file = c.text.empty() ? missing : write(c.text);
    EXPECT_EQ(loadTimeConstFile(file), 2) << c.text;
    EXPECT_EQ(log.errors(), 1) << c.text;
    EXPECT_NE(log.lastError().find(c.expect), std::string::npos) << log.lastError();
    EXPECT_NE(log.lastError().find("loadTimeConstFile"), std::string::npos);
    EXPECT_EQ(timeConstCount(), 2);  // the loaded table is kept
  }
  // Through the export: a 512-character blank-padded name without terminator.
  std::string name(512, ' ');
  name.replace(0, missing.size(), missing);
  zktest::LogWatch log;
  EXPECT_EQ(ChronelLoadTimeConstFile(name.data()), 2);
  EXPECT_EQ(log.errors(), 1);
  name.assign(512, ' ');
  write("58000 0.25 0.5 0.75\n");
  name.replace(0, path_.size(), path_);
  EXPECT_EQ(ChronelLoadTimeConstFile(name.data()), 0);
  double tc[6];
  ChronelGetTimeConsts(mjdUtc(58000.0), tc);
  EXPECT_DOUBLE_EQ(tc[1], 0.25);
  EXPECT_DOUBLE_EQ(tc[5], 0.75);
}
