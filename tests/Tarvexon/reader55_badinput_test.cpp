// DCE binary files, written byte by byte: the points of a well-framed file, and every framing fault
// (lying, negative or mismatched record markers, truncation, NUL-filled files) refused with one
// read error and nothing stored. NUL-filled and truncated text files of the other readers too.
#include <Tarvexon.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"
#include "common/TestSupport.h"
#include "reader_files.h"

namespace {

using namespace tarvextest;

void bigEndian(std::string& out, uint64_t bits, int bytes) {
  for (int k = bytes - 1; k >= 0; --k) out += static_cast<char>((bits >> (8 * k)) & 0xff);
}
void marker(std::string& out, uint32_t n) { bigEndian(out, n, 4); }
void real(std::string& out, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  bigEndian(out, bits, 8);
}
// One record framed by its length before and after.
std::string record(const std::string& payload) {
  std::string out;
  marker(out, static_cast<uint32_t>(payload.size()));
  out += payload;
  marker(out, static_cast<uint32_t>(payload.size()));
  return out;
}
std::string pointPayload(double r2, const State& s) {
  std::string p;
  bigEndian(p, 7, 4);
  bigEndian(p, 8, 4);
  real(p, 0.25);
  real(p, r2);
  for (double v : s.pos) real(p, v);
  for (double v : s.vel) real(p, v);
  for (int k = 0; k < 4; ++k) real(p, 99.0);
  return p;
}
std::string dceHeader(int32_t satNum) {
  std::string sat;
  bigEndian(sat, static_cast<uint32_t>(satNum), 4);
  return record(std::string(24, 'T')) + record(sat) + record(std::string(76, ' '));
}
// r2 of state k: days from 1970 January 0.0 such that the first point is 2024 day 100.
double r2Of(const State& s) { return kDs50Day100 - 7305.0 + s.sec / 86400.0; }
std::string dceFile(int32_t satNum, const std::vector<State>& states) {
  std::string out = dceHeader(satNum);
  for (const State& s : states) out += record(pointPayload(r2Of(s), s));
  return out;
}

class DceBinary : public ReaderTest {
 protected:
  int64_t add(const std::string& name, const std::string& bytes) {
    empty();
    return TarvexAddSatFrFile(file(name, bytes).c_str());
  }
  // The file is refused with the read error alone and nothing is stored.
  void expectRefused(const std::string& bytes, const std::string& what) {
    zktest::LogWatch log;
    EXPECT_EQ(add("bad.dce", bytes), -1) << what;
    EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 0) << what;
    EXPECT_EQ(log.errors(), 1) << what;
    EXPECT_EQ(zktest::LogWatch::lastError(), "*** ReadDCEBinary: File read error. ***") << what;
  }
};

TEST_F(DceBinary, WellFramedFileLoadsEveryPoint) {
  const auto states = circularOrbit(25);
  zktest::LogWatch log;
  const int64_t key = add("sat.DCE", dceFile(24680, states));
  ASSERT_GT(key, 0) << zktest::LogWatch::lastError();
  EXPECT_EQ(log.errors(), 0);
  const tarvexon::TarvexRecord rec = stored(key);
  EXPECT_EQ(rec.satNum, 24680);
  EXPECT_EQ(rec.coordSys, tarvexon::kCoordEci);
  expectPoints(rec, states, 0.0, 0.0);

  // The r2 = 18000 point is DS50 25305; it also loads through a card file.
  const std::string one = file("one.dce", dceHeader(7) + record(pointPayload(18000.0, states[0])));
  const std::string cards = file("cards.txt", "EPHFIL = " + one + "\n");
  empty();
  EXPECT_EQ(TarvexLoadFile(cards.c_str()), 0) << zktest::LogWatch::lastError();
  EXPECT_DOUBLE_EQ(stored(tarvexon::TarvexSatKeyGet(7)).epochDs50UTC, 25305.0);
}

