// Chronel exports under a hostile host: absurd timing-constant files, non-finite and far-off times,
// unreadable date-time groups and null buffers. Each refusal gives its code (or NaN), exactly one
// trace-log line naming the export, and leaves the loaded table and the caller's buffers unchanged.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "Chronel.h"
#include "Siblings/Chronel/Chronel.h"
#include "common/TestSupport.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

void expectOneLine(const zktest::LogWatch& watch, const std::string& name) {
  EXPECT_EQ(watch.errors(), 1) << name;
  EXPECT_NE(zktest::LogWatch::lastError().find(name), std::string::npos) << zktest::LogWatch::lastError();
}

class ChronelBadInput : public ::testing::Test {
 protected:
  void SetUp() override { chronel::clearTimeConstants(); }
  void TearDown() override {
    chronel::clearTimeConstants();
    std::filesystem::remove(path_);
  }
  // The file name as a C host passes it: NUL ended, junk after the NUL.
  std::string hostName() const {
    std::string name(512, 'J');
    name.replace(0, path_.size(), path_);
    name[path_.size()] = '\0';
    return name;
  }
  void write(const std::string& text) const { std::ofstream(path_) << text; }
  std::string path_ =
      (std::filesystem::temp_directory_path() / ("chronel_bad_" + std::to_string(::getpid()) + ".txt"))
          .string();
};

TEST_F(ChronelBadInput, ImplausibleTimingConstantsRefuseTheWholeFile) {
  write("58000 0.25 0.1 0.2\n58001 0.24 0.1 0.2\n");
  std::string name = hostName();
  ASSERT_EQ(ChronelLoadTimeConstFile(name.data()), 0);  // the name ends at its NUL
  ASSERT_EQ(chronel::timeConstCount(), 2);
  struct Case {
    const char* text;
    const char* expect;
  };
  for (const Case c :
       {Case{"60000 1e300 1e300 1e300\n", "UT1-UTC out of range"},
        Case{"1e300 0.1 0.1 0.1\n", "MJD out of range"},
        Case{"58000 0.1 0.1 0.1\n15019 0.1 0.1 0.1\n", "at line 2"},
        Case{"58000 0.1 0.1 0.1\n58001 0.1 0.1 0.1\n88070 0.1 0.1 0.1\n", "at line 3"},
        Case{"58000 -1.0 0 0\n", "UT1-UTC out of range"},
        Case{"58000 0.1 5.01 0\n", "Polar motion out of range"},
        Case{"58000 0.1 0 -6\n", "Polar motion out of range"}, Case{"58000 0.1 inf 0\n", "Expected MJD"}}) {
    write(c.text);
    zktest::LogWatch watch;
    EXPECT_EQ(ChronelLoadTimeConstFile(name.data()), 2) << c.text;
    expectOneLine(watch, "loadTimeConstFile");
    EXPECT_NE(watch.lastError().find(c.expect), std::string::npos) << watch.lastError();
    EXPECT_EQ(chronel::timeConstCount(), 2) << c.text;
  }
  double tc[6] = {};
  ChronelGetTimeConsts(chronel::mjdToDs50(58000.0), tc);
  EXPECT_DOUBLE_EQ(tc[1], 0.25);  // the first table still answers
  zktest::LogWatch null;
  EXPECT_EQ(ChronelLoadTimeConstFile(nullptr), 2);
  expectOneLine(null, "ChronelLoadTimeConstFile");
}

TEST_F(ChronelBadInput, NonFiniteAndFarTimesAreRefusedAtEveryExport) {
  for (const double t : {kNaN, kInf, -kInf, 1e300, -3.1e6}) {
    zktest::LogWatch theta;
    EXPECT_TRUE(std::isnan(ChronelThetaGrnwch(t, 5))) << t;
    expectOneLine(theta, "ChronelThetaGrnwch");
    for (const auto& [name, call] :
         {std::pair{"ChronelUTCToTAI", &ChronelUTCToTAI}, std::pair{"ChronelTAIToUTC", &ChronelTAIToUTC},
          std::pair{"ChronelUTCToUT1", &ChronelUTCToUT1}}) {
      zktest::LogWatch watch;
      EXPECT_TRUE(std::isnan(call(t))) << name << " " << t;
      expectOneLine(watch, name);
    }
    double tc[6] = {7, 7, 7, 7, 7, 7};
    zktest::LogWatch consts;
    ChronelGetTimeConsts(t, tc);
    expectOneLine(consts, "ChronelGetTimeConsts");
    for (const double v : tc) EXPECT_EQ(v, 7.0);
    for (const auto& [name, call] : {std::pair{"ChronelUTCToDTG20", &ChronelUTCToDTG20},
                                     std::pair{"ChronelUTCToDTG17", &ChronelUTCToDTG17},
                                     std::pair{"ChronelUTCToDTG15", &ChronelUTCToDTG15}}) {
      char dtg[20];
      std::memset(dtg, '#', sizeof dtg);
      zktest::LogWatch watch;
      call(t, dtg);
      expectOneLine(watch, name);
      EXPECT_EQ(std::string(dtg, 20), std::string(20, '#'));
    }
  }
  // The edge of the span still works, and a year beyond 9999 is written as '*' with a line.
  zktest::LogWatch edge;
  EXPECT_TRUE(std::isfinite(ChronelUTCToTAI(3.0e6)));
  EXPECT_EQ(edge.errors(), 0);
  char dtg[20];
  ChronelUTCToDTG20(3.0e6, dtg);
  expectOneLine(edge, "ChronelUTCToDTG20");
  EXPECT_EQ(std::string(dtg, 20), std::string(20, '*'));
}

TEST_F(ChronelBadInput, UnreadableGroupsAndNullBuffersAreLoggedOnce) {
  for (const char* text : {"not a date", "2020/400 0000 00.0", "", "\x01\xFF"}) {
    char dtg[20];
    std::memset(dtg, ' ', sizeof dtg);
    std::memcpy(dtg, text, std::strlen(text));
    zktest::LogWatch watch;
    EXPECT_LE(ChronelDTGToUTC(dtg), 0.0) << text;
    expectOneLine(watch, "ChronelDTGToUTC");
  }
  zktest::LogWatch good;
  EXPECT_GT(ChronelDTGToUTC("2020/001 0000 00.000"), 0.0);
  EXPECT_EQ(good.errors(), 0);

  zktest::LogWatch dtg;
  EXPECT_EQ(ChronelDTGToUTC(nullptr), 0.0);
  expectOneLine(dtg, "ChronelDTGToUTC");
  zktest::LogWatch group;
  ChronelUTCToDTG20(27000.0, nullptr);
  expectOneLine(group, "ChronelUTCToDTG20");
  zktest::LogWatch consts;
  ChronelGetTimeConsts(27000.0, nullptr);
  expectOneLine(consts, "ChronelGetTimeConsts");
  zktest::LogWatch info;
  ChronelGetInfo(nullptr);
  expectOneLine(info, "ChronelGetInfo");
}

}  // namespace
