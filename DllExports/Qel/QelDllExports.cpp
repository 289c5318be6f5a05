// Flat exports of the Qel library: host buffers to and from the Qel store, reader, writer and
// array form. Every export refuses null pointers and non-finite numbers before touching anything.
#include <Qel.h>

#include <cinttypes>
#include <string>

#include "DllExports/Qel/QelDllVarsUtils.h"
#include "KeyedTree/StoreExports.h"
#include "Qel/QelCardReading.h"
#include "Qel/QelFields.h"
#include "Qel/QelSave.h"
#include "Qel/QelTree.h"
#include "Qel/QelWriter.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Chronel/Chronel.h"

using basalon::kKeyFail;
using basalon::kResultFail;
using basalon::kResultOk;
using qeldll::blankOut;

namespace {

// Leaves the read side a borrow entered (standard keys only).
void endBorrow(int64_t satKey) {
  if (!basalon::isdma(satKey)) qel::QelEndRead();
}

int32_t notInStore(const char* routine, int64_t satKey) {
  return basalon::failf("%s: Unable to locate satKey %19" PRId64 " in the QEL binary tree.", routine, satKey);
}

// Validates and stores a parsed or built record: its key, -1 with one line when it is refused.
int64_t addRecord(const char* exportName, const qel::QelRecord& rec) {
  if (qel::ValidateQelValues(rec) != kResultOk) return kKeyFail;
  // The store makes no line of its own when no standard key can be made.
  if (basalon::effectiveKeyMode() == 0 && qel::CreateSatKeyFrQel(rec) == kKeyFail) {
    basalon::logErrorf("%s: No satKey can be made for satellite %d.", exportName, rec.satNum);
    return kKeyFail;
  }
  int64_t key = kKeyFail;
  qel::AddQelToMem(rec, key);
  return key;
}

int64_t addFromText(const char* exportName, const char* qelText) {
  qel::QelRecord rec;
  qel::AnyQelStrings2Qel(rec, qeldll::hostBuffer(qelText, qeldll::kTextLength));
  if (rec.errCode != kResultOk) return kKeyFail;
  return addRecord(exportName, rec);
}

int64_t addFromFields(const char* exportName, const char* xsQel, const double* xaQel) {
  qel::QelRecord rec;
  if (qel::Array2Qel(rec, qeldll::charsIn(xsQel), qeldll::doublesIn(xaQel)) != kResultOk) return kKeyFail;
  return addRecord(exportName, rec);
}

// The epoch text of QelFieldsToSatKey made readable: left-justified in its 20 characters, and every
// blank of characters 3 to 20 read as "0" (a short group such as "21123010203.456" is completed).
std::string zeroFilledEpoch(const char* epochDtg) {
  const std::string raw = qeldll::hostBuffer(epochDtg, qeldll::kEpochTextLength);
  std::string text(basalon::trim(raw));
  text.resize(qeldll::kEpochTextLength, ' ');
  for (size_t k = 2; k < text.size(); ++k)
    if (text[k] == ' ') text[k] = '0';
  return text;
}

int64_t fieldsToSatKey(const char* exportName, int32_t satNum, const char* epochDtg) {
  const std::string epoch = zeroFilledEpoch(epochDtg);
  const int64_t key = chronel::createsatkey(satNum, qel::kQelElsetType, std::string_view(epoch));
  if (key == kKeyFail) {
    basalon::logErrorf("%s: No satKey can be made for satellite %d and epoch '%s'.", exportName, satNum,
                       epoch.c_str());
  }
  return key;
}

}  // namespace

int32_t QelInit(int64_t /*apPtr*/) { return kResultOk; }

void QelGetInfo(char infoStr[128]) {
  if (basalon::nonNull("QelGetInfo", infoStr)) basalon::getsoftwareinfo("Qel", infoStr);
}

// ---- Files -------------------------------------------------------------------------------------

int32_t QelLoadFile(const char fileName[512]) {
  if (!basalon::nonNull("QelLoadFile", fileName)) return kResultFail;
  const std::string name = qeldll::hostFileName(fileName);
  basalon::traceloginfo("QelLoadFile: Reading QELs from file \"" + name + "\".");
  return qel::ReadQelsFrFile(name);
}

int32_t QelSaveFile(const char fileName[512], int32_t saveMode) {
  if (!basalon::nonNull("QelSaveFile", fileName)) return kResultFail;
  return qel::QelSaveFile(qeldll::hostFileName(fileName),
                          saveMode == 0 ? qel::QelSaveMode::kReplace : qel::QelSaveMode::kAppend);
}

// ---- Store -------------------------------------------------------------------------------------

