// Per-call cost of the Earth-frame rotations, the precession-nutation matrix, the topocentric
// components and the analytic Sun and Moon.
#include <benchmark/benchmark.h>

#include "Pelmath.h"
#include "Pelmath/EarthFrames.h"
#include "Pelmath/PrecessionNutation.h"
#include "Pelmath/Topocentric.h"

using namespace pelmath;

namespace {

const Vec3 kPos{-2436.45, -2436.45, 6891.037};
const Vec3 kVel{5.088611, -5.088611, 0.0};

void BM_eci2efg(benchmark::State& state) {
  Vec3 p, v;
  double theta = 0.1;
  for (auto _ : state) {
    eci2efg(theta, kPos, kVel, p, v);
    benchmark::DoNotOptimize(p);
    benchmark::DoNotOptimize(v);
    theta += 1e-6;
  }
}
BENCHMARK(BM_eci2efg);

void BM_getpnmatrix106(benchmark::State& state) {
  Mat3 pn;
  double T = 0.2;
  for (auto _ : state) {
    getpnmatrix(PnSpectrum::kSeries, 106, T, pn);
    benchmark::DoNotOptimize(pn);
    T += 1e-9;
  }
}
BENCHMARK(BM_getpnmatrix106);

void BM_rotj2k2date(benchmark::State& state) {
  const int terms = static_cast<int>(state.range(0));
  Vec3 p, v;
  double ds50 = 25000.0;
  for (auto _ : state) {
    rotj2k2date(PnSpectrum::kSeries, terms, ds50, kPos, kVel, p, v);
    benchmark::DoNotOptimize(p);
    ds50 += 1e-6;
  }
}
BENCHMARK(BM_rotj2k2date)->Arg(4)->Arg(106);

void BM_eci2topocomps(benchmark::State& state) {
  const Vec3 sen{0.6, -0.7, 0.4}, sat{3.1, -2.2, 2.9}, vel{0.25, 0.31, -0.12};
  double comps[10];
  double theta = 2.0;
  for (auto _ : state) {
    eci2topocomps(theta, 0.6, sen, sat, vel, comps);
    benchmark::DoNotOptimize(comps);
    theta += 1e-6;
  }
}
BENCHMARK(BM_eci2topocomps);

void BM_CompSunMoonPos(benchmark::State& state) {
  double sun[3], moon[3], sd, md;
  double ds50 = 25000.0;
  for (auto _ : state) {
    CompSunMoonPos(ds50, sun, &sd, moon, &md);
    benchmark::DoNotOptimize(sun);
    benchmark::DoNotOptimize(moon);
    ds50 += 1e-4;
  }
}
BENCHMARK(BM_CompSunMoonPos);

}  // namespace
