// The fill rules of the common element data, one per store: TLE (types 1, 2, 3, 7), SP vector,
// Qel and external ephemeris. Each reads its record on the store's read side into a few plain
// values and computes outside it.
#include "Kymor/CommonElFill.h"

#include <cmath>

#include "Kymor/StoreReads.h"
#include "Pelmath/EarthFrames.h"
#include "Pelmath/ElementConversions.h"
#include "Pelmath/PrecessionNutation.h"
#include "Pelmath/Units.h"
#include "Qel/QelTree.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"

namespace kymor {
namespace {

using basalon::kDegToRad;
using basalon::kRadToDeg;
using pelmath::Elset;
using pelmath::Vec3;

// rad/min to rev/day.
constexpr double kRevPerDayPerRadPerMin = basalon::kMinPerDay / basalon::kTwoPi;
// TLE mean-motion derivatives to rad/min^2 and rad/min^3: 1440^2 / 2pi and 1440^3 / 2pi.
constexpr double kNDotRevPerDay2PerRadPerMin2 = 330023.68999535416;
constexpr double kN2DotRevPerDay3PerRadPerMin3 = 475234113.59331;
// Nutation terms used to bring a J2000 point to the frame of date: the whole IAU 1980 series.
constexpr int kAllNutationTerms = 106;

// The TLE values read here, in record order.
struct TleValues {
  int32_t satNum = 0;
  basalon::FixedText<8> designator;
  int32_t epochYear = 0;
  double epochDay = 0;
  double nDotOver2 = 0, nDDotOver6 = 0;  // as the record holds them
  double dragA = 0, dragB = 0;
  int32_t elsetNum = 0;
  double incl = 0, node = 0, ecc = 0, argPerigee = 0, meanAnomaly = 0;  // deg
  double meanMotion = 0;                                                // rev/day
  int32_t revNum = 0;
  double dragC = 0, dragD = 0;
};

bool readTleValues(int64_t satKey, TleValues& v) {
  return readTle(satKey, [&](const lineset::TleRecord& r) {
    v.satNum = r.satNum;
    v.designator.set(r.designator);
    v.epochYear = r.epochYear;
    v.epochDay = r.epochDay;
    v.nDotOver2 = r.nDotOver2;
    v.nDDotOver6 = r.nDDotOver6;
    v.dragA = r.dragA;
    v.dragB = r.dragB;
    v.elsetNum = r.elsetNum;
    v.incl = r.incl;
    v.node = r.node;
    v.ecc = r.ecc;
    v.argPerigee = r.argPerigee;
    v.meanAnomaly = r.meanAnomaly;
    v.meanMotion = r.meanMotion;
    v.revNum = r.revNum;
    v.dragC = r.dragC;
    v.dragD = r.dragD;
  });
}

// Identity, epoch and angles as the element set gives them (both TLE fills).
void fillTleIdentity(CommonSatData& rec, const TleValues& v, int32_t eltType) {
  rec.satNum = v.satNum;
  rec.designator = v.designator;
  rec.elsetNum = v.elsetNum;
  rec.eltType = eltType;
  rec.revNum = v.revNum;
  rec.epochDs50UTC = chronel::yrdays2ds50(v.epochYear, v.epochDay);
  rec.meanAnomaly = v.meanAnomaly;
  rec.node = v.node;
  rec.argPerigee = v.argPerigee;
  rec.ecc = v.ecc;
  rec.incl = v.incl;
}

// Mean motion (rev/day), period and shape from the mean motion with the ke and radius of geo.
void fillFromMeanMotion(CommonSatData& rec, double meanMotionRevPerDay, const planix::GeoConst& geo,
                        bool withFlattening) {
  rec.earthConsts = &geo;
  rec.meanMotion = meanMotionRevPerDay;
  rec.period = basalon::kMinPerDay / meanMotionRevPerDay;
  const double aEr = pelmath::n2a(meanMotionRevPerDay / kRevPerDayPerRadPerMin, geo.ke);
  fillShape(rec, aEr, rec.ecc, rec.incl * kDegToRad, rec.argPerigee * kDegToRad, geo, withFlattening);
}

// Keplerian elements of a state (km, km/s) with the mu and ke of geo; angles in degrees, reduced
// into [0, 360) when asked; mean motion from a.
void fillFromState(CommonSatData& rec, const Vec3& pos, const Vec3& vel, const planix::GeoConst& geo,
                   bool reduceAngles) {
  const Elset kep = pelmath::pv2kep(pos, vel, geo.muKm, geo.ke);
  auto angle = [reduceAngles](double rad) { return (reduceAngles ? basalon::fmod2p(rad) : rad) * kRadToDeg; };
  rec.earthConsts = &geo;
  rec.ecc = kep[1];
  rec.incl = kep[2] * kRadToDeg;
  rec.meanAnomaly = angle(kep[3]);
  rec.node = angle(kep[4]);
  rec.argPerigee = angle(kep[5]);
  rec.meanMotion = pelmath::a2n(kep[0], geo.ke) * kRevPerDayPerRadPerMin;
  rec.period = basalon::kMinPerDay / rec.meanMotion;
  fillShape(rec, kep[0], kep[1], kep[2], kep[5], geo, true);
}

// Point 1 of an external ephemeris in the inertial frame of date; false for the codes whose
// points are not an Earth-centred position and velocity (geodetic sites, mobile kinds, unknown).
bool pointToEci(int32_t coordSys, const tarvexon::TarvexPoint& pt, Vec3& posEci, Vec3& velEci) {
  const Vec3 pos{pt.pos[0], pt.pos[1], pt.pos[2]};
  const Vec3 vel{pt.vel[0], pt.vel[1], pt.vel[2]};
  auto efgToEci = [&](const Vec3& posEfg, const Vec3& velEfg) {
    const double theta = chronel::getthgr(chronel::utc2ut1(pt.ds50UTC), planix::genvfk());
    pelmath::efg2eci(theta, posEfg, velEfg, posEci, velEci);
  };
  switch (coordSys) {
    case tarvexon::kCoordEci:
      posEci = pos;
      velEci = vel;
      return true;
    case tarvexon::kCoordJ2k:
      pelmath::rotj2k2date(pelmath::pnSpectrumOf(1), kAllNutationTerms, pt.ds50UTC, pos, vel, posEci, velEci);
      return true;
    case tarvexon::kCoordEfg:
      efgToEci(pos, vel);
      return true;
    case tarvexon::kCoordEcr: {
      double tconst[6];
      chronel::gettconst(pt.ds50UTC, tconst);
      Vec3 posEfg{}, velEfg{};
      pelmath::ecr2efg(tconst[4], tconst[5], pos, vel, posEfg, velEfg);
      efgToEci(posEfg, velEfg);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

void fillShape(CommonSatData& rec, double aEr, double ecc, double inclRad, double argPerigeeRad,
               const planix::GeoConst& geo, bool withFlattening) {
  const double radius = geo.earthRadius;
  const double perigeeLatSin = std::sin(inclRad) * std::sin(argPerigeeRad);
  const double drop = withFlattening ? geo.flatLlh * perigeeLatSin * perigeeLatSin : 0.0;
  rec.perigeeRadius = (1.0 - ecc) * aEr * radius;
  rec.apogeeRadius = (1.0 + ecc) * aEr * radius;
  rec.semiMajorAxis = aEr * radius;
  rec.perigeeHeight = ((1.0 - ecc) * aEr - 1.0 + drop) * radius;
  rec.apogeeHeight = ((1.0 + ecc) * aEr - 1.0 + drop) * radius;
}

FillResult fillFromTle(CommonSatData& rec, int64_t satKey, int32_t eltType) {
  TleValues v;
  if (!readTleValues(satKey, v)) return FillResult::kNotFound;
  fillTleIdentity(rec, v, eltType);
  const bool sp = eltType == kEltTypeTleSp;
  const planix::GeoConst& geo = eltType == kEltTypeTleXp ? planix::egm96
                                : sp                     ? planix::genvgeo()
                                                         : planix::wgs72;
  double meanMotion = v.meanMotion;
  if (eltType == kEltTypeTleSgp) {
    // An SGP element set carries the Kozai mean motion; the common data hold Brouwer's.
    const double nKozai = v.meanMotion / kRevPerDayPerRadPerMin;
    meanMotion = pelmath::kozai2brouwer(v.ecc, v.incl * kDegToRad, nKozai) * kRevPerDayPerRadPerMin;
  }
  fillFromMeanMotion(rec, meanMotion, geo, true);
  const bool sgpFamily = eltType == kEltTypeTleSgp || eltType == kEltTypeTleSgp4;
  rec.dragTerm = sgpFamily ? v.dragB : v.dragC;
  rec.extra2 = v.dragA;
  rec.extra3 = sp ? v.dragD : 0.0;
  if (!sp) {
    rec.nDot = v.nDotOver2 / kNDotRevPerDay2PerRadPerMin2;
    rec.n2Dot = v.nDDotOver6 / kN2DotRevPerDay3PerRadPerMin3;
  }
  return FillResult::kFilled;
}

FillResult fillFromTleSgp(CommonSatData& rec, int64_t satKey, int32_t eltType) {
  TleValues v;
  if (!readTleValues(satKey, v)) return FillResult::kNotFound;
  fillTleIdentity(rec, v, eltType);
  // Both kinds with WGS-72 and the element set's own mean motion; heights without flattening.
  fillFromMeanMotion(rec, v.meanMotion, planix::wgs72, false);
  rec.dragTerm = v.dragB;
  rec.nDot = v.nDotOver2 / kNDotRevPerDay2PerRadPerMin2;
  rec.n2Dot = v.nDDotOver6 / kN2DotRevPerDay3PerRadPerMin3;
  return FillResult::kFilled;
}

FillResult fillFromHarlo(CommonSatData& rec, int64_t satKey) {
  Vec3 pos{}, velMps{};
  char epoch[harlo::kEpochLen];
  double drag[3] = {0, 0, 0};
  const bool found = readHarlo(satKey, [&](const harlo::SpVecRecord& r) {
    pos = r.pos;
    velMps = r.vel;
    rec.satNum = r.satNum;
    rec.designator.set(r.designator);
    r.epoch.copy(epoch, harlo::kEpochLen);
    rec.revNum = r.revNum;
    rec.elsetNum = r.elsetNum;
    drag[0] = r.ballisticCoef;
    drag[1] = r.srpCoef;
    drag[2] = r.edr;
  });
  if (!found) return FillResult::kNotFound;
  const planix::GeoConst& geo = planix::genvgeo();
  rec.eltType = kEltTypeSpVec;
  rec.earthConsts = &geo;
  rec.epochDs50UTC = chronel::dtgtods50(std::string_view(epoch, harlo::kEpochLen));
  const Vec3 velKmps{velMps[0] / 1000.0, velMps[1] / 1000.0, velMps[2] / 1000.0};
  const Elset kep = pelmath::pv2kep(pos, velKmps);
  Elset metric{};
  pelmath::tometrickep(kep.data(), metric.data(), geo.earthRadius);
  rec.ecc = metric[1];
  rec.incl = metric[2];
  rec.meanAnomaly = metric[3];
  rec.node = metric[4];
  rec.argPerigee = metric[5];
  const double aEr = metric[0] / geo.earthRadius;
  rec.meanMotion = pelmath::a2n(aEr) * kRevPerDayPerRadPerMin;
  rec.period = basalon::kMinPerDay / rec.meanMotion;
  fillShape(rec, aEr, kep[1], kep[2], kep[5], geo, true);
  rec.semiMajorAxis = metric[0];
  rec.dragTerm = drag[0];
  rec.extra2 = drag[1];
  rec.extra3 = drag[2];
  return FillResult::kFilled;
}

FillResult fillFromQel(CommonSatData& rec, int64_t satKey) {
  Vec3 pos{}, vel{};
  qel::InputDate epoch;
  basalon::FixedText<6> geoModel;
  const bool found = readQel(satKey, [&](const qel::QelRecord& r) {
    rec.satNum = r.satNum;
    rec.designator = r.intlDes;
    rec.revNum = r.epochRev;
    epoch = r.epoch;
    geoModel = r.geoModel;
    pos = r.eciPos;
    vel = r.eciVel;
    rec.dragTerm = r.ballisticCoef;
    rec.extra1 = r.cmOffset;
    rec.extra2 = r.solarRadPressCoef;
    rec.extra3 = r.thrustAccel;
    rec.extra4 = r.edr;
  });
  if (!found) return FillResult::kNotFound;
  rec.eltType = kEltTypeQel;
  rec.epochDs50UTC = qel::InputDateToDs50(epoch);
  // a from the same set's ke as its mu, so that a times its radius is the state's semi-major axis.
  fillFromState(rec, pos, vel, GetGeoConst(geoModel.view()), true);
  return FillResult::kFilled;
}

FillResult fillFromTarvex(CommonSatData& rec, int64_t satKey) {
  size_t numPts = 0;
  int32_t coordSys = 0;
  bool positionOnly = false;
  tarvexon::TarvexPoint first;
  const bool found = readTarvex(satKey, [&](const tarvexon::TarvexRecord& r) {
    rec.satNum = r.satNum;
    rec.designator = r.satName;
    rec.epochDs50UTC = r.epochDs50UTC;
    numPts = r.points.size();
    coordSys = r.coordSys;
    positionOnly = tarvexon::IsPositionOnly(r);
    if (numPts > 0) first = r.points[0];
  });
  if (!found) return FillResult::kNotFound;
  if (numPts == 0) return FillResult::kNoPoints;
  const planix::GeoConst& geo = planix::genvgeo();
  rec.eltType = kEltTypeTarvex;
  rec.earthConsts = &geo;
  Vec3 posEci{}, velEci{};
  // One point gives no orbit; nor do positions without velocities, or points that are sites,
  // ranges and angles or mobile tracks: their element fields stay 0 and noElements says so.
  if (numPts == 1 || positionOnly || !pointToEci(coordSys, first, posEci, velEci)) {
    rec.noElements = 1;
    return FillResult::kFilled;
  }
  fillFromState(rec, posEci, velEci, geo, false);
  return FillResult::kFilled;
}

}  // namespace kymor
