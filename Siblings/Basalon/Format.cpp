// Fixed-width number writers (Iw, Iw.m, Fw.d, Ew.d) and fixed-column field readers.
// Digits come from std::to_chars / std::from_chars (exact, locale free); ties are settled here.
#include "Siblings/Basalon/Format.h"

#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace basalon {
namespace {

// Longest fixed-point text of a double: 309 integer digits, the point and kMaxFieldWidth decimals.
constexpr int kScratch = 320 + kMaxFieldWidth;

bool fill(char* out, int w) {
  if (w > 0) std::memset(out, '*', static_cast<size_t>(w));
  return false;
}

// Copies n characters right-justified into a field of w (n <= w).
void place(char* out, int w, const char* text, int n) {
  std::memset(out, ' ', static_cast<size_t>(w - n));
  std::memcpy(out + (w - n), text, static_cast<size_t>(n));
}

// Whether a > 0 lies exactly halfway between two neighbouring multiples of 10^-q, that is whether
// a * 2 * 10^q is an odd integer. Only such values differ between round-half-even (to_chars) and
// round-half-away-from-zero. With a = mant * 2^k, mant odd: the power of two must cancel exactly and,
// for q < 0, mant must hold the factor 5^-q.
bool exactTie(double a, int q) {
  if (!(a > 0.0)) return false;
  int e = 0;
  const double m = std::frexp(a, &e);
  uint64_t mant = static_cast<uint64_t>(std::ldexp(m, 53));
  int k = e - 53;
  const int tz = std::countr_zero(mant);
  mant >>= tz;
  k += tz;
  if (k != -(q + 1)) return false;
  if (q >= 0) return true;
  const int p = -q;
  if (p > 22) return false;  // 5^23 exceeds any 53-bit mantissa
  uint64_t five = 1;
  for (int i = 0; i < p; ++i) five *= 5;
  return mant % five == 0;
}

// Adds one unit in the last digit of the decimal text s[0..n) (digits and at most one '.'), carrying
// leftwards; returns the new length (one more when the carry runs out of digits).
int incrementDigits(char* s, int n) {
  for (int i = n - 1; i >= 0; --i) {
    if (s[i] == '.') continue;
    if (s[i] != '9') {
      ++s[i];
      return n;
    }
    s[i] = '0';
  }
  if (n > 0) std::memmove(s + 1, s, static_cast<size_t>(n));
  s[0] = '1';
  return n + 1;
}

// Fixed-point text of a >= 0 with d decimals, rounded half away from zero; returns its length.
int fixedDigits(double a, int d, char* s) {
  if (exactTie(a, d)) {
    // The value has exactly d+1 decimals ending in 5: drop that 5 and round up.
    const auto r = std::to_chars(s, s + kScratch, a, std::chars_format::fixed, d + 1);
    int n = static_cast<int>(r.ptr - s) - 1;
    if (d == 0) --n;  // the point before the dropped digit
    return incrementDigits(s, n);
  }
  const auto r = std::to_chars(s, s + kScratch, a, std::chars_format::fixed, d);
  return static_cast<int>(r.ptr - s);
}

// d significant digits of a > 0, rounded half away from zero, into digits[0..d); returns the decimal
// exponent p of the first digit (a ~ d1.d2... * 10^p).
int significantDigits(double a, int d, char* digits) {
  char s[kScratch];
  auto r = std::to_chars(s, s + kScratch, a, std::chars_format::scientific, d - 1);
  const char* ep = static_cast<const char*>(std::memchr(s, 'e', static_cast<size_t>(r.ptr - s)));
  int p = 0;
  std::from_chars(ep + 1 + (ep[1] == '+' ? 1 : 0), r.ptr, p);
  bool roundUp = false;
  if (exactTie(a, d - 1 - p)) {
    r = std::to_chars(s, s + kScratch, a, std::chars_format::scientific, d);
    roundUp = true;
  }
  // Collect the mantissa digits, skipping the point.
  int n = 0;
  for (const char* c = s; *c != 'e' && c < r.ptr; ++c)
    if (*c != '.') digits[n++] = *c;
  if (roundUp) {
    n = incrementDigits(digits, n - 1);
    if (n > d) {  // 9.5 -> 10: one more power of ten
      ++p;
      n = d;
    }
  }
  return p;
}

// Fast exact path: a >= 0 times 10^q (0 <= q <= 19) rounded half away from zero, computed in
// 128-bit integers from the double's binary mantissa, so no decimal text of the double is made.
// False when the scaled value would not fit (the exact text path then answers).
__extension__ typedef unsigned __int128 U128;

constexpr uint64_t kPow10[20] = {1ull,
                                 10ull,
                                 100ull,
                                 1000ull,
                                 10000ull,
                                 100000ull,
                                 1000000ull,
                                 10000000ull,
                                 100000000ull,
                                 1000000000ull,
                                 10000000000ull,
                                 100000000000ull,
                                 1000000000000ull,
                                 10000000000000ull,
                                 100000000000000ull,
                                 1000000000000000ull,
                                 10000000000000000ull,
                                 100000000000000000ull,
                                 1000000000000000000ull,
                                 10000000000000000000ull};

// Powers of ten that are exact doubles.
constexpr double kExactPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool scaledRounded(double a, int q, U128& out) {
  if (q < 0 || q > 19) return false;
  if (a == 0.0) {
    out = 0;
    return true;
  }
  // a = mant * 2^k from the bits of the double (subnormals have no hidden bit).
  const auto bits = std::bit_cast<uint64_t>(a);
  const int biased = static_cast<int>(bits >> 52);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  const uint64_t mant = biased == 0 ? fraction : fraction | (uint64_t{1} << 52);
  const int k = (biased == 0 ? 1 : biased) - 1075;
  const U128 x = static_cast<U128>(mant) * kPow10[q];  // below 2^117
  if (k >= 0) {
    if (k > 10) return false;  // would pass 2^127
    out = x << k;
    return true;
  }
  const int shift = -k;
  if (shift > 118) {  // below one half
    out = 0;
    return true;
  }
  out = (x + (static_cast<U128>(1) << (shift - 1))) >> shift;
  return true;
}

// Decimal digits of v into s; returns their count (at most 39).
int u128Digits(U128 v, char* s) {
  if (v <= UINT64_MAX) return static_cast<int>(std::to_chars(s, s + 24, static_cast<uint64_t>(v)).ptr - s);
  const uint64_t hi = static_cast<uint64_t>(v / kPow10[19]), lo = static_cast<uint64_t>(v % kPow10[19]);
  int n = static_cast<int>(std::to_chars(s, s + 24, hi).ptr - s);
  char low[24];
  const int nl = static_cast<int>(std::to_chars(low, low + 24, lo).ptr - low);
  std::memset(s + n, '0', static_cast<size_t>(19 - nl));
  std::memcpy(s + n + 19 - nl, low, static_cast<size_t>(nl));
  return n + 19;
}

// Fixed-point text of a >= 0 with d decimals (the layout of fixedDigits); -1 when the fast path
// cannot answer.
int fastFixedDigits(double a, int d, char* s) {
  U128 n = 0;
  if (!scaledRounded(a, d, n)) return -1;
  char digits[48];
  int nd = u128Digits(n, digits);
  if (d == 0) {
    std::memcpy(s, digits, static_cast<size_t>(nd));
    return nd;
  }
  // Leading zeros so that at least one digit stands before the point.
  int lead = nd <= d ? d + 1 - nd : 0;
  std::memset(s, '0', static_cast<size_t>(lead));
  std::memcpy(s + lead, digits, static_cast<size_t>(nd));
  nd += lead;
  const int intLen = nd - d;
  std::memmove(s + intLen + 1, s + intLen, static_cast<size_t>(d));
  s[intLen] = '.';
  return nd + 1;
}

// d significant digits of a > 0 (the layout of significantDigits); false when the fast path cannot
// answer.
bool fastSignificantDigits(double a, int d, char* digits, int& p) {
  if (d > 19) return false;
  // floor(log10(a)) from the binary exponent, within one; the loop below settles it.
  const int binaryExponent = static_cast<int>(std::bit_cast<uint64_t>(a) >> 52) - 1023;
  p = (binaryExponent * 78913) >> 18;  // 78913 / 2^18 = log10(2) to 6e-7
  for (int attempt = 0; attempt < 3; ++attempt) {
    U128 n = 0;
    if (!scaledRounded(a, d - 1 - p, n)) return false;
    if (n >= kPow10[d]) {
      ++p;  // the estimate was low, or the rounding carried into one more digit
      continue;
    }
    if (n < kPow10[d - 1]) {
      --p;
      continue;
    }
    char s[48];
    const int nd = u128Digits(n, s);
    if (nd != d) return false;
    std::memcpy(digits, s, static_cast<size_t>(d));
    return true;
  }
  return false;
}

int intDigits(int64_t value, char* s) {
  const auto r = std::to_chars(s, s + 24, value);
  return static_cast<int>(r.ptr - s);
}

}  // namespace

