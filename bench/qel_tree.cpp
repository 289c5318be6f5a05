// Qel store speed on a million records: adds, finds by key, key listings and read throughput
// from one and two threads (the read side's counter is one shared cache line).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <vector>

#include "Qel/QelTree.h"

namespace {

constexpr int kMillion = 1000000;

qel::QelRecord recordFor(int satNum) {
  qel::QelRecord r;
  r.satNum = satNum;
  r.epoch = {2024, 1 + satNum % 365, satNum % 24, satNum % 60, 12.5};
  r.eciPos = {7000.0, 100.0 + satNum % 1000, -20.0};
  r.eciVel = {-1.0, 7.5, 0.1};
  return r;
}

// Satellite numbers 1..n in a fixed random order.
std::vector<int> shuffledNumbers(int n) {
  std::vector<int> nums(static_cast<size_t>(n));
  std::iota(nums.begin(), nums.end(), 1);
  std::shuffle(nums.begin(), nums.end(), std::mt19937(7));
  return nums;
}

void fill(const std::vector<int>& nums) {
  qel::QelRecord r = recordFor(1);
  for (int s : nums) {
    r.satNum = s;
    r.epoch.day = 1 + s % 365;
    int64_t key = 0;
    qel::AddQelToMem(r, key);
  }
}

// The store holding a million records, and their keys in random order.
const std::vector<int64_t>& loadedKeys() {
  static std::vector<int64_t> keys;
  if (qel::QelGetNumOfTreeNodes() != kMillion) {
    int32_t code = 0;
    qel::QelEmptyTree(code);
    fill(shuffledNumbers(kMillion));
  }
  if (keys.size() != static_cast<size_t>(kMillion)) {
    keys.assign(static_cast<size_t>(kMillion), 0);
    int32_t count = 0;
    qel::QelGetTreeKeys(count, keys.data(), 9, kMillion);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(11));
  }
  return keys;
}

// Adds into a fresh process: every record body is new memory, so the figure includes the
// system's page faults for about 1.2 GB.
void BM_AddMillionCold(benchmark::State& state) {
  const std::vector<int> nums = shuffledNumbers(kMillion);
  for (auto _ : state) {
    state.PauseTiming();
    int32_t code = 0;
    qel::QelEmptyTree(code);
    state.ResumeTiming();
    fill(nums);
  }
  state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(BM_AddMillionCold)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same once the process holds the memory (freed records stay with the allocator): the
// store's own cost of an add.
void BM_AddMillionWarm(benchmark::State& state) {
  mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
  mallopt(M_MMAP_THRESHOLD, std::numeric_limits<int>::max());
  BM_AddMillionCold(state);
}
BENCHMARK(BM_AddMillionWarm)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_FindRecPtrRandom(benchmark::State& state) {
  const std::vector<int64_t>& keys = loadedKeys();
  size_t i = 0;
  for (auto _ : state) {
    qel::QelRecord* rec = nullptr;
    qel::QelFindRecPtr(keys[i], rec);
    benchmark::DoNotOptimize(rec->eciPos[0]);
    qel::QelEndRead();
    if (++i == keys.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindRecPtrRandom);

void BM_FindRecPtrAscending(benchmark::State& state) {
  std::vector<int64_t> keys = loadedKeys();
  std::sort(keys.begin(), keys.end());
  size_t i = 0;
  for (auto _ : state) {
    qel::QelRecord* rec = nullptr;
    qel::QelFindRecPtr(keys[i], rec);
    benchmark::DoNotOptimize(rec->eciPos[0]);
    qel::QelEndRead();
    if (++i == keys.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindRecPtrAscending);

// The same 1024 keys over and over: their paths stay in cache, which shows the cost of the
// search itself apart from memory latency.
void BM_FindRecPtrHot(benchmark::State& state) {
  const std::vector<int64_t>& keys = loadedKeys();
  size_t i = 0;
  for (auto _ : state) {
    qel::QelRecord* rec = nullptr;
    qel::QelFindRecPtr(keys[i], rec);
    benchmark::DoNotOptimize(rec->eciPos[0]);
    qel::QelEndRead();
    i = (i + 1) & 1023;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindRecPtrHot);

void BM_FindRecCopyHot(benchmark::State& state) {
  const std::vector<int64_t>& keys = loadedKeys();
  size_t i = 0;
  qel::QelRecord out;
  for (auto _ : state) {
    qel::QelFindRec(keys[i], out);
    benchmark::DoNotOptimize(out.satNum);
    i = (i + 1) & 1023;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindRecCopyHot);

void BM_FindRecCopyRandom(benchmark::State& state) {
  const std::vector<int64_t>& keys = loadedKeys();
  size_t i = 0;
  qel::QelRecord out;
  for (auto _ : state) {
    qel::QelFindRec(keys[i], out);
    benchmark::DoNotOptimize(out.satNum);
    if (++i == keys.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindRecCopyRandom);

void BM_GetTreeKeys(benchmark::State& state) {
  loadedKeys();
  std::vector<int64_t> out(static_cast<size_t>(kMillion));
  const int32_t order = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    int32_t count = 0;
    qel::QelGetTreeKeys(count, out.data(), order, kMillion);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kMillion);
}
BENCHMARK(BM_GetTreeKeys)->Arg(0)->Arg(2)->Arg(9)->Unit(benchmark::kMillisecond);

// Borrowed reads of random records; items per second per thread count shows how the read side
// scales.
void BM_ReadsThreads(benchmark::State& state) {
  const std::vector<int64_t>& keys = loadedKeys();
  size_t i = static_cast<size_t>(state.thread_index()) * 7919;
  for (auto _ : state) {
    qel::QelRecord* rec = nullptr;
    qel::QelFindRecPtr(keys[i % keys.size()], rec);
    benchmark::DoNotOptimize(rec->eciPos[1]);
    qel::QelEndRead();
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadsThreads)->Threads(1)->Threads(2)->UseRealTime();

// The read side alone (enter and leave), which bounds the read rate.
void BM_ReadSideThreads(benchmark::State& state) {
  for (auto _ : state) {
    qel::QelBeginRead();
    qel::QelEndRead();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadSideThreads)->Threads(1)->Threads(2)->UseRealTime();

}  // namespace
