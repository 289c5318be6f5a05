// ECI <-> EFG <-> ECR rotations, J2000 <-> date, TEME of epoch and RA/Dec between equinoxes,
// through the library routines and the exports (failure codes and their trace-log lines).
#include <cmath>

#include "Pelmath.h"
#include "Pelmath/EarthFrames.h"
#include "Pelmath/PrecessionNutation.h"
#include "Pelmath/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Planix/Planix.h"
#include "common/TestSupport.h"

using namespace pelmath;

namespace {

const Vec3 kPos{-2436.45, -2436.45, 6891.037};  // km
const Vec3 kVel{5.088611, -5.088611, 0.0};      // km/s

void expectNear(const Vec3& a, const Vec3& b, double tol, const char* what) {
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(a[k], b[k], tol) << what << "[" << k << "]";
}

}  // namespace

TEST(FramesEciEfg, RoundTripAndEarthFixedPoint) {
  for (double theta : {0.0, 0.3, 2.0, 5.9, -1.0}) {
    Vec3 p, v, p2, v2;
    eci2efg(theta, kPos, kVel, p, v);
    efg2eci(theta, p, v, p2, v2);
    expectNear(p2, kPos, 1e-9, "pos");
    expectNear(v2, kVel, 1e-12, "vel");
    EXPECT_NEAR(norm(p), norm(kPos), 1e-9);
    EXPECT_DOUBLE_EQ(p[2], kPos[2]);
  }
  // At theta = 90 deg the ECI x axis is the EFG -y axis.
  Vec3 p, v;
  eci2efg(kPi / 2, Vec3{7000, 0, 0}, Vec3{0, 0, 0}, p, v);
  expectNear(p, Vec3{0, -7000, 0}, 1e-9, "turned");
  // A point moving with the Earth (omega x r, 0.0043752690880113 rad/min) is at rest in EFG.
  const double w = 0.0043752690880113 / 60.0;
  eci2efg(0.7, kPos, Vec3{-w * kPos[1], w * kPos[0], 0.0}, p, v);
  expectNear(v, Vec3{0, 0, 0}, 1e-15, "rest");
}

TEST(FramesEcr, PolarMotionMatrixIsARotationAndInverts) {
  const double xp = 0.25, yp = 0.41;  // arcsec
  Mat3 w;
  getpolarmotnmtx(xp, yp, w);
  const Mat3 wwt = mulMat(w, transposed(w));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(wwt[i][j], i == j ? 1.0 : 0.0, 1e-15);
  // Small-angle form: the pole of ECR seen in EFG is displaced by (x, -y).
  const Vec3 pole = applypolarmotion(xp, yp, Vec3{0, 0, 1}, PolarMotionDirection::kEcrToEfg);
  EXPECT_NEAR(pole[0], -xp * kArcsecToRad, 1e-14);
  EXPECT_NEAR(pole[1], yp * kArcsecToRad, 1e-14);
  Vec3 p, v, p2, v2;
  efg2ecr(xp, yp, kPos, kVel, p, v);
  ecr2efg(xp, yp, p, v, p2, v2);
  expectNear(p2, kPos, 1e-9, "pos");
  expectNear(v2, kVel, 1e-12, "vel");
  expectNear(applypolarmotion(xp, yp, kPos), p, 0.0, "applied");
}

