// The element and propagator types of a satKey, the common element data of any loaded satellite,
// single fields of it, and the search of a satellite number across the stores.
#include "Kymor/CommonElData.h"

#include <cmath>

#include "Kymor/CommonElFill.h"
#include "Kymor/StoreReads.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Chronel/Chronel.h"

namespace kymor {
namespace {

// Tree named in the "unable to locate" messages of each store.
const char* treeNameOf(StoreKind store) {
  switch (store) {
    case StoreKind::kTle:
      return "TLE tree";
    case StoreKind::kHarlo:
      return "HARLO tree";
    case StoreKind::kQel:
      return "QEL binary tree";
    case StoreKind::kTarvex:
      return "Tarvexon binary tree";
    case StoreKind::kNone:
      break;
  }
  return "";
}

long long keyArg(int64_t satKey) { return static_cast<long long>(satKey); }

// The new record with errCode 2: what a failed fill leaves.
void markFailed(CommonSatData& rec) {
  rec = CommonSatData{};
  rec.errCode = basalon::kResultFail;
}

// True when every number of a filled record is finite and the mean motion positive: an element
// set or state that gives no closed orbit (mean motion 0, a state at the origin, an escape
// trajectory) must not pass its NaN or infinite values on as a success.
bool holdsFiniteOrbit(const CommonSatData& rec) {
  if (rec.noElements != 0) return true;
  const double values[] = {rec.epochDs50UTC,  rec.meanAnomaly,  rec.node,          rec.argPerigee,
                           rec.period,        rec.ecc,          rec.incl,          rec.meanMotion,
                           rec.perigeeHeight, rec.apogeeHeight, rec.perigeeRadius, rec.apogeeRadius,
                           rec.semiMajorAxis, rec.dragTerm,     rec.extra1,        rec.extra2,
                           rec.extra3,        rec.extra4,       rec.nDot,          rec.n2Dot};
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return rec.meanMotion > 0.0;
}

// Epoch in TAI, category, and the check of the numbers; false (logged, record failed) when the
// record's numbers hold no orbit.
bool finishFill(CommonSatData& rec, const char* routine, int64_t satKey) {
  if (!holdsFiniteOrbit(rec)) {
    markFailed(rec);
    basalon::logErrorf("%s: satKey %19lld has no finite mean elements.", routine, keyArg(satKey));
    return false;
  }
  rec.epochDs50TAI = chronel::utc2tai(rec.epochDs50UTC);
  rec.satCategory = GetSatCat(rec.period, rec.perigeeHeight);
  return true;
}

// Whether a record has the key in the store of that element type, on its read side.
bool recordExists(StoreKind store, int64_t satKey) {
  auto any = [](const auto&) {};
  switch (store) {
    case StoreKind::kTle:
      return readTle(satKey, any);
    case StoreKind::kHarlo:
      return readHarlo(satKey, any);
    case StoreKind::kQel:
      return readQel(satKey, any);
    case StoreKind::kTarvex:
      return readTarvex(satKey, any);
    case StoreKind::kNone:
      break;
  }
  return false;
}

}  // namespace

int32_t GetOrbEltType(int64_t satKey) {
  if (!basalon::isdma(satKey)) return static_cast<int32_t>(satKey % 10);
  // Only the registry turns a DMA key into its block; a key naming no live block has no type.
  const basalon::DmaBlock* block = basalon::keytocptr(satKey);
  if (block == nullptr || block->self == 0 || block->self != basalon::satkeytoaddr(satKey)) return 0;
  return block->elsetType;
}

int32_t PropTypeOfEltType(int32_t eltType) {
  switch (eltType) {
    case kEltTypeTleSgp:
    case kEltTypeTleSgp4:
    case kEltTypeTleXp:
      return kPropTypeSgp4;
    case kEltTypeTleSp:
    case kEltTypeSpVec:
    case kEltTypeQel:
      return kPropTypeSp;
    case kEltTypeTarvex:
      return kPropTypeExtEphem;
    default:
      return kPropTypeNone;
  }
}

int32_t GetPropType(int64_t satKey) { return PropTypeOfEltType(GetOrbEltType(satKey)); }

void GetCommElData(CommonSatData& rec, int64_t satKey) {
  rec = CommonSatData{};
  const int32_t eltType = GetOrbEltType(satKey);
  const StoreKind store = storeOfEltType(eltType);
  FillResult result = FillResult::kNotFound;
  switch (store) {
    case StoreKind::kTle:
      result = fillFromTle(rec, satKey, eltType);
      break;
    case StoreKind::kHarlo:
      result = fillFromHarlo(rec, satKey);
      break;
    case StoreKind::kQel:
      result = fillFromQel(rec, satKey);
      break;
    case StoreKind::kTarvex:
      result = fillFromTarvex(rec, satKey);
      break;
    case StoreKind::kNone:
      markFailed(rec);
      basalon::logErrorf("GetCommElData:  This satellite = %19lld is not a valid satellite.", keyArg(satKey));
      return;
  }
  if (result == FillResult::kNotFound) {
    markFailed(rec);
    basalon::logErrorf("GetCommElData:  Unable to locate satKey %19lld in the %s.", keyArg(satKey),
                       treeNameOf(store));
    return;
  }
  if (result == FillResult::kNoPoints) {
    markFailed(rec);
    basalon::logErrorf("GetCommElData: satKey %19lld does not contain any ephemeris data.", keyArg(satKey));
    return;
  }
  finishFill(rec, "GetCommElData", satKey);
}

void GetCommElDataSGP(CommonSatData& rec, int64_t satKey) {
  rec = CommonSatData{};
  const int32_t eltType = GetOrbEltType(satKey);
  if (eltType != kEltTypeTleSgp && eltType != kEltTypeTleXp) {
    markFailed(rec);
    basalon::fail("GetCommElDataSGP: Must be ELTTYPE_TLE_SGP or ELTTYPE_TLE_XP type");
    return;
  }
  if (fillFromTleSgp(rec, satKey, eltType) != FillResult::kFilled) {
    markFailed(rec);
    basalon::logErrorf("GetCommElDataSGP:  Unable to locate satKey %19lld in the TLE tree.", keyArg(satKey));
    return;
  }
  finishFill(rec, "GetCommElDataSGP", satKey);
}

int32_t GetSatNum(int64_t satKey) {
  int32_t satNum = -1;
  auto take = [&satNum](const auto& r) { satNum = r.satNum; };
  switch (storeOfEltType(GetOrbEltType(satKey))) {
    case StoreKind::kTle:
      readTle(satKey, take);
      break;
    case StoreKind::kHarlo:
      readHarlo(satKey, take);
      break;
    case StoreKind::kQel:
      readQel(satKey, take);
      break;
    case StoreKind::kTarvex:
      readTarvex(satKey, take);
      break;
    case StoreKind::kNone:
      break;
  }
  return satNum;
}

int64_t SatNum2SatKey(int32_t satNum) {
  if (satNum == 0) return basalon::kKeyFail;
  int64_t satKey = lineset::tlesatkeyget(satNum);
  if (satKey == basalon::kKeyFail) satKey = harlo::harlosatkeyget(satNum);
  if (satKey == basalon::kKeyFail) satKey = qel::QelSatKeyGet(satNum);
  if (satKey == basalon::kKeyFail) satKey = tarvexon::TarvexSatKeyGet(satNum);
  if (satKey == basalon::kKeyFail)
    basalon::logErrorf(
        "BrevantaNumToKey: Unable to locate satellite number %9d in the TLE/HARLO/QEL/TARVEXM binary trees.",
        satNum);
  return satKey;
}

int32_t KymorFindKey(int64_t satKey) {
  const StoreKind store = storeOfEltType(GetOrbEltType(satKey));
  if (store == StoreKind::kNone) {
    basalon::fail("KymorFindKey:  Invalid orbital element type");
    return 0;
  }
  if (recordExists(store, satKey)) return 1;
  basalon::logErrorf("KymorFindKey:  Unable to locate satKey %19lld in the %s.", keyArg(satKey),
                     treeNameOf(store));
  return 0;
}

void GetElDataField(int64_t satKey, int32_t index, double& value, int32_t& errCode) {
  CommonSatData rec;
  GetCommElData(rec, satKey);
  errCode = rec.errCode;
  if (errCode != basalon::kResultOk) return;
  switch (static_cast<ElDataField>(index)) {
    case ElDataField::kEpochDs50UTC:
      value = rec.epochDs50UTC;
      break;
    case ElDataField::kMeanAnomaly:
      value = rec.meanAnomaly;
      break;
    case ElDataField::kNode:
      value = rec.node;
      break;
    case ElDataField::kArgPerigee:
      value = rec.argPerigee;
      break;
    case ElDataField::kPeriod:
      value = rec.period;
      break;
    case ElDataField::kEcc:
      value = rec.ecc;
      break;
    case ElDataField::kIncl:
      value = rec.incl;
      break;
    case ElDataField::kMeanMotion:
      value = rec.meanMotion;
      break;
    case ElDataField::kDragTerm:
      value = rec.dragTerm;
      break;
    case ElDataField::kPerigeeHeight:
      value = rec.perigeeHeight;
      break;
    case ElDataField::kApogeeHeight:
      value = rec.apogeeHeight;
      break;
    case ElDataField::kPerigeeRadius:
      value = rec.perigeeRadius;
      break;
    case ElDataField::kApogeeRadius:
      value = rec.apogeeRadius;
      break;
    case ElDataField::kSemiMajorAxis:
      value = rec.semiMajorAxis;
      break;
    case ElDataField::kSatCategory:
      value = rec.satCategory;
      break;
    case ElDataField::kEccTimesTenAtLeastTwo: {
      // 2 also when 10 e is NaN (the comparison is then false).
      const double tenEcc = 10.0 * rec.ecc;
      value = tenEcc > 2.0 ? tenEcc : 2.0;
      break;
    }
    case ElDataField::kExtra1:
      value = rec.extra1;
      break;
    default:
      break;
  }
}

void GetElDataOptionals(int64_t satKey, int32_t& errCode, const ElDataOutputs& out) {
  CommonSatData rec;
  GetCommElData(rec, satKey);
  errCode = rec.errCode;
  if (errCode != basalon::kResultOk) return;
  auto put = [](auto* dst, auto value) {
    if (dst != nullptr) *dst = value;
  };
  put(out.satNum, rec.satNum);
  if (out.designator != nullptr)
    basalon::strtochararr(rec.designator.view(), out.designator, rec.designator.size());
  put(out.elsetNum, rec.elsetNum);
  put(out.eltType, rec.eltType);
  put(out.revNum, rec.revNum);
  put(out.epochDs50UTC, rec.epochDs50UTC);
  put(out.epochDs50TAI, rec.epochDs50TAI);
  put(out.meanAnomaly, rec.meanAnomaly);
  put(out.node, rec.node);
  put(out.argPerigee, rec.argPerigee);
  put(out.period, rec.period);
  put(out.ecc, rec.ecc);
  put(out.incl, rec.incl);
  put(out.meanMotion, rec.meanMotion);
  put(out.dragTerm, rec.dragTerm);
  put(out.perigeeHeight, rec.perigeeHeight);
  put(out.apogeeHeight, rec.apogeeHeight);
  put(out.perigeeRadius, rec.perigeeRadius);
  put(out.apogeeRadius, rec.apogeeRadius);
  put(out.semiMajorAxis, rec.semiMajorAxis);
  put(out.extra1, rec.extra1);
  put(out.extra2, rec.extra2);
  put(out.extra3, rec.extra3);
  put(out.nDot, rec.nDot);
  put(out.n2Dot, rec.n2Dot);
  put(out.noElements, rec.noElements);
  put(out.extra4, rec.extra4);
  put(out.satCategory, rec.satCategory);
}

const planix::GeoConst& GetGeoConst(std::string_view name) {
  const std::string_view model = name.substr(0, 6);
  if (model == "EGM-96") return planix::egm96;
  if (model == "WGS-72") return planix::wgs72;
  if (model == "WGS-84") return planix::wgs84;
  return planix::genvgeo();
}

int32_t GetSatCat(double period, double perigeeHeight) {
  if (period >= 1200.0 && period <= 1800.0) return kSatCatGeo;
  if (period >= 225.0) return kSatCatDeepSpace;
  return perigeeHeight < 575.0 ? kSatCatLowPerigee : kSatCatNearEarth;
}

}  // namespace kymor
