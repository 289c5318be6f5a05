// Per-call cost of the hub element conversions, Kepler's equation and osculating to mean.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"

namespace {

using pelmath::Elset;
using pelmath::Vec3;

// A small rotating set of orbits so no call sees the same input twice: argument 0 gives
// near-circular orbits (e <= 0.02, most catalogued objects), argument 1 eccentricities up to 0.7.
constexpr int kSets = 8;
std::array<Elset, kSets> orbits(const benchmark::State& state) {
  const double eMax = state.range(0) == 0 ? 0.02 : 0.7;
  std::array<Elset, kSets> s{};
  for (int k = 0; k < kSets; ++k) {
    const double f = k / double(kSets - 1);
    s[k] = {1.05 + 5.0 * f, 0.001 + (eMax - 0.001) * f, 0.1 + 2.8 * f, 6.0 * f, 1.0 + 3.0 * f, 5.0 * f};
  }
  return s;
}

void BM_kep2pv(benchmark::State& state) {
  const auto sets = orbits(state);
  Vec3 p{}, v{};
  int k = 0;
  for (auto _ : state) {
    pelmath::kep2pv(sets[k], p, v);
    benchmark::DoNotOptimize(p);
    benchmark::DoNotOptimize(v);
    k = (k + 1) % kSets;
  }
}
BENCHMARK(BM_kep2pv)->Arg(0)->Arg(1);

void BM_pv2kep(benchmark::State& state) {
  const auto sets = orbits(state);
  std::array<Vec3, kSets> pos{}, vel{};
  for (int k = 0; k < kSets; ++k) {
    pelmath::kep2pv(sets[k], pos[k], vel[k]);
    pelmath::tometricpos(pos[k].data(), pos[k].data());
    pelmath::tometricvel(vel[k].data(), vel[k].data());
  }
  int k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(pelmath::pv2kep(pos[k], vel[k]));
    k = (k + 1) % kSets;
  }
}
BENCHMARK(BM_pv2kep)->Arg(0)->Arg(1);

void BM_finde(benchmark::State& state) {
  const auto sets = orbits(state);
  int k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(pelmath::finde(sets[k]));
    k = (k + 1) % kSets;
  }
}
BENCHMARK(BM_finde)->Arg(0)->Arg(1);

void BM_keposc2mean(benchmark::State& state) {
  const auto sets = orbits(state);
  int k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(pelmath::keposc2mean(sets[k]));
    k = (k + 1) % kSets;
  }
}
BENCHMARK(BM_keposc2mean)->Arg(0)->Arg(1);

// Reference: one sine, to read the figures above in units of library calls on this machine.
void BM_sinReference(benchmark::State& state) {
  double x = 0.1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x = std::sin(x) + 1.3);
  }
}
BENCHMARK(BM_sinReference);

}  // namespace
