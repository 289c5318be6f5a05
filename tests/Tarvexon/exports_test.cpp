// The Tarvexon exports that need no file: adding ephemerides and points, keys and listings, fields,
// and states at a time or at a point, with their messages and cleared outputs.
#include <Basalon.h>
#include <Tarvexon.h>
#include <gtest/gtest.h>

#include <array>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/TarvexonTree.h"
#include "common/TestSupport.h"

namespace {

using zktest::LogWatch;

constexpr double kEpoch = 26000.5;  // 2021 day 67, 12:00 UTC
constexpr double kMinute = 1.0 / 1440.0;

std::string keyText(int64_t key) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%19" PRId64, key);
  return buf;
}

std::string buffer(const std::string& text, size_t length) {
  std::string b(length, ' ');
  b.replace(0, std::min(text.size(), length), text.substr(0, length));
  return b;
}

// A point of a straight-line motion: x grows 7 km/s, y and z fixed, revolution number k.
struct Sample {
  double t;
  std::array<double, 3> pos, vel;
};
// x of the straight line at a stored DS50 time: positions follow the double times themselves (one
// unit in the last place of a DS50 day is 0.3 us, 2 mm of this motion).
double lineX(double t) { return 7000.0 + 7.0 * (t - kEpoch) * 86400.0; }
Sample lineSample(int k) {
  const double t = kEpoch + k * kMinute;
  return {t, {lineX(t), 100.0, -50.0}, {7.0, 0.0, 0.0}};
}

class TarvexExports : public ::testing::Test {
 protected:
  void SetUp() override {
    BasalonSetElsetKeyMode(0);
    TarvexRemoveAllSats();
  }
  void TearDown() override {
    TarvexRemoveAllSats();
    BasalonSetElsetKeyMode(0);
  }

  // An ephemeris of n points a minute apart on the line above, revolution numbers 100 + k.
  static int64_t lineSat(int satNum, int n, int coordSys = 2) {
    const int64_t key = TarvexAddSat(satNum, kEpoch, 6378.135, 0.07436691613317341, coordSys);
    for (int k = 0; k < n; ++k) {
      const Sample s = lineSample(k);
      EXPECT_EQ(TarvexAddSatEphem(key, s.t, s.pos.data(), s.vel.data(), 100 + k), 0);
    }
    return key;
  }

  static tarvexon::TarvexRecord stored(int64_t key) {
    tarvexon::TarvexRecord rec;
    tarvexon::FindRec(key, rec);
    return rec;
  }

  static std::string field(int64_t key, int index, int32_t* code = nullptr) {
    std::string value(512, '#');
    const int32_t c = TarvexGetField(key, index, value.data());
    if (code != nullptr) *code = c;
    return value;
  }
};

TEST_F(TarvexExports, AddSatAcceptsOnlyKnownCoordinateSystems) {
  LogWatch watch;
  const int64_t j2k = TarvexAddSat(101, kEpoch, 6378.135, 0.0743669, 12);  // tens kept apart: system 2
  ASSERT_GT(j2k, 0);
  EXPECT_EQ(stored(j2k).coordSys, 2);
  EXPECT_EQ(stored(j2k).coordSysTens, 10);
  EXPECT_GT(TarvexAddSat(102, kEpoch, 6378.135, 0.0743669, 17), 0);
  EXPECT_EQ(watch.errors(), 0);
  // The system is the last digit of the argument (14 is system 4) unless the argument is 15 to 20.
  for (const int32_t bad : {0, 5, 9, 10, 25, -1, -12}) {
    LogWatch one;
    EXPECT_EQ(TarvexAddSat(103, kEpoch, 6378.135, 0.0743669, bad), -1) << bad;
    EXPECT_EQ(one.errors(), 1) << bad;
  }
  LogWatch nan;
  EXPECT_EQ(TarvexAddSat(104, std::nan(""), 6378.135, 0.0743669, 1), -1);
  EXPECT_EQ(nan.errors(), 1);
  EXPECT_EQ(LogWatch::lastError(), "TarvexAddSat: input is NaN or infinite");
  EXPECT_EQ(TarvexGetCount(), 2);
}

