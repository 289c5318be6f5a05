// Matrix routines of the support library: inverse of a 6x6 and the packed lower triangle.
#include "Siblings/Basalon/Vectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace basalon;

namespace {

TEST(Vectors, InverseOfWellConditioned6x6) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (int trial = 0; trial < 20; ++trial) {
    double a[36], inv[36];
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j) a[i * 6 + j] = u(rng) + (i == j ? 8.0 : 0.0);  // diagonally dominant
    ASSERT_EQ(minv(a, 6, inv), 0);
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j) {
        double s = 0.0;
        for (int k = 0; k < 6; ++k) s += a[i * 6 + k] * inv[k * 6 + j];
        EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-12) << i << "," << j;
      }
  }
}

TEST(Vectors, SingularMatrixIsReported) {
  double a[36], inv[36];
  for (int i = 0; i < 36; ++i) a[i] = std::sin(1.0 + i);
  for (int j = 0; j < 6; ++j) a[4 * 6 + j] = 2.0 * a[1 * 6 + j];  // row 5 = 2 x row 2
  EXPECT_EQ(minv(a, 6, inv), 1);
  for (const double v : inv) EXPECT_EQ(v, 0.0);
  const double zero[4] = {0, 0, 0, 0};
  double inv2[4];
  EXPECT_EQ(minv(zero, 2, inv2), 1);
}

TEST(Vectors, PackedLowerTriangleRoundTrip) {
  for (const int n : {6, 9}) {
    double lta[45], sq[81], back[45];
    const int m = n * (n + 1) / 2;
    for (int k = 0; k < m; ++k) lta[k] = 1.0 + k;
    lta2sqrmtx(lta, n, sq);
    // Row by row: (1,1), (2,1), (2,2), (3,1), ... and the matrix is symmetric.
    EXPECT_EQ(sq[0], 1.0);
    EXPECT_EQ(sq[1 * n + 0], 2.0);
    EXPECT_EQ(sq[0 * n + 1], 2.0);
    EXPECT_EQ(sq[1 * n + 1], 3.0);
    EXPECT_EQ(sq[2 * n + 0], 4.0);
    EXPECT_EQ(sq[(n - 1) * n + (n - 1)], static_cast<double>(m));
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) EXPECT_EQ(sq[i * n + j], sq[j * n + i]);
    sqrmtx2lta(sq, n, back);
    for (int k = 0; k < m; ++k) EXPECT_EQ(back[k], lta[k]);
  }
}

}  // namespace
