// Sample element sets of every store for the Kymor tests: TLE lines of a chosen ephemeris type,
// and states built from Keplerian elements by an independent two-body computation.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "Siblings/Basalon/ValueTypes.h"
#include "Qel/QelTree.h"
#include "Siblings/Harlo/HarloStore.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "Tarvexon/TarvexonTree.h"

namespace kymortest {

using basalon::kPi;
constexpr double kDeg = basalon::kDegToRad;

// ISS (ZARYA) of the shared catalogue.
inline const char* kIssLine1 = "1 25544U 98067A   26078.12958500  .00009105  00000+0  17698-3 0  9991";
inline const char* kIssLine2 = "2 25544  51.6344  25.6919 0006229 207.4819 152.5840 15.48370465557798";

// A TLE line with its column-69 checksum made good again.
inline std::string withChecksum(std::string line) {
  int sum = 0;
  for (size_t i = 0; i < 68; ++i) {
    if (line[i] >= '0' && line[i] <= '9') sum += line[i] - '0';
    if (line[i] == '-') sum += 1;
  }
  line[68] = static_cast<char>('0' + sum % 10);
  return line;
}

// Line 1 with column 63 (ephemeris type) set.
inline std::string withEphemType(std::string line1, char type) {
  line1[62] = type;
  return withChecksum(line1);
}

inline int64_t addTle(const std::string& line1, const std::string& line2) {
  return lineset::tleAddSatFrLines("", line1, line2);
}

// Keplerian elements in km and degrees.
struct Kep {
  double a, e, i, node, argp, m;
};

// Two-body state (km, km/s) of Keplerian elements with mu (km^3/s^2): Kepler's equation by
// Newton's method, then the perifocal state turned by the three angles.
inline void stateOf(const Kep& k, double mu, double pos[3], double vel[3]) {
  const double m = k.m * kDeg;
  double ea = m;
  for (int it = 0; it < 50; ++it) ea -= (ea - k.e * std::sin(ea) - m) / (1.0 - k.e * std::cos(ea));
  const double b = k.a * std::sqrt(1.0 - k.e * k.e);
  const double r = k.a * (1.0 - k.e * std::cos(ea));
  const double px = k.a * (std::cos(ea) - k.e), py = b * std::sin(ea);
  const double eaDot = std::sqrt(mu / (k.a * k.a * k.a)) * k.a / r;
  const double vx = -k.a * std::sin(ea) * eaDot, vy = b * std::cos(ea) * eaDot;
  const double cO = std::cos(k.node * kDeg), sO = std::sin(k.node * kDeg);
  const double cw = std::cos(k.argp * kDeg), sw = std::sin(k.argp * kDeg);
  const double ci = std::cos(k.i * kDeg), si = std::sin(k.i * kDeg);
  const double p[3] = {cO * cw - sO * sw * ci, sO * cw + cO * sw * ci, sw * si};
  const double q[3] = {-cO * sw - sO * cw * ci, -sO * sw + cO * cw * ci, cw * si};
  for (int j = 0; j < 3; ++j) {
    pos[j] = px * p[j] + py * q[j];
    vel[j] = vx * p[j] + vy * q[j];
  }
}

// Empties every store the common data read, and restores the key and duplicate modes.
inline void emptyStores() {
  int32_t code = 0;
  lineset::tleemptytree(code);
  harlo::harloemptytree(code);
  qel::QelEmptyTree(code);
  tarvexon::TarvexEmptyTree(code);
  basalon::elsetkeymodeset(0);
  basalon::dupKeyModeSet(0);
}

// A new external ephemeris of coordinate code coordArg with one point per time of ts.
template <class PointFn>
int64_t addTarvex(int32_t satNum, int32_t coordArg, int numPts, PointFn&& pointAt) {
  const int64_t key = tarvexon::CreateNewSatEntry(satNum, 27000.0, 6378.135, 0.07436691613317342, coordArg);
  if (key <= 0) return key;
  int32_t code = 0;
  tarvexon::TarvexEditRec(
      key,
      [&](tarvexon::TarvexRecord& r) {
        for (int k = 0; k < numPts; ++k) tarvexon::AddOneEPPoint(pointAt(k), r);
        return 0;
      },
      code);
  return key;
}

}  // namespace kymortest
