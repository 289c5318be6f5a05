// ".e" ephemeris files: a keyword header (scenario epoch, central body, frame, distance unit, data
// kind) and one line per point of seconds since the epoch, position and, for the PosVel kinds,
// velocity; meters and m/s unless the header says kilometers. Data end at "END Ephemeris".
#include <string>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon {
namespace {

constexpr std::string_view kName = "ReadDotE";

enum class DataKind { kPos, kPosVel, kPosVelAcc };
enum class DistanceUnit { kMeters, kKilometers };

bool has(std::string_view line, std::string_view word) { return line.find(word) != std::string_view::npos; }

// "#" lines are comments of this format, besides the shared comment lines.
bool isDotEComment(std::string_view line) {
  return readers::isCommentLine(line) || readers::leftAdjusted(line).starts_with('#');
}

// The whole date and time after the keyword, a one-digit day given its leading "0"; <= 0 when it
// does not read. Every decimal of the seconds counts.
double scenarioEpoch(std::string_view line) {
  const size_t first = line.find_first_of("+-0123456789");
  if (first == std::string_view::npos) return -1.0;
  std::string text(basalon::trimRight(line.substr(first)));
  if (text.size() > 1 && (text[1] == ' ' || text[1] == '\t')) text.insert(0, 1, '0');
  return chronel::dtg2ds50utc(text);
}

struct Header {
  double epoch = 0;
  DistanceUnit unit = DistanceUnit::kMeters;
  DataKind kind = DataKind::kPosVel;
};

// Reads the header up to the data-kind line. code 2 (with its message) for a header that cannot
// describe an Earth ephemeris; rc is the unit's last status.
int32_t readHeader(readers::UnitLines& lines, TarvexRecord& rec, Header& h, int& rc) {
  std::string_view raw;
  while ((rc = lines.next(raw)) == basalon::kUnitOk) {
    if (isDotEComment(raw)) continue;
    const std::string_view s = readers::leftAdjusted(raw);
    if (h.epoch == 0 && has(s, "ScenarioEpoch")) {
      if (s.find_first_of("+-0123456789") == std::string_view::npos)
        return basalon::fail("*** ReadDotE: Invalid epoch time. ***");
      h.epoch = scenarioEpoch(s);
      if (h.epoch < 0) h.epoch = 0;
    } else if (has(s, "CentralBody")) {
      if (!has(s, "Earth")) return basalon::fail("*** ReadDotE: Invalid file. CentralBody is not Earth. ***");
    } else if (has(s, "CoordinateSystem")) {
      if (has(s, "TEMEOfDate")) {
        rec.coordSys = kCoordEci;
      } else if (has(s, "Fixed")) {
        rec.coordSys = kCoordEcr;
      } else if (has(s, "J2000") || has(s, "ICRF")) {
        rec.coordSys = kCoordJ2k;
      } else {
        return basalon::fail(
            "*** ReadDotE: Invalid coordinate system. Only Fixed, J2000, and TEMEOfDate are supported. ***");
      }
    } else if (has(s, "DistanceUnit")) {
      if (has(s, "Kilometers")) {
        h.unit = DistanceUnit::kKilometers;
      } else if (!has(s, "Meters")) {
        return basalon::fail(
            "*** ReadDotE: Invalid distance unit. Only meters and kilometers are supported. ***");
      }
    } else if (has(s, "EphemerisTime") || has(s, "EphemerisEciTime")) {
      if (has(s, "PosVelAcc")) {
        h.kind = DataKind::kPosVelAcc;
      } else if (has(s, "PosVel")) {
        h.kind = DataKind::kPosVel;
      } else if (has(s, "Pos")) {
        h.kind = DataKind::kPos;
      } else {
        return basalon::fail(
            "*** ReadDotE: Invalid ephem type. Only TimePos, PosVel, and PosVelAcc are supported. ***");
      }
      return basalon::kResultOk;
    }
  }
  return basalon::kResultOk;
}

}  // namespace

void ReadDotE(int32_t unit, std::string_view /*line*/, TarvexRecord& rec, int32_t& code) {
  code = basalon::kResultOk;
  if (readers::refusesDefaultUnit(unit, kName, code)) return;
  rec.coordSys = kCoordJ2k;
  rec.epochDs50UTC = 0;
  rec.satNum = readers::satNumFromFileName(basalon::trimRight(rec.fileName.view()));
  readers::UnitLines lines(unit);
  Header h;
  int rc = basalon::kUnitOk;
  code = readHeader(lines, rec, h, rc);
  if (code != basalon::kResultOk) return;
  if (rc != basalon::kUnitOk && rc != basalon::kUnitEnd) {
    code = readers::fileReadError(kName);
    return;
  }
  if (h.epoch == 0) {
    code = basalon::fail("*** ReadDotE: Unable to read reference epoch time. ***");
    return;
  }

  const double scale = h.unit == DistanceUnit::kMeters ? readers::kKmPerMeter : 1.0;
  const size_t count = h.kind == DataKind::kPos ? 4 : 7;
  std::string_view s;
  while (rc == basalon::kUnitOk && (rc = lines.next(s)) == basalon::kUnitOk) {
    if (isDotEComment(s)) continue;
    if (readers::containsNoCase(s, "end ephemeris")) break;
    double v[7] = {0, 0, 0, 0, 0, 0, 0};
    if (readers::readFreeReals(s, v, count) != readers::FreeRead::kOk) {
      SkipBadEphemPoint(kName, s);
      continue;
    }
    const double t = h.epoch + v[0] / chronel::kSecondsPerDay;
    if (t <= 0) {
      SkipBadEphemPoint(kName, s);
      continue;
    }
    for (int k = 1; k < 7; ++k) v[k] *= scale;
    readers::addPoint(rec, t, v + 1, v + 4);
  }
  if (rc != basalon::kUnitOk && rc != basalon::kUnitEnd) {
    code = readers::fileReadError(kName);
    return;
  }
  readers::settleEpoch(rec);
}

}  // namespace tarvexon
