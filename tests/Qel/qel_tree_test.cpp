// The Qel store: keys, duplicates in both duplicate modes, bumping, refusals, DMA keys, lookups
// and their messages, listing orders, removal and emptying.
#include <gtest/gtest.h>

#include <vector>

#include "Qel/QelTree.h"
#include "Siblings/Chronel/Chronel.h"
#include "common/TestSupport.h"

namespace {

qel::QelRecord makeRecord(int32_t satNum, int32_t day, double x = 7000.0) {
  qel::QelRecord r;
  r.satNum = satNum;
  r.epoch = {2023, day, 6, 15, 30.5};
  r.eciPos = {x, 1000.0, -500.0};
  r.eciVel = {-1.0, 7.0, 0.25};
  r.ballisticCoef = 0.01;
  return r;
}

std::vector<int64_t> listKeys(int32_t order) {
  std::vector<int64_t> keys(static_cast<size_t>(qel::QelGetNumOfTreeNodes()) + 1, -9);
  int32_t count = 0;
  qel::QelGetTreeKeys(count, keys.data(), order);
  keys.resize(static_cast<size_t>(count));
  return keys;
}

class QelTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t code = 0;
    qel::QelEmptyTree(code);
  }
  void TearDown() override {
    int32_t code = 0;
    qel::QelEmptyTree(code);
    basalon::elsetkeymodeset(0);
    basalon::dupKeyModeSet(0);
  }
  static int64_t add(const qel::QelRecord& r) {
    int64_t key = -7;
    qel::AddQelToMem(r, key);
    return key;
  }
};

TEST_F(QelTreeTest, DatesAndStandardKeys) {
  EXPECT_DOUBLE_EQ(qel::InputDateToDs50({1950, 1, 0, 0, 0.0}), 1.0);
  EXPECT_DOUBLE_EQ(qel::InputDateToDs50({2000, 1, 12, 0, 0.0}), chronel::kDs50J2000);
  EXPECT_DOUBLE_EQ(qel::InputDateToDs50({2000, 1, 11, 59, 30.0}), chronel::kDs50J2000 - 30.0 / 86400.0);
  const qel::QelRecord r = makeRecord(25544, 45);
  const int64_t key = qel::CreateSatKeyFrQel(r);
  EXPECT_EQ(key, chronel::createsatkey(25544, 5, qel::InputDateToDs50(r.epoch)));
  EXPECT_EQ(key % 10, 5);
  EXPECT_EQ(add(r), key);
  EXPECT_TRUE(qel::QelElsetType(5));
  EXPECT_FALSE(qel::QelElsetType(6));
  char text[33] = {};
  qel::FieldsToStr(r, text);
  char expected[64];
  std::snprintf(expected, sizeof expected, "%09d%16.9f       ", 25544, qel::InputDateToDs50(r.epoch));
  EXPECT_EQ(std::string(text, 32), std::string(expected));
}

TEST_F(QelTreeTest, DuplicatesInBothModes) {
  const qel::QelRecord r = makeRecord(100, 10);
  const int64_t key = add(r);
  ASSERT_GT(key, 0);
  zktest::LogWatch log;
  EXPECT_EQ(add(r), 0);
  EXPECT_EQ(log.errors(), 1);
  char line[128];
  std::snprintf(line, sizeof line, "AddRecToMem: Duplicated record/key %19lld found.",
                static_cast<long long>(key));
  EXPECT_EQ(log.lastError(), line);
  basalon::dupKeyModeSet(1);
  zktest::LogWatch silent;
  qel::QelBinTree* node = reinterpret_cast<qel::QelBinTree*>(1);
  int64_t again = -7;
  qel::AddQelToMem(r, again, &node);
  EXPECT_EQ(again, key);
  EXPECT_EQ(node, nullptr);
  EXPECT_EQ(silent.errors(), 0);
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 1);
}

