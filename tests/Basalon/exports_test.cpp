// Exported unit, number and card functions called as a host would: buffers of exactly their documented
// length (heap allocated, so an overrun is caught by AddressSanitizer), NUL-filled, blank and null.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "Basalon.h"
#include "common/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// A heap buffer of exactly n characters filled with c.
std::unique_ptr<char[]> buffer(size_t n, char c) {
  std::unique_ptr<char[]> b(new char[n]);
  std::memset(b.get(), c, n);
  return b;
}

std::unique_ptr<char[]> hostname(const std::string& name, char pad) {
  auto b = buffer(512, pad);
  std::memcpy(b.get(), name.data(), std::min<size_t>(name.size(), 512));
  return b;
}

class ExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("basalon_exports_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    for (int u = 1; u <= 999; ++u) BasalonFileClose(u);
    fs::remove_all(dir_);
  }
  fs::path dir_;
};

TEST_F(ExportsTest, NulFilledBlankAndNullBuffersAreRefused) {
  zktest::LogWatch watch;
  for (const char pad : {'\0', ' '}) {
    auto name = buffer(512, pad);
    EXPECT_EQ(BasalonFileOpen(20, name.get(), 1), 2);
    int32_t unit = -1;
    EXPECT_EQ(BasalonFileOpenMT(name.get(), 1, &unit), 2);
    EXPECT_EQ(unit, 0);
    auto card = buffer(512, pad);
    auto value = buffer(512, 'x');
    BasalonGetInputStr(card.get(), value.get());
    EXPECT_EQ(std::string(value.get(), 512), std::string(512, ' '));
    double v = 1.0;
    auto text = buffer(20, pad);
    EXPECT_EQ(BasalonReadReal(text.get(), 20, &v), 0);  // all blank reads as 0
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(BasalonFileWriteLine(20, text.get(), 20), 4);  // unit 20 is not open
    EXPECT_EQ(BasalonFileReadLine(20, value.get(), 512), 4);
    EXPECT_EQ(std::string(value.get(), 512), std::string(512, ' '));
  }
  EXPECT_EQ(watch.errors(), 8);  // the two opens and the two line calls on a closed unit, twice
  EXPECT_EQ(BasalonFileOpen(20, nullptr, 1), 7);
  EXPECT_EQ(BasalonFileOpenMT(nullptr, 1, nullptr), 7);
  auto name = buffer(512, ' ');
  EXPECT_EQ(BasalonFileOpenMT(name.get(), 1, nullptr), 7);
  EXPECT_EQ(BasalonFileReadLine(20, nullptr, 10), 7);
  EXPECT_EQ(BasalonFileWriteLine(20, nullptr, 10), 7);
  EXPECT_EQ(BasalonFormatF(1.0, 5, 2, nullptr), 2);
  EXPECT_EQ(BasalonFormatE(1.0, 5, 2, nullptr), 2);
  EXPECT_EQ(BasalonReadReal(nullptr, 5, nullptr), 2);
  double v = 3.0;
  EXPECT_EQ(BasalonReadReal(nullptr, 5, &v), 2);
  EXPECT_EQ(BasalonReadReal("1", 513, &v), 2);
  BasalonGetInputStr(nullptr, nullptr);
  auto value = buffer(512, 'x');
  BasalonGetInputStr(nullptr, value.get());
  EXPECT_EQ(std::string(value.get(), 512), std::string(512, ' '));
}

