// Covariance frame rotations: builders of the 6x6 rotation, then one similarity transform.
#include "Pelmath/CovarianceRotations.h"

#include <algorithm>
#include <cmath>

#include "Pelmath/EarthFrames.h"
#include "Siblings/Basalon/Vectors.h"

namespace pelmath {
namespace {

using basalon::similarity;

Mat3 fromColumns(const Vec3& c0, const Vec3& c1, const Vec3& c2) {
  return {{{c0[0], c1[0], c2[0]}, {c0[1], c1[1], c2[1]}, {c0[2], c1[2], c2[2]}}};
}

// Unit normal of the orbit plane; a zero r x v propagates as non-finite.
Vec3 orbitNormal(const Vec3& pos, const Vec3& vel) {
  const Vec3 h = cross(pos, vel);
  const double hm = norm(h);
  return {h[0] / hm, h[1] / hm, h[2] / hm};
}

// The 6x6 matrix [[A, 0], [B, C]] of three 3x3 blocks.
Mat6 blocks6(const Mat3& a, const Mat3& b, const Mat3& c) {
  Mat6 r6{};
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 3; ++j) {
      r6[i * 6 + j] = a[i][j];
      r6[(i + 3) * 6 + j] = b[i][j];
      r6[(i + 3) * 6 + j + 3] = c[i][j];
    }
  return r6;
}

// C' = R6 C R6^T (frame -> XYZ) or R6^T C R6 (XYZ -> frame) with R6 the block of a frame matrix.
Mat6 rotateByFrame(const Mat3& frame, const Mat6& c, Similarity form) {
  return similarity<6>(blockDiagonal6(frame), c, form);
}

}  // namespace

Mat3 uvwFrameMatrix(const Vec3& pos, const Vec3& vel) {
  const Vec3 u = unitVector(pos);
  const Vec3 w = orbitNormal(pos, vel);
  return fromColumns(u, cross(w, u), w);
}

Mat3 ptwFrameMatrix(const Vec3& pos, const Vec3& vel) {
  const Vec3 t = unitVector(vel);
  const Vec3 w = orbitNormal(pos, vel);
  return fromColumns(cross(t, w), t, w);
}

Mat6 blockDiagonal6(const Mat3& m) { return blocks6(m, Mat3{}, m); }

// By blocks: with C = [[A, B], [B^T, D]], J9 C J9^T is [[J A J^T, J B], [B^T J^T, D]] (and the
// same with J^T for the transposed form).
Mat9 similarityOfStateBlock(const Mat6& j, const Mat9& c, Similarity form) {
  const bool transposedForm = form == Similarity::kRtCR;
  Mat6 a;
  for (size_t r = 0; r < 6; ++r)
    for (size_t col = 0; col < 6; ++col) a[r * 6 + col] = c[r * 9 + col];
  a = similarity<6>(j, a, form);
  Mat9 res;
  for (size_t r = 0; r < 6; ++r) {
    for (size_t col = 0; col < 6; ++col) res[r * 9 + col] = a[r * 6 + col];
    for (size_t col = 0; col < 3; ++col) {
      double sum = 0.0;
      for (size_t k = 0; k < 6; ++k)
        sum += (transposedForm ? j[k * 6 + r] : j[r * 6 + k]) * c[k * 9 + 6 + col];
      res[r * 9 + 6 + col] = res[(6 + col) * 9 + r] = sum;
    }
  }
  for (size_t r = 6; r < 9; ++r)
    for (size_t col = 6; col < 9; ++col) res[r * 9 + col] = c[r * 9 + col];
  return res;
}

Mat6 covUvwToXyz(const Vec3& pos, const Vec3& vel, const Mat6& cUvw) {
  return rotateByFrame(uvwFrameMatrix(pos, vel), cUvw, Similarity::kRCRt);
}

Mat6 covXyzToUvw(const Vec3& pos, const Vec3& vel, const Mat6& cXyz) {
  return rotateByFrame(uvwFrameMatrix(pos, vel), cXyz, Similarity::kRtCR);
}

Mat6 covPtwToXyz(const Vec3& pos, const Vec3& vel, const Mat6& cPtw) {
  return rotateByFrame(ptwFrameMatrix(pos, vel), cPtw, Similarity::kRCRt);
}

Mat6 covXyzToPtw(const Vec3& pos, const Vec3& vel, const Mat6& cXyz) {
  return rotateByFrame(ptwFrameMatrix(pos, vel), cXyz, Similarity::kRtCR);
}

