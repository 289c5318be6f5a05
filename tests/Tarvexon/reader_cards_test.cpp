// The card type of a line and the tests behind it: every type in its order, the DCE-text number
// line and its neighbours, owner/operator lines, ".dce" names and coordinate names within their
// length, and the per-file limit of bad-point messages.
#include <Tarvexon.h>
#include <gtest/gtest.h>

#include <string>

#include "Tarvexon/TarvexonCardReading.h"
#include "common/TestSupport.h"
#include "reader_files.h"

namespace {

using namespace tarvexon;
using tarvextest::put;

std::string at(size_t col, const std::string& text, std::string line = "") {
  put(line, col, text);
  return line;
}

TEST(TarvexCardType, EachTypeFromItsColumns) {
  EXPECT_EQ(TarvexCardType("EPHEMERIS FILE FOR SATELLITE 12345"), kCardV31);
  EXPECT_EQ(TarvexCardType("ephemeris file for satellite"), kCardV31);  // letters in any case
  EXPECT_EQ(TarvexCardType("ZQ_UNIVERSAL_TARVEXON_V1"), kCardZqUniversal);
  EXPECT_EQ(TarvexCardType(" CCSDS_OEM_VERS = 2.0"), kCardOem);
  EXPECT_EQ(TarvexCardType("CCSDS_OEM_VERS = 2.0"), kCardNone);  // the leading blank is part of it
  EXPECT_EQ(TarvexCardType(tarvextest::spHeader(true)), kCardSimObs);
  EXPECT_EQ(TarvexCardType(tarvextest::spHeader(false)), kCardVecEph);
  EXPECT_EQ(TarvexCardType(at(75, "GP ", at(57, "."))), kCardVecEph);
  EXPECT_EQ(TarvexCardType(tarvextest::itcHeader(1, true)), kCardItc);
  EXPECT_EQ(TarvexCardType(at(113, "GP", at(65, "."))), kCardItc);
  EXPECT_EQ(TarvexCardType(at(113, "GP", at(29, "x", at(65, ".")))), kCardNone);  // column 29 must be blank
  EXPECT_EQ(TarvexCardType("CLASSIFICATION: UNCLASSIFIED"), kCardEcr);
  EXPECT_EQ(TarvexCardType(" SPEPH PREDICTION EPHEMERIS"), kCardJ2k);
  for (const char* ref :
       {"EPHFIL = a", "satfil=a", "EPHINP a", "TARVEX = a", "EPHEMFILE = a", "EXTERNAL_EPHEMERIS = a"})
    EXPECT_EQ(TarvexCardType(ref), kCardEphemFile) << ref;
  EXPECT_EQ(TarvexCardType("#TARVEXON = my label"), kCardLabel);
  EXPECT_EQ(TarvexCardType("stk.v.12.0"), kCardDotE);
  EXPECT_EQ(TarvexCardType("24100000000.000  1.0 2.0 3.0 4.0 5.0 6.0"), kCardOwner);
  EXPECT_EQ(TarvexCardType("24100000000.000 1.0 2.0"), kCardNone);  // column 12 "." decides: not 13 or 18
  EXPECT_EQ(TarvexCardType(at(13, "VERSION: 3")), kCardOasys);
  EXPECT_EQ(TarvexCardType("*      "), kCardOasys);
  EXPECT_EQ(TarvexCardType("2024/04/09 00:00:00.000 1 2 3"), kCardOasys);
  EXPECT_EQ(TarvexCardType("CLASSIFICATION:                 UNCLASSIFIED"), kCardLch);
  std::string eelv;
  for (size_t c : {2, 25, 48, 71, 94, 117}) put(eelv, c, ".");
  EXPECT_EQ(TarvexCardType(eelv), kCardEelv);
  EXPECT_EQ(TarvexCardType("TIME(SEC): TIME ..."), kCardLaunch);
  EXPECT_EQ(TarvexCardType("anything else"), kCardNone);
  EXPECT_EQ(TarvexCardType(""), kCardNone);
}

TEST(TarvexCardType, EarlierTestsWin) {
  // A V31 title with an ITC dot and mark is still V31.
  EXPECT_EQ(TarvexCardType(at(113, "SP", at(65, ".", "EPHEMERIS FILE FOR SATELLITE"))), kCardV31);
  // Simulated observations come before vector ephemeris and both before ITC.
  EXPECT_EQ(TarvexCardType(at(113, "SP", tarvextest::spHeader(true))), kCardSimObs);
}

TEST(IsSatNumOnly, OneNumberOfUpToNineDigitsFromColumnOne) {
  EXPECT_TRUE(IsSatNumOnly("12345"));
  EXPECT_TRUE(IsSatNumOnly("12345 SATELLITE"));  // letters after it do not matter
  EXPECT_TRUE(IsSatNumOnly("123456789"));
  EXPECT_FALSE(IsSatNumOnly("1234567890"));  // ten digits
  EXPECT_FALSE(IsSatNumOnly(" 12345"));
  EXPECT_FALSE(IsSatNumOnly("12345 6"));
  EXPECT_FALSE(IsSatNumOnly("12345A6"));
  EXPECT_EQ(TarvexCardType("12345"), kCardDceText);
  EXPECT_EQ(TarvexCardType("12345 SATELLITE"), kCardDceText);
  EXPECT_EQ(TarvexCardType("1234567890"), kCardNone);
}

TEST(IsOwnerOperatorFile, SixSeparatedRealsWithPoints) {
  EXPECT_TRUE(IsOwnerOperatorFile("24100000000.000  1.0 2.0 3.0 4.0 5.0 6.0"));
  EXPECT_TRUE(IsOwnerOperatorFile("24100000000.000 ,1.0,2.0,,3.0, 4.0 5.0 6.0"));
  EXPECT_FALSE(IsOwnerOperatorFile("24100000000.000  1.0 2.0 3.0 4.0 5.0"));    // five numbers
  EXPECT_FALSE(IsOwnerOperatorFile("24100000000.000  1.0 2.0 3 4.0 5.0 6.0"));  // one without a point
  EXPECT_FALSE(
      IsOwnerOperatorFile("24100000000.000 1.0 2.0 3.0 4.0 5.0 6.0"));  // no separator before the first
  EXPECT_FALSE(IsOwnerOperatorFile("short"));
}

TEST(FileIsDotDce, ComparesWithinTheName) {
  EXPECT_TRUE(FileIsDotDce("dir/x.dce"));
  EXPECT_TRUE(FileIsDotDce("X.DCE   "));
  EXPECT_TRUE(FileIsDotDce(".Dce"));
  EXPECT_FALSE(FileIsDotDce("x.dc"));
  EXPECT_FALSE(FileIsDotDce("x.dcex"));
  EXPECT_FALSE(FileIsDotDce("x.dce.txt"));
  EXPECT_FALSE(FileIsDotDce("dce"));
  EXPECT_FALSE(FileIsDotDce(""));
  // Only the given length counts: the characters after it are never read.
  const char buf[] = {'x', '.', 'd', 'c'};
  EXPECT_FALSE(FileIsDotDce(std::string_view(buf, sizeof buf)));
}

TEST(Coord, ThreeLetterNamesAndFiveLetterPrefixes) {
  EXPECT_EQ(Coord("EFG"), kCoordEfg);
  EXPECT_EQ(Coord("eci"), kCoordEci);
  EXPECT_EQ(Coord("J2K"), kCoordJ2k);
  EXPECT_EQ(Coord("Ecr"), kCoordEcr);
  EXPECT_EQ(Coord("llh"), kCoordLlh);
  EXPECT_EQ(Coord("SEN"), kCoordSen);
  EXPECT_EQ(Coord("eci       "), kCoordUnknown);  // a three-letter name in a wider field
  EXPECT_EQ(Coord("hcsrl"), kCoordHcsrl);
  EXPECT_EQ(Coord("WPTRL     "), kCoordWptrl);
  EXPECT_EQ(Coord("hcsgcXYZ"), kCoordHcsgc);
  EXPECT_EQ(Coord("wptgc"), kCoordWptgc);
  EXPECT_EQ(Coord("wptg"), kCoordUnknown);  // shorter than five: never read past the length
  EXPECT_EQ(Coord("ec"), kCoordUnknown);
  EXPECT_EQ(Coord(""), kCoordUnknown);
}

class SkipMessages : public tarvextest::ReaderTest {};

TEST_F(SkipMessages, TwoLinesEachUpToTwentyPerFileThenOneCountLine) {
  const auto states = tarvextest::circularOrbit(5);
  std::string text = tarvextest::itcFile(7, states, false);
  for (int k = 0; k < 1000; ++k)
    text += " garbage line " + std::to_string(k) + " " + std::string(600, 'x') + "\n";
  const std::string path = file("garbage.itc", text);
  zktest::LogWatch log;
  const int64_t key = TarvexAddSatFrFile(path.c_str());
  EXPECT_GT(key, 0);
  EXPECT_EQ(stored(key).numPts, 5);
  EXPECT_EQ(log.errors(), 2 * kMaxSkipMessagesPerFile + 1);
  EXPECT_EQ(
      zktest::LogWatch::lastError().rfind("ReadOnlyTarvexs: 980 more bad ephemeris points skipped in ", 0),
      0u)
      << zktest::LogWatch::lastError();
  // A second file starts its own count.
  zktest::LogWatch again;
  empty();
  EXPECT_GT(TarvexAddSatFrFile(path.c_str()), 0);
  EXPECT_EQ(again.errors(), 2 * kMaxSkipMessagesPerFile + 1);
}

TEST_F(SkipMessages, MessageNamesTheReaderAndTheText) {
  zktest::LogWatch log;
  SkipBadEphemPoint("ReadJ2K", "the offending text");
  EXPECT_EQ(log.errors(), 2);
  EXPECT_EQ(zktest::LogWatch::lastError(), "the offending text");
  // A bad time is shown by its columns 4-18.
  const std::string path = file("bad.itc", tarvextest::itcHeader(1, true) + "\n 2024ABC000000.000 1 2 3\n" +
                                               tarvextest::itcPoint(tarvextest::circularOrbit(1)[0]) + "\n");
  zktest::LogWatch one;
  EXPECT_GT(TarvexAddSatFrFile(path.c_str()), 0);
  EXPECT_EQ(one.errors(), 2);
  EXPECT_EQ(zktest::LogWatch::lastError(), "24ABC000000.000");
}

}  // namespace
