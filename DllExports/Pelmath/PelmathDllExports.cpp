// Pelmath library frame exports.
#include <Pelmath.h>

#include "Siblings/Basalon/SoftwareInfo.h"

int32_t PelmathInit(int64_t /*apPtr*/) { return 0; }

void PelmathGetInfo(char infoStr[128]) { basalon::getsoftwareinfo("Pelmath", infoStr); }
