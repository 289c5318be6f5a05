// Qel array form both ways, the covariance orders, and field access on stored records: formats,
// refusals and messages, and a store left unchanged by every refused change.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "Qel/QelFields.h"
#include "Qel/QelTree.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Chronel/Chronel.h"
#include "common/TestSupport.h"

namespace {

using Doubles = std::array<double, qel::kQelArrayLength>;
using Chars = std::array<char, qel::kQelArrayLength>;

qel::QelRecord fullRecord() {
  qel::QelRecord r;
  r.satNum = 12345;
  r.intlDes.set("98067A");
  r.epoch = {2021, 123, 1, 2, 3.456};
  r.epochRev = 4321;
  r.j2kPos = {1.0, 2.0, 3.0};
  r.j2kVel = {4.0, 5.0, 6.0};
  r.eciPos = {7000.0, -100.0, 20.0};
  r.eciVel = {0.5, 7.5, -1.0};
  r.efgPos = {7.0, 8.0, 9.0};
  r.efgVel = {0.1, 0.2, 0.3};
  r.geoModel.set("EGM-96");
  r.geoZonals = 36;
  r.geoTesserals = 24;
  r.dragModel.set("JAC70");
  r.lunarSolar.set("ON");
  r.solarRadPress.set("OFF");
  r.solidEarthTides.set("YES");
  r.inTrackThrust.set("NO");
  r.ballisticCoef = 0.0123;
  r.bDot = -4.5e-7;
  r.solarRadPressCoef = 0.02;
  r.edr = 3.25e-4;
  r.thrustAccel = 1e-6;
  r.cmOffset = 0.75;
  r.f10 = 150;
  r.avgF10 = 148;
  r.avgAp = 12.5;
  r.taiMinusUtc = 37.0;
  r.ut1MinusUtc = -0.125;
  r.ut1Rate = 0.0012;
  r.polarMotionX = 0.25;
  r.polarMotionY = -0.5;
  r.nutationTerms = 106;
  r.leapSecondTime = {2016, 366, 23, 59, 59.5};
  r.integratorMode.set("GJ-VAR");
  r.coordSys.set("TEME");
  r.partials.set("ANALYTIC");
  r.stepMode.set("AUTO");
  r.fixedStep.set("OFF");
  r.stepSizeSelection.set("RELERR");
  r.initialStepSize = 60.0;
  r.errorControl = 1.234e-6;
  r.posSigmas = {0.1, 0.2, 0.3};
  r.velSigmas = {1e-4, 2e-4, 3e-4};
  r.covDim = 6;
  r.wtdRms = 1.25;
  std::array<double, 45> packed{};
  for (size_t k = 0; k < 21; ++k) packed[k] = 0.5 + static_cast<double>(k);
  qel::Qel1Dto2D(r.cov, packed);
  return r;
}

// ---- Covariance orders ------------------------------------------------------------------------

TEST(QelCovariance, InternalOrderIsThePermutationOfTheExternal) {
  qel::QelCovMatrix ext{}, in{}, back{};
  std::mt19937 gen(3);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (auto& row : ext)
    for (double& x : row) x = u(gen);  // not symmetric: every element is followed on its own
  qel::MapMtxExt2Int(in, ext);
  // P = (3, 4, 7, 9, 5, 6, 1, 2, 8), 1-based: internal(1, 2) = external(3, 4), internal(4, 9) = external(9,
  // 8).
  EXPECT_EQ(in[0][1], ext[2][3]);
  EXPECT_EQ(in[3][8], ext[8][7]);
  EXPECT_EQ(in[6][6], ext[0][0]);
  qel::MapMtxInt2Ext(back, in);
  EXPECT_EQ(back, ext);
  // In place too.
  qel::QelCovMatrix same = ext;
  qel::MapMtxExt2Int(same, same);
  EXPECT_EQ(same, in);
}

TEST(QelCovariance, PackedExternalValuesRoundTripAndA6x6FillsItsOwnElements) {
  std::array<double, 45> packed{}, back{};
  for (size_t k = 0; k < 21; ++k) packed[k] = 1.0 + static_cast<double>(k);
  qel::QelCovMatrix in{};
  qel::Qel1Dto2D(in, packed);
  // External elements 1..6 live at internal 7, 8, 1, 2, 5, 6 (0-based 6, 7, 0, 1, 4, 5);
  // internal 3, 4 and 9 stay empty.
  for (size_t k : {2u, 3u, 8u})
    for (size_t j = 0; j < 9; ++j) {
      EXPECT_EQ(in[k][j], 0.0);
      EXPECT_EQ(in[j][k], 0.0);
    }
  EXPECT_EQ(in[6][6], 1.0);   // external (1,1)
  EXPECT_EQ(in[7][6], 2.0);   // external (2,1)
  EXPECT_EQ(in[6][7], 2.0);   // symmetric
  EXPECT_EQ(in[5][5], 21.0);  // external (6,6)
  qel::Qel2Dto1D(back, in);
  EXPECT_EQ(back, packed);
}

// ---- Array form -------------------------------------------------------------------------------

TEST(QelArrayForm, RoundTripKeepsEveryFieldTheFormCarries) {
  const qel::QelRecord r = fullRecord();
  Doubles d;
  Chars s;
  d.fill(-7.0);
  s.fill('#');
  qel::Qel2Array(r, d, s);
  EXPECT_EQ(d[0], 12345.0);
  EXPECT_DOUBLE_EQ(d[1], qel::InputDateToDs50(r.epoch));
  EXPECT_DOUBLE_EQ(d[34], 1.2);  // ms/day
  EXPECT_EQ(d[47], 6.0);
  EXPECT_EQ(d[100], 0.5);
  EXPECT_EQ(d[120], 20.5);
  for (size_t k = 121; k < 512; ++k) EXPECT_EQ(d[k], 0.0) << k;
  for (size_t k = 49; k < 100; ++k) EXPECT_EQ(d[k], 0.0) << k;
  const std::string text(s.data(), s.size());
  EXPECT_EQ(text.substr(0, 8), "98067A  ");
  EXPECT_EQ(text.substr(8, 25), std::string(25, ' '));
  EXPECT_EQ(text.substr(33, 62), "EGM-96JAC70       ON OFFYESNO GJ-VARTEME ANALYTICAUTOOFFRELERR");
  EXPECT_EQ(text.substr(95), std::string(417, ' '));

  qel::QelRecord b;
  b.numManeuverLines = 3;
  b.errCode = 2;
  ASSERT_EQ(qel::Array2Qel(b, s, d), 0);
  EXPECT_EQ(b.errCode, 0);
  EXPECT_EQ(b.numManeuverLines, 0);
  EXPECT_EQ(b.satNum, r.satNum);
  EXPECT_EQ(b.epoch.year, 2021);
  EXPECT_EQ(b.epoch.day, 123);
  EXPECT_EQ(b.epoch.hour, 1);
  EXPECT_EQ(b.epoch.minute, 2);
  EXPECT_NEAR(b.epoch.second, 3.456, 1e-6);
  EXPECT_EQ(b.leapSecondTime.year, 2016);
  EXPECT_EQ(b.leapSecondTime.day, 366);
  EXPECT_NEAR(b.leapSecondTime.second, 59.5, 1e-6);
  EXPECT_EQ(b.epochRev, r.epochRev);
  EXPECT_EQ(b.j2kPos, r.j2kPos);
  EXPECT_EQ(b.j2kVel, r.j2kVel);
  EXPECT_EQ(b.eciPos, r.eciPos);
  EXPECT_EQ(b.eciVel, r.eciVel);
  EXPECT_EQ(b.efgPos, r.efgPos);
  EXPECT_EQ(b.efgVel, r.efgVel);
  EXPECT_EQ(b.geoZonals, 36);
  EXPECT_EQ(b.geoTesserals, 24);
  EXPECT_EQ(b.ballisticCoef, r.ballisticCoef);
  EXPECT_EQ(b.bDot, r.bDot);
  EXPECT_EQ(b.solarRadPressCoef, r.solarRadPressCoef);
  EXPECT_EQ(b.edr, r.edr);
  EXPECT_EQ(b.thrustAccel, r.thrustAccel);
  EXPECT_EQ(b.cmOffset, r.cmOffset);
  EXPECT_EQ(b.f10, 150);
  EXPECT_EQ(b.avgF10, 148);
  EXPECT_EQ(b.avgAp, r.avgAp);
  EXPECT_EQ(b.taiMinusUtc, r.taiMinusUtc);
  EXPECT_EQ(b.ut1MinusUtc, r.ut1MinusUtc);
  EXPECT_DOUBLE_EQ(b.ut1Rate, r.ut1Rate);
  EXPECT_EQ(b.polarMotionX, r.polarMotionX);
  EXPECT_EQ(b.polarMotionY, r.polarMotionY);
  EXPECT_EQ(b.nutationTerms, 106);
  EXPECT_EQ(b.initialStepSize, r.initialStepSize);
  EXPECT_EQ(b.errorControl, r.errorControl);
  EXPECT_EQ(b.posSigmas, r.posSigmas);
  EXPECT_EQ(b.velSigmas, r.velSigmas);
  EXPECT_EQ(b.covDim, 6);
  EXPECT_EQ(b.wtdRms, r.wtdRms);
  EXPECT_EQ(b.cov, r.cov);
  EXPECT_EQ(b.intlDes, r.intlDes);
  EXPECT_EQ(b.geoModel, r.geoModel);
  EXPECT_EQ(b.dragModel, r.dragModel);
  EXPECT_EQ(b.lunarSolar, r.lunarSolar);
  EXPECT_EQ(b.solarRadPress, r.solarRadPress);
  EXPECT_EQ(b.solidEarthTides, r.solidEarthTides);
  EXPECT_EQ(b.inTrackThrust, r.inTrackThrust);
  EXPECT_EQ(b.integratorMode, r.integratorMode);
  EXPECT_EQ(b.coordSys, r.coordSys);
  EXPECT_EQ(b.partials, r.partials);
  EXPECT_EQ(b.stepMode, r.stepMode);
  EXPECT_EQ(b.fixedStep, r.fixedStep);
  EXPECT_EQ(b.stepSizeSelection, r.stepSizeSelection);
  EXPECT_EQ(b.commonName, basalon::FixedText<25>());
}

TEST(QelArrayForm, ValuesBeyondTheDimensionAreNotTaken) {
  Doubles d{};
  Chars s;
  s.fill(' ');
  d[1] = 20000.0;
  d[38] = 20000.0;
  d[47] = 2.0;
  for (size_t k = 100; k < 145; ++k) d[k] = 9.0;  // only 100-102 belong to a 2x2
  qel::QelRecord r;
  ASSERT_EQ(qel::Array2Qel(r, s, d), 0);
  std::array<double, 45> packed{};
  qel::Qel2Dto1D(packed, r.cov);
  for (size_t k = 0; k < 45; ++k) EXPECT_EQ(packed[k], k < 3 ? 9.0 : 0.0) << k;
}

TEST(QelArrayForm, BadWholeNumbersAndTimesAreRefused) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    size_t slot;
    double value;
    std::string message;
  };
  const Case cases[] = {
      {47, 10.0, "Array2Qel: Invalid covariance dimension = 10 in slot 47 (valid whole numbers 0 to 9)"},
      {47, 15.0, "Array2Qel: Invalid covariance dimension = 15 in slot 47 (valid whole numbers 0 to 9)"},
      {47, 99.0, "Array2Qel: Invalid covariance dimension = 99 in slot 47 (valid whole numbers 0 to 9)"},
      {47, -3.0, "Array2Qel: Invalid covariance dimension = -3 in slot 47 (valid whole numbers 0 to 9)"},
      {0, nan,
       "Array2Qel: Invalid satellite number = nan in slot 0 (valid whole numbers -2147483648 to 2147483647)"},
      {29, 3e9,
       "Array2Qel: Invalid F10 = 3000000000 in slot 29 (valid whole numbers -2147483648 to 2147483647)"},
      {2, -inf,
       "Array2Qel: Invalid epoch revolution = -inf in slot 2 (valid whole numbers -2147483648 to "
       "2147483647)"},
      {1, inf, "Array2Qel: Invalid epoch (DS50 UTC) = inf"},
      {38, nan, "Array2Qel: Invalid leap second time (DS50 UTC) = nan"},
      {1, 1e300, "Array2Qel: Invalid epoch (DS50 UTC) = 1.0000000000000001e+300"},
  };
  for (const Case& c : cases) {
    Doubles d{};
    Chars s;
    qel::Qel2Array(fullRecord(), d, s);
    d[c.slot] = c.value;
    qel::QelRecord r = fullRecord();
    zktest::LogWatch log;
    EXPECT_EQ(qel::Array2Qel(r, s, d), basalon::kResultFail) << c.slot;
    EXPECT_EQ(log.errors(), 1) << c.slot;
    EXPECT_EQ(log.lastError(), c.message);
    EXPECT_EQ(r.errCode, basalon::kResultFail);
    EXPECT_EQ(r.satNum, 0);
    EXPECT_EQ(r.covDim, 0);
  }
  // Truncation toward zero of whole numbers within range.
  Doubles d{};
  Chars s;
  s.fill(' ');
  d[0] = 25544.9;
  d[29] = -7.9;
  d[47] = 9.99;
  qel::QelRecord r;
  ASSERT_EQ(qel::Array2Qel(r, s, d), 0);
  EXPECT_EQ(r.satNum, 25544);
  EXPECT_EQ(r.f10, -7);
  EXPECT_EQ(r.covDim, 9);
}

