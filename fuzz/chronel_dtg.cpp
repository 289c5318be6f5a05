// Fuzz target: arbitrary text through the date-time group and calendar-text readers.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Siblings/Chronel/Chronel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double a = chronel::dtgtods50(text);
  const double b = chronel::dtg2ds50utc(text);
  // Whatever reads back must write out and read again without trouble.
  if (a > 0.0) (void)chronel::dtgtods50(chronel::ds50toyydate15(a));
  if (b > 0.0) (void)chronel::dtg2ds50utc(chronel::ds50todate15(b));
  return 0;
}
