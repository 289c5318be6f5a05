// Loading card files and ephemeris files through the exports: labels, referenced files (missing
// ones too), the self pass, formats without a reader, the returned codes, save then reload, and the
// sample files of the shared data.
#include <Tarvexon.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/TarvexonCardReading.h"
#include "common/TestSupport.h"
#include "reader_files.h"

namespace {

using namespace tarvextest;

std::string label(const tarvexon::TarvexRecord& r) {
  return std::string(basalon::trimRight(r.cardLabel.view()));
}
std::string name(const tarvexon::TarvexRecord& r) {
  return std::string(basalon::trimRight(r.fileName.view()));
}

std::string readAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class ReaderLoad : public ReaderTest {
 protected:
  // Three ITC files of satellites 1, 2 and 3.
  void threeFiles() {
    for (int k = 1; k <= 3; ++k)
      path_[k] = file("sat" + std::to_string(k) + ".itc", itcFile(k, circularOrbit(4 + k), false));
  }
  // The stored record of a satellite number.
  tarvexon::TarvexRecord ofSat(int satNum) { return stored(tarvexon::TarvexSatKeyGet(satNum)); }
  std::string path_[4];
};

TEST_F(ReaderLoad, LabelCardLabelsOnlyTheNextEphemeris) {
  threeFiles();
  const std::string cards =
      file("cards.txt", "* card file\n#TARVEXON = first label\nEPHFIL = " + path_[1] +
                            "\nEPHFIL = " + path_[2] + "\n#TARVEXON = third\nEPHFIL = " + path_[3] + "\n");
  EXPECT_EQ(TarvexLoadFile(cards.c_str()), 0) << zktest::LogWatch::lastError();
  ASSERT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 3);
  EXPECT_EQ(label(ofSat(1)), "first label");
  EXPECT_EQ(label(ofSat(2)), "");
  EXPECT_EQ(label(ofSat(3)), "third");
  EXPECT_EQ(name(ofSat(2)), path_[2]);
  EXPECT_EQ(ofSat(3).numPts, 7);
}

TEST_F(ReaderLoad, MissingReferencedFileLoadsTheRestAndReportsItsCode) {
  threeFiles();
  const std::string cards =
      file("cards.txt", "EPHFIL = " + path_[1] + "\nEPHFIL = " + (dir_ / "missing.itc").string() +
                            "\nEPHFIL = " + path_[2] + "\n");
  zktest::LogWatch log;
  EXPECT_EQ(TarvexLoadFile(cards.c_str()), basalon::kUnitCannotOpen);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 2);
  EXPECT_EQ(log.errors(), 1);  // the open's own line
}

TEST_F(ReaderLoad, FailedEphemeriesGiveTheFirstCodeAfterLoadingTheRest) {
  threeFiles();
  const std::string headerOnly = file("empty.itc", itcHeader(9, true) + "\n");
  const std::string cards = file("cards.txt", "EPHFIL = " + headerOnly + "\nEPHFIL = " + path_[1] + "\n");
  zktest::LogWatch log;
  EXPECT_EQ(TarvexLoadFile(cards.c_str()), basalon::kResultFail);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 1);
  EXPECT_EQ(log.errors(), 1);
  // The cards after the card file's own failed ephemeris are still followed.
  empty();
  const std::string own =
      file("own.txt", v31File(9, circularOrbit(3), "XYZ") + "#TARVEXON = late\nEPHFIL = " + path_[2] + "\n");
  EXPECT_EQ(TarvexLoadFile(own.c_str()), basalon::kResultFail);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 1);
  EXPECT_EQ(label(ofSat(2)), "late");
}

TEST_F(ReaderLoad, EphemerisFileLoadedDirectlyIsReadOnceWithOneSummary) {
  const std::string path = file("direct.itc", itcFile(42, circularOrbit(10), true));
  zktest::LogWatch log;
  EXPECT_EQ(TarvexLoadFile(path.c_str()), 0);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 1);
  EXPECT_EQ(log.errors(), 0);
  EXPECT_EQ(log.infos(), 2);
  EXPECT_EQ(zktest::LogWatch::lastInfo(),
            "Total ephemeris points = 10, Start = 24100000000.000, End = 24100000900.000, Coord = ECI");
}

TEST_F(ReaderLoad, SecondEphemerisInOneFileIsStoredOnItsOwn) {
  // A V31 ephemeris ends at its "Z" line; the ITC after it starts a new record with the label set
  // between them, and the first record keeps only its own points.
  const std::string path = file("both.txt", v31File(11, circularOrbit(5)) + "#TARVEXON = second\n" +
                                                itcFile(22, circularOrbit(7), false));
  EXPECT_EQ(TarvexLoadFile(path.c_str()), 0);
  EXPECT_EQ(ofSat(11).numPts, 5);
  EXPECT_EQ(label(ofSat(11)), "");
  EXPECT_EQ(ofSat(22).numPts, 7);
  EXPECT_EQ(label(ofSat(22)), "second");
}