int32_t QelRemoveSat(int64_t satKey) { return keyedtree::removeSatExport(qel::QelRemoveNode, satKey); }

int32_t QelRemoveAllSats(void) { return keyedtree::removeAllExport(qel::QelEmptyTree); }

int32_t QelGetCount(void) { return qel::QelGetNumOfTreeNodes(); }

void QelGetLoaded(int32_t order, int64_t* satKeys) {
  if (!basalon::nonNull("QelGetLoaded", satKeys)) return;
  if (qel::QelTreeIsEmpty()) {
    basalon::traceloginfo("Warning-QelGetLoaded: The binary tree is empty. No satKey returns.");
    return;
  }
  int32_t count = 0;
  qel::QelGetTreeKeys(count, satKeys, order);
}

int32_t QelGetKeys(int32_t order, int32_t maxKeys, int64_t* satKeys) {
  return keyedtree::getKeysExport("QelGetKeys", qel::QelGetTreeKeys, order, maxKeys, satKeys);
}

// ---- Adding and updating -----------------------------------------------------------------------

int64_t QelAddSatFrLines(const char qelText[4000]) {
  if (!basalon::nonNull("QelAddSatFrLines", qelText)) return kKeyFail;
  return addFromText("QelAddSatFrLines", qelText);
}

void QelAddSatFrLinesML(const char qelText[4000], int64_t* satKey) {
  if (!basalon::nonNull("QelAddSatFrLinesML", qelText, satKey)) return;
  *satKey = kKeyFail;
  *satKey = addFromText("QelAddSatFrLinesML", qelText);
}

int64_t QelAddSatFrFields(const char xsQel[512], const double xaQel[512]) {
  if (!basalon::nonNull("QelAddSatFrFields", xsQel, xaQel) ||
      !qeldll::arrayFinite("QelAddSatFrFields", xaQel))
    return kKeyFail;
  return addFromFields("QelAddSatFrFields", xsQel, xaQel);
}

void QelAddSatFrFieldsML(const char xsQel[512], const double xaQel[512], int64_t* satKey) {
  if (!basalon::nonNull("QelAddSatFrFieldsML", xsQel, xaQel, satKey)) return;
  *satKey = kKeyFail;
  if (!qeldll::arrayFinite("QelAddSatFrFieldsML", xaQel)) return;
  *satKey = addFromFields("QelAddSatFrFieldsML", xsQel, xaQel);
}

int32_t QelUpdateSatFrFields(int64_t satKey, const char xsQel[512], const double xaQel[512]) {
  constexpr const char* kName = "QelUpdateSatFrFields";
  if (!basalon::nonNull(kName, xsQel, xaQel) || !qeldll::arrayFinite(kName, xaQel)) return kResultFail;
  int32_t code = kResultOk;
  // One writer step: the stored record cannot change between the lookup and the replacement.
  const bool found = qel::QelModifyRec(
      satKey,
      [&](qel::QelRecord& stored) {
        qel::QelRecord rec;
        const int32_t built = qel::Array2Qel(rec, qeldll::charsIn(xsQel), qeldll::doublesIn(xaQel));
        if (built != kResultOk) return built;
        // Neither the number nor the epoch changes this way; the array form carries neither the
        // common name nor maneuver lines, so the stored ones stay with the record.
        rec.satNum = stored.satNum;
        rec.epoch = stored.epoch;
        rec.commonName = stored.commonName;
        rec.maneuverLines = std::move(stored.maneuverLines);
        rec.numManeuverLines = stored.numManeuverLines;
        const int32_t valid = qel::ValidateQelValues(rec);
        if (valid != kResultOk) return valid;
        stored = std::move(rec);
        return kResultOk;
      },
      code);
  if (!found) return notInStore(kName, satKey);
  return code;
}

// ---- Reading records ---------------------------------------------------------------------------

int32_t QelRetrieveAllData(int64_t satKey, char xsQel[512], double xaQel[512]) {
  if (!basalon::nonNull("QelRetrieveAllData", xsQel, xaQel)) return kResultFail;
  int32_t code = kResultOk;
  qel::GetSatToFields(satKey, qeldll::doublesOut(xaQel), qeldll::charsOut(xsQel), code);
  return code;
}

int32_t QelGetField(int64_t satKey, int32_t fieldIndex, char valueStr[512]) {
  if (!basalon::nonNull("QelGetField", valueStr)) return kResultFail;
  blankOut(valueStr, qeldll::kValueLength);
  std::string value;
  const int32_t code = qel::QelGetField(satKey, fieldIndex, value);
  if (code == kResultOk) qeldll::textOut(value, valueStr, qeldll::kValueLength);
  return code;
}

