// The linear Chebyshev solver on systems with closed-form minimax solutions, the fit span, and
// the SGP4 -> SGP drag conversion against the first-order drag of the SGP4 C2 coefficient.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/ElsetConversion.h"
#include "Pelmath/Units.h"
#include "PelmathApi/Elements.h"
#include "Siblings/Planix/Planix.h"

namespace {

using pelmath::cheb;
using pelmath::ChebResult;

constexpr double kTol = 1e-12;

TEST(Chebyshev, ConstantFitIsTheMidrange) {
  const double a[5] = {1, 1, 1, 1, 1};
  const double b[5] = {3.0, -1.0, 7.0, 2.0, 5.0};
  double x[1], res[5];
  const ChebResult r = cheb(5, 1, a, 1, b, kTol, 0.0, x, res);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.rank, 1);
  EXPECT_NEAR(x[0], 3.0, 1e-14);  // (7 + (-1)) / 2
  EXPECT_NEAR(r.maxResidual, 4.0, 1e-14);
  EXPECT_NEAR(res[2], 4.0, 1e-14);
  EXPECT_NEAR(res[1], -4.0, 1e-14);
}

TEST(Chebyshev, LineThroughThreePointsEquioscillates) {
  // y = c0 + c1 t at t = 0, 1, 3 with y = 1, 3, 2: residuals -h, +h, -h give c1 = 1/3,
  // c0 = 11/6, h = 5/6.
  const double a[6] = {1, 0, 1, 1, 1, 3};
  const double b[3] = {1.0, 3.0, 2.0};
  double x[2], res[3];
  const ChebResult r = cheb(3, 2, a, 2, b, kTol, 0.0, x, res);
  EXPECT_EQ(r.code, 1);
  EXPECT_NEAR(x[0], 11.0 / 6.0, 1e-14);
  EXPECT_NEAR(x[1], 1.0 / 3.0, 1e-14);
  EXPECT_NEAR(r.maxResidual, 5.0 / 6.0, 1e-14);
  EXPECT_NEAR(res[0], -res[1], 1e-14);
  EXPECT_NEAR(res[0], res[2], 1e-14);
}

TEST(Chebyshev, BestLineToAParabola) {
  // The minimax line to t^2 on [0, 1] is t - 1/8, error 1/8 at t = 0, 1/2, 1.
  std::vector<double> a, b;
  for (int k = 0; k <= 10; ++k) {
    const double t = 0.1 * k;
    a.insert(a.end(), {1.0, t});
    b.push_back(t * t);
  }
  double x[2];
  const ChebResult r = cheb(11, 2, a.data(), 2, b.data(), kTol, 0.0, x);
  EXPECT_EQ(r.code, 1);
  EXPECT_NEAR(x[0], -0.125, 1e-14);
  EXPECT_NEAR(x[1], 1.0, 1e-14);
  EXPECT_NEAR(r.maxResidual, 0.125, 1e-14);
}

// De la Vallee Poussin: the minimax error of m equations in 2 unknowns is the largest minimax error
// of any 3 of them, |sum l_k b_k| / sum |l_k| with l the null vector of those rows (l = c0 x c1).
TEST(Chebyshev, MatchesTheBestReferenceOfRandomSystems) {
  unsigned seed = 12345u;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return ((seed >> 8) & 0xFFFF) / 32768.0 - 1.0;
  };
  for (int trial = 0; trial < 50; ++trial) {
    const int m = 4 + trial % 6;
    std::vector<double> a(2 * m), b(m);
    for (int i = 0; i < m; ++i) a[2 * i] = next(), a[2 * i + 1] = next(), b[i] = next();
    double best = 0.0;
    for (int i = 0; i < m; ++i)
      for (int j = i + 1; j < m; ++j)
        for (int k = j + 1; k < m; ++k) {
          const int r[3] = {i, j, k};
          double l[3], num = 0.0, den = 0.0;
          for (int q = 0; q < 3; ++q) {
            const int u = r[(q + 1) % 3], w = r[(q + 2) % 3];
            l[q] = a[2 * u] * a[2 * w + 1] - a[2 * w] * a[2 * u + 1];
            num += l[q] * b[r[q]];
            den += std::fabs(l[q]);
          }
          if (den > 1e-9) best = std::max(best, std::fabs(num) / den);
        }
    double x[2];
    const ChebResult res = cheb(m, 2, a.data(), 2, b.data(), kTol, 0.0, x);
    EXPECT_NE(res.code, 2) << trial;
    EXPECT_NEAR(res.maxResidual, best, 1e-12) << trial;
  }
}

