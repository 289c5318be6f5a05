// Fuzz target of the card classification: every test of a line and of a name on arbitrary text;
// the type is one of the table's, a coordinate code one of the known ones.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Tarvexon/TarvexonCardReading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t type = tarvexon::TarvexCardType(text);
  const bool known = (type >= 1 && type <= 4) || (type >= 6 && type <= 13) || (type >= 15 && type <= 19) ||
                     type == tarvexon::kCardNone;
  if (!known) std::abort();
  if (type == tarvexon::kCardDceText && !tarvexon::IsSatNumOnly(text)) std::abort();
  (void)tarvexon::IsOwnerOperatorFile(text);
  (void)tarvexon::FileIsDotDce(text);
  const int32_t coord = tarvexon::Coord(text);
  if (coord != tarvexon::kCoordUnknown && !tarvexon::IsKnownCoordSys(coord)) std::abort();
  return 0;
}
