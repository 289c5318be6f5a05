// Date-time groups and calendar date text <-> DS50 UTC.
//
// Fixed groups (dtgtods50 and dtg2ds50utc), seconds with any number of decimals:
//   15 characters  "YYDDDHHMMSS.SSS"        two-digit year, 57-99 -> 19xx, 00-56 -> 20xx
//   17 characters  "YYYYDDDHHMMSS.SSS"
//   20 characters  "YYYY/DDD HHMM SS.SSS"
// Calendar text (dtg2ds50utc only; month names in any case, three letters or in full; the time
// "HH:MM", "HH:MM:SS" or "HH:MM:SS.fff..." may be left out for 0h; a trailing "Z" or "UTC" is
// allowed):
//   "1 Jan 2020 12:00:00.000", "01 JAN 2020 12:00:00"        day, month name, year
//   "2020 Jan 01 12:00:00.000", "Jan 01 2020 12:00:00"       year/month name first
//   "2020/01/01 12:00:00.000", "2020-01-01T12:00:00.000"     year, month, day
//   "2020/001 12:00:00.000", "2020-001T12:00:00.000"         year, day of year
// Day-month order with numbers only ("01/02/2020") is ambiguous and not read.
#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "Siblings/Chronel/CalendarDetail.h"
#include "Siblings/Chronel/Chronel.h"

namespace chronel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool isPad(char c) { return c == ' ' || c == '\0' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimPad(std::string_view s) {
  while (!s.empty() && isPad(s.back())) s.remove_suffix(1);
  while (!s.empty() && isPad(s.front())) s.remove_prefix(1);
  return s;
}

bool allDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!isDigit(c)) return false;
  return true;
}

