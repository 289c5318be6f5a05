// Glue between a host's exported arguments and library code that every library's exports share:
// arrays by address to value types and back, and the policies for null and non-finite arguments.
// A null required pointer or a NaN/infinite input gets the failure code and one trace-log line
// naming the export, never a crash; text buffers go through FixedText.h (hostText, strtochararr).
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/ValueTypes.h"

namespace basalon {

template <size_t N>
std::array<double, N> fromHost(const double* p) {
  std::array<double, N> v;
  for (size_t k = 0; k < N; ++k) v[k] = p[k];
  return v;
}
template <size_t N>
void toHost(const std::array<double, N>& v, double* out) {
  for (size_t k = 0; k < N; ++k) out[k] = v[k];
}
inline Vec3 fromHost3(const double* p) { return fromHost<3>(p); }
inline void toHost3(const Vec3& v, double* out) { toHost<3>(v, out); }

// True when no pointer is null; otherwise logs "<exportName>: null argument" and gives false.
template <class... P>
bool nonNull(const char* exportName, const P*... ptrs) {
  if (((ptrs != nullptr) && ...)) return true;
  logErrorf("%s: null argument", exportName);
  return false;
}

// True when every value is finite; otherwise logs "<exportName>: input is NaN or infinite".
inline bool allFinite(const char* exportName, std::initializer_list<double> values) {
  for (const double v : values)
    if (!std::isfinite(v)) {
      logErrorf("%s: input is NaN or infinite", exportName);
      return false;
    }
  return true;
}
// The same over an array of n values.
inline bool allFinite(const char* exportName, const double* values, size_t n) {
  for (size_t k = 0; k < n; ++k)
    if (!std::isfinite(values[k])) {
      logErrorf("%s: input is NaN or infinite", exportName);
      return false;
    }
  return true;
}

}  // namespace basalon
