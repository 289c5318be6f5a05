// Flat exports of the Tarvexon library: host buffers to and from the ephemeris store, points
// appended as writers, fields, and states through the interpolation. Every export refuses null
// pointers and non-finite numbers before touching anything, and clears its outputs first.
#include <Tarvexon.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <string>

#include "DllExports/Tarvexon/TarvexonDllVarsUtils.h"
#include "KeyedTree/StoreExports.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Interpolation.h"
#include "Tarvexon/TarvexonTree.h"

using basalon::kKeyFail;
using basalon::kResultFail;
using basalon::kResultOk;
using tarvexdll::blankOut;
using tarvexon::EphemInput;
using tarvexon::TarvexPoint;
using tarvexon::TarvexRecord;

namespace tarvexdll {

int32_t notLoaded(const char* exportName, int64_t satKey) {
  std::string msg;
  // The lookup again, only for its message; a record added meanwhile still failed this call.
  tarvexon::TarvexReadRec(
      satKey, [](const TarvexRecord&) {}, &msg);
  if (msg.empty()) return basalon::failf("%s: Unable to locate satKey %19" PRId64 ".", exportName, satKey);
  return basalon::fail(msg);
}

}  // namespace tarvexdll

namespace {

// Appends one point to the stored record of satKey as a writer; cov (21 packed values) is stored
// with it when some value is not zero.
int32_t appendPoint(const char* exportName, int64_t satKey, double ds50UTC, const double* pos,
                    const double* vel, int32_t revNum, const double* cov) {
  if (!basalon::nonNull(exportName, pos, vel) || !basalon::allFinite(exportName, {ds50UTC}) ||
      !basalon::allFinite(exportName, pos, 3) || !basalon::allFinite(exportName, vel, 3))
    return kResultFail;
  if (cov != nullptr && !basalon::allFinite(exportName, cov, tarvexon::kCovPacked)) return kResultFail;
  const bool anyCov = cov != nullptr && std::any_of(cov, cov + tarvexon::kCovPacked,
                                                    [](double v) { return basalon::neqr(v, 0.0); });
  const TarvexPoint pt = tarvexdll::pointIn(ds50UTC, pos, vel, revNum);
  int32_t code = kResultOk;
  // In place under the writer lock: readers interpolating this record never meet the points array
  // while it grows or moves (AddOneEPPoint logs a failed allocation itself).
  const bool found = tarvexon::TarvexEditRec(
      satKey,
      [&](TarvexRecord& rec) {
        return tarvexon::AddOneEPPoint(pt, rec, anyCov ? cov : nullptr) ? kResultOk : kResultFail;
      },
      code);
  if (!found) return tarvexdll::notLoaded(exportName, satKey);
  return code;
}

// The outputs every state export shares, cleared.
struct StateOut {
  double* time;
  double* pos;
  double* vel;
  int32_t* revNum;
  double* cov6x6;  // null for the exports without covariance

