// Pelmath's JPL cards: classification by columns, comments and blank lines, case, the unit rules,
// and a card file that names the sample and its span.
#include <filesystem>
#include <fstream>
#include <string>

#include "Pelmath/JplProcessing.h"
#include "Pelmath/PelmathCardReading.h"
#include "Siblings/Basalon/Units.h"
#include "common/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using pelmath::jplctrl;
using zktest::LogWatch;

constexpr double kDs50Of2001 = 2451910.5 - 2433281.5;  // 2001 January 1 0h
constexpr double kDs50Of2002 = 2452275.5 - 2433281.5;  // 2002 January 1 0h

class PelmathCards : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zk_pmcards_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    pelmath::jplReset();
  }
  void TearDown() override {
    pelmath::jplReset();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  fs::path dir_;
};

TEST(PelmathCardType, ColumnsCompared) {
  EXPECT_EQ(pelmath::PelmathCardType("JPL_FILE = de405.txt"), 1);
  EXPECT_EQ(pelmath::PelmathCardType("JPL_STARTING 01001000000.000"), 2);
  EXPECT_EQ(pelmath::PelmathCardType("JPL_STAR 01001000000.000"), 100);
  EXPECT_EQ(pelmath::PelmathCardType("JPL_STOP=01001000000.000"), 3);
  EXPECT_EQ(pelmath::PelmathCardType(" JPL_FILE"), 100);
  EXPECT_EQ(pelmath::PelmathCardType("jpl_file"), 100);  // the reader upper-cases before classifying
  EXPECT_EQ(pelmath::PelmathCardType("JPL_"), 100);
}

TEST_F(PelmathCards, CardFileSetsTheControlRecord) {
  const std::string jplName = (dir_ / "MixedCase_DE405.txt").string();
  const std::string cards =
      "* JPL_FILE = /not/this/one\n"
      "\n"
      "        \n"
      "JPL_FILE = " +
      jplName +
      "\r\n"
      "jpl_start = 01001000000.000\n"
      "JPL_STOP  = 02001000000.000\n"
      "JPL_STAR  = 99001000000.000\n"
      "QELFIL = other.txt\n";
  LogWatch w;
  EXPECT_EQ(pelmath::ReadPelmathFrFile(write("cards.txt", cards)), 0);
  EXPECT_EQ(w.errors(), 0);
  EXPECT_EQ(jplctrl.fileName.str(), jplName);  // the name keeps its case
  EXPECT_NEAR(jplctrl.startTime, kDs50Of2001, 1e-9);
  EXPECT_NEAR(jplctrl.stopTime, kDs50Of2002, 1e-9);
  EXPECT_EQ(jplctrl.loaded, 0);
  EXPECT_FALSE(basalon::fileIsOpen(pelmath::kPelmathCardUnit));
  // A longer keyword that begins with JPL_START is a start card; a later card wins.
  EXPECT_EQ(pelmath::ReadPelmathFrFile(write("more.txt", "JPL_STARTING = 01032000000.000\n")), 0);
  EXPECT_NEAR(jplctrl.startTime, kDs50Of2001 + 31.0, 1e-9);
  EXPECT_EQ(jplctrl.fileName.str(), jplName);
}

TEST_F(PelmathCards, UnreadableDateKeepsTheSpan) {
  LogWatch w;
  EXPECT_EQ(pelmath::ReadPelmathFrFile(write("bad.txt", "JPL_STOP = next tuesday\n")), 0);
  EXPECT_EQ(jplctrl.stopTime, 36525.0);
  EXPECT_EQ(w.errors(), 1);
}

TEST_F(PelmathCards, UnitRules) {
  // A missing file: the open status, nothing changed.
  const int st = pelmath::ReadPelmathFrFile((dir_ / "absent.txt").string());
  EXPECT_EQ(st, basalon::kUnitCannotOpen);
  EXPECT_EQ(jplctrl.stopTime, 36525.0);
  // A unit connected to a default-named file is refused.
  const std::string fort = write("fort.33", "JPL_STOP = 02001000000.000\n");
  ASSERT_EQ(basalon::fileopen(33, fort, basalon::kOpenRead), 0);
  LogWatch w;
  EXPECT_EQ(pelmath::ReadPelmathFrFileUnit(33), 2);
  EXPECT_EQ(LogWatch::lastError(),
            "ReadPelmathFrFileUnit: Using fort.n not allowed in Zenkora due to security risk");
  EXPECT_EQ(jplctrl.stopTime, 36525.0);
  basalon::fileClose(33);
  // A caller's unit is read from its first line even after lines were read from it.
  const std::string own = write("own.txt", "JPL_STOP = 02001000000.000\nJPL_START = 01001000000.000\n");
  ASSERT_EQ(basalon::fileopen(34, own, basalon::kOpenRead), 0);
  std::string line;
  ASSERT_EQ(basalon::fileReadLine(34, 80, line), 0);
  EXPECT_EQ(pelmath::ReadPelmathFrFileUnit(34), 0);
  EXPECT_NEAR(jplctrl.stopTime, kDs50Of2002, 1e-9);
  EXPECT_NEAR(jplctrl.startTime, kDs50Of2001, 1e-9);
  EXPECT_TRUE(basalon::fileIsOpen(34));  // the caller's unit stays open
  basalon::fileClose(34);
}

TEST_F(PelmathCards, CardsNameTheFileThatLoadsAtTheFirstRequest) {
  const std::string sample = zktest::dataPath("de-sample/de405-2000-2004.txt");
  ZK_REQUIRE_DATA(sample);
  ASSERT_EQ(pelmath::ReadPelmathFrFile(write("jpl.txt", "JPL_FILE = " + sample +
                                                            "\nJPL_START = 01001000000.000\n"
                                                            "JPL_STOP = 01060000000.000\n")),
            0);
  pelmath::Vec3 moon{}, sun{};
  ASSERT_EQ(pelmath::jpl_ephem(chronel::tosplittai(kDs50Of2001 + 20.0), moon, sun), 0);
  EXPECT_EQ(jplctrl.loaded, 1);
  // Three 32-day records (from 2000 December 9) cover 2001 January 1 to March 1.
  EXPECT_EQ(pelmath::jplbuf.numBlocks, 3);
  EXPECT_LE(chronel::fromSplit(pelmath::jplbuf.bufStart), kDs50Of2001);
  EXPECT_GE(chronel::fromSplit(pelmath::jplbuf.bufEnd), kDs50Of2001 + 59.0);
}

}  // namespace
