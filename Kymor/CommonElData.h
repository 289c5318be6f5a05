// Common element data of any loaded satellite: the element and propagator types of a satKey, one
// record of mean orbital data whatever store holds the satellite, and the satellite-number search.
// Angles in degrees, lengths in km, mean motion in rev/day, periods in minutes, epochs DS50.
#pragma once

#include <cstdint>
#include <string_view>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Planix/Planix.h"

namespace kymor {

// Element types (the last decimal digit of a standard satKey, the elsetType of a DMA block).
constexpr int32_t kEltTypeTleSgp = 1;   // TLE store, SGP element set ("ELTTYPE_TLE_SGP")
constexpr int32_t kEltTypeTleSgp4 = 2;  // TLE store, SGP4 element set
constexpr int32_t kEltTypeTleSp = 3;    // TLE store, element set propagated by SP
constexpr int32_t kEltTypeSpVec = 4;    // Harlo store
constexpr int32_t kEltTypeQel = 5;      // Qel store
constexpr int32_t kEltTypeTarvex = 6;   // Tarvexon store
constexpr int32_t kEltTypeTleXp = 7;    // TLE store, XP element set ("ELTTYPE_TLE_XP")

// Propagator types.
constexpr int32_t kPropTypeSgp4 = 1;      // SGP4 family
constexpr int32_t kPropTypeSp = 2;        // SP
constexpr int32_t kPropTypeExtEphem = 3;  // external ephemeris interpolation
constexpr int32_t kPropTypeNone = 4;

// Satellite categories of GetSatCat.
constexpr int32_t kSatCatGeo = 1;         // period 1200 to 1800 min
constexpr int32_t kSatCatDeepSpace = 2;   // other periods of 225 min or more
constexpr int32_t kSatCatLowPerigee = 3;  // near Earth, perigee under 575 km
constexpr int32_t kSatCatNearEarth = 4;   // near Earth, perigee 575 km or higher

// The common record, fields in their fixed order. A new record is all 0 with a blank designator,
// eltType 1 and satCategory 4.
struct CommonSatData {
  int32_t errCode = 0;  // 0 filled, 2 not found
  int32_t satNum = 0;
  basalon::FixedText<8> designator;
  int32_t elsetNum = 0;
  int32_t eltType = kEltTypeTleSgp;
  int32_t revNum = 0;
  double epochDs50UTC = 0;
  double epochDs50TAI = 0;
  double meanAnomaly = 0;  // deg
  double node = 0;         // deg
  double argPerigee = 0;   // deg
  double period = 0;       // min
  double ecc = 0;
  double incl = 0;        // deg
  double meanMotion = 0;  // rev/day
  double dragTerm = 0;
  double perigeeHeight = 0;  // km above the ellipsoid at the latitude of perigee
  double apogeeHeight = 0;   // km
  double perigeeRadius = 0;  // km
  double apogeeRadius = 0;   // km
  double semiMajorAxis = 0;  // km
  double extra1 = 0;
  double extra2 = 0;
  double extra3 = 0;
  double nDot = 0;         // rad/min^2
  double n2Dot = 0;        // rad/min^3
  int32_t noElements = 0;  // 1: the element fields carry no orbit (left 0)
  double extra4 = 0;
  int32_t satCategory = kSatCatNearEarth;
  const planix::GeoConst* earthConsts = nullptr;  // constants that go with the element set
};

// Optional outputs of GetElDataOptionals, one per field of CommonSatData; null ones are skipped.
// designator receives 8 blank-padded characters.
struct ElDataOutputs {
  int32_t* satNum = nullptr;
  char* designator = nullptr;
  int32_t* elsetNum = nullptr;
  int32_t* eltType = nullptr;
  int32_t* revNum = nullptr;
  double* epochDs50UTC = nullptr;
  double* epochDs50TAI = nullptr;
  double* meanAnomaly = nullptr;
  double* node = nullptr;
  double* argPerigee = nullptr;
  double* period = nullptr;
  double* ecc = nullptr;
  double* incl = nullptr;
  double* meanMotion = nullptr;
  double* dragTerm = nullptr;
  double* perigeeHeight = nullptr;
  double* apogeeHeight = nullptr;
  double* perigeeRadius = nullptr;
  double* apogeeRadius = nullptr;
  double* semiMajorAxis = nullptr;
  double* extra1 = nullptr;
  double* extra2 = nullptr;
  double* extra3 = nullptr;
  double* nDot = nullptr;
  double* n2Dot = nullptr;
  int32_t* noElements = nullptr;
  double* extra4 = nullptr;
  int32_t* satCategory = nullptr;
};

// Field indexes of GetElDataField.
enum class ElDataField : int32_t {
  kEpochDs50UTC = 1,
  kMeanAnomaly = 2,
  kNode = 3,
  kArgPerigee = 4,
  kPeriod = 5,
  kEcc = 6,
  kIncl = 7,
  kMeanMotion = 8,
  kDragTerm = 9,
  kPerigeeHeight = 10,
  kApogeeHeight = 11,
  kPerigeeRadius = 12,
  kApogeeRadius = 13,
  kSemiMajorAxis = 14,
  kSatCategory = 15,
  kEccTimesTenAtLeastTwo = 16,
  kExtra1 = 17,
};

// Element type of a key: a standard key's remainder by 10 (sign kept); a DMA key's block type when
// the block is live, else 0. A DMA key is resolved through the support library's registry only.
int32_t GetOrbEltType(int64_t satKey);
// Propagator type of a key (4 for an invalid DMA block or an unknown element type).
int32_t GetPropType(int64_t satKey);
// Propagator type of an element type.
int32_t PropTypeOfEltType(int32_t eltType);

// Fills rec from the store of the key's element type; on failure errCode 2, one logged line and
// every other field as in a new record.
void GetCommElData(CommonSatData& rec, int64_t satKey);
// The reduced fill of SGP and XP element sets (types 1 and 7 only), heights without flattening.
void GetCommElDataSGP(CommonSatData& rec, int64_t satKey);

// Satellite number of a key's record; -1 when not found or the type is not 1 to 7 (no message).
int32_t GetSatNum(int64_t satKey);
// First key with that satellite number in the TLE, Harlo, Qel then Tarvexon store; -1 when none
// (one logged line) or at once for 0.
int64_t SatNum2SatKey(int32_t satNum);
// 1 when the key's record exists in its store; else 0 with one logged line.
int32_t KymorFindKey(int64_t satKey);

// One field of the common data as a double (index: ElDataField); errCode is GetCommElData's.
// value is left unchanged on failure or for an unknown index.
void GetElDataField(int64_t satKey, int32_t index, double& value, int32_t& errCode);
// GetCommElData, then every output given receives its field when errCode is 0.
void GetElDataOptionals(int64_t satKey, int32_t& errCode, const ElDataOutputs& out);

// Constant record of a 6-character model name: "EGM-96", "WGS-72", "WGS-84", else the current set.
const planix::GeoConst& GetGeoConst(std::string_view name);
// Category of an orbit from its period (min) and perigee height (km).
int32_t GetSatCat(double period, double perigeeHeight);

}  // namespace kymor
