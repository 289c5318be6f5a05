// Propagation of an initialised SGP4 object to a time since epoch: secular gravity and drag,
// deep-space terms, long-period periodics, Kepler's equation, short-period periodics, TEME state.
#include <cmath>

#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Math.h"

namespace kinetra {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoThirds = 2.0 / 3.0;

using detail::addAngle;
using detail::kSmallAngle;

}  // namespace

int Sgp4Obj::propagate(double t, Sgp4State& out) {
  return propagateWith(t, out, deep_ ? deep_->integrator.data() : nullptr);
}

int Sgp4Obj::propagatefromepoch(double t, Sgp4State& out) const {
  double integ[3] = {0.0, 0.0, 0.0};  // time 0: the integrator restarts from epoch
  return propagateWith(t, out, integ);
}

int Sgp4Obj::propagateWith(double t, Sgp4State& out, double* integ) const {
  out.tsince = t;
  out.pos = {0, 0, 0};
  out.vel = {0, 0, 0};
  const auto& c = c_;
  // Objects never initialised, released, or refused at initialisation.
  if (!initialised_) return c[kInitCode] != 0.0 ? static_cast<int>(c[kInitCode]) : kSgp4BadMeanElements;
  const double ke = sgp4ke();
  const double j2 = wgs72::kJ2, j3oj2 = wgs72::kJ3 / wgs72::kJ2;
  const double no = c[kNo];

  // Secular gravity and atmospheric drag.
  const double xmdf = c[kMo] + c[kMdot] * t;
  const double argpdf = c[kArgpo] + c[kArgpdot] * t;
  const double nodedf = c[kNodeo] + c[kNodedot] * t;
  double argpm = argpdf, mm = xmdf;
  const double t2 = t * t;
  double nodem = nodedf + c[kNodecf] * t2;
  double tempa = 1.0 - c[kCc1] * t;
  double tempe = c[kBstar] * c[kCc4] * t;
  double templ = c[kT2cof] * t2;
  if (c[kIsimp] != 1.0) {
    const double delomg = c[kOmgcof] * t;
    const double sinxmdf = std::sin(xmdf), cosxmdf = std::cos(xmdf);
    const double dm = 1.0 + c[kEta] * cosxmdf;
    const double delm = c[kXmcof] * (dm * dm * dm - c[kDelmo]);
    const double temp = delomg + delm;
    mm = xmdf + temp;
    argpm = argpdf - temp;
    const double t3 = t2 * t, t4 = t3 * t;
    tempa = tempa - c[kD2] * t2 - c[kD3] * t3 - c[kD4] * t4;
    double sinmm, cosmm;
    if (std::fabs(temp) < kSmallAngle) {
      addAngle(sinxmdf, cosxmdf, temp, sinmm, cosmm);
    } else {
      sinmm = std::sin(mm);
    }
    tempe = tempe + c[kBstar] * c[kCc5] * (sinmm - c[kSinmao]);
    templ = templ + c[kT3cof] * t3 + t4 * (c[kT4cof] + t * c[kT5cof]);
  }
  double nm = no, em = c[kEcco], inclm = c[kInclo];
  if (deep_) deepSecular(t, em, argpm, inclm, mm, nodem, nm, integ);
  if (nm <= 0.0) return kSgp4NegMeanMotion;

  // (ke/n)^(2/3) is the epoch's semi-major axis unless resonance has changed n.
  const double am = (nm == no ? c[kAo] : std::pow(ke / nm, kTwoThirds)) * tempa * tempa;
  nm = ke / (am * std::sqrt(am));
  em -= tempe;
  // NaN or infinite values (from absurd drag terms) fail here as well.
  if (!(em < 1.0) || em < -0.001 || !(am >= 0.95) || !std::isfinite(am)) return kSgp4BadMeanElements;
  if (em < 1.0e-6) em = 1.0e-6;
  mm += no * templ;
  const double xlmRaw = mm + argpm + nodem;
  // Revolutions counted from the mean ascending node: mean argument of latitude since epoch.
  const double revs = std::floor((xlmRaw - nodem) / kTwoPi) - std::floor((c[kMo] + c[kArgpo]) / kTwoPi);
  nodem = detail::fmodTwoPi(nodem);
  argpm = detail::fmodTwoPi(argpm);
  const double xlm = detail::fmodTwoPi(xlmRaw);
  mm = detail::fmodTwoPi(xlm - argpm - nodem);
  out.meanA = am;
  out.meanE = em;
  out.meanI = inclm;
  out.meanNode = nodem;
  out.meanArgp = argpm;
  out.meanM = mm;
  out.meanN = nm;
  const double rev = c[kRevNum] + revs;  // kept inside int32 for absurd rates
  out.revNum = !std::isfinite(rev)   ? 0
               : rev < -2147483647.0 ? -2147483647
               : rev > 2147483647.0  ? 2147483647
                                     : static_cast<int32_t>(rev);

  // Lunar-solar periodics (deep space).
  double nodeTrig[3] = {0.0, 0.0, 0.0};  // sine, cosine of nodep when [2] is 1
  double ep = em, xincp = inclm, argpp = argpm, nodep = nodem, mp = mm;
  double sinip, cosip, xlcof, aycof, con41, x1mth2, x7thm1;
  if (deep_) {
    lunarSolarPeriodics(t, ep, xincp, nodep, argpp, mp, sinip, cosip, nodeTrig);
    if (xincp < 0.0) {
      xincp = -xincp;
      sinip = -sinip;
      nodeTrig[0] = -nodeTrig[0];
      nodeTrig[1] = -nodeTrig[1];
      nodep += kPi;
      argpp -= kPi;
    }
    if (ep < 0.0 || ep > 1.0) return kSgp4BadPerturbedEcc;
    aycof = -0.5 * j3oj2 * sinip;
    const double onePlusCos = std::fabs(cosip + 1.0) > 1.5e-12 ? 1.0 + cosip : 1.5e-12;
    xlcof = -0.25 * j3oj2 * sinip * (3.0 + 5.0 * cosip) / onePlusCos;
    const double cosisq = cosip * cosip;
    con41 = 3.0 * cosisq - 1.0;
    x1mth2 = 1.0 - cosisq;
    x7thm1 = 7.0 * cosisq - 1.0;
  } else {
    sinip = c[kSinio];
    cosip = c[kCosio];
    aycof = c[kAycof];
    xlcof = c[kXlcof];
    con41 = c[kCon41];
    x1mth2 = c[kX1mth2];
    x7thm1 = c[kX7thm1];
  }

  // Long-period periodics (J3) in the equinoctial-like variables axn, ayn.
  const double axnl = ep * std::cos(argpp);
  double temp = 1.0 / (am * (1.0 - ep * ep));
  const double aynl = ep * std::sin(argpp) + temp * aycof;
  const double xl = mp + argpp + nodep + temp * xlcof * axnl;

  // Kepler's equation for E + omega, Newton steps limited to 0.95 rad.
  const double u = detail::fmodTwoPi(xl - nodep);
  double eo1 = u, tem5 = 9999.9, sineo1 = 0.0, coseo1 = 0.0;
  for (int k = 0; k < 10 && std::fabs(tem5) >= 1.0e-12; ++k) {
    // After a small step the sine and cosine are turned by it rather than evaluated afresh.
    if (k > 0 && std::fabs(tem5) < kSmallAngle) {
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
  temp = esine / (1.0 + betal);
  const double sinu = am / rl * (sineo1 - aynl - axnl * temp);
  const double cosu = am / rl * (coseo1 - axnl + aynl * temp);
  const double sin2u = (cosu + cosu) * sinu;
  const double cos2u = 1.0 - 2.0 * sinu * sinu;
  temp = 1.0 / pl;
  const double temp1 = 0.5 * j2 * temp;
  const double temp2 = temp1 * temp;

  // Short-period periodics (J2).
  const double mrt = rl * (1.0 - 1.5 * temp2 * betal * con41) + 0.5 * temp1 * x1mth2 * cos2u;
  const double dsu = -0.25 * temp2 * x7thm1 * sin2u;
  const double dnode = 1.5 * temp2 * cosip * sin2u;
  const double xnode = nodep + dnode;
  const double dinc = 1.5 * temp2 * cosip * sinip * cos2u;
  const double mvt = rdotl - nm * temp1 * x1mth2 * sin2u / ke;
  const double rvdot = rvdotl + nm * temp1 * (x1mth2 * cos2u + 1.5 * con41) / ke;

  // Orientation: unit vectors along the radius (u) and across it in the orbit plane (v).
  // The corrections to u and i are small except for extreme orbits: turn the known sines and
  // cosines by them instead of evaluating new ones.
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
    sini = std::sin(xincp + dinc);
    cosi = std::cos(xincp + dinc);
  }
  double snod, cnod;
  if (nodeTrig[2] == 1.0 && std::fabs(dnode) < kSmallAngle) {
    addAngle(nodeTrig[0], nodeTrig[1], dnode, snod, cnod);
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
  for (int k = 0; k < 3; ++k) {
    if (!std::isfinite(out.pos[k]) || !std::isfinite(out.vel[k])) {
      out.pos = {0, 0, 0};
      out.vel = {0, 0, 0};
      return kSgp4BadMeanElements;
    }
  }
  if (mrt < 1.0) return kSgp4Decayed;
  return kSgp4Ok;
}

}  // namespace kinetra
