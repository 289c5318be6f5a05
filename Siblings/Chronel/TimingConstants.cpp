// Timing constants: a table of daily UT1 - UTC and polar motion values loaded from a text file,
// interpolated linearly between days. Readers may run while another thread loads a new table.
//
// File format, one day per line, fields separated by blanks, tabs or commas, "#" to the end of
// the line is a comment, blank lines are skipped:
//   MJD  UT1-UTC(s)  xp(arcsec)  yp(arcsec)
// The MJDs must increase. UT1 - UTC is interpolated as UT1 - TAI, so a leap second between two
// days does not smear a one-second jump over the day; outside the span the end values are held
// (again as UT1 - TAI).
#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <fstream>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Chronel/TimingTable.h"

namespace chronel {

namespace {

struct TimingDay {
  double ds50;         // DS50 UTC of the day's value (0h when the MJD is whole)
  double ut1MinusTai;  // s
  double xp, yp;       // arcsec
};

// Bounds on what a timing-constants file may hold before it is refused.
constexpr size_t kMaxDays = 1000000;
constexpr size_t kMaxLineLength = 4096;
// Plausible values of one day: MJD 15020 is 1900 January 0 and MJD 88069 is 2100 December 31;
// UT1 - UTC is kept within 0.9 s by the leap seconds; the pole wanders well inside 1 arcsec.
constexpr double kFirstMjd = 15020.0;
constexpr double kLastMjd = 88069.0;
constexpr double kMaxUt1MinusUtcSec = 1.0;
constexpr double kMaxPolarMotionArcsec = 5.0;

std::shared_mutex g_tableMutex;
std::vector<TimingDay> g_table;     // guarded by g_tableMutex
std::atomic<bool> g_loaded{false};  // true while g_table is not empty

// Splits a line (comment already removed) into numbers; false when a field is not a number.
bool readNumbers(std::string_view line, std::vector<double>& out) {
  out.clear();
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != ',' && line[j] != '\r') ++j;
    std::string_view field = line.substr(i, j - i);
    if (field.size() > 1 && field[0] == '+') field.remove_prefix(1);
    double v = 0.0;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), v);
    if (r.ec != std::errc() || r.ptr != field.data() + field.size() || !std::isfinite(v)) return false;
    out.push_back(v);
    i = j;
  }
  return true;
}

// The reason a day's values are refused, or null when they are plausible.
const char* implausible(double mjd, double ut1MinusUtc, double xp, double yp) {
  if (!(mjd >= kFirstMjd && mjd <= kLastMjd)) return "MJD out of range (15020-88069)";
  if (!(std::fabs(ut1MinusUtc) < kMaxUt1MinusUtcSec)) return "UT1-UTC out of range (|UT1-UTC| < 1 s)";
  if (!(std::fabs(xp) <= kMaxPolarMotionArcsec) || !(std::fabs(yp) <= kMaxPolarMotionArcsec))
    return "Polar motion out of range (5 arcsec)";
  return nullptr;
}

int fail(const std::string& message) { return basalon::fail(message); }

}  // namespace

