// Saving the Qel store: the header lines, then every record through QelWriteLines.
#include "Qel/QelSave.h"

#include "Qel/QelTree.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"

namespace qel {

int32_t QelSaveFile(std::string_view fileName, QelSaveMode mode) {
  int unit = 0, status = 0;
  basalon::fileopenmt(fileName, mode == QelSaveMode::kReplace ? basalon::kOpenWrite : basalon::kOpenAppend,
                      unit, status);
  if (status != basalon::kUnitOk) return status;
  int rc = basalon::kUnitOk;
  for (int k = 0; k < 3 && rc == basalon::kUnitOk; ++k) rc = basalon::fileWriteLine(unit, "");
  if (rc == basalon::kUnitOk) rc = basalon::fileWriteLine(unit, kQelSaveTitle);
  if (rc != basalon::kUnitOk) {
    basalon::fileClose(unit);
    return basalon::failf("QelSaveFile: Unable to write the title to the file (code %d).", rc);
  }
  const int32_t failed = QelWriteLines(unit);
  rc = basalon::fileClose(unit);
  if (rc != basalon::kUnitOk) {
    basalon::logErrorf("QelSaveFile: Unable to close the file (code %d).", rc);
    return rc;
  }
  if (failed > 0) return basalon::failf("QelSaveFile: %d record(s) could not be written.", failed);
  return basalon::kResultOk;
}

}  // namespace qel