TEST_F(QelTreeTest, DifferentStateUnderTheSameKeyIsBumped) {
  const int64_t first = add(makeRecord(200, 20));
  qel::QelBinTree* node = nullptr;
  int64_t second = -7;
  qel::AddQelToMem(makeRecord(200, 20, 7000.5), second, &node);
  EXPECT_EQ(second, basalon::nextsatkey(first));
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->key, second);
  EXPECT_EQ(second % 10, 5);
  qel::QelRecord out;
  qel::QelFindRec(second, out);
  EXPECT_EQ(out.eciPos[0], 7000.5);
  // a third different record goes one step further
  EXPECT_EQ(add(makeRecord(200, 20, 7001.0)), basalon::nextsatkey(second));
}

TEST_F(QelTreeTest, RefusedRecordAddsNothing) {
  qel::QelRecord r = makeRecord(300, 30);
  r.epochRev = -1;
  zktest::LogWatch log;
  EXPECT_EQ(add(r), -1);
  EXPECT_EQ(log.lastError(), "ValidateQelValues: Invalid Epoch Revolution = -1 (valid 0-99999)");
  EXPECT_TRUE(qel::QelTreeIsEmpty());
}

TEST_F(QelTreeTest, EmptyStoreLookups) {
  qel::QelRecord out = makeRecord(1, 1);
  qel::AllocManeuverLines(out);
  std::string msg = "old";
  qel::QelFindRec(12345, out, &msg);
  EXPECT_EQ(msg, "FindRec: Search tree is empty.");
  EXPECT_EQ(out.satNum, -123);
  EXPECT_TRUE(out.maneuverLines.empty());
  EXPECT_EQ(out.eciPos[0], 0.0);
  qel::QelRecord* link = &out;
  qel::QelFindRecPtr(12345, link, &msg);
  EXPECT_EQ(msg, "FindRecPtr: Search tree is empty.");
  EXPECT_EQ(link, nullptr);
  EXPECT_EQ(qel::QelStore().NumReads(), 1);  // the caller still owes its end-read
  qel::QelEndRead();
  EXPECT_EQ(qel::QelSatKeyGet(1), -1);
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 0);
  EXPECT_TRUE(listKeys(0).empty());
}

TEST_F(QelTreeTest, MissingKeysAndBadDmaKeys) {
  add(makeRecord(400, 40));
  std::string msg;
  qel::QelRecord out;
  qel::QelFindRec(987654321, out, &msg);
  EXPECT_EQ(msg, "FindRec: search key doens't exist.");
  EXPECT_EQ(out.satNum, -123);
  qel::QelRecord* link = nullptr;
  qel::QelFindRecPtr(987654321, link, &msg);
  EXPECT_EQ(msg, "FindRecPtr: search key doens't exist.");
  qel::QelEndRead();
  qel::QelFindRec(-20, out, &msg);
  EXPECT_EQ(msg, "FindRec: Invalid DMA key (<=0).");
  qel::QelFindRecPtr(0, link, &msg);
  EXPECT_EQ(msg, "FindRecPtr: Invalid DMA key (<=0).");
  qel::QelFindRecPtr(1230, link, &msg);  // no live block there
  EXPECT_EQ(msg, "FindRecPtr: Invalid DMA key.");
  EXPECT_EQ(qel::QelStore().NumReads(), 0);
  zktest::LogWatch log;
  int32_t flag = 0, code = 0;
  qel::QelRemoveNode(0, flag, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "RemoveNode: Invalid DMA key (<=0).");
  qel::QelRemoveNode(1230, flag, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "RemoveDMA: /DMA doesn't exist or was already deallocated");
  qel::QelRemoveNode(4445, flag, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "RemoveNode: Unable to locate this key                4445 in its binary tree.");
  qel::QelUpdateRec(-10, out, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "UpdateRec: Invalid DMA key (<=0).");
  qel::QelUpdateRec(1230, out, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "UpdateRec: rec/DMA doesn't exist or was already deallocated");
  qel::QelUpdateRec(4445, out, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "UpdateRec: Unable to locate key                4445 in its binary tree.");
  EXPECT_EQ(log.errors(), 6);
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 1);
}

