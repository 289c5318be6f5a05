// Flat exports of the Harlo stand-in.
#include <Harlo.h>

#include "Siblings/Basalon/SoftwareInfo.h"

int32_t HarloInit(int64_t /*apPtr*/) { return 0; }

void HarloGetInfo(char infoStr[128]) { basalon::getsoftwareinfo("Harlo", infoStr); }
