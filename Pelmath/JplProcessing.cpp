// JPL ephemeris records and the header reader: groups 1010 (titles), 1030 (span), 1040/1041
// (constants), 1050 (record layout) and 1070 of the published text form, read on unit 49.
#include "Pelmath/JplProcessing.h"

#include <cctype>
#include <cmath>
#include <new>

#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"

namespace pelmath {

Jplcontrol jplctrl;
Jplbuffer jplbuf;

namespace {

bool jplFileOpen = false;  // unit 49 was opened by this reader and not yet closed

void closejplfile() {
  if (jplFileOpen) basalon::fileClose(kJplUnit);
  jplFileOpen = false;
}

void uppercase(std::string& s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool isblank(std::string_view s) { return basalon::trimRight(s).empty(); }

// An error message that ends with the offending 80-column line.
void errorwithline(std::string_view prefix, const std::string& line) {
  std::string msg(prefix);
  msg += line;
  basalon::tracelogerror(msg);
}

// The very next line of the file, blank or not. False at the end of the file or on a read error.
bool followingline(std::string& line) {
  return basalon::fileReadLine(kJplUnit, kJplLineColumns, line) == basalon::kUnitOk;
}

bool isgroup(const std::string& line, std::string_view group) { return basalon::trimRight(line) == group; }

// Next non-blank line, which must be the named group header. False (logged) otherwise.
bool nextgroup(std::string_view group, std::string_view message) {
  std::string line;
  if (getnextnonblank(line) == basalon::kResultFail) return false;
  if (isgroup(line, group)) return true;
  errorwithline(message, line);
  return false;
}

bool readint6(const std::string& line, int field, int32_t& value) {
  return basalon::readIntField(line, 1 + 6 * field, 6, value) == basalon::kFieldOk;
}

// Group 1030: start JD, end JD and the whole-day record interval.
bool readspan(const std::string& line) {
  double v[3];
  for (int i = 0; i < 3; ++i) {
    bool blank = false;
    if (basalon::readRealField(line, 1 + 12 * i, 12, v[i], &blank) != basalon::kFieldOk || blank)
      return false;
  }
  const double span = v[1] - v[0];
  // The interval is a positive whole number of days; the span must hold a sane number of records.
  if (!(v[2] > 0.0) || v[2] != std::floor(v[2]) || !std::isfinite(span) || !(span > 0.0) ||
      span / v[2] > 1.0e8)
    return false;
  jplbuf.startJD = v[0];
  jplbuf.endJD = v[1];
  jplbuf.interval = v[2];
  return true;
}

// Group 1040: count, then names in 8-column fields (the rightmost 6 characters), 10 per line.
bool readnames(int32_t& count) {
  std::string line;
  if (getnextnonblank(line) == basalon::kResultFail) return false;
  if (!readint6(line, 0, count) || count < 1) {
    errorwithline("JplHeader: Invalid number of 1040 parameters ", line);
    return false;
  }
  if (!jplbuf.constants.empty()) {
    basalon::tracelogerror("JplHeader: Memory allocation failed");
    return false;
  }
  try {
    // The table grows with the names actually read, so a large count sizes nothing by itself.
    jplbuf.constants.reserve(static_cast<size_t>(std::min(count, 1024)));
    for (int32_t i = 0; i < count; ++i) {
      if (i % 10 == 0 && !followingline(line)) {
        basalon::tracelogerror("JplHeader: File read error.");
        return false;
      }
      Jplparameter p;
      p.name.set(std::string_view(line).substr(8 * (i % 10) + 2, 6));
      jplbuf.constants.push_back(p);
    }
  } catch (const std::bad_alloc&) {
    jplbuf.constants.clear();
    basalon::tracelogerror("JplHeader: Memory allocation failed");
    return false;
  }
  return true;
}

// Group 1041: the same count, then the values in 26-column fields, 3 per line.
bool readvalues(int32_t count) {
  std::string line;
  if (getnextnonblank(line) == basalon::kResultFail) return false;
  int32_t n = 0;
  if (!readint6(line, 0, n) || n != count) {
    errorwithline("JplHeader: Invalid number of 1041 parameters. ", line);
    return false;
  }
  for (int32_t i = 0; i < count; ++i) {
    bool blank = false;
    if ((i % 3 == 0 && !followingline(line)) ||
        basalon::readRealField(line, 1 + 26 * (i % 3), 26, jplbuf.constants[i].value, &blank) !=
            basalon::kFieldOk ||
        blank) {
      basalon::tracelogerror("JplHeader: File read error.");
      return false;
    }
  }
  return true;
}

// AU, EMRAT, DENUM and the GM values from the constant table.
bool readconstants() {
  const double au = jpl_value("AU"), emrat = jpl_value("EMRAT"), denum = jpl_value("DENUM");
  const double nf = jplbuf.notFound;
  // Beyond a missing name, a non-positive AU or EMRAT or a DE number outside int32 is unusable.
  if (au == nf || emrat == nf || denum == nf || !(au > 0.0) || !(emrat > 0.0) || !std::isfinite(au) ||
      !std::isfinite(emrat) || !(std::fabs(denum) < 2.0e9)) {
    basalon::tracelogerror("JplHeader: au, emrat, or denum not found.");
    return false;
  }
  jplbuf.au = au;
  jplbuf.emrat = emrat;
  jplbuf.denum = static_cast<int32_t>(denum);
  const double scale = au * au * au / 86400.0 / 86400.0;  // AU^3/day^2 -> km^3/s^2
  for (int slot = 1; slot <= 10; ++slot) {
    std::string name = slot == 3 ? "GMB" : slot == 10 ? "GMS" : "GM" + std::to_string(slot);
    jplbuf.gm[slot - 1] = jpl_value(name) * scale;
  }
  return true;
}

int components(int item) { return item == kJplNutations ? 2 : 3; }

// Every item present must lie inside a record; the barycentre, Moon and Sun must be present.
bool layoutfits() {
  for (int i = 0; i < kJplItems; ++i) {
    const int64_t ipt = jplbuf.ipt[i], nc = jplbuf.ncf[i], ns = jplbuf.nsub[i];
    const bool required = i + 1 == kJplEmb || i + 1 == kJplMoon || i + 1 == kJplSun;
    if (ipt == 0 && !required) continue;
    if (ipt < 3 || nc < 1 || ns < 1 || nc > jplbuf.ncoeff || ns > jplbuf.ncoeff) return false;
    if (ipt - 1 + nc * components(i + 1) * ns > jplbuf.ncoeff) return false;
  }
  return true;
}

// Group 1050: start locations, coefficients per component, sub-intervals (13 columns each).
bool readlayout() {
  std::string rows[3];
  if (getnextnonblank(rows[0]) == basalon::kResultFail) return false;
  bool ok = true;
  for (int r = 1; r < 3 && ok; ++r) ok = followingline(rows[r]);
  std::array<int32_t, kJplItems>* dest[3] = {&jplbuf.ipt, &jplbuf.ncf, &jplbuf.nsub};
  for (int r = 0; r < 3 && ok; ++r)
    for (int i = 0; i < kJplItems && ok; ++i) ok = readint6(rows[r], i, (*dest[r])[i]);
  if (!ok || !layoutfits()) {
    errorwithline("JplHeader: GROUP 1050 header error. ", rows[0]);
    return false;
  }
  return true;
}

bool parseheader() {
  std::string line;
  // Record size.
  if (getnextnonblank(line) == basalon::kResultFail) return false;
  int32_t ncoeff = 0;
  if (line.compare(16, 8, "NCOEFF= ") != 0 ||
      basalon::readIntField(line, 24, 6, ncoeff) != basalon::kFieldOk || ncoeff < 1) {
    errorwithline("JplHeader: ncoeff input error. ", line);
    return false;
  }
  jplbuf.ncoeff = ncoeff;
  // Titles.
  if (!nextgroup("GROUP   1010", "JplHeader: GROUP 1010 header error ")) return false;
  if (getnextnonblank(line) == basalon::kResultFail) return false;
  jplbuf.titles[0].set(line);
  for (int i = 1; i < 3; ++i) {
    if (!followingline(line)) {
      basalon::tracelogerror("JplHeader: File read error.");
      return false;
    }
    jplbuf.titles[i].set(line);
  }
  // Span.
  if (!nextgroup("GROUP   1030", "JplHeader: GROUP 1030 header error. ")) return false;
  if (getnextnonblank(line) == basalon::kResultFail) return false;
  if (!readspan(line)) {
    errorwithline("JplHeader: Invalid ephemeris time span. ", line);
    return false;
  }
  // Constants.
  int32_t count = 0;
  if (!nextgroup("GROUP   1040", "JplHeader: GROUP 1040 header error. ") || !readnames(count)) return false;
  if (!nextgroup("GROUP   1041", "JplHeader: GROUP 1041 header error. ") || !readvalues(count)) return false;
  if (!readconstants()) return false;
  // Record layout, then the start of the records.
  if (!nextgroup("GROUP   1050", "JplHeader: GROUP 1050 header error. ") || !readlayout()) return false;
  if (!nextgroup("GROUP   1070", "JplHeader: GROUP 1070 header error. ")) return false;
  basalon::traceloginfo("JplHeader: JPL File loaded successfully.");
  return true;
}

}  // namespace

int getnextnonblank(std::string& line) {
  for (;;) {
    const int st = basalon::fileReadLine(kJplUnit, kJplLineColumns, line);
    if (st == basalon::kUnitEnd) {
      line.assign(kJplLineColumns, ' ');
      return 1;
    }
    if (st != basalon::kUnitOk) {
      basalon::tracelogerror("GetNextNonBlank: JPL file read error.");
      closejplfile();
      line.assign(kJplLineColumns, ' ');
      return basalon::kResultFail;
    }
    if (!isblank(line)) {
      uppercase(line);
      return 0;
    }
  }
}

int jplheader() {
  const std::string name(basalon::trim(jplctrl.fileName.view()));
  basalon::traceloginfo("JplHeader: JPL File = " + name);
  const int st = basalon::fileopen(kJplUnit, name, basalon::kOpenRead);
  if (st != basalon::kUnitOk) {
    basalon::tracelogerror("JplHeader: JPL file failed to open.");
    return st;
  }
  jplFileOpen = true;
  basalon::traceloginfo("JplHeader: JPL File opened successfully.");
  return parseheader() ? basalon::kResultOk : basalon::kResultFail;
}

void resetjplbuf() {
  jplbuf = Jplbuffer{};
  closejplfile();
}

double jpl_value(std::string_view name) {
  std::string key(name.substr(0, std::min<size_t>(name.size(), 6)));
  uppercase(key);
  const basalon::FixedText<6> wanted(key);
  for (const Jplparameter& p : jplbuf.constants)
    if (p.name == wanted) return p.value;
  return jplbuf.notFound;
}

int buildjpl() {
  resetjplbuf();
  int st = jplheader();
  if (st == 0) st = jplcoeff();
  if (st != 0) {
    resetjplbuf();
    return st;
  }
  jplctrl.loaded = 1;
  closejplfile();
  return 0;
}

void jplSetParameters(std::string_view fileName, double startDs50, double stopDs50) {
  // Left-adjusted: leading blanks and NULs dropped, then blank padded.
  size_t i = 0;
  while (i < fileName.size() && (fileName[i] == ' ' || fileName[i] == '\0')) ++i;
  jplctrl.fileName.set(fileName.substr(i));
  jplctrl.startTime = startDs50;
  jplctrl.stopTime = stopDs50;
}

void jplReset() {
  jplctrl = Jplcontrol{};
  resetjplbuf();
}

}  // namespace pelmath
