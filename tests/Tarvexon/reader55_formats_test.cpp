// ZQ universal, LCH, OASYS, owner/operator, EELV, DCE text and launch trajectory files, written by
// the test from a known orbit: every point back in km and km/s with its satellite and frame, and
// each format's own rules (feet, DCE day origin, LCH scalar, the launch date, bad times skipped).
#include <Tarvexon.h>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Interpolation.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"
#include "common/TestSupport.h"
#include "reader_files.h"

namespace {

using namespace tarvextest;

// "2024-04-09T00:00:00.000" and "2024/04/09 00:00:00.000" of a time sec seconds into day 100.
std::string calendar(double sec, char dateSep, char timeSep) {
  const long ms = std::lround(sec * 1000.0), s = ms / 1000;
  char buf[40];
  std::snprintf(buf, sizeof buf, "2024%c04%c%02ld%c%02ld:%02ld:%02ld.%03ld", dateSep, dateSep, 9 + s / 86400,
                timeSep, (s % 86400) / 3600, (s % 3600) / 60, s % 60, ms % 1000);
  return buf;
}
std::string sixValues(const State& s, const char* format = " %.12f") {
  std::string out;
  for (double v : s.pos) out += fmt(format, v);
  for (double v : s.vel) out += fmt(format, v);
  return out;
}

class Formats55 : public ReaderTest {
 protected:
  int64_t add(const std::string& name, const std::string& text) {
    empty();
    return TarvexAddSatFrFile(file(name, text).c_str());
  }
  tarvexon::TarvexRecord addOk(const std::string& name, const std::string& text) {
    const int64_t key = add(name, text);
    EXPECT_GT(key, 0) << zktest::LogWatch::lastError();
    return stored(key);
  }
};

// ---- ZQ universal ---------------------------------------------------------------------------------

std::string zqTitle(const std::string& satNum, const std::string& system, bool csv) {
  std::string t = "ZQ_UNIVERSAL_TARVEXON_V1";
  put(t, 30, satNum);
  put(t, 40, system);
  put(t, 50, csv ? "CSV " : "FIX");
  return t + "\n";
}
std::string zqFixedLine(const State& s) {
  std::string l = calendar(s.sec, '-', 'T') + "000";  // 26 columns
  for (int k = 0; k < 3; ++k) put(l, 28 + 20 * k, fmt("%19.12f", s.pos[k]));
  for (int k = 0; k < 3; ++k) put(l, 88 + 20 * k, fmt("%19.12f", s.vel[k]));
  return l + "\n";
}

TEST_F(Formats55, ZqUniversalFixedAndCommaSeparated) {
  const auto states = circularOrbit(12);
  std::string fixed = zqTitle("   4321", "hcsrl", false);
  for (const State& s : states) fixed += zqFixedLine(s);
  const tarvexon::TarvexRecord f = addOk("zq.txt", fixed);
  EXPECT_EQ(f.satNum, 4321);
  EXPECT_EQ(f.coordSys, tarvexon::kCoordHcsrl);
  expectPoints(f, states, 1e-9, 1e-12);

  std::string csv = zqTitle("77", "WPTGC", true);
  for (const State& s : states) csv += calendar(s.sec, '-', 'T') + "," + sixValues(s, "%.12f,") + "\n";
  csv += "2024-04-09T09:00:00.000 1 2 3 4 5 6\n";                               // no comma: skipped
  csv += "not a time,1,2,3,4,5,6\n";                                            // bad time: skipped
  csv += "2024-04-09T09:00:00.000                             ,1,2,3,4,5,6\n";  // comma past column 27
  zktest::LogWatch log;
  const tarvexon::TarvexRecord c = addOk("zqcsv.txt", csv);
  EXPECT_EQ(c.satNum, 77);
  EXPECT_EQ(c.coordSys, tarvexon::kCoordWptgc);
  expectPoints(c, states, 1e-9, 1e-12);
  EXPECT_EQ(log.errors(), 6);
}

TEST_F(Formats55, ZqUniversalTitleFailures) {
  const auto states = circularOrbit(3);
  std::string points;
  for (const State& s : states) points += zqFixedLine(s);
  EXPECT_EQ(add("a.txt", zqTitle("12", "eci", false) + points), -1);  // a frame name is not a mobile kind
  EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadZQUniversalTarvex: Invalid coordinate system. ***");
  EXPECT_EQ(add("b.txt", zqTitle("  twelve", "hcsgc", false) + points), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadZQUniversalTarvex: Invalid satellite number. ***");
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 0);
}

// ---- LCH ------------------------------------------------------------------------------------------

std::string lchFile(int satNum, const std::vector<State>& states) {
  std::string text = "CLASSIFICATION:                 UNCLASSIFIED\n";
  for (int k = 0; k < 4; ++k) text += "lch header " + std::to_string(k) + "\n";
  std::string sat = "SATELLITE";
  put(sat, 44, fmt("%5.0f", satNum));
  text += sat + "\n";
  for (int k = 0; k < 4; ++k) text += "more header " + std::to_string(k) + "\n";
  for (size_t k = 0; k < states.size(); ++k)
    text += dtg17(states[k].sec) + " " + sixValues(states[k]) +
            fmt(" %.6f", 100.0 + 10.0 * static_cast<double>(k)) + "\n";
  return text;
}

TEST_F(Formats55, LchKeepsItsMarkedScalarAndInterpolatesItAlone) {
  const auto states = circularOrbit(10);
  const tarvexon::TarvexRecord rec = addOk("x.lch", lchFile(31415, states));
  EXPECT_EQ(rec.satNum, 31415);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordEci);
  expectPoints(rec, states, 1e-9, 1e-12);
  for (int k = 0; k < rec.numPts; ++k) {
    EXPECT_DOUBLE_EQ(rec.points[k].covMtx[0], 100.0 + 10.0 * k);
    EXPECT_EQ(rec.points[k].covMtx[1], tarvexon::kScalarCovMarker);
    EXPECT_FALSE(tarvexon::HasCovariance(rec.points[k]));
  }
  const int64_t key = tarvexon::TarvexSatKeyGet(31415);
  double mse = 0;
  tarvexon::TarvexPoint pt;
  int32_t code = -1;
  tarvexon::GetEphem(key, kDs50Day100 + 270.0 / 86400.0, tarvexon::EphemInput::kDs50Utc, mse, pt, code);
  ASSERT_EQ(code, 0);
  EXPECT_NEAR(pt.covMtx[0], 145.0, 1e-6);  // linear in time: halfway
  for (int i = 2; i < tarvexon::kCovPacked; ++i) EXPECT_EQ(pt.covMtx[i], 0.0);
}

