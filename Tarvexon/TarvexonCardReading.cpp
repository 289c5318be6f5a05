// Ephemeris loading: the card type of a line, the per-file bad-point messages, the card pass that
// follows a card file's labels and referenced files, and the pass that hands each ephemeris a file
// holds to the reader of its format, storing every finished ephemeris on its own.
#include "Tarvexon/TarvexonCardReading.h"

#include <array>
#include <cctype>
#include <string>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonTree.h"

namespace tarvexon {
namespace {

using readers::columnAt;

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Columns first .. of the line, upper-cased, equal text (missing columns read as blanks).
bool colsAre(std::string_view line, size_t first, std::string_view text) {
  for (size_t k = 0; k < text.size(); ++k)
    if (upperAscii(columnAt(line, first + k)) != text[k]) return false;
  return true;
}

bool colsBlank(std::string_view line, size_t first, size_t last) {
  for (size_t c = first; c <= last; ++c)
    if (columnAt(line, c) != ' ') return false;
  return true;
}

bool isOasysTimeLine(std::string_view line) {
  return columnAt(line, 5) == '/' && columnAt(line, 8) == '/' && columnAt(line, 14) == ':' &&
         columnAt(line, 17) == ':' && columnAt(line, 20) == '.';
}

// ---- Bad-point messages of one file -------------------------------------------------------------

// The messages of the file being read on this thread; a load opens one scope per file (a card
// file's referenced files have their own).
struct SkipCounter {
  bool active = false;
  int32_t written = 0;
  int64_t unwritten = 0;
};
thread_local SkipCounter tSkips;

class SkipScope {
 public:
  explicit SkipScope(std::string_view fileName) : saved_(tSkips), fileName_(fileName) {
    tSkips = SkipCounter{true, 0, 0};
  }
  ~SkipScope() {
    if (tSkips.unwritten > 0) {
      basalon::logErrorf("ReadOnlyTarvexs: %lld more bad ephemeris points skipped in %.*s",
                         static_cast<long long>(tSkips.unwritten), static_cast<int>(fileName_.size()),
                         fileName_.data());
    }
    tSkips = saved_;
  }
  SkipScope(const SkipScope&) = delete;
  SkipScope& operator=(const SkipScope&) = delete;

 private:
  SkipCounter saved_;
  std::string_view fileName_;
};

// ---- Readers by card type -----------------------------------------------------------------------

using EphemReader = void (*)(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);

// The reader of a card type; null for a type that starts no ephemeris.
EphemReader readerFor(int32_t type) {
  switch (type) {
    case kCardV31:
      return ReadV31;
    case kCardSimObs:
      return ReadSimObs;
    case kCardVecEph:
      return ReadVecEph;
    case kCardItc:
      return ReadITC;
    case kCardEcr:
      return ReadECR;
    case kCardJ2k:
      return ReadJ2K;
    case kCardOwner:
      return ReadOwner;
    case kCardDotE:
      return ReadDotE;
    case kCardOasys:
      return ReadOASYS;
    case kCardLch:
      return ReadLCH;
    case kCardEelv:
      return ReadEELV;
    case kCardZqUniversal:
      return ReadZQUniversalTarvex;
    case kCardDceText:
      return ReadDCEText;
    case kCardLaunch:
      return ReadLaunchFormat;
    default:
      return nullptr;
  }
}

// The DCE binary reader in a card reader's shape: it opens the file named in the working record.
void readDceBinaryFile(int32_t /*unit*/, std::string_view /*line*/, TarvexRecord& rec, int32_t& code) {
  ReadDCEBinary(rec.fileName.view(), rec, code);
}

// Whether a file's cards naming other files are followed.
enum class CardRefs { kIgnore, kLoad };

// One pass over a file on a unit: labels, referenced files (when followed) and the ephemerides the
// file holds. Keeps the first failure code; goes on loading after it where it can.
class FileLoader {
 public:
  FileLoader(int32_t unit, std::string_view fileName, basalon::FixedText<128>& label, int64_t* satKey,
             CardRefs refs)
      : unit_(unit), fileName_(fileName), label_(label), satKey_(satKey), refs_(refs) {}

