// Fixed-width number writers (Iw, Iw.m, Fw.d, Ew.d) and fixed-column field readers.
#include "Siblings/Basalon/Format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

using namespace basalon;

namespace {

TEST(FormatWrite, ExponentFormExamples) {
  EXPECT_EQ(formatE(0.5, 13, 6), " 0.500000E+00");
  EXPECT_EQ(formatE(-1.5, 12, 6), "-.150000E+01");  // no room for the 0 of a negative value
  EXPECT_EQ(formatE(-1.5, 13, 6), "-0.150000E+01");
  EXPECT_EQ(formatE(0.5, 12, 6), "0.500000E+00");
  EXPECT_EQ(formatE(0.5, 11, 6), ".500000E+00");
  EXPECT_EQ(formatE(0.5, 10, 6), "**********");
  EXPECT_EQ(formatE(1.234e-4, 9, 2), " 0.12E-03");
  EXPECT_EQ(formatE(-6378.135, 12, 5), "-0.63781E+04");
  EXPECT_EQ(formatE(1.0, 9, 3), "0.100E+01");
  EXPECT_EQ(formatE(0.0, 12, 5), " 0.00000E+00");
}

TEST(FormatWrite, FixedFormExamples) {
  EXPECT_EQ(formatF(5.25, 6, 3), " 5.250");
  EXPECT_EQ(formatF(-7000.123456789, 16, 8), "  -7000.12345679");
  EXPECT_EQ(formatF(0.5, 3, 2), ".50");
  EXPECT_EQ(formatF(-0.5, 4, 2), "-.50");
  EXPECT_EQ(formatF(-0.5, 3, 2), "***");
  EXPECT_EQ(formatF(3.0, 5, 0), "   3.");
  EXPECT_EQ(formatF(0.4, 3, 0), " 0.");
  EXPECT_EQ(formatF(1.5, 35, 15), std::string(18, ' ') + "1.500000000000000");
}

TEST(FormatWrite, IntegerForms) {
  EXPECT_EQ(formatI(12345, 5), "12345");
  EXPECT_EQ(formatI(42, 5), "   42");
  EXPECT_EQ(formatI(-1234, 5), "-1234");
  EXPECT_EQ(formatI(-12345, 5), "*****");
  EXPECT_EQ(formatI(123456, 5), "*****");
  EXPECT_EQ(formatI(std::numeric_limits<int64_t>::min(), 20), "-9223372036854775808");
  EXPECT_EQ(formatIm(5, 3, 3), "005");
  EXPECT_EQ(formatIm(5, 3, 2), " 05");
  EXPECT_EQ(formatIm(-5, 3, 2), "-05");
  EXPECT_EQ(formatIm(-5, 2, 2), "**");
  EXPECT_EQ(formatIm(123, 3, 2), "123");
  EXPECT_EQ(formatIm(0, 3, 0), "   ");
  EXPECT_EQ(formatIm(1, 2, 3), "**");
  EXPECT_EQ(formatI0(-123), "-123");
  EXPECT_EQ(formatI0(1234567), "1234567");
}

// A value that rounds to zero carries no minus sign, in every form.
TEST(FormatWrite, NegativeZero) {
  EXPECT_EQ(formatF(-0.001, 5, 2), " 0.00");
  EXPECT_EQ(formatF(-0.0, 5, 2), " 0.00");
  EXPECT_EQ(formatF(-0.4, 2, 0), "0.");
  EXPECT_EQ(formatE(-0.0, 13, 6), " 0.000000E+00");
  EXPECT_EQ(formatF(-0.005, 5, 2), "-0.01");  // -0.005 is just above 0.005 in magnitude in binary
}

// Half away from zero on the exact binary value.
TEST(FormatWrite, RoundingAtLastDecimal) {
  EXPECT_EQ(formatF(0.125, 5, 2), " 0.13");  // exact tie
  EXPECT_EQ(formatF(-0.125, 5, 2), "-0.13");
  EXPECT_EQ(formatF(0.375, 5, 2), " 0.38");
  EXPECT_EQ(formatF(2.675, 5, 2), " 2.67");  // the double is 2.67499999...
  EXPECT_EQ(formatF(2.5, 3, 0), " 3.");
  EXPECT_EQ(formatF(-2.5, 3, 0), "-3.");
  EXPECT_EQ(formatF(0.5, 2, 0), "1.");
  EXPECT_EQ(formatF(9.995, 5, 2), " 9.99");  // 9.99499999...
  EXPECT_EQ(formatF(9.9951, 5, 2), "10.00");
  EXPECT_EQ(formatE(0.125, 9, 2), " 0.13E+00");
  EXPECT_EQ(formatE(25.0, 8, 1), " 0.3E+02");
  EXPECT_EQ(formatE(9.5, 8, 1), " 0.1E+02");  // carry into the next power of ten
  EXPECT_EQ(formatE(99.5, 9, 2), " 0.10E+03");
  EXPECT_EQ(formatE(0.95, 8, 1), " 0.9E+00");  // 0.9499999...
  EXPECT_EQ(formatE(1234.5, 10, 4), "0.1235E+04");
  EXPECT_EQ(formatE(1234.5, 9, 4), ".1235E+04");
}

TEST(FormatWrite, OverflowFillsWithStars) {
  EXPECT_EQ(formatF(1000.0, 5, 2), "*****");
  EXPECT_EQ(formatF(99.996, 5, 2), "*****");  // rounds to 100.00
  EXPECT_EQ(formatF(1e300, 20, 2), std::string(20, '*'));
  EXPECT_EQ(formatF(1.0, 5, 5), "*****");  // no column for the point
  EXPECT_EQ(formatE(1e100, 13, 6), std::string(13, '*'));
  EXPECT_EQ(formatE(1e99, 13, 6), std::string(13, '*'));  // 0.1E+100
  EXPECT_EQ(formatE(9.99e98, 13, 6), " 0.999000E+99");
  EXPECT_EQ(formatE(9.9999999e98, 13, 6), std::string(13, '*'));  // rounds to 0.100000E+100
  EXPECT_EQ(formatE(1e-100, 13, 6), " 0.100000E-99");
  EXPECT_EQ(formatE(1e-101, 13, 6), std::string(13, '*'));
  EXPECT_EQ(formatE(5e-324, 13, 6), std::string(13, '*'));
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(formatF(nan, 8, 2), "********");
  EXPECT_EQ(formatF(-inf, 8, 2), "********");
  EXPECT_EQ(formatE(inf, 12, 5), std::string(12, '*'));
  EXPECT_EQ(formatE(1.0, 8, 0), "********");  // E needs a digit
}

TEST(FormatWrite, WritesExactlyWidthCharacters) {
  char buf[12];
  std::memset(buf, '#', sizeof buf);
  EXPECT_TRUE(writeF(buf + 1, 10, 3, -12.5));
  EXPECT_EQ(std::string(buf, 12), "#   -12.500#");
  std::memset(buf, '#', sizeof buf);
  EXPECT_FALSE(writeE(buf + 1, 10, 6, 1.0));
  EXPECT_EQ(std::string(buf, 12), "#**********#");
  std::memset(buf, '#', sizeof buf);
  EXPECT_FALSE(writeI(buf + 1, 0, 1));
  EXPECT_FALSE(writeF(buf + 1, -3, 1, 1.0));
  EXPECT_EQ(std::string(buf, 12), "############");
  EXPECT_EQ(formatF(1.0, kMaxFieldWidth + 1, 2), std::string(kMaxFieldWidth + 1, '*'));
}

// Random values written in Ew.d and Fw.d read back within half a unit of the last digit.
TEST(FormatWrite, ReadBackWithinHalfLastDigit) {
  std::mt19937_64 rng(20261207);
  std::uniform_real_distribution<double> mant(-1.0, 1.0);
  std::uniform_int_distribution<int> expo(-90, 90);
  for (int i = 0; i < 20000; ++i) {
    const double v = mant(rng) * std::pow(10.0, expo(rng));
    const std::string e = formatE(v, 13, 6);
    double back = 0.0;
    ASSERT_EQ(parseReal(e, back), kFieldOk) << e;
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(v)))) + 1;
    const double halfUnit = 0.5 * std::pow(10.0, exponent - 6);
    EXPECT_LE(std::fabs(back - v), halfUnit * (1 + 1e-9)) << v << " -> " << e;

    const double f = mant(rng) * 1e6;
    const std::string s = formatF(f, 16, 8);
    ASSERT_EQ(parseReal(s, back), kFieldOk) << s;
    // Half the last decimal, plus the rounding of the decimal text itself to a double.
    EXPECT_LE(std::fabs(back - f), 0.5e-8 + 4e-16 * std::fabs(f)) << f << " -> " << s;
  }
}

