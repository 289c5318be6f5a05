// Tropospheric slant delay of a ground-to-satellite ray by the UNB3m model with the Niell mapping
// functions. Latitude and elevation in radians, height above the ellipsoid in metres, delays in metres.
#pragma once

#include <array>

namespace pelmath {

// UNB3m and Niell tables: 5 rows for |latitude| 15, 30, 45, 60, 75 degrees; column 0 is the latitude.
// Meteorology columns: pressure (mbar), temperature (K), relative humidity (%), temperature lapse
// rate beta (K/km), water-vapour lapse rate lambda.
using Unb3mMetTable = std::array<std::array<double, 6>, 5>;
// Mapping-function columns: the three continued-fraction coefficients a, b, c.
using NiellTable = std::array<std::array<double, 4>, 5>;

extern const Unb3mMetTable kUnb3mMetAvg;              // average meteorology at mean sea level
extern const Unb3mMetTable kUnb3mMetAmp;              // seasonal amplitudes
extern const NiellTable kNiellHydAvg;                 // hydrostatic coefficients, average
extern const NiellTable kNiellHydAmp;                 // hydrostatic coefficients, seasonal amplitude
extern const NiellTable kNiellWet;                    // wet coefficients
extern const std::array<double, 3> kNiellHeightCorr;  // hydrostatic height correction a, b, c

// Zenith delays, mapping functions and the slant delay hzd*hmf + wzd*wmf.
struct Unb3mDelay {
  double hzd = 0;    // hydrostatic zenith delay, m
  double hmf = 0;    // hydrostatic mapping function (height correction included)
  double wzd = 0;    // wet zenith delay, m
  double wmf = 0;    // wet mapping function
  double slant = 0;  // slant delay, m
};

// The same zenith delays with the elevation derivatives of the mapping functions and of the slant
// delay (per radian).
struct Unb3mRate {
  double hzd = 0;
  double dhmf = 0;
  double wzd = 0;
  double dwmf = 0;
  double dslant = 0;  // m/rad
};

// lat: geodetic latitude (rad); heightM: height (m); doy: day of year (fraction allowed);
// elev: elevation of the ray (rad).
Unb3mDelay unb3m(double lat, double heightM, double doy, double elev);
Unb3mRate unb3mr(double lat, double heightM, double doy, double elev);
// Slant delay (m) and its derivative with respect to elevation (m/rad).
void slantdelayunb3(double lat, double heightM, double doy, double elev, double& delay, double& dDelay);

}  // namespace pelmath
