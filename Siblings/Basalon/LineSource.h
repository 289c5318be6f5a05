// Line-by-line reading of a caller's text or an open read unit, shared by the element-set readers.
#pragma once

#include <algorithm>
#include <cstdint>
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

// Counts of one load of element sets (from a file, a unit or a text).
struct LoadCounts {
  int32_t loaded = 0;
  int32_t duplicates = 0;
  int32_t bad = 0;
  int32_t total() const { return loaded + duplicates + bad; }
};

// One information line "Total <what> = T, Loaded = L, Dup = D, Bad = B".
void logloadcounts(std::string_view what, const LoadCounts& counts);

// Loads through a set reader: Reader(routine, counts) takes lines with line(text) and ends with
// finish(). The text form logs no count line; the unit form rewinds the unit first and logs the
// count line (nothing at all when the unit is refused or unreadable before its first line); the
// file form opens the file on a free unit for reading and reads it as the unit form.
template <class Reader>
int32_t loadsetsfrtext(std::string_view text, std::string_view routine, LoadCounts* counts) {
  LoadCounts local;
  Reader reader(routine, local);
  forEachTextLine(text, [&reader](std::string_view line) { reader.line(line); });
  reader.finish();
  if (counts != nullptr) *counts = local;
  return 0;
}

template <class Reader>
int32_t loadsetsfrunit(int unit, int columns, std::string_view routine, std::string_view what,
                       LoadCounts* counts) {
  if (counts != nullptr) *counts = LoadCounts{};
  LoadCounts local;
  Reader reader(routine, local);
  bool readAny = false;
  const int rc = forEachUnitLine(unit, columns, routine, [&](std::string_view line) {
    readAny = true;
    reader.line(line);
  });
  if (rc != 0 && !readAny) return rc;
  reader.finish();
  logloadcounts(what, local);
  if (counts != nullptr) *counts = local;
  return rc;
}

// Opens fileName (first 512 characters) on a free unit and calls readUnit(unit); the open status
// when the file cannot be opened.
int32_t withreadunit(std::string_view fileName, const std::function<int32_t(int)>& readUnit);

}  // namespace basalon
