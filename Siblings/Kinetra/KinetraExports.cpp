// Flat exports of the Kinetra stand-in.
#include <Kinetra.h>

#include "Siblings/Basalon/SoftwareInfo.h"

int32_t KinetraInit(int64_t /*apPtr*/) { return 0; }

void KinetraGetInfo(char infoStr[128]) { basalon::getsoftwareinfo("Kinetra", infoStr); }