TEST_F(TarvexExports, AppendingKeepsOnlyLaterPointsAndRefusesUnknownKeys) {
  const int64_t key = TarvexAddSat(201, 9.0, 6378.135, 0.0743669, 1);
  const double pos[3] = {7000, 0, 0}, vel[3] = {0, 7.5, 0};
  for (const double t : {10.0, 10.5, 10.5, 10.2, 11.0}) EXPECT_EQ(TarvexAddSatEphem(key, t, pos, vel, 0), 0);
  int32_t n = -1;
  EXPECT_EQ(TarvexGetNumPts(key, &n), 0);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(stored(key).epochDs50UTC, 10.0);
  double start = -1, end = -1;
  EXPECT_EQ(TarvexStartEndTime(key, &start, &end), 0);
  EXPECT_EQ(start, 10.0);
  EXPECT_EQ(end, 11.0);

  LogWatch watch;
  EXPECT_EQ(TarvexAddSatEphem(key + 10, 12.0, pos, vel, 0), 2);
  EXPECT_EQ(watch.errors(), 1);
  EXPECT_EQ(LogWatch::lastError(), "FindRecPtr: search key doens't exist.");
  const double bad[3] = {7000, std::nan(""), 0};
  EXPECT_EQ(TarvexAddSatEphem(key, 12.0, bad, vel, 0), 2);
  EXPECT_EQ(TarvexAddSatEphem(key, 12.0, pos, nullptr, 0), 2);
  EXPECT_EQ(watch.errors(), 3);
  EXPECT_EQ(stored(key).numPts, 3);
}

TEST_F(TarvexExports, CovarianceIsStoredOnlyWhenSomeValueIsNotZero) {
  const int64_t key = TarvexAddSat(301, kEpoch, 6378.135, 0.0743669, 1);
  const double pos[3] = {7000, 0, 0}, vel[3] = {0, 7.5, 0};
  std::array<double, 21> zero{};
  std::array<double, 21> cov{};
  for (int k = 0; k < 21; ++k) cov[k] = k + 1.0;
  std::array<double, 40> ext{};
  for (int k = 0; k < 40; ++k) ext[k] = 100.0 + k;  // only the first 21 belong to the point
  EXPECT_EQ(TarvexAddSatEphemCovMtx(key, kEpoch, pos, vel, 1, zero.data()), 0);
  EXPECT_EQ(TarvexAddSatEphemCovMtx(key, kEpoch + kMinute, pos, vel, 2, cov.data()), 0);
  EXPECT_EQ(TarvexAddSatEphemExt(key, kEpoch + 2 * kMinute, pos, vel, 3, ext.data()), 0);
  const tarvexon::TarvexRecord rec = stored(key);
  ASSERT_EQ(rec.numPts, 3);
  for (int k = 0; k < 21; ++k) {
    EXPECT_EQ(rec.points[0].covMtx[k], 0.0);
    EXPECT_EQ(rec.points[1].covMtx[k], k + 1.0);
    EXPECT_EQ(rec.points[2].covMtx[k], 100.0 + k);
  }
  LogWatch watch;
  cov[20] = std::numeric_limits<double>::infinity();
  EXPECT_EQ(TarvexAddSatEphemCovMtx(key, kEpoch + 3 * kMinute, pos, vel, 4, cov.data()), 2);
  EXPECT_EQ(watch.errors(), 1);
  EXPECT_EQ(stored(key).numPts, 3);
}

TEST_F(TarvexExports, GetLoadedOnAnEmptyStoreLogsInformationAndWritesNothing) {
  std::array<int64_t, 3> keys{-7, -7, -7};
  LogWatch watch;
  TarvexGetLoaded(0, keys.data());
  EXPECT_EQ(keys, (std::array<int64_t, 3>{-7, -7, -7}));
  EXPECT_EQ(watch.errors(), 0);
  EXPECT_EQ(watch.infos(), 1);
  EXPECT_EQ(LogWatch::lastInfo(), "Warning-TarvexGetLoaded: The binary tree is empty. No satKey returns.");
  EXPECT_EQ(TarvexGetKeys(0, 3, keys.data()), 0);
}