TEST_F(Formats55, LchBadTimesAreSkippedWithTheirMessage) {
  auto states = circularOrbit(4);
  std::string text = lchFile(5, states);
  text += "00000000000000000 " + sixValues(states[0]) + " 1.0\n";  // no valid time
  text += "2024100003000.000 1 2 3\n";                             // too few values
  zktest::LogWatch log;
  const tarvexon::TarvexRecord rec = addOk("t.lch", text);
  expectPoints(rec, states, 1e-9, 1e-12);
  EXPECT_EQ(log.errors(), 4);
}

// ---- OASYS and owner/operator ----------------------------------------------------------------

TEST_F(Formats55, OasysTakesItsSpacecraftLineAndCalendarTimes) {
  const auto states = circularOrbit(8);
  std::string text = "            VERSION: 2.1\n         Spacecraft: 24680\n";
  for (const State& s : states) text += calendar(s.sec, '/', ' ') + " " + sixValues(s) + "\n";
  const tarvexon::TarvexRecord rec = addOk("13579.oasys", text);
  EXPECT_EQ(rec.satNum, 24680);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordJ2k);
  expectPoints(rec, states, 1e-9, 1e-12);

  // Without a "Spacecraft:" line the name gives the number.
  std::string noCraft = "            VERSION: 2.1\n";
  for (const State& s : states) noCraft += calendar(s.sec, '/', ' ') + " " + sixValues(s) + "\n";
  EXPECT_EQ(addOk("13579.oasys", noCraft).satNum, 13579);
}

