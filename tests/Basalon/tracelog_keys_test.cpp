// Trace log lines and files, key modes, DMA keys and satKey services.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include <Basalon.h>

#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Chronel/Chronel.h"

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
  std::ifstream in(p);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(TraceLog, LinesGoToTheOpenFileAndTheLastOnesCanBeRead) {
  const fs::path dir = fs::temp_directory_path() / "zk_tracelog_test";
  fs::create_directories(dir);
  const fs::path log = dir / "trace.log";
  fs::remove(log);
  const long errs = basalon::traceErrorCount(), infos = basalon::traceInfoCount();

  char name[512];
  std::string s = log.string();
  s.resize(512, ' ');
  std::copy(s.begin(), s.end(), name);
  ASSERT_EQ(BasalonOpenLogFile(name), 0);
  basalon::tracelogerror("FindRec: search key doens't exist.   ");
  const char withNul[8] = {'a', 'b', 'c', '\0', '\0', '\0', '\0', '\0'};
  basalon::traceloginfo(withNul, 8);
  BasalonCloseLogFile();
  basalon::tracelogerror("after close");

  EXPECT_EQ(basalon::traceErrorCount() - errs, 2);
  EXPECT_EQ(basalon::traceInfoCount() - infos, 1);
  EXPECT_EQ(basalon::lastErrorMsg(), "after close");
  EXPECT_EQ(basalon::lastInfoMsg(), "abc");
  const std::string text = readAll(log);
  EXPECT_NE(text.find("FindRec: search key doens't exist.\n"), std::string::npos);
  EXPECT_NE(text.find("abc\n"), std::string::npos);
  EXPECT_EQ(text.find("after close"), std::string::npos);
  fs::remove_all(dir);
}

TEST(TraceLog, BadLogFileNamesAreRefused) {
  char blank[512];
  std::fill(blank, blank + 512, ' ');
  EXPECT_EQ(BasalonOpenLogFile(blank), 2);
  char nul[512] = {};
  EXPECT_EQ(BasalonOpenLogFile(nul), 2);
  EXPECT_EQ(BasalonOpenLogFile(nullptr), 2);
  EXPECT_EQ(basalon::openLogFile("/nonexistent-dir/x/trace.log"), 2);
  basalon::tracelogerror(nullptr, 5);  // no crash, an empty line
  EXPECT_EQ(basalon::lastErrorMsg(), "");
}

TEST(KeyModes, EffectiveModeFollowsTheAllStoresSwitch) {
  basalon::elsetkeymodeset(1);
  basalon::allKeyModeSet(0);
  basalon::useAllKeyModeSet(0);
  EXPECT_EQ(basalon::effectiveKeyMode(), 1);
  basalon::useAllKeyModeSet(1);
  EXPECT_EQ(basalon::effectiveKeyMode(), 0);
  BasalonSetAllKeyMode(0, 0);
  BasalonSetElsetKeyMode(0);
  EXPECT_EQ(basalon::effectiveKeyMode(), 0);
  BasalonSetDupKeyMode(1);
  EXPECT_EQ(basalon::dupkeymodeget(), 1);
  BasalonSetDupKeyMode(0);
}

TEST(DmaKeys, BlockKeysAreMultiplesOfTenAndFreedBlocksAreNotFound) {
  basalon::DmaBlock* b = basalon::dmaalloc(5);
  ASSERT_NE(b, nullptr);
  const int64_t key = basalon::dmakey(b);
  EXPECT_GT(key, 0);
  EXPECT_EQ(key % 10, 0);
  EXPECT_TRUE(basalon::isdma(key));
  EXPECT_EQ(basalon::keytocptr(key), b);
  EXPECT_EQ(b->self, basalon::satkeytoaddr(key));
  EXPECT_EQ(b->elsetType, 5);
  EXPECT_EQ(b->attach1, nullptr);
  EXPECT_EQ(b->attach2, nullptr);
  basalon::dmaFree(b);
  EXPECT_EQ(basalon::keytocptr(key), nullptr);
  EXPECT_EQ(basalon::keytocptr(key + 10 * 4096), nullptr);  // never a made-up address
  EXPECT_EQ(basalon::keytocptr(-10), nullptr);
  EXPECT_TRUE(basalon::isdma(-10));  // reported by stores as an invalid DMA key
  basalon::dmaFree(nullptr);
}

TEST(SatKeys, CreatedKeysAreNeverDmaKeysAndBumpingKeepsTheType) {
  for (int type = 1; type <= 9; ++type) {
    const int64_t k = chronel::createsatkey(25544, type, 27000.123456);
    ASSERT_GT(k, 0);
    EXPECT_EQ(k % 10, type);
    EXPECT_FALSE(basalon::isdma(k));
    EXPECT_EQ(chronel::createsatkey(25544, type, 27000.123456), k);
    int64_t bumped = k;
    for (int i = 0; i < 100; ++i) {
      const int64_t next = basalon::nextsatkey(bumped);
      EXPECT_NE(next, bumped);
      EXPECT_EQ(next % 10, type);
      bumped = next;
    }
  }
  EXPECT_EQ(basalon::nextsatkey(INT64_MAX - 3) % 10, (INT64_MAX - 3) % 10);
  EXPECT_EQ(chronel::createsatkey(-1, 5, 27000.0), -1);
  EXPECT_EQ(chronel::createsatkey(1, 0, 27000.0), -1);
  EXPECT_EQ(chronel::createsatkey(1, 5, std::nan("")), -1);
  EXPECT_NE(chronel::createsatkey(1, 5, 27000.0), chronel::createsatkey(2, 5, 27000.0));
  EXPECT_NE(chronel::createsatkey(1, 5, 27000.0), chronel::createsatkey(1, 5, 27000.5));
}

}  // namespace
