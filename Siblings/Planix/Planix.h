// Earth and geopotential constant records, the current constant set and the catalogue setting.
#pragma once

namespace planix {

// One geopotential constant set; the field order is fixed (callers read it by position).
struct GeoConst {
  double flatLlh;               // flattening for geodetic latitude/longitude/height
  double flatGeod;              // flattening for surface geodesy
  double j2;                    // second zonal harmonic
  double ke;                    // sqrt(mu) in er^1.5/min
  double earthRadius;           // equatorial radius R, km
  double ck2;                   // J2/2, er^2
  double kmPerSecToErPerKemin;  // km/s times this is er/kemin: 60/(R ke)
  double earthRotRate;          // Earth rotation rate, rad/kemin
  double muKm;                  // gravitational parameter, km^3/s^2
};

// Constant-set codes for setGeoModel.
constexpr int kWgs72 = 72;
constexpr int kWgs84 = 84;
constexpr int kEgm96 = 96;

// Fixed records of the published models.
extern const GeoConst wgs72;
extern const GeoConst wgs84;
extern const GeoConst egm96;

// The current constant set (WGS-72 until changed); read afresh at each use.
const GeoConst& genvgeo();
// Chooses the current set by code (72, 84, 96); kResultOk, or kResultFail (no change, no line) if unknown.
int setGeoModel(int model);
int getGeoModel();
// The record of a model code, or null for an unknown code.
const GeoConst* geoconstof(int model);

// Third zonal harmonic J3 of a model code (72, 84, 96; 0 for an unknown code). The nine-field
// record does not carry J3; the second form finds the model of a record (one of the fixed records,
// or a copy of one), and gives the current model's J3 for a record of no known model.
double j3Of(int model);
double j3Of(const GeoConst& geo);

// Fundamental-catalogue setting: 4 FK4, anything else FK5 (5 by default).
int genvfk();
int getenvfk();
void setEnvFk(int fk);
// The catalogue number a setting stands for: 4 for FK4, 5 for everything else.
int getfk(int model);

}  // namespace planix
