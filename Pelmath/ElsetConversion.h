// SGP4 drag (B*) to the drag terms of SGP theory (ndot/2, nddot/6) by a minimax fit of the secular
// along-track drift of SGP4, and the linear Chebyshev (minimax) solver used for the fit.
#pragma once

#include <array>

namespace pelmath {

// Four drift samples (rad) and their 4 x 2 design matrix, rows (t^2, t^3) with t in minutes.
struct DriftSamples {
  std::array<double, 4> samples{};
  std::array<std::array<double, 2>, 4> design{};
};

// SGP4 -> SGP drag terms. a in km, i in deg, B* in 1/er -> ndot/2 (rev/day^2), nddot/6 (rev/day^3);
// both 0 when B* is exactly 0.
void sgp42sgp(double aKm, double e, double incliDeg, double bstar, double& ndotHalf, double& nddotSixth);
// Drift samples over the fit span for a (er), e, i (rad), B* (1/er), with the current constants.
DriftSamples meth13(double a, double e, double incli, double bstar);
// The minimax coefficients of the samples: ndot/2 (rad/min^2), nddot/6 (rad/min^3).
std::array<double, 2> meth15(const DriftSamples& s);
// Fit span (minutes) for a drag rate (rad/min^2) and mean motion n (rad/min).
double odie(double rate, double n);

// Codes of a Chebyshev solution: probably not unique, unique, or stopped early (rounding,
// iteration limit, sizes out of range or non-finite input; x is then NaN).
constexpr int kChebNotUnique = 0;
constexpr int kChebUnique = 1;
constexpr int kChebStopped = 2;

// Result of a Chebyshev solution of an overdetermined system.
struct ChebResult {
  int rank = 0;        // rank found for the coefficient matrix
  int iterations = 0;  // exchange (simplex) iterations
  int code = kChebStopped;
  double maxResidual = 0;
};

// Chebyshev (minimax) solution x of the m x n system A x ~ b, m >= n: minimises max |b - A x|.
// A is row-major with rowStride doubles per row; x has n entries, residuals (if not null) m.
// tol is the relative pivot/optimality tolerance; relErr > 0 accepts a solution whose largest
// residual is within that relative bound of the minimax one (0 for the exact minimax solution).
// Sizes are limited to m <= kChebMaxRows and n <= kChebMaxCols (kChebStopped otherwise).
constexpr int kChebMaxRows = 64;
constexpr int kChebMaxCols = 8;
ChebResult cheb(int m, int n, const double* a, int rowStride, const double* b, double tol, double relErr,
                double* x, double* residuals = nullptr);

}  // namespace pelmath