int32_t QelSetField(int64_t satKey, int32_t fieldIndex, const char valueStr[512]) {
  if (!basalon::nonNull("QelSetField", valueStr)) return kResultFail;
  return qel::QelSetField(satKey, fieldIndex, basalon::hostText(valueStr, qeldll::kValueLength));
}

int32_t QelGetAllFields(int64_t satKey, int32_t* satNum, char intlDes[8], char epochDtg[17],
                        int32_t* epochRev, double eciPos[3], double eciVel[3], char geoModel[6],
                        int32_t* geoZonals, int32_t* geoTesserals, char dragModel[12], char lunarSolar[3],
                        char solarRadPress[3], char solidEarthTides[3], char inTrackThrust[3],
                        double* ballisticCoef, double* solarRadPressCoef, double* thrustAccel,
                        double* cmOffset, int32_t* f10, int32_t* avgF10, double* avgAp, double* taiMinusUtc,
                        double* ut1MinusUtc, double* ut1Rate, double* polarMotionX, double* polarMotionY,
                        int32_t* nutationTerms, char leapSecondDtg[17], char integratorMode[6],
                        char partials[8], char stepMode[4], char fixedStep[3], char stepSizeSelection[6],
                        double* initialStepSize, double* errorControl, double* wtdRms) {
  if (!basalon::nonNull("QelGetAllFields", satNum, intlDes, epochDtg, epochRev, eciPos, eciVel, geoModel,
                        geoZonals, geoTesserals, dragModel, lunarSolar, solarRadPress, solidEarthTides,
                        inTrackThrust, ballisticCoef, solarRadPressCoef, thrustAccel, cmOffset, f10, avgF10,
                        avgAp, taiMinusUtc, ut1MinusUtc, ut1Rate, polarMotionX, polarMotionY, nutationTerms,
                        leapSecondDtg, integratorMode, partials, stepMode, fixedStep, stepSizeSelection,
                        initialStepSize, errorControl, wtdRms))
    return kResultFail;
  // The library's answer is cleared first and stays cleared on failure, so copying it out on every
  // path clears the host's outputs.
  qel::QelAllFields f;
  const int32_t code = qel::QelGetAllFields(satKey, f);
  auto text = [](const auto& field, char* out) { std::copy(field.begin(), field.end(), out); };
  *satNum = f.satNum;
  text(f.intlDes, intlDes);
  text(f.epochDtg, epochDtg);
  *epochRev = f.epochRev;
  basalon::toHost3(f.eciPos, eciPos);
  basalon::toHost3(f.eciVel, eciVel);
  text(f.geoModel, geoModel);
  *geoZonals = f.geoZonals;
  *geoTesserals = f.geoTesserals;
  text(f.dragModel, dragModel);
  text(f.lunarSolar, lunarSolar);
  text(f.solarRadPress, solarRadPress);
  text(f.solidEarthTides, solidEarthTides);
  text(f.inTrackThrust, inTrackThrust);
  *ballisticCoef = f.ballisticCoef;
  *solarRadPressCoef = f.solarRadPressCoef;
  *thrustAccel = f.thrustAccel;
  *cmOffset = f.cmOffset;
  *f10 = f.f10;
  *avgF10 = f.avgF10;
  *avgAp = f.avgAp;
  *taiMinusUtc = f.taiMinusUtc;
  *ut1MinusUtc = f.ut1MinusUtc;
  *ut1Rate = f.ut1RateMsPerDay;
  *polarMotionX = f.polarMotionX;
  *polarMotionY = f.polarMotionY;
  *nutationTerms = f.nutationTerms;
  text(f.leapSecondDtg, leapSecondDtg);
  text(f.integratorMode, integratorMode);
  text(f.partials, partials);
  text(f.stepMode, stepMode);
  text(f.fixedStep, fixedStep);
  text(f.stepSizeSelection, stepSizeSelection);
  *initialStepSize = f.initialStepSize;
  *errorControl = f.errorControl;
  *wtdRms = f.wtdRms;
  return code;
}

int32_t QelGetLines(int64_t satKey, char qelLines[4000]) {
  if (!basalon::nonNull("QelGetLines", qelLines)) return kResultFail;
  blankOut(qelLines, qeldll::kTextLength);
  qel::QelRecord* rec = nullptr;
  qel::QelFindRecPtr(satKey, rec);
  if (rec == nullptr) {
    endBorrow(satKey);
    return notInStore("QelGetLines", satKey);
  }
  const int32_t code = qel::Qel2QelLines(*rec, qeldll::linesOut(qelLines));
  endBorrow(satKey);
  // A message that could not be finished is not handed out half written.
  if (code != kResultOk) blankOut(qelLines, qeldll::kTextLength);
  return code;
}

