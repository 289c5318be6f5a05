// The Qel text writer: every number goes through Basalon's formatted-number writers; a value that
// does not fit its column makes the message fail instead of leaving "*" in text meant to be read.
#include "Qel/QelWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>

#include "Qel/QelFields.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Chronel/Chronel.h"

namespace qel {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr int kMaxShownYear = 9999;            // four columns
constexpr double kMsPerSecond = 1000.0;        // times are shown to the millisecond
constexpr double kUt1RateShownPerDay = 0.001;  // the UT1 rate is shown in ms/day, held in s/day
constexpr int32_t kMinWideSatNum = 100000;     // from here the number is written in minimal width
constexpr int kCovValuesPerLine = 5;

// Writes text and formatted numbers left to right into a blank line of `width` columns. The first
// field that does not fit (or cannot be shown) is remembered by name; writing goes on harmlessly,
// and the caller throws the line away.
class Composer {
 public:
  Composer(char* line, size_t width) : line_(line), width_(width) {}

  // Moves to a 1-based column.
  void at(size_t column) { pos_ = column - 1; }
  void blanks(size_t n) { pos_ += n; }
  void text(std::string_view s) {
    if (!room(s.size())) return;
    std::memcpy(line_ + pos_, s.data(), s.size());
    pos_ += s.size();
  }
  template <size_t N>
  void text(const basalon::FixedText<N>& t) {
    text(t.view());
  }
  void intField(int w, int64_t v, const char* name) {
    if (room(static_cast<size_t>(w)) && !basalon::writeI(line_ + pos_, w, v)) fail(name);
    pos_ += static_cast<size_t>(w);
  }
  // Iw.w: zero padded to the whole width.
  void zeroPadded(int w, int64_t v, const char* name) {
    if (room(static_cast<size_t>(w)) && !basalon::writeIm(line_ + pos_, w, w, v)) fail(name);
    pos_ += static_cast<size_t>(w);
  }
  void fixed(int w, int d, double v, const char* name) {
    if (room(static_cast<size_t>(w)) && !basalon::writeF(line_ + pos_, w, d, v)) fail(name);
    pos_ += static_cast<size_t>(w);
  }
  void expo(int w, int d, double v, const char* name) {
    if (room(static_cast<size_t>(w)) && !basalon::writeE(line_ + pos_, w, d, v)) fail(name);
    pos_ += static_cast<size_t>(w);
  }
  // A real shown as its integer part (truncated toward zero) in Iw.
  void truncated(int w, double v, const char* name) {
    // Beyond 1e15 no Iw field of this writer holds it; checked before the conversion.
    if (!(std::isfinite(v) && std::fabs(v) < 1e15)) {
      fail(name);
      pos_ += static_cast<size_t>(w);
      return;
    }
    intField(w, static_cast<int64_t>(v), name);
  }
  void minimal(int64_t v) {
    if (!room(20)) return;
    pos_ += static_cast<size_t>(basalon::writeI0(line_ + pos_, v));
  }
  void fail(const char* name) {
    if (failed_ == nullptr) failed_ = name;
  }
  bool ok() const { return failed_ == nullptr; }
  const char* failedField() const { return failed_; }

