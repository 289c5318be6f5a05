// What the Lineset, Harlo and Kinetra exports refuse from a careless or hostile host: TLE angles
// out of range, file names with a NUL and junk after it, non-finite times, null pointers, and
// DMA keys whose record is gone. Each refusal gives a code and exactly one printable log line,
// stores or changes nothing and does not crash.
#include <Harlo.h>
#include <Kinetra.h>
#include <Lineset.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "Qel/QelTree.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Harlo/HarloStore.h"
#include "Siblings/Harlo/HarloText.h"
#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "Siblings/Lineset/TleParse.h"
#include "common/TestSupport.h"

namespace {

namespace fs = std::filesystem;

const std::string kL1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
const std::string kL2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";

// Line 2 with columns first..first+7 replaced by an 8-character field, checksum made valid.
std::string line2With(size_t first, const std::string& field) {
  std::string l = kL2;
  l.replace(first - 1, 8, field);
  l[68] = static_cast<char>('0' + lineset::tleChecksum(l));
  return l;
}

// A host line buffer of 130 columns, blank padded.
std::vector<char> hostLine(const std::string& s) {
  std::vector<char> buf(130, ' ');
  std::memcpy(buf.data(), s.data(), s.size());
  return buf;
}

// A 512-byte host name buffer: the name, a NUL, then 0xFF junk to the end.
std::vector<char> junkName(const std::string& name) {
  std::vector<char> buf(512, static_cast<char>(0xFF));
  std::memcpy(buf.data(), name.data(), name.size());
  buf[name.size()] = '\0';
  return buf;
}

bool printable(const std::string& s) {
  for (unsigned char c : s)
    if (c < 0x20 || c > 0x7E) return false;
  return !s.empty();
}

// Exactly one new error line since the watch began, printable; returns it.
std::string oneLine(const zktest::LogWatch& watch) {
  EXPECT_EQ(watch.errors(), 1);
  const std::string msg = zktest::LogWatch::lastError();
  EXPECT_TRUE(printable(msg)) << msg;
  return msg;
}

class StoreExports : public ::testing::Test {
 protected:
  void SetUp() override {
    mode_ = basalon::elsetkeymodeget();
    basalon::elsetkeymodeset(0);
    clearAll();
    dir_ = fs::temp_directory_path() / "zk_store_refusals";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    clearAll();
    basalon::elsetkeymodeset(mode_);
    fs::remove_all(dir_);
  }
  static void clearAll() {
    KinetraRemoveAllSats();
    LinesetRemoveAllSats();
    HarloRemoveAllSats();
    int32_t code = 0;
    qel::QelEmptyTree(code);
  }
  int mode_ = 0;
  fs::path dir_;
};

TEST_F(StoreExports, AnglesOutsideTheirRangesAreRefusedByTheReaderWithOneLineEach) {
  struct Case {
    size_t first;
    const char* field;
    const char* name;
  };
  const Case bad[] = {{9, "999.0000", "inclination"},          {9, "180.0001", "inclination"},
                      {9, "-10.0000", "inclination"},          {18, "400.0000", "right ascension"},
                      {35, "999.0000", "argument of perigee"}, {44, "999.0000", "mean anomaly"},
                      {44, "360.0001", "mean anomaly"}};
  for (const Case& c : bad) {
    SCOPED_TRACE(c.field);
    const auto l1 = hostLine(kL1);
    const auto l2 = hostLine(line2With(c.first, c.field));
    zktest::LogWatch watch;
    EXPECT_EQ(LinesetAddSatFrLines(l1.data(), l2.data()), -1);
    EXPECT_NE(oneLine(watch).find(c.name), std::string::npos) << zktest::LogWatch::lastError();
    EXPECT_EQ(LinesetGetCount(), 0);
  }
  // The same sets in a file: each is one bad set with one line, the good one still loads.
  const fs::path file = dir_ / "angles.tle";
  {
    std::ofstream out(file);
    for (const Case& c : bad) out << kL1 << "\n" << line2With(c.first, c.field) << "\n";
    out << kL1 << "\n" << kL2 << "\n";
  }
  const auto name = junkName(file.string());
  int32_t counts[3] = {-1, -1, -1};
  zktest::LogWatch watch;
  EXPECT_EQ(LinesetLoadFileCounts(name.data(), counts), 0);
  EXPECT_EQ(watch.errors(), static_cast<long>(std::size(bad)));
  EXPECT_EQ(counts[0], 1);
  EXPECT_EQ(counts[2], static_cast<int32_t>(std::size(bad)));
  EXPECT_EQ(LinesetGetCount(), 1);
}

TEST_F(StoreExports, AnglesOnTheirBoundsAreKept) {
  for (const auto& [first, field] : std::vector<std::pair<size_t, std::string>>{
           {9, "180.0000"}, {9, "  0.0000"}, {18, "360.0000"}, {35, "  0.0000"}, {44, "360.0000"}}) {
    lineset::TleRecord rec;
    std::string msg;
    EXPECT_EQ(lineset::parseTle("", kL1, line2With(first, field), rec, msg), lineset::kTleOk) << field << msg;
  }
}

TEST_F(StoreExports, FileNamesStopAtTheirFirstNul) {
  const fs::path tle = dir_ / "one.tle";
  std::ofstream(tle) << kL1 << "\n" << kL2 << "\n";
  auto name = junkName(tle.string());
  EXPECT_EQ(LinesetLoadFile(name.data()), 0);
  EXPECT_EQ(LinesetGetCount(), 1);
  int32_t counts[3] = {-1, -1, -1};
  EXPECT_EQ(LinesetLoadFileCounts(name.data(), counts), 0);
  EXPECT_EQ(counts[1], 1);  // the same set again: a duplicate

  // Saving writes exactly the named file, nothing with blanks or junk in its name.
  const fs::path saved = dir_ / "saved.tle";
  name = junkName(saved.string());
  EXPECT_EQ(LinesetSaveFile(name.data(), 0, 0), 0);
  std::vector<std::string> entries;
  for (const auto& e : fs::directory_iterator(dir_)) entries.push_back(e.path().filename().string());
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"one.tle", "saved.tle"}));
  std::ifstream in(saved);
  std::string l1, l2;
  std::getline(in, l1);
  std::getline(in, l2);
  EXPECT_EQ(l1, kL1);
  EXPECT_EQ(l2, kL2);

  // A name that is blank once read refuses to save with one line.
  const auto blank = junkName("   ");
  zktest::LogWatch watch;
  EXPECT_NE(LinesetSaveFile(blank.data(), 0, 0), 0);
  oneLine(watch);

  harlo::SpVecRecord v;
  v.pos = {-4242.125, 5091.5, 10.0};
  v.vel = {-3.5, -4.25, 4.5};
  v.satNum = 25544;
  v.designator = "98067A  ";
  v.epoch = "2026078120000.000";
  std::vector<std::string> lines;
  ASSERT_TRUE(harlo::harloToLines(v, lines));
  const fs::path sp = dir_ / "one.vec";
  {
    std::ofstream out(sp);
    for (const auto& l : lines) out << l << "\n";
  }
  name = junkName(sp.string());
  EXPECT_EQ(HarloLoadFile(name.data()), 0);
  EXPECT_EQ(HarloGetCount(), 1);
}

