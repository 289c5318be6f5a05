// SGP4 states of the TLE catalogue timed in one run by three paths: the propagator on private
// objects, the same objects read-only from epoch, and the host export KinetraPropMse after
// KinetraInitSat. Near-Earth and deep-space sets apart; 200 times per set over -1 to +1 day.
// Counters: nanoseconds per state of each path, the export's ratio to the raw propagator, and
// heap allocations per exported state.
#include <Kinetra.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "Siblings/Kinetra/KinetraStore.h"
#include "bench_catalog.h"
#include "Siblings/Lineset/LinesetStore.h"

namespace {

std::atomic<long> gAllocations{0};

}  // namespace

// Every heap allocation of the program (the libraries' included) is counted.
void* operator new(std::size_t n) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n != 0 ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {


using benchcatalog::threadSeconds;

const benchcatalog::SgpSets& loaded() {
  static const benchcatalog::SgpSets l = benchcatalog::loadSgpSets([](int64_t key) { return KinetraInitSat(key); });
  return l;
}

// The three paths in turn for each satellite, so that they meet the same machine conditions.
void compare(benchmark::State& state, const std::vector<int64_t>& keys,
             const std::vector<kinetra::Sgp4Obj>& objs) {
  const std::vector<double>& times = loaded().minutes;
  if (keys.empty()) {
    state.SkipWithError("catalogue not found or empty");
    return;
  }
  std::vector<kinetra::Sgp4Obj> work = objs;  // the propagator keeps its integrator in the object
  double rawSec = 0.0, epochSec = 0.0, exportSec = 0.0;
  long allocs = 0;
  int64_t states = 0;
  kinetra::Sgp4State st;
  double ds50 = 0.0, pos[3], vel[3];
  for (auto _ : state) {
    for (size_t i = 0; i < keys.size(); ++i) {
      kinetra::Sgp4Obj& obj = work[i];
      double start = threadSeconds();
      for (double t : times) {
        obj.propagate(t, st);
        benchmark::DoNotOptimize(st.pos);
      }
      double now = threadSeconds();
      rawSec += now - start;
      start = now;
      for (double t : times) {
        static_cast<const kinetra::Sgp4Obj&>(obj).propagateFromEpoch(t, st);
        benchmark::DoNotOptimize(st.pos);
      }
      now = threadSeconds();
      epochSec += now - start;
      const long before = gAllocations.load(std::memory_order_relaxed);
      start = threadSeconds();
      for (double t : times) {
        KinetraPropMse(keys[i], t, &ds50, pos, vel);
        benchmark::DoNotOptimize(pos);
      }
      exportSec += threadSeconds() - start;
      allocs += gAllocations.load(std::memory_order_relaxed) - before;
    }
    states += static_cast<int64_t>(keys.size() * times.size());
  }
  const double n = static_cast<double>(states);
  state.counters["raw_ns"] = rawSec * 1e9 / n;
  state.counters["from_epoch_ns"] = epochSec * 1e9 / n;
  state.counters["export_ns"] = exportSec * 1e9 / n;
  state.counters["export_over_raw"] = exportSec / rawSec;
  state.counters["allocs_per_state"] = static_cast<double>(allocs) / n;
  state.counters["satellites"] = static_cast<double>(keys.size());
}

void BM_NearEarthRawVsExport(benchmark::State& s) { compare(s, loaded().nearEarthKeys, loaded().nearEarth); }
void BM_DeepSpaceRawVsExport(benchmark::State& s) { compare(s, loaded().deepSpaceKeys, loaded().deepSpace); }
BENCHMARK(BM_NearEarthRawVsExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepSpaceRawVsExport)->Unit(benchmark::kMillisecond);

// The state record by key with and without the element sets.
void stateByKey(benchmark::State& state, const std::vector<int64_t>& keys, kinetra::StateContent content) {
  const std::vector<double>& times = loaded().minutes;
  if (keys.empty()) {
    state.SkipWithError("catalogue not found or empty");
    return;
  }
  planix::BrevantaOut out;
  int32_t code = 0;
  int64_t states = 0;
  for (auto _ : state) {
    for (int64_t key : keys)
      for (double t : times) {
        kinetra::kinetra_key(key, t, kinetra::kTimeMse, out, code, content);
        benchmark::DoNotOptimize(out.pos);
      }
    states += static_cast<int64_t>(keys.size() * times.size());
  }
  state.counters["ns_per_state"] = benchmark::Counter(
      static_cast<double>(states) * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_NearEarthKeyPosVel(benchmark::State& s) {
  stateByKey(s, loaded().nearEarthKeys, kinetra::StateContent::kPosVel);
}
void BM_NearEarthKeyWithElements(benchmark::State& s) {
  stateByKey(s, loaded().nearEarthKeys, kinetra::StateContent::kWithElements);
}
void BM_DeepSpaceKeyPosVel(benchmark::State& s) {
  stateByKey(s, loaded().deepSpaceKeys, kinetra::StateContent::kPosVel);
}
void BM_DeepSpaceKeyWithElements(benchmark::State& s) {
  stateByKey(s, loaded().deepSpaceKeys, kinetra::StateContent::kWithElements);
}
BENCHMARK(BM_NearEarthKeyPosVel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NearEarthKeyWithElements)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepSpaceKeyPosVel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepSpaceKeyWithElements)->Unit(benchmark::kMillisecond);

}  // namespace
