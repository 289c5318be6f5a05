// Vector, angle and matrix routines shared by every library.
#include "Siblings/Basalon/Vectors.h"

#include <algorithm>
#include <cmath>

#include "Siblings/Basalon/ValueTypes.h"

namespace basalon {

double fmod2p(double x) {
  double r = std::fmod(x, kTwoPi);
  if (r < 0.0) r += kTwoPi;
  return r >= kTwoPi ? 0.0 : r;
}

double actan(double y, double x) {
  if (x == 0.0 && y == 0.0) return 0.0;
  return fmod2p(std::atan2(y, x));
}

double cubrt(double x) { return std::cbrt(x); }

double serexp(double x) {
  constexpr double kTiny = 1e-30;
  if (std::fabs(x) < kTiny) return x < 0.0 ? -1.0 / kTiny : 1.0 / kTiny;
  return 1.0 / x;
}

// The double[3] forms below are the host-array face of the value-type products in ValueTypes.h.
double dot(const double a[3], const double b[3]) { return dot(toVec3(a), toVec3(b)); }

double mag(const double a[3]) { return norm(toVec3(a)); }

double unitvec(const double a[3], double u[3]) {
  const Vec3 v = toVec3(a);
  const Vec3 unit = unitVector(v);
  std::copy(unit.begin(), unit.end(), u);
  return norm(v);
}

void cross(double c[3], const double a[3], const double b[3]) {
  const Vec3 product = cross(toVec3(a), toVec3(b));  // computed before c, which may alias a or b
  std::copy(product.begin(), product.end(), c);
}

double angleof2vecs(const double a[3], const double b[3]) {
  const double ma = mag(a), mb = mag(b);
  if (ma == 0.0 || mb == 0.0) return 0.0;
  // atan2 of |a x b| and a.b keeps full precision near 0 and pi.
  double c[3];
  cross(c, a, b);
  return std::atan2(mag(c), dot(a, b));
}

void rotate(int axis, double angle, const double v[3], double out[3]) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double x = v[0], y = v[1], z = v[2];
  switch (axis) {
    case 1:
      out[0] = x;
      out[1] = c * y + s * z;
      out[2] = -s * y + c * z;
      break;
    case 2:
      out[0] = c * x - s * z;
      out[1] = y;
      out[2] = s * x + c * z;
      break;
    default:
      out[0] = c * x + s * y;
      out[1] = -s * x + c * y;
      out[2] = z;
      break;
  }
}

int minv(const double* a, int n, double* ainv) {
  constexpr int kMax = 9;
  if (n < 1 || n > kMax) return 1;
  double w[kMax][2 * kMax];
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      w[i][j] = a[i * n + j];
      w[i][n + j] = i == j ? 1.0 : 0.0;
    }
  double scale = 0.0;
  for (int i = 0; i < n * n; ++i) scale = std::max(scale, std::fabs(a[i]));
  const double tiny = scale * 1e-15 * n;
  for (int col = 0; col < n; ++col) {
    int piv = col;
    for (int r = col + 1; r < n; ++r)
      if (std::fabs(w[r][col]) > std::fabs(w[piv][col])) piv = r;
    if (!(std::fabs(w[piv][col]) > tiny)) {
      std::fill(ainv, ainv + n * n, 0.0);
      return 1;
    }
    if (piv != col)
      for (int j = 0; j < 2 * n; ++j) std::swap(w[piv][j], w[col][j]);
    const double inv = 1.0 / w[col][col];
    for (int j = 0; j < 2 * n; ++j) w[col][j] *= inv;
    for (int r = 0; r < n; ++r) {
      if (r == col || w[r][col] == 0.0) continue;
      const double f = w[r][col];
      for (int j = 0; j < 2 * n; ++j) w[r][j] -= f * w[col][j];
    }
  }
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) ainv[i * n + j] = w[i][n + j];
  return 0;
}

void lta2sqrmtx(const double* lta, int n, double* sq) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j <= i; ++j) sq[i * n + j] = sq[j * n + i] = lta[ltaIndex(i, j)];
}

void sqrmtx2lta(const double* sq, int n, double* lta) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j <= i; ++j) lta[ltaIndex(i, j)] = sq[i * n + j];
}

}  // namespace basalon
