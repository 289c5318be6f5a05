// IAU 1976 precession and IAU 1980 nutation against published worked examples and ERFA, the
// compiled nutation table against the reference file, and the term-count rules.
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "Pelmath/PrecessionNutation.h"
#include "common/TestSupport.h"

using namespace pelmath;

namespace {

constexpr double kDeg = 0.017453292519943295;

double maxDiff(const Mat3& a, const Mat3& b) {
  double m = 0.0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m = std::max(m, std::fabs(a[i][j] - b[i][j]));
  return m;
}

}  // namespace

TEST(FramesNutationTable, MatchesReferenceFileRowForRow) {
  const std::string path = zktest::dataPath("iau1980-nutation.txt");
  ZK_REQUIRE_DATA(path);
  std::ifstream in(path);
  std::string line;
  int row = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    int l, lp, F, D, om;
    double a, ap, b, bp;
    ASSERT_TRUE(fields >> l >> lp >> F >> D >> om >> a >> ap >> b >> bp) << line;
    ASSERT_LT(row, kNutation1980Terms);
    const Nut80Term& t = kNutation1980[static_cast<size_t>(row)];
    EXPECT_EQ(t.l, l) << "row " << row;
    EXPECT_EQ(t.lp, lp) << "row " << row;
    EXPECT_EQ(t.F, F) << "row " << row;
    EXPECT_EQ(t.D, D) << "row " << row;
    EXPECT_EQ(t.om, om) << "row " << row;
    EXPECT_EQ(t.a, a) << "row " << row;
    EXPECT_EQ(t.ap, ap) << "row " << row;
    EXPECT_EQ(t.b, b) << "row " << row;
    EXPECT_EQ(t.bp, bp) << "row " << row;
    ++row;
  }
  EXPECT_EQ(row, kNutation1980Terms);
}

// Vallado, Fundamentals of Astrodynamics and Applications, Examples 3-14/3-15: 2004 April 6
// 07:51:28.386 UTC, TT 07:52:32.570, T_TT = 0.0426236319. Printed: zeta 0.0273055 deg, theta
// 0.0237306 deg, z 0.0273059 deg, dpsi -0.0034108 deg, deps 0.0020316 deg (ERFA prec76/nut80 give
// the same to all printed digits).
TEST(FramesPrecession, ValladoWorkedExampleAnglesToPrintedDigits) {
  const double T = 0.0426236319;
  Mat3 p;
  double zeta, theta, z;
  precfull(0.0, T, p, &zeta, &theta, &z);
  EXPECT_NEAR(zeta / kDeg, 0.0273055, 0.6e-7);
  EXPECT_NEAR(theta / kDeg, 0.0237306, 0.6e-7);
  EXPECT_NEAR(z / kDeg, 0.0273059, 0.6e-7);
  Mat3 n;
  double dpsi, deps;
  nutate(PnSpectrum::kSeries, 106, T, n, &dpsi, &deps);
  EXPECT_NEAR(dpsi / kDeg, -0.0034108, 0.6e-7);
  EXPECT_NEAR(deps / kDeg, 0.0020316, 0.6e-7);
}

// ERFA 2.0 pmat76(jd, 0), nut80(jd, 0) and obl80(jd, 0) at jd = DS50 + 2433281.5 (the DS50 value
// taken as TT); recorded offline.
struct ErfaPnCase {
  double ds50, dpsi, deps, epsBar;
  Mat3 p;
};
const ErfaPnCase kErfaCases[] = {
    {7305.0,
     2.213935194795617e-05,
     4.069689251537339e-05,
     0.4091608995988806,
     {{{0.9999732476298293, 0.00670845943805146, 0.002915578265140188},
       {-0.0067084594395219145, 0.9999774979849879, -9.779145737344055e-06},
       {-0.002915578261756815, -9.780154412427285e-06, 0.9999957496448413}}}},
    {15000.25,
     7.789379266007482e-05,
     1.9791336148184802e-05,
     0.4091130819550037,
     {{{0.9999976275180247, 0.0019978057967717693, 0.0008681764338580489},
       {-0.0019978057967833317, 0.9999980043836318, -8.672116671951698e-07},
       {-0.0008681764338314429, -8.672383024411703e-07, 0.9999996231343928}}}},
    {19819.3273,
     -5.895166448248859e-05,
     3.5649857130305016e-05,
     0.409083136342126,
     {{{0.9999994606751277, -0.00095253715531947, -0.00041391112771857014},
       {0.0009525371553188726, 0.9999995463363616, -1.9713436055598439e-07},
       {0.00041391112771994496, -1.971314739153528e-07, 0.9999999143387661}}}},
    {31000.0,
     -2.0867296866495062e-05,
     -4.556154914512569e-05,
     0.4090136599239577,
     {{{0.9999638520210105, -0.007798404019269022, -0.003388147879751621},
       {0.007798404016586149, 0.9999695918977909, -1.3212103638581422e-05},
       {0.003388147885926712, -1.32105199865062e-05, 0.9999942601232196}}}},
};

