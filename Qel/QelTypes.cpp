// Qel record copy and release, and the value checks made before a record enters the store.
#include "Qel/QelTypes.h"

#include <charconv>
#include <string>
#include <string_view>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Chronel/Chronel.h"

namespace qel {
namespace {

// A real in free numeric form (shortest text that reads back to the same value).
std::string freeReal(double v) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

// One validation message: text, value, range text.
void logInvalid(std::string_view text, const std::string& value, std::string_view range) {
  std::string line;
  line.reserve(text.size() + value.size() + range.size());
  line.append(text).append(value).append(range);
  basalon::tracelogerror(line);
}

// True when v lies in [lo, hi]; NaN never does.
bool inRange(double v, double lo, double hi) { return v >= lo && v <= hi; }

}  // namespace

void CopyQelRecord(QelRecord& dst, const QelRecord& src) {
  if (&dst == &src) return;
  dst = src;  // the line array is copied entry by entry, all of its entries
}

void FreeQelRecord(QelRecord& rec) {
  std::vector<ManeuverLine>().swap(rec.maneuverLines);
  rec.numManeuverLines = 0;
}

void AllocManeuverLines(QelRecord& rec) {
  if (rec.maneuverLines.empty()) rec.maneuverLines.assign(kMaxManeuverLines, ManeuverLine());
}

int32_t ValidateQelValues(const QelRecord& rec) {
  int32_t code = 0;
  if (rec.satNum < 1 || rec.satNum > 999999999) {
    logInvalid("ValidateQelValues: Invalid satellite number = ", std::to_string(rec.satNum),
               " (valid = 1-999999999)");
    code = basalon::kResultFail;
  }
  if (rec.epoch.year < 1956) {
    logInvalid("ValidateQelValues: Invalid Year of Epoch = ", std::to_string(rec.epoch.year),
               " (valid >=1956)");
    code = basalon::kResultFail;
  }
  const bool leap = chronel::hleap(rec.epoch.year);
  const int32_t lastDay = leap ? 366 : 365;
  if (rec.epoch.day < 1 || rec.epoch.day > lastDay) {
    logInvalid("ValidateQelValues: Invalid Day of Epoch = ", std::to_string(rec.epoch.day),
               leap ? " (valid 1-366)" : " (valid 1-365)");
    code = basalon::kResultFail;
  }
  if (rec.epochRev < 0 || rec.epochRev > 99999) {
    logInvalid("ValidateQelValues: Invalid Epoch Revolution = ", std::to_string(rec.epochRev),
               " (valid 0-99999)");
    code = basalon::kResultFail;
  }
  static constexpr std::string_view kPosText[3] = {
      "ValidateQelValues: Invalid ECI PosX = ", "ValidateQelValues: Invalid ECI PosY = ",
      "ValidateQelValues: Invalid ECI PosZ = "};
  static constexpr std::string_view kVelText[3] = {
      "ValidateQelValues: Invalid ECI VelX = ", "ValidateQelValues: Invalid ECI VelY = ",
      "ValidateQelValues: Invalid ECI VelZ = "};
  for (int i = 0; i < 3; ++i) {
    if (!inRange(rec.eciPos[i], -1.0e7, 1.0e7)) {
      logInvalid(kPosText[i], freeReal(rec.eciPos[i]), " (valid -1E7 to 1E7)");
      code = basalon::kResultFail;
    }
  }
  for (int i = 0; i < 3; ++i) {
    if (!inRange(rec.eciVel[i], -1.0e3, 1.0e3)) {
      logInvalid(kVelText[i], freeReal(rec.eciVel[i]), " (valid -1E3 to 1E3)");
      code = basalon::kResultFail;
    }
  }
  return code;
}

}  // namespace qel
