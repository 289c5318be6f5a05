// Text services of the support library: case, blanks and NULs, numbers from text, replacement,
// keyword-card values, fx0toax and the iterative quicksort of sort strings with their keys.
#include "Siblings/Basalon/Strings.h"

#include <cmath>
#include <cstring>
#include <utility>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"

namespace basalon {

std::string touppercase(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string tolowercase(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool isblankornull(std::string_view text) {
  for (const char c : text)
    if (c != ' ' && c != '\0') return false;
  return true;
}

void nulltospace(char* text, size_t length) {
  if (text == nullptr) return;
  for (size_t i = 0; i < length; ++i)
    if (text[i] == '\0') text[i] = ' ';
}

void nulltospace(std::string& text) { nulltospace(text.data(), text.size()); }

void blanktozerochar(char* text, size_t length) {
  if (text == nullptr) return;
  for (size_t i = 0; i < length; ++i)
    if (text[i] == ' ') text[i] = '0';
}

void blanktozerochar(std::string& text) { blanktozerochar(text.data(), text.size()); }

bool strtoint(std::string_view text, int32_t& value) {
  const std::string_view t = trim(text);
  int64_t v = 0;
  bool blank = false;
  if (t.empty() || t.find(' ') != std::string_view::npos || parseInt(t, v, &blank) != kFieldOk ||
      v < INT32_MIN || v > INT32_MAX) {
    value = kNotANumber;
    return false;
  }
  value = static_cast<int32_t>(v);
  return true;
}

bool strtoreal(std::string_view text, double& value) {
  const std::string_view t = trim(text);
  bool blank = false;
  if (t.empty() || t.find(' ') != std::string_view::npos || parseReal(t, value, &blank) != kFieldOk) {
    value = kNotANumber;
    return false;
  }
  return true;
}

int32_t strtoint(std::string_view text) {
  int32_t v = 0;
  strtoint(text, v);
  return v;
}

double strtoreal(std::string_view text) {
  double v = 0.0;
  strtoreal(text, v);
  return v;
}

std::string replacestring(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t hit = text.find(from, i);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(i, hit - i));
    out.append(to);
    i = hit + from.size();
  }
  if (i < text.size()) out.append(text.substr(i));
  return out;
}

static_assert(sizeof(SortString) == kSortStringLength);

namespace {

constexpr size_t kCardFileNameLength = 512;
constexpr int kMaxFx0Width = 64;
constexpr int kFx0WantedDigits = 8;

// Significant digits shown by a fixed-point field: from the first non-zero digit to the end.
int shownSignificant(const char* field, int w) {
  int n = 0;
  bool started = false;
  for (int i = 0; i < w; ++i) {
    const char c = field[i];
    if (c < '0' || c > '9') continue;
    if (c != '0') started = true;
    if (started) ++n;
  }
  return n;
}

}  // namespace

bool fx0toax(double value, int width, char* out) {
  if (out == nullptr || width <= 0) return false;
  if (width > kMaxFx0Width || !std::isfinite(value)) {
    std::memset(out, '*', static_cast<size_t>(width));
    return false;
  }
  const double a = std::fabs(value);
  const int sign = std::signbit(value) && a != 0.0 ? 1 : 0;
  // Integer digits of the value (1 below one); the decimals are what remains after sign and point.
  const int intDigits = a < 1.0 ? 1 : static_cast<int>(std::floor(std::log10(a))) + 1;
  const int eDigits = width - 7;
  char fixed[kMaxFx0Width];
  bool fixedOk = false;
  int fixedDigits = 0;
  for (int d = width - 1 - sign - intDigits; d >= 0 && d >= width - 3 - sign - intDigits && !fixedOk; --d) {
    fixedOk = writeF(fixed, width, d, value);  // one decimal less when rounding carried
    if (fixedOk) fixedDigits = a == 0.0 ? width : shownSignificant(fixed, width);
  }
  const int wanted = eDigits < kFx0WantedDigits ? eDigits : kFx0WantedDigits;
  if (fixedOk && fixedDigits >= wanted) {
    std::memcpy(out, fixed, static_cast<size_t>(width));
    return true;
  }
  if (eDigits >= 1 && writeE(out, width, eDigits, value)) return true;
  if (fixedOk) {
    std::memcpy(out, fixed, static_cast<size_t>(width));
    return true;
  }
  std::memset(out, '*', static_cast<size_t>(width));
  return false;
}

std::string fx0toax(double value, int width) {
  std::string s(static_cast<size_t>(width > 0 ? width : 0), ' ');
  if (width > 0) fx0toax(value, width, s.data());
  return s;
}

std::string getinputstr(std::string_view card) {
  size_t i = 0;
  const auto isblank = [](char c) { return c == ' ' || c == '\0'; };
  while (i < card.size() && isblank(card[i])) ++i;
  // The keyword runs to the first blank or "=".
  while (i < card.size() && !isblank(card[i]) && card[i] != '=') ++i;
  while (i < card.size() && isblank(card[i])) ++i;
  if (i < card.size() && card[i] == '=') ++i;
  return std::string(trim(card.substr(i)));
}

std::string getinputfilename(std::string_view card) {
  std::string value = getinputstr(card);
  if (value.size() > kCardFileNameLength) value.resize(kCardFileNameLength);
  return std::string(trimRight(value));
}

// ---- Sort of sort strings with their keys ----

namespace {

constexpr std::ptrdiff_t kInsertionRun = 12;

struct SortItems {
  char* s;  // n strings of kSortStringLength characters, end to end
  int64_t* k;

