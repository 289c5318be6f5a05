// Qel text writer speed, one record at a time on one thread: the multi-line message with a full
// 9x9 covariance (36 lines) and the one-line message.
#include <benchmark/benchmark.h>

#include <array>

#include "Qel/QelFields.h"
#include "Qel/QelWriter.h"
#include "bench/qel_bench_record.h"

namespace {

void BM_Qel2QelLines(benchmark::State& state) {
  const qel::QelRecord rec = qelbench::benchRecord(25544, 9);
  std::array<char, qel::kQelBufferLines * qel::kQelLineWidth> lines;
  int32_t count = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(qel::Qel2QelLines(rec, lines, &count));
    benchmark::ClobberMemory();
  }
  state.counters["lines"] = count;
}
BENCHMARK(BM_Qel2QelLines);

void BM_Qel2Qel1Line(benchmark::State& state) {
  const qel::QelRecord rec = qelbench::benchRecord(25544, 9);
  std::array<char, qel::kQelOneLineWidth> text;
  for (auto _ : state) {
    benchmark::DoNotOptimize(qel::Qel2Qel1Line(text, rec));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Qel2Qel1Line);

}  // namespace
