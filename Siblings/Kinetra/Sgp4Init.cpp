// Initialisation of an SGP4 object from mean elements: recovery of the Brouwer mean motion and
// semi-major axis, the drag and secular-rate constants, and the deep-space set-up when needed.
#include <cmath>
#include <utility>

#include "Siblings/Basalon/ValueTypes.h"
#include "Siblings/Chronel/Chronel.h"
#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Stages.h"

namespace kinetra {
namespace {

using basalon::kTwoPi;

constexpr double kTwoThirds = 2.0 / 3.0;
constexpr double kDeepSpacePeriodMin = 225.0;  // periods at or above this use SDP4

// Quantities of one initialisation handed from stage to stage (er, rad, rad/min).
struct InitState {
  double eccsq = 0, omeosq = 0, rteosq = 0;  // e^2, 1 - e^2, sqrt(1 - e^2)
  double cosio2 = 0, con42 = 0, posq = 0;    // cos^2 i, 1 - 5 cos^2 i, semi-latus rectum squared
  double rp = 0;                             // perigee radius, er
  double sfour = 0, qzms24 = 0;              // density parameter s (er) and (q0 - s)^4
  double tsi = 0, etasq = 0, eeta = 0, psisq = 0, coef = 0, coef1 = 0;
  double cc3 = 0;
};

// Refuses elements the model cannot start from; a Sgp4Code.
int checkElements(const Sgp4Elements& el) {
  const bool finite = std::isfinite(el.bstar) && std::isfinite(el.incl) && std::isfinite(el.node) &&
                      std::isfinite(el.argPerigee) && std::isfinite(el.meanAnomaly) &&
                      std::isfinite(el.epochDs50);
  // Departure from the published model: non-finite elements, e outside [0, 1) refused up front.
  if (!(std::isfinite(el.meanMotion) && el.meanMotion > 0.0)) return kSgp4NegMeanMotion;
  if (!(el.ecc >= 0.0 && el.ecc < 1.0) || !finite) return kSgp4BadMeanElements;
  return kSgp4Ok;
}

void storeElements(const Sgp4Elements& el, Sgp4Record& c) {
  c.epoch = el.epochDs50;
  c.bstar = el.bstar;
  c.ecco = el.ecc;
  c.argpo = el.argPerigee;
  c.inclo = el.incl;
  c.mo = el.meanAnomaly;
  c.noKozai = el.meanMotion;
  c.nodeo = el.node;
  c.revNum = el.revNum;
  c.satNum = el.satNum;
}

// Un-Kozai the mean motion: Brouwer mean motion and semi-major axis from the Kozai value.
void recoverMeanMotion(Sgp4Record& c, InitState& s) {
  const double ke = sgp4Ke();
  const double j2 = wgs72::kJ2;
  const double ecco = c.ecco;
  s.eccsq = ecco * ecco;
  s.omeosq = 1.0 - s.eccsq;
  s.rteosq = std::sqrt(s.omeosq);
  const double cosio = std::cos(c.inclo), sinio = std::sin(c.inclo);
  s.cosio2 = cosio * cosio;
  const double ak = std::pow(ke / c.noKozai, kTwoThirds);
  const double d1 = 0.75 * j2 * (3.0 * s.cosio2 - 1.0) / (s.rteosq * s.omeosq);
  double del = d1 / (ak * ak);
  const double adel = ak * (1.0 - del * del - del * (1.0 / 3.0 + 134.0 * del * del / 81.0));
  del = d1 / (adel * adel);
  const double no = c.noKozai / (1.0 + del);
  const double ao = std::pow(ke / no, kTwoThirds);
  const double po = ao * s.omeosq;
  s.con42 = 1.0 - 5.0 * s.cosio2;
  s.posq = po * po;
  s.rp = ao * (1.0 - ecco);
  c.no = no;
  c.ao = ao;
  c.con41 = -s.con42 - s.cosio2 - s.cosio2;  // 3 cos^2 i - 1
  c.cosio = cosio;
  c.sinio = sinio;
  c.gsto = greenwichSiderealAngle(c.epoch + chronel::kJulianDateAtDs50Zero);
}

// Atmosphere: density-function parameter s and (q0 - s)^4, lowered for low perigees; the
// simplified-drag flag of perigees below 220 km.
void atmosphere(Sgp4Record& c, InitState& s) {
  const double R = wgs72::kRadius;
  const double ss = 78.0 / R + 1.0;
  const double qzms2t = std::pow((120.0 - 78.0) / R, 4.0);
  double sfour = ss, qzms24 = qzms2t;
  const double perigeeKm = (s.rp - 1.0) * R;
  c.isimp = s.rp < 220.0 / R + 1.0;
  if (perigeeKm < 156.0) {
    sfour = perigeeKm - 78.0;
    if (perigeeKm < 98.0) sfour = 20.0;
    qzms24 = std::pow((120.0 - sfour) / R, 4.0);
    sfour = sfour / R + 1.0;
  }
  s.sfour = sfour;
  s.qzms24 = qzms24;
}

// Drag coefficients C1, C3 (kept in s), C4 and C5.
void dragCoefficients(Sgp4Record& c, InitState& s) {
  const double j2 = wgs72::kJ2, j3oj2 = wgs72::kJ3 / wgs72::kJ2;
  const double ao = c.ao, no = c.no, ecco = c.ecco;
  s.tsi = 1.0 / (ao - s.sfour);
  const double tsi = s.tsi;
  const double eta = ao * ecco * tsi;
  s.etasq = eta * eta;
  s.eeta = ecco * eta;
  const double etasq = s.etasq, eeta = s.eeta;
  s.psisq = std::fabs(1.0 - etasq);
  s.coef = s.qzms24 * std::pow(tsi, 4.0);
  s.coef1 = s.coef / std::pow(s.psisq, 3.5);
  const double cc2 = s.coef1 * no *
                     (ao * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
                      0.375 * j2 * tsi / s.psisq * c.con41 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
  c.cc1 = c.bstar * cc2;
  s.cc3 = ecco > 1.0e-4 ? -2.0 * s.coef * tsi * j3oj2 * no * c.sinio / ecco : 0.0;
  const double x1mth2 = 1.0 - s.cosio2;
  c.cc4 = 2.0 * no * s.coef1 * ao * s.omeosq *
          (eta * (2.0 + 0.5 * etasq) + ecco * (0.5 + 2.0 * etasq) -
           j2 * tsi / (ao * s.psisq) *
               (-3.0 * c.con41 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
                0.75 * x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq)) * std::cos(2.0 * c.argpo)));
  c.cc5 = 2.0 * s.coef1 * ao * s.omeosq * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);
  c.eta = eta;
  c.x1mth2 = x1mth2;
  c.x7thm1 = 7.0 * s.cosio2 - 1.0;
}

