// Common element data per satellite over the TLE catalogue (a find in the TLE store, the epoch in
// UTC and TAI, the shape values and the category), for the SGP4 sets as loaded and for the same
// sets read as SGP sets (the Kozai to Brouwer step added), and the reduced SGP fill.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "Kymor/CommonElData.h"
#include "Siblings/Lineset/LinesetStore.h"

namespace {

const std::string& cataloguePath() {
  static const std::string p = std::string(ZK_DATA_DIR) + "/tle/catalog.tle";
  return p;
}

// The catalogue loaded twice: as written (type 2) and with every line 1 marked type 1.
struct Loaded {
  std::vector<int64_t> sgp4, sgp;
};

std::string asSgpLine(std::string line1) {
  line1[62] = '1';
  int sum = 0;
  for (size_t i = 0; i < 68; ++i)
    sum += (line1[i] >= '0' && line1[i] <= '9') ? line1[i] - '0' : line1[i] == '-';
  line1[68] = static_cast<char>('0' + sum % 10);
  return line1;
}

const Loaded& loaded() {
  static const Loaded l = [] {
    Loaded r;
    int32_t code = 0;
    lineset::tleemptytree(code);
    std::ifstream in(cataloguePath());
    std::string name, l1, l2;
    while (std::getline(in, name) && std::getline(in, l1) && std::getline(in, l2)) {
      const int64_t k2 = lineset::tleAddSatFrLines(name, l1, l2);
      const int64_t k1 = lineset::tleAddSatFrLines(name, asSgpLine(l1), l2);
      if (k2 > 0) r.sgp4.push_back(k2);
      if (k1 > 0) r.sgp.push_back(k1);
    }
    return r;
  }();
  return l;
}

template <void (*Fill)(kymor::CommonSatData&, int64_t)>
void runOverKeys(benchmark::State& state, const std::vector<int64_t>& keys) {
  if (keys.empty()) {
    state.SkipWithError("needs the TLE catalogue under the shared data folder");
    return;
  }
  kymor::CommonSatData rec;
  size_t i = 0;
  for (auto _ : state) {
    Fill(rec, keys[i]);
    benchmark::DoNotOptimize(rec.perigeeHeight);
    if (++i == keys.size()) i = 0;
  }
  state.counters["satellites"] = static_cast<double>(keys.size());
}

void BM_GetCommElDataSgp4(benchmark::State& state) {
  runOverKeys<kymor::GetCommElData>(state, loaded().sgp4);
}
void BM_GetCommElDataSgp(benchmark::State& state) { runOverKeys<kymor::GetCommElData>(state, loaded().sgp); }
void BM_GetCommElDataSGPReduced(benchmark::State& state) {
  runOverKeys<kymor::GetCommElDataSGP>(state, loaded().sgp);
}

BENCHMARK(BM_GetCommElDataSgp4);
BENCHMARK(BM_GetCommElDataSgp);
BENCHMARK(BM_GetCommElDataSGPReduced);

}  // namespace
