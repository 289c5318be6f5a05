// Similarity transforms C' = R C R^T of 6x6 and 9x9 position/velocity covariances between the
// UVW, PTW, ECI, EFG, ECR, SEZ, J2000 and of-date frames. Matrices are row-major arrays (36 or
// 81 doubles); rows and columns are three position then three velocity components, km and km/s.
// A 9x9 covariance carries three further parameters after the six, which rotations leave alone.
#pragma once

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

// Earth rotation rate of the ECI <-> EFG covariance rotation, rad/s (0.0043752690880113 rad/min).
constexpr double kCovEarthRateRadPerSec = 0.0043752690880113 / 60.0;

// 3x3 matrices whose columns are the frame's unit vectors in XYZ (frame components -> XYZ).
// UVW: U = r/|r|, W = r x v/|r x v|, V = W x U. PTW: T = v/|v|, W as UVW, P = T x W.
void uvwrotmtx(const double pos[3], const double vel[3], Mat3& m);
void ptwrotmtx(const double pos[3], const double vel[3], Mat3& m);
// R6 = [[M, 0], [0, M]].
void blockmtx6(const Mat3& m, double r6[36]);

// out = R6 C R6^T and out = R6^T C R6 for a 6x6 covariance; out may alias c.
void rotcov6(const double r6[36], const double c[36], double out[36]);
void rotcov6t(const double r6[36], const double c[36], double out[36]);
// The same for a 9x9 covariance with [[R6, 0], [0, I3]].
void rotcov9(const double r6[36], const double c[81], double out[81]);
void rotcov9t(const double r6[36], const double c[81], double out[81]);

void covuvw2xyz(const double pos[3], const double vel[3], const double cUvw[36], double cXyz[36]);
void covxyz2uvw(const double pos[3], const double vel[3], const double cXyz[36], double cUvw[36]);
void covptw2xyz(const double pos[3], const double vel[3], const double cPtw[36], double cXyz[36]);
void covxyz2ptw(const double pos[3], const double vel[3], const double cXyz[36], double cPtw[36]);
// direction 0: UVW -> PTW; 1: PTW -> UVW. Zero matrix when |r| or |v| is zero.
void covuvwptw(const double pos[3], const double vel[3], const double cIn[36], double cOut[36], int direction);

// ECI <-> EFG at Greenwich angle theta (rad), with the rotating-frame velocity term.
void eci2efgcovmtx(double theta, double r6[36]);
// Its inverse, the EFG -> ECI 6x6 matrix.
void efg2ecicovmtx(double theta, double r6[36]);
void coveci2efg(double theta, const double cEci[36], double cEfg[36]);
void covefg2eci(double theta, const double cEfg[36], double cEci[36]);
// EFG <-> ECR with polar motion x, y in arcseconds.
void covefg2ecr(double xp, double yp, const double cEfg[36], double cEcr[36]);
void covecr2efg(double xp, double yp, const double cEcr[36], double cEfg[36]);
// EFG -> SEZ at a site of geodetic latitude lat and longitude lon (rad).
void covefg2sez(double lat, double lon, const double cEfg[36], double cSez[36]);
// 9x9 covariances J2000 <-> of date at a DS50 time, precession-nutation option spectr and
// numTerms nutation terms.
void covj2k2date(int spectr, int numTerms, double ds50, const double cJ2k[81], double cDate[81]);
void covdate2j2k(int spectr, int numTerms, double ds50, const double cDate[81], double cJ2k[81]);

}  // namespace pelmath