TEST_F(TarvexExports, KeyListingsOrderAndBound) {
  const int64_t b = TarvexAddSat(502, kEpoch, 6378.135, 0.0743669, 1);
  const int64_t a2 = TarvexAddSat(501, kEpoch, 6378.135, 0.0743669, 3);
  const int64_t a1 = TarvexAddSat(501, kEpoch + 1, 6378.135, 0.0743669, 1);
  std::array<int64_t, 4> keys{0, 0, 0, -9};
  TarvexGetLoaded(0, keys.data());  // satellite, then coordinate system, then epoch
  EXPECT_EQ(keys, (std::array<int64_t, 4>{a1, a2, b, -9}));
  keys.fill(-9);
  EXPECT_EQ(TarvexGetKeys(2, 3, keys.data()), 3);  // load order
  EXPECT_EQ(keys, (std::array<int64_t, 4>{b, a2, a1, -9}));
  keys.fill(-9);
  EXPECT_EQ(TarvexGetKeys(1, 2, keys.data()), 2);  // never more than room was given for
  EXPECT_EQ(keys[2], -9);
  EXPECT_EQ(TarvexGetSatKey(502), b);
  LogWatch watch;
  EXPECT_EQ(TarvexGetSatKey(999), -1);
  EXPECT_EQ(LogWatch::lastError(),
            "GetSatKey: Unable to locate satellite number       999 in the Tarvex binary tree.");
  EXPECT_EQ(TarvexRemoveSat(b), 0);
  EXPECT_EQ(TarvexRemoveSat(b), 2);
  EXPECT_EQ(TarvexGetCount(), 2);
}

TEST_F(TarvexExports, FieldsToSatKeyLeftAdjustsAndZeroFillsBlanks) {
  const int64_t expected = chronel::createsatkey(12345, 6, kEpoch);
  ASSERT_GT(expected, 0);
  EXPECT_EQ(TarvexFieldsToSatKey(12345, buffer("21067120000.000", 20).c_str()), expected);
  EXPECT_EQ(TarvexFieldsToSatKey(12345, buffer("   21067120000.000", 20).c_str()), expected);
  // Blanks after the year read as zeros: hour " 2" is 02:00, and the trailing blanks are decimals.
  EXPECT_EQ(TarvexFieldsToSatKey(12345, buffer("21067 20000.000", 20).c_str()),
            chronel::createsatkey(12345, 6, kEpoch - 10.0 / 24.0));
  // The key is made without the store: nothing is added.
  EXPECT_EQ(TarvexGetCount(), 0);
  LogWatch watch;
  EXPECT_EQ(TarvexFieldsToSatKey(12345, std::string(20, ' ').c_str()), -1);
  EXPECT_EQ(TarvexFieldsToSatKey(12345, nullptr), -1);
  EXPECT_EQ(watch.errors(), 2);
}

TEST_F(TarvexExports, GetFieldWritesEachFieldLeftAdjusted) {
  const int64_t key = lineSat(12345, 2);
  int32_t code = -1;
  EXPECT_EQ(field(key, 1), buffer("12345", 512));
  EXPECT_EQ(field(key, 2), buffer("21067120000.000", 512));
  const std::string radius = field(key, 3);  // F35.15: the double's digits, left-adjusted
  EXPECT_EQ(radius.substr(0, 16), "6378.13500000000");
  EXPECT_EQ(radius.find(' '), 20u);
  EXPECT_EQ(field(key, 5), buffer("7000.000000000000000", 512));
  EXPECT_EQ(field(key, 8), buffer("7.000000000000000", 512));
  EXPECT_EQ(field(key, 11), buffer("2", 512));
  EXPECT_EQ(field(key, 12), buffer("2", 512));
  EXPECT_EQ(field(key, 13), std::string(512, ' '));
  EXPECT_EQ(field(key, 16, &code), std::string(512, ' '));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(field(key, 0, &code), std::string(512, ' '));
  EXPECT_EQ(code, 0);

  // A two-digit system does not fit its one column.
  const int64_t site = lineSat(777, 1, 15);
  EXPECT_EQ(field(site, 11), buffer("*", 512));

  LogWatch watch;
  const int64_t empty = TarvexAddSat(12346, kEpoch, 6378.135, 0.0743669, 1);
  for (const int index : {1, 11, 16}) {
    EXPECT_EQ(field(empty, index, &code), std::string(512, ' '));
    EXPECT_EQ(code, 2);
    EXPECT_EQ(LogWatch::lastError(), "TarvexGetField: This satellite does not contain any ephemeris data.");
  }
  EXPECT_EQ(watch.errors(), 3);
  EXPECT_EQ(field(key + 10, 1, &code), std::string(512, ' '));
  EXPECT_EQ(code, 2);
}