TEST_F(QelTreeTest, FindUpdateAndBorrow) {
  qel::QelRecord r = makeRecord(500, 50);
  qel::AllocManeuverLines(r);
  r.maneuverLines[0].set("first maneuver");
  r.numManeuverLines = 1;
  const int64_t key = add(r);
  qel::QelRecord changed = makeRecord(501, 51, 6500.0);  // other number and epoch: key is kept
  int32_t code = -1;
  qel::QelUpdateRec(key, changed, code);
  EXPECT_EQ(code, 0);
  qel::QelRecord out;
  std::string msg = "x";
  qel::QelFindRec(key, out, &msg);
  EXPECT_EQ(msg, "");
  EXPECT_EQ(out.satNum, 501);
  EXPECT_TRUE(out.maneuverLines.empty());
  qel::QelRecord* link = nullptr;
  qel::QelFindRecPtr(key, link, &msg);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->eciPos[0], 6500.0);
  EXPECT_EQ(qel::QelStore().NumReads(), 1);
  qel::QelEndRead();
  EXPECT_EQ(qel::QelSatKeyGet(500), -1);
  EXPECT_EQ(qel::QelSatKeyGet(501), key);
}

TEST_F(QelTreeTest, LoadOrderAfterRemoveAndReAdd) {
  const int64_t a = add(makeRecord(3, 1));
  const int64_t b = add(makeRecord(1, 2));
  const int64_t c = add(makeRecord(2, 3));
  const int64_t d = add(makeRecord(1, 1));
  EXPECT_EQ(listKeys(2), (std::vector<int64_t>{a, b, c, d}));
  EXPECT_EQ(listKeys(0), (std::vector<int64_t>{d, b, c, a}));  // number, then epoch
  EXPECT_EQ(listKeys(1), (std::vector<int64_t>{a, c, b, d}));
  int32_t flag = 0, code = -1;
  qel::QelRemoveNode(b, flag, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(add(makeRecord(1, 2)), b);
  EXPECT_EQ(listKeys(2), (std::vector<int64_t>{a, c, d, b}));
  std::vector<int64_t> ascending{a, b, c, d};
  std::sort(ascending.begin(), ascending.end());
  EXPECT_EQ(listKeys(9), ascending);
}

TEST_F(QelTreeTest, RemovingAndEmptyingKeepSequenceNumbersGrowing) {
  const int64_t only = add(makeRecord(600, 60));
  int32_t flag = 0, code = -1;
  qel::QelRemoveNode(only, flag, code);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(qel::QelTreeIsEmpty());
  for (int d = 1; d <= 20; ++d) add(makeRecord(600, d));
  const int32_t before = qel::QelStore().LastSeqNum();
  // a node with two subtrees: the root of a 20-node tree
  std::vector<int64_t> keys = listKeys(9);
  const keyedtree::TreeReport rep0 = qel::QelStore().Validate();
  qel::QelRemoveNode(keys[7], flag, code);
  const keyedtree::TreeReport rep1 = qel::QelStore().Validate();
  ASSERT_TRUE(rep1.ok) << rep1.problem;
  for (const auto& ks : rep1.keySeq) {
    auto it = std::find(rep0.keySeq.begin(), rep0.keySeq.end(), ks);
    EXPECT_NE(it, rep0.keySeq.end()) << "key " << ks.first << " changed its sequence number";
  }
  code = -1;
  qel::QelEmptyTree(code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 0);
  qel::QelBinTree* node = nullptr;
  int64_t key = 0;
  qel::AddQelToMem(makeRecord(601, 1), key, &node);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->seq, before + 1);
}

