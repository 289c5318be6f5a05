// SGP4 record: the 49-double constant buffer against the element sets it came from, the codes it
// keeps for refused elements, the resonance class of deep-space sets, and TLE epochs at the
// edges of the year.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/TleParse.h"

namespace {

using basalon::kDegToRad;
using kinetra::Sgp4Obj;

lineset::TleRecord tle(const std::string& l1, const std::string& l2) {
  lineset::TleRecord r;
  std::string msg;
  EXPECT_EQ(lineset::parseTle("", l1, l2, r, msg), 0) << msg;
  return r;
}

const lineset::TleRecord kVanguard =
    tle("1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753",
        "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667");
const lineset::TleRecord kMolniya =
    tle("1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
        "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656");
const lineset::TleRecord kGeo = tle("1 24208U 96044A   06177.04061740 -.00000094  00000-0  10000-3 0  1600",
                                    "2 24208   3.8536  80.0121 0026640 311.0977  48.3000  1.00778054 36119");

TEST(Sgp4Record, SlotBufferCarriesTheElementSet) {
  Sgp4Obj obj;
  ASSERT_EQ(kinetra::initFromTle(kVanguard, obj), 0);
  const auto buf = obj.constants();
  EXPECT_NEAR(buf[kinetra::kEpoch], chronel::yrdays2ds50(2000, 179.78495062), 1e-8);
  EXPECT_DOUBLE_EQ(buf[kinetra::kBstar], 0.28098e-4);
  EXPECT_DOUBLE_EQ(buf[kinetra::kEcco], 0.1859667);
  EXPECT_DOUBLE_EQ(buf[kinetra::kInclo], 34.2682 * kDegToRad);
  EXPECT_DOUBLE_EQ(buf[kinetra::kNodeo], 348.7242 * kDegToRad);
  EXPECT_DOUBLE_EQ(buf[kinetra::kArgpo], 331.7664 * kDegToRad);
  EXPECT_DOUBLE_EQ(buf[kinetra::kMo], 19.3264 * kDegToRad);
  EXPECT_DOUBLE_EQ(buf[kinetra::kNoKozai], 10.82419157 * basalon::kTwoPi / 1440.0);
  EXPECT_EQ(buf[kinetra::kSatNum], 5.0);
  EXPECT_EQ(buf[kinetra::kRevNum], 41366.0);
  EXPECT_DOUBLE_EQ(buf[kinetra::kCosio], std::cos(34.2682 * kDegToRad));
  EXPECT_DOUBLE_EQ(buf[kinetra::kSinio], std::sin(34.2682 * kDegToRad));
  // Brouwer and Kozai mean motions differ by the J2 term only (well under 1e-3 here), and the
  // mean semi-major axis is Kepler's of the Brouwer motion.
  EXPECT_NEAR(buf[kinetra::kNo] / buf[kinetra::kNoKozai], 1.0, 1e-3);
  EXPECT_NE(buf[kinetra::kNo], buf[kinetra::kNoKozai]);
  EXPECT_NEAR(buf[kinetra::kAo], std::pow(kinetra::sgp4Ke() / buf[kinetra::kNo], 2.0 / 3.0), 1e-12);
  EXPECT_GE(buf[kinetra::kGsto], 0.0);
  EXPECT_LT(buf[kinetra::kGsto], basalon::kTwoPi);
  EXPECT_EQ(buf[kinetra::kDeepSpace], 0.0);
  EXPECT_EQ(buf[kinetra::kIsimp], 0.0);  // perigee near 660 km
  EXPECT_EQ(buf[kinetra::kInitCode], 0.0);
  // Secular rates: perigee plus node is the longitude-of-perigee rate.
  EXPECT_EQ(buf[kinetra::kXpidot], buf[kinetra::kArgpdot] + buf[kinetra::kNodedot]);
  for (int k = kinetra::kInitCode + 1; k < kinetra::kNumSlots; ++k) EXPECT_EQ(buf[k], 0.0) << k;
  for (int k = 0; k < kinetra::kNumSlots; ++k)
    EXPECT_EQ(buf[k], obj.slot(static_cast<kinetra::Sgp4Slot>(k))) << k;
}

TEST(Sgp4Record, DeepSpaceFlagsAndResonanceClass) {
  struct Case {
    const lineset::TleRecord* set;
    kinetra::Sgp4Resonance kind;
  };
  for (const Case& c : {Case{&kMolniya, kinetra::Sgp4Resonance::kHalfDay},
                        Case{&kGeo, kinetra::Sgp4Resonance::kSynchronous}}) {
    Sgp4Obj obj;
    ASSERT_EQ(kinetra::initFromTle(*c.set, obj), 0);
    EXPECT_TRUE(obj.record().deepSpace);
    EXPECT_EQ(obj.slot(kinetra::kDeepSpace), 1.0);
    EXPECT_EQ(obj.slot(kinetra::kIsimp), 1.0);  // deep space always drops the higher drag terms
    EXPECT_EQ(obj.slot(kinetra::kD2), 0.0);
    ASSERT_NE(obj.deepData(), nullptr);
    EXPECT_EQ(obj.deepData()->resonanceKind, c.kind);
    // The integrator starts at epoch with the Brouwer mean motion.
    EXPECT_EQ(obj.deepData()->integrator.atime, 0.0);
    EXPECT_EQ(obj.deepData()->integrator.xni, obj.record().no);
  }
  Sgp4Obj nearEarth;
  ASSERT_EQ(kinetra::initFromTle(kVanguard, nearEarth), 0);
  EXPECT_EQ(nearEarth.deepData(), nullptr);
}

TEST(Sgp4Record, RefusedElementsKeepTheirCode) {
  kinetra::Sgp4Elements el = kinetra::elementsOfTle(kVanguard);
  el.ecc = 1.2;
  Sgp4Obj obj;
  EXPECT_EQ(obj.init(el), kinetra::kSgp4BadMeanElements);
  EXPECT_EQ(obj.slot(kinetra::kInitCode), 1.0);
  EXPECT_EQ(obj.slot(kinetra::kSatNum), 5.0);  // the set's identity stays with the refusal
  kinetra::Sgp4State st;
  EXPECT_EQ(obj.propagate(10.0, st), kinetra::kSgp4BadMeanElements);

  el = kinetra::elementsOfTle(kVanguard);
  el.meanMotion = -0.01;
  EXPECT_EQ(obj.init(el), kinetra::kSgp4NegMeanMotion);
  EXPECT_EQ(obj.slot(kinetra::kInitCode), 2.0);
  EXPECT_EQ(obj.propagate(10.0, st), kinetra::kSgp4NegMeanMotion);

  obj.release();
  for (double v : obj.constants()) EXPECT_EQ(v, 0.0);
}

TEST(Sgp4Record, TleEpochsFollowTheCalendar) {
  auto epochOf = [](int year, double day) {
    lineset::TleRecord r = kVanguard;
    r.epochYear = year;
    r.epochDay = day;
    return kinetra::elementsOfTle(r).epochDs50;
  };
  // Leap day, a year's last day, and the first day of a century leap year.
  EXPECT_NEAR(epochOf(2004, 60.5), chronel::ymdhmsToDs50(2004, 2, 29, 12, 0, 0.0), 1e-9);
  EXPECT_NEAR(epochOf(1999, 365.75), chronel::ymdhmsToDs50(1999, 12, 31, 18, 0, 0.0), 1e-9);
  EXPECT_NEAR(epochOf(2000, 1.5), chronel::kDs50J2000, 1e-9);
  // Days of year outside the year count on from January 0 of that year, to the bit.
  EXPECT_EQ(epochOf(2001, 0.25), epochOf(2000, 366.25));
  EXPECT_EQ(epochOf(2001, 366.125), epochOf(2002, 1.125));
}

}  // namespace
