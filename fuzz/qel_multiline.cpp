// Fuzz target of the Qel file reader on the multi-line and short forms (one-line messages and
// maneuver lines may be mixed in): the input is loaded from a unit as a file of messages. Every
// message is counted once, and every stored record writes and reads back.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Qel/QelCardReading.h"
#include "Qel/QelTree.h"
#include "Qel/QelWriter.h"
#include "Siblings/Basalon/Units.h"

namespace {

constexpr int kUnit = 61;

const std::string& scratchPath() {
  static const std::string path = "/tmp/zk_fuzz_qel_multiline_" + std::to_string(::getpid()) + ".txt";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(scratchPath().c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  if (basalon::fileopen(kUnit, scratchPath(), basalon::kOpenRead) != 0) return 0;
  // ReadOnlyQels, not the card-file loader: input-file cards would open whatever files they name.
  basalon::LoadCounts counts;
  int32_t code = 0;
  qel::ReadOnlyQels(kUnit, counts, code);
  basalon::fileClose(kUnit);
  if (counts.loaded != qel::QelGetNumOfTreeNodes()) std::abort();
  int32_t n = 0;
  int64_t keys[64];
  qel::QelGetTreeKeys(n, keys, 3, 64);
  for (int32_t k = 0; k < n; ++k) {
    qel::QelRecord rec;
    qel::QelFindRec(keys[k], rec);
    if (rec.numManeuverLines < 0 || rec.numManeuverLines > qel::kMaxManeuverLines) std::abort();
    std::string lines(qel::kQelBufferLines * qel::kQelLineWidth, ' ');
    int32_t count = 0;
    if (qel::Qel2QelLines(rec, std::span<char>(lines.data(), lines.size()), &count) == 0) {
      qel::QelRecord back;
      qel::MultiLine2Qel(back,
                         std::string_view(lines.data(), static_cast<size_t>(count) * qel::kQelLineWidth),
                         qel::kQelLineWidth);
      if (back.errCode != 0 || back.satNum != rec.satNum || back.covDim != rec.covDim) std::abort();
    }
  }
  qel::QelEmptyTree(code);
  return 0;
}