// Secular rates of M, argument of perigee and node from J2 (to second order) and J4, the drag
// terms of perigee, node and mean anomaly, and the long-period J3 coefficients.
void secularRates(Sgp4Record& c, const InitState& s) {
  const double j2 = wgs72::kJ2, j4 = wgs72::kJ4, j3oj2 = wgs72::kJ3 / wgs72::kJ2;
  const double no = c.no, cosio = c.cosio, sinio = c.sinio, cosio2 = s.cosio2;
  const double pinvsq = 1.0 / s.posq;
  const double cosio4 = cosio2 * cosio2;
  const double temp1 = 1.5 * j2 * pinvsq * no;
  const double temp2 = 0.5 * temp1 * j2 * pinvsq;
  const double temp3 = -0.46875 * j4 * pinvsq * pinvsq * no;
  c.mdot = no + 0.5 * temp1 * s.rteosq * c.con41 +
           0.0625 * temp2 * s.rteosq * (13.0 - 78.0 * cosio2 + 137.0 * cosio4);
  c.argpdot = -0.5 * temp1 * s.con42 + 0.0625 * temp2 * (7.0 - 114.0 * cosio2 + 395.0 * cosio4) +
              temp3 * (3.0 - 36.0 * cosio2 + 49.0 * cosio4);
  const double xhdot1 = -temp1 * cosio;
  c.nodedot = xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * cosio2) + 2.0 * temp3 * (3.0 - 7.0 * cosio2)) * cosio;
  c.xpidot = c.argpdot + c.nodedot;
  c.omgcof = c.bstar * s.cc3 * std::cos(c.argpo);
  c.xmcof = c.ecco > 1.0e-4 ? -kTwoThirds * s.coef * c.bstar / s.eeta : 0.0;
  c.nodecf = 3.5 * s.omeosq * xhdot1 * c.cc1;
  c.t2cof = 1.5 * c.cc1;
  // Long-period J3 coefficients; the 1 + cos i divisor is kept away from zero near i = 180 deg.
  const double onePlusCos = std::fabs(cosio + 1.0) > 1.5e-12 ? 1.0 + cosio : 1.5e-12;
  c.xlcof = -0.25 * j3oj2 * sinio * (3.0 + 5.0 * cosio) / onePlusCos;
  c.aycof = -0.5 * j3oj2 * sinio;
  const double delm = 1.0 + c.eta * std::cos(c.mo);
  c.delmo = delm * delm * delm;
  c.sinmao = std::sin(c.mo);
}

