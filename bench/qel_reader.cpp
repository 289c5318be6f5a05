// Qel reader speed on one thread: a file of 100,000 multi-line messages (6x6 covariance, 32 lines
// each) and the same messages in one-line form, loaded into an empty store. Items are messages;
// bytes are those of the file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "Qel/QelCardReading.h"
#include "Qel/QelFields.h"
#include "Qel/QelTree.h"
#include "Qel/QelWriter.h"
#include "bench/qel_bench_record.h"

namespace {

constexpr int kMessages = 100000;

// Writes the file once per process; returns its path and size.
std::string makeFile(bool oneLine, size_t& bytes) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            (oneLine ? "zk_bench_qel_one_line.txt" : "zk_bench_qel_multi_line.txt"))
                               .string();
  std::FILE* f = std::fopen(path.c_str(), "w");
  std::string lines(qel::kQelBufferLines * qel::kQelLineWidth, ' ');
  std::string text(qel::kQelOneLineWidth, ' ');
  for (int s = 1; s <= kMessages; ++s) {
    // The one-line form holds five-digit satellite numbers: two epochs of 50,000 satellites each.
    qel::QelRecord r = qelbench::benchRecord((s - 1) % 50000 + 1, 6);
    r.epoch.minute += (s - 1) / 50000;
    if (oneLine) {
      qel::Qel2Qel1Line(std::span<char, qel::kQelOneLineWidth>(text.data(), text.size()), r);
      std::fprintf(f, "%.*s\n", static_cast<int>(text.find_last_not_of(' ') + 1), text.data());
    } else {
      int32_t n = 0;
      qel::Qel2QelLines(r, std::span<char>(lines.data(), lines.size()), &n);
      for (int32_t k = 0; k < n; ++k) {
        const std::string_view l(lines.data() + static_cast<size_t>(k) * qel::kQelLineWidth,
                                 qel::kQelLineWidth);
        std::fprintf(f, "%.*s\n", static_cast<int>(l.find_last_not_of(' ') + 1), l.data());
      }
    }
  }
  std::fclose(f);
  bytes = std::filesystem::file_size(path);
  return path;
}

void loadFile(benchmark::State& state, bool oneLine) {
  size_t bytes = 0;
  const std::string path = makeFile(oneLine, bytes);
  int32_t code = 0;
  qel::QelEmptyTree(code);
  for (auto _ : state) {
    basalon::LoadCounts counts;
    if (qel::ReadQelsFrFile(path, &counts) != 0 || counts.loaded != kMessages)
      state.SkipWithError("load failed");
    state.PauseTiming();
    qel::QelEmptyTree(code);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kMessages);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
  std::filesystem::remove(path);
}

void BM_QelLoadMultiLine(benchmark::State& state) { loadFile(state, false); }
void BM_QelLoadOneLine(benchmark::State& state) { loadFile(state, true); }

}  // namespace

BENCHMARK(BM_QelLoadMultiLine)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_QelLoadOneLine)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
