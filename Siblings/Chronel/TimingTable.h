// Internal access to the loaded timing constants (UT1 - UTC and polar motion at a UTC time).
#pragma once

namespace chronel::detail {

struct TimingValues {
  double ut1MinusUtc = 0.0;  // s
  double ut1Rate = 0.0;      // s/day
  double source = 0.0;       // 0 none loaded, 1 interpolated, 2 end value held
  double xp = 0.0;           // arcsec
  double yp = 0.0;           // arcsec
};

// The loaded values at a DS50 UTC time; all zero when no table is loaded.
TimingValues timingAt(double ds50UTC);

}  // namespace chronel::detail
