// Bad input through the Pelmath exports: NaN, infinite and absurd numbers, null pointers and host
// names with junk after their NUL. Each refusal gives the failure code (or nothing written for a
// void export), exactly one printable trace-log line, and leaves every output and record as it was.
#include <Pelmath.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "Pelmath/JplProcessing.h"
#include "Pelmath/PelmathCardReading.h"
#include "Pelmath/SlantDelay.h"
#include "common/TestSupport.h"

namespace {

using zktest::LogWatch;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
constexpr double kUntouched = -12345.0;  // sentinel an output keeps when nothing is written

bool printable(const std::string& s) {
  for (const char c : s)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) return false;
  return !s.empty();
}

// Exactly one new error line, printable, with this text.
void expectOneLine(const LogWatch& w, const std::string& text) {
  EXPECT_EQ(w.errors(), 1);
  EXPECT_EQ(LogWatch::lastError(), text);
  EXPECT_TRUE(printable(LogWatch::lastError())) << LogWatch::lastError();
}

TEST(SlantDelayBadInput, NonFiniteArgumentsAreRefusedBeforeTheTables) {
  const double bad[] = {kNaN, kInf, -kInf};
  for (int slot = 0; slot < 4; ++slot)
    for (const double v : bad) {
      double args[4] = {45.0, 100.0, 120.0, 30.0};
      args[slot] = v;
      SCOPED_TRACE(slot);
      double delay = kUntouched, rate = kUntouched;
      {
        LogWatch w;
        SlantDelayUnb3(args[0], args[1], args[2], args[3], &delay, &rate);
        expectOneLine(w, "SlantDelayUnb3: input is NaN or infinite");
      }
      EXPECT_EQ(delay, kUntouched);
      EXPECT_EQ(rate, kUntouched);
      double xa[5] = {kUntouched, kUntouched, kUntouched, kUntouched, kUntouched};
      {
        LogWatch w;
        Unb3mDelays(args[0], args[1], args[2], args[3], xa);
        expectOneLine(w, "Unb3mDelays: input is NaN or infinite");
      }
      for (const double x : xa) EXPECT_EQ(x, kUntouched);
    }
  // The library routines themselves never index the tables with a NaN latitude: NaN out.
  EXPECT_TRUE(std::isnan(pelmath::unb3m(kNaN, 0.0, 10.0, 0.5).slant));
  EXPECT_TRUE(std::isnan(pelmath::unb3mr(-kNaN, 0.0, 10.0, 0.5).dslant));
  // Huge but finite latitudes stay in the polar row.
  double delay = 0.0, rate = 0.0;
  SlantDelayUnb3(1e300, 0.0, 10.0, 30.0, &delay, &rate);
  EXPECT_FALSE(std::isnan(delay));
}

TEST(RaDecBadInput, NonFiniteAndAbsurdTimesAndAnglesGiveCodeTwo) {
  using Rotation = int32_t (*)(int32_t, int32_t, double, double, double, double*, double*);
  const struct {
    Rotation f;
    const char* name;
  } rotations[] = {{RotRADec_DateToEqnx, "RotRADec_DateToEqnx"},
                   {RotRADec_EqnxToDate, "RotRADec_EqnxToDate"}};
  for (const auto& r : rotations) {
    SCOPED_TRACE(r.name);
    const double good[3] = {20000.0, 120.0, -30.0};
    for (int slot = 0; slot < 3; ++slot)
      for (const double v : {kNaN, kInf, -kInf}) {
        double args[3] = {good[0], good[1], good[2]};
        args[slot] = v;
        double ra = kUntouched, dec = kUntouched;
        LogWatch w;
        EXPECT_EQ(r.f(106, 1, args[0], args[1], args[2], &ra, &dec), 2);
        expectOneLine(w, std::string(r.name) + ": input is NaN or infinite");
        EXPECT_EQ(ra, 0.0);  // outputs are zeroed first
        EXPECT_EQ(dec, 0.0);
      }
    // A finite time far outside any meaningful span: the series overflow and the result is refused.
    double ra = kUntouched, dec = kUntouched;
    LogWatch w;
    EXPECT_EQ(r.f(106, 1, 1e300, 120.0, -30.0, &ra, &dec), 2);
    expectOneLine(w, std::string(r.name) + ": result is NaN or infinite");
    EXPECT_EQ(ra, 0.0);
    EXPECT_EQ(dec, 0.0);
    // The checks of the codes come first and keep their messages.
    LogWatch w2;
    EXPECT_EQ(r.f(107, 1, kNaN, 0.0, 0.0, &ra, &dec), 2);
    expectOneLine(w2, std::string(r.name) + ": nutation terms is outside of its valid range (4-106)");
    // A sound call still succeeds.
    EXPECT_EQ(r.f(106, 2, 20000.0, 120.0, -30.0, &ra, &dec), 0);
    EXPECT_TRUE(std::isfinite(ra) && std::isfinite(dec));
  }
}

