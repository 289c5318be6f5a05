// The Qel store: the keyed record tree engine instantiated for Qel records, under the Qel names.
// Other libraries call these routines directly (finds, end-read, counts, key listings, removal).
#pragma once

#include <cstdint>
#include <string>

#include "KeyedTree/KeyedTree.h"
#include "Qel/QelTypes.h"

namespace qel {

// Element-set type code of Qel records (last digit of their standard keys, DMA block type).
constexpr int32_t kQelElsetType = 5;

// What the engine needs to know of Qel records.
// Records own their maneuver lines: copy and release are the Qel ones.
struct QelTreeTraits : keyedtree::RecordTraits<QelRecord> {
  static constexpr int32_t kElsetType = kQelElsetType;
  static void copy(Record& dst, const Record& src) { CopyQelRecord(dst, src); }
  static void release(Record& rec) { FreeQelRecord(rec); }
  static bool equal(const Record& a, const Record& b);
  static int32_t validate(const Record& rec) { return ValidateQelValues(rec); }
  static int64_t makeKey(const Record& rec);
  static void sortString(const Record& rec, char out[32]);
  static int32_t writeRecord(const Record& rec, int32_t unit);
};

using QelTree = keyedtree::KeyedTree<QelTreeTraits>;
using QelBinTree = QelTree::Node;

// The process-wide Qel store.
QelTree& QelStore();
// The store's writer lock: every change of the store holds it, with the readers drained. A whole
// file load takes cs_readonlyqels first, never the reverse.
inline std::mutex& cs_qel_updatenote() { return QelStore().WriterLock(); }

// Stores a validated copy of rec; satKey = its key, -1 on failure, 0 for a duplicate reported as
// an error. *node (when given) links to the new node, null when none was added.
void AddQelToMem(const QelRecord& rec, int64_t& satKey, QelBinTree** node = nullptr);
// A zeroed node of the store's pool for QelAddNode (null when memory is exhausted).
QelBinTree* QelNewNode();
// Inserts a prepared node from QelNewNode (its key may be bumped); status 0/1 inserted, 3 duplicate.
void QelAddNode(QelBinTree* node, int32_t& status);
// Removes the record of satKey; code 0, or 2 when not found or the DMA block is bad.
void QelRemoveNode(int64_t satKey, int32_t& flag, int32_t& code);
// Releases a DMA key's record and, when nothing else is attached, its block; 0 or 2.
int32_t RemoveDMA(int64_t satKey);
// Replaces the stored record of satKey by a copy of rec (the key is kept); code 0 or 2.
void QelUpdateRec(int64_t satKey, const QelRecord& rec, int32_t& code);
// Removes every record; code 0 (unchanged when the store was already empty).
void QelEmptyTree(int32_t& code);
// Deep copy of the record of satKey; not found leaves satNum -123 and a message in *msg.
void QelFindRec(int64_t satKey, QelRecord& rec, std::string* msg = nullptr);
// Borrowed link to the stored record (null when not found). For a standard key the caller calls
// QelEndRead exactly once afterwards, found or not; DMA keys need nothing.
void QelFindRecPtr(int64_t satKey, QelRecord*& rec, std::string* msg = nullptr);
// Deep copy of a node's record.
void QelGetRec(QelRecord& rec, const QelBinTree* node);
// Key of the first record (pre-order walk) with satellite number satNum; -1 if none.
int64_t QelSatKeyGet(int32_t satNum);
int32_t QelGetNumOfTreeNodes();
// Keys from keys[count] on in the given order (0 by satellite number and epoch, 1 the reverse,
// 2 load order, other ascending satKey); count grows by the number written, at most maxKeys.
void QelGetTreeKeys(int32_t& count, int64_t* keys, int32_t order, int64_t maxKeys = INT64_MAX);
bool QelTreeIsEmpty();
void QelBeginRead();
void QelEndRead();
// Writes every record in ascending key order as a multi-line message (Qel2Lines). A record that
// cannot be written (a value too large for its column, a failed write) does not stop the others;
// returns how many records were not written.
int32_t QelWriteLines(int32_t unit);
// Changes the stored record of satKey in one writer step: change(copy) returns 0 to keep its edit.
// False when no record has the key; code is change's result.
template <class ChangeFn>
bool QelModifyRec(int64_t satKey, ChangeFn&& change, int32_t& code) {
  return QelStore().ModifyRec(satKey, change, code);
}

// Standard key of a record: createsatkey(satNum, 5, epoch in DS50 UTC); -1 when none.
int64_t CreateSatKeyFrQel(const QelRecord& rec);
// DS50 UTC of a calendar date.
double InputDateToDs50(const InputDate& date);
// True for the Qel element-set type code.
bool QelElsetType(int32_t code);
// True when two records are the same message (number, epoch, ECI state, drag and SRP terms).
bool Equal(const QelRecord& a, const QelRecord& b);
// Sort text of listing orders 0/1: satNum as 9 digits zero padded, the epoch in DS50 UTC in 16
// columns with 9 decimals, blanks to 32 characters.
void FieldsToStr(const QelRecord& rec, char out[32]);

}  // namespace qel
