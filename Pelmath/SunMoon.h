// Analytic Sun and Moon: geometric geocentric positions in the mean equator and equinox of date,
// from the FK5 time arguments (centuries from J2000) or FK4 (days from 1900 Jan 0.5).
#pragma once

#include <optional>

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

// Which series and time arguments the analytic Sun and Moon use.
enum class SunMoonTheory { kFk5, kFk4 };

// Mean anomaly of the Sun, obliquity and Earth-orbit eccentricity at a DS50 time.
void getsundata(SunMoonTheory selector, double ds50, Sundata& sd);

// Sun unit vector and distance (er). earthRadiusKm replaces R of the current set; trueLong and
// rOverA2 receive the Sun's true longitude (rad) and (r/a)^2 when given.
void solar(SunMoonTheory selector, const Sundata& sd, Vec3& sunUnit, double& sunDist,
           std::optional<double> earthRadiusKm = {}, double* trueLong = nullptr, double* rOverA2 = nullptr);

// Moon position, unit vector and distance (er).
void lunar(SunMoonTheory selector, const Sundata& sd, Vec3& moonPos, Vec3& moonUnit, double& moonDist);

// Sun and Moon together: Sun position in km, the Moon vector in er times scale.
void getsunmoondata(SunMoonTheory selector, double ds50, double scale, Sunmoondata& smd,
                    std::optional<double> earthRadiusKm = {});

// The theory of the Planix catalogue setting: FK4 when it is 4, else FK5.
SunMoonTheory sunMoonSelector();

}  // namespace pelmath
