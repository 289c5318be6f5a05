// Host-facing exports of the units, the formatted-number writers and readers and the card values.
// Every buffer is read or written only within its documented length; no terminator is relied on.
#include <cstring>
#include <string>
#include <string_view>

#include "Basalon.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"

using namespace basalon;

namespace {

constexpr size_t kHostNameLength = 512;
constexpr size_t kHostCardLength = 512;
constexpr size_t kMaxReadRealLength = 512;

// A host file-name buffer: up to the first NUL within its 512 characters (a name never holds one).
std::string_view hostname(const char* buf) {
  const void* nul = std::memchr(buf, '\0', kHostNameLength);
  const size_t n =
      nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - buf) : kHostNameLength;
  return std::string_view(buf, n);
}

int32_t nullargument(const char* routine, const char* what) {
  tracelogerror(std::string(routine) + ": " + what + " is a null pointer.");
  return kUnitBadArgument;
}

}  // namespace

int32_t BasalonFileOpen(int32_t unit, const char fileName[512], int32_t mode) {
  if (fileName == nullptr) return nullargument("BasalonFileOpen", "The file name");
  return fileopen(unit, hostname(fileName), mode);
}

int32_t BasalonFileOpenMT(const char fileName[512], int32_t mode, int32_t* unit) {
  if (unit != nullptr) *unit = 0;
  if (fileName == nullptr) return nullargument("BasalonFileOpenMT", "The file name");
  if (unit == nullptr) return nullargument("BasalonFileOpenMT", "The unit output");
  int u = 0, status = 0;
  fileopenmt(hostname(fileName), mode, u, status);
  *unit = u;
  return status;
}

int32_t BasalonFileClose(int32_t unit) { return fileclose(unit); }
int32_t BasalonFileRewind(int32_t unit) { return filerewind(unit); }
int32_t BasalonFileBackspace(int32_t unit) { return filebackspace(unit); }

int32_t BasalonFileReadLine(int32_t unit, char* line, int32_t lineLength) {
  if (line == nullptr) return kUnitBadArgument;
  if (lineLength < 1 || lineLength > kMaxLineColumns) return kUnitBadArgument;
  std::string text;
  const int code = filereadline(unit, lineLength, text);
  strtochararr(text, line, static_cast<size_t>(lineLength));
  return code;
}

int32_t BasalonFileWriteLine(int32_t unit, const char* line, int32_t lineLength) {
  if (lineLength < 0 || lineLength > kMaxLineColumns) return kUnitBadArgument;
  if (line == nullptr && lineLength > 0) return kUnitBadArgument;
  const std::string_view text = line != nullptr
                                    ? trimright(std::string_view(line, static_cast<size_t>(lineLength)))
                                    : std::string_view();
  return filewriteline(unit, text);
}

int32_t BasalonExistFortDotFileUnit(int32_t unit) { return existfortdotfileunit(unit) ? 1 : 0; }

int32_t BasalonFormatF(double value, int32_t width, int32_t decimals, char* field) {
  if (field == nullptr) return 2;
  return writef(field, width, decimals, value) ? 0 : 2;
}

int32_t BasalonFormatE(double value, int32_t width, int32_t decimals, char* field) {
  if (field == nullptr) return 2;
  return writee(field, width, decimals, value) ? 0 : 2;
}

int32_t BasalonReadReal(const char* text, int32_t textLength, double* value) {
  if (value == nullptr) return 2;
  *value = 0.0;
  if (textLength < 0 || static_cast<size_t>(textLength) > kMaxReadRealLength) return 2;
  if (text == nullptr && textLength > 0) return 2;
  double v = 0.0;
  const std::string_view t = text != nullptr ? std::string_view(text, static_cast<size_t>(textLength)) : "";
  if (parsereal(t, v) != kFieldOk) return 2;
  *value = v;
  return 0;
}

void BasalonGetInputStr(const char card[512], char value[512]) {
  if (value == nullptr) return;
  if (card == nullptr) {
    strtochararr("", value, kHostCardLength);
    return;
  }
  strtochararr(getinputstr(std::string_view(card, kHostCardLength)), value, kHostCardLength);
}
