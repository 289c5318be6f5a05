// Information string of each library of the family.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace basalon {

// Length of the information buffer filled by getsoftwareinfo.
constexpr size_t kInfoLength = 128;

// The information text of a library ("Pelmath", "Qel", ...).
std::string softwareInfo(std::string_view libraryName);
// Fills info (kInfoLength characters, blank padded, no terminator) with that text.
void getsoftwareinfo(std::string_view libraryName, char* info);

}  // namespace basalon
