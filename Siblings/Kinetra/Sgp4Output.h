// SGP4 objects from TLE records, and SGP4 states as Brevanta's state record (canonical units).
#pragma once

#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Lineset/TleRecord.h"
#include "Siblings/Planix/StateRecord.h"

namespace kinetra {

// What a state request fills in the state record: everything, or everything but the two element
// sets (left zero), for callers that take only position and velocity.
enum class StateContent { kWithElements, kPosVel };

// The model's mean elements of an element set: epoch DS50 UTC from year and day, angles to rad,
// mean motion rev/day to rad/min, B* from drag value B.
Sgp4Elements elementsOfTle(const lineset::TleRecord& tle);

// Initialises an object from an element set; returns the code of the state at epoch.
int initFromTle(const lineset::TleRecord& tle, Sgp4Obj& obj);

// Keplerian elements a, e, i, M, node, argument of perigee (er, rad) of a position (er) and
// velocity (er/kemin) with mu = 1. Undefined angles of circular or equatorial orbits are 0;
// an unbound state gives a < 0 and the hyperbolic mean anomaly. The true anomaly (rad; the
// argument of latitude or true longitude where the perigee is undefined) goes to `trueAnomaly`.
void oscKeplerian(const Vec3& posEr, const Vec3& velErKemin, basalon::Elset& kep,
                  double* trueAnomaly = nullptr);

// Fills a state record from a propagated state of the object: kind 1, revolution number, the
// WGS-72 constants (the model's own, so canonical and metric values convert back exactly),
// canonical position and velocity, minutes since epoch, DS50 UTC, osculating and mean Keplerian
// elements (er, rad; zeros with StateContent::kPosVel). The covariance array is left empty.
void toStateRecord(const Sgp4Obj& obj, const Sgp4State& st, planix::BrevantaOut& out,
                   StateContent content = StateContent::kWithElements);

}  // namespace kinetra
