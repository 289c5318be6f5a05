// Element-set conversion export: code 101 turns SGP4 drag (B*) into SGP drag terms; any other
// code leaves the output untouched.
#include "DllExports/Pelmath/PelmathDllVarsUtils.h"
#include "Pelmath/ElsetConversion.h"
#include "PelmathApi/Elements.h"

namespace {
constexpr int32_t kSgp4ToSgp = 101;
}

void AstroConvFrTo(int32_t xf_Conv, const double frArr[4], double toArr[2]) {
  if (xf_Conv != kSgp4ToSgp) return;
  if (!pelmath::dll::nonNull("AstroConvFrTo", frArr, toArr)) return;
  const double a = frArr[0], e = frArr[1], incli = frArr[2], bstar = frArr[3];
  double ndot = 0.0, nddot = 0.0;
  pelmath::sgp42sgp(a, e, incli, bstar, ndot, nddot);
  toArr[0] = ndot;
  toArr[1] = nddot;
}
