// TLE line reader: field values from their columns, the failures of malformed lines, and the
// write-back of the lines as read.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Siblings/Lineset/TleParse.h"
#include "common/TestSupport.h"

namespace {

using lineset::parseTle;
using lineset::TleRecord;

// Vanguard 1 (catalogue 5) as the verification file carries it.
const std::string kL1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753";
const std::string kL2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667";

// The line with column `col` (1-based) replaced and its checksum made right again.
std::string withColumn(std::string line, size_t col, char c) {
  line[col - 1] = c;
  line[68] = static_cast<char>('0' + lineset::tleChecksum(line));
  return line;
}

int readCode(const std::string& l1, const std::string& l2, std::string* msg = nullptr) {
  TleRecord r;
  std::string m;
  const int code = parseTle("", l1, l2, r, m);
  if (msg != nullptr) *msg = m;
  if (code != 0) {
    EXPECT_FALSE(m.empty()) << "failure without a message";
    EXPECT_EQ(r.satNum, 0) << "record not cleared on failure";
  }
  return code;
}

TEST(TleReader, ReadsEveryFieldFromItsColumns) {
  TleRecord r;
  std::string msg;
  ASSERT_EQ(parseTle("  VANGUARD 1  ", kL1 + "\r\n", kL2 + "\r\n", r, msg), 0) << msg;
  EXPECT_EQ(r.satNum, 5);
  EXPECT_EQ(r.classification, 'U');
  EXPECT_EQ(r.designator, "58002B  ");
  EXPECT_EQ(r.epochYear, 2000);
  EXPECT_DOUBLE_EQ(r.epochDay, 179.78495062);
  EXPECT_DOUBLE_EQ(r.nDotOver2, 0.00000023);
  EXPECT_DOUBLE_EQ(r.nDDotOver6, 0.0);
  EXPECT_DOUBLE_EQ(r.dragB, 0.28098e-4);
  EXPECT_EQ(r.eltType, lineset::kEltTleSgp4);
  EXPECT_EQ(r.elsetNum, 475);
  EXPECT_DOUBLE_EQ(r.incl, 34.2682);
  EXPECT_DOUBLE_EQ(r.node, 348.7242);
  EXPECT_DOUBLE_EQ(r.ecc, 0.1859667);
  EXPECT_DOUBLE_EQ(r.argPerigee, 331.7664);
  EXPECT_DOUBLE_EQ(r.meanAnomaly, 19.3264);
  EXPECT_DOUBLE_EQ(r.meanMotion, 10.82419157);
  EXPECT_EQ(r.revNum, 41366);
  EXPECT_EQ(r.name, "VANGUARD 1");
  std::string w1, w2;
  lineset::writeTle(r, w1, w2);
  EXPECT_EQ(w1, kL1);  // CR LF dropped, everything else as read
  EXPECT_EQ(w2, kL2);
}

TEST(TleReader, ImpliedDecimalForms) {
  // Negative B*, positive exponent, signed nddot and a 19xx epoch.
  const std::string l1 = "1 16925U 86065D   86151.67415771  .02550794 -30915-6 -18784+1 0  4486";
  const std::string l2 = "2 16925  62.0906 295.0239 5596327 245.1593  47.9690  4.88511875148616";
  TleRecord r;
  std::string msg;
  ASSERT_EQ(parseTle("", withColumn(l1, 1, '1'), withColumn(l2, 1, '2'), r, msg), 0) << msg;
  EXPECT_EQ(r.epochYear, 1986);
  EXPECT_DOUBLE_EQ(r.nDDotOver6, -0.30915e-6);
  EXPECT_DOUBLE_EQ(r.dragB, -1.8784);
  EXPECT_DOUBLE_EQ(r.ecc, 0.5596327);
}

TEST(TleReader, ElementTypeFromColumn63) {
  const std::pair<char, int> accepted[] = {{' ', 2}, {'0', 2}, {'2', 2}, {'1', 1}, {'3', 3}, {'7', 7}};
  for (const auto& [c, type] : accepted) {
    TleRecord r;
    std::string msg;
    ASSERT_EQ(parseTle("", withColumn(kL1, 63, c), kL2, r, msg), 0) << c << ": " << msg;
    EXPECT_EQ(r.eltType, type) << c;
    if (type == 3 || type == 7) {
      // SP and XP sets: column 45-52 is the radiation term, 54-61 the ballistic term.
      EXPECT_DOUBLE_EQ(r.dragC, 0.28098e-4);
      EXPECT_DOUBLE_EQ(r.dragB, 0.0);
    }
  }
  for (char c : {'4', '5', '6', '8', '9', 'A'})
    EXPECT_EQ(readCode(withColumn(kL1, 63, c), kL2), lineset::kTleBadEltType) << c;
}

TEST(TleReader, ChecksumFailuresOnEitherLine) {
  std::string bad1 = kL1, bad2 = kL2;
  bad1[68] = '4';
  bad2[68] = '0';
  std::string msg;
  EXPECT_EQ(readCode(bad1, kL2, &msg), lineset::kTleChecksum);
  EXPECT_NE(msg.find("line 1"), std::string::npos) << msg;
  EXPECT_EQ(readCode(kL1, bad2, &msg), lineset::kTleChecksum);
  EXPECT_NE(msg.find("line 2"), std::string::npos) << msg;
  // A changed digit with the old checksum is caught; '-' counts one, '+' nothing.
  std::string digit = kL2;
  digit[10] = '5';
  EXPECT_EQ(readCode(kL1, digit), lineset::kTleChecksum);
  std::string minus = kL1;
  minus[33] = '-';  // blank before ".00000023" becomes '-': sum +1
  EXPECT_EQ(readCode(minus, kL2), lineset::kTleChecksum);
  minus[68] = static_cast<char>('0' + (kL1[68] - '0' + 1) % 10);
  EXPECT_EQ(readCode(minus, kL2), 0);
  // Relaxed reading accepts the made-up sets with wrong checksums.
  TleRecord r;
  lineset::TleReadOptions relaxed;
  relaxed.verifyChecksum = false;
  EXPECT_EQ(parseTle("", bad1, bad2, r, msg, relaxed), 0) << msg;
}

TEST(TleReader, MalformedLinesFail) {
  EXPECT_EQ(readCode(kL1.substr(0, 68), kL2), lineset::kTleShortLine);
  EXPECT_EQ(readCode(kL1, kL2.substr(0, 60) + "         \r\n"), lineset::kTleShortLine);
  EXPECT_EQ(readCode("", kL2), lineset::kTleBlankLine);
  EXPECT_EQ(readCode(kL1, std::string(69, ' ')), lineset::kTleBlankLine);
  EXPECT_EQ(readCode(std::string(69, '\0'), kL2), lineset::kTleBlankLine);
  std::string nul = kL2;
  nul[20] = '\0';
  EXPECT_EQ(readCode(kL1, nul), lineset::kTleBadField);
  EXPECT_EQ(readCode(kL2, kL1), lineset::kTleLineNumber);
  EXPECT_EQ(readCode(withColumn(kL1, 2, '0'), kL2), lineset::kTleLineNumber);
  // Satellite numbers differ.
  const std::string other = withColumn(kL2, 7, '6');
  std::string msg;
  EXPECT_EQ(readCode(kL1, other, &msg), lineset::kTleSatNumMismatch);
  EXPECT_NE(msg.find('6'), std::string::npos) << msg;
  // Text after column 69 is allowed (the verification file's start/stop/step).
  EXPECT_EQ(readCode(kL1 + "  extra", kL2 + "     0.00      4320.0        360.00"), 0);
}

TEST(TleReader, AlphaCharactersInNumericColumns) {
  struct Case {
    int line;
    size_t col;
  };
  // Satellite number, epoch year and day, ndot, nddot, B*, element set number; inclination,
  // node, eccentricity, perigee, mean anomaly, mean motion, revolution number.
  const Case cases[] = {{1, 5},  {1, 20}, {1, 25}, {1, 40}, {1, 48}, {1, 57}, {1, 66},
                        {2, 12}, {2, 20}, {2, 30}, {2, 38}, {2, 47}, {2, 58}, {2, 66}};
  for (const Case& c : cases) {
    const std::string l1 = c.line == 1 ? withColumn(kL1, c.col, 'X') : kL1;
    const std::string l2 = c.line == 2 ? withColumn(kL2, c.col, 'X') : kL2;
    std::string msg;
    const int code = readCode(l1, l2, &msg);
    // Column 5 makes the satellite numbers differ only after line 1 fails, so every case is a
    // field failure.
    EXPECT_EQ(code, lineset::kTleBadField) << "line " << c.line << " column " << c.col << ": " << msg;
  }
  // A zero or negative mean motion reads but cannot be a satellite.
  EXPECT_EQ(readCode(kL1, withColumn(withColumn(kL2, 53, '-'), 54, '0')), lineset::kTleBadValue);
}

TEST(TleReader, CatalogReadsAndWritesBackExactly) {
  const std::string path = zktest::dataPath("tle/catalog.tle");
  ZK_REQUIRE_DATA(path);
  std::ifstream in(path);
  std::string name, l1, l2;
  int count = 0;
  while (std::getline(in, name) && std::getline(in, l1) && std::getline(in, l2)) {
    TleRecord r;
    std::string msg;
    ASSERT_EQ(parseTle(name, l1, l2, r, msg), 0) << l1 << ": " << msg;
    std::string w1, w2;
    lineset::writeTle(r, w1, w2);
    ASSERT_EQ(w1, l1);
    ASSERT_EQ(w2, l2);
    ++count;
  }
  EXPECT_EQ(count, 4904);
}

}  // namespace
