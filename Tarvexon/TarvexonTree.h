// The Tarvexon store: the keyed record tree engine instantiated for ephemeris records, under the
// Tarvexon names. Kymor and Brevanta call these routines directly (finds, end-read, counts, keys).
#pragma once

#include <cstdint>
#include <string>

#include "KeyedTree/KeyedTree.h"
#include "Tarvexon/TarvexonTypes.h"

namespace tarvexon {

// Element-set type code of Tarvexon records (last digit of their standard keys, DMA block type).
constexpr int32_t kTarvexElsetType = 6;

struct TarvexTreeTraits : keyedtree::RecordTraits<TarvexRecord> {
  static constexpr int32_t kElsetType = kTarvexElsetType;
  static void copy(Record& dst, const Record& src) { CopyTarvexRecord(dst, src); }
  static void release(Record& rec) { FreeTarvexRecord(rec); }
  static bool equal(const Record& a, const Record& b);
  static int32_t validate(const Record&) { return 0; }  // records are stored as they are
  static int64_t makeKey(const Record& rec);
  static void sortString(const Record& rec, char out[32]);
  static int32_t writeRecord(const Record& rec, int32_t unit);
};

using TarvexTree = keyedtree::KeyedTree<TarvexTreeTraits>;
using TarvexBinTree = TarvexTree::Node;

// The process-wide Tarvexon store.
TarvexTree& TarvexStore();
// The store's writer lock: every change of the store (add, remove, empty, appended points, set
// fields) holds it, with the readers drained.
inline std::mutex& cs_tarvex_updatenote() { return TarvexStore().WriterLock(); }

// Stores a copy of rec; satKey = its key, -1 on failure, 0 for a duplicate reported as an error.
void AddTarvexToMem(const TarvexRecord& rec, int64_t& satKey, TarvexBinTree** node = nullptr);
// Stores rec by moving its points into the store (a reader's working record); rec is left empty
// once it got a key, stored or dropped as a duplicate.
void AddTarvexToMemMoved(TarvexRecord&& rec, int64_t& satKey, TarvexBinTree** node = nullptr);
TarvexBinTree* TarvexNewNode();
void TarvexAddNode(TarvexBinTree* node, int32_t& status);
void TarvexRemoveNode(int64_t satKey, int32_t& flag, int32_t& code);
int32_t RemoveDMA(int64_t satKey);
void TarvexEmptyTree(int32_t& code);
// Deep copy of the record of satKey; not found leaves satNum -123 and a message in *msg.
void FindRec(int64_t satKey, TarvexRecord& rec, std::string* msg = nullptr);
// Borrowed link to the stored record (null when not found). For a standard key the caller calls
// TarvexEndRead exactly once afterwards, found or not. A DMA key's link is not protected against
// a concurrent change: use TarvexReadRec for that.
void TarvexFindRecPtr(int64_t satKey, TarvexRecord*& rec, std::string* msg = nullptr);
void TarvexGetRec(TarvexRecord& rec, const TarvexBinTree* node);
int64_t TarvexSatKeyGet(int32_t satNum);
int32_t TarvexGetNumOfTreeNodes();
void TarvexGetTreeKeys(int32_t& count, int64_t* keys, int32_t order, int64_t maxKeys = INT64_MAX);
bool TarvexTreeIsEmpty();
void TarvexBeginRead();
void TarvexEndRead();
// Writes for each record its "#TARVEXON = " line (when labelled) and its "EPHFIL = " line, in
// pre-order; returns how many records could not be written.
int32_t TarvexWriteLines(int32_t unit);

// Runs read(record) on the stored record of satKey on the read side, for both key modes (a DMA
// key's record cannot then be changed or freed meanwhile), and leaves the read side on every path.
// Returns false, with *msg set when given, when no record has the key.
template <class ReadFn>
bool TarvexReadRec(int64_t satKey, ReadFn&& read, std::string* msg = nullptr) {
  TarvexTree& store = TarvexStore();
  const bool dma = basalon::isdma(satKey);
  if (dma) store.BeginRead();
  TarvexRecord* rec = nullptr;
  store.FindRecPtr(satKey, rec, msg);
  if (rec != nullptr) read(static_cast<const TarvexRecord&>(*rec));
  store.EndRead();
  return rec != nullptr;
}

// Runs edit(record) on the stored record of satKey as a writer (no reader inside meanwhile), for
// appending points and setting fields. False when no record has the key; code is edit's result.
template <class EditFn>
bool TarvexEditRec(int64_t satKey, EditFn&& edit, int32_t& code) {
  return TarvexStore().EditRecInPlace(satKey, edit, code);
}

// Standard key: createsatkey(satNum, 6, epochDs50UTC).
int64_t CreateSatKeyFrTarvex(const TarvexRecord& rec);
bool TarvexElsetType(int32_t code);
// Same satellite number and coordinate system, epochs within the library tolerance.
bool Equal(const TarvexRecord& a, const TarvexRecord& b);
// Sort text of listing orders 0/1: satNum as 9 digits zero padded, coordSys in 2 columns, the
// epoch (DS50 UTC) in 16 columns with 9 decimals, blanks to 32 characters.
void FieldsToStr(const TarvexRecord& rec, char out[32]);

// A new record without points, added to the store: coordinate argument's last digit (sign kept)
// is the system, the rest goes to coordSysTens. Returns the key, -1 on failure (an unknown system
// is refused with a message), 0 for a reported duplicate.
int64_t CreateNewSatEntry(int32_t satNum, double epochDs50UTC, double earthRadius, double ke, int32_t coordArg);
// First key of satNum in the store, else -1 with a logged message.
int64_t GetSatKey(int32_t satNum);

}  // namespace tarvexon
