// SP vector store: the text form gives every double back exactly, the store's lookups, orders
// and removal, save and reload through a file, and bad lines refused with one logged line each.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "Siblings/Basalon/Units.h"
#include "Siblings/Harlo/HarloStore.h"
#include "Siblings/Harlo/HarloText.h"
#include "common/TestSupport.h"

namespace {

using harlo::SpVecRecord;

SpVecRecord sample(int32_t satNum = 25544, const char* epoch = "2026078120000.000") {
  SpVecRecord r;
  r.pos = {-4242.125, 5091.5, 1.0 / 3.0};
  r.vel = {-3512.0625, -4398.75, 4587.0 / 7.0};
  r.satNum = satNum;
  r.designator = "98067A  ";
  r.epoch = epoch;
  r.revNum = 56353;
  r.elsetNum = 999;
  r.ballisticCoef = 0.0123;
  r.srpCoef = 0.02;
  r.edr = 1.5e-5;
  return r;
}

std::vector<std::string_view> views(const std::vector<std::string>& lines) {
  return std::vector<std::string_view>(lines.begin(), lines.end());
}

// A random double of random sign with a decimal exponent within the text form's range.
double randomDouble(std::mt19937_64& rng) {
  std::uniform_real_distribution<double> mant(1.0, 10.0);
  std::uniform_int_distribution<int> exp(-97, 96);
  const double v = mant(rng) * std::pow(10.0, exp(rng));
  // Random low bits, so that every bit of the significand has to survive.
  const uint64_t bits = (std::bit_cast<uint64_t>(v) & ~uint64_t{0xFFFFF}) | (rng() & 0xFFFFF);
  return (rng() & 1) ? -std::bit_cast<double>(bits) : std::bit_cast<double>(bits);
}

class HarloStore : public ::testing::Test {
 protected:
  void SetUp() override {
    int32_t code = 0;
    harlo::harloemptytree(code);
    basalon::dupKeyModeSet(0);
  }
  void TearDown() override { SetUp(); }
};

TEST_F(HarloStore, TextFormGivesEveryDoubleBackExactly) {
  std::mt19937_64 rng(20260307);
  for (int n = 0; n < 5000; ++n) {
    SpVecRecord r = sample();
    for (double* v : {&r.pos[0], &r.pos[1], &r.pos[2], &r.vel[0], &r.vel[1], &r.vel[2], &r.ballisticCoef,
                      &r.srpCoef, &r.edr})
      *v = randomDouble(rng);
    std::vector<std::string> lines;
    ASSERT_TRUE(harlo::harloToLines(r, lines));
    SpVecRecord back;
    std::string msg;
    ASSERT_EQ(harlo::harloFromLines(views(lines), back, msg), 0) << msg;
    for (int k = 0; k < 3; ++k) {
      ASSERT_EQ(std::bit_cast<uint64_t>(back.pos[k]), std::bit_cast<uint64_t>(r.pos[k])) << lines[1];
      ASSERT_EQ(std::bit_cast<uint64_t>(back.vel[k]), std::bit_cast<uint64_t>(r.vel[k])) << lines[2];
    }
    ASSERT_EQ(std::bit_cast<uint64_t>(back.ballisticCoef), std::bit_cast<uint64_t>(r.ballisticCoef));
    ASSERT_EQ(std::bit_cast<uint64_t>(back.srpCoef), std::bit_cast<uint64_t>(r.srpCoef));
    ASSERT_EQ(std::bit_cast<uint64_t>(back.edr), std::bit_cast<uint64_t>(r.edr));
    ASSERT_EQ(back.satNum, r.satNum);
    ASSERT_EQ(back.designator, r.designator);
    ASSERT_EQ(back.epoch, r.epoch);
    ASSERT_EQ(back.revNum, r.revNum);
    ASSERT_EQ(back.elsetNum, r.elsetNum);
  }
  // The ends of the range; beyond it the record cannot be written and is not stored.
  SpVecRecord r = sample();
  r.pos = {9.999999999999999e97, 1e-98, 0.0};
  std::vector<std::string> lines;
  ASSERT_TRUE(harlo::harloToLines(r, lines));
  SpVecRecord back;
  std::string msg;
  ASSERT_EQ(harlo::harloFromLines(views(lines), back, msg), 0);
  EXPECT_EQ(back.pos, r.pos);
  r.pos[0] = 1e98;
  EXPECT_FALSE(harlo::harloToLines(r, lines));
  zktest::LogWatch w;
  EXPECT_EQ(harlo::AddHarloToMem(r), -1);
  r.pos[0] = std::nan("");
  EXPECT_EQ(harlo::AddHarloToMem(r), -1);
  EXPECT_EQ(w.errors(), 2);
  EXPECT_TRUE(harlo::harlotreeisempty());
}

TEST_F(HarloStore, LookupsOrdersRemovalAndReload) {
  const int64_t a = harlo::AddHarloToMem(sample(25544, "2026078120000.000"));
  const int64_t b = harlo::AddHarloToMem(sample(900, "2026079000000.000"));
  const int64_t c = harlo::AddHarloToMem(sample(25544, "2026077000000.000"));
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  ASSERT_GT(c, 0);
  EXPECT_EQ(a % 10, harlo::kEltSpVec);
  EXPECT_EQ(harlo::harlogetnumoftreenodes(), 3);
  auto keysIn = [](int32_t order) {
    std::vector<int64_t> k(3);
    int32_t n = 0;
    harlo::harlogettreekeys(n, k.data(), order, 3);
    EXPECT_EQ(n, 3);
    return k;
  };
  EXPECT_EQ(keysIn(0), (std::vector<int64_t>{b, c, a}));
  EXPECT_EQ(keysIn(1), (std::vector<int64_t>{a, c, b}));
  EXPECT_EQ(keysIn(2), (std::vector<int64_t>{a, b, c}));
  EXPECT_EQ(harlo::harlosatkeyget(900), b);
  EXPECT_EQ(harlo::harlosatkeyget(1), -1);
  SpVecRecord* link = nullptr;
  harlo::harlofindrecptr(b, link);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->satNum, 900);
  harlo::harloendread();
  {
    zktest::LogWatch w;  // the same vector again is a duplicate
    EXPECT_EQ(harlo::AddHarloToMem(sample(900, "2026079000000.000")), 0);
    EXPECT_EQ(w.errors(), 1);
  }

