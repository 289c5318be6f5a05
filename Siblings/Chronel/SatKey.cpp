// satKey creation: satellite number, epoch and element type packed into one decimal key.
#include <cmath>

#include "Siblings/Chronel/Chronel.h"

namespace chronel {

// Key layout in decimal digits: satellite number (up to 9) | epoch field (8) | element type (1).
// The epoch field is the epoch in whole seconds of DS50 modulo 10^8 (it repeats every 3.17 years;
// the stores bump a taken key, so a repeat only costs a retry).
int64_t createsatkey(int satNum, int elsetType, double epochDs50UTC) {
  constexpr int64_t kEpochField = 100000000;
  if (satNum < 0 || satNum > 999999999 || elsetType < 1 || elsetType > 9) return -1;
  if (!std::isfinite(epochDs50UTC) || std::fabs(epochDs50UTC) > 1.0e7) return -1;
  // Round to the millisecond first so equal epochs read from text give equal keys.
  const double ms = std::round(epochDs50UTC * 86400000.0);
  int64_t seconds = static_cast<int64_t>(std::floor(ms / 1000.0));
  int64_t field = seconds % kEpochField;
  if (field < 0) field += kEpochField;
  return (static_cast<int64_t>(satNum) * kEpochField + field) * 10 + elsetType;
}

int64_t createsatkey(int satNum, int elsetType, std::string_view epochText) {
  const double epoch = dtg2ds50utc(epochText);
  if (epoch <= 0.0) return -1;
  return createsatkey(satNum, elsetType, epoch);
}

}  // namespace chronel
