// States by key over the whole TLE catalogue against the propagator on private objects: bit for
// bit in minutes since epoch and both DS50 forms, with and without the element sets; the exports
// in km; the osculating elements against a plain angle-by-angle conversion of the same state.
#include <Kinetra.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "Siblings/Planix/Planix.h"
#include "common/TestSupport.h"

namespace {

using basalon::Elset;
using basalon::Vec3;
using basalon::kTwoPi;

// Every SGP4 set of the catalogue in both stores, with a private object of each.
struct Catalogue {
  std::vector<int64_t> keys;
  std::vector<kinetra::Sgp4Obj> objs;
  int deepSpace = 0;
};

Catalogue loadCatalogue() {
  Catalogue c;
  int32_t code = 0;
  kinetra::gpemptytree(code);
  lineset::tleemptytree(code);
  lineset::readtlesfrfile(zktest::dataPath("tle/catalog.tle"));
  std::vector<int64_t> keys(static_cast<size_t>(lineset::tlegetnumoftreenodes()));
  int32_t n = 0;
  lineset::tlegettreekeys(n, keys.data(), 2, static_cast<int64_t>(keys.size()));
  keys.resize(static_cast<size_t>(n));
  for (int64_t key : keys) {
    lineset::TleRecord tle;
    lineset::tlefindrec(key, tle);
    kinetra::Sgp4Obj obj;
    if (kinetra::initFromTle(tle, obj) != 0) continue;
    EXPECT_EQ(kinetra::gpsatinit(key), 0);
    c.deepSpace += obj.isDeepSpace() ? 1 : 0;
    c.keys.push_back(key);
    c.objs.push_back(std::move(obj));
  }
  return c;
}

void emptyStores() {
  int32_t code = 0;
  kinetra::gpemptytree(code);
  lineset::tleemptytree(code);
}

// Position and velocity, time, revolution number and constants of two records, bit for bit.
void expectSameState(const planix::BrevantaOut& a, const planix::BrevantaOut& b, const char* what) {
  EXPECT_EQ(a.pos, b.pos) << what;
  EXPECT_EQ(a.vel, b.vel) << what;
  EXPECT_EQ(a.mse, b.mse) << what;
  EXPECT_EQ(a.ds50UTC, b.ds50UTC) << what;
  EXPECT_EQ(a.revNum, b.revNum) << what;
  EXPECT_EQ(a.kind, b.kind) << what;
  EXPECT_EQ(a.geoConst, b.geoConst) << what;
}

// The raw propagator's record at minutes since epoch (the object walks its own integrator).
planix::BrevantaOut rawRecord(kinetra::Sgp4Obj& obj, double mse) {
  kinetra::Sgp4State st;
  EXPECT_EQ(obj.propagate(mse, st), 0);
  planix::BrevantaOut out;
  kinetra::toStateRecord(obj, st, out);
  return out;
}

TEST(KinetraStates, ByKeyEqualTheRawPropagatorBitForBitOverTheCatalogue) {
  ZK_REQUIRE_DATA(zktest::dataPath("tle/catalog.tle"));
  Catalogue cat = loadCatalogue();
  ASSERT_GT(cat.keys.size(), 1000u);
  ASSERT_GT(cat.deepSpace, 50);
  int compared = 0;
  for (size_t i = 0; i < cat.keys.size(); ++i) {
    const int64_t key = cat.keys[i];
    kinetra::Sgp4Obj& obj = cat.objs[i];
    const double epoch = obj.slot(kinetra::kEpoch);
    for (double t : {-1440.0, -97.3, 0.0, 500.25, 1440.0}) {
      planix::BrevantaOut full, posVel;
      int32_t code = -1;
      // Minutes since epoch: everything, and position and velocity only.
      const planix::BrevantaOut raw = rawRecord(obj, t);
      kinetra::kinetra_key(key, t, kinetra::kTimeMse, full, code);
      ASSERT_EQ(code, 0);
      expectSameState(full, raw, "mse");
      EXPECT_EQ(full.oscKep, raw.oscKep);
      EXPECT_EQ(full.meanKep, raw.meanKep);
      kinetra::kinetra_key(key, t, kinetra::kTimeMse, posVel, code, kinetra::StateContent::kPosVel);
      ASSERT_EQ(code, 0);
      expectSameState(posVel, raw, "mse, position and velocity only");
      EXPECT_EQ(posVel.oscKep, Elset{});
      EXPECT_EQ(posVel.meanKep, Elset{});

      // DS50 UTC and TAI: the raw state at the minutes since epoch of the converted request.
      const double utc = epoch + t / 1440.0;
      planix::BrevantaOut expected = rawRecord(obj, (utc - epoch) * 1440.0);
      expected.ds50UTC = utc;
      kinetra::kinetra_key(key, utc, kinetra::kTimeDs50Utc, full, code);
      ASSERT_EQ(code, 0);
      expectSameState(full, expected, "utc");
      EXPECT_EQ(full.oscKep, expected.oscKep);
      const double tai = chronel::utc2tai(utc);
      const double utcOfTai = chronel::tai2utc(tai);
      expected = rawRecord(obj, (utcOfTai - epoch) * 1440.0);
      expected.ds50UTC = utcOfTai;
      kinetra::kinetra_key(key, tai, kinetra::kTimeDs50Tai, posVel, code, kinetra::StateContent::kPosVel);
      ASSERT_EQ(code, 0);
      expectSameState(posVel, expected, "tai");
      ++compared;
    }
    if (::testing::Test::HasFailure()) break;  // one satellite's report is enough
  }
  EXPECT_EQ(compared, static_cast<int>(5 * cat.keys.size()));
  EXPECT_EQ(kinetra::Sgp4Store().NumReads(), 0);
  emptyStores();
}

// The exports give the raw state in km and km/s, to the rounding of the trip through Earth radii.
TEST(KinetraStates, ExportsGiveTheRawStateInKm) {
  ZK_REQUIRE_DATA(zktest::dataPath("tle/catalog.tle"));
  Catalogue cat = loadCatalogue();
  ASSERT_FALSE(cat.keys.empty());
  for (size_t i = 0; i < cat.keys.size(); i += 7) {
    kinetra::Sgp4Obj& obj = cat.objs[i];
    for (double t : {-700.0, 0.0, 1300.5}) {
      kinetra::Sgp4State st, st2;
      double ds50 = 0.0, mse = 0.0, pos[3], vel[3], pos2[3], vel2[3];
      ASSERT_EQ(KinetraPropMse(cat.keys[i], t, &ds50, pos, vel), 0);
      ASSERT_EQ(KinetraPropDs50UTC(cat.keys[i], ds50, &mse, pos2, vel2), 0);
      EXPECT_EQ(mse, (ds50 - obj.slot(kinetra::kEpoch)) * 1440.0);
      ASSERT_EQ(obj.propagate(t, st), 0);
      ASSERT_EQ(obj.propagate(mse, st2), 0);
      for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(pos[k], st.pos[k], 1e-15 * std::fabs(st.pos[k]));
        EXPECT_NEAR(vel[k], st.vel[k], 1e-15 * std::fabs(st.vel[k]));
        EXPECT_NEAR(pos2[k], st2.pos[k], 1e-15 * std::fabs(st2.pos[k]));
        EXPECT_NEAR(vel2[k], st2.vel[k], 1e-15 * std::fabs(st2.vel[k]));
      }
    }
  }
  emptyStores();
}

