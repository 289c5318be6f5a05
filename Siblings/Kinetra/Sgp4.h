// The SGP4/SDP4 propagator of two-line mean elements (Hoots and Roehrich 1980, as revised by
// Vallado, Crawford, Hujsak and Kelso 2006, improved mode): WGS-72 constants, TEME output.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "Siblings/Basalon/ValueTypes.h"

namespace kinetra {

using Vec3 = basalon::Vec3;

// Result codes of initialisation and propagation.
enum Sgp4Code : int {
  kSgp4Ok = 0,
  kSgp4BadMeanElements = 1,  // mean e >= 1 or e < -0.001, or mean a < 0.95 er (at epoch)
  kSgp4NegMeanMotion = 2,    // mean motion below zero
  kSgp4BadPerturbedEcc = 3,  // eccentricity after the lunar-solar periodics outside [0, 1]
  kSgp4NegSemiLatus = 4,     // semi-latus rectum below zero
  kSgp4Decayed = 6,          // radius below one Earth radius
};

// WGS-72 constants of the model (the model always uses these, whatever the current Planix set).
namespace wgs72 {
constexpr double kMu = 398600.8;      // km^3/s^2
constexpr double kRadius = 6378.135;  // km
constexpr double kJ2 = 0.001082616;
constexpr double kJ3 = -0.00000253881;
constexpr double kJ4 = -0.00000165597;
}  // namespace wgs72

// Mean elements of an element set at its epoch, in the model's units.
struct Sgp4Elements {
  int32_t satNum = 0;
  int32_t revNum = 0;    // revolution number at epoch
  double epochDs50 = 0;  // DS50 UTC
  double bstar = 0;      // 1/er
  double ecc = 0;
  double incl = 0;         // rad
  double node = 0;         // rad
  double argPerigee = 0;   // rad
  double meanAnomaly = 0;  // rad
  double meanMotion = 0;   // Kozai mean motion, rad/min
};

// One propagated state: TEME position (km) and velocity (km/s), and the mean elements at the time
// (before the periodic terms): a (er), e, i, node, argument of perigee, mean anomaly (rad), n (rad/min).
struct Sgp4State {
  double tsince = 0;  // minutes since epoch
  Vec3 pos{};
  Vec3 vel{};
  double meanA = 0, meanE = 0, meanI = 0, meanNode = 0, meanArgp = 0, meanM = 0, meanN = 0;
  int32_t revNum = 0;  // revolution number at the time (counted at the mean ascending node)
};

// Row-major two-dimensional array of doubles that owns its values.
struct Table2D {
  int rows = 0, cols = 0;
  std::vector<double> v;
  void resize(int r, int c) {
    rows = r;
    cols = c;
    v.assign(static_cast<size_t>(r) * static_cast<size_t>(c), 0.0);
  }
  double& at(int r, int c) { return v[static_cast<size_t>(r * cols + c)]; }
  double at(int r, int c) const { return v[static_cast<size_t>(r * cols + c)]; }
};

// Resonance of a deep-space orbit with the Earth's rotation.
enum class Sgp4Resonance : int32_t { kNone, kSynchronous, kHalfDay };

// The resonance integrator's last step; atime 0 means it restarts from epoch.
struct Sgp4Integrator {
  double atime = 0;  // minutes since epoch of the last step
  double xli = 0;    // mean longitude there, rad
  double xni = 0;    // mean motion there, rad/min
};

// One step of the resonance integrator: mean longitude (rad) and mean motion (rad/min) there, and
// the resonance rates at them (xnddt before its factor, the rate of the mean longitude).
struct Sgp4ResonanceStep {
  double xli = 0, xni = 0;
  double xndt = 0, xnddt = 0;
};

// Steps of the integrator kept from initialisation: epoch and two steps of 720 min each side.
constexpr int kSgp4NearSteps = 2;

// Deep-space (period >= 225 min) data: the lunar-solar periodic coefficients (row 0 Sun, row 1
// Moon), the secular and resonance terms, the resonance integrator's state, and its steps near
// epoch (index kSgp4NearSteps + k for k steps from epoch) so that a state within a day and a
// half of epoch reads the rates there instead of computing them.
struct Sgp4DeepData {
  Table2D lunarSolar;
  Table2D resonance;
  Sgp4Resonance resonanceKind = Sgp4Resonance::kNone;
  Sgp4Integrator integrator;
  std::array<Sgp4ResonanceStep, 2 * kSgp4NearSteps + 1> nearSteps{};
};

// Near-Earth constants of an initialised object: the element set at epoch and what
// initialisation derives from it. Lengths in er, angles in rad, rates per minute.
struct Sgp4Record {
  double epoch = 0;    // DS50 UTC
  double bstar = 0;    // 1/er
  double ecco = 0;     // eccentricity at epoch
  double argpo = 0;    // argument of perigee, rad
  double inclo = 0;    // inclination, rad
  double mo = 0;       // mean anomaly, rad
  double noKozai = 0;  // Kozai mean motion, rad/min
  double nodeo = 0;    // right ascension of the node, rad
  double no = 0;       // un-Kozai'd (Brouwer) mean motion, rad/min
  double ao = 0;       // mean semi-major axis, er
  double con41 = 0;    // 3 cos^2 i - 1
  double cc1 = 0;      // drag coefficient C1, 1/min
  double cc4 = 0;      // drag coefficient C4, 1/min (times B*)
  double cc5 = 0;      // drag coefficient C5 (times B*)
  double d2 = 0;       // higher-order drag terms of a, 1/min^2
  double d3 = 0;       // 1/min^3
  double d4 = 0;       // 1/min^4
  double delmo = 0;    // (1 + eta cos M0)^3
  double eta = 0;      // a e / (a - s)
  double argpdot = 0;  // secular rate of the argument of perigee, rad/min
  double omgcof = 0;   // drag term of the argument of perigee, rad/min
  double sinmao = 0;   // sin M0
  double t2cof = 0;    // mean-longitude drag coefficients, 1/min^2 .. 1/min^5
  double t3cof = 0;
  double t4cof = 0;
  double t5cof = 0;
  double x1mth2 = 0;   // 1 - cos^2 i
  double x7thm1 = 0;   // 7 cos^2 i - 1
  double mdot = 0;     // secular rate of the mean anomaly, rad/min
  double nodedot = 0;  // secular rate of the node, rad/min
  double xlcof = 0;    // long-period J3 coefficient of the mean longitude
  double xmcof = 0;    // drag term of the mean anomaly
  double nodecf = 0;   // drag term of the node, rad/min^2
  double aycof = 0;    // long-period J3 coefficient of e sin(omega)
  double gsto = 0;     // Greenwich sidereal angle at epoch, rad
  bool isimp = false;  // simplified drag (perigee below 220 km, or deep space)
  bool deepSpace = false;
  double cosio = 0;    // cos i at epoch
  double sinio = 0;    // sin i at epoch
  double xpidot = 0;   // argpdot + nodedot, rad/min
  int32_t revNum = 0;  // revolution number at epoch
  int32_t satNum = 0;
  int32_t initCode = 0;  // the Sgp4Code of initialisation
};

// Slots of the documented constant buffer of an object (49 doubles; flags 0 or 1, integers as
// doubles, slots past kInitCode 0). Rates are per minute, angles in rad.
enum Sgp4Slot : int {
  kEpoch,
  kBstar,
  kEcco,
  kArgpo,
  kInclo,
  kMo,
  kNoKozai,
  kNodeo,
  kNo,
  kAo,
  kCon41,
  kCc1,
  kCc4,
  kCc5,
  kD2,
  kD3,
  kD4,
  kDelmo,
  kEta,
  kArgpdot,
  kOmgcof,
  kSinmao,
  kT2cof,
  kT3cof,
  kT4cof,
  kT5cof,
  kX1mth2,
  kX7thm1,
  kMdot,
  kNodedot,
  kXlcof,
  kXmcof,
  kNodecf,
  kAycof,
  kGsto,
  kIsimp,
  kDeepSpace,
  kCosio,
  kSinio,
  kXpidot,
  kRevNum,
  kSatNum,
  kInitCode,
  kNumSlots = 49
};

// One slot of the constant buffer of a record, and the whole buffer.
double slotValue(const Sgp4Record& rec, Sgp4Slot s);
std::array<double, kNumSlots> toSlotBuffer(const Sgp4Record& rec);

class Sgp4Obj {
 public:
  Sgp4Obj() = default;
  Sgp4Obj(const Sgp4Obj& o);
  Sgp4Obj& operator=(const Sgp4Obj& o);
  // A moved-from object is left released.
  Sgp4Obj(Sgp4Obj&& o) noexcept;
  Sgp4Obj& operator=(Sgp4Obj&& o) noexcept;

