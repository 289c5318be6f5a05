// JPL's own DE405 test points (testpo.405 rows inside the sample) evaluated from the sample file
// through ephem_point, and the Sun and Moon of date of the export against the same vectors rotated.
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Pelmath.h"
#include "Pelmath/JplProcessing.h"
#include "Pelmath/PrecessionNutation.h"
#include "common/TestSupport.h"

namespace {

using pelmath::jplbuf;

const std::string kSample = "de-sample/de405-2000-2004.txt";

struct TestPoint {
  double jed;
  int target, center, coord;
  double value;
};

std::vector<TestPoint> readtestpoints(const std::string& path) {
  std::vector<TestPoint> pts;
  std::ifstream in(path);
  std::string line;
  bool data = false;
  while (std::getline(in, line)) {
    if (!data) {
      data = line.rfind("EOT", 0) == 0;
      continue;
    }
    std::istringstream ss(line);
    int de = 0;
    std::string date;
    TestPoint p{};
    if (ss >> de >> date >> p.jed >> p.target >> p.center >> p.coord >> p.value) pts.push_back(p);
  }
  return pts;
}

// Position (au) and velocity (au/day) of a body of the test file relative to the solar-system
// barycentre; nutations and librations in rad and rad/day.
std::array<double, 6> bodystate(int body, double jed) {
  const chronel::SplitTime t = chronel::tosplittai(jed - 2433281.5);
  auto item = [&](int it) {
    std::array<double, 6> s{};
    pelmath::ephem_point(t, it, s.data(), s.data() + 3);
    return s;
  };
  std::array<double, 6> s{};
  if (body == 12) return s;  // the barycentre itself
  if (body == 3 || body == 10) {
    const auto emb = item(pelmath::kJplEmb), moon = item(pelmath::kJplMoon);
    for (int i = 0; i < 6; ++i) {
      s[i] = emb[i] - moon[i] / (1.0 + jplbuf.emrat);
      if (body == 10) s[i] += moon[i];
    }
  } else if (body == 14) {
    double v[3] = {}, r[3] = {};
    pelmath::ephem_point(t, pelmath::kJplNutations, v, r);
    return {v[0], v[1], r[0] * 86400.0, r[1] * 86400.0, 0.0, 0.0};
  } else if (body == 15) {
    s = item(pelmath::kJplLibrations);
    for (int i = 3; i < 6; ++i) s[i] *= 86400.0;
    return s;
  } else {
    s = item(body == 13 ? pelmath::kJplEmb : body);
  }
  for (int i = 0; i < 3; ++i) s[i] /= jplbuf.au;
  for (int i = 3; i < 6; ++i) s[i] *= 86400.0 / jplbuf.au;
  return s;
}

class JplSample : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = zktest::dataPath(kSample);
    ZK_REQUIRE_DATA(path_);
    pelmath::jplReset();
    pelmath::jplSetParameters(path_, 0.0, 36525.0);
    ASSERT_EQ(pelmath::buildjpl(), 0) << zktest::LogWatch::lastError();
  }
  void TearDown() override { pelmath::jplReset(); }
  std::string path_;
};

TEST_F(JplSample, HeaderConstants) {
  EXPECT_EQ(jplbuf.denum, 405);
  EXPECT_EQ(jplbuf.ncoeff, 1018);
  EXPECT_EQ(jplbuf.au, 149597870.691);
  EXPECT_EQ(jplbuf.emrat, 0.813005600000000044e+02);
  EXPECT_EQ(jplbuf.startJD, 2305424.5);
  EXPECT_EQ(jplbuf.endJD, 2525008.5);
  EXPECT_EQ(jplbuf.interval, 32.0);
  EXPECT_EQ(jplbuf.constants.size(), 156u);
  EXPECT_EQ(jplbuf.numBlocks, 58);
  EXPECT_EQ(jplbuf.coeff.size(), 58u * 1018u);
  // Group 1050 of DE405: Moon from 441 with 13 coefficients in 8 sub-intervals, librations present.
  EXPECT_EQ(jplbuf.ipt[9], 441);
  EXPECT_EQ(jplbuf.ncf[9], 13);
  EXPECT_EQ(jplbuf.nsub[9], 8);
  EXPECT_EQ(jplbuf.ipt[12], 899);
  // GM of the Sun in km^3/s^2 (DE405: 1.32712440018e11 within the constant's digits).
  EXPECT_NEAR(jplbuf.gm[9], 1.32712440018e11, 1e3);
  EXPECT_EQ(pelmath::jpl_value("denum"), 405.0);
  EXPECT_EQ(pelmath::jpl_value("clight  "), pelmath::jpl_value("CLIGHT"));
  EXPECT_EQ(pelmath::jpl_value("NOSUCH"), jplbuf.notFound);
  // The buffer spans the records' JDs.
  EXPECT_EQ(chronel::fromSplit(jplbuf.bufStart), 2451536.5 - 2433281.5);
  EXPECT_EQ(chronel::fromSplit(jplbuf.bufEnd), 2453392.5 - 2433281.5);
}

TEST_F(JplSample, AgreesWithJplTestPoints) {
  const std::string tp = zktest::dataPath("de-sample/testpo-2000-2004.405");
  ZK_REQUIRE_DATA(tp);
  const auto pts = readtestpoints(tp);
  ASSERT_EQ(pts.size(), 21u);
  for (const TestPoint& p : pts) {
    const auto tgt = bodystate(p.target, p.jed);
    const auto ctr = bodystate(p.center, p.jed);
    const double got = p.center == 0 ? tgt[p.coord - 1] : tgt[p.coord - 1] - ctr[p.coord - 1];
    EXPECT_NEAR(got, p.value, 1e-12) << "jed " << p.jed << " target " << p.target << " center " << p.center
                                     << " coordinate " << p.coord;
  }
}

