// Fixed-column reading of the two TLE lines: line numbers, checksums, satellite numbers, the
// implied-decimal forms (" 12345-3" for 0.12345e-3, "1859667" for 0.1859667) and element types.
#include "Siblings/Lineset/TleParse.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "Siblings/Basalon/Format.h"

namespace lineset {
namespace {

constexpr size_t kTleColumns = 69;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The line without its line end and trailing blanks (CR, LF, blank, tab).
std::string_view stripLineEnd(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && (s[n - 1] == '\r' || s[n - 1] == '\n')) --n;
  return s.substr(0, n);
}

std::string_view stripTrailing(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && (s[n - 1] == '\r' || s[n - 1] == '\n' || isBlank(s[n - 1]))) --n;
  return s.substr(0, n);
}

bool blankOrNul(std::string_view s) {
  for (char c : s)
    if (!(isBlank(c) || c == '\0' || c == '\r' || c == '\n')) return false;
  return true;
}

// Columns first..last (1-based, inclusive) of a line known to have at least `last` columns.
std::string_view cols(std::string_view line, size_t first, size_t last) {
  return line.substr(first - 1, last - first + 1);
}

std::string_view trimField(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Whole digits of s into value; false when s holds anything else or is too long.
bool readDigits(std::string_view s, long long& value) {
  if (s.empty() || s.size() > 15) return false;
  value = 0;
  for (char c : s) {
    if (!isDigit(c)) return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// Signed integer field (Basalon's fixed-column reading); a blank field reads as 0 when allowed.
bool readInt(std::string_view field, bool blankIsZero, int32_t& out) {
  int64_t v = 0;
  bool blank = false;
  out = 0;
  if (basalon::parseInt(field, v, &blank) != basalon::kFieldOk) return false;
  if (blank) return blankIsZero;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  out = static_cast<int32_t>(v);
  return true;
}

// Decimal field (Basalon's fixed-column reading); a blank field reads as 0 when allowed.
bool readReal(std::string_view field, bool blankIsZero, double& out) {
  bool blank = false;
  if (basalon::parseReal(field, out, &blank) != basalon::kFieldOk) return false;
  return !blank || blankIsZero;
}

// Correctly rounded value of a validated decimal text.
double toDouble(const std::string& text) {
  double v = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v;
}

// Implied-decimal field: "[sign]ddddd[sign]d" is +-0.ddddd x 10^+-d; the exponent may be left
// out. Blank reads as 0.
bool readImplied(std::string_view field, double& out) {
  std::string_view s = trimField(field);
  out = 0;
  if (s.empty()) return true;
  std::string text;
  if (s.front() == '-' || s.front() == '+') {
    if (s.front() == '-') text += '-';
    s.remove_prefix(1);
  }
  if (!s.empty() && s.front() == '.') s.remove_prefix(1);
  size_t n = 0;
  while (n < s.size() && isDigit(s[n])) ++n;
  if (n == 0) return false;
  text += "0.";
  text.append(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
  if (n < s.size()) {
    const char sign = s[n];
    long long e = 0;
    if ((sign != '-' && sign != '+') || !readDigits(s.substr(n + 1), e) || e > 99) return false;
    text += 'e';
    text += sign;
    text += std::to_string(e);
  }
  out = toDouble(text);
  return true;
}

// Eccentricity with its leading decimal point implied: "1859667" is 0.1859667.
bool readImpliedFraction(std::string_view field, double& out) {
  std::string_view s = trimField(field);
  out = 0;
  if (s.empty()) return false;
  for (char c : s)
    if (!isDigit(c)) return false;
  out = toDouble("0." + std::string(s));
  return true;
}

int fail(int code, std::string& message, const std::string& text) {
  message = "parseTle: " + text;
  return code;
}

int eltTypeOf(char c) {
  switch (c) {
    case ' ':
    case '0':
    case '2':
      return kEltTleSgp4;
    case '1':
      return kEltTleSgp;
    case '3':
      return kEltTleSp;
    case '7':
      return kEltTleXp;
    default:
      return -1;
  }
}

// Shape checks common to both lines: present, long enough, its line number, its checksum.
int checkLine(std::string_view raw, char lineNo, bool verifyChecksum, std::string& message) {
  const std::string which = std::string("line ") + lineNo;
  if (blankOrNul(raw)) return fail(kTleBlankLine, message, which + " is blank.");
  const std::string_view line = stripTrailing(raw);
  if (line.size() < kTleColumns)
    return fail(kTleShortLine, message,
                which + " has " + std::to_string(line.size()) + " columns, 69 are needed.");
  for (size_t i = 0; i < kTleColumns; ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c < 0x20 || c > 0x7e)
      return fail(kTleBadField, message,
                  which + " has an unprintable character in column " + std::to_string(i + 1) + ".");
  }
  if (line[0] != lineNo || line[1] != ' ')
    return fail(kTleLineNumber, message, which + " does not start with \"" + lineNo + " \".");
  if (verifyChecksum) {
    const int sum = tleChecksum(line);
    if (!isDigit(line[68]) || line[68] - '0' != sum)
      return fail(kTleChecksum, message,
                  which + " checksum error: column 69 is '" + line[68] + "', the sum gives " +
                      std::to_string(sum) + ".");
  }
  return kTleOk;
}

int badField(std::string& message, int line, const char* what, size_t first, size_t last) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "line %d columns %zu-%zu (%s) are not a number.", line, first, last, what);
  return fail(kTleBadField, message, buf);
}

int readLine1(std::string_view l, TleRecord& r, std::string& message) {
  if (!readInt(cols(l, 3, 7), false, r.satNum) || r.satNum < 0)
    return badField(message, 1, "satellite number", 3, 7);
  r.classification = l[7];
  r.designator = std::string(cols(l, 10, 17));
  int32_t yy = 0;
  const std::string_view yf = cols(l, 19, 20);
  if (!isDigit(yf[1]) || !readInt(yf, false, yy) || yy < 0) return badField(message, 1, "epoch year", 19, 20);
  r.epochYear = yy < 57 ? 2000 + yy : 1900 + yy;
  if (!readReal(cols(l, 21, 32), false, r.epochDay)) return badField(message, 1, "epoch day", 21, 32);
  if (r.epochDay < 1.0 || r.epochDay >= 367.0)
    return fail(kTleBadValue, message,
                "line 1 epoch day " + std::string(cols(l, 21, 32)) + " is out of range.");
  if (!readReal(cols(l, 34, 43), true, r.nDotOver2)) return badField(message, 1, "ndot/2", 34, 43);
  double col45 = 0, col54 = 0;
  if (!readImplied(cols(l, 45, 52), col45)) return badField(message, 1, "nddot/6", 45, 52);
  if (!readImplied(cols(l, 54, 61), col54)) return badField(message, 1, "drag term", 54, 61);
  r.ephemType = l[62];
  r.eltType = eltTypeOf(l[62]);
  if (r.eltType < 0)
    return fail(kTleBadEltType, message,
                std::string("line 1 column 63 ephemeris type '") + l[62] + "' is not known.");
  if (r.eltType == kEltTleSp || r.eltType == kEltTleXp) {
    r.dragA = col45;  // solar radiation pressure term
    r.dragC = col54;  // ballistic coefficient term
  } else {
    r.nDDotOver6 = col45;
    r.dragB = col54;  // B*
  }
  if (!readInt(cols(l, 65, 68), true, r.elsetNum) || r.elsetNum < 0)
    return badField(message, 1, "element set number", 65, 68);
  return kTleOk;
}

int readLine2(std::string_view l, TleRecord& r, std::string& message) {
  int32_t sat2 = 0;
  if (!readInt(cols(l, 3, 7), false, sat2) || sat2 < 0) return badField(message, 2, "satellite number", 3, 7);
  if (sat2 != r.satNum)
    return fail(kTleSatNumMismatch, message,
                "line 1 satellite number " + std::to_string(r.satNum) + " differs from line 2's " +
                    std::to_string(sat2) + ".");
  if (!readReal(cols(l, 9, 16), false, r.incl)) return badField(message, 2, "inclination", 9, 16);
  if (!readReal(cols(l, 18, 25), false, r.node)) return badField(message, 2, "node", 18, 25);
  if (!readImpliedFraction(cols(l, 27, 33), r.ecc)) return badField(message, 2, "eccentricity", 27, 33);
  if (!readReal(cols(l, 35, 42), false, r.argPerigee))
    return badField(message, 2, "argument of perigee", 35, 42);
  if (!readReal(cols(l, 44, 51), false, r.meanAnomaly)) return badField(message, 2, "mean anomaly", 44, 51);
  if (!readReal(cols(l, 53, 63), false, r.meanMotion)) return badField(message, 2, "mean motion", 53, 63);
  if (!readInt(cols(l, 64, 68), true, r.revNum) || r.revNum < 0)
    return badField(message, 2, "revolution number", 64, 68);
  if (!(r.meanMotion > 0.0))
    return fail(kTleBadValue, message,
                "line 2 mean motion " + std::string(cols(l, 53, 63)) + " is not positive.");
  // Angles in degrees: inclination 0 to 180, the others 0 to 360.
  struct Angle {
    double value;
    const char* name;
    size_t first, last;
    int maxDeg;
  };
  const Angle angles[] = {{r.incl, "inclination", 9, 16, 180},
                          {r.node, "right ascension of the node", 18, 25, 360},
                          {r.argPerigee, "argument of perigee", 35, 42, 360},
                          {r.meanAnomaly, "mean anomaly", 44, 51, 360}};
  for (const Angle& a : angles)
    if (!(a.value >= 0.0 && a.value <= a.maxDeg))
      return fail(kTleBadValue, message,
                  "line 2 " + std::string(a.name) + " " + std::string(trimField(cols(l, a.first, a.last))) +
                      " is outside 0 to " + std::to_string(a.maxDeg) + " degrees.");
  return kTleOk;
}

}  // namespace

