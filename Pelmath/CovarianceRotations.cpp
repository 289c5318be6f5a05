// Covariance frame rotations: builders of the 6x6 rotation and the two-product similarity transform.
#include "Pelmath/CovarianceRotations.h"

#include <algorithm>
#include <cmath>

#include "Pelmath/EarthFrames.h"
#include "Pelmath/PrecessionNutation.h"
#include "Siblings/Basalon/Vectors.h"

namespace pelmath {
namespace {

// out = a * b for n x n row-major matrices (out must not alias a or b).
void matmul(const double* a, const double* b, double* out, int n) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      double s = 0.0;
      for (int k = 0; k < n; ++k) s += a[i * n + k] * b[k * n + j];
      out[i * n + j] = s;
    }
}

// out = a * b^T.
void matmulbt(const double* a, const double* b, double* out, int n) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      double s = 0.0;
      for (int k = 0; k < n; ++k) s += a[i * n + k] * b[j * n + k];
      out[i * n + j] = s;
    }
}

// out = a^T * b.
void matmulat(const double* a, const double* b, double* out, int n) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      double s = 0.0;
      for (int k = 0; k < n; ++k) s += a[k * n + i] * b[k * n + j];
      out[i * n + j] = s;
    }
}

// R C R^T (transposed = false) or R^T C R (transposed = true) of n x n matrices.
void similarity(const double* r, const double* c, double* out, int n, bool transposed) {
  double tmp[81];
  double res[81];
  if (transposed) {
    matmulat(r, c, tmp, n);  // R^T C
    matmul(tmp, r, res, n);  // (R^T C) R
  } else {
    matmul(r, c, tmp, n);      // R C
    matmulbt(tmp, r, res, n);  // (R C) R^T
  }
  std::copy(res, res + n * n, out);
}

void setcolumn(Mat3& m, int col, const double v[3]) {
  for (int i = 0; i < 3; ++i) m[i][col] = v[i];
}

}  // namespace

void uvwrotmtx(const double pos[3], const double vel[3], Mat3& m) {
  double u[3], w[3], h[3], v[3];
  basalon::unitvec(pos, u);
  basalon::cross(h, pos, vel);
  const double hm = basalon::mag(h);
  for (int k = 0; k < 3; ++k) w[k] = h[k] / hm;  // a zero r x v propagates as non-finite
  basalon::cross(v, w, u);
  setcolumn(m, 0, u);
  setcolumn(m, 1, v);
  setcolumn(m, 2, w);
}

void ptwrotmtx(const double pos[3], const double vel[3], Mat3& m) {
  double t[3], w[3], h[3], p[3];
  basalon::unitvec(vel, t);
  basalon::cross(h, pos, vel);
  const double hm = basalon::mag(h);
  for (int k = 0; k < 3; ++k) w[k] = h[k] / hm;
  basalon::cross(p, t, w);
  setcolumn(m, 0, p);
  setcolumn(m, 1, t);
  setcolumn(m, 2, w);
}

void blockmtx6(const Mat3& m, double r6[36]) {
  std::fill(r6, r6 + 36, 0.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      r6[i * 6 + j] = m[i][j];
      r6[(i + 3) * 6 + j + 3] = m[i][j];
    }
}

void rotcov6(const double r6[36], const double c[36], double out[36]) { similarity(r6, c, out, 6, false); }
void rotcov6t(const double r6[36], const double c[36], double out[36]) { similarity(r6, c, out, 6, true); }

// 9x9 by blocks: with R9 = [[R6, 0], [0, I3]] and C = [[A, B], [B^T, D]], R9 C R9^T is
// [[R6 A R6^T, R6 B], [B^T R6^T, D]] (and the same with R6^T for the transposed form).
static void rotcov9blocks(const double r6[36], const double c[81], double out[81], bool transposed) {
  double a[36], res[81], rb[18];
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) a[i * 6 + j] = c[i * 9 + j];
  similarity(r6, a, a, 6, transposed);
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 3; ++j) {
      double sum = 0.0;
      for (int k = 0; k < 6; ++k) sum += (transposed ? r6[k * 6 + i] : r6[i * 6 + k]) * c[k * 9 + 6 + j];
      rb[i * 3 + j] = sum;
    }
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) res[i * 9 + j] = a[i * 6 + j];
    for (int j = 0; j < 3; ++j) res[i * 9 + 6 + j] = res[(6 + j) * 9 + i] = rb[i * 3 + j];
  }
  for (int i = 6; i < 9; ++i)
    for (int j = 6; j < 9; ++j) res[i * 9 + j] = c[i * 9 + j];
  std::copy(res, res + 81, out);
}

void rotcov9(const double r6[36], const double c[81], double out[81]) { rotcov9blocks(r6, c, out, false); }

void rotcov9t(const double r6[36], const double c[81], double out[81]) { rotcov9blocks(r6, c, out, true); }

namespace {

// C' = R6 C R6^T (toXyz) or R6^T C R6 with R6 the block matrix of a frame builder.
void rotatebyframe(void (*builder)(const double*, const double*, Mat3&), const double pos[3], const double vel[3],
                   const double cIn[36], double cOut[36], bool toXyz) {
  Mat3 m;
  double r6[36];
  builder(pos, vel, m);
  blockmtx6(m, r6);
  if (toXyz)
    rotcov6(r6, cIn, cOut);
  else
    rotcov6t(r6, cIn, cOut);
}

}  // namespace

void covuvw2xyz(const double pos[3], const double vel[3], const double cUvw[36], double cXyz[36]) {
  rotatebyframe(uvwrotmtx, pos, vel, cUvw, cXyz, true);
}

void covxyz2uvw(const double pos[3], const double vel[3], const double cXyz[36], double cUvw[36]) {
  rotatebyframe(uvwrotmtx, pos, vel, cXyz, cUvw, false);
}

