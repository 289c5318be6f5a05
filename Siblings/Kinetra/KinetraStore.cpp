// The store of initialised SGP4 objects: standard keys in the keyed tree (or beside it while
// the DMA key mode is on), DMA keys on their element set's DMA block; state requests by key and
// by object.
#include "Siblings/Kinetra/KinetraStore.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/LinesetStore.h"

namespace kinetra {
namespace {

// Created once and never destroyed (see the TLE store).
Sgp4Tree& gSgp4Tree = *new Sgp4Tree;

// Objects kept outside the tree: the DMA keys whose block carries one in its first attachment
// slot, and standard keys initialised while the DMA key mode was in force. The lock covers both
// and the finding and replacing of those objects. The objects are shared: a state request takes
// its own reference under the lock and propagates outside it, so an object replaced or removed
// meanwhile lives until that request ends. A DMA block's first attachment slot holds a
// SharedObj allocated for it.
std::mutex gSideLock;
using SideLock = std::lock_guard<std::mutex>;
using SharedObj = std::shared_ptr<Sgp4Obj>;
std::unordered_set<int64_t> gDmaKeys;
std::unordered_map<int64_t, SharedObj> gSide;

// Serialises this store's writers (init, removal, emptying), so that the look-up and the add or
// replace of an init are one step for every other writer.
std::mutex gWriterLock;

std::string keyField(int64_t key) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%19" PRId64, key);
  return buf;
}

void logError(const std::string& text) { basalon::tracelogerror(text); }

// The TLE store's reader and writer sections guard the DMA blocks of its element sets: the TLE
// store frees a block inside its writer section, so a block found under either section stays
// live to the section's end. Attaching an object reads the block (read side); detaching may free
// it (writer side). Order of locks: gWriterLock, gSideLock, then the TLE store's section.
using TleRead = lineset::TleTree::ReadSection;
using TleWrite = lineset::TleTree::WriterSection;

// Frees the object hanging off a DMA block, and the block itself when the element set has left
// the TLE store already. False when the key carries no object. The caller holds gSideLock and
// the TLE store's writer section.
bool detachDma(int64_t satKey) {
  basalon::DmaBlock* block = basalon::keytocptr(satKey);
  if (block == nullptr || block->attach1 == nullptr) {
    gDmaKeys.erase(satKey);
    return false;
  }
  delete static_cast<SharedObj*>(block->attach1);
  block->attach1 = nullptr;
  gDmaKeys.erase(satKey);
  if (block->rec == nullptr && block->attach2 == nullptr) basalon::dmaFree(block);
  return true;
}

// A copy of the TLE store's element set of satKey (copied under the TLE store's read side, DMA
// keys included); false when there is none.
bool findTle(int64_t satKey, lineset::TleRecord& tle, std::string& msg) {
  lineset::tlefindrec(satKey, tle, &msg);
  return tle.satNum != keyedtree::kNotFoundSatNum;
}

bool sgp4Type(int32_t t) {
  return t == lineset::kEltTleSgp || t == lineset::kEltTleSgp4 || t == lineset::kEltTleXp;
}

// State of an object at the request time in out (propagated read-only from epoch, so a stored
// object shared by several readers is never written).
void propagateState(const Sgp4Obj& obj, double time, int32_t timeType, planix::BrevantaOut& out,
                    int32_t& code, StateContent content, const char* routine) {
  const double epoch = obj.record().epoch;
  double mse = 0.0, utc = 0.0;
  switch (timeType) {
    case kTimeMse:
      mse = time;
      break;
    case kTimeDs50Tai:
      utc = chronel::tai2utc(time);
      mse = (utc - epoch) * 1440.0;
      break;
    case kTimeDs50Utc:
      utc = time;
      mse = (utc - epoch) * 1440.0;
      break;
    default:
      code = basalon::kResultFail;
      logError(std::string(routine) + ": Invalid time type " + basalon::formatI0(timeType) + ".");
      return;
  }
  Sgp4State st;
  const int rc = obj.propagateFromEpoch(mse, st);
  if (rc != kSgp4Ok) {
    code = rc;
    logError(std::string(routine) + ": SGP4 error code " + basalon::formatI0(rc) + " for satellite " +
             basalon::formatI0(static_cast<int64_t>(obj.slot(kSatNum))) + " at " +
             std::string(basalon::trim(basalon::formatF(mse, 20, 6))) + " minutes since epoch.");
    return;
  }
  toStateRecord(obj, st, out, content);
  if (timeType != kTimeMse) out.ds50UTC = utc;  // the request time itself
}

}  // namespace