int tleChecksum(std::string_view line) {
  if (line.size() < kTleColumns - 1) return -1;
  int sum = 0;
  for (size_t i = 0; i < kTleColumns - 1; ++i) {
    if (isDigit(line[i]))
      sum += line[i] - '0';
    else if (line[i] == '-')
      sum += 1;
  }
  return sum % 10;
}

int parseTle(std::string_view name, std::string_view line1, std::string_view line2, TleRecord& out,
             std::string& message, const TleReadOptions& options) {
  out = TleRecord{};
  message.clear();
  int code = checkLine(line1, '1', options.verifyChecksum, message);
  if (code == kTleOk) code = checkLine(line2, '2', options.verifyChecksum, message);
  TleRecord r;
  if (code == kTleOk) code = readLine1(stripTrailing(line1), r, message);
  if (code == kTleOk) code = readLine2(stripTrailing(line2), r, message);
  if (code != kTleOk) return code;
  std::string_view nm = stripTrailing(name);
  while (!nm.empty() && (isBlank(nm.front()) || nm.front() == '\0')) nm.remove_prefix(1);
  r.name.assign(nm.begin(), nm.end());
  r.line1 = std::string(stripLineEnd(line1));
  r.line2 = std::string(stripLineEnd(line2));
  out = std::move(r);
  return kTleOk;
}

void writeTle(const TleRecord& rec, std::string& line1, std::string& line2) {
  line1 = rec.line1;
  line2 = rec.line2;
}

}  // namespace lineset
