// Derived orbit terms (Derivedelts, Derivedterms) and the local orbit frames of a state or of a
// Keplerian set. Vectors in the units of the inputs; angles in radians.
#include <cmath>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "Siblings/Basalon/Vectors.h"

namespace pelmath {

namespace {

constexpr double kEquatorialTol = 1e-12;

void put3(double* dst, const Vec3& src) {
  dst[0] = src[0];
  dst[1] = src[1];
  dst[2] = src[2];
}

// The argument of latitude u = nu + omega of a Keplerian set, with nu from Kepler's equation.
double argOfLatitude(const Elset& kep) {
  const double e = kep[1];
  const double ecc = finde(kep);
  return 2.0 * std::atan(std::tan(0.5 * ecc) * std::sqrt((1.0 + e) / (1.0 - e))) + kep[5];
}

}  // namespace

Derivedelts pv2drvdelts(const Vec3& r, const Vec3& v, double mu) {
  Derivedelts out;
  auto& d = out.v;
  const Vec3 h = cross(r, v);
  const double rMag = norm(r);
  const double rv = dot(r, v);
  d[0] = rMag;
  d[1] = dot(v, v);
  d[2] = rv / rMag;
  d[3] = norm(h);
  d[4] = 2.0 * mu / rMag - d[1];
  d[5] = rv * std::sqrt(std::fabs(d[4])) / mu;
  d[6] = 1.0 - rMag * d[4] / mu;

  Vec3 w;
  for (int k = 0; k < 3; ++k) w[k] = h[k] / d[3];
  const double chi = w[0] / (1.0 + w[2]);
  const double psi = -w[1] / (1.0 + w[2]);
  d[7] = chi;
  d[8] = psi;

  const Vec3 vxh = cross(v, h);
  for (int k = 0; k < 3; ++k) {
    d[12 + k] = r[k] / rMag;
    d[9 + k] = vxh[k] / mu - d[12 + k];
  }
  put3(&d[15], cross(w, toVec3(&d[12])));
  put3(&d[18], w);
  d[21] = 1.0 - w[0] * chi;
  d[22] = -w[1] * chi;
  d[23] = -w[0];
  d[24] = -chi * w[1];
  d[25] = chi * w[0] + w[2];
  d[26] = -w[1];

  const double s = std::sqrt(w[0] * w[0] + w[1] * w[1]);
  if (s == 0.0) {
    // Equatorial orbit: the node is taken along x.
    put3(&d[27], {1.0, 0.0, 0.0});
    put3(&d[30], {0.0, 1.0, 0.0});
  } else {
    put3(&d[27], {-w[1] / s, w[0] / s, 0.0});
    put3(&d[30], {-w[0] * w[2] / s, -w[1] * w[2] / s, s});
  }
  return out;
}

Derivedterms getderivedterms(const Elset& kep, std::optional<double> p) {
  Derivedterms out;
  auto& t = out.v;
  const double a = kep[0], e = kep[1];
  const double e2 = e * e;
  const double semiLatus = p.value_or(a * (1.0 - e2));
  t[0] = std::cos(kep[4]);
  t[1] = std::cos(kep[2]);
  t[2] = std::cos(kep[5]);
  t[6] = e2;
  t[7] = 1.0 - e2;
  t[8] = semiLatus;
  t[9] = semiLatus * semiLatus;
  t[10] = a * (1.0 - e);
  t[13] = std::sqrt(a);
  t[14] = t[7] > 0.0 ? std::sqrt(t[7]) : 0.0;
  t[15] = t[14];
  t[16] = semiLatus > 0.0 ? std::sqrt(semiLatus) : 0.0;
  t[18] = std::sin(kep[2]);
  t[19] = std::sin(kep[5]);
  t[20] = std::sin(kep[4]);
  t[23] = basalon::fmod2p(kep[5] + kep[3]);
  return out;
}

void pv2derivedterms(const Vec3& r, const Vec3& v, Derivedterms& terms) {
  const Vec3 hv = cross(r, v);
  const double h = norm(hv);
  const Vec3 hHat = unitVector(hv);
  const double rMag = norm(r);
  const Vec3 rHat = unitVector(r);
  const Vec3 tHat = cross(hHat, rHat);
  const double rDot = dot(r, v) / rMag;
  // Canonical units (mu = 1): p = h^2, so p/r - 1 = e cos nu and h rdot = e sin nu.
  const double eCos = h * h / rMag - 1.0, eSin = h * rDot;
  const double nu = std::atan2(eSin, eCos);
  Vec3 ev;
  for (int k = 0; k < 3; ++k) ev[k] = eCos * rHat[k] - eSin * tHat[k];
  const double s = std::sqrt(hHat[0] * hHat[0] + hHat[1] * hHat[1]);
  double omega;
  if (s >= kEquatorialTol) {
    omega = std::atan2(ev[2] * s - hHat[2] * (ev[1] * hHat[1] + hHat[0] * ev[0]) / s,
                       (ev[1] * hHat[0] - ev[0] * hHat[1]) / s);
    if (omega < 0.0) omega += kTwoPi;
  } else {
    omega = basalon::fmod2p(std::atan2(rHat[1] - tHat[0], tHat[1] + rHat[0]) - nu);
  }
  terms.v[11] = rMag;
  terms.v[12] = rDot;
  terms.v[21] = basalon::fmod2p(nu);
  terms.v[22] = basalon::fmod2p(nu + omega);
}

Uvwelts kep2uvw(const Elset& kep) {
  const double u = argOfLatitude(kep);
  const double su = std::sin(u), cu = std::cos(u);
  const double si = std::sin(kep[2]), ci = std::cos(kep[2]);
  const double sO = std::sin(kep[4]), cO = std::cos(kep[4]);
  Uvwelts out;
  out.u = {cu * cO - su * sO * ci, cu * sO + su * cO * ci, su * si};
  out.v = {-su * cO - cu * sO * ci, cu * cO * ci - su * sO, cu * si};
  out.w = {sO * si, -cO * si, ci};
  return out;
}

double kep2ubar3(const Elset& kep) { return std::sin(kep[2]) * std::sin(argOfLatitude(kep)); }

Mat3 pv2uvvw(const Vec3& pos, const Vec3& vel) {
  const Vec3 w = cross(pos, vel);
  return {cross(w, vel), vel, w};
}

Mat3 pv2uuvw(const Vec3& pos, const Vec3& vel) {
  const Vec3 w = cross(pos, vel);
  return {cross(w, pos), pos, w};
}

}  // namespace pelmath
