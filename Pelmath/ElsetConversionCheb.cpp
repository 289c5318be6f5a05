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

// The solver's state through its stages: scaling, stage 1 (rank and an exact solution through
// independent rows), the first reference set, stage 2 (exchanges on the dual) and the answer.
class ChebSolver {
 public:
  ChebSolver(int m, int n, const double* a, int rowStride, const double* b, double tol, double relErr)
      : m_(m), n_(n), a_(a), rowStride_(rowStride), b_(b), tol_(tol), relErr_(relErr) {}

  ChebResult solve(double* x, double* residuals);

 private:
  double aIn(int i, int j) const { return a_[i * rowStride_ + j]; }
  bool sizesOk() const {
    return n_ >= 1 && m_ >= n_ && m_ <= kChebMaxRows && n_ <= kChebMaxCols && rowStride_ >= n_;
  }
  bool inputsFinite() const;
  void computeScales();
  void pivotUnknowns();
  void buildProblem();
  bool solvePivotRows();
  bool firstReference();
  bool exchangeToOptimum();
  bool exchangeStep(bool& optimal);
  void markDegenerateWeights();
  void fail(double* x, double* residuals, ChebResult& res) const;
  void answer(double* x, double* residuals, ChebResult& res) const;

  const int m_, n_;
  const double* a_;
  const int rowStride_;
  const double* b_;
  const double tol_, relErr_;

  double colScale_[kChebMaxCols] = {};
  double bScale_ = 0.0;
  bool rowUsed_[kChebMaxRows] = {};
  int pivRow_[kChebMaxCols] = {}, pivCol_[kChebMaxCols] = {};
  int rank_ = 0;
  Problem p_;
  double xs_[kMaxBasis] = {};  // scaled unknowns of the active columns, then h
  int ref_[kMaxBasis] = {};    // reference set: equation numbers of the dual basis
  double sgn_[kMaxBasis] = {};
  int iterations_ = 0;
  bool degenerate_ = false;
};

bool ChebSolver::inputsFinite() const {
  bool finite = sizesOk();
  for (int i = 0; finite && i < m_; ++i) {
    finite = std::isfinite(b_[i]);
    for (int j = 0; finite && j < n_; ++j) finite = std::isfinite(aIn(i, j));
  }
  return finite;
}

// The minimax solution does not change when columns or b are scaled.
void ChebSolver::computeScales() {
  bScale_ = 0.0;
  for (int i = 0; i < m_; ++i) bScale_ = std::max(bScale_, std::fabs(b_[i]));
  if (bScale_ == 0.0) bScale_ = 1.0;
  for (int j = 0; j < n_; ++j) {
    colScale_[j] = 0.0;
    for (int i = 0; i < m_; ++i) colScale_[j] = std::max(colScale_[j], std::fabs(aIn(i, j)));
  }
}

// Stage 1: complete pivoting on the scaled matrix picks independent rows and unknowns.
void ChebSolver::pivotUnknowns() {
  double work[kChebMaxRows][kChebMaxCols];
  for (int i = 0; i < m_; ++i)
    for (int j = 0; j < n_; ++j) work[i][j] = colScale_[j] > 0.0 ? aIn(i, j) / colScale_[j] : 0.0;
  bool colUsed[kChebMaxCols] = {};
  rank_ = 0;
  while (rank_ < n_) {
    int pi = -1, pj = -1;
    double best = tol_;
    for (int i = 0; i < m_; ++i) {
      if (rowUsed_[i]) continue;
      for (int j = 0; j < n_; ++j)
        if (!colUsed[j] && std::fabs(work[i][j]) > best) best = std::fabs(work[i][j]), pi = i, pj = j;
    }
    if (pi < 0) break;
    rowUsed_[pi] = colUsed[pj] = true;
    pivRow_[rank_] = pi;
    pivCol_[rank_] = pj;
    ++rank_;
    for (int i = 0; i < m_; ++i) {
      if (rowUsed_[i]) continue;
      const double f = work[i][pj] / work[pi][pj];
      for (int j = 0; j < n_; ++j) work[i][j] -= f * work[pi][j];
    }
  }
}

void ChebSolver::buildProblem() {
  p_.m = m_;
  p_.r = rank_;
  for (int i = 0; i < m_; ++i) {
    p_.b[i] = b_[i] / bScale_;
    for (int k = 0; k < rank_; ++k) p_.a[i][k] = aIn(i, pivCol_[k]) / colScale_[pivCol_[k]];
  }
}

// Exact solution through the pivot rows.
bool ChebSolver::solvePivotRows() {
  if (rank_ == 0) return true;
  double mat[kMaxBasis][kMaxBasis];
  for (int k = 0; k < rank_; ++k) {
    for (int j = 0; j < rank_; ++j) mat[k][j] = p_.a[pivRow_[k]][j];
    xs_[k] = p_.b[pivRow_[k]];
  }
  return solveSmall(rank_, mat, xs_);
}

// Reference set: the pivot rows and the row of largest residual, signed by the dual weights.
bool ChebSolver::firstReference() {
  const int rank = rank_;
  for (int k = 0; k < rank; ++k) ref_[k] = pivRow_[k];
  int extra = -1;
  double big = -1.0;
  for (int i = 0; i < m_; ++i) {
    if (rowUsed_[i]) continue;
    const double ri = std::fabs(residual(p_, i, xs_));
    if (ri > big) big = ri, extra = i;
  }
  ref_[rank] = extra;
  // Dual weights of the reference: sum w_k a_k = 0 with w_extra = 1.
  double w[kMaxBasis];
  double mat[kMaxBasis][kMaxBasis];
  for (int k = 0; k < rank; ++k) {
    for (int j = 0; j < rank; ++j) mat[j][k] = p_.a[pivRow_[k]][j];
    w[k] = -p_.a[extra][k];
  }
  const bool ok = solveSmall(rank, mat, w);
  w[rank] = 1.0;
  double obj = 0.0;
  for (int k = 0; k <= rank; ++k) obj += p_.b[ref_[k]] * w[k];
  for (int k = 0; k <= rank; ++k) {
    sgn_[k] = w[k] < 0.0 ? -1.0 : 1.0;
    if (obj < 0.0) sgn_[k] = -sgn_[k];
  }
  return ok;
}

