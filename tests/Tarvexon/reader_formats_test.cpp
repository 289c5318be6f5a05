// Each fixed-column format, written by the test from a known orbit, loads with every point back in
// km and km/s, its satellite, frame and constants; the format's own rules (V31 velocities in m/s,
// ITC with and without covariance, ECR positions only, first-group satellite and frame).
#include <Tarvexon.h>
#include <gtest/gtest.h>

#include <string>

#include "Siblings/Basalon/Result.h"
#include "Tarvexon/TarvexonCardReading.h"
#include "common/TestSupport.h"
#include "reader_files.h"

namespace {

using namespace tarvextest;

class ReaderFormats : public ReaderTest {
 protected:
  // TarvexAddSatFrFile of a file written from text; the record stored under the returned key.
  tarvexon::TarvexRecord addFile(const std::string& name, const std::string& text) {
    const std::string path = file(name, text);
    const int64_t key = TarvexAddSatFrFile(path.c_str());
    EXPECT_GT(key, 0) << zktest::LogWatch::lastError();
    tarvexon::TarvexRecord rec = stored(key);
    EXPECT_EQ(basalon::trimRight(rec.fileName.view()), path);
    return rec;
  }
};

TEST_F(ReaderFormats, ItcWithoutCovarianceReadsOneLinePerPoint) {
  const auto states = circularOrbit(50);
  const tarvexon::TarvexRecord rec = addFile("wocov.itc", itcFile(12345, states, false));
  EXPECT_EQ(rec.satNum, 12345);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordEci);
  expectPoints(rec, states, 1e-6, 1e-9);
  for (int k = 0; k < rec.numPts; ++k) EXPECT_FALSE(tarvexon::HasCovariance(rec.points[k]));
}

TEST_F(ReaderFormats, ItcWithCovarianceReadsFourLinesPerPoint) {
  const auto states = circularOrbit(20);
  const tarvexon::TarvexRecord rec = addFile("cov.itc", itcFile(23456, states, true));
  expectPoints(rec, states, 1e-6, 1e-9);
  for (int k = 0; k < rec.numPts; ++k)
    for (int i = 0; i < tarvexon::kCovPacked; ++i)
      EXPECT_NEAR(rec.points[k].covMtx[i], covValue(k, i), 1e-14) << k << " " << i;
}

TEST_F(ReaderFormats, ItcAllZeroCovarianceIsNotAttached) {
  const auto states = circularOrbit(3);
  std::string text = itcHeader(1, false) + "\n";
  const std::string zeros = "  " + std::string(7, ' ') + "0.0 0.0 0.0 0.0 0.0 0.0 0.0\n";
  for (const State& s : states) text += itcPoint(s) + "\n" + zeros + zeros + zeros;
  const tarvexon::TarvexRecord rec = addFile("zero.itc", text);
  ASSERT_EQ(rec.numPts, 3);
  for (int k = 0; k < 3; ++k)
    for (double v : rec.points[k].covMtx) EXPECT_EQ(v, 0.0);
}

TEST_F(ReaderFormats, FixedFieldsTakeExponentsAndBlanksButNotMissingValues) {
  const auto states = circularOrbit(3);
  std::string text = itcHeader(8, true) + "\n";
  for (int k = 0; k < 3; ++k) {
    std::string l = itcPoint(states[k]);
    if (k == 1) {
      l.replace(18, 16, fmt("%16.9E", states[k].pos[0]));                             // E exponent
      l.replace(34, 16, "  " + fmt("%14.7E", states[k].pos[1]).replace(10, 1, "D"));  // D exponent
    }
    text += l + "\n";
  }
  std::string blankVel = itcPoint({300.0, {7000.0, 0, 0}, {0, 7.5, 0}});
  blankVel.replace(66, 16, std::string(16, ' '));  // a blank field is no value
  text += blankVel + "\n";
  zktest::LogWatch log;
  const tarvexon::TarvexRecord rec = addFile("fields.itc", text);
  EXPECT_EQ(log.errors(), 2);
  expectPoints(rec, states, 1e-6, 1e-9);
}

TEST_F(ReaderFormats, V31VelocitiesInMetresPerSecondAreStoredInKmPerSecond) {
  const auto states = circularOrbit(30);
  const tarvexon::TarvexRecord rec = addFile("one.v31", v31File(777, states));
  EXPECT_EQ(rec.satNum, 777);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordEci);
  // Positions stay as written (km); the m/s velocities are scaled by 0.001.
  expectPoints(rec, states, 1e-9, 1e-12);
}

