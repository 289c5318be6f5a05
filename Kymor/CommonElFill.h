// How each store's record fills the common element data (internal to Kymor).
#pragma once

#include <cstdint>

#include "Kymor/CommonElData.h"

namespace kymor {

// What a store's fill found.
enum class FillResult {
  kFilled,    // the record was read and its values set
  kNotFound,  // no record has the key
  kNoPoints,  // an external ephemeris without points
};

// The full fills of GetCommElData (eltType is the key's type; the TLE rules depend on it).
FillResult fillFromTle(CommonSatData& rec, int64_t satKey, int32_t eltType);
FillResult fillFromHarlo(CommonSatData& rec, int64_t satKey);
FillResult fillFromQel(CommonSatData& rec, int64_t satKey);
FillResult fillFromTarvex(CommonSatData& rec, int64_t satKey);
// The reduced fill of GetCommElDataSGP (types 1 and 7).
FillResult fillFromTleSgp(CommonSatData& rec, int64_t satKey, int32_t eltType);

// Radii, semi-major axis and heights (km) from a (er), e, i and the argument of perigee (rad) with
// the radius of geo; withFlattening adds the ellipsoid's drop at the latitude of perigee.
void fillShape(CommonSatData& rec, double aEr, double ecc, double inclRad, double argPerigeeRad,
               const planix::GeoConst& geo, bool withFlattening);

}  // namespace kymor
