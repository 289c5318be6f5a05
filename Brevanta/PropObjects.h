// One satellite prepared for state computation: the by-object record (a private copy of the
// satellite's initialised SGP4 object), the preparation of a satellite for its propagator, and
// the removal of satellites from the stores that hold them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "Siblings/Kinetra/Sgp4.h"
#include "Tarvexon/TarvexonTypes.h"

namespace brevanta {

// One satellite prepared for states by object. A new record is all zero with both parts absent.
// Copying copies both parts deeply; FreeCommonPropObj releases them.
struct CommonPropObj {
  int32_t propType = 0;  // 1 SGP4, 3 external ephemeris, 4 none (as GetPropObj sets it)
  int64_t satKey = 0;
  std::unique_ptr<kinetra::Sgp4Obj> sgp4Obj;          // present for propType 1 only
  std::unique_ptr<tarvexon::TarvexRecord> tarvexRec;  // never filled here; copied and released

  CommonPropObj() = default;
  CommonPropObj(const CommonPropObj& o);
  CommonPropObj& operator=(const CommonPropObj& o);
  CommonPropObj(CommonPropObj&&) noexcept = default;
  CommonPropObj& operator=(CommonPropObj&&) noexcept = default;
  ~CommonPropObj();
};

// Deep copy of src into dst (onto itself nothing).
void CopyCommonPropObj(CommonPropObj& dst, const CommonPropObj& src);
// Releases both parts through their libraries' release routines; the record is then as new.
void FreeCommonPropObj(CommonPropObj& obj);
// FreeCommonPropObj on each of n records.
void FreeCommonPropObjArray(CommonPropObj* objs, size_t n);

// Prepares one satellite: SGP4 initialisation, or the check that an external ephemeris has
// points. 0, the SGP4 library's code, or 2 with one logged line.
int32_t InitSat(int64_t satKey);
// Fills obj for satKey (released first): propType 1 with a copy of the stored SGP4 object,
// 3 for an external ephemeris, 4 otherwise. code 0, or 2 (logged) when an SGP4 satellite has no
// initialised object.
void GetPropObj(int64_t satKey, CommonPropObj& obj, int32_t& code);
// Removes the satellite from the store of its element type: the store's code, or 2 (logged) for
// an element type no store holds.
int32_t RemoveSat(int64_t satKey);
// Empties the TLE, SP vector, Qel, Tarvexon and SGP4 stores in that order; the first non-zero
// code stops it.
int32_t RemoveAllSats();
// Removes the satellite from its element store and, for an SGP4 satellite, its SGP4 object:
// RemoveSat's code for other satellites; for SGP4 ones 0 when either removal succeeded, else 2
// (logged).
int32_t removeSatAll(int64_t satKey);

}  // namespace brevanta