TEST_F(StoreExports, NonFiniteTimesAreRefusedBeforeTheModel) {
  const auto l1 = hostLine(kL1), l2 = hostLine(kL2);
  const int64_t key = LinesetAddSatFrLines(l1.data(), l2.data());
  ASSERT_GT(key, 0);
  ASSERT_EQ(KinetraInitSat(key), 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double t : {nan, inf, -inf}) {
    double other = 7.0, pos[3] = {7, 7, 7}, vel[3] = {7, 7, 7};
    zktest::LogWatch watch;
    EXPECT_EQ(KinetraPropMse(key, t, &other, pos, vel), 2);
    EXPECT_EQ(oneLine(watch), "KinetraPropMse: input is NaN or infinite");
    EXPECT_EQ(other, 0.0);
    EXPECT_EQ(pos[0], 0.0);
    zktest::LogWatch watch2;
    EXPECT_EQ(KinetraPropDs50UTC(key, t, &other, pos, vel), 2);
    EXPECT_EQ(oneLine(watch2), "KinetraPropDs50UTC: input is NaN or infinite");
  }
  double other = 0, pos[3], vel[3];
  EXPECT_EQ(KinetraPropMse(key, 10.0, &other, pos, vel), 0);  // the object is still usable
}

TEST_F(StoreExports, NullPointersGetTheFailureCodeAndOneLine) {
  const auto l1 = hostLine(kL1), l2 = hostLine(kL2);
  const int64_t key = LinesetAddSatFrLines(l1.data(), l2.data());
  ASSERT_GT(key, 0);
  ASSERT_EQ(KinetraInitSat(key), 0);
  char buf[130];
  double d = 0, v3[3];
  int32_t counts[3];
  int64_t keys[4];
  struct Call {
    const char* name;
    std::function<int64_t()> call;
    int64_t code;
  };
  const std::vector<Call> calls = {
      {"LinesetLoadFile", [] { return LinesetLoadFile(nullptr); }, 2},
      {"LinesetLoadFileCounts", [&] { return LinesetLoadFileCounts(nullptr, counts); }, 2},
      {"LinesetAddSatFrLines", [&] { return LinesetAddSatFrLines(nullptr, l2.data()); }, -1},
      {"LinesetAddSatFrLines", [&] { return LinesetAddSatFrLines(l1.data(), nullptr); }, -1},
      {"LinesetGetKeys", [] { return LinesetGetKeys(0, 4, nullptr); }, 0},
      {"LinesetGetLines", [&] { return LinesetGetLines(key, nullptr, buf); }, 2},
      {"LinesetGetLines", [&] { return LinesetGetLines(key, buf, nullptr); }, 2},
      {"LinesetSaveFile", [] { return LinesetSaveFile(nullptr, 0, 0); }, 2},
      {"LinesetGetInfo", [] { return LinesetGetInfo(nullptr), int64_t{0}; }, 0},
      {"HarloLoadFile", [] { return HarloLoadFile(nullptr); }, 2},
      {"HarloGetKeys", [] { return HarloGetKeys(0, 4, nullptr); }, 0},
      {"HarloGetInfo", [] { return HarloGetInfo(nullptr), int64_t{0}; }, 0},
      {"KinetraGetInfo", [] { return KinetraGetInfo(nullptr), int64_t{0}; }, 0},
      {"KinetraPropMse", [&] { return KinetraPropMse(key, 0.0, nullptr, v3, v3); }, 2},
      {"KinetraPropMse", [&] { return KinetraPropMse(key, 0.0, &d, nullptr, v3); }, 2},
      {"KinetraPropDs50UTC", [&] { return KinetraPropDs50UTC(key, 0.0, &d, v3, nullptr); }, 2},
  };
  for (const Call& c : calls) {
    SCOPED_TRACE(c.name);
    zktest::LogWatch watch;
    EXPECT_EQ(c.call(), c.code);
    EXPECT_EQ(oneLine(watch), std::string(c.name) + ": null argument");
  }
  EXPECT_EQ(LinesetGetCount(), 1);
  EXPECT_EQ(LinesetGetKeys(0, 4, keys), 1);
}

