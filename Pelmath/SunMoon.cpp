// Closed-form series of the Sun (equation of centre in e) and the Moon (main terms of the lunar
// theory) giving geometric positions of date in Earth radii.
#include "Pelmath/SunMoon.h"

#include <cmath>

#include "Pelmath/EarthFrames.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {
namespace {

constexpr double kAuKmFk5 = 149597870.0;
constexpr double kAuKmFk4 = 149597893.0;
constexpr double kDs50J1900 = -18261.5;  // 1900 January 0.5 as DS50

inline double degReduced(double deg) { return basalon::fmod2p(deg * kDegToRad); }
inline double arcsecReduced(double arcsec) { return basalon::fmod2p(arcsec * kArcsecToRad); }
inline bool isFk4(SunMoonTheory selector) { return selector == SunMoonTheory::kFk4; }

// Time argument of the Moon's inclination factor, in units of 10000 days from 1900 Jan 0.5 (the
// unit its rates are given in). FK5 times (centuries from J2000) are brought to the same scale.
double inclinationTau(SunMoonTheory selector, double timeArg) {
  if (isFk4(selector)) return timeArg * 1.0e-4;
  return (timeArg * 36525.0 + (kDs50J2000 - kDs50J1900)) * 1.0e-4;
}

struct MoonArgs {
  double l, L, F, D;
};

MoonArgs moonArgs(SunMoonTheory selector, double timeArg) {
  if (isFk4(selector)) {
    const double d = timeArg, t = d * 1.0e-4, t2 = t * t, t3 = t2 * t;
    return {degReduced(296.104608 + 13.06499245 * d + 0.000689 * t2 + 2.95e-07 * t3),
            degReduced(270.434164 + 13.17639653 * d - 8.5e-05 * t2 + 3.9e-08 * t3),
            degReduced(11.250889 + 13.22935045 * d - 0.0002407 * t2 - 7e-09 * t3),
            degReduced(350.737486 + 12.19074919 * d - 0.0001076 * t2 + 3.9e-08 * t3)};
  }
  const double T = timeArg, T2 = T * T, T3 = T2 * T;
  return {arcsecReduced(485866.733 + 1717915922.633 * T + 31.31 * T2 + 0.064 * T3),
          arcsecReduced(785939.157 + 1732564372.598 * T - 5.802 * T2 + 0.019 * T3),
          arcsecReduced(335778.877 + 1739527263.137 * T - 13.257 * T2 + 0.011 * T3),
          arcsecReduced(1072261.307 + 1602961601.328 * T - 6.891 * T2 + 0.019 * T3)};
}

}  // namespace

SunMoonTheory sunMoonSelector() {
  return planix::getenvfk() == 4 ? SunMoonTheory::kFk4 : SunMoonTheory::kFk5;
}

void getsundata(SunMoonTheory selector, double ds50, Sundata& sd) {
  if (isFk4(selector)) {
    const double d = ds50 - kDs50J1900, t = d * 1.0e-4, t2 = t * t;
    sd.time = d;
    sd.meanAnomaly = degReduced(358.475833 + 0.985600267 * d - (1.12e-05 + 7e-08 * t) * t2);
    sd.obliquity = degReduced(23.452294 - 0.0035626 * t - (1.23e-07 - 1.03e-08 * t) * t2);
    sd.eccentricity = 0.01675104 - 1.1444e-05 * t - 9.4e-09 * t2;
    return;
  }
  const double T = (ds50 - kDs50J2000) / 36525.0, T2 = T * T, T3 = T2 * T;
  sd.time = T;
  sd.meanAnomaly = degReduced(357.52772333333 + 35999.05034 * T - 0.00016027777777777733 * T2 -
                              3.3333333333333244e-06 * T3);
  sd.obliquity = degReduced(23.4392635861111 - 0.013025380555555521 * T - 1.305555555555552e-07 * T2 +
                            5.027777777777764e-07 * T3);
  sd.eccentricity = 0.01670832 - 4.2229e-05 * T - 1.26e-07 * T2;
}

void solar(SunMoonTheory selector, const Sundata& sd, Vec3& sunUnit, double& sunDist,
           std::optional<double> earthRadiusKm, double* trueLong, double* rOverA2) {
  const double e = sd.eccentricity, e2 = e * e, e3 = e2 * e, e4 = e3 * e, e5 = e4 * e;
  const double s1 = std::sin(sd.meanAnomaly), c1 = std::cos(sd.meanAnomaly);
  // Multiple angles by the Chebyshev recurrence: x_{k+1} = 2 cos M x_k - x_{k-1}.
  const double s2 = 2.0 * c1 * s1, s3 = 2.0 * c1 * s2 - s1, s4 = 2.0 * c1 * s3 - s2, s5 = 2.0 * c1 * s4 - s3;
  const double c2 = 2.0 * c1 * c1 - 1.0, c3 = 2.0 * c1 * c2 - c1, c4 = 2.0 * c1 * c3 - c2,
               c5 = 2.0 * c1 * c4 - c3;
  const double q = (2.0 * e - e3 / 4.0 + 5.0 * e5 / 96.0) * s1 + (5.0 * e2 / 4.0 - 11.0 * e4 / 24.0) * s2 +
                   (13.0 * e3 / 12.0 - 43.0 * e5 / 64.0) * s3 + (103.0 * e4 / 96.0) * s4 +
                   (1097.0 * e5 / 960.0) * s5;
  double perigee;
  if (isFk4(selector)) {
    const double d = sd.time, t = d * 1.0e-4;
    perigee = degReduced(281.220844 + 4.70684e-05 * d + (3.39e-05 + 7e-08 * t) * t * t);
  } else {
    const double T = sd.time;
    perigee = degReduced(282.938346111111 + 1.719457222222222 * T + 0.0004627777777777765 * T * T +
                         3.3333333333333244e-06 * T * T * T);
  }
  const double lambda = perigee + sd.meanAnomaly + q;
  const double sl = std::sin(lambda);
  sunUnit = {std::cos(lambda), sl * std::cos(sd.obliquity), sl * std::sin(sd.obliquity)};
  const double rOverA = 1.0 - e * c1 - (e2 / 2.0) * (c2 - 1.0) - (3.0 * e3 / 8.0) * (c3 - c1) -
                        (e4 / 3.0) * (c4 - c2) - (5.0 * e5 / 384.0) * (2.0 * c1 + 25.0 * c5 - 27.0 * c3);
  const double au = isFk4(selector) ? kAuKmFk4 : kAuKmFk5;
  sunDist = rOverA * au / earthRadiusKm.value_or(planix::genvgeo().earthRadius);
  if (trueLong) *trueLong = lambda;
  if (rOverA2) *rOverA2 = rOverA * rOverA;
}

