// LCH files: four header lines, the satellite in columns 44-48 of the fifth, four more header lines,
// then one line per point: a 17-character date-time group and seven values (position km, velocity
// km/s, one scalar kept in the first covariance slot and marked). Inertial frame of date.
#include <string>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadLCH";
constexpr size_t kValuesColumn = 19;

}  // namespace

void ReadLCH(int32_t unit, std::string_view /*line*/, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  if (readers::refusesDefaultUnit(unit, kName, code)) return;
  rec.coordSys = kCoordEci;
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc = basalon::kUnitOk;
  for (int k = 0; k < 5 && rc == basalon::kUnitOk; ++k) rc = lines.next(s);
  int32_t satNum = 0;
  if (rc == basalon::kUnitOk && readers::fixedInt(s, 44, 5, satNum)) rec.satNum = satNum;
  for (int k = 0; k < 4 && rc == basalon::kUnitOk; ++k) rc = lines.next(s);

  while (rc == basalon::kUnitOk && (rc = lines.nextData(s)) == basalon::kUnitOk) {
    const double t = readers::dtgColumns(s, 1, 17);
    if (t <= 0) {
      SkipBadEphemPoint(kName, basalon::fieldColumns(s, 1, 17));
      continue;
    }
    double v[7];
    if (readers::readFreeReals(readers::fromColumn(s, kValuesColumn), v, 7) != readers::FreeRead::kOk) {
      SkipBadEphemPoint(kName, s);
      continue;
    }
    TarvexPoint p;
    p.ds50UTC = t;
    for (int k = 0; k < 3; ++k) {
      p.pos[k] = v[k];
      p.vel[k] = v[3 + k];
    }
    p.covMtx[0] = v[6];
    p.covMtx[1] = kScalarCovMarker;
    AddOneEPPoint(p, rec);
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