bool writeI(char* out, int w, int64_t value) {
  if (w <= 0) return false;
  char s[24];
  const int n = intDigits(value, s);
  if (n > w) return fill(out, w);
  place(out, w, s, n);
  return true;
}

bool writeIm(char* out, int w, int m, int64_t value) {
  if (w <= 0) return false;
  if (m < 0 || m > w) return fill(out, w);
  if (m == 0 && value == 0) {
    std::memset(out, ' ', static_cast<size_t>(w));
    return true;
  }
  char s[24];
  const int n = intDigits(value, s);
  const bool neg = value < 0;
  const int nd = n - (neg ? 1 : 0);
  const int digits = nd > m ? nd : m;
  const int len = digits + (neg ? 1 : 0);
  if (len > w) return fill(out, w);
  std::memset(out, ' ', static_cast<size_t>(w - len));
  char* p = out + (w - len);
  if (neg) *p++ = '-';
  std::memset(p, '0', static_cast<size_t>(digits - nd));
  std::memcpy(p + (digits - nd), s + (neg ? 1 : 0), static_cast<size_t>(nd));
  return true;
}

int writeI0(char* out, int64_t value) { return intDigits(value, out); }

namespace {

enum class DigitPath { kFastWhereExact, kTextOnly };

bool writeFixed(char* out, int w, int d, double value, DigitPath path) {
  if (w <= 0) return false;
  if (w > kMaxFieldWidth || d < 0 || d >= w || !std::isfinite(value)) return fill(out, w);
  char s[kScratch + 2];
  int n = path == DigitPath::kFastWhereExact ? fastFixedDigits(std::fabs(value), d, s) : -1;
  if (n < 0) n = fixedDigits(std::fabs(value), d, s);
  if (d == 0) s[n++] = '.';
  bool zero = true;
  for (int i = 0; i < n && zero; ++i) zero = s[i] == '0' || s[i] == '.';
  const bool neg = std::signbit(value) && !zero;
  const char* body = s;
  int len = n + (neg ? 1 : 0);
  if (len > w && s[0] == '0' && d > 0) {  // no room for the zero before the point
    ++body;
    --n;
    --len;
  }
  if (len > w) return fill(out, w);
  std::memset(out, ' ', static_cast<size_t>(w - len));
  char* p = out + (w - len);
  if (neg) *p++ = '-';
  std::memcpy(p, body, static_cast<size_t>(n));
  return true;
}

bool writeExponent(char* out, int w, int d, double value, DigitPath path) {
  if (w <= 0) return false;
  // ".", d digits and "E+nn" must fit before any digit is made.
  if (w > kMaxFieldWidth || d < 1 || d > w - 5 || !std::isfinite(value)) return fill(out, w);
  const double a = std::fabs(value);
  char digits[kScratch];
  int exponent = 0;  // of the 0.d1d2... form
  if (a == 0.0) {
    std::memset(digits, '0', static_cast<size_t>(d));
  } else {
    int p = 0;
    if (path == DigitPath::kTextOnly || !fastSignificantDigits(a, d, digits, p))
      p = significantDigits(a, d, digits);
    exponent = p + 1;
  }
  if (exponent > 99 || exponent < -99) return fill(out, w);
  const bool neg = std::signbit(value) && a != 0.0;
  const int core = d + 5;  // ".", d digits, "E+nn"
  int len = core + (neg ? 1 : 0);
  if (len > w) return fill(out, w);
  const bool leadingZero = len < w;
  if (leadingZero) ++len;
  std::memset(out, ' ', static_cast<size_t>(w - len));
  char* p = out + (w - len);
  if (neg) *p++ = '-';
  if (leadingZero) *p++ = '0';
  *p++ = '.';
  std::memcpy(p, digits, static_cast<size_t>(d));
  p += d;
  *p++ = 'E';
  *p++ = exponent < 0 ? '-' : '+';
  const int ae = exponent < 0 ? -exponent : exponent;
  *p++ = static_cast<char>('0' + ae / 10);
  *p = static_cast<char>('0' + ae % 10);
  return true;
}

}  // namespace