TEST(Chebyshev, RankDeficientSquareAndBadInput) {
  // Two equal columns: rank 1, the minimax residual is still that of a constant fit.
  const double dup[6] = {1, 1, 1, 1, 1, 1};
  const double b3[3] = {0.0, 2.0, 10.0};
  double x[2];
  ChebResult r = cheb(3, 2, dup, 2, b3, kTol, 0.0, x);
  EXPECT_EQ(r.rank, 1);
  EXPECT_EQ(r.code, 0);
  EXPECT_NEAR(x[0] + x[1], 5.0, 1e-13);
  EXPECT_NEAR(r.maxResidual, 5.0, 1e-13);
  // As many equations as unknowns: solved exactly.
  const double sq[4] = {2, 1, 1, 3};
  const double b2[2] = {3.0, 5.0};
  r = cheb(2, 2, sq, 2, b2, kTol, 0.0, x);
  EXPECT_NEAR(x[0], 0.8, 1e-14);
  EXPECT_NEAR(x[1], 1.4, 1e-14);
  EXPECT_NEAR(r.maxResidual, 0.0, 1e-14);
  // Non-finite input or too few equations: code 2 and NaN, no crash.
  const double bn[3] = {0.0, std::nan(""), 1.0};
  r = cheb(3, 2, dup, 2, bn, kTol, 0.0, x);
  EXPECT_EQ(r.code, 2);
  EXPECT_TRUE(std::isnan(x[0]));
  EXPECT_EQ(cheb(1, 2, dup, 2, b3, kTol, 0.0, x).code, 2);
}

TEST(Chebyshev, RecoversAnExactCubicOnTheFitScale) {
  // The drift fit's design rows (t^2, t^3) over 43200 minutes span 13 orders of magnitude.
  pelmath::DriftSamples s;
  const double c1 = 3.1e-9, c2 = -4.7e-14;
  for (int k = 0; k < 4; ++k) {
    const double t = k * 14400.0;
    s.design[k] = {t * t, t * t * t};
    s.samples[k] = c1 * t * t + c2 * t * t * t;
  }
  const std::array<double, 2> x = pelmath::meth15(s);
  EXPECT_NEAR(x[0], c1, 1e-12 * std::fabs(c1));
  EXPECT_NEAR(x[1], c2, 1e-10 * std::fabs(c2));
}

TEST(FitSpan, ByPeriodAndDragRate) {
  const double twoPi = pelmath::kTwoPi;
  EXPECT_EQ(pelmath::odie(1e-9, twoPi / 700.0), 21600.0);
  EXPECT_EQ(pelmath::odie(1e-9, twoPi / 900.0), 43200.0);
  EXPECT_EQ(pelmath::odie(1e-9, twoPi / 800.001), 43200.0);
  EXPECT_EQ(pelmath::odie(1e-9, twoPi / 799.999), 21600.0);
  EXPECT_EQ(pelmath::odie(1e-9, twoPi / 600.001), 21600.0);
  EXPECT_LT(pelmath::odie(1e-9, twoPi / 599.999), 21600.0);
  const double n = twoPi / 95.0;
  EXPECT_EQ(pelmath::odie(0.0, n), 14400.0);
  const double rate = 1e-9;
  EXPECT_NEAR(pelmath::odie(rate, n), 1188.23 * (-11.51 - std::log(2.0 * rate / n)) + 720.0, 1e-9);
  EXPECT_EQ(pelmath::odie(1.0, n), 720.0);  // heavy drag: the shortest span
}

