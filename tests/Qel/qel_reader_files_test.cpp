// Qel files loaded into the store: counts and the count line, maneuver lines, duplicates, the short
// form, comments, referenced files, the DMA switch, and bad messages among good ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Qel/QelCardReading.h"
#include "Qel/QelTree.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "common/TestSupport.h"
#include "qel_reader_samples.h"

namespace {

using qeltest::Form;
using qeltest::sampleRecord;

std::string vpLine(int k) {
  std::string l = "MANEUVER " + std::to_string(k);
  l.resize(78, ' ');
  return l + "VP";
}

// The short form of a message: its lines 4, 6, 9, 10 and 13 to 24 without "<> ".
std::string shortForm(const qel::QelRecord& r) {
  const std::vector<std::string> lines = qeltest::multiLines(r);
  std::string text;
  for (size_t k : {3u, 5u, 8u, 9u, 12u, 13u, 14u, 15u, 16u, 17u, 18u, 19u, 20u, 21u, 22u, 23u})
    text += lines[k].substr(3) + "\n";
  return text;
}

class QelReaderFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(::testing::TempDir()) / "qel_reader_files";
    std::filesystem::create_directories(dir_);
    empty();
  }
  void TearDown() override {
    empty();
    basalon::elsetkeymodeset(0);
    basalon::dupKeyModeSet(0);
  }
  static void empty() {
    int32_t code = 0;
    qel::QelEmptyTree(code);
  }
  std::string file(const std::string& name, const std::string& text) {
    const std::string path = (dir_ / name).string();
    qeltest::writeFile(path, text);
    return path;
  }
  // Loads a file and checks its count line against the counts handed out.
  int32_t load(const std::string& path, basalon::LoadCounts& counts) {
    const int32_t code = qel::ReadQelsFrFile(path, &counts);
    if (code == 0 || code == basalon::kResultFail) {
      EXPECT_EQ(zktest::LogWatch::lastInfo(), "Total QELs = " + std::to_string(counts.total()) +
                                                  ", Loaded = " + std::to_string(counts.loaded) +
                                                  ", Dup = " + std::to_string(counts.duplicates) +
                                                  ", Bad = " + std::to_string(counts.bad));
    }
    return code;
  }
  static qel::QelRecord stored(int32_t satNum) {
    qel::QelRecord rec;
    qel::QelFindRec(qel::QelSatKeyGet(satNum), rec);
    return rec;
  }
  static void expectCounts(const basalon::LoadCounts& c, int32_t loaded, int32_t dup, int32_t bad) {
    EXPECT_EQ(c.loaded, loaded);
    EXPECT_EQ(c.duplicates, dup);
    EXPECT_EQ(c.bad, bad);
  }
  std::filesystem::path dir_;
};

TEST_F(QelReaderFiles, ManeuverLinesAttachAndASecondLoadReportsADuplicate) {
  const std::string path = file("one.txt", qeltest::joined(qeltest::multiLines(sampleRecord())) + vpLine(1) +
                                               "\n" + vpLine(2) + "\n" + vpLine(3) + "\n");
  basalon::LoadCounts counts;
  EXPECT_EQ(load(path, counts), 0);
  expectCounts(counts, 1, 0, 0);
  qel::QelRecord rec = stored(12345);
  EXPECT_EQ(rec.numManeuverLines, 3);
  ASSERT_EQ(rec.maneuverLines.size(), 100u);
  EXPECT_EQ(rec.maneuverLines[2].str(), vpLine(3));
  qeltest::expectSameFields(
      [&] {
        qel::QelRecord c = rec;
        qel::FreeQelRecord(c);
        return c;
      }(),
      sampleRecord(), Form::kMultiLine);
  // The second load: a duplicate with its message; its lines are not kept on any record.
  zktest::LogWatch log;
  EXPECT_EQ(load(path, counts), 0);
  expectCounts(counts, 0, 1, 0);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(qel::QelGetNumOfTreeNodes(), 1);
  EXPECT_EQ(stored(12345).numManeuverLines, 3);
  // A duplicate returned silently is still a duplicate (its lines are not added either).
  basalon::dupKeyModeSet(1);
  EXPECT_EQ(load(path, counts), 0);
  expectCounts(counts, 0, 1, 0);
}