bool writeF(char* out, int w, int d, double value) {
  return writeFixed(out, w, d, value, DigitPath::kFastWhereExact);
}
bool writeE(char* out, int w, int d, double value) {
  return writeExponent(out, w, d, value, DigitPath::kFastWhereExact);
}

namespace detail {
bool writefText(char* out, int w, int d, double value) {
  return writeFixed(out, w, d, value, DigitPath::kTextOnly);
}
bool writeeText(char* out, int w, int d, double value) {
  return writeExponent(out, w, d, value, DigitPath::kTextOnly);
}
}  // namespace detail

std::string formatI(int64_t value, int w) {
  std::string s(static_cast<size_t>(w > 0 ? w : 0), ' ');
  writeI(s.data(), w, value);
  return s;
}

std::string formatIm(int64_t value, int w, int m) {
  std::string s(static_cast<size_t>(w > 0 ? w : 0), ' ');
  writeIm(s.data(), w, m, value);
  return s;
}

std::string formatF(double value, int w, int d) {
  std::string s(static_cast<size_t>(w > 0 ? w : 0), ' ');
  writeF(s.data(), w, d, value);
  return s;
}

std::string formatE(double value, int w, int d) {
  std::string s(static_cast<size_t>(w > 0 ? w : 0), ' ');
  writeE(s.data(), w, d, value);
  return s;
}

