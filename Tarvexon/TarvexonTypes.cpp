// Ephemeris record copy and release, the owned point array, and appending and trimming points.
#include "Tarvexon/TarvexonTypes.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "Siblings/Basalon/Result.h"

namespace tarvexon {

bool IsKnownCoordSys(int32_t code) { return (code >= kCoordEci && code <= kCoordEcr) || (code >= kCoordLlh && code <= kCoordWptgc); }

const char* CoordSysName(int32_t code) {
  switch (code) {
    case kCoordEci: return "ECI";
    case kCoordJ2k: return "J2K";
    case kCoordEfg: return "EFG";
    case kCoordEcr: return "ECR";
    case kCoordLlh: return "llh";
    case kCoordSen: return "sen";
    case kCoordHcsrl: return "hcsrl";
    case kCoordWptrl: return "wptrl";
    case kCoordHcsgc: return "hcsgc";
    case kCoordWptgc: return "wptgc";
    default: return "";
  }
}

// ---- PointArray ---------------------------------------------------------------------------------

PointArray::PointArray(const PointArray& o) {
  if (o.size_ == 0) return;
  data_ = static_cast<TarvexPoint*>(std::malloc(o.size_ * sizeof(TarvexPoint)));
  times_ = static_cast<double*>(std::malloc(o.size_ * sizeof(double)));
  if (data_ == nullptr || times_ == nullptr) {
    clear();
    throw std::bad_alloc();  // the engine's copy reports it as memory exhausted
  }
  std::memcpy(data_, o.data_, o.size_ * sizeof(TarvexPoint));
  std::memcpy(times_, o.times_, o.size_ * sizeof(double));
  size_ = capacity_ = o.size_;
  anyVelocity_ = o.anyVelocity_;
  anyCovValues_ = o.anyCovValues_;
}

PointArray::PointArray(PointArray&& o) noexcept
    : data_(std::exchange(o.data_, nullptr)),
      times_(std::exchange(o.times_, nullptr)),
      size_(std::exchange(o.size_, 0)),
      capacity_(std::exchange(o.capacity_, 0)),
      anyVelocity_(std::exchange(o.anyVelocity_, false)),
      anyCovValues_(std::exchange(o.anyCovValues_, false)) {}

PointArray& PointArray::operator=(const PointArray& o) {
  if (this != &o) {
    PointArray copy(o);
    *this = std::move(copy);
  }
  return *this;
}

PointArray& PointArray::operator=(PointArray&& o) noexcept {
  if (this != &o) {
    clear();
    data_ = std::exchange(o.data_, nullptr);
    times_ = std::exchange(o.times_, nullptr);
    size_ = std::exchange(o.size_, 0);
    capacity_ = std::exchange(o.capacity_, 0);
    anyVelocity_ = std::exchange(o.anyVelocity_, false);
    anyCovValues_ = std::exchange(o.anyCovValues_, false);
  }
  return *this;
}

PointArray::~PointArray() { clear(); }

bool PointArray::reserve(size_t n) {
  if (n <= capacity_) return true;
  if (n > SIZE_MAX / sizeof(TarvexPoint)) return false;
  // Each block is grown on its own; a failure leaves both usable at the old capacity.
  void* grownTimes = std::realloc(times_, n * sizeof(double));
  if (grownTimes == nullptr) return false;
  times_ = static_cast<double*>(grownTimes);
  void* grown = std::realloc(data_, n * sizeof(TarvexPoint));
  if (grown == nullptr) return false;
  data_ = static_cast<TarvexPoint*>(grown);
  capacity_ = n;
  return true;
}

bool PointArray::push(const TarvexPoint& p) {
  if (size_ == capacity_) {
    // Half again each time: the realloc peak stays within 2.5 times the points in use.
    const size_t want = capacity_ < 1024 ? 1024 : capacity_ + capacity_ / 2;
    if (!reserve(want) && !reserve(size_ + 1)) return false;
  }
  data_[size_] = p;
  times_[size_] = p.ds50UTC;
  ++size_;
  anyVelocity_ = anyVelocity_ || p.vel[0] != 0.0 || p.vel[1] != 0.0 || p.vel[2] != 0.0;
  if (!anyCovValues_) {
    for (double v : p.covMtx) anyCovValues_ = anyCovValues_ || v != 0.0;
  }
  return true;
}

void PointArray::trim() {
  if (size_ == capacity_) return;
  if (size_ == 0) {
    clear();
    return;
  }
  // A refused shrink keeps the larger block and nothing is lost. The points go first: once they
  // hold exactly size_, capacity_ may drop even if the times keep a larger block.
  void* shrunk = std::realloc(data_, size_ * sizeof(TarvexPoint));
  if (shrunk == nullptr) return;
  data_ = static_cast<TarvexPoint*>(shrunk);
  capacity_ = size_;
  void* shrunkTimes = std::realloc(times_, size_ * sizeof(double));
  if (shrunkTimes != nullptr) times_ = static_cast<double*>(shrunkTimes);
}

void PointArray::clear() {
  std::free(data_);
  std::free(times_);
  data_ = nullptr;
  times_ = nullptr;
  size_ = capacity_ = 0;
  anyVelocity_ = false;
  anyCovValues_ = false;
}

// ---- Record -------------------------------------------------------------------------------------

void CopyTarvexRecord(TarvexRecord& dst, const TarvexRecord& src) {
  if (&dst == &src) return;
  dst = src;
}

void FreeTarvexRecord(TarvexRecord& rec) {
  rec.points.clear();
  rec.numPts = 0;
}

bool AddOneEPPoint(const TarvexPoint& pt, TarvexRecord& rec, const double* cov) {
  const bool first = rec.points.empty();
  // Only a point strictly after the last one extends the ephemeris (NaN times never do).
  if (!first && !(pt.ds50UTC > rec.points.back().ds50UTC)) return true;
  TarvexPoint stored = pt;
  if (cov != nullptr) std::memcpy(stored.covMtx, cov, sizeof(double) * kCovPacked);
  if (!rec.points.push(stored)) {
    basalon::logErrorf("AddOneEPPoint: Memory allocation failed for point %d of satellite %d; the point is dropped.",
                       rec.numPts + 1, rec.satNum);
    return false;
  }
  rec.numPts = static_cast<int32_t>(rec.points.size());
  if (first) rec.epochDs50UTC = pt.ds50UTC;
  return true;
}

void TrimTarvexonPts(TarvexRecord& rec) {
  if (rec.numPts >= 1) rec.points.trim();
}

bool IsPositionOnly(const TarvexRecord& rec) { return !rec.points.anyVelocity(); }

void To6x6CovMtx(double cov6x6[36], const double packed[kCovPacked]) {
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j <= i; ++j) {
      const double v = packed[i * (i + 1) / 2 + j];
      cov6x6[i * 6 + j] = v;
      cov6x6[j * 6 + i] = v;
    }
  }
}

bool HasCovariance(const TarvexPoint& pt) {
  if (pt.covMtx[1] == kScalarCovMarker) return false;
  for (double v : pt.covMtx) {
    if (v != 0.0) return true;
  }
  return false;
}

}  // namespace tarvexon