TEST_F(QelReaderFiles, ManeuverLinesWithNoLoadedMessageAreDroppedAndAtMostHundredKept) {
  std::string text = vpLine(0) + "\n";  // before any message
  text += qeltest::joined(qeltest::multiLines(sampleRecord(1, 0)));
  for (int k = 1; k <= 105; ++k) text += vpLine(k) + "\n";
  std::vector<std::string> bad = qeltest::multiLines(sampleRecord(2, 0));
  bad[18].replace(3, 7, "TAI+UTC");
  text += qeltest::joined(bad) + vpLine(200) + "\n";  // after a message that did not load
  text += qeltest::oneLine(sampleRecord(3, 0)) + "\n" + vpLine(300) + "\n";
  zktest::LogWatch log;
  basalon::LoadCounts counts;
  EXPECT_EQ(load(file("many.txt", text), counts), basalon::kResultFail);
  expectCounts(counts, 2, 0, 1);
  EXPECT_EQ(log.infos(),
            4);  // line before the first message, lines beyond 100, line after the bad one, count
  const qel::QelRecord first = stored(1);
  EXPECT_EQ(first.numManeuverLines, 100);
  EXPECT_EQ(first.maneuverLines[99].str(), vpLine(100));
  const qel::QelRecord third = stored(3);
  EXPECT_EQ(third.numManeuverLines, 1);
  EXPECT_EQ(third.maneuverLines[0].str(), vpLine(300));
}

TEST_F(QelReaderFiles, ShortFormCommentsBlankLinesAndMissingLabels) {
  std::vector<std::string> noTai = qeltest::multiLines(sampleRecord(2, 6));
  noTai[18].replace(3, 7, "       ");
  std::vector<std::string> commented = qeltest::multiLines(sampleRecord(3, 6));
  commented.insert(commented.begin() + 10, "* a comment inside a message");
  commented.insert(commented.begin() + 29, "");
  const std::string text = "* header comment\n\n" + shortForm(sampleRecord(1, 6)) + "   \n" +
                           qeltest::joined(noTai) + qeltest::joined(commented);
  zktest::LogWatch log;
  basalon::LoadCounts counts;
  EXPECT_EQ(load(file("short.txt", text), counts), 0);
  expectCounts(counts, 2, 0, 1);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(log.lastError(), "ReadQELFrFileUnit: Invalid line caused read error @ 'TAI-UTC'.");
  qeltest::expectSameFields(stored(1), sampleRecord(1, 6), Form::kShort);
  qeltest::expectSameFields(stored(3), sampleRecord(3, 6), Form::kMultiLine);
}

TEST_F(QelReaderFiles, OneLineMessagesAfterAFailedMultiLineMessageLoad) {
  std::vector<std::string> bad = qeltest::multiLines(sampleRecord(1, 6));
  bad[30] = "<>  0.1E-01  0.2E-0x";
  const std::string text = qeltest::joined(bad) + qeltest::oneLine(sampleRecord(2, 9)) + "\n" +
                           qeltest::oneLine(sampleRecord(3, 0)) + "\n";
  zktest::LogWatch log;
  basalon::LoadCounts counts;
  // The operation's code stays that of the last multi-line message.
  EXPECT_EQ(load(file("mixed.txt", text), counts), basalon::kResultFail);
  expectCounts(counts, 2, 0, 1);
  EXPECT_EQ(log.lastError(), "ReadQELFrFileUnit: Bad covariance data.");
  qeltest::expectSameFields(stored(2), sampleRecord(2, 9), Form::kOneLine);
  qeltest::expectSameFields(stored(3), sampleRecord(3, 0), Form::kOneLine);
}

