// The Tarvexon store instance and what the engine needs of ephemeris records: keys, equality, sort
// text, the card lines that name each record's file; record creation and lookup by number.
#include "Tarvexon/TarvexonTree.h"

#include <cstring>
#include <string_view>
#include <unordered_set>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"

namespace tarvexon {
namespace {

// Never destroyed: no caller can meet the store torn down during process exit.
TarvexTree& tree() {
  static TarvexTree* const store = new TarvexTree;
  return *store;
}

}  // namespace

TarvexTree& TarvexStore() { return tree(); }

bool TarvexTreeTraits::equal(const Record& a, const Record& b) { return Equal(a, b); }
int64_t TarvexTreeTraits::makeKey(const Record& rec) { return CreateSatKeyFrTarvex(rec); }
void TarvexTreeTraits::sortString(const Record& rec, char out[32]) { FieldsToStr(rec, out); }

int32_t TarvexTreeTraits::writeRecord(const Record& rec, int32_t unit) {
  std::string line;
  if (!basalon::trimRight(rec.cardLabel.view()).empty()) {
    line.assign("#TARVEXON = ").append(basalon::trimRight(rec.cardLabel.view()));
    if (basalon::fileWriteLine(unit, line) != basalon::kUnitOk) return basalon::kResultFail;
  }
  line.assign("EPHFIL = ").append(basalon::trimRight(rec.fileName.view()));
  return basalon::fileWriteLine(unit, line) == basalon::kUnitOk ? basalon::kResultOk : basalon::kResultFail;
}

void AddTarvexToMem(const TarvexRecord& rec, int64_t& satKey, TarvexBinTree** node) {
  satKey = tree().AddToMem(rec, node);
}
void AddTarvexToMemMoved(TarvexRecord&& rec, int64_t& satKey, TarvexBinTree** node) {
  satKey = tree().AddMovedToMem(std::move(rec), node);
}
TarvexBinTree* TarvexNewNode() { return tree().NewNode(); }
void TarvexAddNode(TarvexBinTree* node, int32_t& status) { tree().AddNode(node, status); }
void TarvexRemoveNode(int64_t satKey, int32_t& flag, int32_t& code) { tree().RemoveNode(satKey, flag, code); }
int32_t RemoveDMA(int64_t satKey) { return tree().RemoveDMA(satKey); }
void TarvexEmptyTree(int32_t& code) { tree().EmptyTree(code); }
void FindRec(int64_t satKey, TarvexRecord& rec, std::string* msg) { tree().FindRec(satKey, rec, msg); }
void TarvexFindRecPtr(int64_t satKey, TarvexRecord*& rec, std::string* msg) { tree().FindRecPtr(satKey, rec, msg); }
void TarvexGetRec(TarvexRecord& rec, const TarvexBinTree* node) { tree().GetRec(rec, node); }
int64_t TarvexSatKeyGet(int32_t satNum) { return tree().SatKeyGet(satNum); }
int32_t TarvexGetNumOfTreeNodes() { return tree().GetNumOfTreeNodes(); }
void TarvexGetTreeKeys(int32_t& count, int64_t* keys, int32_t order, int64_t maxKeys) {
  tree().GetTreeKeys(count, keys, order, maxKeys);
}
bool TarvexTreeIsEmpty() { return tree().TreeIsEmpty(); }
void TarvexBeginRead() { tree().BeginRead(); }
void TarvexEndRead() { tree().EndRead(); }

int32_t TarvexWriteLines(int32_t unit) {
  // Pre-order from the root, records read in place. A file named by several records (several
  // ephemerides of one file) is written once: its reload stores them all again. Records made in
  // memory have no file to name and are counted instead of written as blank cards.
  int32_t failed = 0;
  int32_t inMemory = 0;
  std::unordered_set<std::string_view> written;
  tree().VisitPreOrder([&](int64_t, const TarvexRecord& rec) {
    const std::string_view name = basalon::trimRight(rec.fileName.view());
    if (name.empty()) {
      ++inMemory;
      return;
    }
    if (!written.insert(name).second) return;
    if (TarvexTreeTraits::writeRecord(rec, unit) != basalon::kResultOk) ++failed;
  });
  if (inMemory > 0) {
    basalon::logInfof("TarvexWriteLines: %d ephemerides made in memory have no file to name and are not written.",
                      inMemory);
  }
  return failed;
}

int64_t CreateSatKeyFrTarvex(const TarvexRecord& rec) {
  return chronel::createsatkey(rec.satNum, kTarvexElsetType, rec.epochDs50UTC);
}

bool TarvexElsetType(int32_t code) { return code == kTarvexElsetType; }

bool Equal(const TarvexRecord& a, const TarvexRecord& b) {
  return a.satNum == b.satNum && a.coordSys == b.coordSys && !basalon::neqr(a.epochDs50UTC, b.epochDs50UTC);
}

void FieldsToStr(const TarvexRecord& rec, char out[32]) {
  std::memset(out, ' ', 32);
  if (!basalon::writeIm(out, 9, 9, rec.satNum)) std::memset(out, '*', 9);
  basalon::writeI(out + 9, 2, rec.coordSys);
  basalon::writeF(out + 11, 16, 9, rec.epochDs50UTC);
}

int64_t CreateNewSatEntry(int32_t satNum, double epochDs50UTC, double earthRadius, double ke, int32_t coordArg) {
  TarvexRecord rec;
  rec.satNum = satNum;
  // A code of the table is taken whole (15 to 20 are two-digit codes); otherwise the last digit is
  // the system and the tens are kept apart, as for 12 (system 2, tens 10).
  if (coordArg >= kCoordLlh && coordArg <= kCoordWptgc) {
    rec.coordSys = coordArg;
    rec.coordSysTens = 0;
  } else {
    rec.coordSys = coordArg % 10;
    rec.coordSysTens = coordArg - rec.coordSys;
  }
  if (rec.coordSys < kCoordEci || (rec.coordSys > kCoordEcr && !IsKnownCoordSys(rec.coordSys))) {
    basalon::logErrorf("CreateNewSatEntry: Invalid coordinate system %d (valid 1 to 4, 15 to 20).", coordArg);
    return basalon::kKeyFail;
  }
  rec.epochDs50UTC = epochDs50UTC;
  rec.earthRadius = earthRadius;
  rec.ke = ke;
  int64_t key = basalon::kKeyFail;
  AddTarvexToMem(rec, key);
  return key;
}

int64_t GetSatKey(int32_t satNum) {
  const int64_t key = TarvexSatKeyGet(satNum);
  if (key == -1) {
    basalon::tracelogerror("GetSatKey: Unable to locate satellite number " + basalon::formatI(satNum, 9) +
                           " in the Tarvex binary tree.");
  }
  return key;
}

}  // namespace tarvexon
