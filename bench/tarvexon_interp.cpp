// Interpolation of a 100,000-point ephemeris (one point a minute): InterpolateEP per state with
// Hermite and Lagrange, for increasing and for random request times, and GetEphem by key.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Interpolation.h"
#include "Tarvexon/TarvexonTree.h"

namespace {

constexpr int kPoints = 100000;
constexpr double kStart = 27000.0;            // DS50 UTC
constexpr double kStepDays = 60.0 / 86400.0;  // one minute
constexpr double kRadiusKm = 7000.0;
constexpr double kRateRadPerSec = 1.078e-3;

tarvexon::TarvexRecord makeRecord(bool withVelocity) {
  tarvexon::TarvexRecord rec;
  rec.satNum = withVelocity ? 1 : 2;
  for (int k = 0; k < kPoints; ++k) {
    const double s = k * 60.0, u = kRateRadPerSec * s;
    tarvexon::TarvexPoint p;
    p.ds50UTC = kStart + k * kStepDays;
    p.pos[0] = kRadiusKm * std::cos(u);
    p.pos[1] = kRadiusKm * std::sin(u) * 0.6;
    p.pos[2] = kRadiusKm * std::sin(u) * 0.8;
    if (withVelocity) {
      const double v = kRadiusKm * kRateRadPerSec;
      p.vel[0] = -v * std::sin(u);
      p.vel[1] = v * std::cos(u) * 0.6;
      p.vel[2] = v * std::cos(u) * 0.8;
    }
    tarvexon::AddOneEPPoint(p, rec);
  }
  tarvexon::TrimTarvexonPts(rec);
  return rec;
}

const tarvexon::TarvexRecord& record(bool withVelocity) {
  static const tarvexon::TarvexRecord hermite = makeRecord(true);
  static const tarvexon::TarvexRecord lagrange = makeRecord(false);
  return withVelocity ? hermite : lagrange;
}

// Request times (DS50 UTC) spread over the span, in increasing or random order.
std::vector<double> requestTimes(bool random) {
  std::vector<double> times(1 << 16);
  const double span = (kPoints - 1) * kStepDays;
  std::mt19937_64 gen(42);
  std::uniform_real_distribution<double> uni(0.0, span);
  for (size_t i = 0; i < times.size(); ++i) {
    times[i] = kStart + (random ? uni(gen)
                                : span * (static_cast<double>(i) + 0.37) / static_cast<double>(times.size()));
  }
  return times;
}

void interpolate(benchmark::State& state, bool withVelocity, bool random) {
  const tarvexon::TarvexRecord& rec = record(withVelocity);
  std::vector<double> tai = requestTimes(random);
  for (double& t : tai) t = chronel::utc2tai(t);
  size_t i = 0;
  tarvexon::TarvexPoint pt;
  int32_t code = 0;
  for (auto _ : state) {
    tarvexon::InterpolateEP(rec, tai[i], pt, code);
    benchmark::DoNotOptimize(pt);
    if (++i == tai.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_HermiteIncreasing(benchmark::State& s) { interpolate(s, true, false); }
void BM_HermiteRandom(benchmark::State& s) { interpolate(s, true, true); }
void BM_LagrangeIncreasing(benchmark::State& s) { interpolate(s, false, false); }
void BM_LagrangeRandom(benchmark::State& s) { interpolate(s, false, true); }

// GetEphem by key: the lookup among 1,000 other stored ephemerides, the read side and the Hermite
// state, for the same request times as the InterpolateEP cases.
void byKey(benchmark::State& state, bool random) {
  static const int64_t key = [] {
    for (int n = 0; n < 1000; ++n) {
      tarvexon::TarvexRecord small;
      small.satNum = 10000 + n;
      tarvexon::TarvexPoint p;
      p.ds50UTC = kStart + n;
      tarvexon::AddOneEPPoint(p, small);
      int64_t k = -1;
      tarvexon::AddTarvexToMem(small, k);
    }
    int64_t k = -1;
    tarvexon::AddTarvexToMem(record(true), k);
    return k;
  }();
  const std::vector<double> utc = requestTimes(random);
  size_t i = 0;
  tarvexon::TarvexPoint pt;
  int32_t code = 0;
  double mse = 0.0;
  for (auto _ : state) {
    tarvexon::GetEphem(key, utc[i], tarvexon::EphemInput::kDs50Utc, mse, pt, code);
    benchmark::DoNotOptimize(pt);
    if (++i == utc.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_GetEphemByKeyIncreasing(benchmark::State& s) { byKey(s, false); }
void BM_GetEphemByKeyRandom(benchmark::State& s) { byKey(s, true); }

BENCHMARK(BM_HermiteIncreasing);
BENCHMARK(BM_HermiteRandom);
BENCHMARK(BM_LagrangeIncreasing);
BENCHMARK(BM_LagrangeRandom);
BENCHMARK(BM_GetEphemByKeyIncreasing);
BENCHMARK(BM_GetEphemByKeyRandom);

}  // namespace
