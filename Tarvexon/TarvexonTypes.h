// The external-ephemeris record: time-tagged points (DS50 UTC; km and km/s in the record's
// coordinate system; optional packed 6x6 covariance) and the operations that append and trim them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "Siblings/Basalon/FixedText.h"

namespace tarvexon {

// Packed lower triangle of a 6x6 covariance, row by row.
constexpr int kCovPacked = 21;
// covMtx[1] of a point that carries one scalar in covMtx[0] instead of a covariance.
constexpr double kScalarCovMarker = 12345.0;

// One ephemeris point. A new point is all zero.
struct TarvexPoint {
  double ds50UTC = 0;
  double pos[3] = {0, 0, 0};  // km
  double vel[3] = {0, 0, 0};  // km/s; all zero when the source gave no velocity
  int32_t revNum = 0;
  double covMtx[kCovPacked] = {};  // all zero: no covariance
};

// Coordinate-system codes of a record's points.
enum CoordSys : int32_t {
  kCoordEci = 1,   // inertial, TEME of date
  kCoordJ2k = 2,   // inertial, mean of J2000
  kCoordEfg = 3,   // Earth-fixed Greenwich
  kCoordEcr = 4,   // Earth-centred rotating
  kCoordLlh = 15,  // site (lat, lon deg, height km), then range km, azimuth, elevation deg
  kCoordSen = 16,  // site as ECR km, then range, azimuth, elevation
  kCoordHcsrl = 17,  // mobile: heading, course and speed, rhumb line
  kCoordWptrl = 18,  // mobile: way-points, rhumb line
  kCoordHcsgc = 19,  // mobile: heading, course and speed, great circle
  kCoordWptgc = 20,  // mobile: way-points, great circle
};

// True for the codes a record may carry (1 to 4, 15 to 20).
bool IsKnownCoordSys(int32_t code);
// Three-letter name of codes 1 to 4, the lower-case reader name of 15 to 20, "" otherwise.
const char* CoordSysName(int32_t code);

// The owned points of one record, 0-based here (point k of the interface is [k - 1]); points are
// only appended, never edited in place. Grows
// geometrically; the block is one malloc'd run of trivially copyable points, so growth and the
// final trim are a realloc (for large blocks the C library remaps pages instead of copying).
class PointArray {
 public:
  PointArray() = default;
  PointArray(const PointArray& o);
  PointArray(PointArray&& o) noexcept;
  PointArray& operator=(const PointArray& o);
  PointArray& operator=(PointArray&& o) noexcept;
  ~PointArray();

  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  const TarvexPoint& operator[](size_t i) const { return data_[i]; }
  const TarvexPoint& back() const { return data_[size_ - 1]; }
  // True when some point carries a non-zero velocity component (kept as points are appended).
  bool anyVelocity() const { return anyVelocity_; }
  // True when some point carries a non-zero covariance value (a covariance or the scalar form).
  bool anyCovValues() const { return anyCovValues_; }
  const TarvexPoint* data() const { return data_; }
  // The points' times alone (DS50 UTC), in one dense run: a search over them touches few cache lines.
  const double* times() const { return times_; }
  std::span<const TarvexPoint> view() const { return {data_, size_}; }

  // Appends p; false (nothing changed) when memory cannot be had.
  bool push(const TarvexPoint& p);
  // Room for n points; false when memory cannot be had.
  bool reserve(size_t n);
  // Capacity down to the size (no points: the block is released).
  void trim();
  void clear();

 private:
  TarvexPoint* data_ = nullptr;
  double* times_ = nullptr;  // times_[i] == data_[i].ds50UTC
  size_t size_ = 0;
  size_t capacity_ = 0;
  bool anyVelocity_ = false;
  bool anyCovValues_ = false;
};

// One external ephemeris. Character fields are fixed-length and blank padded.
struct TarvexRecord {
  basalon::FixedText<512> fileName;   // the file the points came from; blank when made in memory
  basalon::FixedText<128> cardLabel;  // text of the "#TARVEXON" card before it; blank when none
  int32_t satNum = 0;
  int32_t numPts = 0;  // points in use (always points.size())
  int32_t coordSys = kCoordEci;
  int32_t coordSysTens = 0;  // the tens of TarvexAddSat's coordinate argument; nothing reads it
  double epochDs50UTC = 0;   // time of point 1 once one is added, or TarvexAddSat's epoch
  double earthRadius = 6378.135;          // km
  double ke = 0.07436691613317341;        // er^1.5/min
  basalon::FixedText<8> satName;
  PointArray points;  // strictly increasing ds50UTC
};

// Deep copy (points included); onto itself nothing.
void CopyTarvexRecord(TarvexRecord& dst, const TarvexRecord& src);
// Releases the points; the record keeps its other fields and has none.
void FreeTarvexRecord(TarvexRecord& rec);

// Appends pt when it follows the last point in time (the first point also sets the epoch); a point
// at or before the last time is dropped silently. cov, when given, becomes the stored point's
// covariance. Returns false only when memory for the point could not be had (logged).
bool AddOneEPPoint(const TarvexPoint& pt, TarvexRecord& rec, const double* cov = nullptr);
// Shrinks the points array to exactly numPts entries.
void TrimTarvexonPts(TarvexRecord& rec);
// True when no point of the record carries a velocity (the ephemeris is position only).
bool IsPositionOnly(const TarvexRecord& rec);
// Full symmetric 6x6 matrix (row-major, which is also its column-major form) from 21 packed values.
void To6x6CovMtx(double cov6x6[36], const double packed[kCovPacked]);
// True when the packed values hold a covariance: some value is non-zero and it is not the scalar
// form (marker 12345.0 in covMtx[1]).
bool HasCovariance(const TarvexPoint& pt);

}  // namespace tarvexon
