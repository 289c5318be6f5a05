// Fixed-length, blank-padded character fields as hosts pass them (no terminator).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace basalon {

// The text without trailing blanks and NULs.
inline std::string_view trimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\0')) --n;
  return s.substr(0, n);
}

// The text without leading and trailing blanks and NULs.
inline std::string_view trim(std::string_view s) {
  s = trimRight(s);
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\0')) ++i;
  return s.substr(i);
}

// A host buffer of exactly `length` characters as a string: NULs become blanks, nothing is trimmed.
inline std::string chararrtostr(const char* buf, size_t length) {
  std::string s(buf != nullptr ? buf : "", buf != nullptr ? length : 0);
  std::replace(s.begin(), s.end(), '\0', ' ');
  return s;
}

// A host name or text of at most `length` characters read to its first NUL (what a C host's
// strcpy into a larger buffer leaves), trailing blanks dropped. Null gives an empty text.
inline std::string hostText(const char* buf, size_t length) {
  if (buf == nullptr) return {};
  const void* nul = std::memchr(buf, '\0', length);
  const size_t n = nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - buf) : length;
  return std::string(trimRight(std::string_view(buf, n)));
}

// Copies text into a host buffer of `length` characters, cut or blank padded; no terminator.
inline void strtochararr(std::string_view s, char* buf, size_t length) {
  if (buf == nullptr) return;
  const size_t n = std::min(s.size(), length);
  std::memcpy(buf, s.data(), n);
  std::memset(buf + n, ' ', length - n);
}

// A record field of N characters, blank padded, not terminated.
template <size_t N>
struct FixedText {
  std::array<char, N> c;
  FixedText() { c.fill(' '); }
  FixedText(std::string_view s) { set(s); }  // NOLINT: implicit from text is the point
  void set(std::string_view s) { strtochararr(s, c.data(), N); }
  std::string_view view() const { return std::string_view(c.data(), N); }
  std::string str() const { return std::string(trimRight(view())); }
  bool operator==(const FixedText& o) const { return c == o.c; }
  static constexpr size_t size() { return N; }
};

}  // namespace basalon