std::string formatI0(int64_t value) {
  char s[24];
  return std::string(s, static_cast<size_t>(writeI0(s, value)));
}

// ---- Reading ----

namespace {

constexpr size_t kMaxNumberChars = 512;  // non-blank characters of one numeric field

// The field without blanks and NULs into buf; false when it holds more than kMaxNumberChars.
bool compactField(std::string_view text, char* buf, size_t& n) {
  n = 0;
  for (const char c : text) {
    if (c == ' ' || c == '\0') continue;
    if (n == kMaxNumberChars) return false;
    buf[n++] = c;
  }
  return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string_view fieldColumns(std::string_view line, int first, int width) {
  if (first < 1 || width <= 0) return {};
  const size_t start = static_cast<size_t>(first - 1);
  if (start >= line.size()) return {};
  return line.substr(start, static_cast<size_t>(width));
}

int parseInt(std::string_view text, int64_t& value, bool* blank) {
  value = 0;
  if (blank != nullptr) *blank = false;
  char buf[kMaxNumberChars];
  size_t n = 0;
  if (!compactField(text, buf, n)) return kFieldBad;
  if (n == 0) {
    if (blank != nullptr) *blank = true;
    return kFieldOk;
  }
  size_t i = (buf[0] == '+' || buf[0] == '-') ? 1 : 0;
  if (i == n) return kFieldBad;
  for (size_t j = i; j < n; ++j)
    if (!isDigit(buf[j])) return kFieldBad;
  // from_chars takes a minus sign but no plus sign.
  const char* start = buf[0] == '+' ? buf + 1 : buf;
  int64_t v = 0;
  const auto r = std::from_chars(start, buf + n, v);
  if (r.ec != std::errc() || r.ptr != buf + n) return kFieldBad;
  value = v;
  return kFieldOk;
}

int parseReal(std::string_view text, double& value, bool* blank) {
  value = 0.0;
  if (blank != nullptr) *blank = false;
  char buf[kMaxNumberChars];
  size_t n = 0;
  if (!compactField(text, buf, n)) return kFieldBad;
  if (n == 0) {
    if (blank != nullptr) *blank = true;
    return kFieldOk;
  }
  // Grammar check: [sign] digits [. digits] [(E|D) [sign] digits], at least one mantissa digit.
  size_t i = 0;
  const bool neg = buf[0] == '-';
  if (buf[0] == '+' || buf[0] == '-') ++i;
  const size_t mantStart = i;
  int intSig = 0;     // integer digits after leading zeros
  int leadZeros = 0;  // zeros after the point before the first non-zero digit (no integer digits)
  bool nonzeroSeen = false, point = false;
  int mantDigits = 0;
  // The digits as one integer and how many stand after the point, for the exact fast path below.
  uint64_t mantissa = 0;
  int fracDigits = 0;
  bool mantissaFits = true;
  for (; i < n; ++i) {
    const char c = buf[i];
    if (isDigit(c)) {
      ++mantDigits;
      if (mantissa > kPow10[18]) mantissaFits = false;
      if (mantissaFits) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
        if (point) ++fracDigits;
      }
      if (!point) {
        if (c != '0' || nonzeroSeen) ++intSig;
      } else if (!nonzeroSeen && intSig == 0 && c == '0') {
        ++leadZeros;
      }
      if (c != '0') nonzeroSeen = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (mantDigits == 0) return kFieldBad;
  long expValue = 0;
  if (i < n) {
    const char c = buf[i];
    if (c != 'E' && c != 'e' && c != 'D' && c != 'd') return kFieldBad;
    buf[i++] = 'e';
    bool expNeg = false;
    if (i < n && (buf[i] == '+' || buf[i] == '-')) expNeg = buf[i++] == '-';
    if (i == n) return kFieldBad;
    for (; i < n; ++i) {
      if (!isDigit(buf[i])) return kFieldBad;
      if (expValue < 100000) expValue = expValue * 10 + (buf[i] - '0');
    }
    if (expNeg) expValue = -expValue;
  }
  if (!nonzeroSeen) {
    value = neg ? -0.0 : 0.0;
    return kFieldOk;
  }
  // Exact fast path: an integer mantissa below 2^53 and a power of ten up to 10^22 are both exact
  // doubles, and one correctly rounded multiplication or division of them is the nearest double.
  const long e10 = expValue - fracDigits;
  if (mantissaFits && mantissa <= (uint64_t{1} << 53) && e10 >= -22 && e10 <= 22) {
    const double m = static_cast<double>(mantissa);
    const double v = e10 >= 0 ? m * kExactPow10[e10] : m / kExactPow10[-e10];
    value = neg ? -v : v;
    return kFieldOk;
  }
  // from_chars takes neither a plus sign nor a sign of its own here: parse the magnitude.
  double v = 0.0;
  const auto r = std::from_chars(buf + mantStart, buf + n, v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Decimal exponent of the first significant digit decides between underflow and overflow.
    const long magnitude = (intSig > 0 ? intSig - 1 : -(leadZeros + 1)) + expValue;
    if (magnitude >= 0) return kFieldBad;
    value = neg ? -0.0 : 0.0;
    return kFieldOk;
  }
  if (r.ec != std::errc() || r.ptr != buf + n || !std::isfinite(v)) return kFieldBad;
  value = neg ? -v : v;
  return kFieldOk;
}

int readIntField(std::string_view line, int first, int width, int64_t& value, bool* blank) {
  if (first < 1 || width < 0) {
    value = 0;
    if (blank != nullptr) *blank = false;
    return kFieldBad;
  }
  return parseInt(fieldColumns(line, first, width), value, blank);
}

int readIntField(std::string_view line, int first, int width, int32_t& value, bool* blank) {
  int64_t v = 0;
  const int code = readIntField(line, first, width, v, blank);
  value = 0;
  if (code != kFieldOk) return code;
  if (v < INT32_MIN || v > INT32_MAX) return kFieldBad;
  value = static_cast<int32_t>(v);
  return kFieldOk;
}

int readRealField(std::string_view line, int first, int width, double& value, bool* blank) {
  if (first < 1 || width < 0) {
    value = 0.0;
    if (blank != nullptr) *blank = false;
    return kFieldBad;
  }
  return parseReal(fieldColumns(line, first, width), value, blank);
}

}  // namespace basalon