 private:
  bool room(size_t w) {
    if (pos_ + w <= width_) return true;
    fail("line width");
    return false;
  }
  char* line_;
  size_t width_;
  size_t pos_ = 0;
  const char* failed_ = nullptr;
};

// "YYYY DDD (dd MON) hh:mm:ss.sss", the layout of a time on lines 6 and 21.
void lineDate(Composer& c, const InputDate& date, const char* name) {
  ShownDate d;
  if (!showDate(date, d)) {
    c.fail(name);
    return;
  }
  c.intField(4, d.year, name);
  c.blanks(1);
  c.zeroPadded(3, d.day, name);
  c.text(" (");
  c.zeroPadded(2, d.dayOfMonth, name);
  c.blanks(1);
  c.text(kMonthNames[static_cast<size_t>(d.month - 1)]);
  c.text(") ");
  c.zeroPadded(2, d.hour, name);
  c.text(":");
  c.zeroPadded(2, d.minute, name);
  c.text(":");
  c.zeroPadded(2, d.millis / 1000, name);
  c.text(".");
  c.zeroPadded(3, d.millis % 1000, name);
}

// The designator as "YYYY-LLLPPP" (launch year made four-digit, then launch number and piece);
// nothing when its year is blank. A year that is not two digits is kept as its two characters.
void designator(Composer& c, const basalon::FixedText<8>& des) {
  const std::string_view v = des.view();
  if (v[0] == ' ' && v[1] == ' ') return;
  const bool digits = v[0] >= '0' && v[0] <= '9' && v[1] >= '0' && v[1] <= '9';
  if (digits) {
    c.intField(4, chronel::fixyr((v[0] - '0') * 10 + (v[1] - '0')), "INT. DES.");
  } else {
    c.blanks(2);
    c.text(v.substr(0, 2));
  }
  c.text("-");
  c.text(v.substr(2, 6));
}

bool covDimShown(int32_t n) { return n >= 0 && n <= kMaxCovDim; }
size_t packedCount(int32_t n) { return static_cast<size_t>(n * (n + 1) / 2); }

// The lines of the multi-line message, composed one at a time in an 80-column scratch line and
// copied into the caller's buffer when complete.
class MessageLines {
 public:
  explicit MessageLines(std::span<char> buffer) : buffer_(buffer) {}

  Composer begin() {
    scratch_.fill(' ');
    return Composer(scratch_.data(), kQelLineWidth);
  }
  // Keeps the line when every field fitted; otherwise logs which one did not and gives false.
  bool finish(const Composer& c) {
    if (!c.ok()) {
      basalon::failf("Qel2QelLines: %s on line %d is too large for its column or not valid.", c.failedField(),
                     done_ + 1);
      return false;
    }
    std::memcpy(buffer_.data() + static_cast<size_t>(done_) * kQelLineWidth, scratch_.data(), kQelLineWidth);
    ++done_;
    return true;
  }
  bool fixedLine(std::string_view text) {
    Composer c = begin();
    c.text(text);
    return finish(c);
  }
  int32_t done() const { return done_; }

