// SGP4 speed over the TLE catalogue: nanoseconds per state for near-Earth and deep-space sets
// (200 times per satellite spread over a day) and initialisations per second.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/TleParse.h"

namespace {

constexpr int kTimesPerSat = 200;

struct Catalog {
  std::vector<lineset::TleRecord> sets;
  std::vector<kinetra::Sgp4Obj> nearEarth, deepSpace;
};

const Catalog& catalog() {
  static const Catalog cat = [] {
    Catalog c;
    std::ifstream in(std::string(ZK_DATA_DIR) + "/tle/catalog.tle");
    std::string name, l1, l2, msg;
    while (std::getline(in, name) && std::getline(in, l1) && std::getline(in, l2)) {
      lineset::TleRecord r;
      if (lineset::parseTle(name, l1, l2, r, msg) != 0) continue;
      kinetra::Sgp4Obj obj;
      if (kinetra::initFromTle(r, obj) != 0) continue;
      (obj.isDeepSpace() ? c.deepSpace : c.nearEarth).push_back(obj);
      c.sets.push_back(r);
    }
    return c;
  }();
  return cat;
}

void propagateAll(benchmark::State& state, const std::vector<kinetra::Sgp4Obj>& objs) {
  std::vector<kinetra::Sgp4Obj> work = objs;  // private copies: propagation updates the integrator
  if (work.empty()) {
    state.SkipWithError("catalogue not found or empty");
    return;
  }
  kinetra::Sgp4State s;
  int64_t states = 0;
  for (auto _ : state) {
    for (auto& obj : work) {
      for (int k = 0; k < kTimesPerSat; ++k) {
        obj.propagate(k * (1440.0 / kTimesPerSat), s);
        benchmark::DoNotOptimize(s.pos);
      }
      states += kTimesPerSat;
    }
  }
  state.SetItemsProcessed(states);
  state.counters["ns_per_state"] = benchmark::Counter(
      static_cast<double>(states) * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["satellites"] = static_cast<double>(work.size());
}

void BM_NearEarthState(benchmark::State& state) { propagateAll(state, catalog().nearEarth); }
void BM_DeepSpaceState(benchmark::State& state) { propagateAll(state, catalog().deepSpace); }

void BM_Initialisation(benchmark::State& state) {
  const auto& sets = catalog().sets;
  if (sets.empty()) {
    state.SkipWithError("catalogue not found or empty");
    return;
  }
  int64_t inits = 0;
  kinetra::Sgp4Obj obj;
  for (auto _ : state) {
    for (const auto& r : sets) {
      benchmark::DoNotOptimize(kinetra::initFromTle(r, obj));
      ++inits;
    }
  }
  state.counters["inits_per_second"] =
      benchmark::Counter(static_cast<double>(inits), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_NearEarthState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepSpaceState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Initialisation)->Unit(benchmark::kMillisecond);
