// Flat exports of the Kinetra library: SGP4 objects by satKey, states in km and km/s.
#include <Kinetra.h>

#include <string>

#include "KeyedTree/StoreExports.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Kinetra/KinetraStore.h"

namespace {

// A state of the store in km and km/s, or zeros with a non-zero code. A non-finite time is
// refused before the model sees it. Only position and velocity are asked of the store.
int32_t propagate(const char* routine, int64_t satKey, double time, int32_t timeType, double* otherTime,
                  double pos[3], double vel[3]) {
  if (otherTime != nullptr) *otherTime = 0.0;
  for (int k = 0; k < 3; ++k) {
    if (pos != nullptr) pos[k] = 0.0;
    if (vel != nullptr) vel[k] = 0.0;
  }
  if (!basalon::nonNull(routine, otherTime, pos, vel) || !basalon::allFinite(routine, {time}))
    return basalon::kResultFail;
  planix::BrevantaOut out;
  int32_t code = 0;
  kinetra::kinetra_key(satKey, time, timeType, out, code, kinetra::StateContent::kPosVel);
  if (code != 0 || out.geoConst == nullptr) {
    planix::FreeBrevantaOut(out);
    return code != 0 ? code : basalon::fail(std::string(routine) + ": No Earth constants in the state.");
  }
  for (int k = 0; k < 3; ++k) {
    pos[k] = out.pos[k] * out.geoConst->earthRadius;
    vel[k] = out.vel[k] / out.geoConst->kmPerSecToErPerKemin;
  }
  *otherTime = timeType == kinetra::kTimeMse ? out.ds50UTC : out.mse;
  planix::FreeBrevantaOut(out);
  return basalon::kResultOk;
}

}  // namespace

int32_t KinetraInit(int64_t /*apPtr*/) { return basalon::kResultOk; }

void KinetraGetInfo(char infoStr[128]) {
  if (basalon::nonNull("KinetraGetInfo", infoStr)) basalon::getsoftwareinfo("Kinetra", infoStr);
}

int32_t KinetraInitSat(int64_t satKey) { return kinetra::gpsatinit(satKey); }

int32_t KinetraPropMse(int64_t satKey, double mse, double* ds50UTC, double pos[3], double vel[3]) {
  return propagate("KinetraPropMse", satKey, mse, kinetra::kTimeMse, ds50UTC, pos, vel);
}

int32_t KinetraPropDs50UTC(int64_t satKey, double ds50UTC, double* mse, double pos[3], double vel[3]) {
  return propagate("KinetraPropDs50UTC", satKey, ds50UTC, kinetra::kTimeDs50Utc, mse, pos, vel);
}

int32_t KinetraGetCount(void) { return kinetra::gpGetNumOfObjects(); }

int32_t KinetraRemoveSat(int64_t satKey) { return keyedtree::removeSatExport(kinetra::gpremovenode, satKey); }

int32_t KinetraRemoveAllSats(void) { return keyedtree::removeAllExport(kinetra::gpemptytree); }
