// IAU 1976 precession, IAU 1980 nutation (pole only: true equator, mean equinox of date) and the
// rotations between the mean equator and equinox of J2000 (J2K) and the frame of date.
#pragma once

#include <array>

#include "Pelmath/EarthFrames.h"
#include "Pelmath/PelmathTypes.h"

namespace pelmath {

// One term of the IAU 1980 nutation series: argument multipliers and coefficients (0.0001").
struct Nut80Term {
  int l, lp, F, D, om;
  double a, ap, b, bp;
};
constexpr int kNutation1980Terms = 106;
extern const std::array<Nut80Term, kNutation1980Terms> kNutation1980;

// Spectrum of the precession-nutation matrix (the integer `spectr` of the exports).
enum class PnSpectrum {
  kLinearised,      // N P; the linearised four-term nutation when fewer than 1 term is asked for,
                    // and date <-> J2000 results rescaled to the input lengths
  kSeries,          // N P with the series nutation
  kPrecessionOnly,  // P
  kNutationOnly,    // N
};
// The exports' integer code: 0 linearised, 2 precession only, 3 nutation only, any other value
// the series.
PnSpectrum pnSpectrumOf(int spectr);

// Equinox of the RA/Dec rotations (the exports' year-of-equinox code 1, 2, 3).
enum class EquinoxYear {
  kStartOfYear,  // mean equinox at the start of the year of the time
  kJ2000,        // mean equinox of J2000
  kDs50Zero,     // mean equinox of DS50 0.0 (1950)
};

// Direction of the RA/Dec rotation between a true equator of date and a mean equinox.
enum class TrueMeanDirection {
  kTrueToMean,  // true of date at the first time -> mean equinox of the second
  kMeanToTrue,  // mean equinox of the first time -> true of date at the second
};

// Delaunay arguments of the nutation series (rad) at T Julian centuries from J2000.
void fundargs(double T, double& D, double& F, double& l, double& lp, double& om);

// IAU 1976 precession from epoch T0 over an interval t (both Julian centuries; T0 from J2000);
// the angles zeta, theta, z (rad) are returned when asked for.
void precfull(double T0, double t, Mat3& p, double* zeta = nullptr, double* theta = nullptr,
              double* z = nullptr);
// Precession from J2000 to T.
void prec(double T, Mat3& p);

// Nutation matrix (moves the pole only). kLinearised with numTerms < 1: the linearised four-term
// model; otherwise the series with max(4, numTerms) terms (at most 106). The nutation in
// longitude and obliquity (rad) are returned when asked for.
void nutate(PnSpectrum selector, int numTerms, double T, Mat3& n, double* dpsi = nullptr,
            double* deps = nullptr);

// The precession-nutation matrix of that spectrum at T.
void getpnmatrix(PnSpectrum spectr, int numTerms, double T, Mat3& pn);
// Full precession from DS50 time ds50From to ds50To and the nutation (series) at ds50To.
void computepnmatrix(int numTerms, double ds50From, double ds50To, Mat3& pn);

// Frame of date at DS50 time ds50 <-> J2K. With kLinearised the outputs are rescaled to the input
// lengths. pnOut, when given, receives the PN matrix.
void rotdate2j2k(PnSpectrum spectr, int numTerms, double ds50, const Vec3& pos, const Vec3& vel, Vec3& posJ2k,
                 Vec3& velJ2k);
void rotj2k2date(PnSpectrum spectr, int numTerms, double ds50, const Vec3& posJ2k, const Vec3& velJ2k,
                 Vec3& pos, Vec3& vel, Mat3* pnOut = nullptr);
// TEME of the epoch ds50Epoch to the frame of date at ds50.
void rotateteme(int numTerms, double ds50Epoch, double ds50, const Vec3& pos, const Vec3& vel, Vec3& posOut,
                Vec3& velOut);

// RA/Dec (rad) of date at ds50 <-> the mean equinox of the chosen year.
void rotradec_date2eqnx(int numTerms, EquinoxYear yrOfEqnx, double ds50, double ra, double dec, double& raOut,
                        double& decOut);
void rotradec_eqnx2date(int numTerms, EquinoxYear yrOfEqnx, double ds50, double ra, double dec, double& raOut,
                        double& decOut);
// RA/Dec (rad) between the true equator of date at ds50a and the mean equinox of ds50b (or the
// other way round).
void rotobs(int numTerms, TrueMeanDirection direction, double ds50a, double ra, double dec, double ds50b,
            double& raOut, double& decOut);

}  // namespace pelmath
