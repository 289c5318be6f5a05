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

class VectorReader : public basalon::SetReaderBase<SpVecRecord, kMaxManeuvers, kManeuverLineLen> {
 public:
  using SetReaderBase::SetReaderBase;

  void line(std::string_view raw) {
    const std::string_view s = nextLine(raw);
    if (lines_.empty() && pending_.takeManeuver(s)) return;
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
    const int code = harloFromLines(views, rec, msg);
    lines_.clear();
    if (code != 0) {
      bad(msg);
      return;
    }
    pending_.hold(std::move(rec));
  }

  void flushPending() { SetReaderBase::flushPending(AddHarloToMem); }

  void bad(std::string_view why) { badSet("SP vector", firstLine_, why); }

  int32_t firstLine_ = 0;
  std::vector<std::string> lines_;
};

}  // namespace

int32_t readHarlosFrText(std::string_view text, HarloLoadCounts* counts) {
  return basalon::loadSetsFrText<VectorReader>(text, "ReadHarlosFrText", counts);
}

int32_t readharlosfrfileunit(int32_t unit, HarloLoadCounts* counts) {
  return basalon::loadSetsFrUnit<VectorReader>(unit, kReadColumns, "ReadHarlosFrFileUnit", "SP vectors",
                                               counts);
}

int32_t readharlosfrfile(std::string_view fileName, HarloLoadCounts* counts) {
  if (counts != nullptr) *counts = HarloLoadCounts{};
  return basalon::withReadUnit(fileName, [counts](int unit) { return readharlosfrfileunit(unit, counts); });
}

}  // namespace harlo