  void clear() const {
    *time = 0.0;
    std::fill_n(pos, 3, 0.0);
    std::fill_n(vel, 3, 0.0);
    *revNum = 0;
    if (cov6x6 != nullptr) std::fill_n(cov6x6, tarvexdll::kCov6x6Length, 0.0);
  }
};

// State through GetEphem: out.time receives GetEphem's other time (MSE for a DS50 input, DS50 UTC for
// an MSE input or a point index). The code is GetEphem's.
int32_t stateExport(const char* exportName, int64_t satKey, double value, EphemInput mode,
                    const StateOut& out) {
  if (!basalon::nonNull(exportName, out.time, out.pos, out.vel, out.revNum)) return kResultFail;
  out.clear();
  if (!basalon::allFinite(exportName, {value})) return kResultFail;
  TarvexPoint pt;
  double otherTime = 0.0;
  int32_t code = kResultOk;
  tarvexon::GetEphem(satKey, value, mode, otherTime, pt, code);
  if (code != kResultOk) return code;
  *out.time = otherTime;
  std::copy_n(pt.pos, 3, out.pos);
  std::copy_n(pt.vel, 3, out.vel);
  *out.revNum = pt.revNum;
  if (out.cov6x6 != nullptr) tarvexdll::covOut(pt, out.cov6x6);
  return kResultOk;
}

// A point index as GetEphem's input value: truncated, and kept within int32 so that an absurd
// value is judged out of range like any other bad index.
double indexValue(double value) { return std::clamp(std::trunc(value), 0.0, static_cast<double>(INT32_MAX)); }

// Text of field index of rec (1 to 15); empty for another index.
std::string fieldText(const TarvexRecord& rec, int32_t index) {
  const TarvexPoint& first = rec.points[0];
  switch (index) {
    case 1:
      return basalon::formatI(rec.satNum, 9);
    case 2:
      return chronel::ds50todate15(rec.epochDs50UTC);
    case 3:
      return basalon::formatF(rec.earthRadius, 35, 15);
    case 4:
      return basalon::formatF(rec.ke, 30, 20);
    case 5:
    case 6:
    case 7:
      return basalon::formatF(first.pos[index - 5], 35, 15);
    case 8:
    case 9:
    case 10:
      return basalon::formatF(first.vel[index - 8], 35, 15);
    case 11:
      return basalon::formatI(rec.coordSys, 1);
    case 12:
      return basalon::formatI(rec.numPts, 10);
    case 13:
      return std::string(rec.fileName.view());
    case 14:
      return std::string(rec.satName.view());
    case 15:
      return std::string(rec.cardLabel.view());
    default:
      return {};
  }
}

// Field indices TarvexSetField changes.
enum class SettableField : int32_t { kCoordSys = 11, kSatName = 14, kCardLabel = 15 };

}  // namespace

int32_t TarvexInit(int64_t /*apPtr*/) { return kResultOk; }

void TarvexGetInfo(char infoStr[128]) {
  if (basalon::nonNull("TarvexGetInfo", infoStr)) basalon::getsoftwareinfo("Tarvexon", infoStr);
}

// ---- Satellites and points -----------------------------------------------------------------------

int64_t TarvexAddSat(int32_t satNum, double epochDs50UTC, double earthRadius, double ke, int32_t coordSys) {
  if (!basalon::allFinite("TarvexAddSat", {epochDs50UTC, earthRadius, ke})) return kKeyFail;
  // The store makes no line of its own when no standard key can be made.
  if (basalon::effectiveKeyMode() == 0 &&
      chronel::createsatkey(satNum, tarvexon::kTarvexElsetType, epochDs50UTC) == kKeyFail) {
    basalon::logErrorf("TarvexAddSat: No satKey can be made for satellite %d.", satNum);
    return kKeyFail;
  }
  return tarvexon::CreateNewSatEntry(satNum, epochDs50UTC, earthRadius, ke, coordSys);
}

int32_t TarvexAddSatEphem(int64_t satKey, double ds50UTC, const double pos[3], const double vel[3],
                          int32_t revNum) {
  return appendPoint("TarvexAddSatEphem", satKey, ds50UTC, pos, vel, revNum, nullptr);
}

int32_t TarvexAddSatEphemCovMtx(int64_t satKey, double ds50UTC, const double pos[3], const double vel[3],
                                int32_t revNum, const double covMtx[21]) {
  if (!basalon::nonNull("TarvexAddSatEphemCovMtx", covMtx)) return kResultFail;
  return appendPoint("TarvexAddSatEphemCovMtx", satKey, ds50UTC, pos, vel, revNum, covMtx);
}

int32_t TarvexAddSatEphemExt(int64_t satKey, double ds50UTC, const double pos[3], const double vel[3],
                             int32_t revNum, const double extArr[21]) {
  if (!basalon::nonNull("TarvexAddSatEphemExt", extArr)) return kResultFail;
  return appendPoint("TarvexAddSatEphemExt", satKey, ds50UTC, pos, vel, revNum, extArr);
}

int32_t TarvexRemoveSat(int64_t satKey) {
  return keyedtree::removeSatExport(tarvexon::TarvexRemoveNode, satKey);
}

