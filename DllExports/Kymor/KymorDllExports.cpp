// Flat exports of the Kymor library.
#include <Kymor.h>

#include "Kymor/CommonElData.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/SoftwareInfo.h"

int32_t KymorInit(int64_t /*apPtr*/) { return 0; }

void KymorGetInfo(char infoStr[128]) {
  if (basalon::nonNull("KymorGetInfo", infoStr)) basalon::getsoftwareinfo("Kymor", infoStr);
}

int32_t SatNumOf(int64_t satKey) { return kymor::GetSatNum(satKey); }
