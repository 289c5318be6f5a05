// ZQ universal ephemeris files: a title line naming the satellite (columns 30-39), the system
// (40-49, one of the mobile kinds) and whether the data are comma-separated ("CSV " in 50-53); then
// one line per point: a calendar time and six values in the system's six slots.
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

constexpr std::string_view kName = "ReadZQUniversalTarvex";
constexpr size_t kLastCommaColumn = 27;

enum class Layout { kFixed, kCommaSeparated };

// Fixed columns: the time in 1-26, six 19-column values from column 28, one blank column apart.
void readFixedLine(std::string_view s, TarvexRecord& rec) {
  const double t = chronel::dtg2ds50utc(basalon::fieldColumns(s, 1, 26));
  if (t <= 0) {
    SkipBadEphemPoint(kName, basalon::fieldColumns(s, 1, 26));
    return;
  }
  double v[6];
  for (int k = 0; k < 6; ++k)
    if (!readers::fixedReal(s, 28 + 20 * k, 19, v[k])) {
      SkipBadEphemPoint(kName, s);
      return;
    }
  readers::addPoint(rec, t, v, v + 3);
}

// Comma-separated: the time before the first comma (within columns 1-27), six values after it.
void readCsvLine(std::string_view s, TarvexRecord& rec) {
  const size_t comma = s.find(',');
  if (comma == std::string_view::npos || comma >= kLastCommaColumn) {
    SkipBadEphemPoint(kName, s);
    return;
  }
  const double t = chronel::dtg2ds50utc(s.substr(0, comma));
  double v[6];
  if (t <= 0 || readers::readFreeReals(s.substr(comma + 1), v, 6) != readers::FreeRead::kOk) {
    SkipBadEphemPoint(kName, s);
    return;
  }
  readers::addPoint(rec, t, v, v + 3);
}

}  // namespace

void ReadZQUniversalTarvex(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  char field[64];
  const int32_t system = Coord(readers::paddedColumns(line, 40, 10, field));  // ten columns, blanks too
  if (system == kCoordUnknown) {
    code = basalon::fail("*** ReadZQUniversalTarvex: Invalid coordinate system. ***");
    return;
  }
  const int32_t satNum = basalon::strtoint(basalon::fieldColumns(line, 30, 10));
  if (satNum == basalon::kNotANumber) {
    code = basalon::fail("*** ReadZQUniversalTarvex: Invalid satellite number. ***");
    return;
  }
  rec.coordSys = system;
  rec.satNum = satNum;
  const Layout layout = readers::columnsAre(line, 50, "CSV ") ? Layout::kCommaSeparated : Layout::kFixed;
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  while ((rc = lines.nextData(s)) == basalon::kUnitOk) {
    if (layout == Layout::kFixed) {
      readFixedLine(s, rec);
    } else {
      readCsvLine(s, rec);
    }
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
