// Flat exports of the Lineset library: host buffers to and from the TLE store's routines.
#include <Lineset.h>

#include <string>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Lineset/LinesetStore.h"

namespace {

constexpr size_t kNameLen = 512;
constexpr size_t kLineLen = 130;

// Logs the refusal of a null argument; returns the code to give back.
int32_t nullArgument(const char* routine) {
  basalon::tracelogerror(std::string(routine) + ": A required argument is null.");
  return 2;
}

std::string fileNameOf(const char* buf) {
  return std::string(basalon::trim(basalon::chararrtostr(buf, kNameLen)));
}

}  // namespace

int32_t LinesetInit(int64_t /*apPtr*/) { return 0; }

void LinesetGetInfo(char infoStr[128]) {
  if (infoStr != nullptr) basalon::getsoftwareinfo("Lineset", infoStr);
}

int32_t LinesetLoadFileCounts(const char fileName[512], int32_t counts[3]) {
  if (counts != nullptr) counts[0] = counts[1] = counts[2] = 0;
  if (fileName == nullptr) return nullArgument("LinesetLoadFile");
  lineset::TleLoadCounts c;
  const int32_t code = lineset::readtlesfrfile(fileNameOf(fileName), &c);
  if (counts != nullptr) {
    counts[0] = c.loaded;
    counts[1] = c.duplicates;
    counts[2] = c.bad;
  }
  return code;
}

int32_t LinesetLoadFile(const char fileName[512]) { return LinesetLoadFileCounts(fileName, nullptr); }

int64_t LinesetAddSatFrLines(const char line1[130], const char line2[130]) {
  if (line1 == nullptr || line2 == nullptr) {
    nullArgument("LinesetAddSatFrLines");
    return -1;
  }
  return lineset::tleaddsatfrlines("", basalon::chararrtostr(line1, kLineLen),
                                   basalon::chararrtostr(line2, kLineLen));
}

int32_t LinesetGetCount(void) { return lineset::tlegetnumoftreenodes(); }

int32_t LinesetGetKeys(int32_t order, int32_t maxKeys, int64_t* keys) {
  if (keys == nullptr || maxKeys <= 0) return 0;
  int32_t count = 0;
  lineset::tlegettreekeys(count, keys, order, maxKeys);
  return count;
}

int64_t LinesetNumToKey(int32_t satNum) { return lineset::tlesatkeyget(satNum); }

int32_t LinesetGetLines(int64_t satKey, char line1[130], char line2[130]) {
  if (line1 == nullptr || line2 == nullptr) return nullArgument("LinesetGetLines");
  basalon::strtochararr("", line1, kLineLen);
  basalon::strtochararr("", line2, kLineLen);
  lineset::TleRecord rec;
  std::string msg;
  lineset::tlefindrec(satKey, rec, &msg);
  if (rec.satNum == -123) {
    basalon::tracelogerror("LinesetGetLines: " +
                           (msg.empty() ? std::string("Unable to locate the satKey.") : msg));
    return 2;
  }
  basalon::strtochararr(rec.line1, line1, kLineLen);
  basalon::strtochararr(rec.line2, line2, kLineLen);
  return 0;
}

int32_t LinesetRemoveSat(int64_t satKey) {
  int32_t flag = 0, code = 0;
  lineset::tleremovenode(satKey, flag, code);
  return code;
}

int32_t LinesetRemoveAllSats(void) {
  int32_t code = 0;
  lineset::tleemptytree(code);
  return code;
}

int32_t LinesetSaveFile(const char fileName[512], int32_t saveMode, int32_t saveForm) {
  if (fileName == nullptr) return nullArgument("LinesetSaveFile");
  int unit = 0, status = 0;
  basalon::fileopenmt(fileNameOf(fileName), saveMode == 0 ? basalon::kOpenWrite : basalon::kOpenAppend, unit,
                      status);
  if (status != 0) return status;
  lineset::tlewritelines(unit, saveForm);
  const int closeCode = basalon::fileclose(unit);
  return closeCode == 0 ? 0 : closeCode;
}