// One simplex iteration on the dual: false when it cannot go on; optimal is set when the largest
// residual outside the reference no longer exceeds h.
bool ChebSolver::exchangeStep(bool& optimal) {
  const int rank = rank_;
  double mat[kMaxBasis][kMaxBasis];
  basisMatrix(p_, ref_, sgn_, true, mat);
  for (int k = 0; k <= rank; ++k) xs_[k] = sgn_[k] * p_.b[ref_[k]];  // s_k a_k.x + h = s_k b_k
  if (!solveSmall(rank + 1, mat, xs_)) return false;
  const double h = xs_[rank];
  int enter = -1;
  double rEnter = 0.0;
  for (int i = 0; i < m_; ++i) {
    if (std::find(ref_, ref_ + rank + 1, i) != ref_ + rank + 1) continue;
    const double ri = residual(p_, i, xs_);
    if (enter < 0 || std::fabs(ri) > std::fabs(rEnter)) enter = i, rEnter = ri;
  }
  if (enter < 0 || std::fabs(rEnter) - std::fabs(h) <= relErr_ * std::fabs(h) + tol_) {
    optimal = true;
    return false;
  }
  if (iterations_ >= 20 * m_) return false;
  // Weights of the basis and the entering column's representation in it.
  const double tau = rEnter < 0.0 ? -1.0 : 1.0;
  double wt[kMaxBasis] = {}, dir[kMaxBasis];
  wt[rank] = 1.0;
  basisMatrix(p_, ref_, sgn_, false, mat);
  if (!solveSmall(rank + 1, mat, wt)) return false;
  for (int j = 0; j < rank; ++j) dir[j] = tau * p_.a[enter][j];
  dir[rank] = 1.0;
  basisMatrix(p_, ref_, sgn_, false, mat);
  solveSmall(rank + 1, mat, dir);
  int leave = -1;
  double ratio = 0.0;
  for (int k = 0; k <= rank; ++k) {
    if (dir[k] <= tol_) continue;
    const double q = std::max(wt[k], 0.0) / dir[k];
    if (leave < 0 || q < ratio) leave = k, ratio = q;
  }
  if (leave < 0) return false;
  ref_[leave] = enter;
  sgn_[leave] = tau;
  ++iterations_;
  return true;
}

// A zero dual weight at the optimum leaves room for other solutions.
void ChebSolver::markDegenerateWeights() {
  double wt[kMaxBasis] = {};
  wt[rank_] = 1.0;
  double mat[kMaxBasis][kMaxBasis];
  basisMatrix(p_, ref_, sgn_, false, mat);
  solveSmall(rank_ + 1, mat, wt);
  for (int k = 0; k <= rank_; ++k) degenerate_ = degenerate_ || wt[k] <= tol_;
}

// Stage 2: exchanges until the optimum; false when stopped early.
bool ChebSolver::exchangeToOptimum() {
  bool optimal = false;
  while (exchangeStep(optimal)) {
  }
  if (!optimal) return false;
  markDegenerateWeights();
  return true;
}

void ChebSolver::fail(double* x, double* residuals, ChebResult& res) const {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  if (sizesOk()) {
    for (int j = 0; j < n_; ++j) x[j] = nan;
    if (residuals != nullptr)
      for (int i = 0; i < m_; ++i) residuals[i] = nan;
  }
  res.maxResidual = nan;
  res.code = kChebStopped;
}

// Unknowns back to the caller's scale; residuals of the original system.
void ChebSolver::answer(double* x, double* residuals, ChebResult& res) const {
  for (int j = 0; j < n_; ++j) x[j] = 0.0;
  for (int k = 0; k < rank_; ++k) x[pivCol_[k]] = xs_[k] * bScale_ / colScale_[pivCol_[k]];
  res.maxResidual = 0.0;
  for (int i = 0; i < m_; ++i) {
    double s = b_[i];
    for (int j = 0; j < n_; ++j) s -= aIn(i, j) * x[j];
    if (residuals != nullptr) residuals[i] = s;
    res.maxResidual = std::max(res.maxResidual, std::fabs(s));
  }
  res.code = degenerate_ ? kChebNotUnique : kChebUnique;
}

ChebResult ChebSolver::solve(double* x, double* residuals) {
  ChebResult res;
  if (!inputsFinite()) {
    fail(x, residuals, res);
    return res;
  }
  computeScales();
  pivotUnknowns();
  res.rank = rank_;
  buildProblem();
  degenerate_ = rank_ < n_;
  bool ok = solvePivotRows();
  if (ok && rank_ < m_) ok = firstReference() && exchangeToOptimum();
  res.iterations = iterations_;
  if (ok)
    answer(x, residuals, res);
  else
    fail(x, residuals, res);
  return res;
}

}  // namespace

ChebResult cheb(int m, int n, const double* a, int rowStride, const double* b, double tol, double relErr,
                double* x, double* residuals) {
  return ChebSolver(m, n, a, rowStride, b, tol, relErr).solve(x, residuals);
}

}  // namespace pelmath
