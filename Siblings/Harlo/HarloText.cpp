// Writing and reading the fixed-column text form of an SP vector.
#include "Siblings/Harlo/HarloText.h"

#include <cmath>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Chronel/Chronel.h"

namespace harlo {
namespace {

constexpr int kFieldWidth = 25;
constexpr int kDigits = 17;
constexpr int kFirstValueColumn = 8;

std::string tripleLine(std::string_view tag, double a, double b, double c, bool& ok) {
  std::string line(tag);
  for (double v : {a, b, c}) {
    ok = ok && harloWritable(v);
    line += basalon::formatE(v, kFieldWidth, kDigits);
  }
  return line;
}

bool readTriple(std::string_view line, std::string_view tag, double out[3]) {
  if (line.substr(0, tag.size()) != tag) return false;
  for (int k = 0; k < 3; ++k) {
    bool blank = false;
    if (basalon::readRealField(line, kFirstValueColumn + k * kFieldWidth, kFieldWidth, out[k], &blank) !=
            basalon::kFieldOk ||
        blank)
      return false;
  }
  return true;
}

// Columns first..first+width-1 of a line, blank padded where the line is shorter.
std::string textField(std::string_view line, int first, int width) {
  std::string s(basalon::fieldColumns(line, first, width));
  s.resize(static_cast<size_t>(width), ' ');
  return s;
}

int fail(std::string& message, const std::string& why) {
  message = why;
  return basalon::kResultFail;
}

}  // namespace

bool harloWritable(double v) {
  const double a = std::fabs(v);
  return v == 0.0 || (std::isfinite(v) && a >= 1e-98 && a < 1e98);
}

bool harloToLines(const SpVecRecord& rec, std::vector<std::string>& lines) {
  lines.clear();
  bool ok = rec.satNum >= 0 && rec.satNum <= 999999999;
  std::string l1(kTag1);
  l1 += basalon::formatI(rec.satNum, 9);
  l1 += ' ';
  l1 += textField(rec.designator, 1, static_cast<int>(kDesignatorLen));
  l1 += ' ';
  l1 += textField(rec.epoch, 1, static_cast<int>(kEpochLen));
  l1 += ' ';
  l1 += basalon::formatI(rec.revNum, 10);
  l1 += ' ';
  l1 += basalon::formatI(rec.elsetNum, 10);
  std::string l2 = tripleLine(kTag2, rec.pos[0], rec.pos[1], rec.pos[2], ok);
  std::string l3 = tripleLine(kTag3, rec.vel[0], rec.vel[1], rec.vel[2], ok);
  std::string l4 = tripleLine(kTag4, rec.ballisticCoef, rec.srpCoef, rec.edr, ok);
  if (!ok) return false;
  lines = {std::move(l1), std::move(l2), std::move(l3), std::move(l4)};
  return true;
}

int harloFromLines(const std::vector<std::string_view>& lines, SpVecRecord& rec, std::string& message) {
  rec = SpVecRecord{};
  message.clear();
  if (lines.size() < static_cast<size_t>(kVectorLines))
    return fail(message, "the SP vector has fewer than 4 lines.");
  const std::string_view l1 = lines[0];
  if (l1.substr(0, kTag1.size()) != kTag1) return fail(message, "line 1 does not start with \"SPVEC1 \".");
  SpVecRecord r;
  bool blank = false;
  if (basalon::readIntField(l1, 8, 9, r.satNum, &blank) != basalon::kFieldOk || blank || r.satNum < 0)
    return fail(message, "bad satellite number.");
  r.designator = textField(l1, 18, static_cast<int>(kDesignatorLen));
  r.epoch = textField(l1, 27, static_cast<int>(kEpochLen));
  if (!(chronel::dtgtods50(r.epoch) > 0.0)) return fail(message, "bad epoch \"" + r.epoch + "\".");
  if (basalon::readIntField(l1, 45, 10, r.revNum) != basalon::kFieldOk)
    return fail(message, "bad revolution number.");
  if (basalon::readIntField(l1, 56, 10, r.elsetNum) != basalon::kFieldOk)
    return fail(message, "bad element set number.");
  double v[3];
  if (!readTriple(lines[1], kTag2, v)) return fail(message, "bad position line.");
  r.pos = {v[0], v[1], v[2]};
  if (!readTriple(lines[2], kTag3, v)) return fail(message, "bad velocity line.");
  r.vel = {v[0], v[1], v[2]};
  if (!readTriple(lines[3], kTag4, v)) return fail(message, "bad drag and radiation line.");
  r.ballisticCoef = v[0];
  r.srpCoef = v[1];
  r.edr = v[2];
  rec = std::move(r);
  return 0;
}

}  // namespace harlo
