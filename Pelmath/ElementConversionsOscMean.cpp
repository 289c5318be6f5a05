// Osculating to mean Keplerian elements: Brouwer's first-order theory in Lyddane's non-singular
// form (J2, J3, J4 with fixed constants in Earth radii). Canonical units: er, rad.
#include <cmath>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/Vectors.h"

namespace pelmath {

namespace {

constexpr double kJ2Half = 0.000541308;            // J2/2
constexpr double kJ4Term = 6.209887499999999e-07;  // -3/8 J4
constexpr double kJ3Term = 0.0004036199354156968;  // J3 short-period term
constexpr double kJ3Ratio = 0.004690139440023056;  // -2 J3/J2 (long-period e and i terms)
constexpr double kAitkenTol = 1e-12;
constexpr int kAitkenMaxIter = 20;

// E - e sin E = M by fixed-point iteration with Aitken's acceleration.
double aitkenKepler(double e, double m) {
  double e0 = m;
  for (int it = 0; it < kAitkenMaxIter; ++it) {
    const double s1 = e * std::sin(e0) + m;
    if (std::fabs(s1 - e0) < kAitkenTol) return s1;
    const double s2 = e * std::sin(s1) + m;
    if (std::fabs(s2 - s1) < kAitkenTol) return s2;
    const double den = 2.0 * s1 - s2 - e0;
    e0 = den != 0.0 ? s2 + (s2 - s1) * (s2 - s1) / den : s2;
  }
  return e0;
}

struct SinCos {
  double s, c;
};
inline SinCos sc(double x) { return {std::sin(x), std::cos(x)}; }
// sin/cos of x + y from those of x and y.
inline SinCos add(SinCos x, SinCos y) { return {x.s * y.c + x.c * y.s, x.c * y.c - x.s * y.s}; }

// Stages 1-4: shape terms of e and i, the gravity ratios and the long-period coefficients.
struct Coefficients {
  double th, th2, x5, b2, b, b3, ci, si, a1, q, s2, g, x9, e2;
  double gm2, gm4, e1, ee2, t1, t3, t4, t5, t6, t7, t8, t9, t10;
};

Coefficients coefficients(double a, double e, double incl) {
  Coefficients k;
  // 1. Shape terms.
  k.th = std::cos(incl);
  k.th2 = k.th * k.th;
  const double th = k.th, th2 = k.th2;
  k.x5 = 1.0 - 5.0 * th2;
  const double s5 = basalon::serexp(k.x5);
  k.b2 = 1.0 - e * e;
  k.b = std::sqrt(k.b2);
  k.b3 = k.b2 * k.b;
  const double b2 = k.b2, b4 = b2 * b2;
  k.ci = std::sqrt(0.5 + 0.5 * th);
  k.si = std::sqrt(1.0 - th2);
  const double si = k.si;
  k.a1 = 3.0 * th2 - 1.0;
  k.q = th2 * th2 * s5;
  const double q = k.q;
  k.s2 = 1.0 - th2;
  k.g = 1.0 / (1.0 + k.b) + k.b;
  k.x9 = 1.0 - 9.0 * th2;
  k.e2 = e * e;
  const double e2 = k.e2;

  // 2.-4. Gravity ratios and the long-period coefficients.
  const double a2b4 = a * a * b4;
  k.gm2 = kJ2Half / a2b4;
  const double gm2 = k.gm2;
  k.gm4 = (10.0 / 3.0) * (kJ4Term / (a2b4 * a2b4)) / gm2;
  const double gm4 = k.gm4;
  const double gm3 = kJ3Term / (a * a * a * b2 * b4);
  k.e1 = 0.125 * ((1.0 - 11.0 * th2 - 40.0 * q) * gm2 - (1.0 - 3.0 * th2 - 8.0 * q) * gm4);
  const double f1 = (8.0 * th2 + 20.0 * q) * s5 + 1.0;
  const double f2 = 2.0 * f1 + 1.0;
  k.ee2 = 0.125 * th * e2 * ((10.0 * f1 + 1.0) * gm2 - f2 * gm4);
  k.t1 = 0.46875 * f2 * e * th * si * (3.0 * e2 + 4.0) * gm3;
  const double t2 = (k.x9 - 24.0 * q) * gm3;
  k.t3 = 0.25 * (0.3125 * (3.0 * e2 + 4.0) * t2 + kJ3Ratio / (a * b2));
  k.t4 = 0.15625 * e * si * t2;
  k.t5 = 0.030381944 * e * gm3 * (k.x5 - 16.0 * q);
  k.t6 = 0.060763889 * (4.0 * f1 + 1.0) * gm3 * e2 * e * th * si;
  k.t7 = b2 * e * k.e1;
  k.t8 = 25.0 * s5 * e2 * q * th2;
  k.t9 = si * b2 * k.t3;
  k.t10 = -3.0 * e * si * b2 * k.t5;
  return k;
}

// Stages 5-6: the anomalies and the angle combinations of the short-period terms.
struct Angles {
  SinCos nu, w1, w2, w3, c1, c2, c3;  // nu, w, 2w, 3w, nu + 2w, 2nu + 2w, 3nu + 2w
  double r1, p1, p2, p3, lnu;
};

Angles angles(double e, double m, double argp, const Coefficients& k) {
  Angles an;
  const double ecc = aitkenKepler(e, m);
  const SinCos sE = sc(ecc);
  const double dd = 1.0 - e * sE.c;
  an.nu = SinCos{k.b * sE.s / dd, (sE.c - e) / dd};
  const double nu = basalon::fmod2p(std::atan2(an.nu.s, an.nu.c));
  const double mRed = basalon::fmod2p(m);
  an.w1 = sc(argp);
  an.w2 = add(an.w1, an.w1);
  an.w3 = add(an.w2, an.w1);
  an.c1 = add(an.nu, an.w2);
  an.c2 = add(an.nu, an.c1);
  an.c3 = add(an.nu, an.c2);
  const double eCosNu = e * an.nu.c;
  an.r1 = 1.0 + eCosNu;
  an.p1 = ((eCosNu + 3.0) * eCosNu + 3.0) * an.nu.c;
  an.p2 = 3.0 * an.c2.s + 3.0 * e * an.c1.s + e * an.c3.s;
  an.p3 = (an.r1 + 1.0) * an.r1 / k.b2;
  an.lnu = 6.0 * (nu - mRed + e * an.nu.s);
  return an;
}

// Stages 7-11: corrections to a, e, i, node and mean anomaly.
struct Corrections {
  double da, de, di, dnode, dm1, edm;
};

Corrections corrections(double e, const Coefficients& k, const Angles& an) {
  const double th = k.th, si = k.si, b2 = k.b2, b3 = k.b3, gm2 = k.gm2;
  const SinCos &w1 = an.w1, &w2 = an.w2, &w3 = an.w3, &c1 = an.c1, &c2 = an.c2, &c3 = an.c3;
  Corrections c;
  const double r13 = an.r1 * an.r1 * an.r1;
  c.da = (3.0 * k.s2 * r13 * c2.c + (r13 - b3) * k.a1) * gm2 / b2;
  const double u = k.t9 * w1.s + k.t7 * w2.c + k.t10 * w3.s;
  c.de =
      u + 0.5 * gm2 *
              ((k.g * e + an.p1) * k.a1 + 3.0 * k.s2 * (an.p1 + e) * c2.c - k.s2 * b2 * (c3.c + 3.0 * c1.c));
  // u/(si b2) tends to t3 sin w - 3 e t5 sin 3w on an equatorial orbit (e1 vanishes there).
  const double uOverSi = si != 0.0 ? u / (si * b2) : k.t3 * w1.s - 3.0 * e * k.t5 * w3.s;
  c.di = 0.5 * k.ci * (0.5 * gm2 * th * si * (3.0 * e * c1.c + 3.0 * c2.c + e * c3.c) - e * th * uOverSi);
  c.dnode = (0.5 / k.ci) * (-si * k.ee2 * w2.s - 0.5 * gm2 * th * si * (an.lnu - an.p2) +
                            (e * th * k.t3 + si * k.t1) * w1.c - (th * k.e2 * k.t5 + si * k.t6) * w3.c);
  c.dm1 = 0.25 * gm2 * b3 *
          (3.0 * k.s2 * (c1.s * (1.0 - an.p3) + (an.p3 + 1.0 / 3.0) * c3.s) +
           2.0 * k.a1 * an.nu.s * (an.p3 + 1.0));
  c.edm = k.b * (k.t7 * w2.s - w1.c * (3.0 * e * b2 * k.t4 + k.t9) - k.t10 * w3.c) - c.dm1;
  return c;
}

// Stage 13: the correction to the mean longitude.
double longitudeCorrection(double e, const Coefficients& k, const Angles& an, const Corrections& c) {
  const double th = k.th, th2 = k.th2, si = k.si, b3 = k.b3, gm2 = k.gm2, gm4 = k.gm4, e2 = k.e2, q = k.q;
  const double x5 = k.x5, x9 = k.x9, g = k.g;
  const double t1 = k.t1, t3 = k.t3, t4 = k.t4, t5 = k.t5, t6 = k.t6, t8 = k.t8;
  return c.dm1 * e * (g - 1.0) / b3 -
         0.25 * gm2 * (an.lnu * (x5 + 2.0 * th) - an.p2 * (x5 + 2.0 * th + 2.0)) +
         (t8 * (gm2 - 0.2 * gm4) + (b3 - 1.0) * k.e1 - k.ee2 -
          (e2 / 16.0) * ((1.0 - 33.0 * th2 - 200.0 * q) * gm2 - gm4 * (x9 - 40.0 * q))) *
             an.w2.s +
         (t3 * (th / (1.0 + th) + g) * e * si + (3.0 * e2 + 11.0 - 3.0 * b3) * t4 + t1 * (1.0 - th)) *
             an.w1.c +
         (t5 * (3.0 * b3 - 3.0 - 2.0 * e2 - th * e2 / (1.0 + th)) * si - t6 * (1.0 - th)) * an.w3.c;
}

}  // namespace

Elset keposc2mean(const Elset& osc) {
  const double a = osc[0], e = osc[1], incl = osc[2], m = osc[3], node = osc[4], argp = osc[5];
  const Coefficients k = coefficients(a, e, incl);
  const Angles an = angles(e, m, argp, k);
  const Corrections c = corrections(e, k, an);

  // 12. Non-singular combinations.
  const SinCos mSC = sc(m), oSC = sc(node);
  const double eC = e * mSC.c - (c.de * mSC.c - c.edm * mSC.s);
  const double eS = e * mSC.s - (c.de * mSC.s + c.edm * mSC.c);
  const double sh = std::sin(0.5 * incl);
  const double hS = sh * oSC.s - (c.di * oSC.s + c.dnode * oSC.c);
  const double hC = sh * oSC.c - (c.di * oSC.c - c.dnode * oSC.s);
  const double lam = longitudeCorrection(e, k, an, c);

  // 14. Mean elements.
  Elset mean{};
  mean[0] = a * (1.0 - c.da);
  mean[1] = std::sqrt(eS * eS + eC * eC);
  mean[2] = 2.0 * std::asin(std::sqrt(hS * hS + hC * hC));
  mean[3] = std::atan2(eS, eC);
  if (mean[3] < 0.0) mean[3] += kTwoPi;
  mean[4] = std::atan2(hS, hC);
  if (mean[4] < 0.0) mean[4] += kTwoPi;
  const double lam0 = basalon::fmod2p(node + m + argp);
  mean[5] = basalon::fmod2p(lam0 - lam - mean[3] - mean[4]);
  return mean;
}

}  // namespace pelmath
