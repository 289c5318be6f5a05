// Qel messages loaded from open units and files into the store: one message from a unit, every
// message of a unit with the maneuver card lines that follow them, and card files with their
// referenced files, the DMA switch and the count line.
#include <algorithm>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "Pelmath/CardType.h"
#include "Qel/QelCardReading.h"
#include "Qel/QelReaderMessage.h"
#include "Qel/QelTree.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"

namespace qel {
namespace {

using reader::MessageOrigin;
using reader::MessageShape;

// Serialises whole-unit loads, so two loads never interleave their messages and maneuver lines.
// Taken before the store's writer lock (each add takes that), never after it.
std::mutex& cs_readonlyqels() {
  static std::mutex* const lock = new std::mutex;  // lives as long as the process
  return *lock;
}

bool startsMessage(int32_t type) {
  return type == kQelCardMultiLine || type == kQelCardOneLine || type == kQelCardShortForm;
}

// The message lines that follow a first line on a unit. Comment and blank lines are skipped; the
// lines of a short message get "<> " in front. The last line given is remembered so that a message
// that ends early can hand back a line that starts the next one.
class UnitMessageLines : public reader::MessageLineSource {
 public:
  UnitMessageLines(int32_t unit, bool shortForm) : unit_(unit), shortForm_(shortForm) {}

  bool next(std::string_view& line) override {
    do {
      if (basalon::fileReadLineCut(unit_, kQelReadColumns, raw_) != basalon::kUnitOk) {
        read_ = false;
        return false;
      }
    } while (reader::isSkippedLine(raw_));
    read_ = true;
    line = shortForm_ ? prefixed(raw_) : std::string_view(raw_);
    return true;
  }

  // After a failed message: when the line that failed starts a message itself, step back so that
  // the caller reads it again. The message's own first line is never handed back.
  void handBackMessageStart() {
    if (read_ && startsMessage(QelCardType(raw_))) basalon::fileBackspace(unit_);
  }

 private:
  std::string_view prefixed(const std::string& s) {
    withPrefix_.assign("<> ").append(s);
    return withPrefix_;
  }

  int32_t unit_;
  bool shortForm_;
  bool read_ = false;
  std::string raw_;
  std::string withPrefix_;
};

// Reads the message whose first line (already read, of the given card type) is firstLine.
int32_t readMessage(int32_t unit, std::string_view firstLine, int32_t type, QelRecord& rec) {
  FreeQelRecord(rec);
  rec = QelRecord{};
  const bool shortForm = type != kQelCardMultiLine;
  UnitMessageLines src(unit, shortForm);
  int32_t code = basalon::kResultOk;
  if (shortForm) {
    // The first line is the satellite number line: the parse starts with it.
    struct FirstThenUnit : reader::MessageLineSource {
      FirstThenUnit(std::string first, UnitMessageLines& rest) : first_(std::move(first)), rest_(rest) {}
      bool next(std::string_view& line) override {
        if (!used_) {
          used_ = true;
          line = first_;
          return true;
        }
        return rest_.next(line);
      }
      std::string first_;
      UnitMessageLines& rest_;
      bool used_ = false;
    } src2("<> " + std::string(firstLine), src);
    code = reader::parseMessage(rec, MessageShape::kShort, MessageOrigin::kUnit, src2);
  } else {
    code = reader::parseMessage(rec, MessageShape::kFull, MessageOrigin::kUnit, src);
  }
  if (code != basalon::kResultOk) {
    src.handBackMessageStart();
    rec.errCode = code;
    return code;
  }
  rec.errCode = ValidateQelValues(rec);
  return rec.errCode;
}

// One load of a unit's messages: counts, the pending maneuver lines and the message they follow.
class UnitLoader {
 public:
  UnitLoader(int32_t unit, basalon::LoadCounts& counts) : unit_(unit), counts_(counts) {}

