// QelSaveFile speed: 100,000 stored records (6x6 covariance, 32 lines each; every tenth with two
// maneuver card lines) written to a file through the export. Items are records; bytes those of the file.
#include <Qel.h>
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <string>

#include "Qel/QelFields.h"
#include "Qel/QelTree.h"

namespace {

constexpr int kRecords = 100000;

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
