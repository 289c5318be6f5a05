// Qel files loaded on two threads while a third removes records: maneuver lines end up only on the
// satellite they follow, and every message is counted once.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Qel/QelCardReading.h"
#include "Qel/QelTree.h"
#include "qel_reader_samples.h"

namespace {

constexpr int kMessagesPerFile = 300;

// One-line messages numbered from first, each followed by two maneuver lines naming its satellite.
std::string fileText(int32_t first) {
  std::string text;
  for (int32_t s = first; s < first + kMessagesPerFile; ++s) {
    text += qeltest::oneLine(qeltest::sampleRecord(s, 0)) + "\n";
    for (int k = 0; k < 2; ++k) {
      std::string vp = "SAT " + std::to_string(s);
      vp.resize(78, ' ');
      text += vp + "VP\n";
    }
  }
  return text;
}

TEST(QelReaderConcurrency, LoadsBesideRemovalsKeepManeuverLinesOnTheirOwnSatellite) {
  int32_t code = 0;
  qel::QelEmptyTree(code);
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "qel_reader_concurrency";
  std::filesystem::create_directories(dir);
  const std::string a = (dir / "a.txt").string(), b = (dir / "b.txt").string();
  qeltest::writeFile(a, fileText(1000));
  qeltest::writeFile(b, fileText(5000));

  std::atomic<int> loadsLeft{2};
  basalon::LoadCounts countsA, countsB;
  int32_t codeA = -1, codeB = -1;
  std::thread loadA([&] {
    codeA = qel::ReadQelsFrFile(a, &countsA);
    --loadsLeft;
  });
  std::thread loadB([&] {
    codeB = qel::ReadQelsFrFile(b, &countsB);
    --loadsLeft;
  });
  int removed = 0;
  std::thread remover([&] {
    std::vector<int64_t> keys(2 * kMessagesPerFile);
    while (loadsLeft.load() > 0) {
      int32_t n = 0;
      qel::QelGetTreeKeys(n, keys.data(), 2, static_cast<int64_t>(keys.size()));
      // Every third record in load order goes, the newest first.
      for (int32_t k = n - 1; k >= 0; k -= 3) {
        int32_t flag = 0, rc = 0;
        qel::QelRemoveNode(keys[static_cast<size_t>(k)], flag, rc);
        if (rc == 0) ++removed;
      }
      std::this_thread::yield();
    }
  });
  loadA.join();
  loadB.join();
  remover.join();

  EXPECT_EQ(codeA, 0);
  EXPECT_EQ(codeB, 0);
  EXPECT_EQ(countsA.loaded, kMessagesPerFile);
  EXPECT_EQ(countsB.loaded, kMessagesPerFile);
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 2 * kMessagesPerFile - removed);
  EXPECT_TRUE(qel::QelStore().Validate().ok);
  int32_t n = 0;
  std::vector<int64_t> keys(2 * kMessagesPerFile);
  qel::QelGetTreeKeys(n, keys.data(), 3, static_cast<int64_t>(keys.size()));
  for (int32_t k = 0; k < n; ++k) {
    qel::QelRecord rec;
    qel::QelFindRec(keys[static_cast<size_t>(k)], rec);
    const std::string mine = "SAT " + std::to_string(rec.satNum);
    // A record is attached its lines right after its add; only a removal in between leaves it none.
    ASSERT_EQ(rec.numManeuverLines, 2) << rec.satNum;
    for (int32_t m = 0; m < rec.numManeuverLines; ++m)
      EXPECT_EQ(rec.maneuverLines[static_cast<size_t>(m)].str().substr(0, mine.size() + 1), mine + " ")
          << rec.satNum;
  }
  qel::QelEmptyTree(code);
}

}  // namespace
