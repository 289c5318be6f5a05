// TLE store: loading the catalogue and the verification file, key orders, lookups, removal and
// re-adding, write-back of the lines as read, bad sets (one logged line each, nothing stored),
// duplicates, maneuver lines and the composition of lines from field values.
#include <Lineset.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "Siblings/Lineset/TleParse.h"
#include "common/TestSupport.h"

namespace {

using lineset::TleRecord;

const std::string kL1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
const std::string kL2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";
const std::string kM1 = "1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813";
const std::string kM2 = "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656";

// The lines of a file without line ends and trailing blanks.
std::vector<std::string> fileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string s;
  while (std::getline(in, s)) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.pop_back();
    lines.push_back(s);
  }
  return lines;
}

std::string withColumn(std::string line, size_t col, char c, bool fixChecksum = true) {
  line[col - 1] = c;
  if (fixChecksum) line[68] = static_cast<char>('0' + lineset::tleChecksum(line));
  return line;
}

TleRecord recordOf(int64_t key) {
  TleRecord r;
  lineset::tlefindrec(key, r);
  return r;
}

std::vector<int64_t> keys(int32_t order) {
  std::vector<int64_t> k(static_cast<size_t>(lineset::tlegetnumoftreenodes()) + 1, -7);
  int32_t count = 0;
  lineset::tlegettreekeys(count, k.data(), order, static_cast<int64_t>(k.size()) - 1);
  EXPECT_EQ(k.back(), -7) << "wrote past the room given";
  k.resize(static_cast<size_t>(count));
  return k;
}

class TleStore : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t code = 0;
    lineset::tleemptytree(code);
    basalon::elsetkeymodeset(0);
    basalon::dupKeyModeSet(0);
  }
  void TearDown() override { SetUp(); }
};

TEST_F(TleStore, CatalogueLoadsWithOrdersLookupsAndWriteBack) {
  const std::string path = zktest::dataPath("tle/catalog.tle");
  ZK_REQUIRE_DATA(path);
  lineset::TleLoadCounts counts;
  zktest::LogWatch watch;
  ASSERT_EQ(lineset::readtlesfrfile(path, &counts), 0);
  EXPECT_EQ(counts.loaded, 4904);
  EXPECT_EQ(counts.bad, 0);
  EXPECT_EQ(counts.duplicates, 0);
  EXPECT_EQ(watch.errors(), 0);
  EXPECT_EQ(watch.infos(), 1);
  EXPECT_EQ(zktest::LogWatch::lastInfo(), "Total TLEs = 4904, Loaded = 4904, Dup = 0, Bad = 0");
  EXPECT_EQ(lineset::tlegetnumoftreenodes(), 4904);

  // The file's sets in file order: name, line 1, line 2.
  const auto lines = fileLines(path);
  ASSERT_EQ(lines.size(), 3u * 4904u);
  std::vector<int32_t> fileSatNums;
  std::map<int32_t, std::vector<std::string>> bySat;
  for (size_t i = 0; i < lines.size(); i += 3) {
    const int32_t sat = std::stoi(lines[i + 1].substr(2, 5));
    fileSatNums.push_back(sat);
    bySat[sat] = {lines[i], lines[i + 1], lines[i + 2]};
  }

  // Load order gives the file order; every record's lines and name are the file's.
  const auto load = keys(2);
  ASSERT_EQ(load.size(), 4904u);
  for (size_t i = 0; i < load.size(); ++i) {
    const TleRecord r = recordOf(load[i]);
    ASSERT_EQ(r.satNum, fileSatNums[i]) << i;
    const auto& set = bySat[r.satNum];
    EXPECT_EQ(r.name, set[0]);
    EXPECT_EQ(r.line1, set[1]);
    EXPECT_EQ(r.line2, set[2]);
    EXPECT_EQ(load[i] % 10, lineset::kEltTleSgp4);
  }
  // Order 0 ascending by number then epoch, order 1 its reverse, others ascending by key.
  const auto asc = keys(0);
  for (size_t i = 1; i < asc.size(); ++i) {
    const TleRecord a = recordOf(asc[i - 1]), b = recordOf(asc[i]);
    ASSERT_TRUE(a.satNum < b.satNum ||
                (a.satNum == b.satNum && lineset::TleEpochDs50(a) <= lineset::TleEpochDs50(b)));
  }
  auto desc = keys(1);
  std::reverse(desc.begin(), desc.end());
  EXPECT_EQ(desc, asc);
  const auto byKey = keys(9);
  EXPECT_TRUE(std::is_sorted(byKey.begin(), byKey.end()));
  EXPECT_EQ(std::set<int64_t>(byKey.begin(), byKey.end()).size(), 4904u);

  // Satellite-number lookup.
  const int32_t sat = fileSatNums[1234];
  const int64_t key = lineset::tlesatkeyget(sat);
  ASSERT_GT(key, 0);
  EXPECT_EQ(recordOf(key).satNum, sat);
  EXPECT_EQ(lineset::tlesatkeyget(99998), -1);

  // Saving in the three-line form writes the file's sets back line for line.
  const std::string out = (std::filesystem::temp_directory_path() / "stores_catalog_saved.tle").string();
  int unit = 0, status = 0;
  basalon::fileopenmt(out, basalon::kOpenWrite, unit, status);
  ASSERT_EQ(status, 0);
  lineset::tlewritelines(unit, 1);
  basalon::fileClose(unit);
  const auto saved = fileLines(out);
  ASSERT_EQ(saved.size(), lines.size());
  std::multiset<std::string> a(lines.begin(), lines.end()), b(saved.begin(), saved.end());
  EXPECT_TRUE(a == b);
  std::filesystem::remove(out);
}

