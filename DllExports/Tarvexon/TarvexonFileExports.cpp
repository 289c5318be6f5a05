// Flat exports of Tarvexon's loading and saving: card files and ephemeris files in, the store's
// file references out.
#include <Tarvexon.h>

#include <string>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Tarvexon/TarvexonCardReading.h"
#include "Tarvexon/TarvexonTree.h"

namespace {

using basalon::kResultFail;

// Title line written after three empty lines at the head of a save.
constexpr std::string_view kTarvexSaveTitle = "*** External Ephemeris Input Files ***";

// A host file name: read to its first NUL, trimmed of blanks on both sides (left-adjusted).
std::string hostFileName(const char* buf) {
  return std::string(basalon::trim(basalon::hostText(buf, basalon::kFileNameWidth)));
}

}  // namespace

int32_t TarvexLoadFile(const char fileName[512]) {
  if (!basalon::nonNull("TarvexLoadFile", fileName)) return kResultFail;
  const std::string name = hostFileName(fileName);
  basalon::traceloginfo("TarvexLoadFile: Reading TARVEXs from file \"" + name + "\".");
  return tarvexon::ReadTarvexsFrFile(name);
}

int64_t TarvexAddSatFrFile(const char fileName[512]) {
  if (!basalon::nonNull("TarvexAddSatFrFile", fileName)) return basalon::kKeyFail;
  const std::string name = hostFileName(fileName);
  int unit = 0, status = 0;
  basalon::fileopenmt(name, basalon::kOpenRead, unit, status);
  if (status != basalon::kUnitOk) return basalon::kKeyFail;  // the open logged why
  // AddTarvexFile's read, told apart: a failed read logged its reason, a file that held no
  // ephemeris did not.
  basalon::FixedText<128> label;
  int32_t code = basalon::kResultOk;
  int64_t satKey = basalon::kKeyFail;
  tarvexon::ReadOnlyTarvexs(unit, name, label, code, &satKey);
  basalon::fileClose(unit);
  if (code != basalon::kResultOk) return basalon::kKeyFail;
  if (satKey == basalon::kKeyFail) {
    basalon::logErrorf("TarvexAddSatFrFile: No ephemeris was stored from file \"%s\".", name.c_str());
  }
  return satKey;
}

int32_t TarvexSaveFile(const char fileName[512], int32_t saveMode) {
  if (!basalon::nonNull("TarvexSaveFile", fileName)) return kResultFail;
  int unit = 0, status = 0;
  basalon::fileopenmt(hostFileName(fileName), saveMode == 0 ? basalon::kOpenWrite : basalon::kOpenAppend,
                      unit, status);
  if (status != basalon::kUnitOk) return status;
  int rc = basalon::kUnitOk;
  for (int k = 0; k < 3 && rc == basalon::kUnitOk; ++k) rc = basalon::fileWriteLine(unit, "");
  if (rc == basalon::kUnitOk) rc = basalon::fileWriteLine(unit, kTarvexSaveTitle);
  if (rc != basalon::kUnitOk) {
    basalon::fileClose(unit);
    return basalon::failf("TarvexSaveFile: Unable to write the title to the file (code %d).", rc);
  }
  const int32_t failed = tarvexon::TarvexWriteLines(unit);
  rc = basalon::fileClose(unit);
  if (rc != basalon::kUnitOk) {
    basalon::logErrorf("TarvexSaveFile: Unable to close the file (code %d).", rc);
    return rc;
  }
  if (failed > 0)
    return basalon::failf("TarvexSaveFile: %d ephemeris file reference(s) could not be written.", failed);
  return basalon::kResultOk;
}
