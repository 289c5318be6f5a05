// The Qel exports over the store: save and reload (maneuver lines, covariance, both key modes), key
// listings bounded and unbounded, updates from arrays, lookups and their messages.
#include <Qel.h>
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Qel/QelFields.h"
#include "Qel/QelSave.h"
#include "Qel/QelTree.h"
#include "Siblings/Basalon/Keys.h"
#include "common/TestSupport.h"
#include "qel_reader_samples.h"

namespace {

using qeltest::Form;
using qeltest::sampleRecord;

// A host's 512-character file name buffer.
std::string nameBuffer(const std::string& path) {
  std::string b(512, ' ');
  b.replace(0, path.size(), path);
  return b;
}

std::string vpLine(int sat, int k) {
  std::string l = "MANEUVER " + std::to_string(sat) + " " + std::to_string(k);
  l.resize(78, ' ');
  return l + "VP";
}

std::string keyText(int64_t key) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%19" PRId64, key);
  return buf;
}

// Records of a test file: satellites 101, 102, ... with covariance dimensions cycling through 0, 6
// and 9, epochs a minute apart, and sat-dependent numbers of maneuver lines (0 to 3).
struct Sample {
  qel::QelRecord rec;
  std::vector<std::string> maneuvers;
};

std::vector<Sample> samples(int count, int firstSat = 101) {
  std::vector<Sample> out;
  const int dims[] = {0, 6, 9};
  for (int k = 0; k < count; ++k) {
    Sample s;
    s.rec = sampleRecord(firstSat + k, dims[k % 3]);
    s.rec.epoch.minute = k % 60;
    s.rec.eciPos[0] += k;
    for (int m = 0; m < k % 4; ++m) s.maneuvers.push_back(vpLine(firstSat + k, m));
    out.push_back(std::move(s));
  }
  return out;
}

std::string fileText(const std::vector<Sample>& ss) {
  std::string text;
  for (const Sample& s : ss) {
    text += qeltest::joined(qeltest::multiLines(s.rec));
    for (const std::string& m : s.maneuvers) text += m + "\n";
  }
  return text;
}

class QelExportsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(::testing::TempDir()) / "qel_exports_store";
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    QelRemoveAllSats();
  }
  void TearDown() override {
    QelRemoveAllSats();
    basalon::elsetkeymodeset(0);
    basalon::dupKeyModeSet(0);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string file(const std::string& name, const std::string& text) {
    qeltest::writeFile(path(name), text);
    return path(name);
  }
  static std::vector<int64_t> keys(int32_t order = 9) {
    std::vector<int64_t> k(static_cast<size_t>(QelGetCount()) + 1, 0);
    k.resize(static_cast<size_t>(QelGetKeys(order, static_cast<int32_t>(k.size()), k.data())));
    return k;
  }
  // Every stored record by satellite number.
  static std::map<int32_t, qel::QelRecord> stored() {
    std::map<int32_t, qel::QelRecord> out;
    for (int64_t key : keys()) {
      qel::QelRecord r;
      qel::QelFindRec(key, r);
      out[r.satNum] = r;
    }
    return out;
  }

  std::filesystem::path dir_;
};

// Every field the multi-line form carries, and the maneuver lines in order.
void expectSame(const qel::QelRecord& got, const Sample& want) {
  ASSERT_EQ(got.numManeuverLines, static_cast<int32_t>(want.maneuvers.size())) << got.satNum;
  for (size_t m = 0; m < want.maneuvers.size(); ++m)
    EXPECT_EQ(got.maneuverLines[m].str(), want.maneuvers[m]) << got.satNum;
  qel::QelRecord bare;
  qel::CopyQelRecord(bare, got);
  qel::FreeQelRecord(bare);
  bare.numManeuverLines = 0;
  qeltest::expectSameFields(bare, want.rec, Form::kMultiLine);
}

class QelExportsSaveReload : public QelExportsStore, public ::testing::WithParamInterface<int> {};

