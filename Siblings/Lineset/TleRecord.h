// One two-line element set as the TLE store holds it: the values of the two lines in their
// written units (degrees, rev/day, rev/day^2, rev/day^3), the element type and the lines as read.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lineset {

// Element types of a TLE (the last decimal digit of its satKey).
constexpr int32_t kEltTleSgp = 1;   // SGP element set
constexpr int32_t kEltTleSgp4 = 2;  // SGP4 element set (ephemeris type blank, 0 or 2)
constexpr int32_t kEltTleSp = 3;    // element set propagated by SP
constexpr int32_t kEltTleXp = 7;    // XP element set

constexpr int kMaxManeuvers = 100;
constexpr int kManeuverLineLen = 512;

// Field order follows the values Kymor reads; the extra fields come after them.
struct TleRecord {
  int32_t satNum = 0;
  std::string designator = std::string(8, ' ');  // columns 10-17 of line 1, 8 characters
  int32_t epochYear = 0;                         // four digits
  double epochDay = 0;                           // day of year with fraction, 1.0 = January 1 0h
  double nDotOver2 = 0;                          // rev/day^2, as written
  double nDDotOver6 = 0;                         // rev/day^3, as written (0 for SP and XP sets)
  double dragA = 0;                              // SP and XP sets: columns 45-52 (AGOM)
  double dragB = 0;                              // SGP and SGP4 sets: B* (1/er)
  int32_t elsetNum = 0;
  double incl = 0, node = 0, ecc = 0, argPerigee = 0, meanAnomaly = 0;  // degrees (ecc bare)
  double meanMotion = 0;                                                // rev/day
  int32_t revNum = 0;
  double dragC = 0;                    // SP and XP sets: columns 54-61 (ballistic coefficient term)
  double dragD = 0;                    // not carried by the two lines; 0
  std::vector<std::string> maneuvers;  // up to kMaxManeuvers lines of kManeuverLineLen characters
  int32_t numManeuvers = 0;

  int32_t eltType = kEltTleSgp4;
  char ephemType = ' ';  // column 63 of line 1 as written
  char classification = 'U';
  std::string name;   // the optional name line, trailing blanks removed
  std::string line1;  // both lines as read, without the line end
  std::string line2;
};

}  // namespace lineset
