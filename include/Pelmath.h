/* Pelmath: element conversions, Earth frames, topocentric geometry, covariance transforms,
   Sun/Moon and tropospheric delay. Exports take km, km/s, degrees, rev/day and DS50 times;
   arrays by address, scalars by value, text as blank-padded buffers without terminator. */
#ifndef PELMATH_H
#define PELMATH_H

#include "PelmathApi/Covariance.h"
#include "PelmathApi/EarthFrames.h"
#include "PelmathApi/Frame.h"
#include "PelmathApi/Elements.h"
#include "PelmathApi/Jpl.h"
#include "PelmathApi/SlantDelay.h"
#include "PelmathApi/SunMoon.h"
#include "PelmathApi/Topocentric.h"

#endif
