// Readers calling kinetra_key on different and on the same keys while a writer adds, initialises
// and removes other satellites in the TLE and SGP4 stores: every reader's state equals the one
// computed beforehand on a single thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "common/TestSupport.h"

namespace {

struct Lines {
  std::string name, l1, l2;
};

std::vector<Lines> catalogue(size_t n) {
  std::ifstream in(zktest::dataPath("tle/catalog.tle"));
  std::vector<Lines> sets;
  Lines s;
  while (sets.size() < n && std::getline(in, s.name) && std::getline(in, s.l1) && std::getline(in, s.l2))
    sets.push_back(s);
  return sets;
}

TEST(KinetraStoreConcurrency, ReadersSeeTheSingleThreadStatesWhileAWriterWorks) {
  ZK_REQUIRE_DATA(zktest::dataPath("tle/catalog.tle"));
  int32_t code = 0;
  kinetra::gpemptytree(code);
  lineset::tleemptytree(code);
  const auto sets = catalogue(60);
  ASSERT_EQ(sets.size(), 60u);
  // Satellites 0-19 stay loaded (read by the readers); 20-59 come and go (the writer's).
  std::vector<int64_t> keys;
  for (size_t i = 0; i < 20; ++i) {
    keys.push_back(lineset::tleAddSatFrLines(sets[i].name, sets[i].l1, sets[i].l2));
    ASSERT_EQ(kinetra::gpsatinit(keys.back()), 0);
  }
  const std::vector<double> times{-1440.0, -10.0, 0.0, 33.3, 720.0, 2000.0};
  std::vector<std::vector<planix::BrevantaOut>> expected(keys.size());
  for (size_t k = 0; k < keys.size(); ++k)
    for (double t : times) {
      planix::BrevantaOut out;
      kinetra::kinetra_key(keys[k], t, kinetra::kTimeMse, out, code);
      ASSERT_EQ(code, 0);
      expected[k].push_back(out);
    }

  std::atomic<bool> stop{false};
  std::atomic<long> mismatches{0}, calls{0}, writerRounds{0}, writerFailures{0};
  auto reader = [&](size_t first, size_t stride) {
    size_t k = first, ti = 0;
    while (!stop.load()) {
      planix::BrevantaOut out;
      int32_t c = -1;
      kinetra::kinetra_key(keys[k], times[ti], kinetra::kTimeMse, out, c);
      const auto& e = expected[k][ti];
      if (c != 0 || out.pos != e.pos || out.vel != e.vel || out.revNum != e.revNum) ++mismatches;
      ++calls;
      k = (k + stride) % keys.size();
      ti = (ti + 1) % times.size();
    }
  };
  auto writer = [&] {
    size_t i = 20;
    while (!stop.load()) {
      const Lines& s = sets[i];
      const int64_t key = lineset::tleAddSatFrLines(s.name, s.l1, s.l2);
      int32_t c = 0, flag = 0;
      planix::BrevantaOut out;
      if (key <= 0 || kinetra::gpsatinit(key) != 0) ++writerFailures;
      kinetra::kinetra_key(key, 10.0, kinetra::kTimeMse, out, c);
      if (c != 0) ++writerFailures;
      kinetra::gpremovenode(key, flag, c);
      if (c != 0) ++writerFailures;
      flag = 0;
      lineset::tleremovenode(key, flag, c);
      if (c != 0) ++writerFailures;
      ++writerRounds;
      i = i + 1 < sets.size() ? i + 1 : 20;
    }
  };
  std::vector<std::thread> threads;
  threads.emplace_back(reader, 0, 1);  // walks every key
  threads.emplace_back(reader, 3, 7);  // other keys in another order
  threads.emplace_back(reader, 5, 0);  // always the same key
  threads.emplace_back(reader, 5, 0);  // the same key as the previous reader
  threads.emplace_back(writer);
  // Until both sides have done enough work (slow under a sanitizer or a loaded machine), capped.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while ((writerRounds.load() <= 10 || calls.load() <= 100) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  stop.store(true);
  for (auto& t : threads) t.join();

  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(writerFailures.load(), 0);
  EXPECT_GT(calls.load(), 100);
  EXPECT_GT(writerRounds.load(), 10);
  EXPECT_EQ(kinetra::gpGetNumOfObjects(), 20);
  EXPECT_EQ(lineset::tlegetnumoftreenodes(), 20);
  EXPECT_TRUE(kinetra::Sgp4Store().Validate().ok);
  EXPECT_TRUE(lineset::TleStore().Validate().ok);
  kinetra::gpemptytree(code);
  lineset::tleemptytree(code);
}

}  // namespace