TEST_F(Formats55, OwnerFileReadFromItsFirstLine) {
  const auto states = circularOrbit(8);
  std::string text;
  // Each value after its own separator from column 17 on, as the card type wants.
  for (const State& s : states) text += dtg15(s.sec) + sixValues(s, "  %.12f") + "\n";
  text += "24100xx0000.000" + sixValues(states[0], "  %.12f") + "\n";  // no valid time: skipped
  zktest::LogWatch log;
  const tarvexon::TarvexRecord rec = addOk("00815owner.txt", text);
  EXPECT_EQ(rec.satNum, 815);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordJ2k);
  expectPoints(rec, states, 1e-9, 1e-12);
  EXPECT_EQ(log.errors(), 2);
}

// ---- EELV -----------------------------------------------------------------------------------------

std::string eelvFirstLine(double y, double mo, double d, double h, double mi, double s) {
  std::string l;
  const double v[6] = {y, mo, d, h, mi, s};
  for (int k = 0; k < 6; ++k) put(l, 1 + 23 * k, fmt("%.15E", v[k]));
  return l + "\n";
}

TEST_F(Formats55, EelvFeetBecomeKm) {
  constexpr double kFtPerKm = 1.0 / 3.048e-4;
  const auto states = circularOrbit(6);
  std::string text = eelvFirstLine(2024, 4, 9, 0, 0, 0);
  for (const State& s : states) {
    text += fmt("%.3f", s.sec);
    for (double v : s.pos) text += fmt(" %.9f", v * kFtPerKm);
    for (double v : s.vel) text += fmt(" %.12f", v * kFtPerKm);
    text += "\n";
  }
  const tarvexon::TarvexRecord rec = addOk("x.eelv", text);
  EXPECT_EQ(rec.satNum, 99999);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordEci);
  expectPoints(rec, states, 1e-9, 1e-12);

  const tarvexon::TarvexRecord tenThousand =
      addOk("y.eelv", eelvFirstLine(2024, 4, 9, 0, 0, 0) + "60.0 10000.0 0 -10000 1000 0 0\n");
  ASSERT_EQ(tenThousand.numPts, 1);
  EXPECT_NEAR(tenThousand.points[0].pos[0], 3.048, 1e-12);
  EXPECT_NEAR(tenThousand.points[0].pos[2], -3.048, 1e-12);
  EXPECT_NEAR(tenThousand.points[0].vel[0], 0.3048, 1e-12);
  EXPECT_NEAR(tenThousand.epochDs50UTC, kDs50Day100 + 60.0 / 86400.0, 1e-9);
}

TEST_F(Formats55, EelvFirstLineOutOfRangeIsRefused) {
  const double bad[][6] = {{2024, 13, 1, 0, 0, 0}, {2024, 0, 1, 0, 0, 0},  {2024, 2, 30, 0, 0, 0},
                           {2024, 4, 9, 24, 0, 0}, {2024, 4, 9, 0, 60, 0}, {2024, 4, 9, 0, 0, 60.5},
                           {2024, 4, 0, 0, 0, 0},  {1949, 4, 9, 0, 0, 0}};
  for (const auto& v : bad) {
    zktest::LogWatch log;
    const std::string first = eelvFirstLine(v[0], v[1], v[2], v[3], v[4], v[5]);
    EXPECT_EQ(add("bad.eelv", first + "0.0 1 2 3 4 5 6\n"), -1) << first;
    EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadEELV: Invalid EELV first line. ***") << first;
    EXPECT_EQ(log.errors(), 2);  // the line and the message
  }
}

// ---- DCE text -------------------------------------------------------------------------------------

