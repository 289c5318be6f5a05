// Flat exports of the Lineset stand-in.
#include <Lineset.h>

#include "Siblings/Basalon/SoftwareInfo.h"

int32_t LinesetInit(int64_t /*apPtr*/) { return 0; }

void LinesetGetInfo(char infoStr[128]) { basalon::getsoftwareinfo("Lineset", infoStr); }
