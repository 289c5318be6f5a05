// The SP vector store instance: keys, equality, validation and sort text of SP vectors, and the
// store routines under their harlo names.
#include "Siblings/Harlo/HarloStore.h"

#include <cstring>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Harlo/HarloText.h"

namespace harlo {
namespace {

// Created once and never destroyed (see the TLE store).
HarloTree& gHarloTree = *new HarloTree;

double epochDs50(const SpVecRecord& r) { return chronel::dtgtods50(r.epoch); }

}  // namespace

HarloTree& HarloStore() { return gHarloTree; }

int64_t CreateSatKeyFrHarlo(const SpVecRecord& rec) {
  const double ds50 = epochDs50(rec);
  return ds50 > 0.0 ? chronel::createsatkey(rec.satNum, kEltSpVec, ds50) : -1;
}

bool HarloTreeTraits::equal(const Record& a, const Record& b) {
  if (a.satNum != b.satNum || a.epoch != b.epoch) return false;
  for (int k = 0; k < 3; ++k)
    if (basalon::neqr(a.pos[k], b.pos[k]) || basalon::neqr(a.vel[k], b.vel[k])) return false;
  return !basalon::neqr(a.ballisticCoef, b.ballisticCoef) && !basalon::neqr(a.srpCoef, b.srpCoef) &&
         !basalon::neqr(a.edr, b.edr);
}

int32_t HarloTreeTraits::validate(const Record& r) {
  std::string why;
  bool writable = true;
  for (double v :
       {r.pos[0], r.pos[1], r.pos[2], r.vel[0], r.vel[1], r.vel[2], r.ballisticCoef, r.srpCoef, r.edr})
    writable = writable && harloWritable(v);
  if (r.satNum < 0 || r.satNum > 999999999)
    why = "satellite number out of range";
  else if (!(epochDs50(r) > 0.0))
    why = "epoch \"" + r.epoch + "\" is not a date-time group";
  else if (!writable)
    why = "a value is not finite or outside [1e-98, 1e98)";
  if (why.empty()) return 0;
  return basalon::fail("AddHarloToMem: Invalid SP vector of satellite " + std::to_string(r.satNum) + ": " +
                       why + ".");
}

int64_t HarloTreeTraits::makeKey(const Record& rec) { return CreateSatKeyFrHarlo(rec); }

double HarloTreeTraits::epochDs50(const Record& rec) { return harlo::epochDs50(rec); }

int32_t HarloTreeTraits::writeRecord(const Record& rec, int32_t unit) {
  std::vector<std::string> lines;
  if (!harloToLines(rec, lines)) return basalon::kResultFail;
  for (const auto& l : lines)
    if (basalon::fileWriteLine(unit, l) != 0) return basalon::kResultFail;
  const size_t n = std::min(rec.maneuvers.size(), static_cast<size_t>(std::max(rec.numManeuvers, 0)));
  for (size_t i = 0; i < n; ++i)
    if (basalon::fileWriteLine(unit, basalon::trimRight(rec.maneuvers[i])) != 0) return basalon::kResultFail;
  return 0;
}

int64_t AddHarloToMem(const SpVecRecord& rec) { return gHarloTree.AddToMem(rec); }

int64_t harloAddSatFrLines(const std::vector<std::string_view>& lines) {
  SpVecRecord rec;
  std::string msg;
  if (harloFromLines(lines, rec, msg) != 0) {
    basalon::tracelogerror("HarloAddSatFrLines: " + msg);
    return -1;
  }
  return AddHarloToMem(rec);
}

}  // namespace harlo
