// A Qel record with realistic values in every field the text forms carry, shared by the Qel
// benchmarks: satellite number and covariance dimension chosen by the caller.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "Qel/QelFields.h"
#include "Qel/QelTypes.h"

namespace qelbench {

inline qel::QelRecord benchRecord(int32_t satNum, int32_t covDim) {
  qel::QelRecord r;
  r.satNum = satNum;
  r.intlDes.set("98067A");
  r.epoch = {2024, 200, 13, 45, 12.3456};
  r.epochRev = 45678;
  r.j2kPos = {-4123.456789, 5012.3456789, 1234.5678901};
  r.j2kVel = {-3.123456789012, -4.987654321098, 4.567890123456};
  r.eciPos = {-4100.123456789, 5030.987654321, 1240.1122334455};
  r.eciVel = {-3.111111111111, -4.999999999999, 4.555555555555};
  r.efgPos = {6000.1, -1500.2, 1240.3};
  r.efgVel = {1.25, 5.5, 4.555};
  r.geoModel.set("EGM-96");
  r.geoZonals = 36;
  r.geoTesserals = 36;
  r.dragModel.set("JAC70");
  r.lunarSolar.set("ON");
  r.solarRadPress.set("ON");
  r.solidEarthTides.set("ON");
  r.inTrackThrust.set("OFF");
  r.ballisticCoef = 0.012345;
  r.bDot = -1.5e-8;
  r.solarRadPressCoef = 0.0234;
  r.edr = 1.25e-4;
  r.cmOffset = 0.5;
  r.f10 = 150;
  r.avgF10 = 148;
  r.avgAp = 12.3;
  r.taiMinusUtc = 37.0;
  r.ut1MinusUtc = -0.0512;
  r.ut1Rate = 0.0012;
  r.polarMotionX = 0.1234;
  r.polarMotionY = 0.3456;
  r.nutationTerms = 106;
  r.leapSecondTime = {2049, 365, 23, 59, 59.999};
  r.integratorMode.set("GJ-VAR");
  r.coordSys.set("TEME");
  r.partials.set("FAST");
  r.stepMode.set("AUTO");
  r.fixedStep.set("OFF");
  r.stepSizeSelection.set("RELERR");
  r.initialStepSize = 60.0;
  r.errorControl = 1e-12;
  r.posSigmas = {0.0123, 0.0456, 0.0789};
  r.velSigmas = {1.2e-5, 3.4e-5, 5.6e-5};
  r.covDim = covDim;
  r.wtdRms = 1.0312;
  std::array<double, qel::kQelPackedCovLength> packed{};
  for (size_t k = 0; k < static_cast<size_t>(covDim * (covDim + 1) / 2); ++k)
    packed[k] = 1.0e-7 * static_cast<double>(k + 1) * (k % 2 ? -1.0 : 1.0);
  qel::Qel1Dto2D(r.cov, packed);
  return r;
}

}  // namespace qelbench
