// JPL development ephemeris (DE series) in its published text form: the control, parameter and
// buffer records, the header and coefficient-record reader, and the Chebyshev evaluation of the
// Earth-Moon barycentre, Moon, Sun, planets and nutations. Positions in km, J2000 frame of the file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Pelmath/PelmathTypes.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Chronel/Chronel.h"

namespace pelmath {

constexpr int kJplUnit = 49;         // unit the JPL file is read on
constexpr int kJplLineColumns = 80;  // header and record lines are read as 80 columns
constexpr int kJplItems = 13;        // items of group 1050
constexpr double kJplDefaultStop = 36525.0;

// Item (body) numbers of group 1050.
enum JplItem : int {
  kJplMercury = 1,
  kJplVenus = 2,
  kJplEmb = 3,  // Earth-Moon barycentre
  kJplMars = 4,
  kJplJupiter = 5,
  kJplSaturn = 6,
  kJplUranus = 7,
  kJplNeptune = 8,
  kJplPluto = 9,
  kJplMoon = 10,  // geocentric
  kJplSun = 11,
  kJplNutations = 12,   // 2 components: nutation in longitude and in obliquity (rad)
  kJplLibrations = 13,  // 3 components (rad); absent when its start location is 0
};

// Control record: the file and the DS50 span to load.
struct Jplcontrol {
  double startTime = 0.0;
  double stopTime = kJplDefaultStop;
  basalon::FixedText<512> fileName;
  int32_t loaded = 0;  // 1 once a file was loaded successfully
};

// One entry of the header constant table (groups 1040/1041).
struct Jplparameter {
  basalon::FixedText<6> name;
  double value = 0.0;
};

// The loaded ephemeris.
struct Jplbuffer {
  int32_t denum = 0;
  int32_t ncoeff = 0;                     // doubles per coefficient record
  std::array<int32_t, kJplItems> ipt{};   // 1-based index in a record of each item's first coefficient
  std::array<int32_t, kJplItems> ncf{};   // coefficients per component
  std::array<int32_t, kJplItems> nsub{};  // sub-intervals per record
  std::array<basalon::FixedText<80>, 3> titles;
  basalon::FixedText<512> fileName;
  double startJD = 0.0, endJD = 0.0, interval = 0.0;  // group 1030; interval in days
  double emrat = 0.0;                                 // Earth/Moon mass ratio
  double au = 0.0;                                    // km
  std::array<double, 10> gm{};                        // GM1, GM2, GMB, GM4 ... GM9, GMS in km^3/s^2
  chronel::SplitTime bufStart, bufEnd;                // span loaded (DS50 of the records' TDB JDs)
  std::vector<Jplparameter> constants;
  std::vector<double> coeff;  // ncoeff doubles per loaded block, block after block
  int32_t firstBlock = 0;     // block number (from the file start) of the first loaded block
  int32_t numBlocks = 0;      // blocks loaded
  double ds50EpochJD = chronel::kJulianDateAtDs50Zero;
  double secPerDay = 86400.0;
  double notFound = 1.7976931348623157e+308;
};

// The process-wide records (not locked: loading and requests must not run in several threads).
extern Jplcontrol jplctrl;
extern Jplbuffer jplbuf;

// Next line that is not all blank, upper-cased. 0, 1 at the end of the file (line blank), 2 on a
// read error (logged, file closed).
int getnextnonblank(std::string& line);
// Opens the control record's file on unit 49 and parses the header groups into jplbuf; the file
// stays open for jplcoeff. 0, 2, or the open status.
int jplheader();
// Reads the coefficient records covering the control span into the buffer. 0 or 2.
int jplcoeff();
// Releases any loaded data, parses the header and loads the records. 0, 2 or the open status.
int buildjpl();
// Releases the constant table and coefficient buffer, restores the buffer record's defaults and
// closes the file.
void resetjplbuf();
// Value of the header constant of that name (upper-cased, cut or padded to 6), else the not-found value.
double jpl_value(std::string_view name);

// Chebyshev series of ncomp components with nc coefficients each (component after component) at
// x in [-1, 1]. When rate is given it receives the derivative times rateScale.
void chebyshev(const double* coef, int nc, int ncomp, double x, double* value, double* rate = nullptr,
               double rateScale = 1.0);
// One item at the split time t (TT/TDB as DS50, split): position (km; rad for items 12 and 13) and,
// when asked, rate per second. Item 12 fills two components. An absent item gives zeros.
void ephem_point(const chronel::SplitTime& t, int item, double value[3], double rate[3] = nullptr);

// Geocentric Moon and Sun (km, J2000) at a split TAI time, loading the file first when needed.
// planetFlags[i] (item i+1) asks for planets[i] relative to the Earth; nutations gets item 12.
// 0, or 2 (or a load status) with the message in the trace log.
int jpl_ephem(const chronel::SplitTime& tai, Vec3& moon, Vec3& sun, const int* planetFlags = nullptr,
              Vec3* planets = nullptr, double* nutations = nullptr);

// Geocentric Sun and Moon (km) in the true equator and equinox of date at a DS50 UTC time: the
// J2000 vectors of jpl_ephem rotated by the IAU 1976/1980 matrix (106 terms) at the TAI time.
// Outputs zero on failure; 0, or the status of jpl_ephem.
int jplSunMoonOfDate(double ds50UTC, Vec3& sun, Vec3& moon);

// Control record operations behind the exports.
void jplSetParameters(std::string_view fileName, double startDs50, double stopDs50);
void jplReset();

}  // namespace pelmath
