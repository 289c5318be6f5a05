// States at a time: dispatch on the propagator type of a key or object, SGP4 through the SGP4
// library, and external ephemerides interpolated at the TAI time and rotated into TEME of date.
#include "Brevanta/StateAtTime.h"

#include <cmath>

#include "Kymor/CommonElData.h"
#include "Pelmath/EarthFrames.h"
#include "Pelmath/ElementConversions.h"
#include "Pelmath/PrecessionNutation.h"
#include "Pelmath/Topocentric.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Kinetra/KinetraStore.h"
#include "Siblings/Planix/Planix.h"
#include "Tarvexon/Interpolation.h"
#include "Tarvexon/TarvexonTree.h"

namespace brevanta {
namespace {

using basalon::Vec3;
using tarvexon::CoordSys;

// Nutation terms of the J2000-to-date rotation of J2000 ephemerides (the whole IAU 1980 series).
constexpr int kJ2kNutationTerms = pelmath::kNutation1980Terms;

// The three times of a request: UTC and TAI always, UT1 only where an Earth-fixed frame needs it.
struct RequestTimes {
  double utc = 0;
  double tai = 0;
  double mse = 0;  // minutes since the record's epoch
};

// Times of an ephemeris request; false (code 2, logged) for an unknown time type.
bool requestTimes(double time, TimeType timeType, double epochUtc, RequestTimes& t, int32_t& code) {
  switch (timeType) {
    case TimeType::kDs50Tai:
      t.tai = time;
      t.utc = chronel::tai2utc(time);
      t.mse = (t.utc - epochUtc) * 1440.0;
      return true;
    case TimeType::kDs50Utc:
      t.utc = time;
      t.tai = chronel::utc2tai(time);
      t.mse = (t.utc - epochUtc) * 1440.0;
      return true;
    case TimeType::kMse:
      t.mse = time;
      t.utc = time / 1440.0 + epochUtc;
      t.tai = chronel::utc2tai(t.utc);
      return true;
  }
  code = basalon::failf("PropTarvex_Obj: Invalid time type %d.", static_cast<int>(timeType));
  return false;
}

// Greenwich angle (rad) at a UTC time, from UT1 and the catalogue setting.
double greenwichAngle(double utc) { return chronel::getthgr(chronel::utc2ut1(utc), planix::genvfk()); }

bool isSitePoint(int32_t coordSys) {
  return coordSys == tarvexon::kCoordLlh || coordSys == tarvexon::kCoordSen;
}

// Whether points of this system in a record of numPts points are turned into ECI here; false
// (code 2, logged) otherwise, so that no foreign frame comes back as ECI.
bool convertible(const tarvexon::TarvexRecord& rec, int32_t& code) {
  const int32_t cs = rec.coordSys;
  switch (cs) {
    case tarvexon::kCoordEci:
    case tarvexon::kCoordJ2k:
    case tarvexon::kCoordEfg:
    case tarvexon::kCoordEcr:
      return true;
    case tarvexon::kCoordLlh:
    case tarvexon::kCoordSen:
      if (rec.numPts == 1) return true;
      code = basalon::failf("PropTarvex_Obj: A %s ephemeris of more than one point is not converted to ECI.",
                            tarvexon::CoordSysName(cs));
      return false;
    default:
      code = basalon::failf("PropTarvex_Obj: Coordinate system %d is not converted to ECI.",
                            static_cast<int>(cs));
      return false;
  }
}

// The ephemeris frame's position (km) and velocity (km/s) rotated into TEME of date in place.
void toInertial(int32_t coordSys, const RequestTimes& t, Vec3& pos, Vec3& vel) {
  Vec3 p = pos, v = vel;
  switch (coordSys) {
    case tarvexon::kCoordEcr: {
      double tconst[6];
      chronel::gettconst(t.utc, tconst);
      pelmath::ecr2efg(tconst[4], tconst[5], p, v, pos, vel);
      p = pos;
      v = vel;
      [[fallthrough]];
    }
    case tarvexon::kCoordEfg:
      pelmath::efg2eci(greenwichAngle(t.utc), p, v, pos, vel);
      return;
    case tarvexon::kCoordJ2k:
      pelmath::rotj2k2date(pelmath::PnSpectrum::kSeries, kJ2kNutationTerms, t.tai, p, v, pos, vel);
      return;
    default:
      return;  // ECI, and one-point site ephemerides already made inertial
  }
}

int32_t invalidType(const char* routine) {
  return basalon::failf("%s: Invalid orbital element type.", routine);
}

// State of an object by its propagator type.
void stateByObj(const CommonPropObj& obj, double time, TimeType timeType, BrevantaOut& out, int32_t& code,
                const char* routine) {
  releaseState(out);
  code = basalon::kResultOk;
  switch (obj.propType) {
    case kymor::kPropTypeSgp4:
      if (!obj.sgp4Obj) {
        code = basalon::failf("%s: The object carries no SGP4 object.", routine);
        return;
      }
      kinetra::kinetra_obj(*obj.sgp4Obj, time, static_cast<int32_t>(timeType), out, code);
      return;
    case kymor::kPropTypeExtEphem:
      PropTarvex(obj.satKey, time, timeType, out, code);
      return;
    default:
      code = invalidType(routine);
  }
}

}  // namespace

void releaseState(BrevantaOut& out) {
  planix::FreeBrevantaOut(out);
  out = BrevantaOut{};
}

void stateByKey(int64_t satKey, double time, TimeType timeType, BrevantaOut& out, int32_t& code,
                StateContent content, const char* routine) {
  // Both propagating paths release the record themselves first.
  code = basalon::kResultOk;
  const int32_t eltType = kymor::GetOrbEltType(satKey);
  switch (kymor::PropTypeOfEltType(eltType)) {
    case kymor::kPropTypeSgp4:
      // UTC goes to the SGP4 library as it is: the state is the one of its TAI time.
      kinetra::kinetra_key(satKey, time, static_cast<int32_t>(timeType), out, code, content);
      return;
    case kymor::kPropTypeExtEphem:
      PropTarvex(satKey, time, timeType, out, code, content);
      return;
    default:
      releaseState(out);
      // A Qel message is SP-propagated: the UTC request answers with an empty record.
      if (timeType == TimeType::kDs50Utc && eltType == kymor::kEltTypeQel) return;
      code = invalidType(routine);
  }
}

void BrevantaInUTC_Key(int64_t satKey, double ds50UTC, BrevantaOut& out, int32_t& code) {
  stateByKey(satKey, ds50UTC, TimeType::kDs50Utc, out, code, StateContent::kWithElements,
             "BrevantaInTAI_Key");
}

void BrevantaInTAI_Key(int64_t satKey, double ds50TAI, BrevantaOut& out, int32_t& code) {
  stateByKey(satKey, ds50TAI, TimeType::kDs50Tai, out, code, StateContent::kWithElements,
             "BrevantaInTAI_Key");
}

void BrevantaInMSE_Key(int64_t satKey, double mse, BrevantaOut& out, int32_t& code) {
  stateByKey(satKey, mse, TimeType::kMse, out, code, StateContent::kWithElements, "BrevantaInMSE_Key");
}

void BrevantaInUTC_Obj(const CommonPropObj& obj, double ds50UTC, BrevantaOut& out, int32_t& code) {
  releaseState(out);
  code = basalon::kResultOk;
  if (obj.propType == kymor::kPropTypeSp) return;  // SP objects are not propagated here
  stateByObj(obj, ds50UTC, TimeType::kDs50Utc, out, code, "BrevantaInTAI_Obj");
}

void BrevantaInTAI_Obj(const CommonPropObj& obj, double ds50TAI, BrevantaOut& out, int32_t& code) {
  stateByObj(obj, ds50TAI, TimeType::kDs50Tai, out, code, "BrevantaInTAI_Obj");
}

void BrevantaInMSE_Obj(const CommonPropObj& obj, double mse, BrevantaOut& out, int32_t& code) {
  stateByObj(obj, mse, TimeType::kMse, out, code, "BrevantaInMSE_Obj");
}

void PropTarvex(int64_t satKey, double time, TimeType timeType, BrevantaOut& out, int32_t& code,
                StateContent content) {
  releaseState(out);
  code = basalon::kResultOk;
  // The record is read on the store's read side, entered once here; nothing below enters it again.
  const bool found = tarvexon::TarvexReadRec(satKey, [&](const tarvexon::TarvexRecord& rec) {
    PropTarvex_Obj(rec, time, timeType, out, code, content);
  });
  if (!found) code = basalon::kResultFail;
}

void PropTarvex_Obj(const tarvexon::TarvexRecord& rec, double time, TimeType timeType, BrevantaOut& out,
                    int32_t& code, StateContent content) {
  releaseState(out);
  code = basalon::kResultOk;
  RequestTimes t;
  if (!requestTimes(time, timeType, rec.epochDs50UTC, t, code) || !convertible(rec, code)) return;

  tarvexon::TarvexPoint pt;
  tarvexon::InterpolateEP(rec, t.tai, pt, code);
  if (code != basalon::kResultOk) return;
  Vec3 pos{pt.pos[0], pt.pos[1], pt.pos[2]};
  Vec3 vel{pt.vel[0], pt.vel[1], pt.vel[2]};
  if (isSitePoint(rec.coordSys)) {
    const double values[6] = {pt.pos[0], pt.pos[1], pt.pos[2], pt.vel[0], pt.vel[1], pt.vel[2]};
    double pv[6];
    ComputeEciPoint(pv, t.tai, rec.coordSys, values);
    pos = {pv[0], pv[1], pv[2]};
    vel = {pv[3], pv[4], pv[5]};
  }
  toInertial(rec.coordSys, t, pos, vel);

  const planix::GeoConst& geo = planix::genvgeo();
  out.kind = 3;
  out.revNum = pt.revNum;
  out.geoConst = &geo;
  out.mse = t.mse;
  out.ds50UTC = t.utc;
  out.pos = basalon::scaled(pos, 1.0 / geo.earthRadius);
  out.vel = basalon::scaled(vel, geo.kmPerSecToErPerKemin);
  if (content == StateContent::kPosVel) return;
  out.oscKep = pelmath::pv2kep(pos, vel, geo.muKm);
  out.meanKep = out.oscKep;
  out.cov.assign(pt.covMtx, pt.covMtx + tarvexon::kCovPacked);
}

void ComputeEciPoint(double posVel[6], double ds50TAI, int32_t coordSys, const double values[6]) {
  const planix::GeoConst& geo = planix::genvgeo();
  const double utc = chronel::tai2utc(ds50TAI);
  const double theta = greenwichAngle(utc);
  const Vec3 still{0.0, 0.0, 0.0};

  // Site: Earth-fixed position (er) and geodetic latitude/longitude (rad).
  Vec3 siteEfg{}, llh{};
  if (coordSys == tarvexon::kCoordSen) {
    double tconst[6];
    chronel::gettconsttai(ds50TAI, tconst);
    const Vec3 ecr = basalon::scaled(Vec3{values[0], values[1], values[2]}, 1.0 / geo.earthRadius);
    Vec3 unused{};
    pelmath::ecr2efg(tconst[4], tconst[5], ecr, still, siteEfg, unused);
    pelmath::efg2llh(siteEfg, llh);
  } else {
    llh = {values[0] * basalon::kDegToRad, values[1] * basalon::kDegToRad, values[2] / geo.earthRadius};
    pelmath::llh2efg(llh, siteEfg);
  }
  Vec3 siteEci{}, unused{};
  pelmath::efg2eci(theta, siteEfg, still, siteEci, unused);

  // Target: the site plus range along the look direction, turned from SEZ into the inertial frame.
  const double range = values[3] / geo.earthRadius;
  const Vec3 look = pelmath::azel2lhvec(values[4] * basalon::kDegToRad, values[5] * basalon::kDegToRad);
  const double lst = basalon::fmod2p(llh[1] + theta);
  basalon::Mat3 toSez{};
  pelmath::rotmtxt_sez(llh[0], lst, toSez);
  const Vec3 target = basalon::added(siteEci, basalon::scaled(basalon::mulMatTVec(toSez, look), range));
  const Vec3 targetVel = pelmath::ecisenvelocity(target);
  for (int k = 0; k < 3; ++k) {
    posVel[k] = target[static_cast<size_t>(k)] * geo.earthRadius;
    posVel[k + 3] = targetVel[static_cast<size_t>(k)] / geo.kmPerSecToErPerKemin;
  }
}

void PV2Prop(BrevantaOut& out, const double pos[3], const double vel[3], int32_t revNum, double time,
             TimeType timeType, const planix::GeoConst* geo) {
  releaseState(out);
  const planix::GeoConst& g = geo != nullptr ? *geo : planix::genvgeo();
  double utc = 0.0;
  if (timeType == TimeType::kDs50Tai) utc = chronel::tai2utc(time);
  if (timeType == TimeType::kDs50Utc) utc = time;
  const Vec3 posEr{pos[0], pos[1], pos[2]}, velEr{vel[0], vel[1], vel[2]};
  const Vec3 posKm = basalon::scaled(posEr, g.earthRadius);
  const Vec3 velKmS = basalon::scaled(velEr, 1.0 / g.kmPerSecToErPerKemin);
  out.kind = 0;
  out.revNum = revNum;
  out.pos = posEr;
  out.vel = velEr;
  out.ds50UTC = utc;
  out.oscKep = pelmath::pv2kep(posKm, velKmS, g.muKm, g.ke);
  out.meanKep = out.oscKep;
}

}  // namespace brevanta
