// Satellites of every store for the Brevanta tests: catalogue TLEs, a Qel message, an SP vector
// and external ephemerides built point by point.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Brevanta/PropObjects.h"
#include "Kymor/kymor_samples.h"
#include "Qel/QelTree.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Kinetra/KinetraStore.h"
#include "Tarvexon/TarvexonTree.h"

namespace brevtest {

using kymortest::kIssLine1;
using kymortest::kIssLine2;

// Every store empty (the SGP4 store too), standard key and duplicate modes.
inline void emptyAll() {
  kymortest::emptyStores();
  int32_t code = 0;
  kinetra::gpemptytree(code);
}

// A Qel message of a circular orbit at 7000 km (SP-propagated: no state here).
inline int64_t addQel(int32_t satNum = 60001) {
  qel::QelRecord r;
  r.satNum = satNum;
  r.epoch = {2026, 78, 12, 0, 0.0};
  r.geoModel.set("WGS-72");
  r.eciPos = {7000.0, 0.0, 0.0};
  r.eciVel = {0.0, 7.5, 0.0};
  int64_t key = -1;
  qel::AddQelToMem(r, key);
  return key;
}

// An SP vector of the same orbit.
inline int64_t addSpVec(int32_t satNum = 23) {
  harlo::SpVecRecord sv;
  sv.pos = {7000.0, 0.0, 0.0};
  sv.vel = {0.0, 7500.0, 0.0};
  sv.satNum = satNum;
  sv.designator = "99001A  ";
  sv.epoch = "2026078120000.000";
  return harlo::AddHarloToMem(sv);
}

// A point at DS50 UTC t with position and velocity (km, km/s, or the frame's own values).
inline tarvexon::TarvexPoint point(double t, std::initializer_list<double> pv, int32_t revNum = 0) {
  tarvexon::TarvexPoint p;
  p.ds50UTC = t;
  auto it = pv.begin();
  for (double& x : p.pos) x = it != pv.end() ? *it++ : 0.0;
  for (double& x : p.vel) x = it != pv.end() ? *it++ : 0.0;
  p.revNum = revNum;
  return p;
}

// A stored ephemeris of the given system with these points; epoch (DS50 UTC) replaces the first
// point's time as the record's epoch when given.
inline int64_t addEphem(int32_t satNum, int32_t coordSys, const std::vector<tarvexon::TarvexPoint>& pts,
                        double epoch = 0.0) {
  tarvexon::TarvexRecord rec;
  rec.satNum = satNum;
  rec.coordSys = coordSys;
  for (const auto& p : pts) tarvexon::AddOneEPPoint(p, rec);
  if (epoch != 0.0) rec.epochDs50UTC = epoch;
  int64_t key = -1;
  tarvexon::AddTarvexToMem(rec, key);
  return key;
}

}  // namespace brevtest
