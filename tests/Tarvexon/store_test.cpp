// The ephemeris record and its store: point order and growth, covariances, duplicates by number,
// epoch and system, listing order, new entries and their coordinate systems, the card-line writer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/TarvexonTree.h"
#include "common/TestSupport.h"

namespace {

using tarvexon::TarvexPoint;
using tarvexon::TarvexRecord;

TarvexPoint pointAt(double ds50, double x = 7000.0) {
  TarvexPoint p;
  p.ds50UTC = ds50;
  p.pos[0] = x;
  p.pos[1] = -x / 2;
  p.vel[1] = 7.5;
  return p;
}

TarvexRecord withPoints(int32_t satNum, int32_t coordSys, std::initializer_list<double> times) {
  TarvexRecord rec;
  rec.satNum = satNum;
  rec.coordSys = coordSys;
  for (double t : times) tarvexon::AddOneEPPoint(pointAt(t, 6000.0 + t), rec);
  return rec;
}

std::vector<int64_t> listKeys(int32_t order) {
  std::vector<int64_t> keys(static_cast<size_t>(tarvexon::TarvexGetNumOfTreeNodes()) + 1, -9);
  int32_t count = 0;
  tarvexon::TarvexGetTreeKeys(count, keys.data(), order);
  keys.resize(static_cast<size_t>(count));
  return keys;
}

class TarvexStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { empty(); }
  void TearDown() override {
    empty();
    basalon::dupKeyModeSet(0);
  }
  static void empty() {
    int32_t code = 0;
    tarvexon::TarvexEmptyTree(code);
  }
  static int64_t add(const TarvexRecord& r) {
    int64_t key = -7;
    tarvexon::AddTarvexToMem(r, key);
    return key;
  }
};

TEST(TarvexRecordPoints, PointsNotAfterTheLastAreDropped) {
  const TarvexRecord rec = withPoints(5, 1, {10.0, 10.5, 10.5, 10.2, 11.0});
  ASSERT_EQ(rec.numPts, 3);
  ASSERT_EQ(rec.points.size(), 3u);
  EXPECT_EQ(rec.points[0].ds50UTC, 10.0);
  EXPECT_EQ(rec.points[1].ds50UTC, 10.5);
  EXPECT_EQ(rec.points[2].ds50UTC, 11.0);
  EXPECT_EQ(rec.points[1].pos[0], 6010.5);  // the first point at 10.5 stays
  EXPECT_EQ(rec.epochDs50UTC, 10.0);
}

TEST(TarvexRecordPoints, GrowthKeepsEveryPointAndTrimFitsTheArray) {
  TarvexRecord rec;
  for (int k = 0; k < 2500; ++k) ASSERT_TRUE(tarvexon::AddOneEPPoint(pointAt(100.0 + k * 1e-3, k), rec));
  ASSERT_EQ(rec.numPts, 2500);
  ASSERT_GE(rec.points.capacity(), 2500u);
  tarvexon::TrimTarvexonPts(rec);
  EXPECT_EQ(rec.points.capacity(), 2500u);
  for (size_t k = 0; k < 2500; ++k) {
    ASSERT_EQ(rec.points[k].pos[0], static_cast<double>(k));
    ASSERT_EQ(rec.points[k].ds50UTC, 100.0 + static_cast<double>(k) * 1e-3);
  }
  TarvexRecord copy;
  tarvexon::CopyTarvexRecord(copy, rec);
  tarvexon::FreeTarvexRecord(rec);
  EXPECT_EQ(rec.numPts, 0);
  ASSERT_EQ(copy.numPts, 2500);
  EXPECT_EQ(copy.points[2499].pos[0], 2499.0);
}

TEST(TarvexRecordPoints, CovarianceIsStoredOnlyWhenGiven) {
  TarvexRecord rec;
  double zeros[tarvexon::kCovPacked] = {};
  double values[tarvexon::kCovPacked] = {};
  values[20] = 4.5;  // one non-zero value: all 21 are stored
  for (int e = 0; e < 20; ++e) values[e] = -e;
  TarvexPoint carried = pointAt(1.0);
  carried.covMtx[3] = 9.0;  // the point's own values give way to the given ones
  tarvexon::AddOneEPPoint(carried, rec, zeros);
  tarvexon::AddOneEPPoint(pointAt(2.0), rec, values);
  tarvexon::AddOneEPPoint(pointAt(3.0), rec);
  tarvexon::AddOneEPPoint(pointAt(2.5), rec, values);  // dropped: not after the last
  ASSERT_EQ(rec.numPts, 3);
  for (int e = 0; e < tarvexon::kCovPacked; ++e) {
    EXPECT_EQ(rec.points[0].covMtx[e], 0.0);
    EXPECT_EQ(rec.points[1].covMtx[e], values[e]);
    EXPECT_EQ(rec.points[2].covMtx[e], 0.0);
  }
  EXPECT_FALSE(tarvexon::HasCovariance(rec.points[0]));
  EXPECT_TRUE(tarvexon::HasCovariance(rec.points[1]));
}

