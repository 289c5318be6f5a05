// Stages of SGP4 initialisation and propagation shared between the propagator's files, and the
// elements they hand to each other (angles in rad, rates in rad/min, lengths in er).
#pragma once

#include "Siblings/Kinetra/Sgp4.h"

namespace kinetra::detail {

// Mean elements at the request time as the secular stages leave them.
struct MeanElements {
  double em = 0, argpm = 0, inclm = 0, mm = 0, nodem = 0;
  double nm = 0;  // mean motion, rad/min
};

// Sine and cosine of the node after the lunar-solar periodics, when Lyddane's form gives them.
struct NodeTrig {
  double sin = 0, cos = 0;
  bool known = false;
};

// Elements with the lunar-solar periodics added, and the sine and cosine of their inclination.
struct PeriodicElements {
  double ep = 0, xincp = 0, argpp = 0, nodep = 0, mp = 0;
  double sinip = 0, cosip = 0;
  NodeTrig nodeTrig;
};

// Deep-space set-up of an initialised record: lunar-solar coefficients, secular rates,
// resonance terms and the integrator at epoch. eccsq: the epoch eccentricity squared.
void initDeepSpace(const Sgp4Record& rec, double eccsq, Sgp4DeepData& deep);

// Lunar-solar secular terms and the resonance integration to time t (min); on entry m holds the
// near-Earth secular values and the Brouwer mean motion. integ is advanced to the last step.
void deepSecular(const Sgp4Record& rec, const Sgp4DeepData& deep, double t, MeanElements& m,
                 Sgp4Integrator& integ);

// Adds the lunar-solar periodics at time t to p, which holds the mean elements on entry.
void lunarSolarPeriodics(const Sgp4DeepData& deep, double t, PeriodicElements& p);

}  // namespace kinetra::detail