 private:
  std::span<char> buffer_;
  std::array<char, kQelLineWidth> scratch_{};
  int32_t done_ = 0;
};

void vectorLine(Composer& c, std::string_view label, const Vec3& v, int decimals, const char* name) {
  c.text(label);
  for (double x : v) {
    c.blanks(1);
    c.fixed(16, decimals, x, name);
  }
}

// Lines 1 to 27 and the covariance lines; false at the first line that cannot be composed.
bool composeLines(const QelRecord& rec, MessageLines& out) {
  if (!out.fixedLine("<> SP VECTOR/COVARIANCE MESSAGE - V2.0") || !out.fixedLine("<>")) return false;
  {
    Composer c = out.begin();
    c.text("<> MESSAGE TIME (UTC):");
    c.blanks(34);
    c.text("CENTER:");
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> SATELLITE NUMBER: ");
    if (rec.satNum < kMinWideSatNum) {
      c.intField(5, rec.satNum, "SATELLITE NUMBER");
      c.blanks(20);
    } else {
      c.minimal(rec.satNum);
      c.at(47);
    }
    c.text("INT. DES.: ");
    designator(c, rec.intlDes);
    if (!out.finish(c)) return false;
  }
  if (!out.fixedLine("<> COMMON NAME: ")) return false;
  {
    Composer c = out.begin();
    c.text("<> EPOCH TIME (UTC): ");
    lineDate(c, rec.epoch, "EPOCH TIME");
    c.text("  EPOCH REV: ");
    c.intField(5, rec.epochRev, "EPOCH REV");
    if (!out.finish(c)) return false;
  }
  struct VectorRow {
    std::string_view label;
    const Vec3* v;
    int decimals;
    const char* name;
  };
  const VectorRow rows[] = {
      {"<> J2K POS (KM):  ", &rec.j2kPos, 8, "J2K POS"}, {"<> J2K VEL (KM/S):", &rec.j2kVel, 12, "J2K VEL"},
      {"<> ECI POS (KM):  ", &rec.eciPos, 8, "ECI POS"}, {"<> ECI VEL (KM/S):", &rec.eciVel, 12, "ECI VEL"},
      {"<> EFG POS (KM):  ", &rec.efgPos, 8, "EFG POS"}, {"<> EFG VEL (KM/S):", &rec.efgVel, 12, "EFG VEL"}};
  for (const VectorRow& row : rows) {
    Composer c = out.begin();
    vectorLine(c, row.label, *row.v, row.decimals, row.name);
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> GEOPOTENTIAL: ");
    // A message that names no model reads back as "2-BODY"; it is written as blanks.
    if (rec.geoModel.view() == "2-BODY") {
      c.blanks(6);
    } else {
      c.text(rec.geoModel);
    }
    c.blanks(1);
    c.intField(2, rec.geoZonals, "GEOPOTENTIAL ZONALS");
    c.text("Z,");
    c.intField(2, rec.geoTesserals, "GEOPOTENTIAL TESSERALS");
    c.text("T  DRAG: ");
    c.text(rec.dragModel);
    c.text("  LUNAR/SOLAR: ");
    c.text(rec.lunarSolar);
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> SOLAR RAD PRESS: ");
    c.text(rec.solarRadPress);
    c.text("  SOLID EARTH TIDES: ");
    c.text(rec.solidEarthTides);
    c.text("  IN-TRACK THRUST: ");
    c.text(rec.inTrackThrust);
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> BALLISTIC COEF (M2/KG): ");
    c.expo(13, 6, rec.ballisticCoef, "BALLISTIC COEF");
    c.text(" BDOT (M2/KG-S): ");
    c.expo(12, 6, rec.bDot, "BDOT");
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> SOLAR RAD PRESS COEFF (M2/KG): ");
    c.expo(13, 6, rec.solarRadPressCoef, "SOLAR RAD PRESS COEFF");
    c.text("  EDR(W/KG): ");
    c.expo(9, 2, rec.edr, "EDR");
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> THRUST ACCEL (M/S2): ");
    c.expo(13, 6, rec.thrustAccel, "THRUST ACCEL");
    c.text("  C.M. OFFSET (M): ");
    c.expo(13, 6, rec.cmOffset, "C.M. OFFSET");
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> SOLAR FLUX: F10: ");
    c.intField(3, rec.f10, "F10");
    c.text("  AVERAGE F10: ");
    c.intField(3, rec.avgF10, "AVERAGE F10");
    c.text("  AVERAGE AP: ");
    c.fixed(5, 1, rec.avgAp, "AVERAGE AP");
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> TAI-UTC (S):");
    c.truncated(3, rec.taiMinusUtc, "TAI-UTC");
    c.text("  UT1-UTC (S): ");
    c.fixed(8, 5, rec.ut1MinusUtc, "UT1-UTC");
    c.text("  UT1 RATE (MS/DAY): ");
    c.fixed(6, 3, rec.ut1Rate / kUt1RateShownPerDay, "UT1 RATE");
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> POLAR MOT X,Y (ARCSEC): ");
    c.fixed(7, 4, rec.polarMotionX, "POLAR MOT X");
    c.blanks(1);
    c.fixed(7, 4, rec.polarMotionY, "POLAR MOT Y");
    c.text(" IAU 1980 NUTAT: ");
    c.intField(3, rec.nutationTerms, "NUTAT TERMS");
    c.text(" TERMS");
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> TIME CONST LEAP SECOND TIME (UTC): ");
    lineDate(c, rec.leapSecondTime, "LEAP SECOND TIME");
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> INTEGRATOR MODE: ");
    c.text(rec.integratorMode);
    c.blanks(7);
    c.text("COORD SYS: ");
    c.text(rec.coordSys);
    c.text("  PARTIALS: ");
    c.text(rec.partials);
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> STEP MODE: ");
    c.text(rec.stepMode);
    c.text("  FIXED STEP: ");
    c.text(rec.fixedStep);
    c.text("  STEP SIZE SELECTION: ");
    c.text(rec.stepSizeSelection);
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> INITIAL STEP SIZE (S): ");
    c.fixed(8, 3, rec.initialStepSize, "INITIAL STEP SIZE");
    c.text("  ERROR CONTROL: ");
    c.expo(9, 3, rec.errorControl, "ERROR CONTROL");
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> VECTOR U,V,W SIGMAS (KM):      ");
    for (double s : rec.posSigmas) {
      c.blanks(1);
      c.fixed(10, 4, s, "VECTOR U,V,W SIGMAS");
    }
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> VECTOR UD,VD,WD SIGMAS (KM/S): ");
    for (double s : rec.velSigmas) {
      c.blanks(3);
      c.fixed(8, 4, s, "VECTOR UD,VD,WD SIGMAS");
    }
    if (!out.finish(c)) return false;
  }
  {
    Composer c = out.begin();
    c.text("<> COVARIANCE MATRIX (EQUINOCTIAL ELS): (");
    c.intField(2, rec.covDim, "COVARIANCE DIMENSION");
    c.text("x");
    c.intField(2, rec.covDim, "COVARIANCE DIMENSION");
    c.text(") WTD RMS: ");
    c.expo(12, 5, rec.wtdRms, "WTD RMS");
    if (!out.finish(c)) return false;
  }
  if (rec.covDim <= 0) return true;
  std::array<double, kQelPackedCovLength> packed;
  Qel2Dto1D(packed, rec.cov);
  const size_t count = packedCount(rec.covDim);
  for (size_t first = 0; first < count; first += kCovValuesPerLine) {
    Composer c = out.begin();
    c.text("<> ");
    for (size_t k = first; k < std::min(count, first + kCovValuesPerLine); ++k) {
      c.expo(12, 5, packed[k], "COVARIANCE VALUE");
      c.blanks(1);
    }
    if (!out.finish(c)) return false;
  }
  return true;
}

// The one-line message; false (with the name of the field) at a field that cannot be written.
bool composeOneLine(Composer& c, const QelRecord& rec) {
  c.intField(5, rec.satNum, "satellite number");
  ShownDate d;
  if (!showDate(rec.epoch, d)) {
    c.fail("epoch");
    return false;
  }
  c.at(7);
  c.intField(4, d.year, "epoch");
  c.zeroPadded(3, d.day, "epoch");
  c.zeroPadded(2, d.hour, "epoch");
  c.zeroPadded(2, d.minute, "epoch");
  // F6.3 of the seconds, from the whole milliseconds so that the digits are exact.
  c.intField(2, d.millis / 1000, "epoch");
  c.text(".");
  c.zeroPadded(3, d.millis % 1000, "epoch");
  c.blanks(1);
  c.intField(5, rec.epochRev, "epoch revolution");

  struct VectorAt {
    size_t column;
    const Vec3* v;
    int decimals;
    const char* name;
  };
  const VectorAt vectors[] = {{33, &rec.j2kPos, 8, "J2K POS"},  {84, &rec.j2kVel, 12, "J2K VEL"},
                              {137, &rec.eciPos, 8, "ECI POS"}, {188, &rec.eciVel, 12, "ECI VEL"},
                              {241, &rec.efgPos, 8, "EFG POS"}, {292, &rec.efgVel, 12, "EFG VEL"}};
  for (const VectorAt& row : vectors) {
    c.at(row.column);
    for (size_t k = 0; k < 3; ++k) {
      if (k > 0) c.blanks(1);
      c.fixed(16, row.decimals, (*row.v)[k], row.name);
    }
  }
  c.at(343);
  c.text(rec.geoModel);
  c.blanks(1);
  c.intField(2, rec.geoZonals, "GEOPOTENTIAL ZONALS");
  c.text("Z,");
  c.intField(2, rec.geoTesserals, "GEOPOTENTIAL TESSERALS");
  c.text("T");
  c.blanks(1);
  c.text(rec.dragModel);
  c.blanks(1);
  c.text(rec.lunarSolar);
  c.at(375);
  c.text(rec.solarRadPress);
  c.blanks(1);
  c.text(rec.solidEarthTides);
  c.blanks(1);
  c.text(rec.inTrackThrust);
  c.at(387);
  c.expo(13, 6, rec.ballisticCoef, "BALLISTIC COEF");
  c.expo(13, 6, rec.bDot, "BDOT");
  c.at(414);
  c.expo(13, 6, rec.solarRadPressCoef, "SOLAR RAD PRESS COEFF");
  c.expo(10, 2, rec.edr, "EDR");
  c.blanks(1);
  c.expo(13, 6, rec.thrustAccel, "THRUST ACCEL");
  c.blanks(1);
  c.expo(13, 6, rec.cmOffset, "C.M. OFFSET");
  c.at(466);
  c.intField(3, rec.f10, "F10");
  c.blanks(1);
  c.intField(3, rec.avgF10, "AVERAGE F10");
  c.blanks(1);
  c.fixed(5, 1, rec.avgAp, "AVERAGE AP");
  c.truncated(3, rec.taiMinusUtc, "TAI-UTC");
  c.blanks(1);
  c.fixed(8, 5, rec.ut1MinusUtc, "UT1-UTC");
  c.blanks(1);
  c.fixed(6, 3, rec.ut1Rate / kUt1RateShownPerDay, "UT1 RATE");
  c.at(499);
  c.fixed(7, 4, rec.polarMotionX, "POLAR MOT X");
  c.blanks(1);
  c.fixed(7, 4, rec.polarMotionY, "POLAR MOT Y");
  c.blanks(1);
  c.intField(3, rec.nutationTerms, "NUTAT TERMS");
  c.at(519);
  c.text(rec.integratorMode);
  c.blanks(7);
  c.text(rec.coordSys);
  c.blanks(11);
  c.text(rec.partials);
  c.at(567);
  c.text(rec.stepMode);
  c.blanks(2);
  c.text(rec.fixedStep);
  c.blanks(1);
  c.text(rec.stepSizeSelection);
  c.at(584);
  c.fixed(8, 3, rec.initialStepSize, "INITIAL STEP SIZE");
  c.blanks(1);
  c.expo(9, 3, rec.errorControl, "ERROR CONTROL");
  for (double s : rec.posSigmas) {
    c.blanks(1);
    c.fixed(10, 4, s, "VECTOR U,V,W SIGMAS");
  }
  for (double s : rec.velSigmas) {
    c.blanks(3);
    c.fixed(8, 4, s, "VECTOR UD,VD,WD SIGMAS");
  }
  c.at(669);
  c.text("(");
  c.intField(2, rec.covDim, "covariance dimension");
  c.text("x");
  c.intField(2, rec.covDim, "covariance dimension");
  c.text(") ");
  c.expo(12, 5, rec.wtdRms, "WTD RMS");
  // All 45 packed values whatever the dimension; those beyond it are 0.
  std::array<double, kQelPackedCovLength> packed;
  Qel2Dto1D(packed, rec.cov);
  c.at(689);
  for (double x : packed) c.expo(13, 5, x, "COVARIANCE VALUE");
  c.at(1465);
  c.text(rec.commonName);
  const std::string_view des = rec.intlDes.view();
  c.at(1492);
  c.text(des.substr(0, 2));
  c.text("-");
  c.text(des.substr(2, 6));
  return c.ok();
}

}  // namespace