Mat6 covUvwPtw(const Vec3& pos, const Vec3& vel, const Mat6& cIn, UvwPtwDirection direction) {
  const double rm = norm(pos), vm = norm(vel);
  if (basalon::eqr(rm, 0.0) || basalon::eqr(vm, 0.0)) return Mat6{};
  double cosb = dot(pos, vel) / (rm * vm);
  double sinb;
  if (cosb >= 1.0 || cosb <= -1.0) {
    cosb = std::clamp(cosb, -1.0, 1.0);
    sinb = 0.0;
  } else {
    sinb = std::sqrt(1.0 - cosb * cosb);
  }
  // A maps UVW components to PTW components: P = sin b U - cos b V, T = cos b U + sin b V.
  const Mat3 a{{{sinb, -cosb, 0.0}, {cosb, sinb, 0.0}, {0.0, 0.0, 1.0}}};
  return rotateByFrame(a, cIn,
                       direction == UvwPtwDirection::kUvwToPtw ? Similarity::kRCRt : Similarity::kRtCR);
}

Mat6 eciToEfgCovMatrix(double theta) {
  const double c = std::cos(theta), s = std::sin(theta), w = kCovEarthRateRadPerSec;
  const Mat3 m{{{c, s, 0.0}, {-s, c, 0.0}, {0.0, 0.0, 1.0}}};
  const Mat3 md{{{-w * s, w * c, 0.0}, {-w * c, -w * s, 0.0}, {0.0, 0.0, 0.0}}};
  return blocks6(m, md, m);
}

Mat6 covEciToEfg(double theta, const Mat6& cEci) { return similarity<6>(eciToEfgCovMatrix(theta), cEci); }

Mat6 efgToEciCovMatrix(double theta) {
  // Inverse of [[M, 0], [Md, M]]: [[M^T, 0], [-M^T Md M^T, M^T]]. The transpose is not the inverse
  // here (Md mixes position into velocity), so EFG -> ECI uses the inverse.
  const Mat6 fwd = eciToEfgCovMatrix(theta);
  Mat3 mt, md;
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 3; ++j) {
      mt[i][j] = fwd[j * 6 + i];
      md[i][j] = fwd[(i + 3) * 6 + j];
    }
  Mat3 lower = mulMat(mt, mulMat(md, mt));
  for (auto& row : lower)
    for (double& v : row) v = -v;
  return blocks6(mt, lower, mt);
}

Mat6 covEfgToEci(double theta, const Mat6& cEfg) { return similarity<6>(efgToEciCovMatrix(theta), cEfg); }

Mat6 covEfgToEcr(double xp, double yp, const Mat6& cEfg) {
  Mat3 w;
  getpolarmotnmtx(xp, yp, w);
  return rotateByFrame(w, cEfg, Similarity::kRCRt);
}

Mat6 covEcrToEfg(double xp, double yp, const Mat6& cEcr) {
  Mat3 w;
  getpolarmotnmtx(xp, yp, w);
  return rotateByFrame(w, cEcr, Similarity::kRtCR);  // W is orthogonal: its transpose is its inverse
}

Mat6 covEfgToSez(double lat, double lon, const Mat6& cEfg) {
  // Rotation about z by the longitude, then about y by (pi/2 - latitude): rows S, E, Z.
  const double sp = std::sin(lat), cp = std::cos(lat), sl = std::sin(lon), cl = std::cos(lon);
  const Mat3 t{{{sp * cl, sp * sl, -cp}, {-sl, cl, 0.0}, {cp * cl, cp * sl, sp}}};
  return rotateByFrame(t, cEfg, Similarity::kRCRt);
}

namespace {

// The 6x6 block of the precession-nutation matrix at a DS50 time.
Mat6 pnBlock(PnSpectrum spectr, int numTerms, double ds50) {
  Mat3 pn;
  getpnmatrix(spectr, numTerms, centryj2000(ds50), pn);
  return blockDiagonal6(pn);
}

}  // namespace

Mat9 covJ2kToDate(PnSpectrum spectr, int numTerms, double ds50, const Mat9& cJ2k) {
  return similarityOfStateBlock(pnBlock(spectr, numTerms, ds50), cJ2k, Similarity::kRCRt);
}

Mat9 covDateToJ2k(PnSpectrum spectr, int numTerms, double ds50, const Mat9& cDate) {
  return similarityOfStateBlock(pnBlock(spectr, numTerms, ds50), cDate, Similarity::kRtCR);
}

}  // namespace pelmath
