// Threads on the Tarvexon exports: one thread appends points to a satellite (its points array grows
// and moves) while others interpolate that satellite, read and set its fields, and others add and
// remove other satellites; in both key modes. Run under ThreadSanitizer in CI.
#include <Basalon.h>
#include <Tarvexon.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kEpoch = 26000.5;
constexpr double kMinute = 1.0 / 1440.0;
constexpr int kFirstPoints = 8;
constexpr int kAppended = 2500;  // enough to move the points array several times

// Straight-line motion sampled once a minute: Hermite interpolation reproduces it.
// x of the straight line at a DS50 time, from the double time itself.
double xAt(double t) { return 7000.0 + 7.0 * (t - kEpoch) * 86400.0; }

int32_t appendPoint(int64_t key, int k) {
  const double t = kEpoch + k * kMinute;
  const double pos[3] = {xAt(t), 100.0, -50.0};
  const double vel[3] = {7.0, 0.0, 0.0};
  return TarvexAddSatEphem(key, t, pos, vel, k);
}

std::string padded(const char* text, size_t length) {
  std::string b(length, ' ');
  b.replace(0, std::string(text).size(), text);
  return b;
}

class TarvexConcurrency : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    BasalonSetElsetKeyMode(GetParam());
    TarvexRemoveAllSats();
  }
  void TearDown() override {
    TarvexRemoveAllSats();
    BasalonSetElsetKeyMode(0);
  }
};

TEST_P(TarvexConcurrency, AppendingBesideInterpolatingAndOtherSatellitesComingAndGoing) {
  const int64_t key = TarvexAddSat(90001, kEpoch, 6378.135, 0.07436691613317341, 2);
  ASSERT_GT(key, 0);
  for (int k = 0; k < kFirstPoints; ++k) ASSERT_EQ(appendPoint(key, k), 0);

  std::atomic<bool> appending{true};
  std::atomic<int> badStates{0}, badFields{0}, badOthers{0};

  std::thread appender([&] {
    for (int k = kFirstPoints; k < kFirstPoints + kAppended; ++k)
      if (appendPoint(key, k) != 0) badOthers.fetch_add(1);
    appending = false;
  });

  // Requests between the first points: their window never reaches the points being appended, but
  // every read walks the array that the appender grows.
  auto interpolate = [&](int seed) {
    int k = seed;
    do {
      const double minutes = (k % (kFirstPoints - 1)) + 0.25;
      double mse = 0, pos[3], vel[3];
      int32_t rev = -1;
      const double t = kEpoch + minutes * kMinute;
      if (TarvexDs50UTC(key, t, &mse, pos, vel, &rev) != 0 || std::fabs(pos[0] - xAt(t)) > 1e-9 ||
          std::fabs(vel[0] - 7.0) > 1e-9 || std::fabs(mse - minutes) > 1e-6)
        badStates.fetch_add(1);
      int32_t n = 0;
      if (TarvexGetNumPts(key, &n) != 0 || n < kFirstPoints) badStates.fetch_add(1);
      ++k;
    } while (appending);
  };

  // Names set as a writer while another thread reads them: always one whole name or the other.
  const std::string nameA = padded("ALPHA", 512), nameB = padded("BRAVO", 512);
  std::thread namer([&] {
    for (int k = 0; appending; ++k)
      if (TarvexSetField(key, 14, (k % 2 == 0 ? nameA : nameB).c_str()) != 0) badFields.fetch_add(1);
  });
  std::thread nameReader([&] {
    std::string value(512, ' ');
    while (appending) {
      if (TarvexGetField(key, 14, value.data()) != 0) badFields.fetch_add(1);
      const std::string name = value.substr(0, 8);
      if (name != "ALPHA   " && name != "BRAVO   " && name != "        ") badFields.fetch_add(1);
    }
  });

  // Other satellites added, given points and removed meanwhile.
  std::thread churn([&] {
    for (int k = 0; appending; ++k) {
      const int64_t other = TarvexAddSat(1000 + k % 50, kEpoch + k, 6378.135, 0.07436691613317341, 1);
      if (other <= 0) {
        badOthers.fetch_add(1);
        continue;
      }
      if (appendPoint(other, 0) != 0 || TarvexRemoveSat(other) != 0) badOthers.fetch_add(1);
    }
  });

  std::vector<std::thread> readers;
  for (int r = 0; r < 2; ++r) readers.emplace_back(interpolate, r * 3);
  appender.join();
  for (std::thread& t : readers) t.join();
  namer.join();
  nameReader.join();
  churn.join();

  EXPECT_EQ(badStates.load(), 0);
  EXPECT_EQ(badFields.load(), 0);
  EXPECT_EQ(badOthers.load(), 0);
  int32_t n = 0;
  EXPECT_EQ(TarvexGetNumPts(key, &n), 0);
  EXPECT_EQ(n, kFirstPoints + kAppended);
  EXPECT_EQ(TarvexGetCount(), 1);
  // The last appended point is intact after all the moves.
  double t = 0, pos[3], vel[3];
  int32_t rev = 0;
  EXPECT_EQ(TarvexGetEphemeris(key, n, &t, pos, vel, &rev), 0);
  EXPECT_EQ(rev, n - 1);
  EXPECT_EQ(pos[0], xAt(t));
}

INSTANTIATE_TEST_SUITE_P(KeyModes, TarvexConcurrency, ::testing::Values(0, 1),
                         [](const auto& p) { return p.param == 0 ? "Standard" : "Dma"; });

}  // namespace