  // The card pass: labels and referenced files only, in file order. Ephemeris lines are not
  // classified (only a line starting "E", "S", "T" or "#" can be such a card) and nothing is padded.
  int32_t followCards() {
    std::string buf;
    int rc;
    while ((rc = basalon::fileReadLineCut(unit_, kCardLineColumns, buf)) == basalon::kUnitOk) {
      const std::string_view line = buf;
      if (line.empty() || !mayBeCard(line) || readers::isCommentLine(line)) continue;
      const int32_t type = TarvexCardType(line);
      if (type == kCardLabel || type == kCardEphemFile) takeCard(line, type);
    }
    if (rc != basalon::kUnitEnd) {
      failWith(basalon::failf("ReadTarvexsFrFileUnit: Unable to read an input line of unit %d.", unit_));
    }
    return code_;
  }

  // The ephemerides the file holds, and its labels.
  int32_t run() {
    SkipScope scope(fileName_);
    std::string buf;
    int rc;
    while ((rc = basalon::fileReadLineCut(unit_, kCardLineColumns, buf)) == basalon::kUnitOk) {
      const std::string_view line = buf;
      if (readers::isCommentLine(line)) continue;
      if (stopped_) {  // nothing more is read from a file after a failed ephemeris
        rc = basalon::kUnitEnd;
        break;
      }
      const int32_t type = TarvexCardType(line);
      if (type == kCardLabel || type == kCardEphemFile) {
        takeCard(line, type);
        continue;
      }
      const EphemReader reader = readerFor(type);
      if (reader != nullptr) readEphemeris(reader, line);
    }
    if (rc != basalon::kUnitEnd) {
      failWith(basalon::failf("ReadOnlyTarvexs: Unable to read an input line of unit %d.", unit_));
    } else if (stored_ == 0 && !ownFailure_) {
      basalon::traceloginfo("Total ephemeris points = 0");
    }
    return code_;
  }

  // A DCE binary file: one ephemeris, read by name.
  int32_t readDceBinary() {
    readEphemeris(readDceBinaryFile, std::string_view());
    return code_;
  }

 private:
  // Only lines beginning "E", "S", "T" or "#" can be a file reference or a label.
  static bool mayBeCard(std::string_view line) {
    const char c = upperAscii(line[0]);
    return c == 'E' || c == 'S' || c == 'T' || c == '#';
  }

  void takeCard(std::string_view line, int32_t type) {
    if (type == kCardLabel) {
      label_.set(basalon::getinputfilename(line));
    } else if (type == kCardEphemFile && refs_ == CardRefs::kLoad) {
      loadReferenced(basalon::getinputfilename(line));
    }
  }

  // A referenced file on a free unit, read as one ephemeris file; a file that cannot be opened
  // (its open logged why) does not stop the others.
  void loadReferenced(const std::string& name) {
    int unit = 0, status = 0;
    basalon::fileopenmt(name, basalon::kOpenRead, unit, status);
    if (status != basalon::kUnitOk) {
      failWith(status);
      return;
    }
    int32_t code = basalon::kResultOk;
    if (FileIsDotDce(name)) {
      ReadOnlyTarvexs(unit, name, label_, code, satKey_);
    } else {
      code = FileLoader(unit, name, label_, satKey_, CardRefs::kIgnore).run();
    }
    basalon::fileClose(unit);
    failWith(code);
  }

  // Runs the reader on a new working record and stores what it read.
  void readEphemeris(EphemReader reader, std::string_view line) {
    TarvexRecord rec;
    rec.fileName.set(fileName_);
    rec.cardLabel = label_;
    int32_t code = basalon::kResultOk;
    reader(unit_, line, rec, code);
    if (code != basalon::kResultOk) {
      ownFail(code);
      return;
    }
    if (rec.numPts == 0) {
      ownFail(basalon::fail(
          "ReadOnlyTarvexs: Input ephemeris does not contain any ephemeris data. It will not be stored."));
      return;
    }
    const std::string first = chronel::ds50todate15(rec.points[0].ds50UTC);
    const std::string last = chronel::ds50todate15(rec.points.back().ds50UTC);
    basalon::logInfof("Total ephemeris points = %d, Start = %s, End = %s, Coord = %s", rec.numPts,
                      first.c_str(), last.c_str(), CoordSysName(rec.coordSys));
    TrimTarvexonPts(rec);
    int64_t key = basalon::kKeyFail;
    AddTarvexToMemMoved(std::move(rec), key);
    if (key == basalon::kKeyFail || key == 0) {
      failWith(basalon::kResultFail);  // the store logged why
      return;
    }
    ++stored_;
    if (satKey_ != nullptr) *satKey_ = key;
    label_ = basalon::FixedText<128>();
  }

  void ownFail(int32_t code) {
    ownFailure_ = true;
    stopped_ = true;
    failWith(code);
  }
  void failWith(int32_t code) {
    if (code_ == basalon::kResultOk) code_ = code;
  }

