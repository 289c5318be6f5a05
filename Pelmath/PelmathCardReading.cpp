// Pelmath card reading: comment and blank lines are skipped, the others upper-cased and classified;
// the JPL cards set the file name and the DS50 span of the JPL control record.
#include "Pelmath/PelmathCardReading.h"

#include <algorithm>
#include <string>

#include "Pelmath/JplProcessing.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Chronel/Chronel.h"

namespace pelmath {

namespace {

constexpr int kCardColumns = 512;
constexpr int kCardJplFile = 1, kCardJplStart = 2, kCardJplStop = 3;

bool startswith(std::string_view line, std::string_view key) { return line.substr(0, key.size()) == key; }

// DS50 of the date-time group on a start or stop card; false (logged) when it cannot be read.
bool carddate(std::string_view card, double& ds50) {
  const double t = chronel::dtgtods50(basalon::getinputstr(card));
  if (t <= 0.0) {
    basalon::tracelogerror("ReadPelmathFrFileUnit: Invalid date-time group on card " + std::string(card));
    return false;
  }
  ds50 = t;
  return true;
}

void applycard(const std::string& original) {
  const std::string card = basalon::touppercase(original);
  switch (PelmathCardType(card)) {
    case kCardJplFile:
      // The name is taken from the card as written: file names are case sensitive.
      jplctrl.fileName.set(basalon::getinputfilename(original));
      break;
    case kCardJplStart:
      carddate(card, jplctrl.startTime);
      break;
    case kCardJplStop:
      carddate(card, jplctrl.stopTime);
      break;
    default:
      break;
  }
}

}  // namespace

int PelmathCardType(std::string_view line) {
  if (startswith(line, "JPL_FILE")) return kCardJplFile;
  if (startswith(line, "JPL_START")) return kCardJplStart;
  if (startswith(line, "JPL_STOP")) return kCardJplStop;
  return 100;
}

int ReadPelmathFrFile(std::string_view fileName) {
  // The host's name: at most 512 characters, to its first NUL, trailing blanks dropped.
  const std::string name =
      basalon::hostText(fileName.data(), std::min<size_t>(fileName.size(), basalon::kFileNameWidth));
  const int st = basalon::fileopen(kPelmathCardUnit, name, basalon::kOpenRead, 1);
  if (st != basalon::kUnitOk) return st;
  const int result = ReadPelmathFrFileUnit(kPelmathCardUnit);
  basalon::fileClose(kPelmathCardUnit);
  return result;
}

int ReadPelmathFrFileUnit(int unit) {
  if (basalon::existfortdotfileunit(unit)) {
    return basalon::fail("ReadPelmathFrFileUnit: Using fort.n not allowed in Zenkora due to security risk");
  }
  if (basalon::fileRewind(unit) != basalon::kUnitOk) return 0;
  std::string line;
  while (basalon::fileReadLine(unit, kCardColumns, line) == basalon::kUnitOk) {
    if (line[0] == '*' || basalon::isblankornull(line)) continue;
    applycard(line);
  }
  return 0;
}

}  // namespace pelmath