TEST(ExportNullPointers, RefusedWithOneLineAndNothingWritten) {
  double out3[3] = {kUntouched, kUntouched, kUntouched};
  const double pos[3] = {7000.0, 0.0, 0.0}, vel[3] = {0.0, 7.5, 0.0};
  double cov[36];
  for (double& c : cov) c = kUntouched;
  {
    LogWatch w;
    double ra = kUntouched;
    EXPECT_EQ(RotRADec_DateToEqnx(106, 2, 20000.0, 10.0, 10.0, &ra, nullptr), 2);
    expectOneLine(w, "RotRADec_DateToEqnx: null argument");
    EXPECT_EQ(ra, kUntouched);
  }
  {
    LogWatch w;
    EXPECT_EQ(RotRADec_EqnxToDate(106, 2, 20000.0, 10.0, 10.0, nullptr, nullptr), 2);
    expectOneLine(w, "RotRADec_EqnxToDate: null argument");
  }
  {
    LogWatch w;
    CovMtxUVWToECI(pos, nullptr, cov, cov);
    expectOneLine(w, "CovMtxUVWToECI: null argument");
    for (const double c : cov) EXPECT_EQ(c, kUntouched);
  }
  {
    LogWatch w;
    CovMtxECIToEqnx(pos, vel, nullptr, cov);
    expectOneLine(w, "CovMtxECIToEqnx: null argument");
  }
  {
    LogWatch w;
    ECIToEFG(0.3, pos, vel, out3, nullptr);
    expectOneLine(w, "ECIToEFG: null argument");
    EXPECT_EQ(out3[0], kUntouched);
  }
  {
    LogWatch w;
    ECIToEFGTime(20000.0, nullptr, vel, out3, out3);
    expectOneLine(w, "ECIToEFGTime: null argument");
    EXPECT_EQ(out3[0], kUntouched);
  }
  {
    LogWatch w;
    KepToPosVel(nullptr, out3, out3);
    expectOneLine(w, "KepToPosVel: null argument");
    EXPECT_EQ(out3[0], kUntouched);
  }
  {
    LogWatch w;
    EXPECT_TRUE(std::isnan(SolveKepEqtn(nullptr)));
    expectOneLine(w, "SolveKepEqtn: null argument");
  }
  {
    LogWatch w;
    AzElToLAD(10.0, 20.0, out3, nullptr, out3);
    expectOneLine(w, "AzElToLAD: null argument");
    EXPECT_EQ(out3[0], kUntouched);
  }
  {
    LogWatch w;
    EXPECT_EQ(IsPointSunlit(20000.0, nullptr), 0);
    expectOneLine(w, "IsPointSunlit: null argument");
  }
  {
    LogWatch w;
    Unb3mDelays(45.0, 0.0, 10.0, 30.0, nullptr);
    expectOneLine(w, "Unb3mDelays: null argument");
  }
  {
    LogWatch w;
    double mag = kUntouched;
    CompSunPos(20000.0, nullptr, &mag);
    expectOneLine(w, "CompSunPos: null argument");
    EXPECT_EQ(mag, kUntouched);
  }
  {
    LogWatch w;
    PelmathGetInfo(nullptr);
    expectOneLine(w, "PelmathGetInfo: null argument");
  }
}

