// Covariance frame rotations, packing, equinoctial conversions and propagation.
#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include <Pelmath.h>

#include "Pelmath/CovarianceEquinoctial.h"
#include "Pelmath/CovarianceRotations.h"
#include "Siblings/Planix/Planix.h"
#include "common/TestSupport.h"

namespace {

using M6 = std::array<double, 36>;
using M9 = std::array<double, 81>;

// A random symmetric positive-definite n x n matrix A A^T + eps I with km / km/s like scales.
template <size_t N>
std::array<double, N> randomCov(std::mt19937& rng, int n) {
  std::normal_distribution<double> g(0.0, 1.0);
  std::vector<double> a(n * n);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) a[i * n + j] = g(rng) * (i < 3 ? 1.0 : 1e-3);
  std::array<double, N> c{};
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      double s = 0.0;
      for (int k = 0; k < n; ++k) s += a[i * n + k] * a[j * n + k];
      c[i * n + j] = s + (i == j ? 1e-9 : 0.0);
    }
  return c;
}

template <size_t N>
void expectNear(const std::array<double, N>& a, const std::array<double, N>& b, double relTol) {
  double scale = 0.0;
  for (double v : b) scale = std::max(scale, std::fabs(v));
  for (size_t i = 0; i < N; ++i) EXPECT_NEAR(a[i], b[i], relTol * scale) << "element " << i;
}

// Symmetric and positive semi-definite: a Cholesky factorisation of C + tol*max|C| I succeeds.
bool symmetricPsd(const double* c, int n) {
  double mx = 0.0;
  for (int i = 0; i < n * n; ++i) mx = std::max(mx, std::fabs(c[i]));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < i; ++j)
      if (std::fabs(c[i * n + j] - c[j * n + i]) > 1e-12 * mx) return false;
  std::vector<double> l(n * n, 0.0);
  for (int j = 0; j < n; ++j) {
    double d = c[j * n + j] + 1e-12 * mx;
    for (int k = 0; k < j; ++k) d -= l[j * n + k] * l[j * n + k];
    if (d <= 0.0) return false;
    l[j * n + j] = std::sqrt(d);
    for (int i = j + 1; i < n; ++i) {
      double s = c[i * n + j];
      for (int k = 0; k < j; ++k) s -= l[i * n + k] * l[j * n + k];
      l[i * n + j] = s / l[j * n + j];
    }
  }
  return true;
}

const double kPos[3] = {7000.0, 0.0, 0.0};
const double kVel[3] = {0.0, 7.5, 0.0};

TEST(CovariancePacking, PackUnpackRoundTripAndPositions) {
  std::mt19937 rng(7);
  const M6 c6 = randomCov<36>(rng, 6);
  double lta21[21];
  M6 back6{};
  Mtx6x6ToLTA21(c6.data(), lta21);
  LTA21ToMtx6x6(lta21, back6.data());
  EXPECT_EQ(back6, c6);
  // The first six packed values are the position block; the diagonal sits at 1, 3, 6, 10, 15, 21.
  const int firstSix[6][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {2, 2}};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(lta21[k], c6[firstSix[k][0] * 6 + firstSix[k][1]]);
  const int diag[6] = {1, 3, 6, 10, 15, 21};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(lta21[diag[i] - 1], c6[i * 6 + i]);

  const M9 c9 = randomCov<81>(rng, 9);
  double lta45[45];
  M9 back9{};
  Mtx9x9ToLTA45(c9.data(), lta45);
  LTA45ToMtx9x9(lta45, back9.data());
  EXPECT_EQ(back9, c9);
  EXPECT_EQ(lta45[27], c9[6 * 9 + 6]);
  EXPECT_EQ(lta45[35], c9[7 * 9 + 7]);
  EXPECT_EQ(lta45[44], c9[8 * 9 + 8]);
}

TEST(CovarianceRotations, AlignedUvwFrameKeepsTheDiagonal) {
  M6 uvw{}, eci{};
  uvw[0] = 1.0;
  uvw[7] = 4.0;
  uvw[14] = 9.0;
  CovMtxUVWToECI(kPos, kVel, uvw.data(), eci.data());
  expectNear(eci, uvw, 1e-15);
}

