// Line sources: caller text and open read units.
#include "Siblings/Basalon/LineSource.h"

#include <string>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"

namespace basalon {

void forEachTextLine(std::string_view text, const std::function<void(std::string_view)>& onLine) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    onLine(text.substr(start, end - start));
    start = end + 1;
  }
}

int forEachUnitLine(int unit, int columns, std::string_view routine,
                    const std::function<void(std::string_view)>& onLine) {
  const std::string prefix(routine);
  if (existfortdotfileunit(unit)) {
    return fail(prefix + ": Using fort.n not allowed in Zenkora due to security risk");
  }
  int rc = fileRewind(unit);
  if (rc != kUnitOk) {
    tracelogerror(prefix + ": Unit " + formatI0(unit) + " cannot be read.");
    return rc;
  }
  std::string line;
  while ((rc = fileReadLine(unit, columns, line)) == kUnitOk) onLine(line);
  if (rc != kUnitEnd) {
    tracelogerror(prefix + ": Unable to read an input line.");
    return rc;
  }
  return 0;
}

void logLoadCounts(std::string_view what, const LoadCounts& c) {
  traceloginfo("Total " + std::string(what) + " = " + formatI0(c.total()) + ", Loaded = " + formatI0(c.loaded) +
               ", Dup = " + formatI0(c.duplicates) + ", Bad = " + formatI0(c.bad));
}

void logBadSet(std::string_view routine, std::string_view what, int32_t lineNo, std::string_view why,
               LoadCounts& counts) {
  ++counts.bad;
  tracelogerror(std::string(routine) + ": Bad " + std::string(what) + " at line " + formatI0(lineNo) + ": " +
                std::string(why));
}

int32_t withReadUnit(std::string_view fileName, const std::function<int32_t(int)>& readUnit) {
  int unit = 0, status = 0;
  fileopenmt(fileName.substr(0, std::min(fileName.size(), kFileNameLength)), kOpenRead, unit, status);
  if (status != 0) return status;
  const int32_t code = readUnit(unit);
  fileClose(unit);
  return code;
}

}  // namespace basalon
