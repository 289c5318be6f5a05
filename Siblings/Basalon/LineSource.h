// Line-by-line reading of a caller's text or an open read unit, shared by the element-set readers.
#pragma once

#include <functional>
#include <string_view>

namespace basalon {

// Calls onLine for every line of text (split at LF; a CR before it stays in the line).
void forEachTextLine(std::string_view text, const std::function<void(std::string_view)>& onLine);

// Rewinds an open read unit and calls onLine for every line, padded or cut to columns. Refuses a
// unit connected to a fort.N file ("<routine>: Using fort.n not allowed in Zenkora due to security
// risk", code 2); a unit that cannot be rewound logs "<routine>: Unit N cannot be read." and a failed
// read "<routine>: Unable to read an input line.", each returning the unit's code. 0 at the end.
int forEachUnitLine(int unit, int columns, std::string_view routine,
                    const std::function<void(std::string_view)>& onLine);

}  // namespace basalon
