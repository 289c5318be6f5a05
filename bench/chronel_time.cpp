// Cost per call of the time conversions used in the propagation loops: UTC -> TAI, the
// Greenwich angle, UTC -> UT1 with timing constants loaded, and date-time group reading.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "Siblings/Chronel/Chronel.h"

namespace {

void BM_utc2tai(benchmark::State& state) {
  double t = 20000.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(chronel::utc2tai(t));
    t += 0.37;  // walks across the whole leap-second table
    if (t > 30000.0) t = 20000.0;
  }
}
BENCHMARK(BM_utc2tai);

void BM_getthgr(benchmark::State& state) {
  const int fk = static_cast<int>(state.range(0));
  double t = 20000.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(chronel::getthgr(t, fk));
    t += 0.001;
  }
}
BENCHMARK(BM_getthgr)->Arg(5)->Arg(4);

void BM_utc2ut1Loaded(benchmark::State& state) {
  const std::string file = (std::filesystem::temp_directory_path() / "chronel_bench_tconst.txt").string();
  {
    std::ofstream out(file);
    for (int d = 0; d < 10000; ++d) out << 50000 + d << " 0.1 0.2 0.3\n";
  }
  chronel::loadTimeConstFile(file);
  double t = chronel::mjdToDs50(50000.0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(chronel::utc2ut1(t));
    t += 0.7;
    if (t > chronel::mjdToDs50(60000.0)) t = chronel::mjdToDs50(50000.0);
  }
  chronel::clearTimeConstants();
  std::filesystem::remove(file);
}
BENCHMARK(BM_utc2ut1Loaded);

void BM_dtgtods50(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(chronel::dtgtods50("20123123456.789"));
}
BENCHMARK(BM_dtgtods50);

void BM_dtg2ds50utcCalendar(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(chronel::dtg2ds50utc("01 Jan 2020 12:34:56.789"));
}
BENCHMARK(BM_dtg2ds50utcCalendar);

}  // namespace
