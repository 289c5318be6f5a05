// The store of initialised SGP4 objects, keyed by the satKey of their TLE-store element set, and
// the state requests on it (by key or by object, in minutes since epoch, DS50 TAI or DS50 UTC).
#pragma once

#include <cstdint>
#include <string>

#include "KeyedTree/KeyedTree.h"
#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/TleRecord.h"
#include "Siblings/Planix/StateRecord.h"

namespace kinetra {

// Time systems of a state request.
constexpr int32_t kTimeMse = 1;      // minutes since the element set's epoch
constexpr int32_t kTimeDs50Tai = 2;  // DS50 TAI
constexpr int32_t kTimeDs50Utc = 3;  // DS50 UTC

// One stored object with the key of its element set (the key is never made here).
struct Sgp4Entry {
  Sgp4Obj obj;
  int64_t satKey = 0;
};

// What the engine needs to know of stored objects. Every object under one key belongs to the
// same element set, so an add under a key already taken counts as a duplicate (gpsatinit then
// replaces the object instead). Objects of DMA-keyed element sets are not kept in the tree: they
// hang off the element set's DMA block (its first attachment slot). Objects initialised while
// the DMA key mode is in force for a standard key are kept beside the tree, in a locked map.
struct Sgp4TreeTraits : keyedtree::RecordTraits<Sgp4Entry> {
  static constexpr int32_t kElsetType = -1;  // never matches a block: this store makes none
  static void release(Record& rec) { rec.obj.release(); }
  static bool equal(const Record&, const Record&) { return true; }
  static int32_t validate(const Record&) { return 0; }
  static int64_t makeKey(const Record& rec) { return rec.satKey; }
  static int32_t satNum(const Record& rec) { return static_cast<int32_t>(rec.obj.slot(kSatNum)); }
  static void markNotFound(Record& rec) { rec = Sgp4Entry{}; }
  static void sortString(const Record& rec, char out[32]);
};

using Sgp4Tree = keyedtree::KeyedTree<Sgp4TreeTraits>;

// The process-wide store of initialised objects.
Sgp4Tree& Sgp4Store();

// Initialises an object from the element set of satKey in the TLE store and stores it under the
// same key (replacing an earlier one). 0, 2 when the key has no SGP4 element set (one logged
// line), or the model's code when the elements cannot be propagated (one logged line).
int32_t gpsatinit(int64_t satKey);
// Borrowed link to the stored object (null with a message when there is none). For a standard
// key the read side stays entered until gpendread, called exactly once, found or not.
void gpfindrecptr(int64_t satKey, Sgp4Obj*& obj, std::string* msg = nullptr);
void gpendread();
// Removes the object of satKey: code 0, or 2 when there is none (one logged line).
void gpremovenode(int64_t satKey, int32_t& flag, int32_t& code);
// Removes every object: code 0.
void gpemptytree(int32_t& code);
// Number of stored objects (DMA-keyed ones included).
int32_t gpGetNumOfObjects();

// SGP4 state of the stored object of satKey at a time (timeType 1 minutes since epoch, 2 DS50
// TAI, 3 DS50 UTC). out is released first and stays cleared on failure: code 2 (no object, bad
// time type) or the model's code, each with one logged line. The stored object is propagated in
// place, read-only from epoch, and never copied; StateContent::kPosVel leaves the two element
// sets zero for callers that take only position and velocity.
void kinetra_key(int64_t satKey, double time, int32_t timeType, planix::BrevantaOut& out, int32_t& code,
                 StateContent content = StateContent::kWithElements);
// The same from an object (propagated read-only, so the caller's object is untouched).
void kinetra_obj(const Sgp4Obj& obj, double time, int32_t timeType, planix::BrevantaOut& out, int32_t& code,
                 StateContent content = StateContent::kWithElements);

// Initialises a temporary object from a TLE record: 0, or the model's code (one logged line).
int32_t inittlegp(const lineset::TleRecord& tle, Sgp4Obj& obj);
// Releases the object's buffers.
void freesgp4objbuf(Sgp4Obj& obj);

// The element set of satKey moved to the DS50 UTC epoch newEpoch: SGP4 mean elements that
// reproduce, at newEpoch, the state SGP4 gives there from the stored set (see KinetraReepoch.cpp).
// code 0, 2 when the key has no SGP4 element set or the fit does not converge (one logged line),
// or the model's code when the set cannot be propagated to newEpoch.
void reepochtle(int64_t satKey, double newEpoch, lineset::TleRecord& out, int32_t& code);
// The same from a TLE record.
void reepochTleRecord(const lineset::TleRecord& tle, double newEpoch, lineset::TleRecord& out, int32_t& code);

}  // namespace kinetra
