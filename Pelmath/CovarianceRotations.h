// Similarity transforms C' = R C R^T of 6x6 and 9x9 position/velocity covariances between the
// UVW, PTW, ECI, EFG, ECR, SEZ, J2000 and of-date frames. Matrices are row-major Mat6/Mat9; rows
// and columns are three position then three velocity components, km and km/s. A 9x9 covariance
// carries three further parameters after the six, which rotations leave alone.
#pragma once

#include "Pelmath/PelmathTypes.h"
#include "Pelmath/PrecessionNutation.h"

namespace pelmath {

using basalon::Similarity;

// Earth rotation rate of the ECI <-> EFG covariance rotation, rad/s (0.0043752690880113 rad/min).
constexpr double kCovEarthRateRadPerSec = 0.0043752690880113 / 60.0;

// 3x3 matrices whose columns are the frame's unit vectors in XYZ (frame components -> XYZ).
// UVW: U = r/|r|, W = r x v/|r x v|, V = W x U. PTW: T = v/|v|, W as UVW, P = T x W.
Mat3 uvwFrameMatrix(const Vec3& pos, const Vec3& vel);
Mat3 ptwFrameMatrix(const Vec3& pos, const Vec3& vel);
// [[M, 0], [0, M]]: a frame rotation applied to position and velocity alike.
Mat6 blockDiagonal6(const Mat3& m);

// J9 C J9^T (or J9^T C J9) with J9 = [[J, 0], [0, I3]]: the six state rows and columns of a 9x9
// matrix mapped by any 6x6 J (a frame rotation or a Jacobian), the further three kept.
Mat9 similarityOfStateBlock(const Mat6& j, const Mat9& c, Similarity form = Similarity::kRCRt);

Mat6 covUvwToXyz(const Vec3& pos, const Vec3& vel, const Mat6& cUvw);
Mat6 covXyzToUvw(const Vec3& pos, const Vec3& vel, const Mat6& cXyz);
Mat6 covPtwToXyz(const Vec3& pos, const Vec3& vel, const Mat6& cPtw);
Mat6 covXyzToPtw(const Vec3& pos, const Vec3& vel, const Mat6& cXyz);

// Which way the in-plane rotation between UVW and PTW is applied.
enum class UvwPtwDirection { kUvwToPtw, kPtwToUvw };
// Zero matrix when |r| or |v| is zero.
Mat6 covUvwPtw(const Vec3& pos, const Vec3& vel, const Mat6& cIn, UvwPtwDirection direction);

// ECI -> EFG 6x6 matrix at Greenwich angle theta (rad), with the rotating-frame velocity term.
Mat6 eciToEfgCovMatrix(double theta);
// Its inverse, the EFG -> ECI 6x6 matrix.
Mat6 efgToEciCovMatrix(double theta);
Mat6 covEciToEfg(double theta, const Mat6& cEci);
Mat6 covEfgToEci(double theta, const Mat6& cEfg);
// EFG <-> ECR with polar motion x, y in arcseconds.
Mat6 covEfgToEcr(double xp, double yp, const Mat6& cEfg);
Mat6 covEcrToEfg(double xp, double yp, const Mat6& cEcr);
// EFG -> SEZ at a site of geodetic latitude lat and longitude lon (rad).
Mat6 covEfgToSez(double lat, double lon, const Mat6& cEfg);
// 9x9 covariances J2000 <-> of date at a DS50 time, by the precession-nutation matrix of that
// spectrum with numTerms nutation terms.
Mat9 covJ2kToDate(PnSpectrum spectr, int numTerms, double ds50, const Mat9& cJ2k);
Mat9 covDateToJ2k(PnSpectrum spectr, int numTerms, double ds50, const Mat9& cDate);

}  // namespace pelmath
