// Propagation of a 9x9 equinoctial covariance (message order plus three further parameters) to a
// 6x6 covariance through a 6x9 transition matrix, with longitude process noise and a scale.
#pragma once

#include <span>

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

// m Phi (C + noise) Phi^T with phi row-major (6 rows of 9), m = s1^2 when s1 > 1 else 1, and
// (s2/100)^2 / m added to the mean-longitude variance C(3,3) first.
Mat6 propagateCov(std::span<const double, 54> phi, const Mat9& c, double s1, double s2);

}  // namespace pelmath
