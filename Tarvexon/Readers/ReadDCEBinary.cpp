// DCE binary files: sequential records, each framed by a 4-byte big-endian length before and after
// it: a 24-byte title, the satellite number (int32), a 76-byte text, then one 104-byte record per
// point (two int32, twelve big-endian doubles: unused, time in days from 1970 January 0.0, position
// km, velocity km/s, four unused). Inertial frame of date.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadDCEBinary";
constexpr uint32_t kTitleBytes = 24;
constexpr uint32_t kSatNumBytes = 4;
constexpr uint32_t kTextBytes = 76;
constexpr uint32_t kPointBytes = 2 * 4 + 12 * 8;
constexpr uint32_t kMarkerBytes = 4;

uint32_t bigEndian32(const unsigned char* b) {
  return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | uint32_t{b[3]};
}

double bigEndianReal(const unsigned char* b) {
  uint64_t bits = 0;
  for (int k = 0; k < 8; ++k) bits = (bits << 8) | b[k];
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// The records of one file, each checked against its expected size and the bytes left.
class RecordFile {
 public:
  explicit RecordFile(const std::string& name) : f_(std::fopen(name.c_str(), "rb")) {
    if (f_ && std::fseek(f_.get(), 0, SEEK_END) == 0) {
      const long size = std::ftell(f_.get());
      if (size >= 0 && std::fseek(f_.get(), 0, SEEK_SET) == 0) left_ = static_cast<unsigned long>(size);
    } else {
      f_.reset();
    }
  }
  bool isOpen() const { return f_ != nullptr; }
  bool atEnd() const { return left_ == 0; }
  // One record of exactly size bytes into out: both markers equal size and fit the file.
  bool read(uint32_t size, unsigned char* out) {
    unsigned char marker[kMarkerBytes];
    if (left_ < 2ul * kMarkerBytes + size || !take(marker, kMarkerBytes) || bigEndian32(marker) != size ||
        !take(out, size) || !take(marker, kMarkerBytes))
      return false;
    return bigEndian32(marker) == size;
  }

 private:
  bool take(unsigned char* out, size_t n) {
    if (std::fread(out, 1, n, f_.get()) != n) return false;
    left_ -= n;
    return true;
  }
  std::unique_ptr<std::FILE, FileCloser> f_;
  unsigned long left_ = 0;
};

}  // namespace

void ReadDCEBinary(std::string_view fileName, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  rec.coordSys = kCoordEci;
  RecordFile file(basalon::replacestring(basalon::trimRight(fileName), "\\", "/"));
  std::array<unsigned char, kPointBytes> buf{};
  if (!file.isOpen() || !file.read(kTitleBytes, buf.data()) || !file.read(kSatNumBytes, buf.data())) {
    code = readers::fileReadError(kName);
    return;
  }
  const int32_t satNum = static_cast<int32_t>(bigEndian32(buf.data()));
  if (!file.read(kTextBytes, buf.data())) {
    code = readers::fileReadError(kName);
    return;
  }
  rec.satNum = satNum;
  while (!file.atEnd()) {
    if (!file.read(kPointBytes, buf.data())) {
      code = readers::fileReadError(kName);
      return;
    }
    double r[12];
    for (int k = 0; k < 12; ++k) r[k] = bigEndianReal(buf.data() + 8 + 8 * k);
    const double t = readers::kDs50Of1970Jan0 + r[1];
    bool finite = true;
    for (int k = 2; k < 8; ++k) finite = finite && std::isfinite(r[k]);
    if (!std::isfinite(t) || t <= 0 || !finite) {
      SkipBadEphemPoint(kName, "point " + std::to_string(rec.numPts + 1) + " has no valid time or state");
      continue;
    }
    readers::addPoint(rec, t, r + 2, r + 5);
  }
  readers::settleEpoch(rec);
}

}  // namespace tarvexon
