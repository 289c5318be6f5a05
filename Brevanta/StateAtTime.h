// One satellite's state at a time, by key or by prepared object: SGP4 satellites through the SGP4
// library, external ephemerides interpolated and turned into the inertial frame of date (TEME).
// The state record holds canonical units (er, er/kemin); times are DS50 or minutes since epoch.
#pragma once

#include <cstdint>

#include "Brevanta/PropObjects.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Planix/StateRecord.h"
#include "Tarvexon/TarvexonTypes.h"

namespace brevanta {

using planix::BrevantaOut;

// What the request time is (the `timeType` codes).
enum class TimeType : int32_t {
  kMse = 1,      // minutes since the element set's epoch
  kDs50Tai = 2,  // DS50 TAI
  kDs50Utc = 3,  // DS50 UTC
};

// What a state request fills: the whole record, or position, velocity, times and revolution
// number only (the two element sets left zero, and no covariance from an ephemeris), for callers
// that need neither.
using StateContent = kinetra::StateContent;

// Empties a state record wholly (covariance released, every field as new).
void releaseState(BrevantaOut& out);

// States by key. The UTC form of a Qel satellite returns code 0 and an empty record (Qel
// satellites are SP-propagated, which this library does not do); every other type that is neither
// SGP4 nor an external ephemeris gives code 2 and one logged line.
void BrevantaInUTC_Key(int64_t satKey, double ds50UTC, BrevantaOut& out, int32_t& code);
void BrevantaInTAI_Key(int64_t satKey, double ds50TAI, BrevantaOut& out, int32_t& code);
void BrevantaInMSE_Key(int64_t satKey, double mse, BrevantaOut& out, int32_t& code);
// The same by object: propType 1 propagates the object's SGP4 copy, 3 the stored ephemeris of its
// satKey. The UTC form of propType 2 returns code 0 and an empty record.
void BrevantaInUTC_Obj(const CommonPropObj& obj, double ds50UTC, BrevantaOut& out, int32_t& code);
void BrevantaInTAI_Obj(const CommonPropObj& obj, double ds50TAI, BrevantaOut& out, int32_t& code);
void BrevantaInMSE_Obj(const CommonPropObj& obj, double mse, BrevantaOut& out, int32_t& code);

// The state of satKey at a time of either system, with the content asked for; the path of the
// exports. routine names the failing operation in the invalid-type message.
void stateByKey(int64_t satKey, double time, TimeType timeType, BrevantaOut& out, int32_t& code,
                StateContent content, const char* routine);

// External ephemeris by key: code 2 without a message when the store does not hold it.
void PropTarvex(int64_t satKey, double time, TimeType timeType, BrevantaOut& out, int32_t& code,
                StateContent content = StateContent::kWithElements);
// External ephemeris from its record (only read: callable under the store's read side).
// Coordinate systems 1 to 4, and 15 or 16 with exactly one point; other systems give code 2.
void PropTarvex_Obj(const tarvexon::TarvexRecord& rec, double time, TimeType timeType, BrevantaOut& out,
                    int32_t& code, StateContent content = StateContent::kWithElements);

// Inertial position (km) and velocity (km/s) at DS50 TAI of a target seen from a site: values
// [0..2] the site (15: latitude, longitude deg, height km; 16: ECR km), [3] range km, [4] azimuth
// and [5] elevation deg. The target moves with the Earth.
void ComputeEciPoint(double posVel[6], double ds50TAI, int32_t coordSys, const double values[6]);

// A state record from a canonical position and velocity at a time (DS50 TAI or UTC; other time
// types leave DS50 UTC 0): kind 0, no Earth constants, elements from geo (the current set when
// null), no covariance.
void PV2Prop(BrevantaOut& out, const double pos[3], const double vel[3], int32_t revNum, double time,
             TimeType timeType, const planix::GeoConst* geo = nullptr);

}  // namespace brevanta
