// Pelmath library frame exports.
#include <Pelmath.h>

#include "DllExports/Pelmath/PelmathDllVarsUtils.h"
#include "Siblings/Basalon/SoftwareInfo.h"

int32_t PelmathInit(int64_t /*apPtr*/) { return basalon::kResultOk; }

void PelmathGetInfo(char infoStr[128]) {
  if (pelmath::dll::nonNull("PelmathGetInfo", infoStr)) basalon::getsoftwareinfo("Pelmath", infoStr);
}
