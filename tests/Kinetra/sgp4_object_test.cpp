// SGP4 objects: deep copies, call-order independence of the resonance integrator, the state
// record fill, osculating elements, bad elements, and the whole catalogue over two days.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/TleParse.h"
#include "Siblings/Planix/Planix.h"
#include "common/TestSupport.h"

namespace {

using kinetra::Sgp4Obj;
using kinetra::Sgp4State;

lineset::TleRecord tle(const std::string& l1, const std::string& l2) {
  lineset::TleRecord r;
  std::string msg;
  EXPECT_EQ(lineset::parseTle("", l1, l2, r, msg), 0) << msg;
  return r;
}

// Molniya 2-14 (12-hour resonance), a GEO (24-hour resonance) and Vanguard 1 (near-Earth).
const lineset::TleRecord& molniya() {
  static const auto r = tle("1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
                            "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656");
  return r;
}
const lineset::TleRecord& geo() {
  static const auto r = tle("1 24208U 96044A   06177.04061740 -.00000094  00000-0  10000-3 0  1600",
                            "2 24208   3.8536  80.0121 0026640 311.0977  48.3000  1.00778054 36119");
  return r;
}
const lineset::TleRecord& vanguard() {
  static const auto r = tle("1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753",
                            "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667");
  return r;
}

void expectSameState(const Sgp4State& a, const Sgp4State& b) {
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(a.pos[k], b.pos[k]);
    EXPECT_EQ(a.vel[k], b.vel[k]);
  }
  EXPECT_EQ(a.meanN, b.meanN);
  EXPECT_EQ(a.revNum, b.revNum);
}

TEST(Sgp4Object, DeepCopySurvivesReleaseOfTheOriginal) {
  for (const auto* set : {&molniya(), &geo(), &vanguard()}) {
    auto original = std::make_unique<Sgp4Obj>();
    ASSERT_EQ(kinetra::initFromTle(*set, *original), 0);
    Sgp4Obj copy(*original);
    Sgp4Obj assigned;
    assigned = *original;
    EXPECT_EQ(copy.isDeepSpace(), set != &vanguard());
    if (copy.isDeepSpace()) {
      EXPECT_NE(copy.deepData(), original->deepData());
      EXPECT_NE(assigned.deepData(), original->deepData());
    }
    std::vector<Sgp4State> before;
    for (double t : {-3000.0, 0.0, 700.0, 2900.0}) {
      Sgp4State s;
      ASSERT_EQ(original->propagate(t, s), 0);
      before.push_back(s);
    }
    Sgp4Obj moved(std::move(copy));
    EXPECT_FALSE(copy.initialised());  // NOLINT: a moved-from object is released
    copy = std::move(moved);
    original->release();
    EXPECT_FALSE(original->isDeepSpace());
    Sgp4State dead;
    EXPECT_NE(original->propagate(0.0, dead), 0);  // a released object no longer propagates
    original.reset();
    size_t k = 0;
    for (double t : {-3000.0, 0.0, 700.0, 2900.0}) {
      Sgp4State a, b;
      ASSERT_EQ(copy.propagate(t, a), 0);
      ASSERT_EQ(assigned.propagate(t, b), 0);
      expectSameState(a, before[k]);
      expectSameState(b, before[k]);
      ++k;
    }
  }
}

TEST(Sgp4Object, ResonanceResultsDoNotDependOnCallOrder) {
  for (const auto* set : {&molniya(), &geo()}) {
    Sgp4Obj direct, walked;
    kinetra::initFromTle(*set, direct);
    kinetra::initFromTle(*set, walked);
    Sgp4State s;
    // Walk the integrator forwards, backwards across the epoch and forwards again.
    for (double t : {5000.0, 100.0, -4000.0, -10.0, 1500.0, 3600.0}) walked.propagate(t, s);
    for (double t : {4321.0, 721.0, -721.0, 0.0}) {
      Sgp4State a, b;
      ASSERT_EQ(direct.propagate(t, a), 0);
      Sgp4Obj fresh;
      kinetra::initFromTle(*set, fresh);
      ASSERT_EQ(fresh.propagate(t, b), 0);
      expectSameState(a, b);
      ASSERT_EQ(walked.propagate(t, b), 0);
      expectSameState(a, b);
      ASSERT_EQ(static_cast<const Sgp4Obj&>(walked).propagateFromEpoch(t, b), 0);
      expectSameState(a, b);
    }
  }
}

