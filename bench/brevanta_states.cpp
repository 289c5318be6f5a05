// Brevanta's state export BrevantaDs50UTC timed beside what it is made of, in one run:
// - SGP4 satellites of the TLE catalogue (near-Earth and deep-space apart): Kinetra's raw
//   propagation (the object's own integrator, and read-only from epoch as a stored object is
//   propagated) plus the geodetic conversion, Kinetra's state by key plus the same conversion,
//   and the export by key;
// - a 100,000-point ECI ephemeris and a J2000 ephemeris of the same points, by key.
// Counters are nanoseconds per state (thread CPU time) and the export's ratio to its baseline.
#include <Brevanta.h>
#include <Kinetra.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "Brevanta/StateAtTime.h"
#include "bench_catalog.h"
#include "Pelmath/EarthFrames.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "Siblings/Planix/Planix.h"
#include "Tarvexon/Interpolation.h"
#include "Tarvexon/TarvexonTree.h"

namespace {

constexpr int kEphemPoints = 100000;
constexpr double kEphemT0 = 27837.5;

using benchcatalog::threadSeconds;

const benchcatalog::SgpSets& catalogue() {
  static const benchcatalog::SgpSets c = benchcatalog::loadSgpSets([](int64_t key) { return BrevantaInitSat(key); });
  return c;
}

// Geodetic latitude, longitude, height of a TEME position (km) at a UTC time, as the export does.
void geodetic(const basalon::Vec3& posKm, double utc, basalon::Vec3& llh) {
  const double theta = chronel::getthgr(chronel::utc2ut1(utc), planix::genvfk());
  pelmath::xyz2llh(theta, basalon::scaled(posKm, 1.0 / kinetra::wgs72::kRadius), llh);
}

// The three paths in turn for each satellite, so that they meet the same machine conditions.
void sgpStates(benchmark::State& state, const std::vector<int64_t>& keys,
               const std::vector<kinetra::Sgp4Obj>& objs) {
  const std::vector<double>& minutes = catalogue().minutes;
  if (keys.empty()) {
    state.SkipWithError("catalogue not found or empty");
    return;
  }
  std::vector<kinetra::Sgp4Obj> work = objs;
  double rawSec = 0.0, epochSec = 0.0, keySec = 0.0, exportSec = 0.0;
  int64_t states = 0;
  kinetra::Sgp4State st;
  planix::BrevantaOut out;
  int32_t code = 0;
  basalon::Vec3 llhOut{};
  double mse = 0.0, pos[3], vel[3], llh[3];
  int32_t rev = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < keys.size(); ++i) {
      kinetra::Sgp4Obj& obj = work[i];
      const double epoch = obj.record().epoch;
      double start = threadSeconds();
      for (double t : minutes) {
        obj.propagate(t, st);
        geodetic(st.pos, epoch + t / 1440.0, llhOut);
        benchmark::DoNotOptimize(llhOut);
      }
      double now = threadSeconds();
      rawSec += now - start;
      start = now;
      for (double t : minutes) {
        static_cast<const kinetra::Sgp4Obj&>(obj).propagateFromEpoch(t, st);
        geodetic(st.pos, epoch + t / 1440.0, llhOut);
        benchmark::DoNotOptimize(llhOut);
      }
      now = threadSeconds();
      epochSec += now - start;
      start = now;
      // Kinetra's state by key (its store's find and read side) plus the geodetic conversion.
      for (double t : minutes) {
        const double utc = epoch + t / 1440.0;
        kinetra::kinetra_key(keys[i], utc, kinetra::kTimeDs50Utc, out, code, kinetra::StateContent::kPosVel);
        geodetic(basalon::scaled(out.pos, kinetra::wgs72::kRadius), utc, llhOut);
        benchmark::DoNotOptimize(llhOut);
      }
      now = threadSeconds();
      keySec += now - start;
      start = now;
      for (double t : minutes) {
        BrevantaDs50UTC(keys[i], epoch + t / 1440.0, &mse, &rev, pos, vel, llh);
        benchmark::DoNotOptimize(llh);
      }
      exportSec += threadSeconds() - start;
    }
    states += static_cast<int64_t>(keys.size() * minutes.size());
  }
  const double n = static_cast<double>(states);
  state.counters["raw_llh_ns"] = rawSec * 1e9 / n;
  state.counters["from_epoch_llh_ns"] = epochSec * 1e9 / n;
  state.counters["kinetra_key_llh_ns"] = keySec * 1e9 / n;
  state.counters["export_ns"] = exportSec * 1e9 / n;
  state.counters["export_over_kinetra_key_llh"] = exportSec / keySec;
  state.counters["export_over_raw_llh"] = exportSec / rawSec;
  state.counters["export_over_from_epoch_llh"] = exportSec / epochSec;
}

void BM_SgpNearEarth(benchmark::State& s) { sgpStates(s, catalogue().nearEarthKeys, catalogue().nearEarth); }
void BM_SgpDeepSpace(benchmark::State& s) { sgpStates(s, catalogue().deepSpaceKeys, catalogue().deepSpace); }
BENCHMARK(BM_SgpNearEarth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SgpDeepSpace)->Unit(benchmark::kMillisecond);