  // Reads the unit to its end; code as ReadOnlyQels gives it.
  void run(int32_t& code) {
    std::string line;
    int rc = basalon::kUnitOk;
    bool first = true;
    while ((rc = basalon::fileReadLineCut(unit_, kQelReadColumns, line)) == basalon::kUnitOk) {
      first = false;
      if (reader::isSkippedLine(line)) continue;
      if (mayBeManeuverCard(line) && pelmath::ismaneuvcardtype(line)) {
        if (!keepManeuverLine(line)) {
          code = basalon::kResultFail;
          return;
        }
        continue;
      }
      const int32_t type = QelCardType(line);
      if (!startsMessage(type)) continue;
      attachPending();
      QelRecord rec;
      bool parsed = false;
      if (type == kQelCardOneLine) {
        Qel1Line2Qel(rec, line);
        parsed = rec.errCode == 0;
      } else {
        code = readMessage(unit_, line, type, rec);
        parsed = code == 0;
      }
      if (parsed) {
        store(rec);
      } else {
        ++counts_.bad;
      }
    }
    attachPending();
    if (rc != basalon::kUnitEnd) {
      code = first ? basalon::failf("ReadOnlyQELs: Unit %d cannot be read.", unit_)
                   : basalon::fail("ReadOnlyQELs: Unable to read an input line.");
    }
  }

 private:
  // Maneuver cards begin "VPCFIL" or "ACC_", or hold "VP" in columns 79-80: only such lines go to
  // the maneuver card test (which upper-cases a copy of the line).
  static bool mayBeManeuverCard(std::string_view line) {
    const char c = line[0];
    return c == 'V' || c == 'v' || c == 'A' || c == 'a' ||
           (line.size() >= 80 && (line[78] == 'V' || line[78] == 'v'));
  }

  // Keeps a maneuver line for the message before it (the first 512 characters); false when the
  // pending list cannot be had.
  bool keepManeuverLine(std::string_view line) {
    if (attachKey_ == 0) {
      ++dropped_;
      return true;
    }
    if (pending_.size() >= static_cast<size_t>(kMaxManeuverLines)) {
      ++beyondLimit_;
      return true;
    }
    try {
      if (pending_.capacity() == 0) pending_.reserve(kMaxManeuverLines);
      pending_.emplace_back(line.substr(0, std::min(line.size(), ManeuverLine::size())));
    } catch (const std::bad_alloc&) {
      basalon::fail("ReadOnlyQELs: Memory allocation failed");
      return false;
    }
    return true;
  }

  // Adds a parsed record and counts it. A record the store keeps under a new key becomes the one
  // that the following maneuver lines attach to.
  void store(const QelRecord& rec) {
    if (basalon::effectiveKeyMode() == 0 && CreateSatKeyFrQel(rec) == basalon::kKeyFail) {
      basalon::logErrorf("ReadOnlyQELs: No satKey can be made for satellite %d; the message is not loaded.",
                         rec.satNum);
      ++counts_.bad;
      return;
    }
    int64_t key = 0;
    QelBinTree* node = nullptr;  // tells only whether a node was added: never read
    AddQelToMem(rec, key, &node);
    if (key == basalon::kKeyFail) {
      ++counts_.bad;
    } else if (key == 0 || node == nullptr) {
      ++counts_.duplicates;  // reported, or the key of the record already stored
    } else {
      ++counts_.loaded;
      attachKey_ = key;
      satNum_ = rec.satNum;
    }
  }

  // Attaches the pending lines to the record they follow, looked up by its key under the store's
  // writer lock; reports lines that had no message to follow.
  void attachPending() {
    if (dropped_ > 0) {
      basalon::logInfof("ReadOnlyQELs: %d maneuver card line(s) follow no loaded message and are not kept.",
                        dropped_);
      dropped_ = 0;
    }
    if (!pending_.empty()) {
      int32_t code = 0;
      const bool found = QelModifyRec(
          attachKey_,
          [this](QelRecord& r) {
            r.maneuverLines.assign(static_cast<size_t>(kMaxManeuverLines), ManeuverLine());
            std::copy(pending_.begin(), pending_.end(), r.maneuverLines.begin());
            r.numManeuverLines = static_cast<int32_t>(pending_.size());
            return basalon::kResultOk;
          },
          code);
      if (!found) {
        basalon::logInfof(
            "ReadOnlyQELs: Satellite %d was removed before its maneuver card lines could be kept.", satNum_);
      }
      if (beyondLimit_ > 0) {
        basalon::logInfof(
            "ReadOnlyQELs: Satellite %d has %d maneuver card lines beyond the first %d; they are not kept.",
            satNum_, beyondLimit_, kMaxManeuverLines);
      }
    }
    pending_.clear();
    beyondLimit_ = 0;
    attachKey_ = 0;
  }

