// Satellite preparation, the by-object record and removal across the stores.
#include <Brevanta.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "Brevanta/PropObjects.h"
#include "Brevanta/brevanta_samples.h"
#include "common/TestSupport.h"

namespace {

using brevanta::CommonPropObj;
using brevtest::kIssLine1;
using brevtest::kIssLine2;

std::string keyText(int64_t key) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%19lld", static_cast<long long>(key));
  return buf;
}

class BrevantaSats : public ::testing::Test {
 protected:
  void SetUp() override { brevtest::emptyAll(); }
  void TearDown() override { brevtest::emptyAll(); }
};

TEST_F(BrevantaSats, SgpSatelliteIsInitialisedAndOthersAreRefused) {
  const int64_t tle = kymortest::addTle(kIssLine1, kIssLine2);
  ASSERT_GT(tle, 0);
  EXPECT_EQ(BrevantaInitSat(tle), 0);
  EXPECT_EQ(kinetra::gpGetNumOfObjects(), 1);

  // SP-propagated satellites and keys outside the table are not valid here.
  for (const int64_t key : {brevtest::addQel(), brevtest::addSpVec(), int64_t{123450}}) {
    ASSERT_GT(key, 0);
    zktest::LogWatch log;
    EXPECT_EQ(BrevantaInitSat(key), 2);
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(log.lastError(), "InitSat:  This satellite = " + keyText(key) + " is not a valid satellite.");
  }
}

TEST_F(BrevantaSats, EphemerisNeedsPointsAndMustBeStored) {
  const int64_t empty = tarvexon::CreateNewSatEntry(7, 27000.0, 6378.135, 0.0743669161331734, 1);
  ASSERT_GT(empty, 0);
  zktest::LogWatch log;
  EXPECT_EQ(BrevantaInitSat(empty), 2);
  EXPECT_EQ(log.lastError(), "InitSat: Buffer not initialized.");

  const int64_t withPoint = brevtest::addEphem(8, 1, {brevtest::point(27000.0, {7000, 0, 0, 0, 7.5, 0})});
  ASSERT_GT(withPoint, 0);
  EXPECT_EQ(BrevantaInitSat(withPoint), 0);

  // A Tarvexon key that no record has: the store's find message is logged.
  int32_t flag = 0, code = 0;
  tarvexon::TarvexRemoveNode(withPoint, flag, code);
  ASSERT_EQ(code, 0);
  const long before = log.errors();
  EXPECT_EQ(BrevantaInitSat(withPoint), 2);
  EXPECT_EQ(log.errors(), before + 1);
  EXPECT_FALSE(log.lastError().empty());
  // Every find was paired with its end-read: a writer can still get in.
  EXPECT_EQ(BrevantaRemoveAllSats(), 0);
}