int32_t TarvexRemoveAllSats(void) { return keyedtree::removeAllExport(tarvexon::TarvexEmptyTree); }

int32_t TarvexGetCount(void) { return tarvexon::TarvexGetNumOfTreeNodes(); }

void TarvexGetLoaded(int32_t order, int64_t* satKeys) {
  if (!basalon::nonNull("TarvexGetLoaded", satKeys)) return;
  if (tarvexon::TarvexTreeIsEmpty()) {
    basalon::traceloginfo("Warning-TarvexGetLoaded: The binary tree is empty. No satKey returns.");
    return;
  }
  int32_t count = 0;
  tarvexon::TarvexGetTreeKeys(count, satKeys, order);
}

int32_t TarvexGetKeys(int32_t order, int32_t maxKeys, int64_t* satKeys) {
  return keyedtree::getKeysExport("TarvexGetKeys", tarvexon::TarvexGetTreeKeys, order, maxKeys, satKeys);
}

// ---- Keys ----------------------------------------------------------------------------------------

int64_t TarvexGetSatKey(int32_t satNum) { return tarvexon::GetSatKey(satNum); }

int64_t TarvexFieldsToSatKey(int32_t satNum, const char epochDtg[20]) {
  if (!basalon::nonNull("TarvexFieldsToSatKey", epochDtg)) return kKeyFail;
  const std::string epoch = tarvexdll::zeroFilledEpoch(epochDtg);
  const int64_t key = chronel::createsatkey(satNum, tarvexon::kTarvexElsetType, std::string_view(epoch));
  if (key == kKeyFail) {
    basalon::logErrorf("TarvexFieldsToSatKey: No satKey can be made for satellite %d and epoch '%s'.", satNum,
                       epoch.c_str());
  }
  return key;
}

// ---- Reading records -----------------------------------------------------------------------------

int32_t TarvexGetNumPts(int64_t satKey, int32_t* numPts) {
  if (!basalon::nonNull("TarvexGetNumPts", numPts)) return kResultFail;
  *numPts = 0;
  int32_t n = 0;
  if (!tarvexon::TarvexReadRec(satKey, [&](const TarvexRecord& rec) { n = rec.numPts; }))
    return tarvexdll::notLoaded("TarvexGetNumPts", satKey);
  *numPts = n;
  return kResultOk;
}

int32_t TarvexStartEndTime(int64_t satKey, double* startDs50UTC, double* endDs50UTC) {
  if (!basalon::nonNull("TarvexStartEndTime", startDs50UTC, endDs50UTC)) return kResultFail;
  *startDs50UTC = 0.0;
  *endDs50UTC = 0.0;
  int32_t n = 0;
  double start = 0.0, end = 0.0;
  const bool found = tarvexon::TarvexReadRec(satKey, [&](const TarvexRecord& rec) {
    n = rec.numPts;
    if (n > 0) {
      start = rec.points[0].ds50UTC;
      end = rec.points.back().ds50UTC;
    }
  });
  if (!found) return tarvexdll::notLoaded("TarvexStartEndTime", satKey);
  if (n == 0) {
    return basalon::failf("TarvexStartEndTime: satKey %19" PRId64 " does not contain any ephemeris data.",
                          satKey);
  }
  *startDs50UTC = start;
  *endDs50UTC = end;
  return kResultOk;
}

int32_t TarvexGetLine(int64_t satKey, char line[512]) {
  if (!basalon::nonNull("TarvexGetLine", line)) return kResultFail;
  blankOut(line, tarvexdll::kValueLength);
  std::string text;
  if (!tarvexon::TarvexReadRec(
          satKey, [&](const TarvexRecord& rec) { text.assign("EPHFIL = ").append(rec.fileName.view()); }))
    return tarvexdll::notLoaded("TarvexGetLine", satKey);
  tarvexdll::textOut(text, line, tarvexdll::kValueLength);
  return kResultOk;
}

// ---- State at a time or at a point ---------------------------------------------------------------

int32_t TarvexDs50UTC(int64_t satKey, double ds50UTC, double* mse, double pos[3], double vel[3],
                      int32_t* revNum) {
  return stateExport("TarvexDs50UTC", satKey, ds50UTC, EphemInput::kDs50Utc,
                     {mse, pos, vel, revNum, nullptr});
}

