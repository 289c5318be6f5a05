// Qel record value checks (messages and ranges) and deep copy of the owned maneuver lines.
#include <gtest/gtest.h>

#include <limits>

#include "Qel/QelTypes.h"
#include "common/TestSupport.h"

namespace {

qel::QelRecord goodRecord() {
  qel::QelRecord r;
  r.satNum = 12345;
  r.epoch = {2024, 100, 12, 30, 15.25};
  r.epochRev = 500;
  r.eciPos = {7000.0, -100.0, 20.0};
  r.eciVel = {0.5, 7.5, -1.0};
  return r;
}

TEST(QelValidate, SatelliteNumberRange) {
  qel::QelRecord r = goodRecord();
  for (int bad : {0, 1000000000}) {
    r.satNum = bad;
    zktest::LogWatch log;
    EXPECT_EQ(qel::ValidateQelValues(r), 2);
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(log.lastError(), "ValidateQelValues: Invalid satellite number = " + std::to_string(bad) +
                                   " (valid = 1-999999999)");
  }
  r.satNum = 999999999;
  zktest::LogWatch log;
  EXPECT_EQ(qel::ValidateQelValues(r), 0);
  EXPECT_EQ(log.errors(), 0);
}

TEST(QelValidate, DayOfYearFollowsTheEpochYear) {
  qel::QelRecord r = goodRecord();
  r.epoch.day = 366;
  r.epoch.year = 2024;
  EXPECT_EQ(qel::ValidateQelValues(r), 0);
  r.epoch.year = 2023;
  zktest::LogWatch log;
  EXPECT_EQ(qel::ValidateQelValues(r), 2);
  EXPECT_EQ(log.lastError(), "ValidateQelValues: Invalid Day of Epoch = 366 (valid 1-365)");
  r.epoch.year = 2000;  // divisible by 400
  r.epoch.day = 367;
  EXPECT_EQ(qel::ValidateQelValues(r), 2);
  EXPECT_EQ(log.lastError(), "ValidateQelValues: Invalid Day of Epoch = 367 (valid 1-366)");
  r.epoch.day = 0;
  r.epoch.year = 2100;  // not a leap year
  EXPECT_EQ(qel::ValidateQelValues(r), 2);
  EXPECT_EQ(log.lastError(), "ValidateQelValues: Invalid Day of Epoch = 0 (valid 1-365)");
}

TEST(QelValidate, EciStateLimitsAreInclusive) {
  qel::QelRecord r = goodRecord();
  r.eciPos[1] = 1.0e7;
  r.eciPos[2] = -1.0e7;
  r.eciVel[0] = -1.0e3;
  EXPECT_EQ(qel::ValidateQelValues(r), 0);
  r.eciPos[1] = 1.0000001e7;
  zktest::LogWatch log;
  EXPECT_EQ(qel::ValidateQelValues(r), 2);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(log.lastError().rfind("ValidateQelValues: Invalid ECI PosY = 1", 0), 0u) << log.lastError();
  EXPECT_NE(log.lastError().find(" (valid -1E7 to 1E7)"), std::string::npos);
  r = goodRecord();
  r.eciVel[2] = 1000.5;
  EXPECT_EQ(qel::ValidateQelValues(r), 2);
  EXPECT_EQ(log.lastError(), "ValidateQelValues: Invalid ECI VelZ = 1000.5 (valid -1E3 to 1E3)");
  // a value that is not a number is never in range
  r = goodRecord();
  r.eciPos[0] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(qel::ValidateQelValues(r), 2);
  // the J2000 and Earth-fixed vectors are not range-tested
  r = goodRecord();
  r.j2kPos[0] = 1e12;
  r.efgVel[2] = -1e9;
  EXPECT_EQ(qel::ValidateQelValues(r), 0);
}

TEST(QelValidate, EveryFailingCheckLogsInOrder) {
  qel::QelRecord r = goodRecord();
  r.epoch.year = 1950;
  r.epochRev = 100000;
  zktest::LogWatch log;
  EXPECT_EQ(qel::ValidateQelValues(r), 2);
  EXPECT_EQ(log.errors(), 2);
  EXPECT_EQ(log.lastError(), "ValidateQelValues: Invalid Epoch Revolution = 100000 (valid 0-99999)");
  r = qel::QelRecord{};  // the default record fails number, year and day
  zktest::LogWatch all;
  EXPECT_EQ(qel::ValidateQelValues(r), 2);
  EXPECT_EQ(all.errors(), 3);
}

TEST(QelRecordCopy, ManeuverLinesAreDeepCopied) {
  qel::QelRecord src = goodRecord();
  qel::AllocManeuverLines(src);
  ASSERT_EQ(src.maneuverLines.size(), 100u);
  src.maneuverLines[0].set("VP line one");
  src.maneuverLines[1].set("VP line two");
  src.numManeuverLines = 2;
  qel::QelRecord copy;
  qel::CopyQelRecord(copy, src);
  EXPECT_EQ(copy.maneuverLines.size(), 100u);  // all entries, not only the used ones
  EXPECT_EQ(copy.numManeuverLines, 2);
  EXPECT_NE(copy.maneuverLines.data(), src.maneuverLines.data());
  qel::FreeQelRecord(copy);
  EXPECT_TRUE(copy.maneuverLines.empty());
  EXPECT_EQ(copy.numManeuverLines, 0);
  EXPECT_EQ(src.maneuverLines[1].str(), "VP line two");
  qel::CopyQelRecord(src, src);
  EXPECT_EQ(src.maneuverLines[0].str(), "VP line one");
  // a new record is blank and zero
  const qel::QelRecord fresh;
  EXPECT_EQ(fresh.geoModel.view(), "      ");
  EXPECT_EQ(fresh.cov[8][8], 0.0);
  EXPECT_TRUE(fresh.maneuverLines.empty());
}

}  // namespace