// Higher-order drag terms (perigee above 220 km, near-Earth only).
void higherOrderDrag(Sgp4Record& c, const InitState& s) {
  const double ao = c.ao, cc1 = c.cc1, tsi = s.tsi, sfour = s.sfour;
  const double cc1sq = cc1 * cc1;
  const double d2 = 4.0 * ao * tsi * cc1sq;
  const double temp = d2 * tsi * cc1 / 3.0;
  const double d3 = (17.0 * ao + sfour) * temp;
  const double d4 = 0.5 * temp * ao * tsi * (221.0 * ao + 31.0 * sfour) * cc1;
  c.d2 = d2;
  c.d3 = d3;
  c.d4 = d4;
  c.t3cof = d2 + 2.0 * cc1sq;
  c.t4cof = 0.25 * (3.0 * d3 + cc1 * (12.0 * d2 + 10.0 * cc1sq));
  c.t5cof = 0.2 * (3.0 * d4 + 12.0 * cc1 * d3 + 6.0 * d2 * d2 + 15.0 * cc1sq * (2.0 * d2 + cc1sq));
}

}  // namespace

double sgp4Ke() {
  static const double ke = 60.0 / std::sqrt(wgs72::kRadius * wgs72::kRadius * wgs72::kRadius / wgs72::kMu);
  return ke;
}

double sgp4KmPerSec() { return wgs72::kRadius * sgp4Ke() / 60.0; }

double greenwichSiderealAngle(double jdUt1) {
  const double t = (jdUt1 - 2451545.0) / 36525.0;  // Julian centuries of UT1 from J2000
  // GMST in seconds of time (IAU 1982), then to radians (240 s of time per degree).
  double g = -6.2e-6 * t * t * t + 0.093104 * t * t + (876600.0 * 3600.0 + 8640184.812866) * t + 67310.54841;
  g = std::fmod(g * basalon::kDegToRad / 240.0, kTwoPi);
  if (g < 0.0) g += kTwoPi;
  return g;
}