TEST_F(TarvexExports, SetFieldChangesOnlyWhatItMayAndRefusesUnknownSystems) {
  const int64_t key = lineSat(12345, 2);
  EXPECT_EQ(TarvexSetField(key, 11, buffer("  3", 512).c_str()), 0);
  EXPECT_EQ(stored(key).coordSys, 3);
  EXPECT_EQ(TarvexSetField(key, 11, buffer("20", 512).c_str()), 0);
  EXPECT_EQ(stored(key).coordSys, 20);
  for (const char* bad : {"5", "abc", "", "3.5", "-2"}) {
    LogWatch watch;
    EXPECT_EQ(TarvexSetField(key, 11, buffer(bad, 512).c_str()), 2) << bad;
    EXPECT_EQ(watch.errors(), 1) << bad;
    EXPECT_EQ(stored(key).coordSys, 20) << bad;
  }
  const tarvexon::TarvexRecord before = stored(key);
  EXPECT_EQ(TarvexSetField(key, 12, buffer("99", 512).c_str()), 0);
  EXPECT_EQ(TarvexSetField(key, 1, buffer("99", 512).c_str()), 0);
  EXPECT_EQ(stored(key).numPts, before.numPts);
  EXPECT_EQ(stored(key).satNum, before.satNum);

  EXPECT_EQ(TarvexSetField(key, 14, buffer("   SATELLITE-NAME", 512).c_str()), 0);
  EXPECT_EQ(stored(key).satName.view(), "SATELLIT");
  EXPECT_EQ(TarvexSetField(key, 15, buffer(std::string(200, 'L'), 512).c_str()), 0);
  EXPECT_EQ(stored(key).cardLabel.view(), std::string(128, 'L'));
  EXPECT_EQ(field(key, 14), buffer("SATELLIT", 512));

  LogWatch watch;
  EXPECT_EQ(TarvexSetField(key + 10, 14, buffer("X", 512).c_str()), 2);
  EXPECT_EQ(watch.errors(), 1);
  EXPECT_EQ(LogWatch::lastError(), "FindRecPtr: search key doens't exist.");
}

TEST_F(TarvexExports, RecordsWithoutPointsAnswerCountsButNotTimes) {
  const int64_t key = TarvexAddSat(401, kEpoch, 6378.135, 0.0743669, 4);
  int32_t n = -1;
  EXPECT_EQ(TarvexGetNumPts(key, &n), 0);
  EXPECT_EQ(n, 0);
  double start = 5, end = 5;
  LogWatch watch;
  EXPECT_EQ(TarvexStartEndTime(key, &start, &end), 2);
  EXPECT_EQ(start, 0.0);
  EXPECT_EQ(end, 0.0);
  EXPECT_EQ(watch.errors(), 1);
  EXPECT_EQ(LogWatch::lastError(),
            "TarvexStartEndTime: satKey " + keyText(key) + " does not contain any ephemeris data.");
  std::string line(512, '#');
  EXPECT_EQ(TarvexGetLine(key, line.data()), 0);
  EXPECT_EQ(line, buffer("EPHFIL = ", 512));

  int32_t satNum = -1, coordSys = -1, numPts = -1;
  std::string name(8, '#'), label(128, '#'), file(512, '#');
  double epoch = -1, radius = -1, ke = -1, pos[3] = {-1, -1, -1}, vel[3] = {-1, -1, -1};
  EXPECT_EQ(TarvexGetAllFields(key, &satNum, name.data(), label.data(), &epoch, &radius, &ke, pos, vel,
                               &coordSys, &numPts, file.data()),
            0);
  EXPECT_EQ(satNum, 401);
  EXPECT_EQ(name, std::string(8, ' '));
  EXPECT_EQ(label, std::string(128, ' '));
  EXPECT_EQ(file, std::string(512, ' '));
  EXPECT_EQ(epoch, kEpoch);
  EXPECT_EQ(radius, 6378.135);
  EXPECT_EQ(ke, 0.0743669);
  EXPECT_EQ(coordSys, 4);
  EXPECT_EQ(numPts, 0);
  EXPECT_EQ(pos[0], 0.0);
  EXPECT_EQ(vel[2], 0.0);

  // A key that is not loaded clears every output.
  EXPECT_EQ(TarvexGetAllFields(key + 10, &satNum, name.data(), label.data(), &epoch, &radius, &ke, pos, vel,
                               &coordSys, &numPts, file.data()),
            2);
  EXPECT_EQ(satNum, 0);
  EXPECT_EQ(epoch, 0.0);
  EXPECT_EQ(coordSys, 0);
}

