// The 32-value satellite parameter array: common element data, secular rates, the last node, the
// orbit normal and, for orbits in the GEO band, the sub-point longitude and the GOBS parameters.
#include "Kymor/CommonElData.h"
#include "Kymor/GeoParams.h"
#include "Siblings/Planix/Planix.h"

namespace kymor {
namespace {

// GEO band of the parameter array: period 1200 to 1800 min and e up to 0.4.
constexpr double kGeoBandMinPeriod = 1200.0;
constexpr double kGeoBandMaxPeriod = 1800.0;
constexpr double kGeoBandMaxEcc = 0.4;

bool inGeoBand(const CommonSatData& rec) {
  return rec.period >= kGeoBandMinPeriod && rec.period <= kGeoBandMaxPeriod && rec.ecc <= kGeoBandMaxEcc;
}

// Whether the record carries an orbit the derived values can be computed from.
bool hasOrbit(const CommonSatData& rec) {
  return rec.noElements == 0 && rec.semiMajorAxis > 0.0 && rec.meanMotion > 0.0;
}

}  // namespace

void GetSatParms(int64_t satKey, SatParms& parms, int32_t& errCode) {
  CommonSatData rec;
  const int32_t eltType = GetOrbEltType(satKey);
  if (eltType == kEltTypeTleSgp || eltType == kEltTypeTleXp)
    GetCommElDataSGP(rec, satKey);
  else
    GetCommElData(rec, satKey);
  errCode = rec.errCode;
  if (errCode != 0) return;

  namespace sp = satparm;
  parms.fill(0.0);
  parms[sp::kEpoch] = rec.epochDs50UTC;
  parms[sp::kMeanAnomaly] = rec.meanAnomaly;
  parms[sp::kNode] = rec.node;
  parms[sp::kArgPerigee] = rec.argPerigee;
  parms[sp::kPeriod] = rec.period;
  parms[sp::kEcc] = rec.ecc;
  parms[sp::kIncl] = rec.incl;
  parms[sp::kMeanMotion] = rec.meanMotion;
  parms[sp::kDragTerm] = rec.dragTerm;
  parms[sp::kPerigeeHeight] = rec.perigeeHeight;
  parms[sp::kApogeeHeight] = rec.apogeeHeight;
  parms[sp::kPerigeeRadius] = rec.perigeeRadius;
  parms[sp::kApogeeRadius] = rec.apogeeRadius;
  parms[sp::kSemiMajorAxis] = rec.semiMajorAxis;
  parms[sp::kSatCategory] = rec.satCategory;
  parms[sp::kExtra1] = rec.extra1;
  parms[sp::kSatNum] = rec.satNum;
  parms[sp::kEltType] = eltType;
  parms[sp::kPropType] = GetPropType(satKey);
  parms[sp::kElsetNum] = rec.elsetNum;
  // A satellite without elements (or with no positive axis and mean motion) has no rates, node,
  // normal or GEO values: the formulas would give infinities and NaN.
  if (!hasOrbit(rec)) return;

  const double mu = (rec.earthConsts != nullptr ? *rec.earthConsts : planix::genvgeo()).muKm;
  CompOmgDotRaDot(mu, rec.incl, rec.semiMajorAxis, rec.ecc, &parms[sp::kArgpDot], &parms[sp::kNodeDot]);
  parms[sp::kPeriodArgp] = rec.period - (parms[sp::kArgpDot] * rec.period / 360.0) / rec.meanMotion;
  parms[sp::kLastNodalX] =
      rec.epochDs50UTC + TimeBack2NodalX(rec.meanAnomaly, rec.argPerigee, rec.meanMotion, rec.ecc);

  if (inGeoBand(rec)) {
    parms[sp::kInGeoBand] = 1.0;
    parms[sp::kSubPtLon] = LonEastSubPt(rec.epochDs50UTC, rec.node, rec.argPerigee, rec.meanAnomaly);
    parms[sp::kDrift] = DriftRate(rec.period);
    double lon = 0.0;
    ComputeGobsParams(satKey, parms[sp::kDrift], parms[sp::kResonance], parms[sp::kGobsClass], lon);
  }

  basalon::Vec3 w{};
  ComputeWVector(w, rec.incl, rec.node);
  for (int k = 0; k < 3; ++k) parms[static_cast<size_t>(sp::kOrbitNormal + k)] = w[static_cast<size_t>(k)];
}

}  // namespace kymor