  // Initialises from mean elements at their epoch; returns the code of the state at epoch
  // (0 when the set can be propagated).
  int init(const Sgp4Elements& el);
  // State at minutes since epoch; returns a Sgp4Code. Allocates nothing. The deep-space
  // resonance integrator keeps its last step in the object, so a walk through increasing times
  // does not integrate from epoch each time (results do not depend on the order of the calls);
  // one object is therefore not propagated from two threads at once.
  int propagate(double tsince, Sgp4State& out);
  // The same state without touching the object (the resonance integrated from epoch): safe
  // from several threads at once, slower for resonant orbits far from epoch.
  int propagateFromEpoch(double tsince, Sgp4State& out) const;
  // Releases the deep-space block and clears the constants.
  void release();

  bool isDeepSpace() const { return deep_ != nullptr; }
  bool initialised() const { return initialised_; }
  const Sgp4Record& record() const { return rec_; }
  double slot(Sgp4Slot s) const { return slotValue(rec_, s); }
  std::array<double, kNumSlots> constants() const { return toSlotBuffer(rec_); }
  const Sgp4DeepData* deepData() const { return deep_.get(); }

 private:
  int propagateWith(double t, Sgp4State& out, Sgp4Integrator* integ) const;

  Sgp4Record rec_;
  std::unique_ptr<Sgp4DeepData> deep_;
  bool initialised_ = false;
};

// Model constants derived from WGS-72.
double sgp4Ke();        // sqrt(mu) in er^1.5/min
double sgp4KmPerSec();  // er/min to km/s: R ke / 60

// Greenwich mean sidereal angle (rad, [0, 2pi)) of a Julian date UT1 (IAU 1982).
double greenwichSiderealAngle(double jdUt1);

}  // namespace kinetra
