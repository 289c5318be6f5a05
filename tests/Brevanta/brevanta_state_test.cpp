// States at a time: dispatch by key and by object, the refusals of satellites and frames that
// are not propagated here, ephemeris span and epoch, one-point and site ephemerides.
#include <Brevanta.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "Brevanta/StateAtTime.h"
#include "Brevanta/brevanta_samples.h"
#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Planix/Planix.h"
#include "common/TestSupport.h"

namespace {

using brevanta::BrevantaOut;
using brevanta::CommonPropObj;
using brevanta::TimeType;
using brevtest::point;

constexpr double kT0 = 27837.5;  // DS50 UTC of the ephemerides' first points
constexpr double kMsDays = 1e-3 / 86400.0;

struct State {
  int32_t code = -1;
  double time = -99;
  int32_t revNum = -99;
  double pos[3] = {-99, -99, -99}, vel[3] = {-99, -99, -99}, llh[3] = {-99, -99, -99};
  bool allZero() const {
    bool zero = time == 0.0 && revNum == 0;
    for (int k = 0; k < 3; ++k) zero = zero && pos[k] == 0.0 && vel[k] == 0.0 && llh[k] == 0.0;
    return zero;
  }
};

State ds50Utc(int64_t key, double t) {
  State s;
  s.code = BrevantaDs50UTC(key, t, &s.time, &s.revNum, s.pos, s.vel, s.llh);
  return s;
}

State byMse(int64_t key, double mse) {
  State s;
  s.code = BrevantaMse(key, mse, &s.time, &s.revNum, s.pos, s.vel, s.llh);
  return s;
}

// Four ECI points a minute apart on a circular orbit of radius 7000 km in the equator plane.
std::vector<tarvexon::TarvexPoint> circularPoints(int n = 4, double t0 = kT0) {
  const double r = 7000.0, w = std::sqrt(398600.8 / (r * r * r));
  std::vector<tarvexon::TarvexPoint> pts;
  for (int k = 0; k < n; ++k) {
    const double a = w * 60.0 * k;
    pts.push_back(point(
        t0 + k / 1440.0,
        {r * std::cos(a), r * std::sin(a), 0.0, -r * w * std::sin(a), r * w * std::cos(a), 0.0}, 100 + k));
  }
  return pts;
}

class BrevantaState : public ::testing::Test {
 protected:
  void SetUp() override { brevtest::emptyAll(); }
  void TearDown() override { brevtest::emptyAll(); }
};

// A Qel satellite: the UTC request by key answers 0 with an empty record (as the SP satellites'
// common path does), the TAI and MSE requests refuse it, and the exports refuse it with 2 and a
// message instead of converting an empty record.
TEST_F(BrevantaState, QelSatelliteIsNotPropagated) {
  const int64_t qel = brevtest::addQel();
  ASSERT_GT(qel, 0);
  BrevantaOut out;
  out.revNum = 5;
  int32_t code = -1;
  brevanta::BrevantaInUTC_Key(qel, kT0, out, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(out.geoConst, nullptr);
  EXPECT_EQ(out.revNum, 0);

  zktest::LogWatch log;
  brevanta::BrevantaInTAI_Key(qel, kT0, out, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "BrevantaInTAI_Key: Invalid orbital element type.");
  brevanta::BrevantaInMSE_Key(qel, 0.0, out, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "BrevantaInMSE_Key: Invalid orbital element type.");

  const long before = log.errors();
  State s = ds50Utc(qel, kT0);
  EXPECT_EQ(s.code, 2);
  EXPECT_TRUE(s.allZero());
  EXPECT_EQ(log.errors(), before + 1);
  EXPECT_NE(log.lastError().find("BrevantaDs50UTC: This satellite ="), std::string::npos);
  s = byMse(qel, 0.0);
  EXPECT_EQ(s.code, 2);
  EXPECT_TRUE(s.allZero());

  // An SP vector is refused on every path.
  const int64_t spvec = brevtest::addSpVec();
  s = ds50Utc(spvec, kT0);
  EXPECT_EQ(s.code, 2);
  EXPECT_TRUE(s.allZero());
  EXPECT_EQ(log.lastError(), "BrevantaInTAI_Key: Invalid orbital element type.");
}

TEST_F(BrevantaState, ObjectDispatchSetsTheCode) {
  CommonPropObj obj;
  obj.propType = 2;
  BrevantaOut out;
  int32_t code = 77;  // what the caller left there
  brevanta::BrevantaInUTC_Obj(obj, kT0, out, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(out.geoConst, nullptr);

  zktest::LogWatch log;
  obj.propType = 4;
  brevanta::BrevantaInUTC_Obj(obj, kT0, out, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "BrevantaInTAI_Obj: Invalid orbital element type.");
  brevanta::BrevantaInMSE_Obj(obj, 0.0, out, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.lastError(), "BrevantaInMSE_Obj: Invalid orbital element type.");
}

// The same SGP4 state by key and by object, in each time system.
TEST_F(BrevantaState, SgpStateByKeyAndObjectInEachTimeSystem) {
  const int64_t key = kymortest::addTle(brevtest::kIssLine1, brevtest::kIssLine2);
  ASSERT_EQ(BrevantaInitSat(key), 0);
  CommonPropObj obj;
  int32_t code = -1;
  brevanta::GetPropObj(key, obj, code);
  ASSERT_EQ(code, 0);

  const double utc = kT0 + 0.123;
  BrevantaOut ref;
  brevanta::BrevantaInUTC_Key(key, utc, ref, code);
  ASSERT_EQ(code, 0);
  EXPECT_EQ(ref.ds50UTC, utc);
  EXPECT_EQ(ref.geoConst, &planix::wgs72);
  const double tai = chronel::utc2tai(utc);
  const auto same = [&](const BrevantaOut& o, double tol) {
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(o.pos[k], ref.pos[k], tol);
      EXPECT_NEAR(o.vel[k], ref.vel[k], tol);
    }
    EXPECT_NEAR(o.mse, ref.mse, 1e-6);
    EXPECT_EQ(o.revNum, ref.revNum);
  };
  BrevantaOut out;
  brevanta::BrevantaInTAI_Key(key, tai, out, code);
  ASSERT_EQ(code, 0);
  same(out, 1e-12);
  brevanta::BrevantaInMSE_Key(key, ref.mse, out, code);
  ASSERT_EQ(code, 0);
  same(out, 1e-12);
  brevanta::BrevantaInUTC_Obj(obj, utc, out, code);
  ASSERT_EQ(code, 0);
  same(out, 0.0);
  brevanta::BrevantaInTAI_Obj(obj, tai, out, code);
  same(out, 1e-12);
  brevanta::BrevantaInMSE_Obj(obj, ref.mse, out, code);
  same(out, 1e-12);

  // The export: km and km/s of the same state, and back from the MSE form.
  const State s = ds50Utc(key, utc);
  ASSERT_EQ(s.code, 0);
  EXPECT_NEAR(s.pos[0], ref.pos[0] * 6378.135, 1e-9);
  EXPECT_NEAR(s.time, ref.mse, 1e-9);
  const State m = byMse(key, ref.mse);
  ASSERT_EQ(m.code, 0);
  EXPECT_NEAR(m.time, utc, 1e-9);
  EXPECT_NEAR(m.pos[2], s.pos[2], 1e-6);

  // A prepared object without its SGP4 copy is refused, not dereferenced.
  obj.sgp4Obj.reset();
  brevanta::BrevantaInTAI_Obj(obj, tai, out, code);
  EXPECT_EQ(code, 2);
}

// Points in frames the state path does not turn into ECI are refused instead of coming back as
// ECI km with code 0.
TEST_F(BrevantaState, FramesNotConvertedAreRefused) {
  std::vector<tarvexon::TarvexPoint> site = circularPoints();
  const int64_t llh = brevtest::addEphem(1, tarvexon::kCoordLlh, site);
  const int64_t sen = brevtest::addEphem(2, tarvexon::kCoordSen, site);
  const int64_t unknown = brevtest::addEphem(3, 100, site);
  const int64_t mobile = brevtest::addEphem(4, tarvexon::kCoordHcsgc, site);
  for (const int64_t key : {llh, sen, unknown, mobile}) {
    ASSERT_GT(key, 0);
    zktest::LogWatch log;
    const State s = ds50Utc(key, kT0 + 1.5 / 1440.0);
    EXPECT_EQ(s.code, 2);
    EXPECT_TRUE(s.allZero());
    EXPECT_EQ(log.errors(), 1);
    EXPECT_NE(log.lastError().find("is not converted to ECI"), std::string::npos) << log.lastError();
  }
}

// The span check accepts a request up to half a millisecond outside the points.
TEST_F(BrevantaState, SpanToleranceAtBothEnds) {
  const auto pts = circularPoints();
  const int64_t key = brevtest::addEphem(5, tarvexon::kCoordEci, pts);
  const double first = pts.front().ds50UTC, last = pts.back().ds50UTC;
  EXPECT_EQ(ds50Utc(key, first - 0.4 * kMsDays).code, 0);
  EXPECT_EQ(ds50Utc(key, last + 0.4 * kMsDays).code, 0);
  zktest::LogWatch log;
  const State early = ds50Utc(key, first - 0.6 * kMsDays);
  EXPECT_EQ(early.code, 2);
  EXPECT_TRUE(early.allZero());
  EXPECT_EQ(log.lastError(), "InterpolateEP: Request time out of ephemeris range.");
  EXPECT_EQ(ds50Utc(key, last + 0.6 * kMsDays).code, 2);
  // A time that is no time is refused at the export.
  EXPECT_EQ(ds50Utc(key, std::numeric_limits<double>::quiet_NaN()).code, 2);
  EXPECT_EQ(log.lastError(), "BrevantaDs50UTC: input is NaN or infinite");
}

// One ECI point is the state at every time; MSE counts from the point.
TEST_F(BrevantaState, OnePointEphemerisAtAnyTime) {
  tarvexon::TarvexPoint p = point(kT0, {7000.0, 10.0, -20.0, 0.1, 7.5, 0.2}, 42);
  for (int e = 0; e < tarvexon::kCovPacked; ++e) p.covMtx[e] = 1.0 + e;
  const int64_t key = brevtest::addEphem(6, tarvexon::kCoordEci, {p});
  for (const double t : {kT0 - 400.0, kT0, kT0 + 0.37}) {
    const State s = ds50Utc(key, t);
    ASSERT_EQ(s.code, 0);
    EXPECT_NEAR(s.pos[0], 7000.0, 1e-9);
    EXPECT_NEAR(s.pos[2], -20.0, 1e-9);
    EXPECT_NEAR(s.vel[1], 7.5, 1e-12);
    EXPECT_EQ(s.revNum, 42);
    EXPECT_NEAR(s.time, (t - kT0) * 1440.0, 1e-6);
  }
  // The full record: kind 3, current constants, the point's covariance, Keplerian elements.
  BrevantaOut out;
  int32_t code = -1;
  brevanta::PropTarvex(key, kT0 + 1.0, TimeType::kDs50Utc, out, code);
  ASSERT_EQ(code, 0);
  EXPECT_EQ(out.kind, 3);
  EXPECT_EQ(out.geoConst, &planix::genvgeo());
  ASSERT_EQ(out.cov.size(), 21u);
  EXPECT_EQ(out.cov[20], 21.0);
  EXPECT_GT(out.oscKep[0], 0.0);
  EXPECT_EQ(out.oscKep, out.meanKep);
  // Not stored: code 2 and no message of its own.
  zktest::LogWatch log;
  brevanta::PropTarvex(key + 10, kT0, TimeType::kDs50Utc, out, code);
  EXPECT_EQ(code, 2);
  EXPECT_EQ(log.errors(), 0);
}

// An ephemeris whose epoch lies before its first point counts minutes since the record's epoch.
TEST_F(BrevantaState, MinutesCountFromTheRecordEpoch) {
  const auto pts = circularPoints(6, kT0 + 10.0 / 1440.0);
  const int64_t key = brevtest::addEphem(7, tarvexon::kCoordEci, pts, kT0);
  const State onPoint = byMse(key, 12.0);  // point 3
  ASSERT_EQ(onPoint.code, 0);
  EXPECT_NEAR(onPoint.time, pts[2].ds50UTC, 1e-9);
  EXPECT_NEAR(onPoint.pos[0], pts[2].pos[0], 1e-6);
  EXPECT_NEAR(onPoint.pos[1], pts[2].pos[1], 1e-6);
  EXPECT_EQ(onPoint.revNum, 102);
  const State byTime = ds50Utc(key, pts[3].ds50UTC);
  ASSERT_EQ(byTime.code, 0);
  EXPECT_NEAR(byTime.time, 13.0, 1e-6);
  EXPECT_EQ(byMse(key, 5.0).code, 2);  // before the first point
}

// A one-point site ephemeris is the target's inertial state: straight up from a site on the
// equator, and east along the horizon from a sensor given as an ECR position.
TEST_F(BrevantaState, OnePointSiteEphemerides) {
  const double r = planix::genvgeo().earthRadius;
  const int64_t llh =
      brevtest::addEphem(8, tarvexon::kCoordLlh, {point(kT0, {0.0, 0.0, 0.0, 1000.0, 0.0, 90.0})});
  State s = ds50Utc(llh, kT0 + 0.3);
  ASSERT_EQ(s.code, 0);
  EXPECT_NEAR(std::hypot(s.pos[0], s.pos[1]), r + 1000.0, 1e-6);
  EXPECT_NEAR(s.pos[2], 0.0, 1e-6);
  EXPECT_NEAR(s.llh[0], 0.0, 1e-9);
  EXPECT_NEAR(std::remainder(s.llh[1], 360.0), 0.0, 1e-9);
  EXPECT_NEAR(s.llh[2], 1000.0, 1e-6);
  // Carried round by the Earth: speed omega r, at right angles to the position.
  const double w = 7.292115146706979e-5;
  EXPECT_NEAR(std::hypot(s.vel[0], s.vel[1]), w * (r + 1000.0), 1e-6);
  EXPECT_NEAR(s.vel[0] * s.pos[0] + s.vel[1] * s.pos[1], 0.0, 1e-6);

  const int64_t sen =
      brevtest::addEphem(9, tarvexon::kCoordSen, {point(kT0, {r, 0.0, 0.0, 100.0, 90.0, 0.0})});
  s = ds50Utc(sen, kT0 + 0.3);
  ASSERT_EQ(s.code, 0);
  EXPECT_NEAR(s.llh[0], 0.0, 1e-9);
  EXPECT_NEAR(s.llh[1], std::atan2(100.0, r) * basalon::kRadToDeg, 1e-9);
  EXPECT_NEAR(s.llh[2], std::hypot(r, 100.0) - r, 1e-6);
}

TEST_F(BrevantaState, StateFromPositionAndVelocity) {
  const planix::GeoConst& g = planix::genvgeo();
  const double a = 7000.0, v = std::sqrt(g.muKm / a);
  // Inclined 30 degrees, at the ascending node: canonical units.
  const double pos[3] = {a / g.earthRadius, 0.0, 0.0};
  const double vel[3] = {0.0, v * std::cos(basalon::kPi / 6) * g.kmPerSecToErPerKemin,
                         v * std::sin(basalon::kPi / 6) * g.kmPerSecToErPerKemin};
  BrevantaOut out;
  brevanta::PV2Prop(out, pos, vel, 9, chronel::utc2tai(kT0), TimeType::kDs50Tai);
  EXPECT_EQ(out.kind, 0);
  EXPECT_EQ(out.revNum, 9);
  EXPECT_EQ(out.geoConst, nullptr);
  EXPECT_NEAR(out.ds50UTC, kT0, 1e-9);
  EXPECT_EQ(out.pos[0], pos[0]);
  EXPECT_TRUE(out.cov.empty());
  EXPECT_NEAR(out.oscKep[1], 0.0, 1e-9);        // circular
  EXPECT_NEAR(out.oscKep[2], basalon::kPi / 6, 1e-12);  // inclination
  EXPECT_EQ(out.oscKep, out.meanKep);
  brevanta::PV2Prop(out, pos, vel, 9, kT0, TimeType::kMse);
  EXPECT_EQ(out.ds50UTC, 0.0);
}

// A request that fails leaves the caller's record as new, whatever it held before.
TEST_F(BrevantaState, FailedRequestResetsTheRecordWholly) {
  const int64_t key = brevtest::addEphem(10, tarvexon::kCoordEci, circularPoints());
  for (const double t : {kT0 - 1.0, kT0 + 1.5 / 1440.0}) {
    BrevantaOut out;
    int32_t code = -1;
    brevanta::BrevantaInUTC_Key(key, kT0 + 1.5 / 1440.0, out, code);  // a full record first
    ASSERT_EQ(code, 0);
    ASSERT_EQ(out.cov.size(), 21u);
    out.kind = 9;
    out.revNum = 8;
    out.thirdTime = 7.0;
    out.meanKep[5] = 6.0;
    // Out of the span, then a key that no store holds.
    brevanta::BrevantaInUTC_Key(key + (t < kT0 ? 0 : 10), t, out, code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(out.kind, 0);
    EXPECT_EQ(out.revNum, 0);
    EXPECT_EQ(out.geoConst, nullptr);
    EXPECT_EQ(out.pos, basalon::Vec3{});
    EXPECT_EQ(out.ds50UTC, 0.0);
    EXPECT_EQ(out.thirdTime, 0.0);
    EXPECT_EQ(out.oscKep, basalon::Elset{});
    EXPECT_EQ(out.meanKep, basalon::Elset{});
    EXPECT_TRUE(out.cov.empty());
  }
}

TEST_F(BrevantaState, NullOutputsAreRefused) {
  double mse = 0, pos[3], vel[3], llh[3];
  int32_t rev = 0;
  zktest::LogWatch log;
  EXPECT_EQ(BrevantaDs50UTC(1, kT0, &mse, &rev, pos, vel, nullptr), 2);
  EXPECT_EQ(log.lastError(), "BrevantaDs50UTC: null argument");
  EXPECT_EQ(BrevantaMse(1, 0.0, nullptr, &rev, pos, vel, llh), 2);
  EXPECT_EQ(log.errors(), 2);
}

}  // namespace
