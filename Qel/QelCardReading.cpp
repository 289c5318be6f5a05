// The Qel text forms read into records: card types, the multi-line and short forms line by line, the
// one-line form by columns, and the split of a concatenated message. Columns are 1-based; a column
// beyond a line's end reads as blank. Labels are compared without regard to case; text fields are
// taken from the line as read.
#include "Qel/QelCardReading.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "Qel/QelFields.h"
#include "Qel/QelReaderMessage.h"
#include "Qel/QelWriter.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"

namespace qel {
namespace reader {
namespace {

// The UT1 rate is shown in ms/day and held in s/day.
constexpr double kSecondsPerMs = 0.001;
constexpr size_t kCovValuesPerLine = 5;
// Columns of the five covariance values of a multi-line covariance line (12 wide each).
constexpr std::array<int, kCovValuesPerLine> kCovValueColumns = {4, 17, 30, 43, 56};
constexpr int kCovValueWidth = 12;

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

size_t packedCount(int32_t n) { return static_cast<size_t>(n * (n + 1) / 2); }

// Reads fields of one line; the first field that does not read marks the line bad. A field that
// fails leaves its target unchanged.
class FieldReader {
 public:
  explicit FieldReader(std::string_view line) : line_(line) {}

  void integer(int first, int last, int32_t& out) {
    int32_t v = 0;
    if (basalon::readIntField(line_, first, last - first + 1, v) == basalon::kFieldOk) {
      out = v;
    } else {
      ok_ = false;
    }
  }
  void real(int first, int last, double& out) {
    double v = 0;
    if (basalon::readRealField(line_, first, last - first + 1, v) == basalon::kFieldOk) {
      out = v;
    } else {
      ok_ = false;
    }
  }
  // Three reals of `width` columns starting at the given columns.
  void vector(const std::array<int, 3>& firsts, int width, Vec3& out) {
    for (size_t k = 0; k < 3; ++k) real(firsts[k], firsts[k] + width - 1, out[k]);
  }
  // A text field of the record's width, NULs as blanks.
  template <size_t N>
  void text(int first, basalon::FixedText<N>& out) {
    copyText(first, out.c.data(), N);
  }
  // The designator: two characters (launch year) and six (launch number and piece).
  void designator(int yearFirst, int pieceFirst, basalon::FixedText<8>& out) {
    copyText(yearFirst, out.c.data(), 2);
    copyText(pieceFirst, out.c.data() + 2, 6);
  }
  bool ok() const { return ok_; }

 private:
  void copyText(int first, char* out, size_t n) {
    const std::string_view v = basalon::fieldColumns(line_, first, static_cast<int>(n));
    std::memset(out, ' ', n);
    for (size_t k = 0; k < v.size(); ++k) out[k] = v[k] == '\0' ? ' ' : v[k];
  }

