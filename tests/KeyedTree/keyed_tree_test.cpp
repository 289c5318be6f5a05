// The keyed record tree engine on a small test record: AVL shape after long random operation
// sequences, key bumping, duplicates, listing orders and writer failures.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "KeyedTree/KeyedTree.h"
#include "common/TestSupport.h"

namespace {

struct TestRec {
  int32_t satNum = 0;
  int32_t payload = 0;  // distinguishes records that share a key
  std::vector<int> owned;
};

// Keys ignore the payload so that records of one satellite number collide and get bumped.
struct TestTraits {
  using Record = TestRec;
  static constexpr int32_t kElsetType = 9;
  static constexpr std::string_view kMessagePrefix = "";
  static inline int validations = 0;
  static void copy(Record& dst, const Record& src) {
    if (&dst != &src) dst = src;
  }
  static void release(Record& rec) { std::vector<int>().swap(rec.owned); }
  static bool equal(const Record& a, const Record& b) {
    return a.satNum == b.satNum && a.payload == b.payload;
  }
  static int32_t validate(const Record& rec) {
    ++validations;
    return rec.satNum >= 0 ? 0 : 2;
  }
  static int64_t makeKey(const Record& rec) { return static_cast<int64_t>(rec.satNum) * 1000 + 7; }
  static int32_t satNum(const Record& rec) { return rec.satNum; }
  static void markNotFound(Record& rec) {
    rec = TestRec{};
    rec.satNum = -123;
  }
  static void sortString(const Record& rec, char out[32]) {
    std::memset(out, ' ', 32);
    // descending payload as the primary sort text, to tell the orders apart from key order
    std::snprintf(out, 32, "%09d", 999999999 - rec.payload);
    out[9] = ' ';
  }
  static int32_t writeRecord(const Record&, int32_t) { return 0; }
};

using Tree = keyedtree::KeyedTree<TestTraits>;

// What the tree should hold: key -> (record, seq).
struct Model {
  std::map<int64_t, std::pair<TestRec, int32_t>> entries;