Sgp4Tree& Sgp4Store() { return gSgp4Tree; }

void Sgp4TreeTraits::sortString(const Record& rec, char out[32]) {
  std::memset(out, ' ', 32);
  if (!basalon::writeIm(out, 9, 9, static_cast<int64_t>(rec.obj.slot(kSatNum)))) std::memset(out, '*', 9);
  basalon::writeF(out + 9, 16, 9, rec.obj.slot(kEpoch));
}

int32_t gpsatinit(int64_t satKey) {
  lineset::TleRecord tle;
  std::string msg;
  if (!findTle(satKey, tle, msg)) {
    logError("gpsatinit: Unable to locate satKey " + keyField(satKey) + " in the TLE tree.");
    return basalon::kResultFail;
  }
  if (!sgp4Type(tle.eltType)) {
    logError("gpsatinit: satKey " + keyField(satKey) + " is not an SGP4 element set (type " +
             basalon::formatI0(tle.eltType) + ").");
    return basalon::kResultFail;
  }
  Sgp4Obj obj;
  const int rc = initFromTle(tle, obj);
  if (rc != kSgp4Ok) {
    logError("gpsatinit: SGP4 initialisation of satKey " + keyField(satKey) + " failed with code " +
             basalon::formatI0(rc) + ".");
    return rc;
  }
  std::lock_guard<std::mutex> writer(gWriterLock);
  if (basalon::isdma(satKey)) {
    SideLock guard(gSideLock);
    TleRead tleRead(lineset::TleStore());
    basalon::DmaBlock* block = basalon::keytocptr(satKey);
    if (block == nullptr) {
      logError("gpsatinit: Unable to locate satKey " + keyField(satKey) + " in the TLE tree.");
      return basalon::kResultFail;
    }
    SharedObj* slot = new SharedObj(std::make_shared<Sgp4Obj>(std::move(obj)));
    delete static_cast<SharedObj*>(block->attach1);
    block->attach1 = slot;
    gDmaKeys.insert(satKey);
    return 0;
  }
  if (basalon::effectiveKeyMode() == 1) {
    // The tree would file the object under a new DMA key: keep it beside the tree instead.
    SideLock guard(gSideLock);
    gSide[satKey] = std::make_shared<Sgp4Obj>(std::move(obj));
    return 0;
  }
  {
    SideLock guard(gSideLock);
    gSide.erase(satKey);
  }
  Sgp4Entry entry{std::move(obj), satKey};
  Sgp4Entry* link = nullptr;
  gSgp4Tree.FindRecPtr(satKey, link);
  const bool present = link != nullptr;
  gSgp4Tree.EndRead();
  int32_t code = 0;
  if (present)
    gSgp4Tree.UpdateRec(satKey, entry, code);
  else if (gSgp4Tree.AddToMem(entry) != satKey)
    code = basalon::kResultFail;
  if (code == 0) return 0;
  logError("gpsatinit: Unable to store the SGP4 object of satKey " + keyField(satKey) + ".");
  return basalon::kResultFail;
}

void gpfindrecptr(int64_t satKey, Sgp4Obj*& obj, std::string* msg) {
  obj = nullptr;
  if (!basalon::isdma(satKey)) {
    Sgp4Entry* entry = nullptr;
    gSgp4Tree.FindRecPtr(satKey, entry, msg);
    if (entry != nullptr) {
      obj = &entry->obj;
      return;
    }
    SideLock guard(gSideLock);
    const auto it = gSide.find(satKey);
    if (it != gSide.end()) {
      obj = it->second.get();
      if (msg != nullptr) msg->clear();
    }
    return;
  }
  if (msg != nullptr) msg->clear();
  basalon::DmaBlock* block = satKey > 0 ? basalon::keytocptr(satKey) : nullptr;
  if (block != nullptr && block->attach1 != nullptr) {
    obj = static_cast<SharedObj*>(block->attach1)->get();
  } else if (msg != nullptr) {
    *msg = satKey < 1 ? "FindRecPtr: Invalid DMA key (<=0)." : "FindRecPtr: Prop data doesn't exist.";
  }
}

void gpendread() { gSgp4Tree.EndRead(); }

