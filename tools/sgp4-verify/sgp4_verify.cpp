// sgp4-verify FILE: propagates each element set of a verification TLE file over the start, stop
// and step (minutes) written after column 69 of its line 2, printing TEME states (km, km/s),
// osculating elements and the UTC date of each point; errors go to standard error.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/TleParse.h"

namespace {

using basalon::kRadToDeg;

std::string chomp(std::string s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
  return s;
}

void printState(const kinetra::Sgp4State& s) {
  std::printf(" %16.8f %16.8f %16.8f %16.8f %12.9f %12.9f %12.9f", s.tsince, s.pos[0], s.pos[1], s.pos[2],
              s.vel[0], s.vel[1], s.vel[2]);
}

// Osculating elements (km, degrees) and the calendar date of a point.
void printElementsAndDate(const kinetra::Sgp4Obj& obj, const kinetra::Sgp4State& s) {
  const double r = kinetra::wgs72::kRadius, vu = r * kinetra::sgp4Ke() / 60.0;
  const kinetra::Vec3 p{s.pos[0] / r, s.pos[1] / r, s.pos[2] / r};
  const kinetra::Vec3 v{s.vel[0] / vu, s.vel[1] / vu, s.vel[2] / vu};
  basalon::Elset k{};
  double nu = 0.0;
  kinetra::oscKeplerian(p, v, k, &nu);
  std::printf(" %14.6f %8.6f %10.5f %10.5f %10.5f %10.5f %10.5f", k[0] * r, k[1], k[2] * kRadToDeg,
              k[4] * kRadToDeg, k[5] * kRadToDeg, nu * kRadToDeg, k[3] * kRadToDeg);
  int year = 0, doy = 0, hour = 0, minute = 0, month = 0, day = 0;
  double sec = 0.0;
  chronel::dyklok(obj.record().epoch + s.tsince / 1440.0, year, doy, hour, minute, sec);
  chronel::jul2mmdd(year, doy, month, day);
  std::printf(" %5d%3d%3d %2d:%2d:%9.6f", year, month, day, hour, minute, sec);
}

// Propagates one set over its walk: the epoch first, then start (or start + step when start is
// 0), every step after it, and stop itself when the step does not land on it.
void runSet(const lineset::TleRecord& tle, double start, double stop, double step) {
  kinetra::Sgp4Obj obj;
  std::printf("%d xx\n", tle.satNum);
  const int initCode = kinetra::initFromTle(tle, obj);
  kinetra::Sgp4State s;
  int code = obj.propagate(0.0, s);
  if (initCode != 0 || code != 0) {
    std::fprintf(stderr, "# *** error: t:= %f *** code = %3d\n", 0.0, code != 0 ? code : initCode);
    return;
  }
  printState(s);
  std::printf("\n");
  if (!(step > 0.0)) return;
  double t = start;
  if (std::fabs(t) > 1.0e-8) t -= step;
  while (t < stop) {
    t += step;
    if (t > stop) t = stop;
    code = obj.propagate(t, s);
    if (code != 0) {
      std::fprintf(stderr, "# *** error: t:= %f *** code = %3d\n", t, code);
      return;
    }
    printState(s);
    printElementsAndDate(obj, s);
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sgp4-verify FILE\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::fprintf(stderr, "sgp4-verify: cannot open %s\n", argv[1]);
    return 2;
  }
  std::string line, name, line1;
  int failures = 0;
  while (std::getline(in, line)) {
    line = chomp(line);
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '1') {
      line1 = line;
      continue;
    }
    if (line[0] != '2' || line1.empty()) continue;
    lineset::TleRecord tle;
    std::string msg;
    int rc = lineset::parseTle(name, line1, line, tle, msg);
    if (rc == lineset::kTleChecksum) {
      // Made-up cases of the verification set carry wrong checksums: note it and read on.
      std::fprintf(stderr, "sgp4-verify: %s (read anyway)\n", msg.c_str());
      lineset::TleReadOptions relaxed;
      relaxed.verifyChecksum = false;
      rc = lineset::parseTle(name, line1, line, tle, msg, relaxed);
    }
    line1.clear();
    if (rc != 0) {
      std::fprintf(stderr, "sgp4-verify: %s\n", msg.c_str());
      ++failures;
      continue;
    }
    double start = 0.0, stop = 1440.0, step = 360.0;
    if (line.size() > 69) {
      std::istringstream extra(line.substr(69));
      extra >> start >> stop >> step;
    }
    runSet(tle, start, stop, step);
  }
  return failures == 0 ? 0 : 1;
}