  std::string_view line_;
  bool ok_ = true;
};

// Moves a text field's leading blanks to its end.
template <size_t N>
void leftJustify(basalon::FixedText<N>& t) {
  const std::string_view v = t.view();
  const size_t lead = std::min(v.find_first_not_of(' '), N);
  if (lead == 0 || lead == N) return;
  std::rotate(t.c.begin(), t.c.begin() + static_cast<std::ptrdiff_t>(lead), t.c.end());
}

// The geopotential model as stored: left-justified, "2-BODY" for a blank model or "NONE".
void settleGeoModel(QelRecord& rec) {
  leftJustify(rec.geoModel);
  leftJustify(rec.dragModel);
  const std::string_view model = basalon::trimRight(rec.geoModel.view());
  if (model.empty() || (model.size() == 4 && labelAt(model, 1, "NONE"))) rec.geoModel.set("2-BODY");
}

// ---- Multi-line form --------------------------------------------------------------------------

// One labelled line of the multi-line form: its label and where, the names its two failure
// messages give, and how its fields are read.
struct LabeledLine {
  size_t labelColumn;
  std::string_view label;
  std::string_view missingName;  // "Invalid line caused read error @ '<name>'."
  std::string_view badName;      // "Bad <name> line."
  void (*read)(FieldReader& f, QelRecord& rec);
};

// Epoch and leap-second lines share their layout from a different first column.
void readLineDate(FieldReader& f, int shift, InputDate& d) {
  f.integer(22 + shift, 25 + shift, d.year);
  f.integer(27 + shift, 29 + shift, d.day);
  f.integer(40 + shift, 41 + shift, d.hour);
  f.integer(43 + shift, 44 + shift, d.minute);
  f.real(46 + shift, 51 + shift, d.second);
}

constexpr std::array<int, 3> kVectorColumns = {20, 37, 54};

const LabeledLine kSatNumLine{4, "SATELLITE NUMBER:", "SATELLITE NUMBER", "SATELLITE NUMBER",
                              [](FieldReader& f, QelRecord& r) {
                                f.integer(22, 30, r.satNum);
                                f.designator(60, 63, r.intlDes);
                              }};
const LabeledLine kEpochLine{54, "EPOCH REV:", "EPOCH REV", "EPOCH REV", [](FieldReader& f, QelRecord& r) {
                               readLineDate(f, 0, r.epoch);
                               f.integer(65, 69, r.epochRev);
                             }};
const LabeledLine kJ2kPosLine{4, "J2K POS", "J2K POS", "J2K POS",
                              [](FieldReader& f, QelRecord& r) { f.vector(kVectorColumns, 16, r.j2kPos); }};
const LabeledLine kJ2kVelLine{4, "J2K VEL", "J2K VEL", "J2K VEL",
                              [](FieldReader& f, QelRecord& r) { f.vector(kVectorColumns, 16, r.j2kVel); }};
const LabeledLine kEciPosLine{4, "ECI POS", "ECI POS", "ECI POS",
                              [](FieldReader& f, QelRecord& r) { f.vector(kVectorColumns, 16, r.eciPos); }};
const LabeledLine kEciVelLine{4, "ECI VEL", "ECI VEL", "ECI VEL",
                              [](FieldReader& f, QelRecord& r) { f.vector(kVectorColumns, 16, r.eciVel); }};
const LabeledLine kEfgPosLine{4, "EFG POS", "EFG POS", "EFG POS",
                              [](FieldReader& f, QelRecord& r) { f.vector(kVectorColumns, 16, r.efgPos); }};
const LabeledLine kEfgVelLine{4, "EFG VEL", "EFG VEL", "EFG VEL",
                              [](FieldReader& f, QelRecord& r) { f.vector(kVectorColumns, 16, r.efgVel); }};
const LabeledLine kGeoLine{4, "GEOPOTENTIAL", "GEOPOTENTIAL", "GEOPOTENTIAL",
                           [](FieldReader& f, QelRecord& r) {
                             f.text(18, r.geoModel);
                             f.integer(25, 26, r.geoZonals);
                             f.integer(29, 30, r.geoTesserals);
                             f.text(40, r.dragModel);
                             f.text(67, r.lunarSolar);
                             settleGeoModel(r);
                           }};
const LabeledLine kSrpLine{4, "SOLAR RAD PRESS:", "SOLAR RAD PRESS", "SOLAR RAD PRESS",
                           [](FieldReader& f, QelRecord& r) {
                             f.text(21, r.solarRadPress);
                             f.text(45, r.solidEarthTides);
                             f.text(67, r.inTrackThrust);
                           }};
const LabeledLine kBallisticLine{4, "BALLISTIC COEF", "BALLISTIC COEF", "BALLISTIC COEF",
                                 [](FieldReader& f, QelRecord& r) {
                                   f.real(28, 40, r.ballisticCoef);
                                   f.real(58, 69, r.bDot);
                                 }};
const LabeledLine kSrpCoefLine{4, "SOLAR RAD PRESS COEF", "SOLAR RAD PRESS COEF", "SOLAR RAD PRESS COEF",
                               [](FieldReader& f, QelRecord& r) {
                                 f.real(35, 47, r.solarRadPressCoef);
                                 f.real(61, 69, r.edr);
                               }};
const LabeledLine kThrustLine{4, "THRUST ACCEL", "THRUST ACCEL", "THRUST ACCEL",
                              [](FieldReader& f, QelRecord& r) {
                                f.real(25, 37, r.thrustAccel);
                                f.real(57, 69, r.cmOffset);
                              }};
const LabeledLine kFluxLine{4, "SOLAR FLUX", "SOLAR FLUX", "SOLAR FLUX", [](FieldReader& f, QelRecord& r) {
                              f.integer(21, 23, r.f10);
                              f.integer(39, 41, r.avgF10);
                              f.real(56, 60, r.avgAp);
                            }};
const LabeledLine kTaiLine{4, "TAI-UTC", "TAI-UTC", "TAI-UTC", [](FieldReader& f, QelRecord& r) {
                             f.real(16, 18, r.taiMinusUtc);
                             f.real(34, 41, r.ut1MinusUtc);
                             double msPerDay = r.ut1Rate / kSecondsPerMs;
                             f.real(63, 68, msPerDay);
                             r.ut1Rate = msPerDay * kSecondsPerMs;
                           }};
const LabeledLine kPolarLine{4, "POLAR MOT", "POLAR MOT", "POLAR MOT", [](FieldReader& f, QelRecord& r) {
                               f.real(28, 34, r.polarMotionX);
                               f.real(36, 42, r.polarMotionY);
                               f.integer(60, 62, r.nutationTerms);
                             }};
const LabeledLine kLeapLine{4, "TIME CONST LEAP SECOND TIME (UTC):", "LEAP SECOND ENTRY",
                            "TIME CONST LEAP SECOND TIME (UTC)",
                            [](FieldReader& f, QelRecord& r) { readLineDate(f, 17, r.leapSecondTime); }};
const LabeledLine kIntegratorLine{4, "INTEGRATOR", "INTEGRATOR", "INTEGRATOR",
                                  [](FieldReader& f, QelRecord& r) {
                                    f.text(21, r.integratorMode);
                                    f.text(45, r.coordSys);
                                    f.text(62, r.partials);
                                  }};
const LabeledLine kStepModeLine{4, "STEP MODE", "STEP MODE", "STEP MODE", [](FieldReader& f, QelRecord& r) {
                                  f.text(15, r.stepMode);
                                  f.text(33, r.fixedStep);
                                  f.text(59, r.stepSizeSelection);
                                }};
const LabeledLine kStepSizeLine{4, "INITIAL STEP SIZE", "INITIAL STEP SIZE", "INITIAL STEP SIZE",
                                [](FieldReader& f, QelRecord& r) {
                                  f.real(27, 34, r.initialStepSize);
                                  f.real(52, 60, r.errorControl);
                                }};
const LabeledLine kPosSigmaLine{4, "VECTOR U,V,W SIGMAS (KM):", "VECTOR U,V,W SIGMAS (KM)",
                                "VECTOR U,V,W SIGMAS (KM)", [](FieldReader& f, QelRecord& r) {
                                  f.vector({36, 47, 58}, 10, r.posSigmas);
                                }};
const LabeledLine kVelSigmaLine{4, "VECTOR UD,VD,WD SIGMAS (KM/S):", "VECTOR UD,VD,WD SIGMAS (KM/S)",
                                "VECTOR UD,VD,WD SIGMAS (KM/S)", [](FieldReader& f, QelRecord& r) {
                                  f.vector({38, 49, 60}, 8, r.velSigmas);
                                }};
const LabeledLine kCovLine{4, "COVARIANCE MATRIX", "COVARIANCE MATRIX", "COVARIANCE MATRIX",
                           [](FieldReader& f, QelRecord& r) {
                             f.integer(42, 43, r.covDim);
                             f.real(58, 69, r.wtdRms);
                           }};

// The lines from GEOPOTENTIAL to INITIAL STEP SIZE, common to both shapes.
const std::array<const LabeledLine*, 12> kForceModelLines = {
    &kGeoLine, &kSrpLine,   &kBallisticLine, &kSrpCoefLine,    &kThrustLine,   &kFluxLine,
    &kTaiLine, &kPolarLine, &kLeapLine,      &kIntegratorLine, &kStepModeLine, &kStepSizeLine};

std::string_view prefixOf(MessageOrigin origin) {
  return origin == MessageOrigin::kUnit ? "ReadQELFrFileUnit: " : "MultiLine2Qel: ";
}

// Parses one message, remembering the first failure.
class MessageParser {
 public:
  MessageParser(QelRecord& rec, MessageOrigin origin, MessageLineSource& src)
      : rec_(rec), origin_(origin), src_(src) {}