// Position (er) of Keplerian elements a, e, i, M, node, perigee with mu = 1.
kinetra::Vec3 positionOf(const basalon::Elset& k) {
  double ea = k[3];
  for (int n = 0; n < 50; ++n) ea -= (ea - k[1] * std::sin(ea) - k[3]) / (1.0 - k[1] * std::cos(ea));
  const double xp = k[0] * (std::cos(ea) - k[1]), yp = k[0] * std::sqrt(1.0 - k[1] * k[1]) * std::sin(ea);
  const double cw = std::cos(k[5]), sw = std::sin(k[5]), cn = std::cos(k[4]), sn = std::sin(k[4]);
  const double ci = std::cos(k[2]), si = std::sin(k[2]);
  return {(cn * cw - sn * sw * ci) * xp + (-cn * sw - sn * cw * ci) * yp,
          (sn * cw + cn * sw * ci) * xp + (-sn * sw + cn * cw * ci) * yp, (sw * si) * xp + (cw * si) * yp};
}

TEST(Sgp4Object, StateRecordInCanonicalUnits) {
  Sgp4Obj obj;
  ASSERT_EQ(kinetra::initFromTle(vanguard(), obj), 0);
  const double period = 1440.0 / vanguard().meanMotion;
  for (double t : {0.0, 123.4, -2000.0, 9.75 * period}) {
    Sgp4State s;
    ASSERT_EQ(obj.propagate(t, s), 0);
    planix::BrevantaOut out;
    out.cov.assign(21, 1.0);
    kinetra::toStateRecord(obj, s, out);
    ASSERT_EQ(out.geoConst, &planix::wgs72);
    EXPECT_TRUE(out.cov.empty());
    EXPECT_DOUBLE_EQ(out.mse, t);
    EXPECT_NEAR(out.ds50UTC, obj.slot(kinetra::kEpoch) + t / 1440.0, 1e-9);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(out.pos[k] * out.geoConst->earthRadius, s.pos[k], 1e-9);
      EXPECT_NEAR(out.vel[k] / out.geoConst->kmPerSecToErPerKemin, s.vel[k], 1e-12);
    }
    // The osculating elements give back the position; mean and osculating sets are close.
    const kinetra::Vec3 back = positionOf(out.oscKep);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(back[k], out.pos[k], 1e-10);
    EXPECT_NEAR(out.meanKep[0], out.oscKep[0], 0.01 * out.oscKep[0]);
    EXPECT_NEAR(out.meanKep[1], out.oscKep[1], 0.01);
    EXPECT_NEAR(out.meanKep[2], out.oscKep[2], 0.01);
  }
  // Revolutions are counted at the ascending node from the epoch's count.
  const double u0 = std::fmod(vanguard().argPerigee + vanguard().meanAnomaly, 360.0) / 360.0;
  Sgp4State s;
  obj.propagate(0.0, s);
  EXPECT_EQ(s.revNum, vanguard().revNum);
  obj.propagate(9.75 * period, s);
  EXPECT_EQ(s.revNum, vanguard().revNum + static_cast<int>(std::floor(u0 + 9.75)));
  obj.propagate(-1.0 * period, s);
  EXPECT_EQ(s.revNum, vanguard().revNum - 1);
}

TEST(Sgp4Object, OsculatingElementsOfSimpleOrbits) {
  basalon::Elset k{};
  double nu = -1;
  // Circular equatorial orbit of radius 2 er: undefined angles are 0, the true longitude is nu.
  kinetra::oscKeplerian({0.0, 2.0, 0.0}, {-std::sqrt(0.5), 0.0, 0.0}, k, &nu);
  EXPECT_NEAR(k[0], 2.0, 1e-12);
  EXPECT_NEAR(k[1], 0.0, 1e-12);
  EXPECT_NEAR(k[2], 0.0, 1e-12);
  EXPECT_NEAR(nu, 0.5 * M_PI, 1e-12);
  // Polar orbit at perigee over the node: e from the speed, i = 90 deg, M = 0.
  const double rp = 1.5, e = 0.2, vp = std::sqrt((1.0 + e) / rp);
  kinetra::oscKeplerian({rp, 0.0, 0.0}, {0.0, 0.0, vp}, k, &nu);
  EXPECT_NEAR(k[0], rp / (1.0 - e), 1e-12);
  EXPECT_NEAR(k[1], e, 1e-12);
  EXPECT_NEAR(k[2], 0.5 * M_PI, 1e-12);
  EXPECT_NEAR(std::fmod(k[3] + 1.0, 2 * M_PI) - 1.0, 0.0, 1e-12);
  EXPECT_NEAR(k[4], 0.0, 1e-12);
  // Escape speed and beyond: no NaN.
  kinetra::oscKeplerian({1.0, 0.0, 0.0}, {0.0, 1.6, 0.0}, k, &nu);
  for (double x : k) EXPECT_TRUE(std::isfinite(x));
  EXPECT_LT(k[0], 0.0);
}

