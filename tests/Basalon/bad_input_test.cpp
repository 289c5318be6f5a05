// Basalon exports under a hostile host: widths beyond the field, bad units and lengths, null
// pointers. Each refusal gives its code, exactly one printable trace-log line and leaves the
// caller's buffers as they were; the trace log keeps every message on one cut, escaped line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "Basalon.h"
#include "common/TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<char[]> buffer(size_t n, char c) {
  std::unique_ptr<char[]> b(new char[n]);
  std::memset(b.get(), c, n);
  return b;
}

// The trace log's line is printable ASCII (escapes only) and names the export.
void expectOneLine(const zktest::LogWatch& watch, const std::string& exportName) {
  EXPECT_EQ(watch.errors(), 1) << exportName;
  const std::string line = zktest::LogWatch::lastError();
  EXPECT_EQ(line.rfind(exportName, 0), 0u) << line;
  for (const char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << exportName;
}

TEST(BasalonBadInput, FormatWidthsBeyondTheFieldWriteNothing) {
  for (const auto& [name, format] :
       {std::pair{"BasalonFormatF", &BasalonFormatF}, std::pair{"BasalonFormatE", &BasalonFormatE}}) {
    for (const int32_t width : {257, INT32_MAX, 0, -1, INT32_MIN}) {
      auto field = buffer(256, '#');  // the documented field, heap allocated for the sanitizer
      zktest::LogWatch watch;
      EXPECT_EQ(format(1.5, width, 2, field.get()), 2) << name << " " << width;
      expectOneLine(watch, name);
      EXPECT_EQ(std::string(field.get(), 256), std::string(256, '#'));
    }
    auto field = buffer(256, '#');
    zktest::LogWatch full;
    EXPECT_EQ(format(-0.5, 256, 3, field.get()), 0) << name;  // the widest field is still written
    EXPECT_EQ(full.errors(), 0);
    EXPECT_EQ(field[0], ' ');
    zktest::LogWatch overflow;
    EXPECT_EQ(format(1e30, 8, 6, field.get()), 2) << name;  // does not fit: '*' and one line
    expectOneLine(overflow, name);
    EXPECT_EQ(std::string(field.get(), 8), "********");
    zktest::LogWatch null;
    EXPECT_EQ(format(1.0, 5, 2, nullptr), 2);
    expectOneLine(null, name);
  }
}

TEST(BasalonBadInput, ReadRealFailuresAreLoggedOnce) {
  struct Case {
    const char* text;
    int32_t length;
  };
  for (const Case c :
       {Case{"12x", 3}, Case{"1", 513}, Case{"1", -1}, Case{nullptr, 5}, Case{"\x01\xFF", 2}}) {
    double v = 7.0;
    zktest::LogWatch watch;
    EXPECT_EQ(BasalonReadReal(c.text, c.length, &v), 2);
    expectOneLine(watch, "BasalonReadReal");
    EXPECT_EQ(v, 0.0);  // cleared on entry
  }
  zktest::LogWatch watch;
  EXPECT_EQ(BasalonReadReal("1", 1, nullptr), 2);
  expectOneLine(watch, "BasalonReadReal");
}

class BasalonUnitBadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("basalon_bad_input_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(BasalonUnitBadInput, BadUnitNumbersAndLengthsAreLoggedOnce) {
  auto line = buffer(16, '#');
  for (const int32_t unit : {0, -1, 1000, INT32_MIN}) {
    struct Call {
      const char* name;
      int32_t (*call)(int32_t);
    };
    for (const Call c :
         {Call{"BasalonFileClose", &BasalonFileClose}, Call{"BasalonFileRewind", &BasalonFileRewind},
          Call{"BasalonFileBackspace", &BasalonFileBackspace}}) {
      zktest::LogWatch watch;
      EXPECT_EQ(c.call(unit), 1) << c.name << " " << unit;
      expectOneLine(watch, c.name);
    }
    zktest::LogWatch read;
    EXPECT_EQ(BasalonFileReadLine(unit, line.get(), 16), 1);
    expectOneLine(read, "BasalonFileReadLine");
    zktest::LogWatch write;
    EXPECT_EQ(BasalonFileWriteLine(unit, line.get(), 16), 1);
    expectOneLine(write, "BasalonFileWriteLine");
    zktest::LogWatch open;
    auto name = buffer(512, ' ');
    EXPECT_EQ(BasalonFileOpen(unit, name.get(), 1), 1);
    EXPECT_EQ(open.errors(), 1);  // fileopen's own line, not a second one
  }
  // Units that are valid numbers but not open.
  for (const auto& [name, call] :
       {std::pair{"BasalonFileClose", &BasalonFileClose}, std::pair{"BasalonFileRewind", &BasalonFileRewind},
        std::pair{"BasalonFileBackspace", &BasalonFileBackspace}}) {
    zktest::LogWatch watch;
    EXPECT_EQ(call(77), 4);
    expectOneLine(watch, name);
  }
  for (const int32_t length : {0, -5, 65537, INT32_MAX}) {
    zktest::LogWatch watch;
    EXPECT_EQ(BasalonFileReadLine(77, line.get(), length), 7);
    expectOneLine(watch, "BasalonFileReadLine");
  }
  for (const int32_t length : {-1, 65537}) {
    zktest::LogWatch watch;
    EXPECT_EQ(BasalonFileWriteLine(77, line.get(), length), 7);
    expectOneLine(watch, "BasalonFileWriteLine");
  }
  EXPECT_EQ(std::string(line.get(), 16), std::string(16, ' '));  // the failed reads cleared it
}

TEST_F(BasalonUnitBadInput, WrongDirectionIsLoggedOnce) {
  const std::string file = (dir_ / "w.txt").string();
  auto name = buffer(512, '\0');
  std::memcpy(name.get(), file.data(), file.size());
  ASSERT_EQ(BasalonFileOpen(78, name.get(), 0), 0);
  auto line = buffer(8, ' ');
  zktest::LogWatch read;
  EXPECT_EQ(BasalonFileReadLine(78, line.get(), 8), 5);
  expectOneLine(read, "BasalonFileReadLine");
  zktest::LogWatch rewind;
  EXPECT_EQ(BasalonFileRewind(78), 5);
  expectOneLine(rewind, "BasalonFileRewind");
  EXPECT_EQ(BasalonFileClose(78), 0);
}

TEST(BasalonBadInput, NullPointersAreRefusedWithOneLine) {
  zktest::LogWatch open;
  EXPECT_EQ(BasalonOpenLogFile(nullptr), 2);
  expectOneLine(open, "BasalonOpenLogFile");
  auto blank = buffer(512, ' ');
  zktest::LogWatch blankName;
  EXPECT_EQ(BasalonOpenLogFile(blank.get()), 2);
  expectOneLine(blankName, "BasalonOpenLogFile");
  auto missing = buffer(512, ' ');
  std::memcpy(missing.get(), "/nonexistent-dir/x/trace.log", 28);
  zktest::LogWatch missingDir;
  EXPECT_EQ(BasalonOpenLogFile(missing.get()), 2);
  expectOneLine(missingDir, "BasalonOpenLogFile");

  for (const auto& [name, call] :
       {std::pair{"BasalonLogError", &BasalonLogError}, std::pair{"BasalonLogInfo", &BasalonLogInfo}}) {
    zktest::LogWatch watch;
    call(nullptr);
    expectOneLine(watch, name);
    EXPECT_EQ(watch.infos(), 0);
  }
  for (const auto& [name, call] : {std::pair{"BasalonGetLastErrMsg", &BasalonGetLastErrMsg},
                                   std::pair{"BasalonGetLastInfoMsg", &BasalonGetLastInfoMsg}}) {
    zktest::LogWatch watch;
    call(nullptr);
    expectOneLine(watch, name);
  }
  zktest::LogWatch mt;
  auto name = buffer(512, ' ');
  EXPECT_EQ(BasalonFileOpenMT(name.get(), 1, nullptr), 7);
  expectOneLine(mt, "BasalonFileOpenMT");
  zktest::LogWatch card;
  auto value = buffer(512, 'x');
  BasalonGetInputStr(nullptr, value.get());
  expectOneLine(card, "BasalonGetInputStr");
  EXPECT_EQ(std::string(value.get(), 512), std::string(512, ' '));
  zktest::LogWatch both;
  BasalonGetInputStr(nullptr, nullptr);
  expectOneLine(both, "BasalonGetInputStr");
}

TEST(TraceLogLines, EveryMessageIsOnePrintableLineCutToTheWidth) {
  const fs::path log =
      fs::temp_directory_path() / ("zk_tracelog_lines_" + std::to_string(::getpid()) + ".log");
  fs::remove(log);
  auto name = buffer(512, ' ');
  const std::string s = log.string();
  std::memcpy(name.get(), s.data(), s.size());
  ASSERT_EQ(BasalonOpenLogFile(name.get()), 0);

  basalon::tracelogerror("first part\nsecond part");
  EXPECT_EQ(basalon::lastErrorMsg(), "first part\\nsecond part");
  basalon::tracelogerror(std::string("raw \x01 and \xFF bytes"));
  EXPECT_EQ(basalon::lastErrorMsg(), "raw \\x01 and \\xFF bytes");
  const std::string longText(300, 'L');
  basalon::traceloginfo(longText);
  EXPECT_EQ(basalon::lastInfoMsg(), std::string(128, 'L'));
  auto msg = buffer(128, 'M');
  msg[5] = '\r';
  BasalonLogError(msg.get());  // a full 128-character host message with an escape grows past the width
  EXPECT_EQ(basalon::lastErrorMsg().size(), 128u);
  EXPECT_EQ(basalon::lastErrorMsg().substr(0, 8), "MMMMM\\rM");
  BasalonCloseLogFile();

  std::ifstream in(log);
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) {
    ++lines;
    for (const char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << line;
  }
  EXPECT_EQ(lines, 4);
  fs::remove(log);
}

}  // namespace
