// Information strings: library name, family version and build date.
#include "Siblings/Basalon/SoftwareInfo.h"

#include "Siblings/Basalon/FixedText.h"

namespace basalon {

constexpr std::string_view kFamilyVersion = "0.1.0";

std::string softwareInfo(std::string_view libraryName) {
  std::string s(trim(libraryName));
  s += " - Zenkora astrodynamics libraries, version ";
  s += kFamilyVersion;
  s += ", built ";
  s += __DATE__;
  return s;
}

void getsoftwareinfo(std::string_view libraryName, char* info) {
  strtochararr(softwareInfo(libraryName), info, kInfoLength);
}

}  // namespace basalon
