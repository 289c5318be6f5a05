// The Qel array form (512 doubles and 512 characters), the covariance between its packed external
// order and the record's internal order, and field-by-field access to stored records.
// Units as in the record (km, km/s, s), except the UT1 rate, which every outside form shows in ms/day.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "Qel/QelTypes.h"

namespace qel {

// Lengths of the two arrays of the array form.
constexpr size_t kQelArrayLength = 512;
// Values of the packed lower triangle of a 9x9 covariance, and its first slot in the double array.
constexpr size_t kQelPackedCovLength = 45;
constexpr size_t kQelCovSlot = 100;

using QelDoubles = std::span<double, kQelArrayLength>;
using QelConstDoubles = std::span<const double, kQelArrayLength>;
using QelChars = std::span<char, kQelArrayLength>;
using QelConstChars = std::span<const char, kQelArrayLength>;
// A full symmetric 9x9 covariance, as the record holds it.
using QelCovMatrix = decltype(QelRecord::cov);
using QelPackedCov = std::span<double, kQelPackedCovLength>;
using QelConstPackedCov = std::span<const double, kQelPackedCovLength>;

// ---- Covariance orders ------------------------------------------------------------------------

// internal(i, j) = external(P(i), P(j)) with P = (3, 4, 7, 9, 5, 6, 1, 2, 8).
void MapMtxExt2Int(QelCovMatrix& internal, const QelCovMatrix& external);
// external(m, k) = internal(Q(m), Q(k)) with Q = (7, 8, 1, 2, 5, 6, 3, 9, 4), the inverse of P.
void MapMtxInt2Ext(QelCovMatrix& external, const QelCovMatrix& internal);
// The 45 packed external-order values to the full internal-order matrix.
void Qel1Dto2D(QelCovMatrix& internal, QelConstPackedCov packed);
// The full internal-order matrix to the 45 packed external-order values.
void Qel2Dto1D(QelPackedCov packed, const QelCovMatrix& internal);

// ---- Array form -------------------------------------------------------------------------------

// The record in the array form; both arrays are cleared first (0 and blanks). Epochs go out as
// DS50 UTC, the UT1 rate in ms/day; slots 100-144 hold the packed covariance when covDim > 0.
void Qel2Array(const QelRecord& rec, QelDoubles doubles, QelChars chars);
// A record from the array form (not validated). The whole-number slots must be finite and within
// their range (covDim 0 to 9) and both epochs finite DS50 times the calendar can split; otherwise
// one message is logged, rec is a default record with errCode 2 and the result is kResultFail.
int32_t Array2Qel(QelRecord& rec, QelConstChars chars, QelConstDoubles doubles);

// ---- Field access -----------------------------------------------------------------------------

// One field of a stored record as text, left-justified (blank for an index without a field).
// kResultFail with one message when the key is not in the store.
int32_t QelGetField(int64_t satKey, int32_t fieldIndex, std::string& value);
// One field of a stored record set from text. Fields 1 (satellite number) and 3 (epoch) are
// refused; text that is not a number for a numeric field is refused; the changed record must pass
// ValidateQelValues. The lookup, the change and the replacement are one writer step, and the store
// is unchanged by any refusal.
int32_t QelSetField(int64_t satKey, int32_t fieldIndex, std::string_view value);

// Every field QelGetField offers, at once (the export hands them out one by one).
struct QelAllFields {
  int32_t satNum = 0;
  std::array<char, 8> intlDes{};
  std::array<char, 17> epochDtg{};
  int32_t epochRev = 0;
  Vec3 eciPos{};
  Vec3 eciVel{};
  std::array<char, 6> geoModel{};
  int32_t geoZonals = 0;
  int32_t geoTesserals = 0;
  std::array<char, 12> dragModel{};
  std::array<char, 3> lunarSolar{};
  std::array<char, 3> solarRadPress{};
  std::array<char, 3> solidEarthTides{};
  std::array<char, 3> inTrackThrust{};
  double ballisticCoef = 0;
  double solarRadPressCoef = 0;
  double thrustAccel = 0;
  double cmOffset = 0;
  int32_t f10 = 0;
  int32_t avgF10 = 0;
  double avgAp = 0;
  double taiMinusUtc = 0;
  double ut1MinusUtc = 0;
  double ut1RateMsPerDay = 0;
  double polarMotionX = 0;
  double polarMotionY = 0;
  int32_t nutationTerms = 0;
  std::array<char, 17> leapSecondDtg{};
  std::array<char, 6> integratorMode{};
  std::array<char, 8> partials{};
  std::array<char, 4> stepMode{};
  std::array<char, 3> fixedStep{};
  std::array<char, 6> stepSizeSelection{};
  double initialStepSize = 0;
  double errorControl = 0;
  double wtdRms = 0;
};

// All fields of a stored record; out is cleared first (blanks and 0). kResultFail with one
// message when the key is not in the store or a date-time group cannot be formed.
int32_t QelGetAllFields(int64_t satKey, QelAllFields& out);
// The array form of a stored record; code 0, or kResultFail with one message when the key is not
// in the store (the arrays then stay cleared).
void GetSatToFields(int64_t satKey, QelDoubles doubles, QelChars chars, int32_t& code);

}  // namespace qel