void gpremovenode(int64_t satKey, int32_t& flag, int32_t& code) {
  code = 0;
  std::lock_guard<std::mutex> writer(gWriterLock);
  if (!basalon::isdma(satKey)) {
    {
      SideLock guard(gSideLock);
      if (gSide.erase(satKey) > 0) return;
    }
    gSgp4Tree.RemoveNode(satKey, flag, code);
    return;
  }
  SideLock guard(gSideLock);
  TleWrite tleWrite(lineset::TleStore());
  if (!detachDma(satKey)) {
    code = basalon::kResultFail;
    logError("RemoveNode: Unable to locate this key " + keyField(satKey) + " in its binary tree.");
  }
}

void gpemptytree(int32_t& code) {
  code = 0;
  std::lock_guard<std::mutex> writer(gWriterLock);
  gSgp4Tree.EmptyTree(code);
  SideLock guard(gSideLock);
  gSide.clear();
  const std::unordered_set<int64_t> keys = gDmaKeys;
  TleWrite tleWrite(lineset::TleStore());
  for (int64_t k : keys) detachDma(k);
  gDmaKeys.clear();
}

int32_t gpGetNumOfObjects() {
  const int32_t n = gSgp4Tree.GetNumOfTreeNodes();
  SideLock guard(gSideLock);
  return n + static_cast<int32_t>(gDmaKeys.size() + gSide.size());
}

void kinetra_key(int64_t satKey, double time, int32_t timeType, planix::BrevantaOut& out, int32_t& code,
                 StateContent content) {
  planix::FreeBrevantaOut(out);
  out = planix::BrevantaOut{};
  code = 0;
  // The stored object is borrowed, not copied, and propagated read-only. A tree object is
  // propagated under this store's read side; an object beside the tree or on a DMA block under a
  // reference of its own taken under the side lock (and, for a DMA key, under the TLE store's
  // read side, which keeps the block live).
  bool found = false;
  if (basalon::isdma(satKey)) {
    std::unique_lock<std::mutex> side(gSideLock);
    TleRead tleRead(lineset::TleStore());
    basalon::DmaBlock* block = satKey > 0 ? basalon::keytocptr(satKey) : nullptr;
    if (block != nullptr && block->attach1 != nullptr) {
      const SharedObj held = *static_cast<SharedObj*>(block->attach1);
      side.unlock();
      found = true;
      propagateState(*held, time, timeType, out, code, content, "kinetra_key");
    }
  } else {
    Sgp4Entry* entry = nullptr;
    gSgp4Tree.FindRecPtr(satKey, entry);
    if (entry != nullptr) {
      found = true;
      propagateState(entry->obj, time, timeType, out, code, content, "kinetra_key");
    }
    gSgp4Tree.EndRead();
    if (!found) {
      SharedObj held;
      {
        SideLock side(gSideLock);
        const auto it = gSide.find(satKey);
        if (it != gSide.end()) held = it->second;
      }
      if (held) {
        found = true;
        propagateState(*held, time, timeType, out, code, content, "kinetra_key");
      }
    }
  }
  if (!found) {
    code = basalon::kResultFail;
    logError("kinetra_key: satKey " + keyField(satKey) + " has no initialised SGP4 object.");
  }
}

void kinetra_obj(const Sgp4Obj& obj, double time, int32_t timeType, planix::BrevantaOut& out, int32_t& code,
                 StateContent content) {
  planix::FreeBrevantaOut(out);
  out = planix::BrevantaOut{};
  code = 0;
  propagateState(obj, time, timeType, out, code, content, "kinetra_obj");
}

int32_t inittlegp(const lineset::TleRecord& tle, Sgp4Obj& obj) {
  obj.release();
  if (!sgp4Type(tle.eltType)) {
    logError("inittlegp: Satellite " + basalon::formatI0(tle.satNum) + " is not an SGP4 element set (type " +
             basalon::formatI0(tle.eltType) + ").");
    return basalon::kResultFail;
  }
  const int rc = initFromTle(tle, obj);
  if (rc != kSgp4Ok)
    logError("inittlegp: SGP4 initialisation of satellite " + basalon::formatI0(tle.satNum) +
             " failed with code " + basalon::formatI0(rc) + ".");
  return rc;
}

void freesgp4objbuf(Sgp4Obj& obj) { obj.release(); }

}  // namespace kinetra
