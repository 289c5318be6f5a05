// JPL coefficient records: only the blocks that cover the control span are kept, checked for
// size, continuity (also across two joined files) and alignment with the file's record grid.
#include <cmath>
#include <new>

#include "Pelmath/JplProcessing.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"

namespace pelmath {

namespace {

constexpr double kGridTolerance = 1e-9;  // records, days: JDs of the grid are exact half days

// The record's values after its header line: ncoeff reals in 26-column fields, 3 per line. A record
// that ends before startJD is only stepped over after its first line. 0 parsed, 1 skipped, 2 unreadable.
int readrecord(std::vector<double>& rec, double startJD) {
  const int n = jplbuf.ncoeff;
  std::string line;
  bool skip = false;
  for (int i = 0; i < n; ++i) {
    if (i % 3 == 0) {
      if (basalon::fileReadLine(kJplUnit, kJplLineColumns, line) != basalon::kUnitOk)
        return basalon::kResultFail;
      if (i == 3) skip = rec[1] < startJD;
    }
    if (skip) continue;
    bool blank = false;
    if (basalon::readRealField(line, 1 + 26 * (i % 3), 26, rec[i], &blank) != basalon::kFieldOk || blank)
      return basalon::kResultFail;
  }
  return skip || rec[1] < startJD ? 1 : 0;
}

bool whole(double q) { return std::fabs(q - std::round(q)) < kGridTolerance; }

// State of one load.
struct Loader {
  bool kept = false;  // a record is stored
  int64_t first = 0, last = 0;
  double prevEnd = 0.0;
  double firstStart = 0.0;

  // Checks a record against its predecessor and the grid; stores it. Returns 0 to go on, 1 when the
  // last block is stored, 2 on an error.
  int take(int32_t recNum, const std::vector<double>& rec);
};

int Loader::take(int32_t recNum, const std::vector<double>& rec) {
  const double start = rec[0], end = rec[1];
  const double interval = jplbuf.interval;
  if (kept) {
    if (recNum == 1) {
      // A second file joined to the first: it continues the first, or repeats its last record.
      if (start != prevEnd && end != prevEnd) {
        return basalon::fail("JplCoeff: File concatenation error.");
      }
    } else if (start != prevEnd) {
      return basalon::fail("JplCoeff: Ephemerides JD timing error.");
    }
  }
  if (std::fabs((end - start) - interval) > kGridTolerance) {
    return basalon::fail("JplCoeff: Ephemerides time span error.");
  }
  const double q = (start - jplbuf.startJD) / interval;
  if (!whole(q) || !(std::fabs(q) < 1.0e9)) {
    return basalon::fail("JplCoeff: Ephemerides block timing error.");
  }
  const int64_t block = std::llround(q);
  if (!kept) {
    // Blocks up to the one that ends at or after the control stop time.
    const double stopDs50 = jplctrl.stopTime, startDs50 = jplbuf.startJD - jplbuf.ds50EpochJD;
    const double lastQ = std::ceil(((stopDs50 - interval) - startDs50) / interval);
    first = block;
    last = std::isfinite(lastQ) ? static_cast<int64_t>(std::max(-1.0e9, std::min(lastQ, 1.0e9))) : -1;
    if (last < first) return 3;  // the span ends before this record: nothing to keep
    firstStart = start;
    jplbuf.firstBlock = static_cast<int32_t>(first);
  }
  const int64_t index = block - first;
  if (index < 0 || index > last - first) {
    return basalon::fail("JplCoeff: Ephemerides block timing error.");
  }
  // The buffer grows with the records read (never beyond last - first + 1 blocks), so the size
  // of the span asked for allocates nothing by itself.
  const size_t need = static_cast<size_t>(index + 1) * static_cast<size_t>(jplbuf.ncoeff);
  try {
    if (jplbuf.coeff.size() < need) jplbuf.coeff.resize(need);
  } catch (const std::bad_alloc&) {
    return basalon::fail("JplHeader: Memory allocation failed");
  }
  std::copy(rec.begin(), rec.end(),
            jplbuf.coeff.begin() + static_cast<std::ptrdiff_t>(index * jplbuf.ncoeff));
  jplbuf.numBlocks = static_cast<int32_t>(index + 1);
  jplbuf.bufStart = chronel::tosplittai(firstStart - jplbuf.ds50EpochJD);
  jplbuf.bufEnd = chronel::tosplittai(end - jplbuf.ds50EpochJD);
  kept = true;
  prevEnd = end;
  return block >= last ? 1 : 0;
}

}  // namespace

int jplcoeff() {
  std::vector<double> rec;
  try {
    rec.resize(static_cast<size_t>(jplbuf.ncoeff));
  } catch (const std::bad_alloc&) {
    return basalon::fail("JplHeader: Memory allocation failed");
  }
  const double startJD = jplctrl.startTime + jplbuf.ds50EpochJD;
  Loader ld;
  std::string line;
  for (;;) {
    const int st = getnextnonblank(line);
    if (st == basalon::kResultFail) return basalon::kResultFail;
    if (st == 1) break;
    int32_t recNum = 0, count = 0;
    if (basalon::readIntField(line, 1, 6, recNum) != basalon::kFieldOk ||
        basalon::readIntField(line, 7, 6, count) != basalon::kFieldOk) {
      return basalon::fail("JplCoeff: Invalid header record.");
    }
    if (count != jplbuf.ncoeff) return basalon::fail("JplCoeff: Coefficient size mismatch. " + line);
    const int r = readrecord(rec, startJD);
    if (r == basalon::kResultFail) return basalon::fail("JplCoeff: Error reading coefficients.");
    if (r == 1) continue;  // ends before the span
    const int t = ld.take(recNum, rec);
    if (t == basalon::kResultFail) return basalon::kResultFail;
    if (t != 0) break;  // last block stored, or the span ends before this record
  }
  if (!ld.kept) {
    return basalon::fail("JplCoeff: No data found in requested time span.");
  }
  jplbuf.coeff.resize(static_cast<size_t>(jplbuf.numBlocks) * static_cast<size_t>(jplbuf.ncoeff));
  jplbuf.coeff.shrink_to_fit();
  return 0;
}

}  // namespace pelmath
