// Loading element sets from texts, open units and files into the TLE store.
//
// What a reader recognises, line by line (trailing blanks dropped, CR LF accepted):
// - a line starting "1 " is line 1 of a set; the line after it is its line 2 (unless that line
//   starts "1 " too: then the first set lacks its line 2 and the new line starts the next set);
// - the line just before line 1 is the set's name when it is not blank, not a comment and at most
//   24 characters long (the three-line form);
// - lines whose columns 79-80 read "VP" right after a set are that set's maneuver lines (up to 100);
// - lines starting "#" are comments; blank lines and any other text are skipped, so a file may
//   also hold records of other kinds;
// - a line starting "2 " that follows no line 1 is a bad set.
// A bad set (checksum, short line, a non-number in a numeric column, a blank or NUL line 2, a
// missing line) logs exactly one error line and stores nothing; the rest still loads.
#include <functional>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/LineSource.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Lineset/LinesetStore.h"
#include "Siblings/Lineset/TleParse.h"

namespace lineset {
namespace {

// Columns read from a unit per line: the 69 of a set plus room for text after them.
constexpr int kReadColumns = 130;

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

class SetReader : public basalon::SetReaderBase<TleRecord, kMaxManeuvers, kManeuverLineLen> {
 public:
  using SetReaderBase::SetReaderBase;

  void line(std::string_view raw) {
    const std::string_view s = nextLine(raw);
    if (pending_.takeManeuver(s)) return;
    flushPending();
    if (haveLine1_) {
      if (startsWith(s, "1 ")) {
        bad(line1No_, "line 2 is missing.");
        startSet(s);
        return;
      }
      haveLine1_ = false;
      readSet(line1_, s);
      name_.clear();
      return;
    }
    if (startsWith(s, "1 ")) {
      startSet(s);
    } else if (startsWith(s, "2 ")) {
      bad(lineNo_, "line 2 follows no line 1.");
      name_.clear();
    } else {
      const std::string_view t = basalon::trim(s);
      const bool nameLike = !t.empty() && t.front() != '#' && t.size() <= kMaxNameLength;
      name_ = nameLike ? std::string(t) : std::string();
    }
  }

  void finish() {
    flushPending();
    if (haveLine1_) bad(line1No_, "line 2 is missing.");
    haveLine1_ = false;
  }

 private:
  void startSet(std::string_view s) {
    haveLine1_ = true;
    line1_.assign(s);
    line1No_ = lineNo_;
    setName_ = name_;
    name_.clear();
  }

  void readSet(const std::string& l1, std::string_view l2) {
    TleRecord rec;
    std::string msg;
    const int code = parseTle(setName_, l1, l2, rec, msg);
    if (code != kTleOk) {
      if (startsWith(msg, "parseTle: ")) msg.erase(0, 10);
      bad(line1No_, msg);
      return;
    }
    if (CreateSatKeyFrTle(rec) == -1) {
      bad(line1No_, "no satKey can be made for satellite " + std::to_string(rec.satNum) + ".");
      return;
    }
    pending_.hold(std::move(rec));
  }

  void flushPending() { SetReaderBase::flushPending(AddTleToMem); }

  void bad(int32_t lineNo, std::string_view why) { badSet("element set", lineNo, why); }

  std::string name_;  // name candidate: the line before the current one
  bool haveLine1_ = false;
  std::string line1_, setName_;
  int32_t line1No_ = 0;
};

}  // namespace

int32_t readTlesFrText(std::string_view text, TleLoadCounts* counts) {
  return basalon::loadSetsFrText<SetReader>(text, "ReadTlesFrText", counts);
}

int32_t readtlesfrfileunit(int32_t unit, TleLoadCounts* counts) {
  return basalon::loadSetsFrUnit<SetReader>(unit, kReadColumns, "ReadTlesFrFileUnit", "TLEs", counts);
}

int32_t readtlesfrfile(std::string_view fileName, TleLoadCounts* counts) {
  if (counts != nullptr) *counts = TleLoadCounts{};
  return basalon::withReadUnit(fileName, [counts](int unit) { return readtlesfrfileunit(unit, counts); });
}

}  // namespace lineset