TEST(FormatRead, Integers) {
  int64_t v = -1;
  bool blank = true;
  EXPECT_EQ(parseInt("  12345", v, &blank), kFieldOk);
  EXPECT_EQ(v, 12345);
  EXPECT_FALSE(blank);
  EXPECT_EQ(parseInt(" 1 2 3 ", v), kFieldOk);  // blanks inside are ignored
  EXPECT_EQ(v, 123);
  EXPECT_EQ(parseInt("+7", v), kFieldOk);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(parseInt("-0042", v), kFieldOk);
  EXPECT_EQ(v, -42);
  EXPECT_EQ(parseInt(std::string_view("\0 5\0", 4), v), kFieldOk);
  EXPECT_EQ(v, 5);
  EXPECT_EQ(parseInt("     ", v, &blank), kFieldOk);
  EXPECT_TRUE(blank);
  EXPECT_EQ(v, 0);
  for (const char* bad : {"1.0", "12a", "+", "-", "1e3", "99999999999999999999", "0x10"}) {
    v = 9;
    EXPECT_EQ(parseInt(bad, v), kFieldBad) << bad;
    EXPECT_EQ(v, 0) << bad;
  }
}

TEST(FormatRead, Reals) {
  double v = -1.0;
  bool blank = true;
  EXPECT_EQ(parseReal("  1.5D+03", v, &blank), kFieldOk);
  EXPECT_DOUBLE_EQ(v, 1500.0);
  EXPECT_FALSE(blank);
  EXPECT_EQ(parseReal("1.5d3", v), kFieldOk);
  EXPECT_DOUBLE_EQ(v, 1500.0);
  EXPECT_EQ(parseReal("-.5e-2", v), kFieldOk);
  EXPECT_DOUBLE_EQ(v, -0.005);
  EXPECT_EQ(parseReal("25", v), kFieldOk);  // no point: taken as written
  EXPECT_DOUBLE_EQ(v, 25.0);
  EXPECT_EQ(parseReal("1.", v), kFieldOk);
  EXPECT_DOUBLE_EQ(v, 1.0);
  EXPECT_EQ(parseReal(" - 1 2 . 5 E + 1", v), kFieldOk);
  EXPECT_DOUBLE_EQ(v, -125.0);
  EXPECT_EQ(parseReal("1e-400", v), kFieldOk);  // underflow reads as zero
  EXPECT_EQ(v, 0.0);
  EXPECT_EQ(parseReal("0.00000000000000000000000000001e-300", v), kFieldOk);
  EXPECT_EQ(v, 0.0);
  EXPECT_EQ(parseReal("    ", v, &blank), kFieldOk);
  EXPECT_TRUE(blank);
  EXPECT_EQ(v, 0.0);
  for (const char* bad : {"12345-3", "abc", "1e", "1e+", ".", "+", "1.2.3", "1e400", "inf", "nan", "1,5",
                          "E5", "1.0E5.0", "--1", "0x1p3"}) {
    v = 9.0;
    EXPECT_EQ(parseReal(bad, v), kFieldBad) << bad;
    EXPECT_EQ(v, 0.0) << bad;
  }
}

