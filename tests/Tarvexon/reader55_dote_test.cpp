// ".e" ephemeris files: the shared samples load in km and km/s with their whole epoch, frame and
// point count; the header's epoch, frame and unit rules, the end line in any case, "#" comments,
// the satellite number from the file name, and the header failures with their messages.
#include <Tarvexon.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"
#include "common/TestSupport.h"
#include "reader_files.h"

namespace {

using namespace tarvextest;

// A ".e" file of the states with the given header lines between the version and the data-kind line;
// values in meters unless km.
std::string dotEFile(const std::vector<State>& states, const std::string& header, bool km = false,
                     const std::string& kind = "EphemerisTimePosVel",
                     const std::string& end = "END Ephemeris") {
  std::string text = "stk.v.11.0\n# a comment\nBEGIN Ephemeris\n" + header + kind + "\n\n";
  const double f = km ? 1.0 : 1000.0;
  for (const State& s : states) {
    text += fmt("%.6f", s.sec);
    for (double v : s.pos) text += fmt(" %.15e", v * f);
    if (kind != "EphemerisTimePos")
      for (double v : s.vel) text += fmt("\t%.15e", v * f);
    if (kind.ends_with("Acc")) text += " 1.0 -2.0 3.0";  // accelerations, not kept
    text += "\n";
  }
  return text + end + "\n";
}

const std::string kDay100Header =
    "    ScenarioEpoch\t\t 9 Apr 2024 00:00:00.000000\n    CentralBody\t\t Earth\n"
    "    CoordinateSystem\t\t J2000\n";

class DotE : public ReaderTest {
 protected:
  // TarvexAddSatFrFile of a file written from text (-1 when nothing was stored).
  int64_t add(const std::string& name, const std::string& text) {
    empty();
    return TarvexAddSatFrFile(file(name, text).c_str());
  }
  static tarvexon::TarvexRecord loadSample(const std::string& path) {
    const int64_t key = TarvexAddSatFrFile(path.c_str());
    EXPECT_GT(key, 0) << zktest::LogWatch::lastError();
    return stored(key);
  }
};

TEST_F(DotE, WrittenFileLoadsInKmWithItsFrameAndOneDigitDay) {
  const auto states = circularOrbit(30);
  const tarvexon::TarvexRecord m = stored(add("12345abc.e", dotEFile(states, kDay100Header)));
  EXPECT_EQ(m.satNum, 12345);
  EXPECT_EQ(m.coordSys, tarvexon::kCoordJ2k);
  expectPoints(m, states, 1e-8, 1e-11);

  const std::string kmHeader =
      "ScenarioEpoch  9 Apr 2024 00:00:00.0\nCentralBody Earth\nCoordinateSystem ICRF \n"
      "DistanceUnit\t\tKilometers\n";
  const tarvexon::TarvexRecord km = stored(add("sat.e", dotEFile(states, kmHeader, true)));
  EXPECT_EQ(km.satNum, 99999);
  EXPECT_EQ(km.coordSys, tarvexon::kCoordJ2k);
  expectPoints(km, states, 1e-8, 1e-11);

  for (auto [frame, code] : {std::pair{"TEMEOfDate", tarvexon::kCoordEci}, {"Fixed", tarvexon::kCoordEcr}}) {
    const std::string h = "ScenarioEpoch 09 Apr 2024\nCentralBody Earth\nCoordinateSystem " +
                          std::string(frame) + "\nDistanceUnit Meters\n";
    EXPECT_EQ(stored(add("f.e", dotEFile(states, h))).coordSys, code) << frame;
  }
}

TEST_F(DotE, PositionOnlyAndAccelerationKinds) {
  const auto states = circularOrbit(10);
  const tarvexon::TarvexRecord pos =
      stored(add("p.e", dotEFile(states, kDay100Header, false, "EphemerisTimePos")));
  expectPoints(pos, states, 1e-8, 0.0, false);
  EXPECT_TRUE(tarvexon::IsPositionOnly(pos));

  expectPoints(stored(add("a.e", dotEFile(states, kDay100Header, false, "EphemerisTimePosVelAcc"))), states,
               1e-8, 1e-11);
}

TEST_F(DotE, EndLineInAnyCaseEndsTheDataAndHashLinesAreComments) {
  const auto states = circularOrbit(5);
  std::string text = dotEFile(states, kDay100Header, false, "EphemerisTimePosVel", "end ephemerisTimePosVel");
  const size_t second = text.find("\n60.") + 1;
  text.insert(second, "# a remark between points\n");
  text += "BEGIN CovarianceTimePosVel\n1000.0 1 2 3 4 5 6 7\n2000.0 1 2 3 4 5 6 7\nEND Ephemeris\n";
  zktest::LogWatch log;
  const tarvexon::TarvexRecord rec = stored(add("c.e", text));
  EXPECT_EQ(log.errors(), 0) << zktest::LogWatch::lastError();
  expectPoints(rec, states, 1e-8, 1e-11);
}

TEST_F(DotE, BadPointsAreSkippedWithTheReaderName) {
  const auto states = circularOrbit(4);
  std::string text = dotEFile(states, kDay100Header);
  const size_t at = text.find("\n120.") + 1;
  text.insert(at, "180.0 1.0 2.0\n");  // too few numbers for a PosVel point
  zktest::LogWatch log;
  const tarvexon::TarvexRecord rec = stored(add("b.e", text));
  EXPECT_EQ(rec.numPts, 4);
  EXPECT_EQ(log.errors(), 2);
}

TEST_F(DotE, SatelliteNumberFromTheNameAfterTheLastSeparator) {
  EXPECT_EQ(tarvexon::readers::satNumFromFileName("dir/4567.e"), 99999);  // "4567." is no integer
  EXPECT_EQ(tarvexon::readers::satNumFromFileName("dir\\00042xyz.e"), 42);
  EXPECT_EQ(tarvexon::readers::satNumFromFileName("a/b/777"), 777);  // shorter than five characters
  EXPECT_EQ(tarvexon::readers::satNumFromFileName("12/"), 99999);
  EXPECT_EQ(tarvexon::readers::satNumFromFileName("31"), 31);
}

TEST_F(DotE, HeaderFailuresStoreNothingWithTheirMessages) {
  const auto states = circularOrbit(3);
  struct Case {
    std::string header, message;
  };
  const Case cases[] = {
      {"ScenarioEpoch none\n", "*** ReadDotE: Invalid epoch time. ***"},
      {"ScenarioEpoch 9 Foo 2024\nCentralBody Earth\n",
       "*** ReadDotE: Unable to read reference epoch time. ***"},
      {"CentralBody Earth\n", "*** ReadDotE: Unable to read reference epoch time. ***"},
      {kDay100Header + "CentralBody Moon\n", "*** ReadDotE: Invalid file. CentralBody is not Earth. ***"},
      {"ScenarioEpoch 9 Apr 2024\nCoordinateSystem B1950\n",
       "*** ReadDotE: Invalid coordinate system. Only Fixed, J2000, and TEMEOfDate are supported. ***"},
      {kDay100Header + "DistanceUnit Feet\n",
       "*** ReadDotE: Invalid distance unit. Only meters and kilometers are supported. ***"},
  };
  for (const Case& c : cases) {
    zktest::LogWatch log;
    EXPECT_EQ(add("h.e", dotEFile(states, c.header)), -1) << c.header;
    EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 0);
    EXPECT_EQ(log.errors(), 1) << c.header;
    EXPECT_EQ(zktest::LogWatch::lastError(), c.message);
  }
  zktest::LogWatch log;
  EXPECT_EQ(add("k.e", dotEFile(states, kDay100Header, false, "EphemerisTimeLatLon")), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(),
            "*** ReadDotE: Invalid ephem type. Only TimePos, PosVel, and PosVelAcc are supported. ***");
}

