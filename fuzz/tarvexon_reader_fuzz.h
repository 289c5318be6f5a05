// What the Tarvexon reader fuzz targets share: the input written to a scratch file, its first line
// handed to one reader as the recognised line, and the record checked afterwards.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Siblings/Basalon/Units.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexfuzz {

using ReaderFn = void (*)(int32_t, std::string_view, tarvexon::TarvexRecord&, int32_t&);

inline std::string scratchPath(const char* target) {
  return "/tmp/zk_fuzz_" + std::string(target) + "_" + std::to_string(::getpid()) + ".txt";
}

// Runs reader on the input; aborts when the record breaks its rules: numPts is the point count,
// times strictly increase, the epoch is the first point's time, the code is 0 or 2.
inline int runReader(const char* target, ReaderFn reader, const uint8_t* data, size_t size) {
  static const std::string path = scratchPath(target);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  int unit = 0, status = 0;
  basalon::fileopenmt(path, basalon::kOpenRead, unit, status);
  if (status != 0) return 0;
  std::string first;
  basalon::fileReadLineCut(unit, tarvexon::kEphemLineColumns, first);
  tarvexon::TarvexRecord rec;
  int32_t code = -1;
  reader(unit, first, rec, code);
  basalon::fileClose(unit);
  if (code != 0 && code != 2) std::abort();
  if (rec.numPts != static_cast<int32_t>(rec.points.size())) std::abort();
  for (size_t k = 1; k < rec.points.size(); ++k)
    if (!(rec.points[k].ds50UTC > rec.points[k - 1].ds50UTC)) std::abort();
  if (code == 0 && rec.numPts > 0 && rec.epochDs50UTC != rec.points[0].ds50UTC) std::abort();
  return 0;
}

}  // namespace tarvexfuzz
