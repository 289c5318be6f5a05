// Many readers propagating the same resonant deep-space object by key (borrowed, never copied)
// while a writer re-initialises that very key, with a standard key and with a DMA key: every
// reader's state equals the one computed beforehand on a single thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "Siblings/Basalon/Keys.h"
#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Lineset/LinesetStore.h"

namespace {

// Molniya 2-14 (12-hour resonance: every state integrates the resonance from epoch).
constexpr const char* kL1 = "1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813";
constexpr const char* kL2 = "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656";

void runWithKeyMode(int keyMode) {
  int32_t code = 0;
  kinetra::gpemptytree(code);
  lineset::tleemptytree(code);
  const int saved = basalon::elsetkeymodeget();
  basalon::elsetkeymodeset(keyMode);
  const int64_t key = lineset::tleAddSatFrLines("", kL1, kL2);
  ASSERT_GT(key, 0);
  ASSERT_EQ(key % 10 == 0, keyMode == 1);
  ASSERT_EQ(kinetra::gpsatinit(key), 0);

  std::vector<double> times;
  for (int k = 0; k < 24; ++k) times.push_back(-4000.0 + 347.0 * k);
  std::vector<planix::BrevantaOut> expected(times.size());
  for (size_t k = 0; k < times.size(); ++k) {
    kinetra::kinetra_key(key, times[k], kinetra::kTimeMse, expected[k], code);
    ASSERT_EQ(code, 0);
  }

  std::atomic<bool> stop{false};
  std::atomic<long> mismatches{0}, calls{0}, reinits{0}, writerFailures{0};
  auto reader = [&](size_t first) {
    size_t k = first;
    planix::BrevantaOut out;
    while (!stop.load()) {
      int32_t c = -1;
      const auto content = k % 2 == 0 ? kinetra::StateContent::kWithElements : kinetra::StateContent::kPosVel;
      kinetra::kinetra_key(key, times[k], kinetra::kTimeMse, out, c, content);
      const planix::BrevantaOut& e = expected[k];
      if (c != 0 || out.pos != e.pos || out.vel != e.vel || out.revNum != e.revNum ||
          (content == kinetra::StateContent::kWithElements && out.oscKep != e.oscKep))
        ++mismatches;
      ++calls;
      k = (k + 5) % times.size();
    }
  };
  auto writer = [&] {
    while (!stop.load()) {
      if (kinetra::gpsatinit(key) != 0) ++writerFailures;  // replaces the object the readers use
      ++reinits;
      std::this_thread::yield();
    }
  };
  std::vector<std::thread> threads;
  for (size_t r = 0; r < 6; ++r) threads.emplace_back(reader, r);
  threads.emplace_back(writer);
  // Run until both sides have done enough work (a loaded machine or a sanitizer slows them
  // down), with a cap so a starved side fails the counts below instead of hanging.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while ((reinits.load() <= 10 || calls.load() <= 100) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  stop.store(true);
  for (auto& t : threads) t.join();

  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(writerFailures.load(), 0);
  EXPECT_GT(calls.load(), 100);
  EXPECT_GT(reinits.load(), 10);
  EXPECT_EQ(kinetra::gpGetNumOfObjects(), 1);
  EXPECT_EQ(kinetra::Sgp4Store().NumReads(), 0);
  kinetra::gpemptytree(code);
  lineset::tleemptytree(code);
  basalon::elsetkeymodeset(saved);
}

TEST(KinetraStatesConcurrency, ReadersShareOneDeepSpaceObjectWhileItIsReplaced) {
  runWithKeyMode(0);
  runWithKeyMode(1);
}

}  // namespace
