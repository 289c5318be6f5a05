// The Qel store instance and what the engine needs of Qel records: keys, equality, sort text.
#include "Qel/QelTree.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string_view>

#include "Qel/QelWriter.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"

namespace qel {
namespace {

// The store lives for the whole process: it is never destroyed, so no caller can meet it torn
// down during process exit.
QelTree& tree() {
  static QelTree* const store = new QelTree;
  return *store;
}

}  // namespace

QelTree& QelStore() { return tree(); }

bool QelTreeTraits::equal(const Record& a, const Record& b) { return Equal(a, b); }
int64_t QelTreeTraits::makeKey(const Record& rec) { return CreateSatKeyFrQel(rec); }

void QelTreeTraits::sortString(const Record& rec, char out[32]) { FieldsToStr(rec, out); }

// The multi-line message, then its maneuver card lines (trailing blanks dropped), where the Qel
// reader takes them back as the lines that follow the message.
int32_t QelTreeTraits::writeRecord(const Record& rec, int32_t unit) {
  if (!Qel2Lines(rec, unit)) return basalon::kResultFail;
  const size_t count = std::min(rec.maneuverLines.size(),
                                static_cast<size_t>(std::clamp(rec.numManeuverLines, 0, kMaxManeuverLines)));
  if (count == 0) return basalon::kResultOk;
  std::array<std::string_view, kMaxManeuverLines> lines;
  for (size_t k = 0; k < count; ++k) lines[k] = basalon::trimRight(rec.maneuverLines[k].view());
  const int rc = basalon::filewritelines(unit, std::span(lines.data(), count));
  if (rc != basalon::kUnitOk) {
    basalon::logErrorf("QelWriteLines: Unable to write the maneuver card lines of satellite %d (code %d)",
                       rec.satNum, rc);
    return basalon::kResultFail;
  }
  return basalon::kResultOk;
}

void AddQelToMem(const QelRecord& rec, int64_t& satKey, QelBinTree** node) {
  satKey = tree().AddToMem(rec, node);
}
QelBinTree* QelNewNode() { return tree().NewNode(); }

void QelAddNode(QelBinTree* node, int32_t& status) { tree().AddNode(node, status); }
void QelRemoveNode(int64_t satKey, int32_t& flag, int32_t& code) { tree().RemoveNode(satKey, flag, code); }
int32_t RemoveDMA(int64_t satKey) { return tree().RemoveDMA(satKey); }
void QelUpdateRec(int64_t satKey, const QelRecord& rec, int32_t& code) {
  tree().UpdateRec(satKey, rec, code);
}
void QelEmptyTree(int32_t& code) { tree().EmptyTree(code); }
void QelFindRec(int64_t satKey, QelRecord& rec, std::string* msg) { tree().FindRec(satKey, rec, msg); }
void QelFindRecPtr(int64_t satKey, QelRecord*& rec, std::string* msg) { tree().FindRecPtr(satKey, rec, msg); }
void QelGetRec(QelRecord& rec, const QelBinTree* node) { tree().GetRec(rec, node); }
int64_t QelSatKeyGet(int32_t satNum) { return tree().SatKeyGet(satNum); }
int32_t QelGetNumOfTreeNodes() { return tree().GetNumOfTreeNodes(); }
void QelGetTreeKeys(int32_t& count, int64_t* keys, int32_t order, int64_t maxKeys) {
  tree().GetTreeKeys(count, keys, order, maxKeys);
}
bool QelTreeIsEmpty() { return tree().TreeIsEmpty(); }
void QelBeginRead() { tree().BeginRead(); }
void QelEndRead() { tree().EndRead(); }
int32_t QelWriteLines(int32_t unit) { return tree().WriteLines(unit); }

int64_t CreateSatKeyFrQel(const QelRecord& rec) {
  return chronel::createsatkey(rec.satNum, kQelElsetType, InputDateToDs50(rec.epoch));
}

double InputDateToDs50(const InputDate& date) {
  return chronel::tcomps2utc(date.day, date.hour, date.minute, date.second, date.year);
}

bool QelElsetType(int32_t code) { return code == kQelElsetType; }

bool Equal(const QelRecord& a, const QelRecord& b) {
  if (a.satNum != b.satNum || a.epoch.year != b.epoch.year || a.epoch.day != b.epoch.day ||
      a.epoch.hour != b.epoch.hour || a.epoch.minute != b.epoch.minute)
    return false;
  if (basalon::neqr(a.epoch.second, b.epoch.second)) return false;
  for (int i = 0; i < 3; ++i) {
    if (basalon::neqr(a.eciPos[i], b.eciPos[i]) || basalon::neqr(a.eciVel[i], b.eciVel[i])) return false;
  }
  return !basalon::neqr(a.ballisticCoef, b.ballisticCoef) &&
         !basalon::neqr(a.solarRadPressCoef, b.solarRadPressCoef);
}

void FieldsToStr(const QelRecord& rec, char out[32]) {
  std::memset(out, ' ', 32);
  if (!basalon::writeIm(out, 9, 9, rec.satNum)) std::memset(out, '*', 9);
  basalon::writeF(out + 9, 16, 9, InputDateToDs50(rec.epoch));
}

}  // namespace qel
