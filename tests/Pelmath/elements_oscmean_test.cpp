// Osculating to mean elements: along an orbit integrated numerically under the J2 field, the
// mean elements must stay (nearly) constant while the osculating ones swing with the short period.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "Pelmath/ElementConversions.h"
#include "Pelmath/Units.h"
#include "PelmathApi/Elements.h"

namespace {

using pelmath::Elset;
using State = std::array<double, 6>;

constexpr double kJ2 = 0.001082616;  // WGS-72, the value behind the routine's J2/2

// Two-body plus J2 in canonical units (er, kemin, mu = 1).
State deriv(const State& s) {
  const double x = s[0], y = s[1], z = s[2];
  const double r2 = x * x + y * y + z * z, r = std::sqrt(r2);
  const double r3 = r2 * r, z2 = z * z / r2;
  const double k = 1.5 * kJ2 / (r2 * r3);
  return {s[3],
          s[4],
          s[5],
          -x / r3 - k * x * (1.0 - 5.0 * z2),
          -y / r3 - k * y * (1.0 - 5.0 * z2),
          -z / r3 - k * z * (3.0 - 5.0 * z2)};
}

State rk4(const State& s, double h) {
  auto axpy = [](const State& a, const State& b, double f) {
    State out;
    for (int i = 0; i < 6; ++i) out[i] = a[i] + f * b[i];
    return out;
  };
  const State k1 = deriv(s), k2 = deriv(axpy(s, k1, 0.5 * h)), k3 = deriv(axpy(s, k2, 0.5 * h)),
              k4 = deriv(axpy(s, k3, h));
  State out;
  for (int i = 0; i < 6; ++i) out[i] = s[i] + h / 6.0 * (k1[i] + 2.0 * k2[i] + 2.0 * k3[i] + k4[i]);
  return out;
}

struct Spread {
  double lo = 1e300, hi = -1e300;
  void add(double v) { lo = std::min(lo, v), hi = std::max(hi, v); }
  double width() const { return hi - lo; }
};

// Osculating and mean a, e, i sampled over one revolution.
void sampleOneRev(const Elset& start, std::array<Spread, 3>& osc, std::array<Spread, 3>& mean) {
  pelmath::Vec3 p{}, v{};
  pelmath::kep2pv(start, p, v);
  State s{p[0], p[1], p[2], v[0], v[1], v[2]};
  const double period = pelmath::kTwoPi * std::pow(start[0], 1.5);
  const int steps = 4000, every = 100;
  const double h = period / steps;
  for (int k = 0; k <= steps; ++k) {
    if (k % every == 0) {
      const pelmath::Vec3 pos{s[0], s[1], s[2]}, vel{s[3], s[4], s[5]};
      // State in er and er/kemin with mu = 1: pv2eqnx's 60 s/min factor is undone by ke = 60.
      const Elset o = pelmath::pv2kep(pos, vel, 1.0, 60.0);
      const Elset m = pelmath::keposc2mean(o);
      for (int i = 0; i < 3; ++i) {
        osc[i].add(o[i]);
        mean[i].add(m[i]);
      }
    }
    s = rk4(s, h);
  }
}

TEST(OscToMean, MeanElementsAreSteadyOverARevolution) {
  const Elset starts[] = {{7000.0 / 6378.135, 0.01, 0.9, 0.5, 1.0, 2.0},
                          {8000.0 / 6378.135, 0.15, 1.7, 3.0, 4.0, 0.7},
                          {7200.0 / 6378.135, 0.001, 0.3, 0.0, 5.0, 1.0}};
  for (const Elset& start : starts) {
    std::array<Spread, 3> osc, mean;
    sampleOneRev(start, osc, mean);
    // Short-period swings of J2 order are removed to first order: what is left is J2^2 order.
    EXPECT_LT(mean[0].width(), 0.01 * osc[0].width()) << "a, e = " << start[1];
    EXPECT_LT(mean[1].width(), 0.05 * osc[1].width()) << "e, e = " << start[1];
    EXPECT_LT(mean[2].width(), 0.05 * osc[2].width()) << "i, e = " << start[1];
    EXPECT_GT(osc[0].width(), 1e-4);
  }
}

TEST(OscToMean, ExportKeepsAnglesInRangeAndHandlesEquatorialOrbits) {
  const double osc[6] = {42164.0, 0.0003, 0.0, 10.0, 20.0, 30.0};
  double mean[6];
  KepOscToMean(osc, mean);
  for (double m : mean) EXPECT_TRUE(std::isfinite(m));
  EXPECT_NEAR(mean[0], osc[0], 1.0);
  EXPECT_LT(mean[2], 0.01);
  for (int k = 3; k < 6; ++k) {
    EXPECT_GE(mean[k], 0.0);
    EXPECT_LT(mean[k], 360.0);
  }
  // The mean longitude of a GEO stays where the osculating one is, to J2 order.
  EXPECT_NEAR(std::remainder(mean[3] + mean[4] + mean[5] - 60.0, 360.0), 0.0, 0.05);
}

}  // namespace
