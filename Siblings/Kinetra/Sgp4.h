// The SGP4/SDP4 propagator of two-line mean elements (Hoots and Roehrich 1980, as revised by
// Vallado, Crawford, Hujsak and Kelso 2006, improved mode): WGS-72 constants, TEME output.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace kinetra {

using Vec3 = std::array<double, 3>;

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

// Deep-space (period >= 225 min) data: the lunar-solar periodic coefficients (row 0 Sun, row 1
// Moon), the secular and resonance terms, and the resonance integrator's state.
struct Sgp4DeepData {
  Table2D lunarSolar;
  Table2D resonance;
  std::vector<double> integrator;
};

// Slots of the near-Earth constant buffer (49 doubles). Rates are per minute, angles in rad.
enum Sgp4Slot : int {
  kEpoch,
  kBstar,
  kEcco,
  kArgpo,
  kInclo,
  kMo,
  kNoKozai,
  kNodeo,
  kNo,  // un-Kozai'd (Brouwer) mean motion, rad/min
  kAo,  // mean semi-major axis, er
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
  int propagatefromepoch(double tsince, Sgp4State& out) const;
  // Releases the deep-space block and clears the constants.
  void release();

  bool isDeepSpace() const { return deep_ != nullptr; }
  bool initialised() const { return initialised_; }
  double slot(Sgp4Slot s) const { return c_[s]; }
  const std::array<double, kNumSlots>& constants() const { return c_; }
  const Sgp4DeepData* deepData() const { return deep_.get(); }

 private:
  void initDeepSpace(double eccsq);
  int propagateWith(double t, Sgp4State& out, double* integ) const;
  // integ: the resonance integrator's time, mean longitude and mean motion, updated.
  void deepSecular(double t, double& em, double& argpm, double& inclm, double& mm, double& nodem, double& nm,
                   double* integ) const;
  // Adds the periodics to the elements; sinip, cosip: sine and cosine of the new inclination.
  // nodeTrig, when the node comes from Lyddane's form: sine, cosine of the new node and 1 in [2].
  void lunarSolarPeriodics(double t, double& ep, double& inclp, double& nodep, double& argpp, double& mp,
                           double& sinip, double& cosip, double* nodeTrig) const;

  std::array<double, kNumSlots> c_{};
  std::unique_ptr<Sgp4DeepData> deep_;
  bool initialised_ = false;
};

// Model constants derived from WGS-72.
double sgp4ke();        // sqrt(mu) in er^1.5/min
double sgp4kmpersec();  // er/min to km/s: R ke / 60

// Greenwich mean sidereal angle (rad, [0, 2pi)) of a Julian date UT1 (IAU 1982).
double sgp4gstime(double jdUt1);

}  // namespace kinetra