TEST_P(QelExportsSaveReload, SaveRemoveAllLoadGivesTheSameRecordsWithTheirManeuverLines) {
  basalon::elsetkeymodeset(GetParam());
  const std::vector<Sample> ss = samples(12);
  ASSERT_EQ(QelLoadFile(nameBuffer(file("in.txt", fileText(ss))).data()), 0);
  ASSERT_EQ(QelGetCount(), 12);
  for (int64_t key : keys()) EXPECT_EQ(basalon::isdma(key), GetParam() == 1);

  const std::string saved = path("saved.txt");
  ASSERT_EQ(QelSaveFile(nameBuffer(saved).data(), 0), 0);
  ASSERT_EQ(QelRemoveAllSats(), 0);
  ASSERT_EQ(QelGetCount(), 0);
  zktest::LogWatch log;
  ASSERT_EQ(QelLoadFile(nameBuffer(saved).data()), 0);
  EXPECT_EQ(log.errors(), 0);
  EXPECT_EQ(log.lastInfo(), "Total QELs = 12, Loaded = 12, Dup = 0, Bad = 0");

  const std::map<int32_t, qel::QelRecord> back = stored();
  ASSERT_EQ(back.size(), ss.size());
  for (const Sample& s : ss) {
    SCOPED_TRACE(s.rec.satNum);
    ASSERT_EQ(back.count(s.rec.satNum), 1u);
    expectSame(back.at(s.rec.satNum), s);
  }
}

INSTANTIATE_TEST_SUITE_P(KeyModes, QelExportsSaveReload, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& p) { return p.param == 0 ? "Standard" : "Dma"; });