bool showDate(const InputDate& date, ShownDate& out) {
  out = ShownDate{};
  if (!std::isfinite(date.second) || date.second < 0.0 || date.second >= 61.0) return false;
  if (date.hour < 0 || date.hour > 23 || date.minute < 0 || date.minute > 59) return false;
  if (date.year < 0 || date.year > kMaxShownYear) return false;
  auto daysIn = [](int32_t year) { return chronel::hleap(year) ? 366 : 365; };
  if (date.day < 1 || date.day > daysIn(date.year)) return false;
  // Round to the millisecond first, then carry upwards: 59.9996 s shows as the next minute.
  int64_t millis = std::llround(date.second * kMsPerSecond);
  int32_t minute = date.minute + static_cast<int32_t>(millis / 60000);
  millis %= 60000;
  int32_t hour = date.hour + minute / 60;
  minute %= 60;
  int32_t day = date.day + hour / 24;
  hour %= 24;
  int32_t year = date.year;
  if (day > daysIn(year)) {
    day -= daysIn(year);
    ++year;
  }
  if (year > kMaxShownYear) return false;
  int month = 0, dayOfMonth = 0;
  chronel::jul2mmdd(year, day, month, dayOfMonth);
  if (month < 1 || month > 12) return false;
  out = ShownDate{year, day, hour, minute, static_cast<int32_t>(millis), month, dayOfMonth};
  return true;
}