TEST_F(TleStore, RemoveAndReAddComesLastInLoadOrder) {
  const int64_t k1 = lineset::tleAddSatFrLines("VANGUARD 1", kL1, kL2);
  const int64_t k2 = lineset::tleAddSatFrLines("", kM1, kM2);
  ASSERT_GT(k1, 0);
  ASSERT_GT(k2, 0);
  EXPECT_EQ(keys(2), (std::vector<int64_t>{k1, k2}));
  int32_t flag = 0, code = -1;
  lineset::tleremovenode(k1, flag, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(lineset::tlegetnumoftreenodes(), 1);
  EXPECT_EQ(lineset::tlesatkeyget(5), -1);
  {
    zktest::LogWatch watch;
    flag = 0;
    lineset::tleremovenode(k1, flag, code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(watch.errors(), 1);
  }
  EXPECT_EQ(lineset::tleAddSatFrLines("", kL1, kL2), k1);  // same set, same key
  EXPECT_EQ(keys(2), (std::vector<int64_t>{k2, k1}));
  EXPECT_EQ(lineset::tlesatkeyget(5), k1);
  // A borrowed link reads the stored set; the read side is left once.
  TleRecord* link = nullptr;
  std::string msg;
  lineset::tlefindrecptr(k1, link, &msg);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->line2, kL2);
  lineset::tleendread();
  EXPECT_EQ(lineset::TleStore().NumReads(), 0);
  lineset::tleemptytree(code);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(lineset::tletreeisempty());
  EXPECT_EQ(recordOf(k1).satNum, -123);
}

TEST_F(TleStore, VerificationFileWithCommentsAndTrailingNumbers) {
  const std::string path = zktest::dataPath("sgp4/SGP4-VER.TLE");
  ZK_REQUIRE_DATA(path);
  // The file's made-up cases 33333 and 33335 carry checksums that do not match their columns:
  // with checksums verified they are bad sets, the other 17 load.
  const auto lines = fileLines(path);
  auto sumOk = [](const std::string& l) {
    int sum = 0;
    for (size_t i = 0; i < 68; ++i) sum += l[i] == '-' ? 1 : (l[i] >= '0' && l[i] <= '9' ? l[i] - '0' : 0);
    return l[68] - '0' == sum % 10;
  };
  std::set<std::string> fileTleLines;
  int sets = 0, goodSets = 0;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i].rfind("1 ", 0) != 0) continue;
    ++sets;
    if (!sumOk(lines[i]) || !sumOk(lines[i + 1])) continue;
    ++goodSets;
    fileTleLines.insert(lines[i]);
    fileTleLines.insert(lines[i + 1]);
  }
  ASSERT_EQ(sets, 19);
  EXPECT_EQ(goodSets, 17);
  lineset::TleLoadCounts counts;
  zktest::LogWatch watch;
  ASSERT_EQ(lineset::readtlesfrfile(path, &counts), 0);
  EXPECT_EQ(counts.loaded, goodSets);
  EXPECT_EQ(counts.bad, sets - goodSets);
  EXPECT_EQ(watch.errors(), sets - goodSets);
  EXPECT_EQ(lineset::tlesatkeyget(33333), -1);
  std::set<std::string> stored;
  for (int64_t k : keys(0)) {
    const TleRecord r = recordOf(k);
    EXPECT_TRUE(r.name.empty()) << "comment lines are not names";
    stored.insert(r.line1);
    stored.insert(r.line2);
  }
  EXPECT_EQ(stored, fileTleLines);
  // 11801 and 88888 have a blank ephemeris type: SGP4 sets.
  EXPECT_EQ(recordOf(lineset::tlesatkeyget(11801)).eltType, lineset::kEltTleSgp4);
}