TEST(Sgp4ToSgp, ZeroBstarAndUnknownCodes) {
  double nd = -1, ndd = -1;
  pelmath::sgp42sgp(7000.0, 0.01, 50.0, 0.0, nd, ndd);
  EXPECT_EQ(nd, 0.0);
  EXPECT_EQ(ndd, 0.0);
  const double in[4] = {7000.0, 0.01, 50.0, 1e-4};
  double out[2] = {-7.0, -8.0};
  AstroConvFrTo(100, in, out);
  EXPECT_EQ(out[0], -7.0);
  EXPECT_EQ(out[1], -8.0);
  AstroConvFrTo(101, in, out);
  pelmath::sgp42sgp(7000.0, 0.01, 50.0, 1e-4, nd, ndd);
  EXPECT_EQ(out[0], nd);
  EXPECT_EQ(out[1], ndd);
}

// The fitted ndot/2 is, to first order in the drag, 1.5 n C2 B*: the value the B* <-> ndot
// conversion gives from the same elements.
TEST(Sgp4ToSgp, FirstOrderDragAgreesWithC2) {
  const double radius = planix::genvgeo().earthRadius;
  for (double hp : {350.0, 600.0}) {
    const double e = 0.002, inclDeg = 51.6, bstar = 5e-5;
    const double a = (radius + hp) / (1.0 - e);
    double nd = 0, ndd = 0;
    pelmath::sgp42sgp(a, e, inclDeg, bstar, nd, ndd);
    const pelmath::Elset kep{a / radius, e, inclDeg * pelmath::kDegToRad, 0.0, 0.0, 0.0};
    const double expect = pelmath::bstar2ndot(bstar, pelmath::kep2eqnx(kep)) * pelmath::kRadMin2ToRevDay2;
    EXPECT_GT(nd, 0.0);
    EXPECT_NEAR(nd, expect, 0.02 * expect) << hp;
    EXPECT_GT(ndd, 0.0);  // drag speeds up the decay
  }
}

TEST(Sgp4ToSgp, LowPerigeeDropsTheHigherDragTerms) {
  // Under 220 km the drift is n B* t^2 (1.5 C + 2 C^2 u + 2.5 C^3 u^2 + 3 C^4 u^3), u = B* t.
  const double radius = planix::genvgeo().earthRadius;
  const double e = 0.01, incl = 0.5, bstar = 2e-4;
  const double a = (1.0 + 200.0 / radius) / (1.0 - e);
  const pelmath::DriftSamples s = pelmath::meth13(a, e, incl, bstar);
  const double c = pelmath::computecc2(pelmath::Elset{a, e, incl, 0.0, 0.0, 0.0});
  const double n = pelmath::a2n(a);
  EXPECT_EQ(s.samples[0], 0.0);
  for (int k = 1; k < 4; ++k) {
    const double t = std::sqrt(s.design[k][0]), u = bstar * t;
    const double expect =
        n * bstar * t * t * (1.5 * c + u * (2 * c * c + u * (2.5 * c * c * c + u * 3 * c * c * c * c)));
    EXPECT_NEAR(s.samples[k], expect, 1e-12 * expect) << k;
  }
}

TEST(Sgp4ToSgp, NonFiniteInputGivesNaNWithoutCrashing) {
  const double in[4] = {std::nan(""), 0.01, 50.0, 1e-4};
  double out[2] = {0, 0};
  AstroConvFrTo(101, in, out);
  EXPECT_TRUE(std::isnan(out[0]));
  EXPECT_TRUE(std::isnan(out[1]));
}

}  // namespace
