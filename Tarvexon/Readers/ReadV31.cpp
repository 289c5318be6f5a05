// V31 ephemeris files: a header naming the satellite and the frame, then data blocks between lines
// of 48 "=" and 48 "E"; a line of 48 "Z" ends the ephemeris. Positions in km, velocities in m/s.
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadV31";
constexpr size_t kMarkWidth = 48;
constexpr int kFieldWidth = 19;  // six reals from column 16

bool isMarkLine(std::string_view s, char mark) {
  if (s.size() < kMarkWidth) return false;
  for (size_t k = 0; k < kMarkWidth; ++k)
    if (s[k] != mark) return false;
  return true;
}

// One data line: its point, or a logged skip.
void readDataLine(std::string_view s, TarvexRecord& rec) {
  const double t = readers::dtgColumns(s, 1, 15);
  if (t <= 0) {
    SkipBadEphemPoint("ReadV31-Invalid ephemeris time format", s);
    return;
  }
  double v[6];
  for (int k = 0; k < 6; ++k) {
    if (!readers::fixedReal(s, 16 + k * kFieldWidth, kFieldWidth, v[k])) {
      SkipBadEphemPoint(kName, s);
      return;
    }
  }
  const double vel[3] = {v[3] * readers::kKmPerMeter, v[4] * readers::kKmPerMeter,
                         v[5] * readers::kKmPerMeter};
  readers::addPoint(rec, t, v, vel);
}

}  // namespace

void ReadV31(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  if (readers::refusesDefaultUnit(unit, kName, code)) return;
  int32_t satNum = 0;
  if (!readers::fixedInt(line, 30, 5, satNum)) {
    basalon::tracelogerror(line);
    code = basalon::fail("*** ReadV31: Invalid satellite number. ***");
    return;
  }
  rec.satNum = satNum;

  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  bool inBlock = false;
  while ((rc = inBlock ? lines.nextData(s) : lines.next(s)) == basalon::kUnitOk) {
    if (inBlock) {
      if (isMarkLine(s, 'E')) {
        inBlock = false;
      } else {
        readDataLine(s, rec);
      }
    } else if (isMarkLine(s, 'Z')) {
      break;
    } else if (s.starts_with("Propagation by")) {
      if (readers::columnsAre(s, 66, "ECI")) {
        rec.coordSys = kCoordEci;
      } else if (readers::columnsAre(s, 66, "EFG")) {
        rec.coordSys = kCoordEfg;
      } else {
        basalon::tracelogerror(s);
        code = basalon::fail("*** ReadV31: Unrecognized Coordinates. ***");
        return;
      }
    } else if (isMarkLine(s, '=')) {
      inBlock = true;
    }
  }
  if (rc != basalon::kUnitOk && rc != basalon::kUnitEnd) {
    code = readers::fileReadError(kName);
    return;
  }
  readers::settleEpoch(rec);
}

}  // namespace tarvexon
