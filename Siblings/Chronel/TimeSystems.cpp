// UTC, TAI, UT1 and TT on DS50 days: the built-in leap-second table (IERS Bulletin C) and the
// conversions between the time systems.
#include <array>
#include <cmath>

#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Chronel/TimingTable.h"

namespace chronel {

namespace {

struct LeapStep {
  int year, month;     // the new offset holds from 0h UTC on the first day of this month
  double taiMinusUtc;  // seconds
};

// TAI - UTC since 1972 January 1, from IERS Bulletin C. Before 1972 the offset is held at the
// first value (10 s): UTC before 1972 ran on drifting rate offsets, which this library does not
// model, and a constant keeps UTC <-> TAI continuous and invertible there.
constexpr std::array<LeapStep, 28> kLeapSteps = {{
    {1972, 1, 10.0}, {1972, 7, 11.0}, {1973, 1, 12.0}, {1974, 1, 13.0}, {1975, 1, 14.0}, {1976, 1, 15.0},
    {1977, 1, 16.0}, {1978, 1, 17.0}, {1979, 1, 18.0}, {1980, 1, 19.0}, {1981, 7, 20.0}, {1982, 7, 21.0},
    {1983, 7, 22.0}, {1985, 7, 23.0}, {1988, 1, 24.0}, {1990, 1, 25.0}, {1991, 1, 26.0}, {1992, 7, 27.0},
    {1993, 7, 28.0}, {1994, 7, 29.0}, {1996, 1, 30.0}, {1997, 7, 31.0}, {1999, 1, 32.0}, {2006, 1, 33.0},
    {2009, 1, 34.0}, {2012, 7, 35.0}, {2015, 7, 36.0}, {2017, 1, 37.0},
}};

struct LeapTable {
  std::array<double, kLeapSteps.size()> startUtc{};  // DS50 UTC of each step
  std::array<double, kLeapSteps.size()> startTai{};  // the same instant in DS50 TAI
};

const LeapTable& leapTable() {
  static const LeapTable table = [] {
    LeapTable t;
    for (size_t i = 0; i < kLeapSteps.size(); ++i) {
      t.startUtc[i] = ymdhmsToDs50(kLeapSteps[i].year, kLeapSteps[i].month, 1, 0, 0, 0.0);
      t.startTai[i] = t.startUtc[i] + kLeapSteps[i].taiMinusUtc / kSecondsPerDay;
    }
    return t;
  }();
  return table;
}

// Index of the last step starting at or before t in `starts`; -1 before the first one.
int stepAt(const std::array<double, kLeapSteps.size()>& starts, double t) {
  int lo = 0, hi = static_cast<int>(starts.size());  // first index with start > t, by bisection
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (starts[mid] <= t)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo - 1;
}

}  // namespace

double taiMinusUtcSeconds(double ds50UTC) {
  const int i = stepAt(leapTable().startUtc, ds50UTC);
  return kLeapSteps[i < 0 ? 0 : i].taiMinusUtc;
}

double taiMinusUtcAtTai(double ds50TAI) {
  const int i = stepAt(leapTable().startTai, ds50TAI);
  return kLeapSteps[i < 0 ? 0 : i].taiMinusUtc;
}

double utc2tai(double ds50UTC) { return ds50UTC + taiMinusUtcSeconds(ds50UTC) / kSecondsPerDay; }

double tai2utc(double ds50TAI) {
  const LeapTable& t = leapTable();
  const int i = stepAt(t.startTai, ds50TAI);
  if (i < 0) return ds50TAI - kLeapSteps[0].taiMinusUtc / kSecondsPerDay;
  // TAI instants inside an inserted leap second (UTC 23:59:60) have no DS50 UTC of their own:
  // they map to the start of the next UTC day, so UTC never runs backwards.
  if (i + 1 < static_cast<int>(kLeapSteps.size())) {
    const double leapStart = t.startUtc[i + 1] + kLeapSteps[i].taiMinusUtc / kSecondsPerDay;
    if (ds50TAI >= leapStart) return t.startUtc[i + 1];
  }
  return ds50TAI - kLeapSteps[i].taiMinusUtc / kSecondsPerDay;
}

double utc2ut1(double ds50UTC) { return ds50UTC + detail::timingAt(ds50UTC).ut1MinusUtc / kSecondsPerDay; }

double taiToUt1(double ds50TAI) { return utc2ut1(tai2utc(ds50TAI)); }

void utc2types(double ds50UTC, double times[4]) {
  const double tai = utc2tai(ds50UTC);
  times[0] = ds50UTC;
  times[1] = utc2ut1(ds50UTC);
  times[2] = tai;
  times[3] = tai + kTTMinusTAISeconds / kSecondsPerDay;
}

void tai2types(double ds50TAI, double times[4]) {
  const double utc = tai2utc(ds50TAI);
  times[0] = utc;
  times[1] = utc2ut1(utc);
  times[2] = ds50TAI;
  times[3] = ds50TAI + kTTMinusTAISeconds / kSecondsPerDay;
}

}  // namespace chronel