TEST_F(ReaderLoad, CardsAfterAnEphemerisThatRunsToTheEndAreStillFollowed) {
  // An ITC reader takes every line after its header, yet the card after it names another file:
  // the referenced file is loaded first, then the file's own ephemeris.
  const std::string other = file("other.itc", itcFile(33, circularOrbit(6), false));
  const std::string path =
      file("mixed.txt", itcFile(44, circularOrbit(8), false) + "EPHFIL = " + other + "\n");
  EXPECT_EQ(TarvexLoadFile(path.c_str()), 0);
  ASSERT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 2);
  EXPECT_EQ(ofSat(33).numPts, 6);
  EXPECT_EQ(ofSat(44).numPts, 8);
  int64_t keys[2] = {0, 0};
  int32_t count = 0;
  tarvexon::TarvexGetTreeKeys(count, keys, 2);  // load order
  ASSERT_EQ(count, 2);
  EXPECT_EQ(keys[0] % 10, 6);
  EXPECT_EQ(tarvexon::TarvexSatKeyGet(33), keys[0]);
}

TEST_F(ReaderLoad, OemFileIsRecognisedAndLoadsNothing) {
  const std::string path = file("x.oem", " CCSDS_OEM_VERS = 2.0\nCREATION_DATE = 2024-04-09\n");
  zktest::LogWatch log;
  EXPECT_EQ(TarvexLoadFile(path.c_str()), 0);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 0);
  EXPECT_EQ(zktest::LogWatch::lastInfo(), "Total ephemeris points = 0");
  EXPECT_EQ(log.errors(), 0);
}

TEST_F(ReaderLoad, EphemerisWithoutItsHeaderFailsAndStoresNothing) {
  const std::string path = file("later.txt", "stk.v.12.0\n12345\n67890\nstk.v.9.0\n");
  zktest::LogWatch log;
  EXPECT_EQ(TarvexLoadFile(path.c_str()), basalon::kResultFail);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadDotE: Unable to read reference epoch time. ***");
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 0);
  EXPECT_EQ(TarvexAddSatFrFile(file("x.dce", "binary").c_str()), -1);
}

TEST_F(ReaderLoad, AddSatFrFileReturnsTheLastKeyOrMinusOne) {
  threeFiles();
  const std::string path = file("two.txt", v31File(5, circularOrbit(3)) + v31File(6, circularOrbit(3)));
  const int64_t key = TarvexAddSatFrFile(path.c_str());
  EXPECT_EQ(stored(key).satNum, 6);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 2);
  // No card processing: the reference is not followed; nothing stored is -1 with a message.
  zktest::LogWatch log;
  const std::string cards = file("cards.txt", "EPHFIL = " + path_[1] + "\n");
  EXPECT_EQ(TarvexAddSatFrFile(cards.c_str()), -1);
  EXPECT_EQ(log.errors(), 1);
  EXPECT_EQ(zktest::LogWatch::lastError(),
            "TarvexAddSatFrFile: No ephemeris was stored from file \"" + cards + "\".");
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 2);
  EXPECT_EQ(TarvexAddSatFrFile((dir_ / "none").string().c_str()), -1);
  // A name padded with blanks in its 512-character buffer, left-adjusted.
  std::string padded(512, ' ');
  padded.replace(3, path_[3].size(), path_[3]);
  EXPECT_GT(TarvexAddSatFrFile(padded.data()), 0);
}

TEST_F(ReaderLoad, SaveRemoveAllThenLoadRestoresTheSameFiles) {
  threeFiles();
  const std::string cards = file("cards.txt", "#TARVEXON = label one\nEPHFIL = " + path_[1] +
                                                  "\nEPHFIL = " + path_[2] + "\nEPHFIL = " + path_[3] + "\n");
  ASSERT_EQ(TarvexLoadFile(cards.c_str()), 0);
  // A second ephemeris of one file is named once; a record made in memory has no file to name.
  const std::string twice = file("twice.txt", v31File(8, circularOrbit(3)) + v31File(9, circularOrbit(4)));
  ASSERT_EQ(TarvexLoadFile(twice.c_str()), 0);
  ASSERT_GT(tarvexon::CreateNewSatEntry(77, kDs50Day100, kRadius, kKe, 1), 0);
  const std::string save = (dir_ / "save.txt").string();
  ASSERT_EQ(TarvexSaveFile(save.c_str(), 0), 0);
  const std::string text = readAll(save);
  EXPECT_EQ(text.rfind("\n\n\n*** External Ephemeris Input Files ***\n", 0), 0u);
  EXPECT_NE(text.find("#TARVEXON = label one\nEPHFIL = " + path_[1] + "\n"), std::string::npos);
  size_t n = 0;
  for (size_t p = text.find("EPHFIL = "); p != std::string::npos; p = text.find("EPHFIL = ", p + 1)) ++n;
  EXPECT_EQ(n, 4u);

  empty();
  EXPECT_EQ(TarvexLoadFile(save.c_str()), 0) << zktest::LogWatch::lastError();
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 5);
  EXPECT_EQ(label(ofSat(1)), "label one");
  EXPECT_EQ(ofSat(2).numPts, 6);
  EXPECT_EQ(ofSat(9).numPts, 4);
  // Appending writes the title and the references again after what is there.
  ASSERT_EQ(TarvexSaveFile(save.c_str(), 1), 0);
  const std::string appended = readAll(save);
  EXPECT_EQ(appended.rfind(text, 0), 0u);
  EXPECT_NE(appended.find("*** External Ephemeris Input Files ***", text.size()), std::string::npos);
}

