// Flat exports of the Qel library.
#include <Qel.h>

#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/SoftwareInfo.h"

int32_t QelInit(int64_t /*apPtr*/) { return 0; }

void QelGetInfo(char infoStr[128]) {
  if (basalon::nonNull("QelGetInfo", infoStr)) basalon::getsoftwareinfo("Qel", infoStr);
}
