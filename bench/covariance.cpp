// Per-call cost of the covariance rotations most used in batch work.
#include <benchmark/benchmark.h>

#include <Pelmath.h>

namespace {

const double kPos[3] = {-4000.0, 5200.0, 2100.0};
const double kVel[3] = {-5.1, -3.2, 4.4};

void fill(double* c, int n) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) c[i * n + j] = (i == j ? 2.0 : 0.1) / (1.0 + i + j);
}

void BM_CovMtxUVWToECI(benchmark::State& state) {
  double uvw[36], eci[36];
  fill(uvw, 6);
  for (auto _ : state) {
    CovMtxUVWToECI(kPos, kVel, uvw, eci);
    benchmark::DoNotOptimize(eci);
  }
}
BENCHMARK(BM_CovMtxUVWToECI);

void BM_CovMtxECIToEqnx(benchmark::State& state) {
  double eci[81], eq[81];
  fill(eci, 9);
  for (auto _ : state) {
    CovMtxECIToEqnx(kPos, kVel, eci, eq);
    benchmark::DoNotOptimize(eq);
  }
}
BENCHMARK(BM_CovMtxECIToEqnx);

void BM_CovMtxECIToEFG(benchmark::State& state) {
  double eci[36], efg[36];
  fill(eci, 6);
  double theta = 0.3;
  for (auto _ : state) {
    CovMtxECIToEFG(eci, efg, theta);
    benchmark::DoNotOptimize(efg);
  }
}
BENCHMARK(BM_CovMtxECIToEFG);

}  // namespace