bool writeDtg17(const InputDate& date, std::span<char, kQelDtgWidth> out) {
  ShownDate d;
  if (!showDate(date, d)) return false;
  char* p = out.data();
  basalon::writeIm(p, 4, 4, d.year);
  basalon::writeIm(p + 4, 3, 3, d.day);
  basalon::writeIm(p + 7, 2, 2, d.hour);
  basalon::writeIm(p + 9, 2, 2, d.minute);
  basalon::writeIm(p + 11, 2, 2, d.millis / 1000);
  p[13] = '.';
  basalon::writeIm(p + 14, 3, 3, d.millis % 1000);
  return true;
}

int32_t Qel2QelLines(const QelRecord& rec, std::span<char> lines, int32_t* numLines) {
  std::fill(lines.begin(), lines.end(), ' ');
  if (numLines != nullptr) *numLines = 0;
  if (!covDimShown(rec.covDim)) {
    return basalon::failf("Qel2QelLines: Invalid covariance dimension = %d (valid 0-9)", rec.covDim);
  }
  const size_t needed = 27 + (packedCount(rec.covDim) + kCovValuesPerLine - 1) / kCovValuesPerLine;
  const size_t room = lines.size() / kQelLineWidth;
  if (room < needed) {
    return basalon::failf("Qel2QelLines: Room for %zu lines, the message needs %zu", room, needed);
  }
  MessageLines out(lines);
  const bool complete = composeLines(rec, out);
  if (numLines != nullptr) *numLines = out.done();
  return complete ? basalon::kResultOk : basalon::kResultFail;
}

