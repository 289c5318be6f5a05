// Loading SP vectors from texts, open units and files into the Harlo store (recognition rules
// in HarloStore.h; one logged line per bad vector, the rest still loads).
#include <algorithm>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/LineSource.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Harlo/HarloStore.h"
#include "Siblings/Harlo/HarloText.h"

namespace harlo {
namespace {

constexpr int kReadColumns = 512;

bool isManeuverCard(std::string_view s) { return s.size() >= 80 && s.substr(78, 2) == "VP"; }

std::string_view stripEnd(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && (s[n - 1] == '\r' || s[n - 1] == '\n' || s[n - 1] == ' ')) --n;
  return s.substr(0, n);
}

class VectorReader {
 public:
  VectorReader(std::string_view routine, HarloLoadCounts& counts) : routine_(routine), counts_(counts) {}

  void line(std::string_view raw) {
    ++lineNo_;
    const std::string_view s = stripEnd(raw);
    if (havePending_ && lines_.empty() && isManeuverCard(s) && pending_.maneuvers.size() < kMaxManeuvers) {
      pending_.maneuvers.emplace_back(s.substr(0, std::min<size_t>(s.size(), kManeuverLineLen)));
      pending_.numManeuvers = static_cast<int32_t>(pending_.maneuvers.size());
      return;
    }
    flushPending();
    const bool starts = s.substr(0, kTag1.size()) == kTag1;
    if (!lines_.empty() && starts) {
      bad("the SP vector has fewer than 4 lines.");
      lines_.clear();
    }
    if (lines_.empty()) {
      if (!starts) return;  // not an SP vector line
      firstLine_ = lineNo_;
    }
    lines_.emplace_back(s);
    if (lines_.size() == static_cast<size_t>(kVectorLines)) readVector();
  }

  void finish() {
    flushPending();
    if (!lines_.empty()) bad("the SP vector has fewer than 4 lines.");
    lines_.clear();
  }

 private:
  void readVector() {
    std::vector<std::string_view> views(lines_.begin(), lines_.end());
    std::string msg;
    SpVecRecord rec;
    const int code = harlofromlines(views, rec, msg);
    lines_.clear();
    if (code != 0) {
      bad(msg);
      return;
    }
    pending_ = std::move(rec);
    havePending_ = true;
  }

  void flushPending() {
    if (!havePending_) return;
    havePending_ = false;
    const int64_t key = AddHarloToMem(pending_);
    if (key == 0)
      ++counts_.duplicates;
    else if (key == -1)
      ++counts_.bad;
    else
      ++counts_.loaded;
    pending_ = SpVecRecord{};
  }

  void bad(const std::string& why) {
    ++counts_.bad;
    std::string text =
        std::string(routine_) + ": Bad SP vector at line " + basalon::fmti0(firstLine_) + ": " + why;
    if (text.size() > 128) text.resize(128);
    basalon::tracelogerror(text);
  }

  std::string_view routine_;
  HarloLoadCounts& counts_;
  int32_t lineNo_ = 0, firstLine_ = 0;
  std::vector<std::string> lines_;
  bool havePending_ = false;
  SpVecRecord pending_;
};

}  // namespace

int32_t readharlosfrtext(std::string_view text, HarloLoadCounts* counts) {
  return basalon::loadsetsfrtext<VectorReader>(text, "ReadHarlosFrText", counts);
}

int32_t readharlosfrfileunit(int32_t unit, HarloLoadCounts* counts) {
  return basalon::loadsetsfrunit<VectorReader>(unit, kReadColumns, "ReadHarlosFrFileUnit", "SP vectors",
                                               counts);
}

int32_t readharlosfrfile(std::string_view fileName, HarloLoadCounts* counts) {
  if (counts != nullptr) *counts = HarloLoadCounts{};
  return basalon::withreadunit(fileName, [counts](int unit) { return readharlosfrfileunit(unit, counts); });
}

}  // namespace harlo
