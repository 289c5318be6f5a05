// The Qel message record (one SP vector/covariance message in memory), its calendar date type,
// deep copy, release and the value checks made before a record is stored.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Siblings/Basalon/FixedText.h"

namespace qel {

// A calendar time, UTC. Default all zero.
struct InputDate {
  int32_t year = 0;  // four-digit year
  int32_t day = 0;   // day of year, 1 = 1 January
  int32_t hour = 0;
  int32_t minute = 0;
  double second = 0;  // seconds of the minute with fraction
};

using Vec3 = std::array<double, 3>;
using ManeuverLine = basalon::FixedText<512>;

constexpr int kMaxManeuverLines = 100;
constexpr int kMaxCovDim = 9;

// One Qel message. Character fields are fixed-length and blank padded. The covariance is the full
// symmetric 9x9 equinoctial matrix in the internal element order; entries beyond covDim stay 0.
struct QelRecord {
  int32_t errCode = 0;  // parser status: 0 good, 2 did not parse or failed validation
  int32_t satNum = 0;   // 1 to 999999999
  basalon::FixedText<8> intlDes;
  basalon::FixedText<25> commonName;
  InputDate epoch;       // UTC
  int32_t epochRev = 0;  // 0 to 99999
  Vec3 j2kPos{};         // km, J2000
  Vec3 j2kVel{};         // km/s, J2000
  Vec3 eciPos{};         // km, ECI
  Vec3 eciVel{};         // km/s, ECI
  Vec3 efgPos{};         // km, Earth-fixed
  Vec3 efgVel{};         // km/s, Earth-fixed
  basalon::FixedText<6> geoModel;
  int32_t geoZonals = 0;
  int32_t geoTesserals = 0;
  basalon::FixedText<12> dragModel;
  basalon::FixedText<3> lunarSolar;
  basalon::FixedText<3> solarRadPress;
  basalon::FixedText<3> solidEarthTides;
  basalon::FixedText<3> inTrackThrust;
  double ballisticCoef = 0;      // m2/kg
  double bDot = 0;               // m2/kg-s
  double solarRadPressCoef = 0;  // m2/kg
  double edr = 0;                // W/kg
  double thrustAccel = 0;        // m/s2
  double cmOffset = 0;           // m
  int32_t f10 = 0;
  int32_t avgF10 = 0;
  double avgAp = 0;
  double taiMinusUtc = 0;   // s
  double ut1MinusUtc = 0;   // s
  double ut1Rate = 0;       // s/day (text and array forms show ms/day)
  double polarMotionX = 0;  // arcsec
  double polarMotionY = 0;  // arcsec
  int32_t nutationTerms = 0;
  InputDate leapSecondTime;  // UTC
  basalon::FixedText<6> integratorMode;
  basalon::FixedText<5> coordSys;
  basalon::FixedText<8> partials;
  basalon::FixedText<4> stepMode;
  basalon::FixedText<3> fixedStep;
  basalon::FixedText<6> stepSizeSelection;
  double initialStepSize = 0;  // s
  double errorControl = 0;
  Vec3 posSigmas{};    // U, V, W, km
  Vec3 velSigmas{};    // UD, VD, WD, km/s
  int32_t covDim = 0;  // 0 = none, at most 9
  double wtdRms = 0;
  std::array<std::array<double, kMaxCovDim>, kMaxCovDim> cov{};
  // Owned maneuver card lines that followed the message; empty when absent, else 100 entries.
  std::vector<ManeuverLine> maneuverLines;
  int32_t numManeuverLines = 0;  // entries in use, 0 to 100
};

// Deep copy: dst gets its own line array with as many entries as src's. Onto itself: nothing.
void CopyQelRecord(QelRecord& dst, const QelRecord& src);
// Releases the owned maneuver lines; the record stays usable with none.
void FreeQelRecord(QelRecord& rec);
// Gives the record its array of 100 blank maneuver lines when it has none.
void AllocManeuverLines(QelRecord& rec);

// The value checks made before a record is stored: 0 when all pass, 2 when any fails. Every
// failing check logs its own message; checking never stops early.
int32_t ValidateQelValues(const QelRecord& rec);

}  // namespace qel