// ---- Field access -----------------------------------------------------------------------------

class QelFieldsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t code = 0;
    qel::QelEmptyTree(code);
    qel::AddQelToMem(fullRecord(), key_);
    ASSERT_GT(key_, 0);
  }
  void TearDown() override {
    int32_t code = 0;
    qel::QelEmptyTree(code);
  }
  std::string get(int32_t index, int32_t expectCode = 0) {
    std::string v = "junk";
    EXPECT_EQ(qel::QelGetField(key_, index, v), expectCode) << index;
    EXPECT_EQ(qel::QelStore().NumReads(), 0);  // the read side is left on every path
    return v;
  }
  qel::QelRecord stored() {
    qel::QelRecord r;
    qel::QelFindRec(key_, r);
    return r;
  }
  int64_t key_ = 0;
};

TEST_F(QelFieldsStore, FieldsAreWrittenInTheirFormatsLeftJustified) {
  EXPECT_EQ(get(1), "12345");
  EXPECT_EQ(get(2), "98067A  ");
  EXPECT_EQ(get(3), "2021123010203.456");
  EXPECT_EQ(get(4), "4321");
  EXPECT_EQ(get(5), "7000.000000000000000");
  EXPECT_EQ(get(6), "-100.000000000000000");
  EXPECT_EQ(get(11), "EGM-96");
  EXPECT_EQ(get(12), "36");
  EXPECT_EQ(get(23), "150");
  EXPECT_EQ(get(28), "1.200000000000000");
  EXPECT_EQ(get(32), "2016366235959.500");
  EXPECT_EQ(get(34), "ANALYTIC");
  EXPECT_EQ(get(39), "0.123E-05");
  EXPECT_EQ(get(40), "1.250000000000000");
  EXPECT_EQ(get(41), "-4.5e-07");
  EXPECT_EQ(get(42), "0.000325");
  EXPECT_EQ(get(0), "");
  EXPECT_EQ(get(43), "");
  zktest::LogWatch log;
  const int64_t missing = key_ + 10;
  std::string v;
  EXPECT_EQ(qel::QelGetField(missing, 1, v), basalon::kResultFail);
  EXPECT_EQ(v, "");
  EXPECT_EQ(log.lastError(), "QelGetField: Unable to locate satKey " +
                                 std::string(19 - std::to_string(missing).size(), ' ') +
                                 std::to_string(missing) + " in the QEL binary tree.");
  EXPECT_EQ(qel::QelStore().NumReads(), 0);
}

