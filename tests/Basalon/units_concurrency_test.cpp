// Many threads opening, writing, reading and closing files on free units at once: no unit is ever
// held by two threads, and every thread reads back exactly what it wrote.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Siblings/Basalon/Units.h"

using namespace basalon;
namespace fs = std::filesystem;

namespace {

TEST(UnitsConcurrency, FreeUnitsAreNeverShared) {
  constexpr int kThreads = 8;
  constexpr int kRounds = 50;
  const fs::path dir = fs::temp_directory_path() / ("basalon_mt_" + std::to_string(::getpid()));
  fs::create_directories(dir);

  std::array<std::atomic<int>, kLastUnit + 1> holders{};
  std::atomic<int> sharedUnits{0}, badReads{0}, failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const std::string name = (dir / ("t" + std::to_string(t) + ".txt")).string();
      for (int r = 0; r < kRounds; ++r) {
        int unit = 0, status = -1;
        fileopenmt(name, kOpenWrite, unit, status);
        if (status != kUnitOk || unit < kFirstMtUnit || unit > kLastUnit) {
          ++failures;
          continue;
        }
        if (holders[static_cast<size_t>(unit)].exchange(t + 1) != 0) ++sharedUnits;
        const std::string text = "thread " + std::to_string(t) + " round " + std::to_string(r);
        if (fileWriteLine(unit, text) != kUnitOk) ++failures;
        holders[static_cast<size_t>(unit)].store(0);
        if (fileClose(unit) != kUnitOk) ++failures;

        fileopenmt(name, kOpenRead, unit, status);
        if (status != kUnitOk) {
          ++failures;
          continue;
        }
        if (holders[static_cast<size_t>(unit)].exchange(t + 1) != 0) ++sharedUnits;
        std::string line;
        if (fileReadLine(unit, 40, line) != kUnitOk || line.substr(0, text.size()) != text ||
            fileReadLine(unit, 40, line) != kUnitEnd)
          ++badReads;
        holders[static_cast<size_t>(unit)].store(0);
        fileClose(unit);
      }
    });
  }
  for (std::thread& th : threads) th.join();
  fs::remove_all(dir);
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(sharedUnits.load(), 0);
  EXPECT_EQ(badReads.load(), 0);
}

}  // namespace