TEST_F(ExportsTest, WriteAndReadBackThroughExactBuffers) {
  const std::string file = (dir_ / "host.txt").string();
  for (const char pad : {'\0', ' '}) {  // a C host's NUL padding and a Fortran host's blanks
    auto name = hostname(file, pad);
    ASSERT_EQ(BasalonFileOpen(21, name.get(), 0), 0);
    auto line = buffer(80, ' ');
    std::memcpy(line.get(), "FIRST LINE", 10);
    EXPECT_EQ(BasalonFileWriteLine(21, line.get(), 80), 0);
    EXPECT_EQ(BasalonFileWriteLine(21, line.get(), 0), 0);  // an empty line
    auto nuls = buffer(80, '\0');
    EXPECT_EQ(BasalonFileWriteLine(21, nuls.get(), 80), 0);  // another one
    EXPECT_EQ(BasalonFileClose(21), 0);
    EXPECT_EQ(fs::file_size(file), 13u);  // trailing blanks and NULs dropped

    int32_t unit = 0;
    ASSERT_EQ(BasalonFileOpenMT(name.get(), 1, &unit), 0);
    EXPECT_GE(unit, 100);
    auto out = buffer(6, '#');
    EXPECT_EQ(BasalonFileReadLine(unit, out.get(), 6), 0);
    EXPECT_EQ(std::string(out.get(), 6), "FIRST ");
    EXPECT_EQ(BasalonFileBackspace(unit), 0);
    auto wide = buffer(16, '#');
    EXPECT_EQ(BasalonFileReadLine(unit, wide.get(), 16), 0);
    EXPECT_EQ(std::string(wide.get(), 16), "FIRST LINE      ");
    for (int k = 0; k < 2; ++k) {
      EXPECT_EQ(BasalonFileReadLine(unit, wide.get(), 16), 0);
      EXPECT_EQ(std::string(wide.get(), 16), std::string(16, ' '));
    }
    EXPECT_EQ(BasalonFileReadLine(unit, wide.get(), 16), -1);
    EXPECT_EQ(BasalonFileRewind(unit), 0);
    EXPECT_EQ(BasalonFileReadLine(unit, out.get(), 6), 0);
    EXPECT_EQ(BasalonFileReadLine(unit, out.get(), 0), 7);
    EXPECT_EQ(BasalonFileWriteLine(unit, out.get(), 6), 5);  // a read unit
    EXPECT_EQ(BasalonFileClose(unit), 0);
    EXPECT_EQ(BasalonFileClose(unit), 4);
  }
}

TEST_F(ExportsTest, UnitNumbersAndFortDotFiles) {
  const std::string fort = (dir_ / "fort.44").string();
  std::ofstream(fort) << "x\n";
  auto name = hostname(fort, ' ');
  EXPECT_EQ(BasalonFileOpen(100, name.get(), 1), 1);
  EXPECT_EQ(BasalonFileOpen(0, name.get(), 1), 1);
  EXPECT_EQ(BasalonFileOpen(44, name.get(), 9), 7);
  EXPECT_EQ(BasalonExistFortDotFileUnit(44), 0);
  ASSERT_EQ(BasalonFileOpen(44, name.get(), 1), 0);
  EXPECT_EQ(BasalonFileOpen(44, name.get(), 1), 3);
  EXPECT_EQ(BasalonExistFortDotFileUnit(44), 1);
  EXPECT_EQ(BasalonExistFortDotFileUnit(-3), 0);
  EXPECT_EQ(BasalonExistFortDotFileUnit(5000), 0);
  // A name filling all 512 characters (no terminator, no padding) is taken whole.
  std::string full = (dir_ / "").string();
  full += std::string(512 - full.size(), 'z');
  auto exact = hostname(full, ' ');
  EXPECT_EQ(BasalonFileOpen(45, exact.get(), 1), 2);  // no such file, but no overrun either
}

TEST_F(ExportsTest, NumbersAndCards) {
  auto field = buffer(13, '#');
  EXPECT_EQ(BasalonFormatE(0.5, 13, 6, field.get()), 0);
  EXPECT_EQ(std::string(field.get(), 13), " 0.500000E+00");
  EXPECT_EQ(BasalonFormatF(1234.5, 13, 10, field.get()), 2);
  EXPECT_EQ(std::string(field.get(), 13), std::string(13, '*'));
  EXPECT_EQ(BasalonFormatF(-0.125, 13, 2, field.get()), 0);
  EXPECT_EQ(std::string(field.get(), 13), "        -0.13");
  double v = 0.0;
  EXPECT_EQ(BasalonReadReal(" 1.5D+03 ", 9, &v), 0);
  EXPECT_EQ(v, 1500.0);
  EXPECT_EQ(BasalonReadReal("12345-3", 7, &v), 2);
  EXPECT_EQ(v, 0.0);
  auto card = hostname("JPL_FILE = de405.txt", ' ');
  auto value = buffer(512, '#');
  BasalonGetInputStr(card.get(), value.get());
  EXPECT_EQ(std::string(value.get(), 12), "de405.txt   ");
  EXPECT_EQ(std::string(value.get(), 512).find('#'), std::string::npos);
}

}  // namespace