TEST_F(QelFieldsStore, SetFieldStoresConvertedValues) {
  EXPECT_EQ(qel::QelSetField(key_, 28, "   1.5"), 0);
  EXPECT_DOUBLE_EQ(stored().ut1Rate, 0.0015);
  EXPECT_EQ(get(28), "1.500000000000000");
  EXPECT_EQ(qel::QelSetField(key_, 14, "  MSIS-90-LONG-NAME"), 0);
  EXPECT_EQ(stored().dragModel.view(), "MSIS-90-LONG");
  EXPECT_EQ(qel::QelSetField(key_, 4, "99999"), 0);
  EXPECT_EQ(stored().epochRev, 99999);
  EXPECT_EQ(qel::QelSetField(key_, 32, "2049365235959.999"), 0);
  const qel::InputDate leap = stored().leapSecondTime;
  EXPECT_EQ(leap.year, 2049);
  EXPECT_EQ(leap.day, 365);
  EXPECT_EQ(leap.hour, 23);
  EXPECT_EQ(leap.minute, 59);
  EXPECT_DOUBLE_EQ(leap.second, 59.999);
  // An index without a field changes nothing and still succeeds.
  EXPECT_EQ(qel::QelSetField(key_, 77, "1"), 0);
}

TEST_F(QelFieldsStore, RefusedChangesLeaveTheStoreUnchanged) {
  const qel::QelRecord before = stored();
  const int64_t notLoaded = key_ + 10;
  struct Case {
    int64_t key;
    int32_t index;
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {key_, 1, "777", "QelSetField: Update to satellite's number is not allowed"},
      {notLoaded, 1, "777", "QelSetField: Update to satellite's number is not allowed"},
      {key_, 3, "2022001000000.000", "QelSetField: Update to satellite's epoch is not allowed"},
      {notLoaded, 3, "x", "QelSetField: Update to satellite's epoch is not allowed"},
      {key_, 5, "2E7", "ValidateQelValues: Invalid ECI PosX = 2e+07 (valid -1E7 to 1E7)"},
      {key_, 4, "abc", "QelSetField: Value of field 4 is not a number: 'abc'"},
      {key_, 19, "", "QelSetField: Value of field 19 is not a number: ''"},
      {key_, 32, "2049365", "QelSetField: Parsing leap time failed"},
      {key_, 32, "2049367000000.000", "QelSetField: Parsing leap time failed"},
      {key_, 4, "100000", "ValidateQelValues: Invalid Epoch Revolution = 100000 (valid 0-99999)"},
  };
  for (const Case& c : cases) {
    zktest::LogWatch log;
    EXPECT_EQ(qel::QelSetField(c.key, c.index, c.text), basalon::kResultFail) << c.index << " " << c.text;
    EXPECT_EQ(log.errors(), 1) << c.index << " " << c.text;
    EXPECT_EQ(log.lastError(), c.message);
    const qel::QelRecord after = stored();
    EXPECT_EQ(after.eciPos, before.eciPos);
    EXPECT_EQ(after.epochRev, before.epochRev);
    EXPECT_EQ(after.ballisticCoef, before.ballisticCoef);
    EXPECT_EQ(after.leapSecondTime.day, before.leapSecondTime.day);
  }
  zktest::LogWatch log;
  EXPECT_EQ(qel::QelSetField(notLoaded, 4, "5"), basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "QelSetField: Unable to locate satKey " +
                                 std::string(19 - std::to_string(notLoaded).size(), ' ') +
                                 std::to_string(notLoaded) + " in the QEL binary tree.");
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 1);
}

