// Published constants of WGS-72, WGS-84 and EGM-96, with the derived canonical-unit factors.
#include "Siblings/Planix/Planix.h"

#include <atomic>
#include <cmath>

#include "Siblings/Basalon/Result.h"

namespace planix {
namespace {

// Derived fields from the defining constants: R (km), mu (km^3/s^2), J2, 1/f, rotation (rad/s).
GeoConst make(double radiusKm, double muKm3s2, double j2, double invFlat, double rotRadPerSec) {
  GeoConst g{};
  g.flatLlh = 1.0 / invFlat;
  g.flatGeod = 1.0 / invFlat;
  g.j2 = j2;
  g.ke = 60.0 / std::sqrt(radiusKm * radiusKm * radiusKm / muKm3s2);  // er^1.5/min
  g.earthRadius = radiusKm;
  g.ck2 = 0.5 * j2;
  g.kmPerSecToErPerKemin = 60.0 / (radiusKm * g.ke);
  g.earthRotRate = rotRadPerSec * 60.0 / g.ke;  // rad/kemin: one kemin is 1/ke minutes
  g.muKm = muKm3s2;
  return g;
}

std::atomic<int> gModel{kWgs72};
std::atomic<int> gFk{5};

}  // namespace

// WGS-72 (as used by SGP4): R 6378.135 km, mu 398600.8 km^3/s^2, J2 0.001082616, 1/f 298.26.
const GeoConst wgs72 = make(6378.135, 398600.8, 0.001082616, 298.26, 7.292115146706979e-5);
// WGS-84: R 6378.137 km, mu 398600.4418 km^3/s^2, J2 0.00108262998905, 1/f 298.257223563.
const GeoConst wgs84 = make(6378.137, 398600.4418, 0.00108262998905, 298.257223563, 7.292115e-5);
// EGM-96: R 6378.1363 km, mu 398600.4415 km^3/s^2, J2 0.0010826266836 (C20 -0.484165371736e-3).
const GeoConst egm96 = make(6378.1363, 398600.4415, 0.0010826266836, 298.257223563, 7.292115e-5);

const GeoConst* geoconstof(int model) {
  switch (model) {
    case kWgs72:
      return &wgs72;
    case kWgs84:
      return &wgs84;
    case kEgm96:
      return &egm96;
    default:
      return nullptr;
  }
}

// J3 as published: WGS-72 (the value of SGP4's constants) and EGM-96 (-sqrt(7) C30 with the fully
// normalised C30 = 0.957254173792e-6), which WGS-84 shares.
constexpr double kJ3Wgs72 = -2.53881e-6;
constexpr double kJ3Egm96 = -2.53265649e-6;

double j3Of(int model) {
  switch (model) {
    case kWgs72:
      return kJ3Wgs72;
    case kWgs84:
    case kEgm96:
      return kJ3Egm96;
    default:
      return 0.0;
  }
}

double j3Of(const GeoConst& geo) {
  for (int model : {kWgs72, kWgs84, kEgm96}) {
    const GeoConst& g = *geoconstof(model);
    if (&geo == &g || (geo.j2 == g.j2 && geo.earthRadius == g.earthRadius && geo.muKm == g.muKm))
      return j3Of(model);
  }
  return j3Of(gModel.load());
}

const GeoConst& genvgeo() { return *geoconstof(gModel.load()); }

int setGeoModel(int model) {
  if (geoconstof(model) == nullptr) return basalon::kResultFail;
  gModel.store(model);
  return basalon::kResultOk;
}

int getGeoModel() { return gModel.load(); }

int genvfk() { return gFk.load(); }
int getenvfk() { return gFk.load(); }
void setEnvFk(int fk) { gFk.store(fk); }
int getfk(int model) { return model == 4 ? 4 : 5; }

}  // namespace planix
