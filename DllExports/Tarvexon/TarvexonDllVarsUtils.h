// Glue between the Tarvexon exports' host buffers and the Tarvexon library routines: the documented
// buffer lengths, text in and out of blank-padded buffers, points in and out of host arrays, and the
// lookup message of a key that is not loaded.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Result.h"
#include "Tarvexon/TarvexonTypes.h"

namespace tarvexdll {

// Documented lengths of the host's buffers (characters, or doubles for the arrays).
constexpr size_t kValueLength = basalon::kTextWidth;       // 512: field value, card line, file name
constexpr size_t kLabelLength = basalon::kMsgWidth;        // 128: card label
constexpr size_t kSatNameLength = basalon::kSatNameWidth;  // 8: satellite name
constexpr size_t kEpochTextLength = basalon::kDtgWidth;    // 20: epoch text of a key
constexpr size_t kXtenLength = 128;                        // doubles of TarvexXten's array
constexpr size_t kCov6x6Length = 36;                       // doubles of a 6x6 covariance

inline void blankOut(char* buf, size_t length) { std::fill_n(buf, length, ' '); }

// Copies text into an output buffer, cut or blank padded.
inline void textOut(std::string_view text, char* buf, size_t length) {
  basalon::strtochararr(text, buf, length);
}

// A host text: read to its first NUL, trimmed of blanks on both sides (left-adjusted).
inline std::string hostValue(const char* buf, size_t length) {
  return std::string(basalon::trim(basalon::hostText(buf, length)));
}

// The epoch text of a key made readable: left-adjusted in its 20 characters, and every blank of
// characters 3 to 20 read as "0" (a short group such as "21123010203.456" is completed).
inline std::string zeroFilledEpoch(const char* epochDtg) {
  std::string text = hostValue(epochDtg, kEpochTextLength);
  text.resize(kEpochTextLength, ' ');
  std::replace(text.begin() + 2, text.end(), ' ', '0');
  return text;
}

// The point an append export builds: time, position, velocity and revolution number, no covariance.
inline tarvexon::TarvexPoint pointIn(double ds50UTC, const double pos[3], const double vel[3],
                                     int32_t revNum) {
  tarvexon::TarvexPoint pt;
  pt.ds50UTC = ds50UTC;
  std::copy_n(pos, 3, pt.pos);
  std::copy_n(vel, 3, pt.vel);
  pt.revNum = revNum;
  return pt;
}

// The 6x6 covariance output of a point: the full matrix of its packed values, all zero when the
// point carries no covariance (none stored, or the scalar form of the marker).
inline void covOut(const tarvexon::TarvexPoint& pt, double cov6x6[kCov6x6Length]) {
  if (tarvexon::HasCovariance(pt))
    tarvexon::To6x6CovMtx(cov6x6, pt.covMtx);
  else
    std::fill_n(cov6x6, kCov6x6Length, 0.0);
}

// Logs, as the one line of a failed call, why satKey has no stored record: the store's lookup
// message. Returns the failure code.
int32_t notLoaded(const char* exportName, int64_t satKey);

}  // namespace tarvexdll
