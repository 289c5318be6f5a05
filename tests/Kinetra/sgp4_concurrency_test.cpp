// One shared SGP4 object propagated from several threads through the read-only call.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/TleParse.h"

TEST(Sgp4Concurrency, SharedObjectGivesTheSerialStates) {
  // Molniya 2-14: 12-hour resonance, so every call integrates the resonance.
  lineset::TleRecord r;
  std::string msg;
  ASSERT_EQ(
      lineset::parseTle("", "1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
                        "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656", r, msg),
      0);
  kinetra::Sgp4Obj obj;
  ASSERT_EQ(kinetra::initFromTle(r, obj), 0);
  const kinetra::Sgp4Obj& shared = obj;
  constexpr int kTimes = 400;
  std::vector<kinetra::Sgp4State> serial(kTimes);
  for (int k = 0; k < kTimes; ++k) shared.propagateFromEpoch(-3000.0 + 15.0 * k, serial[k]);
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (int th = 0; th < 4; ++th) {
    threads.emplace_back([&, th] {
      for (int rep = 0; rep < 5; ++rep) {
        for (int k = 0; k < kTimes; ++k) {
          const int i = (k * 7 + th * 13) % kTimes;  // each thread its own order
          kinetra::Sgp4State s;
          shared.propagateFromEpoch(-3000.0 + 15.0 * i, s);
          if (s.pos != serial[i].pos || s.vel != serial[i].vel) ++mismatches[th];
        }
      }
    });
  }
  for (auto& t : threads) t.join();
  for (int th = 0; th < 4; ++th) EXPECT_EQ(mismatches[th], 0) << "thread " << th;
}