  // The key an add should give (0 for a duplicate), following the bumping rule.
  int64_t expectedKey(const TestRec& r, bool& duplicate) const {
    int64_t key = TestTraits::makeKey(r);
    duplicate = false;
    for (int attempt = 0; attempt < 100; ++attempt) {
      auto it = entries.find(key);
      if (it == entries.end()) return key;
      if (TestTraits::equal(it->second.first, r)) {
        duplicate = true;
        return key;
      }
      key = basalon::nextsatkey(key);
    }
    duplicate = true;
    return TestTraits::makeKey(r);
  }
};

void expectMatches(Tree& tree, const Model& model, const std::string& step) {
  const keyedtree::TreeReport rep = tree.Validate();
  ASSERT_TRUE(rep.ok) << step << ": " << rep.problem;
  ASSERT_EQ(rep.count, static_cast<int32_t>(model.entries.size())) << step;
  ASSERT_EQ(tree.GetNumOfTreeNodes(), rep.count) << step;
  // AVL height bound: h < 1.4405 log2(n + 2)
  ASSERT_LT(rep.height, 1.4405 * std::log2(rep.count + 2.0) + 1e-9) << step;
  size_t i = 0;
  for (const auto& [key, recSeq] : model.entries) {
    ASSERT_EQ(rep.keySeq[i].first, key) << step;
    ASSERT_EQ(rep.keySeq[i].second, recSeq.second) << step << " key " << key;
    ++i;
  }
}

class KeyedTreeTest : public ::testing::Test {
 protected:
  void TearDown() override {
    basalon::elsetkeymodeset(0);
    basalon::dupKeyModeSet(0);
  }
};

TEST_F(KeyedTreeTest, RandomAddsBumpsDuplicatesAndRemovesKeepAValidAvlTree) {
  Tree tree;
  Model model;
  std::mt19937 rng(20261207);
  std::uniform_int_distribution<int> satDist(1, 400);
  std::uniform_int_distribution<int> payloadDist(0, 3);  // few payloads: many bumps and duplicates
  std::uniform_int_distribution<int> opDist(0, 9);
  int32_t lastSeq = 0;
  int bumps = 0, dups = 0, removes = 0;
  for (int step = 0; step < 6000; ++step) {
    const int op = opDist(rng);
    if (op < 6 || model.entries.empty()) {
      TestRec r;
      r.satNum = satDist(rng);
      r.payload = payloadDist(rng);
      r.owned.assign(3, r.payload);
      bool duplicate = false;
      const int64_t expected = model.expectedKey(r, duplicate);
      basalon::dupKeyModeSet(step % 2);
      Tree::Node* node = nullptr;
      zktest::LogWatch log;
      const int64_t key = tree.AddToMem(r, &node);
      if (duplicate) {
        ++dups;
        EXPECT_EQ(key, step % 2 == 0 ? 0 : expected);
        EXPECT_EQ(node, nullptr);
        EXPECT_EQ(log.errors(), step % 2 == 0 ? 1 : 0);
      } else {
        if (expected != TestTraits::makeKey(r)) ++bumps;
        ASSERT_EQ(key, expected);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->key, key);
        EXPECT_EQ(node->seq, lastSeq + 1);
        lastSeq = node->seq;
        model.entries[key] = {r, node->seq};
      }
    } else if (op < 9) {
      auto it = model.entries.begin();
      std::advance(it, std::uniform_int_distribution<size_t>(0, model.entries.size() - 1)(rng));
      int32_t flag = 0, code = -1;
      tree.RemoveNode(it->first, flag, code);
      ASSERT_EQ(code, 0);
      model.entries.erase(it);
      ++removes;
    } else {
      // a key that is not there
      int32_t flag = 0, code = 0;
      zktest::LogWatch log;
      tree.RemoveNode(123457, flag, code);
      EXPECT_EQ(code, 2);
      EXPECT_EQ(log.errors(), 1);
      EXPECT_EQ(log.lastError(),
                "RemoveNode: Unable to locate this key              123457 in its binary tree.");
    }
    expectMatches(tree, model, "step " + std::to_string(step));
    if (HasFatalFailure()) return;
    // every stored record is the one the model says, found through its key
    if (step % 97 == 0) {
      for (const auto& [key, recSeq] : model.entries) {
        TestRec out;
        tree.FindRec(key, out);
        ASSERT_EQ(out.payload, recSeq.first.payload);
        ASSERT_EQ(out.owned, recSeq.first.owned);
      }
    }
  }
  EXPECT_GT(bumps, 100);
  EXPECT_GT(dups, 100);
  EXPECT_GT(removes, 1000);
  int32_t code = -1;
  tree.EmptyTree(code);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(tree.TreeIsEmpty());
  // sequence numbers continue after emptying
  TestRec r;
  r.satNum = 1;
  Tree::Node* node = nullptr;
  tree.AddToMem(r, &node);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->seq, lastSeq + 1);
  tree.EmptyTree(code);
}

TEST_F(KeyedTreeTest, RemovalFromEveryPositionOfASmallTreeKeepsKeysWithTheirSequence) {
  // Every subset order of removal on a perfect 15-node tree (built by ascending inserts).
  for (int victim = 1; victim <= 15; ++victim) {
    Tree tree;
    for (int s = 1; s <= 15; ++s) tree.AddToMem(TestRec{s, 0, {}});
    int32_t flag = 0, code = 0;
    tree.RemoveNode(TestTraits::makeKey(TestRec{victim, 0, {}}), flag, code);
    ASSERT_EQ(code, 0);
    const keyedtree::TreeReport rep = tree.Validate();
    ASSERT_TRUE(rep.ok) << rep.problem;
    ASSERT_EQ(rep.count, 14);
    for (const auto& [key, seq] : rep.keySeq)
      EXPECT_EQ(static_cast<int32_t>(key / 1000), seq);  // seq = load order
    tree.EmptyTree(code);
  }
}

