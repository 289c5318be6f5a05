// IAU 1976 precession and IAU 1980 nutation matrices, and the J2K <-> date rotations built on them.
// Times are DS50; T is Julian centuries from J2000. The rotations are unit-free (any length unit).
#include "Pelmath/PrecessionNutation.h"

#include <algorithm>
#include <cmath>

#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"

namespace pelmath {
namespace {

constexpr double kArcsecPerRev = 1296000.0;
// Series coefficients are in units of 0.0001 arcsec.
constexpr double kSeriesUnitToRad = 1.0e-4 * kArcsecToRad;

inline double arcsecToReducedRad(double arcsec) { return basalon::fmod2p(arcsec * kArcsecToRad); }

// The pole-only nutation matrix of the rotation angles a (about the old y axis, i.e. dpsi sin eps)
// and b (deps).
Mat3 poleMatrix(double a, double b) {
  const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
  return Mat3{{{ca, -sa * sb, -sa * cb}, {0.0, cb, -sb}, {sa, ca * sb, ca * cb}}};
}

void linearisedNutation(double T, Mat3& n, double* dpsiOut, double* depsOut) {
  const double T2 = T * T, T3 = T2 * T;
  const double om = arcsecToReducedRad(450160.28 - 6962890.539 * T + 7.455 * T2 + 0.008 * T3);
  const double om2 = arcsecToReducedRad(900320.56 - 13925781.078 * T + 14.91 * T2 + 0.016 * T3);
  const double fo2 = arcsecToReducedRad(1571878.314 + 3465128745.196 * T - 11.604 * T2 + 0.038 * T3);
  const double fdo2 = arcsecToReducedRad(-572644.3 + 259205542.54 * T + 2.178 * T2);
  const double eps0 = (84381.448 - 46.815 * T) * kArcsecToRad;
  const double dpsi = ((-17.1996 - 0.01742 * T) * std::sin(om) + (0.2062 + 0.00002 * T) * std::sin(om2) +
                       (-1.3187 - 0.00016 * T) * std::sin(fdo2) + (-0.2274 - 0.00002 * T) * std::sin(fo2)) *
                      kArcsecToRad;
  const double deps = ((9.2025 + 0.00089 * T) * std::cos(om) + (-0.0895 + 0.00005 * T) * std::cos(om2) +
                       (0.5736 - 0.00031 * T) * std::cos(fdo2) + (0.0977 - 0.00005 * T) * std::cos(fo2)) *
                      kArcsecToRad;
  const double a = dpsi * std::sin(eps0);
  n = Mat3{{{1.0, 0.0, -a}, {0.0, 1.0, -deps}, {a, deps, 1.0}}};
  if (dpsiOut) *dpsiOut = dpsi;
  if (depsOut) *depsOut = deps;
}

// Precession matrix of the three angles (rad): R3(-z) R2(theta) R3(-zeta).
Mat3 precessionMatrix(double zeta, double theta, double z) {
  const double cz = std::cos(zeta), sz = std::sin(zeta), ct = std::cos(theta), st = std::sin(theta);
  const double cZ = std::cos(z), sZ = std::sin(z);
  return Mat3{{{cz * ct * cZ - sz * sZ, -sz * ct * cZ - cz * sZ, -st * cZ},
               {cz * ct * sZ + sz * cZ, -sz * ct * sZ + cz * cZ, -st * sZ},
               {cz * st, -sz * st, ct}}};
}

Vec3 unitFromRaDec(double ra, double dec) {
  return {std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)};
}

// DS50 epoch of the mean equinox of the start of the year or of 1950 (J2000 needs no extra
// precession).
double equinoxEpoch(EquinoxYear yrOfEqnx, double ds50) {
  if (yrOfEqnx == EquinoxYear::kDs50Zero) return 0.0;
  double dayOfYear = 0.0;
  int year = 0;
  chronel::fyklok(ds50, dayOfYear, year);
  return chronel::tcomps2utc(0, 0, 0, 0.0, year);
}

}  // namespace

PnSpectrum pnSpectrumOf(int spectr) {
  switch (spectr) {
    case 0:
      return PnSpectrum::kLinearised;
    case 2:
      return PnSpectrum::kPrecessionOnly;
    case 3:
      return PnSpectrum::kNutationOnly;
    default:
      return PnSpectrum::kSeries;
  }
}