TEST(FormatRead, FixedColumns) {
  const std::string line = "ABC  1.5  42";
  double r = 0.0;
  int32_t i = 0;
  bool blank = false;
  EXPECT_EQ(fieldColumns(line, 1, 3), "ABC");
  EXPECT_EQ(fieldColumns(line, 11, 10), "42");  // cut at the line's end
  EXPECT_EQ(fieldColumns(line, 20, 5), "");
  EXPECT_EQ(readRealField(line, 4, 5, r), kFieldOk);
  EXPECT_DOUBLE_EQ(r, 1.5);
  EXPECT_EQ(readIntField(line, 10, 10, i), kFieldOk);  // columns past the end read as blanks
  EXPECT_EQ(i, 42);
  EXPECT_EQ(readIntField(line, 50, 5, i, &blank), kFieldOk);
  EXPECT_TRUE(blank);
  EXPECT_EQ(readRealField(line, 1, 5, r), kFieldBad);
  EXPECT_EQ(readRealField(line, 0, 5, r), kFieldBad);
  EXPECT_EQ(readIntField(line, 1, -1, i), kFieldBad);
  int64_t big = 0;
  EXPECT_EQ(readIntField("3000000000", 1, 10, big), kFieldOk);
  EXPECT_EQ(big, 3000000000LL);
  EXPECT_EQ(readIntField("3000000000", 1, 10, i), kFieldBad);  // outside int32
  EXPECT_EQ(i, 0);
}

}  // namespace