TEST_F(ReaderLoad, SaveToAnUnwritablePlaceReturnsTheOpenCode) {
  EXPECT_EQ(TarvexSaveFile((dir_ / "no" / "such" / "dir.txt").string().c_str(), 0), basalon::kUnitCannotOpen);
  EXPECT_EQ(TarvexLoadFile((dir_ / "missing.txt").string().c_str()), basalon::kUnitCannotOpen);
}

TEST_F(ReaderLoad, SaveThatCannotBeWrittenFailsWithAMessage) {
  threeFiles();
  ASSERT_EQ(TarvexLoadFile(path_[1].c_str()), 0);
  zktest::LogWatch log;
  EXPECT_NE(TarvexSaveFile("/dev/full", 0), 0);
  EXPECT_EQ(log.errors(), 1);
}

TEST_F(ReaderLoad, SaveAndLoadUseAFreeUnitNotAFixedOne) {
  // Units 3, 4 and 8 held by the host do not stand in the way.
  threeFiles();
  const std::string other = file("other.txt", "x\n");
  for (int unit : {3, 4, 8}) ASSERT_EQ(basalon::fileopen(unit, other, basalon::kOpenRead), 0);
  const std::string cards = file("cards.txt", "EPHFIL = " + path_[1] + "\n");
  EXPECT_EQ(TarvexLoadFile(cards.c_str()), 0);
  EXPECT_EQ(TarvexSaveFile((dir_ / "save.txt").string().c_str(), 0), 0);
  for (int unit : {3, 4, 8}) basalon::fileClose(unit);
  EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 1);
}

TEST_F(ReaderLoad, UnitThatCannotBeRewoundGivesItsCode) {
  int unit = 0, status = 0;
  basalon::fileopenmt((dir_ / "write.txt").string(), basalon::kOpenWrite, unit, status);
  ASSERT_EQ(status, 0);
  zktest::LogWatch log;
  EXPECT_EQ(tarvexon::ReadTarvexsFrFileUnit(unit, "write.txt"), basalon::kUnitWrongMode);
  EXPECT_EQ(log.errors(), 1);
  basalon::fileClose(unit);
}

TEST_F(ReaderLoad, NullNamesAreRefusedWithOneLine) {
  zktest::LogWatch log;
  EXPECT_EQ(TarvexLoadFile(nullptr), basalon::kResultFail);
  EXPECT_EQ(TarvexAddSatFrFile(nullptr), -1);
  EXPECT_EQ(TarvexSaveFile(nullptr, 0), basalon::kResultFail);
  EXPECT_EQ(log.errors(), 3);
  EXPECT_EQ(zktest::LogWatch::lastError(), "TarvexSaveFile: null argument");
}

TEST_F(ReaderLoad, DefaultNamedUnitIsRefused) {
  const std::string path = file("fort.61", itcFile(1, circularOrbit(3), false));
  ASSERT_EQ(basalon::fileopen(61, path, basalon::kOpenRead), 0);
  EXPECT_EQ(tarvexon::ReadTarvexsFrFileUnit(61, path), basalon::kResultFail);
  EXPECT_EQ(zktest::LogWatch::lastError(),
            "ReadTarvexsFrFileUnit: Using fort.n not allowed in Zenkora due to security risk");
  basalon::fileClose(61);
  const std::string v31 = file("fort.62", v31File(1, circularOrbit(3)));
  ASSERT_EQ(basalon::fileopen(62, v31, basalon::kOpenRead), 0);
  EXPECT_EQ(tarvexon::AddTarvexFile(62, v31), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(),
            "ReadV31: Using fort.n not allowed in Zenkora due to security risk");
  basalon::fileClose(62);
}

// The shared CCSDS samples begin without the leading blank of type 9: they store nothing and fail
// nothing (the ".e" samples are read by the tests of their reader).
TEST_F(ReaderLoad, SharedSampleFilesLoadNothingAndFailNothing) {
  for (const char* sample : {"ephem/pystk/Satellite1.oem", "ephem/orekit/OEMExample1.txt"}) {
    const std::string path = zktest::dataPath(sample);
    ZK_REQUIRE_DATA(path);
    zktest::LogWatch log;
    EXPECT_EQ(TarvexLoadFile(path.c_str()), 0) << sample;
    EXPECT_EQ(log.errors(), 0) << sample;
    EXPECT_EQ(zktest::LogWatch::lastInfo(), "Total ephemeris points = 0") << sample;
    EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 0) << sample;
  }
}

}  // namespace