// A stored ephemeris of kEphemPoints points a minute apart on a circular orbit, in one frame.
int64_t ephemeris(int32_t coordSys) {
  const int64_t key =
      tarvexon::CreateNewSatEntry(90000 + coordSys, kEphemT0, 6378.135, 0.0743669161331734, coordSys);
  const double r = 7000.0, w = std::sqrt(398600.8 / (r * r * r)), c = std::cos(0.9), s = std::sin(0.9);
  int32_t code = 0;
  tarvexon::TarvexEditRec(
      key,
      [&](tarvexon::TarvexRecord& rec) {
        rec.points.reserve(kEphemPoints);
        for (int k = 0; k < kEphemPoints; ++k) {
          const double a = w * 60.0 * k, x = r * std::cos(a), y = r * std::sin(a);
          const double vx = -r * w * std::sin(a), vy = r * w * std::cos(a);
          tarvexon::TarvexPoint p;
          p.ds50UTC = kEphemT0 + k / 1440.0;
          p.pos[0] = x, p.pos[1] = y * c, p.pos[2] = y * s;
          p.vel[0] = vx, p.vel[1] = vy * c, p.vel[2] = vy * s;
          tarvexon::AddOneEPPoint(p, rec);
        }
        return 0;
      },
      code);
  return key;
}

// Request times: at random over the whole span, the same sorted ascending, or a walk through
// consecutive minutes of the span as a host generating an output ephemeris asks them.
enum class TimeOrder { kRandom, kAscending, kWalk };

void ephemStates(benchmark::State& state, int32_t coordSys, TimeOrder order) {
  static const int64_t keys[3] = {0, ephemeris(1), ephemeris(2)};
  const int64_t key = keys[coordSys];
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> when(kEphemT0, kEphemT0 + (kEphemPoints - 1) / 1440.0);
  std::vector<double> times(4096);
  for (double& t : times) t = when(rng);
  if (order == TimeOrder::kAscending) std::sort(times.begin(), times.end());
  if (order == TimeOrder::kWalk) {
    for (size_t k = 0; k < times.size(); ++k)
      times[k] = kEphemT0 + (50000.0 + 0.73 * static_cast<double>(k)) / 1440.0;
  }
  std::vector<double> taiTimes;
  for (double t : times) taiTimes.push_back(chronel::utc2tai(t));
  double mse = 0.0, pos[3], vel[3], llh[3];
  int32_t rev = 0, code = 0;
  planix::BrevantaOut out;
  tarvexon::TarvexPoint pt;
  double interpSec = 0.0, stateSec = 0.0, exportSec = 0.0;
  int64_t states = 0;
  for (auto _ : state) {
    // Tarvexon's interpolation alone, on the record borrowed once.
    double start = threadSeconds();
    tarvexon::TarvexReadRec(key, [&](const tarvexon::TarvexRecord& rec) {
      for (double tai : taiTimes) {
        tarvexon::InterpolateEP(rec, tai, pt, code);
        benchmark::DoNotOptimize(pt);
      }
    });
    double now = threadSeconds();
    interpSec += now - start;
    start = now;
    // The state record by key (TEME, no elements): the library path of the export.
    for (double t : times) {
      brevanta::stateByKey(key, t, brevanta::TimeType::kDs50Utc, out, code, brevanta::StateContent::kPosVel,
                           "bench");
      benchmark::DoNotOptimize(out.pos);
    }
    now = threadSeconds();
    stateSec += now - start;
    start = now;
    for (double t : times) {
      BrevantaDs50UTC(key, t, &mse, &rev, pos, vel, llh);
      benchmark::DoNotOptimize(pos);
    }
    exportSec += threadSeconds() - start;
    states += static_cast<int64_t>(times.size());
  }
  const double n = static_cast<double>(states);
  state.counters["interpolation_ns"] = interpSec * 1e9 / n;
  state.counters["state_ns"] = stateSec * 1e9 / n;
  state.counters["export_ns"] = exportSec * 1e9 / n;
}

void BM_EphemEci100kRandom(benchmark::State& s) { ephemStates(s, 1, TimeOrder::kRandom); }
void BM_EphemEci100kAscending(benchmark::State& s) { ephemStates(s, 1, TimeOrder::kAscending); }
void BM_EphemEci100kWalk(benchmark::State& s) { ephemStates(s, 1, TimeOrder::kWalk); }
void BM_EphemJ2k100kRandom(benchmark::State& s) { ephemStates(s, 2, TimeOrder::kRandom); }
void BM_EphemJ2k100kAscending(benchmark::State& s) { ephemStates(s, 2, TimeOrder::kAscending); }
void BM_EphemJ2k100kWalk(benchmark::State& s) { ephemStates(s, 2, TimeOrder::kWalk); }
BENCHMARK(BM_EphemEci100kRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EphemEci100kAscending)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EphemEci100kWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EphemJ2k100kRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EphemJ2k100kAscending)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EphemJ2k100kWalk)->Unit(benchmark::kMillisecond);

}  // namespace