void fundargs(double T, double& D, double& F, double& l, double& lp, double& om) {
  const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
  const double r = kArcsecPerRev;
  l = (485868.249036 + (1325.0 * r + 715923.2178) * T + 31.8792 * T2 + 0.051635 * T3 - 0.0002447 * T4) *
      kArcsecToRad;
  lp = (1287104.79528 + (99.0 * r + 1292581.0481) * T - 0.5532 * T2 - 0.000136 * T3 - 0.00001149 * T4) *
       kArcsecToRad;
  F = (335779.526232 + (1342.0 * r + 295262.8478) * T - 12.7512 * T2 - 0.001037 * T3 + 0.00000417 * T4) *
      kArcsecToRad;
  D = (1072260.703692 + (1236.0 * r + 1105601.209) * T - 6.3706 * T2 + 0.006593 * T3 - 0.00003169 * T4) *
      kArcsecToRad;
  // Whole revolutions of 5T dropped: only its fraction contributes the 5r T term.
  const double frac5T = std::fmod(5.0 * T, 1.0);
  om = (450160.398036 - (frac5T * r + 482890.2665 * T) + 7.4722 * T2 + 0.007702 * T3 - 0.00005939 * T4) *
       kArcsecToRad;
}

void precfull(double T0, double t, Mat3& p, double* zetaOut, double* thetaOut, double* zOut) {
  const double t2 = t * t, t3 = t2 * t, T02 = T0 * T0;
  const double base = 2306.2181 + 1.39656 * T0 - 0.000139 * T02;
  const double zeta = arcsecToReducedRad(base * t + (0.30188 - 0.000344 * T0) * t2 + 0.017998 * t3);
  const double theta = arcsecToReducedRad((2004.3109 - 0.8533 * T0 - 0.000217 * T02) * t -
                                          (0.42665 + 0.000217 * T0) * t2 - 0.041833 * t3);
  const double z = arcsecToReducedRad(base * t + (1.09468 + 0.000066 * T0) * t2 + 0.018203 * t3);
  p = precessionMatrix(zeta, theta, z);
  if (zetaOut) *zetaOut = zeta;
  if (thetaOut) *thetaOut = theta;
  if (zOut) *zOut = z;
}

void prec(double T, Mat3& p) { precfull(0.0, T, p); }

void nutate(PnSpectrum selector, int numTerms, double T, Mat3& n, double* dpsiOut, double* depsOut) {
  if (numTerms < 1 && selector == PnSpectrum::kLinearised) {
    linearisedNutation(T, n, dpsiOut, depsOut);
    return;
  }
  // At least the four terms of the linearised model, never more than the table holds.
  const int k = std::clamp(numTerms, 4, kNutation1980Terms);
  double D, F, l, lp, om;
  fundargs(T, D, F, l, lp, om);
  double dpsi = 0.0, deps = 0.0;
  // Smallest terms first, for the rounding.
  for (int i = k - 1; i >= 0; --i) {
    const Nut80Term& term = kNutation1980[static_cast<size_t>(i)];
    const double arg = term.l * l + term.lp * lp + term.F * F + term.D * D + term.om * om;
    dpsi += (term.a + term.ap * T) * std::sin(arg);
    deps += (term.b + term.bp * T) * std::cos(arg);
  }
  dpsi *= kSeriesUnitToRad;
  deps *= kSeriesUnitToRad;
  const double epsBar = (84381.448 - 46.815 * T - 0.00059 * T * T + 0.001813 * T * T * T) * kArcsecToRad;
  n = poleMatrix(dpsi * std::sin(epsBar + deps), deps);
  if (dpsiOut) *dpsiOut = dpsi;
  if (depsOut) *depsOut = deps;
}

void getpnmatrix(PnSpectrum spectr, int numTerms, double T, Mat3& pn) {
  if (spectr == PnSpectrum::kPrecessionOnly) {
    prec(T, pn);
    return;
  }
  if (spectr == PnSpectrum::kNutationOnly) {
    nutate(spectr, numTerms, T, pn);
    return;
  }
  Mat3 p, n;
  prec(T, p);
  nutate(spectr, numTerms, T, n);
  pn = mulMat(n, p);
}

void computepnmatrix(int numTerms, double ds50From, double ds50To, Mat3& pn) {
  Mat3 p, n;
  precfull(centryj2000(ds50From), (ds50To - ds50From) / 36525.0, p);
  nutate(PnSpectrum::kSeries, numTerms, centryj2000(ds50To), n);
  pn = mulMat(n, p);
}

