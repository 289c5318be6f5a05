// Simulated-observation ephemeris files: the shared SP header, then groups of three lines per point
// (satellite, time, revolution and frame; position km; velocity km/s).
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadSimObs";
constexpr int kFieldWidth = 22;

bool readVector(std::string_view s, double out[3]) {
  for (int k = 0; k < 3; ++k)
    if (!readers::fixedReal(s, 1 + k * kFieldWidth, kFieldWidth, out[k])) return false;
  return true;
}

}  // namespace

void ReadSimObs(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  if (!readers::readSpHeader(line, rec)) {
    code = basalon::fail("*** ReadSimObs: Invalid header line. ***");
    return;
  }
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  bool firstGroup = true;
  std::string line1, badText;  // reused: no allocation per group
  while ((rc = lines.nextData(s)) == basalon::kUnitOk) {
    // Line 1 is kept: the next lines replace it in the line buffer.
    line1.assign(s);
    bool good = true;
    if (firstGroup) {
      firstGroup = false;
      int32_t satNum = 0;
      if (readers::fixedInt(line1, 2, 5, satNum)) {
        char buf[64];
        const int32_t coord = Coord(readers::paddedColumns(line1, 76, 3, buf));
        if (coord == kCoordUnknown) {
          basalon::tracelogerror(line1);
          code = basalon::fail("*** ReadSimObs: Invalid Coordinate system. ***");
          return;
        }
        rec.satNum = satNum;
        rec.coordSys = coord;
      } else {
        good = false;
      }
    }
    const double t = readers::dtgColumns(line1, 8, 15);
    int32_t revNum = 0;
    if (good && (t <= 0 || !readers::fixedInt(line1, 23, 7, revNum))) good = false;
    if (!good) badText.assign(line1);
    double pos[3] = {0, 0, 0}, vel[3] = {0, 0, 0};
    for (double* v : {pos, vel}) {
      if ((rc = lines.nextData(s)) != basalon::kUnitOk) break;
      if (good && !readVector(s, v)) {
        good = false;
        badText.assign(s);
      }
    }
    if (rc != basalon::kUnitOk) {
      if (rc == basalon::kUnitEnd) SkipBadEphemPoint(kName, line1);  // a group cut short
      break;
    }
    if (good) {
      readers::addPoint(rec, t, pos, vel, revNum);
    } else {
      SkipBadEphemPoint(kName, badText);
    }
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
