// Conversions between the metric/degree units of the exports and Pelmath's canonical units:
// distance in Earth radii (er), time for velocities in kemin (1/ke minutes, so mu = 1), angles in
// radians, mean motion in rad/min. Constants come from the current Planix set at each call; the
// optional argument, where there is one, replaces that constant.
#pragma once

#include <optional>

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

// Angle constants (kPi, kTwoPi, kDegToRad, kRadToDeg) are basalon's, brought in by PelmathTypes.h.
constexpr double kRevDayToRadMin = 0.004363323129985824;  // 2pi/1440
constexpr double kRadMinToRevDay = 229.1831180523293;     // 1440/2pi
constexpr double kDegSecToRadMin = 1.0471975511965976;    // pi/3
constexpr double kRadMin2ToRevDay2 = 330023.68999535416;  // 1440^2/2pi

double ertokm(double x);
double kmtoer(double x);
double kmsectoerkem(double v);
double toradperkemin(double x);  // deg/s -> rad/kemin
double todegpersec(double x);    // rad/kemin -> deg/s
double degtorad(double x);

// Vectors may be strided views: element k is at index k*stride of both in and out (stride 0 is 1);
// in and out may be the same array.
void tocanonicalpos(const double* pos, double* out, std::optional<double> radius = {}, int stride = 1);
void tometricpos(const double* pos, double* out, std::optional<double> radius = {}, int stride = 1);
void tocanonicalvel(const double* vel, double* out, std::optional<double> factor = {}, int stride = 1);
void tometricvel(const double* vel, double* out, std::optional<double> factor = {}, int stride = 1);
void tocanonicalllh(const double* llh, double* out, std::optional<double> radius = {}, int stride = 1);
void tometricllh(const double* llh, double* out, std::optional<double> radius = {}, int stride = 1);

// Six-element arrays; in and out may be the same array.
void tocanonicalkep(const double* kep, double* out, std::optional<double> radius = {});
void tometrickep(const double* kep, double* out, std::optional<double> radius = {});
void tocanonicalclass(const double* cls, double* out);
void tometricclass(const double* cls, double* out);
void tocanonicaleqnx(const double* eq, double* out);
void tometriceqnx(const double* eq, double* out);

// True when any of the six values is NaN.
bool containsnan(const double* v);

}  // namespace pelmath
