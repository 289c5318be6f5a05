// The SP vector store: the keyed record tree engine instantiated for SP vectors, its
// library-level routines under the harlo names, and the readers and writer of the text form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "KeyedTree/KeyedTree.h"
#include "Siblings/Basalon/LineSource.h"
#include "Siblings/Harlo/HarloRecord.h"

namespace harlo {

struct HarloTreeTraits : keyedtree::RecordTraits<SpVecRecord> {
  static constexpr int32_t kElsetType = kEltSpVec;
  static bool equal(const Record& a, const Record& b);
  static int32_t validate(const Record& rec);
  static int64_t makeKey(const Record& rec);
  static double epochDs50(const Record& rec);
  static int32_t writeRecord(const Record& rec, int32_t unit);
};

using HarloTree = keyedtree::KeyedTree<HarloTreeTraits>;

// Counts of one load (file, unit or text).
using HarloLoadCounts = basalon::LoadCounts;

HarloTree& HarloStore();

// Stores a validated copy: its key, -1 on failure (one logged line), 0 for a reported duplicate.
int64_t AddHarloToMem(const SpVecRecord& rec);
// Reads one SP vector from its four lines (HarloText.h) and stores it; -1 with one logged line
// when the lines are bad (nothing stored).
int64_t harloAddSatFrLines(const std::vector<std::string_view>& lines);
// Standard key: createsatkey(satNum, 4, epoch in DS50 UTC); -1 when none.
int64_t CreateSatKeyFrHarlo(const SpVecRecord& rec);

// The engine's routines on the SP vector store under the harlo names (what each does: the TLE
// store's routines of the same stem in LinesetStore.h).
inline void harlofindrecptr(int64_t satKey, SpVecRecord*& rec, std::string* msg = nullptr) {
  HarloStore().FindRecPtr(satKey, rec, msg);
}
inline void harloendread() { HarloStore().EndRead(); }
inline void harloFindRec(int64_t satKey, SpVecRecord& rec, std::string* msg = nullptr) {
  HarloStore().FindRec(satKey, rec, msg);
}
inline int64_t harlosatkeyget(int32_t satNum) { return HarloStore().SatKeyGet(satNum); }
inline int32_t harlogetnumoftreenodes() { return HarloStore().GetNumOfTreeNodes(); }
inline void harlogettreekeys(int32_t& count, int64_t* keys, int32_t order, int64_t maxKeys = INT64_MAX) {
  HarloStore().GetTreeKeys(count, keys, order, maxKeys);
}
inline bool harlotreeisempty() { return HarloStore().TreeIsEmpty(); }
inline void harloremovenode(int64_t satKey, int32_t& flag, int32_t& code) {
  HarloStore().RemoveNode(satKey, flag, code);
}
inline void harloemptytree(int32_t& code) {
  code = 0;
  HarloStore().EmptyTree(code);
}
// Writes every record in ascending key order, each in its text form with its maneuver lines.
inline void harlowritelines(int32_t unit) { HarloStore().WriteLines(unit); }

// Readers: an "SPVEC1 " line starts a vector whose next three lines are its lines 2-4; lines
// with "VP" in columns 79-80 right after a vector are its maneuver lines; other text is
// skipped. A bad vector logs one line and stores nothing. Return 0 (2 for a refused unit).
int32_t readHarlosFrText(std::string_view text, HarloLoadCounts* counts = nullptr);
int32_t readharlosfrfileunit(int32_t unit, HarloLoadCounts* counts = nullptr);
int32_t readharlosfrfile(std::string_view fileName, HarloLoadCounts* counts = nullptr);

}  // namespace harlo