TEST_F(QelExportsStore, SaveWritesTheTitleAndAppendsInModesOtherThanZero) {
  const std::vector<Sample> ss = samples(2);
  ASSERT_EQ(QelLoadFile(nameBuffer(file("in.txt", fileText(ss))).data()), 0);
  const std::string saved = path("saved.txt");
  ASSERT_EQ(QelSaveFile(nameBuffer(saved).data(), 0), 0);
  ASSERT_EQ(QelSaveFile(nameBuffer(saved).data(), 7), 0);
  std::vector<std::string> lines;
  {
    std::FILE* f = std::fopen(saved.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char buf[600];
    while (std::fgets(buf, sizeof buf, f) != nullptr) {
      std::string l(buf);
      if (!l.empty() && l.back() == '\n') l.pop_back();
      lines.push_back(l);
    }
    std::fclose(f);
  }
  // 2 x (3 empty lines, title, a message without covariance, a 6x6 message with one maneuver line)
  const size_t perSave = 4 + 27 + 32 + 1;
  ASSERT_EQ(lines.size(), 2 * perSave);
  for (size_t start : {size_t{0}, perSave}) {
    EXPECT_EQ(lines[start], "");
    EXPECT_EQ(lines[start + 2], "");
    EXPECT_EQ(lines[start + 3], "*** Orbital Elements - QELs ***");
    EXPECT_EQ(lines[start + 4], "<> SP VECTOR/COVARIANCE MESSAGE - V2.0");
    EXPECT_EQ(lines[start + perSave - 1], vpLine(102, 0));
  }
  // The appended copy holds the same records: loading the file reports each one a duplicate.
  QelRemoveAllSats();
  zktest::LogWatch log;
  EXPECT_EQ(QelLoadFile(nameBuffer(saved).data()), 0);
  EXPECT_EQ(log.lastInfo(), "Total QELs = 4, Loaded = 2, Dup = 2, Bad = 0");
}

TEST_F(QelExportsStore, SaveCountsTheRecordsItCannotWriteInOneLine) {
  const std::vector<Sample> ss = samples(5);
  for (const Sample& s : ss) {
    qel::QelRecord r = s.rec;
    // Values the store accepts but no column of the message can show.
    if (r.satNum == 102 || r.satNum == 104) r.f10 = 1000;
    int64_t key = 0;
    qel::AddQelToMem(r, key);
    ASSERT_GT(key, 0);
  }
  const std::string saved = path("partial.txt");
  zktest::LogWatch log;
  EXPECT_EQ(QelSaveFile(nameBuffer(saved).data(), 0), 2);
  EXPECT_EQ(log.lastError(), "QelSaveFile: 2 record(s) could not be written.");
  QelRemoveAllSats();
  ASSERT_EQ(QelLoadFile(nameBuffer(saved).data()), 0);
  EXPECT_EQ(QelGetCount(), 3);
  EXPECT_EQ(QelGetSatKey(102), -1);
}

TEST_F(QelExportsStore, LoadLogsTheTrimmedNameAndFailedOpensGiveTheirCodeAndOneLine) {
  const std::string in = file("in.txt", fileText(samples(1)));
  {
    zktest::LogWatch log;
    // Leading blanks and a NUL-ended name: the name is the text before the NUL, trimmed.
    std::string buf(512, '\xff');
    const std::string text = "   " + in;
    buf.replace(0, text.size() + 1, text + '\0');
    EXPECT_EQ(QelLoadFile(buf.data()), 0);
    EXPECT_EQ(log.errors(), 0);
    EXPECT_EQ(log.infos(), 2);
    EXPECT_EQ(QelGetCount(), 1);
  }
  std::vector<std::string> bad = {std::string(512, ' '), std::string(512, '\0'), std::string(512, 'A'),
                                  nameBuffer(dir_.string()), nameBuffer(path("missing.txt"))};
  for (const std::string& name : bad) {
    zktest::LogWatch log;
    EXPECT_NE(QelLoadFile(name.data()), 0);
    EXPECT_EQ(log.errors(), 1);
  }
  // A save makes a missing file, but not in a folder that does not exist.
  bad.back() = nameBuffer(path("no-such-folder/out.txt"));
  for (const std::string& name : bad) {
    zktest::LogWatch log;
    EXPECT_NE(QelSaveFile(name.data(), 0), 0);
    EXPECT_EQ(log.errors(), 1);
  }
  zktest::LogWatch log;
  EXPECT_NE(QelLoadFile(nameBuffer(path("missing.txt")).data()), 0);
  EXPECT_EQ(log.lastInfo(), "QelLoadFile: Reading QELs from file \"" + path("missing.txt") + "\".");
  EXPECT_EQ(QelGetCount(), 1);
}

TEST_F(QelExportsStore, KeyListingsEmptyStoreAndTheBoundedForm) {
  std::vector<int64_t> k(4, 77);
  {
    zktest::LogWatch log;
    QelGetLoaded(0, k.data());
    EXPECT_EQ(log.infos(), 1);
    EXPECT_EQ(log.lastInfo(), "Warning-QelGetLoaded: The binary tree is empty. No satKey returns.");
    EXPECT_EQ(k, std::vector<int64_t>(4, 77));
    EXPECT_EQ(QelGetKeys(0, 4, k.data()), 0);
  }
  // Loaded in the order 105, 101, 104, 102, 103.
  std::vector<Sample> ss = samples(5);
  std::vector<Sample> shuffled = {ss[4], ss[0], ss[3], ss[1], ss[2]};
  ASSERT_EQ(QelLoadFile(nameBuffer(file("in.txt", fileText(shuffled))).data()), 0);
  auto sats = [](const std::vector<int64_t>& keys) {
    std::vector<int32_t> s;
    for (int64_t key : keys) {
      qel::QelRecord r;
      qel::QelFindRec(key, r);
      s.push_back(r.satNum);
    }
    return s;
  };
  std::vector<int64_t> all(6, 77);
  QelGetLoaded(1, all.data());
  EXPECT_EQ(sats({all.begin(), all.begin() + 5}), (std::vector<int32_t>{105, 104, 103, 102, 101}));
  EXPECT_EQ(all[5], 77);
  QelGetLoaded(2, all.data());
  EXPECT_EQ(sats({all.begin(), all.begin() + 5}), (std::vector<int32_t>{105, 101, 104, 102, 103}));
  // The bounded form never writes past the room it is given.
  std::vector<int64_t> three(4, 77);
  EXPECT_EQ(QelGetKeys(0, 3, three.data()), 3);
  EXPECT_EQ(sats({three.begin(), three.begin() + 3}), (std::vector<int32_t>{101, 102, 103}));
  EXPECT_EQ(three[3], 77);
  EXPECT_EQ(QelGetKeys(0, 0, three.data()), 0);
  EXPECT_EQ(QelGetKeys(0, -5, three.data()), 0);
}

TEST_F(QelExportsStore, UpdateFromArraysKeepsNumberEpochCommonNameAndManeuverLines) {
  // A one-line message carries a common name; the maneuver lines after it attach to it.
  qel::QelRecord r = sampleRecord(12345, 6);
  std::string text = qeltest::oneLine(r) + "\n";
  for (int m = 0; m < 3; ++m) text += vpLine(12345, m) + "\n";
  ASSERT_EQ(QelLoadFile(nameBuffer(file("one.txt", text)).data()), 0);
  const int64_t key = QelGetSatKey(12345);
  ASSERT_GT(key, 0);

  std::vector<char> xs(512);
  std::vector<double> xa(512);
  ASSERT_EQ(QelRetrieveAllData(key, xs.data(), xa.data()), 0);
  xa[0] = 54321;  // satellite number
  xa[1] += 10.0;  // epoch, DS50 UTC
  xa[23] = 0.75;  // ballistic coefficient
  xs[39] = 'X';   // drag model, column 40
  ASSERT_EQ(QelUpdateSatFrFields(key, xs.data(), xa.data()), 0);
  qel::QelRecord got;
  qel::QelFindRec(key, got);
  EXPECT_EQ(got.satNum, 12345);
  EXPECT_EQ(got.epoch.year, 2021);
  EXPECT_EQ(got.epoch.day, 123);
  EXPECT_DOUBLE_EQ(got.epoch.second, 3.456);
  EXPECT_EQ(got.commonName.str(), "ISS (ZARYA)");
  ASSERT_EQ(got.numManeuverLines, 3);
  EXPECT_EQ(got.maneuverLines[2].str(), vpLine(12345, 2));
  EXPECT_DOUBLE_EQ(got.ballisticCoef, 0.75);
  EXPECT_EQ(got.dragModel.str(), "XAC70");

  // An ECI position of 2E7 km is refused by validation and changes nothing.
  xa[9] = 2e7;
  zktest::LogWatch log;
  EXPECT_EQ(QelUpdateSatFrFields(key, xs.data(), xa.data()), 2);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(log.lastError().rfind("ValidateQelValues: Invalid ECI PosX = ", 0), 0u) << log.lastError();
  qel::QelRecord after;
  qel::QelFindRec(key, after);
  EXPECT_DOUBLE_EQ(after.eciPos[0], r.eciPos[0]);
  EXPECT_EQ(after.numManeuverLines, 3);

  // A key that is not loaded.
  const int64_t missing = key + 100;
  zktest::LogWatch missLog;
  EXPECT_EQ(QelUpdateSatFrFields(missing, xs.data(), xa.data()), 2);
  EXPECT_EQ(missLog.errors(), 1);
  EXPECT_EQ(missLog.lastError(),
            "QelUpdateSatFrFields: Unable to locate satKey " + keyText(missing) + " in the QEL binary tree.");
}

TEST_F(QelExportsStore, LookupsOfKeysNotLoadedGiveTheirCodeAndExactMessage) {
  const std::vector<Sample> ss = samples(1);
  ASSERT_EQ(QelLoadFile(nameBuffer(file("in.txt", fileText(ss))).data()), 0);
  const int64_t key = QelGetSatKey(101);
  ASSERT_GT(key, 0);
  ASSERT_EQ(QelRemoveSat(key), 0);
  const std::vector<int64_t> absurd = {key, 0, -1, 123456789012345681LL, INT64_MAX};
  for (int64_t k : absurd) {
    SCOPED_TRACE(k);
    std::vector<char> lines(4000, 'x'), xs(512, 'x'), value(512, 'x');
    std::vector<double> xa(512, 9.0);
    {
      zktest::LogWatch log;
      EXPECT_EQ(QelGetLines(k, lines.data()), 2);
      EXPECT_EQ(log.errors(), 1);
      EXPECT_EQ(log.lastError(),
                "QelGetLines: Unable to locate satKey " + keyText(k) + " in the QEL binary tree.");
      EXPECT_EQ(std::string(lines.begin(), lines.end()), std::string(4000, ' '));
    }
    {
      zktest::LogWatch log;
      EXPECT_EQ(QelRetrieveAllData(k, xs.data(), xa.data()), 2);
      EXPECT_EQ(log.errors(), 1);
      EXPECT_EQ(log.lastError(),
                "GetSatToFields: Unable to locate satKey " + keyText(k) + " in the QEL binary tree.");
      EXPECT_EQ(std::string(xs.begin(), xs.end()), std::string(512, ' '));
      EXPECT_EQ(xa, std::vector<double>(512, 0.0));
    }
    {
      zktest::LogWatch log;
      EXPECT_EQ(QelGetField(k, 4, value.data()), 2);
      EXPECT_EQ(QelSetField(k, 4, value.data()), 2);
      EXPECT_EQ(QelRemoveSat(k), 2);
      EXPECT_EQ(log.errors(), 3);
      EXPECT_EQ(std::string(value.begin(), value.end()), std::string(512, ' '));
    }
  }
  // The read side is left on every path: a writer still gets in.
  EXPECT_EQ(qel::QelStore().NumReads(), 0);
  zktest::LogWatch log;
  int64_t out = 5;
  EXPECT_EQ(QelGetSatKeyML(999999, &out), -1);
  EXPECT_EQ(out, -1);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(log.lastError(),
            "GetSatKey: Unable to locate satellite number    999999 in the QEL binary tree.");
}

}  // namespace
