// Linear Chebyshev (minimax) solution of an overdetermined system, after Barrodale and Phillips
// (ACM TOMS 1975): the simplex method applied to the dual of the Chebyshev linear programme.
//
// Primal: minimise h subject to -h <= b_i - a_i.x <= h. Dual: maximise sum b_i w_i subject to
// sum a_i w_i = 0 and sum |w_i| = 1. A basis of the dual is a reference set of rank+1 equations
// with signs s_k; its simplex multipliers are (x, h) with a_k.x + s_k h = b_k. Stage 1 pivots the
// unknowns in (Gauss-Jordan with complete pivoting, which also finds the rank); stage 2 brings in
// the equation of largest residual while it exceeds h, the leaving one chosen by the ratio test.
#include <algorithm>
#include <cmath>
#include <limits>

#include "Pelmath/ElsetConversion.h"

namespace pelmath {

namespace {

constexpr int kMaxBasis = kChebMaxCols + 1;

// Solves the k x k row-major system (leading dimension kMaxBasis) by Gaussian elimination with
// partial pivoting; mat and rhs are destroyed, the solution replaces rhs. False when singular.
bool solveSmall(int k, double (*mat)[kMaxBasis], double* rhs) {
  for (int c = 0; c < k; ++c) {
    int piv = c;
    for (int r = c + 1; r < k; ++r)
      if (std::fabs(mat[r][c]) > std::fabs(mat[piv][c])) piv = r;
    if (!(std::fabs(mat[piv][c]) > 0.0)) return false;
    if (piv != c) {
      std::swap_ranges(mat[c], mat[c] + k, mat[piv]);
      std::swap(rhs[c], rhs[piv]);
    }
    for (int r = c + 1; r < k; ++r) {
      const double f = mat[r][c] / mat[c][c];
      if (f == 0.0) continue;
      for (int j = c; j < k; ++j) mat[r][j] -= f * mat[c][j];
      rhs[r] -= f * rhs[c];
    }
  }
  for (int c = k - 1; c >= 0; --c) {
    double s = rhs[c];
    for (int j = c + 1; j < k; ++j) s -= mat[c][j] * rhs[j];
    rhs[c] = s / mat[c][c];
  }
  return true;
}

// The scaled problem: columns scaled to unit maximum, right-hand side to unit maximum.
struct Problem {
  int m = 0, r = 0;                           // rows, rank (active unknowns)
  double a[kChebMaxRows][kChebMaxCols] = {};  // active columns only
  double b[kChebMaxRows] = {};
};

// Basis matrix of the dual: column k is (s_k a_ref[k], 1); transposed when `transposed`, whose
// rows give the multipliers (x, h).
void basisMatrix(const Problem& p, const int* ref, const double* sgn, bool transposed,
                 double (*mat)[kMaxBasis]) {
  const int k = p.r + 1;
  for (int c = 0; c < k; ++c) {
    for (int j = 0; j < p.r; ++j) {
      const double v = sgn[c] * p.a[ref[c]][j];
      (transposed ? mat[c][j] : mat[j][c]) = v;
    }
    (transposed ? mat[c][p.r] : mat[p.r][c]) = 1.0;
  }
}

double residual(const Problem& p, int i, const double* x) {
  double s = p.b[i];
  for (int j = 0; j < p.r; ++j) s -= p.a[i][j] * x[j];
  return s;
}

}  // namespace

ChebResult cheb(int m, int n, const double* a, int rowStride, const double* b, double tol, double relErr,
                double* x, double* residuals) {
  ChebResult res;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const bool sizesOk = n >= 1 && m >= n && m <= kChebMaxRows && n <= kChebMaxCols && rowStride >= n;
  bool finite = sizesOk;
  for (int i = 0; finite && i < m; ++i) {
    finite = std::isfinite(b[i]);
    for (int j = 0; finite && j < n; ++j) finite = std::isfinite(a[i * rowStride + j]);
  }
  if (!finite) {
    for (int j = 0; sizesOk && j < n; ++j) x[j] = nan;
    if (residuals != nullptr)
      for (int i = 0; sizesOk && i < m; ++i) residuals[i] = nan;
    res.maxResidual = nan;
    return res;
  }

  // Scaling: the minimax solution does not change when columns or b are scaled.
  double colScale[kChebMaxCols];
  double bScale = 0.0;
  for (int i = 0; i < m; ++i) bScale = std::max(bScale, std::fabs(b[i]));
  if (bScale == 0.0) bScale = 1.0;
  for (int j = 0; j < n; ++j) {
    colScale[j] = 0.0;
    for (int i = 0; i < m; ++i) colScale[j] = std::max(colScale[j], std::fabs(a[i * rowStride + j]));
  }

  // Stage 1: complete pivoting on the scaled matrix picks independent rows and unknowns.
  double work[kChebMaxRows][kChebMaxCols];
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < n; ++j) work[i][j] = colScale[j] > 0.0 ? a[i * rowStride + j] / colScale[j] : 0.0;
  bool rowUsed[kChebMaxRows] = {}, colUsed[kChebMaxCols] = {};
  int pivRow[kChebMaxCols], pivCol[kChebMaxCols];
  int rank = 0;
  while (rank < n) {
    int pi = -1, pj = -1;
    double best = tol;
    for (int i = 0; i < m; ++i) {
      if (rowUsed[i]) continue;
      for (int j = 0; j < n; ++j)
        if (!colUsed[j] && std::fabs(work[i][j]) > best) best = std::fabs(work[i][j]), pi = i, pj = j;
    }
    if (pi < 0) break;
    rowUsed[pi] = colUsed[pj] = true;
    pivRow[rank] = pi;
    pivCol[rank] = pj;
    ++rank;
    for (int i = 0; i < m; ++i) {
      if (rowUsed[i]) continue;
      const double f = work[i][pj] / work[pi][pj];
      for (int j = 0; j < n; ++j) work[i][j] -= f * work[pi][j];
    }
  }
  res.rank = rank;

