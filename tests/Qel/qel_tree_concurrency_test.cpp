// Readers finding, borrowing and listing Qel records while writers update, remove and re-add
// them: no reader may ever see a record that is being changed or freed.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

#include "Qel/QelTree.h"

namespace {

constexpr int kRecords = 120;
constexpr int kWriters = 2;
constexpr int kReaders = 3;

// A value that ties the record's fields together; a torn or freed record breaks it.
double checksum(const qel::QelRecord& r) {
  double s = r.satNum * 0.5 + r.epochRev * 3.0 + r.eciPos[0] * 7.0 + r.eciVel[2] * 11.0;
  if (!r.maneuverLines.empty()) s += r.maneuverLines[99].c[0] * 13.0 + r.numManeuverLines;
  return s;
}

qel::QelRecord makeVersion(int satNum, int version) {
  qel::QelRecord r;
  r.satNum = satNum;
  r.epoch = {2025, 1 + satNum % 300, 3, 4, 5.0};
  r.epochRev = version % 99999;
  r.eciPos = {7000.0 + version, 10.0, 20.0};
  r.eciVel = {1.0, 2.0, 0.001 * (version % 1000)};
  if (version % 3 == 0) {
    qel::AllocManeuverLines(r);
    r.maneuverLines[99].set(std::string(1, static_cast<char>('A' + version % 26)));
    r.numManeuverLines = 1 + version % 100;
  }
  r.cmOffset = checksum(r);
  return r;
}

bool consistent(const qel::QelRecord& r) { return r.cmOffset == checksum(r); }

TEST(QelTreeConcurrency, ReadersNeverSeeARecordBeingChanged) {
  int32_t code = 0;
  qel::QelEmptyTree(code);
  std::vector<int64_t> keys(kRecords + 1);
  for (int s = 1; s <= kRecords; ++s) {
    qel::AddQelToMem(makeVersion(s, 0), keys[s]);
    ASSERT_GT(keys[s], 0);
  }

  std::atomic<bool> stop{false};
  std::atomic<long> goodReads{0}, writes{0}, badFinds{0}, badBorrows{0}, badKeys{0}, writerFailures{0};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1200);

  std::vector<std::thread> threads;
  for (int w = 0; w < kWriters; ++w) {
    threads.emplace_back([&, w] {
      std::mt19937 rng(100 + w);
      int version = 1;
      for (long i = 0; i < 4000 && !stop.load(); ++i, ++version) {
        // each writer owns the satellites of its residue, so keys stay stable
        const int s = 1 + w + kWriters * static_cast<int>(rng() % (kRecords / kWriters));
        int32_t c = 0, flag = 0;
        if (rng() % 4 == 0) {
          qel::QelRemoveNode(keys[s], flag, c);
          int64_t key = 0;
          qel::AddQelToMem(makeVersion(s, version), key);
          if (c != 0 || key != keys[s]) writerFailures.fetch_add(1);
        } else {
          qel::QelUpdateRec(keys[s], makeVersion(s, version), c);
          if (c != 0) writerFailures.fetch_add(1);
        }
        writes.fetch_add(1);
      }
    });
  }
  for (int r = 0; r < kReaders; ++r) {
    threads.emplace_back([&, r] {
      std::mt19937 rng(200 + r);
      for (long i = 0; i < 20000 && std::chrono::steady_clock::now() < deadline; ++i) {
        const int s = 1 + static_cast<int>(rng() % kRecords);
        const int kind = static_cast<int>(rng() % 8);
        if (kind < 3) {
          qel::QelRecord out;
          qel::QelFindRec(keys[s], out);
          // a record being re-added may be briefly absent; a found one must be whole
          if (out.satNum != -123) (consistent(out) && out.satNum == s ? goodReads : badFinds).fetch_add(1);
        } else if (kind < 7) {
          qel::QelRecord* link = nullptr;
          qel::QelFindRecPtr(keys[s], link);
          if (link != nullptr) {
            const double before = link->cmOffset;
            const bool ok = consistent(*link) && link->satNum == s;
            std::this_thread::yield();  // hold the borrow a little: the record must not change
            (ok && before == link->cmOffset && consistent(*link) ? goodReads : badBorrows).fetch_add(1);
          }
          qel::QelEndRead();
        } else if (rng() % 2 == 0) {
          const int64_t key = qel::QelSatKeyGet(s);
          if (key != -1 && key != keys[s]) badKeys.fetch_add(1);
        } else {
          std::vector<int64_t> listed(kRecords + 8);
          int32_t count = 0;
          qel::QelGetTreeKeys(count, listed.data(), 2, static_cast<int64_t>(listed.size()));
          if (count > kRecords) badKeys.fetch_add(1);
        }
      }
    });
  }
  for (int r = 0; r < kReaders; ++r) threads[kWriters + r].join();
  stop.store(true);
  for (int w = 0; w < kWriters; ++w) threads[w].join();

  EXPECT_EQ(badFinds.load(), 0);
  EXPECT_EQ(badBorrows.load(), 0);
  EXPECT_EQ(badKeys.load(), 0);
  EXPECT_EQ(writerFailures.load(), 0);  // a re-added record keeps its key
  EXPECT_GT(goodReads.load(), 0);
  EXPECT_GT(writes.load(), 0);
  std::printf("reads %ld, writes %ld\n", goodReads.load(), writes.load());
  EXPECT_EQ(qel::QelStore().NumReads(), 0);
  const keyedtree::TreeReport rep = qel::QelStore().Validate();
  EXPECT_TRUE(rep.ok) << rep.problem;
  EXPECT_EQ(rep.count, kRecords);
  for (int s = 1; s <= kRecords; ++s) {
    qel::QelRecord out;
    qel::QelFindRec(keys[s], out);
    EXPECT_TRUE(consistent(out)) << s;
  }
  qel::QelEmptyTree(code);
}

}  // namespace