TEST_F(QelReaderFiles, BadMessagesAreCountedWithTheirMessagesAndTheGoodOnesAroundThemLoad) {
  std::vector<std::string> parts;
  std::vector<std::string> messages;
  int32_t sat = 100;
  auto good = [&] { parts.push_back(qeltest::joined(qeltest::multiLines(sampleRecord(++sat, 6)))); };
  auto badLines = [&](size_t line, size_t column, const std::string& text, const std::string& message) {
    std::vector<std::string> lines = qeltest::multiLines(sampleRecord(++sat, 6));
    lines[line].replace(column - 1, text.size(), text);
    parts.push_back(qeltest::joined(lines));
    messages.push_back(message);
  };
  good();
  badLines(8, 5, "ECI POS",
           "ReadQELFrFileUnit: Invalid line caused read error @ 'ECI POS'.");  // wrong columns
  good();
  badLines(15, 40, "0.1x3000E-01", "ReadQELFrFileUnit: Bad SOLAR RAD PRESS COEF line.");
  good();
  badLines(26, 42, "99", "ReadQELFrFileUnit: Bad COVARIANCE MATRIX line.");
  good();
  badLines(31, 4, "  0.21000Q-01", "ReadQELFrFileUnit: Bad covarinace data.");
  good();
  {  // a truncated message: the next message's header is read again and that message loads
    const std::vector<std::string> lines = qeltest::multiLines(sampleRecord(++sat, 6));
    parts.push_back(qeltest::joined(std::vector<std::string>(lines.begin(), lines.begin() + 12)));
    messages.push_back("ReadQELFrFileUnit: Invalid line caused read error @ 'GEOPOTENTIAL'.");
  }
  good();
  {  // NUL bytes in a number, and a line of 2000 characters
    std::vector<std::string> lines = qeltest::multiLines(sampleRecord(++sat, 6));
    lines[9][25] = '\0';
    lines[9][26] = '\0';
    parts.push_back(qeltest::joined(lines));
    parts.push_back(std::string(2000, '7') + "\n");
  }
  good();
  parts.push_back(qeltest::oneLine(sampleRecord(++sat, 6)) + std::string(700, 'x') + "\n");  // cut at 1500
  {  // the last message ends the file early
    const std::vector<std::string> lines = qeltest::multiLines(sampleRecord(++sat, 6));
    parts.push_back(qeltest::joined(std::vector<std::string>(lines.begin(), lines.begin() + 29)));
    messages.push_back("ReadQELFrFileUnit: Unable to read an input line.");
  }
  std::string text;
  for (const std::string& p : parts) text += p;
  zktest::LogWatch log;
  basalon::LoadCounts counts;
  EXPECT_EQ(load(file("bad.txt", text), counts), basalon::kResultFail);
  expectCounts(counts, 9, 0, static_cast<int32_t>(messages.size()));
  EXPECT_EQ(log.errors(), static_cast<long>(messages.size()));
  EXPECT_EQ(log.lastError(), messages.back());
  for (int32_t s : {101, 103, 105, 107, 109, 111, 112, 113, 114}) EXPECT_GT(qel::QelSatKeyGet(s), 0) << s;
  EXPECT_DOUBLE_EQ(stored(112).eciVel[0], 0.5);  // NULs read as blanks: " 0.5000..." is unchanged
}

TEST_F(QelReaderFiles, ReferencedFilesLoadFirstAndOneThatFailsStopsNothing) {
  std::vector<std::string> bad = qeltest::multiLines(sampleRecord(2, 0));
  bad[5].replace(53, 10, "          ");
  file("sub1.txt", qeltest::joined(qeltest::multiLines(sampleRecord(1, 0))) + qeltest::joined(bad));
  file("sub2.txt", qeltest::oneLine(sampleRecord(3, 0)) + "\n");
  const std::string main = file("main.txt", qeltest::joined(qeltest::multiLines(sampleRecord(4, 0))) +
                                                "QELFIL = " + (dir_ / "sub1.txt").string() +
                                                "\nSpvMsg=" + (dir_ / "sub2.txt").string() + "\n");
  basalon::LoadCounts counts;
  EXPECT_EQ(load(main, counts), basalon::kResultFail);
  expectCounts(counts, 3, 0, 1);
  int32_t n = 0;
  std::vector<int64_t> keys(3);
  qel::QelGetTreeKeys(n, keys.data(), 2, 3);
  ASSERT_EQ(n, 3);
  qel::QelRecord rec;
  qel::QelFindRec(keys[2], rec);
  EXPECT_EQ(rec.satNum, 4);  // the file's own messages come last
  // A referenced file that cannot be opened ends the load with its open code and no count line.
  const std::string missing = file("missing.txt", "QELFIL=" + (dir_ / "nowhere.txt").string() + "\n");
  zktest::LogWatch log;
  EXPECT_EQ(qel::ReadQelsFrFile(missing, &counts), basalon::kUnitCannotOpen);
  EXPECT_EQ(log.infos(), 0);
  EXPECT_EQ(qel::ReadQelsFrFile((dir_ / "absent.txt").string(), &counts), basalon::kUnitCannotOpen);
}

