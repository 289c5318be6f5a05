// Metric/degree <-> canonical unit conversions.
#include "Pelmath/Units.h"

#include <cmath>

#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {
namespace {

inline int step(int stride) { return stride == 0 ? 1 : stride; }

void scale3(const double* in, double* out, double f, int stride) {
  const int s = step(stride);
  for (int k = 0; k < 3; ++k) out[k * s] = in[k * s] * f;
}

}  // namespace

double ertokm(double x) { return x * planix::genvgeo().earthRadius; }
double kmtoer(double x) { return x / planix::genvgeo().earthRadius; }
double kmsectoerkem(double v) { return v * planix::genvgeo().kmPerSecToErPerKemin; }
double toradperkemin(double x) { return x * kDegSecToRadMin / planix::genvgeo().ke; }
double todegpersec(double x) { return x / (kDegSecToRadMin / planix::genvgeo().ke); }
double degtorad(double x) { return x * kDegToRad; }

void tocanonicalpos(const double* pos, double* out, std::optional<double> radius, int stride) {
  scale3(pos, out, 1.0 / radius.value_or(planix::genvgeo().earthRadius), stride);
}

void tometricpos(const double* pos, double* out, std::optional<double> radius, int stride) {
  scale3(pos, out, radius.value_or(planix::genvgeo().earthRadius), stride);
}

void tocanonicalvel(const double* vel, double* out, std::optional<double> factor, int stride) {
  scale3(vel, out, factor.value_or(planix::genvgeo().kmPerSecToErPerKemin), stride);
}

void tometricvel(const double* vel, double* out, std::optional<double> factor, int stride) {
  scale3(vel, out, 1.0 / factor.value_or(planix::genvgeo().kmPerSecToErPerKemin), stride);
}

void tocanonicalllh(const double* llh, double* out, std::optional<double> radius, int stride) {
  const int s = step(stride);
  out[0] = llh[0] * kDegToRad;
  out[s] = llh[s] * kDegToRad;
  out[2 * s] = llh[2 * s] / radius.value_or(planix::genvgeo().earthRadius);
}

void tometricllh(const double* llh, double* out, std::optional<double> radius, int stride) {
  const int s = step(stride);
  out[0] = llh[0] * kRadToDeg;
  out[s] = llh[s] * kRadToDeg;
  out[2 * s] = llh[2 * s] * radius.value_or(planix::genvgeo().earthRadius);
}

void tocanonicalkep(const double* kep, double* out, std::optional<double> radius) {
  out[0] = kep[0] / radius.value_or(planix::genvgeo().earthRadius);
  out[1] = kep[1];
  for (int k = 2; k < 6; ++k) out[k] = kep[k] * kDegToRad;
}

void tometrickep(const double* kep, double* out, std::optional<double> radius) {
  out[0] = kep[0] * radius.value_or(planix::genvgeo().earthRadius);
  out[1] = kep[1];
  for (int k = 2; k < 6; ++k) out[k] = basalon::fmod2p(kep[k]) * kRadToDeg;
}

void tocanonicalclass(const double* cls, double* out) {
  out[0] = cls[0] * kRevDayToRadMin;
  out[1] = cls[1];
  for (int k = 2; k < 6; ++k) out[k] = cls[k] * kDegToRad;
}

void tometricclass(const double* cls, double* out) {
  out[0] = cls[0] * kRadMinToRevDay;
  out[1] = cls[1];
  for (int k = 2; k < 6; ++k) out[k] = basalon::fmod2p(cls[k]) * kRadToDeg;
}

void tocanonicaleqnx(const double* eq, double* out) {
  for (int k = 0; k < 4; ++k) out[k] = eq[k];
  out[4] = eq[4] * kDegToRad;
  out[5] = eq[5] * kRevDayToRadMin;
}

void tometriceqnx(const double* eq, double* out) {
  for (int k = 0; k < 4; ++k) out[k] = eq[k];
  out[4] = eq[4] * kRadToDeg;  // mean longitude is not reduced
  out[5] = eq[5] * kRadMinToRevDay;
}

bool containsnan(const double* v) {
  for (int k = 0; k < 6; ++k)
    if (std::isnan(v[k])) return true;
  return false;
}

}  // namespace pelmath
