// Flat exports of the Planix stand-in.
#include <Planix.h>

#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Planix/Planix.h"

int32_t PlanixInit(int64_t /*apPtr*/) { return 0; }

void PlanixGetInfo(char infoStr[128]) { basalon::getsoftwareinfo("Planix", infoStr); }

int32_t PlanixSetGeoModel(int32_t model) { return planix::setgeomodel(model); }

int32_t PlanixGetGeoModel(void) { return planix::getgeomodel(); }

void PlanixGetGeoConst(double geoConst[9]) {
  const planix::GeoConst& g = planix::genvgeo();
  const double v[9] = {g.flatLlh, g.flatGeod, g.j2, g.ke, g.earthRadius,
                       g.ck2, g.kmPerSecToErPerKemin, g.earthRotRate, g.muKm};
  for (int i = 0; i < 9; ++i) geoConst[i] = v[i];
}

void PlanixSetFK(int32_t fk) { planix::setenvfk(fk); }

int32_t PlanixGetFK(void) { return planix::genvfk(); }
