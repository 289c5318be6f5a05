// UNB3m slant delay: compiled tables against the published tables, zenith, latitude rows, season,
// and the analytic elevation derivative against finite differences.
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Pelmath.h"
#include "Pelmath/SlantDelay.h"
#include "Pelmath/Units.h"
#include "common/TestSupport.h"

namespace {

using pelmath::kDegToRad;

// Rows of the published tables by tag (MET_AVG, MET_AMP, HYD_AVG, HYD_AMP, WET, HT_CORR).
std::map<std::string, std::vector<std::vector<double>>> readtables(const std::string& path) {
  std::map<std::string, std::vector<std::vector<double>>> t;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ss(line);
    std::string tag;
    ss >> tag;
    std::vector<double> row;
    for (double v; ss >> v;) row.push_back(v);
    t[tag].push_back(row);
  }
  return t;
}

template <typename Table>
void expecttable(const Table& compiled, const std::vector<std::vector<double>>& published, const char* tag) {
  ASSERT_EQ(published.size(), compiled.size()) << tag;
  for (size_t r = 0; r < compiled.size(); ++r) {
    ASSERT_EQ(published[r].size(), compiled[r].size()) << tag << " row " << r;
    for (size_t c = 0; c < compiled[r].size(); ++c)
      EXPECT_EQ(compiled[r][c], published[r][c]) << tag << r << c;
  }
}

TEST(Unb3mTables, CompiledTablesEqualPublishedTables) {
  const std::string path = zktest::dataPath("unb3m-tables.txt");
  ZK_REQUIRE_DATA(path);
  auto t = readtables(path);
  expecttable(pelmath::kUnb3mMetAvg, t["MET_AVG"], "MET_AVG");
  expecttable(pelmath::kUnb3mMetAmp, t["MET_AMP"], "MET_AMP");
  expecttable(pelmath::kNiellHydAvg, t["HYD_AVG"], "HYD_AVG");
  expecttable(pelmath::kNiellHydAmp, t["HYD_AMP"], "HYD_AMP");
  expecttable(pelmath::kNiellWet, t["WET"], "WET");
  ASSERT_EQ(t["HT_CORR"].size(), 1u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pelmath::kNiellHeightCorr[i], t["HT_CORR"][0][i]);
}

TEST(Unb3m, ZenithMappingFunctionsAreOne) {
  for (double latDeg : {-70.0, -20.0, 0.0, 33.0, 45.0, 80.0}) {
    for (double h : {0.0, 1500.0}) {
      const auto d = pelmath::unb3m(latDeg * kDegToRad, h, 150.0, 90.0 * kDegToRad);
      EXPECT_NEAR(d.hmf, 1.0, 1e-12) << latDeg << " " << h;
      EXPECT_NEAR(d.wmf, 1.0, 1e-12) << latDeg << " " << h;
      EXPECT_NEAR(d.slant, d.hzd + d.wzd, 1e-12);
      // Sea-level zenith delays of the climatology: about 2.3 m dry and a few dm wet at most.
      if (h == 0.0) {
        EXPECT_GT(d.hzd, 2.25);
        EXPECT_LT(d.hzd, 2.36);
        EXPECT_GT(d.wzd, 0.02);
        EXPECT_LT(d.wzd, 0.40);
      }
    }
  }
}

// Hydrostatic zenith delay at sea level written out from a published pressure.
double hydzenith(double latDeg, double pressure) {
  const double phic = std::atan(0.9933056200098587 * std::tan(latDeg * kDegToRad));
  return 0.0022768 * pressure / (1.0 - 0.00266 * std::cos(2.0 * phic));
}

TEST(Unb3m, TableRowsAndSeasonAtDay28) {
  const std::string path = zktest::dataPath("unb3m-tables.txt");
  ZK_REQUIRE_DATA(path);
  auto t = readtables(path);
  const double elev = 20.0 * kDegToRad;
  for (int row : {0, 2, 4}) {
    const double latDeg = t["MET_AVG"][row][0];
    const double pAvg = t["MET_AVG"][row][1], pAmp = t["MET_AMP"][row][1];
    // Northern day 28 is the seasonal maximum of the factor (s = 1); southern day 28 + 182.625 too.
    const auto north = pelmath::unb3m(latDeg * kDegToRad, 0.0, 28.0, elev);
    const auto south = pelmath::unb3m(-latDeg * kDegToRad, 0.0, 28.0 + 182.625, elev);
    EXPECT_NEAR(north.hzd, hydzenith(latDeg, pAvg - pAmp), 1e-12) << latDeg;
    EXPECT_NEAR(south.hzd, north.hzd, 1e-12) << latDeg;
    EXPECT_NEAR(south.slant, north.slant, 1e-12) << latDeg;
    // Half a year later the factor is -1.
    const auto winter = pelmath::unb3m(latDeg * kDegToRad, 0.0, 28.0 + 182.625, elev);
    EXPECT_NEAR(winter.hzd, hydzenith(latDeg, pAvg + pAmp), 1e-12) << latDeg;
    // A row is used as it stands: a hair either side interpolates to the same values.
    for (double eps : {-1e-9, 1e-9}) {
      const auto near = pelmath::unb3m((latDeg + eps) * kDegToRad, 0.0, 28.0, elev);
      EXPECT_NEAR(near.slant, north.slant, 1e-9) << latDeg;
    }
  }
  // Beyond the table the end rows hold (the mapping functions depend on the tables alone).
  const auto at75 = pelmath::unb3m(75.0 * kDegToRad, 300.0, 100.0, elev);
  const auto at88 = pelmath::unb3m(88.0 * kDegToRad, 300.0, 100.0, elev);
  EXPECT_NEAR(at88.wmf, at75.wmf, 1e-15);
  EXPECT_NEAR(at88.hmf, at75.hmf, 1e-15);
  const auto at15 = pelmath::unb3m(15.0 * kDegToRad, 300.0, 100.0, elev);
  const auto at3 = pelmath::unb3m(3.0 * kDegToRad, 300.0, 100.0, elev);
  EXPECT_NEAR(at3.wmf, at15.wmf, 1e-15);
  EXPECT_NEAR(at3.hmf, at15.hmf, 1e-15);
  // Between rows the meteorology is interpolated: 37.5 deg lies halfway between 30 and 45 in pressure.
  const auto mid = pelmath::unb3m(37.5 * kDegToRad, 0.0, 28.0, elev);
  const double pMid =
      0.5 * ((t["MET_AVG"][1][1] - t["MET_AMP"][1][1]) + (t["MET_AVG"][2][1] - t["MET_AMP"][2][1]));
  EXPECT_NEAR(mid.hzd, hydzenith(37.5, pMid), 1e-12);
}

