#!/usr/bin/python3
"""Writes brevanta_reference.h: independent reference states for the Brevanta state tests.

Run with Debian's python3 (python3-sgp4 and python3-erfa installed):
    /usr/bin/python3 tests/Brevanta/make_reference.py > tests/Brevanta/brevanta_reference.h

- SGP4 states: python-sgp4 (WGS-72, improved mode) of catalogue TLEs at epoch + k minutes (TEME,
  km and km/s), and ERFA's geodetic conversion (gc2gde, WGS-72 ellipsoid) of that position turned
  by the IAU 1982 GMST at UT1 = UTC.
- Ephemerides: python-sgp4 TEME positions of the ISS once a minute with the rate of that position
  track as velocity (SGP4's own velocity is not quite that rate), written in four frames:
  ECI (TEME itself); J2K through ERFA's IAU 1976 precession and IAU 1980 nutation in pole-only
  form (TEME = Rz(dpsi cos eps) N P J2000) at the TAI time; EFG through Rz(GMST 1982 of UT1)
  with the Earth rate of the EFG rotation; ECR as EFG turned by ERFA's polar-motion matrix.
  The ECR points use the timing constants below (UT1 - UTC and the pole), which the test loads.
"""
import math

import erfa
import numpy as np
from sgp4.api import WGS72, Satrec

DS50_JD = 2433281.5
EARTH_RATE = 0.0043752690880113 / 60.0  # rad/s, the rate of the EFG rotation of this system
WGS72_A, WGS72_F = 6378.135, 1.0 / 298.26
# Timing constants for the ECR ephemeris: UT1 - UTC (s) and the pole (arcsec), the same every day.
DUT1, XP, YP = 0.2, 0.15, 0.35
ARCSEC = math.pi / 180.0 / 3600.0

TLES = [
    ("CALSPHERE 1", "1 00900U 64063C   26078.25058051  .00000586  00000+0  58848-3 0  9991",
     "2 00900  90.2170  69.6682 0024457 200.0471 222.5878 13.76510242 59057"),
    ("ISS (ZARYA)", "1 25544U 98067A   26078.12958500  .00009105  00000+0  17698-3 0  9991",
     "2 25544  51.6344  25.6919 0006229 207.4819 152.5840 15.48370465557798"),
    ("PHASE 3B (AO-10)", "1 14129U 83058B   26077.56028265  .00000122  00000+0  00000+0 0  9990",
     "2 14129  25.9170 234.7574 6043564  90.5700 334.5381  2.05871844293622"),
    ("NAVSTAR 46 (USA 145)", "1 25933U 99055A   26077.81562356 -.00000016  00000+0  00000+0 0  9994",
     "2 25933  51.5446 299.4213 0106385 172.0493  15.9790  2.00566941193768"),
    ("INTELSAT 10 (IS-10)", "1 26766U 01019A   26078.00512954  .00000047  00000+0  00000+0 0  9996",
     "2 26766   8.8597  60.1630 0005480 274.3366 282.3178  0.99036567 44688"),
]
MINUTES = [0.0, 37.5, 360.0, 1440.0, -720.25, 4321.0]


def rz(angle, v):
    c, s = math.cos(angle), math.sin(angle)
    return np.array([c * v[0] + s * v[1], -s * v[0] + c * v[1], v[2]])


def state(sat, ds50):
    jd = DS50_JD + math.floor(ds50)
    e, r, v = sat.sgp4(jd, ds50 - math.floor(ds50))
    assert e == 0, e
    return np.array(r), np.array(v)


def track_state(sat, ds50):
    """python-sgp4's position and the rate of its position track (km/s). The steps are taken in
    minutes since epoch, which resolve far finer than a DS50 day count near 27800."""
    epoch = sat.jdsatepoch - DS50_JD + sat.jdsatepochF
    tsince = (ds50 - epoch) * 1440.0
    h = 0.25  # s

    def pos(dt):
        e, r, _ = sat.sgp4_tsince(tsince + dt / 60.0)
        assert e == 0, e
        return np.array(r)

    v = (8.0 * (pos(h) - pos(-h)) - (pos(2 * h) - pos(-2 * h))) / (12.0 * h)
    return pos(0.0), v


def gmst82(ds50_ut1):
    return erfa.gmst82(DS50_JD, ds50_ut1)


def tai_minus_utc(ds50):
    y, m, d, fd = erfa.jd2cal(DS50_JD, ds50)
    return erfa.dat(y, m, d, fd)


def teme_from_j2000(ds50_tai):
    """The matrix from J2000 to TEME of date at a TAI time."""
    p = erfa.pmat76(DS50_JD, ds50_tai)
    dpsi, deps = erfa.nut80(DS50_JD, ds50_tai)
    eps = erfa.obl80(DS50_JD, ds50_tai)
    n = erfa.numat(eps, dpsi, deps)
    eqe = erfa.rz(dpsi * math.cos(eps), np.identity(3))
    return eqe @ n @ p


