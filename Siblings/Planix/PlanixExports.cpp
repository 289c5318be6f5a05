// Flat exports of the Planix stand-in.
#include <Planix.h>

#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Planix/Planix.h"

int32_t PlanixInit(int64_t /*apPtr*/) { return 0; }

void PlanixGetInfo(char infoStr[128]) {
  if (basalon::nonNull("PlanixGetInfo", infoStr)) basalon::getsoftwareinfo("Planix", infoStr);
}

int32_t PlanixSetGeoModel(int32_t model) {
  if (planix::setGeoModel(model) != basalon::kResultOk)
    return basalon::failf("PlanixSetGeoModel: Unknown Earth constant set %d (72, 84 or 96)", model);
  return basalon::kResultOk;
}

int32_t PlanixGetGeoModel(void) { return planix::getGeoModel(); }

void PlanixGetGeoConst(double geoConst[9]) {
  if (!basalon::nonNull("PlanixGetGeoConst", geoConst)) return;
  const planix::GeoConst& g = planix::genvgeo();
  basalon::toHost<9>({g.flatLlh, g.flatGeod, g.j2, g.ke, g.earthRadius, g.ck2, g.kmPerSecToErPerKemin,
                      g.earthRotRate, g.muKm},
                     geoConst);
}

void PlanixSetFK(int32_t fk) { planix::setEnvFk(fk); }

int32_t PlanixGetFK(void) { return planix::genvfk(); }
