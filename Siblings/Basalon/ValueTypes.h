// The small value types used by every library: 3-vectors, 3x3, 6x6 and 9x9 matrices, element
// arrays, their products and the angle and time constants. Header only, allocation free.
// Matrices of order 6 and 9 are flat row-major arrays (the layout hosts pass), so a size
// mistake does not compile; a 3x3 matrix is m[row][column].
#pragma once

#include <array>
#include <cmath>
#include <cstddef>

namespace basalon {

using Vec3 = std::array<double, 3>;
// Six-element set or a position and velocity, in the order of its kind.
using Elset = std::array<double, 6>;
using Mat3 = std::array<std::array<double, 3>, 3>;
// N x N matrix, row-major: element (i, j) at i * N + j.
template <size_t N>
using MatN = std::array<double, N * N>;
using Mat6 = MatN<6>;  // position/velocity covariance or rotation, km and km/s
using Mat9 = MatN<9>;  // the six plus three further parameters

// Angles.
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kDegToRad = 0.017453292519943295;  // pi/180
inline constexpr double kRadToDeg = 57.29577951308232;     // 180/pi
// Time.
inline constexpr double kMinPerDay = 1440.0;
inline constexpr double kSecPerDay = 86400.0;
inline constexpr double kSecPerMin = 60.0;

// 3-vectors.
inline double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline double norm(const Vec3& a) { return std::sqrt(dot(a, a)); }
inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline Vec3 scaled(const Vec3& v, double k) { return {v[0] * k, v[1] * k, v[2] * k}; }
inline Vec3 added(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
inline Vec3 subtracted(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
// Unit vector of a; the zero vector for a zero vector.
inline Vec3 unitVector(const Vec3& a) {
  const double m = norm(a);
  const double inv = m > 0.0 ? 1.0 / m : 0.0;
  return scaled(a, inv);
}
inline Vec3 toVec3(const double* p) { return {p[0], p[1], p[2]}; }

// 3x3 matrices.
inline Vec3 mulMatVec(const Mat3& m, const Vec3& v) {
  return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
          m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}
// m^T v.
inline Vec3 mulMatTVec(const Mat3& m, const Vec3& v) {
  return {m[0][0] * v[0] + m[1][0] * v[1] + m[2][0] * v[2], m[0][1] * v[0] + m[1][1] * v[1] + m[2][1] * v[2],
          m[0][2] * v[0] + m[1][2] * v[1] + m[2][2] * v[2]};
}
inline Mat3 mulMat(const Mat3& a, const Mat3& b) {
  Mat3 out{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) out[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
  return out;
}
inline Mat3 transposed(const Mat3& m) {
  return {{{m[0][0], m[1][0], m[2][0]}, {m[0][1], m[1][1], m[2][1]}, {m[0][2], m[1][2], m[2][2]}}};
}
inline Mat3 identity3() { return {{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}}; }

// Square row-major matrices of order N.
template <size_t N>
MatN<N> identity() {
  MatN<N> m{};
  for (size_t i = 0; i < N; ++i) m[i * N + i] = 1.0;
  return m;
}

// a b, a b^T and a^T b.
template <size_t N>
MatN<N> mulMat(const MatN<N>& a, const MatN<N>& b) {
  MatN<N> out;
  for (size_t i = 0; i < N; ++i)
    for (size_t j = 0; j < N; ++j) {
      double s = 0.0;
      for (size_t k = 0; k < N; ++k) s += a[i * N + k] * b[k * N + j];
      out[i * N + j] = s;
    }
  return out;
}
template <size_t N>
MatN<N> mulMatBt(const MatN<N>& a, const MatN<N>& b) {
  MatN<N> out;
  for (size_t i = 0; i < N; ++i)
    for (size_t j = 0; j < N; ++j) {
      double s = 0.0;
      for (size_t k = 0; k < N; ++k) s += a[i * N + k] * b[j * N + k];
      out[i * N + j] = s;
    }
  return out;
}
template <size_t N>
MatN<N> mulMatAt(const MatN<N>& a, const MatN<N>& b) {
  MatN<N> out;
  for (size_t i = 0; i < N; ++i)
    for (size_t j = 0; j < N; ++j) {
      double s = 0.0;
      for (size_t k = 0; k < N; ++k) s += a[k * N + i] * b[k * N + j];
      out[i * N + j] = s;
    }
  return out;
}

// Which way a similarity transform turns a matrix.
enum class Similarity { kRCRt, kRtCR };

// The similarity transform R C R^T (or R^T C R) of a covariance C by a frame change R.
template <size_t N>
MatN<N> similarity(const MatN<N>& r, const MatN<N>& c, Similarity form = Similarity::kRCRt) {
  if (form == Similarity::kRtCR) return mulMat<N>(mulMatAt<N>(r, c), r);
  return mulMatBt<N>(mulMat<N>(r, c), r);
}

}  // namespace basalon
