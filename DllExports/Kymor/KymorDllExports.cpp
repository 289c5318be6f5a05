// Flat exports of the Kymor library.
#include <Kymor.h>

#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/SoftwareInfo.h"

int32_t KymorInit(int64_t /*apPtr*/) { return 0; }

void KymorGetInfo(char infoStr[128]) {
  if (basalon::nonNull("KymorGetInfo", infoStr)) basalon::getsoftwareinfo("Kymor", infoStr);
}
