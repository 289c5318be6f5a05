// ITC ephemeris files (as Brevanta writes them): a header line, then per point one line of time,
// ECI position (km) and velocity (km/s), and, unless the header says "WOCOV", three lines of the 21
// packed covariance values.
#include <array>
#include <string>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadITC";
constexpr int kTimeFirst = 4, kTimeWidth = 15;  // YYDDDHHMMSS.SSS of the point line
constexpr int kPosFirst = 19, kVelFirst = 67, kFieldWidth = 16;
constexpr size_t kCovLines = 3, kCovPerLine = 7;

// Time, position and velocity of a point line; false (logged) when one of them does not read.
bool readPointLine(std::string_view s, TarvexPoint& p) {
  p.ds50UTC = readers::dtgColumns(s, kTimeFirst, kTimeWidth);
  if (p.ds50UTC <= 0) {
    SkipBadEphemPoint(kName, basalon::fieldColumns(s, kTimeFirst, kTimeWidth));
    return false;
  }
  for (int k = 0; k < 3; ++k) {
    if (!readers::fixedReal(s, kPosFirst + k * kFieldWidth, kFieldWidth, p.pos[k]) ||
        !readers::fixedReal(s, kVelFirst + k * kFieldWidth, kFieldWidth, p.vel[k])) {
      SkipBadEphemPoint(kName, s);
      return false;
    }
  }
  return true;
}

}  // namespace

void ReadITC(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  rec.epochDs50UTC = readers::dtgColumns(line, 52, 17);
  int32_t satNum = 0;
  if (readers::fixedInt(line, 2, 5, satNum)) rec.satNum = satNum;
  rec.coordSys = kCoordEci;
  const bool withCov = !readers::columnsAre(line, 107, "WOCOV");

  readers::UnitLines lines(unit);
  std::string_view s;
  int rc;
  while ((rc = lines.nextData(s)) == basalon::kUnitOk) {
    TarvexPoint p;
    bool good = readPointLine(s, p);
    if (!withCov) {
      if (good) AddOneEPPoint(p, rec);
      continue;
    }
    // The three covariance lines belong to the point whatever became of its point line: a group
    // is taken or skipped whole.
    std::array<double, kCovPacked> cov{};
    size_t covLine = 0;
    for (; covLine < kCovLines; ++covLine) {
      if ((rc = lines.nextData(s)) != basalon::kUnitOk) break;
      if (good && readers::readFreeReals(s, cov.data() + covLine * kCovPerLine, kCovPerLine) !=
                      readers::FreeRead::kOk) {
        SkipBadEphemPoint(kName, s);
        good = false;
      }
    }
    if (covLine < kCovLines) {
      if (good) SkipBadEphemPoint(kName, "(covariance lines missing at the end of the file)");
      break;
    }
    if (!good) continue;
    bool anyCov = false;
    for (double v : cov) anyCov = anyCov || basalon::neqr(v, 0.0);
    AddOneEPPoint(p, rec, anyCov ? cov.data() : nullptr);
  }
  readers::endOfReading(rc, kName, rec, code);
}

}  // namespace tarvexon