TEST(CovarianceRotations, CircularMotionMapsUToPAndVToT) {
  std::mt19937 rng(11);
  const M6 uvw = randomCov<36>(rng, 6);
  M6 ptw{}, back{};
  CovMtxUVWToPTW(kPos, kVel, uvw.data(), ptw.data());
  expectNear(ptw, uvw, 1e-14);  // r perpendicular to v: P = U, T = V
  // A tilted velocity: the round trip still returns the input.
  const double vel[3] = {1.2, 7.3, 0.4};
  CovMtxUVWToPTW(kPos, vel, uvw.data(), ptw.data());
  CovMtxPTWToUVW(kPos, vel, ptw.data(), back.data());
  expectNear(back, uvw, 1e-13);
  // A zero velocity gives the zero matrix.
  const double zero[3] = {0.0, 0.0, 0.0};
  CovMtxUVWToPTW(kPos, zero, uvw.data(), ptw.data());
  for (double v : ptw) EXPECT_EQ(v, 0.0);
}

TEST(CovarianceRotations, PtwAgreesWithThePathThroughEci) {
  std::mt19937 rng(5);
  const double pos[3] = {-4000.0, 5200.0, 2100.0};
  const double vel[3] = {-5.1, -3.2, 4.4};
  const M6 uvw = randomCov<36>(rng, 6);
  M6 ptwDirect{}, eci{}, ptwViaEci{};
  CovMtxUVWToPTW(pos, vel, uvw.data(), ptwDirect.data());
  CovMtxUVWToECI(pos, vel, uvw.data(), eci.data());
  ptwViaEci = pelmath::covXyzToPtw(pelmath::toVec3(pos), pelmath::toVec3(vel), eci);
  expectNear(ptwDirect, ptwViaEci, 1e-12);
}

