// Flat exports of the Harlo library: host buffers to and from the SP vector store's routines.
#include <Harlo.h>

#include "KeyedTree/StoreExports.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Harlo/HarloStore.h"

int32_t HarloInit(int64_t /*apPtr*/) { return basalon::kResultOk; }

void HarloGetInfo(char infoStr[128]) {
  if (basalon::nonNull("HarloGetInfo", infoStr)) basalon::getsoftwareinfo("Harlo", infoStr);
}

int32_t HarloLoadFile(const char fileName[512]) {
  if (!basalon::nonNull("HarloLoadFile", fileName)) return basalon::kResultFail;
  return harlo::readharlosfrfile(basalon::hostText(fileName, basalon::kFileNameWidth));
}

int32_t HarloGetCount(void) { return harlo::harlogetnumoftreenodes(); }

int32_t HarloGetKeys(int32_t order, int32_t maxKeys, int64_t* keys) {
  return keyedtree::getKeysExport("HarloGetKeys", harlo::harlogettreekeys, order, maxKeys, keys);
}

int32_t HarloRemoveSat(int64_t satKey) { return keyedtree::removeSatExport(harlo::harloremovenode, satKey); }

int32_t HarloRemoveAllSats(void) { return keyedtree::removeAllExport(harlo::harloemptytree); }
