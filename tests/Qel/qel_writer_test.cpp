// The Qel text writer: exact columns of the multi-line and one-line forms, the satellite-number and
// designator variants, times rounded to the millisecond with carries, and refusals of values that
// do not fit their columns.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "Qel/QelFields.h"
#include "Qel/QelTree.h"
#include "Qel/QelWriter.h"
#include "Qel/qel_reader_samples.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "common/TestSupport.h"

namespace {

std::string pad(const std::string& s, size_t n) { return s + std::string(n - s.size(), ' '); }

// A record whose every written field has a distinctive value (the reader tests' sample with a few
// values of its own); its covariance is 6x6 with the packed external-order values 1, 2, ..., 21.
qel::QelRecord sampleRecord() {
  qel::QelRecord r = qeltest::sampleRecord(12345, 6);
  r.geoTesserals = 36;
  r.thrustAccel = 0.0;
  r.velSigmas[0] = 1e-5;
  std::array<double, qel::kQelPackedCovLength> packed{};
  for (size_t k = 0; k < 21; ++k) packed[k] = static_cast<double>(k + 1);
  qel::Qel1Dto2D(r.cov, packed);
  return r;
}

struct Written {
  int32_t code = -1;
  int32_t count = -1;
  std::vector<std::string> lines;  // all 50 lines of the buffer, trailing blanks dropped
  std::string raw;
};

Written writeLines(const qel::QelRecord& r) {
  Written w;
  w.raw.assign(qel::kQelBufferLines * qel::kQelLineWidth, '#');
  w.code = qel::Qel2QelLines(r, std::span<char>(w.raw.data(), w.raw.size()), &w.count);
  for (size_t k = 0; k < qel::kQelBufferLines; ++k) {
    w.lines.emplace_back(basalon::trimRight(std::string_view(w.raw).substr(k * 80, 80)));
  }
  return w;
}

std::string oneLine(const qel::QelRecord& r, int32_t* code = nullptr) {
  std::string text(qel::kQelOneLineWidth, '#');
  const int32_t rc = qel::Qel2Qel1Line(std::span<char, qel::kQelOneLineWidth>(text.data(), text.size()), r);
  if (code != nullptr) *code = rc;
  return text;
}

// Columns first..last (1-based) of a text.
std::string cols(const std::string& s, size_t first, size_t last) {
  return s.substr(first - 1, last - first + 1);
}

TEST(QelWriterLines, EveryLineOfAMessageWithA6x6Covariance) {
  const Written w = writeLines(sampleRecord());
  ASSERT_EQ(w.code, 0);
  EXPECT_EQ(w.count, 32);
  const std::vector<std::string> expected = {
      "<> SP VECTOR/COVARIANCE MESSAGE - V2.0",
      "<>",
      "<> MESSAGE TIME (UTC):" + std::string(34, ' ') + "CENTER:",
      "<> SATELLITE NUMBER: 12345" + std::string(20, ' ') + "INT. DES.: 1998-067A",
      "<> COMMON NAME:",
      "<> EPOCH TIME (UTC): 2021 123 (03 MAY) 01:02:03.456  EPOCH REV:  1234",
      "<> J2K POS (KM):     -1234.50000000    6789.12500000       0.00000000",
      "<> J2K VEL (KM/S):   1.500000000000  -7.250000000000   0.001000000000",
      "<> ECI POS (KM):      7000.00000000    -100.00000000      20.00000000",
      "<> ECI VEL (KM/S):   0.500000000000   7.500000000000  -1.000000000000",
      "<> EFG POS (KM):         1.00000000       2.00000000       3.00000000",
      "<> EFG VEL (KM/S):  -0.500000000000   0.250000000000   0.125000000000",
      "<> GEOPOTENTIAL: EGM-96 36Z,36T  DRAG: JAC70         LUNAR/SOLAR: ON",
      "<> SOLAR RAD PRESS: OFF  SOLID EARTH TIDES: ON   IN-TRACK THRUST: OFF",
      "<> BALLISTIC COEF (M2/KG):  0.500000E+00 BDOT (M2/KG-S): -.150000E+01",
      "<> SOLAR RAD PRESS COEFF (M2/KG):  0.123000E-01  EDR(W/KG):  0.25E-04",
      "<> THRUST ACCEL (M/S2):  0.000000E+00  C.M. OFFSET (M): -0.250000E+00",
      "<> SOLAR FLUX: F10: 150  AVERAGE F10: 148  AVERAGE AP:  12.3",
      "<> TAI-UTC (S): 37  UT1-UTC (S): -0.12345  UT1 RATE (MS/DAY):  1.200",
      "<> POLAR MOT X,Y (ARCSEC):  0.1234 -0.0567 IAU 1980 NUTAT: 106 TERMS",
      "<> TIME CONST LEAP SECOND TIME (UTC): 2016 366 (31 DEC) 23:59:59.999",
      "<> INTEGRATOR MODE: GJ-VAR" + std::string(7, ' ') + "COORD SYS: ECI    PARTIALS: FAST",
      "<> STEP MODE: AUTO  FIXED STEP: OFF  STEP SIZE SELECTION: RELERR",
      "<> INITIAL STEP SIZE (S):   60.000  ERROR CONTROL: 0.100E-11",
      "<> VECTOR U,V,W SIGMAS (KM):           0.0123     1.5000 12345.6789",
      "<> VECTOR UD,VD,WD SIGMAS (KM/S):      0.0000     0.0002     1.2345",
      "<> COVARIANCE MATRIX (EQUINOCTIAL ELS): ( 6x 6) WTD RMS:  0.12500E+01",
      "<>  0.10000E+01  0.20000E+01  0.30000E+01  0.40000E+01  0.50000E+01",
      "<>  0.60000E+01  0.70000E+01  0.80000E+01  0.90000E+01  0.10000E+02",
      "<>  0.11000E+02  0.12000E+02  0.13000E+02  0.14000E+02  0.15000E+02",
      "<>  0.16000E+02  0.17000E+02  0.18000E+02  0.19000E+02  0.20000E+02",
      "<>  0.21000E+02",
  };
  for (size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(w.lines[k], expected[k]) << "line " << k + 1;
  for (size_t k = expected.size(); k < w.lines.size(); ++k) EXPECT_EQ(w.lines[k], "") << "line " << k + 1;
  // The reader's columns: satellite number 22-26, designator 58-68, seconds 46-51, UT1 rate 63-68.
  EXPECT_EQ(cols(w.lines[3], 22, 26), "12345");
  EXPECT_EQ(cols(pad(w.lines[3], 80), 58, 68), "1998-067A  ");
  EXPECT_EQ(cols(w.lines[5], 46, 51), "03.456");
  EXPECT_EQ(cols(w.lines[18], 63, 68), " 1.200");
}

TEST(QelWriterLines, LineCountFollowsTheCovarianceDimension) {
  qel::QelRecord r = sampleRecord();
  for (auto [n, lines] : std::vector<std::pair<int32_t, int32_t>>{{0, 27}, {1, 28}, {6, 32}, {9, 36}}) {
    r.covDim = n;
    const Written w = writeLines(r);
    ASSERT_EQ(w.code, 0) << n;
    EXPECT_EQ(w.count, lines) << n;
    EXPECT_NE(w.lines[static_cast<size_t>(lines - 1)], "") << n;
    EXPECT_EQ(w.lines[static_cast<size_t>(lines)], "") << n;
  }
  // 9x9: 45 values fill nine lines of five, the last one too.
  r.covDim = 9;
  EXPECT_EQ(writeLines(r).lines[35].size(), 3u + 5u * 13u - 1u);
}

TEST(QelWriterLines, SatelliteNumberAndDesignatorVariants) {
  qel::QelRecord r = sampleRecord();
  r.intlDes.set("");
  EXPECT_EQ(writeLines(r).lines[3], "<> SATELLITE NUMBER: 12345" + std::string(20, ' ') + "INT. DES.:");
  r.satNum = 1234567;
  const std::string wide = writeLines(r).lines[3];
  EXPECT_EQ(wide, "<> SATELLITE NUMBER: 1234567" + std::string(18, ' ') + "INT. DES.:");
  EXPECT_EQ(wide.find("INT. DES.: "), std::string::npos);  // trailing blank dropped by the trim
  EXPECT_EQ(wide.find("INT. DES.:"), 46u);
  r.intlDes.set("57001B");
  EXPECT_EQ(writeLines(r).lines[3],
            "<> SATELLITE NUMBER: 1234567" + std::string(18, ' ') + "INT. DES.: 1957-001B");
  r.satNum = 100000;  // the first number written in minimal width
  EXPECT_EQ(cols(writeLines(r).lines[3], 22, 27), "100000");
  r.satNum = 99999;
  EXPECT_EQ(cols(writeLines(r).lines[3], 22, 26), "99999");
}

TEST(QelWriterLines, TwoBodyModelIsWrittenAsBlanks) {
  qel::QelRecord r = sampleRecord();
  r.geoModel.set("2-BODY");
  r.geoZonals = 0;
  r.geoTesserals = 0;
  EXPECT_EQ(writeLines(r).lines[12], "<> GEOPOTENTIAL:         0Z, 0T  DRAG: JAC70         LUNAR/SOLAR: ON");
  EXPECT_EQ(cols(oneLine(r), 343, 356), "2-BODY  0Z, 0T");
}

TEST(QelWriterTimes, SecondsAreRoundedToTheMillisecondWithCarries) {
  qel::QelRecord r = sampleRecord();
  r.epoch = {2021, 45, 6, 7, 5.25};
  EXPECT_EQ(cols(writeLines(r).lines[5], 22, 51), "2021 045 (14 FEB) 06:07:05.250");
  EXPECT_EQ(cols(oneLine(r), 7, 23), "20210450607 5.250");

  // 59.9996 s at the last minute of the year: the carry runs into the next year.
  r.epoch = {2021, 365, 23, 59, 59.9996};
  EXPECT_EQ(cols(writeLines(r).lines[5], 22, 51), "2022 001 (01 JAN) 00:00:00.000");
  EXPECT_EQ(cols(oneLine(r), 7, 23), "20220010000 0.000");
  std::array<char, 17> dtg{};
  ASSERT_TRUE(qel::writeDtg17(r.epoch, dtg));
  EXPECT_EQ(std::string(dtg.data(), 17), "2022001000000.000");
  // In a leap year day 365 is 30 December, and the carry stays inside the year.
  r.epoch = {2020, 365, 23, 59, 59.9996};
  EXPECT_EQ(cols(writeLines(r).lines[5], 22, 51), "2020 366 (31 DEC) 00:00:00.000");
  // Just below the rounding edge nothing carries.
  r.epoch = {2021, 10, 10, 10, 59.9994};
  EXPECT_EQ(cols(writeLines(r).lines[5], 22, 51), "2021 010 (10 JAN) 10:10:59.999");

  r.leapSecondTime = {2016, 366, 23, 59, 59.9999};
  EXPECT_EQ(cols(writeLines(r).lines[20], 39, 68), "2017 001 (01 JAN) 00:00:00.000");
}

TEST(QelWriterTimes, TimesThatCannotBeShownAreRefused) {
  qel::QelRecord r = sampleRecord();
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        -1.0, 61.0};
  for (double s : bad) {
    r.epoch.second = s;
    zktest::LogWatch log;
    const Written w = writeLines(r);
    EXPECT_EQ(w.code, basalon::kResultFail) << s;
    EXPECT_EQ(w.count, 5) << s;  // lines 1-5 are finished, line 6 is not written
    EXPECT_EQ(w.lines[5], "") << s;
    EXPECT_EQ(log.errors(), 1) << s;
    EXPECT_EQ(log.lastError(),
              "Qel2QelLines: EPOCH TIME on line 6 is too large for its column or not valid.");
    int32_t code = 0;
    EXPECT_EQ(oneLine(r, &code), std::string(1500, ' '));
    EXPECT_EQ(code, basalon::kResultFail);
  }
  // A day of year the year does not have never reaches the month names; an unset leap second
  // time (all zero) is such a date.
  r = sampleRecord();
  r.leapSecondTime = qel::InputDate{};
  zktest::LogWatch log;
  const Written w = writeLines(r);
  EXPECT_EQ(w.code, basalon::kResultFail);
  EXPECT_EQ(w.count, 20);
  EXPECT_EQ(log.lastError(),
            "Qel2QelLines: LEAP SECOND TIME on line 21 is too large for its column or not valid.");
  r = sampleRecord();
  r.epoch.day = 366;  // 2021 has 365 days
  EXPECT_EQ(writeLines(r).code, basalon::kResultFail);
}

TEST(QelWriterOneLine, EveryFieldAtItsColumn) {
  int32_t code = -1;
  const std::string t = oneLine(sampleRecord(), &code);
  ASSERT_EQ(code, 0);
  ASSERT_EQ(t.size(), 1500u);
  EXPECT_EQ(cols(t, 1, 32), "12345 20211230102 3.456  1234   ");
  EXPECT_EQ(cols(t, 33, 82), "  -1234.50000000    6789.12500000       0.00000000");
  EXPECT_EQ(cols(t, 84, 133), "  1.500000000000  -7.250000000000   0.001000000000");
  EXPECT_EQ(cols(t, 137, 152), "   7000.00000000");
  EXPECT_EQ(cols(t, 222, 237), " -1.000000000000");
  EXPECT_EQ(cols(t, 241, 256), "      1.00000000");
  EXPECT_EQ(cols(t, 326, 341), "  0.125000000000");
  EXPECT_EQ(cols(t, 342, 386), " EGM-96 36Z,36T JAC70        ON  OFF ON  OFF ");
  EXPECT_EQ(cols(t, 387, 412), " 0.500000E+00-0.150000E+01");
  EXPECT_EQ(cols(t, 413, 464), "  0.123000E-01  0.25E-04  0.000000E+00 -0.250000E+00");
  EXPECT_EQ(cols(t, 465, 517), " 150 148  12.3 37 -0.12345  1.200  0.1234 -0.0567 106");
  EXPECT_EQ(cols(t, 519, 555), "GJ-VAR       ECI             FAST    ");
  EXPECT_EQ(cols(t, 567, 601), "AUTO  OFF RELERR   60.000 0.100E-11");
  EXPECT_EQ(cols(t, 602, 667), "     0.0123     1.5000 12345.6789     0.0000     0.0002     1.2345");
  EXPECT_EQ(cols(t, 668, 688), " ( 6x 6)  0.12500E+01");
  EXPECT_EQ(cols(t, 689, 714), "  0.10000E+01  0.20000E+01");
  EXPECT_EQ(cols(t, 949, 961), "  0.21000E+02");  // the 21st value
  for (size_t k = 21; k < 45; ++k) EXPECT_EQ(cols(t, 689 + 13 * k, 701 + 13 * k), "  0.00000E+00") << k;
  EXPECT_EQ(cols(t, 1274, 1464), std::string(191, ' '));
  EXPECT_EQ(cols(t, 1465, 1500), "ISS (ZARYA)" + std::string(16, ' ') + "98-067A  ");
}

TEST(QelWriterOverflow, ValuesBeyondTheirColumnsFailTheMessage) {
  // Three-digit fields above 999 and revolutions above 99999 would be "*" and unreadable.
  qel::QelRecord r = sampleRecord();
  r.f10 = 1000;
  zktest::LogWatch log;
  Written w = writeLines(r);
  EXPECT_EQ(w.code, basalon::kResultFail);
  EXPECT_EQ(w.count, 17);
  EXPECT_EQ(w.lines[17], "");
  EXPECT_EQ(w.raw.find('*'), std::string::npos);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(log.lastError(), "Qel2QelLines: F10 on line 18 is too large for its column or not valid.");
  int32_t code = 0;
  EXPECT_EQ(oneLine(r, &code), std::string(1500, ' '));
  EXPECT_EQ(code, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "Qel2Qel1Line: F10 is too large for its column or not valid.");

  r = sampleRecord();
  r.taiMinusUtc = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(writeLines(r).count, 18);
  r = sampleRecord();
  r.covDim = 9;
  r.cov[8][8] = 1e120;  // a three-digit exponent does not fit E12.5
  EXPECT_EQ(writeLines(r).code, basalon::kResultFail);

  // A satellite number of six digits does not fit the one-line form's five columns.
  r = sampleRecord();
  r.satNum = 123456;
  EXPECT_EQ(writeLines(r).code, 0);
  oneLine(r, &code);
  EXPECT_EQ(code, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "Qel2Qel1Line: satellite number is too large for its column or not valid.");
}

TEST(QelWriterOverflow, CovarianceDimensionOutsideZeroToNineIsRefused) {
  qel::QelRecord r = sampleRecord();
  for (int32_t n : {10, 15, 99, -3}) {
    r.covDim = n;
    zktest::LogWatch log;
    const Written w = writeLines(r);
    EXPECT_EQ(w.code, basalon::kResultFail);
    EXPECT_EQ(w.count, 0);
    EXPECT_EQ(w.raw, std::string(4000, ' '));
    EXPECT_EQ(log.lastError(),
              "Qel2QelLines: Invalid covariance dimension = " + std::to_string(n) + " (valid 0-9)");
    int32_t code = 0;
    EXPECT_EQ(oneLine(r, &code), std::string(1500, ' '));
    EXPECT_EQ(code, basalon::kResultFail);
    EXPECT_EQ(log.lastError(),
              "Qel2Qel1Line: Invalid covariance dimension = " + std::to_string(n) + " (valid 0-9)");
    EXPECT_EQ(log.errors(), 2);
  }
  // A buffer too short for the message is never written past.
  r.covDim = 9;
  std::string small(35 * 80, '#');
  int32_t count = -1;
  EXPECT_EQ(qel::Qel2QelLines(r, std::span<char>(small.data(), small.size()), &count), basalon::kResultFail);
  EXPECT_EQ(count, 0);
}

class QelWriterUnit : public ::testing::Test {
 protected:
  std::string path_ = ::testing::TempDir() + "qel_writer_test.txt";
  static constexpr int kUnit = 41;
  std::vector<std::string> written() {
    std::ifstream in(path_);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
  }
};

TEST_F(QelWriterUnit, LinesAreWrittenTrimmedAndABadRecordWritesNothing) {
  ASSERT_EQ(basalon::fileopen(kUnit, path_, 0), 0);
  EXPECT_TRUE(qel::Qel2Lines(sampleRecord(), kUnit));
  qel::QelRecord bad = sampleRecord();
  bad.avgF10 = -100;
  EXPECT_FALSE(qel::Qel2Lines(bad, kUnit));
  ASSERT_EQ(basalon::fileClose(kUnit), 0);
  const std::vector<std::string> lines = written();
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines[2], "<> MESSAGE TIME (UTC):" + std::string(34, ' ') + "CENTER:");
  EXPECT_EQ(lines[4], "<> COMMON NAME:");
  // A unit that is not open fails the record.
  zktest::LogWatch log;
  EXPECT_FALSE(qel::Qel2Lines(sampleRecord(), kUnit));
  EXPECT_EQ(log.errors(), 1);
}

