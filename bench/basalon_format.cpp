// Speed of the shared number writers and field readers, and of reading lines through a unit.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Units.h"

namespace {

std::vector<double> values() {
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<double> v(4096);
  for (size_t i = 0; i < v.size(); ++i) v[i] = u(rng) * std::pow(10.0, static_cast<int>(i % 21) - 10);
  return v;
}

void BM_WriteE13_6(benchmark::State& state) {
  const std::vector<double> v = values();
  char out[13];
  size_t i = 0;
  for (auto _ : state) {
    basalon::writeE(out, 13, 6, v[i++ & 4095]);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_WriteE13_6);

void BM_WriteF16_8(benchmark::State& state) {
  std::vector<double> v = values();
  for (double& x : v) x = std::fmod(x, 1e6);
  char out[16];
  size_t i = 0;
  for (auto _ : state) {
    basalon::writeF(out, 16, 8, v[i++ & 4095]);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_WriteF16_8);

void BM_WriteI5(benchmark::State& state) {
  char out[5];
  int64_t n = 0;
  for (auto _ : state) {
    basalon::writeI(out, 5, n++ % 100000);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_WriteI5);

void BM_ReadRealField(benchmark::State& state) {
  std::vector<std::string> lines;
  for (const double x : values()) lines.push_back("<> " + basalon::formatE(x, 13, 6));
  size_t i = 0;
  double v = 0.0;
  for (auto _ : state) {
    basalon::readRealField(lines[i++ & 4095], 4, 13, v);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ReadRealField);

// Lines of 80 columns read through a unit, 100000 lines per iteration.
void BM_ReadLines(benchmark::State& state) {
  const std::string name = "/tmp/basalon_bench_" + std::to_string(::getpid()) + ".txt";
  {
    std::FILE* f = std::fopen(name.c_str(), "w");
    for (int k = 0; k < 100000; ++k) std::fprintf(f, "<> %076d\n", k);
    std::fclose(f);
  }
  std::string line;
  for (auto _ : state) {
    int unit = 0, status = 0;
    basalon::fileopenmt(name, basalon::kOpenRead, unit, status);
    while (basalon::fileReadLine(unit, 80, line) == basalon::kUnitOk) benchmark::DoNotOptimize(line);
    basalon::fileClose(unit);
  }
  state.SetItemsProcessed(state.iterations() * 100000);
  std::remove(name.c_str());
}
BENCHMARK(BM_ReadLines)->Unit(benchmark::kMillisecond);

}  // namespace