TEST_F(Formats55, DceTextDaysFrom1970AndBadTimes) {
  std::string text = "12345\n";
  text += "1 2 0.5 18000.0 7000.0 0.0 0.0 0.0 7.5 0.0 9 9 9 9\n";
  text += "1 2 0.5 -7306.0 7000.0 0.0 0.0 0.0 7.5 0.0 9 9 9 9\n";  // before 1950: skipped
  text += "3 4 0.5 18000.5 6999.0 1.0 0.0 0.0 7.5 0.0 9 9 9 9\n";
  text += "1 2 3\n";  // too few numbers: the end
  text += "5 6 0.5 18001.0 6998.0 2.0 0.0 0.0 7.5 0.0 9 9 9 9\n";
  zktest::LogWatch log;
  const tarvexon::TarvexRecord rec = addOk("d.txt", text);
  EXPECT_EQ(rec.satNum, 12345);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordEci);
  ASSERT_EQ(rec.numPts, 2);
  EXPECT_DOUBLE_EQ(rec.points[0].ds50UTC, 25305.0);
  EXPECT_DOUBLE_EQ(rec.epochDs50UTC, 25305.0);
  EXPECT_DOUBLE_EQ(rec.points[1].pos[1], 1.0);
  EXPECT_DOUBLE_EQ(rec.points[1].vel[1], 7.5);
  EXPECT_EQ(log.errors(), 2);

  EXPECT_EQ(add("e.txt", "12345\n1.5 2 0.5 18000.0 7000 0 0 0 7.5 0 9 9 9 9\n"), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadDCEText: File read error. ***");
  EXPECT_EQ(add("f.txt", "12345\n1 2 0.5 18000.0 7000 0 0 0 7.5 0 x 9 9 9\n"), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadDCEText: File read error. ***");
}

// ---- Launch trajectory -----------------------------------------------------------------------

tarvexon::CalendarDate day100() { return {2024, 4, 9}; }
tarvexon::CalendarDate nextDay() { return {2024, 4, 10}; }

class LaunchFormat : public Formats55 {
 protected:
  void TearDown() override {
    tarvexon::setLaunchFormatToday(nullptr);
    Formats55::TearDown();
  }
  static std::string launchFile(const std::vector<State>& states) {
    std::string text = "TIME(SEC): TIME SINCE 0 H UTC OF TODAY\n";
    for (int k = 0; k < 16; ++k) text += "launch header " + std::to_string(k) + "\n";
    for (const State& s : states) {
      text += fmt("%.3f", s.sec) + " 1.0 2.0 3.0";
      for (double v : s.pos) text += fmt(" %.9f", v * 1000.0);
      for (double v : s.vel) text += fmt(" %.12f", v * 1000.0);
      text += " 4.0 5.0 6.0 7.0 8.0 STAGE1_BURN_________\n";
    }
    return text;
  }
};

TEST_F(LaunchFormat, EpochIsTodayAtZeroHoursUtc) {
  const auto states = circularOrbit(6);
  tarvexon::setLaunchFormatToday(day100);
  const tarvexon::TarvexRecord rec = addOk("l.txt", launchFile(states));
  EXPECT_EQ(rec.satNum, 99999);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordEcr);
  expectPoints(rec, states, 1e-9, 1e-12);

  tarvexon::setLaunchFormatToday(nextDay);
  EXPECT_DOUBLE_EQ(addOk("l.txt", launchFile(states)).epochDs50UTC, kDs50Day100 + 1.0);

  // The system clock's date, by default.
  tarvexon::setLaunchFormatToday(nullptr);
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  const double today = chronel::ymdhmsToDs50(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, 0, 0, 0.0);
  const double epoch = addOk("l.txt", launchFile(states)).epochDs50UTC;
  EXPECT_TRUE(epoch == today || epoch == today + 1.0) << epoch << " " << today;  // a midnight in between
}

TEST_F(LaunchFormat, LinesThatDoNotReadAreBadPoints) {
  const auto states = circularOrbit(4);
  tarvexon::setLaunchFormatToday(day100);
  std::string text = launchFile(states);
  text.insert(text.find("\n60.000") + 1, "30.0 1 2 3 garbage\n");
  text += "-9000000000.0 1 2 3 1 2 3 1 2 3 4 5 6 7 8 X\n";  // before 1950
  zktest::LogWatch log;
  const tarvexon::TarvexRecord rec = addOk("l.txt", text);
  expectPoints(rec, states, 1e-9, 1e-12);
  EXPECT_EQ(log.errors(), 4);
}

}  // namespace