  int32_t unit_;
  std::string_view fileName_;
  basalon::FixedText<128>& label_;
  int64_t* satKey_;
  CardRefs refs_;
  int32_t code_ = basalon::kResultOk;
  int32_t stored_ = 0;
  bool stopped_ = false;
  bool ownFailure_ = false;
};

}  // namespace

int32_t TarvexCardType(std::string_view line) {
  if (colsAre(line, 1, "EPHEMERIS FILE FOR SATELLITE")) return kCardV31;
  if (colsAre(line, 1, "ZQ_UNIVERSAL_TARVEXON_V")) return kCardZqUniversal;
  if (colsAre(line, 1, " CCSDS_OEM_VERS")) return kCardOem;
  if (columnAt(line, 57) == '.') {
    if (colsBlank(line, 75, 78) && colsAre(line, 79, " Z")) return kCardSimObs;
    if (colsAre(line, 75, "SP ") || colsAre(line, 75, "GP ")) return kCardVecEph;
  }
  if (columnAt(line, 65) == '.' && columnAt(line, 29) == ' ' && columnAt(line, 51) == ' ' &&
      (colsAre(line, 113, "SP") || colsAre(line, 113, "GP")))
    return kCardItc;
  if (colsAre(line, 1, "CLASSIFICATION: UNCLASSIFIED")) return kCardEcr;
  if (colsAre(line, 1, " SPEPH PREDICTION EPHEMERIS")) return kCardJ2k;
  for (std::string_view ref : {"EPHFIL", "SATFIL", "EPHINP", "TARVEX", "EPHEMFILE", "EXTERNAL_EPHEMERIS"})
    if (colsAre(line, 1, ref)) return kCardEphemFile;
  if (colsAre(line, 1, "#TARVEXON")) return kCardLabel;
  if (colsAre(line, 1, "STK.V")) return kCardDotE;
  if (columnAt(line, 12) == '.' && columnAt(line, 16) == ' ')
    return IsOwnerOperatorFile(line) ? kCardOwner : kCardNone;
  if (colsAre(line, 13, "VERSION:")) return kCardOasys;
  if ((columnAt(line, 1) == '*' && basalon::trimRight(line.substr(1)).empty()) || isOasysTimeLine(line))
    return kCardOasys;
  if (colsAre(line, 1, "CLASSIFICATION:                 UNCLASSIFIED")) return kCardLch;
  bool eelv = true;
  for (size_t c : {2, 25, 48, 71, 94, 117}) eelv = eelv && columnAt(line, c) == '.';
  if (eelv) return kCardEelv;
  if (IsSatNumOnly(line)) return kCardDceText;
  if (colsAre(line, 1, "TIME(SEC): TIME")) return kCardLaunch;
  return kCardNone;
}

bool IsOwnerOperatorFile(std::string_view line) {
  constexpr size_t kNumbers = 6;
  if (line.size() <= 16) return false;
  const std::string_view s = line.substr(16);
  auto separator = [](char c) { return c == ' ' || c == ','; };
  std::array<size_t, kNumbers> dots{}, runEnds{};
  size_t pos = 0;
  for (size_t k = 0; k < kNumbers; ++k) {
    pos = s.find('.', k == 0 ? 0 : pos + 1);
    if (pos == std::string_view::npos) return false;
    dots[k] = pos;
  }
  size_t i = 0;
  for (size_t k = 0; k < kNumbers; ++k) {
    while (i < s.size() && !separator(s[i])) ++i;
    if (i == s.size()) return false;
    while (i < s.size() && separator(s[i])) ++i;
    runEnds[k] = i;  // first column after the run
  }
  for (size_t k = 0; k < kNumbers; ++k)
    if (dots[k] < runEnds[k]) return false;
  return true;
}

bool IsSatNumOnly(std::string_view line) {
  constexpr size_t kMaxDigits = 9;
  if (line.empty() || !isDigit(line[0])) return false;
  size_t k = 0;
  while (k < line.size() && isDigit(line[k])) ++k;
  if (k > kMaxDigits) return false;
  for (; k < line.size(); ++k)
    if (isDigit(line[k])) return false;
  return true;
}

bool FileIsDotDce(std::string_view fileName) {
  const std::string_view name = basalon::trimRight(fileName);
  constexpr std::string_view kExt = ".DCE";
  if (name.size() < kExt.size()) return false;
  const std::string_view tail = name.substr(name.size() - kExt.size());
  for (size_t k = 0; k < kExt.size(); ++k)
    if (upperAscii(tail[k]) != kExt[k]) return false;
  return true;
}

int32_t Coord(std::string_view name) {
  struct Named {
    std::string_view name;
    int32_t code;
  };
  constexpr Named kThree[] = {{"j2k", kCoordJ2k}, {"eci", kCoordEci}, {"efg", kCoordEfg},
                              {"ecr", kCoordEcr}, {"llh", kCoordLlh}, {"sen", kCoordSen}};
  constexpr Named kFive[] = {
      {"hcsrl", kCoordHcsrl}, {"wptrl", kCoordWptrl}, {"hcsgc", kCoordHcsgc}, {"wptgc", kCoordWptgc}};
  auto same = [](std::string_view text, std::string_view lower) {
    for (size_t k = 0; k < lower.size(); ++k)
      if (lowerAscii(text[k]) != lower[k]) return false;
    return true;
  };
  if (name.size() == 3) {
    for (const Named& n : kThree)
      if (same(name, n.name)) return n.code;
    return kCoordUnknown;
  }
  if (name.size() < 5) return kCoordUnknown;
  for (const Named& n : kFive)
    if (same(name, n.name)) return n.code;
  return kCoordUnknown;
}

void SkipBadEphemPoint(std::string_view readerName, std::string_view text) {
  if (tSkips.active) {
    if (tSkips.written >= kMaxSkipMessagesPerFile) {
      ++tSkips.unwritten;
      return;
    }
    ++tSkips.written;
  }
  basalon::tracelogerror("*** " + std::string(readerName) + " : Bad ephemeris data. ***");
  basalon::tracelogerror(text);
}

void ReadOnlyTarvexs(int32_t unit, std::string_view fileName, basalon::FixedText<128>& label, int32_t& code,
                     int64_t* satKey) {
  code = basalon::kResultOk;
  if (FileIsDotDce(fileName)) {
    code = FileLoader(unit, fileName, label, satKey, CardRefs::kIgnore).readDceBinary();
    return;
  }
  code = FileLoader(unit, fileName, label, satKey, CardRefs::kIgnore).run();
}

int32_t ReadTarvexsFrFileUnit(int32_t unit, std::string_view fileName) {
  if (basalon::existfortdotfileunit(unit)) {
    return basalon::fail("ReadTarvexsFrFileUnit: Using fort.n not allowed in Zenkora due to security risk");
  }
  const int rc = basalon::fileRewind(unit);
  if (rc != basalon::kUnitOk) {
    basalon::logErrorf("ReadTarvexsFrFileUnit: Unit %d cannot be read.", unit);
    return rc;
  }
  // Referenced files first, then the file itself as an ephemeris file, so that a card file may also
  // hold an ephemeris and cards after it are still followed. The second pass meets the labels again
  // where they stand: it starts without one, so a label written after an ephemeris stays off it.
  basalon::FixedText<128> label;
  int32_t code = FileLoader(unit, fileName, label, nullptr, CardRefs::kLoad).followCards();
  label = basalon::FixedText<128>();
  const int rewound = basalon::fileRewind(unit);
  if (rewound != basalon::kUnitOk) {
    basalon::logErrorf("ReadTarvexsFrFileUnit: Unit %d cannot be read again.", unit);
    return code != basalon::kResultOk ? code : rewound;
  }
  const int32_t selfCode = FileLoader(unit, fileName, label, nullptr, CardRefs::kIgnore).run();
  return code != basalon::kResultOk ? code : selfCode;
}

int32_t ReadTarvexsFrFile(std::string_view fileName) {
  int unit = 0, status = 0;
  basalon::fileopenmt(fileName, basalon::kOpenRead, unit, status);
  if (status != basalon::kUnitOk) return status;
  int32_t code = basalon::kResultOk;
  if (FileIsDotDce(fileName)) {
    basalon::FixedText<128> label;
    ReadOnlyTarvexs(unit, fileName, label, code);
  } else {
    code = ReadTarvexsFrFileUnit(unit, fileName);
  }
  basalon::fileClose(unit);
  return code;
}

int64_t AddTarvexFile(int32_t unit, std::string_view fileName) {
  basalon::FixedText<128> label;
  int32_t code = basalon::kResultOk;
  int64_t satKey = basalon::kKeyFail;
  ReadOnlyTarvexs(unit, fileName, label, code, &satKey);
  return code != basalon::kResultOk ? basalon::kKeyFail : satKey;
}

}  // namespace tarvexon
