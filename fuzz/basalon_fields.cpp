// Fuzz target of the fixed-column field readers, the card-value reader and the number writers: any
// text is read without a fault, and a real that reads is written back in E23.15 and reads the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  int64_t i = 0;
  double r = 0.0;
  bool blank = false;
  basalon::parseInt(text, i, &blank);
  basalon::getinputfilename(text);
  int32_t i32 = 0;
  basalon::strtoint(text, i32);
  for (int first = 1; first < 40; first += 7) basalon::readIntField(text, first, 9, i32);
  if (basalon::parseReal(text, r, &blank) == basalon::kFieldOk) {
    char field[24];
    if (basalon::writeE(field, 23, 15, r)) {
      double back = 0.0;
      if (basalon::parseReal(std::string_view(field, 23), back) != basalon::kFieldOk) std::abort();
      // 15 significant digits: the round trip keeps the value to a few parts in 1e15.
      const double scale = r < 0 ? -r : r;
      if ((back - r > 1e-14 * scale) || (r - back > 1e-14 * scale)) std::abort();
    }
    char f[20];
    basalon::writeF(f, 20, 5, r);
    basalon::fx0toax(r, 15, f);
  }
  return 0;
}
