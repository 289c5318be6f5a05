// The Qel array form, the covariance orders and field-by-field access to stored records.
#include "Qel/QelFields.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstring>
#include <limits>

#include "Qel/QelTree.h"
#include "Qel/QelWriter.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"

namespace qel {
namespace {

constexpr size_t kCovOrder = kMaxCovDim;
// Internal element k is external element kP[k]; external element m is internal element kQ[m]
// (both 0-based here).
constexpr std::array<size_t, kCovOrder> kP = {2, 3, 6, 8, 4, 5, 0, 1, 7};
constexpr std::array<size_t, kCovOrder> kQ = {6, 7, 0, 1, 4, 5, 2, 8, 3};

// The UT1 rate is held in s/day and shown in ms/day.
constexpr double kUt1RateShownPerDay = 0.001;
// DS50 times the calendar can split into a date (about 8200 years either side of 1950).
constexpr double kMaxAbsDs50 = 3.0e6;

// Double-array slots.
enum Slot : size_t {
  kSatNum = 0,
  kEpoch = 1,
  kEpochRev = 2,
  kJ2kPos = 3,
  kJ2kVel = 6,
  kEciPos = 9,
  kEciVel = 12,
  kEfgPos = 15,
  kEfgVel = 18,
  kGeoZonals = 21,
  kGeoTesserals = 22,
  kBallisticCoef = 23,
  kBDot = 24,
  kSolarRadPressCoef = 25,
  kEdr = 26,
  kThrustAccel = 27,
  kCmOffset = 28,
  kF10 = 29,
  kAvgF10 = 30,
  kAvgAp = 31,
  kTaiMinusUtc = 32,
  kUt1MinusUtc = 33,
  kUt1Rate = 34,
  kPolarMotionX = 35,
  kPolarMotionY = 36,
  kNutationTerms = 37,
  kLeapSecondTime = 38,
  kInitialStepSize = 39,
  kErrorControl = 40,
  kPosSigmas = 41,
  kVelSigmas = 44,
  kCovDim = 47,
  kWtdRms = 48,
};

// Calls fn(column, field) for every text field of the string array.
template <class Rec, class Fn>
void forEachTextSlot(Rec& rec, Fn&& fn) {
  fn(1, rec.intlDes);
  fn(34, rec.geoModel);
  fn(40, rec.dragModel);
  fn(52, rec.lunarSolar);
  fn(55, rec.solarRadPress);
  fn(58, rec.solidEarthTides);
  fn(61, rec.inTrackThrust);
  fn(64, rec.integratorMode);
  fn(70, rec.coordSys);
  fn(75, rec.partials);
  fn(83, rec.stepMode);
  fn(87, rec.fixedStep);
  fn(90, rec.stepSizeSelection);
}

// A whole-number slot of the double array and its allowed range.
struct WholeSlot {
  size_t slot;
  const char* name;
  int32_t QelRecord::*field;
  int32_t lo;
  int32_t hi;
};

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr WholeSlot kWholeSlots[] = {
    {kSatNum, "satellite number", &QelRecord::satNum, kIntMin, kIntMax},
    {kEpochRev, "epoch revolution", &QelRecord::epochRev, kIntMin, kIntMax},
    {kGeoZonals, "geopotential zonals", &QelRecord::geoZonals, kIntMin, kIntMax},
    {kGeoTesserals, "geopotential tesserals", &QelRecord::geoTesserals, kIntMin, kIntMax},
    {kF10, "F10", &QelRecord::f10, kIntMin, kIntMax},
    {kAvgF10, "average F10", &QelRecord::avgF10, kIntMin, kIntMax},
    {kNutationTerms, "nutation terms", &QelRecord::nutationTerms, kIntMin, kIntMax},
    {kCovDim, "covariance dimension", &QelRecord::covDim, 0, kMaxCovDim},
};

// A whole number truncated from a slot; false when it is not finite or outside [lo, hi].
bool wholeNumber(double v, int32_t lo, int32_t hi, int32_t& out) {
  if (!std::isfinite(v)) return false;
  const double t = std::trunc(v);
  if (t < static_cast<double>(lo) || t > static_cast<double>(hi)) return false;
  out = static_cast<int32_t>(t);
  return true;
}

bool splittableDs50(double ds50) { return std::isfinite(ds50) && std::fabs(ds50) <= kMaxAbsDs50; }

InputDate dateOfDs50(double ds50) {
  InputDate d;
  chronel::dyklok(ds50, d.year, d.day, d.hour, d.minute, d.second);
  return d;
}

void put3(QelDoubles d, size_t slot, const Vec3& v) { std::copy(v.begin(), v.end(), d.begin() + slot); }
Vec3 take3(QelConstDoubles d, size_t slot) { return {d[slot], d[slot + 1], d[slot + 2]}; }

// Leaves the read side a borrow entered (standard keys only).
void endBorrow(int64_t satKey) {
  if (!basalon::isdma(satKey)) QelEndRead();
}

int32_t notInStore(const char* routine, int64_t satKey) {
  return basalon::failf("%s: Unable to locate satKey %19" PRId64 " in the QEL binary tree.", routine, satKey);
}

// ---- One field as text ------------------------------------------------------------------------

std::string intText(int w, int64_t v) { return basalon::formatI(v, w); }
std::string realText(double v) { return basalon::formatF(v, 35, 15); }
template <size_t N>
std::string fieldText(const basalon::FixedText<N>& t) {
  return std::string(t.view());
}
std::string dtgText(const InputDate& d) {
  std::array<char, kQelDtgWidth> dtg;
  if (!writeDtg17(d, dtg)) return std::string(kQelDtgWidth, '*');
  return std::string(dtg.data(), dtg.size());
}
// Free numeric form: the shortest text that reads back to the same double.
std::string freeText(double v) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

std::string formatField(const QelRecord& rec, int32_t index) {
  switch (index) {
    case 1:
      return intText(9, rec.satNum);
    case 2:
      return fieldText(rec.intlDes);
    case 3:
      return dtgText(rec.epoch);
    case 4:
      return intText(5, rec.epochRev);
    case 5:
    case 6:
    case 7:
      return realText(rec.eciPos[static_cast<size_t>(index - 5)]);
    case 8:
    case 9:
    case 10:
      return realText(rec.eciVel[static_cast<size_t>(index - 8)]);
    case 11:
      return fieldText(rec.geoModel);
    case 12:
      return intText(2, rec.geoZonals);
    case 13:
      return intText(2, rec.geoTesserals);
    case 14:
      return fieldText(rec.dragModel);
    case 15:
      return fieldText(rec.lunarSolar);
    case 16:
      return fieldText(rec.solarRadPress);
    case 17:
      return fieldText(rec.solidEarthTides);
    case 18:
      return fieldText(rec.inTrackThrust);
    case 19:
      return realText(rec.ballisticCoef);
    case 20:
      return realText(rec.solarRadPressCoef);
    case 21:
      return realText(rec.thrustAccel);
    case 22:
      return realText(rec.cmOffset);
    case 23:
      return intText(3, rec.f10);
    case 24:
      return intText(3, rec.avgF10);
    case 25:
      return realText(rec.avgAp);
    case 26:
      return realText(rec.taiMinusUtc);
    case 27:
      return realText(rec.ut1MinusUtc);
    case 28:
      return realText(rec.ut1Rate / kUt1RateShownPerDay);
    case 29:
      return realText(rec.polarMotionX);
    case 30:
      return realText(rec.polarMotionY);
    case 31:
      return intText(3, rec.nutationTerms);
    case 32:
      return dtgText(rec.leapSecondTime);
    case 33:
      return fieldText(rec.integratorMode);
    case 34:
      return fieldText(rec.partials);
    case 35:
      return fieldText(rec.stepMode);
    case 36:
      return fieldText(rec.fixedStep);
    case 37:
      return fieldText(rec.stepSizeSelection);
    case 38:
      return realText(rec.initialStepSize);
    case 39:
      return basalon::formatE(rec.errorControl, 10, 3);
    case 40:
      return realText(rec.wtdRms);
    case 41:
      return freeText(rec.bDot);
    case 42:
      return freeText(rec.edr);
    default:
      return {};
  }
}

// ---- One field from text ----------------------------------------------------------------------

// Text fields take the first characters of the value.
template <size_t N>
int32_t setText(basalon::FixedText<N>& field, std::string_view text) {
  field.set(text.substr(0, std::min(text.size(), N)));
  return basalon::kResultOk;
}

int32_t notANumber(int32_t index, std::string_view text) {
  return basalon::failf("QelSetField: Value of field %d is not a number: '%.*s'", index,
                        static_cast<int>(std::min<size_t>(text.size(), 40)), text.data());
}

int32_t setInt(int32_t& field, int32_t index, std::string_view text) {
  int32_t v = 0;
  if (!basalon::strtoint(text, v)) return notANumber(index, text);
  field = v;
  return basalon::kResultOk;
}

int32_t setReal(double& field, int32_t index, std::string_view text, double scale = 1.0) {
  double v = 0;
  if (!basalon::strtoreal(text, v)) return notANumber(index, text);
  field = v * scale;
  return basalon::kResultOk;
}

// The leap second time from "YYYYDDDHHMMSS.SSS": year (4), day of year (3), hour (2), minute (2),
// seconds (6 columns).
int32_t setLeapTime(InputDate& field, std::string_view text) {
  int32_t year = 0, day = 0, hour = 0, minute = 0;
  double seconds = 0;
  const std::string_view dtg = text.substr(0, std::min<size_t>(text.size(), kQelDtgWidth));
  // Every part must be given: a blank part is a text cut short, not a zero.
  bool blank[5] = {};
  const bool read = basalon::readIntField(dtg, 1, 4, year, &blank[0]) == basalon::kFieldOk &&
                    basalon::readIntField(dtg, 5, 3, day, &blank[1]) == basalon::kFieldOk &&
                    basalon::readIntField(dtg, 8, 2, hour, &blank[2]) == basalon::kFieldOk &&
                    basalon::readIntField(dtg, 10, 2, minute, &blank[3]) == basalon::kFieldOk &&
                    basalon::readRealField(dtg, 12, 6, seconds, &blank[4]) == basalon::kFieldOk &&
                    std::none_of(std::begin(blank), std::end(blank), [](bool b) { return b; });
  // A time the writers could not show is no leap second time either.
  InputDate d{year, day, hour, minute, seconds};
  ShownDate shown;
  if (!read || !showDate(d, shown)) return basalon::fail("QelSetField: Parsing leap time failed");
  field = d;
  return basalon::kResultOk;
}

// Stores the left-justified text into field `index` of rec; kResultFail (one message) when the
// text does not read. Indices without a field change nothing.
int32_t setField(QelRecord& rec, int32_t index, std::string_view text) {
  switch (index) {
    case 2:
      return setText(rec.intlDes, text);
    case 4:
      return setInt(rec.epochRev, index, text);
    case 5:
    case 6:
    case 7:
      return setReal(rec.eciPos[static_cast<size_t>(index - 5)], index, text);
    case 8:
    case 9:
    case 10:
      return setReal(rec.eciVel[static_cast<size_t>(index - 8)], index, text);
    case 11:
      return setText(rec.geoModel, text);
    case 12:
      return setInt(rec.geoZonals, index, text);
    case 13:
      return setInt(rec.geoTesserals, index, text);
    case 14:
      return setText(rec.dragModel, text);
    case 15:
      return setText(rec.lunarSolar, text);
    case 16:
      return setText(rec.solarRadPress, text);
    case 17:
      return setText(rec.solidEarthTides, text);
    case 18:
      return setText(rec.inTrackThrust, text);
    case 19:
      return setReal(rec.ballisticCoef, index, text);
    case 20:
      return setReal(rec.solarRadPressCoef, index, text);
    case 21:
      return setReal(rec.thrustAccel, index, text);
    case 22:
      return setReal(rec.cmOffset, index, text);
    case 23:
      return setInt(rec.f10, index, text);
    case 24:
      return setInt(rec.avgF10, index, text);
    case 25:
      return setReal(rec.avgAp, index, text);
    case 26:
      return setReal(rec.taiMinusUtc, index, text);
    case 27:
      return setReal(rec.ut1MinusUtc, index, text);
    case 28:
      return setReal(rec.ut1Rate, index, text, kUt1RateShownPerDay);
    case 29:
      return setReal(rec.polarMotionX, index, text);
    case 30:
      return setReal(rec.polarMotionY, index, text);
    case 31:
      return setInt(rec.nutationTerms, index, text);
    case 32:
      return setLeapTime(rec.leapSecondTime, text);
    case 33:
      return setText(rec.integratorMode, text);
    case 34:
      return setText(rec.partials, text);
    case 35:
      return setText(rec.stepMode, text);
    case 36:
      return setText(rec.fixedStep, text);
    case 37:
      return setText(rec.stepSizeSelection, text);
    case 38:
      return setReal(rec.initialStepSize, index, text);
    case 39:
      return setReal(rec.errorControl, index, text);
    case 40:
      return setReal(rec.wtdRms, index, text);
    case 41:
      return setReal(rec.bDot, index, text);
    case 42:
      return setReal(rec.edr, index, text);
    default:
      return basalon::kResultOk;
  }
}

std::string_view leftJustified(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\0')) ++i;
  return text.substr(i);
}

template <size_t N>
void copyText(std::array<char, N>& out, const basalon::FixedText<N>& field) {
  out = field.c;
}

}  // namespace

// ---- Covariance orders ------------------------------------------------------------------------

void MapMtxExt2Int(QelCovMatrix& internal, const QelCovMatrix& external) {
  const QelCovMatrix ext = external;  // the two may be the same matrix
  internal = QelCovMatrix{};
  for (size_t i = 0; i < kCovOrder; ++i)
    for (size_t j = 0; j < kCovOrder; ++j) internal[i][j] = ext[kP[i]][kP[j]];
}

void MapMtxInt2Ext(QelCovMatrix& external, const QelCovMatrix& internal) {
  const QelCovMatrix in = internal;
  external = QelCovMatrix{};
  for (size_t m = 0; m < kCovOrder; ++m)
    for (size_t k = 0; k < kCovOrder; ++k) external[m][k] = in[kQ[m]][kQ[k]];
}

void Qel1Dto2D(QelCovMatrix& internal, QelConstPackedCov packed) {
  basalon::Mat9 square;
  basalon::lta2sqrmtx(packed.data(), static_cast<int>(kCovOrder), square.data());
  QelCovMatrix external;
  for (size_t i = 0; i < kCovOrder; ++i)
    for (size_t j = 0; j < kCovOrder; ++j) external[i][j] = square[i * kCovOrder + j];
  MapMtxExt2Int(internal, external);
}

void Qel2Dto1D(QelPackedCov packed, const QelCovMatrix& internal) {
  QelCovMatrix external;
  MapMtxInt2Ext(external, internal);
  basalon::Mat9 square;
  for (size_t i = 0; i < kCovOrder; ++i)
    for (size_t j = 0; j < kCovOrder; ++j) square[i * kCovOrder + j] = external[i][j];
  basalon::sqrmtx2lta(square.data(), static_cast<int>(kCovOrder), packed.data());
}

// ---- Array form -------------------------------------------------------------------------------

void Qel2Array(const QelRecord& rec, QelDoubles d, QelChars s) {
  std::fill(d.begin(), d.end(), 0.0);
  std::fill(s.begin(), s.end(), ' ');
  for (const WholeSlot& w : kWholeSlots) d[w.slot] = rec.*(w.field);
  d[kEpoch] = InputDateToDs50(rec.epoch);
  put3(d, kJ2kPos, rec.j2kPos);
  put3(d, kJ2kVel, rec.j2kVel);
  put3(d, kEciPos, rec.eciPos);
  put3(d, kEciVel, rec.eciVel);
  put3(d, kEfgPos, rec.efgPos);
  put3(d, kEfgVel, rec.efgVel);
  d[kBallisticCoef] = rec.ballisticCoef;
  d[kBDot] = rec.bDot;
  d[kSolarRadPressCoef] = rec.solarRadPressCoef;
  d[kEdr] = rec.edr;
  d[kThrustAccel] = rec.thrustAccel;
  d[kCmOffset] = rec.cmOffset;
  d[kAvgAp] = rec.avgAp;
  d[kTaiMinusUtc] = rec.taiMinusUtc;
  d[kUt1MinusUtc] = rec.ut1MinusUtc;
  d[kUt1Rate] = rec.ut1Rate / kUt1RateShownPerDay;
  d[kPolarMotionX] = rec.polarMotionX;
  d[kPolarMotionY] = rec.polarMotionY;
  d[kLeapSecondTime] = InputDateToDs50(rec.leapSecondTime);
  d[kInitialStepSize] = rec.initialStepSize;
  d[kErrorControl] = rec.errorControl;
  put3(d, kPosSigmas, rec.posSigmas);
  put3(d, kVelSigmas, rec.velSigmas);
  d[kWtdRms] = rec.wtdRms;
  // The record holds a full 9x9 matrix whatever covDim says, so packing never leaves it.
  if (rec.covDim > 0) Qel2Dto1D(d.subspan<kQelCovSlot, kQelPackedCovLength>(), rec.cov);
  forEachTextSlot(rec, [&](size_t column, const auto& field) {
    std::copy(field.c.begin(), field.c.end(), s.begin() + (column - 1));
  });
}

int32_t Array2Qel(QelRecord& rec, QelConstChars s, QelConstDoubles d) {
  FreeQelRecord(rec);
  rec = QelRecord{};
  auto refuse = [&rec](int32_t code) {
    rec = QelRecord{};
    rec.errCode = basalon::kResultFail;
    return code;
  };
  for (const WholeSlot& w : kWholeSlots) {
    int32_t v = 0;
    if (!wholeNumber(d[w.slot], w.lo, w.hi, v)) {
      return refuse(basalon::failf("Array2Qel: Invalid %s = %.17g in slot %zu (valid whole numbers %d to %d)",
                                   w.name, d[w.slot], w.slot, w.lo, w.hi));
    }
    rec.*(w.field) = v;
  }
  if (!splittableDs50(d[kEpoch])) {
    return refuse(basalon::failf("Array2Qel: Invalid epoch (DS50 UTC) = %.17g", d[kEpoch]));
  }
  if (!splittableDs50(d[kLeapSecondTime])) {
    return refuse(
        basalon::failf("Array2Qel: Invalid leap second time (DS50 UTC) = %.17g", d[kLeapSecondTime]));
  }
  rec.epoch = dateOfDs50(d[kEpoch]);
  rec.leapSecondTime = dateOfDs50(d[kLeapSecondTime]);
  rec.j2kPos = take3(d, kJ2kPos);
  rec.j2kVel = take3(d, kJ2kVel);
  rec.eciPos = take3(d, kEciPos);
  rec.eciVel = take3(d, kEciVel);
  rec.efgPos = take3(d, kEfgPos);
  rec.efgVel = take3(d, kEfgVel);
  rec.ballisticCoef = d[kBallisticCoef];
  rec.bDot = d[kBDot];
  rec.solarRadPressCoef = d[kSolarRadPressCoef];
  rec.edr = d[kEdr];
  rec.thrustAccel = d[kThrustAccel];
  rec.cmOffset = d[kCmOffset];
  rec.avgAp = d[kAvgAp];
  rec.taiMinusUtc = d[kTaiMinusUtc];
  rec.ut1MinusUtc = d[kUt1MinusUtc];
  rec.ut1Rate = d[kUt1Rate] * kUt1RateShownPerDay;
  rec.polarMotionX = d[kPolarMotionX];
  rec.polarMotionY = d[kPolarMotionY];
  rec.initialStepSize = d[kInitialStepSize];
  rec.errorControl = d[kErrorControl];
  rec.posSigmas = take3(d, kPosSigmas);
  rec.velSigmas = take3(d, kVelSigmas);
  rec.wtdRms = d[kWtdRms];
  if (rec.covDim > 0) {
    // Only the n(n+1)/2 values of the leading block are taken, so entries beyond n stay 0.
    std::array<double, kQelPackedCovLength> packed{};
    const size_t count = static_cast<size_t>(rec.covDim * (rec.covDim + 1) / 2);
    std::copy_n(d.begin() + kQelCovSlot, count, packed.begin());
    Qel1Dto2D(rec.cov, packed);
  }
  forEachTextSlot(rec, [&](size_t column, auto& field) {
    std::copy_n(s.begin() + (column - 1), field.c.size(), field.c.begin());
  });
  return basalon::kResultOk;
}

// ---- Field access -----------------------------------------------------------------------------

int32_t QelGetField(int64_t satKey, int32_t fieldIndex, std::string& value) {
  value.clear();
  QelRecord* rec = nullptr;
  QelFindRecPtr(satKey, rec);
  if (rec == nullptr) {
    endBorrow(satKey);
    return notInStore("QelGetField", satKey);
  }
  const std::string text = formatField(*rec, fieldIndex);
  endBorrow(satKey);
  value = leftJustified(text);
  return basalon::kResultOk;
}

int32_t QelSetField(int64_t satKey, int32_t fieldIndex, std::string_view value) {
  if (fieldIndex == 1) return basalon::fail("QelSetField: Update to satellite's number is not allowed");
  if (fieldIndex == 3) return basalon::fail("QelSetField: Update to satellite's epoch is not allowed");
  const std::string_view text = leftJustified(value);
  int32_t code = basalon::kResultOk;
  const bool found = QelModifyRec(
      satKey,
      [&](QelRecord& rec) {
        const int32_t set = setField(rec, fieldIndex, text);
        return set != basalon::kResultOk ? set : ValidateQelValues(rec);
      },
      code);
  if (!found) return notInStore("QelSetField", satKey);
  return code;
}

int32_t QelGetAllFields(int64_t satKey, QelAllFields& out) {
  out = QelAllFields{};
  auto blank = [](auto& a) { a.fill(' '); };
  blank(out.intlDes), blank(out.epochDtg), blank(out.geoModel), blank(out.dragModel);
  blank(out.lunarSolar), blank(out.solarRadPress), blank(out.solidEarthTides), blank(out.inTrackThrust);
  blank(out.leapSecondDtg), blank(out.integratorMode), blank(out.partials), blank(out.stepMode);
  blank(out.fixedStep), blank(out.stepSizeSelection);
  const QelAllFields cleared = out;

  QelRecord* found = nullptr;
  QelFindRecPtr(satKey, found);
  if (found == nullptr) {
    endBorrow(satKey);
    return notInStore("QelGetAllFields", satKey);
  }
  const QelRecord& rec = *found;
  const bool dtgs = writeDtg17(rec.epoch, out.epochDtg) && writeDtg17(rec.leapSecondTime, out.leapSecondDtg);
  if (!dtgs) {
    endBorrow(satKey);
    out = cleared;
    return basalon::fail("QelGetAllFields: Failed to create DTG");
  }
  out.satNum = rec.satNum;
  copyText(out.intlDes, rec.intlDes);
  out.epochRev = rec.epochRev;
  out.eciPos = rec.eciPos;
  out.eciVel = rec.eciVel;
  copyText(out.geoModel, rec.geoModel);
  out.geoZonals = rec.geoZonals;
  out.geoTesserals = rec.geoTesserals;
  copyText(out.dragModel, rec.dragModel);
  copyText(out.lunarSolar, rec.lunarSolar);
  copyText(out.solarRadPress, rec.solarRadPress);
  copyText(out.solidEarthTides, rec.solidEarthTides);
  copyText(out.inTrackThrust, rec.inTrackThrust);
  out.ballisticCoef = rec.ballisticCoef;
  out.solarRadPressCoef = rec.solarRadPressCoef;
  out.thrustAccel = rec.thrustAccel;
  out.cmOffset = rec.cmOffset;
  out.f10 = rec.f10;
  out.avgF10 = rec.avgF10;
  out.avgAp = rec.avgAp;
  out.taiMinusUtc = rec.taiMinusUtc;
  out.ut1MinusUtc = rec.ut1MinusUtc;
  out.ut1RateMsPerDay = rec.ut1Rate / kUt1RateShownPerDay;
  out.polarMotionX = rec.polarMotionX;
  out.polarMotionY = rec.polarMotionY;
  out.nutationTerms = rec.nutationTerms;
  copyText(out.integratorMode, rec.integratorMode);
  copyText(out.partials, rec.partials);
  copyText(out.stepMode, rec.stepMode);
  copyText(out.fixedStep, rec.fixedStep);
  copyText(out.stepSizeSelection, rec.stepSizeSelection);
  out.initialStepSize = rec.initialStepSize;
  out.errorControl = rec.errorControl;
  out.wtdRms = rec.wtdRms;
  endBorrow(satKey);
  return basalon::kResultOk;
}

void GetSatToFields(int64_t satKey, QelDoubles doubles, QelChars chars, int32_t& code) {
  code = basalon::kResultOk;
  std::fill(doubles.begin(), doubles.end(), 0.0);
  std::fill(chars.begin(), chars.end(), ' ');
  QelRecord* rec = nullptr;
  QelFindRecPtr(satKey, rec);
  if (rec != nullptr) Qel2Array(*rec, doubles, chars);
  endBorrow(satKey);
  if (rec == nullptr) code = notInStore("GetSatToFields", satKey);
}

}  // namespace qel