// ---- States ----------------------------------------------------------------------------------------

TEST_F(TarvexExports, MseZeroReturnsThePointItselfWithItsRevolutionAndCovariance) {
  const int64_t key = TarvexAddSat(601, kEpoch, 6378.135, 0.0743669, 1);
  std::array<double, 21> cov{};
  for (int k = 0; k < 21; ++k) cov[k] = k + 1.0;
  for (int k = 0; k < 5; ++k) {
    const Sample s = lineSample(k);
    ASSERT_EQ(TarvexAddSatEphemCovMtx(key, s.t, s.pos.data(), s.vel.data(), 100 + k, cov.data()), 0);
  }
  double t = 0, pos[3], vel[3];
  std::array<double, 36> m{};
  int32_t rev = 0;
  ASSERT_EQ(TarvexMseCovMtx(key, 0.0, &t, pos, vel, &rev, m.data()), 0);
  const Sample first = lineSample(0);
  EXPECT_EQ(t, first.t);
  EXPECT_EQ(pos[0], first.pos[0]);
  EXPECT_EQ(pos[1], first.pos[1]);
  EXPECT_EQ(vel[0], first.vel[0]);
  EXPECT_EQ(rev, 100);
  // The full symmetric matrix of the packed values: row 6 is 16 ... 21, and so is column 6.
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(m[5 * 6 + j], 16.0 + j);
    EXPECT_EQ(m[j * 6 + 5], 16.0 + j);
  }
  EXPECT_EQ(m[1 * 6 + 0], 2.0);

  // Between points the state follows the line, and the MSE is that of the request.
  double mse = 0;
  const double request = kEpoch + 2.5 * kMinute;
  ASSERT_EQ(TarvexDs50UTC(key, request, &mse, pos, vel, &rev), 0);
  EXPECT_NEAR(mse, 2.5, 1e-8);
  EXPECT_NEAR(pos[0], lineX(request), 1e-9);
  EXPECT_NEAR(vel[0], 7.0, 1e-9);
  ASSERT_EQ(TarvexMse(key, 3.5, &t, pos, vel, &rev), 0);
  EXPECT_NEAR(t, kEpoch + 3.5 * kMinute, 1e-12);
  EXPECT_NEAR(pos[0], lineX(t), 1e-9);
}

TEST_F(TarvexExports, ScalarMarkerIsNoCovarianceInTheMatrixOutputs) {
  const int64_t key = TarvexAddSat(602, kEpoch, 6378.135, 0.0743669, 1);
  std::array<double, 21> scalar{};
  scalar[0] = 3.5;
  scalar[1] = 12345.0;
  for (int k = 0; k < 4; ++k) {
    const Sample s = lineSample(k);
    ASSERT_EQ(TarvexAddSatEphemCovMtx(key, s.t, s.pos.data(), s.vel.data(), 0, scalar.data()), 0);
  }
  double t = 0, pos[3], vel[3];
  int32_t rev = 0;
  std::array<double, 36> m;
  m.fill(9.0);
  ASSERT_EQ(TarvexGetCovMtx(key, 2, &t, pos, vel, &rev, m.data()), 0);
  EXPECT_EQ(m, (std::array<double, 36>{}));
  m.fill(9.0);
  ASSERT_EQ(TarvexDs50UTCCovMtx(key, kEpoch + 1.5 * kMinute, &t, pos, vel, &rev, m.data()), 0);
  EXPECT_EQ(m, (std::array<double, 36>{}));
  // The packed form is handed out as it is: the scalar and its marker.
  std::array<double, 128> x{};
  ASSERT_EQ(TarvexXten(key, 3, 2.0, x.data()), 0);
  EXPECT_EQ(x[9], 3.5);
  EXPECT_EQ(x[10], 12345.0);
}

