// Fuzz target of the Qel concatenated form: the split never writes past its 40 lines, and a message
// that reads and can be written again reads back with the same satellite and covariance dimension.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Qel/QelCardReading.h"
#include "Qel/QelWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<char> split(qel::kConcatMaxLines * qel::kConcatLineWidth);
  int32_t n = -1;
  qel::Concatenated2MultiLine(text, n, qel::ConcatLines(split.data(), split.size()));
  if (n < 0 || n > static_cast<int32_t>(qel::kConcatMaxLines)) std::abort();
  qel::QelRecord rec;
  qel::AnyQelStrings2Qel(rec, text);
  if (rec.errCode != 0 || qel::QelCardType(text) == qel::kQelCardOneLine) return 0;
  std::string lines(qel::kQelBufferLines * qel::kQelLineWidth, ' ');
  int32_t count = 0;
  if (qel::Qel2QelLines(rec, std::span<char>(lines.data(), lines.size()), &count) != 0) return 0;
  std::string joined;
  for (int32_t k = 0; k < count; ++k)
    joined.append(lines, static_cast<size_t>(k) * qel::kQelLineWidth, qel::kQelLineWidth);
  qel::QelRecord back;
  qel::AnyQelStrings2Qel(back, joined);
  if (back.errCode != 0 || back.satNum != rec.satNum || back.covDim != rec.covDim) std::abort();
  return 0;
}