TEST_F(JplSample, BufferEndEvaluatesTheLastRecordAtItsEnd) {
  // At the very end of the buffer the last record is evaluated at x = +1 of its last sub-interval,
  // continuing the series a millisecond earlier (not wrapping to the sub-interval's start).
  const chronel::SplitTime end = jplbuf.bufEnd;
  const chronel::SplitTime justBefore = chronel::plus(end, -1e-3);
  for (int it : {pelmath::kJplEmb, pelmath::kJplMoon, pelmath::kJplSun}) {
    double atEnd[3], before[3];
    pelmath::ephem_point(end, it, atEnd);
    pelmath::ephem_point(justBefore, it, before);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(atEnd[i], before[i], 1.0) << it;  // km; bodies move < 100 km/s
  }
}

TEST_F(JplSample, SunMoonOfDateIsTheJ2000PairRotated) {
  // 2003-07-14 06:00 UTC; TAI - UTC was 32 s then.
  const double ds50UTC = 2452834.75 - 2433281.5;
  double sun[3] = {}, moon[3] = {};
  ASSERT_EQ(JplCompSunMoonPos(ds50UTC, sun, moon), 0);
  const double ds50TAI = chronel::utc2tai(ds50UTC);
  EXPECT_NEAR((ds50TAI - ds50UTC) * 86400.0, 32.0, 1e-4);
  pelmath::Vec3 sunJ{}, moonJ{};
  ASSERT_EQ(pelmath::jpl_ephem(chronel::tosplittai(ds50TAI), moonJ, sunJ), 0);
  // The J2000 pair straight from the series at TT.
  double emb[3], mg[3], sb[3];
  const chronel::SplitTime tt = chronel::plus(chronel::tosplittai(ds50TAI), 32.184);
  pelmath::ephem_point(tt, pelmath::kJplEmb, emb);
  pelmath::ephem_point(tt, pelmath::kJplMoon, mg);
  pelmath::ephem_point(tt, pelmath::kJplSun, sb);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(moonJ[i], mg[i]);
    EXPECT_NEAR(sunJ[i], sb[i] - (emb[i] - mg[i] / (1.0 + jplbuf.emrat)), 1e-6);
  }
  pelmath::Mat3 pn;
  pelmath::getpnmatrix(pelmath::PnSpectrum::kLinearised, 106, (ds50TAI - 18263.5) / 36525.0, pn);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(sun[i], pn[i][0] * sunJ[0] + pn[i][1] * sunJ[1] + pn[i][2] * sunJ[2], 1e-4);
    EXPECT_NEAR(moon[i], pn[i][0] * moonJ[0] + pn[i][1] * moonJ[1] + pn[i][2] * moonJ[2], 1e-7);
  }
  // Distances of that date: the Sun near aphelion (1.0166 au), the Moon within its orbit's range.
  const double sunDist = std::sqrt(sun[0] * sun[0] + sun[1] * sun[1] + sun[2] * sun[2]);
  EXPECT_NEAR(sunDist / jplbuf.au, 1.0166, 2e-4);
  double su[3], md = 0, mu[3], sd = 0;
  ASSERT_EQ(JplCompSunMoonVec(ds50UTC, su, &sd, mu, &md), 0);
  EXPECT_NEAR(sd, sunDist, 1e-6);
  EXPECT_GT(md, 356000.0);
  EXPECT_LT(md, 407000.0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(su[i] * sd, sun[i], 1e-5);
    EXPECT_NEAR(mu[i] * md, moon[i], 1e-7);
  }
  // Precession over 3.5 years moves the Sun's direction by about 3.5 * 50" from J2000.
  const double cosang = (sun[0] * sunJ[0] + sun[1] * sunJ[1] + sun[2] * sunJ[2]) / (sunDist * sunDist);
  EXPECT_NEAR(std::acos(std::min(1.0, cosang)) * 206264.806, 3.54 * 50.3, 25.0);
}

TEST_F(JplSample, PlanetsAndNutationsRelativeToTheEarth) {
  const chronel::SplitTime tai = chronel::tosplittai(2452000.5 - 2433281.5);
  int flags[9] = {1, 1, 1, 1, 0, 0, 0, 0, 1};
  pelmath::Vec3 planets[9], moon{}, sun{};
  double nut[2] = {};
  ASSERT_EQ(pelmath::jpl_ephem(tai, moon, sun, flags, planets, nut), 0);
  for (int k : {2, 4, 5, 6, 7}) EXPECT_EQ(planets[k], pelmath::Vec3{}) << k;  // not asked, or the EMB slot
  const chronel::SplitTime tt = chronel::plus(tai, 32.184);
  double mars[3], emb[3], mg[3], nv[2];
  pelmath::ephem_point(tt, pelmath::kJplMars, mars);
  pelmath::ephem_point(tt, pelmath::kJplEmb, emb);
  pelmath::ephem_point(tt, pelmath::kJplMoon, mg);
  pelmath::ephem_point(tt, pelmath::kJplNutations, nv);
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(planets[3][i], mars[i] - (emb[i] - mg[i] / (1.0 + jplbuf.emrat)), 1e-5);
  EXPECT_EQ(nut[0], nv[0]);
  EXPECT_EQ(nut[1], nv[1]);
  EXPECT_LT(std::fabs(nut[0]), 1e-4);  // nutation in longitude stays below 20"
}

}  // namespace
