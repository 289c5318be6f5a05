// Flat exports of the Brevanta library.
#include <Brevanta.h>

#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/SoftwareInfo.h"

int32_t BrevantaInit(int64_t /*apPtr*/) { return 0; }

void BrevantaGetInfo(char infoStr[128]) {
  if (basalon::nonNull("BrevantaGetInfo", infoStr)) basalon::getsoftwareinfo("Brevanta", infoStr);
}
