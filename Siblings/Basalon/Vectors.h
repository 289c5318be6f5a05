// Small vector, angle and matrix routines on plain double arrays (3-vectors, row-major matrices).
#pragma once

#include <cstddef>

namespace basalon {

// Angle reduced into [0, 2pi).
double fmod2p(double x);
// Four-quadrant angle of the point (x, y) in [0, 2pi); 0 for the origin.
double actan(double y, double x);
// Tolerance of eqr: absolute below 1, relative above.
inline constexpr double kEqrTolerance = 1e-12;
// Whether two doubles agree / differ within the library tolerance (1e-12, relative above 1).
// Inline: interpolation and element code call them in their innermost loops.
inline bool eqr(double a, double b) {
  const double fa = a < 0 ? -a : a, fb = b < 0 ? -b : b;
  double scale = fa > fb ? fa : fb;
  if (!(scale > 1.0)) scale = 1.0;
  const double diff = a - b;
  return (diff < 0 ? -diff : diff) <= kEqrTolerance * scale;
}
inline bool neqr(double a, double b) { return !eqr(a, b); }
// Real cube root (negative for negative x).
double cubrt(double x);
// 1/x, with x kept at least 1e-30 away from zero (sign kept; +1e30 for x = 0).
double serexp(double x);

double dot(const double a[3], const double b[3]);
// Length of a 3-vector.
double mag(const double a[3]);
// Unit vector of a; a zero vector gives the zero vector. Returns the length of a.
double unitvec(const double a[3], double u[3]);
// c = a x b; c may alias a or b.
void cross(double c[3], const double a[3], const double b[3]);
// Angle between two vectors in [0, pi], radians; 0 when either is zero.
double angleof2vecs(const double a[3], const double b[3]);
// Rotation of v about coordinate axis (1 x, 2 y, 3 z) by angle (radians) in the passive sense
// (the frame turns by angle, so the vector's components turn by -angle); out may alias v.
void rotate(int axis, double angle, const double v[3], double out[3]);

// Inverse of the n x n row-major matrix a (n <= 9) by Gauss-Jordan elimination with partial
// pivoting. Returns 0, or 1 when the matrix is singular (ainv then all zeros). ainv may alias a.
int minv(const double* a, int n, double* ainv);
// Row-major symmetric n x n matrix <-> packed lower triangle row by row: (1,1), (2,1), (2,2), ...
void lta2sqrmtx(const double* lta, int n, double* sq);
void sqrmtx2lta(const double* sq, int n, double* lta);
// Index into the packed lower triangle of element (row i, column j), 0-based, either order.
constexpr int ltaIndex(int i, int j) { return i >= j ? i * (i + 1) / 2 + j : j * (j + 1) / 2 + i; }

}  // namespace basalon