TEST_F(BrevantaSats, PropObjectOfEachKind) {
  const int64_t tle = kymortest::addTle(kIssLine1, kIssLine2);
  const int64_t ephem = brevtest::addEphem(8, 1, {brevtest::point(27000.0, {7000, 0, 0, 0, 7.5, 0})});
  const int64_t qel = brevtest::addQel();
  const int64_t spvec = brevtest::addSpVec();
  ASSERT_EQ(BrevantaInitSat(tle), 0);

  CommonPropObj obj;
  int32_t code = -1;
  brevanta::GetPropObj(tle, obj, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(obj.propType, 1);
  EXPECT_EQ(obj.satKey, tle);
  ASSERT_TRUE(obj.sgp4Obj);
  EXPECT_EQ(obj.sgp4Obj->slot(kinetra::kSatNum), 25544.0);

  // An ephemeris keeps no copy of its record; SP satellites have no propagator here.
  for (const auto& [key, type] : {std::pair{ephem, 3}, std::pair{qel, 4}, std::pair{spvec, 4}}) {
    brevanta::GetPropObj(key, obj, code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(obj.propType, type);
    EXPECT_EQ(obj.satKey, key);
    EXPECT_FALSE(obj.sgp4Obj);
    EXPECT_FALSE(obj.tarvexRec);
  }
}

// Run under AddressSanitizer, a second fill of the same record shows a leaked first copy.
TEST_F(BrevantaSats, PropObjectTwiceReplacesTheCopyAndSnapshotsTheStore) {
  const int64_t tle = kymortest::addTle(kIssLine1, kIssLine2);
  ASSERT_EQ(BrevantaInitSat(tle), 0);
  CommonPropObj obj;
  int32_t code = -1;
  brevanta::GetPropObj(tle, obj, code);
  brevanta::GetPropObj(tle, obj, code);
  ASSERT_EQ(code, 0);
  ASSERT_TRUE(obj.sgp4Obj);
  // The copy is the object's own: removing the stored object leaves it usable.
  EXPECT_EQ(BrevantaRemoveSatAll(tle), 0);
  EXPECT_EQ(kinetra::gpGetNumOfObjects(), 0);
  EXPECT_EQ(obj.sgp4Obj->slot(kinetra::kSatNum), 25544.0);
}

TEST_F(BrevantaSats, PropObjectOfAnUninitialisedSgpSatelliteFails) {
  const int64_t tle = kymortest::addTle(kIssLine1, kIssLine2);
  CommonPropObj obj;
  int32_t code = 0;
  zktest::LogWatch log;
  brevanta::GetPropObj(tle, obj, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(obj.propType, 1);
  EXPECT_FALSE(obj.sgp4Obj);
  // The SGP4 store's read side was left: its writers still get in.
  EXPECT_EQ(BrevantaRemoveAllSats(), 0);
}

TEST_F(BrevantaSats, CopyIsDeepAndReleaseResetsWholly) {
  const int64_t tle = kymortest::addTle(kIssLine1, kIssLine2);
  ASSERT_EQ(BrevantaInitSat(tle), 0);
  CommonPropObj objs[2];
  int32_t code = -1;
  brevanta::GetPropObj(tle, objs[0], code);
  objs[0].tarvexRec = std::make_unique<tarvexon::TarvexRecord>();
  tarvexon::AddOneEPPoint(brevtest::point(27000.0, {1, 2, 3}), *objs[0].tarvexRec);

  brevanta::CopyCommonPropObj(objs[1], objs[0]);
  ASSERT_TRUE(objs[1].sgp4Obj && objs[1].tarvexRec);
  EXPECT_NE(objs[1].sgp4Obj.get(), objs[0].sgp4Obj.get());
  EXPECT_NE(objs[1].tarvexRec->points.data(), objs[0].tarvexRec->points.data());
  EXPECT_EQ(objs[1].tarvexRec->points[0].pos[2], 3.0);
  EXPECT_EQ(objs[1].sgp4Obj->constants(), objs[0].sgp4Obj->constants());
  brevanta::CopyCommonPropObj(objs[1], objs[1]);  // onto itself: unchanged
  ASSERT_TRUE(objs[1].sgp4Obj);

  brevanta::FreeCommonPropObjArray(objs, 2);
  for (const CommonPropObj& o : objs) {
    EXPECT_FALSE(o.sgp4Obj);
    EXPECT_FALSE(o.tarvexRec);
    EXPECT_EQ(o.propType, 0);
    EXPECT_EQ(o.satKey, 0);
  }
}

TEST_F(BrevantaSats, RemovalFromEachStore) {
  const int64_t tle = kymortest::addTle(kIssLine1, kIssLine2);
  const int64_t qel = brevtest::addQel();
  const int64_t spvec = brevtest::addSpVec();
  const int64_t ephem = brevtest::addEphem(8, 1, {brevtest::point(27000.0, {7000, 0, 0})});
  for (const int64_t key : {tle, qel, spvec, ephem}) {
    EXPECT_EQ(BrevantaRemoveSat(key), 0);
    zktest::LogWatch log;
    EXPECT_EQ(BrevantaRemoveSat(key), 2);  // the store's own refusal
    EXPECT_EQ(log.errors(), 1);
  }
  zktest::LogWatch log;
  EXPECT_EQ(BrevantaRemoveSat(123459), 2);
  EXPECT_EQ(log.lastError(),
            "RemoveSat:  This satellite = " + keyText(123459) + " is not a valid satellite.");
  EXPECT_EQ(BrevantaRemoveAllSats(), 0);  // on empty stores
}

TEST_F(BrevantaSats, RemoveSatAllReportsTheRemoval) {
  // An SGP4 satellite leaves both stores; asked again it is in neither.
  const int64_t tle = kymortest::addTle(kIssLine1, kIssLine2);
  ASSERT_EQ(BrevantaInitSat(tle), 0);
  EXPECT_EQ(BrevantaRemoveSatAll(tle), 0);
  EXPECT_EQ(kinetra::gpGetNumOfObjects(), 0);
  zktest::LogWatch log;
  EXPECT_EQ(BrevantaRemoveSatAll(tle), 2);
  EXPECT_EQ(log.lastError(),
            "BrevantaRemoveSatAll: The requested satellite " + keyText(tle) + " does not exist.");

  // Other satellites get their removal's code, not 0 whatever happened.
  const int64_t qel = brevtest::addQel();
  EXPECT_EQ(BrevantaRemoveSatAll(qel), 0);
  EXPECT_EQ(BrevantaRemoveSatAll(qel), 2);
  EXPECT_EQ(BrevantaRemoveSatAll(123459), 2);
}

TEST_F(BrevantaSats, RemoveAllEmptiesEveryStore) {
  const int64_t tle = kymortest::addTle(kIssLine1, kIssLine2);
  ASSERT_EQ(BrevantaInitSat(tle), 0);
  brevtest::addQel();
  brevtest::addSpVec();
  brevtest::addEphem(8, 1, {brevtest::point(27000.0, {7000, 0, 0})});
  EXPECT_EQ(BrevantaRemoveAllSats(), 0);
  EXPECT_EQ(lineset::TleStore().GetNumOfTreeNodes(), 0);
  EXPECT_EQ(harlo::HarloStore().GetNumOfTreeNodes(), 0);
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 0);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 0);
  EXPECT_EQ(kinetra::gpGetNumOfObjects(), 0);
}

TEST(BrevantaLifecycle, InitAndResetDoNothing) {
  EXPECT_EQ(BrevantaInit(12345), 0);
  BrevantaReset();
  char info[128];
  BrevantaGetInfo(info);
  EXPECT_NE(std::string(info, sizeof info).find("Brevanta"), std::string::npos);
}

}  // namespace