TEST_F(QelFieldsStore, AllFieldsAndTheArrayFormOfAStoredRecord) {
  qel::QelAllFields all;
  ASSERT_EQ(qel::QelGetAllFields(key_, all), 0);
  EXPECT_EQ(all.satNum, 12345);
  EXPECT_EQ(std::string(all.epochDtg.data(), 17), "2021123010203.456");
  EXPECT_EQ(std::string(all.leapSecondDtg.data(), 17), "2016366235959.500");
  EXPECT_EQ(std::string(all.partials.data(), 8), "ANALYTIC");
  EXPECT_EQ(std::string(all.inTrackThrust.data(), 3), "NO ");
  EXPECT_DOUBLE_EQ(all.ut1RateMsPerDay, 1.2);
  EXPECT_EQ(all.nutationTerms, 106);
  EXPECT_EQ(all.wtdRms, 1.25);
  EXPECT_EQ(qel::QelStore().NumReads(), 0);

  // A leap second time that cannot form a date-time group fails the whole read.
  qel::QelRecord r = stored();
  r.leapSecondTime = qel::InputDate{};
  int32_t code = 0;
  qel::QelUpdateRec(key_, r, code);
  ASSERT_EQ(code, 0);
  zktest::LogWatch log;
  EXPECT_EQ(qel::QelGetAllFields(key_, all), basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "QelGetAllFields: Failed to create DTG");
  EXPECT_EQ(all.satNum, 0);
  EXPECT_EQ(std::string(all.epochDtg.data(), 17), std::string(17, ' '));
  EXPECT_EQ(qel::QelStore().NumReads(), 0);
  EXPECT_EQ(qel::QelGetAllFields(key_ + 10, all), basalon::kResultFail);
  EXPECT_EQ(qel::QelStore().NumReads(), 0);

  Doubles d;
  Chars s;
  qel::GetSatToFields(key_, d, s, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(d[0], 12345.0);
  EXPECT_EQ(std::string(s.data(), 6), "98067A");
  qel::GetSatToFields(key_ + 10, d, s, code);
  EXPECT_EQ(code, basalon::kResultFail);
  EXPECT_EQ(d[0], 0.0);
  EXPECT_EQ(std::string(s.data(), 512), std::string(512, ' '));
  EXPECT_EQ(log.lastError().substr(0, 40), "GetSatToFields: Unable to locate satKey ");
  EXPECT_EQ(qel::QelStore().NumReads(), 0);
}

}  // namespace