double slotValue(const Sgp4Record& c, Sgp4Slot s) {
  switch (s) {
    case kEpoch:
      return c.epoch;
    case kBstar:
      return c.bstar;
    case kEcco:
      return c.ecco;
    case kArgpo:
      return c.argpo;
    case kInclo:
      return c.inclo;
    case kMo:
      return c.mo;
    case kNoKozai:
      return c.noKozai;
    case kNodeo:
      return c.nodeo;
    case kNo:
      return c.no;
    case kAo:
      return c.ao;
    case kCon41:
      return c.con41;
    case kCc1:
      return c.cc1;
    case kCc4:
      return c.cc4;
    case kCc5:
      return c.cc5;
    case kD2:
      return c.d2;
    case kD3:
      return c.d3;
    case kD4:
      return c.d4;
    case kDelmo:
      return c.delmo;
    case kEta:
      return c.eta;
    case kArgpdot:
      return c.argpdot;
    case kOmgcof:
      return c.omgcof;
    case kSinmao:
      return c.sinmao;
    case kT2cof:
      return c.t2cof;
    case kT3cof:
      return c.t3cof;
    case kT4cof:
      return c.t4cof;
    case kT5cof:
      return c.t5cof;
    case kX1mth2:
      return c.x1mth2;
    case kX7thm1:
      return c.x7thm1;
    case kMdot:
      return c.mdot;
    case kNodedot:
      return c.nodedot;
    case kXlcof:
      return c.xlcof;
    case kXmcof:
      return c.xmcof;
    case kNodecf:
      return c.nodecf;
    case kAycof:
      return c.aycof;
    case kGsto:
      return c.gsto;
    case kIsimp:
      return c.isimp ? 1.0 : 0.0;
    case kDeepSpace:
      return c.deepSpace ? 1.0 : 0.0;
    case kCosio:
      return c.cosio;
    case kSinio:
      return c.sinio;
    case kXpidot:
      return c.xpidot;
    case kRevNum:
      return c.revNum;
    case kSatNum:
      return c.satNum;
    case kInitCode:
      return c.initCode;
    case kNumSlots:
      break;
  }
  return 0.0;  // the unused slots past kInitCode
}

std::array<double, kNumSlots> toSlotBuffer(const Sgp4Record& rec) {
  std::array<double, kNumSlots> buf{};
  for (int k = 0; k < kNumSlots; ++k) buf[static_cast<size_t>(k)] = slotValue(rec, static_cast<Sgp4Slot>(k));
  return buf;
}

Sgp4Obj::Sgp4Obj(const Sgp4Obj& o)
    : rec_(o.rec_),
      deep_(o.deep_ ? std::make_unique<Sgp4DeepData>(*o.deep_) : nullptr),
      initialised_(o.initialised_) {}

Sgp4Obj& Sgp4Obj::operator=(const Sgp4Obj& o) {
  if (this != &o) {
    rec_ = o.rec_;
    deep_ = o.deep_ ? std::make_unique<Sgp4DeepData>(*o.deep_) : nullptr;
    initialised_ = o.initialised_;
  }
  return *this;
}

Sgp4Obj::Sgp4Obj(Sgp4Obj&& o) noexcept
    : rec_(o.rec_), deep_(std::move(o.deep_)), initialised_(o.initialised_) {
  o.release();
}

Sgp4Obj& Sgp4Obj::operator=(Sgp4Obj&& o) noexcept {
  if (this != &o) {
    rec_ = o.rec_;
    deep_ = std::move(o.deep_);
    initialised_ = o.initialised_;
    o.release();
  }
  return *this;
}

void Sgp4Obj::release() {
  deep_.reset();
  rec_ = Sgp4Record{};
  initialised_ = false;
}

int Sgp4Obj::init(const Sgp4Elements& el) {
  release();
  storeElements(el, rec_);
  // Elements the model cannot start from: no constants are derived and propagation refuses.
  rec_.initCode = checkElements(el);
  if (rec_.initCode != kSgp4Ok) return rec_.initCode;

  InitState s;
  recoverMeanMotion(rec_, s);
  if (!(rec_.no > 0.0) || !std::isfinite(rec_.ao)) {
    rec_.initCode = kSgp4NegMeanMotion;
    return kSgp4NegMeanMotion;
  }
  atmosphere(rec_, s);
  dragCoefficients(rec_, s);
  secularRates(rec_, s);
  if (kTwoPi / rec_.no >= kDeepSpacePeriodMin) {
    rec_.deepSpace = true;
    rec_.isimp = true;
    deep_ = std::make_unique<Sgp4DeepData>();
    detail::initDeepSpace(rec_, s.eccsq, *deep_);
  }
  if (!rec_.isimp) higherOrderDrag(rec_, s);
  initialised_ = true;
  Sgp4State st;
  rec_.initCode = propagate(0.0, st);
  return rec_.initCode;
}

}  // namespace kinetra