// In the DMA key mode a removed or emptied key is gone for every copying read: a code and one
// line, never the freed record.
TEST_F(StoreExports, DmaKeysOfRemovedRecordsFailCleanly) {
  basalon::elsetkeymodeset(1);
  const auto l1 = hostLine(kL1), l2 = hostLine(kL2);
  const int64_t key = LinesetAddSatFrLines(l1.data(), l2.data());
  ASSERT_TRUE(basalon::isdma(key));
  char a[130], b[130];
  ASSERT_EQ(LinesetGetLines(key, a, b), 0);
  EXPECT_EQ(std::string(a, 69), kL1);
  ASSERT_EQ(LinesetRemoveSat(key), 0);
  {
    zktest::LogWatch watch;
    EXPECT_EQ(LinesetGetLines(key, a, b), 2);
    oneLine(watch);
    EXPECT_EQ(std::string(a, 130), std::string(130, ' '));
  }

  const int64_t key2 = LinesetAddSatFrLines(l1.data(), l2.data());
  ASSERT_TRUE(basalon::isdma(key2));
  ASSERT_EQ(LinesetRemoveAllSats(), 0);
  {
    zktest::LogWatch watch;
    EXPECT_EQ(KinetraInitSat(key2), 2);
    oneLine(watch);
    EXPECT_EQ(KinetraGetCount(), 0);
  }

  qel::QelRecord q;
  q.satNum = 42;
  q.epoch = {2025, 10, 3, 4, 5.0};
  q.eciPos = {7000.0, 10.0, 20.0};
  q.eciVel = {1.0, 2.0, 7.0};
  int64_t qkey = 0;
  qel::AddQelToMem(q, qkey);
  ASSERT_TRUE(basalon::isdma(qkey));
  int32_t flag = 0, code = 0;
  qel::QelRemoveNode(qkey, flag, code);
  ASSERT_EQ(code, 0);
  qel::QelRecord out;
  qel::QelFindRec(qkey, out);
  EXPECT_EQ(out.satNum, -123);
  zktest::LogWatch watch;
  qel::QelUpdateRec(qkey, q, code);
  EXPECT_EQ(code, 2);
  oneLine(watch);
}

}  // namespace
