// Covariance propagation through a caller-supplied transition matrix.
#include "Pelmath/CovariancePropagation.h"

namespace pelmath {

Mat6 propagateCov(std::span<const double, 54> phi, const Mat9& c, double s1, double s2) {
  Mat9 cn = c;
  const double m = s1 > 1.0 ? s1 * s1 : 1.0;
  const double noise = s2 / 100.0;
  cn[2 * 9 + 2] += noise * noise / m;  // variance of the mean longitude
  std::array<double, 54> tmp;          // Phi C', 6 x 9
  for (size_t i = 0; i < 6; ++i)
    for (size_t j = 0; j < 9; ++j) {
      double s = 0.0;
      for (size_t k = 0; k < 9; ++k) s += phi[i * 9 + k] * cn[k * 9 + j];
      tmp[i * 9 + j] = s;
    }
  Mat6 out;
  for (size_t i = 0; i < 6; ++i)
    for (size_t j = 0; j < 6; ++j) {
      double s = 0.0;
      for (size_t k = 0; k < 9; ++k) s += tmp[i * 9 + k] * phi[j * 9 + k];
      out[i * 6 + j] = m * s;
    }
  return out;
}

}  // namespace pelmath
