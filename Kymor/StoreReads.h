// Reads of a stored record in the store that an element type names (TLE, Harlo, Qel, Tarvexon),
// each on its store's read side for both key modes and with the end-read on every path.
#pragma once

#include <cstdint>

#include "Qel/QelTree.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Harlo/HarloStore.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "Tarvexon/TarvexonTree.h"

namespace kymor {

// The store that holds records of an element type.
enum class StoreKind { kTle, kHarlo, kQel, kTarvex, kNone };

constexpr StoreKind storeOfEltType(int32_t eltType) {
  switch (eltType) {
    case 1:
    case 2:
    case 3:
    case 7:
      return StoreKind::kTle;
    case 4:
      return StoreKind::kHarlo;
    case 5:
      return StoreKind::kQel;
    case 6:
      return StoreKind::kTarvex;
    default:
      return StoreKind::kNone;
  }
}

// Runs read(record) on the record of satKey found with find, and returns whether there was one.
// A standard key's find enters the read side itself; a DMA key's does not, so it is entered here
// first (the record cannot then be replaced or freed while it is read). end leaves the read side
// once on every path, found or not.
template <class Record, class BeginFn, class FindFn, class EndFn, class ReadFn>
bool readStoredRec(int64_t satKey, BeginFn&& begin, FindFn&& find, EndFn&& end, ReadFn&& read) {
  if (basalon::isdma(satKey)) begin();
  Record* rec = nullptr;
  find(satKey, rec);
  if (rec != nullptr) read(static_cast<const Record&>(*rec));
  end();
  return rec != nullptr;
}

template <class ReadFn>
bool readTle(int64_t satKey, ReadFn&& read) {
  return readStoredRec<lineset::TleRecord>(
      satKey, [] { lineset::TleStore().BeginRead(); },
      [](int64_t key, lineset::TleRecord*& rec) { lineset::tlefindrecptr(key, rec); },
      [] { lineset::tleendread(); }, read);
}

template <class ReadFn>
bool readHarlo(int64_t satKey, ReadFn&& read) {
  return readStoredRec<harlo::SpVecRecord>(
      satKey, [] { harlo::HarloStore().BeginRead(); },
      [](int64_t key, harlo::SpVecRecord*& rec) { harlo::harlofindrecptr(key, rec); },
      [] { harlo::harloendread(); }, read);
}

template <class ReadFn>
bool readQel(int64_t satKey, ReadFn&& read) {
  return readStoredRec<qel::QelRecord>(
      satKey, [] { qel::QelBeginRead(); },
      [](int64_t key, qel::QelRecord*& rec) { qel::QelFindRecPtr(key, rec); }, [] { qel::QelEndRead(); },
      read);
}

template <class ReadFn>
bool readTarvex(int64_t satKey, ReadFn&& read) {
  return tarvexon::TarvexReadRec(satKey, read);
}

}  // namespace kymor