TEST(CovarianceRotations, EciEfgAtThetaZeroAndRoundTrips) {
  std::mt19937 rng(3);
  const M6 eci = randomCov<36>(rng, 6);
  M6 efg{}, back{};
  CovMtxECIToEFG(eci.data(), efg.data(), 0.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_DOUBLE_EQ(efg[i * 6 + j], eci[i * 6 + j]);
  // Velocity-position block picks up omega x position terms: row x-dot gets +omega * cov(y, .).
  const double w = pelmath::kCovEarthRateRadPerSec;
  EXPECT_NEAR(efg[3 * 6 + 0], eci[3 * 6 + 0] + w * eci[1 * 6 + 0], 1e-18);
  EXPECT_NEAR(efg[4 * 6 + 0], eci[4 * 6 + 0] - w * eci[0 * 6 + 0], 1e-18);
  for (double theta : {0.0, 1.0, -2.5, 6.0}) {
    CovMtxECIToEFG(eci.data(), efg.data(), theta);
    EXPECT_TRUE(symmetricPsd(efg.data(), 6));
    CovMtxEFGToECI(efg.data(), back.data(), theta);
    expectNear(back, eci, 1e-12);
  }
}

TEST(CovarianceRotations, RotatedCovariancesStaySymmetricPsd) {
  std::mt19937 rng(19);
  const double pos[3] = {3000.0, -6000.0, 1000.0};
  const double vel[3] = {6.0, 2.5, 3.3};
  for (int trial = 0; trial < 20; ++trial) {
    const M6 c = randomCov<36>(rng, 6);
    M6 out{}, back{};
    CovMtxUVWToECI(pos, vel, c.data(), out.data());
    EXPECT_TRUE(symmetricPsd(out.data(), 6));
    CovMtxECIToUVW(pos, vel, out.data(), back.data());
    expectNear(back, c, 1e-12);
    out = pelmath::covEfgToEcr(0.3, -0.2, c);
    EXPECT_TRUE(symmetricPsd(out.data(), 6));
    back = pelmath::covEcrToEfg(0.3, -0.2, out);
    expectNear(back, c, 1e-12);
    out = pelmath::covEfgToSez(0.7, -1.9, c);
    EXPECT_TRUE(symmetricPsd(out.data(), 6));
    const M9 c9 = randomCov<81>(rng, 9);
    M9 d9{}, b9{};
    d9 = pelmath::covJ2kToDate(pelmath::PnSpectrum::kSeries, 106, 20000.25, c9);
    EXPECT_TRUE(symmetricPsd(d9.data(), 9));
    for (int i = 6; i < 9; ++i)
      for (int j = 6; j < 9; ++j) EXPECT_EQ(d9[i * 9 + j], c9[i * 9 + j]);  // further parameters untouched
    b9 = pelmath::covDateToJ2k(pelmath::PnSpectrum::kSeries, 106, 20000.25, d9);
    expectNear(b9, c9, 1e-12);
  }
}

TEST(CovarianceRotations, SezOfASiteOnTheEquatorAtZeroLongitude) {
  // At latitude 0, longitude 0: S = -z, E = y, Z = x.
  M6 efg{}, sez{};
  efg[0] = 1.0;   // x variance
  efg[7] = 4.0;   // y
  efg[14] = 9.0;  // z
  efg[2] = efg[12] = 0.5;  // cov(x, z)
  sez = pelmath::covEfgToSez(0.0, 0.0, efg);
  EXPECT_NEAR(sez[0], 9.0, 1e-15);         // S variance = z variance
  EXPECT_NEAR(sez[7], 4.0, 1e-15);         // E = y
  EXPECT_NEAR(sez[14], 1.0, 1e-15);        // Z = x
  EXPECT_NEAR(sez[0 * 6 + 2], -0.5, 1e-15);  // cov(S, Z) = cov(-z, x)
}

// ---- Equinoctial covariance ----

TEST(EquinoctialCovariance, CircularEquatorialG1Values) {
  const double mu = planix::genvgeo().muKm;
  const double vel[3] = {0.0, std::sqrt(mu / 7000.0), 0.0};
  pelmath::Mat6 g1;
  ASSERT_TRUE(pelmath::g1Jacobian(pelmath::toVec3(kPos), pelmath::toVec3(vel), g1));
  EXPECT_NEAR(g1[0 * 6 + 1], -4666.666666666667, 1e-9);  // (1,2) = -2r/3
  EXPECT_NEAR(g1[1 * 6 + 0], 7000.0, 1e-9);              // (2,1) = beta q = r
  EXPECT_NEAR(g1[0 * 6 + 0], 0.0, 1e-9);                 // e sin E = 0
  EXPECT_NEAR(g1[3 * 6 + 1], 0.0, 1e-12);                // r-dot / 3
  EXPECT_NEAR(g1[4 * 6 + 1], std::sqrt(mu / 7000.0) / 3.0, 1e-12);  // H/(3r)
}

TEST(EquinoctialCovariance, HyperbolicStateLogsOncePerCallAndGivesZeros) {
  const double vel[3] = {0.0, 12.0, 0.0};  // above escape speed at 7000 km
  std::mt19937 rng(23);
  const M9 c9 = randomCov<81>(rng, 9);
  M9 out{};
  zktest::LogWatch watch;
  CovMtxECIToEqnx(kPos, vel, c9.data(), out.data());
  EXPECT_EQ(watch.errors(), 1);
  EXPECT_EQ(zktest::LogWatch::lastError(), "G1Mat: Hyperbolic");
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) EXPECT_EQ(out[i * 9 + j], 0.0);
  for (int i = 6; i < 9; ++i) EXPECT_EQ(out[i * 9 + i], c9[i * 9 + i]);  // further block kept
  M6 c6{}, o6{};
  c6[0] = 1.0;
  CovMtxEqnxToUVW(kPos, vel, c6.data(), o6.data());
  EXPECT_EQ(watch.errors(), 2);
  for (double v : o6) EXPECT_EQ(v, 0.0);
}