// Keplerian elements taken angle by angle: each angle by its own inverse function of the
// vectors, the true anomaly as the radius's angle less the perigee's, the eccentric anomaly
// from the true one (circular orbits: argument of latitude; equatorial: from the x axis).
Elset plainElements(const Vec3& r, const Vec3& v) {
  auto dot = [](const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
  auto wrap = [](double x) {
    x = std::fmod(x, kTwoPi);
    return x < 0.0 ? x + kTwoPi : x;
  };
  const double rmag = std::sqrt(dot(r, r)), v2 = dot(v, v), rv = dot(r, v);
  const Vec3 h{r[1] * v[2] - r[2] * v[1], r[2] * v[0] - r[0] * v[2], r[0] * v[1] - r[1] * v[0]};
  const double hmag = std::sqrt(dot(h, h));
  const double c1 = v2 - 1.0 / rmag;
  const Vec3 ev{c1 * r[0] - rv * v[0], c1 * r[1] - rv * v[1], c1 * r[2] - rv * v[2]};
  const double e = std::sqrt(dot(ev, ev));
  const double a = -0.5 / (0.5 * v2 - 1.0 / rmag);
  const double incl = std::acos(h[2] / hmag);
  const double nmag = std::hypot(h[0], h[1]);
  const bool equatorial = nmag <= 1e-12 * hmag;
  const Vec3 p = equatorial ? Vec3{1.0, 0.0, 0.0} : Vec3{-h[1] / nmag, h[0] / nmag, 0.0};
  const Vec3 q{(h[1] * p[2] - h[2] * p[1]) / hmag, (h[2] * p[0] - h[0] * p[2]) / hmag,
               (h[0] * p[1] - h[1] * p[0]) / hmag};
  const double node = equatorial ? 0.0 : wrap(std::atan2(p[1], p[0]));
  const double argp = e > 1e-12 ? wrap(std::atan2(dot(ev, q), dot(ev, p))) : 0.0;
  const double nu = std::atan2(dot(r, q), dot(r, p)) - argp;
  const double ea = std::atan2(std::sqrt(1.0 - e * e) * std::sin(nu), e + std::cos(nu));
  return {a, e, incl, wrap(ea - e * std::sin(ea)), node, argp};
}

// Relative difference of two element values; angles are compared across the 0 / 2 pi seam and
// relative to one radian at least.
double elementDifference(int k, double x, double y) {
  if (k < 2) return std::fabs(x - y) / std::fabs(y);
  double d = std::fabs(x - y);
  d = std::fmin(d, kTwoPi - d);
  return d / std::fmax(1.0, std::fabs(y));
}

TEST(KinetraStates, OsculatingElementsEqualThePlainConversion) {
  ZK_REQUIRE_DATA(zktest::dataPath("tle/catalog.tle"));
  Catalogue cat = loadCatalogue();
  ASSERT_FALSE(cat.keys.empty());
  double worst = 0.0;
  for (size_t i = 0; i < cat.keys.size(); ++i) {
    for (double t : {-1000.0, 0.0, 333.3, 1440.0}) {
      planix::BrevantaOut out;
      int32_t code = -1;
      kinetra::kinetra_key(cat.keys[i], t, kinetra::kTimeMse, out, code);
      ASSERT_EQ(code, 0);
      const Elset plain = plainElements(out.pos, out.vel);
      for (int k = 0; k < 6; ++k) {
        const double d = elementDifference(k, out.oscKep[k], plain[k]);
        worst = std::fmax(worst, d);
        ASSERT_LE(d, 1e-12) << "element " << k << " of key " << cat.keys[i] << " at " << t << ": "
                            << out.oscKep[k] << " against " << plain[k];
      }
    }
  }
  std::printf("largest relative difference of the osculating elements: %.3g\n", worst);
  emptyStores();
}

}  // namespace