// A trajectory whose first point is at rest (a launch pad) is still interpolated with velocities
// once the later points move.
TEST_F(DotE, FirstPointAtRestStillInterpolatesVelocities) {
  auto states = circularOrbit(12);
  for (double& v : states[0].vel) v = 0.0;
  const int64_t key = add("r.e", dotEFile(states, kDay100Header));
  ASSERT_GT(key, 0);
  double mse = 0, pos[3], vel[3];
  int32_t rev = 0;
  ASSERT_EQ(TarvexDs50UTC(key, kDs50Day100 + 330.0 / 86400.0, &mse, pos, vel, &rev), 0)
      << zktest::LogWatch::lastError();
  const double speed = std::sqrt(vel[0] * vel[0] + vel[1] * vel[1] + vel[2] * vel[2]);
  EXPECT_NEAR(speed, std::sqrt(398600.4418 / 7000.0), 0.05);
}

// ---- The shared samples --------------------------------------------------------------------------

// State lines of a CCSDS OEM file: "YYYY-MM-DDTHH:MM:SS.ffffff x y z vx vy vz" (km, km/s).
std::vector<std::array<double, 7>> oemStates(const std::string& path) {
  std::vector<std::array<double, 7>> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() < 20 || line[4] != '-' || line[10] != 'T') continue;
    std::array<double, 7> s{};
    s[0] = chronel::dtg2ds50utc(line.substr(0, 26));
    std::istringstream rest(line.substr(26));
    for (int k = 1; k < 7; ++k) rest >> s[k];
    out.push_back(s);
  }
  return out;
}