// The writers take a 128-bit integer path where it is exact and the decimal-text path elsewhere:
// both must give the same field for every value, ties and carries included.
TEST(FormatWrite, IntegerPathAgreesWithTextPath) {
  std::mt19937_64 rng(20261207);
  std::uniform_real_distribution<double> mant(1.0, 10.0);
  std::uniform_int_distribution<int> expo(-22, 22), decimals(0, 17), sign(0, 1), tie(0, 3);
  char a[64], b[64];
  for (int k = 0; k < 200000; ++k) {
    const int d = decimals(rng);
    double v = mant(rng) * std::pow(10.0, expo(rng));
    if (tie(rng) == 0)
      v = std::round(v * std::pow(10.0, d) * 2.0 + 1.0) / 2.0 / std::pow(10.0, d);  // near ties
    if (tie(rng) == 1) v = std::round(v * 8.0) / 8.0;  // binary-exact values, true ties
    if (sign(rng) == 1) v = -v;
    const int wf = 40, we = d + 8;
    const bool okF = basalon::writeF(a, wf, d, v), okFText = basalon::detail::writefText(b, wf, d, v);
    ASSERT_EQ(okF, okFText) << v << " F" << wf << "." << d;
    ASSERT_EQ(std::string(a, wf), std::string(b, wf)) << v << " F" << wf << "." << d;
    if (d >= 1) {
      const bool okE = basalon::writeE(a, we, d, v), okEText = basalon::detail::writeeText(b, we, d, v);
      ASSERT_EQ(okE, okEText) << v << " E" << we << "." << d;
      ASSERT_EQ(std::string(a, we), std::string(b, we)) << v << " E" << we << "." << d;
    }
  }
}

// More decimals than the field can hold fill it with '*' before any digit is made (a decimals
// count of INT32_MAX once asked for that many digits).
TEST(FormatWrite, DecimalsBeyondTheFieldFillWithStars) {
  char f[12];
  for (const int d : {8, 12, 1000, std::numeric_limits<int>::max()}) {
    EXPECT_FALSE(writeE(f, 12, d, 1.5)) << d;
    EXPECT_EQ(std::string(f, 12), std::string(12, '*')) << d;
    EXPECT_FALSE(writeF(f, 12, std::max(d, 12), 1.5)) << d;
  }
  EXPECT_TRUE(writeE(f, 12, 6, -1.5));
  EXPECT_EQ(std::string(f, 12), "-.150000E+01");
}

// Reals read through the short exact path (mantissa below 2^53, power of ten up to 22) and the
// general one give the nearest double, as the C library's correctly rounded strtod does.
TEST(FormatRead, RealsAreTheNearestDouble) {
  std::mt19937_64 rng(7);
  std::uniform_int_distribution<int> numDigits(1, 20), digit(0, 9), expo(-30, 30), pointAt(0, 20), coin(0, 3);
  for (int k = 0; k < 100000; ++k) {
    std::string text = coin(rng) == 0 ? "-" : "";
    const int nd = numDigits(rng), at = pointAt(rng);
    for (int i = 0; i < nd; ++i) {
      if (i == at) text += '.';
      text += static_cast<char>('0' + digit(rng));
    }
    if (coin(rng) != 0) text += "E" + std::to_string(expo(rng));
    double v = 0.0;
    ASSERT_EQ(parseReal(text, v), kFieldOk) << text;
    const double expected = std::strtod(text.c_str(), nullptr);
    ASSERT_EQ(v, expected) << text;
  }
}