  // A maneuver line travels with its vector through a saved file.
  SpVecRecord withCard = sample(25544, "2026078120000.000");
  withCard.maneuvers = {std::string(78, ' ').replace(0, 4, "M 10") + "VP"};
  withCard.numManeuvers = 1;
  int32_t code = -1;
  harlo::HarloStore().UpdateRec(a, withCard, code);
  ASSERT_EQ(code, 0);
  const std::string path = (std::filesystem::temp_directory_path() / "stores_harlo_saved.txt").string();
  int unit = 0, status = 0;
  basalon::fileopenmt(path, basalon::kOpenWrite, unit, status);
  ASSERT_EQ(status, 0);
  harlo::harlowritelines(unit);
  basalon::fileClose(unit);
  std::vector<SpVecRecord> before;
  for (int64_t k : keysIn(9)) {
    before.emplace_back();
    harlo::harloFindRec(k, before.back());
  }
  harlo::harloemptytree(code);
  harlo::HarloLoadCounts counts;
  ASSERT_EQ(harlo::readharlosfrfile(path, &counts), 0);
  EXPECT_EQ(counts.loaded, 3);
  EXPECT_EQ(counts.bad, 0);
  std::vector<int64_t> after = keysIn(9);
  std::vector<int64_t> sorted{a, b, c};
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(after, sorted);  // the same keys: same numbers, epochs and type
  for (size_t i = 0; i < after.size(); ++i) {
    SpVecRecord r;
    harlo::harloFindRec(after[i], r);
    EXPECT_EQ(r.pos, before[i].pos);
    EXPECT_EQ(r.vel, before[i].vel);
    EXPECT_EQ(r.epoch, before[i].epoch);
    EXPECT_EQ(r.maneuvers, before[i].maneuvers);
  }
  std::filesystem::remove(path);

  int32_t flag = 0;
  harlo::harloremovenode(a, flag, code);
  EXPECT_EQ(code, 0);
  harlo::harloremovenode(a, flag, code);
  EXPECT_EQ(code, 2);
  SpVecRecord gone;
  harlo::harloFindRec(a, gone);
  EXPECT_EQ(gone.satNum, -123);
}

TEST_F(HarloStore, BadLinesAreRefusedWithOneLineEach) {
  std::vector<std::string> good;
  ASSERT_TRUE(harlo::harloToLines(sample(), good));
  auto with = [&](size_t line, size_t col, const std::string& text) {
    std::vector<std::string> l = good;
    l[line].replace(col - 1, text.size(), text);
    return l;
  };
  const std::vector<std::vector<std::string>> bad = {
      with(0, 1, "SPVECX"),               // not an SP vector
      with(0, 10, "1a"),                  // letter in the satellite number
      with(0, 27, "2026400"),             // day of year 400
      with(1, 12, "x"),                   // letter in a position value
      with(2, 1, "SPVEC2"),               // velocity line tagged as position
      with(3, 30, std::string(30, ' ')),  // blank values
      {good[0], good[1], good[2]},        // a line missing
  };
  for (const auto& lines : bad) {
    zktest::LogWatch w;
    EXPECT_EQ(harlo::harloAddSatFrLines(views(lines)), -1) << lines[0];
    EXPECT_EQ(w.errors(), 1);
    EXPECT_TRUE(harlo::harlotreeisempty());
  }
  // A text with a good vector between bad ones stores exactly the good one.
  const auto b1 = with(1, 12, "x");
  std::string text = "some other record\n";
  for (const auto& l : b1) text += l + "\n";
  for (const auto& l : good) text += l + "\r\n";
  text += good[0] + "\n" + good[1] + "\n";  // cut short at the end
  zktest::LogWatch w;
  harlo::HarloLoadCounts counts;
  EXPECT_EQ(harlo::readHarlosFrText(text, &counts), 0);
  EXPECT_EQ(counts.loaded, 1);
  EXPECT_EQ(counts.bad, 2);
  EXPECT_EQ(w.errors(), 2);
  EXPECT_EQ(harlo::harlogetnumoftreenodes(), 1);
}

}  // namespace