void covptw2xyz(const double pos[3], const double vel[3], const double cPtw[36], double cXyz[36]) {
  rotatebyframe(ptwrotmtx, pos, vel, cPtw, cXyz, true);
}

void covxyz2ptw(const double pos[3], const double vel[3], const double cXyz[36], double cPtw[36]) {
  rotatebyframe(ptwrotmtx, pos, vel, cXyz, cPtw, false);
}

void covuvwptw(const double pos[3], const double vel[3], const double cIn[36], double cOut[36], int direction) {
  const double rm = basalon::mag(pos), vm = basalon::mag(vel);
  if (basalon::eqr(rm, 0.0) || basalon::eqr(vm, 0.0)) {
    std::fill(cOut, cOut + 36, 0.0);
    return;
  }
  double cosb = basalon::dot(pos, vel) / (rm * vm);
  double sinb;
  if (cosb >= 1.0 || cosb <= -1.0) {
    cosb = std::clamp(cosb, -1.0, 1.0);
    sinb = 0.0;
  } else {
    sinb = std::sqrt(1.0 - cosb * cosb);
  }
  // A maps UVW components to PTW components: P = sin b U - cos b V, T = cos b U + sin b V.
  const Mat3 a{{{sinb, -cosb, 0.0}, {cosb, sinb, 0.0}, {0.0, 0.0, 1.0}}};
  double a6[36];
  blockmtx6(a, a6);
  if (direction == 0)
    rotcov6(a6, cIn, cOut);
  else
    rotcov6t(a6, cIn, cOut);
}

void eci2efgcovmtx(double theta, double r6[36]) {
  const double c = std::cos(theta), s = std::sin(theta), w = kCovEarthRateRadPerSec;
  const double m[3][3] = {{c, s, 0.0}, {-s, c, 0.0}, {0.0, 0.0, 1.0}};
  const double md[3][3] = {{-w * s, w * c, 0.0}, {-w * c, -w * s, 0.0}, {0.0, 0.0, 0.0}};
  std::fill(r6, r6 + 36, 0.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      r6[i * 6 + j] = m[i][j];
      r6[(i + 3) * 6 + j + 3] = m[i][j];
      r6[(i + 3) * 6 + j] = md[i][j];
    }
}

void coveci2efg(double theta, const double cEci[36], double cEfg[36]) {
  double r6[36];
  eci2efgcovmtx(theta, r6);
  rotcov6(r6, cEci, cEfg);
}

void efg2ecicovmtx(double theta, double r6[36]) {
  // Inverse of [[M, 0], [Md, M]]: [[M^T, 0], [-M^T Md M^T, M^T]]. The transpose is not the inverse
  // here (Md mixes position into velocity), so EFG -> ECI uses the inverse.
  double fwd[36];
  eci2efgcovmtx(theta, fwd);
  double mt[3][3], md[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      mt[i][j] = fwd[j * 6 + i];
      md[i][j] = fwd[(i + 3) * 6 + j];
    }
  double tmp[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) tmp[i][j] = md[i][0] * mt[0][j] + md[i][1] * mt[1][j] + md[i][2] * mt[2][j];
  std::fill(r6, r6 + 36, 0.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      r6[i * 6 + j] = mt[i][j];
      r6[(i + 3) * 6 + j + 3] = mt[i][j];
      r6[(i + 3) * 6 + j] = -(mt[i][0] * tmp[0][j] + mt[i][1] * tmp[1][j] + mt[i][2] * tmp[2][j]);
    }
}

void covefg2eci(double theta, const double cEfg[36], double cEci[36]) {
  double r6[36];
  efg2ecicovmtx(theta, r6);
  rotcov6(r6, cEfg, cEci);
}

void covefg2ecr(double xp, double yp, const double cEfg[36], double cEcr[36]) {
  Mat3 w;
  double r6[36];
  getpolarmotnmtx(xp, yp, w);
  blockmtx6(w, r6);
  rotcov6(r6, cEfg, cEcr);
}

void covecr2efg(double xp, double yp, const double cEcr[36], double cEfg[36]) {
  Mat3 w;
  double r6[36];
  getpolarmotnmtx(xp, yp, w);
  blockmtx6(w, r6);
  rotcov6t(r6, cEcr, cEfg);  // W is orthogonal: its transpose is its inverse
}

void covefg2sez(double lat, double lon, const double cEfg[36], double cSez[36]) {
  // Rotation about z by the longitude, then about y by (pi/2 - latitude): rows S, E, Z.
  const double sp = std::sin(lat), cp = std::cos(lat), sl = std::sin(lon), cl = std::cos(lon);
  const Mat3 t{{{sp * cl, sp * sl, -cp}, {-sl, cl, 0.0}, {cp * cl, cp * sl, sp}}};
  double r6[36];
  blockmtx6(t, r6);
  rotcov6(r6, cEfg, cSez);
}

namespace {

// The 6x6 block of the precession-nutation matrix at a DS50 time.
void pnblock(int spectr, int numTerms, double ds50, double r6[36]) {
  Mat3 pn;
  getpnmatrix(spectr, numTerms, centryj2000(ds50), pn);
  blockmtx6(pn, r6);
}

}  // namespace

void covj2k2date(int spectr, int numTerms, double ds50, const double cJ2k[81], double cDate[81]) {
  double r6[36];
  pnblock(spectr, numTerms, ds50, r6);
  rotcov9(r6, cJ2k, cDate);
}

void covdate2j2k(int spectr, int numTerms, double ds50, const double cDate[81], double cJ2k[81]) {
  double r6[36];
  pnblock(spectr, numTerms, ds50, r6);
  rotcov9t(r6, cDate, cJ2k);
}

}  // namespace pelmath