TEST_F(ReaderFormats, V31WithTwoSatellitesGivesTwoRecords) {
  const auto a = circularOrbit(10), b = circularOrbit(12, 30.0);
  const std::string path = file("two.v31", v31File(101, a) + v31File(202, b, "EFG"));
  zktest::LogWatch log;
  EXPECT_EQ(TarvexLoadFile(path.c_str()), 0) << zktest::LogWatch::lastError();
  const auto ks = keys();
  ASSERT_EQ(ks.size(), 2u);
  const tarvexon::TarvexRecord r1 = stored(ks[0]), r2 = stored(ks[1]);
  EXPECT_EQ(r1.satNum, 101);
  EXPECT_EQ(r1.coordSys, tarvexon::kCoordEci);
  expectPoints(r1, a, 1e-9, 1e-12);
  EXPECT_EQ(r2.satNum, 202);
  EXPECT_EQ(r2.coordSys, tarvexon::kCoordEfg);
  expectPoints(r2, b, 1e-9, 1e-12);
  // One summary line per stored ephemeris, no error.
  EXPECT_EQ(log.errors(), 0);
  EXPECT_EQ(log.infos(), 3);  // the load line and two summaries
  EXPECT_EQ(zktest::LogWatch::lastInfo(),
            "Total ephemeris points = 12, Start = 24100000000.000, End = 24100000530.000, Coord = EFG");
}

TEST_F(ReaderFormats, V31UnknownFrameAndBadSatelliteFail) {
  zktest::LogWatch log;
  const std::string frame = file("frame.v31", v31File(5, circularOrbit(3), "J2K"));
  EXPECT_EQ(TarvexAddSatFrFile(frame.c_str()), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadV31: Unrecognized Coordinates. ***");
  std::string text = v31File(5, circularOrbit(3));
  text.replace(29, 5, "  x12");
  const std::string sat = file("sat.v31", text);
  EXPECT_EQ(TarvexAddSatFrFile(sat.c_str()), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadV31: Invalid satellite number. ***");
  EXPECT_EQ(log.errors(), 4);  // each failure logs the line and the message
  EXPECT_TRUE(keys().empty());
}

TEST_F(ReaderFormats, SimObsReadsGroupsOfThree) {
  const auto states = circularOrbit(15);
  const tarvexon::TarvexRecord rec = addFile("obs.txt", simObsFile(4321, states, "J2K"));
  EXPECT_EQ(rec.satNum, 4321);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordJ2k);
  EXPECT_DOUBLE_EQ(rec.ke, kKe);
  EXPECT_DOUBLE_EQ(rec.earthRadius, kRadius);
  expectPoints(rec, states, 1e-9, 1e-12);
  EXPECT_EQ(rec.points[0].revNum, 1000);
  EXPECT_EQ(rec.points[14].revNum, 1014);
}

TEST_F(ReaderFormats, SimObsAndVecEphRefuseAnUnknownFrame) {
  EXPECT_EQ(TarvexAddSatFrFile(file("obs.txt", simObsFile(1, circularOrbit(2), "XYZ")).c_str()), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadSimObs: Invalid Coordinate system. ***");
  EXPECT_EQ(TarvexAddSatFrFile(file("vec.txt", vecEphFile(1, circularOrbit(2), "EC")).c_str()), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadVecEph: Invalid Coordinate system. ***");
}

TEST_F(ReaderFormats, VecEphReadsPairsOfLines) {
  const auto states = circularOrbit(25);
  const tarvexon::TarvexRecord rec = addFile("vec.txt", vecEphFile(99, states, "efg"));
  EXPECT_EQ(rec.satNum, 99);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordEfg);
  expectPoints(rec, states, 1e-6, 1e-9);
}

TEST_F(ReaderFormats, EcrWithVelocitiesAndPositionsOnly) {
  const auto states = circularOrbit(8);
  const tarvexon::TarvexRecord full = addFile("full.ecr", ecrFile(31415, states, false));
  EXPECT_EQ(full.satNum, 31415);
  EXPECT_EQ(full.coordSys, tarvexon::kCoordEcr);
  expectPoints(full, states, 1e-6, 1e-9);
  empty();
  const tarvexon::TarvexRecord pos = addFile("pos.ecr", ecrFile(27182, states, true));
  expectPoints(pos, states, 1e-6, 0.0, false);
  EXPECT_TRUE(tarvexon::IsPositionOnly(pos));
}

TEST_F(ReaderFormats, EcrPointRunningOutOfNumbersEndsTheEphemeris) {
  const auto states = circularOrbit(6);
  std::string text = ecrFile(5, states, true);
  // Point 4 holds two numbers only: it is skipped and nothing after it is read.
  const std::string cut = dtg15(states[3].sec);
  const size_t at = text.find(cut);
  text.replace(at, text.find('\n', at) - at, cut + " 1.0 2.0");
  zktest::LogWatch log;
  const tarvexon::TarvexRecord rec = addFile("cut.ecr", text);
  EXPECT_EQ(rec.numPts, 3);
  EXPECT_EQ(log.errors(), 2);
}

TEST_F(ReaderFormats, J2kBuildsTheTimeFromItsPieces) {
  const auto states = circularOrbit(12);
  const tarvexon::TarvexRecord rec = addFile("pred.j2k", j2kFile(2468, states));
  EXPECT_EQ(rec.satNum, 2468);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordJ2k);
  expectPoints(rec, states, 1e-6, 1e-9);
}

}  // namespace