// Value of a run of at most 9 digits (checked by the caller).
int digitsValue(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

// Seconds written "SS" or "SS.f..." (two whole digits).
bool parseSeconds(std::string_view s, double& sec) {
  if (s.size() < 2 || !isDigit(s[0]) || !isDigit(s[1])) return false;
  if (s.size() > 2) {
    if (s[2] != '.') return false;
    for (size_t i = 3; i < s.size(); ++i)
      if (!isDigit(s[i])) return false;
  }
  const std::string_view whole = s.substr(0, 2);
  double frac = 0.0;
  if (s.size() > 3) {
    std::string fracText = "0";
    fracText.append(s.substr(2));
    const auto r = std::from_chars(fracText.data(), fracText.data() + fracText.size(), frac);
    if (r.ec != std::errc() || r.ptr != fracText.data() + fracText.size()) return false;
  }
  sec = digitsValue(whole) + frac;
  return true;
}

// DS50 of checked clock fields; false when a field is out of range. 23:59:60.x (an inserted
// leap second as written) is accepted and counted on from 23:59:59.
bool compose(int year, int dayOfYear, int hour, int minute, double seconds, double& ds50) {
  if (year < 1 || year > 9999) return false;
  if (dayOfYear < 1 || dayOfYear > detail::daysInYear(year)) return false;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return false;
  const double secLimit = (hour == 23 && minute == 59) ? 61.0 : 60.0;
  if (!(seconds >= 0.0 && seconds < secLimit)) return false;
  ds50 = tcomps2utc(dayOfYear, hour, minute, seconds, year);
  return true;
}

// The three fixed groups; false when the text is not one of them.
bool parseFixedGroup(std::string_view t, double& ds50) {
  const size_t dot = t.find('.');
  const std::string_view intPart = t.substr(0, dot);
  if (allDigits(intPart) && (intPart.size() == 11 || intPart.size() == 13)) {
    const size_t yd = intPart.size() - 9;  // 2 or 4 year digits
    int year = digitsValue(t.substr(0, yd));
    if (yd == 2) year = fixyr(year);
    double sec = 0.0;
    if (!parseSeconds(t.substr(yd + 7), sec)) return false;
    return compose(year, digitsValue(t.substr(yd, 3)), digitsValue(t.substr(yd + 3, 2)),
                   digitsValue(t.substr(yd + 5, 2)), sec, ds50);
  }
  // "YYYY/DDD HHMM SS.SSS"
  if (t.size() >= 16 && t[4] == '/' && t[8] == ' ' && t[13] == ' ' && allDigits(t.substr(0, 4)) &&
      allDigits(t.substr(5, 3)) && allDigits(t.substr(9, 4))) {
    double sec = 0.0;
    if (!parseSeconds(t.substr(14), sec)) return false;
    return compose(digitsValue(t.substr(0, 4)), digitsValue(t.substr(5, 3)), digitsValue(t.substr(9, 2)),
                   digitsValue(t.substr(11, 2)), sec, ds50);
  }
  return false;
}

// Month number of a month name (three letters, or a longer prefix of the full name); 0 if none.
int monthOfName(std::string_view tok) {
  static constexpr std::array<std::string_view, 12> kNames = {
      "JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
      "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
  if (tok.size() < 3) return 0;
  for (size_t m = 0; m < kNames.size(); ++m)
    if (tok.size() <= kNames[m].size() && kNames[m].substr(0, tok.size()) == tok)
      return static_cast<int>(m) + 1;
  return 0;
}

// "H:MM", "HH:MM", "HH:MM:SS[.f...]".
bool parseClock(std::string_view s, int& hour, int& minute, double& sec) {
  const size_t c1 = s.find(':');
  if (c1 == std::string_view::npos || c1 < 1 || c1 > 2 || !allDigits(s.substr(0, c1))) return false;
  hour = digitsValue(s.substr(0, c1));
  const std::string_view rest = s.substr(c1 + 1);
  if (rest.size() < 2 || !allDigits(rest.substr(0, 2))) return false;
  minute = digitsValue(rest.substr(0, 2));
  sec = 0.0;
  if (rest.size() == 2) return true;
  if (rest[2] != ':') return false;
  return parseSeconds(rest.substr(3), sec);
}

// Year and day of year of the date part, tokens split at blanks, "/", "-" and ",".
bool parseDate(std::string_view s, int& year, int& dayOfYear) {
  std::array<std::string_view, 3> tok;
  size_t n = 0, i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == ' ' || c == '/' || c == '-' || c == ',') {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < s.size() && s[j] != ' ' && s[j] != '/' && s[j] != '-' && s[j] != ',') ++j;
    if (n == tok.size()) return false;
    tok[n++] = s.substr(i, j - i);
    i = j;
  }
  auto num = [](std::string_view t, size_t minLen, size_t maxLen) {
    return t.size() >= minLen && t.size() <= maxLen && allDigits(t);
  };
  int month = 0, day = 0;
  if (n == 2 && num(tok[0], 4, 4) && num(tok[1], 1, 3)) {  // year, day of year
    year = digitsValue(tok[0]);
    dayOfYear = digitsValue(tok[1]);
    return dayOfYear >= 1 && dayOfYear <= detail::daysInYear(year);
  }
  if (n != 3) return false;
  if (num(tok[0], 4, 4) && num(tok[1], 1, 2) && num(tok[2], 1, 2)) {  // year, month, day
    year = digitsValue(tok[0]);
    month = digitsValue(tok[1]);
    day = digitsValue(tok[2]);
  } else if (num(tok[0], 4, 4) && monthOfName(tok[1]) && num(tok[2], 1, 2)) {
    year = digitsValue(tok[0]);
    month = monthOfName(tok[1]);
    day = digitsValue(tok[2]);
  } else if (num(tok[0], 1, 2) && monthOfName(tok[1]) && (num(tok[2], 4, 4) || num(tok[2], 2, 2))) {
    day = digitsValue(tok[0]);
    month = monthOfName(tok[1]);
    year = tok[2].size() == 2 ? fixyr(digitsValue(tok[2])) : digitsValue(tok[2]);
  } else if (monthOfName(tok[0]) && num(tok[1], 1, 2) && num(tok[2], 4, 4)) {
    month = monthOfName(tok[0]);
    day = digitsValue(tok[1]);
    year = digitsValue(tok[2]);
  } else {
    return false;
  }
  dayOfYear = mmdd2jul(year, month, day);
  return dayOfYear > 0;
}

