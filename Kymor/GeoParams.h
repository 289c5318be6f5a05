// GEO, drift and sub-point: secular J2 rates, the last ascending node, the sub-satellite east
// longitude and drift, the orbit normal and eccentricity vector, the GEO tests, the GOBS libration
// parameters and the 32-value satellite parameter array. Angles in degrees unless named Rad,
// times DS50 UTC, periods in minutes, rates in degrees per day.
#pragma once

#include <array>
#include <cstdint>

#include "Siblings/Basalon/ValueTypes.h"

namespace kymor {

constexpr double kSiderealDayMin = 1436.068176;               // drift rate reference period
constexpr double kRadPerSecToDegPerDay = 4950355.3499303125;  // 86400 * 180 / pi
constexpr double kEarthRotDegPerDay = 360.9856474;            // GOBS drift reference
constexpr double kGobsLonOffsetDeg = 16.7388675342538;        // GOBS longitude reference offset

// ---- The satellite parameter array of GetSatParms ----

constexpr int kNumSatParms = 32;
using SatParms = std::array<double, kNumSatParms>;

// Slots of the parameter array (0-based).
namespace satparm {
constexpr int kEpoch = 0;
constexpr int kMeanAnomaly = 1;
constexpr int kNode = 2;
constexpr int kArgPerigee = 3;
constexpr int kPeriod = 4;
constexpr int kEcc = 5;
constexpr int kIncl = 6;
constexpr int kMeanMotion = 7;  // rev/day
constexpr int kDragTerm = 8;
constexpr int kPerigeeHeight = 9;   // km
constexpr int kApogeeHeight = 10;   // km
constexpr int kPerigeeRadius = 11;  // km
constexpr int kApogeeRadius = 12;   // km
constexpr int kSemiMajorAxis = 13;  // km
constexpr int kSatCategory = 14;
constexpr int kExtra1 = 15;
constexpr int kSubPtLon = 16;    // GEO only: east longitude of the sub-point at epoch
constexpr int kDrift = 17;       // GEO only: GOBS drift rate D
constexpr int kArgpDot = 18;     // deg/day
constexpr int kNodeDot = 19;     // deg/day
constexpr int kPeriodArgp = 20;  // period corrected for perigee motion
constexpr int kLastNodalX = 21;  // DS50 UTC of the last ascending node at or before epoch
constexpr int kInGeoBand = 22;   // 1 or 0
constexpr int kResonance = 23;   // GEO only: GOBS resonance energy Q
constexpr int kSatNum = 24;
constexpr int kEltType = 25;
constexpr int kPropType = 26;
constexpr int kElsetNum = 27;
constexpr int kOrbitNormal = 28;  // 28 to 30
constexpr int kGobsClass = 31;    // GEO only
}  // namespace satparm

// Fills the array from the common data of satKey (the reduced SGP fill for element types 1 and
// 7). errCode is the common data's; when it is not 0 the array is not touched. A satellite without
// elements (a one-point ephemeris) keeps every derived slot (16 to 23, 28 to 31) at 0.
void GetSatParms(int64_t satKey, SatParms& parms, int32_t& errCode);

// ---- GOBS libration parameters ----

// GOBS classes of a near-geosynchronous orbit.
enum class GobsClass {
  kLibratesEast = 0,  // below the resonance energy, longitude outside 143.7 to 348.5
  kLibratesWest = 1,  // below the resonance energy, longitude 181.2 to 348.5
  kTransition = 2,    // resonance energy from 0.08708 to 0.1093
  kNearUnstable = 3,  // below the resonance energy, longitude 143.7 to 181.2 (or exactly 348.5)
  kDriftsEast = 4,    // above the resonance energy, drift rate 0 or more
  kDriftsWest = 5,    // above the resonance energy, negative drift rate
};

// Class of a resonance energy q, drift rate d (deg/day) and GOBS longitude (deg).
GobsClass gobsClass(double q, double d, double lonDeg);

// Mean longitude lon (deg), drift rate d (deg/day), resonance energy q and class of the satellite
// of satKey at its epoch. False, with the outputs untouched, when its common data cannot be read
// (one logged line) or it has no closed orbit (no elements, mean motion not positive, e >= 1).
bool ComputeGobsParams(int64_t satKey, double& d, double& q, double& gobsClassOut, double& lon);

// ---- Orbit geometry, rates and the sub-point ----

// Eccentricity vector e * P (unit vector towards perigee) of a Keplerian set in radians
// (a, e, i, M, node, argument of perigee).
void CompAbar(basalon::Vec3& aBar, const basalon::Elset& kepRad);
// Unit orbit normal (sin node sin i, -cos node sin i, cos i).
void ComputeWVector(basalon::Vec3& w, double incl, double node);
// Secular J2 rates (deg/day) of the argument of perigee and the node, for mu (km^3/s^2) and the
// semi-major axis in km; J2 and the Earth radius are the current constants'. Each output is
// written when given; both are 0 for an axis not positive or e >= 1.
void CompOmgDotRaDot(double mu, double incl, double semiMajorAxisKm, double ecc, double* argpDot,
                     double* nodeDot);
// Days (<= 0) from epoch back to the last ascending node, from the mean anomaly, argument of
// perigee, mean motion (rev/day) and eccentricity; 0 for a mean motion not positive.
double TimeBack2NodalX(double meanAnomaly, double argPerigee, double meanMotionRevDay, double ecc);
// East longitude (deg, [0, 360)) of the mean sub-satellite point at a DS50 UTC time.
double LonEastSubPt(double ds50UTC, double node, double argPerigee, double meanAnomaly);
// Longitude drift (deg/day, positive eastward) of a period in minutes.
double DriftRate(double periodMin);
// LonEastSubPt and DriftRate together.
void SubPt(double ds50UTC, double node, double argPerigee, double meanAnomaly, double periodMin, double& lon,
           double& drift);
// True for a geostationary orbit: inclination below 15 deg and period within 4 min of 1436.
bool IsGeoSat(double incl, double periodMin);

}  // namespace kymor
