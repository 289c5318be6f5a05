// Store speed: loading the TLE catalogue file, initialising every set's SGP4 object in the
// store, and a state by key (a find, SGP4 on the borrowed object and the state record) against
// the propagator called directly, for near-Earth and deep-space sets; a moved epoch per set.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/LinesetStore.h"

namespace {

const std::string& cataloguePath() {
  static const std::string p = std::string(ZK_DATA_DIR) + "/tle/catalog.tle";
  return p;
}

// The catalogue in both stores; keys split by near-Earth and deep-space objects.
struct Loaded {
  std::vector<int64_t> nearEarth, deepSpace;
};

const Loaded& loaded() {
  static const Loaded l = [] {
    Loaded r;
    int32_t code = 0;
    lineset::tleemptytree(code);
    kinetra::gpemptytree(code);
    lineset::readtlesfrfile(cataloguePath());
    std::vector<int64_t> keys(static_cast<size_t>(lineset::tlegetnumoftreenodes()));
    int32_t n = 0;
    lineset::tlegettreekeys(n, keys.data(), 2, static_cast<int64_t>(keys.size()));
    for (int64_t k : keys) {
      if (kinetra::gpsatinit(k) != 0) continue;
      kinetra::Sgp4Obj* obj = nullptr;
      kinetra::gpfindrecptr(k, obj);
      const bool deep = obj != nullptr && obj->isDeepSpace();
      kinetra::gpendread();
      (deep ? r.deepSpace : r.nearEarth).push_back(k);
    }
    return r;
  }();
  return l;
}

void BM_LoadCatalogueFile(benchmark::State& state) {
  int32_t code = 0;
  for (auto _ : state) {
    state.PauseTiming();
    lineset::tleemptytree(code);
    state.ResumeTiming();
    lineset::TleLoadCounts c;
    lineset::readtlesfrfile(cataloguePath(), &c);
    benchmark::DoNotOptimize(c.loaded);
  }
  state.counters["sets"] = lineset::tlegetnumoftreenodes();
  lineset::tleemptytree(code);
}
BENCHMARK(BM_LoadCatalogueFile)->Unit(benchmark::kMillisecond);

void stateByKey(benchmark::State& state, const std::vector<int64_t>& keys) {
  size_t i = 0;
  double t = 0.0;
  planix::BrevantaOut out;
  int32_t code = 0;
  for (auto _ : state) {
    kinetra::kinetra_key(keys[i], t, kinetra::kTimeMse, out, code);
    benchmark::DoNotOptimize(out.pos);
    i = i + 1 < keys.size() ? i + 1 : 0;
    t = t < 1440.0 ? t + 7.3 : 0.0;
  }
}

void stateDirect(benchmark::State& state, const std::vector<int64_t>& keys) {
  std::vector<kinetra::Sgp4Obj> objs;
  for (int64_t k : keys) {
    kinetra::Sgp4Obj* obj = nullptr;
    kinetra::gpfindrecptr(k, obj);
    objs.push_back(*obj);
    kinetra::gpendread();
  }
  size_t i = 0;
  double t = 0.0;
  kinetra::Sgp4State st;
  planix::BrevantaOut out;
  for (auto _ : state) {
    objs[i].propagate(t, st);
    kinetra::toStateRecord(objs[i], st, out);
    benchmark::DoNotOptimize(out.pos);
    i = i + 1 < objs.size() ? i + 1 : 0;
    t = t < 1440.0 ? t + 7.3 : 0.0;
  }
}

void BM_StateByKeyNearEarth(benchmark::State& s) { stateByKey(s, loaded().nearEarth); }
void BM_StateDirectNearEarth(benchmark::State& s) { stateDirect(s, loaded().nearEarth); }
void BM_StateByKeyDeepSpace(benchmark::State& s) { stateByKey(s, loaded().deepSpace); }
void BM_StateDirectDeepSpace(benchmark::State& s) { stateDirect(s, loaded().deepSpace); }
BENCHMARK(BM_StateByKeyNearEarth);
BENCHMARK(BM_StateDirectNearEarth);
BENCHMARK(BM_StateByKeyDeepSpace);
BENCHMARK(BM_StateDirectDeepSpace);

void BM_ReepochNearEarth(benchmark::State& state) {
  const auto& keys = loaded().nearEarth;
  size_t i = 0;
  lineset::TleRecord out;
  int32_t code = 0;
  for (auto _ : state) {
    kinetra::Sgp4Obj* obj = nullptr;
    kinetra::gpfindrecptr(keys[i], obj);
    const double epoch = obj->slot(kinetra::kEpoch);
    kinetra::gpendread();
    kinetra::reepochtle(keys[i], epoch + 1.0, out, code);
    benchmark::DoNotOptimize(out.meanMotion);
    i = i + 1 < keys.size() ? i + 1 : 0;
  }
}
BENCHMARK(BM_ReepochNearEarth)->Unit(benchmark::kMicrosecond);

}  // namespace
