// Stages of SGP4 initialisation and propagation shared between the propagator's files, and the
// elements they hand to each other (angles in rad, rates in rad/min, lengths in er). The
// element records carry no initialisers: every stage writes them before they are read.
#pragma once

#include "Siblings/Kinetra/Sgp4.h"

namespace kinetra::detail {

// Mean elements at the request time as the secular stages leave them.
struct MeanElements {
  double em, argpm, inclm, mm, nodem;
  double nm;  // mean motion, rad/min
};

// Sine and cosine of the node after the lunar-solar periodics, when Lyddane's form gives them.
struct NodeTrig {
  double sin = 0, cos = 0;
  bool known = false;
};

// Elements with the lunar-solar periodics added, and the sine and cosine of their inclination.
struct PeriodicElements {
  double ep, xincp, argpp, nodep, mp;
  double sinip, cosip;
  NodeTrig nodeTrig;
};

// Deep-space set-up of an initialised record: lunar-solar coefficients, secular rates,
// resonance terms and the integrator at epoch. eccsq: the epoch eccentricity squared.
void initDeepSpace(const Sgp4Record& rec, double eccsq, Sgp4DeepData& deep);

// Lunar-solar secular terms and the resonance integration to time t (min); on entry m holds the
// near-Earth secular values and the Brouwer mean motion. integ is advanced to the last step.
MeanElements deepSecular(const Sgp4Record& rec, const Sgp4DeepData& deep, double t, MeanElements m,
                         Sgp4Integrator& integ);

// The lunar-solar periodics at time t added to p, which holds the mean elements.
PeriodicElements lunarSolarPeriodics(const Sgp4DeepData& deep, double t, PeriodicElements p);

}  // namespace kinetra::detail
