// Sample Qel records and their texts for the reader tests, made by the Qel writer.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "Qel/QelFields.h"
#include "Qel/QelTypes.h"
#include "Qel/QelWriter.h"
#include "Siblings/Basalon/FixedText.h"

namespace qeltest {

// A record with a distinctive value in every field the text forms carry; covariance n x n with the
// packed external-order values 1e-3 * (1, 2, 3, ...).
inline qel::QelRecord sampleRecord(int32_t satNum = 12345, int32_t covDim = 6) {
  qel::QelRecord r;
  r.satNum = satNum;
  r.intlDes.set("98067A");
  r.commonName.set("ISS (ZARYA)");
  r.epoch = {2021, 123, 1, 2, 3.456};
  r.epochRev = 1234;
  r.j2kPos = {-1234.5, 6789.125, 0.0};
  r.j2kVel = {1.5, -7.25, 0.001};
  r.eciPos = {7000.0, -100.0, 20.0};
  r.eciVel = {0.5, 7.5, -1.0};
  r.efgPos = {1.0, 2.0, 3.0};
  r.efgVel = {-0.5, 0.25, 0.125};
  r.geoModel.set("EGM-96");
  r.geoZonals = 36;
  r.geoTesserals = 24;
  r.dragModel.set("JAC70");
  r.lunarSolar.set("ON");
  r.solarRadPress.set("OFF");
  r.solidEarthTides.set("ON");
  r.inTrackThrust.set("OFF");
  r.ballisticCoef = 0.5;
  r.bDot = -1.5;
  r.solarRadPressCoef = 0.0123;
  r.edr = 2.5e-5;
  r.thrustAccel = 1.25e-7;
  r.cmOffset = -0.25;
  r.f10 = 150;
  r.avgF10 = 148;
  r.avgAp = 12.3;
  r.taiMinusUtc = 37.0;
  r.ut1MinusUtc = -0.12345;
  r.ut1Rate = 0.0012;
  r.polarMotionX = 0.1234;
  r.polarMotionY = -0.0567;
  r.nutationTerms = 106;
  r.leapSecondTime = {2016, 366, 23, 59, 59.999};
  r.integratorMode.set("GJ-VAR");
  r.coordSys.set("ECI");
  r.partials.set("FAST");
  r.stepMode.set("AUTO");
  r.fixedStep.set("OFF");
  r.stepSizeSelection.set("RELERR");
  r.initialStepSize = 60.0;
  r.errorControl = 1e-12;
  r.posSigmas = {0.0123, 1.5, 12345.6789};
  r.velSigmas = {1e-4, 0.0002, 1.2345};
  r.covDim = covDim;
  r.wtdRms = 1.25;
  std::array<double, qel::kQelPackedCovLength> packed{};
  for (size_t k = 0; k < static_cast<size_t>(covDim * (covDim + 1) / 2); ++k)
    packed[k] = 1e-3 * static_cast<double>(k + 1);
  qel::Qel1Dto2D(r.cov, packed);
  return r;
}

// The multi-line message as lines, trailing blanks dropped.
inline std::vector<std::string> multiLines(const qel::QelRecord& r) {
  std::string buf(qel::kQelBufferLines * qel::kQelLineWidth, ' ');
  int32_t n = 0;
  EXPECT_EQ(qel::Qel2QelLines(r, std::span<char>(buf.data(), buf.size()), &n), 0);
  std::vector<std::string> lines;
  for (int32_t k = 0; k < n; ++k) {
    std::string line = buf.substr(static_cast<size_t>(k) * qel::kQelLineWidth, qel::kQelLineWidth);
    line.erase(line.find_last_not_of(' ') + 1);
    lines.push_back(line);
  }
  return lines;
}

inline std::string oneLine(const qel::QelRecord& r) {
  std::string text(qel::kQelOneLineWidth, ' ');
  EXPECT_EQ(qel::Qel2Qel1Line(std::span<char, qel::kQelOneLineWidth>(text.data(), text.size()), r), 0);
  return text;
}

// Lines joined with a newline after each.
inline std::string joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

inline void writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// Which fields a form carries.
enum class Form { kMultiLine, kShort, kOneLine };

// Every field the form carries agrees with the record written.
inline void expectSameFields(const qel::QelRecord& got, const qel::QelRecord& want, Form form) {
  const bool full = form != Form::kShort;
  EXPECT_EQ(got.errCode, 0);
  EXPECT_EQ(got.satNum, want.satNum);
  EXPECT_EQ(got.intlDes.view(), want.intlDes.view());
  EXPECT_EQ(got.commonName.view(),
            form == Form::kOneLine ? want.commonName.view() : qel::QelRecord{}.commonName.view());
  EXPECT_EQ(got.epoch.year, want.epoch.year);
  EXPECT_EQ(got.epoch.day, want.epoch.day);
  EXPECT_EQ(got.epoch.hour, want.epoch.hour);
  EXPECT_EQ(got.epoch.minute, want.epoch.minute);
  EXPECT_DOUBLE_EQ(got.epoch.second, want.epoch.second);
  EXPECT_EQ(got.epochRev, want.epochRev);
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_DOUBLE_EQ(got.j2kPos[k], full ? want.j2kPos[k] : 0.0);
    EXPECT_DOUBLE_EQ(got.j2kVel[k], full ? want.j2kVel[k] : 0.0);
    EXPECT_DOUBLE_EQ(got.eciPos[k], want.eciPos[k]);
    EXPECT_DOUBLE_EQ(got.eciVel[k], want.eciVel[k]);
    EXPECT_DOUBLE_EQ(got.efgPos[k], full ? want.efgPos[k] : 0.0);
    EXPECT_DOUBLE_EQ(got.efgVel[k], full ? want.efgVel[k] : 0.0);
    EXPECT_DOUBLE_EQ(got.posSigmas[k], full ? want.posSigmas[k] : 1.0);
    EXPECT_DOUBLE_EQ(got.velSigmas[k], full ? want.velSigmas[k] : 1.0);
  }
  EXPECT_EQ(got.geoModel.view(), want.geoModel.view());
  EXPECT_EQ(got.geoZonals, want.geoZonals);
  EXPECT_EQ(got.geoTesserals, want.geoTesserals);
  EXPECT_EQ(got.dragModel.view(), want.dragModel.view());
  EXPECT_EQ(got.lunarSolar.view(), want.lunarSolar.view());
  EXPECT_EQ(got.solarRadPress.view(), want.solarRadPress.view());
  EXPECT_EQ(got.solidEarthTides.view(), want.solidEarthTides.view());
  EXPECT_EQ(got.inTrackThrust.view(), want.inTrackThrust.view());
  EXPECT_DOUBLE_EQ(got.ballisticCoef, want.ballisticCoef);
  EXPECT_DOUBLE_EQ(got.bDot, want.bDot);
  EXPECT_DOUBLE_EQ(got.solarRadPressCoef, want.solarRadPressCoef);
  EXPECT_DOUBLE_EQ(got.edr, want.edr);
  EXPECT_DOUBLE_EQ(got.thrustAccel, want.thrustAccel);
  EXPECT_DOUBLE_EQ(got.cmOffset, want.cmOffset);
  EXPECT_EQ(got.f10, want.f10);
  EXPECT_EQ(got.avgF10, want.avgF10);
  EXPECT_DOUBLE_EQ(got.avgAp, want.avgAp);
  EXPECT_DOUBLE_EQ(got.taiMinusUtc, want.taiMinusUtc);
  EXPECT_DOUBLE_EQ(got.ut1MinusUtc, want.ut1MinusUtc);
  EXPECT_DOUBLE_EQ(got.ut1Rate, want.ut1Rate);
  EXPECT_DOUBLE_EQ(got.polarMotionX, want.polarMotionX);
  EXPECT_DOUBLE_EQ(got.polarMotionY, want.polarMotionY);
  EXPECT_EQ(got.nutationTerms, want.nutationTerms);
  const qel::InputDate leap =
      form == Form::kOneLine ? qel::InputDate{2049, 365, 23, 59, 59.999} : want.leapSecondTime;
  EXPECT_EQ(got.leapSecondTime.year, leap.year);
  EXPECT_EQ(got.leapSecondTime.day, leap.day);
  EXPECT_EQ(got.leapSecondTime.hour, leap.hour);
  EXPECT_EQ(got.leapSecondTime.minute, leap.minute);
  EXPECT_DOUBLE_EQ(got.leapSecondTime.second, leap.second);
  EXPECT_EQ(got.integratorMode.view(), want.integratorMode.view());
  EXPECT_EQ(got.coordSys.view(), want.coordSys.view());
  EXPECT_EQ(got.partials.view(), want.partials.view());
  EXPECT_EQ(got.stepMode.view(), want.stepMode.view());
  EXPECT_EQ(got.fixedStep.view(), want.fixedStep.view());
  EXPECT_EQ(got.stepSizeSelection.view(), want.stepSizeSelection.view());
  EXPECT_DOUBLE_EQ(got.initialStepSize, want.initialStepSize);
  EXPECT_DOUBLE_EQ(got.errorControl, want.errorControl);
  EXPECT_EQ(got.covDim, full ? want.covDim : 0);
  EXPECT_DOUBLE_EQ(got.wtdRms, full ? want.wtdRms : 1.0);
  for (size_t i = 0; i < 9; ++i)
    for (size_t j = 0; j < 9; ++j)
      EXPECT_DOUBLE_EQ(got.cov[i][j], full ? want.cov[i][j] : 0.0) << i << "," << j;
  EXPECT_EQ(got.numManeuverLines, 0);
}

}  // namespace qeltest
