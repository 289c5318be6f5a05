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

namespace {

constexpr int kMessages = 100000;

qel::QelRecord record(int32_t satNum) {
  qel::QelRecord r;
  r.satNum = satNum;
  r.intlDes.set("98067A");
  r.epoch = {2024, 200, 13, 45, 12.3456};
  r.epochRev = 45678;
  r.j2kPos = {-4123.456789, 5012.3456789, 1234.5678901};
  r.j2kVel = {-3.123456789012, -4.987654321098, 4.567890123456};
  r.eciPos = {-4100.123456789, 5030.987654321, 1240.1122334455};
  r.eciVel = {-3.111111111111, -4.999999999999, 4.555555555555};
  r.efgPos = {6000.1, -1500.2, 1240.3};
  r.efgVel = {1.25, 5.5, 4.555};
  r.geoModel.set("EGM-96");
  r.geoZonals = 36;
  r.geoTesserals = 36;
  r.dragModel.set("JAC70");
  r.lunarSolar.set("ON");
  r.solarRadPress.set("ON");
  r.solidEarthTides.set("ON");
  r.inTrackThrust.set("OFF");
  r.ballisticCoef = 0.012345;
  r.bDot = -1.5e-8;
  r.solarRadPressCoef = 0.0234;
  r.edr = 1.25e-4;
  r.f10 = 150;
  r.avgF10 = 148;
  r.avgAp = 12.3;
  r.taiMinusUtc = 37.0;
  r.ut1MinusUtc = -0.0512;
  r.ut1Rate = 0.0012;
  r.polarMotionX = 0.1234;
  r.polarMotionY = 0.3456;
  r.nutationTerms = 106;
  r.leapSecondTime = {2049, 365, 23, 59, 59.999};
  r.integratorMode.set("GJ-VAR");
  r.coordSys.set("TEME");
  r.partials.set("FAST");
  r.stepMode.set("AUTO");
  r.fixedStep.set("OFF");
  r.stepSizeSelection.set("RELERR");
  r.initialStepSize = 60.0;
  r.errorControl = 1e-12;
  r.posSigmas = {0.0123, 0.0456, 0.0789};
  r.velSigmas = {1.2e-5, 3.4e-5, 5.6e-5};
  r.covDim = 6;
  r.wtdRms = 1.0312;
  std::array<double, qel::kQelPackedCovLength> packed{};
  for (size_t k = 0; k < 21; ++k) packed[k] = 1e-6 * static_cast<double>(k + 1);
  qel::Qel1Dto2D(r.cov, packed);
  return r;
}

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
    qel::QelRecord r = record((s - 1) % 50000 + 1);
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
