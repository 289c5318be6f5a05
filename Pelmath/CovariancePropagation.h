// Propagation of a 9x9 equinoctial covariance (message order plus three further parameters) to a
// 6x6 covariance through a 6x9 transition matrix, with longitude process noise and a scale.
#pragma once

namespace pelmath {

// out = m Phi (C + noise) Phi^T with phi row-major (6 rows of 9), m = s1^2 when s1 > 1 else 1,
// and (s2/100)^2 / m added to the mean-longitude variance C(3,3) first.
void propcov(const double phi[54], const double c[81], double out[36], double s1, double s2);

}  // namespace pelmath
