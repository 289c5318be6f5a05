// Flat exports of the Lineset library: host buffers to and from the TLE store's routines.
#include <Lineset.h>

#include <string>

#include "KeyedTree/StoreExports.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Lineset/LinesetStore.h"

namespace {

constexpr size_t kLineLen = 130;

}  // namespace

int32_t LinesetInit(int64_t /*apPtr*/) { return basalon::kResultOk; }

void LinesetGetInfo(char infoStr[128]) {
  if (basalon::nonNull("LinesetGetInfo", infoStr)) basalon::getsoftwareinfo("Lineset", infoStr);
}

namespace {

// LinesetLoadFile and LinesetLoadFileCounts; counts (when given) gets loaded, duplicates, bad.
int32_t loadFile(const char* exportName, const char* fileName, int32_t* counts) {
  if (counts != nullptr) counts[0] = counts[1] = counts[2] = 0;
  if (!basalon::nonNull(exportName, fileName)) return basalon::kResultFail;
  lineset::TleLoadCounts c;
  const int32_t code = lineset::readtlesfrfile(basalon::hostText(fileName, basalon::kFileNameWidth), &c);
  if (counts != nullptr) {
    counts[0] = c.loaded;
    counts[1] = c.duplicates;
    counts[2] = c.bad;
  }
  return code;
}

}  // namespace

int32_t LinesetLoadFileCounts(const char fileName[512], int32_t counts[3]) {
  return loadFile("LinesetLoadFileCounts", fileName, counts);
}

int32_t LinesetLoadFile(const char fileName[512]) { return loadFile("LinesetLoadFile", fileName, nullptr); }

int64_t LinesetAddSatFrLines(const char line1[130], const char line2[130]) {
  if (!basalon::nonNull("LinesetAddSatFrLines", line1, line2)) return basalon::kKeyFail;
  return lineset::tleAddSatFrLines("", basalon::chararrtostr(line1, kLineLen),
                                   basalon::chararrtostr(line2, kLineLen));
}

int32_t LinesetGetCount(void) { return lineset::tlegetnumoftreenodes(); }

int32_t LinesetGetKeys(int32_t order, int32_t maxKeys, int64_t* keys) {
  return keyedtree::getKeysExport("LinesetGetKeys", lineset::tlegettreekeys, order, maxKeys, keys);
}

int64_t LinesetNumToKey(int32_t satNum) { return lineset::tlesatkeyget(satNum); }

int32_t LinesetGetLines(int64_t satKey, char line1[130], char line2[130]) {
  if (!basalon::nonNull("LinesetGetLines", line1, line2)) return basalon::kResultFail;
  basalon::strtochararr("", line1, kLineLen);
  basalon::strtochararr("", line2, kLineLen);
  lineset::TleRecord rec;
  std::string msg;
  lineset::tlefindrec(satKey, rec, &msg);
  if (rec.satNum == keyedtree::kNotFoundSatNum)
    return basalon::fail("LinesetGetLines: " +
                         (msg.empty() ? std::string("Unable to locate the satKey.") : msg));
  basalon::strtochararr(rec.line1, line1, kLineLen);
  basalon::strtochararr(rec.line2, line2, kLineLen);
  return basalon::kResultOk;
}

int32_t LinesetRemoveSat(int64_t satKey) {
  return keyedtree::removeSatExport(lineset::tleremovenode, satKey);
}

int32_t LinesetRemoveAllSats(void) { return keyedtree::removeAllExport(lineset::tleemptytree); }

int32_t LinesetSaveFile(const char fileName[512], int32_t saveMode, int32_t saveForm) {
  if (!basalon::nonNull("LinesetSaveFile", fileName)) return basalon::kResultFail;
  const std::string name = basalon::hostText(fileName, basalon::kFileNameWidth);
  if (name.empty()) return basalon::fail("LinesetSaveFile: The file name is blank.");
  int unit = 0, status = 0;
  basalon::fileopenmt(name, saveMode == 0 ? basalon::kOpenWrite : basalon::kOpenAppend, unit, status);
  if (status != 0) return status;
  lineset::tlewritelines(unit, saveForm);
  return basalon::fileClose(unit);
}
