// Deep-space part of the model (SDP4): lunar and solar perturbation coefficients at epoch, their
// secular rates and periodic terms, and the 12-hour and 24-hour geopotential resonances with
// their fixed-step (720 min) numerical integration.
#include <cmath>

#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Math.h"
#include "Siblings/Kinetra/Sgp4Stages.h"

namespace kinetra {
namespace {

using detail::addAngle;
using detail::fmodTwoPi;
using detail::kSmallAngle;

using basalon::kPi;
using basalon::kTwoPi;

constexpr double kTwoThirds = 2.0 / 3.0;
constexpr double kEarthRate = 4.37526908801129966e-3;  // Earth rotation, rad/min

// Columns of a lunar-solar row: periodic coefficients of e, i, L, (omega + cos i * node), node,
// and the body's mean anomaly at epoch.
enum LsCol : int {
  kE2,
  kE3,
  kI2,
  kI3,
  kL2,
  kL3,
  kL4,
  kGh2,
  kGh3,
  kGh4,
  kH2,
  kH3,
  kZmo,
  kSinZmo,
  kCosZmo,
  kLsCols
};
constexpr int kSun = 0, kMoon = 1;
constexpr double kBodyMeanMotion[2] = {1.19459e-5, 1.5835218e-4};  // rad/min
constexpr double kBodyEcc[2] = {0.01675, 0.05490};
constexpr double kBodyC1[2] = {2.9864797e-6, 4.7968065e-7};

// Resonance table: row 0 the lunar-solar secular rates and resonance set-up, row 1 the
// coefficients of the resonance (3 for 24 h, 10 for 12 h).
enum ResCol0 : int { kDedt, kDidt, kDmdt, kDnodt, kDomdt, kXfact, kXlamo, kResCols = 10 };
enum ResCol1 : int { kD2201, kD2211, kD3210, kD3222, kD4410, kD4422, kD5220, kD5232, kD5421, kD5433 };
enum ResCol1Sync : int { kDel1, kDel2, kDel3 };

// Terms of the disturbing function of one body, expanded about the satellite's orbit.
struct BodyTerms {
  double s1, s2, s3, s4, s5, s6, s7;
  double z1, z2, z3, z11, z12, z13, z21, z22, z23, z31, z32, z33;
};

// Orientation of the body's orbit relative to the satellite's (cosines and sines of the body's
// perigee argument g, inclination i and node h relative to the equator / satellite node).
struct BodyGeometry {
  double cosg, sing, cosi, sini, cosh, sinh, c1;
};

BodyTerms bodyTerms(const BodyGeometry& b, double cosim, double sinim, double cosomm, double sinomm,
                    double em, double nm) {
  const double emsq = em * em, betasq = 1.0 - emsq, rtemsq = std::sqrt(betasq);
  const double a1 = b.cosg * b.cosh + b.sing * b.cosi * b.sinh;
  const double a3 = -b.sing * b.cosh + b.cosg * b.cosi * b.sinh;
  const double a7 = -b.cosg * b.sinh + b.sing * b.cosi * b.cosh;
  const double a8 = b.sing * b.sini;
  const double a9 = b.sing * b.sinh + b.cosg * b.cosi * b.cosh;
  const double a10 = b.cosg * b.sini;
  const double a2 = cosim * a7 + sinim * a8;
  const double a4 = cosim * a9 + sinim * a10;
  const double a5 = -sinim * a7 + cosim * a8;
  const double a6 = -sinim * a9 + cosim * a10;
  const double x1 = a1 * cosomm + a2 * sinomm;
  const double x2 = a3 * cosomm + a4 * sinomm;
  const double x3 = -a1 * sinomm + a2 * cosomm;
  const double x4 = -a3 * sinomm + a4 * cosomm;
  const double x5 = a5 * sinomm, x6 = a6 * sinomm, x7 = a5 * cosomm, x8 = a6 * cosomm;
  BodyTerms t{};
  t.z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
  t.z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
  t.z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
  t.z1 = 3.0 * (a1 * a1 + a2 * a2) + t.z31 * emsq;
  t.z2 = 6.0 * (a1 * a3 + a2 * a4) + t.z32 * emsq;
  t.z3 = 3.0 * (a3 * a3 + a4 * a4) + t.z33 * emsq;
  t.z11 = -6.0 * a1 * a5 + emsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
  t.z12 = -6.0 * (a1 * a6 + a3 * a5) + emsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
  t.z13 = -6.0 * a3 * a6 + emsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
  t.z21 = 6.0 * a2 * a5 + emsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
  t.z22 = 6.0 * (a4 * a5 + a2 * a6) + emsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
  t.z23 = 6.0 * a4 * a6 + emsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
  t.z1 = t.z1 + t.z1 + betasq * t.z31;
  t.z2 = t.z2 + t.z2 + betasq * t.z32;
  t.z3 = t.z3 + t.z3 + betasq * t.z33;
  t.s3 = b.c1 / nm;
  t.s2 = -0.5 * t.s3 / rtemsq;
  t.s4 = t.s3 * rtemsq;
  t.s1 = -15.0 * em * t.s4;
  t.s5 = x1 * x3 + x2 * x4;
  t.s6 = x2 * x3 + x1 * x4;
  t.s7 = x2 * x4 - x1 * x3;
  return t;
}

// Sets up the 12-hour resonance coefficients (row 1) from e, i, mean motion and a (er).
void halfDayResonance(double em, double cosim, double sinim, double nm, double aonv, Table2D& res) {
  const double emsq = em * em, eoc = em * emsq, cosisq = cosim * cosim;
  const double g201 = -0.306 - (em - 0.64) * 0.440;
  double g211, g310, g322, g410, g422, g520, g533, g521, g532;
  if (em <= 0.65) {
    g211 = 3.616 - 13.2470 * em + 16.2900 * emsq;
    g310 = -19.302 + 117.3900 * em - 228.4190 * emsq + 156.5910 * eoc;
    g322 = -18.9068 + 109.7927 * em - 214.6334 * emsq + 146.5816 * eoc;
    g410 = -41.122 + 242.6940 * em - 471.0940 * emsq + 313.9530 * eoc;
    g422 = -146.407 + 841.8800 * em - 1629.014 * emsq + 1083.4350 * eoc;
    g520 = -532.114 + 3017.977 * em - 5740.032 * emsq + 3708.2760 * eoc;
  } else {
    g211 = -72.099 + 331.819 * em - 508.738 * emsq + 266.724 * eoc;
    g310 = -346.844 + 1582.851 * em - 2415.925 * emsq + 1246.113 * eoc;
    g322 = -342.585 + 1554.908 * em - 2366.899 * emsq + 1215.972 * eoc;
    g410 = -1052.797 + 4758.686 * em - 7193.992 * emsq + 3651.957 * eoc;
    g422 = -3581.690 + 16178.110 * em - 24462.770 * emsq + 12422.520 * eoc;
    g520 = em > 0.715 ? -5149.66 + 29936.92 * em - 54087.36 * emsq + 31324.56 * eoc
                      : 1464.74 - 4664.75 * em + 3763.64 * emsq;
  }
  if (em < 0.7) {
    g533 = -919.22770 + 4988.6100 * em - 9064.7700 * emsq + 5542.21 * eoc;
    g521 = -822.71072 + 4568.6173 * em - 8491.4146 * emsq + 5337.524 * eoc;
    g532 = -853.66600 + 4690.2500 * em - 8624.7700 * emsq + 5341.4 * eoc;
  } else {
    g533 = -37995.780 + 161616.52 * em - 229838.20 * emsq + 109377.94 * eoc;
    g521 = -51752.104 + 218913.95 * em - 309468.16 * emsq + 146349.42 * eoc;
    g532 = -40023.880 + 170470.89 * em - 242699.48 * emsq + 115605.82 * eoc;
  }
  const double sini2 = sinim * sinim;
  const double f220 = 0.75 * (1.0 + 2.0 * cosim + cosisq);
  const double f221 = 1.5 * sini2;
  const double f321 = 1.875 * sinim * (1.0 - 2.0 * cosim - 3.0 * cosisq);
  const double f322 = -1.875 * sinim * (1.0 + 2.0 * cosim - 3.0 * cosisq);
  const double f441 = 35.0 * sini2 * f220;
  const double f442 = 39.3750 * sini2 * sini2;
  const double f522 =
      9.84375 * sinim *
      (sini2 * (1.0 - 2.0 * cosim - 5.0 * cosisq) + 0.33333333 * (-2.0 + 4.0 * cosim + 6.0 * cosisq));
  const double f523 = sinim * (4.92187512 * sini2 * (-2.0 - 4.0 * cosim + 10.0 * cosisq) +
                               6.56250012 * (1.0 + 2.0 * cosim - 3.0 * cosisq));
  const double f542 = 29.53125 * sinim * (2.0 - 8.0 * cosim + cosisq * (-12.0 + 8.0 * cosim + 10.0 * cosisq));
  const double f543 = 29.53125 * sinim * (-2.0 - 8.0 * cosim + cosisq * (12.0 + 8.0 * cosim - 10.0 * cosisq));
  // Resonance strengths (Earth-radius-normalised geopotential coefficients of degree 2 to 5).
  constexpr double root22 = 1.7891679e-6, root32 = 3.7393792e-7, root44 = 7.3636953e-9;
  constexpr double root52 = 1.1428639e-7, root54 = 2.1765803e-9;
  double temp1 = 3.0 * nm * nm * aonv * aonv;
  double temp = temp1 * root22;
  res.at(1, kD2201) = temp * f220 * g201;
  res.at(1, kD2211) = temp * f221 * g211;
  temp1 *= aonv;
  temp = temp1 * root32;
  res.at(1, kD3210) = temp * f321 * g310;
  res.at(1, kD3222) = temp * f322 * g322;
  temp1 *= aonv;
  temp = 2.0 * temp1 * root44;
  res.at(1, kD4410) = temp * f441 * g410;
  res.at(1, kD4422) = temp * f442 * g422;
  temp1 *= aonv;
  temp = temp1 * root52;
  res.at(1, kD5220) = temp * f522 * g520;
  res.at(1, kD5232) = temp * f523 * g532;
  temp = 2.0 * temp1 * root54;
  res.at(1, kD5421) = temp * f542 * g521;
  res.at(1, kD5433) = temp * f543 * g533;
}

// Sets up the 24-hour (synchronous) resonance coefficients.
void synchronousResonance(double em, double cosim, double sinim, double nm, double aonv, Table2D& res) {
  constexpr double q22 = 1.7891679e-6, q31 = 2.1460748e-6, q33 = 2.2123015e-7;
  const double emsq = em * em;
  const double g200 = 1.0 + emsq * (-2.5 + 0.8125 * emsq);
  const double g310 = 1.0 + 2.0 * emsq;
  const double g300 = 1.0 + emsq * (-6.0 + 6.60937 * emsq);
  const double f220 = 0.75 * (1.0 + cosim) * (1.0 + cosim);
  const double f311 = 0.9375 * sinim * sinim * (1.0 + 3.0 * cosim) - 0.75 * (1.0 + cosim);
  double f330 = 1.0 + cosim;
  f330 = 1.875 * f330 * f330 * f330;
  double del1 = 3.0 * nm * nm * aonv * aonv;
  res.at(1, kDel2) = 2.0 * del1 * f220 * g200 * q22;
  res.at(1, kDel3) = 3.0 * del1 * f330 * g300 * q33 * aonv;
  res.at(1, kDel1) = del1 * f311 * g310 * q31 * aonv;
}

// Orientation of the lunar orbit at epoch and the Moon's mean-anomaly offset (days from 1900).
struct LunarOrbit {
  double zcosil = 0, zsinil = 0, zcoshl = 0, zsinhl = 0;
  double gam = 0;  // rad
  double zx = 0;   // lunar perigee argument from the ascending node on the equator, rad
};

// Lunar orbit at epoch: node, inclination and perigee relative to the equator.
LunarOrbit lunarOrbit(double day) {
  LunarOrbit m;
  const double xnodce = std::fmod(4.5236020 - 9.2422029e-4 * day, kTwoPi);
  const double stem = std::sin(xnodce), ctem = std::cos(xnodce);
  m.zcosil = 0.91375164 - 0.03568096 * ctem;
  m.zsinil = std::sqrt(1.0 - m.zcosil * m.zcosil);
  m.zsinhl = 0.089683511 * stem / m.zsinil;
  m.zcoshl = std::sqrt(1.0 - m.zsinhl * m.zsinhl);
  m.gam = 5.8351514 + 0.0019443680 * day;
  double zx = 0.39785416 * stem / m.zsinil;
  const double zy = m.zcoshl * ctem + 0.91744867 * m.zsinhl * stem;
  zx = std::atan2(zx, zy);
  m.zx = m.gam + zx - xnodce;
  return m;
}

// Periodic coefficients of one body's row and its contribution to the secular rates (de, di,
// dM, d(omega + cos i node) and dnode sums).
void bodyCoefficients(const Sgp4Record& c, int b, const BodyTerms& t, double emsq, Table2D& ls,
                      double rate[5]) {
  const double cosim = c.cosio, sinim = c.sinio;
  const double ze = kBodyEcc[b], zn = kBodyMeanMotion[b];
  ls.at(b, kE2) = 2.0 * t.s1 * t.s6;
  ls.at(b, kE3) = 2.0 * t.s1 * t.s7;
  ls.at(b, kI2) = 2.0 * t.s2 * t.z12;
  ls.at(b, kI3) = 2.0 * t.s2 * (t.z13 - t.z11);
  ls.at(b, kL2) = -2.0 * t.s3 * t.z2;
  ls.at(b, kL3) = -2.0 * t.s3 * (t.z3 - t.z1);
  ls.at(b, kL4) = -2.0 * t.s3 * (-21.0 - 9.0 * emsq) * ze;
  ls.at(b, kGh2) = 2.0 * t.s4 * t.z32;
  ls.at(b, kGh3) = 2.0 * t.s4 * (t.z33 - t.z31);
  ls.at(b, kGh4) = -18.0 * t.s4 * ze;
  ls.at(b, kH2) = -2.0 * t.s2 * t.z22;
  ls.at(b, kH3) = -2.0 * t.s2 * (t.z23 - t.z21);

  const bool nearEquatorial = c.inclo < 5.2359877e-2 || c.inclo > kPi - 5.2359877e-2;
  rate[0] += t.s1 * zn * t.s5;
  rate[1] += t.s2 * zn * (t.z11 + t.z13);
  rate[2] -= zn * t.s3 * (t.z1 + t.z3 - 14.0 - 6.0 * emsq);
  const double sgh = t.s4 * zn * (t.z31 + t.z33 - 6.0);
  double sh = -zn * t.s2 * (t.z21 + t.z23);
  if (nearEquatorial) sh = 0.0;
  if (b == kSun) {
    // The solar node rate is divided by sin i before it enters the perigee rate.
    if (sinim != 0.0) sh /= sinim;
    rate[3] += sgh - cosim * sh;
    rate[4] += sh;
  } else {
    rate[3] += sgh;
    if (sinim != 0.0) {
      rate[3] -= cosim / sinim * sh;
      rate[4] += sh / sinim;
    }
  }
}

// Lunar-solar periodic coefficients (both rows) and the secular rates (row 0 of res).
void lunarSolarTerms(const Sgp4Record& c, double eccsq, Sgp4DeepData& deep, double rate[5]) {
  Table2D& ls = deep.lunarSolar;
  const double em = c.ecco, nm = c.no;
  const double cosim = c.cosio, sinim = c.sinio;
  const double snodm = std::sin(c.nodeo), cnodm = std::cos(c.nodeo);
  const double sinomm = std::sin(c.argpo), cosomm = std::cos(c.argpo);
  const double day = c.epoch + 18261.5;  // days from 1900 January 0.5
  const LunarOrbit lo = lunarOrbit(day);

  // The Sun's orbit: ecliptic inclination and perigee fixed; node is the satellite's.
  const BodyGeometry sun{0.1945905, -0.98088458, 0.91744867, 0.39785416, cnodm, snodm, kBodyC1[kSun]};
  const BodyGeometry moon{std::cos(lo.zx),
                          std::sin(lo.zx),
                          lo.zcosil,
                          lo.zsinil,
                          lo.zcoshl * cnodm + lo.zsinhl * snodm,
                          snodm * lo.zcoshl - cnodm * lo.zsinhl,
                          kBodyC1[kMoon]};
  const BodyTerms bt[2] = {bodyTerms(sun, cosim, sinim, cosomm, sinomm, em, nm),
                           bodyTerms(moon, cosim, sinim, cosomm, sinomm, em, nm)};
  ls.at(kSun, kZmo) = std::fmod(6.2565837 + 0.017201977 * day, kTwoPi);
  ls.at(kMoon, kZmo) = std::fmod(4.7199672 + 0.22997150 * day - lo.gam, kTwoPi);
  for (int b = 0; b < 2; ++b) {
    ls.at(b, kSinZmo) = std::sin(ls.at(b, kZmo));
    ls.at(b, kCosZmo) = std::cos(ls.at(b, kZmo));
  }
  for (int b = 0; b < 2; ++b) bodyCoefficients(c, b, bt[b], eccsq, ls, rate);
  Table2D& res = deep.resonance;
  res.at(0, kDedt) = rate[0];
  res.at(0, kDidt) = rate[1];
  res.at(0, kDmdt) = rate[2];
  res.at(0, kDomdt) = rate[3];
  res.at(0, kDnodt) = rate[4];
}

// Geopotential resonance: 24 h (n between 0.0034906585 and 0.0052359877 rad/min) and 12 h
// (n between 8.26e-3 and 9.24e-3 rad/min with e >= 0.5).
Sgp4Resonance resonanceOf(double nm, double em) {
  Sgp4Resonance kind = Sgp4Resonance::kNone;
  if (nm < 0.0052359877 && nm > 0.0034906585) kind = Sgp4Resonance::kSynchronous;
  if (nm >= 8.26e-3 && nm <= 9.24e-3 && em >= 0.5) kind = Sgp4Resonance::kHalfDay;
  return kind;
}

// Resonance coefficients, the resonant mean longitude at epoch and its rate offset, and the
// integrator at epoch.
void resonanceTerms(const Sgp4Record& c, const double rate[5], Sgp4DeepData& deep) {
  Table2D& res = deep.resonance;
  const double em = c.ecco, nm = c.no, cosim = c.cosio, sinim = c.sinio;
  const double theta = std::fmod(c.gsto, kTwoPi);
  const double aonv = std::pow(nm / sgp4Ke(), kTwoThirds);
  if (deep.resonanceKind == Sgp4Resonance::kHalfDay) {
    halfDayResonance(em, cosim, sinim, nm, aonv, res);
    res.at(0, kXlamo) = std::fmod(c.mo + c.nodeo + c.nodeo - theta - theta, kTwoPi);
    res.at(0, kXfact) = c.mdot + rate[2] + 2.0 * (c.nodedot + rate[4] - kEarthRate) - nm;
  } else {
    synchronousResonance(em, cosim, sinim, nm, aonv, res);
    res.at(0, kXlamo) = std::fmod(c.mo + c.nodeo + c.argpo - theta, kTwoPi);
    res.at(0, kXfact) = c.mdot + c.xpidot - kEarthRate + rate[2] + rate[3] + rate[4] - nm;
  }
  deep.integrator = Sgp4Integrator{0.0, res.at(0, kXlamo), nm};
}

// Rates of mean motion (xndt), mean longitude (xldot) and of xndt (xnddt, before the factor
// xldot) of the 24-hour resonance at mean longitude xli.
void synchronousRates(const double* d, double xli, double& xndt, double& xnddt) {
  // Phases of the 24-hour resonance terms (rad): fasx2, 2 fasx4, 3 fasx6 as sines and cosines.
  static const double kSinFasx2 = std::sin(0.13130908), kCosFasx2 = std::cos(0.13130908);
  static const double kSin2Fasx4 = std::sin(2.0 * 2.8843198), kCos2Fasx4 = std::cos(2.0 * 2.8843198);
  static const double kSin3Fasx6 = std::sin(3.0 * 0.37448087), kCos3Fasx6 = std::cos(3.0 * 0.37448087);
  // Departure from the published model: the phased sines and cosines by addition formulas from xli.
  const double s1 = std::sin(xli), c1 = std::cos(xli);
  const double s2 = 2.0 * s1 * c1, c2 = c1 * c1 - s1 * s1;
  const double s3 = s2 * c1 + c2 * s1, c3 = c2 * c1 - s2 * s1;
  const double a1s = s1 * kCosFasx2 - c1 * kSinFasx2, a1c = c1 * kCosFasx2 + s1 * kSinFasx2;
  const double a2s = s2 * kCos2Fasx4 - c2 * kSin2Fasx4, a2c = c2 * kCos2Fasx4 + s2 * kSin2Fasx4;
  const double a3s = s3 * kCos3Fasx6 - c3 * kSin3Fasx6, a3c = c3 * kCos3Fasx6 + s3 * kSin3Fasx6;
  xndt = d[kDel1] * a1s + d[kDel2] * a2s + d[kDel3] * a3s;
  xnddt = d[kDel1] * a1c + 2.0 * d[kDel2] * a2c + 3.0 * d[kDel3] * a3c;
}

// The same for the 12-hour resonance, with the argument of perigee xomi at the step.
void halfDayRates(const double* d, double xli, double xomi, double& xndt, double& xnddt) {
  constexpr double g22 = 5.7686396, g32 = 0.95240898, g44 = 1.8014998, g52 = 1.0508330, g54 = 4.4108898;
  const double x2omi = xomi + xomi, x2li = xli + xli;
  xndt = d[kD2201] * std::sin(x2omi + xli - g22) + d[kD2211] * std::sin(xli - g22) +
         d[kD3210] * std::sin(xomi + xli - g32) + d[kD3222] * std::sin(-xomi + xli - g32) +
         d[kD4410] * std::sin(x2omi + x2li - g44) + d[kD4422] * std::sin(x2li - g44) +
         d[kD5220] * std::sin(xomi + xli - g52) + d[kD5232] * std::sin(-xomi + xli - g52) +
         d[kD5421] * std::sin(xomi + x2li - g54) + d[kD5433] * std::sin(-xomi + x2li - g54);
  xnddt = d[kD2201] * std::cos(x2omi + xli - g22) + d[kD2211] * std::cos(xli - g22) +
          d[kD3210] * std::cos(xomi + xli - g32) + d[kD3222] * std::cos(-xomi + xli - g32) +
          d[kD5220] * std::cos(xomi + xli - g52) + d[kD5232] * std::cos(-xomi + xli - g52) +
          2.0 * (d[kD4410] * std::cos(x2omi + x2li - g44) + d[kD4422] * std::cos(x2li - g44) +
                 d[kD5421] * std::cos(xomi + x2li - g54) + d[kD5433] * std::cos(-xomi + x2li - g54));
}

// Where the resonance integration ends: the last step before t, the rates there and the rest ft.
struct ResonanceStep {
  double xli = 0, xni = 0;  // mean longitude (rad) and mean motion (rad/min) at the step
  double xndt = 0, xldot = 0, xnddt = 0;
  double ft = 0;  // minutes from the step to t
};

constexpr double kStep = 720.0, kStep2 = 259200.0;  // integrator step (min) and step^2 / 2

// Rates of the resonance (xndt, and xnddt before its factor xldot) at a step: from the steps
// kept near epoch when the step is one of them, else computed.
void resonanceRates(const Sgp4Record& c, const Sgp4DeepData& deep, double atime, double xli, double xni,
                    double& xndt, double& xnddt) {
  if (std::fabs(atime) <= kSgp4NearSteps * kStep) {
    const Sgp4ResonanceStep& s = deep.nearSteps[static_cast<size_t>(kSgp4NearSteps + atime / kStep)];
    if (s.xli == xli && s.xni == xni) {
      xndt = s.xndt;
      xnddt = s.xnddt;
      return;
    }
  }
  const double* d = &deep.resonance.v[static_cast<size_t>(deep.resonance.cols)];
  if (deep.resonanceKind != Sgp4Resonance::kHalfDay) {
    synchronousRates(d, xli, xndt, xnddt);
  } else {
    halfDayRates(d, xli, c.argpo + c.argpdot * atime, xndt, xnddt);
  }
}

// One step of delt minutes from the rates r at the step.
void advance(const ResonanceStep& r, double delt, double& xli, double& xni) {
  xli += r.xldot * delt + r.xndt * kStep2;
  xni += r.xndt * delt + r.xnddt * kStep2;
}

// Fixed-step (720 min) integration of the resonance from the integrator's last step (or from
// epoch) to the last step before t; integ is advanced to that step.
ResonanceStep integrateResonance(const Sgp4Record& c, const Sgp4DeepData& deep, double t,
                                 Sgp4Integrator& integ) {
  const Table2D& res = deep.resonance;
  const double no = c.no, xfact = res.at(0, kXfact);
  double atime = integ.atime, xli = integ.xli, xni = integ.xni;
  // Restart from epoch when the request lies on the other side of it or before the last step.
  if (atime == 0.0 || t * atime <= 0.0 || std::fabs(t) < std::fabs(atime)) {
    atime = 0.0;
    xni = no;
    xli = res.at(0, kXlamo);
  }
  const double delt = t > 0.0 ? kStep : -kStep;
  ResonanceStep r;
  for (;;) {
    // Rates of mean motion and mean longitude at the current step.
    resonanceRates(c, deep, atime, xli, xni, r.xndt, r.xnddt);
    r.xldot = xni + xfact;
    r.xnddt *= r.xldot;
    if (std::fabs(t - atime) < kStep) {
      r.ft = t - atime;
      break;
    }
    advance(r, delt, xli, xni);
    atime += delt;
  }
  integ = Sgp4Integrator{atime, xli, xni};
  r.xli = xli;
  r.xni = xni;
  return r;
}

// The integrator's steps near epoch, walked from epoch each way as integrateResonance walks.
void nearEpochSteps(const Sgp4Record& c, Sgp4DeepData& deep) {
  const Table2D& res = deep.resonance;
  const double xfact = res.at(0, kXfact);
  deep.nearSteps.fill(Sgp4ResonanceStep{});
  for (const double delt : {kStep, -kStep}) {
    double xli = res.at(0, kXlamo), xni = c.no;
    for (int k = 0; k <= kSgp4NearSteps; ++k) {
      const double atime = k * delt;
      ResonanceStep r;
      Sgp4ResonanceStep& s = deep.nearSteps[static_cast<size_t>(kSgp4NearSteps + (delt > 0.0 ? k : -k))];
      s.xli = xli;
      s.xni = xni;
      const double* d = &res.v[static_cast<size_t>(res.cols)];
      if (deep.resonanceKind != Sgp4Resonance::kHalfDay) {
        synchronousRates(d, xli, s.xndt, s.xnddt);
      } else {
        halfDayRates(d, xli, c.argpo + c.argpdot * atime, s.xndt, s.xnddt);
      }
      r.xndt = s.xndt;
      r.xldot = xni + xfact;
      r.xnddt = s.xnddt * r.xldot;
      advance(r, delt, xli, xni);
    }
  }
}

}  // namespace

namespace detail {

void initDeepSpace(const Sgp4Record& c, double eccsq, Sgp4DeepData& deep) {
  deep.lunarSolar.resize(2, kLsCols);
  deep.resonance.resize(2, kResCols);
  deep.integrator = Sgp4Integrator{};
  double rate[5] = {0, 0, 0, 0, 0};  // de, di, dM, d(omega + cos i node) and dnode sums
  lunarSolarTerms(c, eccsq, deep, rate);
  deep.resonanceKind = resonanceOf(c.no, c.ecco);
  if (deep.resonanceKind == Sgp4Resonance::kNone) return;
  resonanceTerms(c, rate, deep);
  nearEpochSteps(c, deep);
}

MeanElements deepSecular(const Sgp4Record& c, const Sgp4DeepData& deep, double t, MeanElements m,
                         Sgp4Integrator& integ) {
  const Table2D& res = deep.resonance;
  m.em += res.at(0, kDedt) * t;
  m.inclm += res.at(0, kDidt) * t;
  m.argpm += res.at(0, kDomdt) * t;
  m.nodem += res.at(0, kDnodt) * t;
  m.mm += res.at(0, kDmdt) * t;
  if (deep.resonanceKind == Sgp4Resonance::kNone) return m;

  const ResonanceStep r = integrateResonance(c, deep, t, integ);
  const double no = c.no, ft = r.ft;
  const double nmInt = r.xni + r.xndt * ft + r.xnddt * ft * ft * 0.5;
  m.nm = no + (nmInt - no);
  const double xl = r.xli + r.xldot * ft + r.xndt * ft * ft * 0.5;
  const double theta = fmodTwoPi(c.gsto + t * kEarthRate);
  if (deep.resonanceKind != Sgp4Resonance::kSynchronous)
    m.mm = xl - 2.0 * m.nodem + 2.0 * theta;
  else
    m.mm = xl - m.nodem - m.argpm + theta;
  return m;
}

// Low inclinations (below 0.2 rad) use Lyddane's form, which stays regular at zero inclination.
PeriodicElements lunarSolarPeriodics(const Sgp4DeepData& deep, double t, PeriodicElements p) {
  const Table2D& ls = deep.lunarSolar;
  double pe = 0, pinc = 0, pl = 0, pgh = 0, ph = 0;
  for (int b = 0; b < 2; ++b) {
    const double* k = &ls.v[static_cast<size_t>(b * ls.cols)];
    // Mean anomaly of the body at t, then its true anomaly to first order in its eccentricity:
    // zf = zm + 2 e sin zm.
    // Departure from the published model: zm turned from epoch (small steps), zf turned from zm.
    const double dzm = kBodyMeanMotion[b] * t;
    double sinzm, coszm;
    if (std::fabs(dzm) < kSmallAngle) {
      addAngle(k[kSinZmo], k[kCosZmo], dzm, sinzm, coszm);
    } else {
      const double zm = k[kZmo] + dzm;
      sinzm = std::sin(zm);
      coszm = std::cos(zm);
    }
    double sinzf, coszf;
    addAngle(sinzm, coszm, 2.0 * kBodyEcc[b] * sinzm, sinzf, coszf);
    const double f2 = 0.5 * sinzf * sinzf - 0.25;
    const double f3 = -0.5 * sinzf * coszf;
    pe += k[kE2] * f2 + k[kE3] * f3;
    pinc += k[kI2] * f2 + k[kI3] * f3;
    pl += k[kL2] * f2 + k[kL3] * f3 + k[kL4] * sinzf;
    pgh += k[kGh2] * f2 + k[kGh3] * f3 + k[kGh4] * sinzf;
    ph += k[kH2] * f2 + k[kH3] * f3;
  }
  p.xincp += pinc;
  p.ep += pe;
  p.sinip = std::sin(p.xincp);
  p.cosip = std::cos(p.xincp);
  if (p.xincp >= 0.2) {
    ph /= p.sinip;
    pgh -= p.cosip * ph;
    p.argpp += pgh;
    p.nodep += ph;
    p.mp += pl;
    return p;
  }
  // Lyddane: perturb the node through the components of the orbit pole.
  const double sinip = p.sinip, cosip = p.cosip;
  const double sinop = std::sin(p.nodep), cosop = std::cos(p.nodep);
  double alfdp = sinip * sinop, betdp = sinip * cosop;
  alfdp += ph * cosop + pinc * cosip * sinop;
  betdp += -ph * sinop + pinc * cosip * cosop;
  // Departure from the published model: the node reduced without fmod.
  double nodep = fmodTwoPi(p.nodep);
  double xls = p.mp + p.argpp + cosip * nodep;
  xls += pl + pgh - pinc * nodep * sinip;
  const double xnoh = nodep;
  nodep = std::atan2(alfdp, betdp);
  // Departure from the published model: the new node's sine and cosine kept from the pole components.
  const double h = std::sqrt(alfdp * alfdp + betdp * betdp);
  if (h > 0.0) p.nodeTrig = NodeTrig{alfdp / h, betdp / h, true};
  if (std::fabs(xnoh - nodep) > kPi) nodep += nodep < xnoh ? kTwoPi : -kTwoPi;
  p.nodep = nodep;
  p.mp += pl;
  p.argpp = xls - p.mp - cosip * nodep;
  return p;
}

}  // namespace detail
}  // namespace kinetra
