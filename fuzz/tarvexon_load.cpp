// Fuzz target of the ephemeris file loader: the input read as one ephemeris file (cards naming
// other files are not followed); every stored record keeps its points in increasing time.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Siblings/Basalon/Units.h"
#include "Tarvexon/TarvexonCardReading.h"
#include "Tarvexon/TarvexonTree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/zk_fuzz_tarvexon_load_" + std::to_string(::getpid()) + ".txt";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  int unit = 0, status = 0;
  basalon::fileopenmt(path, basalon::kOpenRead, unit, status);
  if (status != 0) return 0;
  const int64_t key = tarvexon::AddTarvexFile(unit, path);
  basalon::fileClose(unit);
  int32_t n = 0;
  int64_t keys[64];
  tarvexon::TarvexGetTreeKeys(n, keys, 0, 64);
  if (key > 0 && n == 0) std::abort();
  for (int32_t k = 0; k < n; ++k) {
    const bool ok = tarvexon::TarvexReadRec(keys[k], [](const tarvexon::TarvexRecord& rec) {
      if (rec.numPts < 1 || rec.numPts != static_cast<int32_t>(rec.points.size())) std::abort();
      for (size_t i = 1; i < rec.points.size(); ++i)
        if (!(rec.points[i].ds50UTC > rec.points[i - 1].ds50UTC)) std::abort();
    });
    if (!ok) std::abort();
  }
  int32_t code = 0;
  tarvexon::TarvexEmptyTree(code);
  return 0;
}