void lunar(SunMoonTheory selector, const Sundata& sd, Vec3& moonPos, Vec3& moonUnit, double& moonDist) {
  const MoonArgs m = moonArgs(selector, sd.time);
  const double l = m.l, F = m.F, D = m.D, lp = sd.meanAnomaly;
  using std::sin, std::cos;
  const double lambda =
      m.L + (22639.5 * sin(l) - 4586.465 * sin(l - 2 * D) + 2369.912 * sin(2 * D) + 769.016 * sin(2 * l) -
             668.146 * sin(lp) - 411.608 * sin(2 * F) - 211.656 * sin(2 * l - 2 * D) -
             205.962 * sin(l + lp - 2 * D) + 191.953 * sin(l + 2 * D) - 165.145 * sin(lp - 2 * D) +
             147.687 * sin(l - lp) - 125.154 * sin(D) - 109.673 * sin(l + lp)) *
                kArcsecToRad;
  const double s = F + (22609.07 * sin(l) - 4578.13 * sin(l - 2 * D) + 2373.36 * sin(2 * D) +
                        767.96 * sin(2 * l) + 192.72 * sin(l + 2 * D) - 165.06 * sin(lp - 2 * D) -
                        152.53 * sin(2 * l - 2 * D) - 126.98 * sin(lp) - 115.18 * sin(l + lp) -
                        112.79 * sin(D) - 182.36 * sin(l + lp - 2 * D) - 138.76 * sin(lp - l)) *
                           kArcsecToRad;
  const double tau = inclinationTau(selector, sd.time);
  const double k = 1.00000271 - 139.978e-06 * (3.33179 * cos(4.523601504 - 9.242202921 * tau) +
                                               0.53858 * cos(3.040944319 - 9.253193406 * tau) +
                                               0.064043 * cos(3.295762417 - 9.246503573 * tau));
  const double k3 = k * k * k;
  const double beta = 0.089785955 * k * sin(s) - 3.02572e-05 * k3 * sin(3 * s) +
                      1.94e-08 * k3 * k * k * sin(5 * s) - 0.00255045 * sin(F - 2 * D);
  const double par =
      (3422.7 + 186.5398 * cos(l) + 34.3117 * cos(l - 2 * D) + 28.2333 * cos(2 * D) + 10.1657 * cos(2 * l) +
       3.0861 * cos(l + 2 * D) + 1.9178 * cos(lp - 2 * D) + 1.4437 * cos(l + lp - 2 * D) +
       1.1528 * cos(l - lp) - 0.9781 * cos(D) - 0.949 * cos(l + lp) - 0.7136 * cos(l - 2 * F) +
       0.6215 * cos(3 * l) + 0.6008 * cos(l - 4 * D) - 0.3997 * cos(lp) + 0.3722 * cos(2 * l - 4 * D) -
       0.3039 * cos(2 * l - 2 * D) - 0.3 * cos(2 * D + lp) + 0.2833 * cos(2 * l + 2 * D) +
       0.2607 * cos(4 * D) + 0.2302 * cos(2 * D + l - lp) - 0.2257 * cos(l - lp - 2 * D) +
       0.1494 * cos(D + lp) + 0.1268 * cos(2 * l - lp) - 0.1187 * cos(3 * l - 2 * D) - 0.1093 * cos(D + l) -
       0.1052 * cos(2 * F - 2 * D) - 0.1038 * cos(2 * l + lp)) *
      kArcsecToRad;
  const double inv = 1.0 / sin(par);
  const double sl = sin(lambda), cl = cos(lambda), sb = sin(beta), cb = cos(beta);
  const double se = sin(sd.obliquity), ce = cos(sd.obliquity);
  moonPos = {cl * cb * inv, (sl * cb * ce - sb * se) * inv, (sb * ce + sl * cb * se) * inv};
  moonDist = norm(moonPos);
  moonUnit = {moonPos[0] / moonDist, moonPos[1] / moonDist, moonPos[2] / moonDist};
}

void getsunmoondata(SunMoonTheory selector, double ds50, double scale, Sunmoondata& smd,
                    std::optional<double> earthRadiusKm) {
  const double radius = earthRadiusKm.value_or(planix::genvgeo().earthRadius);
  Sundata sd;
  getsundata(selector, ds50, sd);
  smd.time = ds50;
  solar(selector, sd, smd.sunUnit, smd.sunDist, radius);
  for (int k = 0; k < 3; ++k) smd.sunPos[k] = smd.sunUnit[k] * smd.sunDist * radius;
  Vec3 moonPos;
  lunar(selector, sd, moonPos, smd.moonUnit, smd.moonDist);
  for (int k = 0; k < 3; ++k) smd.moonVec[k] = moonPos[k] * scale;
}

}  // namespace pelmath