TEST_F(QelReaderFiles, DmaSwitchGivesDmaKeys) {
  const std::string path = file(
      "dma.txt", "zq_dma_on\n" + qeltest::joined(qeltest::multiLines(sampleRecord(7, 0))) + vpLine(1) + "\n");
  basalon::LoadCounts counts;
  EXPECT_EQ(load(path, counts), 0);
  expectCounts(counts, 1, 0, 0);
  EXPECT_EQ(basalon::elsetkeymodeget(), 1);
  const int64_t key = qel::QelSatKeyGet(7);
  EXPECT_TRUE(basalon::isdma(key));
  EXPECT_EQ(key % 10, 0);
  qel::QelRecord rec;
  qel::QelFindRec(key, rec);
  EXPECT_EQ(rec.numManeuverLines, 1);
}

TEST_F(QelReaderFiles, AMessageWithoutAKeyIsCountedBadWithAMessage) {
  std::string text = qeltest::oneLine(sampleRecord(8, 0));
  text.replace(17, 6, "99.E99");  // epoch seconds no key can hold (column 20 keeps its ".")
  zktest::LogWatch log;
  basalon::LoadCounts counts;
  EXPECT_EQ(load(file("nokey.txt", text + "\n"), counts), 0);
  expectCounts(counts, 0, 0, 1);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(log.lastError(),
            "ReadOnlyQELs: No satKey can be made for satellite 8; the message is not loaded.");
}

TEST_F(QelReaderFiles, UnitRoutinesAndRefusedUnits) {
  const std::string path =
      file("unit.txt", "* c\n" + qeltest::joined(qeltest::multiLines(sampleRecord(9, 6))) +
                           shortForm(sampleRecord(10, 0)));
  ASSERT_EQ(basalon::fileopen(31, path, basalon::kOpenRead), 0);
  qel::SkipLines(31, 1);
  std::string line;
  ASSERT_EQ(basalon::fileReadLineCut(31, 1500, line), 0);
  qel::QelRecord rec;
  int32_t code = -1;
  qel::ReadQelFrFileUnit(31, rec, code);
  EXPECT_EQ(code, 0);
  qeltest::expectSameFields(rec, sampleRecord(9, 6), Form::kMultiLine);
  ASSERT_EQ(basalon::fileReadLineCut(31, 1500, line), 0);
  qel::ReadQelFrFileUnit(31, rec, code);
  EXPECT_EQ(code, 0);
  qeltest::expectSameFields(rec, sampleRecord(10, 0), Form::kShort);
  EXPECT_EQ(basalon::fileClose(31), 0);
  // A unit connected to a default-named file is refused by both loaders.
  const std::string fort = file("fort.32", qeltest::oneLine(sampleRecord(11, 0)) + "\n");
  ASSERT_EQ(basalon::fileopen(32, fort, basalon::kOpenRead), 0);
  zktest::LogWatch log;
  EXPECT_EQ(qel::ReadQelsFrFileUnit(32), basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "ReadQelsFrFileUnit: Using fort.n not allowed in Zenkora due to security risk");
  basalon::LoadCounts counts;
  qel::ReadOnlyQels(32, counts, code);
  EXPECT_EQ(code, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "ReadOnlyQELs: Using fort.n not allowed in Zenkora due to security risk");
  EXPECT_EQ(log.errors(), 2);
  EXPECT_EQ(basalon::fileClose(32), 0);
  EXPECT_TRUE(qel::QelTreeIsEmpty());
  qel::ReadOnlyQels(33, counts, code);  // not open
  EXPECT_EQ(code, basalon::kResultFail);
  EXPECT_EQ(log.lastError(), "ReadOnlyQELs: Unit 33 cannot be read.");
}

}  // namespace