TEST(FramesJ2k, RoundTripAndMatrixOutput) {
  for (int spectr : {0, 1, 2, 3}) {
    for (int terms : {0, 4, 50, 106}) {
      Vec3 pj, vj, pd, vd;
      rotdate2j2k(pnSpectrumOf(spectr), terms, 25000.0, kPos, kVel, pj, vj);
      rotj2k2date(pnSpectrumOf(spectr), terms, 25000.0, pj, vj, pd, vd);
      // The linearised nutation (spectr 0, no terms) is first order, I + A with A antisymmetric:
      // its transpose inverts it only to A^2 ~ 1e-8 relative.
      const bool linear = spectr == 0 && terms < 1;
      expectNear(pd, kPos, linear ? 2e-4 : 1e-9, "pos");
      expectNear(vd, kVel, linear ? 2e-7 : 1e-12, "vel");
    }
  }
  Mat3 pn, direct;
  Vec3 p, v;
  rotj2k2date(PnSpectrum::kSeries, 106, 25000.0, kPos, kVel, p, v, &pn);
  getpnmatrix(PnSpectrum::kSeries, 106, centryj2000(25000.0), direct);
  EXPECT_EQ(pn, direct);
  // 2018: precession of ~18 years moves a position by about 18 * 50 arcsec.
  const double angle =
      std::acos((p[0] * kPos[0] + p[1] * kPos[1] + p[2] * kPos[2]) / (norm(p) * norm(kPos)));
  EXPECT_GT(angle / kArcsecToRad, 200.0);
  EXPECT_LT(angle / kArcsecToRad, 1200.0);
}

TEST(FramesJ2k, Spectr0KeepsTheInputLengthExactly) {
  double pos[3] = {kPos[0], kPos[1], kPos[2]}, vel[3] = {kVel[0], kVel[1], kVel[2]};
  double pj[3], vj[3];
  RotDateToJ2K(0, 0, 14000.3, pos, vel, pj, vj);
  const double in = std::sqrt(pos[0] * pos[0] + pos[1] * pos[1] + pos[2] * pos[2]);
  const double out = std::sqrt(pj[0] * pj[0] + pj[1] * pj[1] + pj[2] * pj[2]);
  EXPECT_NEAR(out, in, 1e-12);
  EXPECT_NE(pj[0], pos[0]);
  double pd[3], vd[3];
  RotJ2KToDate(0, 0, 14000.3, pj, vj, pd, vd);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(pd[k], pos[k], 2e-4);  // first-order nutation
  RotDateToJ2K(0, 106, 14000.3, pos, vel, pj, vj);
  EXPECT_NEAR(std::sqrt(pj[0] * pj[0] + pj[1] * pj[1] + pj[2] * pj[2]), in, 1e-12);
  RotJ2KToDate(0, 106, 14000.3, pj, vj, pd, vd);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(pd[k], pos[k], 1e-9);
}

TEST(FramesRaDec, J2000CodeAndInverses) {
  const double ds50 = 26000.4, ra = 123.4, dec = -37.2;
  double raJ, decJ;
  ASSERT_EQ(RotRADec_DateToEqnx(106, 2, ds50, ra, dec, &raJ, &decJ), 0);
  // Code 2 is the J2000 direction of the same unit vector.
  const double r = ra * kDegToRad, d = dec * kDegToRad;
  Vec3 u{std::cos(d) * std::cos(r), std::cos(d) * std::sin(r), std::sin(d)}, uj, dummy;
  rotdate2j2k(PnSpectrum::kSeries, 106, ds50, u, Vec3{0, 0, 0}, uj, dummy);
  double raRef, decRef;
  computeradec(uj, raRef, decRef);
  EXPECT_NEAR(raJ, raRef / kDegToRad, 1e-11);
  EXPECT_NEAR(decJ, decRef / kDegToRad, 1e-11);
  for (int code : {1, 2, 3}) {
    double ra1, dec1, ra2, dec2;
    ASSERT_EQ(RotRADec_DateToEqnx(40, code, ds50, ra, dec, &ra1, &dec1), 0);
    ASSERT_EQ(RotRADec_EqnxToDate(40, code, ds50, ra1, dec1, &ra2, &dec2), 0);
    EXPECT_NEAR(ra2, ra, 1e-9) << code;
    EXPECT_NEAR(dec2, dec, 1e-9) << code;
    EXPECT_GE(ra1, 0.0);
    EXPECT_LT(ra1, 360.0);
  }
  // The mean equinox of 1950 is ~71 years of precession (~1 deg in RA) away from 2021.
  double ra50, dec50;
  RotRADec_DateToEqnx(106, 3, ds50, ra, dec, &ra50, &dec50);
  EXPECT_GT(std::fabs(ra50 - ra), 0.5);
  EXPECT_LT(std::fabs(ra50 - ra), 2.0);
}

