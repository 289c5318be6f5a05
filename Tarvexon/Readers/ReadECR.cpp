// ECR prediction files: the satellite on the line after the title, a fixed header, then per point a
// position line (time, x, y, z in km) and, unless the header shows positions only, a velocity line
// (km/s). Earth-centred rotating frame.
#include <string>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadECR";
constexpr std::string_view kPositionsOnlyHeader = "YYDDDHHMMSS.SSS      X(KM)          Y(KM)          Z(KM)";
constexpr int32_t kUnknownSatNum = 99999;
constexpr size_t kValuesColumn = 17;

}  // namespace

void ReadECR(int32_t unit, std::string_view /*line*/, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  rec.coordSys = kCoordEcr;
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc = lines.next(s);
  int32_t satNum = kUnknownSatNum;
  if (rc == basalon::kUnitOk && !readers::fixedInt(s, 1, 5, satNum)) satNum = kUnknownSatNum;
  rec.satNum = satNum;
  for (int k = 0; k < 6 && rc == basalon::kUnitOk; ++k) rc = lines.next(s);
  if (rc == basalon::kUnitOk) rc = lines.next(s);
  const bool positionsOnly = rc == basalon::kUnitOk && readers::columnsAre(s, 1, kPositionsOnlyHeader);
  for (int k = 0; k < (positionsOnly ? 1 : 2) && rc == basalon::kUnitOk; ++k) rc = lines.next(s);

  std::string posLine;  // reused: no allocation per point
  while (rc == basalon::kUnitOk && (rc = lines.nextData(s)) == basalon::kUnitOk) {
    posLine.assign(s);
    double pos[3] = {0, 0, 0}, vel[3] = {0, 0, 0};
    readers::FreeRead posRead = readers::readFreeReals(readers::fromColumn(posLine, kValuesColumn), pos, 3);
    readers::FreeRead velRead = readers::FreeRead::kOk;
    std::string_view velLine;
    if (!positionsOnly) {
      if ((rc = lines.nextData(s)) != basalon::kUnitOk) {
        if (rc == basalon::kUnitEnd) SkipBadEphemPoint(kName, posLine);  // a pair cut short
        break;
      }
      velLine = s;
      velRead = readers::readFreeReals(readers::fromColumn(velLine, kValuesColumn), vel, 3);
    }
    const double t = readers::dtgColumns(posLine, 1, 15);
    if (t <= 0) {
      SkipBadEphemPoint(kName, basalon::fieldColumns(posLine, 1, 15));
    } else if (posRead != readers::FreeRead::kOk) {
      SkipBadEphemPoint(kName, posLine);
    } else if (velRead != readers::FreeRead::kOk) {
      SkipBadEphemPoint(kName, velLine);
    } else {
      readers::addPoint(rec, t, pos, vel);
      continue;
    }
    // A point line that runs out of numbers ends the ephemeris, as the end of the file does.
    if (posRead == readers::FreeRead::kTooFew || velRead == readers::FreeRead::kTooFew) break;
  }
  if (rc != basalon::kUnitOk && rc != basalon::kUnitEnd) {
    code = readers::fileReadError(kName);
    return;
  }
  readers::settleEpoch(rec);
}

}  // namespace tarvexon