TEST(EquinoctialCovariance, RoundTripsForEllipticStates) {
  std::mt19937 rng(29);
  const double states[][6] = {
      {7000.0, 0.0, 0.0, 0.0, 7.5, 0.5},            // low, slightly eccentric
      {-4000.0, 5200.0, 2100.0, -5.1, -3.2, 4.4},   // inclined
      {42164.0, 0.0, 0.0, 0.0, 3.0747, 0.0},        // GEO
      {7000.0, 0.0, 0.0, 0.0, 1.0, 9.9},            // Molniya-like near perigee
  };
  for (const auto& s : states) {
    const M6 uvw = randomCov<36>(rng, 6);
    M6 eq{}, back{};
    CovMtxUVWToEqnx(s, s + 3, uvw.data(), eq.data());
    EXPECT_TRUE(symmetricPsd(eq.data(), 6));
    CovMtxEqnxToUVW(s, s + 3, eq.data(), back.data());
    expectNear(back, uvw, 1e-9);
    const M9 eci9 = randomCov<81>(rng, 9);
    M9 eq9{}, back9{};
    CovMtxECIToEqnx(s, s + 3, eci9.data(), eq9.data());
    CovMtxEqnxToECI9x9(s, s + 3, eq9.data(), back9.data());
    expectNear(back9, eci9, 1e-9);
    // 9x9 UVW form agrees with the 6x6 form on the state block.
    M9 uvw9{};
    CovMtxEqnxToUVW9x9(s, s + 3, eq9.data(), uvw9.data());
    M6 eq6{}, uvw6{};
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j) eq6[i * 6 + j] = eq9[i * 9 + j];
    CovMtxEqnxToUVW(s, s + 3, eq6.data(), uvw6.data());
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j) EXPECT_NEAR(uvw9[i * 9 + j], uvw6[i * 6 + j], 1e-12 * (1 + std::fabs(uvw6[i * 6 + j])));
  }
}

// ---- Propagation ----

TEST(CovariancePropagation, ScaleNoiseAndTheTwoLayouts) {
  std::mt19937 rng(31);
  const M9 c = randomCov<81>(rng, 9);
  // Phi = [I6 | 0] row by row, and the same matrix column by column.
  double phiRows[54] = {}, phiCols[54] = {};
  for (int i = 0; i < 6; ++i) {
    phiRows[i * 9 + i] = 1.0;
    phiCols[i * 6 + i] = 1.0;
  }
  for (double s1 : {0.5, 1.0, 2.0}) {
    const double m = s1 > 1.0 ? s1 * s1 : 1.0;
    M6 a{}, b{};
    PropCovFrState(phiRows, c.data(), a.data(), s1, 30.0);
    CovMtxUpdate(c.data(), phiCols, b.data(), s1, 30.0);
    EXPECT_EQ(a, b);
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j) {
        const double expect = m * c[i * 9 + j] + (i == 2 && j == 2 ? 0.09 : 0.0);
        EXPECT_NEAR(a[i * 6 + j], expect, 1e-15 * (1.0 + std::fabs(expect)));
      }
  }
  // A general Phi: both layouts of the same matrix give one result.
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (int k = 0; k < 54; ++k) phiRows[k] = u(rng);
  for (int r = 0; r < 6; ++r)
    for (int col = 0; col < 9; ++col) phiCols[col * 6 + r] = phiRows[r * 9 + col];
  M6 a{}, b{};
  PropCovFrState(phiRows, c.data(), a.data(), 3.0, 0.0);
  CovMtxUpdate(c.data(), phiCols, b.data(), 3.0, 0.0);
  expectNear(a, b, 1e-15);
  EXPECT_TRUE(symmetricPsd(a.data(), 6));
}

}  // namespace

namespace {

// The EFG -> ECI matrix is the inverse of the ECI -> EFG one (its transpose is not, because the
// rotating-frame term mixes position into velocity): the product is the identity.
TEST(CovarianceRotations, EfgToEciMatrixInvertsTheEciToEfgMatrix) {
  const pelmath::Mat6 fwd = pelmath::eciToEfgCovMatrix(0.8);
  const pelmath::Mat6 inv = pelmath::efgToEciCovMatrix(0.8);
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      double s = 0.0;
      for (int k = 0; k < 6; ++k) s += inv[i * 6 + k] * fwd[k * 6 + j];
      EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-15);
    }
  // No velocity enters the position block of an ECI covariance from EFG.
  M6 efg{}, eci{};
  efg[3 * 6 + 3] = 1.0;  // velocity variance only
  CovMtxEFGToECI(efg.data(), eci.data(), 0.8);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_EQ(eci[i * 6 + j], 0.0);
}

}  // namespace
