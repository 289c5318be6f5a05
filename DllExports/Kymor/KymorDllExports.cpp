// Flat exports of the Kymor library.
#include <Kymor.h>

#include <limits>

#include "Kymor/CommonElData.h"
#include "Kymor/GeoParams.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/SoftwareInfo.h"

int32_t KymorInit(int64_t /*apPtr*/) { return 0; }

void KymorGetInfo(char infoStr[128]) {
  if (basalon::nonNull("KymorGetInfo", infoStr)) basalon::getsoftwareinfo("Kymor", infoStr);
}

int32_t SatNumOf(int64_t satKey) { return kymor::GetSatNum(satKey); }

int32_t GetSatParameters(int64_t satKey, double satParms[32]) {
  if (!basalon::nonNull("GetSatParameters", satParms)) return basalon::kResultFail;
  kymor::SatParms parms{};
  int32_t errCode = 0;
  kymor::GetSatParms(satKey, parms, errCode);
  if (errCode == 0) basalon::toHost<kymor::kNumSatParms>(parms, satParms);
  return errCode;
}

double CompLonEastSubPt(double ds50UTC, double node, double omega, double mo) {
  if (!basalon::allFinite("CompLonEastSubPt", {ds50UTC, node, omega, mo}))
    return std::numeric_limits<double>::quiet_NaN();
  return kymor::LonEastSubPt(ds50UTC, node, omega, mo);
}

int32_t IsGeoOrbit(double incli, double period) {
  if (!basalon::allFinite("IsGeoOrbit", {incli, period})) return 0;
  return kymor::IsGeoSat(incli, period) ? 1 : 0;
}