  int32_t unit_;
  basalon::LoadCounts& counts_;
  std::vector<ManeuverLine> pending_;
  int64_t attachKey_ = 0;  // key of the message the pending lines follow; 0 when it was not loaded
  int32_t satNum_ = 0;
  int32_t beyondLimit_ = 0;
  int32_t dropped_ = 0;
};

}  // namespace

void SkipLines(int32_t unit, int32_t n) {
  std::string line;
  for (int32_t k = 0; k < n; ++k)
    if (basalon::fileReadLineCut(unit, kQelReadColumns, line) != basalon::kUnitOk) return;
}

void ReadQelFrFileUnit(int32_t unit, QelRecord& rec, int32_t& code) {
  FreeQelRecord(rec);
  rec = QelRecord{};
  std::string line;
  if (basalon::fileBackspace(unit) != basalon::kUnitOk ||
      basalon::fileReadLineCut(unit, kQelReadColumns, line) != basalon::kUnitOk) {
    code = basalon::fail("ReadQELFrFileUnit: Unable to read an input line.");
    rec.errCode = code;
    return;
  }
  // Anything but a multi-line header is read as a short message (whose first label it must carry).
  code = readMessage(unit, line, QelCardType(line), rec);
}

void ReadOnlyQels(int32_t unit, basalon::LoadCounts& counts, int32_t& code) {
  code = basalon::kResultOk;
  if (basalon::existfortdotfileunit(unit)) {
    code = basalon::fail("ReadOnlyQELs: Using fort.n not allowed in Zenkora due to security risk ");
    return;
  }
  std::lock_guard<std::mutex> guard(cs_readonlyqels());
  UnitLoader loader(unit, counts);
  loader.run(code);
}

int32_t ReadQelsFrFileUnit(int32_t unit, basalon::LoadCounts* countsOut) {
  if (countsOut != nullptr) *countsOut = basalon::LoadCounts{};
  if (basalon::existfortdotfileunit(unit)) {
    return basalon::fail("ReadQelsFrFileUnit: Using fort.n not allowed in Zenkora due to security risk");
  }
  int rc = basalon::fileRewind(unit);
  if (rc != basalon::kUnitOk) {
    basalon::logErrorf("ReadQelsFrFileUnit: Unit %d cannot be read.", unit);
    return rc;
  }
  basalon::LoadCounts counts;
  int32_t referencedCode = basalon::kResultOk;
  // First pass: referenced files and the DMA switch. Only lines beginning with a letter can be either.
  std::string line;
  while ((rc = basalon::fileReadLineCut(unit, kQelReadColumns, line)) == basalon::kUnitOk) {
    if (line.empty() || !((line[0] >= 'A' && line[0] <= 'Z') || (line[0] >= 'a' && line[0] <= 'z'))) continue;
    const int32_t type = QelCardType(line);
    if (type == kQelCardDmaOn) {
      basalon::elsetkeymodeset(1);
    } else if (type == kQelCardInputFile) {
      // A free unit, not a fixed one, so that loads on several threads cannot meet on it.
      int fileUnit = 0, status = 0;
      basalon::fileopenmt(basalon::getinputfilename(line), basalon::kOpenRead, fileUnit, status);
      if (status != basalon::kUnitOk) return status;
      int32_t code = 0;
      ReadOnlyQels(fileUnit, counts, code);
      basalon::fileClose(fileUnit);
      // A referenced file that failed does not stop the others or the unit's own messages.
      if (code != basalon::kResultOk) referencedCode = basalon::kResultFail;
    }
  }
  if (rc != basalon::kUnitEnd) {
    basalon::fail("ReadQelsFrFileUnit: Unable to read an input line.");
    return rc;
  }
  int32_t code = basalon::kResultOk;
  rc = basalon::fileRewind(unit);
  if (rc != basalon::kUnitOk) {
    basalon::logErrorf("ReadQelsFrFileUnit: Unit %d cannot be read.", unit);
    return rc;
  }
  ReadOnlyQels(unit, counts, code);
  basalon::logLoadCounts("QELs", counts);
  if (countsOut != nullptr) *countsOut = counts;
  return code != basalon::kResultOk ? code : referencedCode;
}

int32_t ReadQelsFrFile(std::string_view fileName, basalon::LoadCounts* counts) {
  if (counts != nullptr) *counts = basalon::LoadCounts{};
  return basalon::withReadUnit(fileName, [counts](int unit) { return ReadQelsFrFileUnit(unit, counts); });
}

}  // namespace qel
