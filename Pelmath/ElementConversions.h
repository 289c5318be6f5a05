// Element-set conversions in canonical units (er, er/kemin, rad, rad/min): Keplerian, classical,
// equinoctial and position/velocity forms, Kepler's equation, derived terms, mean motions and drag.
#pragma once

#include <optional>

#include "Pelmath/PelmathTypes.h"

namespace pelmath {

// ---- Kepler's equation, two-body motion, mean motion <-> semi-major axis ----

// atan2(y, x), but 0 when both arguments equal 0 by the support library's equality test.
double atan2_0(double y, double x);
// Mean motion (rad/min) of semi-major axis a (er), and back; ke replaces the current set's.
double a2n(double a, std::optional<double> ke = {});
double n2a(double n, std::optional<double> ke = {});
// Eccentric anomaly E (rad) of a Keplerian set, optionally after advancing M by dt minutes.
double finde(const Elset& kep, std::optional<double> dt = {});
// True anomaly in degrees, [0, 360).
double gettrueanomaly(const Elset& kep);
// Two-body state of the Keplerian angles at dt minutes from the set, with mean motion n and mu
// in consistent units (a = cbrt(mu/n^2)); pos and vel in those units.
void kepler(const Elset& kep, double n, double mu, std::optional<double> dt, Vec3& pos, Vec3& vel);
// 2 mu/r - v^2 (= mu/a).
double getalpha(const Vec3& pos, const Vec3& vel, double mu);

// ---- Keplerian, classical, equinoctial, position/velocity ----

Elset kep2eqnx(const Elset& kep, std::optional<double> ke = {});
Elset eqnx2kep(const Elset& eqnx, std::optional<double> ke = {});
Elset class2eqnx(const Elset& cls);
Elset eqnx2class(const Elset& eqnx);
// Canonical state (er, er/kemin) of an equinoctial set. With mu (km^3/s^2) the state is built in
// km and km/s from that mu and then converted; without it, a = (ke/n)^(2/3) and mu = 1.
void eqnx2pv(const Elset& eqnx, Vec3& pos, Vec3& vel, std::optional<double> mu = {},
             std::optional<double> ke = {});
void kep2pv(const Elset& kep, Vec3& pos, Vec3& vel, std::optional<double> ke = {});
// From a state in km and km/s with mu in km^3/s^2 (default: the current set's): equinoctial with
// n in rad/min, or Keplerian with a (er) from that n and ke.
Elset pv2eqnx(const Vec3& pos, const Vec3& vel, std::optional<double> mu = {});
Elset pv2kep(const Vec3& pos, const Vec3& vel, std::optional<double> mu = {}, std::optional<double> ke = {});

// ---- Derived terms and local frames ----

// The 33 values derived from a state and mu (any consistent units).
Derivedelts pv2drvdelts(const Vec3& pos, const Vec3& vel, double mu);
// Trigonometric and shape terms of a canonical Keplerian set; p defaults to a(1 - e^2).
Derivedterms getderivedterms(const Elset& kep, std::optional<double> p = {});
// Writes only entries 11 (r), 12 (rdot), 21 (true anomaly) and 22 (argument of latitude).
void pv2derivedterms(const Vec3& pos, const Vec3& vel, Derivedterms& terms);
// Radial, in-track and cross-track unit vectors of a Keplerian set.
Uvwelts kep2uvw(const Elset& kep);
// z component of the radial unit vector: sin i sin(nu + omega).
double kep2ubar3(const Elset& kep);
// Rows (r x v) x v, v, r x v, and (r x v) x r, r, r x v; not normalised, units of the inputs.
Mat3 pv2uvvw(const Vec3& pos, const Vec3& vel);
Mat3 pv2uuvw(const Vec3& pos, const Vec3& vel);

// ---- Mean motions of SGP4 theory, drag terms ----

// Brouwer <-> Kozai mean motion (rad/min) for e and i (rad), always with WGS-72 J2 and ke.
double kozai2brouwer(double e, double incli, double nKozai);
double brouwer2kozai(double e, double incli, double nBrouwer);
// SGP4 drag coefficient C2 of a canonical Keplerian set (current R and ck2).
double computecc2(const Elset& kep);
// ndot/2 (rad/min^2) from B* (1/er), and back, for a canonical equinoctial set; 0 when C2 is 0.
double bstar2ndot(double bstar, const Elset& eqnx);
double ndot2bstar(double ndot, const Elset& eqnx);
// Initial drag terms from the perigee-height table: ndot/2 in rev/day^2 and B* in 1/er.
void initialdrag(double a, double e, double& ndot, double& bstar);

// ---- Osculating to mean ----

// Mean Keplerian elements (Brouwer-Lyddane, first order) of an osculating canonical set.
Elset keposc2mean(const Elset& osc);

}  // namespace pelmath
