// Inline 3-vector products for the element conversions' inner loops (plain double arrays), so the
// hot state <-> element paths make no out-of-line call per product.
#pragma once

#include <cmath>

namespace pelmath::vec {

inline double dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

inline double mag(const double* a) { return std::sqrt(dot(a, a)); }

// c = a x b; c may alias a or b.
inline void cross(double* c, const double* a, const double* b) {
  const double x = a[1] * b[2] - a[2] * b[1];
  const double y = a[2] * b[0] - a[0] * b[2];
  const double z = a[0] * b[1] - a[1] * b[0];
  c[0] = x;
  c[1] = y;
  c[2] = z;
}

}  // namespace pelmath::vec
