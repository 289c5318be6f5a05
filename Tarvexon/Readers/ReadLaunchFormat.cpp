// Launch trajectory files: sixteen header lines after the title, then per line seconds since 0 h UTC
// of the day the file is read, three unused values, position (m), velocity (m/s), five unused values
// and an unused text. Earth-centred rotating frame.
#include <atomic>
#include <ctime>
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadLaunchFormat";
constexpr int32_t kUnknownSatNum = 99999;
constexpr int kHeaderLines = 16;
constexpr size_t kValues = 15;  // seconds, 3 unused, position, velocity, 5 unused

CalendarDate systemToday() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday};
}

std::atomic<TodayFn> tToday{nullptr};

double todayEpoch() {
  const TodayFn fn = tToday.load();
  const CalendarDate d = fn != nullptr ? fn() : systemToday();
  return chronel::yrdays2ds50(d.year, chronel::mmdd2jul(d.year, d.month, d.day));
}

}  // namespace

void setLaunchFormatToday(TodayFn today) { tToday.store(today); }

void ReadLaunchFormat(int32_t unit, std::string_view /*line*/, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  if (readers::refusesDefaultUnit(unit, kName, code)) return;
  rec.coordSys = kCoordEcr;
  rec.satNum = kUnknownSatNum;
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc = basalon::kUnitOk;
  for (int k = 0; k < kHeaderLines && rc == basalon::kUnitOk; ++k) rc = lines.next(s);
  const double epoch = todayEpoch();
  while (rc == basalon::kUnitOk && (rc = lines.nextData(s)) == basalon::kUnitOk) {
    double v[kValues];
    // A line that does not read is one bad point, not a failed file.
    if (readers::readFreeReals(s, v, kValues) != readers::FreeRead::kOk) {
      SkipBadEphemPoint(kName, s);
      continue;
    }
    const double t = epoch + v[0] / chronel::kSecondsPerDay;
    if (t <= 0) {
      SkipBadEphemPoint(kName, s);
      continue;
    }
    for (size_t k = 4; k < 10; ++k) v[k] *= readers::kKmPerMeter;
    readers::addPoint(rec, t, v + 4, v + 7);
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
