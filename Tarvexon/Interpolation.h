// State of an external ephemeris at a time: four points around the time, Hermite interpolation
// when the ephemeris carries velocities, Lagrange otherwise, covariance and revolution number.
// Times are DS50 (UTC unless named TAI); positions km, velocities km/s in the record's system.
#pragma once

#include <cstdint>
#include <span>

#include "Tarvexon/TarvexonTypes.h"

namespace tarvexon {

// What GetEphem's input value is.
enum class EphemInput : int32_t {
  kMse = 1,         // minutes since the time of point 1
  kDs50Utc = 2,     // DS50 UTC
  kPointIndex = 3,  // point index, 1-based (the value is truncated)
};

// State of the stored record of satKey. otherTime is the DS50 UTC time for an MSE input and the MSE
// for a DS50 input (the point's time for an index); *mse, when given, the MSE of the result.
// code 0, or 2 with one logged message (outputs then cleared; a NaN or infinite time is outside the
// span). Reads the record on the store's read side for both key modes.
void GetEphem(int64_t satKey, double value, EphemInput mode, double& otherTime, TarvexPoint& pt,
              int32_t& code, double* mse = nullptr);

// The interpolated (or stored) point of rec at a DS50 TAI time; code 0 or 2 with a logged message.
// Four points around the time, no two consecutive ones more than 61 minutes apart; Hermite unless
// no point of rec carries a velocity. No output carries the scalar covariance marker.
// Only reads rec: callers holding the store's read side may call it from several threads.
void InterpolateEP(const TarvexRecord& rec, double timeTAI, TarvexPoint& pt, int32_t& code);

// InterpolateEP at a DS50 UTC time (what InterpolateEP does after its TAI-to-UTC step).
void interpolateAtUtc(const TarvexRecord& rec, double timeUTC, TarvexPoint& pt, int32_t& code);

// Position by Lagrange interpolation over the window at t (DS50 UTC); velocity, revNum and
// covariance zero.
TarvexPoint LagrangeTarvex(std::span<const TarvexPoint> window, double t);
// Position, velocity and covariance by Hermite interpolation over the window at t (DS50 UTC).
TarvexPoint HermiteTarvex(std::span<const TarvexPoint> window, double t);
// Value at t of the Lagrange polynomial through (nodes[i], values[i]).
double LagrangeVal(std::span<const double> values, std::span<const double> nodes, double t);
// Revolution number of pt from a reference point and its revolution number: one more (or less)
// when pt lies across an ascending node from ref; wraps at 100000.
int32_t UpdateRev(const TarvexPoint& pt, const TarvexPoint& ref, int32_t revRef);

}  // namespace tarvexon
