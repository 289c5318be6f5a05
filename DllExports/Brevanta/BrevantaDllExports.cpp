// Flat exports of the Brevanta library: satellite preparation and removal, and states at a time
// in km, km/s and geodetic degrees.
#include <Brevanta.h>

#include "Brevanta/PropObjects.h"
#include "Brevanta/StateAtTime.h"
#include "Pelmath/EarthFrames.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Planix/Planix.h"

namespace {

// The host's outputs of a state export; the time slot is the MSE or the DS50 UTC of the state.
struct StateOutputs {
  double* time;
  int32_t* revNum;
  double* pos;
  double* vel;
  double* llh;

  void zero() const {
    *time = 0.0;
    *revNum = 0;
    for (int k = 0; k < 3; ++k) pos[k] = vel[k] = llh[k] = 0.0;
  }
};

// One state by key for a state export: outputs zeroed, the state taken without elements, and
// written out in km, km/s and geodetic degrees. A satellite that comes back with no state
// (a Qel message asked at a UTC time) is refused.
int32_t stateExport(const char* exportName, int64_t satKey, double time, brevanta::TimeType timeType,
                    const StateOutputs& o) {
  if (!basalon::nonNull(exportName, o.time, o.revNum, o.pos, o.vel, o.llh)) return basalon::kResultFail;
  o.zero();
  if (!basalon::allFinite(exportName, {time})) return basalon::kResultFail;
  const char* routine = timeType == brevanta::TimeType::kMse ? "BrevantaInMSE_Key" : "BrevantaInTAI_Key";
  planix::BrevantaOut out;
  int32_t code = 0;
  brevanta::stateByKey(satKey, time, timeType, out, code, brevanta::StateContent::kPosVel, routine);
  if (code != basalon::kResultOk) return code;
  if (out.geoConst == nullptr)
    return basalon::failf("%s: This satellite = %19lld is not propagated by Brevanta.", exportName,
                          static_cast<long long>(satKey));
  *o.time = timeType == brevanta::TimeType::kMse ? out.ds50UTC : out.mse;
  *o.revNum = out.revNum;
  const planix::GeoConst& geo = *out.geoConst;
  for (size_t k = 0; k < 3; ++k) {
    o.pos[k] = out.pos[k] * geo.earthRadius;
    o.vel[k] = out.vel[k] / geo.kmPerSecToErPerKemin;
  }
  basalon::Vec3 llh{};
  pelmath::xyz2llh(chronel::getthgr(chronel::utc2ut1(out.ds50UTC), planix::genvfk()), out.pos, llh);
  o.llh[0] = llh[0] * basalon::kRadToDeg;
  o.llh[1] = llh[1] * basalon::kRadToDeg;
  o.llh[2] = llh[2] * planix::genvgeo().earthRadius;
  return basalon::kResultOk;
}

}  // namespace

int32_t BrevantaInit(int64_t /*apPtr*/) { return 0; }

void BrevantaGetInfo(char infoStr[128]) {
  if (basalon::nonNull("BrevantaGetInfo", infoStr)) basalon::getsoftwareinfo("Brevanta", infoStr);
}

int32_t BrevantaInitSat(int64_t satKey) { return brevanta::InitSat(satKey); }

int32_t BrevantaRemoveSat(int64_t satKey) { return brevanta::RemoveSat(satKey); }

int32_t BrevantaRemoveSatAll(int64_t satKey) { return brevanta::removeSatAll(satKey); }

int32_t BrevantaRemoveAllSats(void) { return brevanta::RemoveAllSats(); }

void BrevantaReset(void) {}

int32_t BrevantaDs50UTC(int64_t satKey, double ds50UTC, double* mse, int32_t* revNum, double pos[3],
                        double vel[3], double llh[3]) {
  return stateExport("BrevantaDs50UTC", satKey, ds50UTC, brevanta::TimeType::kDs50Utc,
                     {mse, revNum, pos, vel, llh});
}

int32_t BrevantaMse(int64_t satKey, double mse, double* ds50UTC, int32_t* revNum, double pos[3],
                    double vel[3], double llh[3]) {
  return stateExport("BrevantaMse", satKey, mse, brevanta::TimeType::kMse, {ds50UTC, revNum, pos, vel, llh});
}