TEST_F(KeyedTreeTest, BumpingGivesUpAfterOneHundredAttempts) {
  Tree tree;
  for (int p = 0; p < 100; ++p) ASSERT_EQ(tree.AddToMem(TestRec{5, p, {}}), 5007 + 10 * p);
  zktest::LogWatch log;
  EXPECT_EQ(tree.AddToMem(TestRec{5, 100, {}}), 0);  // reported as a duplicate
  EXPECT_EQ(log.lastError(), "AddRecToMem: Duplicated record/key                5007 found.");
  EXPECT_EQ(tree.GetNumOfTreeNodes(), 100);
  // no key can be returned silently: the record was not stored
  basalon::dupKeyModeSet(1);
  EXPECT_EQ(tree.AddToMem(TestRec{5, 100, {}}), 0);
  // an identical record stored under a bumped key is found there
  EXPECT_EQ(tree.AddToMem(TestRec{5, 42, {}}), 5007 + 420);
  EXPECT_EQ(tree.GetNumOfTreeNodes(), 100);
  int32_t code = 0;
  tree.EmptyTree(code);
}

TEST_F(KeyedTreeTest, ListingOrders) {
  Tree tree;
  // payloads chosen so that sort-text order (descending payload) differs from key order
  const int payloads[5] = {30, 10, 50, 20, 40};
  std::vector<int64_t> loadOrder;
  for (int i = 0; i < 5; ++i) loadOrder.push_back(tree.AddToMem(TestRec{i + 1, payloads[i], {}}));
  auto list = [&](int order) {
    std::vector<int64_t> keys(8, -9);
    int32_t count = 0;
    tree.GetTreeKeys(count, keys.data(), order);
    EXPECT_EQ(count, 5);
    keys.resize(static_cast<size_t>(count));
    return keys;
  };
  const int64_t k1 = loadOrder[0], k2 = loadOrder[1], k3 = loadOrder[2], k4 = loadOrder[3], k5 = loadOrder[4];
  EXPECT_EQ(list(0), (std::vector<int64_t>{k3, k5, k1, k4, k2}));
  EXPECT_EQ(list(1), (std::vector<int64_t>{k2, k4, k1, k5, k3}));
  EXPECT_EQ(list(2), loadOrder);
  EXPECT_EQ(list(7), (std::vector<int64_t>{k1, k2, k3, k4, k5}));
  // the listing never writes past the room given
  std::vector<int64_t> small(3, -9);
  int32_t count = 0, code = 0;
  tree.GetTreeKeys(count, small.data(), 0, 2);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(small[2], -9);
  tree.EmptyTree(code);
}

TEST_F(KeyedTreeTest, WriterFailureSkipsOnlyTheFailingRecord) {
  // Ascending inserts of 1..7 give the perfect tree 4 / (2: 1, 3) / (6: 5, 7): a failure at an
  // inner node or at the root still lets every record of its higher subtree be written.
  Tree tree;
  for (int s = 1; s <= 7; ++s) tree.AddToMem(TestRec{s, 0, {}});
  int32_t failed = -1;
  auto writeAllBut = [&](int failing) {
    std::vector<int> written;
    failed = tree.WriteLinesWith([&](const TestRec& r) {
      written.push_back(r.satNum);
      return r.satNum == failing ? 2 : 0;
    });
    return written;
  };
  const std::vector<int> all{1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(writeAllBut(0), all);
  EXPECT_EQ(failed, 0);
  for (int failing : {2, 4, 6}) {
    EXPECT_EQ(writeAllBut(failing), all) << failing;
    EXPECT_EQ(failed, 1) << failing;
  }
  int32_t code = 0;
  tree.EmptyTree(code);
}

TEST_F(KeyedTreeTest, SatKeyLookupWalksPreOrder) {
  Tree tree;
  // three records of satellite 9 under bumped keys 9007, 9017, 9027: the root (9017) is met first
  for (int p = 0; p < 3; ++p) tree.AddToMem(TestRec{9, p, {}});
  EXPECT_EQ(tree.SatKeyGet(9), 9017);
  EXPECT_EQ(tree.SatKeyGet(8), -1);
  int32_t code = 0;
  tree.EmptyTree(code);
  EXPECT_EQ(tree.SatKeyGet(9), -1);
}

}  // namespace