int32_t TarvexMse(int64_t satKey, double mse, double* ds50UTC, double pos[3], double vel[3],
                  int32_t* revNum) {
  return stateExport("TarvexMse", satKey, mse, EphemInput::kMse, {ds50UTC, pos, vel, revNum, nullptr});
}

int32_t TarvexGetEphemeris(int64_t satKey, int32_t index, double* ds50UTC, double pos[3], double vel[3],
                           int32_t* revNum) {
  return stateExport("TarvexGetEphemeris", satKey, index, EphemInput::kPointIndex,
                     {ds50UTC, pos, vel, revNum, nullptr});
}

int32_t TarvexDs50UTCCovMtx(int64_t satKey, double ds50UTC, double* mse, double pos[3], double vel[3],
                            int32_t* revNum, double covMtx[36]) {
  if (!basalon::nonNull("TarvexDs50UTCCovMtx", covMtx)) return kResultFail;
  return stateExport("TarvexDs50UTCCovMtx", satKey, ds50UTC, EphemInput::kDs50Utc,
                     {mse, pos, vel, revNum, covMtx});
}

int32_t TarvexMseCovMtx(int64_t satKey, double mse, double* ds50UTC, double pos[3], double vel[3],
                        int32_t* revNum, double covMtx[36]) {
  if (!basalon::nonNull("TarvexMseCovMtx", covMtx)) return kResultFail;
  return stateExport("TarvexMseCovMtx", satKey, mse, EphemInput::kMse, {ds50UTC, pos, vel, revNum, covMtx});
}

int32_t TarvexGetCovMtx(int64_t satKey, int32_t index, double* ds50UTC, double pos[3], double vel[3],
                        int32_t* revNum, double covMtx[36]) {
  if (!basalon::nonNull("TarvexGetCovMtx", covMtx)) return kResultFail;
  return stateExport("TarvexGetCovMtx", satKey, index, EphemInput::kPointIndex,
                     {ds50UTC, pos, vel, revNum, covMtx});
}

int32_t TarvexXten(int64_t satKey, int32_t xtenType, double value, double xtenArr[128]) {
  if (!basalon::nonNull("TarvexXten", xtenArr)) return kResultFail;
  std::fill_n(xtenArr, tarvexdll::kXtenLength, 0.0);
  if (xtenType < static_cast<int32_t>(EphemInput::kMse) ||
      xtenType > static_cast<int32_t>(EphemInput::kPointIndex))
    return basalon::fail("TarvexXten: Invalid ephemeris type. Valid values are 1, 2, and 3.");
  if (!basalon::allFinite("TarvexXten", {value})) return kResultFail;
  const auto mode = static_cast<EphemInput>(xtenType);
  const double input = mode == EphemInput::kPointIndex ? indexValue(value) : value;
  TarvexPoint pt;
  double otherTime = 0.0, mse = 0.0;
  int32_t code = kResultOk;
  tarvexon::GetEphem(satKey, input, mode, otherTime, pt, code, &mse);
  if (code != kResultOk) return code;
  switch (mode) {
    case EphemInput::kMse:
      xtenArr[0] = value;
      xtenArr[1] = otherTime;
      break;
    case EphemInput::kDs50Utc:
      xtenArr[0] = otherTime;
      xtenArr[1] = value;
      break;
    case EphemInput::kPointIndex:
      xtenArr[0] = mse;
      xtenArr[1] = otherTime;
      break;
  }
  std::copy_n(pt.pos, 3, xtenArr + 2);
  std::copy_n(pt.vel, 3, xtenArr + 5);
  xtenArr[8] = pt.revNum;
  std::copy_n(pt.covMtx, tarvexon::kCovPacked, xtenArr + 9);
  return kResultOk;
}

// ---- Fields --------------------------------------------------------------------------------------

