// Flat exports of the Chronel stand-in: host buffers in, library-level routines called.
#include <string>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Chronel/Chronel.h"
#include "include/Chronel.h"

namespace {

constexpr size_t kDtgLength = 20;
constexpr size_t kFileNameLength = 512;

}  // namespace

int32_t ChronelInit(int64_t /*apPtr*/) { return 0; }

void ChronelGetInfo(char infoStr[128]) { basalon::getsoftwareinfo("Chronel", infoStr); }

double ChronelDTGToUTC(const char dtg[20]) {
  if (dtg == nullptr) return 0.0;
  return chronel::dtg2ds50utc(basalon::chararrtostr(dtg, kDtgLength));
}

void ChronelUTCToDTG20(double ds50UTC, char dtg20[20]) {
  basalon::strtochararr(chronel::ds50todate20(ds50UTC), dtg20, kDtgLength);
}

void ChronelUTCToDTG17(double ds50UTC, char dtg17[20]) {
  basalon::strtochararr(chronel::ds50toyydate15(ds50UTC), dtg17, kDtgLength);
}

void ChronelUTCToDTG15(double ds50UTC, char dtg15[20]) {
  basalon::strtochararr(chronel::ds50todate15(ds50UTC), dtg15, kDtgLength);
}

double ChronelUTCToTAI(double ds50UTC) { return chronel::utc2tai(ds50UTC); }
double ChronelTAIToUTC(double ds50TAI) { return chronel::tai2utc(ds50TAI); }
double ChronelUTCToUT1(double ds50UTC) { return chronel::utc2ut1(ds50UTC); }

double ChronelThetaGrnwch(double ds50UT1, int32_t fk) { return chronel::getthgr(ds50UT1, fk); }

int32_t ChronelLoadTimeConstFile(const char fileName[512]) {
  if (fileName == nullptr) return chronel::loadtconfile("");
  const std::string name = basalon::chararrtostr(fileName, kFileNameLength);
  return chronel::loadtconfile(basalon::trim(name));
}

void ChronelGetTimeConsts(double ds50UTC, double tconst[6]) {
  if (tconst == nullptr) return;
  chronel::gettconst(ds50UTC, tconst);
}
