// Flat exports of the Chronel stand-in.
#include "Chronel.h"

#include "Siblings/Basalon/SoftwareInfo.h"

int32_t ChronelInit(int64_t /*apPtr*/) { return 0; }

void ChronelGetInfo(char infoStr[128]) { basalon::getsoftwareinfo("Chronel", infoStr); }