  Problem p;
  p.m = m;
  p.r = rank;
  for (int i = 0; i < m; ++i) {
    p.b[i] = b[i] / bScale;
    for (int k = 0; k < rank; ++k) p.a[i][k] = a[i * rowStride + pivCol[k]] / colScale[pivCol[k]];
  }

  double xs[kMaxBasis] = {};  // scaled unknowns of the active columns, then h
  double h = 0.0;
  bool ok = true;
  bool degenerate = rank < n;
  if (rank > 0) {
    // Exact solution through the pivot rows.
    double mat[kMaxBasis][kMaxBasis];
    for (int k = 0; k < rank; ++k) {
      for (int j = 0; j < rank; ++j) mat[k][j] = p.a[pivRow[k]][j];
      xs[k] = p.b[pivRow[k]];
    }
    ok = solveSmall(rank, mat, xs);
  }

  if (ok && rank < m) {
    // Reference set: the pivot rows and the row of largest residual.
    int ref[kMaxBasis];
    double sgn[kMaxBasis];
    for (int k = 0; k < rank; ++k) ref[k] = pivRow[k];
    int extra = -1;
    double big = -1.0;
    for (int i = 0; i < m; ++i) {
      if (rowUsed[i]) continue;
      const double ri = std::fabs(residual(p, i, xs));
      if (ri > big) big = ri, extra = i;
    }
    ref[rank] = extra;
    // Dual weights of the reference: sum w_k a_k = 0 with w_extra = 1.
    double w[kMaxBasis];
    {
      double mat[kMaxBasis][kMaxBasis];
      for (int k = 0; k < rank; ++k) {
        for (int j = 0; j < rank; ++j) mat[j][k] = p.a[pivRow[k]][j];
        w[k] = -p.a[extra][k];
      }
      ok = solveSmall(rank, mat, w);
      w[rank] = 1.0;
    }
    double obj = 0.0;
    for (int k = 0; k <= rank; ++k) obj += p.b[ref[k]] * w[k];
    for (int k = 0; k <= rank; ++k) {
      sgn[k] = w[k] < 0.0 ? -1.0 : 1.0;
      if (obj < 0.0) sgn[k] = -sgn[k];
    }

    // Stage 2: simplex iterations on the dual.
    const int maxIter = 20 * m;
    bool optimal = false;
    while (ok) {
      double mat[kMaxBasis][kMaxBasis];
      basisMatrix(p, ref, sgn, true, mat);
      for (int k = 0; k <= rank; ++k) xs[k] = sgn[k] * p.b[ref[k]];  // s_k a_k.x + h = s_k b_k
      if (!solveSmall(rank + 1, mat, xs)) {
        ok = false;
        break;
      }
      h = xs[rank];
      int enter = -1;
      double rEnter = 0.0;
      for (int i = 0; i < m; ++i) {
        if (std::find(ref, ref + rank + 1, i) != ref + rank + 1) continue;
        const double ri = residual(p, i, xs);
        if (enter < 0 || std::fabs(ri) > std::fabs(rEnter)) enter = i, rEnter = ri;
      }
      if (enter < 0 || std::fabs(rEnter) - std::fabs(h) <= relErr * std::fabs(h) + tol) {
        optimal = true;
        break;
      }
      if (res.iterations >= maxIter) break;
      // Weights of the basis and the entering column's representation in it.
      const double tau = rEnter < 0.0 ? -1.0 : 1.0;
      double wt[kMaxBasis] = {}, dir[kMaxBasis];
      wt[rank] = 1.0;
      basisMatrix(p, ref, sgn, false, mat);
      if (!solveSmall(rank + 1, mat, wt)) {
        ok = false;
        break;
      }
      for (int j = 0; j < rank; ++j) dir[j] = tau * p.a[enter][j];
      dir[rank] = 1.0;
      basisMatrix(p, ref, sgn, false, mat);
      solveSmall(rank + 1, mat, dir);
      int leave = -1;
      double ratio = 0.0;
      for (int k = 0; k <= rank; ++k) {
        if (dir[k] <= tol) continue;
        const double q = std::max(wt[k], 0.0) / dir[k];
        if (leave < 0 || q < ratio) leave = k, ratio = q;
      }
      if (leave < 0) {
        ok = false;
        break;
      }
      ref[leave] = enter;
      sgn[leave] = tau;
      ++res.iterations;
    }
    if (optimal) {
      // A zero dual weight leaves room for other solutions.
      double wt[kMaxBasis] = {};
      wt[rank] = 1.0;
      double mat[kMaxBasis][kMaxBasis];
      basisMatrix(p, ref, sgn, false, mat);
      solveSmall(rank + 1, mat, wt);
      for (int k = 0; k <= rank; ++k) degenerate = degenerate || wt[k] <= tol;
    } else {
      ok = false;
    }
  }

  if (!ok) {
    for (int j = 0; j < n; ++j) x[j] = nan;
    if (residuals != nullptr)
      for (int i = 0; i < m; ++i) residuals[i] = nan;
    res.maxResidual = nan;
    res.code = 2;
    return res;
  }

  for (int j = 0; j < n; ++j) x[j] = 0.0;
  for (int k = 0; k < rank; ++k) x[pivCol[k]] = xs[k] * bScale / colScale[pivCol[k]];
  res.maxResidual = 0.0;
  for (int i = 0; i < m; ++i) {
    double s = b[i];
    for (int j = 0; j < n; ++j) s -= a[i * rowStride + j] * x[j];
    if (residuals != nullptr) residuals[i] = s;
    res.maxResidual = std::max(res.maxResidual, std::fabs(s));
  }
  res.code = degenerate ? 0 : 1;
  return res;
}

}  // namespace pelmath