TEST(RaDeclDirection, CodesOtherThanOneAndTwoAreRefused) {
  for (const int32_t dir : {0, 3, -1}) {
    double ra = kUntouched, dec = kUntouched;
    LogWatch w;
    RotRADecl(106, dir, 20000.0, 10.0, 20.0, 20100.0, &ra, &dec);
    expectOneLine(w, "RotRADecl: direction is outside of its valid range (1-2)");
    EXPECT_EQ(ra, kUntouched);
    EXPECT_EQ(dec, kUntouched);
  }
}

class JplNames : public ::testing::Test {
 protected:
  void SetUp() override { pelmath::jplReset(); }
  void TearDown() override { pelmath::jplReset(); }
  static std::string controlName() {
    std::vector<char> back(512, 'x');
    double start = 0.0, stop = 0.0;
    JplGetParameters(back.data(), &start, &stop);
    return std::string(basalon::trimRight(std::string_view(back.data(), back.size())));
  }
};

TEST_F(JplNames, NameEndsAtTheFirstNulAndJunkAfterItIsIgnored) {
  std::vector<char> name(512, '#');  // junk everywhere after the NUL
  const std::string stem = "de405.txt";
  std::copy(stem.begin(), stem.end(), name.begin());
  name[stem.size()] = '\0';
  JplSetParameters(name.data(), 10.0, 20.0);
  EXPECT_EQ(controlName(), stem);
  EXPECT_EQ(pelmath::jplctrl.startTime, 10.0);
  // Trailing blanks before the NUL are dropped too.
  std::vector<char> padded(512, 'z');
  const std::string blanks = "de430.txt   ";
  std::copy(blanks.begin(), blanks.end(), padded.begin());
  padded[blanks.size()] = '\0';
  JplSetParameters(padded.data(), 10.0, 20.0);
  EXPECT_EQ(controlName(), "de430.txt");
}

TEST_F(JplNames, NullNameAndNonFiniteSpanLeaveTheControlRecord) {
  std::vector<char> name(512, ' ');
  name[0] = 'a';
  JplSetParameters(name.data(), 1.0, 2.0);
  {
    LogWatch w;
    JplSetParameters(nullptr, 5.0, 6.0);
    expectOneLine(w, "JplSetParameters: null argument");
  }
  {
    LogWatch w;
    JplSetParameters(name.data(), kNaN, 6.0);
    expectOneLine(w, "JplSetParameters: input is NaN or infinite");
  }
  {
    LogWatch w;
    JplGetParameters(nullptr, nullptr, nullptr);
    expectOneLine(w, "JplGetParameters: null argument");
  }
  EXPECT_EQ(controlName(), "a");
  EXPECT_EQ(pelmath::jplctrl.startTime, 1.0);
  EXPECT_EQ(pelmath::jplctrl.stopTime, 2.0);
}

TEST_F(JplNames, CardFileNameEndsAtItsNul) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("zk_pmnul_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string path = (dir / "cards.txt").string();
  std::ofstream(path) << "JPL_FILE = named_by_card.txt\n";
  std::string host = path;
  host.push_back('\0');
  host += "junk after the terminator";
  host.resize(512, 'q');
  EXPECT_EQ(pelmath::ReadPelmathFrFile(host), 0);
  EXPECT_EQ(controlName(), "named_by_card.txt");
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace

namespace {

// The integer spectrum of the exports: 0, 2 and 3 name their matrices, every other value the
// series (also a negative one, which never selects the linearised nutation).
TEST(SpectrumCodes, ValuesOutsideTheTableActAsTheSeries) {
  const double pos[3] = {7000.0, -1200.0, 300.0}, vel[3] = {1.0, 7.2, 0.4};
  double p1[3], v1[3];
  RotJ2KToDate(1, 0, 21000.0, pos, vel, p1, v1);
  for (const int32_t spectr : {-1, 4, 99}) {
    double p[3], v[3];
    RotJ2KToDate(spectr, 0, 21000.0, pos, vel, p, v);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(p[k], p1[k]) << spectr;
      EXPECT_EQ(v[k], v1[k]) << spectr;
    }
  }
  double p0[3], v0[3];
  RotJ2KToDate(0, 0, 21000.0, pos, vel, p0, v0);  // linearised: a different matrix
  EXPECT_NE(p0[0], p1[0]);
}

}  // namespace