TEST_F(TarvexExports, XtenTypesTruncatedIndicesAndTheInvalidType) {
  const int64_t key = lineSat(603, 6);
  std::array<double, 128> x;
  x.fill(9.0);
  LogWatch watch;
  EXPECT_EQ(TarvexXten(key, 4, 1.0, x.data()), 2);
  EXPECT_EQ(watch.errors(), 1);
  EXPECT_EQ(LogWatch::lastError(), "TarvexXten: Invalid ephemeris type. Valid values are 1, 2, and 3.");
  EXPECT_EQ(x, (std::array<double, 128>{}));

  ASSERT_EQ(TarvexXten(key, 3, 2.9, x.data()), 0);  // point 2
  const Sample second = lineSample(1);
  EXPECT_NEAR(x[0], 1.0, 1e-8);  // minutes from DS50 days: a few units in the last place
  EXPECT_EQ(x[1], second.t);
  EXPECT_EQ(x[2], second.pos[0]);
  EXPECT_EQ(x[5], second.vel[0]);
  EXPECT_EQ(x[8], 101.0);
  for (size_t k = 9; k < x.size(); ++k) EXPECT_EQ(x[k], 0.0) << k;

  ASSERT_EQ(TarvexXten(key, 1, 1.5, x.data()), 0);
  EXPECT_EQ(x[0], 1.5);
  EXPECT_NEAR(x[1], kEpoch + 1.5 * kMinute, 1e-12);
  EXPECT_NEAR(x[2], 7000.0 + 7.0 * 90.0, 1e-6);
  ASSERT_EQ(TarvexXten(key, 2, kEpoch + 1.5 * kMinute, x.data()), 0);
  EXPECT_NEAR(x[0], 1.5, 1e-6);
  EXPECT_EQ(x[1], kEpoch + 1.5 * kMinute);

  x.fill(9.0);
  EXPECT_EQ(TarvexXten(key, 3, 7.0, x.data()), 2);  // 6 points only
  EXPECT_EQ(x, (std::array<double, 128>{}));
}

TEST_F(TarvexExports, FailedStatesLeaveClearedOutputsInBothKeyModes) {
  for (const int mode : {0, 1}) {
    BasalonSetElsetKeyMode(mode);
    const int64_t key = lineSat(604 + mode, 5);
    double t = 9, pos[3] = {9, 9, 9}, vel[3] = {9, 9, 9};
    std::array<double, 36> m;
    m.fill(9.0);
    int32_t rev = 9;
    LogWatch watch;
    EXPECT_EQ(TarvexDs50UTCCovMtx(key, kEpoch - kMinute, &t, pos, vel, &rev, m.data()), 2);
    EXPECT_EQ(watch.errors(), 1);
    EXPECT_EQ(t, 0.0);
    EXPECT_EQ(pos[0], 0.0);
    EXPECT_EQ(vel[2], 0.0);
    EXPECT_EQ(rev, 0);
    EXPECT_EQ(m, (std::array<double, 36>{}));
    EXPECT_EQ(TarvexGetEphemeris(key, 6, &t, pos, vel, &rev), 2);
    EXPECT_EQ(TarvexGetEphemeris(key, 5, &t, pos, vel, &rev), 0);
    EXPECT_EQ(rev, 104);
    EXPECT_EQ(TarvexRemoveSat(key), 0);
    EXPECT_EQ(TarvexMse(key, 0.0, &t, pos, vel, &rev), 2);
    EXPECT_EQ(watch.errors(), 3);
  }
}

}  // namespace
