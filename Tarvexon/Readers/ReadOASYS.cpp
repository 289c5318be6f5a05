// OASYS files, read again from their first line: "Spacecraft:" lines name the satellite, point
// lines hold a calendar time "YYYY/MM/DD HH:MM:SS.SSS" (columns 1-23) and six values from column 25
// (km, km/s). Mean of J2000 frame.
#include <string>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadOASYS";
constexpr size_t kValuesColumn = 25;

bool isPointLine(std::string_view s) {
  return readers::columnAt(s, 5) == '/' && readers::columnAt(s, 8) == '/' &&
         readers::columnAt(s, 14) == ':' && readers::columnAt(s, 17) == ':';
}

}  // namespace

void ReadOASYS(int32_t unit, std::string_view /*line*/, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  if (readers::refusesDefaultUnit(unit, kName, code)) return;
  rec.coordSys = kCoordJ2k;
  rec.satNum = readers::satNumFromFileName(basalon::trimRight(rec.fileName.view()));
  if (basalon::fileRewind(unit) != basalon::kUnitOk) {
    code = readers::fileReadError(kName);
    return;
  }
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  while ((rc = lines.nextData(s)) == basalon::kUnitOk) {
    if (readers::columnsAre(s, 10, "Spacecraft:")) {
      rec.satNum = basalon::strtoint(readers::fromColumn(s, 21));
    } else if (isPointLine(s)) {
      const double t = chronel::dtg2ds50utc(basalon::fieldColumns(s, 1, 23));
      double v[6];
      if (t <= 0 ||
          readers::readFreeReals(readers::fromColumn(s, kValuesColumn), v, 6) != readers::FreeRead::kOk) {
        SkipBadEphemPoint(kName, s);
        continue;
      }
      readers::addPoint(rec, t, v, v + 3);
    }
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
