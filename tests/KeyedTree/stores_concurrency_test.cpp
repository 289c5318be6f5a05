// Two writers and two readers over the TLE, SGP4 and Qel stores, in the standard and in the DMA
// key mode: writers add, update, remove and empty; readers make copying finds and propagations
// of keys that may vanish at any time. Every read either fails cleanly or gives a whole record:
// a TLE whose fields match its own two lines, a Qel record whose check value matches its fields,
// a finite state at an orbit's distance.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "Qel/QelTree.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "Siblings/Lineset/TleParse.h"

namespace {

constexpr int kSlots = 24;
constexpr auto kRunTime = std::chrono::milliseconds(1500);

const std::string kL1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
const std::string kL2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";

// A TLE of satellite 100 + slot whose mean anomaly and revolution number carry the version.
lineset::TleRecord tleVersion(int slot, int version) {
  lineset::TleRecord rec;
  std::string msg;
  lineset::parseTle("", kL1, kL2, rec, msg);
  rec.satNum = 100 + slot;
  rec.meanAnomaly = version % 360;
  rec.revNum = version % 100000;
  lineset::tleComposeLines(rec);
  lineset::parseTle("", rec.line1, rec.line2, rec, msg);  // fields exactly as the lines read
  return rec;
}

// A copied TLE is whole when its fields are what its own lines read.
bool wholeTle(const lineset::TleRecord& rec) {
  lineset::TleRecord again;
  std::string msg;
  if (lineset::parseTle("", rec.line1, rec.line2, again, msg) != lineset::kTleOk) return false;
  return again.satNum == rec.satNum && again.meanAnomaly == rec.meanAnomaly && again.revNum == rec.revNum &&
         again.incl == rec.incl && again.epochDay == rec.epochDay;
}

double qelCheck(const qel::QelRecord& r) {
  double s = r.satNum * 0.5 + r.epochRev * 3.0 + r.eciPos[0] * 7.0 + r.eciVel[2] * 11.0;
  if (!r.maneuverLines.empty()) s += r.maneuverLines[99].c[0] * 13.0 + r.numManeuverLines;
  return s;
}

qel::QelRecord qelVersion(int slot, int version) {
  qel::QelRecord r;
  r.satNum = 100 + slot;
  r.epoch = {2025, 1 + slot, 3, 4, 5.0};
  r.epochRev = version % 99999;
  r.eciPos = {7000.0 + version % 1000, 10.0, 20.0};
  r.eciVel = {1.0, 2.0, 0.001 * (version % 1000)};
  if (version % 3 == 0) {
    qel::AllocManeuverLines(r);
    r.maneuverLines[99].set(std::string(1, static_cast<char>('A' + version % 26)));
    r.numManeuverLines = 1 + version % 100;
  }
  r.cmOffset = qelCheck(r);
  return r;
}

struct Counters {
  std::atomic<long> torn{0}, wholeReads{0}, failedReads{0}, writes{0};
};

void emptyAll() {
  int32_t code = 0;
  kinetra::gpemptytree(code);
  lineset::tleemptytree(code);
  qel::QelEmptyTree(code);
}

// Slots hold the keys a writer last gave out (0: none). A key read from a slot may be removed,
// replaced or emptied away by the time it is used.
struct Slots {
  std::array<std::atomic<int64_t>, kSlots> tle{}, qel{};
};

void writer(Slots& slots, Counters& n, unsigned seed, const std::atomic<bool>& stop) {
  std::mt19937 rng(seed);
  int version = static_cast<int>(seed);
  while (!stop.load()) {
    const int slot = static_cast<int>(rng() % kSlots);
    const auto what = static_cast<unsigned>(rng() % 100);
    ++version;
    int32_t flag = 0, code = 0;
    if (what < 2) {
      emptyAll();
      for (auto& k : slots.tle) k.store(0);
      for (auto& k : slots.qel) k.store(0);
    } else if (what < 40) {
      const int64_t old = slots.tle[slot].exchange(0);
      if (old > 0) {
        lineset::tleremovenode(old, flag, code);
        kinetra::gpremovenode(old, flag, code);
      } else {
        const int64_t key = lineset::AddTleToMem(tleVersion(slot, version));
        if (key > 0) {
          kinetra::gpsatinit(key);
          slots.tle[slot].store(key);
        }
      }
    } else if (what < 55) {
      const int64_t key = slots.tle[slot].load();
      if (key > 0) {
        lineset::TleStore().UpdateRec(key, tleVersion(slot, version), code);
        if (code == 0) kinetra::gpsatinit(key);
      }
    } else if (what < 80) {
      const int64_t old = slots.qel[slot].exchange(0);
      if (old > 0) {
        qel::QelRemoveNode(old, flag, code);
      } else {
        int64_t key = 0;
        qel::AddQelToMem(qelVersion(slot, version), key);
        if (key > 0) slots.qel[slot].store(key);
      }
    } else {
      const int64_t key = slots.qel[slot].load();
      if (key > 0) qel::QelUpdateRec(key, qelVersion(slot, version), code);
    }
    ++n.writes;
  }
}

void reader(Slots& slots, Counters& n, unsigned seed, const std::atomic<bool>& stop) {
  std::mt19937 rng(seed);
  while (!stop.load()) {
    const int slot = static_cast<int>(rng() % kSlots);
    bool whole = true, found = false;
    if (const int64_t key = slots.tle[slot].load(); key > 0) {
      lineset::TleRecord rec;
      lineset::tlefindrec(key, rec);
      if (rec.satNum != keyedtree::kNotFoundSatNum) {
        found = true;
        whole = wholeTle(rec);
      }
      planix::BrevantaOut out;
      int32_t code = 0;
      kinetra::kinetra_key(key, 30.0 * static_cast<int>(rng() % 100), kinetra::kTimeMse, out, code);
      if (code == 0) {
        found = true;
        const double r =
            std::sqrt(out.pos[0] * out.pos[0] + out.pos[1] * out.pos[1] + out.pos[2] * out.pos[2]);
        whole = whole && std::isfinite(r) && r > 1.0 && r < 10.0;  // Earth radii
      }
      planix::FreeBrevantaOut(out);
    }
    if (const int64_t key = slots.qel[slot].load(); key > 0) {
      qel::QelRecord rec;
      qel::QelFindRec(key, rec);
      if (rec.satNum != -123) {
        found = true;
        whole = whole && rec.cmOffset == qelCheck(rec);
      }
      qel::FreeQelRecord(rec);
    }
    if (!whole) ++n.torn;
    ++(found ? n.wholeReads : n.failedReads);
  }
}

void runMode(int keyMode) {
  basalon::elsetkeymodeset(keyMode);
  emptyAll();
  Slots slots;
  Counters n;
  std::atomic<bool> stop{false};
  std::vector<std::thread> threads;
  threads.emplace_back(writer, std::ref(slots), std::ref(n), 11u, std::cref(stop));
  threads.emplace_back(writer, std::ref(slots), std::ref(n), 5000u, std::cref(stop));
  threads.emplace_back(reader, std::ref(slots), std::ref(n), 3u, std::cref(stop));
  threads.emplace_back(reader, std::ref(slots), std::ref(n), 4u, std::cref(stop));
  std::this_thread::sleep_for(kRunTime);
  stop.store(true);
  for (auto& t : threads) t.join();
  emptyAll();
  EXPECT_EQ(n.torn.load(), 0);
  EXPECT_GT(n.wholeReads.load(), 0);
  EXPECT_GT(n.writes.load(), 0);
  std::printf("key mode %d: %ld writes, %ld reads found, %ld failed cleanly, %ld torn\n", keyMode,
              n.writes.load(), n.wholeReads.load(), n.failedReads.load(), n.torn.load());
}

TEST(StoresConcurrency, CopyingReadsNeverSeeATornRecordInEitherKeyMode) {
  const int saved = basalon::elsetkeymodeget();
  runMode(0);
  runMode(1);
  basalon::elsetkeymodeset(saved);
  EXPECT_EQ(basalon::elsetkeymodeget(), saved);
}

}  // namespace
