// The common element data of each store against independent values: catalogue TLEs against a
// two-body computation from the mean motion with WGS-72 constants, SGP mean motions against
// python-sgp4, states built from known Keplerian elements, the drag placement of each TLE type,
// external ephemerides of one point, no points and non-inertial kinds, and unusable elements.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Kymor/CommonElData.h"
#include "Pelmath/EarthFrames.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Chronel/Chronel.h"
#include "common/TestSupport.h"
#include "kymor_samples.h"

namespace {

using namespace kymortest;

// WGS-72 and WGS-84 as published (not read from the constants library).
constexpr double kMu72 = 398600.8, kRadius72 = 6378.135, kFlat72 = 1.0 / 298.26;
constexpr double kMu84 = 398600.4418, kRadius84 = 6378.137, kFlat84 = 1.0 / 298.257223563;

kymor::CommonSatData commData(int64_t key) {
  kymor::CommonSatData rec;
  kymor::GetCommElData(rec, key);
  return rec;
}

// Semi-major axis (km) of a mean motion in rev/day by Kepler's third law.
double axisOfMeanMotion(double revPerDay, double mu) {
  const double nRadPerSec = revPerDay * 2.0 * kPi / 86400.0;
  return std::cbrt(mu / (nRadPerSec * nRadPerSec));
}

double heightAtPerigeeLatitude(double radiusKm, double inclDeg, double argpDeg, double earthRadius,
                               double flat) {
  const double s = std::sin(inclDeg * kDeg) * std::sin(argpDeg * kDeg);
  return radiusKm - earthRadius + flat * s * s * earthRadius;
}

class KymorCommData : public ::testing::Test {
 protected:
  void SetUp() override { emptyStores(); }
  void TearDown() override { emptyStores(); }
};

// Every catalogue set: period, axis, radii, heights and category from its own mean motion.
TEST_F(KymorCommData, CatalogueTlesAgreeWithTwoBodyWgs72) {
  const std::string path = zktest::dataPath("tle/catalog.tle");
  ZK_REQUIRE_DATA(path);
  std::ifstream in(path);
  std::string name, l1, l2;
  int checked = 0;
  while (std::getline(in, name) && std::getline(in, l1) && std::getline(in, l2)) {
    const int64_t key = addTle(l1, l2);
    ASSERT_GT(key, 0) << l1;
    const double n = std::stod(l2.substr(52, 11));
    const double e = std::stod("0." + l2.substr(26, 7));
    const double incl = std::stod(l2.substr(8, 8));
    const double argp = std::stod(l2.substr(34, 8));
    const kymor::CommonSatData rec = commData(key);
    ASSERT_EQ(rec.errCode, 0) << l1;
    const double a = axisOfMeanMotion(n, kMu72);
    EXPECT_EQ(rec.satNum, std::stoi(l1.substr(2, 5)));
    EXPECT_EQ(rec.eltType, 2);
    EXPECT_EQ(rec.earthConsts, &planix::wgs72);
    EXPECT_DOUBLE_EQ(rec.meanMotion, n);
    EXPECT_NEAR(rec.period, 1440.0 / n, 1e-12 * rec.period);
    EXPECT_NEAR(rec.semiMajorAxis, a, 1e-9 * a);
    EXPECT_NEAR(rec.perigeeRadius, a * (1 - e), 1e-9 * a);
    EXPECT_NEAR(rec.apogeeRadius, a * (1 + e), 1e-9 * a);
    EXPECT_NEAR(rec.perigeeHeight, heightAtPerigeeLatitude(a * (1 - e), incl, argp, kRadius72, kFlat72),
                1e-6);
    EXPECT_NEAR(rec.apogeeHeight, heightAtPerigeeLatitude(a * (1 + e), incl, argp, kRadius72, kFlat72), 1e-6);
    const double period = 1440.0 / n;
    const int32_t category = (period >= 1200 && period <= 1800) ? 1
                             : period >= 225                    ? 2
                             : rec.perigeeHeight < 575          ? 3
                                                                : 4;
    EXPECT_EQ(rec.satCategory, category);
    EXPECT_DOUBLE_EQ(rec.epochDs50TAI, chronel::utc2tai(rec.epochDs50UTC));
    ++checked;
  }
  EXPECT_EQ(checked, 4904);
}

// SGP element sets report the Brouwer mean motion. The references are python-sgp4 2.15's
// no_unkozai (rad/min) of the same lines, Satrec.twoline2rv(line1, line2, WGS72).
TEST_F(KymorCommData, SgpMeanMotionIsBrouwers) {
  struct Case {
    const char* line1;
    const char* line2;
    double noUnkozai;
  } cases[] = {
      {kIssLine1, kIssLine2, 0.06755289085587407},
      {"1 00900U 64063C   26078.25058051  .00000586  00000+0  58848-3 0  9991",
       "2 00900  90.2170  69.6682 0024457 200.0471 222.5878 13.76510242 59057", 0.060098275395191726},
      {"1 26766U 01019A   26078.00512954  .00000047  00000+0  00000+0 0  9996",
       "2 26766   8.8597  60.1630 0005480 274.3366 282.3178  0.99036567 44688", 0.0043211331173622315},
      {"1 14129U 83058B   26077.56028265  .00000122  00000+0  00000+0 0  9990",
       "2 14129  25.9170 234.7574 6043564  90.5700 334.5381  2.05871844293622", 0.00898162502953542},
      {"1 26113U 00017A   26075.78208703  .00000229  00000+0  15816-1 0  9990",
       "2 26113  94.1495 314.1356 7502376 298.3467   7.1826  1.68665118159943", 0.007360335646795794},
  };
  for (const Case& c : cases) {
    const int64_t key = addTle(withEphemType(c.line1, '1'), c.line2);
    ASSERT_EQ(key % 10, 1) << c.line1;
    const kymor::CommonSatData rec = commData(key);
    ASSERT_EQ(rec.errCode, 0);
    const double expected = c.noUnkozai * 1440.0 / (2.0 * kPi);
    EXPECT_NEAR(rec.meanMotion, expected, 1e-11 * expected) << c.line1;
    EXPECT_DOUBLE_EQ(rec.period, 1440.0 / rec.meanMotion);
    const double a = axisOfMeanMotion(rec.meanMotion, kMu72);
    EXPECT_NEAR(rec.semiMajorAxis, a, 1e-9 * a);
    // The reduced fill keeps the Kozai mean motion and drops the flattening.
    kymor::CommonSatData sgp;
    kymor::GetCommElDataSGP(sgp, key);
    ASSERT_EQ(sgp.errCode, 0);
    const double nKozai = std::stod(std::string(c.line2).substr(52, 11));
    EXPECT_DOUBLE_EQ(sgp.meanMotion, nKozai);
    const double aKozai = axisOfMeanMotion(nKozai, kMu72);
    EXPECT_NEAR(sgp.perigeeHeight, aKozai * (1 - sgp.ecc) - kRadius72, 1e-6);
    EXPECT_NEAR(sgp.apogeeHeight, aKozai * (1 + sgp.ecc) - kRadius72, 1e-6);
    EXPECT_EQ(sgp.satCategory, kymor::GetSatCat(sgp.period, sgp.perigeeHeight));
    EXPECT_DOUBLE_EQ(sgp.epochDs50TAI, rec.epochDs50TAI);
  }
}

// Where each TLE type puts its drag values, its constants and its mean-motion derivatives.
TEST_F(KymorCommData, TleTypesPlaceTheirDragValues) {
  const std::string l1 = "1 25544U 98067A   26078.12958500  .00009105  12345-4  17698-3 0  9991";
  const double nDotOver2 = 0.00009105, col45 = 0.12345e-4, col54 = 0.17698e-3;
  const int64_t sgp4 = addTle(withEphemType(l1, '0'), kIssLine2);
  const int64_t sp = addTle(withEphemType(l1, '3'), kIssLine2);
  const int64_t xp = addTle(withEphemType(l1, '7'), kIssLine2);
  ASSERT_GT(sgp4, 0);
  ASSERT_GT(sp, 0);
  ASSERT_GT(xp, 0);
  const kymor::CommonSatData r2 = commData(sgp4), r3 = commData(sp), r7 = commData(xp);
  EXPECT_EQ(r2.earthConsts, &planix::wgs72);
  EXPECT_DOUBLE_EQ(r2.dragTerm, col54);  // B*
  EXPECT_DOUBLE_EQ(r2.extra2, 0.0);
  EXPECT_DOUBLE_EQ(r2.nDot, nDotOver2 / (1440.0 * 1440.0 / (2 * kPi)));
  EXPECT_NEAR(r2.n2Dot, col45 / (1440.0 * 1440.0 * 1440.0 / (2 * kPi)), 1e-25);
  EXPECT_EQ(r3.earthConsts, &planix::genvgeo());
  EXPECT_DOUBLE_EQ(r3.dragTerm, col54);
  EXPECT_DOUBLE_EQ(r3.extra2, col45);
  EXPECT_DOUBLE_EQ(r3.extra3, 0.0);
  EXPECT_DOUBLE_EQ(r3.nDot, 0.0);
  EXPECT_DOUBLE_EQ(r3.n2Dot, 0.0);
  EXPECT_EQ(r7.earthConsts, &planix::egm96);
  EXPECT_DOUBLE_EQ(r7.dragTerm, col54);
  EXPECT_DOUBLE_EQ(r7.extra2, col45);
  EXPECT_DOUBLE_EQ(r7.nDot, nDotOver2 / (1440.0 * 1440.0 / (2 * kPi)));
  EXPECT_DOUBLE_EQ(r7.meanMotion, 15.48370465);
  EXPECT_NEAR(r7.semiMajorAxis, axisOfMeanMotion(15.48370465, planix::egm96.muKm), 1e-6);
  EXPECT_EQ(r7.designator.str(), "98067A");
  EXPECT_EQ(r7.revNum, 55779);
  EXPECT_EQ(r7.elsetNum, 999);
  EXPECT_DOUBLE_EQ(r7.epochDs50UTC, chronel::yrdays2ds50(2026, 78.12958500));
  // The XP set through the reduced fill: WGS-72, B* (0 for XP lines), no extras.
  kymor::CommonSatData x;
  kymor::GetCommElDataSGP(x, xp);
  ASSERT_EQ(x.errCode, 0);
  EXPECT_EQ(x.earthConsts, &planix::wgs72);
  EXPECT_DOUBLE_EQ(x.dragTerm, 0.0);
  EXPECT_DOUBLE_EQ(x.extra2, 0.0);
}

// A stored element set whose mean motion became 0 fails with one line and no NaN.
TEST_F(KymorCommData, ZeroMeanMotionIsAFailureNotANan) {
  std::string l2 = kIssLine2;
  l2.replace(52, 11, " 0.00000000");
  zktest::LogWatch refused;
  EXPECT_EQ(addTle(kIssLine1, withChecksum(l2)), -1);  // the store refuses it
  EXPECT_EQ(refused.errors(), 1);
  const int64_t key = addTle(withEphemType(kIssLine1, '1'), kIssLine2);
  ASSERT_GT(key, 0);
  int32_t code = -1;
  ASSERT_TRUE(lineset::TleStore().EditRecInPlace(
      key, [](lineset::TleRecord& r) { return (r.meanMotion = 0.0, 0); }, code));
  zktest::LogWatch log;
  const kymor::CommonSatData rec = commData(key);
  EXPECT_EQ(rec.errCode, basalon::kResultFail);
  EXPECT_EQ(rec.meanMotion, 0.0);
  EXPECT_EQ(rec.period, 0.0);
  EXPECT_EQ(rec.semiMajorAxis, 0.0);
  kymor::CommonSatData sgp;
  kymor::GetCommElDataSGP(sgp, key);
  EXPECT_EQ(sgp.errCode, basalon::kResultFail);
  EXPECT_EQ(sgp.period, 0.0);
  double value = -5.0;
  int32_t err = 0;
  kymor::GetElDataField(key, 5, value, err);
  EXPECT_EQ(err, basalon::kResultFail);
  EXPECT_EQ(value, -5.0);
  EXPECT_EQ(log.errors(), 3);
  char line[128];
  std::snprintf(line, sizeof line, "GetCommElData: satKey %19lld has no finite mean elements.",
                static_cast<long long>(key));
  EXPECT_EQ(log.lastError(), line);
}

// A Qel message of known elements gives them back, with the heights of its own model.
TEST_F(KymorCommData, QelStateUsesItsGeopotentialModel) {
  const Kep k{7000.0, 0.02, 63.4, 30.0, 270.0, 45.0};
  qel::QelRecord r;
  r.satNum = 60001;
  r.intlDes.set("26001A");
  r.epoch = {2026, 78, 12, 0, 0.0};
  r.epochRev = 77;
  r.ballisticCoef = 0.011;
  r.cmOffset = 0.5;
  r.solarRadPressCoef = 0.02;
  r.thrustAccel = 1e-7;
  r.edr = 3e-5;
  r.geoModel.set("WGS-84");
  stateOf(k, kMu84, r.eciPos.data(), r.eciVel.data());
  int64_t key84 = -1;
  qel::AddQelToMem(r, key84);
  r.geoModel.set("WGS-72");
  r.satNum = 60002;
  stateOf(k, kMu72, r.eciPos.data(), r.eciVel.data());
  int64_t key72 = -1;
  qel::AddQelToMem(r, key72);
  ASSERT_GT(key84, 0);
  ASSERT_GT(key72, 0);
  const kymor::CommonSatData q84 = commData(key84), q72 = commData(key72);
  ASSERT_EQ(q84.errCode, 0);
  ASSERT_EQ(q72.errCode, 0);
  for (const kymor::CommonSatData* q : {&q84, &q72}) {
    EXPECT_EQ(q->eltType, 5);
    EXPECT_NEAR(q->semiMajorAxis, k.a, 1e-6);
    EXPECT_NEAR(q->ecc, k.e, 1e-12);
    EXPECT_NEAR(q->incl, k.i, 1e-9);
    EXPECT_NEAR(q->node, k.node, 1e-9);
    EXPECT_NEAR(q->argPerigee, k.argp, 1e-8);
    EXPECT_NEAR(q->meanAnomaly, k.m, 1e-8);
    EXPECT_DOUBLE_EQ(q->dragTerm, 0.011);
    EXPECT_DOUBLE_EQ(q->extra1, 0.5);
    EXPECT_DOUBLE_EQ(q->extra2, 0.02);
    EXPECT_DOUBLE_EQ(q->extra3, 1e-7);
    EXPECT_DOUBLE_EQ(q->extra4, 3e-5);
    EXPECT_EQ(q->revNum, 77);
    EXPECT_EQ(q->designator.str(), "26001A");
    EXPECT_DOUBLE_EQ(q->epochDs50UTC, chronel::yrdays2ds50(2026, 78.5));
  }
  EXPECT_EQ(q84.earthConsts, &planix::wgs84);
  EXPECT_EQ(q72.earthConsts, &planix::wgs72);
  EXPECT_NEAR(q84.period, 2 * kPi * std::sqrt(k.a * k.a * k.a / kMu84) / 60.0, 1e-9);
  EXPECT_NEAR(q72.period, 2 * kPi * std::sqrt(k.a * k.a * k.a / kMu72) / 60.0, 1e-9);
  EXPECT_NEAR(q84.perigeeHeight, heightAtPerigeeLatitude(k.a * (1 - k.e), k.i, k.argp, kRadius84, kFlat84),
              1e-6);
  EXPECT_NEAR(q72.perigeeHeight, heightAtPerigeeLatitude(k.a * (1 - k.e), k.i, k.argp, kRadius72, kFlat72),
              1e-6);
  EXPECT_NEAR(q84.apogeeHeight, heightAtPerigeeLatitude(k.a * (1 + k.e), k.i, k.argp, kRadius84, kFlat84),
              1e-6);
}

TEST_F(KymorCommData, SpVectorElementsAndDragValues) {
  const Kep k{26560.0, 0.7, 63.4, 200.0, 270.0, 350.0};
  harlo::SpVecRecord sv;
  double pos[3], vel[3];
  stateOf(k, planix::genvgeo().muKm, pos, vel);
  sv.pos = {pos[0], pos[1], pos[2]};
  sv.vel = {vel[0] * 1000.0, vel[1] * 1000.0, vel[2] * 1000.0};
  sv.satNum = 23;
  sv.designator = "99001A  ";
  sv.epoch = "2026078120000.000";
  sv.revNum = 5;
  sv.elsetNum = 12;
  sv.ballisticCoef = 0.01;
  sv.srpCoef = 0.02;
  sv.edr = 0.03;
  const int64_t key = harlo::AddHarloToMem(sv);
  ASSERT_GT(key, 0);
  const kymor::CommonSatData rec = commData(key);
  ASSERT_EQ(rec.errCode, 0);
  EXPECT_EQ(rec.eltType, 4);
  EXPECT_EQ(rec.elsetNum, 12);
  EXPECT_EQ(rec.revNum, 5);
  EXPECT_EQ(rec.designator.str(), "99001A");
  EXPECT_DOUBLE_EQ(rec.epochDs50UTC, chronel::yrdays2ds50(2026, 78.5));
  EXPECT_NEAR(rec.semiMajorAxis, k.a, 1e-5);
  EXPECT_NEAR(rec.ecc, k.e, 1e-12);
  EXPECT_NEAR(rec.node, k.node, 1e-9);
  EXPECT_NEAR(rec.meanAnomaly, k.m, 1e-8);
  EXPECT_NEAR(rec.period, 2 * kPi * std::sqrt(k.a * k.a * k.a / planix::genvgeo().muKm) / 60.0, 1e-8);
  EXPECT_EQ(rec.satCategory, 2);
  EXPECT_DOUBLE_EQ(rec.dragTerm, 0.01);
  EXPECT_DOUBLE_EQ(rec.extra2, 0.02);
  EXPECT_DOUBLE_EQ(rec.extra3, 0.03);
}

// A point of known elements in each inertial and Earth-fixed code gives those elements back.
TEST_F(KymorCommData, EphemerisPointOneGivesItsKeplerianElements) {
  const Kep k{7200.0, 0.05, 98.7, 120.0, 80.0, 10.0};
  double pos[3], vel[3];
  stateOf(k, planix::genvgeo().muKm, pos, vel);
  const double t0 = 27000.25;
  auto eciPoint = [&](int idx) {
    tarvexon::TarvexPoint p;
    p.ds50UTC = t0 + idx / 1440.0;
    for (int j = 0; j < 3; ++j) p.pos[j] = pos[j], p.vel[j] = vel[j];
    return p;
  };
  const int64_t eci = addTarvex(70001, 1, 3, eciPoint);
  // The same point turned to the Earth-fixed frame at its Greenwich angle.
  const double theta = chronel::getthgr(chronel::utc2ut1(t0), planix::genvfk());
  pelmath::Vec3 posEfg{}, velEfg{};
  pelmath::eci2efg(theta, {pos[0], pos[1], pos[2]}, {vel[0], vel[1], vel[2]}, posEfg, velEfg);
  const int64_t efg = addTarvex(70002, 3, 2, [&](int idx) {
    tarvexon::TarvexPoint p = eciPoint(idx);
    for (int j = 0; j < 3; ++j) p.pos[j] = posEfg[j], p.vel[j] = velEfg[j];
    return p;
  });
  ASSERT_GT(eci, 0);
  ASSERT_GT(efg, 0);
  for (int64_t key : {eci, efg}) {
    const kymor::CommonSatData rec = commData(key);
    ASSERT_EQ(rec.errCode, 0);
    EXPECT_EQ(rec.eltType, 6);
    EXPECT_EQ(rec.noElements, 0);
    EXPECT_EQ(rec.earthConsts, &planix::genvgeo());
    EXPECT_DOUBLE_EQ(rec.epochDs50UTC, t0);
    EXPECT_NEAR(rec.semiMajorAxis, k.a, 1e-6);
    EXPECT_NEAR(rec.ecc, k.e, 1e-11);
    EXPECT_NEAR(rec.incl, k.i, 1e-9);
    // Angles come unreduced from the element conversion: compared modulo 360 degrees.
    EXPECT_NEAR(std::remainder(rec.node - k.node, 360.0), 0.0, 1e-8);
    EXPECT_NEAR(std::remainder(rec.argPerigee - k.argp, 360.0), 0.0, 1e-7);
    EXPECT_NEAR(std::remainder(rec.meanAnomaly - k.m, 360.0), 0.0, 1e-7);
    EXPECT_NEAR(rec.meanMotion,
                1440.0 / (2 * kPi * std::sqrt(k.a * k.a * k.a / planix::genvgeo().muKm) / 60.0), 1e-9);
    EXPECT_DOUBLE_EQ(rec.dragTerm, 0.0);
    EXPECT_EQ(rec.satCategory, 3);  // perigee about 462 km
  }
}

// One point, no points, and points that are not an Earth-centred state (sites, ranges and
// angles, mobile tracks, a code set by hand to an unknown value): no elements, never numbers
// computed from latitudes and ranges as if they were km.
TEST_F(KymorCommData, EphemerisWithoutUsableElements) {
  auto siteLike = [](int idx) {
    tarvexon::TarvexPoint p;
    p.ds50UTC = 27000.0 + idx / 1440.0;
    p.pos[0] = 38.8, p.pos[1] = -104.5, p.pos[2] = 1.9;         // lat, lon deg, height km
    p.vel[0] = 1500.0 + idx, p.vel[1] = 45.0, p.vel[2] = 30.0;  // range km, azimuth, elevation
    return p;
  };
  const int64_t onePoint = addTarvex(71001, 1, 1, siteLike);
  const int64_t llh = addTarvex(71015, 15, 4, siteLike);
  const int64_t waypoints = addTarvex(71018, 18, 4, siteLike);
  const int64_t unknown = addTarvex(71099, 1, 4, siteLike);
  // Positions without velocities: a zero velocity would make a straight fall, not the orbit.
  const int64_t positionsOnly = addTarvex(71002, 1, 4, [](int idx) {
    tarvexon::TarvexPoint p;
    p.ds50UTC = 27000.0 + idx / 1440.0;
    p.pos[0] = 7000.0, p.pos[1] = 100.0 * idx, p.pos[2] = 10.0;
    return p;
  });
  int32_t code = -1;
  ASSERT_TRUE(tarvexon::TarvexEditRec(
      unknown, [](tarvexon::TarvexRecord& r) { return (r.coordSys = 9, 0); }, code));
  for (int64_t key : {onePoint, llh, waypoints, unknown, positionsOnly}) {
    ASSERT_GT(key, 0);
    zktest::LogWatch log;
    const kymor::CommonSatData rec = commData(key);
    EXPECT_EQ(log.errors(), 0);
    EXPECT_EQ(rec.errCode, 0);
    EXPECT_EQ(rec.noElements, 1);
    EXPECT_EQ(rec.eltType, 6);
    EXPECT_EQ(rec.satCategory, 3);  // from the zero period and perigee height
    EXPECT_EQ(rec.meanMotion, 0.0);
    EXPECT_EQ(rec.ecc, 0.0);
    EXPECT_EQ(rec.incl, 0.0);
    EXPECT_EQ(rec.semiMajorAxis, 0.0);
    EXPECT_EQ(rec.perigeeHeight, 0.0);
    EXPECT_DOUBLE_EQ(rec.epochDs50UTC, 27000.0);
    EXPECT_EQ(kymor::GetSatNum(key), rec.satNum);
  }
  const int64_t empty = addTarvex(71000, 1, 0, siteLike);
  zktest::LogWatch log;
  const kymor::CommonSatData rec = commData(empty);
  EXPECT_EQ(rec.errCode, basalon::kResultFail);
  EXPECT_EQ(rec.satNum, 0);
  EXPECT_EQ(log.errors(), 1);
  char line[128];
  std::snprintf(line, sizeof line, "GetCommElData: satKey %19lld does not contain any ephemeris data.",
                static_cast<long long>(empty));
  EXPECT_EQ(log.lastError(), line);
}

TEST_F(KymorCommData, SingleFieldsAndOptionalOutputs) {
  const std::string l2 = "2 25544  51.6344  25.6919 0000000 207.4819 152.5840 15.48370465557798";
  const int64_t circular = addTle(kIssLine1, withChecksum(l2));
  const int64_t key = addTle(kIssLine1, kIssLine2);
  ASSERT_GT(key, 0);
  const kymor::CommonSatData rec = commData(key);
  const double expected[] = {rec.epochDs50UTC,
                             rec.meanAnomaly,
                             rec.node,
                             rec.argPerigee,
                             rec.period,
                             rec.ecc,
                             rec.incl,
                             rec.meanMotion,
                             rec.dragTerm,
                             rec.perigeeHeight,
                             rec.apogeeHeight,
                             rec.perigeeRadius,
                             rec.apogeeRadius,
                             rec.semiMajorAxis,
                             double(rec.satCategory),
                             2.0,
                             rec.extra1};
  for (int32_t index = 1; index <= 17; ++index) {
    double value = -1.0;
    int32_t err = -1;
    kymor::GetElDataField(key, index, value, err);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(value, expected[index - 1]) << index;
  }
  double untouched = -3.0;
  int32_t err = -1;
  kymor::GetElDataField(key, 18, untouched, err);
  EXPECT_EQ(untouched, -3.0);
  EXPECT_EQ(err, 0);
  if (circular > 0) {
    double v = 0;
    kymor::GetElDataField(circular, 16, v, err);
    EXPECT_EQ(v, 2.0);
  }

  int32_t satNum = 0, eltType = 0, satCategory = 0;
  double incl = 0, nDot = 0;
  char designator[8];
  kymor::ElDataOutputs out;
  out.satNum = &satNum;
  out.eltType = &eltType;
  out.satCategory = &satCategory;
  out.incl = &incl;
  out.nDot = &nDot;
  out.designator = designator;
  kymor::GetElDataOptionals(key, err, out);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(satNum, 25544);
  EXPECT_EQ(eltType, 2);
  EXPECT_EQ(satCategory, rec.satCategory);
  EXPECT_EQ(incl, 51.6344);
  EXPECT_EQ(nDot, rec.nDot);
  EXPECT_EQ(std::string(designator, 8), "98067A  ");
  satNum = -9;
  kymor::GetElDataOptionals(1231, err, out);
  EXPECT_EQ(err, basalon::kResultFail);
  EXPECT_EQ(satNum, -9);
}

}  // namespace