  const char* str(std::ptrdiff_t i) const { return s + i * static_cast<std::ptrdiff_t>(kSortStringLength); }
  static bool less(const char* a, int64_t ka, const char* b, int64_t kb) {
    const int c = std::memcmp(a, b, kSortStringLength);
    return c < 0 || (c == 0 && ka < kb);
  }
  bool less(std::ptrdiff_t i, std::ptrdiff_t j) const { return less(str(i), k[i], str(j), k[j]); }
  void swap(std::ptrdiff_t i, std::ptrdiff_t j) const {
    char tmp[kSortStringLength];
    char* a = s + i * static_cast<std::ptrdiff_t>(kSortStringLength);
    char* b = s + j * static_cast<std::ptrdiff_t>(kSortStringLength);
    std::memcpy(tmp, a, kSortStringLength);
    std::memcpy(a, b, kSortStringLength);
    std::memcpy(b, tmp, kSortStringLength);
    std::swap(k[i], k[j]);
  }

  void insertion(std::ptrdiff_t lo, std::ptrdiff_t hi) const {
    for (std::ptrdiff_t i = lo + 1; i <= hi; ++i)
      for (std::ptrdiff_t j = i; j > lo && less(j, j - 1); --j) swap(j, j - 1);
  }

  // Hoare partition of [lo, hi] around the median of three; returns j with [lo, j] <= [j+1, hi].
  std::ptrdiff_t partition(std::ptrdiff_t lo, std::ptrdiff_t hi) const {
    const std::ptrdiff_t mid = lo + (hi - lo) / 2;
    if (less(mid, lo)) swap(mid, lo);
    if (less(hi, lo)) swap(hi, lo);
    if (less(hi, mid)) swap(hi, mid);
    char ps[kSortStringLength];
    std::memcpy(ps, str(mid), kSortStringLength);
    const int64_t pk = k[mid];
    std::ptrdiff_t i = lo - 1, j = hi + 1;
    for (;;) {
      do ++i;
      while (less(str(i), k[i], ps, pk));
      do --j;
      while (less(ps, pk, str(j), k[j]));
      if (i >= j) return j;
      swap(i, j);
    }
  }

  void sort(std::ptrdiff_t n) const {
    struct Range {
      std::ptrdiff_t lo, hi;
    };
    Range stack[64];  // the smaller part is always done first, so depth <= log2(n)
    int top = 0;
    stack[top++] = {0, n - 1};
    while (top > 0) {
      Range r = stack[--top];
      while (r.hi - r.lo + 1 > kInsertionRun) {
        const std::ptrdiff_t j = partition(r.lo, r.hi);
        Range left{r.lo, j}, right{j + 1, r.hi};
        if (left.hi - left.lo > right.hi - right.lo) std::swap(left, right);
        stack[top++] = right;  // the larger part waits
        r = left;
      }
      insertion(r.lo, r.hi);
    }
  }
};

}  // namespace

void quicksortiterative(std::span<SortString> strs, std::span<int64_t> keys) {
  if (strs.size() != keys.size() || strs.size() < 2) return;
  // The strings are plain arrays of chars, so the block is read and written as characters.
  SortItems{reinterpret_cast<char*>(strs.data()), keys.data()}.sort(static_cast<std::ptrdiff_t>(strs.size()));
}

void quicksortiterative(char* strs, int64_t* keys, int n) {
  if (strs == nullptr || keys == nullptr || n < 2) return;
  SortItems{strs, keys}.sort(n);
}

}  // namespace basalon