TEST(TarvexRecordPoints, SixBySixFromPackedValues) {
  double packed[tarvexon::kCovPacked];
  for (int e = 0; e < tarvexon::kCovPacked; ++e) packed[e] = e + 1;
  double m[36];
  tarvexon::To6x6CovMtx(m, packed);
  for (int j = 0; j < 6; ++j) EXPECT_EQ(m[5 * 6 + j], 16.0 + j);
  const double row1[6] = {1, 2, 4, 7, 11, 16};
  for (int j = 0; j < 6; ++j) EXPECT_EQ(m[j], row1[j]);
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) EXPECT_EQ(m[i * 6 + j], m[j * 6 + i]);
  }
  EXPECT_EQ(m[3 * 6 + 2], 9.0);  // (4,3)
}

TEST(TarvexRecordPoints, PositionOnlyMeansNoPointMoves) {
  TarvexRecord rec;
  TarvexPoint still = pointAt(1.0);
  still.vel[1] = 0.0;
  tarvexon::AddOneEPPoint(still, rec);
  tarvexon::AddOneEPPoint(still, rec);  // dropped (same time)
  still.ds50UTC = 2.0;
  tarvexon::AddOneEPPoint(still, rec);
  EXPECT_TRUE(tarvexon::IsPositionOnly(rec));
  tarvexon::AddOneEPPoint(pointAt(3.0), rec);
  EXPECT_FALSE(tarvexon::IsPositionOnly(rec));
}

TEST_F(TarvexStoreTest, DuplicatesByNumberEpochAndSystem) {
  const TarvexRecord first = withPoints(11, 1, {20000.0, 20000.1});
  const int64_t key = add(first);
  ASSERT_GT(key, 0);
  EXPECT_EQ(key % 10, 6);

  // Same number, epoch and system with other points: a duplicate.
  zktest::LogWatch log;
  EXPECT_EQ(add(withPoints(11, 1, {20000.0, 20000.3, 20000.4})), 0);
  EXPECT_EQ(log.errors(), 1);
  basalon::dupKeyModeSet(1);
  EXPECT_EQ(add(withPoints(11, 1, {20000.0, 20000.5})), key);
  basalon::dupKeyModeSet(0);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 1);
  TarvexRecord found;
  tarvexon::FindRec(key, found);
  EXPECT_EQ(found.numPts, 2);  // the stored record is untouched

  // Another system of the same satellite and epoch: stored under another key of the same type.
  const int64_t j2k = add(withPoints(11, 2, {20000.0, 20000.2}));
  ASSERT_GT(j2k, 0);
  EXPECT_NE(j2k, key);
  EXPECT_EQ(j2k % 10, 6);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 2);
  tarvexon::FindRec(j2k, found);
  EXPECT_EQ(found.coordSys, 2);
  // Another epoch is another record too.
  EXPECT_GT(add(withPoints(11, 1, {20001.0})), 0);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 3);
}

TEST_F(TarvexStoreTest, ListingOrderZeroSortsByNumberSystemEpoch) {
  const int64_t a = add(withPoints(300, 2, {21000.0}));
  const int64_t b = add(withPoints(20, 3, {21000.0}));
  const int64_t c = add(withPoints(300, 1, {21500.0}));
  const int64_t d = add(withPoints(20, 3, {20500.0}));
  const int64_t e = add(withPoints(300, 1, {20900.0}));
  const int64_t f = add(withPoints(1000, 1, {20000.0}));  // more digits, still after 300
  EXPECT_EQ(listKeys(0), (std::vector<int64_t>{d, b, e, c, a, f}));
  EXPECT_EQ(listKeys(2), (std::vector<int64_t>{a, b, c, d, e, f}));  // load order
}

