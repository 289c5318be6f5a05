// The TLE store: the keyed record tree engine instantiated for two-line element sets, its
// library-level routines (finds, counts, key listings, removal, writing) and the readers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "KeyedTree/KeyedTree.h"
#include "Siblings/Basalon/LineSource.h"
#include "Siblings/Lineset/TleRecord.h"

namespace lineset {

// Element-set code written into the DMA block of a TLE in the DMA key mode. A block carries one
// code for the store that made it, so every DMA-keyed TLE reads as an SGP4 element set (type 2);
// standard keys keep the record's own type (1, 2, 3 or 7) in their last digit.
constexpr int32_t kTleDmaElsetType = kEltTleSgp4;

// Longest name line taken in front of an element set (the name field of the three-line form).
constexpr size_t kMaxNameLength = 24;

// What the engine needs to know of TLE records.
struct TleTreeTraits : keyedtree::RecordTraits<TleRecord> {
  static constexpr int32_t kElsetType = kTleDmaElsetType;
  static bool equal(const Record& a, const Record& b);
  static int32_t validate(const Record& rec);
  static int64_t makeKey(const Record& rec);
  static double epochDs50(const Record& rec);
};

using TleTree = keyedtree::KeyedTree<TleTreeTraits>;

// Counts of one load (file, unit or text).
using TleLoadCounts = basalon::LoadCounts;

// The process-wide TLE store.
TleTree& TleStore();

// ---- Store routines ---------------------------------------------------------------------------

// Stores a validated copy of rec: its key, -1 on failure (one logged line), 0 for a duplicate
// reported as an error.
int64_t AddTleToMem(const TleRecord& rec);
// Reads one element set from its optional name line and two lines and stores it: the key, -1
// when the set is bad (one logged line, nothing stored), 0 for a reported duplicate.
int64_t tleAddSatFrLines(std::string_view name, std::string_view line1, std::string_view line2);
// Standard key of a record: createsatkey(satNum, element type, epoch in DS50 UTC); -1 when none.
int64_t CreateSatKeyFrTle(const TleRecord& rec);
// Epoch of a record, DS50 UTC.
double TleEpochDs50(const TleRecord& rec);

// Borrowed link (null when not found). For a standard key the caller calls tleendread exactly
// once afterwards, found or not; DMA keys need nothing.
void tlefindrecptr(int64_t satKey, TleRecord*& rec, std::string* msg = nullptr);
void tleendread();
// Deep copy of the record; a missing key leaves satNum -123.
void tlefindrec(int64_t satKey, TleRecord& rec, std::string* msg = nullptr);
// Key of the first record with that satellite number, -1 when none.
int64_t tlesatkeyget(int32_t satNum);
int32_t tlegetnumoftreenodes();
// Keys from keys[count] on (order 0 ascending by satellite number and epoch, 1 descending,
// 2 load order, other ascending satKey); count grows by the number written, at most maxKeys.
void tlegettreekeys(int32_t& count, int64_t* keys, int32_t order, int64_t maxKeys = INT64_MAX);
bool tletreeisempty();
// Code 0, or 2 when no record has the key (one logged line).
void tleremovenode(int64_t satKey, int32_t& flag, int32_t& code);
void tleemptytree(int32_t& code);
// Writes every record in ascending key order on an open unit. saveForm 1 writes the name line in
// front of each set that has one; 0 writes the two lines only. Maneuver lines follow their set.
void tlewritelines(int32_t unit, int32_t saveForm = 0);

// ---- Readers ----------------------------------------------------------------------------------

// Loads every element set of a text (lines split at LF; CR LF accepted). See LinesetReader.cpp
// for what is recognised. Returns 0.
int32_t readTlesFrText(std::string_view text, TleLoadCounts* counts = nullptr);
// Loads every element set of an open unit (read from its first line); 0, or 2 for a refused
// unit. One information line gives the counts.
int32_t readtlesfrfileunit(int32_t unit, TleLoadCounts* counts = nullptr);
// Opens the named file (first 512 characters), loads it and closes it; the open's code when it
// cannot be opened, else that of readtlesfrfileunit.
int32_t readtlesfrfile(std::string_view fileName, TleLoadCounts* counts = nullptr);

// ---- Composing lines --------------------------------------------------------------------------

// Writes the two lines of a record from its field values (the format's resolution: 8 decimals
// of the epoch day and mean motion, 4 of the angles, 7 of the eccentricity), checksums included.
// False when a value does not fit its columns (the lines are then left as they were).
bool tleComposeLines(TleRecord& rec);

}  // namespace lineset