  // Drops n lines that carry nothing the record keeps.
  bool skip(int n) {
    std::string_view line;
    for (int k = 0; k < n; ++k)
      if (!nextLine(line)) return false;
    return true;
  }

  bool labeled(const LabeledLine& lineDef) {
    std::string_view line;
    if (!nextLine(line)) return false;
    if (!labelAt(line, lineDef.labelColumn, lineDef.label)) {
      return fail("Invalid line caused read error @ '" + std::string(lineDef.missingName) + "'.");
    }
    FieldReader f(line);
    lineDef.read(f, rec_);
    if (!f.ok()) return fail("Bad " + std::string(lineDef.badName) + " line.");
    return true;
  }

  // The n(n+1)/2 packed values of the covariance, five per line; every one must be present.
  bool covariance() {
    if (rec_.covDim < 0 || rec_.covDim > kMaxCovDim) return fail("Bad COVARIANCE MATRIX line.");
    std::array<double, kQelPackedCovLength> packed{};
    const size_t count = packedCount(rec_.covDim);
    for (size_t first = 0; first < count; first += kCovValuesPerLine) {
      std::string_view line;
      if (!nextLine(line)) return false;
      const size_t onLine = std::min(kCovValuesPerLine, count - first);
      if (!readCovLine(line, onLine, packed.data() + first)) {
        if (origin_ == MessageOrigin::kCallerLines) return fail("Bad COVARIANCE MATRIX line.");
        return fail(onLine == kCovValuesPerLine ? "Bad covariance data." : "Bad covarinace data.");
      }
    }
    Qel1Dto2D(rec_.cov, packed);
    return true;
  }

