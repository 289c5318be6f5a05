// Fuzz target of the Qel one-line reader: any text reads without a fault; a message that reads and
// can be written again reads back the same, and converts to the multi-line form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Qel/QelCardReading.h"
#include "Qel/QelWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qel::QelRecord rec;
  qel::Qel1Line2Qel(rec, text);
  std::string lines(qel::kQelBufferLines * qel::kQelLineWidth, ' ');
  int32_t numLines = -1;
  const int32_t code = qel::Qel1Line2QelLines(text, std::span<char>(lines.data(), lines.size()), numLines);
  if (numLines != 0) std::abort();
  if (rec.errCode != 0) {
    if (code == 0) std::abort();  // a message that does not read gives no lines
    return 0;
  }
  if (rec.covDim < 0 || rec.covDim > qel::kMaxCovDim) std::abort();
  std::string again(qel::kQelOneLineWidth, ' ');
  if (qel::Qel2Qel1Line(std::span<char, qel::kQelOneLineWidth>(again.data(), again.size()), rec) != 0)
    return 0;
  qel::QelRecord back;
  qel::Qel1Line2Qel(back, again);
  if (back.errCode != 0 || back.satNum != rec.satNum || back.epochRev != rec.epochRev ||
      back.covDim != rec.covDim)
    std::abort();
  return 0;
}
