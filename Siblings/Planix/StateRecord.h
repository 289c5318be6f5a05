// The state record one satellite's state is returned in by the SGP4 library and Brevanta. It
// points to the Earth constant record in force for the state. Positions in er, velocities in
// er/kemin (canonical units); times in minutes since epoch and DS50 UTC.
#pragma once

#include <cstdint>
#include <vector>

#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Planix/Planix.h"

namespace planix {

// Owns its covariance values: copying copies them, FreeBrevantaOut releases them.
struct BrevantaOut {
  int32_t kind = 0;
  int32_t revNum = 0;
  const GeoConst* geoConst = nullptr;  // the Earth constants in force for this state
  basalon::Vec3 pos{};                 // er
  basalon::Vec3 vel{};                 // er/kemin
  double mse = 0;                      // minutes since epoch
  double ds50UTC = 0;
  double thirdTime = 0;
  basalon::Elset oscKep{};
  basalon::Elset meanKep{};
  std::vector<double> cov;
};

// Releases the covariance array and clears the constants reference.
inline void FreeBrevantaOut(BrevantaOut& out) {
  std::vector<double>().swap(out.cov);
  out.geoConst = nullptr;
}

}  // namespace planix