 private:
  bool nextLine(std::string_view& line) {
    if (src_.next(line)) return true;
    return fail("Unable to read an input line.");
  }

  static bool readCovLine(std::string_view line, size_t n, double* out) {
    for (size_t k = 0; k < n; ++k) {
      bool blank = false;
      if (basalon::readRealField(line, kCovValueColumns[k], kCovValueWidth, out[k], &blank) !=
              basalon::kFieldOk ||
          blank)
        return false;
    }
    return true;
  }

  bool fail(const std::string& text) {
    basalon::tracelogerror(std::string(prefixOf(origin_)) + text);
    return false;
  }

  QelRecord& rec_;
  MessageOrigin origin_;
  MessageLineSource& src_;
};

bool parseFull(MessageParser& p) {
  if (!p.skip(2) || !p.labeled(kSatNumLine) || !p.skip(1) || !p.labeled(kEpochLine)) return false;
  for (const LabeledLine* lineDef :
       {&kJ2kPosLine, &kJ2kVelLine, &kEciPosLine, &kEciVelLine, &kEfgPosLine, &kEfgVelLine})
    if (!p.labeled(*lineDef)) return false;
  for (const LabeledLine* lineDef : kForceModelLines)
    if (!p.labeled(*lineDef)) return false;
  return p.labeled(kPosSigmaLine) && p.labeled(kVelSigmaLine) && p.labeled(kCovLine) && p.covariance();
}

bool parseShort(MessageParser& p, QelRecord& rec) {
  for (const LabeledLine* lineDef : {&kSatNumLine, &kEpochLine, &kEciPosLine, &kEciVelLine})
    if (!p.labeled(*lineDef)) return false;
  for (const LabeledLine* lineDef : kForceModelLines)
    if (!p.labeled(*lineDef)) return false;
  rec.covDim = 0;
  rec.wtdRms = 1.0;
  rec.posSigmas = {1.0, 1.0, 1.0};
  rec.velSigmas = {1.0, 1.0, 1.0};
  return true;
}

// Lines of a caller's buffer; lines beyond it read as blank.
class BufferLines : public MessageLineSource {
 public:
  BufferLines(std::string_view lines, size_t width, size_t firstLine)
      : lines_(lines), width_(width), next_(firstLine) {}
  bool next(std::string_view& line) override {
    const size_t count = width_ == 0 ? 0 : lines_.size() / width_;
    line = next_ < count ? lines_.substr(next_ * width_, std::min(width_, kConcatLineWidth))
                         : std::string_view();
    ++next_;
    return true;
  }

