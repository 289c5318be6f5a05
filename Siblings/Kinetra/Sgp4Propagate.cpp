// Propagation of an initialised SGP4 object to a time since epoch: secular gravity and drag,
// deep-space terms, long-period periodics, Kepler's equation, short-period periodics, TEME state.
#include <cmath>

#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Math.h"
#include "Siblings/Kinetra/Sgp4Stages.h"

namespace kinetra {
namespace {

using basalon::kPi;
using basalon::kTwoPi;
using detail::addAngle;
using detail::kSmallAngle;

constexpr double kTwoThirds = 2.0 / 3.0;
// sqrt(mu) in er^1.5/min, read once here rather than called for on every state.
const double kKe = sgp4Ke();

// Inclination-dependent coefficients of the long- and short-period terms.
struct PeriodicCoefficients {
  double aycof, xlcof, con41, x1mth2, x7thm1;
};

// Working state of one propagation, handed from stage to stage. No initialisers: each stage
// writes its fields before a later one reads them, and zeroing them costs every state.
struct Propagation {
  double t;  // minutes since epoch
  detail::MeanElements m;
  double tempa, tempe, templ;  // drag factors of a, e and the mean longitude
  double am;                   // mean semi-major axis at t, er
  detail::PeriodicElements p;
  PeriodicCoefficients k;
  double axnl, aynl;           // e cos(omega), e sin(omega) with the J3 long-period term
  double eo1, sineo1, coseo1;  // solution E + omega of Kepler's equation
};

// Drag terms of a perigee above 220 km (near-Earth only): to the mean anomaly and perigee, and
// the higher powers of t in a, e and the mean longitude.
void higherOrderDrag(const Sgp4Record& c, double xmdf, double argpdf, Propagation& s) {
  const double t = s.t, t2 = t * t;
  const double delomg = c.omgcof * t;
  const double sinxmdf = std::sin(xmdf), cosxmdf = std::cos(xmdf);
  const double dm = 1.0 + c.eta * cosxmdf;
  const double delm = c.xmcof * (dm * dm * dm - c.delmo);
  const double temp = delomg + delm;
  s.m.mm = xmdf + temp;
  s.m.argpm = argpdf - temp;
  const double t3 = t2 * t, t4 = t3 * t;
  s.tempa = s.tempa - c.d2 * t2 - c.d3 * t3 - c.d4 * t4;
  double sinmm, cosmm;
  if (std::fabs(temp) < kSmallAngle) {
    // Departure from the published model: sin M turned from sin, cos of xmdf by a small step.
    addAngle(sinxmdf, cosxmdf, temp, sinmm, cosmm);
  } else {
    sinmm = std::sin(s.m.mm);
  }
  s.tempe = s.tempe + c.bstar * c.cc5 * (sinmm - c.sinmao);
  s.templ = s.templ + c.t3cof * t3 + t4 * (c.t4cof + t * c.t5cof);
}

// Secular gravity and atmospheric drag.
void secularGravityAndDrag(const Sgp4Record& c, Propagation& s) {
  const double t = s.t;
  const double xmdf = c.mo + c.mdot * t;
  const double argpdf = c.argpo + c.argpdot * t;
  const double nodedf = c.nodeo + c.nodedot * t;
  s.m.argpm = argpdf;
  s.m.mm = xmdf;
  const double t2 = t * t;
  s.m.nodem = nodedf + c.nodecf * t2;
  s.tempa = 1.0 - c.cc1 * t;
  s.tempe = c.bstar * c.cc4 * t;
  s.templ = c.t2cof * t2;
  if (!c.isimp) higherOrderDrag(c, xmdf, argpdf, s);
  s.m.nm = c.no;
  s.m.em = c.ecco;
  s.m.inclm = c.inclo;
}

// Revolution number at epoch plus whole revolutions since, as an int32.
// Departure from the published model: it counts revolutions, which the published model does not.
int32_t revolutionNumber(const Sgp4Record& c, double revs) {
  const double rev = c.revNum + revs;
  // Departure from the published model: the revolution count is kept inside int32 for absurd rates.
  return !std::isfinite(rev)   ? 0
         : rev < -2147483647.0 ? -2147483647
         : rev > 2147483647.0  ? 2147483647
                               : static_cast<int32_t>(rev);
}

// Mean semi-major axis and eccentricity from the drag factors, angles reduced to one turn; the
// mean elements and revolution number go to out. A Sgp4Code.
int meanElementsAt(const Sgp4Record& c, Propagation& s, Sgp4State& out) {
  detail::MeanElements& m = s.m;
  if (m.nm <= 0.0) return kSgp4NegMeanMotion;
  const double ke = kKe;
  // (ke/n)^(2/3) is the epoch's semi-major axis unless resonance has changed n.
  const double am = (m.nm == c.no ? c.ao : std::pow(ke / m.nm, kTwoThirds)) * s.tempa * s.tempa;
  m.nm = ke / (am * std::sqrt(am));
  m.em -= s.tempe;
  // Departure from the published model: non-finite values (from absurd drag terms) end in code 1.
  if (!(m.em < 1.0) || m.em < -0.001 || !(am >= 0.95) || !std::isfinite(am)) return kSgp4BadMeanElements;
  if (m.em < 1.0e-6) m.em = 1.0e-6;
  m.mm += c.no * s.templ;
  const double xlmRaw = m.mm + m.argpm + m.nodem;
  // Revolutions counted from the mean ascending node: mean argument of latitude since epoch.
  const double revs = std::floor((xlmRaw - m.nodem) / kTwoPi) - std::floor((c.mo + c.argpo) / kTwoPi);
  // Departure from the published model: angles reduced without fmod (same value to rounding, faster).
  m.nodem = detail::fmodTwoPi(m.nodem);
  m.argpm = detail::fmodTwoPi(m.argpm);
  const double xlm = detail::fmodTwoPi(xlmRaw);
  m.mm = detail::fmodTwoPi(xlm - m.argpm - m.nodem);
  s.am = am;
  out.meanA = am;
  out.meanE = m.em;
  out.meanI = m.inclm;
  out.meanNode = m.nodem;
  out.meanArgp = m.argpm;
  out.meanM = m.mm;
  out.meanN = m.nm;
  out.revNum = revolutionNumber(c, revs);
  return kSgp4Ok;
}

// Lunar-solar periodics (deep space) and the inclination coefficients of the new inclination.
int deepSpacePeriodics(const Sgp4DeepData& deep, Propagation& s) {
  const double j3oj2 = wgs72::kJ3 / wgs72::kJ2;
  detail::PeriodicElements& p = s.p;
  p = detail::lunarSolarPeriodics(deep, s.t, p);
  if (p.xincp < 0.0) {
    p.xincp = -p.xincp;
    p.sinip = -p.sinip;
    p.nodeTrig.sin = -p.nodeTrig.sin;
    p.nodeTrig.cos = -p.nodeTrig.cos;
    p.nodep += kPi;
    p.argpp -= kPi;
  }
  if (p.ep < 0.0 || p.ep > 1.0) return kSgp4BadPerturbedEcc;
  s.k.aycof = -0.5 * j3oj2 * p.sinip;
  const double onePlusCos = std::fabs(p.cosip + 1.0) > 1.5e-12 ? 1.0 + p.cosip : 1.5e-12;
  s.k.xlcof = -0.25 * j3oj2 * p.sinip * (3.0 + 5.0 * p.cosip) / onePlusCos;
  const double cosisq = p.cosip * p.cosip;
  s.k.con41 = 3.0 * cosisq - 1.0;
  s.k.x1mth2 = 1.0 - cosisq;
  s.k.x7thm1 = 7.0 * cosisq - 1.0;
  return kSgp4Ok;
}

// The elements the periodic terms start from: the mean ones, with the lunar-solar periodics for
// deep space, and the inclination coefficients that go with them.
int periodicElements(const Sgp4Record& c, const Sgp4DeepData* deep, Propagation& s) {
  // The near-Earth inclination's sine and cosine; the lunar-solar stage replaces them.
  s.p = detail::PeriodicElements{s.m.em, s.m.inclm, s.m.argpm, s.m.nodem, s.m.mm, c.sinio, c.cosio, {}};
  if (deep != nullptr) return deepSpacePeriodics(*deep, s);
  s.k = {c.aycof, c.xlcof, c.con41, c.x1mth2, c.x7thm1};
  return kSgp4Ok;
}

// Long-period periodics (J3) in the equinoctial-like variables axn, ayn, then Kepler's equation
// for E + omega by Newton steps limited to 0.95 rad.
void longPeriodAndKepler(Propagation& s) {
  const detail::PeriodicElements& p = s.p;
  const double axnl = p.ep * std::cos(p.argpp);
  const double temp = 1.0 / (s.am * (1.0 - p.ep * p.ep));
  const double aynl = p.ep * std::sin(p.argpp) + temp * s.k.aycof;
  const double xl = p.mp + p.argpp + p.nodep + temp * s.k.xlcof * axnl;

  const double u = detail::fmodTwoPi(xl - p.nodep);
  double eo1 = u, tem5 = 9999.9, sineo1 = 0.0, coseo1 = 0.0;
  for (int k = 0; k < 10 && std::fabs(tem5) >= 1.0e-12; ++k) {
    if (k > 0 && std::fabs(tem5) < kSmallAngle) {
      // Departure from the published model: after a small step sin and cos are turned, not recomputed.
      addAngle(sineo1, coseo1, tem5, sineo1, coseo1);
    } else {
      sineo1 = std::sin(eo1);
      coseo1 = std::cos(eo1);
    }
    tem5 = 1.0 - coseo1 * axnl - sineo1 * aynl;
    tem5 = (u - aynl * coseo1 + axnl * sineo1 - eo1) / tem5;
    if (std::fabs(tem5) >= 0.95) tem5 = tem5 > 0.0 ? 0.95 : -0.95;
    eo1 += tem5;
  }
  s.axnl = axnl;
  s.aynl = aynl;
  s.eo1 = eo1;
  s.sineo1 = sineo1;
  s.coseo1 = coseo1;
}

// Short-period periodics (J2) and the TEME position (km) and velocity (km/s) in out. A Sgp4Code.
int shortPeriodState(const Propagation& s, Sgp4State& out) {
  const double ke = kKe;
  const double j2 = wgs72::kJ2;
  const double am = s.am, nm = s.m.nm, axnl = s.axnl, aynl = s.aynl;
  const double sineo1 = s.sineo1, coseo1 = s.coseo1;
  const double sinip = s.p.sinip, cosip = s.p.cosip;
  const PeriodicCoefficients& k = s.k;

  // Short-period preliminary quantities.
  const double ecose = axnl * coseo1 + aynl * sineo1;
  const double esine = axnl * sineo1 - aynl * coseo1;
  const double el2 = axnl * axnl + aynl * aynl;
  const double pl = am * (1.0 - el2);
  if (pl < 0.0) return kSgp4NegSemiLatus;
  const double rl = am * (1.0 - ecose);
  const double rdotl = std::sqrt(am) * esine / rl;
  const double rvdotl = std::sqrt(pl) / rl;
  const double betal = std::sqrt(1.0 - el2);
  double temp = esine / (1.0 + betal);
  const double sinu = am / rl * (sineo1 - aynl - axnl * temp);
  const double cosu = am / rl * (coseo1 - axnl + aynl * temp);
  const double sin2u = (cosu + cosu) * sinu;
  const double cos2u = 1.0 - 2.0 * sinu * sinu;
  temp = 1.0 / pl;
  const double temp1 = 0.5 * j2 * temp;
  const double temp2 = temp1 * temp;

  // Short-period periodics (J2).
  const double mrt = rl * (1.0 - 1.5 * temp2 * betal * k.con41) + 0.5 * temp1 * k.x1mth2 * cos2u;
  const double dsu = -0.25 * temp2 * k.x7thm1 * sin2u;
  const double dnode = 1.5 * temp2 * cosip * sin2u;
  const double xnode = s.p.nodep + dnode;
  const double dinc = 1.5 * temp2 * cosip * sinip * cos2u;
  const double mvt = rdotl - nm * temp1 * k.x1mth2 * sin2u / ke;
  const double rvdot = rvdotl + nm * temp1 * (k.x1mth2 * cos2u + 1.5 * k.con41) / ke;

  // Orientation: unit vectors along the radius (u) and across it in the orbit plane (v).
  // Departure from the published model: u, i and the node (Lyddane) turned by their small corrections.
  // The corrections are small except for extreme orbits, so the known sines and cosines are turned
  // by them instead of new ones taken.
  double sinsu, cossu, sini, cosi;
  if (std::fabs(dsu) < kSmallAngle) {
    const double norm = 1.0 / std::sqrt(sinu * sinu + cosu * cosu);
    addAngle(sinu * norm, cosu * norm, dsu, sinsu, cossu);
  } else {
    const double su = std::atan2(sinu, cosu) + dsu;
    sinsu = std::sin(su);
    cossu = std::cos(su);
  }
  if (std::fabs(dinc) < kSmallAngle) {
    addAngle(sinip, cosip, dinc, sini, cosi);
  } else {
    sini = std::sin(s.p.xincp + dinc);
    cosi = std::cos(s.p.xincp + dinc);
  }
  double snod, cnod;
  if (s.p.nodeTrig.known && std::fabs(dnode) < kSmallAngle) {
    addAngle(s.p.nodeTrig.sin, s.p.nodeTrig.cos, dnode, snod, cnod);
  } else {
    snod = std::sin(xnode);
    cnod = std::cos(xnode);
  }
  const double xmx = -snod * cosi, xmy = cnod * cosi;
  const double ux = xmx * sinsu + cnod * cossu, uy = xmy * sinsu + snod * cossu, uz = sini * sinsu;
  const double vx = xmx * cossu - cnod * sinsu, vy = xmy * cossu - snod * sinsu, vz = sini * cossu;
  const double R = wgs72::kRadius, vkms = R * ke / 60.0;
  out.pos = {mrt * ux * R, mrt * uy * R, mrt * uz * R};
  out.vel = {(mvt * ux + rvdot * vx) * vkms, (mvt * uy + rvdot * vy) * vkms, (mvt * uz + rvdot * vz) * vkms};
  for (int i = 0; i < 3; ++i) {
    if (!std::isfinite(out.pos[i]) || !std::isfinite(out.vel[i])) {
      // Departure from the published model: a non-finite state ends in code 1, zeros kept.
      out.pos = {0, 0, 0};
      out.vel = {0, 0, 0};
      return kSgp4BadMeanElements;
    }
  }
  if (mrt < 1.0) return kSgp4Decayed;
  return kSgp4Ok;
}

}  // namespace

int Sgp4Obj::propagate(double t, Sgp4State& out) {
  return propagateWith(t, out, deep_ ? &deep_->integrator : nullptr);
}

int Sgp4Obj::propagateFromEpoch(double t, Sgp4State& out) const {
  // Departure from the published model: read-only propagation, the resonance integrated from epoch.
  // For objects shared between threads: the integrator restarts in a local copy.
  Sgp4Integrator integ;
  return propagateWith(t, out, &integ);
}

int Sgp4Obj::propagateWith(double t, Sgp4State& out, Sgp4Integrator* integ) const {
  out.tsince = t;
  out.pos = {0, 0, 0};
  out.vel = {0, 0, 0};
  // Objects never initialised, released, or refused at initialisation.
  if (!initialised_) return rec_.initCode != 0 ? rec_.initCode : kSgp4BadMeanElements;
  Propagation s;
  s.t = t;
  secularGravityAndDrag(rec_, s);
  if (deep_) s.m = detail::deepSecular(rec_, *deep_, t, s.m, *integ);
  int code = meanElementsAt(rec_, s, out);
  if (code != kSgp4Ok) return code;
  code = periodicElements(rec_, deep_.get(), s);
  if (code != kSgp4Ok) return code;
  longPeriodAndKepler(s);
  return shortPeriodState(s, out);
}

}  // namespace kinetra
