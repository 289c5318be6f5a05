// What the ephemeris readers share: unit lines, comment lines, fixed and free fields, messages.
#include <cstring>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Chronel/Chronel.h"
#include "Tarvexon/Readers/TarvexReaders.h"
#include "Tarvexon/TarvexonCardReading.h"

namespace tarvexon::readers {

int UnitLines::next(std::string_view& line) {
  const int rc = basalon::fileReadLineCut(unit_, kEphemLineColumns, buf_);
  line = buf_;
  return rc;
}

int UnitLines::nextData(std::string_view& line) {
  int rc;
  while ((rc = next(line)) == basalon::kUnitOk && isCommentLine(line)) {
  }
  return rc;
}

bool isCommentLine(std::string_view line) {
  if (!line.empty() && line[0] == '*') return true;
  return line.find_first_not_of(" ,") == std::string_view::npos;
}

bool columnsAre(std::string_view line, size_t first, std::string_view text) {
  for (size_t k = 0; k < text.size(); ++k)
    if (columnAt(line, first + k) != text[k]) return false;
  return true;
}

std::string_view paddedColumns(std::string_view line, size_t first, size_t width, char (&buf)[64]) {
  if (width > sizeof buf) width = sizeof buf;
  for (size_t k = 0; k < width; ++k) buf[k] = columnAt(line, first + k);
  return std::string_view(buf, width);
}

bool fixedReal(std::string_view line, int first, int width, double& value) {
  bool blank = false;
  return basalon::readRealField(line, first, width, value, &blank) == basalon::kFieldOk && !blank;
}

bool fixedInt(std::string_view line, int first, int width, int32_t& value) {
  bool blank = false;
  return basalon::readIntField(line, first, width, value, &blank) == basalon::kFieldOk && !blank;
}

double dtgColumns(std::string_view line, int first, int width) {
  return chronel::dtgtods50(basalon::fieldColumns(line, first, width));
}

FreeRead readFreeReals(std::string_view text, double* out, size_t n) {
  auto separator = [](char c) { return c == ' ' || c == ',' || c == '\t'; };
  size_t i = 0;
  for (size_t k = 0; k < n; ++k) {
    while (i < text.size() && separator(text[i])) ++i;
    if (i == text.size()) return FreeRead::kTooFew;
    size_t end = i;
    while (end < text.size() && !separator(text[end])) ++end;
    if (basalon::parseReal(text.substr(i, end - i), out[k]) != basalon::kFieldOk) return FreeRead::kBad;
    i = end;
  }
  return FreeRead::kOk;
}

int32_t fileReadError(std::string_view readerName) {
  return basalon::fail("*** " + std::string(readerName) + ": File read error. ***");
}

bool refusesDefaultUnit(int32_t unit, std::string_view readerName, int32_t& code) {
  if (!basalon::existfortdotfileunit(unit)) return false;
  code =
      basalon::fail(std::string(readerName) + ": Using fort.n not allowed in Zenkora due to security risk");
  return true;
}

void addPoint(TarvexRecord& rec, double t, const double pos[3], const double vel[3], int32_t revNum) {
  TarvexPoint p;
  p.ds50UTC = t;
  std::memcpy(p.pos, pos, sizeof p.pos);
  std::memcpy(p.vel, vel, sizeof p.vel);
  p.revNum = revNum;
  AddOneEPPoint(p, rec);
}

bool readSpHeader(std::string_view line, TarvexRecord& rec) {
  double ke = 0, radius = 0;
  if (!fixedReal(line, 1, 22, ke) || !fixedReal(line, 23, 22, radius) || !(ke > 0) || !(radius > 0))
    return false;
  rec.ke = ke;
  rec.earthRadius = radius;
  rec.epochDs50UTC = dtgColumns(line, 46, 15);
  return true;
}

void settleEpoch(TarvexRecord& rec) {
  if (rec.numPts > 0) rec.epochDs50UTC = rec.points[0].ds50UTC;
}

void endOfReading(int rc, std::string_view readerName, TarvexRecord& rec, int32_t& code) {
  if (rc != basalon::kUnitEnd) {
    code = fileReadError(readerName);
    return;
  }
  settleEpoch(rec);
}

int32_t satNumFromFileName(std::string_view fileName) {
  constexpr int32_t kUnknownSatNum = 99999;
  constexpr size_t kSatNumChars = 5;
  const size_t slash = fileName.find_last_of("/\\");
  const std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  int32_t satNum = 0;
  return basalon::strtoint(base.substr(0, kSatNumChars), satNum) ? satNum : kUnknownSatNum;
}

bool containsNoCase(std::string_view text, std::string_view lowerWord) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (lowerWord.size() > text.size()) return false;
  for (size_t i = 0; i + lowerWord.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < lowerWord.size() && lower(text[i + k]) == lowerWord[k]) ++k;
    if (k == lowerWord.size()) return true;
  }
  return false;
}

std::string_view leftAdjusted(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

}  // namespace tarvexon::readers