// ---- Keys --------------------------------------------------------------------------------------

int64_t QelGetSatKey(int32_t satNum) {
  const int64_t key = qel::QelSatKeyGet(satNum);
  if (key == kKeyFail) {
    basalon::logErrorf("GetSatKey: Unable to locate satellite number %9d in the QEL binary tree.", satNum);
  }
  return key;
}

int64_t QelGetSatKeyML(int32_t satNum, int64_t* satKey) {
  if (!basalon::nonNull("QelGetSatKeyML", satKey)) return kKeyFail;
  *satKey = QelGetSatKey(satNum);
  return *satKey;
}

int64_t QelFieldsToSatKey(int32_t satNum, const char epochDtg[20]) {
  if (!basalon::nonNull("QelFieldsToSatKey", epochDtg)) return kKeyFail;
  return fieldsToSatKey("QelFieldsToSatKey", satNum, epochDtg);
}

void QelFieldsToSatKeyML(int32_t satNum, const char epochDtg[20], int64_t* satKey) {
  if (!basalon::nonNull("QelFieldsToSatKeyML", epochDtg, satKey)) return;
  *satKey = fieldsToSatKey("QelFieldsToSatKeyML", satNum, epochDtg);
}

// ---- Conversions -------------------------------------------------------------------------------

int32_t QelStringToArray(const char qelText[4000], double xaQel[512], char xsQel[512]) {
  if (!basalon::nonNull("QelStringToArray", qelText, xaQel, xsQel)) return kResultFail;
  std::fill_n(xaQel, qeldll::kArrayLength, 0.0);
  blankOut(xsQel, qeldll::kArrayLength);
  qel::QelRecord rec;
  qel::AnyQelStrings2Qel(rec, qeldll::hostBuffer(qelText, qeldll::kTextLength));
  if (rec.errCode != kResultOk) return kResultFail;
  qel::Qel2Array(rec, qeldll::doublesOut(xaQel), qeldll::charsOut(xsQel));
  return kResultOk;
}

void QelArrayToQel1Line(const double xaQel[512], const char xsQel[512], char qel1Line[1500]) {
  if (!basalon::nonNull("QelArrayToQel1Line", xaQel, xsQel, qel1Line)) return;
  blankOut(qel1Line, qeldll::kOneLineLength);
  if (!qeldll::arrayFinite("QelArrayToQel1Line", xaQel)) return;
  qel::QelRecord rec;
  if (qel::Array2Qel(rec, qeldll::charsIn(xsQel), qeldll::doublesIn(xaQel)) != kResultOk) return;
  qel::Qel2Qel1Line(qeldll::oneLineOut(qel1Line), rec);
}

void QelArrayToQelLines(const double xaQel[512], const char xsQel[512], char qelLines[4000]) {
  if (!basalon::nonNull("QelArrayToQelLines", xaQel, xsQel, qelLines)) return;
  blankOut(qelLines, qeldll::kTextLength);
  if (!qeldll::arrayFinite("QelArrayToQelLines", xaQel)) return;
  qel::QelRecord rec;
  if (qel::Array2Qel(rec, qeldll::charsIn(xsQel), qeldll::doublesIn(xaQel)) != kResultOk) return;
  if (qel::Qel2QelLines(rec, qeldll::linesOut(qelLines)) != kResultOk)
    blankOut(qelLines, qeldll::kTextLength);
}

int32_t QelMultiLineTo1Line(const char qelLines[4000], char qel1Line[1500]) {
  if (!basalon::nonNull("QelMultiLineTo1Line", qelLines, qel1Line)) return kResultFail;
  blankOut(qel1Line, qeldll::kOneLineLength);
  qel::QelRecord rec;
  qel::AnyQelStrings2Qel(rec, qeldll::hostBuffer(qelLines, qeldll::kTextLength));
  if (rec.errCode != kResultOk) return kResultFail;
  // A record the one-line form cannot show (a satellite number above 99999) is refused, not written
  // with "*" in its columns.
  return qel::Qel2Qel1Line(qeldll::oneLineOut(qel1Line), rec);
}

int32_t Qel1LineToMultiLine(const char qel1Line[1500], char qelLines[4000]) {
  if (!basalon::nonNull("Qel1LineToMultiLine", qel1Line, qelLines)) return kResultFail;
  int32_t numLines = 0;
  // The lines stay blank when the text does not read; the result is 0 all the same.
  qel::Qel1Line2QelLines(qeldll::hostBuffer(qel1Line, qeldll::kOneLineLength), qeldll::linesOut(qelLines),
                         numLines);
  return kResultOk;
}
