// Fuzz target of the DCE binary reader: the input is the whole file, record markers and all, so
// truncated records and markers that lie about their length are explored.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Tarvexon/Readers/TarvexReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path =
      "/tmp/zk_fuzz_tarvexon_read_dce_binary_" + std::to_string(::getpid()) + ".dce";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  tarvexon::TarvexRecord rec;
  int32_t code = -1;
  tarvexon::ReadDCEBinary(path, rec, code);
  // The record keeps its rules: a known code, numPts the point count, times strictly increasing,
  // the epoch the first point's time after a good read.
  if (code != 0 && code != 2) std::abort();
  if (rec.numPts != static_cast<int32_t>(rec.points.size())) std::abort();
  for (size_t k = 1; k < rec.points.size(); ++k)
    if (!(rec.points[k].ds50UTC > rec.points[k - 1].ds50UTC)) std::abort();
  if (code == 0 && rec.numPts > 0 && rec.epochDs50UTC != rec.points[0].ds50UTC) std::abort();
  return 0;
}
