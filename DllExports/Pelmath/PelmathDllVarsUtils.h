// Glue shared by Pelmath's exports: host arrays to value types and back, metric/degree <-> canonical
// conversions of positions, velocities, LLH and element sets, the Greenwich angle and polar motion
// of a UTC time, and basalon's null and non-finite argument policies.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>

#include "Pelmath/PelmathTypes.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath::dll {

using basalon::allFinite;
using basalon::fromHost;
using basalon::fromHost3;
using basalon::nonNull;
using basalon::toHost;
using basalon::toHost3;

inline void clearHost(double* out, size_t n) { std::fill(out, out + n, 0.0); }

// The time of an export that returns no code: a NaN or infinite time writes one line naming the
// export, sets every given output to NaN (nothing that could pass for a result) and gives false.
struct HostOut {
  double* values;
  size_t count;
};
inline bool timeUsable(const char* exportName, double ds50, std::initializer_list<HostOut> outputs) {
  if (std::isfinite(ds50)) return true;
  basalon::logErrorf("%s: time is NaN or infinite", exportName);
  for (const HostOut& o : outputs)
    if (o.values != nullptr) std::fill(o.values, o.values + o.count, std::numeric_limits<double>::quiet_NaN());
  return false;
}

// Greenwich angle (rad) at a DS50 UTC time, by the catalogue setting.
inline double thetaAtUtc(double ds50UTC) {
  return chronel::getthgr(chronel::utc2ut1(ds50UTC), planix::genvfk());
}

// Polar motion x, y (arcsec) of the timing constants at a DS50 UTC time; 0, 0 without them.
inline void polarAtUtc(double ds50UTC, double& xp, double& yp) {
  double tconst[6] = {};
  chronel::gettconst(ds50UTC, tconst);
  xp = tconst[4];
  yp = tconst[5];
}

// Position km <-> er, velocity km/s <-> er/kemin, LLH (deg, deg, km) <-> (rad, rad, er).
inline Vec3 posToCanonical(const double* km) {
  Vec3 c;
  tocanonicalpos(km, c.data());
  return c;
}
inline Vec3 velToCanonical(const double* kms) {
  Vec3 c;
  tocanonicalvel(kms, c.data());
  return c;
}
inline Vec3 llhToCanonical(const double* llh) {
  Vec3 c;
  tocanonicalllh(llh, c.data());
  return c;
}
inline void posToMetric(const Vec3& pos, double* km) { tometricpos(pos.data(), km); }
inline void velToMetric(const Vec3& vel, double* kms) { tometricvel(vel.data(), kms); }
inline void llhToMetric(const Vec3& llh, double* out) { tometricllh(llh.data(), out); }

// Element sets in metric/degree units to canonical ones.
inline Elset kepToCanonical(const double* metricKep) {
  Elset k = fromHost<6>(metricKep);
  tocanonicalkep(k.data(), k.data());
  return k;
}
inline Elset eqnxToCanonical(const double* metricEqnx) {
  Elset q = fromHost<6>(metricEqnx);
  tocanonicaleqnx(q.data(), q.data());
  return q;
}
inline Elset classToCanonical(const double* metricClass) {
  Elset c = fromHost<6>(metricClass);
  tocanonicalclass(c.data(), c.data());
  return c;
}

// The three rows of a 3x3 matrix to three host vectors.
inline void rowsToHost(const Mat3& m, double* row0, double* row1, double* row2) {
  toHost3(m[0], row0);
  toHost3(m[1], row1);
  toHost3(m[2], row2);
}

}  // namespace pelmath::dll
