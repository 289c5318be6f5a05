// The SGP4 sets of the shared catalog, initialised and split into near-Earth and deep-space, with
// private copies of their objects and the request times (minutes from epoch); and a thread's CPU
// clock. Shared by the state benchmarks.
#pragma once

#include <time.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Lineset/LinesetStore.h"

namespace benchcatalog {

constexpr int kTimesPerSat = 200;
constexpr double kSpanMin = 1440.0;  // each side of epoch

struct SgpSets {
  std::vector<int64_t> nearEarthKeys, deepSpaceKeys;
  std::vector<kinetra::Sgp4Obj> nearEarth, deepSpace;  // private copies of the stored objects
  std::vector<double> minutes;
};

// Loads the catalog and prepares each set with initSat(key) (0 when prepared).
template <class InitFn>
SgpSets loadSgpSets(InitFn&& initSat) {
  SgpSets r;
  for (int k = 0; k < kTimesPerSat; ++k) r.minutes.push_back(-kSpanMin + k * (2.0 * kSpanMin / (kTimesPerSat - 1)));
  lineset::readtlesfrfile(std::string(ZK_DATA_DIR) + "/tle/catalog.tle");
  std::vector<int64_t> keys(static_cast<size_t>(lineset::tlegetnumoftreenodes()));
  int32_t count = 0;
  lineset::tlegettreekeys(count, keys.data(), 2, static_cast<int64_t>(keys.size()));
  keys.resize(static_cast<size_t>(count));
  for (int64_t key : keys) {
    if (initSat(key) != 0) continue;
    kinetra::Sgp4Obj* obj = nullptr;
    kinetra::gpfindrecptr(key, obj);
    if (obj != nullptr) {
      const bool deep = obj->isDeepSpace();
      (deep ? r.deepSpaceKeys : r.nearEarthKeys).push_back(key);
      (deep ? r.deepSpace : r.nearEarth).push_back(*obj);
    }
    kinetra::gpendread();
  }
  return r;
}

// CPU time of this thread (s): the machine's other load does not count.
inline double threadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

}  // namespace benchcatalog
