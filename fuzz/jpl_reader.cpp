// Fuzz target for the JPL text reader: the input bytes are written to a file and loaded as a JPL
// ephemeris (header and coefficient records); a loaded buffer is then evaluated at its ends.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "Pelmath/JplProcessing.h"

namespace {

// The scratch file the input is written to, removed when the fuzzer exits.
struct ScratchFile {
  std::string path = "/tmp/zk_fuzz_jpl_" + std::to_string(::getpid()) + ".txt";
  ~ScratchFile() { std::remove(path.c_str()); }
};

const std::string& fuzzfile() {
  static const ScratchFile file;
  return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = fuzzfile();
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }
  pelmath::jplReset();
  pelmath::jplSetParameters(path, 0.0, 36525.0);
  if (pelmath::buildjpl() == 0) {
    double v[3], r[3];
    for (int item = 1; item <= pelmath::kJplItems; ++item) {
      pelmath::ephem_point(pelmath::jplbuf.bufStart, item, v, r);
      pelmath::ephem_point(pelmath::jplbuf.bufEnd, item, v, r);
    }
    pelmath::Vec3 moon{}, sun{}, planets[9];
    const int flags[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    double nut[2];
    pelmath::jpl_ephem(chronel::plus(pelmath::jplbuf.bufEnd, -32.184), moon, sun, flags, planets, nut);
  }
  pelmath::jplReset();
  return 0;
}
