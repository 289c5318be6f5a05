// Timing constants read from several threads while another thread loads new tables.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Siblings/Chronel/Chronel.h"

using namespace chronel;

TEST(ChronelTimingConstConcurrency, ReadsSeeWholeTablesWhileLoading) {
  // Two tables whose values differ everywhere: a reader must see one or the other, never a mix.
  const auto dir = std::filesystem::temp_directory_path();
  const std::string fileA = (dir / ("chronel_tc_a_" + std::to_string(::getpid()))).string();
  const std::string fileB = (dir / ("chronel_tc_b_" + std::to_string(::getpid()))).string();
  {
    std::ofstream a(fileA), b(fileB);
    for (int d = 0; d < 400; ++d) {
      a << 58000 + d << " 0.1 0.1 0.1\n";
      b << 58000 + d << " 0.2 0.2 0.2\n";
    }
  }
  ASSERT_EQ(loadTimeConstFile(fileA), 0);
  std::atomic<bool> stop{false};
  std::atomic<long> bad{0}, reads{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&, r] {
      double tc[6];
      for (long i = 0; !stop.load() || i < 1000; ++i) {
        gettconst(mjdToDs50(58000.0 + static_cast<double>((i * 7 + r) % 399) + 0.5), tc);
        const bool ok = (std::fabs(tc[1] - 0.1) < 1e-9 && tc[4] == 0.1 && tc[5] == 0.1) ||
                        (std::fabs(tc[1] - 0.2) < 1e-9 && tc[4] == 0.2 && tc[5] == 0.2);
        if (!ok) bad.fetch_add(1);
        reads.fetch_add(1);
      }
    });
  }
  for (int k = 0; k < 40; ++k) ASSERT_EQ(loadTimeConstFile(k % 2 ? fileA : fileB), 0);
  stop.store(true);
  for (auto& t : readers) t.join();
  EXPECT_EQ(bad.load(), 0);
  EXPECT_GE(reads.load(), 3000);
  clearTimeConstants();
  std::filesystem::remove(fileA);
  std::filesystem::remove(fileB);
}