TEST(Sgp4Object, ImpossibleElementsGiveCodesNotNaN) {
  kinetra::Sgp4Elements el = kinetra::elementsOfTle(vanguard());
  Sgp4State s;
  el.ecc = 1.0;
  Sgp4Obj hyper;
  EXPECT_EQ(hyper.init(el), kinetra::kSgp4BadMeanElements);
  EXPECT_EQ(hyper.propagate(10.0, s), kinetra::kSgp4BadMeanElements);
  el = kinetra::elementsOfTle(vanguard());
  el.meanMotion = -0.01;
  Sgp4Obj backwards;
  EXPECT_EQ(backwards.init(el), kinetra::kSgp4NegMeanMotion);
  EXPECT_EQ(backwards.propagate(10.0, s), kinetra::kSgp4NegMeanMotion);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(s.pos[k], 0.0);
  // Mean motion so high the orbit lies inside the Earth.
  el = kinetra::elementsOfTle(vanguard());
  el.ecc = 0.001;
  el.meanMotion = 20.0 * 0.004363323129985824;
  Sgp4Obj inside;
  EXPECT_EQ(inside.init(el), kinetra::kSgp4BadMeanElements);
  // Absurd drag terms (found by fuzzing: B* of -0.488e85) end in a code, never in NaN.
  for (double bstar : {-4.88e84, 4.88e84, 1e30}) {
    el = kinetra::elementsOfTle(vanguard());
    el.bstar = bstar;
    Sgp4Obj dragged;
    dragged.init(el);
    for (double t : {0.0, -1440.0, 720.0, 10000.0}) {
      const int code = dragged.propagate(t, s);
      for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(std::isfinite(s.pos[k]) && std::isfinite(s.vel[k])) << bstar << " " << t;
      if (t != 0.0) {
        EXPECT_NE(code, 0) << bstar << " " << t;
      }
    }
  }
  Sgp4Obj never;
  EXPECT_NE(never.propagate(0.0, s), 0);
}

TEST(Sgp4Object, WholeCatalogPropagatesOverTwoDays) {
  const std::string path = zktest::dataPath("tle/catalog.tle");
  ZK_REQUIRE_DATA(path);
  std::ifstream in(path);
  std::string name, l1, l2;
  int sets = 0, deep = 0;
  while (std::getline(in, name) && std::getline(in, l1) && std::getline(in, l2)) {
    lineset::TleRecord r;
    std::string msg;
    ASSERT_EQ(lineset::parseTle(name, l1, l2, r, msg), 0) << msg;
    Sgp4Obj obj;
    ASSERT_EQ(kinetra::initFromTle(r, obj), 0) << l1;
    deep += obj.isDeepSpace() ? 1 : 0;
    for (double t = -1440.0; t <= 1440.0; t += 180.0) {
      Sgp4State s;
      ASSERT_EQ(obj.propagate(t, s), 0) << l1 << " t = " << t;
      for (int k = 0; k < 3; ++k) ASSERT_TRUE(std::isfinite(s.pos[k]) && std::isfinite(s.vel[k])) << l1;
      const double rkm = std::sqrt(s.pos[0] * s.pos[0] + s.pos[1] * s.pos[1] + s.pos[2] * s.pos[2]);
      ASSERT_GT(rkm, kinetra::wgs72::kRadius) << l1;
    }
    ++sets;
  }
  EXPECT_EQ(sets, 4904);
  EXPECT_GT(deep, 0);
  EXPECT_LT(deep, sets);
}

}  // namespace