bool parseCalendarText(std::string_view t, double& ds50) {
  constexpr size_t kLongest = 64;  // no calendar form is longer
  if (t.size() > kLongest) return false;
  std::string u(t);
  for (char& c : u) c = upper(c);
  std::string_view v(u);
  if (v.size() > 3 && v.substr(v.size() - 3) == "UTC") v = trimPad(v.substr(0, v.size() - 3));
  if (v.size() > 1 && v.back() == 'Z' && isDigit(v[v.size() - 2])) v.remove_suffix(1);

  int hour = 0, minute = 0;
  double sec = 0.0;
  std::string_view datePart = v;
  const size_t colon = v.find(':');
  if (colon != std::string_view::npos) {
    size_t hs = colon;
    while (hs > 0 && isDigit(v[hs - 1])) --hs;
    if (hs == 0 || !parseClock(v.substr(hs), hour, minute, sec)) return false;
    const char sep = v[hs - 1];
    if (sep == 'T') {
      if (hs < 2 || !isDigit(v[hs - 2])) return false;
    } else if (sep != ' ') {
      return false;
    }
    datePart = trimPad(v.substr(0, hs - 1));
  }
  for (char c : datePart)
    if (!isDigit(c) && !isAlpha(c) && c != ' ' && c != '/' && c != '-' && c != ',') return false;
  int year = 0, dayOfYear = 0;
  if (!parseDate(datePart, year, dayOfYear)) return false;
  return compose(year, dayOfYear, hour, minute, sec, ds50);
}

// Writes a non-negative value as exactly `width` digits.
void putDigits(char* p, int64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    p[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

enum class GroupForm { k15, k17, k20 };

std::string formatGroup(double ds50, GroupForm form) {
  const size_t len = form == GroupForm::k15 ? 15 : (form == GroupForm::k17 ? 17 : 20);
  detail::ClockFields f;
  if (!detail::fieldsOfDs50(ds50, 3, f) || f.year < 0 || f.year > 9999) return std::string(len, '*');
  std::string out(len, ' ');
  char* p = out.data();
  if (form == GroupForm::k15) {
    putDigits(p, f.year % 100, 2);
    p += 2;
  } else {
    putDigits(p, f.year, 4);
    p += 4;
    if (form == GroupForm::k20) *p++ = '/';
  }
  putDigits(p, f.dayOfYear, 3);
  p += 3;
  if (form == GroupForm::k20) *p++ = ' ';
  putDigits(p, f.hour, 2);
  putDigits(p + 2, f.minute, 2);
  p += 4;
  if (form == GroupForm::k20) *p++ = ' ';
  putDigits(p, f.secondTicks / 1000, 2);
  p[2] = '.';
  putDigits(p + 3, f.secondTicks % 1000, 3);
  return out;
}

}  // namespace

double dtgtods50(std::string_view dtg) {
  double ds50 = 0.0;
  return parseFixedGroup(trimPad(dtg), ds50) ? ds50 : 0.0;
}

double dtg2ds50utc(std::string_view text) {
  const std::string_view t = trimPad(text);
  double ds50 = 0.0;
  if (parseFixedGroup(t, ds50)) return ds50;
  return parseCalendarText(t, ds50) ? ds50 : 0.0;
}

std::string ds50todate15(double ds50) { return formatGroup(ds50, GroupForm::k15); }
std::string ds50toyydate15(double ds50) { return formatGroup(ds50, GroupForm::k17); }
std::string ds50ToDate20(double ds50) { return formatGroup(ds50, GroupForm::k20); }

}  // namespace chronel