TEST_F(DotE, PystkSatelliteAgreesWithItsOemTwinInIcrf) {
  const std::string path = zktest::dataPath("ephem/pystk/Satellite1.e");
  const std::string oem = zktest::dataPath("ephem/pystk/Satellite1.oem");
  ZK_REQUIRE_DATA(path);
  ZK_REQUIRE_DATA(oem);
  const tarvexon::TarvexRecord rec = loadSample(path);
  const auto twin = oemStates(oem);
  ASSERT_EQ(rec.numPts, 1441);
  ASSERT_EQ(twin.size(), 1441u);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordJ2k);
  EXPECT_EQ(rec.satNum, 99999);
  EXPECT_DOUBLE_EQ(rec.epochDs50UTC, chronel::ymdhmsToDs50(2009, 9, 9, 16, 0, 0.0));
  for (size_t k = 0; k < twin.size(); ++k) {
    const tarvexon::TarvexPoint& p = rec.points[k];
    ASSERT_NEAR((p.ds50UTC - twin[k][0]) * 86400.0, 0.0, 1e-5) << k;
    for (int i = 0; i < 3; ++i) {
      ASSERT_NEAR(p.pos[i], twin[k][1 + i], 1e-9) << k;
      ASSERT_NEAR(p.vel[i], twin[k][4 + i], 1e-12) << k;
    }
  }
}

TEST_F(DotE, OrekitEpochKeepsItsMicroseconds) {
  const std::string path = zktest::dataPath("ephem/orekit/stk_02674_pv.e");
  ZK_REQUIRE_DATA(path);
  const tarvexon::TarvexRecord rec = loadSample(path);
  ASSERT_EQ(rec.numPts, 11);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordJ2k);
  const double midnight = chronel::ymdhmsToDs50(2007, 1, 12, 0, 0, 0.0);
  EXPECT_NEAR((rec.epochDs50UTC - midnight) * 86400.0, 0.000883, 2e-6);
  EXPECT_NEAR((rec.points[10].ds50UTC - rec.points[0].ds50UTC) * 86400.0, 600.0, 1e-5);
  EXPECT_NEAR(rec.points[0].pos[0], -4200.1828159554983, 1e-9);
  EXPECT_NEAR(rec.points[0].vel[0], 5.4770282903204152, 1e-12);
}

TEST_F(DotE, AniseFileStopsAtItsEndLineBeforeTheCovarianceBlock) {
  const std::string path = zktest::dataPath("ephem/anise/stk_cov.e");
  ZK_REQUIRE_DATA(path);
  zktest::LogWatch log;
  const tarvexon::TarvexRecord rec = loadSample(path);
  EXPECT_EQ(log.errors(), 0) << zktest::LogWatch::lastError();
  ASSERT_EQ(rec.numPts, 3);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordJ2k);
  EXPECT_DOUBLE_EQ(rec.epochDs50UTC, chronel::ymdhmsToDs50(2020, 6, 1, 12, 0, 0.0));
  EXPECT_NEAR(rec.points[2].pos[0], 6.185958681347711e+02, 1e-9);  // km as written
  EXPECT_NEAR(rec.points[0].vel[0], 2.767385843060133, 1e-12);
}

}  // namespace