int32_t TarvexGetField(int64_t satKey, int32_t fieldIndex, char valueStr[512]) {
  if (!basalon::nonNull("TarvexGetField", valueStr)) return kResultFail;
  blankOut(valueStr, tarvexdll::kValueLength);
  bool hasPoints = false;
  std::string text;
  const bool found = tarvexon::TarvexReadRec(satKey, [&](const TarvexRecord& rec) {
    hasPoints = rec.numPts > 0;
    if (hasPoints) text = fieldText(rec, fieldIndex);
  });
  if (!found) return tarvexdll::notLoaded("TarvexGetField", satKey);
  if (!hasPoints) return basalon::fail("TarvexGetField: This satellite does not contain any ephemeris data.");
  tarvexdll::textOut(basalon::trim(text), valueStr, tarvexdll::kValueLength);
  return kResultOk;
}

int32_t TarvexSetField(int64_t satKey, int32_t fieldIndex, const char valueStr[512]) {
  if (!basalon::nonNull("TarvexSetField", valueStr)) return kResultFail;
  const std::string value = tarvexdll::hostValue(valueStr, tarvexdll::kValueLength);
  int32_t coordSys = 0;
  const bool coordRead = basalon::strtoint(value, coordSys) && tarvexon::IsKnownCoordSys(coordSys);
  int32_t code = kResultOk;
  // One writer step: readers never see a half-written name or label.
  const bool found = tarvexon::TarvexEditRec(
      satKey,
      [&](TarvexRecord& rec) {
        switch (static_cast<SettableField>(fieldIndex)) {
          case SettableField::kCoordSys:
            if (!coordRead) return kResultFail;
            rec.coordSys = coordSys;
            break;
          case SettableField::kSatName:
            rec.satName.set(value);
            break;
          case SettableField::kCardLabel:
            rec.cardLabel.set(value);
            break;
        }
        return kResultOk;
      },
      code);
  if (!found) return tarvexdll::notLoaded("TarvexSetField", satKey);
  if (code != kResultOk) {
    return basalon::failf("TarvexSetField: Invalid coordinate system '%s' (valid 1 to 4, 15 to 20).",
                          value.c_str());
  }
  return kResultOk;
}

int32_t TarvexGetAllFields(int64_t satKey, int32_t* satNum, char satName[8], char cardLabel[128],
                           double* epochDs50UTC, double* earthRadius, double* ke, double pos[3],
                           double vel[3], int32_t* coordSys, int32_t* numPts, char fileName[512]) {
  if (!basalon::nonNull("TarvexGetAllFields", satNum, satName, cardLabel, epochDs50UTC, earthRadius, ke, pos,
                        vel, coordSys, numPts, fileName))
    return kResultFail;
  *satNum = 0;
  blankOut(satName, tarvexdll::kSatNameLength);
  blankOut(cardLabel, tarvexdll::kLabelLength);
  *epochDs50UTC = 0.0;
  *earthRadius = 0.0;
  *ke = 0.0;
  std::fill_n(pos, 3, 0.0);
  std::fill_n(vel, 3, 0.0);
  *coordSys = 0;
  *numPts = 0;
  blankOut(fileName, tarvexdll::kValueLength);
  // Written straight into the host's buffers on the read side: nothing is copied twice.
  const bool found = tarvexon::TarvexReadRec(satKey, [&](const TarvexRecord& rec) {
    *satNum = rec.satNum;
    tarvexdll::textOut(rec.satName.view(), satName, tarvexdll::kSatNameLength);
    tarvexdll::textOut(rec.cardLabel.view(), cardLabel, tarvexdll::kLabelLength);
    *epochDs50UTC = rec.epochDs50UTC;
    *earthRadius = rec.earthRadius;
    *ke = rec.ke;
    if (rec.numPts > 0) {
      std::copy_n(rec.points[0].pos, 3, pos);
      std::copy_n(rec.points[0].vel, 3, vel);
    }
    *coordSys = rec.coordSys;
    *numPts = rec.numPts;
    tarvexdll::textOut(rec.fileName.view(), fileName, tarvexdll::kValueLength);
  });
  if (!found) return tarvexdll::notLoaded("TarvexGetAllFields", satKey);
  return kResultOk;
}