TEST(Unb3m, LowElevationMapping) {
  // Niell's hydrostatic mapping function is about 10.2 at 5 degrees and the wet one a little larger.
  const auto d = pelmath::unb3m(45.0 * kDegToRad, 0.0, 100.0, 5.0 * kDegToRad);
  EXPECT_GT(d.hmf, 10.0);
  EXPECT_LT(d.hmf, 10.4);
  EXPECT_GT(d.wmf, d.hmf);
  EXPECT_LT(d.wmf, 11.0);
  // Height above the sea lowers the zenith delays.
  const auto high = pelmath::unb3m(45.0 * kDegToRad, 3000.0, 100.0, 5.0 * kDegToRad);
  EXPECT_LT(high.hzd, 0.75 * d.hzd);
  EXPECT_LT(high.wzd, d.wzd);
}

TEST(Unb3mr, DerivativeMatchesCentralDifference) {
  const double step = 1e-5;
  for (double latDeg : {-80.0, -52.0, -10.0, 22.5, 45.0, 61.0, 77.0}) {
    for (double h : {0.0, 2200.0}) {
      for (double doy : {1.0, 140.5, 300.0}) {
        for (double elevDeg : {3.0, 7.0, 15.0, 35.0, 60.0, 85.0}) {
          const double lat = latDeg * kDegToRad, e = elevDeg * kDegToRad;
          const auto plus = pelmath::unb3m(lat, h, doy, e + step);
          const auto minus = pelmath::unb3m(lat, h, doy, e - step);
          const auto r = pelmath::unb3mr(lat, h, doy, e);
          const double fdH = (plus.hmf - minus.hmf) / (2 * step);
          const double fdW = (plus.wmf - minus.wmf) / (2 * step);
          const double fdS = (plus.slant - minus.slant) / (2 * step);
          EXPECT_NEAR(r.dhmf, fdH, 1e-6 * std::fabs(fdH)) << latDeg << " " << h << " " << elevDeg;
          EXPECT_NEAR(r.dwmf, fdW, 1e-6 * std::fabs(fdW)) << latDeg << " " << h << " " << elevDeg;
          EXPECT_NEAR(r.dslant, fdS, 1e-6 * std::fabs(fdS)) << latDeg << " " << h << " " << elevDeg;
          EXPECT_DOUBLE_EQ(r.hzd, plus.hzd);
          EXPECT_DOUBLE_EQ(r.wzd, plus.wzd);
          double delay = 0, rate = 0;
          pelmath::slantdelayunb3(lat, h, doy, e, delay, rate);
          EXPECT_DOUBLE_EQ(delay, pelmath::unb3m(lat, h, doy, e).slant);
          EXPECT_DOUBLE_EQ(rate, r.dslant);
        }
      }
    }
  }
}

TEST(Unb3mExports, DegreesAtTheBoundary) {
  double delay = -1, rate = -1;
  SlantDelayUnb3(-33.9, 120.0, 200.25, 12.0, &delay, &rate);
  const auto d = pelmath::unb3m(-33.9 * kDegToRad, 120.0, 200.25, 12.0 * kDegToRad);
  const auto r = pelmath::unb3mr(-33.9 * kDegToRad, 120.0, 200.25, 12.0 * kDegToRad);
  EXPECT_DOUBLE_EQ(delay, d.slant);
  EXPECT_NEAR(rate, r.dslant * kDegToRad, 1e-15 * std::fabs(rate));
  EXPECT_LT(rate, 0.0);  // the delay shrinks as the ray rises
  double xa[5] = {};
  Unb3mDelays(-33.9, 120.0, 200.25, 12.0, xa);
  EXPECT_DOUBLE_EQ(xa[0], d.hzd);
  EXPECT_DOUBLE_EQ(xa[1], d.hmf);
  EXPECT_DOUBLE_EQ(xa[2], d.wzd);
  EXPECT_DOUBLE_EQ(xa[3], d.wmf);
  EXPECT_DOUBLE_EQ(xa[4], d.slant);
  SlantDelayUnb3(10.0, 0.0, 1.0, 45.0, nullptr, nullptr);  // null outputs are skipped
}

}  // namespace