 private:
  std::string_view lines_;
  size_t width_;
  size_t next_;
};

// ---- One-line form ----------------------------------------------------------------------------

bool readOneLineCovariance(std::string_view text, QelRecord& rec) {
  FieldReader f(text);
  f.integer(670, 671, rec.covDim);
  f.real(677, 688, rec.wtdRms);
  if (!f.ok() || rec.covDim < 0 || rec.covDim > kMaxCovDim) return false;
  // The values stand free form, separated by blanks, from column 689 to column 1464.
  constexpr size_t kFirst = 688, kLast = 1464;
  const std::string_view area =
      text.size() > kFirst ? text.substr(kFirst, std::min(text.size(), kLast) - kFirst) : std::string_view();
  std::array<double, kQelPackedCovLength> packed{};
  const size_t count = packedCount(rec.covDim);
  auto separator = [](char c) { return c == ' ' || c == '\0' || c == ','; };
  size_t i = 0;
  for (size_t k = 0; k < count; ++k) {
    while (i < area.size() && separator(area[i])) ++i;
    if (i == area.size()) return false;  // a value is missing
    size_t end = i;
    while (end < area.size() && !separator(area[end])) ++end;
    if (basalon::parseReal(area.substr(i, end - i), packed[k]) != basalon::kFieldOk) return false;
    i = end;
  }
  Qel1Dto2D(rec.cov, packed);
  return true;
}

// Reads the one-line fields in order; false after logging the first that fails.
bool parseOneLine(std::string_view text, QelRecord& rec) {
  auto bad = [](std::string_view what) {
    basalon::tracelogerror("Qel1Line2Qel: Bad " + std::string(what));
    return false;
  };
  {
    FieldReader f(text);
    f.integer(1, 5, rec.satNum);
    if (!f.ok()) return bad("satellite number.");
  }
  {
    FieldReader f(text);
    f.integer(7, 10, rec.epoch.year);
    f.integer(11, 13, rec.epoch.day);
    f.integer(14, 15, rec.epoch.hour);
    f.integer(16, 17, rec.epoch.minute);
    f.real(18, 23, rec.epoch.second);
    f.integer(25, 29, rec.epochRev);
    if (!f.ok()) return bad("epoch data.");
  }
  struct VectorAt {
    std::array<int, 3> columns;
    Vec3* v;
    std::string_view name;
  };
  const VectorAt vectors[] = {
      {{33, 50, 67}, &rec.j2kPos, "J2K POS"},    {{84, 101, 118}, &rec.j2kVel, "J2K VEL"},
      {{137, 154, 171}, &rec.eciPos, "ECI POS"}, {{188, 205, 222}, &rec.eciVel, "ECI VEL"},
      {{241, 258, 275}, &rec.efgPos, "EFG POS"}, {{292, 309, 326}, &rec.efgVel, "EFG VEL"}};
  for (const VectorAt& row : vectors) {
    FieldReader f(text);
    f.vector(row.columns, 16, *row.v);
    if (!f.ok()) return bad(std::string(row.name) + " data.");
  }
  // Each group of fields shares one failure name.
  struct Group {
    std::string_view name;
    void (*read)(FieldReader& f, QelRecord& r);
  };
  static constexpr Group kGroups[] = {
      {"GEOPOTENTIAL",
       [](FieldReader& f, QelRecord& r) {
         f.text(343, r.geoModel);
         f.integer(350, 351, r.geoZonals);
         f.integer(354, 355, r.geoTesserals);
         f.text(358, r.dragModel);
         f.text(371, r.lunarSolar);
         settleGeoModel(r);
       }},
      {"SOLAR RAD PRESS",
       [](FieldReader& f, QelRecord& r) {
         f.text(375, r.solarRadPress);
         f.text(379, r.solidEarthTides);
         f.text(383, r.inTrackThrust);
       }},
      {"BALLISTIC COEF", [](FieldReader& f, QelRecord& r) { f.real(387, 399, r.ballisticCoef); }},
      {"BDOT", [](FieldReader& f, QelRecord& r) { f.real(400, 412, r.bDot); }},
      {"SOLAR RAD PRESS COEFF", [](FieldReader& f, QelRecord& r) { f.real(414, 426, r.solarRadPressCoef); }},
      {"EDR", [](FieldReader& f, QelRecord& r) { f.real(427, 436, r.edr); }},
      {"THRUST ACCEL",
       [](FieldReader& f, QelRecord& r) {
         f.real(438, 450, r.thrustAccel);
         f.real(452, 464, r.cmOffset);
       }},
      {"SOLAR FLUX",
       [](FieldReader& f, QelRecord& r) {
         f.integer(466, 468, r.f10);
         f.integer(470, 472, r.avgF10);
         f.real(474, 478, r.avgAp);
       }},
      {"TAI-UTC",
       [](FieldReader& f, QelRecord& r) {
         f.real(479, 481, r.taiMinusUtc);
         f.real(483, 490, r.ut1MinusUtc);
         double msPerDay = 0;
         f.real(492, 497, msPerDay);
         r.ut1Rate = msPerDay * kSecondsPerMs;
       }},
      {"POLAR MOT X,Y",
       [](FieldReader& f, QelRecord& r) {
         f.real(499, 505, r.polarMotionX);
         f.real(507, 513, r.polarMotionY);
         f.integer(515, 517, r.nutationTerms);
       }},
      {"INTEGRATOR MODE",
       [](FieldReader& f, QelRecord& r) {
         f.text(519, r.integratorMode);
         f.text(532, r.coordSys);
         f.text(548, r.partials);
       }},
      {"STEP MODE",
       [](FieldReader& f, QelRecord& r) {
         f.text(567, r.stepMode);
         f.text(573, r.fixedStep);
         f.text(577, r.stepSizeSelection);
       }},
      {"INITIAL STEP SIZE",
       [](FieldReader& f, QelRecord& r) {
         f.real(584, 591, r.initialStepSize);
         f.real(593, 601, r.errorControl);
       }},
      {"VECTOR U,V,W SIGMAS",
       [](FieldReader& f, QelRecord& r) {
         f.vector({603, 614, 625}, 10, r.posSigmas);
       }},
      {"VECTOR UD,VD,WD SIGMAS",
       [](FieldReader& f, QelRecord& r) {
         f.vector({638, 649, 660}, 8, r.velSigmas);
       }},
  };
  for (const Group& g : kGroups) {
    FieldReader f(text);
    g.read(f, rec);
    if (!f.ok()) return bad(std::string(g.name) + " data.");
  }
  if (!readOneLineCovariance(text, rec)) return bad("COVARIANCE MATRIX data.");
  FieldReader f(text);
  f.text(1465, rec.commonName);
  f.designator(1492, 1495, rec.intlDes);
  return true;
}

}  // namespace

bool labelAt(std::string_view line, size_t first, std::string_view label) {
  if (first < 1 || line.size() < first - 1 + label.size()) return false;
  const char* p = line.data() + first - 1;
  for (size_t k = 0; k < label.size(); ++k)
    if (upperAscii(p[k]) != label[k]) return false;
  return true;
}

bool isSkippedLine(std::string_view line) {
  if (!line.empty() && line[0] == '*') return true;
  return line.find_first_not_of(std::string_view(" \0", 2)) == std::string_view::npos;
}

int32_t parseMessage(QelRecord& rec, MessageShape shape, MessageOrigin origin, MessageLineSource& src) {
  MessageParser p(rec, origin, src);
  const bool ok = shape == MessageShape::kFull ? parseFull(p) : parseShort(p, rec);
  return ok ? basalon::kResultOk : basalon::kResultFail;
}

}  // namespace reader

int32_t QelCardType(std::string_view line) {
  using reader::labelAt;
  if (labelAt(line, 1, "<> SP VEC")) return kQelCardMultiLine;
  auto column = [line](size_t c) { return c <= line.size() ? line[c - 1] : ' '; };
  const char c6 = column(6);
  if ((c6 == ' ' || c6 == '\0') && column(20) == '.' && column(40) == '.' && column(57) == '.')
    return kQelCardOneLine;
  for (std::string_view card : {"VECFIL", "VECTORFILE", "ELTFIL", "ELSETFILE", "SPVMSG", "QELFIL", "SATFIL"})
    if (labelAt(line, 1, card)) return kQelCardInputFile;
  if (labelAt(line, 1, "SATELLITE NUMBER:")) return kQelCardShortForm;
  if (labelAt(line, 1, "ZQ_DMA_ON")) return kQelCardDmaOn;
  return kQelCardNone;
}

void MultiLine2Qel(QelRecord& rec, std::string_view lines, size_t lineLength) {
  FreeQelRecord(rec);
  rec = QelRecord{};
  reader::BufferLines src(lines, lineLength, 1);  // line 1, the header, carries nothing
  rec.errCode =
      reader::parseMessage(rec, reader::MessageShape::kFull, reader::MessageOrigin::kCallerLines, src);
}

void Qel1Line2Qel(QelRecord& rec, std::string_view text) {
  FreeQelRecord(rec);
  rec = QelRecord{};
  text = text.substr(0, std::min(text.size(), static_cast<size_t>(kQelReadColumns)));
  if (!reader::parseOneLine(text, rec)) {
    rec.errCode = basalon::kResultFail;
    return;
  }
  rec.leapSecondTime = {2049, 365, 23, 59, 59.999};  // the one-line form carries none
  rec.errCode = ValidateQelValues(rec);
}

void Concatenated2MultiLine(std::string_view text, int32_t& numLines, ConcatLines lines) {
  std::fill(lines.begin(), lines.end(), ' ');
  numLines = 0;
  size_t start = text.find("<>");
  if (start == std::string_view::npos) return;
  size_t count = 0;
  for (;;) {
    if (count == kConcatMaxLines) {
      basalon::logInfof("Concatenated2MultiLine: More than %zu segments; those after the %zuth are ignored.",
                        kConcatMaxLines, kConcatMaxLines);
      break;
    }
    const size_t next = text.find("<>", start + 2);
    const size_t end =
        std::min(next == std::string_view::npos ? text.size() : next, start + kConcatLineWidth);
    char* out = lines.data() + count * kConcatLineWidth;
    for (size_t k = start; k < end; ++k) out[k - start] = text[k] == '\0' ? ' ' : text[k];
    ++count;
    if (next == std::string_view::npos) break;
    start = next;
  }
  numLines = static_cast<int32_t>(count);
}

void AnyQelStrings2Qel(QelRecord& rec, std::string_view text) {
  if (QelCardType(text) == kQelCardOneLine) {
    Qel1Line2Qel(rec, text);
    return;
  }
  FreeQelRecord(rec);
  rec = QelRecord{};
  std::vector<char> buffer(kConcatMaxLines * kConcatLineWidth);
  int32_t numLines = 0;
  Concatenated2MultiLine(text, numLines, ConcatLines(buffer.data(), buffer.size()));
  if (numLines == 0) {
    rec.errCode = basalon::fail("AnyQelStrings2Qel: Invalid concatenated qel string.");
    return;
  }
  if (numLines < kMinMessageLines) {
    rec.errCode = basalon::fail("AnyQelStrings2Qel: Number of qel records needs to be at least 27.");
    return;
  }
  MultiLine2Qel(rec, std::string_view(buffer.data(), static_cast<size_t>(numLines) * kConcatLineWidth),
                kConcatLineWidth);
}

int32_t Qel1Line2QelLines(std::string_view oneLine, std::span<char> lines, int32_t& numLines) {
  numLines = 0;
  std::fill(lines.begin(), lines.end(), ' ');
  QelRecord rec;
  Qel1Line2Qel(rec, oneLine);
  if (rec.errCode != 0) return basalon::kResultFail;
  if (Qel2QelLines(rec, lines) != basalon::kResultOk) {
    std::fill(lines.begin(), lines.end(), ' ');
    return basalon::kResultFail;
  }
  return basalon::kResultOk;
}

}  // namespace qel
