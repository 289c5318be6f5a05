// J2K prediction files: after the title, one line per point with the satellite (first line only),
// the time spread over separate fields and six free reals (km, km/s), mean of J2000 frame.
#include <string>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadJ2K";
constexpr int32_t kUnknownSatNum = 99999;

// The 15-character group YYDDDHHMMSS.SSS from columns 12-13, 15-17, 19-20, 22-23 and 25-30, blanks
// as zeros.
double pointTime(std::string_view s) {
  struct Piece {
    size_t first, width;
  };
  constexpr Piece kPieces[] = {{12, 2}, {15, 3}, {19, 2}, {22, 2}, {25, 6}};
  char dtg[15];
  size_t n = 0;
  for (const Piece& p : kPieces)
    for (size_t k = 0; k < p.width; ++k) {
      const char c = readers::columnAt(s, p.first + k);
      dtg[n++] = c == ' ' ? '0' : c;
    }
  return chronel::dtgtods50(std::string_view(dtg, sizeof dtg));
}

}  // namespace

void ReadJ2K(int32_t unit, std::string_view /*line*/, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  rec.coordSys = kCoordJ2k;
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  bool first = true;
  // Every line is a point line here: comment lines are not passed over.
  while ((rc = lines.next(s)) == basalon::kUnitOk) {
    if (first) {
      first = false;
      int32_t satNum = kUnknownSatNum;
      if (!readers::fixedInt(s, 3, 5, satNum)) satNum = kUnknownSatNum;
      rec.satNum = satNum;
    }
    const double t = pointTime(s);
    if (t <= 0) {
      SkipBadEphemPoint(kName, basalon::fieldColumns(s, 12, 19));
      continue;
    }
    double v[6];
    if (readers::readFreeReals(readers::fromColumn(s, 32), v, 6) != readers::FreeRead::kOk) {
      SkipBadEphemPoint(kName, s);
      continue;
    }
    readers::addPoint(rec, t, v, v + 3);
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
