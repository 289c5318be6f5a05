// Ephemeris files written by the tests from a known trajectory, column by column after the format
// tables (never by the system's own writers), and what the reader tests share: a scratch folder,
// the store emptied around each test, the stored records read back.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Siblings/Basalon/ValueTypes.h"
#include "Tarvexon/TarvexonTree.h"

namespace tarvextest {

// One state of the trajectory: time in seconds after the first point, km and km/s.
struct State {
  double sec;
  double pos[3];
  double vel[3];
};

// DS50 UTC of 2024 day 100 (9 April) 00:00:00: 2024 January 1.0 is JD 2460310.5, DS50 27029.0.
constexpr double kDs50Day100 = 27029.0 + 99.0;

// A circular orbit of 7000 km radius, inclined 30 degrees, sampled every stepSec seconds.
inline std::vector<State> circularOrbit(int n, double stepSec = 60.0) {
  const double mu = 398600.4418, r = 7000.0, inc = 30.0 * basalon::kDegToRad;
  const double w = std::sqrt(mu / (r * r * r)), v = w * r;
  std::vector<State> out;
  for (int k = 0; k < n; ++k) {
    const double t = k * stepSec, u = w * t;
    out.push_back({t,
                   {r * std::cos(u), r * std::sin(u) * std::cos(inc), r * std::sin(u) * std::sin(inc)},
                   {-v * std::sin(u), v * std::cos(u) * std::cos(inc), v * std::cos(u) * std::sin(inc)}});
  }
  return out;
}

// Date-time groups of a time stepSec seconds into 2024 day 100 (whole milliseconds).
inline std::string dtg15(double sec) {  // YYDDDHHMMSS.SSS
  const long ms = std::lround(sec * 1000.0);
  const long s = ms / 1000, day = 100 + s / 86400;
  char buf[32];
  std::snprintf(buf, sizeof buf, "24%03ld%02ld%02ld%06.3f", day, (s % 86400) / 3600, (s % 3600) / 60,
                static_cast<double>(s % 60) + static_cast<double>(ms % 1000) / 1000.0);
  return buf;
}
inline std::string dtg17(double sec) { return "20" + dtg15(sec); }  // YYYYDDDHHMMSS.SSS

inline std::string fmt(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}
// Text set into a line at 1-based column col (the line grows with blanks as needed).
inline void put(std::string& line, size_t col, const std::string& text) {
  if (line.size() < col - 1 + text.size()) line.resize(col - 1 + text.size(), ' ');
  line.replace(col - 1, text.size(), text);
}

inline const double kKe = 0.07436691613317341;
inline const double kRadius = 6378.135;

// ITC: header, point lines (time 2-18, position 19-66 F16.6, velocity 67-114 F16.9) and, with cov,
// three lines of seven E16.8 values each.
inline std::string itcHeader(int satNum, bool wocov) {
  std::string h;
  put(h, 2, fmt("%05.0f", satNum));
  put(h, 8, fmt("%21.15E", kKe));
  put(h, 30, fmt("%21.15E", kRadius));
  put(h, 52, dtg17(0));
  put(h, 107, wocov ? "WOCOV" : "     ");
  put(h, 113, "SP");
  return h;
}
inline std::string itcPoint(const State& s) {
  std::string l;
  put(l, 2, dtg17(s.sec));
  for (int k = 0; k < 3; ++k) put(l, 19 + 16 * k, fmt("%16.6f", s.pos[k]));
  for (int k = 0; k < 3; ++k) put(l, 67 + 16 * k, fmt("%16.9f", s.vel[k]));
  return l;
}
// Covariance value i (0-based) of point k.
inline double covValue(int k, int i) { return (k + 1) * 1e-3 + i * 1e-6; }
inline std::string itcCovLines(int k) {
  std::string out;
  for (int line = 0; line < 3; ++line) {
    out += "  ";
    for (int i = 0; i < 7; ++i) out += fmt("%16.8E", covValue(k, line * 7 + i));
    out += "\n";
  }
  return out;
}
inline std::string itcFile(int satNum, const std::vector<State>& states, bool withCov) {
  std::string text = itcHeader(satNum, !withCov) + "\n";
  for (size_t k = 0; k < states.size(); ++k) {
    text += itcPoint(states[k]) + "\n";
    if (withCov) text += itcCovLines(static_cast<int>(k));
  }
  return text;
}

// V31: title with the satellite in 30-34, the frame in 66-68 of the "Propagation by" line, data
// blocks between 48 "=" and 48 "E", 48 "Z" at the end; velocities written in m/s.
inline std::string v31File(int satNum, const std::vector<State>& states, const char* frame = "ECI") {
  std::string title = "EPHEMERIS FILE FOR SATELLITE";
  put(title, 30, fmt("%5.0f", satNum));
  std::string prop = "Propagation by SP integrator";
  put(prop, 66, frame);
  std::string text = title + "\n" + "some header text\n" + prop + "\n" + std::string(48, '=') + "\n";
  for (size_t k = 0; k < states.size(); ++k) {
    const State& s = states[k];
    std::string l = dtg15(s.sec);
    for (int i = 0; i < 3; ++i) put(l, 16 + 19 * i, fmt("%19.9f", s.pos[i]));
    for (int i = 0; i < 3; ++i) put(l, 73 + 19 * i, fmt("%19.9f", s.vel[i] * 1000.0));
    text += l + "\n";
    if (k == states.size() / 2)
      text += std::string(48, 'E') + "\nbetween blocks\n" + std::string(48, '=') + "\n";
  }
  return text + std::string(48, 'E') + "\n" + std::string(48, 'Z') + "\n";
}

// The SP header of simulated-observation and vector-ephemeris files (ke 1-22, radius 23-44, epoch
// 46-60), with " Z" in 79-80 (simulated observations) or "SP " in 75-77 (vector ephemeris).
inline std::string spHeader(bool simObs) {
  std::string h;
  put(h, 1, fmt("%22.15E", kKe));
  put(h, 23, fmt("%22.15E", kRadius));
  put(h, 46, dtg15(0));
  if (simObs) {
    put(h, 75, "     Z");
  } else {
    put(h, 75, "SP ");
  }
  return h;
}
inline std::string simObsFile(int satNum, const std::vector<State>& states, const char* frame = "ECI") {
  std::string text = spHeader(true) + "\n";
  for (size_t k = 0; k < states.size(); ++k) {
    const State& s = states[k];
    std::string l1;
    put(l1, 2, fmt("%5.0f", satNum));
    put(l1, 8, dtg15(s.sec));
    put(l1, 23, fmt("%7.0f", static_cast<double>(1000 + k)));
    put(l1, 76, frame);
    std::string l2, l3;
    for (int i = 0; i < 3; ++i) put(l2, 1 + 22 * i, fmt("%22.12f", s.pos[i]));
    for (int i = 0; i < 3; ++i) put(l3, 1 + 22 * i, fmt("%22.12f", s.vel[i]));
    text += l1 + "\n" + l2 + "\n" + l3 + "\n";
  }
  return text;
}
inline std::string vecEphFile(int satNum, const std::vector<State>& states, const char* frame = "EFG") {
  std::string text = spHeader(false) + "\n";
  for (const State& s : states) {
    std::string l1, l2;
    for (int i = 0; i < 3; ++i) put(l1, 18 + 16 * i, fmt("%16.6f", s.pos[i]));
    put(l1, 67, fmt("%5.0f", satNum));
    put(l1, 78, frame);
    put(l2, 3, dtg15(s.sec));
    for (int i = 0; i < 3; ++i) put(l2, 18 + 16 * i, fmt("%16.9f", s.vel[i]));
    text += l1 + "\n" + l2 + "\n";
  }
  return text;
}

// ECR predictions: title, satellite in 1-5 of the next line, six lines, the column header (positions
// only or not), one or two more lines, then time 1-15 and free values from column 17.
inline std::string ecrFile(int satNum, const std::vector<State>& states, bool positionsOnly) {
  std::string text = "CLASSIFICATION: UNCLASSIFIED\n" + fmt("%5.0f", satNum) + "  ECR PREDICTIONS\n";
  for (int k = 0; k < 6; ++k) text += "header line " + std::to_string(k) + "\n";
  if (positionsOnly) {
    text += "YYDDDHHMMSS.SSS      X(KM)          Y(KM)          Z(KM)\n---------------\n";
  } else {
    text += "YYDDDHHMMSS.SSS    POSITION X, Y, Z (KM) / VELOCITY XDOT, YDOT, ZDOT (KM/S)\n";
    text += "   (KM/S)\n---------------\n";
  }
  for (const State& s : states) {
    text += dtg15(s.sec) + " " + fmt("%.6f", s.pos[0]) + "  " + fmt("%.6f", s.pos[1]) + ", " +
            fmt("%.6f", s.pos[2]) + "\n";
    if (!positionsOnly)
      text += "                " + fmt("%.9f", s.vel[0]) + " " + fmt("%.9f", s.vel[1]) + " " +
              fmt("%.9f", s.vel[2]) + "\n";
  }
  return text;
}

// J2K predictions: title, then per point the satellite (3-7), the time in pieces (YY 12-13, DDD
// 15-17, HH 19-20, MM 22-23, SS.SSS 25-30) and six free values from column 32.
inline std::string j2kFile(int satNum, const std::vector<State>& states) {
  std::string text = " SPEPH PREDICTION EPHEMERIS\n";
  for (const State& s : states) {
    const std::string d = dtg15(s.sec);
    std::string l;
    put(l, 3, fmt("%5.0f", satNum));
    put(l, 12, d.substr(0, 2));
    put(l, 15, d.substr(2, 3));
    put(l, 19, d.substr(5, 2));
    put(l, 22, d.substr(7, 2));
    put(l, 25, d.substr(9, 6));
    std::string values;
    for (double v : {s.pos[0], s.pos[1], s.pos[2]}) values += fmt(" %.6f", v);
    for (double v : {s.vel[0], s.vel[1], s.vel[2]}) values += fmt(" %.9f", v);
    put(l, 32, values.substr(1));
    text += l + "\n";
  }
  return text;
}

// Scratch folder, store emptied before and after.
class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("tarvex_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir_);
    empty();
  }
  void TearDown() override { empty(); }
  static void empty() {
    int32_t code = 0;
    tarvexon::TarvexEmptyTree(code);
  }
  std::string file(const std::string& name, const std::string& text) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static tarvexon::TarvexRecord stored(int64_t key) {
    tarvexon::TarvexRecord rec;
    tarvexon::FindRec(key, rec);
    return rec;
  }
  static std::vector<int64_t> keys() {
    std::vector<int64_t> out(static_cast<size_t>(tarvexon::TarvexGetNumOfTreeNodes()) + 1);
    int32_t n = 0;
    tarvexon::TarvexGetTreeKeys(n, out.data(), 0, static_cast<int64_t>(out.size()));
    out.resize(static_cast<size_t>(n));
    return out;
  }
  std::filesystem::path dir_;
};

// Every point of rec against the states: times to the millisecond, positions and velocities to the
// tolerance of the written digits.
inline void expectPoints(const tarvexon::TarvexRecord& rec, const std::vector<State>& states, double posTol,
                         double velTol, bool withVel = true) {
  ASSERT_EQ(rec.numPts, static_cast<int32_t>(states.size()));
  EXPECT_NEAR(rec.epochDs50UTC, kDs50Day100, 1e-9);
  for (size_t k = 0; k < states.size(); ++k) {
    const tarvexon::TarvexPoint& p = rec.points[k];
    EXPECT_NEAR((p.ds50UTC - kDs50Day100) * 86400.0, states[k].sec, 1e-4) << "point " << k;
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(p.pos[i], states[k].pos[i], posTol) << "point " << k;
      EXPECT_NEAR(p.vel[i], withVel ? states[k].vel[i] : 0.0, velTol) << "point " << k;
    }
  }
}

}  // namespace tarvextest
