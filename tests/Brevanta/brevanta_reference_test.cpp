// States checked against independent references (brevanta_reference.h, made by
// make_reference.py): python-sgp4 for SGP4 satellites with ERFA's geodetic conversion, and
// ephemerides written in four frames through ERFA's rotations coming back as the TEME state.
#include "Brevanta/brevanta_reference.h"

#include <Brevanta.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "Brevanta/brevanta_samples.h"
#include "Siblings/Chronel/Chronel.h"

namespace {

struct State {
  int32_t code = -1;
  double time = 0;
  int32_t revNum = 0;
  double pos[3] = {}, vel[3] = {}, llh[3] = {};
};

State ds50Utc(int64_t key, double t) {
  State s;
  s.code = BrevantaDs50UTC(key, t, &s.time, &s.revNum, s.pos, s.vel, s.llh);
  return s;
}

class BrevantaReference : public ::testing::Test {
 protected:
  void SetUp() override {
    brevtest::emptyAll();
    chronel::clearTimeConstants();
  }
  void TearDown() override {
    brevtest::emptyAll();
    chronel::clearTimeConstants();
  }
};

// Kinetra's epoch of a TLE goes through the Julian date (as the published verification output
// was made), which rounds it by up to one step of a double near 2.46e6 days: 4.0e-5 s. A state at
// a UTC time may be that far along the orbit from python-sgp4's, which keeps the epoch exact.
constexpr double kEpochRoundingSec = 4.0e-5;

double magnitude(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// States by key of catalogue TLEs (near-Earth and deep-space, resonant ones included) equal
// python-sgp4's at the same minutes since epoch, and at the same UTC time within the epoch's
// rounding; their geodetic coordinates equal ERFA's conversion of that state.
TEST_F(BrevantaReference, SgpStatesAndGeodeticCoordinates) {
  for (const brevref::SgpCase& c : brevref::kSgpCases) {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.mse) + " min");
    const int64_t key = kymortest::addTle(c.line1, c.line2);
    ASSERT_GT(key, 0);
    ASSERT_EQ(BrevantaInitSat(key), 0);

    State s;
    s.code = BrevantaMse(key, c.mse, &s.time, &s.revNum, s.pos, s.vel, s.llh);
    ASSERT_EQ(s.code, 0);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(s.pos[k], c.posMse[k], 1e-5);
      EXPECT_NEAR(s.vel[k], c.velMse[k], 1e-8);
    }

    s = ds50Utc(key, c.ds50UTC);
    ASSERT_EQ(s.code, 0);
    EXPECT_NEAR(s.time, c.mse, kEpochRoundingSec / 60.0 + 1e-9);
    const double r = magnitude(c.pos);
    const double posTol = 1e-5 + magnitude(c.vel) * kEpochRoundingSec;
    const double velTol = 1e-8 + 398600.8 / (r * r) * kEpochRoundingSec;
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(s.pos[k], c.pos[k], posTol);
      EXPECT_NEAR(s.vel[k], c.vel[k], velTol);
    }
    EXPECT_NEAR(s.llh[0], c.llh[0], 1e-5);
    EXPECT_NEAR(std::remainder(s.llh[1] - c.llh[1], 360.0), 0.0, 1e-5);
    EXPECT_NEAR(s.llh[2], c.llh[2], 1e-3);
    brevtest::emptyAll();
  }
}

// Writes daily timing constants (UT1 - UTC and the pole) around the reference points.
std::string writeTimingConstants() {
  const std::string path =
      (std::filesystem::temp_directory_path() / "brevanta_timing_constants.txt").string();
  std::FILE* f = std::fopen(path.c_str(), "w");
  const double mjd0 = std::floor(chronel::ds50ToMjd(brevref::kEphemEci[0][0])) - 5.0;
  for (int d = 0; d < 12; ++d)
    std::fprintf(f, "%.0f %.6f %.6f %.6f\n", mjd0 + d, brevref::kUt1MinusUtc, brevref::kPoleX,
                 brevref::kPoleY);
  std::fclose(f);
  return path;
}

// An ISS ephemeris written in each frame comes back through the state export as python-sgp4's
// TEME state, between the points and on them.
TEST_F(BrevantaReference, EphemerisInEachFrameComesBackAsTeme) {
  struct Frame {
    const char* name;
    int32_t coordSys;
    const double (*points)[7];
  };
  const Frame frames[] = {{"ECI", 1, brevref::kEphemEci},
                          {"J2K", 2, brevref::kEphemJ2k},
                          {"EFG", 3, brevref::kEphemEfg},
                          {"ECR", 4, brevref::kEphemEcr}};
  for (const Frame& f : frames) {
    SCOPED_TRACE(f.name);
    const bool ecr = f.coordSys == tarvexon::kCoordEcr;
    if (ecr) {
      ASSERT_EQ(chronel::loadTimeConstFile(writeTimingConstants()), 0);
    }
    std::vector<tarvexon::TarvexPoint> pts;
    for (int k = 0; k < brevref::kEphemPoints; ++k) {
      const double* p = f.points[k];
      pts.push_back(brevtest::point(p[0], {p[1], p[2], p[3], p[4], p[5], p[6]}));
    }
    const int64_t key = brevtest::addEphem(25544, f.coordSys, pts);
    ASSERT_GT(key, 0);
    for (const auto& truth : brevref::kEphemTruth) {
      const State s = ds50Utc(key, truth[0]);
      ASSERT_EQ(s.code, 0);
      for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(s.pos[k], truth[1 + k], 1e-3);  // 1 m
        EXPECT_NEAR(s.vel[k], truth[4 + k], 1e-6);  // 1 mm/s
      }
    }
    if (ecr) chronel::clearTimeConstants();
    brevtest::emptyAll();
  }
}

}  // namespace
