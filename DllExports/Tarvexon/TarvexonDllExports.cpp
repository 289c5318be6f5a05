// Flat exports of the Tarvexon library.
#include <Tarvexon.h>

#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/SoftwareInfo.h"

int32_t TarvexInit(int64_t /*apPtr*/) { return 0; }

void TarvexGetInfo(char infoStr[128]) {
  if (basalon::nonNull("TarvexGetInfo", infoStr)) basalon::getsoftwareinfo("Tarvexon", infoStr);
}
