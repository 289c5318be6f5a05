// Untrusted ephemeris text: bad points are skipped one by one with their messages, a covariance
// group is skipped whole, truncated files, overlong lines, NUL bytes and garbage numbers never
// crash, and a failed ephemeris stores nothing.
#include <Tarvexon.h>
#include <gtest/gtest.h>

#include <string>

#include "Tarvexon/TarvexonCardReading.h"
#include "common/TestSupport.h"
#include "reader_files.h"

namespace {

using namespace tarvextest;

class ReaderBadInput : public ReaderTest {
 protected:
  // The points stored from a file by TarvexAddSatFrFile (-1 when nothing was stored). The store is
  // emptied first: the files of one test hold the same satellite and epoch.
  int32_t pointsOf(const std::string& name, const std::string& text) {
    empty();
    const int64_t key = TarvexAddSatFrFile(file(name, text).c_str());
    return key > 0 ? stored(key).numPts : -1;
  }
};

TEST_F(ReaderBadInput, ItcBadPointLineSkipsItsWholeCovarianceGroup) {
  const auto states = circularOrbit(4);
  std::string text = itcHeader(3, false) + "\n";
  for (int k = 0; k < 4; ++k) {
    std::string point = itcPoint(states[k]);
    if (k == 1) point.replace(20, 5, "ab.cd");  // position x does not read
    text += point + "\n" + itcCovLines(k);
  }
  zktest::LogWatch log;
  const int64_t key = TarvexAddSatFrFile(file("cov.itc", text).c_str());
  ASSERT_GT(key, 0);
  const tarvexon::TarvexRecord rec = stored(key);
  ASSERT_EQ(rec.numPts, 3);
  // Points 0, 2, 3 with their own covariances: nothing of group 1 was read as a point.
  EXPECT_NEAR(rec.points[1].pos[0], states[2].pos[0], 1e-6);
  EXPECT_NEAR(rec.points[1].covMtx[0], covValue(2, 0), 1e-14);
  EXPECT_NEAR(rec.points[2].covMtx[20], covValue(3, 20), 1e-14);
  EXPECT_EQ(log.errors(), 2);
}

TEST_F(ReaderBadInput, ItcBadCovarianceLineSkipsThePoint) {
  const auto states = circularOrbit(3);
  std::string text = itcHeader(3, false) + "\n";
  for (int k = 0; k < 3; ++k) {
    std::string cov = itcCovLines(k);
    if (k == 0) {  // line 2 holds three values instead of seven
      const size_t line2 = cov.find('\n') + 1;
      cov.replace(line2, cov.find('\n', line2) - line2, "  1 2 3");
    }
    text += itcPoint(states[k]) + "\n" + cov;
  }
  zktest::LogWatch log;
  EXPECT_EQ(pointsOf("cov.itc", text), 2);
  EXPECT_EQ(log.errors(), 2);
}

TEST_F(ReaderBadInput, TruncatedFilesKeepTheWholePointsBeforeTheCut) {
  const std::string itc = itcFile(1, circularOrbit(6), true);
  // Cut inside the last covariance group, then inside a point line.
  EXPECT_EQ(pointsOf("a.itc", itc.substr(0, itc.size() - 40)), 5);
  const std::string wocov = itcFile(1, circularOrbit(6), false);
  EXPECT_EQ(pointsOf("b.itc", wocov.substr(0, wocov.size() - 30)), 5);  // the last line lacks velocities
  const std::string obs = simObsFile(1, circularOrbit(6));
  EXPECT_EQ(pointsOf("c.obs", obs.substr(0, obs.rfind('\n', obs.size() - 2))), 5);
  const std::string vec = vecEphFile(1, circularOrbit(6));
  EXPECT_EQ(pointsOf("d.vec", vec.substr(0, vec.rfind('\n', vec.size() - 2))), 5);
  const std::string ecr = ecrFile(1, circularOrbit(6), false);
  EXPECT_EQ(pointsOf("e.ecr", ecr.substr(0, ecr.rfind('\n', ecr.size() - 2))), 5);
  // A header alone has no points: nothing is stored and the load fails.
  zktest::LogWatch log;
  EXPECT_EQ(pointsOf("f.itc", itcHeader(1, true)), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(),
            "ReadOnlyTarvexs: Input ephemeris does not contain any ephemeris data. It will not be stored.");
  EXPECT_EQ(pointsOf("g.ecr", "CLASSIFICATION: UNCLASSIFIED\n12345\n"), -1);
}

TEST_F(ReaderBadInput, GarbageNumbersAreSkippedWithTheirReaderName) {
  auto states = circularOrbit(5);
  std::string j2k = j2kFile(1, states);
  const size_t third = j2k.find('\n', j2k.find('\n', j2k.find('\n') + 1) + 1) + 1;  // point line 3
  j2k.replace(third + 40, 3, "1e+");
  zktest::LogWatch log;
  EXPECT_EQ(pointsOf("a.j2k", j2k), 4);
  EXPECT_EQ(log.errors(), 2);
  EXPECT_EQ(pointsOf("b.v31", v31File(1, states).replace(200 + 60, 2, "??")), 4);
  std::string vec = vecEphFile(1, states);
  vec.replace(vec.find('\n') + 1 + 20, 3, "x.x");  // position of pair 1
  zktest::LogWatch vecLog;
  EXPECT_EQ(pointsOf("c.vec", vec), 4);
  EXPECT_EQ(vecLog.errors(), 2);
}

TEST_F(ReaderBadInput, NulBytesAndOverlongLinesNeverCrash) {
  std::string itc = itcFile(1, circularOrbit(4), false);
  itc[itc.find('\n') + 30] = '\0';                      // inside position x of point 1: read as a blank
  itc.insert(itc.rfind('\n'), std::string(5000, '7'));  // the last line runs far past 512 columns
  EXPECT_EQ(pointsOf("a.itc", itc), 4);
  std::string binary;
  for (int k = 0; k < 4096; ++k) binary.push_back(static_cast<char>((k * 131 + 7) % 256));
  EXPECT_NO_FATAL_FAILURE(pointsOf("b.bin", itcHeader(1, false) + "\n" + binary));
  EXPECT_NO_FATAL_FAILURE(pointsOf("c.bin", binary));
}

TEST_F(ReaderBadInput, FailedEphemerisStoresNothingButEarlierOnesStay) {
  const std::string text =
      v31File(1, circularOrbit(3)) + v31File(2, circularOrbit(3), "XYZ") + v31File(3, circularOrbit(3));
  EXPECT_EQ(TarvexLoadFile(file("v.txt", text).c_str()), 2);
  const auto ks = keys();
  ASSERT_EQ(ks.size(), 1u);
  EXPECT_EQ(stored(ks[0]).satNum, 1);
}

}  // namespace
