// The hub of the element conversions: Keplerian/classical <-> equinoctial <-> position/velocity.
// Equinoctial sets are direct (af, ag, chi = tan(i/2) sin node, psi = tan(i/2) cos node, L, n).
#include <cmath>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Planix/Planix.h"

namespace pelmath {

namespace {

constexpr double kHalleyTol = 1e-12;
constexpr int kHalleyMaxIter = 25;

// Angle moved into (-pi, pi] when its magnitude exceeds pi.
inline double towardZero(double x) { return std::fabs(x) > kPi ? x - kTwoPi * std::copysign(1.0, x) : x; }

// The five angle-independent equinoctial values of a Keplerian or classical set; L is left out.
Elset eqnxShape(const Elset& k) {
  const double t = std::tan(0.5 * k[2]);
  const double lp = k[4] + k[5];
  Elset eq{};
  eq[0] = k[1] * std::cos(lp);
  eq[1] = k[1] * std::sin(lp);
  eq[2] = t * std::sin(k[4]);
  eq[3] = t * std::cos(k[4]);
  // Hyperbolic sets carry the sum node + perigee reduced towards zero.
  eq[4] = k[1] < 1.0 ? k[3] + lp : k[3] + towardZero(std::fmod(lp, kTwoPi));
  return eq;
}

// Keplerian angles of an equinoctial set; out[0] is left for the caller.
Elset kepShape(const Elset& eq) {
  Elset k{};
  const double e = std::sqrt(eq[0] * eq[0] + eq[1] * eq[1]);
  k[1] = e;
  k[2] = 2.0 * std::atan(std::sqrt(eq[2] * eq[2] + eq[3] * eq[3]));
  k[4] = atan2_0(eq[2], eq[3]);
  double lp = atan2_0(eq[1], eq[0]);  // longitude of perigee
  if (e >= 1.0) lp = towardZero(lp);
  k[3] = eq[4] - lp;
  k[5] = lp - k[4];
  return k;
}

}  // namespace

Elset kep2eqnx(const Elset& kep, std::optional<double> ke) {
  Elset eq = eqnxShape(kep);
  eq[5] = a2n(kep[0], ke);
  return eq;
}

Elset class2eqnx(const Elset& cls) {
  Elset eq = eqnxShape(cls);
  eq[5] = cls[0];
  return eq;
}

Elset eqnx2kep(const Elset& eqnx, std::optional<double> ke) {
  Elset k = kepShape(eqnx);
  k[0] = n2a(eqnx[5], ke);
  return k;
}

Elset eqnx2class(const Elset& eqnx) {
  Elset k = kepShape(eqnx);
  k[0] = eqnx[5];
  return k;
}

void eqnx2pv(const Elset& eqnx, Vec3& pos, Vec3& vel, std::optional<double> mu, std::optional<double> ke) {
  const double af = eqnx[0], ag = eqnx[1], chi = eqnx[2], psi = eqnx[3], lon = eqnx[4], n = eqnx[5];
  // Eccentric longitude F from L = F + ag cos F - af sin F, by Halley's method.
  double f = lon, sF = std::sin(f), cF = std::cos(f);
  double g = af * sF - ag * cF, d = 1.0 - ag * sF - af * cF;
  for (int it = 0; it < kHalleyMaxIter; ++it) {
    const double rho = lon - f + g;
    const double step = rho / (d + 0.5 * rho * g / d);
    if (std::fabs(step) <= kHalleyTol) break;
    f += step;
    sF = std::sin(f);
    cF = std::cos(f);
    g = af * sF - ag * cF;
    d = 1.0 - ag * sF - af * cF;
  }

  double a, gm;
  if (mu) {
    const double nSec = n / 60.0;  // rad/s
    gm = *mu;
    a = std::cbrt(gm / (nSec * nSec));  // km
  } else {
    gm = 1.0;
    a = n2a(n, ke);  // er
  }

  const double oneMinusE2 = 1.0 - af * af - ag * ag;
  const double root = std::sqrt(oneMinusE2);
  const double beta = 1.0 / (1.0 + root);
  const double r = a * d;
  const double x1r = (a / r) * (cF - af + ag * beta * g);
  const double y1r = (a / r) * (sF - ag - af * beta * g);

  const double s = 1.0 + chi * chi + psi * psi;
  const double fHat[3] = {(1.0 - chi * chi + psi * psi) / s, 2.0 * chi * psi / s, -2.0 * chi / s};
  const double gHat[3] = {2.0 * chi * psi / s, (1.0 + chi * chi - psi * psi) / s, 2.0 * psi / s};

  const double sqrtMuA = std::sqrt(gm * a);
  const double vT = sqrtMuA * root / r;  // transverse speed
  const double vR = sqrtMuA * g / r;     // radial speed
  for (int k = 0; k < 3; ++k) {
    const double rHat = x1r * fHat[k] + y1r * gHat[k];
    const double tHat = x1r * gHat[k] - y1r * fHat[k];
    pos[k] = r * rHat;
    vel[k] = vT * tHat + vR * rHat;
  }
  if (mu) {
    tocanonicalpos(pos.data(), pos.data());
    tocanonicalvel(vel.data(), vel.data());
  }
}

void kep2pv(const Elset& kep, Vec3& pos, Vec3& vel, std::optional<double> ke) {
  eqnx2pv(kep2eqnx(kep, ke), pos, vel, std::nullopt, ke);
}

Elset pv2eqnx(const Vec3& pos, const Vec3& vel, std::optional<double> mu) {
  const double gm = mu.value_or(planix::genvgeo().muKm);
  const Derivedelts dd = pv2drvdelts(pos, vel, gm);
  const auto& v = dd.v;
  const Vec3 ev = toVec3(&v[9]);
  const Vec3 rHat = toVec3(&v[12]);
  const Vec3 wxr = toVec3(&v[15]);
  const Vec3 fHat = toVec3(&v[21]);
  const Vec3 gHat = toVec3(&v[24]);

  Elset eq{};
  eq[0] = dot(ev, fHat);
  eq[1] = dot(ev, gHat);
  eq[2] = v[7];
  eq[3] = v[8];

  const double trueLon = atan2_0(-dot(wxr, fHat), dot(rHat, fHat));
  const double nu = atan2_0(-dot(wxr, ev), dot(rHat, ev));
  const double e = norm(ev);
  const double h = std::atan(std::tan(0.5 * nu) * std::sqrt(std::fabs((1.0 - e) / (1.0 + e))));
  const double lp = trueLon - nu;  // longitude of perigee
  if (e < 1.0)
    eq[4] = lp + 2.0 * h - v[5];  // lp + E - e sin E
  else
    eq[4] = v[5] - 2.0 * h + towardZero(lp);
  const double alpha = std::fabs(v[4]);
  eq[5] = std::sqrt(alpha * alpha * alpha / (gm * gm)) * 60.0;  // rad/min
  return eq;
}

Elset pv2kep(const Vec3& pos, const Vec3& vel, std::optional<double> mu, std::optional<double> ke) {
  return eqnx2kep(pv2eqnx(pos, vel, mu), ke);
}

}  // namespace pelmath
