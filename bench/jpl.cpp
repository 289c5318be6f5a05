// JPL ephemeris speed: the Sun and Moon of date per call once loaded, and loading the DE405 sample.
#include <benchmark/benchmark.h>

#include <string>

#include "Pelmath.h"
#include "Pelmath/JplProcessing.h"

namespace {

const std::string kSample = std::string(ZK_DATA_DIR) + "/de-sample/de405-2000-2004.txt";

void BM_JplCompSunMoonPos(benchmark::State& state) {
  pelmath::jplReset();
  pelmath::jplSetParameters(kSample, 0.0, 36525.0);
  if (pelmath::buildjpl() != 0) {
    state.SkipWithError("cannot load the DE405 sample");
    return;
  }
  double sun[3], moon[3];
  double t = 18263.5;  // J2000, stepping 0.37 days per call through the five years
  for (auto _ : state) {
    benchmark::DoNotOptimize(JplCompSunMoonPos(t, sun, moon));
    benchmark::DoNotOptimize(sun[0] + moon[0]);
    t += 0.37;
    if (t > 20100.0) t = 18263.5;
  }
  pelmath::jplReset();
}
BENCHMARK(BM_JplCompSunMoonPos);

// The J2000 pair alone (no time-system conversion or rotation to date).
void BM_JplEphem(benchmark::State& state) {
  pelmath::jplReset();
  pelmath::jplSetParameters(kSample, 0.0, 36525.0);
  if (pelmath::buildjpl() != 0) {
    state.SkipWithError("cannot load the DE405 sample");
    return;
  }
  pelmath::Vec3 sun{}, moon{};
  double t = 18263.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(pelmath::jpl_ephem(chronel::tosplittai(t), moon, sun));
    benchmark::DoNotOptimize(sun[0] + moon[0]);
    t += 0.37;
    if (t > 20100.0) t = 18263.5;
  }
  pelmath::jplReset();
}
BENCHMARK(BM_JplEphem);

void BM_LoadSample(benchmark::State& state) {
  for (auto _ : state) {
    pelmath::jplReset();
    pelmath::jplSetParameters(kSample, 0.0, 36525.0);
    if (pelmath::buildjpl() != 0) {
      state.SkipWithError("cannot load the DE405 sample");
      break;
    }
  }
  pelmath::jplReset();
}
BENCHMARK(BM_LoadSample)->Unit(benchmark::kMillisecond);

}  // namespace
