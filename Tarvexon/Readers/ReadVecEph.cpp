// Vector-ephemeris files: the shared SP header, then pairs of lines per point (position in km with
// the satellite and frame; time and velocity in km/s).
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadVecEph";
constexpr int kVectorFirst = 18, kFieldWidth = 16;

bool readVector(std::string_view s, double out[3]) {
  for (int k = 0; k < 3; ++k)
    if (!readers::fixedReal(s, kVectorFirst + k * kFieldWidth, kFieldWidth, out[k])) return false;
  return true;
}

}  // namespace

void ReadVecEph(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  if (!readers::readSpHeader(line, rec)) {
    code = basalon::fail("*** ReadVecEph: Invalid header line. ***");
    return;
  }
  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  bool firstPair = true;
  std::string line1;  // reused: no allocation per pair
  while ((rc = lines.nextData(s)) == basalon::kUnitOk) {
    line1.assign(s);
    bool good = true;
    if (firstPair) {
      firstPair = false;
      int32_t satNum = 0;
      if (readers::fixedInt(line1, 67, 5, satNum)) {
        char buf[64];
        const int32_t coord = Coord(readers::paddedColumns(line1, 78, 3, buf));
        if (coord == kCoordUnknown) {
          basalon::tracelogerror(line1);
          code = basalon::fail("*** ReadVecEph: Invalid Coordinate system. ***");
          return;
        }
        rec.satNum = satNum;
        rec.coordSys = coord;
      } else {
        SkipBadEphemPoint(kName, line1);
        good = false;
      }
    }
    double pos[3], vel[3];
    if (good && !readVector(line1, pos)) {
      SkipBadEphemPoint("ReadVecEph-InvalidPosition", line1);
      good = false;
    }
    if ((rc = lines.nextData(s)) != basalon::kUnitOk) {
      if (rc == basalon::kUnitEnd && good) SkipBadEphemPoint(kName, line1);  // a pair cut short
      break;
    }
    if (!good) continue;
    const double t = readers::dtgColumns(s, 3, 15);
    if (t <= 0) {
      SkipBadEphemPoint(kName, s);
    } else if (!readVector(s, vel)) {
      SkipBadEphemPoint("ReadVecEph-InvalidVelocity", s);
    } else {
      readers::addPoint(rec, t, pos, vel);
    }
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
