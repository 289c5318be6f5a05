// Host-facing exports of the units, the formatted-number writers and readers and the card values.
// Every buffer is read or written only within its documented length; no terminator is relied on.
// Every failure writes exactly one trace-log line: the open routines write their own, the other unit
// routines stay silent at library level (their callers report in their own words) and are reported here.
#include <string>
#include <string_view>

#include "Basalon.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"

using namespace basalon;

namespace {

constexpr size_t kMaxReadRealLength = 512;

const char* unitProblem(int code) {
  switch (code) {
    case kUnitBadNumber:
      return "unit number out of range (1-999)";
    case kUnitNotOpen:
      return "unit not open";
    case kUnitWrongMode:
      return "unit open in the other direction";
    case kUnitIoError:
      return "read, write or close failed";
    default:
      return "bad argument";
  }
}

// Passes a unit routine's code on, writing one line for a failure (end of file is not one).
int32_t unitResult(const char* exportName, int32_t unit, int code) {
  if (code == kUnitOk || code == kUnitEnd) return code;
  logErrorf("%s: unit %d: %s", exportName, unit, unitProblem(code));
  return code;
}

int32_t badArgument(const char* exportName, const char* what, int32_t value) {
  logErrorf("%s: %s %d out of range", exportName, what, value);
  return kUnitBadArgument;
}

// The shared checks of the Fw.d / Ew.d exports: a field of 1 to 256 characters, or nothing is written.
int32_t formatField(const char* exportName, char letter, double value, int32_t width, int32_t decimals,
                    char* field, bool (*writer)(char*, int, int, double)) {
  if (!nonNull(exportName, field)) return kResultFail;
  if (width < 1 || width > kMaxFieldWidth)
    return failf("%s: width %d out of range (1-%d)", exportName, width, kMaxFieldWidth);
  if (writer(field, width, decimals, value)) return kResultOk;
  return failf("%s: %g does not fit %c%d.%d", exportName, value, letter, width, decimals);
}

}  // namespace

int32_t BasalonFileOpen(int32_t unit, const char fileName[512], int32_t mode) {
  if (!nonNull("BasalonFileOpen", fileName)) return kUnitBadArgument;
  return fileopen(unit, hostText(fileName, kFileNameWidth), mode);
}

int32_t BasalonFileOpenMT(const char fileName[512], int32_t mode, int32_t* unit) {
  if (unit != nullptr) *unit = 0;
  if (!nonNull("BasalonFileOpenMT", fileName, unit)) return kUnitBadArgument;
  int u = 0, status = 0;
  fileopenmt(hostText(fileName, kFileNameWidth), mode, u, status);
  *unit = u;
  return status;
}

int32_t BasalonFileClose(int32_t unit) { return unitResult("BasalonFileClose", unit, fileClose(unit)); }
int32_t BasalonFileRewind(int32_t unit) { return unitResult("BasalonFileRewind", unit, fileRewind(unit)); }
int32_t BasalonFileBackspace(int32_t unit) {
  return unitResult("BasalonFileBackspace", unit, fileBackspace(unit));
}

int32_t BasalonFileReadLine(int32_t unit, char* line, int32_t lineLength) {
  if (!nonNull("BasalonFileReadLine", line)) return kUnitBadArgument;
  if (lineLength < 1 || lineLength > kMaxLineColumns)
    return badArgument("BasalonFileReadLine", "line length", lineLength);
  std::string text;
  const int code = fileReadLine(unit, lineLength, text);
  strtochararr(text, line, static_cast<size_t>(lineLength));
  return unitResult("BasalonFileReadLine", unit, code);
}

int32_t BasalonFileWriteLine(int32_t unit, const char* line, int32_t lineLength) {
  if (lineLength < 0 || lineLength > kMaxLineColumns)
    return badArgument("BasalonFileWriteLine", "line length", lineLength);
  if (lineLength > 0 && !nonNull("BasalonFileWriteLine", line)) return kUnitBadArgument;
  const std::string_view text = line != nullptr
                                    ? trimRight(std::string_view(line, static_cast<size_t>(lineLength)))
                                    : std::string_view();
  return unitResult("BasalonFileWriteLine", unit, fileWriteLine(unit, text));
}

int32_t BasalonExistFortDotFileUnit(int32_t unit) { return existfortdotfileunit(unit) ? 1 : 0; }

int32_t BasalonFormatF(double value, int32_t width, int32_t decimals, char* field) {
  return formatField("BasalonFormatF", 'F', value, width, decimals, field, writeF);
}

int32_t BasalonFormatE(double value, int32_t width, int32_t decimals, char* field) {
  return formatField("BasalonFormatE", 'E', value, width, decimals, field, writeE);
}

int32_t BasalonReadReal(const char* text, int32_t textLength, double* value) {
  if (!nonNull("BasalonReadReal", value)) return kResultFail;
  *value = 0.0;
  if (textLength < 0 || static_cast<size_t>(textLength) > kMaxReadRealLength)
    return failf("BasalonReadReal: text length %d out of range (0-%zu)", textLength, kMaxReadRealLength);
  if (textLength > 0 && !nonNull("BasalonReadReal", text)) return kResultFail;
  const std::string_view t = text != nullptr ? std::string_view(text, static_cast<size_t>(textLength)) : "";
  double v = 0.0;
  if (parseReal(t, v) != kFieldOk) return failf("BasalonReadReal: not a number: '%.*s'", textLength, text);
  *value = v;
  return kResultOk;
}

void BasalonGetInputStr(const char card[512], char value[512]) {
  if (!nonNull("BasalonGetInputStr", value)) return;
  strtochararr("", value, kTextWidth);  // cleared on entry
  if (!nonNull("BasalonGetInputStr", card)) return;
  strtochararr(getinputstr(std::string_view(card, kTextWidth)), value, kTextWidth);
}