// Each bad set is refused with one logged line and leaves the store as it was.
TEST_F(TleStore, BadSetsAreRefusedWithOneLineEach) {
  ASSERT_GT(lineset::tleAddSatFrLines("", kM1, kM2), 0);
  const std::vector<std::pair<std::string, std::string>> bad = {
      {withColumn(kL1, 69, '0', false), kL2},              // checksum
      {kL1, withColumn(kL2, 69, '9', false)},              // checksum of line 2
      {kL1.substr(0, 60), kL2},                            // short line
      {withColumn(kL1, 25, 'X'), kL2},                     // letter in the epoch day
      {kL1, withColumn(kL2, 12, 'a')},                     // letter in the inclination
      {kL1, ""},                                           // blank line 2
      {kL1, std::string(69, '\0')},                        // NUL line
      {std::string(69, ' '), kL2},                         // blank line 1
      {kL1, withColumn(withColumn(kL2, 7, '6'), 3, '0')},  // different satellite numbers
  };
  for (const auto& [l1, l2] : bad) {
    zktest::LogWatch watch;
    EXPECT_EQ(lineset::tleAddSatFrLines("", l1, l2), -1) << l1 << " / " << l2;
    EXPECT_EQ(watch.errors(), 1) << l1 << " / " << l2;
    EXPECT_EQ(lineset::tlegetnumoftreenodes(), 1);
    EXPECT_EQ(lineset::tlesatkeyget(5), -1);
  }
}

TEST_F(TleStore, MixedTextStoresExactlyTheGoodSets) {
  const std::string g1 = "1 25544U 98067A   26078.50000000  .00016717  00000+0  10270-3 0  9991";
  const std::string g2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";
  TleRecord probe;
  std::string msg;
  ASSERT_EQ(lineset::parseTle("", withColumn(g1, 69, '0'), withColumn(g2, 69, '0'), probe, msg), 0) << msg;
  const std::string text = "VANGUARD 1\n" + kL1 + "\r\n" + kL2 + "\r\n" +                      // good
                           "BROKEN\n" + withColumn(kL1, 69, '1', false) + "\n" + kL2 + "\n" +  // checksum
                           kM1 + "\n" + std::string(69, '\0') + "\n" +                         // NUL line 2
                           kM2 + "\n" +  // orphan line 2
                           "# comment\n\n" + withColumn(g1, 69, '0') + "\n" + withColumn(g2, 69, '0') + "\n" +
                           kM1 + "\n";  // line 2 missing at the end
  zktest::LogWatch watch;
  lineset::TleLoadCounts counts;
  EXPECT_EQ(lineset::readTlesFrText(text, &counts), 0);
  EXPECT_EQ(counts.loaded, 2);
  EXPECT_EQ(counts.bad, 4);
  EXPECT_EQ(watch.errors(), 4);
  std::set<int32_t> sats;
  for (int64_t k : keys(0)) sats.insert(recordOf(k).satNum);
  EXPECT_EQ(sats, (std::set<int32_t>{5, 25544}));
  EXPECT_EQ(recordOf(lineset::tlesatkeyget(5)).name, "VANGUARD 1");
}