TEST_F(QelWriterUnit, SaveWritesEveryOtherRecordAndCountsTheOneThatCannotBeWritten) {
  int32_t code = 0;
  qel::QelEmptyTree(code);
  constexpr int kRecords = 3000;
  constexpr int kUnwritable = 1777;
  qel::QelRecord r = sampleRecord();
  r.covDim = 0;
  for (int s = 1; s <= kRecords; ++s) {
    r.satNum = s;
    // A value the store accepts but no column can show makes this one record unwritable.
    r.f10 = s == kUnwritable ? 1000 : 150;
    int64_t key = 0;
    qel::AddQelToMem(r, key);
    ASSERT_GT(key, 0);
  }
  ASSERT_EQ(basalon::fileopen(kUnit, path_, 0), 0);
  zktest::LogWatch log;
  EXPECT_EQ(qel::QelWriteLines(kUnit), 1);
  EXPECT_EQ(log.errors(), 1);
  ASSERT_EQ(basalon::fileClose(kUnit), 0);
  const std::vector<std::string> lines = written();
  ASSERT_EQ(lines.size(), static_cast<size_t>(27 * (kRecords - 1)));
  std::vector<bool> seen(kRecords + 1, false);
  for (size_t k = 3; k < lines.size(); k += 27) {
    seen[static_cast<size_t>(std::stoi(lines[k].substr(21, 5)))] = true;
  }
  for (int s = 1; s <= kRecords; ++s) EXPECT_EQ(seen[static_cast<size_t>(s)], s != kUnwritable) << s;
  qel::QelEmptyTree(code);
}

}  // namespace
