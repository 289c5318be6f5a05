// Covariance propagation through a caller-supplied transition matrix.
#include "Pelmath/CovariancePropagation.h"

#include <algorithm>

namespace pelmath {

void propcov(const double phi[54], const double c[81], double out[36], double s1, double s2) {
  double cn[81];
  std::copy(c, c + 81, cn);
  const double m = s1 > 1.0 ? s1 * s1 : 1.0;
  const double noise = s2 / 100.0;
  cn[2 * 9 + 2] += noise * noise / m;  // variance of the mean longitude
  double tmp[54];                       // Phi C', 6 x 9
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 9; ++j) {
      double s = 0.0;
      for (int k = 0; k < 9; ++k) s += phi[i * 9 + k] * cn[k * 9 + j];
      tmp[i * 9 + j] = s;
    }
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      double s = 0.0;
      for (int k = 0; k < 9; ++k) s += tmp[i * 9 + k] * phi[j * 9 + k];
      out[i * 6 + j] = m * s;
    }
}

}  // namespace pelmath