TEST_F(TleStore, DuplicatesAndManeuverLines) {
  const int64_t k = lineset::tleAddSatFrLines("", kL1, kL2);
  {
    zktest::LogWatch watch;
    EXPECT_EQ(lineset::tleAddSatFrLines("", kL1, kL2), 0);
    EXPECT_EQ(watch.errors(), 1);
  }
  basalon::dupKeyModeSet(1);
  {
    zktest::LogWatch watch;
    EXPECT_EQ(lineset::tleAddSatFrLines("", kL1, kL2), k);
    EXPECT_EQ(watch.errors(), 0);
  }
  EXPECT_EQ(lineset::tlegetnumoftreenodes(), 1);
  // Another set with the same number and epoch but other elements goes under a bumped key.
  const int64_t bumped = lineset::tleAddSatFrLines("", kL1, withColumn(kL2, 16, '3'));
  EXPECT_GT(bumped, 0);
  EXPECT_NE(bumped, k);
  EXPECT_EQ(bumped % 10, k % 10);

  // A VP card after a set is kept with it and written after its lines.
  int32_t code = 0;
  lineset::tleemptytree(code);
  const std::string card = std::string(78, ' ').replace(0, 12, "M    90.5000") + "VP";
  const std::string sp1 = withColumn(kL1, 63, '3');
  lineset::TleLoadCounts counts;
  lineset::readTlesFrText(sp1 + "\n" + kL2 + "\n" + card + "\n", &counts);
  ASSERT_EQ(counts.loaded, 1);
  const TleRecord r = recordOf(lineset::tlesatkeyget(5));
  EXPECT_EQ(r.eltType, lineset::kEltTleSp);
  ASSERT_EQ(r.numManeuvers, 1);
  EXPECT_EQ(r.maneuvers[0], card);
}

// The lines composed from the field values are the lines read, for every catalogue set.
TEST_F(TleStore, ComposedLinesEqualTheLinesRead) {
  const std::string path = zktest::dataPath("tle/catalog.tle");
  ZK_REQUIRE_DATA(path);
  const auto lines = fileLines(path);
  int compared = 0;
  for (size_t i = 0; i + 2 < lines.size(); i += 3) {
    TleRecord r;
    std::string msg;
    ASSERT_EQ(lineset::parseTle(lines[i], lines[i + 1], lines[i + 2], r, msg), 0) << msg;
    TleRecord c = r;
    c.line1.clear();
    c.line2.clear();
    ASSERT_TRUE(lineset::tleComposeLines(c));
    ASSERT_EQ(c.line1, r.line1);
    ASSERT_EQ(c.line2, r.line2);
    ++compared;
  }
  EXPECT_EQ(compared, 4904);
  TleRecord big;
  std::string bigMsg;
  ASSERT_EQ(lineset::parseTle("", kL1, kL2, big, bigMsg), 0);
  big.satNum = 123456;  // beyond five digits
  EXPECT_FALSE(lineset::tleComposeLines(big));
}

TEST_F(TleStore, ExportsKeepToTheirBuffers) {
  char l1[130], l2[130];
  basalon::strtochararr(kL1, l1, 130);
  basalon::strtochararr(kL2, l2, 130);
  const int64_t k = LinesetAddSatFrLines(l1, l2);
  ASSERT_GT(k, 0);
  EXPECT_EQ(LinesetGetCount(), 1);
  EXPECT_EQ(LinesetNumToKey(5), k);
  int64_t got[2] = {0, -9};
  EXPECT_EQ(LinesetGetKeys(0, 1, got), 1);
  EXPECT_EQ(got[0], k);
  EXPECT_EQ(got[1], -9);
  char o1[130], o2[130];
  EXPECT_EQ(LinesetGetLines(k, o1, o2), 0);
  EXPECT_EQ(std::string(o1, 130), std::string(l1, 130));
  EXPECT_EQ(std::string(o2, 130), std::string(l2, 130));
  EXPECT_EQ(LinesetGetLines(k + 10, o1, o2), 2);
  EXPECT_EQ(std::string(o1, 130), std::string(130, ' '));
  EXPECT_EQ(LinesetAddSatFrLines(nullptr, l2), -1);
  EXPECT_EQ(LinesetLoadFile(nullptr), 2);
  char name[512];
  basalon::strtochararr("/nonexistent/stores.tle", name, 512);
  EXPECT_NE(LinesetLoadFile(name), 0);
  EXPECT_EQ(LinesetRemoveSat(k), 0);
  EXPECT_EQ(LinesetRemoveSat(k), 2);
  EXPECT_EQ(LinesetRemoveAllSats(), 0);
}

}  // namespace
