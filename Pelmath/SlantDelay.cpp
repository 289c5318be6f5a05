// UNB3m tropospheric delay: zenith hydrostatic and wet delays from the climatological tables,
// mapped to the elevation of the ray by the Niell continued fractions, with elevation derivatives.
#include "Pelmath/SlantDelay.h"

#include <cmath>

#include "Pelmath/Units.h"

namespace pelmath {

namespace {

constexpr double kYearRate = 0.017202423838958487;        // 2pi/365.25, rad/day
constexpr double kSouthernDayShift = 182.625;             // half a year, days
constexpr double kGOverRd = 0.03416308429772796;          // g/Rd, K/m
constexpr double kRd = 287.0537625498888;                 // dry-air gas constant, J/(kg K)
constexpr double kGeocentricFactor = 0.9933056200098587;  // (1-f)^2: tan(geocentric) / tan(geodetic)
constexpr double kK2Prime = 16.522071757053496;           // refractivity constant k2', K/mbar
constexpr double kK3 = 377600.0;                          // refractivity constant k3, K^2/mbar
constexpr double kHeightCorrNorm = 1.0000251620178218;    // continued fraction of the height terms at zenith

// Climatology at one site and day: the meteorological parameters and both mapping coefficient sets.
struct Climate {
  double p0, t0, rh, beta, lambda;  // mbar, K, %, K/m, -
  double ha, hb, hc;                // hydrostatic mapping coefficients
  double wa, wb, wc;                // wet mapping coefficients
};

// Interpolation between the table rows of |latitude|: lower row index and weight of the upper row.
struct RowWeight {
  int row;
  double w;
};

// A NaN latitude takes the first row (its results are NaN through the other terms): the row index
// is never formed from a NaN.
RowWeight rowweight(double absLatDeg) {
  if (absLatDeg >= 75.0) return {4, 0.0};
  if (!(absLatDeg > 15.0)) return {0, 0.0};
  const int row = static_cast<int>((absLatDeg - 15.0) / 15.0);
  return {row, (absLatDeg - (15.0 + 15.0 * row)) / 15.0};
}

template <typename Table>
double interp(const Table& t, RowWeight rw, int col) {
  const double lo = t[rw.row][col];
  return rw.w == 0.0 ? lo : lo + (t[rw.row + 1][col] - lo) * rw.w;
}

Climate climate(double lat, double doy) {
  if (lat < 0.0) doy += kSouthernDayShift;
  const double s = std::cos((doy - 28.0) * kYearRate);
  const RowWeight rw = rowweight(std::fabs(lat) * kRadToDeg);
  auto met = [&](int col) { return interp(kUnb3mMetAvg, rw, col) - interp(kUnb3mMetAmp, rw, col) * s; };
  auto hyd = [&](int col) { return interp(kNiellHydAvg, rw, col) - interp(kNiellHydAmp, rw, col) * s; };
  return {met(1),
          met(2),
          met(3),
          met(4) / 1000.0,
          met(5),
          hyd(1),
          hyd(2),
          hyd(3),
          interp(kNiellWet, rw, 1),
          interp(kNiellWet, rw, 2),
          interp(kNiellWet, rw, 3)};
}

// Zenith hydrostatic and wet delays (m) at height h (m).
void zenithdelays(double lat, double h, const Climate& c, double& hzd, double& wzd) {
  // Water-vapour pressure at sea level (mbar) from the saturation pressure and enhancement factor.
  const double t0 = c.t0;
  const double es = std::exp(1.2378847e-05 * t0 * t0 - 0.019121316 * t0 + 33.93711047 - 6343.1645 / t0);
  const double fw = 1.00062 + 3.14e-06 * c.p0 + 5.6e-07 * (t0 - 273.15) * (t0 - 273.15);
  const double e0 = c.rh / 100.0 * es * 0.01 * fw;

  const double t = t0 - c.beta * h;
  const double ratio = t / t0;
  const double p = c.p0 * std::pow(ratio, kGOverRd / c.beta);

  const double phic = std::atan(kGeocentricFactor * std::tan(lat));
  const double gravFactor = 1.0 - 0.00266 * std::cos(2.0 * phic) - 2.8e-07 * h;
  const double gm = 9.784 * gravFactor;
  const double lambdaP = c.lambda + 1.0;

  hzd = 0.0022768 * p / gravFactor;
  const double rdOverLg = kRd / (lambdaP * gm);
  wzd = 1e-06 * (kK2Prime + kK3 / (t * (1.0 - c.beta * rdOverLg))) * rdOverLg * e0 *
        std::pow(ratio, kGOverRd * lambdaP / c.beta);
}

// Continued fraction num / (sin E + a/(sin E + b/(sin E + c))) and its derivative with respect to E.
struct Fraction {
  double m, dm;
};

Fraction fraction(double num, double sinE, double cosE, double a, double b, double c) {
  const double cc = sinE + c;
  const double bb = sinE + b / cc;
  const double den = sinE + a / bb;
  const double dden = cosE * (1.0 - a / (bb * bb) * (1.0 - b / (cc * cc)));
  return {num / den, -num * dden / (den * den)};
}

// Niell mapping function, normalised to 1 at the zenith.
Fraction niell(double sinE, double cosE, double a, double b, double c) {
  return fraction(1.0 + a / (1.0 + b / (1.0 + c)), sinE, cosE, a, b, c);
}

// Hydrostatic height correction (1/sin E - f_ht(E)) * H_km and its derivative.
Fraction heightcorr(double sinE, double cosE, double h) {
  const Fraction f =
      fraction(kHeightCorrNorm, sinE, cosE, kNiellHeightCorr[0], kNiellHeightCorr[1], kNiellHeightCorr[2]);
  const double hKm = h / 1000.0;
  return {(1.0 / sinE - f.m) * hKm, (-cosE / (sinE * sinE) - f.dm) * hKm};
}

struct Mapping {
  Fraction hyd, wet;
};

Mapping mappings(double h, double elev, const Climate& c) {
  const double sinE = std::sin(elev), cosE = std::cos(elev);
  Fraction hyd = niell(sinE, cosE, c.ha, c.hb, c.hc);
  const Fraction corr = heightcorr(sinE, cosE, h);
  hyd.m += corr.m;
  hyd.dm += corr.dm;
  return {hyd, niell(sinE, cosE, c.wa, c.wb, c.wc)};
}

}  // namespace

Unb3mDelay unb3m(double lat, double heightM, double doy, double elev) {
  const Climate c = climate(lat, doy);
  Unb3mDelay d;
  zenithdelays(lat, heightM, c, d.hzd, d.wzd);
  const Mapping m = mappings(heightM, elev, c);
  d.hmf = m.hyd.m;
  d.wmf = m.wet.m;
  d.slant = d.hzd * d.hmf + d.wzd * d.wmf;
  return d;
}

Unb3mRate unb3mr(double lat, double heightM, double doy, double elev) {
  const Climate c = climate(lat, doy);
  Unb3mRate r;
  zenithdelays(lat, heightM, c, r.hzd, r.wzd);
  const Mapping m = mappings(heightM, elev, c);
  r.dhmf = m.hyd.dm;
  r.dwmf = m.wet.dm;
  r.dslant = r.hzd * r.dhmf + r.wzd * r.dwmf;
  return r;
}

void slantdelayunb3(double lat, double heightM, double doy, double elev, double& delay, double& dDelay) {
  delay = unb3m(lat, heightM, doy, elev).slant;
  dDelay = unb3mr(lat, heightM, doy, elev).dslant;
}

}  // namespace pelmath
