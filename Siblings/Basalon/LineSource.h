// Line-by-line reading of a caller's text or an open read unit, shared by the element-set readers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

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
void logLoadCounts(std::string_view what, const LoadCounts& counts);

// Loads through a set reader: Reader(routine, counts) takes lines with line(text) and ends with
// finish(). The text form logs no count line; the unit form rewinds the unit first and logs the
// count line (nothing at all when the unit is refused or unreadable before its first line); the
// file form opens the file on a free unit for reading and reads it as the unit form.
template <class Reader>
int32_t loadSetsFrText(std::string_view text, std::string_view routine, LoadCounts* counts) {
  LoadCounts local;
  Reader reader(routine, local);
  forEachTextLine(text, [&reader](std::string_view line) { reader.line(line); });
  reader.finish();
  if (counts != nullptr) *counts = local;
  return 0;
}

template <class Reader>
int32_t loadSetsFrUnit(int unit, int columns, std::string_view routine, std::string_view what,
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
  logLoadCounts(what, local);
  if (counts != nullptr) *counts = local;
  return rc;
}

// Opens fileName (first 512 characters) on a free unit and calls readUnit(unit); the open status
// when the file cannot be opened.
int32_t withReadUnit(std::string_view fileName, const std::function<int32_t(int)>& readUnit);

// A line without its line end and trailing blanks.
inline std::string_view stripLineEnd(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && (s[n - 1] == '\r' || s[n - 1] == '\n' || s[n - 1] == ' ')) --n;
  return s.substr(0, n);
}

// True for a maneuver card: columns 79-80 read "VP".
inline bool isManeuverCard(std::string_view s) { return s.size() >= 80 && s.substr(78, 2) == "VP"; }

// One logged line "<routine>: Bad <what> at line N: <why>" for a set that is not stored, counted
// as bad.
void logBadSet(std::string_view routine, std::string_view what, int32_t lineNo, std::string_view why,
               LoadCounts& counts);

// The set a reader has just read, waiting for the maneuver lines that may follow it: it is stored
// once another line or the end of the input comes. Record has maneuvers (lines of at most
// lineLen characters, at most maxLines of them) and numManeuvers.
template <class Record, int maxLines, int lineLen>
class PendingSet {
 public:
  // Takes s as a maneuver line of the waiting set; false when no set waits, s is no maneuver card
  // or the set has all its maneuver lines.
  bool takeManeuver(std::string_view s) {
    if (!waiting_ || !isManeuverCard(s) || rec_.maneuvers.size() >= static_cast<size_t>(maxLines))
      return false;
    rec_.maneuvers.emplace_back(s.substr(0, std::min<size_t>(s.size(), static_cast<size_t>(lineLen))));
    rec_.numManeuvers = static_cast<int32_t>(rec_.maneuvers.size());
    return true;
  }

  void hold(Record&& rec) {
    rec_ = std::move(rec);
    waiting_ = true;
  }

  bool waiting() const { return waiting_; }

  // Stores the waiting set, if any, with add(record) -> key, and counts it: key 0 a duplicate,
  // -1 bad (the store logged why), else loaded.
  template <class AddFn>
  void flush(AddFn&& add, LoadCounts& counts) {
    if (!waiting_) return;
    waiting_ = false;
    const int64_t key = add(static_cast<const Record&>(rec_));
    if (key == 0)
      ++counts.duplicates;
    else if (key == -1)
      ++counts.bad;
    else
      ++counts.loaded;
    rec_ = Record{};
  }

 private:
  bool waiting_ = false;
  Record rec_;
};

// What every set reader keeps: its routine name, the load counts, the line number and the set
// waiting for its maneuver lines. A reader derives from it and gives line(raw) and finish().
template <class Record, int maxLines, int lineLen>
class SetReaderBase {
 public:
  SetReaderBase(std::string_view routine, LoadCounts& counts) : routine_(routine), counts_(counts) {}

 protected:
  // Counts a line read and gives it without its line end and trailing blanks.
  std::string_view nextLine(std::string_view raw) {
    ++lineNo_;
    return stripLineEnd(raw);
  }
  // One logged line for a bad set ("<routine>: Bad <what> at line N: <why>"), counted.
  void badSet(std::string_view what, int32_t lineNo, std::string_view why) {
    logBadSet(routine_, what, lineNo, why, counts_);
  }
  // Stores the waiting set, if any, with add(record) -> key.
  template <class AddFn>
  void flushPending(AddFn&& add) {
    pending_.flush(add, counts_);
  }

  std::string_view routine_;
  LoadCounts& counts_;
  int32_t lineNo_ = 0;
  PendingSet<Record, maxLines, lineLen> pending_;
};

}  // namespace basalon