void rotdate2j2k(PnSpectrum spectr, int numTerms, double ds50, const Vec3& pos, const Vec3& vel, Vec3& posJ2k,
                 Vec3& velJ2k) {
  Mat3 pn;
  getpnmatrix(spectr, numTerms, centryj2000(ds50), pn);
  posJ2k = mulMatTVec(pn, pos);
  velJ2k = mulMatTVec(pn, vel);
  if (spectr == PnSpectrum::kLinearised) {
    posJ2k = renorm(posJ2k, pos);
    velJ2k = renorm(velJ2k, vel);
  }
}

void rotj2k2date(PnSpectrum spectr, int numTerms, double ds50, const Vec3& posJ2k, const Vec3& velJ2k,
                 Vec3& pos, Vec3& vel, Mat3* pnOut) {
  pos = {0.0, 0.0, 0.0};
  vel = {0.0, 0.0, 0.0};
  Mat3 pn;
  getpnmatrix(spectr, numTerms, centryj2000(ds50), pn);
  pos = mulMatVec(pn, posJ2k);
  vel = mulMatVec(pn, velJ2k);
  if (spectr == PnSpectrum::kLinearised) {
    pos = renorm(pos, posJ2k);
    vel = renorm(vel, velJ2k);
  }
  if (pnOut) *pnOut = pn;
}

void rotateteme(int numTerms, double ds50Epoch, double ds50, const Vec3& pos, const Vec3& vel, Vec3& posOut,
                Vec3& velOut) {
  Vec3 posJ2k, velJ2k;
  rotdate2j2k(PnSpectrum::kSeries, numTerms, ds50Epoch, pos, vel, posJ2k, velJ2k);
  rotj2k2date(PnSpectrum::kSeries, numTerms, ds50, posJ2k, velJ2k, posOut, velOut);
}

void rotradec_date2eqnx(int numTerms, EquinoxYear yrOfEqnx, double ds50, double ra, double dec, double& raOut,
                        double& decOut) {
  const Vec3 u = unitFromRaDec(ra, dec), zero{0.0, 0.0, 0.0};
  Vec3 v, dummy;
  rotdate2j2k(PnSpectrum::kSeries, numTerms, ds50, u, zero, v, dummy);
  if (yrOfEqnx != EquinoxYear::kJ2000) {
    Mat3 p;
    getpnmatrix(PnSpectrum::kPrecessionOnly, numTerms, centryj2000(equinoxEpoch(yrOfEqnx, ds50)), p);
    v = mulMatVec(p, v);
  }
  computeradec(v, raOut, decOut);
}

void rotradec_eqnx2date(int numTerms, EquinoxYear yrOfEqnx, double ds50, double ra, double dec, double& raOut,
                        double& decOut) {
  Vec3 u = unitFromRaDec(ra, dec);
  if (yrOfEqnx != EquinoxYear::kJ2000) {
    Mat3 p;
    getpnmatrix(PnSpectrum::kPrecessionOnly, numTerms, centryj2000(equinoxEpoch(yrOfEqnx, ds50)), p);
    u = mulMatTVec(p, u);
  }
  const Vec3 zero{0.0, 0.0, 0.0};
  Vec3 v, dummy;
  rotj2k2date(PnSpectrum::kSeries, numTerms, ds50, u, zero, v, dummy);
  computeradec(v, raOut, decOut);
}

void rotobs(int numTerms, TrueMeanDirection direction, double ds50a, double ra, double dec, double ds50b,
            double& raOut, double& decOut) {
  Mat3 p, n;
  const Vec3 u = unitFromRaDec(ra, dec);
  Vec3 v;
  if (direction == TrueMeanDirection::kTrueToMean) {
    // True of date at ds50a -> mean equinox of ds50b.
    precfull(centryj2000(ds50b), (ds50a - ds50b) / 36525.0, p);
    nutate(PnSpectrum::kSeries, numTerms, centryj2000(ds50a), n);
    v = mulMatTVec(mulMat(n, p), u);
  } else {
    // Mean equinox of ds50a -> true of date at ds50b.
    precfull(centryj2000(ds50a), (ds50b - ds50a) / 36525.0, p);
    nutate(PnSpectrum::kSeries, numTerms, centryj2000(ds50b), n);
    v = mulMatVec(mulMat(n, p), u);
  }
  computeradec(v, raOut, decOut);
}

}  // namespace pelmath
