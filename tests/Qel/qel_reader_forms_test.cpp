// The Qel text forms read back: card types, the multi-line, concatenated and one-line forms written
// by the Qel writer and read again field for field, and each form's refusals with their messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Qel/QelCardReading.h"
#include "Siblings/Basalon/Result.h"
#include "common/TestSupport.h"
#include "qel_reader_samples.h"

namespace {

using qeltest::Form;
using qeltest::sampleRecord;

// The lines in a buffer of 80-column lines, as MultiLine2Qel takes them.
std::string buffer80(const std::vector<std::string>& lines) {
  std::string buf;
  for (const std::string& l : lines) buf += l + std::string(80 - std::min<size_t>(80, l.size()), ' ');
  return buf;
}

qel::QelRecord readLines(const std::vector<std::string>& lines) {
  qel::QelRecord rec;
  const std::string buf = buffer80(lines);
  qel::MultiLine2Qel(rec, buf, 80);
  return rec;
}

// Overwrites columns first.. of a line (padding it when short).
void put(std::string& line, size_t first, const std::string& text) {
  if (line.size() < first - 1 + text.size()) line.resize(first - 1 + text.size(), ' ');
  line.replace(first - 1, text.size(), text);
}

TEST(QelReaderCardType, EachCardByItsColumnsWhateverItsCase) {
  const std::string one = qeltest::oneLine(sampleRecord());
  EXPECT_EQ(qel::QelCardType("<> SP VECTOR/COVARIANCE MESSAGE - V2.0"), qel::kQelCardMultiLine);
  EXPECT_EQ(qel::QelCardType("<> sp vector/covariance message"), qel::kQelCardMultiLine);
  EXPECT_EQ(qel::QelCardType(one), qel::kQelCardOneLine);
  std::string shifted = one;
  shifted[5] = '1';  // column 6 must be blank
  EXPECT_EQ(qel::QelCardType(shifted), qel::kQelCardNone);
  for (const char* card :
       {"VECFIL=a", "vectorfile b", "ELTFIL", "ElsetFile = c", "SPVMSG", "qelfil=x", "SATFIL"})
    EXPECT_EQ(qel::QelCardType(card), qel::kQelCardInputFile) << card;
  EXPECT_EQ(qel::QelCardType("satellite number: 12345"), qel::kQelCardShortForm);
  EXPECT_EQ(qel::QelCardType("zq_dma_on"), qel::kQelCardDmaOn);
  for (const char* other : {"", "<>", " SATELLITE NUMBER:", "<> SP VE", "ZQ_DMA"})
    EXPECT_EQ(qel::QelCardType(other), qel::kQelCardNone) << other;
}

TEST(QelReaderMultiLine, WrittenMessagesReadBackEveryField) {
  for (int32_t n : {0, 1, 6, 9}) {
    for (int32_t satNum : {7, 12345, 123456789}) {
      const qel::QelRecord want = sampleRecord(satNum, n);
      zktest::LogWatch log;
      qeltest::expectSameFields(readLines(qeltest::multiLines(want)), want, Form::kMultiLine);
      EXPECT_EQ(log.errors(), 0);
    }
  }
  // A blank designator stays blank.
  qel::QelRecord want = sampleRecord();
  want.intlDes.set("");
  qeltest::expectSameFields(readLines(qeltest::multiLines(want)), want, Form::kMultiLine);
}

TEST(QelReaderMultiLine, LabelsInAnyCaseAndTextFieldsAsRead) {
  std::vector<std::string> lines = qeltest::multiLines(sampleRecord());
  for (std::string& l : lines)
    for (char& c : l) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const qel::QelRecord got = readLines(lines);
  EXPECT_EQ(got.errCode, 0);
  EXPECT_EQ(got.dragModel.str(), "jac70");
  EXPECT_EQ(got.geoModel.str(), "egm-96");
  EXPECT_DOUBLE_EQ(got.errorControl, 1e-12);  // "0.100e-11" reads with a lower-case exponent
}

TEST(QelReaderMultiLine, NoneOrBlankModelReadsAsTwoBodyAndModelsAreLeftJustified) {
  std::vector<std::string> lines = qeltest::multiLines(sampleRecord());
  for (const char* model : {"  NONE", "none  ", "      "}) {
    put(lines[12], 18, model);
    put(lines[12], 40, "   JAC70    ");
    const qel::QelRecord got = readLines(lines);
    EXPECT_EQ(got.errCode, 0);
    EXPECT_EQ(got.geoModel.view(), "2-BODY") << model;
    EXPECT_EQ(got.dragModel.view(), "JAC70       ");
  }
}

TEST(QelReaderMultiLine, EachFailureLogsOneMessageNamingItsLine) {
  const std::vector<std::string> good = qeltest::multiLines(sampleRecord());
  struct Case {
    size_t line;  // 0-based
    size_t column;
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {18, 4, "       ", "MultiLine2Qel: Invalid line caused read error @ 'TAI-UTC'."},
      {18, 5, "TAI-UTC", "MultiLine2Qel: Invalid line caused read error @ 'TAI-UTC'."},  // wrong columns
      {20, 4, "TIME KONST", "MultiLine2Qel: Invalid line caused read error @ 'LEAP SECOND ENTRY'."},
      {20, 39, "2O16", "MultiLine2Qel: Bad TIME CONST LEAP SECOND TIME (UTC) line."},
      {3, 22, "12E45", "MultiLine2Qel: Bad SATELLITE NUMBER line."},
      {5, 54, "EPOCH ROV:", "MultiLine2Qel: Invalid line caused read error @ 'EPOCH REV'."},
      {8, 30, "x", "MultiLine2Qel: Bad ECI POS line."},
      {17, 21, "1S0", "MultiLine2Qel: Bad SOLAR FLUX line."},
      {24, 40, "a", "MultiLine2Qel: Bad VECTOR U,V,W SIGMAS (KM) line."},
      {26, 42, "99", "MultiLine2Qel: Bad COVARIANCE MATRIX line."},
      {26, 42, "-1", "MultiLine2Qel: Bad COVARIANCE MATRIX line."},
      {29, 4, std::string(12, ' '), "MultiLine2Qel: Bad COVARIANCE MATRIX line."},  // a value left blank
      {31, 4, "0.2x000E-01", "MultiLine2Qel: Bad COVARIANCE MATRIX line."},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = good;
    put(lines[c.line], c.column, c.text);
    zktest::LogWatch log;
    EXPECT_EQ(readLines(lines).errCode, basalon::kResultFail) << c.message;
    EXPECT_EQ(log.errors(), 1) << c.message;
    EXPECT_EQ(log.lastError(), c.message);
  }
  // Covariance lines that are missing make the message bad, not an all-zero covariance.
  std::vector<std::string> cut(good.begin(), good.begin() + 30);
  zktest::LogWatch log;
  EXPECT_EQ(readLines(cut).errCode, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "MultiLine2Qel: Bad COVARIANCE MATRIX line.");
  EXPECT_EQ(readLines({}).errCode, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "MultiLine2Qel: Invalid line caused read error @ 'SATELLITE NUMBER'.");
}

TEST(QelReaderConcatenated, JoinedLinesReadBackAndShortTextsAreRefused) {
  for (int32_t n : {0, 9}) {
    const qel::QelRecord want = sampleRecord(54321, n);
    std::string text;
    for (const std::string& l : qeltest::multiLines(want)) text += l;
    qel::QelRecord got;
    qel::AnyQelStrings2Qel(got, text);
    qeltest::expectSameFields(got, want, Form::kMultiLine);
  }
  const std::vector<std::string> lines = qeltest::multiLines(sampleRecord(1, 0));
  std::string text26;
  for (size_t k = 0; k < 26; ++k) text26 += lines[k];
  qel::QelRecord got;
  zktest::LogWatch log;
  qel::AnyQelStrings2Qel(got, text26);
  EXPECT_EQ(got.errCode, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "AnyQelStrings2Qel: Number of qel records needs to be at least 27.");
  qel::AnyQelStrings2Qel(got, "no message here");
  EXPECT_EQ(got.errCode, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "AnyQelStrings2Qel: Invalid concatenated qel string.");
  EXPECT_EQ(log.errors(), 2);
}

TEST(QelReaderConcatenated, SplitKeepsFortySegmentsAndReadsNulsAsBlanks) {
  std::string text = "junk<> A";
  text += '\0';
  text += "B<><> C";
  std::vector<char> buf(qel::kConcatMaxLines * qel::kConcatLineWidth, '#');
  const qel::ConcatLines lines(buf.data(), buf.size());
  int32_t n = -1;
  qel::Concatenated2MultiLine(text, n, lines);
  ASSERT_EQ(n, 3);
  auto line = [&](size_t k) { return std::string(buf.data() + k * 512, 512); };
  EXPECT_EQ(line(0), "<> A B" + std::string(506, ' '));
  EXPECT_EQ(line(1), "<>" + std::string(510, ' '));
  EXPECT_EQ(line(2), "<> C" + std::string(508, ' '));
  EXPECT_EQ(line(3), std::string(512, ' '));
  // A segment longer than a line is cut to 512 characters.
  qel::Concatenated2MultiLine("<>" + std::string(600, 'x') + "<>", n, lines);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(line(0), "<>" + std::string(510, 'x'));
  // 45 segments: the first 40 with one information line.
  std::string many;
  for (int k = 0; k < 45; ++k) many += "<> " + std::to_string(k);
  zktest::LogWatch log;
  qel::Concatenated2MultiLine(many, n, lines);
  EXPECT_EQ(n, 40);
  EXPECT_EQ(line(39).substr(0, 6), "<> 39 ");
  EXPECT_EQ(log.infos(), 1);
  qel::Concatenated2MultiLine("nothing", n, lines);
  EXPECT_EQ(n, 0);
}

TEST(QelReaderOneLine, WrittenMessagesReadBackEveryField) {
  for (int32_t n : {0, 6, 9}) {
    const qel::QelRecord want = sampleRecord(99999, n);
    const std::string text = qeltest::oneLine(want);
    qel::QelRecord got;
    qel::Qel1Line2Qel(got, text);
    qeltest::expectSameFields(got, want, Form::kOneLine);
    qel::AnyQelStrings2Qel(got, text);
    qeltest::expectSameFields(got, want, Form::kOneLine);
  }
  // Columns past the covariance values may be missing; then the name and designator are blank.
  qel::QelRecord got;
  qel::Qel1Line2Qel(got, qeltest::oneLine(sampleRecord(5, 0)).substr(0, 700));
  EXPECT_EQ(got.errCode, 0);
  EXPECT_EQ(got.commonName.str(), "");
}

TEST(QelReaderOneLine, EachFailureLogsOneMessageNamingItsField) {
  const std::string good = qeltest::oneLine(sampleRecord(4242, 6));
  struct Case {
    size_t column;
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {1, "42A42", "Qel1Line2Qel: Bad satellite number."},
      {11, "1x3", "Qel1Line2Qel: Bad epoch data."},
      {26, "y", "Qel1Line2Qel: Bad epoch data."},
      {140, "q", "Qel1Line2Qel: Bad ECI POS data."},
      {350, "ab", "Qel1Line2Qel: Bad GEOPOTENTIAL data."},
      {430, "zz", "Qel1Line2Qel: Bad EDR data."},
      {500, "?", "Qel1Line2Qel: Bad POLAR MOT X,Y data."},
      {640, "o", "Qel1Line2Qel: Bad VECTOR UD,VD,WD SIGMAS data."},
      {670, "99", "Qel1Line2Qel: Bad COVARIANCE MATRIX data."},
      {689 + 13 * 20, std::string(13 * 25, ' '),
       "Qel1Line2Qel: Bad COVARIANCE MATRIX data."},  // 20 values left
      {700, "1.5E+0x", "Qel1Line2Qel: Bad COVARIANCE MATRIX data."},
  };
  for (const Case& c : cases) {
    std::string text = good;
    put(text, c.column, c.text);
    qel::QelRecord rec;
    zktest::LogWatch log;
    qel::Qel1Line2Qel(rec, text);
    EXPECT_EQ(rec.errCode, basalon::kResultFail) << c.message;
    EXPECT_EQ(log.errors(), 1) << c.message;
    EXPECT_EQ(log.lastError(), c.message);
  }
  // Values are read from column 689 up to column 1464 only: the 21 values moved past it are missing.
  std::string moved = good;
  const std::string values = good.substr(688, 13 * 21);
  put(moved, 689, std::string(13 * 45, ' '));
  put(moved, 1465, values.substr(0, 28));
  qel::QelRecord rec;
  qel::Qel1Line2Qel(rec, moved);
  EXPECT_EQ(rec.errCode, basalon::kResultFail);
  // A value failing validation: errCode is the validation code, with its message.
  std::string badYear = good;
  put(badYear, 7, "1950");
  zktest::LogWatch log;
  qel::Qel1Line2Qel(rec, badYear);
  EXPECT_EQ(rec.errCode, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "ValidateQelValues: Invalid Year of Epoch = 1950 (valid >=1956)");
}

TEST(QelReaderOneLine, ToLinesGivesTheWritersMultiLineText) {
  const qel::QelRecord want = sampleRecord(31337, 9);
  std::string lines(qel::kQelBufferLines * qel::kQelLineWidth, '#');
  int32_t n = -1;
  EXPECT_EQ(qel::Qel1Line2QelLines(qeltest::oneLine(want), std::span<char>(lines.data(), lines.size()), n),
            0);
  EXPECT_EQ(n, 0);
  qel::QelRecord read;
  qel::Qel1Line2Qel(read, qeltest::oneLine(want));
  std::vector<std::string> expected = qeltest::multiLines(read);
  ASSERT_EQ(expected.size(), 36u);
  for (size_t k = 0; k < expected.size(); ++k)
    EXPECT_EQ(lines.substr(k * 80, 80), expected[k] + std::string(80 - expected[k].size(), ' '));
  EXPECT_EQ(qel::Qel1Line2QelLines("garbage", std::span<char>(lines.data(), lines.size()), n),
            basalon::kResultFail);
  EXPECT_EQ(lines, std::string(lines.size(), ' '));
}

}  // namespace
