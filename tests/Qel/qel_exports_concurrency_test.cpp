// Two loads of two different files on two threads, with saves running beside them, through the
// exports: every record arrives once with its own maneuver lines, and every save is a file the
// reader loads back whole. Run under ThreadSanitizer in CI.
#include <Qel.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Qel/QelTree.h"
#include "Siblings/Basalon/Keys.h"
#include "common/TestSupport.h"
#include "qel_reader_samples.h"

namespace {

std::string nameBuffer(const std::string& path) {
  std::string b(512, ' ');
  b.replace(0, path.size(), path);
  return b;
}

std::string vpLine(int sat) {
  std::string l = "MANEUVER OF " + std::to_string(sat);
  l.resize(78, ' ');
  return l + "VP";
}

// count messages from satellite firstSat on, each followed by one maneuver line naming it.
std::string fileText(int firstSat, int count) {
  std::string text;
  for (int s = firstSat; s < firstSat + count; ++s) {
    text += qeltest::joined(qeltest::multiLines(qeltest::sampleRecord(s, s % 2 == 0 ? 6 : 0)));
    text += vpLine(s) + "\n";
  }
  return text;
}

class QelExportsConcurrency : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(::testing::TempDir()) / "qel_exports_concurrency";
    std::filesystem::create_directories(dir_);
    QelRemoveAllSats();
    basalon::elsetkeymodeset(GetParam());
  }
  void TearDown() override {
    QelRemoveAllSats();
    basalon::elsetkeymodeset(0);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_P(QelExportsConcurrency, TwoLoadsAndSavesAtOnceKeepEveryRecordAndLine) {
  constexpr int kPerFile = 150;
  qeltest::writeFile(path("a.txt"), fileText(1000, kPerFile));
  qeltest::writeFile(path("b.txt"), fileText(5000, kPerFile));
  const std::string a = nameBuffer(path("a.txt")), b = nameBuffer(path("b.txt"));

  std::atomic<int> loadsDone{0};
  std::atomic<int> saveFailures{0};
  int saves = 0;
  std::thread loadA([&] {
    if (QelLoadFile(a.data()) != 0) saveFailures += 100;
    ++loadsDone;
  });
  std::thread loadB([&] {
    if (QelLoadFile(b.data()) != 0) saveFailures += 100;
    ++loadsDone;
  });
  std::thread saver([&] {
    // Saves to files of their own while the loads run (at most kMaxSaves), and one after them.
    constexpr int kMaxSaves = 40;
    bool last = false;
    while (!last) {
      if (saves == kMaxSaves - 1) {
        while (loadsDone.load() != 2) std::this_thread::yield();
      }
      last = loadsDone.load() == 2;
      const std::string out = nameBuffer(path("save" + std::to_string(saves++) + ".txt"));
      if (QelSaveFile(out.data(), 0) != 0) ++saveFailures;
    }
  });
  loadA.join();
  loadB.join();
  saver.join();
  EXPECT_EQ(saveFailures.load(), 0);
  ASSERT_EQ(QelGetCount(), 2 * kPerFile);

  // Every record has exactly its own maneuver line: the loads did not interleave.
  std::vector<int64_t> keys(2 * kPerFile);
  ASSERT_EQ(QelGetKeys(0, static_cast<int32_t>(keys.size()), keys.data()), 2 * kPerFile);
  for (int64_t key : keys) {
    qel::QelRecord r;
    qel::QelFindRec(key, r);
    ASSERT_EQ(r.numManeuverLines, 1) << r.satNum;
    EXPECT_EQ(r.maneuverLines[0].str(), vpLine(r.satNum));
  }

  // The last save holds everything; each earlier one loads whole (no half-written record).
  for (int k = 0; k < saves; ++k) {
    QelRemoveAllSats();
    zktest::LogWatch log;
    EXPECT_EQ(QelLoadFile(nameBuffer(path("save" + std::to_string(k) + ".txt")).data()), 0) << k;
    EXPECT_EQ(log.errors(), 0) << k;
    if (k == saves - 1) {
      EXPECT_EQ(QelGetCount(), 2 * kPerFile);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(KeyModes, QelExportsConcurrency, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& p) { return p.param == 0 ? "Standard" : "Dma"; });

}  // namespace