TEST_F(TarvexStoreTest, NewEntriesAndTheirCoordinateSystems) {
  const int64_t twelve = tarvexon::CreateNewSatEntry(901, 22000.0, 6378.137, 0.0743669161, 12);
  ASSERT_GT(twelve, 0);
  TarvexRecord rec;
  tarvexon::FindRec(twelve, rec);
  EXPECT_EQ(rec.coordSys, 2);
  EXPECT_EQ(rec.coordSysTens, 10);
  EXPECT_EQ(rec.epochDs50UTC, 22000.0);
  EXPECT_EQ(rec.earthRadius, 6378.137);
  EXPECT_EQ(rec.numPts, 0);
  tarvexon::FindRec(tarvexon::CreateNewSatEntry(901, 22001.0, 6378.137, 0.0743669161, 21), rec);
  EXPECT_EQ(rec.coordSys, 1);  // past the table the last digit is the system
  EXPECT_EQ(rec.coordSysTens, 20);
  for (int32_t code : {1, 4, 15, 20}) {
    const int64_t key = tarvexon::CreateNewSatEntry(902, 22000.0 + code, 6378.135, 0.0743669161, code);
    ASSERT_GT(key, 0) << code;
    tarvexon::FindRec(key, rec);
    EXPECT_EQ(rec.coordSys, code);
    EXPECT_EQ(rec.coordSysTens, 0);
  }
  const int32_t nodes = tarvexon::TarvexGetNumOfTreeNodes();
  for (int32_t code : {0, 5, 9, 10, 25, -1, -12}) {
    zktest::LogWatch log;
    EXPECT_EQ(tarvexon::CreateNewSatEntry(903, 22000.0, 6378.135, 0.0743669161, code), -1) << code;
    EXPECT_EQ(log.errors(), 1) << code;
  }
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), nodes);
}

TEST_F(TarvexStoreTest, SatKeyByNumber) {
  const int64_t key = add(withPoints(4711, 1, {21000.0}));
  EXPECT_EQ(tarvexon::GetSatKey(4711), key);
  zktest::LogWatch log;
  EXPECT_EQ(tarvexon::GetSatKey(4712), -1);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(zktest::LogWatch::lastError(),
            "GetSatKey: Unable to locate satellite number      4712 in the Tarvex binary tree.");
}

TEST_F(TarvexStoreTest, CardLinesNameEachFileWithItsLabelFirst) {
  TarvexRecord labelled = withPoints(1, 1, {21000.0});
  labelled.fileName.set("eph/first.e");
  labelled.cardLabel.set("ISS from the operator");
  TarvexRecord plain = withPoints(2, 1, {21000.0});
  plain.fileName.set("eph/second.e");
  ASSERT_GT(add(labelled), 0);
  ASSERT_GT(add(plain), 0);

  const std::string path =
      (std::filesystem::temp_directory_path() / ("tarvex_cards_" + std::to_string(::getpid()) + ".txt"))
          .string();
  constexpr int kUnit = 43;
  ASSERT_EQ(basalon::fileopen(kUnit, path, basalon::kOpenWrite), basalon::kUnitOk);
  EXPECT_EQ(tarvexon::TarvexWriteLines(kUnit), 0);
  ASSERT_EQ(basalon::fileClose(kUnit), basalon::kUnitOk);
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::filesystem::remove(path);

  ASSERT_EQ(lines.size(), 3u);
  size_t label = lines.size(), first = lines.size(), second = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("#TARVEXON = ISS from the operator", 0) == 0) label = i;
    if (lines[i].rfind("EPHFIL = eph/first.e", 0) == 0) first = i;
    if (lines[i].rfind("EPHFIL = eph/second.e", 0) == 0) second = i;
  }
  ASSERT_LT(first, lines.size());
  ASSERT_LT(second, lines.size());
  EXPECT_EQ(label + 1, first);  // the label line comes just before its record's file line
}

}  // namespace

TEST_F(TarvexStoreTest, AddsWaitForTheNamedWriterLock) {
  std::unique_lock<std::mutex> held(tarvexon::cs_tarvex_updatenote());
  std::thread adder([] { tarvexon::CreateNewSatEntry(4711, 27000.0, 6378.135, 0.07436691613317341, 1); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 0);  // the add cannot get in while the lock is held
  held.unlock();
  adder.join();
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 1);
}
