// Units: open modes and refusals, line reads (padding, cutting, CR LF, NUL), step back, rewind, writes.
#include "Siblings/Basalon/Units.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/TestSupport.h"

using namespace basalon;
namespace fs = std::filesystem;

namespace {

class UnitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("basalon_units_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override {
    for (int u = kFirstUnit; u <= kLastUnit; ++u) fileClose(u);
    fs::remove_all(dir_);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string writeraw(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
    return path(name);
  }
  // Reads every remaining line of the unit, cut or padded to columns.
  static std::vector<std::string> readall(int unit, int columns) {
    std::vector<std::string> lines;
    std::string line;
    while (fileReadLine(unit, columns, line) == kUnitOk) lines.push_back(line);
    return lines;
  }
  fs::path dir_;
};

TEST_F(UnitsTest, LinesArePaddedCutAndStripped) {
  const char raw[] = "short\r\nexactly10!\nmuch longer than ten\n\nnul\0in\nlast without end";
  const std::string name = writeraw("a.txt", std::string(raw, sizeof raw - 1));
  ASSERT_EQ(fileopen(10, name, kOpenRead), kUnitOk);
  std::string line;
  EXPECT_EQ(fileReadLine(10, 10, line), kUnitOk);
  EXPECT_EQ(line, "short     ");  // CR of CR LF dropped, padded
  EXPECT_EQ(fileReadLine(10, 10, line), kUnitOk);
  EXPECT_EQ(line, "exactly10!");
  EXPECT_EQ(fileReadLine(10, 10, line), kUnitOk);
  EXPECT_EQ(line, "much longe");  // cut
  EXPECT_EQ(fileReadLine(10, 10, line), kUnitOk);
  EXPECT_EQ(line, std::string(10, ' '));  // empty line
  EXPECT_EQ(fileReadLine(10, 10, line), kUnitOk);
  EXPECT_EQ(line, "nul in    ");  // NUL becomes a blank
  EXPECT_EQ(fileReadLine(10, 20, line), kUnitOk);
  EXPECT_EQ(line, "last without end    ");
  EXPECT_EQ(fileReadLine(10, 10, line), kUnitEnd);
  EXPECT_EQ(line, std::string(10, ' '));
  EXPECT_EQ(fileReadLine(10, 10, line), kUnitEnd);
}

TEST_F(UnitsTest, CrLfLineExactlyAtColumnCount) {
  const std::string name = writeraw("crlf.txt", "abc\r\nabcd\r\n");
  ASSERT_EQ(fileopen(11, name, kOpenRead), kUnitOk);
  std::string line;
  EXPECT_EQ(fileReadLine(11, 3, line), kUnitOk);
  EXPECT_EQ(line, "abc");
  EXPECT_EQ(fileReadLine(11, 5, line), kUnitOk);
  EXPECT_EQ(line, "abcd ");
}

TEST_F(UnitsTest, BackspaceAndRewind) {
  const std::string name = writeraw("b.txt", "one\ntwo\r\n\nfour");
  ASSERT_EQ(fileopen(12, name, kOpenRead), kUnitOk);
  std::string line;
  EXPECT_EQ(fileBackspace(12), kUnitOk);  // at the first line: nothing changes
  EXPECT_EQ(fileReadLine(12, 5, line), kUnitOk);
  EXPECT_EQ(line, "one  ");
  EXPECT_EQ(fileBackspace(12), kUnitOk);
  EXPECT_EQ(fileReadLine(12, 5, line), kUnitOk);
  EXPECT_EQ(line, "one  ");
  EXPECT_EQ(fileReadLine(12, 5, line), kUnitOk);
  EXPECT_EQ(fileReadLine(12, 5, line), kUnitOk);  // the empty line
  EXPECT_EQ(fileBackspace(12), kUnitOk);
  EXPECT_EQ(fileBackspace(12), kUnitOk);
  EXPECT_EQ(fileReadLine(12, 5, line), kUnitOk);
  EXPECT_EQ(line, "two  ");
  EXPECT_EQ(fileReadLine(12, 5, line), kUnitOk);
  EXPECT_EQ(line, "     ");
  EXPECT_EQ(fileReadLine(12, 5, line), kUnitOk);
  EXPECT_EQ(line, "four ");
  EXPECT_EQ(fileReadLine(12, 5, line), kUnitEnd);
  EXPECT_EQ(fileBackspace(12), kUnitOk);  // after the end: the last line again
  EXPECT_EQ(fileReadLine(12, 5, line), kUnitOk);
  EXPECT_EQ(line, "four ");
  EXPECT_EQ(fileRewind(12), kUnitOk);
  EXPECT_EQ(readall(12, 5), (std::vector<std::string>{"one  ", "two  ", "     ", "four "}));
}

// Step back across the reader's window: a very long line, and many lines read backwards one by one.
TEST_F(UnitsTest, BackspaceAcrossLargeFile) {
  std::string bytes(200000, 'a');
  bytes += "\n";
  std::vector<std::string> expected;
  for (int i = 0; i < 30000; ++i) {
    expected.push_back("line " + std::to_string(i));
    bytes += expected.back() + (i % 3 == 0 ? "\r\n" : "\n");
  }
  const std::string name = writeraw("big.txt", bytes);
  ASSERT_EQ(fileopen(13, name, kOpenRead), kUnitOk);
  std::string line;
  ASSERT_EQ(fileReadLine(13, 4, line), kUnitOk);
  EXPECT_EQ(line, "aaaa");
  ASSERT_EQ(readall(13, 12).size(), expected.size());
  // Walk backwards from the end: one step back rereads the last line, two steps back the one before.
  ASSERT_EQ(fileBackspace(13), kUnitOk);
  for (int i = static_cast<int>(expected.size()) - 1; i >= 0; --i) {
    ASSERT_EQ(fileReadLine(13, 12, line), kUnitOk);
    ASSERT_EQ(line, expected[i] + std::string(12 - expected[i].size(), ' ')) << i;
    ASSERT_EQ(fileBackspace(13), kUnitOk);
    ASSERT_EQ(fileBackspace(13), kUnitOk);
  }
  // All the way back to the long first line, one line at a time.
  ASSERT_EQ(fileRewind(13), kUnitOk);
  for (size_t k = 0; k <= expected.size(); ++k) fileReadLine(13, 12, line);
  for (size_t k = 0; k <= expected.size(); ++k) ASSERT_EQ(fileBackspace(13), kUnitOk);
  ASSERT_EQ(fileReadLine(13, 4, line), kUnitOk);
  EXPECT_EQ(line, "aaaa");
}

TEST_F(UnitsTest, WriteReplaceAndAppend) {
  const std::string name = path("w.txt");
  ASSERT_EQ(fileopen(14, name, kOpenWrite), kUnitOk);
  EXPECT_EQ(fileWriteLine(14, "first"), kUnitOk);
  EXPECT_EQ(fileWriteLine(14, std::string("two\nparts\0x", 11)), kUnitOk);  // still one line
  EXPECT_EQ(fileClose(14), kUnitOk);
  ASSERT_EQ(fileopen(14, name, kOpenAppend), kUnitOk);
  EXPECT_EQ(fileWriteLine(14, "appended"), kUnitOk);
  EXPECT_EQ(fileClose(14), kUnitOk);
  ASSERT_EQ(fileopen(14, name, kOpenRead), kUnitOk);
  EXPECT_EQ(readall(14, 11), (std::vector<std::string>{"first      ", "two parts x", "appended   "}));
  EXPECT_EQ(fileClose(14), kUnitOk);
  ASSERT_EQ(fileopen(14, name, kOpenWrite), kUnitOk);  // mode 0 replaces
  EXPECT_EQ(fileClose(14), kUnitOk);
  EXPECT_EQ(fs::file_size(name), 0u);
}

TEST_F(UnitsTest, RefusalsAndCodes) {
  const std::string name = writeraw("r.txt", "x\n");
  zktest::LogWatch watch;
  EXPECT_EQ(fileopen(0, name, kOpenRead), kUnitBadNumber);
  EXPECT_EQ(fileopen(100, name, kOpenRead), kUnitBadNumber);  // reserved for fileopenmt
  EXPECT_EQ(fileopen(-5, name, kOpenRead), kUnitBadNumber);
  EXPECT_EQ(fileopen(15, name, 3), kUnitBadArgument);
  EXPECT_EQ(fileopen(15, "   ", kOpenRead), kUnitCannotOpen);
  EXPECT_EQ(fileopen(15, dir_.string(), kOpenRead), kUnitCannotOpen);  // a directory
  EXPECT_EQ(watch.errors(), 6);
  EXPECT_NE(zktest::LogWatch::lastError().find(dir_.string()), std::string::npos);

  ASSERT_EQ(fileopen(15, "  " + name + "  ", kOpenRead), kUnitOk);  // blanks trimmed
  EXPECT_EQ(filename(15), name);
  EXPECT_EQ(fileopen(15, name, kOpenRead), kUnitAlreadyOpen);
  std::string line = "stale";
  EXPECT_EQ(fileWriteLine(15, "no"), kUnitWrongMode);
  EXPECT_EQ(fileReadLine(15, 0, line), kUnitBadArgument);
  EXPECT_EQ(fileReadLine(15, kMaxLineColumns + 1, line), kUnitBadArgument);

  ASSERT_EQ(fileopen(16, path("out.txt"), kOpenWrite), kUnitOk);
  EXPECT_EQ(fileReadLine(16, 5, line), kUnitWrongMode);
  EXPECT_EQ(line, "     ");
  EXPECT_EQ(fileRewind(16), kUnitWrongMode);
  EXPECT_EQ(fileBackspace(16), kUnitWrongMode);

  EXPECT_EQ(fileReadLine(17, 5, line), kUnitNotOpen);
  EXPECT_EQ(fileWriteLine(17, "x"), kUnitNotOpen);
  EXPECT_EQ(fileRewind(17), kUnitNotOpen);
  EXPECT_EQ(fileClose(17), kUnitNotOpen);
  EXPECT_EQ(fileReadLine(1000, 5, line), kUnitBadNumber);
  EXPECT_EQ(fileBackspace(-1), kUnitBadNumber);
  EXPECT_EQ(fileClose(15), kUnitOk);
  EXPECT_EQ(fileReadLine(15, 5, line), kUnitNotOpen);  // closed units refuse
}

TEST_F(UnitsTest, MissingFileGivesCodeAndOneLogLine) {
  const std::string name = path("does_not_exist.txt");
  zktest::LogWatch watch;
  EXPECT_EQ(fileopen(18, name, kOpenRead), kUnitCannotOpen);
  EXPECT_EQ(watch.errors(), 1);
  EXPECT_NE(zktest::LogWatch::lastError().find(name), std::string::npos);
  EXPECT_FALSE(fileIsOpen(18));
  int unit = -1, status = -1;
  fileopenmt(name, kOpenRead, unit, status);
  EXPECT_EQ(status, kUnitCannotOpen);
  EXPECT_EQ(unit, 0);
  EXPECT_EQ(watch.errors(), 2);
  EXPECT_NE(zktest::LogWatch::lastError().find(name), std::string::npos);
}

TEST_F(UnitsTest, DefaultNamedFortUnitIsDetected) {
  const std::string fort33 = writeraw("fort.33", "data\n");
  const std::string other = writeraw("xfort.33", "data\n");
  EXPECT_FALSE(existfortdotfileunit(33));  // not open
  ASSERT_EQ(fileopen(33, fort33, kOpenRead, 1), kUnitOk);
  EXPECT_TRUE(existfortdotfileunit(33));
  EXPECT_EQ(fileFlag(33), 1);
  ASSERT_EQ(fileopen(34, fort33, kOpenRead), kUnitOk);  // fort.33 on unit 34 is not its default file
  EXPECT_FALSE(existfortdotfileunit(34));
  ASSERT_EQ(fileopen(35, other, kOpenRead), kUnitOk);
  EXPECT_FALSE(existfortdotfileunit(35));
  fileClose(33);
  EXPECT_FALSE(existfortdotfileunit(33));
  ASSERT_EQ(fileopen(33, other, kOpenRead), kUnitOk);
  EXPECT_FALSE(existfortdotfileunit(33));
}

TEST_F(UnitsTest, OpenOnFreeUnitUsesReservedRange) {
  const std::string name = writeraw("mt.txt", "hello\n");
  int u1 = 0, u2 = 0, s1 = -1, s2 = -1;
  fileopenmt(name, kOpenRead, u1, s1);
  fileopenmt(name, kOpenRead, u2, s2);
  ASSERT_EQ(s1, kUnitOk);
  ASSERT_EQ(s2, kUnitOk);
  EXPECT_NE(u1, u2);
  EXPECT_GE(u1, kFirstMtUnit);
  EXPECT_LE(u2, kLastUnit);
  std::string line;
  EXPECT_EQ(fileReadLine(u2, 5, line), kUnitOk);
  EXPECT_EQ(line, "hello");
  fileopenmt(name, 5, u1, s1);
  EXPECT_EQ(s1, kUnitBadArgument);
  EXPECT_EQ(u1, 0);
}

}  // namespace
