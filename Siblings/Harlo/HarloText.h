// The text form of an SP vector: four fixed-column lines, then its maneuver lines.
//
//   columns  1-7   "SPVEC1 "
//            8-16  satellite number (I9)     18-25 designator (8 characters)
//           27-43  epoch "YYYYDDDHHMMSS.SSS" (UTC)
//           45-54  revolution number (I10)   56-65 element set number (I10)
//   columns  1-7   "SPVEC2 ", then position x, y, z (km), E25.17 each in 8-32, 33-57, 58-82
//   columns  1-7   "SPVEC3 ", then velocity x, y, z (m/s), the same columns
//   columns  1-7   "SPVEC4 ", then ballistic coefficient (m^2/kg), solar radiation pressure
//                  coefficient (m^2/kg) and energy dissipation rate (W/kg), the same columns
//   then the maneuver lines, each as stored (trailing blanks dropped).
// Seventeen significant digits give every double back exactly; a value written this way must
// be zero or have a magnitude within [1e-98, 1e98) (the two-digit exponent of Ew.d).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Siblings/Harlo/HarloRecord.h"

namespace harlo {

constexpr std::string_view kTag1 = "SPVEC1 ";
constexpr std::string_view kTag2 = "SPVEC2 ";
constexpr std::string_view kTag3 = "SPVEC3 ";
constexpr std::string_view kTag4 = "SPVEC4 ";
constexpr int kVectorLines = 4;

// The four lines of a record (maneuver lines not included); false when a value cannot be
// written (the lines are then empty).
bool harloToLines(const SpVecRecord& rec, std::vector<std::string>& lines);
// Reads the four lines; 0 and rec filled, or 2 with message saying what is wrong.
int harloFromLines(const std::vector<std::string_view>& lines, SpVecRecord& rec, std::string& message);
// True when a value can be written in the text form.
bool harloWritable(double v);

}  // namespace harlo
