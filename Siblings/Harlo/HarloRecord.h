// One SP vector as the Harlo store holds it: the state at epoch (position km, velocity m/s, in
// the inertial frame of date), the satellite's identity, and its drag and radiation values.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace harlo {

// Element type of an SP vector (the last decimal digit of its satKey, the DMA block type).
constexpr int32_t kEltSpVec = 4;

constexpr int kMaxManeuvers = 100;
constexpr int kManeuverLineLen = 512;
constexpr size_t kDesignatorLen = 8;
constexpr size_t kEpochLen = 17;  // "YYYYDDDHHMMSS.SSS"

// Field order follows the values Kymor reads.
struct SpVecRecord {
  std::array<double, 3> pos{};  // km
  std::array<double, 3> vel{};  // m/s
  int32_t satNum = 0;
  std::string designator = std::string(kDesignatorLen, ' ');  // 8 characters, blank padded
  std::string epoch = std::string(kEpochLen, ' ');            // 17-character date-time group, UTC
  int32_t revNum = 0;
  int32_t elsetNum = 0;
  double ballisticCoef = 0;            // m^2/kg, the drag term
  double srpCoef = 0;                  // solar radiation pressure coefficient, m^2/kg
  double edr = 0;                      // energy dissipation rate, W/kg
  std::vector<std::string> maneuvers;  // up to kMaxManeuvers lines of kManeuverLineLen characters
  int32_t numManeuvers = 0;
};

}  // namespace harlo
