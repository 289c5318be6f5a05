// Initialisation of an SGP4 object from mean elements: recovery of the Brouwer mean motion and
// semi-major axis, the drag and secular-rate constants, and the deep-space set-up when needed.
#include <cmath>
#include <utility>

#include "Siblings/Kinetra/Sgp4.h"

namespace kinetra {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kTwoThirds = 2.0 / 3.0;
constexpr double kDeepSpacePeriodMin = 225.0;  // periods at or above this use SDP4
constexpr double kJdAtDs50Zero = 2433281.5;

}  // namespace

double sgp4ke() {
  static const double ke = 60.0 / std::sqrt(wgs72::kRadius * wgs72::kRadius * wgs72::kRadius / wgs72::kMu);
  return ke;
}

double sgp4kmpersec() { return wgs72::kRadius * sgp4ke() / 60.0; }

double sgp4gstime(double jdUt1) {
  constexpr double kDegToRad = 0.017453292519943295;
  const double t = (jdUt1 - 2451545.0) / 36525.0;  // Julian centuries of UT1 from J2000
  // GMST in seconds of time (IAU 1982), then to radians (240 s of time per degree).
  double g = -6.2e-6 * t * t * t + 0.093104 * t * t + (876600.0 * 3600.0 + 8640184.812866) * t + 67310.54841;
  g = std::fmod(g * kDegToRad / 240.0, kTwoPi);
  if (g < 0.0) g += kTwoPi;
  return g;
}

Sgp4Obj::Sgp4Obj(const Sgp4Obj& o)
    : c_(o.c_),
      deep_(o.deep_ ? std::make_unique<Sgp4DeepData>(*o.deep_) : nullptr),
      initialised_(o.initialised_) {}

Sgp4Obj& Sgp4Obj::operator=(const Sgp4Obj& o) {
  if (this != &o) {
    c_ = o.c_;
    deep_ = o.deep_ ? std::make_unique<Sgp4DeepData>(*o.deep_) : nullptr;
    initialised_ = o.initialised_;
  }
  return *this;
}

Sgp4Obj::Sgp4Obj(Sgp4Obj&& o) noexcept : c_(o.c_), deep_(std::move(o.deep_)), initialised_(o.initialised_) {
  o.release();
}

Sgp4Obj& Sgp4Obj::operator=(Sgp4Obj&& o) noexcept {
  if (this != &o) {
    c_ = o.c_;
    deep_ = std::move(o.deep_);
    initialised_ = o.initialised_;
    o.release();
  }
  return *this;
}

void Sgp4Obj::release() {
  deep_.reset();
  c_.fill(0.0);
  initialised_ = false;
}

