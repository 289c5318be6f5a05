// Evaluation of the loaded JPL ephemeris: Chebyshev series of one item, and the geocentric Moon,
// Sun, planets and nutations at a TAI time (the file's time argument is taken as TT = TAI + 32.184 s).
#include <algorithm>
#include <cmath>

#include "Pelmath/JplProcessing.h"
#include "Pelmath/PrecessionNutation.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"

namespace pelmath {

void chebyshev(const double* coef, int nc, int ncomp, double x, double* value, double* rate,
               double rateScale) {
  // T0 = 1, T1 = x, Tn = 2x Tn-1 - Tn-2; T'0 = 0, T'1 = 1, T'n = 2x T'n-1 + 2 Tn-1 - T'n-2.
  for (int c = 0; c < ncomp; ++c) {
    const double* a = coef + static_cast<std::ptrdiff_t>(c) * nc;
    double t0 = 1.0, t1 = x, v = a[0];
    if (nc > 1) v += a[1] * x;
    if (rate == nullptr) {
      for (int n = 2; n < nc; ++n) {
        const double t2 = 2.0 * x * t1 - t0;
        v += a[n] * t2;
        t0 = t1;
        t1 = t2;
      }
      value[c] = v;
      continue;
    }
    double d0 = 0.0, d1 = 1.0, r = nc > 1 ? a[1] : 0.0;
    for (int n = 2; n < nc; ++n) {
      const double t2 = 2.0 * x * t1 - t0;
      const double d2 = 2.0 * x * d1 + 2.0 * t1 - d0;
      v += a[n] * t2;
      r += a[n] * d2;
      t0 = t1;
      t1 = t2;
      d0 = d1;
      d1 = d2;
    }
    value[c] = v;
    rate[c] = r * rateScale;
  }
}

void ephem_point(const chronel::SplitTime& t, int item, double value[3], double rate[3]) {
  const int ncomp = item == kJplNutations ? 2 : 3;
  std::fill(value, value + ncomp, 0.0);
  if (rate != nullptr) std::fill(rate, rate + ncomp, 0.0);
  const Jplbuffer& b = jplbuf;
  if (item < 1 || item > kJplItems || b.numBlocks < 1) return;
  const int ipt = b.ipt[item - 1], nc = b.ncf[item - 1], nsub = b.nsub[item - 1];
  if (ipt == 0) return;  // item absent from the file (librations of most files)

  // Block of the time, limited to the loaded blocks.
  const double daySec = b.secPerDay, blockSec = b.interval * daySec;
  const chronel::SplitTime fileStart = chronel::tosplittai(b.startJD - b.ds50EpochJD);
  double k = std::trunc(chronel::minus(t, fileStart) / blockSec) - b.firstBlock;
  k = std::clamp(std::isnan(k) ? 0.0 : k, 0.0, static_cast<double>(b.numBlocks - 1));
  const double* rec = b.coeff.data() + static_cast<std::ptrdiff_t>(k) * b.ncoeff;

  // Sub-interval j (1-based, limited to 1..nsub) and the normalised time in it. The time within
  // the sub-interval is measured from the sub-interval's own start, so the end of the last
  // sub-interval maps to x = +1 rather than wrapping back to -1.
  const double deltaDays = chronel::minus(t, chronel::tosplittai(rec[0] - b.ds50EpochJD)) / daySec;
  const double subLen = b.interval / nsub;
  double jd = std::trunc(deltaDays / subLen) + 1.0;
  jd = std::clamp(std::isnan(jd) ? 1.0 : jd, 1.0, static_cast<double>(nsub));
  const int j = static_cast<int>(jd);
  const double tau = (deltaDays - (j - 1) * subLen) / subLen;
  const double x = 2.0 * tau - 1.0;

  const double* coef = rec + (ipt - 1) + static_cast<std::ptrdiff_t>(j - 1) * nc * ncomp;
  chebyshev(coef, nc, ncomp, x, value, rate, 2.0 * nsub / blockSec);
}

int jpl_ephem(const chronel::SplitTime& tai, Vec3& moon, Vec3& sun, const int* planetFlags, Vec3* planets,
              double* nutations) {
  moon = Vec3{};
  sun = Vec3{};
  if (planets != nullptr) std::fill(planets, planets + 9, Vec3{});
  if (nutations != nullptr) nutations[0] = nutations[1] = 0.0;
  if (jplctrl.fileName.view().find_first_not_of(std::string_view(" \0", 2)) == std::string_view::npos) {
    return basalon::fail("JPL_EPHEM: JPL parameters haven't entered.");
  }
  if (jplctrl.loaded == 0) {
    const int st = buildjpl();
    if (st != 0) return st;
  }
  const chronel::SplitTime t = chronel::plus(tai, chronel::kTTMinusTAISeconds);
  if (jplbuf.coeff.empty()) {
    return basalon::fail("JPL_EPHEM: No JPL file.");
  }
  // A NaN time compares neither before nor after the buffer: refuse it explicitly.
  if (std::isnan(t.days) || std::isnan(t.frac) || chronel::lt(t, jplbuf.bufStart) ||
      chronel::gt(t, jplbuf.bufEnd)) {
    return basalon::fail("JPL_EPHEM: Requested time out of range");
  }
  // Earth = barycentre - Moon/(1 + EMRAT); the Sun and planets are taken relative to it.
  Vec3 emb{}, sunBary{};
  ephem_point(t, kJplEmb, emb.data());
  ephem_point(t, kJplMoon, moon.data());
  ephem_point(t, kJplSun, sunBary.data());
  const double moonFrac = 1.0 / (1.0 + jplbuf.emrat);
  Vec3 earth{};
  for (int i = 0; i < 3; ++i) {
    earth[i] = emb[i] - moon[i] * moonFrac;
    sun[i] = sunBary[i] - earth[i];
  }
  if (planets != nullptr && planetFlags != nullptr) {
    for (int item = kJplMercury; item <= kJplPluto; ++item) {
      if (item == kJplEmb || planetFlags[item - 1] == 0) continue;
      Vec3 p{};
      ephem_point(t, item, p.data());
      for (int i = 0; i < 3; ++i) planets[item - 1][i] = p[i] - earth[i];
    }
  }
  if (nutations != nullptr) ephem_point(t, kJplNutations, nutations);
  return 0;
}

int jplSunMoonOfDate(double ds50UTC, Vec3& sun, Vec3& moon) {
  sun = Vec3{};
  moon = Vec3{};
  const double ds50TAI = chronel::utc2tai(ds50UTC);
  Vec3 sunJ2k{}, moonJ2k{};
  const int st = jpl_ephem(chronel::tosplittai(ds50TAI), moonJ2k, sunJ2k);
  if (st != 0) return st;
  Mat3 pn;
  getpnmatrix(PnSpectrum::kLinearised, 106, (ds50TAI - chronel::kDs50J2000) / 36525.0, pn);
  sun = mulMatVec(pn, sunJ2k);
  moon = mulMatVec(pn, moonJ2k);
  return basalon::kResultOk;
}

}  // namespace pelmath
