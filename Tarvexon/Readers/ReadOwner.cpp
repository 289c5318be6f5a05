// Owner/operator files, read again from their first line: per line a 15-character date-time group
// and six free values from column 16 (km, km/s). Mean of J2000 frame.
#include <string>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadOwner";
constexpr size_t kValuesColumn = 16;

}  // namespace

void ReadOwner(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  if (readers::refusesDefaultUnit(unit, kName, code)) return;
  rec.coordSys = kCoordJ2k;
  rec.epochDs50UTC = readers::dtgColumns(line, 1, 15);
  rec.satNum = readers::satNumFromFileName(basalon::trimRight(rec.fileName.view()));
  if (basalon::fileRewind(unit) != basalon::kUnitOk) {
    code = readers::fileReadError(kName);
    return;
  }
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  while ((rc = lines.nextData(s)) == basalon::kUnitOk) {
    const double t = readers::dtgColumns(s, 1, 15);
    double v[6];
    if (t <= 0 ||
        readers::readFreeReals(readers::fromColumn(s, kValuesColumn), v, 6) != readers::FreeRead::kOk) {
      SkipBadEphemPoint(kName, s);
      continue;
    }
    readers::addPoint(rec, t, v, v + 3);
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
