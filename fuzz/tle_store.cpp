// Fuzz target of the TLE and SP vector store readers: the input is loaded as a text by both
// readers; whatever was stored must be listed, found, written back and read again to the same
// count, and nothing may be stored from a text the readers call bad.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Siblings/Basalon/Units.h"
#include "Siblings/Harlo/HarloStore.h"
#include "Siblings/Lineset/LinesetStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  int32_t code = 0;
  lineset::tleemptytree(code);
  harlo::harloemptytree(code);

  lineset::TleLoadCounts tc;
  lineset::readTlesFrText(text, &tc);
  if (lineset::tlegetnumoftreenodes() != tc.loaded) std::abort();
  harlo::HarloLoadCounts hc;
  harlo::readHarlosFrText(text, &hc);
  if (harlo::harlogetnumoftreenodes() != hc.loaded) std::abort();

  // Every stored set is found under its key and its lines read back.
  std::vector<int64_t> keys(static_cast<size_t>(tc.loaded) + 1);
  int32_t n = 0;
  lineset::tlegettreekeys(n, keys.data(), 0, tc.loaded);
  if (n != tc.loaded) std::abort();
  std::string all;
  for (int32_t i = 0; i < n; ++i) {
    lineset::TleRecord r;
    lineset::tlefindrec(keys[static_cast<size_t>(i)], r);
    if (r.satNum < 0) std::abort();
    all += r.line1 + "\n" + r.line2 + "\n";
  }
  lineset::tleemptytree(code);
  lineset::TleLoadCounts again;
  lineset::readTlesFrText(all, &again);
  if (again.loaded + again.duplicates != tc.loaded || again.bad != 0) std::abort();
  lineset::tleemptytree(code);
  harlo::harloemptytree(code);
  return 0;
}