def efg_of(r, v, ds50_ut1):
    g = gmst82(ds50_ut1)
    re, ve = rz(g, r), rz(g, v)
    return re, ve - np.cross([0.0, 0.0, EARTH_RATE], re)


def fmt(x):
    return "%.17g" % x


def row(values):
    return "{" + ", ".join(fmt(x) for x in values) + "}"


out = []
w = out.append
w("// Reference states for the Brevanta tests, written by tests/Brevanta/make_reference.py (python-sgp4")
w("// and ERFA; see that script for how each value is made). Do not edit by hand.")
w("#pragma once")
w("")
w("namespace brevref {")
w("")
w("struct SgpCase {")
w("  const char* name;")
w("  const char* line1;")
w("  const char* line2;")
w("  double mse;       // minutes since epoch of the MSE request")
w("  double posMse[3]; // TEME km (python-sgp4 sgp4_tsince)")
w("  double velMse[3]; // TEME km/s")
w("  double ds50UTC;   // request time: the TLE epoch plus mse minutes")
w("  double pos[3];    // TEME km (python-sgp4 at that UTC time)")
w("  double vel[3];    // TEME km/s")
w("  double llh[3];    // geodetic lat, lon (deg), height (km): ERFA gc2gde, WGS-72, GMST 1982")
w("};")
w("")
w("inline const SgpCase kSgpCases[] = {")
for name, l1, l2 in TLES:
    sat = Satrec.twoline2rv(l1, l2, WGS72)
    epoch = sat.jdsatepoch - DS50_JD + sat.jdsatepochF
    for k in MINUTES:
        t = epoch + k / 1440.0
        e, rm, vm = sat.sgp4_tsince(k)
        assert e == 0, e
        r, v = state(sat, t)
        re = rz(gmst82(t), r)
        lon, lat, h = erfa.gc2gde(WGS72_A, WGS72_F, re)
        w('    {"%s", "%s", "%s", %s, %s, %s, %s, %s, %s, %s},' % (
            name, l1, l2, fmt(k), row(rm), row(vm), fmt(t), row(r), row(v),
            row([math.degrees(lat), math.degrees(lon), h])))
w("};")
w("")

# Ephemerides of the ISS: points once a minute over an hour from 30 minutes after epoch. SGP4's
# velocity output is not quite the rate of its position (they differ by up to ~2e-5 km/s), which
# no interpolation of both can honour; the ephemeris and its truth carry the rate of the python-sgp4
# position track instead (a fourth-order central difference over +-0.5 s, good to ~1e-7 km/s).
name, l1, l2 = TLES[1]
sat = Satrec.twoline2rv(l1, l2, WGS72)
epoch = sat.jdsatepoch - DS50_JD + sat.jdsatepochF
t0 = epoch + 30.0 / 1440.0
pts = [t0 + k / 1440.0 for k in range(61)]
w("constexpr double kUt1MinusUtc = %s;  // s, timing constants of the ECR ephemeris" % fmt(DUT1))
w("constexpr double kPoleX = %s;        // arcsec" % fmt(XP))
w("constexpr double kPoleY = %s;        // arcsec" % fmt(YP))
w("constexpr int kEphemPoints = %d;" % len(pts))
w("// ISS points: DS50 UTC, position km, velocity km/s in each frame.")
frames = {"kEphemEci": [], "kEphemJ2k": [], "kEphemEfg": [], "kEphemEcr": []}
W = erfa.pom00(XP * ARCSEC, YP * ARCSEC, 0.0)
for t in pts:
    r, v = track_state(sat, t)
    frames["kEphemEci"].append((t, r, v))
    m = teme_from_j2000(t + tai_minus_utc(t) / 86400.0)
    frames["kEphemJ2k"].append((t, m.T @ r, m.T @ v))
    re, ve = efg_of(r, v, t)
    frames["kEphemEfg"].append((t, re, ve))
    re, ve = efg_of(r, v, t + DUT1 / 86400.0)
    frames["kEphemEcr"].append((t, W @ re, W @ ve))
for key, rows in frames.items():
    w("inline const double %s[kEphemPoints][7] = {" % key)
    for t, r, v in rows:
        w("    %s," % row([t, *r, *v]))
    w("};")
w("")
w("// Request times between and on the points, and python-sgp4's TEME position there with the rate")
w("// of its position track.")
reqs = [t0 + m / 1440.0 for m in (0.0, 0.5, 17.25, 31.1, 45.123, 59.9, 60.0)]
w("constexpr int kEphemRequests = %d;" % len(reqs))
w("inline const double kEphemTruth[kEphemRequests][7] = {")
for t in reqs:
    r, v = track_state(sat, t)
    w("    %s," % row([t, *r, *v]))
w("};")
w("")
w("}  // namespace brevref")
print("\n".join(out))
