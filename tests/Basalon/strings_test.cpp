// Text services: numbers from text, keyword-card values, fx0toax, replacement and the key sort.
#include "Siblings/Basalon/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "Siblings/Basalon/Format.h"

using namespace basalon;

namespace {

TEST(Strings, NumbersFromText) {
  int32_t i = 0;
  double r = 0.0;
  EXPECT_TRUE(strtoint("  12345  ", i));
  EXPECT_EQ(i, 12345);
  EXPECT_TRUE(strtoint("-7", i));
  EXPECT_EQ(i, -7);
  EXPECT_TRUE(strtoreal(" 1.5 ", r));
  EXPECT_DOUBLE_EQ(r, 1.5);
  EXPECT_TRUE(strtoreal("2E7", r));
  EXPECT_DOUBLE_EQ(r, 2e7);
  EXPECT_TRUE(strtoreal("-3.25D-2", r));
  EXPECT_DOUBLE_EQ(r, -0.0325);
  for (const char* bad : {"", "   ", "abc", "12 34", "1.5", "3000000000", "12x"}) {
    EXPECT_FALSE(strtoint(bad, i)) << bad;
    EXPECT_EQ(i, kNotANumber) << bad;
    EXPECT_EQ(strtoint(bad), kNotANumber) << bad;
  }
  for (const char* bad : {"", "x1", "1.5 2", "1e", "nan"}) {
    EXPECT_FALSE(strtoreal(bad, r)) << bad;
    EXPECT_EQ(r, kNotANumber) << bad;
  }
}

TEST(Strings, ReplaceAndBlanks) {
  EXPECT_EQ(replacestring("C:\\data\\de405.txt", "\\", "/"), "C:/data/de405.txt");
  EXPECT_EQ(replacestring("aaa", "aa", "a"), "aa");  // replaced text is not scanned again
  EXPECT_EQ(replacestring("abc", "", "x"), "abc");
  EXPECT_TRUE(isblankornull(std::string_view(" \0 \0", 4)));
  EXPECT_FALSE(isblankornull("  x "));
}

TEST(Strings, KeywordCardValues) {
  EXPECT_EQ(getinputfilename("JPL_FILE = /data/de405.txt"), "/data/de405.txt");
  EXPECT_EQ(getinputfilename("JPL_FILE=/data/de405.txt   "), "/data/de405.txt");
  EXPECT_EQ(getinputfilename("JPL_FILE /data/de405.txt"), "/data/de405.txt");
  EXPECT_EQ(getinputstr("JPL_START 95001000000.000"), "95001000000.000");
  EXPECT_EQ(getinputstr("  JPL_STOP   =   96001000000.000  "), "96001000000.000");
  EXPECT_EQ(getinputfilename("QELFIL =  my qels.txt  "), "my qels.txt");
  EXPECT_EQ(getinputfilename("EPHFIL /p/a=b.txt"), "/p/a=b.txt");  // "=" inside the value stays
  EXPECT_EQ(getinputstr("#TARVEXON = label = text"), "label = text");
  EXPECT_EQ(getinputstr("QELFIL"), "");
  EXPECT_EQ(getinputstr("QELFIL ="), "");
  EXPECT_EQ(getinputstr(""), "");
  const std::string longName(600, 'n');
  EXPECT_EQ(getinputfilename("EPHFIL = " + longName), std::string(512, 'n'));
  EXPECT_EQ(getinputstr("EPHFIL = " + longName), longName);
}

TEST(Strings, Fx0toaxKeepsMostDigits) {
  EXPECT_EQ(fx0toax(90.5, 15), "90.500000000000");
  EXPECT_EQ(fx0toax(-90.5, 15), "-90.50000000000");
  EXPECT_EQ(fx0toax(0.0, 15), "0.0000000000000");
  EXPECT_EQ(fx0toax(1.234e-10, 15), " 0.12340000E-09");
  EXPECT_EQ(fx0toax(1e20, 15), " 0.10000000E+21");
  EXPECT_EQ(fx0toax(9.99999999999999, 15), "10.000000000000");  // rounding carries a digit
  EXPECT_EQ(fx0toax(std::nan(""), 15), std::string(15, '*'));
  // Whatever form is chosen, the text reads back to the value within the digits it shows.
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mant(-1.0, 1.0);
  std::uniform_int_distribution<int> expo(-40, 40);
  for (int k = 0; k < 2000; ++k) {
    const double v = mant(rng) * std::pow(10.0, expo(rng));
    const std::string s = fx0toax(v, 15);
    double back = 0.0;
    ASSERT_EQ(parseReal(s, back), kFieldOk) << s;
    EXPECT_LE(std::fabs(back - v), 1e-7 * std::fabs(v)) << v << " -> " << s;
  }
}

// Sorted ascending by string, equal strings by key, and the keys travel with their strings.
void expectsorted(const std::vector<SortString>& strs, const std::vector<int64_t>& keys,
                  const std::multimap<std::string, int64_t>& before) {
  std::multimap<std::string, int64_t> after;
  for (size_t i = 0; i < strs.size(); ++i) {
    after.emplace(std::string(strs[i].data(), kSortStringLength), keys[i]);
    if (i == 0) continue;
    const int c = std::memcmp(strs[i - 1].data(), strs[i].data(), kSortStringLength);
    ASSERT_TRUE(c < 0 || (c == 0 && keys[i - 1] < keys[i])) << i;
  }
  std::vector<std::pair<std::string, int64_t>> a(after.begin(), after.end()), b(before.begin(), before.end());
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  EXPECT_EQ(a, b);
}

TEST(Strings, QuicksortWithDuplicatesAndKeys) {
  std::mt19937_64 rng(11);
  for (const int n : {0, 1, 2, 13, 500, 5000}) {
    for (const int pattern : {0, 1, 2, 3}) {  // random, sorted, reversed, all equal
      std::vector<SortString> strs(static_cast<size_t>(n));
      std::vector<int64_t> keys(static_cast<size_t>(n));
      std::multimap<std::string, int64_t> before;
      for (int i = 0; i < n; ++i) {
        SortString& s = strs[static_cast<size_t>(i)];
        s.fill(' ');
        const int id = pattern == 0 ? static_cast<int>(rng() % 40) : pattern == 3 ? 7 : i;
        std::snprintf(s.data(), kSortStringLength, "%09d", pattern == 2 ? n - id : id);
        s[9] = ' ';  // keep the blank padding past the digits
        keys[static_cast<size_t>(i)] =
            (static_cast<int64_t>(i) * 7919 % std::max(n, 1)) * 10 + 5;  // distinct
        before.emplace(std::string(s.data(), kSortStringLength), keys[static_cast<size_t>(i)]);
      }
      quicksortiterative(strs, keys);
      expectsorted(strs, keys, before);
    }
  }
}

TEST(Strings, QuicksortRawBlockMatchesSpan) {
  std::vector<SortString> strs(300);
  std::vector<int64_t> keys(300);
  std::mt19937_64 rng(3);
  for (size_t i = 0; i < strs.size(); ++i) {
    for (char& c : strs[i]) c = static_cast<char>('A' + rng() % 3);
    keys[i] = static_cast<int64_t>(i);
  }
  std::vector<char> block(strs.size() * kSortStringLength);
  std::memcpy(block.data(), strs.data(), block.size());
  std::vector<int64_t> keys2 = keys;
  quicksortiterative(strs, keys);
  quicksortiterative(block.data(), keys2.data(), static_cast<int>(keys2.size()));
  EXPECT_EQ(std::memcmp(block.data(), strs.data(), block.size()), 0);
  EXPECT_EQ(keys2, keys);
  std::vector<int64_t> shortKeys(2);
  quicksortiterative(strs, shortKeys);  // mismatched lengths: nothing happens
  quicksortiterative(nullptr, keys2.data(), 5);
}

}  // namespace
