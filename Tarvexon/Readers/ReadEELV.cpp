// EELV launch-vehicle files: a first line of year, month, day, hour, minute and seconds (the epoch,
// UTC), then per line seconds since the epoch, position in feet and velocity in feet per second.
// Inertial frame of date.
#include <cmath>
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadEELV";
constexpr double kKmPerFoot = 3.048e-4;
constexpr int32_t kUnknownSatNum = 99999;

// Epoch (DS50 UTC) of the first line's six values; false when any is out of its calendar range.
bool eelvEpoch(const double v[6], double& epoch) {
  auto within = [](double x, double lo, double hi) { return x >= lo && x <= hi; };
  if (!within(v[0], 0, 9999) || !within(v[1], 1, 12) || !within(v[2], 1, 31) || !within(v[3], 0, 23) ||
      !within(v[4], 0, 59) || !(v[5] >= 0 && v[5] < 60))
    return false;
  const int year = static_cast<int>(v[0]);
  const int dayOfYear = chronel::mmdd2jul(year, static_cast<int>(v[1]), static_cast<int>(v[2]));
  if (dayOfYear == 0) return false;  // a day the month does not have
  epoch = chronel::tcomps2utc(dayOfYear, static_cast<int>(v[3]), static_cast<int>(v[4]), v[5], year);
  return epoch > 0;
}

}  // namespace

void ReadEELV(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  if (readers::refusesDefaultUnit(unit, kName, code)) return;
  double first[6];
  double epoch = 0;
  if (readers::readFreeReals(line, first, 6) != readers::FreeRead::kOk || !eelvEpoch(first, epoch)) {
    basalon::tracelogerror(line);
    code = basalon::fail("*** ReadEELV: Invalid EELV first line. ***");
    return;
  }
  rec.satNum = kUnknownSatNum;
  rec.coordSys = kCoordEci;
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  // Every line is a point line here: comment lines are not passed over.
  while ((rc = lines.next(s)) == basalon::kUnitOk) {
    double v[7];
    if (readers::readFreeReals(s, v, 7) != readers::FreeRead::kOk) {
      SkipBadEphemPoint(kName, s);
      continue;
    }
    for (int k = 1; k < 7; ++k) v[k] *= kKmPerFoot;
    readers::addPoint(rec, epoch + v[0] / chronel::kSecondsPerDay, v + 1, v + 4);
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
