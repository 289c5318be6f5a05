// QelSaveFile speed: 100,000 stored records (6x6 covariance, 32 lines each; every tenth with two
// maneuver card lines) written to a file through the export. Items are records; bytes those of the file.
#include <Qel.h>
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <string>

#include "Qel/QelFields.h"
#include "Qel/QelTree.h"
#include "bench/qel_bench_record.h"

namespace {

constexpr int kRecords = 100000;

// The shared sample record; every tenth carries two maneuver card lines.
qel::QelRecord record(int32_t satNum) {
  qel::QelRecord r = qelbench::benchRecord(satNum, 6);
  if (satNum % 10 == 0) {
    qel::AllocManeuverLines(r);
    r.maneuverLines[0].set("VPCFIL " + std::to_string(satNum));
    r.maneuverLines[1].set("ACC_ 1.0 2.0 3.0");
    r.numManeuverLines = 2;
  }
  return r;
}

void fillStore() {
  if (qel::QelGetNumOfTreeNodes() == kRecords) return;
  QelRemoveAllSats();
  for (int s = 1; s <= kRecords; ++s) {
    int64_t key = 0;
    qel::AddQelToMem(record(s), key);
  }
}

void BM_QelSaveFile(benchmark::State& state) {
  fillStore();
  const std::string path = (std::filesystem::temp_directory_path() / "zk_bench_qel_save.txt").string();
  std::string name(512, ' ');
  name.replace(0, path.size(), path);
  for (auto _ : state) {
    if (QelSaveFile(name.data(), 0) != 0) state.SkipWithError("QelSaveFile failed");
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}
BENCHMARK(BM_QelSaveFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
