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

}  // namespace

Elset keposc2mean(const Elset& osc) {
  const double a = osc[0], e = osc[1], incl = osc[2], m = osc[3], node = osc[4], argp = osc[5];

  // 1. Shape terms.
  const double th = std::cos(incl), th2 = th * th;
  const double x5 = 1.0 - 5.0 * th2;
  const double s5 = basalon::serexp(x5);
  const double b2 = 1.0 - e * e, b = std::sqrt(b2), b3 = b2 * b, b4 = b2 * b2;
  const double ci = std::sqrt(0.5 + 0.5 * th);
  const double si = std::sqrt(1.0 - th2);
  const double a1 = 3.0 * th2 - 1.0;
  const double q = th2 * th2 * s5;
  const double s2 = 1.0 - th2;
  const double g = 1.0 / (1.0 + b) + b;
  const double x9 = 1.0 - 9.0 * th2;
  const double e2 = e * e;

  // 2.-4. Gravity ratios and the long-period coefficients.
  const double a2b4 = a * a * b4;
  const double gm2 = kJ2Half / a2b4;
  const double gm4 = (10.0 / 3.0) * (kJ4Term / (a2b4 * a2b4)) / gm2;
  const double gm3 = kJ3Term / (a * a * a * b2 * b4);
  const double e1 = 0.125 * ((1.0 - 11.0 * th2 - 40.0 * q) * gm2 - (1.0 - 3.0 * th2 - 8.0 * q) * gm4);
  const double f1 = (8.0 * th2 + 20.0 * q) * s5 + 1.0;
  const double f2 = 2.0 * f1 + 1.0;
  const double ee2 = 0.125 * th * e2 * ((10.0 * f1 + 1.0) * gm2 - f2 * gm4);
  const double t1 = 0.46875 * f2 * e * th * si * (3.0 * e2 + 4.0) * gm3;
  const double t2 = (x9 - 24.0 * q) * gm3;
  const double t3 = 0.25 * (0.3125 * (3.0 * e2 + 4.0) * t2 + kJ3Ratio / (a * b2));
  const double t4 = 0.15625 * e * si * t2;
  const double t5 = 0.030381944 * e * gm3 * (x5 - 16.0 * q);
  const double t6 = 0.060763889 * (4.0 * f1 + 1.0) * gm3 * e2 * e * th * si;
  const double t7 = b2 * e * e1;
  const double t8 = 25.0 * s5 * e2 * q * th2;
  const double t9 = si * b2 * t3;
  const double t10 = -3.0 * e * si * b2 * t5;

  // 5.-6. Anomalies and the angle combinations of the short-period terms.
  const double ecc = aitkenKepler(e, m);
  const SinCos sE = sc(ecc);
  const double dd = 1.0 - e * sE.c;
  const SinCos nuSC{b * sE.s / dd, (sE.c - e) / dd};
  const double nu = basalon::fmod2p(std::atan2(nuSC.s, nuSC.c));
  const double mRed = basalon::fmod2p(m);
  const SinCos w1 = sc(argp);
  const SinCos w2 = add(w1, w1), w3 = add(w2, w1);
  const SinCos c1 = add(nuSC, w2);  // nu + 2w
  const SinCos c2 = add(nuSC, c1);  // 2nu + 2w
  const SinCos c3 = add(nuSC, c2);  // 3nu + 2w
  const double eCosNu = e * nuSC.c;
  const double r1 = 1.0 + eCosNu;
  const double p1 = ((eCosNu + 3.0) * eCosNu + 3.0) * nuSC.c;
  const double p2 = 3.0 * c2.s + 3.0 * e * c1.s + e * c3.s;
  const double p3 = (r1 + 1.0) * r1 / b2;
  const double lnu = 6.0 * (nu - mRed + e * nuSC.s);

  // 7.-11. Corrections to a, e, i, node and mean anomaly.
  const double r13 = r1 * r1 * r1;
  const double da = (3.0 * s2 * r13 * c2.c + (r13 - b3) * a1) * gm2 / b2;
  const double u = t9 * w1.s + t7 * w2.c + t10 * w3.s;
  const double de =
      u + 0.5 * gm2 * ((g * e + p1) * a1 + 3.0 * s2 * (p1 + e) * c2.c - s2 * b2 * (c3.c + 3.0 * c1.c));
  // u/(si b2) tends to t3 sin w - 3 e t5 sin 3w on an equatorial orbit (e1 vanishes there).
  const double uOverSi = si != 0.0 ? u / (si * b2) : t3 * w1.s - 3.0 * e * t5 * w3.s;
  const double di =
      0.5 * ci * (0.5 * gm2 * th * si * (3.0 * e * c1.c + 3.0 * c2.c + e * c3.c) - e * th * uOverSi);
  const double dnode = (0.5 / ci) * (-si * ee2 * w2.s - 0.5 * gm2 * th * si * (lnu - p2) +
                                     (e * th * t3 + si * t1) * w1.c - (th * e2 * t5 + si * t6) * w3.c);
  const double dm1 =
      0.25 * gm2 * b3 *
      (3.0 * s2 * (c1.s * (1.0 - p3) + (p3 + 1.0 / 3.0) * c3.s) + 2.0 * a1 * nuSC.s * (p3 + 1.0));
  const double edm = b * (t7 * w2.s - w1.c * (3.0 * e * b2 * t4 + t9) - t10 * w3.c) - dm1;

  // 12. Non-singular combinations.
  const SinCos mSC = sc(m), oSC = sc(node);
  const double eC = e * mSC.c - (de * mSC.c - edm * mSC.s);
  const double eS = e * mSC.s - (de * mSC.s + edm * mSC.c);
  const double sh = std::sin(0.5 * incl);
  const double hS = sh * oSC.s - (di * oSC.s + dnode * oSC.c);
  const double hC = sh * oSC.c - (di * oSC.c - dnode * oSC.s);

  // 13. Correction to the mean longitude.
  const double lam =
      dm1 * e * (g - 1.0) / b3 - 0.25 * gm2 * (lnu * (x5 + 2.0 * th) - p2 * (x5 + 2.0 * th + 2.0)) +
      (t8 * (gm2 - 0.2 * gm4) + (b3 - 1.0) * e1 - ee2 -
       (e2 / 16.0) * ((1.0 - 33.0 * th2 - 200.0 * q) * gm2 - gm4 * (x9 - 40.0 * q))) *
          w2.s +
      (t3 * (th / (1.0 + th) + g) * e * si + (3.0 * e2 + 11.0 - 3.0 * b3) * t4 + t1 * (1.0 - th)) * w1.c +
      (t5 * (3.0 * b3 - 3.0 - 2.0 * e2 - th * e2 / (1.0 + th)) * si - t6 * (1.0 - th)) * w3.c;

  // 14. Mean elements.
  Elset mean{};
  mean[0] = a * (1.0 - da);
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