bool Qel2Lines(const QelRecord& rec, int32_t unit) {
  std::array<char, kQelBufferLines * kQelLineWidth> buffer;
  int32_t count = 0;
  if (Qel2QelLines(rec, buffer, &count) != basalon::kResultOk || count == 0) return false;
  // The whole message in one unit write: the unit is looked up and locked once per message.
  std::array<std::string_view, kQelBufferLines> lines;
  for (size_t k = 0; k < static_cast<size_t>(count); ++k)
    lines[k] = basalon::trimRight(std::string_view(buffer.data() + k * kQelLineWidth, kQelLineWidth));
  const int rc = basalon::filewritelines(unit, std::span(lines.data(), static_cast<size_t>(count)));
  if (rc != basalon::kUnitOk) {
    basalon::logErrorf("Qel2Lines: Unable to write a line to unit %d (code %d)", unit, rc);
    return false;
  }
  return true;
}

int32_t Qel2Qel1Line(std::span<char, kQelOneLineWidth> text, const QelRecord& rec) {
  std::fill(text.begin(), text.end(), ' ');
  if (!covDimShown(rec.covDim)) {
    return basalon::failf("Qel2Qel1Line: Invalid covariance dimension = %d (valid 0-9)", rec.covDim);
  }
  Composer c(text.data(), text.size());
  if (composeOneLine(c, rec)) return basalon::kResultOk;
  std::fill(text.begin(), text.end(), ' ');
  return basalon::failf("Qel2Qel1Line: %s is too large for its column or not valid.", c.failedField());
}

}  // namespace qel