TEST_F(DceBinary, FramingFaultsAreReadErrors) {
  const auto states = circularOrbit(3);
  const std::string good = dceFile(1, states);
  const std::string header = dceHeader(1);

  std::string lying = header;
  marker(lying, 0x7fffff00u);  // claims far more than the file holds
  lying += pointPayload(r2Of(states[0]), states[0]);
  expectRefused(lying, "marker beyond the file");

  std::string negative = header;
  marker(negative, 0xfffffff0u);  // -16 as a signed count
  negative += pointPayload(r2Of(states[0]), states[0]);
  expectRefused(negative, "negative marker");

  std::string mismatched = header + record(pointPayload(r2Of(states[0]), states[0]));
  mismatched[mismatched.size() - 1] = 0x67;  // trailing marker 103
  expectRefused(mismatched, "trailing marker differs");

  std::string wrongSize = header + record(pointPayload(r2Of(states[0]), states[0]) + "12345678");
  expectRefused(wrongSize, "record of the wrong size");

  expectRefused(good.substr(0, good.size() - 5), "truncated last record");
  expectRefused(good.substr(0, 3), "truncated first marker");
  expectRefused(good + std::string(2, '\0'), "stray bytes after the last record");
  expectRefused(std::string(4096, '\0'), "NUL-filled file");
  expectRefused(std::string(), "empty file");
  expectRefused(record(std::string(23, 'T')) + good.substr(32), "short title record");
}

TEST_F(DceBinary, MissingFileIsAReadError) {
  int32_t code = 0;
  tarvexon::TarvexRecord rec;
  zktest::LogWatch log;
  tarvexon::ReadDCEBinary((dir_ / "absent.dce").string(), rec, code);
  EXPECT_EQ(code, basalon::kResultFail);
  EXPECT_EQ(rec.numPts, 0);
  EXPECT_EQ(log.errors(), 1);
}

TEST_F(DceBinary, HeaderOnlyFileStoresNothing) {
  zktest::LogWatch log;
  EXPECT_EQ(add("empty.dce", dceHeader(3)), -1);
  EXPECT_EQ(zktest::LogWatch::lastError(),
            "ReadOnlyTarvexs: Input ephemeris does not contain any ephemeris data. It will not be stored.");
}

TEST_F(DceBinary, PointsWithoutAValidTimeOrStateAreSkipped) {
  const auto states = circularOrbit(3);
  std::string bytes = dceFile(2, states);
  bytes += record(pointPayload(-8000.0, states[2]));  // before 1950
  State nan = states[2];
  nan.sec += 60.0;
  nan.pos[1] = std::nan("");
  bytes += record(pointPayload(r2Of(nan), nan));
  zktest::LogWatch log;
  const int64_t key = add("skip.dce", bytes);
  ASSERT_GT(key, 0);
  expectPoints(stored(key), states, 0.0, 0.0);
  EXPECT_EQ(log.errors(), 4);
}

// Text readers given NUL-filled or cut files after a recognised line: no crash, nothing stored.
class TextBadInput55 : public ReaderTest {};

TEST_F(TextBadInput55, NulFilledAndTruncatedFilesStoreNothing) {
  const std::string nuls(2000, '\0');
  const std::string firstLines[] = {
      "stk.v.11.0\n",
      "ZQ_UNIVERSAL_TARVEXON_V1     12345     hcsrl     \n",
      "CLASSIFICATION:                 UNCLASSIFIED\n",
      "            VERSION: 1\n",
      "12345\n",
      "TIME(SEC): TIME\n",
      "2.024000000000000E+03  4.000000000000000E+00  9.000000000000000E+00  0.000000000000000E+00  "
      "0.000000000000000E+00  0.000000000000000E+00\n",
  };
  for (const std::string& first : firstLines) {
    for (const std::string& rest : {nuls, std::string("1 2 3"), std::string("\n\n\n")}) {
      empty();
      const int64_t key = TarvexAddSatFrFile(file("t.txt", first + rest).c_str());
      EXPECT_EQ(key, -1) << first;
      EXPECT_EQ(tarvexon::TarvexGetNumOfTreeNodes(), 0) << first;
    }
  }
}

}  // namespace