int loadTimeConstFile(std::string_view fileName) {
  const std::string name(fileName);
  std::ifstream in(name, std::ios::binary);
  if (name.empty() || !in)
    return fail("loadTimeConstFile: Unable to open timing constants file \"" + name + "\".");

  std::vector<TimingDay> days;
  std::vector<double> fields;
  std::string line;
  long lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string where = " at line " + std::to_string(lineNo) + " of \"" + name + "\".";
    if (line.size() > kMaxLineLength) return fail("loadTimeConstFile: Line too long" + where);
    const size_t hash = line.find('#');
    if (!readNumbers(std::string_view(line).substr(0, hash), fields) ||
        (!fields.empty() && fields.size() != 4))
      return fail("loadTimeConstFile: Expected MJD, UT1-UTC, xp, yp" + where);
    if (fields.empty()) continue;
    if (const char* why = implausible(fields[0], fields[1], fields[2], fields[3]))
      return fail("loadTimeConstFile: " + std::string(why) + where);
    const double ds50 = mjdToDs50(fields[0]);
    if (!days.empty() && !(ds50 > days.back().ds50)) return fail("loadTimeConstFile: MJD not increasing" + where);
    if (days.size() == kMaxDays) return fail("loadTimeConstFile: Too many days" + where);
    days.push_back({ds50, fields[1] - taiMinusUtcSeconds(ds50), fields[2], fields[3]});
  }
  if (in.bad()) return fail("loadTimeConstFile: Read error in \"" + name + "\".");
  if (days.empty()) return fail("loadTimeConstFile: No timing constants in \"" + name + "\".");

  const size_t count = days.size();
  const double first = ds50ToMjd(days.front().ds50), last = ds50ToMjd(days.back().ds50);
  {
    std::unique_lock lock(g_tableMutex);
    g_table.swap(days);
    g_loaded.store(true, std::memory_order_release);
  }
  basalon::traceloginfo("loadTimeConstFile: " + std::to_string(count) + " days of timing constants loaded, MJD " +
                        std::to_string(first) + " to " + std::to_string(last) + ".");
  return basalon::kResultOk;
}

void clearTimeConstants() {
  std::unique_lock lock(g_tableMutex);
  g_table.clear();
  g_loaded.store(false, std::memory_order_release);
}

int timeConstCount() {
  std::shared_lock lock(g_tableMutex);
  return static_cast<int>(g_table.size());
}

namespace detail {

TimingValues timingAt(double ds50UTC) {
  TimingValues v;
  if (!g_loaded.load(std::memory_order_acquire)) return v;
  double ut1MinusTai = 0.0;
  {
    std::shared_lock lock(g_tableMutex);
    const std::vector<TimingDay>& t = g_table;
    if (t.empty()) return v;
    if (!(ds50UTC >= t.front().ds50) || ds50UTC > t.back().ds50) {
      // Outside the span (or not a number): hold the nearer end.
      const TimingDay& end = (ds50UTC > t.back().ds50) ? t.back() : t.front();
      ut1MinusTai = end.ut1MinusTai;
      v.xp = end.xp;
      v.yp = end.yp;
      v.source = 2.0;
    } else {
      // First day after the time; the time lies in [k-1, k].
      const auto it = std::upper_bound(t.begin(), t.end(), ds50UTC,
                                       [](double x, const TimingDay& d) { return x < d.ds50; });
      const size_t k = it == t.end() ? t.size() - 1 : static_cast<size_t>(it - t.begin());
      if (k == 0) {
        ut1MinusTai = t[0].ut1MinusTai;
        v.xp = t[0].xp;
        v.yp = t[0].yp;
      } else {
        const TimingDay& a = t[k - 1];
        const TimingDay& b = t[k];
        const double span = b.ds50 - a.ds50;
        const double w = (ds50UTC - a.ds50) / span;
        ut1MinusTai = a.ut1MinusTai + w * (b.ut1MinusTai - a.ut1MinusTai);
        v.xp = a.xp + w * (b.xp - a.xp);
        v.yp = a.yp + w * (b.yp - a.yp);
        v.ut1Rate = (b.ut1MinusTai - a.ut1MinusTai) / span;
      }
      v.source = 1.0;
    }
  }
  v.ut1MinusUtc = ut1MinusTai + taiMinusUtcSeconds(ds50UTC);
  return v;
}

}  // namespace detail

void gettconst(double ds50UTC, double tconst[6]) {
  const detail::TimingValues v = detail::timingAt(ds50UTC);
  tconst[0] = taiMinusUtcSeconds(ds50UTC);
  tconst[1] = v.ut1MinusUtc;
  tconst[2] = v.ut1Rate;
  tconst[3] = v.source;
  tconst[4] = v.xp;
  tconst[5] = v.yp;
}

void gettconsttai(double ds50TAI, double tconst[6]) { gettconst(tai2utc(ds50TAI), tconst); }

}  // namespace chronel