TEST_F(QelTreeTest, DmaKeys) {
  basalon::elsetkeymodeset(1);
  qel::QelRecord r = makeRecord(700, 70);
  qel::AllocManeuverLines(r);
  r.numManeuverLines = 1;
  const int64_t key = add(r);
  ASSERT_GT(key, 0);
  EXPECT_EQ(key % 10, 0);
  EXPECT_TRUE(basalon::isdma(key));
  EXPECT_EQ(add(r) % 10, 0);  // identical records each get a block
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 2);
  basalon::DmaBlock* block = basalon::keytocptr(key);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->elsetType, 5);
  qel::QelRecord* link = nullptr;
  std::string msg;
  qel::QelFindRecPtr(key, link, &msg);
  EXPECT_EQ(link, block->rec);
  EXPECT_EQ(qel::QelStore().NumReads(), 0);  // no read side for DMA keys
  qel::QelRecord changed = makeRecord(701, 71);
  int32_t code = -1;
  qel::QelUpdateRec(key, changed, code);
  EXPECT_EQ(code, 0);
  qel::QelRecord out;
  qel::QelFindRec(key, out, &msg);
  EXPECT_EQ(out.satNum, 701);
  EXPECT_EQ(qel::QelSatKeyGet(701), key);
  // another library attaches data: removal keeps the block for it
  int attached = 0;
  block->attach2 = &attached;
  int32_t flag = 0;
  qel::QelRemoveNode(key, flag, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(basalon::keytocptr(key), block);
  EXPECT_EQ(block->rec, nullptr);
  qel::QelFindRecPtr(key, link, &msg);
  EXPECT_EQ(msg, "FindRecPtr: Prop data doesn't exist.");
  block->attach2 = nullptr;
  basalon::dmaFree(block);
  // a block of another store is neither handed out nor overwritten
  basalon::DmaBlock* other = basalon::dmaalloc(6);
  const int64_t otherKey = basalon::dmakey(other);
  qel::QelFindRecPtr(otherKey, link, &msg);
  EXPECT_EQ(link, nullptr);
  zktest::LogWatch log;
  qel::QelUpdateRec(otherKey, changed, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(other->rec, nullptr);
  qel::QelRemoveNode(otherKey, flag, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "RemoveDMA: This DMA object isn't a correct object.");
  EXPECT_NE(basalon::keytocptr(otherKey), nullptr);
  basalon::dmaFree(other);
  // emptying frees the remaining block
  const std::vector<int64_t> left = listKeys(9);
  ASSERT_EQ(left.size(), 1u);
  qel::QelEmptyTree(code);
  EXPECT_EQ(basalon::keytocptr(left[0]), nullptr);
}

}  // namespace

namespace {

// A node prepared by the caller from the store's pool enters, is found, and leaves again; a taken
// key is bumped.
TEST_F(QelTreeTest, PreparedNodesFromThePool) {
  const qel::QelRecord r = makeRecord(700, 70);
  const int64_t key = qel::CreateSatKeyFrQel(r);
  qel::QelBinTree* node = qel::QelNewNode();
  ASSERT_NE(node, nullptr);
  node->key = key;
  node->rec = new qel::QelRecord(r);
  int32_t status = -1;
  qel::QelAddNode(node, status);
  EXPECT_TRUE(status == 0 || status == 1);
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 1);

  qel::QelBinTree* other = qel::QelNewNode();
  ASSERT_NE(other, nullptr);
  other->key = key;
  other->rec = new qel::QelRecord(makeRecord(700, 70, 6900.0));  // same key, different record
  qel::QelAddNode(other, status);
  EXPECT_TRUE(status == 0 || status == 1);
  EXPECT_EQ(listKeys(2), (std::vector<int64_t>{key, basalon::nextsatkey(key)}));

  int32_t flag = 0, code = -1;
  qel::QelRemoveNode(key, flag, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 1);
}

}  // namespace