TEST(FramesPrecession, MatchesErfaPrecessionAndNutation) {
  for (const ErfaPnCase& c : kErfaCases) {
    const double T = centryj2000(c.ds50);
    Mat3 p;
    prec(T, p);
    EXPECT_LT(maxDiff(p, c.p), 1e-14) << c.ds50;
    // The fundamental arguments are the IERS ones, ERFA's are the 1980 ones: ~1e-5 arcsec apart.
    Mat3 n;
    double dpsi, deps;
    nutate(PnSpectrum::kSeries, 106, T, n, &dpsi, &deps);
    EXPECT_NEAR(dpsi, c.dpsi, 2e-10) << c.ds50;
    EXPECT_NEAR(deps, c.deps, 2e-10) << c.ds50;
    // Pole-only matrix of ERFA's angles: rotation by dpsi sin(eps) about y and deps about x.
    const double a = c.dpsi * std::sin(c.epsBar + c.deps), b = c.deps;
    EXPECT_NEAR(n[0][2], -std::sin(a) * std::cos(b), 2e-10);
    EXPECT_NEAR(n[1][2], -std::sin(b), 2e-10);
    EXPECT_EQ(n[1][0], 0.0);
    // The full PN of the J2K -> date rotation agrees with N * P built from ERFA's values.
    Mat3 pn;
    getpnmatrix(PnSpectrum::kSeries, 106, T, pn);
    EXPECT_LT(maxDiff(pn, mulMat(n, c.p)), 1e-13) << c.ds50;
  }
}

TEST(FramesNutation, TermCountRules) {
  const double T = 0.17;
  Mat3 lin, s0, s1, s2, s4, s106, s200;
  double dpsiLin, dpsi0, dpsi4, dpsi106;
  nutate(PnSpectrum::kLinearised, 0, T, lin, &dpsiLin);
  nutate(PnSpectrum::kSeries, 0, T, s0, &dpsi0);
  nutate(PnSpectrum::kSeries, 2, T, s2);
  nutate(PnSpectrum::kSeries, 4, T, s4, &dpsi4);
  nutate(PnSpectrum::kLinearised, 1, T, s1);
  nutate(PnSpectrum::kSeries, 106, T, s106, &dpsi106);
  nutate(PnSpectrum::kSeries, 200, T, s200);
  // n < 1 with selector 1, and n = 2, both sum exactly the first four terms.
  EXPECT_EQ(maxDiff(s0, s4), 0.0);
  EXPECT_EQ(maxDiff(s2, s4), 0.0);
  // Selector 0 with n >= 1 is the series, not the linearised model.
  EXPECT_EQ(maxDiff(s1, s4), 0.0);
  // The linearised model is close to, but not the same as, the four-term series.
  EXPECT_NE(maxDiff(lin, s4), 0.0);
  EXPECT_NEAR(dpsiLin, dpsi4, 5e-8);
  // More terms change the result (by up to ~1 arcsec); more than 106 is held at 106.
  EXPECT_GT(std::fabs(dpsi106 - dpsi4), 1e-7);
  EXPECT_EQ(maxDiff(s200, s106), 0.0);
  // The linearised matrix has the first-order form with an exact zero in (2,1) and ones on the diagonal.
  EXPECT_EQ(lin[1][0], 0.0);
  EXPECT_EQ(lin[0][1], 0.0);
  EXPECT_EQ(lin[0][0], 1.0);
  EXPECT_EQ(lin[2][0], -lin[0][2]);
}
