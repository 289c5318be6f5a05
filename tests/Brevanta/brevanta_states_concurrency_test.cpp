// Many threads asking states of the same and of different satellites (SGP4 and external
// ephemerides, by key and by object) while a loader adds, initialises and removes other
// satellites, with standard and with DMA keys: every state equals the one computed beforehand on
// one thread, and the stores are left consistent.
#include <Brevanta.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "Brevanta/StateAtTime.h"
#include "Brevanta/brevanta_samples.h"
#include "Siblings/Basalon/Keys.h"

namespace {

constexpr double kT0 = 27837.5;

struct Expected {
  int64_t key;
  double t;
  double pos[3];
};

// A circular ECI ephemeris of 30 points a minute apart.
int64_t addCircular(int32_t satNum, double radius) {
  const double w = std::sqrt(398600.8 / (radius * radius * radius));
  std::vector<tarvexon::TarvexPoint> pts;
  for (int k = 0; k < 30; ++k) {
    const double a = w * 60.0 * k;
    pts.push_back(
        brevtest::point(kT0 + k / 1440.0, {radius * std::cos(a), radius * std::sin(a), 0.0,
                                           -radius * w * std::sin(a), radius * w * std::cos(a), 0.0}));
  }
  return brevtest::addEphem(satNum, tarvexon::kCoordEci, pts);
}

// TLE lines of the ISS renumbered (a different satellite for the stores).
std::string renumbered(const char* line, int satNum) {
  std::string s(line);
  char num[6];
  std::snprintf(num, sizeof num, "%05d", satNum);
  s.replace(2, 5, num);
  return kymortest::withChecksum(s);
}

void runWithKeyMode(int keyMode) {
  brevtest::emptyAll();
  basalon::elsetkeymodeset(keyMode);
  std::vector<int64_t> keys;
  for (int n = 0; n < 3; ++n) {
    const int64_t k = kymortest::addTle(renumbered(brevtest::kIssLine1, 30000 + n),
                                        renumbered(brevtest::kIssLine2, 30000 + n));
    ASSERT_GT(k, 0);
    ASSERT_EQ(BrevantaInitSat(k), 0);
    keys.push_back(k);
  }
  for (int n = 0; n < 3; ++n) keys.push_back(addCircular(40000 + n, 7000.0 + 500.0 * n));

  std::vector<Expected> expected;
  for (const int64_t key : keys) {
    for (int j = 0; j < 4; ++j) {
      Expected e{key, kT0 + (3.0 + 7.3 * j) / 1440.0, {}};
      double mse, vel[3], llh[3];
      int32_t rev;
      ASSERT_EQ(BrevantaDs50UTC(key, e.t, &mse, &rev, e.pos, vel, llh), 0);
      expected.push_back(e);
    }
  }

  std::atomic<bool> stop{false};
  std::atomic<long> mismatches{0}, calls{0}, loads{0}, loaderFailures{0};
  auto reader = [&](size_t first, bool byObject) {
    size_t k = first;
    brevanta::CommonPropObj obj;
    planix::BrevantaOut out;
    while (!stop.load()) {
      const Expected& e = expected[k];
      double pos[3] = {}, mse, vel[3], llh[3];
      int32_t rev, code = 0;
      if (byObject) {
        brevanta::GetPropObj(e.key, obj, code);
        if (code == 0) brevanta::BrevantaInUTC_Obj(obj, e.t, out, code);
        for (size_t c = 0; c < 3; ++c) pos[c] = out.pos[c] * 6378.135;
      } else {
        code = BrevantaDs50UTC(e.key, e.t, &mse, &rev, pos, vel, llh);
      }
      bool same = code == 0;
      for (int c = 0; c < 3; ++c) same = same && std::fabs(pos[c] - e.pos[c]) < 1e-9;
      if (!same) ++mismatches;
      ++calls;
      k = (k + 5) % expected.size();
    }
  };
  // The loader adds, initialises, asks and removes satellites of its own beside the readers.
  auto loader = [&] {
    int n = 0;
    while (!stop.load()) {
      const int satNum = 50000 + n % 50;
      const int64_t tle =
          kymortest::addTle(renumbered(brevtest::kIssLine1, satNum), renumbered(brevtest::kIssLine2, satNum));
      const int64_t eph = addCircular(60000 + n % 50, 8000.0);
      bool ok = tle > 0 && eph > 0 && BrevantaInitSat(tle) == 0 && BrevantaInitSat(eph) == 0;
      double mse, pos[3], vel[3], llh[3];
      int32_t rev;
      ok = ok && BrevantaDs50UTC(tle, kT0, &mse, &rev, pos, vel, llh) == 0;
      ok = ok && BrevantaRemoveSatAll(tle) == 0 && BrevantaRemoveSatAll(eph) == 0;
      if (!ok) ++loaderFailures;
      ++loads;
      ++n;
    }
  };

  std::vector<std::thread> threads;
  for (size_t t = 0; t < 4; ++t) threads.emplace_back(reader, t * 3, t % 2 == 1);
  threads.emplace_back(loader);
  // Run until every side did some work (bounded in time for a loaded machine).
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while ((calls.load() < 400 || loads.load() < 20) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  stop = true;
  for (auto& th : threads) th.join();

  EXPECT_GE(calls.load(), 400);
  EXPECT_GE(loads.load(), 20);
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(loaderFailures.load(), 0);
  // Only the readers' satellites are left.
  EXPECT_EQ(lineset::TleStore().GetNumOfTreeNodes(), 3);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 3);
  EXPECT_EQ(kinetra::gpGetNumOfObjects(), 3);
  brevtest::emptyAll();
}

TEST(BrevantaStatesConcurrency, StandardKeys) { runWithKeyMode(0); }
TEST(BrevantaStatesConcurrency, DmaKeys) { runWithKeyMode(1); }

}  // namespace
