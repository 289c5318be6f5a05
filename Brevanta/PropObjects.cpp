// Preparation of satellites for their propagators, the by-object record, and removal from the
// stores. Every find in a store is paired with that store's end-read on every path.
#include "Brevanta/PropObjects.h"

#include <string>

#include "Kymor/CommonElData.h"
#include "Kymor/StoreReads.h"
#include "Qel/QelTree.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Harlo/HarloStore.h"
#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "Tarvexon/TarvexonTree.h"

namespace brevanta {
namespace {

long long keyArg(int64_t satKey) { return static_cast<long long>(satKey); }

// Runs read(object) on the stored SGP4 object of satKey and returns whether there was one; msg
// receives the store's find message. A standard key's find enters the SGP4 store's read side and
// leaves it once here; a DMA key's object hangs off its element set's DMA block, which stays live
// while the TLE store's read side is held.
template <class ReadFn>
bool readSgp4Obj(int64_t satKey, ReadFn&& read, std::string& msg) {
  kinetra::Sgp4Obj* found = nullptr;
  if (basalon::isdma(satKey)) {
    lineset::TleTree::ReadSection keepBlock(lineset::TleStore());
    kinetra::gpfindrecptr(satKey, found, &msg);
    if (found != nullptr) read(static_cast<const kinetra::Sgp4Obj&>(*found));
    return found != nullptr;
  }
  kinetra::gpfindrecptr(satKey, found, &msg);
  if (found != nullptr) read(static_cast<const kinetra::Sgp4Obj&>(*found));
  kinetra::gpendread();
  return found != nullptr;
}

}  // namespace

CommonPropObj::CommonPropObj(const CommonPropObj& o) { CopyCommonPropObj(*this, o); }

CommonPropObj& CommonPropObj::operator=(const CommonPropObj& o) {
  CopyCommonPropObj(*this, o);
  return *this;
}

CommonPropObj::~CommonPropObj() { FreeCommonPropObj(*this); }

void CopyCommonPropObj(CommonPropObj& dst, const CommonPropObj& src) {
  if (&dst == &src) return;
  // The new parts are made before the old ones go, so a copy from a part of dst stays valid.
  auto sgp4 = src.sgp4Obj ? std::make_unique<kinetra::Sgp4Obj>(*src.sgp4Obj) : nullptr;
  std::unique_ptr<tarvexon::TarvexRecord> rec;
  if (src.tarvexRec) {
    rec = std::make_unique<tarvexon::TarvexRecord>();
    tarvexon::CopyTarvexRecord(*rec, *src.tarvexRec);
  }
  FreeCommonPropObj(dst);
  dst.propType = src.propType;
  dst.satKey = src.satKey;
  dst.sgp4Obj = std::move(sgp4);
  dst.tarvexRec = std::move(rec);
}

void FreeCommonPropObj(CommonPropObj& obj) {
  if (obj.sgp4Obj) kinetra::freesgp4objbuf(*obj.sgp4Obj);
  obj.sgp4Obj.reset();
  if (obj.tarvexRec) tarvexon::FreeTarvexRecord(*obj.tarvexRec);
  obj.tarvexRec.reset();
  obj.propType = 0;
  obj.satKey = 0;
}

void FreeCommonPropObjArray(CommonPropObj* objs, size_t n) {
  if (objs == nullptr) return;
  for (size_t i = 0; i < n; ++i) FreeCommonPropObj(objs[i]);
}

int32_t InitSat(int64_t satKey) {
  switch (kymor::GetPropType(satKey)) {
    case kymor::kPropTypeSgp4:
      return kinetra::gpsatinit(satKey);
    case kymor::kPropTypeExtEphem: {
      bool hasPoints = false;
      std::string msg;
      const bool found = tarvexon::TarvexReadRec(
          satKey,
          [&hasPoints](const tarvexon::TarvexRecord& rec) {
            hasPoints = rec.numPts >= 1 && rec.points.size() >= static_cast<size_t>(rec.numPts);
          },
          &msg);
      if (!found) return basalon::fail(msg);
      if (!hasPoints) return basalon::fail("InitSat: Buffer not initialized.");
      return basalon::kResultOk;
    }
    default:
      return basalon::failf("InitSat:  This satellite = %19lld is not a valid satellite.", keyArg(satKey));
  }
}

void GetPropObj(int64_t satKey, CommonPropObj& obj, int32_t& code) {
  FreeCommonPropObj(obj);
  code = basalon::kResultOk;
  obj.satKey = satKey;
  switch (kymor::GetOrbEltType(satKey)) {
    case kymor::kEltTypeTarvex:
      obj.propType = kymor::kPropTypeExtEphem;
      return;
    case kymor::kEltTypeTleSgp:
    case kymor::kEltTypeTleSgp4:
    case kymor::kEltTypeTleXp:
      obj.propType = kymor::kPropTypeSgp4;
      break;
    default:
      obj.propType = kymor::kPropTypeNone;
      return;
  }
  std::string msg;
  auto copy = std::make_unique<kinetra::Sgp4Obj>();
  if (!readSgp4Obj(
          satKey, [&copy](const kinetra::Sgp4Obj& stored) { *copy = stored; }, msg)) {
    code = basalon::fail(msg.empty() ? "GetPropObj: No initialised SGP4 object for this satellite." : msg);
    return;
  }
  obj.sgp4Obj = std::move(copy);
}

int32_t RemoveSat(int64_t satKey) {
  int32_t flag = 0, code = 0;
  switch (kymor::storeOfEltType(kymor::GetOrbEltType(satKey))) {
    case kymor::StoreKind::kTle:
      lineset::tleremovenode(satKey, flag, code);
      return code;
    case kymor::StoreKind::kHarlo:
      harlo::harloremovenode(satKey, flag, code);
      return code;
    case kymor::StoreKind::kQel:
      qel::QelRemoveNode(satKey, flag, code);
      return code;
    case kymor::StoreKind::kTarvex:
      tarvexon::TarvexRemoveNode(satKey, flag, code);
      return code;
    case kymor::StoreKind::kNone:
      break;
  }
  return basalon::failf("RemoveSat:  This satellite = %19lld is not a valid satellite.", keyArg(satKey));
}

int32_t RemoveAllSats() {
  int32_t code = 0;
  lineset::tleemptytree(code);
  if (code != 0) return code;
  harlo::harloemptytree(code);
  if (code != 0) return code;
  qel::QelEmptyTree(code);
  if (code != 0) return code;
  tarvexon::TarvexEmptyTree(code);
  if (code != 0) return code;
  kinetra::gpemptytree(code);
  return code;
}

int32_t removeSatAll(int64_t satKey) {
  const int32_t propType = kymor::GetPropType(satKey);  // before the element set leaves its store
  const int32_t code = RemoveSat(satKey);
  if (propType != kymor::kPropTypeSgp4) return code;
  int32_t flag = 0, objCode = 0;
  kinetra::gpremovenode(satKey, flag, objCode);
  if (objCode != 0 && code != 0)
    return basalon::failf("BrevantaRemoveSatAll: The requested satellite %19lld does not exist.",
                          keyArg(satKey));
  return basalon::kResultOk;
}

}  // namespace brevanta
