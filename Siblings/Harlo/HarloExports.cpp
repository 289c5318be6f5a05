// Flat exports of the Harlo library: host buffers to and from the SP vector store's routines.
#include <Harlo.h>

#include <string>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Harlo/HarloStore.h"

int32_t HarloInit(int64_t /*apPtr*/) { return 0; }

void HarloGetInfo(char infoStr[128]) {
  if (infoStr != nullptr) basalon::getsoftwareinfo("Harlo", infoStr);
}

int32_t HarloLoadFile(const char fileName[512]) {
  if (fileName == nullptr) {
    basalon::tracelogerror("HarloLoadFile: A required argument is null.");
    return 2;
  }
  return harlo::readharlosfrfile(std::string(basalon::trim(basalon::chararrtostr(fileName, 512))));
}

int32_t HarloGetCount(void) { return harlo::harlogetnumoftreenodes(); }

int32_t HarloGetKeys(int32_t order, int32_t maxKeys, int64_t* keys) {
  if (keys == nullptr || maxKeys <= 0) return 0;
  int32_t count = 0;
  harlo::harlogettreekeys(count, keys, order, maxKeys);
  return count;
}

int32_t HarloRemoveSat(int64_t satKey) {
  int32_t flag = 0, code = 0;
  harlo::harloremovenode(satKey, flag, code);
  return code;
}

int32_t HarloRemoveAllSats(void) {
  int32_t code = 0;
  harlo::harloemptytree(code);
  return code;
}
