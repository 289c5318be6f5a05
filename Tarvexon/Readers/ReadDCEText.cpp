// DCE text files: the satellite number alone on the first line, then per line two integers and
// twelve reals, of which the second real is the time (days from 1970 January 0.0) and the next six
// the position (km) and velocity (km/s). Inertial frame of date.
#include <cmath>
#include <limits>
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadDCEText";
constexpr size_t kValues = 14;  // two integers, twelve reals

bool isWhole(double v) {
  return std::floor(v) == v && std::fabs(v) <= static_cast<double>(std::numeric_limits<int32_t>::max());
}

}  // namespace

void ReadDCEText(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  // The leading digits, at most nine of them (the card type allows no more), so int32 holds them.
  constexpr size_t kMaxDigits = 9;
  int32_t satNum = 0;
  for (size_t k = 0; k < line.size() && k < kMaxDigits && line[k] >= '0' && line[k] <= '9'; ++k)
    satNum = satNum * 10 + (line[k] - '0');
  rec.satNum = satNum;
  rec.coordSys = kCoordEci;
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  // Every line is a point line here: comment lines are not passed over.
  while ((rc = lines.next(s)) == basalon::kUnitOk) {
    double v[kValues];
    const readers::FreeRead read = readers::readFreeReals(s, v, kValues);
    if (read == readers::FreeRead::kTooFew) break;  // the end of the points, as at the end of the file
    if (read == readers::FreeRead::kBad || !isWhole(v[0]) || !isWhole(v[1])) {
      code = readers::fileReadError(kName);
      return;
    }
    const double t = readers::kDs50Of1970Jan0 + v[3];
    if (t <= 0) {
      SkipBadEphemPoint(kName, s);
      continue;
    }
    readers::addPoint(rec, t, v + 4, v + 7);
  }
  if (rc != basalon::kUnitOk && rc != basalon::kUnitEnd) {
    code = readers::fileReadError(kName);
    return;
  }
  readers::settleEpoch(rec);
}

}  // namespace tarvexon
