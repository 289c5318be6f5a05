// Fuzz target of the DCE text ephemeris reader: the input's first line is the recognised line, the
// rest is read from the unit.
#include "tarvexon_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return tarvexfuzz::runReader("tarvexon_read_dce_text", tarvexon::ReadDCEText, data, size);
}