int Sgp4Obj::init(const Sgp4Elements& el) {
  release();
  const double ke = sgp4ke();
  const double j2 = wgs72::kJ2, j4 = wgs72::kJ4, j3oj2 = wgs72::kJ3 / wgs72::kJ2;
  const double R = wgs72::kRadius;
  auto& c = c_;
  c[kEpoch] = el.epochDs50;
  c[kBstar] = el.bstar;
  c[kEcco] = el.ecc;
  c[kArgpo] = el.argPerigee;
  c[kInclo] = el.incl;
  c[kMo] = el.meanAnomaly;
  c[kNoKozai] = el.meanMotion;
  c[kNodeo] = el.node;
  c[kRevNum] = el.revNum;
  c[kSatNum] = el.satNum;

  // Elements the model cannot start from: no constants are derived and propagation refuses.
  const bool finite = std::isfinite(el.bstar) && std::isfinite(el.incl) && std::isfinite(el.node) &&
                      std::isfinite(el.argPerigee) && std::isfinite(el.meanAnomaly) &&
                      std::isfinite(el.epochDs50);
  int bad = kSgp4Ok;
  if (!(std::isfinite(el.meanMotion) && el.meanMotion > 0.0))
    bad = kSgp4NegMeanMotion;
  else if (!(el.ecc >= 0.0 && el.ecc < 1.0) || !finite)
    bad = kSgp4BadMeanElements;
  if (bad != kSgp4Ok) {
    c[kInitCode] = bad;
    return bad;
  }

  const double ecco = el.ecc, inclo = el.incl, argpo = el.argPerigee, mo = el.meanAnomaly;
  // Un-Kozai the mean motion: Brouwer mean motion and semi-major axis from the Kozai value.
  const double eccsq = ecco * ecco;
  const double omeosq = 1.0 - eccsq;
  const double rteosq = std::sqrt(omeosq);
  const double cosio = std::cos(inclo), sinio = std::sin(inclo);
  const double cosio2 = cosio * cosio;
  const double ak = std::pow(ke / el.meanMotion, kTwoThirds);
  const double d1 = 0.75 * j2 * (3.0 * cosio2 - 1.0) / (rteosq * omeosq);
  double del = d1 / (ak * ak);
  const double adel = ak * (1.0 - del * del - del * (1.0 / 3.0 + 134.0 * del * del / 81.0));
  del = d1 / (adel * adel);
  const double no = el.meanMotion / (1.0 + del);
  const double ao = std::pow(ke / no, kTwoThirds);
  const double po = ao * omeosq;
  const double con42 = 1.0 - 5.0 * cosio2;
  const double con41 = -con42 - cosio2 - cosio2;  // 3 cos^2 i - 1
  const double posq = po * po;
  const double rp = ao * (1.0 - ecco);  // perigee radius, er
  c[kNo] = no;
  c[kAo] = ao;
  c[kCon41] = con41;
  c[kCosio] = cosio;
  c[kSinio] = sinio;
  c[kGsto] = sgp4gstime(el.epochDs50 + kJdAtDs50Zero);

  if (!(no > 0.0) || !std::isfinite(ao)) {
    c[kInitCode] = kSgp4NegMeanMotion;
    return kSgp4NegMeanMotion;
  }

  // Atmosphere: density-function parameter s and (q0 - s)^4, lowered for low perigees.
  const double ss = 78.0 / R + 1.0;
  const double qzms2t = std::pow((120.0 - 78.0) / R, 4.0);
  double sfour = ss, qzms24 = qzms2t;
  const double perigeeKm = (rp - 1.0) * R;
  c[kIsimp] = rp < 220.0 / R + 1.0 ? 1.0 : 0.0;
  if (perigeeKm < 156.0) {
    sfour = perigeeKm - 78.0;
    if (perigeeKm < 98.0) sfour = 20.0;
    qzms24 = std::pow((120.0 - sfour) / R, 4.0);
    sfour = sfour / R + 1.0;
  }
  const double pinvsq = 1.0 / posq;
  const double tsi = 1.0 / (ao - sfour);
  const double eta = ao * ecco * tsi;
  const double etasq = eta * eta, eeta = ecco * eta;
  const double psisq = std::fabs(1.0 - etasq);
  const double coef = qzms24 * std::pow(tsi, 4.0);
  const double coef1 = coef / std::pow(psisq, 3.5);
  const double cc2 = coef1 * no *
                     (ao * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
                      0.375 * j2 * tsi / psisq * con41 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
  const double cc1 = el.bstar * cc2;
  const double cc3 = ecco > 1.0e-4 ? -2.0 * coef * tsi * j3oj2 * no * sinio / ecco : 0.0;
  const double x1mth2 = 1.0 - cosio2;
  c[kCc1] = cc1;
  c[kCc4] = 2.0 * no * coef1 * ao * omeosq *
            (eta * (2.0 + 0.5 * etasq) + ecco * (0.5 + 2.0 * etasq) -
             j2 * tsi / (ao * psisq) *
                 (-3.0 * con41 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
                  0.75 * x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq)) * std::cos(2.0 * argpo)));
  c[kCc5] = 2.0 * coef1 * ao * omeosq * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);
  c[kEta] = eta;
  c[kX1mth2] = x1mth2;
  c[kX7thm1] = 7.0 * cosio2 - 1.0;

  // Secular rates of M, argument of perigee and node from J2 (to second order) and J4.
  const double cosio4 = cosio2 * cosio2;
  const double temp1 = 1.5 * j2 * pinvsq * no;
  const double temp2 = 0.5 * temp1 * j2 * pinvsq;
  const double temp3 = -0.46875 * j4 * pinvsq * pinvsq * no;
  c[kMdot] =
      no + 0.5 * temp1 * rteosq * con41 + 0.0625 * temp2 * rteosq * (13.0 - 78.0 * cosio2 + 137.0 * cosio4);
  c[kArgpdot] = -0.5 * temp1 * con42 + 0.0625 * temp2 * (7.0 - 114.0 * cosio2 + 395.0 * cosio4) +
                temp3 * (3.0 - 36.0 * cosio2 + 49.0 * cosio4);
  const double xhdot1 = -temp1 * cosio;
  c[kNodedot] = xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * cosio2) + 2.0 * temp3 * (3.0 - 7.0 * cosio2)) * cosio;
  c[kXpidot] = c[kArgpdot] + c[kNodedot];
  c[kOmgcof] = el.bstar * cc3 * std::cos(argpo);
  c[kXmcof] = ecco > 1.0e-4 ? -kTwoThirds * coef * el.bstar / eeta : 0.0;
  c[kNodecf] = 3.5 * omeosq * xhdot1 * cc1;
  c[kT2cof] = 1.5 * cc1;
  // Long-period J3 coefficients; the 1 + cos i divisor is kept away from zero near i = 180 deg.
  const double onePlusCos = std::fabs(cosio + 1.0) > 1.5e-12 ? 1.0 + cosio : 1.5e-12;
  c[kXlcof] = -0.25 * j3oj2 * sinio * (3.0 + 5.0 * cosio) / onePlusCos;
  c[kAycof] = -0.5 * j3oj2 * sinio;
  const double delm = 1.0 + eta * std::cos(mo);
  c[kDelmo] = delm * delm * delm;
  c[kSinmao] = std::sin(mo);

  if (kTwoPi / no >= kDeepSpacePeriodMin) {
    c[kDeepSpace] = 1.0;
    c[kIsimp] = 1.0;
    initDeepSpace(eccsq);
  }

  if (c[kIsimp] != 1.0) {
    // Higher-order drag terms (perigee above 220 km, near-Earth only).
    const double cc1sq = cc1 * cc1;
    const double d2 = 4.0 * ao * tsi * cc1sq;
    const double temp = d2 * tsi * cc1 / 3.0;
    const double d3 = (17.0 * ao + sfour) * temp;
    const double d4 = 0.5 * temp * ao * tsi * (221.0 * ao + 31.0 * sfour) * cc1;
    c[kD2] = d2;
    c[kD3] = d3;
    c[kD4] = d4;
    c[kT3cof] = d2 + 2.0 * cc1sq;
    c[kT4cof] = 0.25 * (3.0 * d3 + cc1 * (12.0 * d2 + 10.0 * cc1sq));
    c[kT5cof] = 0.2 * (3.0 * d4 + 12.0 * cc1 * d3 + 6.0 * d2 * d2 + 15.0 * cc1sq * (2.0 * d2 + cc1sq));
  }
  initialised_ = true;
  Sgp4State s;
  const int code = propagate(0.0, s);
  c[kInitCode] = code;
  return code;
}

}  // namespace kinetra
