// Flat exports of the Kymor library.
#include <Kymor.h>

#include "Siblings/Basalon/SoftwareInfo.h"

int32_t KymorInit(int64_t /*apPtr*/) { return 0; }

void KymorGetInfo(char infoStr[128]) { basalon::getsoftwareinfo("Kymor", infoStr); }
