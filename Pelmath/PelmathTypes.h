// Records that cross between the libraries: element arrays, derived terms and the state record.
// Element arrays hold six doubles in the fixed order of each kind (see Units.h for the units).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Planix/Planix.h"
#include "Siblings/Planix/StateRecord.h"

namespace pelmath {

using basalon::Elset;
using basalon::Mat3;
using basalon::Mat6;
using basalon::Mat9;
using basalon::Vec3;

// The one vector and matrix toolkit (header-only, inline) and the angle constants.
using basalon::added;
using basalon::cross;
using basalon::dot;
using basalon::mulMat;
using basalon::mulMatTVec;
using basalon::mulMatVec;
using basalon::norm;
using basalon::scaled;
using basalon::subtracted;
using basalon::toVec3;
using basalon::transposed;
using basalon::unitVector;

using basalon::kDegToRad;
using basalon::kHalfPi;
using basalon::kPi;
using basalon::kRadToDeg;
using basalon::kTwoPi;

// a, e, i, M, node, perigee (er and rad canonical; km and deg metric).
struct Keplerianelts {
  double a = 0, e = 0, incli = 0, meanAnomaly = 0, node = 0, perigee = 0;
};
// af, ag, chi, psi, mean longitude L, mean motion n.
struct Equinoctialelts {
  double af = 0, ag = 0, chi = 0, psi = 0, meanLong = 0, meanMotion = 0;
};
// n, e, i, M, node, perigee.
struct Classicalelts {
  double meanMotion = 0, e = 0, incli = 0, meanAnomaly = 0, node = 0, perigee = 0;
};
struct Posvelelts {
  Vec3 pos{}, vel{};
};
// Geodetic latitude, east longitude, height above the ellipsoid.
struct Latlonheight {
  double lat = 0, lon = 0, height = 0;
};
// Radial, in-track and cross-track unit vectors.
struct Uvwelts {
  Vec3 u{}, v{}, w{};
};
// Time argument, mean anomaly of the Sun (rad), obliquity of the ecliptic (rad), Earth orbit e.
struct Sundata {
  double time = 0, meanAnomaly = 0, obliquity = 0, eccentricity = 0;
};
// Time, Sun position, Sun unit vector, Sun distance, scaled Moon vector, Moon unit vector, Moon distance.
struct Sunmoondata {
  double time = 0;
  Vec3 sunPos{}, sunUnit{};
  double sunDist = 0;
  Vec3 moonVec{}, moonUnit{};
  double moonDist = 0;
};
// Trigonometric and orbit-shape terms of an element set (24 values).
struct Derivedterms {
  std::array<double, 24> v{};
};
// Values derived from a position and velocity (33 values).
struct Derivedelts {
  std::array<double, 33> v{};
};

// The state record lives beside the Earth constants it points to; Pelmath keeps the names.
using planix::BrevantaOut;
using planix::FreeBrevantaOut;

}  // namespace pelmath
