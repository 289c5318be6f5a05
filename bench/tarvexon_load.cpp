// Tarvexon load speed and memory on one thread: an ITC file of 1,000,000 points without covariance
// (one line a point) and with covariance (four lines a point), written to the temporary folder once,
// loaded into an empty store. Items are points. The counter peakPerRecord is the peak resident
// memory added by the load over the stored record's size (232 bytes a point).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Tarvexon/TarvexonCardReading.h"
#include "Tarvexon/TarvexonTree.h"

namespace {

constexpr int kPoints = 1000000;

// Writes the file once per process: header, then per point a line of time (columns 2-18),
// position (19-66, km) and velocity (67-114, km/s), and with covariance three lines of seven values.
std::string makeFile(bool withCov) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            (withCov ? "zk_bench_tarvexon_cov.itc" : "zk_bench_tarvexon.itc"))
                               .string();
  if (std::filesystem::exists(path)) return path;
  std::FILE* f = std::fopen(path.c_str(), "w");
  std::fprintf(f, " 12345 7.436691613317341E-02 6.378135000000000E+03 2024100000000.000%38s%5s SP\n", "",
               withCov ? "" : "WOCOV");
  for (int k = 0; k < kPoints; ++k) {
    // One point a second from 2024 day 100 (about 11.6 days); a simple circular motion.
    const int s = k, day = 100 + s / 86400;
    const double u = k * 1e-3;
    std::fprintf(f, " 2024%03d%02d%02d%02d.000%16.6f%16.6f%16.6f%16.9f%16.9f%16.9f\n", day,
                 (s % 86400) / 3600, (s % 3600) / 60, s % 60, 7000.0 * std::cos(u), 7000.0 * std::sin(u),
                 10.0, -7.5 * std::sin(u), 7.5 * std::cos(u), 0.001);
    if (withCov)
      for (int line = 0; line < 3; ++line) {
        std::fputs(" ", f);
        for (int i = 0; i < 7; ++i) std::fprintf(f, "%16.8E", (line * 7 + i + 1) * 1e-4);
        std::fputs("\n", f);
      }
  }
  std::fclose(f);
  return path;
}

// Resident memory of the process in bytes: the current size, or its peak since the last reset.
long residentBytes(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string key;
  long kb = -1;
  while (in >> key) {
    if (key == field) {
      in >> kb;
      break;
    }
    in.ignore(4096, '\n');
  }
  return kb * 1024;
}
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void loadItc(benchmark::State& state, bool withCov) {
  const std::string path = makeFile(withCov);
  int32_t code = 0;
  tarvexon::TarvexEmptyTree(code);
  double peakPerRecord = 0;
  for (auto _ : state) {
    state.PauseTiming();
    resetPeak();
    const long before = residentBytes("VmRSS:");
    state.ResumeTiming();
    if (tarvexon::ReadTarvexsFrFile(path) != 0 || tarvexon::TarvexGetNumOfTreeNodes() != 1)
      state.SkipWithError("load failed");
    state.PauseTiming();
    const long peak = residentBytes("VmHWM:");
    peakPerRecord =
        static_cast<double>(peak - before) / (static_cast<double>(kPoints) * sizeof(tarvexon::TarvexPoint));
    tarvexon::TarvexEmptyTree(code);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
  state.counters["peakPerRecord"] = peakPerRecord;
}

void BM_LoadItcWithoutCovariance(benchmark::State& state) { loadItc(state, false); }
void BM_LoadItcWithCovariance(benchmark::State& state) { loadItc(state, true); }

BENCHMARK(BM_LoadItcWithoutCovariance)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadItcWithCovariance)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
