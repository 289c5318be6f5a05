// The Qel exports that take and give text and arrays: adding from text and arrays (and their argument
// orders), the conversions between forms, field access, keys made from fields, and bad input.
#include <Qel.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "Qel/QelFields.h"
#include "Qel/QelTree.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Chronel/Chronel.h"
#include "common/TestSupport.h"
#include "qel_reader_samples.h"

namespace {

using qeltest::Form;
using qeltest::sampleRecord;

// A host buffer of n characters holding text, blank padded.
std::string buffer(const std::string& text, size_t n) {
  std::string b(n, ' ');
  b.replace(0, std::min(text.size(), n), text.substr(0, n));
  return b;
}

// The concatenated form of a record's message (its lines one after the other) in 4000 characters.
std::string concatenated(const qel::QelRecord& r) {
  std::string text;
  for (const std::string& l : qeltest::multiLines(r)) text += l;
  return buffer(text, 4000);
}

// The multi-line message as the 4000-character block of 80-column lines the exports give.
std::string linesBlock(const qel::QelRecord& r) {
  std::string text;
  for (const std::string& l : qeltest::multiLines(r)) text += buffer(l, 80);
  return buffer(text, 4000);
}

struct ArrayForm {
  std::vector<double> xa = std::vector<double>(512, 0.0);
  std::string xs = std::string(512, ' ');
};

ArrayForm arraysOf(const qel::QelRecord& r) {
  ArrayForm a;
  qel::Qel2Array(r, qel::QelDoubles(a.xa.data(), 512), qel::QelChars(a.xs.data(), 512));
  return a;
}

class QelExportsText : public ::testing::Test {
 protected:
  void SetUp() override { QelRemoveAllSats(); }
  void TearDown() override {
    QelRemoveAllSats();
    basalon::elsetkeymodeset(0);
  }
  static qel::QelRecord stored(int64_t key) {
    qel::QelRecord r;
    qel::QelFindRec(key, r);
    return r;
  }
};

TEST_F(QelExportsText, AddFromLinesAndFromFieldsStoreTheMessage) {
  const qel::QelRecord r = sampleRecord(12345, 6);
  const std::string text = concatenated(r);
  const int64_t key = QelAddSatFrLines(text.data());
  ASSERT_GT(key, 0);
  qeltest::expectSameFields(stored(key), r, Form::kMultiLine);
  int64_t again = 5;
  zktest::LogWatch log;
  QelAddSatFrLinesML(text.data(), &again);
  EXPECT_EQ(again, 0);  // a duplicate reported as an error
  EXPECT_EQ(log.errors(), 1);

  // The one-line form through the same export keeps the common name.
  const qel::QelRecord r2 = sampleRecord(23456, 9);
  const int64_t key2 = QelAddSatFrLines(buffer(qeltest::oneLine(r2), 4000).data());
  ASSERT_GT(key2, 0);
  EXPECT_EQ(stored(key2).commonName.str(), "ISS (ZARYA)");

  // Arrays: string array first for adds.
  const qel::QelRecord r3 = sampleRecord(34567, 0);
  ArrayForm a = arraysOf(r3);
  int64_t key3 = 0;
  QelAddSatFrFieldsML(a.xs.data(), a.xa.data(), &key3);
  ASSERT_GT(key3, 0);
  EXPECT_EQ(key3, QelGetSatKey(34567));
  // The array form carries every field the multi-line form does (and no common name either).
  qeltest::expectSameFields(stored(key3), r3, Form::kMultiLine);
  EXPECT_EQ(QelGetCount(), 3);
}

TEST_F(QelExportsText, AddsRefuseShortTextsAndBadArraysWithOneLine) {
  // 26 "<>" segments: one line short of a message.
  std::string text;
  for (int k = 0; k < 26; ++k) text += "<> LINE";
  {
    zktest::LogWatch log;
    EXPECT_EQ(QelAddSatFrLines(buffer(text, 4000).data()), -1);
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(log.lastError(), "AnyQelStrings2Qel: Number of qel records needs to be at least 27.");
  }
  ArrayForm a = arraysOf(sampleRecord(12345, 6));
  a.xa[9] = 2e7;  // ECI X out of range
  {
    zktest::LogWatch log;
    EXPECT_EQ(QelAddSatFrFields(a.xs.data(), a.xa.data()), -1);
    EXPECT_EQ(log.errors(), 1);
  }
  for (double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
    for (size_t slot : {size_t{1}, size_t{12}, size_t{48}, size_t{130}}) {
      ArrayForm b = arraysOf(sampleRecord(12345, 6));
      b.xa[slot] = bad;
      zktest::LogWatch log;
      EXPECT_EQ(QelAddSatFrFields(b.xs.data(), b.xa.data()), -1) << slot;
      int64_t k = 3;
      QelAddSatFrFieldsML(b.xs.data(), b.xa.data(), &k);
      EXPECT_EQ(k, -1);
      EXPECT_EQ(log.errors(), 2);
      EXPECT_EQ(log.lastError(), "QelAddSatFrFieldsML: input is NaN or infinite");
    }
  }
  // A free slot is not an input: what a host leaves there is never read.
  ArrayForm c = arraysOf(sampleRecord(12345, 6));
  c.xa[300] = std::nan("");
  EXPECT_GT(QelAddSatFrFields(c.xs.data(), c.xa.data()), 0);
  EXPECT_EQ(QelGetCount(), 1);
}

TEST_F(QelExportsText, ConversionsTakeTheDoubleArrayFirstAndRoundTrip) {
  const qel::QelRecord r = sampleRecord(12345, 9);
  std::vector<double> xa(512, 7.0);
  std::string xs(512, 'x');
  ASSERT_EQ(QelStringToArray(concatenated(r).data(), xa.data(), xs.data()), 0);
  const ArrayForm want = arraysOf(r);
  EXPECT_EQ(xs, want.xs);
  for (size_t k = 0; k < 512; ++k) EXPECT_DOUBLE_EQ(xa[k], want.xa[k]) << k;

  std::string one(1500, 'x');
  QelArrayToQel1Line(xa.data(), xs.data(), one.data());
  qel::QelRecord noName = r;
  noName.commonName = qel::QelRecord{}.commonName;
  EXPECT_EQ(one, qeltest::oneLine(noName));

  std::string lines(4000, 'x');
  QelArrayToQelLines(xa.data(), xs.data(), lines.data());
  EXPECT_EQ(lines, linesBlock(r));

  std::string fromLines(1500, 'x');
  EXPECT_EQ(QelMultiLineTo1Line(concatenated(r).data(), fromLines.data()), 0);
  EXPECT_EQ(fromLines, qeltest::oneLine(noName));

  std::string back(4000, 'x');
  EXPECT_EQ(Qel1LineToMultiLine(qeltest::oneLine(r).data(), back.data()), 0);
  // The one-line form carries no leap second time: the reader's fixed one comes back.
  qel::QelRecord leap = r;
  leap.leapSecondTime = {2049, 365, 23, 59, 59.999};
  EXPECT_EQ(back, linesBlock(leap));
}

TEST_F(QelExportsText, ConversionsOfBadTextGiveBlankOutputs) {
  const std::string junk = buffer("not a message", 4000);
  {
    std::vector<double> xa(512, 7.0);
    std::string xs(512, 'x');
    zktest::LogWatch log;
    EXPECT_EQ(QelStringToArray(junk.data(), xa.data(), xs.data()), 2);
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(xa, std::vector<double>(512, 0.0));
    EXPECT_EQ(xs, std::string(512, ' '));
  }
  {
    std::string one(1500, 'x');
    EXPECT_EQ(QelMultiLineTo1Line(junk.data(), one.data()), 2);
    EXPECT_EQ(one, std::string(1500, ' '));
    // A six-digit satellite number has no place in the one-line form: refused, not starred.
    std::string wide(1500, 'x');
    zktest::LogWatch log;
    EXPECT_EQ(QelMultiLineTo1Line(concatenated(sampleRecord(123456, 0)).data(), wide.data()), 2);
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(wide, std::string(1500, ' '));
  }
  {
    // Bad one-line text still gives 0, with blank lines.
    std::string lines(4000, 'x');
    zktest::LogWatch log;
    EXPECT_EQ(Qel1LineToMultiLine(buffer("12345 garbage", 1500).data(), lines.data()), 0);
    EXPECT_EQ(lines, std::string(4000, ' '));
    EXPECT_GE(log.errors(), 1);
  }
  {
    ArrayForm a = arraysOf(sampleRecord(12345, 6));
    a.xa[47] = 12;  // no covariance has 12 dimensions
    std::string one(1500, 'x'), lines(4000, 'x');
    zktest::LogWatch log;
    QelArrayToQel1Line(a.xa.data(), a.xs.data(), one.data());
    QelArrayToQelLines(a.xa.data(), a.xs.data(), lines.data());
    EXPECT_EQ(log.errors(), 2);
    EXPECT_EQ(one, std::string(1500, ' '));
    EXPECT_EQ(lines, std::string(4000, ' '));
  }
}

TEST_F(QelExportsText, FieldsLinesAndAllFieldsOfAStoredRecord) {
  const qel::QelRecord r = sampleRecord(12345, 6);
  const int64_t key = QelAddSatFrLines(concatenated(r).data());
  ASSERT_GT(key, 0);
  std::string value(512, 'x');
  ASSERT_EQ(QelGetField(key, 3, value.data()), 0);
  EXPECT_EQ(value, buffer("2021123010203.456", 512));
  ASSERT_EQ(QelSetField(key, 28, buffer("1.5", 512).data()), 0);
  EXPECT_DOUBLE_EQ(stored(key).ut1Rate, 0.0015);
  // A value ended by a NUL, as a C host's strcpy leaves it.
  std::string nulEnded(512, '\xff');
  nulEnded.replace(0, 4, std::string("2.5\0", 4));
  ASSERT_EQ(QelSetField(key, 28, nulEnded.data()), 0);
  ASSERT_EQ(QelGetField(key, 28, value.data()), 0);
  EXPECT_EQ(value, buffer("2.500000000000000", 512));
  {
    zktest::LogWatch log;
    EXPECT_EQ(QelSetField(key, 1, buffer("777", 512).data()), 2);
    EXPECT_EQ(log.lastError(), "QelSetField: Update to satellite's number is not allowed");
    EXPECT_EQ(QelSetField(key, 5, buffer("2E7", 512).data()), 2);
    EXPECT_EQ(log.errors(), 2);
    EXPECT_DOUBLE_EQ(stored(key).eciPos[0], r.eciPos[0]);
  }

  std::string lines(4000, 'x');
  ASSERT_EQ(QelGetLines(key, lines.data()), 0);
  qel::QelRecord changed = r;
  changed.ut1Rate = 0.0025;
  EXPECT_EQ(lines, linesBlock(changed));

  int32_t satNum, epochRev, zonals, tesserals, f10, avgF10, nut;
  double pos[3], vel[3], bc, srp, thrust, cm, ap, tai, ut1, ut1r, px, py, step, err, rms;
  char des[8], epoch[17], geo[6], drag[12], ls[3], sr[3], set[3], itt[3], leap[17], im[6], part[8], sm[4],
      fs[3], sss[6];
  ASSERT_EQ(QelGetAllFields(key, &satNum, des, epoch, &epochRev, pos, vel, geo, &zonals, &tesserals, drag, ls,
                            sr, set, itt, &bc, &srp, &thrust, &cm, &f10, &avgF10, &ap, &tai, &ut1, &ut1r, &px,
                            &py, &nut, leap, im, part, sm, fs, sss, &step, &err, &rms),
            0);
  EXPECT_EQ(satNum, 12345);
  EXPECT_EQ(std::string(des, 8), r.intlDes.view());
  EXPECT_EQ(std::string(epoch, 17), "2021123010203.456");
  EXPECT_EQ(std::string(leap, 17), "2016366235959.999");
  EXPECT_EQ(std::string(drag, 12), r.dragModel.view());
  EXPECT_EQ(std::string(sss, 6), r.stepSizeSelection.view());
  EXPECT_DOUBLE_EQ(pos[0], r.eciPos[0]);
  EXPECT_DOUBLE_EQ(vel[2], r.eciVel[2]);
  EXPECT_DOUBLE_EQ(ut1r, 2.5);
  EXPECT_DOUBLE_EQ(rms, r.wtdRms);
  EXPECT_EQ(nut, r.nutationTerms);
  // A key not loaded clears every output.
  zktest::LogWatch log;
  EXPECT_EQ(QelGetAllFields(key + 1000, &satNum, des, epoch, &epochRev, pos, vel, geo, &zonals, &tesserals,
                            drag, ls, sr, set, itt, &bc, &srp, &thrust, &cm, &f10, &avgF10, &ap, &tai, &ut1,
                            &ut1r, &px, &py, &nut, leap, im, part, sm, fs, sss, &step, &err, &rms),
            2);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(satNum, 0);
  EXPECT_EQ(std::string(epoch, 17), std::string(17, ' '));
  EXPECT_EQ(pos[0], 0.0);
  EXPECT_EQ(rms, 0.0);
}

TEST_F(QelExportsText, KeysFromFieldsAgreeWithTheStoreAndRefuseTextThatIsNoTime) {
  const qel::QelRecord r = sampleRecord(12345, 0);
  const int64_t key = QelAddSatFrLines(concatenated(r).data());
  ASSERT_GT(key, 0);
  EXPECT_EQ(QelFieldsToSatKey(12345, buffer("2021123010203.456", 20).data()), key);
  // Left-justified, and blanks from the third character on read as zeros.
  EXPECT_EQ(QelFieldsToSatKey(12345, buffer("   2021123010203.456", 20).data()), key);
  // A two-digit year group, its missing decimals completed by the zero fill.
  int64_t out = 0;
  QelFieldsToSatKeyML(12345, buffer("21123010203.456", 20).data(), &out);
  EXPECT_EQ(out, key);
  EXPECT_NE(QelFieldsToSatKey(12345, buffer("2021124010203.456", 20).data()), key);
  EXPECT_EQ(QelGetSatKeyML(12345, &out), key);
  EXPECT_EQ(out, key);
  for (const std::string& bad : {std::string(20, ' '), std::string(20, '\0'), buffer("yesterday", 20)}) {
    zktest::LogWatch log;
    EXPECT_EQ(QelFieldsToSatKey(12345, bad.data()), -1);
    EXPECT_EQ(log.errors(), 1);
  }
  zktest::LogWatch log;
  EXPECT_EQ(QelFieldsToSatKey(-4, buffer("2021123010203.456", 20).data()), -1);
  EXPECT_EQ(log.errors(), 1);
}

TEST_F(QelExportsText, NullPointersAreRefusedWithOneLineEach) {
  const int64_t key = QelAddSatFrLines(concatenated(sampleRecord()).data());
  ASSERT_GT(key, 0);
  std::vector<double> xa(512, 0.0);
  std::string xs(512, ' '), text(4000, ' ');
  int64_t k = 0;
  zktest::LogWatch log;
  EXPECT_EQ(QelLoadFile(nullptr), 2);
  EXPECT_EQ(QelSaveFile(nullptr, 0), 2);
  QelGetLoaded(0, nullptr);
  EXPECT_EQ(QelGetKeys(0, 5, nullptr), 0);
  EXPECT_EQ(QelAddSatFrLines(nullptr), -1);
  QelAddSatFrLinesML(text.data(), nullptr);
  EXPECT_EQ(QelAddSatFrFields(nullptr, xa.data()), -1);
  QelAddSatFrFieldsML(xs.data(), nullptr, &k);
  EXPECT_EQ(QelUpdateSatFrFields(key, xs.data(), nullptr), 2);
  EXPECT_EQ(QelRetrieveAllData(key, nullptr, xa.data()), 2);
  EXPECT_EQ(QelGetField(key, 1, nullptr), 2);
  EXPECT_EQ(QelSetField(key, 4, nullptr), 2);
  EXPECT_EQ(QelGetLines(key, nullptr), 2);
  EXPECT_EQ(QelGetSatKeyML(12345, nullptr), -1);
  EXPECT_EQ(QelFieldsToSatKey(12345, nullptr), -1);
  QelFieldsToSatKeyML(12345, nullptr, &k);
  EXPECT_EQ(QelStringToArray(text.data(), nullptr, xs.data()), 2);
  QelArrayToQel1Line(xa.data(), xs.data(), nullptr);
  QelArrayToQelLines(nullptr, xs.data(), text.data());
  EXPECT_EQ(QelMultiLineTo1Line(text.data(), nullptr), 2);
  EXPECT_EQ(Qel1LineToMultiLine(nullptr, text.data()), 2);
  EXPECT_EQ(log.errors(), 21);
  EXPECT_EQ(log.lastError(), "Qel1LineToMultiLine: null argument");
  EXPECT_EQ(k, 0);
  EXPECT_EQ(QelGetCount(), 1);
}

}  // namespace