TEST(FramesRaDec, FailureCodesAndMessages) {
  struct Case {
    int terms, code;
    const char* text;
  };
  const Case cases[] = {
      {107, 2, "nutation terms is outside of its valid range (4-106)"},
      {3, 1, "nutation terms is outside of its valid range (4-106)"},
      {106, 0, "year of equinox is outside of its valid range (1-3)"},
      {106, 4, "year of equinox is outside of its valid range (1-3)"},
  };
  for (const Case& c : cases) {
    double ra = 9, dec = 9;
    zktest::LogWatch watch;
    EXPECT_EQ(RotRADec_DateToEqnx(c.terms, c.code, 20000.0, 10.0, 20.0, &ra, &dec), 2);
    EXPECT_EQ(watch.errors(), 1);
    EXPECT_EQ(zktest::LogWatch::lastError(), std::string("RotRADec_DateToEqnx: ") + c.text);
    EXPECT_EQ(ra, 0.0);
    EXPECT_EQ(dec, 0.0);
    ra = dec = 9;
    EXPECT_EQ(RotRADec_EqnxToDate(c.terms, c.code, 20000.0, 10.0, 20.0, &ra, &dec), 2);
    EXPECT_EQ(zktest::LogWatch::lastError(), std::string("RotRADec_EqnxToDate: ") + c.text);
    EXPECT_EQ(ra, 0.0);
    EXPECT_EQ(dec, 0.0);
  }
}

TEST(FramesRaDec, RotobsDirectionsInvertEachOther) {
  const double t1 = 24000.0, t2 = 18263.5;
  double ra1, dec1, ra2, dec2;
  RotRADecl(106, 1, t1, 250.0, 61.0, t2, &ra1, &dec1);  // true of t1 -> mean of t2
  RotRADecl(106, 2, t2, ra1, dec1, t1, &ra2, &dec2);    // mean of t2 -> true of t1
  EXPECT_NEAR(ra2, 250.0, 1e-9);
  EXPECT_NEAR(dec2, 61.0, 1e-9);
  // With t2 = J2000, direction 1 is the same rotation as date -> J2000.
  double raJ, decJ;
  RotRADec_DateToEqnx(106, 2, t1, 250.0, 61.0, &raJ, &decJ);
  EXPECT_NEAR(ra1, raJ, 1e-9);
  EXPECT_NEAR(dec1, decJ, 1e-9);
}

TEST(FramesTimeExports, UseTheTimeLibraryAngles) {
  const double ds50 = 19819.3273;
  const double theta = chronel::getthgr(chronel::utc2ut1(ds50), planix::genvfk());
  double a[6], b[6];
  ECIToEFGTime(ds50, kPos.data(), kVel.data(), a, a + 3);
  ECIToEFG(theta, kPos.data(), kVel.data(), b, b + 3);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(a[k], b[k]);
  EFGToECITime(ds50, a, a + 3, b, b + 3);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(b[k], kPos[k], 1e-9);
  const double llh[3] = {38.0, 283.0, 1.2};
  double xyz[3], xyz2[3], back[3];
  LLHToXYZTime(ds50, llh, xyz);
  LLHToXYZ(theta, llh, xyz2);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(xyz[k], xyz2[k]);
  XYZToLLHTime(ds50, xyz, back);
  EXPECT_NEAR(back[1], 283.0, 1e-9);
  EXPECT_NEAR(back[2], 1.2, 1e-6);
}

// Without loaded timing constants the pole offsets are 0: W is the identity and the state comes
// back unchanged (not zeroed).
TEST(FramesTimeExports, EcrWithoutTimingConstantsIsTheIdentity) {
  chronel::clearTimeConstants();
  double out[6] = {1, 1, 1, 1, 1, 1};
  EFGToECRTime(20000.0, kPos.data(), kVel.data(), out, out + 3);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(out[k], kPos[k]);
    EXPECT_EQ(out[k + 3], kVel[k]);
  }
  ECRToEFGTime(20000.0, kPos.data(), kVel.data(), out, out + 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(out[k], kPos[k]);
}
