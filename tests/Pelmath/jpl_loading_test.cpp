// Loading JPL text files: header errors and their messages, the span kept, the buffer bounds,
// joined files, record checks, and the states of the facility through the exports.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Pelmath.h"
#include "Pelmath/JplProcessing.h"
#include "Siblings/Basalon/Units.h"
#include "common/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using pelmath::jplbuf;
using pelmath::jplctrl;
using zktest::LogWatch;

constexpr int kRecordLines = 341;  // header line + 340 lines of three values

// The sample split into its header lines and its records (line ends kept as in the file).
struct Sample {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> records;
};

const Sample& sample() {
  static Sample s = [] {
    Sample out;
    std::ifstream in(zktest::dataPath("de-sample/de405-2000-2004.txt"), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    size_t i = 0;
    while (i < lines.size() && lines[i].rfind("GROUP   1070", 0) != 0) out.header.push_back(lines[i++]);
    if (i < lines.size()) out.header.push_back(lines[i++]);
    if (i < lines.size()) out.header.push_back(lines[i++]);  // the blank line after 1070
    for (; i + kRecordLines <= lines.size(); i += kRecordLines)
      out.records.emplace_back(lines.begin() + static_cast<long>(i),
                               lines.begin() + static_cast<long>(i + kRecordLines));
    return out;
  }();
  return s;
}

// A record with its number replaced (6-column field), keeping the count and line end.
std::vector<std::string> renumbered(std::vector<std::string> rec, int num) {
  std::string n = std::to_string(num);
  rec[0].replace(0, 6, std::string(6 - n.size(), ' ') + n);
  return rec;
}

class JplFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ZK_REQUIRE_DATA(zktest::dataPath("de-sample/de405-2000-2004.txt"));
    ASSERT_EQ(sample().records.size(), 58u);
    dir_ = fs::temp_directory_path() / ("zk_jpl_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    pelmath::jplReset();
  }
  void TearDown() override {
    pelmath::jplReset();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  std::string write(const std::string& name, const std::vector<std::string>& header,
                    const std::vector<std::vector<std::string>>& records) {
    const std::string path = (dir_ / name).string();
    std::ofstream out(path, std::ios::binary);
    for (const auto& l : header) out << l << '\n';
    for (const auto& r : records)
      for (const auto& l : r) out << l << '\n';
    return path;
  }
  // Header with the line starting with `from` replaced.
  static std::vector<std::string> headerwith(const std::string& from, const std::string& to) {
    auto h = sample().header;
    for (auto& l : h)
      if (l.rfind(from, 0) == 0) {
        l = to;
        break;
      }
    return h;
  }
  static std::vector<std::vector<std::string>> records(size_t first, size_t count) {
    const auto& r = sample().records;
    return {r.begin() + static_cast<long>(first), r.begin() + static_cast<long>(first + count)};
  }
  // Loads a file over the whole default span; returns buildjpl's result.
  static int load(const std::string& path, double start = 0.0, double stop = 36525.0) {
    pelmath::jplSetParameters(path, start, stop);
    return pelmath::buildjpl();
  }
  static void expectnothingloaded() {
    EXPECT_TRUE(jplbuf.coeff.empty());
    EXPECT_TRUE(jplbuf.constants.empty());
    EXPECT_EQ(jplbuf.numBlocks, 0);
    EXPECT_EQ(jplctrl.loaded, 0);
    EXPECT_FALSE(basalon::fileIsOpen(pelmath::kJplUnit));
  }

  fs::path dir_;
};

const double kRec1StartDs50 = 2451536.5 - 2433281.5;  // first record of the sample

TEST_F(JplFiles, HeaderWithout1070FailsAndLeavesNothingLoaded) {
  auto h = sample().header;
  h[h.size() - 2] = "GROUP   1071";
  const std::string path = write("no1070.txt", h, records(0, 2));
  LogWatch w;
  EXPECT_EQ(load(path), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplHeader: GROUP 1070 header error. GROUP   1071");
  expectnothingloaded();
  // A request then reports the same failure and stays unloaded.
  pelmath::Vec3 moon{1, 1, 1}, sun{1, 1, 1};
  EXPECT_EQ(pelmath::jpl_ephem(chronel::tosplittai(kRec1StartDs50 + 1), moon, sun), 2);
  EXPECT_EQ(moon, pelmath::Vec3{});
  EXPECT_EQ(sun, pelmath::Vec3{});
  expectnothingloaded();
}

TEST_F(JplFiles, HeaderMessages) {
  struct Case {
    std::string from, to, message;
  };
  const std::vector<Case> cases = {
      {"KSIZE=", "KSIZE=  2036    NCOEFF   1018",
       "JplHeader: ncoeff input error. KSIZE=  2036    NCOEFF   1018"},
      {"KSIZE=", "KSIZE=  2036    NCOEFF=     0",
       "JplHeader: ncoeff input error. KSIZE=  2036    NCOEFF=     0"},
      {"GROUP   1010", "GROUP  1010", "JplHeader: GROUP 1010 header error GROUP  1010"},
      {"GROUP   1030", "group   1031", "JplHeader: GROUP 1030 header error. GROUP   1031"},
      {"  2305424.50", "  2305424.50  2525008.50        32.5",
       "JplHeader: Invalid ephemeris time span.   2305424.50  2525008.50        32.5"},
      {"  2305424.50", "  2305424.50  2525008.50          0.",
       "JplHeader: Invalid ephemeris time span.   2305424.50  2525008.50          0."},
      {"GROUP   1040", "GROUP   1039", "JplHeader: GROUP 1040 header error. GROUP   1039"},
      {"   156", "     0", "JplHeader: Invalid number of 1040 parameters      0"},
      // A count far beyond the file's lines runs into the end of the file, sizing nothing by itself.
      {"   156", "999999", "JplHeader: File read error."},
      {"GROUP   1041", "GROUP   1042", "JplHeader: GROUP 1041 header error. GROUP   1042"},
      {"GROUP   1050", "GROUP   1051", "JplHeader: GROUP 1050 header error. GROUP   1051"},
      // Constant names shifted: AU no longer in the table.
      {"  DENUM   LENUM", "  DENUM   LENUM   TDATEF  TDATEB  CENTER  CLIGHT  AUX     EMRAT   GM1     GM2   ",
       "JplHeader: au, emrat, or denum not found."},
      // An item layout that runs past the end of the 1018-value record.
      {"     3   171", "     3   171   231   309   342   366   387   405   423   441   753   819  1000",
       "JplHeader: GROUP 1050 header error.      3   171   231   309   342   366   387   405   423   441   "
       "753   "
       "819  1000"},
  };
  for (const Case& c : cases) {
    pelmath::jplReset();
    const std::string path = write("hdr.txt", headerwith(c.from, c.to), records(0, 1));
    LogWatch w;
    EXPECT_EQ(load(path), 2) << c.message;
    EXPECT_EQ(LogWatch::lastError(), c.message);
    expectnothingloaded();
  }
  // The second count of constants must equal the first.
  auto h = sample().header;
  for (size_t i = 0; i + 2 < h.size(); ++i)
    if (h[i].rfind("GROUP   1041", 0) == 0) h[i + 2] = "   155";
  pelmath::jplReset();
  EXPECT_EQ(load(write("n1041.txt", h, records(0, 1))), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplHeader: Invalid number of 1041 parameters.    155");
  // A header cut in the middle of the titles.
  pelmath::jplReset();
  std::vector<std::string> cut(sample().header.begin(), sample().header.begin() + 5);
  EXPECT_EQ(load(write("cut.txt", cut, {})), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplHeader: File read error.");
  expectnothingloaded();
}

TEST_F(JplFiles, MissingFileReturnsTheOpenStatus) {
  LogWatch w;
  const int st = load((dir_ / "absent.txt").string());
  EXPECT_NE(st, 0);
  EXPECT_EQ(st, basalon::kUnitCannotOpen);
  EXPECT_EQ(LogWatch::lastError(), "JplHeader: JPL file failed to open.");
  expectnothingloaded();
}

TEST_F(JplFiles, OnlyTheBlocksOfTheSpanAreLoaded) {
  const std::string path = write("all.txt", sample().header, sample().records);
  // 2001-03-01 .. 2001-06-01: blocks 13..16 of the sample (32-day records from JD 2451536.5).
  const double start = 2451969.5 - 2433281.5, stop = 2452061.5 - 2433281.5;
  ASSERT_EQ(load(path, start, stop), 0);
  const double bs = chronel::fromSplit(jplbuf.bufStart), be = chronel::fromSplit(jplbuf.bufEnd);
  EXPECT_LE(bs, start);
  EXPECT_GT(bs, start - 32.0);
  EXPECT_GE(be, stop);
  EXPECT_LT(be, stop + 32.0);
  EXPECT_EQ(jplbuf.numBlocks, static_cast<int>((be - bs) / 32.0 + 0.5));
  EXPECT_EQ(jplbuf.coeff.size(), static_cast<size_t>(jplbuf.numBlocks) * 1018u);
  EXPECT_EQ(jplctrl.loaded, 1);
  EXPECT_FALSE(basalon::fileIsOpen(pelmath::kJplUnit));
  // A stop exactly on a record boundary ends the buffer there.
  pelmath::jplReset();
  ASSERT_EQ(load(path, kRec1StartDs50, kRec1StartDs50 + 64.0), 0);
  EXPECT_EQ(jplbuf.numBlocks, 2);
  EXPECT_EQ(chronel::fromSplit(jplbuf.bufEnd), kRec1StartDs50 + 64.0);
}

TEST_F(JplFiles, SpanBeforeOrOutsideTheFile) {
  const std::string path = write("five.txt", sample().header, records(0, 5));
  // Starting before the file: records from the file's start, up to the end of the file.
  ASSERT_EQ(load(path, 0.0, 36525.0), 0);
  EXPECT_EQ(chronel::fromSplit(jplbuf.bufStart), kRec1StartDs50);
  EXPECT_EQ(jplbuf.numBlocks, 5);
  EXPECT_EQ(chronel::fromSplit(jplbuf.bufEnd), kRec1StartDs50 + 160.0);
  // Entirely after, entirely before.
  for (auto span : {std::pair{kRec1StartDs50 + 200.0, kRec1StartDs50 + 300.0}, std::pair{100.0, 3000.0}}) {
    pelmath::jplReset();
    LogWatch w;
    EXPECT_EQ(load(path, span.first, span.second), 2);
    EXPECT_EQ(LogWatch::lastError(), "JplCoeff: No data found in requested time span.");
    expectnothingloaded();
  }
}

TEST_F(JplFiles, RequestAtTheBufferEndIsAcceptedAndOneSecondLaterRefused) {
  const std::string path = write("three.txt", sample().header, records(0, 3));
  pelmath::jplSetParameters(path, 0.0, 36525.0);
  pelmath::Vec3 moon{}, sun{};
  // The first request loads the file.
  ASSERT_EQ(pelmath::jpl_ephem(chronel::tosplittai(kRec1StartDs50 + 10.0), moon, sun), 0);
  ASSERT_EQ(jplctrl.loaded, 1);
  // TT = TAI + 32.184 s lands exactly on the buffer end (and start).
  const chronel::SplitTime atEnd = chronel::plus(jplbuf.bufEnd, -32.184);
  ASSERT_EQ(chronel::minus(chronel::plus(atEnd, 32.184), jplbuf.bufEnd), 0.0);
  EXPECT_EQ(pelmath::jpl_ephem(atEnd, moon, sun), 0);
  EXPECT_GT(moon[0] * moon[0] + moon[1] * moon[1] + moon[2] * moon[2], 3.0e5 * 3.0e5);
  const chronel::SplitTime atStart = chronel::plus(jplbuf.bufStart, -32.184);
  EXPECT_EQ(pelmath::jpl_ephem(atStart, moon, sun), 0);
  LogWatch w;
  EXPECT_EQ(pelmath::jpl_ephem(chronel::plus(atEnd, 1.0), moon, sun), 2);
  EXPECT_EQ(LogWatch::lastError(), "JPL_EPHEM: Requested time out of range");
  EXPECT_EQ(moon, pelmath::Vec3{});
  EXPECT_EQ(pelmath::jpl_ephem(chronel::plus(atStart, -1.0), moon, sun), 2);
  // A time that is not a number is out of range too, never a success with NaN vectors.
  double s3[3], m3[3];
  EXPECT_EQ(JplCompSunMoonPos(std::nan(""), s3, m3), 2);
  EXPECT_EQ(LogWatch::lastError(), "JPL_EPHEM: Requested time out of range");
  EXPECT_EQ(s3[0], 0.0);
  EXPECT_EQ(w.errors(), 3);
}

TEST_F(JplFiles, JoinedFiles) {
  // A second file whose first record repeats the last record of the first (renumbered from 1).
  auto joined = records(0, 20);
  for (int k = 0; k < 10; ++k) joined.push_back(renumbered(sample().records[19 + k], k + 1));
  const std::string overlap = write("overlap.txt", sample().header, joined);
  LogWatch w;
  ASSERT_EQ(load(overlap), 0) << LogWatch::lastError();
  EXPECT_EQ(jplbuf.numBlocks, 29);
  EXPECT_EQ(chronel::fromSplit(jplbuf.bufEnd), kRec1StartDs50 + 29 * 32.0);
  // The joined buffer evaluates like the sample's own records there.
  double joinedMoon[3], plainMoon[3];
  const chronel::SplitTime t = chronel::tosplittai(kRec1StartDs50 + 21 * 32.0 + 5.5);
  pelmath::ephem_point(t, pelmath::kJplMoon, joinedMoon);
  // A second file that starts where the first ends.
  auto cont = records(0, 20);
  for (int k = 0; k < 5; ++k) cont.push_back(renumbered(sample().records[20 + k], k + 1));
  pelmath::jplReset();
  ASSERT_EQ(load(write("cont.txt", sample().header, cont)), 0) << LogWatch::lastError();
  EXPECT_EQ(jplbuf.numBlocks, 25);
  pelmath::jplReset();
  ASSERT_EQ(load(write("plain.txt", sample().header, records(0, 25))), 0);
  pelmath::ephem_point(t, pelmath::kJplMoon, plainMoon);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(joinedMoon[i], plainMoon[i]);
  // A second file that leaves a gap is refused; so is a gap inside one file.
  auto gap = records(0, 20);
  gap.push_back(renumbered(sample().records[22], 1));
  pelmath::jplReset();
  EXPECT_EQ(load(write("gap.txt", sample().header, gap)), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplCoeff: File concatenation error.");
  expectnothingloaded();
  auto hole = records(0, 3);
  hole.push_back(sample().records[4]);
  pelmath::jplReset();
  EXPECT_EQ(load(write("hole.txt", sample().header, hole)), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplCoeff: Ephemerides JD timing error.");
  expectnothingloaded();
}

TEST_F(JplFiles, RecordChecks) {
  // Count different from NCOEFF.
  auto bad = records(0, 2);
  bad[1][0].replace(6, 6, "  1017");
  EXPECT_EQ(load(write("count.txt", sample().header, bad)), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplCoeff: Coefficient size mismatch.      2  1017");
  expectnothingloaded();
  // Unreadable count.
  bad = records(0, 2);
  bad[1][0].replace(6, 6, "  10x8");
  pelmath::jplReset();
  EXPECT_EQ(load(write("hdrrec.txt", sample().header, bad)), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplCoeff: Invalid header record.");
  // Unreadable value, and a record cut short by the end of the file.
  bad = records(0, 2);
  bad[1][100].replace(10, 3, "abc");
  pelmath::jplReset();
  EXPECT_EQ(load(write("value.txt", sample().header, bad)), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplCoeff: Error reading coefficients.");
  bad = records(0, 2);
  bad[1].resize(200);
  pelmath::jplReset();
  EXPECT_EQ(load(write("short.txt", sample().header, bad)), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplCoeff: Error reading coefficients.");
  expectnothingloaded();
  // End JD not one interval after the start; a record off the file's 32-day grid.
  bad = records(0, 1);
  bad[0][1].replace(28, 24, "0.245156860000000000D+07");
  pelmath::jplReset();
  EXPECT_EQ(load(write("span.txt", sample().header, bad)), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplCoeff: Ephemerides time span error.");
  bad = records(0, 1);
  bad[0][1] = "  0.245153660000000000D+07  0.245156860000000000D+07" + bad[0][1].substr(52);
  pelmath::jplReset();
  EXPECT_EQ(load(write("grid.txt", sample().header, bad)), 2);
  EXPECT_EQ(LogWatch::lastError(), "JplCoeff: Ephemerides block timing error.");
  expectnothingloaded();
}

TEST_F(JplFiles, AbsentLibrationsEvaluateToZero) {
  const auto h = headerwith("     3   171",
                            "     3   171   231   309   342   366   387   405   423   441   753   819     0");
  ASSERT_EQ(load(write("nolib.txt", h, records(0, 2))), 0) << LogWatch::lastError();
  double v[3] = {9, 9, 9}, r[3] = {9, 9, 9};
  pelmath::ephem_point(chronel::tosplittai(kRec1StartDs50 + 3.0), pelmath::kJplLibrations, v, r);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(v[i], 0.0);
    EXPECT_EQ(r[i], 0.0);
  }
}

TEST_F(JplFiles, FacilityStatesThroughTheExports) {
  const std::string path = write("two.txt", sample().header, records(0, 2));
  double sun[3] = {1, 1, 1}, moon[3] = {1, 1, 1};
  const double ds50UTC = kRec1StartDs50 + 20.0;
  // Unset.
  LogWatch w;
  EXPECT_EQ(JplCompSunMoonPos(ds50UTC, sun, moon), 2);
  EXPECT_EQ(LogWatch::lastError(), "JPL_EPHEM: JPL parameters haven't entered.");
  EXPECT_EQ(sun[0], 0.0);
  // Set through a 512-character buffer with leading blanks: stored left-adjusted.
  std::vector<char> name(512, ' ');
  const std::string padded = "   " + path;
  std::copy(padded.begin(), padded.end(), name.begin());
  JplSetParameters(name.data(), 100.0, 40000.0);
  std::vector<char> back(512, 'x');
  double start = 0, stop = 0;
  JplGetParameters(back.data(), &start, &stop);
  EXPECT_EQ(std::string(back.data(), path.size()), path);
  EXPECT_EQ(std::string(back.data() + path.size(), 512 - path.size()), std::string(512 - path.size(), ' '));
  EXPECT_EQ(start, 100.0);
  EXPECT_EQ(stop, 40000.0);
  EXPECT_EQ(jplctrl.loaded, 0);
  // Loaded at the first request.
  EXPECT_EQ(JplCompSunMoonPos(ds50UTC, sun, moon), 0);
  EXPECT_EQ(jplctrl.loaded, 1);
  EXPECT_GT(sun[0] * sun[0] + sun[1] * sun[1] + sun[2] * sun[2], 1e16);
  EXPECT_EQ(LogWatch::lastInfo(), "JplHeader: JPL File loaded successfully.");
  // New parameters on a loaded facility change the control record only.
  JplSetParameters(std::string(512, ' ').c_str(), 0.0, 1.0);
  EXPECT_EQ(JplCompSunMoonPos(ds50UTC, sun, moon), 2);  // blank name
  JplSetParameters(name.data(), 0.0, 36525.0);
  EXPECT_EQ(JplCompSunMoonPos(ds50UTC, sun, moon), 0);
  // Removed data: the flag stays, requests report the missing file.
  RemoveJpl();
  EXPECT_EQ(jplctrl.loaded, 1);
  EXPECT_EQ(JplCompSunMoonPos(ds50UTC, sun, moon), 2);
  EXPECT_EQ(LogWatch::lastError(), "JPL_EPHEM: No JPL file.");
  double su[3], sd = 1, mu[3], md = 1;
  EXPECT_EQ(JplCompSunMoonVec(ds50UTC, su, &sd, mu, &md), 2);
  EXPECT_EQ(sd, 0.0);
  EXPECT_EQ(md, 0.0);
  // Reset: defaults, and the next parameters load again.
  JplReset();
  JplGetParameters(back.data(), &start, &stop);
  EXPECT_EQ(std::string(back.data(), 512), std::string(512, ' '));
  EXPECT_EQ(start, 0.0);
  EXPECT_EQ(stop, 36525.0);
  EXPECT_EQ(jplctrl.loaded, 0);
  JplSetParameters(name.data(), 0.0, 36525.0);
  EXPECT_EQ(JplCompSunMoonPos(ds50UTC, sun, moon), 0);
}

}  // namespace
