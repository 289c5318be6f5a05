// The TLE store instance: keys, equality, validation and sort text of TLE records, the store
// routines under their tle names, the writer of stored sets and the composer of the two lines.
#include "Siblings/Lineset/LinesetStore.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/TraceLog.h"
#include "Siblings/Basalon/Units.h"
#include "Siblings/Basalon/Vectors.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Lineset/TleParse.h"

namespace lineset {
namespace {

// Created once and never destroyed: the store keeps its records until they are removed, also
// while other threads may still run at process exit.
TleTree& gTleTree = *new TleTree;

bool knownType(int32_t t) { return t == kEltTleSgp || t == kEltTleSgp4 || t == kEltTleSp || t == kEltTleXp; }

bool finite(double v) { return std::isfinite(v); }

void logError(const std::string& text) { basalon::tracelogerror(text); }

// Writes the set's lines (name line first in save form 1, maneuver lines last); 0 when written.
int32_t writeSet(const TleRecord& rec, int32_t unit, int32_t saveForm) {
  std::string l1, l2;
  writeTle(rec, l1, l2);
  if (l1.empty() || l2.empty()) return basalon::kResultFail;
  if (saveForm == 1 && !rec.name.empty() && basalon::fileWriteLine(unit, rec.name) != 0)
    return basalon::kResultFail;
  if (basalon::fileWriteLine(unit, l1) != 0 || basalon::fileWriteLine(unit, l2) != 0)
    return basalon::kResultFail;
  const size_t n = std::min(rec.maneuvers.size(), static_cast<size_t>(std::max(rec.numManeuvers, 0)));
  for (size_t i = 0; i < n; ++i)
    if (basalon::fileWriteLine(unit, basalon::trimRight(rec.maneuvers[i])) != 0) return basalon::kResultFail;
  return 0;
}

// The implied-decimal form of columns 45-52 and 54-61: sign, five mantissa digits, exponent sign
// and digit ("-11606-4" is -0.11606e-4). False when the exponent needs more than one digit.
bool writeImplied(double v, char out[8]) {
  std::memset(out, ' ', 8);
  if (!std::isfinite(v)) return false;
  int64_t digits = 0;
  int e = 0;
  if (v != 0.0) {
    e = static_cast<int>(std::floor(std::log10(std::fabs(v)))) + 1;
    digits = std::llround(std::fabs(v) * std::pow(10.0, 5 - e));
    if (digits >= 100000) {
      digits /= 10;
      ++e;
    }
    if (digits == 0) e = 0;
  }
  if (e < -9 || e > 9) return false;
  out[0] = v < 0.0 && digits != 0 ? '-' : ' ';
  basalon::writeIm(out + 1, 5, 5, digits);
  out[6] = e < 0 ? '-' : '+';
  out[7] = static_cast<char>('0' + std::abs(e));
  return true;
}

// Columns 34-43: sign, then the fraction with 8 decimals (" .00000586").
bool writeNdot(double v, char out[10]) {
  if (!(std::fabs(v) < 1.0)) return false;
  const int64_t k = std::llround(std::fabs(v) * 1e8);
  if (k >= 100000000) return false;
  out[0] = v < 0.0 && k != 0 ? '-' : ' ';
  out[1] = '.';
  return basalon::writeIm(out + 2, 8, 8, k);
}

// Fw.d with the leading blanks turned into zeros (the epoch day "079.25058051").
bool writeZeroPadded(char* out, int w, int d, double v) {
  if (!basalon::writeF(out, w, d, v)) return false;
  for (int i = 0; i < w && out[i] == ' '; ++i) out[i] = '0';
  return true;
}

}  // namespace

TleTree& TleStore() { return gTleTree; }

double TleEpochDs50(const TleRecord& rec) { return chronel::yrdays2ds50(rec.epochYear, rec.epochDay); }

int64_t CreateSatKeyFrTle(const TleRecord& rec) {
  return chronel::createsatkey(rec.satNum, rec.eltType, TleEpochDs50(rec));
}

bool TleTreeTraits::equal(const Record& a, const Record& b) {
  if (a.satNum != b.satNum || a.eltType != b.eltType || a.epochYear != b.epochYear) return false;
  const double va[] = {a.epochDay, a.nDotOver2,  a.nDDotOver6,  a.dragA,      a.dragB, a.incl, a.node,
                       a.ecc,      a.argPerigee, a.meanAnomaly, a.meanMotion, a.dragC, a.dragD};
  const double vb[] = {b.epochDay, b.nDotOver2,  b.nDDotOver6,  b.dragA,      b.dragB, b.incl, b.node,
                       b.ecc,      b.argPerigee, b.meanAnomaly, b.meanMotion, b.dragC, b.dragD};
  for (size_t i = 0; i < std::size(va); ++i)
    if (basalon::neqr(va[i], vb[i])) return false;
  return true;
}

int32_t TleTreeTraits::validate(const Record& r) {
  std::string why;
  if (r.satNum < 0 || r.satNum > 999999999)
    why = "satellite number " + std::to_string(r.satNum) + " out of range";
  else if (!knownType(r.eltType))
    why = "element type " + std::to_string(r.eltType) + " is not a TLE type";
  else if (r.epochYear < 1957 || r.epochYear > 2056 || !(r.epochDay >= 1.0 && r.epochDay < 367.0))
    why = "epoch out of range";
  else if (!(finite(r.meanMotion) && r.meanMotion > 0.0))
    why = "mean motion not positive";
  else if (!(r.ecc >= 0.0 && r.ecc < 1.0))
    why = "eccentricity outside [0, 1)";
  else if (!finite(r.incl) || !finite(r.node) || !finite(r.argPerigee) || !finite(r.meanAnomaly) ||
           !finite(r.nDotOver2) || !finite(r.nDDotOver6) || !finite(r.dragA) || !finite(r.dragB) ||
           !finite(r.dragC) || !finite(r.dragD))
    why = "a value is not a finite number";
  if (why.empty()) return 0;
  logError("AddTleToMem: Invalid element set of satellite " + std::to_string(r.satNum) + ": " + why + ".");
  return basalon::kResultFail;
}

int64_t TleTreeTraits::makeKey(const Record& rec) { return CreateSatKeyFrTle(rec); }

double TleTreeTraits::epochDs50(const Record& rec) { return TleEpochDs50(rec); }

int64_t AddTleToMem(const TleRecord& rec) { return gTleTree.AddToMem(rec); }

int64_t tleAddSatFrLines(std::string_view name, std::string_view line1, std::string_view line2) {
  TleRecord rec;
  std::string msg;
  if (parseTle(name, basalon::trimRight(line1), basalon::trimRight(line2), rec, msg) != kTleOk) {
    logError("TleAddSatFrLines: " + msg);
    return -1;
  }
  return AddTleToMem(rec);
}

void tlefindrecptr(int64_t satKey, TleRecord*& rec, std::string* msg) {
  gTleTree.FindRecPtr(satKey, rec, msg);
}
void tleendread() { gTleTree.EndRead(); }
void tlefindrec(int64_t satKey, TleRecord& rec, std::string* msg) { gTleTree.FindRec(satKey, rec, msg); }
int64_t tlesatkeyget(int32_t satNum) { return gTleTree.SatKeyGet(satNum); }
int32_t tlegetnumoftreenodes() { return gTleTree.GetNumOfTreeNodes(); }
void tlegettreekeys(int32_t& count, int64_t* keys, int32_t order, int64_t maxKeys) {
  gTleTree.GetTreeKeys(count, keys, order, maxKeys);
}
bool tletreeisempty() { return gTleTree.TreeIsEmpty(); }
void tleremovenode(int64_t satKey, int32_t& flag, int32_t& code) { gTleTree.RemoveNode(satKey, flag, code); }
void tleemptytree(int32_t& code) {
  code = 0;
  gTleTree.EmptyTree(code);
}
void tlewritelines(int32_t unit, int32_t saveForm) {
  gTleTree.WriteLinesWith([unit, saveForm](const TleRecord& rec) { return writeSet(rec, unit, saveForm); });
}

bool tleComposeLines(TleRecord& rec) {
  std::string l1(69, ' '), l2(69, ' ');
  char* a = l1.data();
  char* b = l2.data();
  a[0] = '1';
  b[0] = '2';
  const int yy = rec.epochYear % 100;
  bool ok = rec.satNum >= 0 && rec.satNum <= 99999 && rec.epochYear >= 1957 && rec.epochYear <= 2056;
  ok = ok && basalon::writeIm(a + 2, 5, 5, rec.satNum) && basalon::writeIm(b + 2, 5, 5, rec.satNum);
  a[7] = rec.classification;
  basalon::strtochararr(rec.designator, a + 9, 8);
  ok = ok && basalon::writeIm(a + 18, 2, 2, yy) && writeZeroPadded(a + 20, 12, 8, rec.epochDay);
  const bool spOrXp = rec.eltType == kEltTleSp || rec.eltType == kEltTleXp;
  ok = ok && writeNdot(rec.nDotOver2, a + 33);
  ok = ok && writeImplied(spOrXp ? rec.dragA : rec.nDDotOver6, a + 44);
  ok = ok && writeImplied(spOrXp ? rec.dragC : rec.dragB, a + 53);
  a[62] = rec.ephemType;
  ok = ok && basalon::writeI(a + 64, 4, rec.elsetNum % 10000);
  ok = ok && basalon::writeF(b + 8, 8, 4, rec.incl) && basalon::writeF(b + 17, 8, 4, rec.node);
  ok = ok && rec.ecc >= 0.0 && rec.ecc < 1.0 &&
       basalon::writeIm(b + 26, 7, 7, std::min<int64_t>(std::llround(rec.ecc * 1e7), 9999999));
  ok = ok && basalon::writeF(b + 34, 8, 4, rec.argPerigee) && basalon::writeF(b + 43, 8, 4, rec.meanAnomaly);
  ok =
      ok && basalon::writeF(b + 52, 11, 8, rec.meanMotion) && basalon::writeI(b + 63, 5, rec.revNum % 100000);
  if (!ok) return false;
  a[68] = static_cast<char>('0' + tleChecksum(l1));
  b[68] = static_cast<char>('0' + tleChecksum(l2));
  rec.line1 = std::move(l1);
  rec.line2 = std::move(l2);
  return true;
}

}  // namespace lineset
