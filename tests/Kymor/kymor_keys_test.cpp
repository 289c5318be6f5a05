// Element and propagator types of keys, DMA keys live and freed, the find and satellite-number
// searches over the four stores with their messages, and the read sides left on every path.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>

#include "Kymor.h"
#include "Kymor/CommonElData.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "common/TestSupport.h"
#include "kymor_samples.h"

namespace {

using namespace kymortest;

std::string keyMessage(const char* format, int64_t key) {
  char line[160];
  std::snprintf(line, sizeof line, format, static_cast<long long>(key));
  return line;
}

qel::QelRecord qelSample(int32_t satNum) {
  qel::QelRecord r;
  r.satNum = satNum;
  r.intlDes.set("98067A");
  r.epoch = {2026, 78, 12, 0, 0.0};
  r.epochRev = 1234;
  r.eciPos = {7000.0, 0.0, 0.0};
  r.eciVel = {0.0, 5.0, 5.5};
  r.geoModel.set("WGS-72");
  return r;
}

class KymorKeys : public ::testing::Test {
 protected:
  void SetUp() override { emptyStores(); }
  void TearDown() override { emptyStores(); }
};

TEST_F(KymorKeys, TypesOfStandardKeysFollowTheLastDigitWithItsSign) {
  const int64_t key = addTle(kIssLine1, kIssLine2);
  ASSERT_GT(key, 0);
  EXPECT_EQ(kymor::GetOrbEltType(key), 2);
  EXPECT_EQ(kymor::GetPropType(key), kymor::kPropTypeSgp4);
  const int32_t expectedProp[] = {4, 1, 1, 2, 2, 2, 3, 1, 4, 4};
  for (int32_t digit = 0; digit <= 9; ++digit) {
    // 1230 + digit is a DMA-looking key for digit 0 (no live block: type 0).
    EXPECT_EQ(kymor::GetOrbEltType(1230 + digit), digit);
    EXPECT_EQ(kymor::GetPropType(1230 + digit), expectedProp[digit]) << digit;
  }
  EXPECT_EQ(kymor::GetOrbEltType(-1), -1);
  EXPECT_EQ(kymor::GetOrbEltType(-17), -7);
  EXPECT_EQ(kymor::GetPropType(-17), kymor::kPropTypeNone);
  EXPECT_EQ(kymor::GetOrbEltType(0), 0);
  EXPECT_EQ(kymor::GetOrbEltType(-10), 0);
  EXPECT_EQ(kymor::GetPropType(-10), kymor::kPropTypeNone);
}

TEST_F(KymorKeys, AbsurdKeysAreNotValidSatellites) {
  for (int64_t key : {int64_t{-1}, int64_t{0}, int64_t{-10}, int64_t{-17}, int64_t{98}}) {
    zktest::LogWatch log;
    kymor::CommonSatData rec;
    rec.satNum = 77;
    kymor::GetCommElData(rec, key);
    EXPECT_EQ(rec.errCode, basalon::kResultFail);
    EXPECT_EQ(rec.satNum, 0);
    EXPECT_EQ(rec.eltType, 1);
    EXPECT_EQ(rec.satCategory, 4);
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(log.lastError(),
              keyMessage("GetCommElData:  This satellite = %19lld is not a valid satellite.", key));
    zktest::LogWatch findLog;
    EXPECT_EQ(kymor::KymorFindKey(key), 0);
    EXPECT_EQ(findLog.errors(), 1);
    EXPECT_EQ(findLog.lastError(), "KymorFindKey:  Invalid orbital element type");
    zktest::LogWatch quiet;
    EXPECT_EQ(kymor::GetSatNum(key), -1);
    EXPECT_EQ(SatNumOf(key), -1);
    EXPECT_EQ(quiet.errors(), 0);
  }
}

TEST_F(KymorKeys, MissingRecordsNameTheirStore) {
  struct Case {
    int64_t key;
    const char* tree;
  } cases[] = {{1231, "TLE tree"},   {1233, "TLE tree"},        {1237, "TLE tree"},
               {1234, "HARLO tree"}, {1235, "QEL binary tree"}, {1236, "Tarvexon binary tree"}};
  for (const Case& c : cases) {
    zktest::LogWatch log;
    kymor::CommonSatData rec;
    kymor::GetCommElData(rec, c.key);
    EXPECT_EQ(rec.errCode, basalon::kResultFail);
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(log.lastError(),
              keyMessage("GetCommElData:  Unable to locate satKey %19lld in the ", c.key) + c.tree + ".");
    EXPECT_EQ(kymor::KymorFindKey(c.key), 0);
    EXPECT_EQ(log.lastError(),
              keyMessage("KymorFindKey:  Unable to locate satKey %19lld in the ", c.key) + c.tree + ".");
    EXPECT_EQ(log.errors(), 2);
  }
  zktest::LogWatch log;
  kymor::CommonSatData rec;
  kymor::GetCommElDataSGP(rec, 1231);
  EXPECT_EQ(log.lastError(),
            keyMessage("GetCommElDataSGP:  Unable to locate satKey %19lld in the TLE tree.", 1231));
  kymor::GetCommElDataSGP(rec, 1232);
  EXPECT_EQ(rec.errCode, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "GetCommElDataSGP: Must be ELTTYPE_TLE_SGP or ELTTYPE_TLE_XP type");
  EXPECT_EQ(log.errors(), 2);
}

TEST_F(KymorKeys, SatelliteNumbersAcrossTheStores) {
  const int64_t tleKey = addTle(kIssLine1, kIssLine2);
  harlo::SpVecRecord sv;
  sv.pos = {7000.0, 0.0, 0.0};
  sv.vel = {0.0, 7500.0, 0.0};
  sv.satNum = 41;
  sv.epoch = "2026078120000.000";
  const int64_t harloKey = harlo::AddHarloToMem(sv);
  int64_t qelKey = -1;
  qel::AddQelToMem(qelSample(42), qelKey);
  const int64_t tarvexKey = addTarvex(43, 1, 0, [](int) { return tarvexon::TarvexPoint{}; });
  ASSERT_GT(harloKey, 0);
  ASSERT_GT(qelKey, 0);
  ASSERT_GT(tarvexKey, 0);

  EXPECT_EQ(kymor::GetSatNum(tleKey), 25544);
  EXPECT_EQ(kymor::GetSatNum(harloKey), 41);
  EXPECT_EQ(kymor::GetSatNum(qelKey), 42);
  EXPECT_EQ(SatNumOf(tarvexKey), 43);
  for (int64_t key : {tleKey, harloKey, qelKey, tarvexKey}) EXPECT_EQ(kymor::KymorFindKey(key), 1);

  zktest::LogWatch log;
  EXPECT_EQ(kymor::SatNum2SatKey(25544), tleKey);
  EXPECT_EQ(kymor::SatNum2SatKey(41), harloKey);
  EXPECT_EQ(kymor::SatNum2SatKey(42), qelKey);
  EXPECT_EQ(kymor::SatNum2SatKey(43), tarvexKey);
  EXPECT_EQ(kymor::SatNum2SatKey(0), -1);
  EXPECT_EQ(log.errors(), 0);
  EXPECT_EQ(kymor::SatNum2SatKey(44), -1);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(log.lastError(),
            "BrevantaNumToKey: Unable to locate satellite number        44 in the TLE/HARLO/QEL/TARVEXM "
            "binary trees.");

  // The TLE store is asked first: a TLE and a Qel message of one number give the TLE's key.
  int64_t sameNumber = -1;
  qel::AddQelToMem(qelSample(25544), sameNumber);
  ASSERT_GT(sameNumber, 0);
  EXPECT_EQ(kymor::SatNum2SatKey(25544), tleKey);
}

TEST_F(KymorKeys, DmaKeysLiveAndFreed) {
  basalon::elsetkeymodeset(1);
  int64_t qelKey = -1;
  qel::AddQelToMem(qelSample(42), qelKey);
  const int64_t tleKey = addTle(kIssLine1, kIssLine2);
  ASSERT_TRUE(basalon::isdma(qelKey));
  ASSERT_TRUE(basalon::isdma(tleKey));
  EXPECT_EQ(kymor::GetOrbEltType(qelKey), 5);
  EXPECT_EQ(kymor::GetPropType(qelKey), kymor::kPropTypeSp);
  EXPECT_EQ(kymor::GetOrbEltType(tleKey), lineset::kTleDmaElsetType);
  kymor::CommonSatData rec;
  kymor::GetCommElData(rec, qelKey);
  EXPECT_EQ(rec.errCode, 0);
  EXPECT_EQ(rec.satNum, 42);
  EXPECT_EQ(kymor::GetSatNum(tleKey), 25544);
  EXPECT_EQ(kymor::KymorFindKey(tleKey), 1);

  int32_t flag = 0, code = -1;
  qel::QelRemoveNode(qelKey, flag, code);
  ASSERT_EQ(code, 0);
  // The freed block is no longer in the registry: no type, no store, never dereferenced.
  EXPECT_EQ(kymor::GetOrbEltType(qelKey), 0);
  EXPECT_EQ(kymor::GetPropType(qelKey), kymor::kPropTypeNone);
  zktest::LogWatch log;
  kymor::GetCommElData(rec, qelKey);
  EXPECT_EQ(rec.errCode, basalon::kResultFail);
  EXPECT_EQ(log.lastError(),
            keyMessage("GetCommElData:  This satellite = %19lld is not a valid satellite.", qelKey));
  EXPECT_EQ(kymor::GetSatNum(qelKey), -1);
  EXPECT_EQ(kymor::KymorFindKey(qelKey), 0);
  EXPECT_EQ(log.errors(), 2);
}

// Finds that miss, hit, or meet a record without points leave every store's read side: a writer
// of each store then gets in. A read side left entered would keep the writer waiting for ever.
TEST_F(KymorKeys, EveryPathLeavesTheReadSide) {
  for (int mode = 0; mode < 2; ++mode) {
    basalon::elsetkeymodeset(mode);
    const int64_t tleKey = addTle(kIssLine1, kIssLine2);
    int64_t qelKey = -1;
    qel::AddQelToMem(qelSample(42), qelKey);
    const int64_t emptyEphem = addTarvex(43, 1, 0, [](int) { return tarvexon::TarvexPoint{}; });
    ASSERT_GT(tleKey, 0);
    ASSERT_GT(emptyEphem, 0);
    kymor::CommonSatData rec;
    for (int64_t key : {tleKey, qelKey, emptyEphem, int64_t{1231}, int64_t{1234}, int64_t{1235},
                        int64_t{1236}, int64_t{-10}, int64_t{0}}) {
      kymor::GetCommElData(rec, key);
      kymor::KymorFindKey(key);
      kymor::GetSatNum(key);
    }
    kymor::GetCommElDataSGP(rec, 1231);
    kymor::SatNum2SatKey(99);
    auto writers = std::async(std::launch::async, [] {
      emptyStores();
      return true;
    });
    if (writers.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
      ADD_FAILURE() << "a store's read side was left entered";
      std::_Exit(1);
    }
    basalon::elsetkeymodeset(0);
  }
}

TEST(KymorCodes, CategoriesAndConstants) {
  EXPECT_EQ(kymor::GetSatCat(1436.0, 35780.0), 1);
  EXPECT_EQ(kymor::GetSatCat(1200.0, 0.0), 1);
  EXPECT_EQ(kymor::GetSatCat(1800.0, 0.0), 1);
  EXPECT_EQ(kymor::GetSatCat(1800.5, 0.0), 2);
  EXPECT_EQ(kymor::GetSatCat(225.0, 100.0), 2);
  EXPECT_EQ(kymor::GetSatCat(224.9, 574.9), 3);
  EXPECT_EQ(kymor::GetSatCat(224.9, 575.0), 4);
  EXPECT_EQ(kymor::GetSatCat(0.0, 0.0), 3);
  EXPECT_EQ(&kymor::GetGeoConst("EGM-96"), &planix::egm96);
  EXPECT_EQ(&kymor::GetGeoConst("WGS-72"), &planix::wgs72);
  EXPECT_EQ(&kymor::GetGeoConst("WGS-84"), &planix::wgs84);
  EXPECT_EQ(&kymor::GetGeoConst("wgs-84"), &planix::genvgeo());
  EXPECT_EQ(&kymor::GetGeoConst("      "), &planix::genvgeo());
  EXPECT_EQ(KymorInit(12345), 0);
}

}  // namespace
