// Flat exports of the Chronel stand-in: host buffers in, library-level routines called.
// A time that is not finite or lies beyond the calendar's span (|DS50| > 3e6 days, about year 10000)
// is refused with one trace-log line: exports with a code return it, exports returning a time or an
// angle return NaN, and void exports write nothing.
#include <cmath>
#include <limits>
#include <string>

#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/SoftwareInfo.h"
#include "Siblings/Chronel/Chronel.h"
#include "include/Chronel.h"

using basalon::kResultFail;

namespace {

// Widest DS50 span a time may have at the exports (the calendar's own limit).
constexpr double kMaxAbsDs50 = 3.0e6;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// True for a usable DS50 time; otherwise one trace-log line naming the export.
bool usableTime(const char* exportName, double ds50) {
  if (!basalon::allFinite(exportName, {ds50})) return false;
  if (std::fabs(ds50) > kMaxAbsDs50) {
    basalon::logErrorf("%s: time %g days out of range (|DS50| <= 3e6)", exportName, ds50);
    return false;
  }
  return true;
}

// A date-time group of one of the written forms into the host's 20 characters; a time beyond year
// 9999 comes back as '*' from the writer and is reported.
void groupToHost(const char* exportName, double ds50UTC, char* dtg, std::string (*writer)(double)) {
  if (!basalon::nonNull(exportName, dtg) || !usableTime(exportName, ds50UTC)) return;
  const std::string text = writer(ds50UTC);
  if (!text.empty() && text[0] == '*')
    basalon::logErrorf("%s: time %g cannot be written", exportName, ds50UTC);
  basalon::strtochararr(text, dtg, basalon::kDtgWidth);
}

}  // namespace

int32_t ChronelInit(int64_t /*apPtr*/) { return 0; }

void ChronelGetInfo(char infoStr[128]) {
  if (basalon::nonNull("ChronelGetInfo", infoStr)) basalon::getsoftwareinfo("Chronel", infoStr);
}

double ChronelDTGToUTC(const char dtg[20]) {
  if (!basalon::nonNull("ChronelDTGToUTC", dtg)) return 0.0;
  const std::string text = basalon::chararrtostr(dtg, basalon::kDtgWidth);
  const double ds50 = chronel::dtg2ds50utc(text);
  // Times up to 1950 January 0.0 share the failure value with unreadable text.
  if (ds50 <= 0.0)
    basalon::logErrorf("ChronelDTGToUTC: '%s' is not a readable date-time group after 1950", text.c_str());
  return ds50;
}

void ChronelUTCToDTG20(double ds50UTC, char dtg20[20]) {
  groupToHost("ChronelUTCToDTG20", ds50UTC, dtg20, chronel::ds50ToDate20);
}

void ChronelUTCToDTG17(double ds50UTC, char dtg17[20]) {
  groupToHost("ChronelUTCToDTG17", ds50UTC, dtg17, chronel::ds50toyydate15);
}

void ChronelUTCToDTG15(double ds50UTC, char dtg15[20]) {
  groupToHost("ChronelUTCToDTG15", ds50UTC, dtg15, chronel::ds50todate15);
}

double ChronelUTCToTAI(double ds50UTC) {
  return usableTime("ChronelUTCToTAI", ds50UTC) ? chronel::utc2tai(ds50UTC) : kNaN;
}
double ChronelTAIToUTC(double ds50TAI) {
  return usableTime("ChronelTAIToUTC", ds50TAI) ? chronel::tai2utc(ds50TAI) : kNaN;
}
double ChronelUTCToUT1(double ds50UTC) {
  return usableTime("ChronelUTCToUT1", ds50UTC) ? chronel::utc2ut1(ds50UTC) : kNaN;
}

double ChronelThetaGrnwch(double ds50UT1, int32_t fk) {
  return usableTime("ChronelThetaGrnwch", ds50UT1) ? chronel::getthgr(ds50UT1, fk) : kNaN;
}

int32_t ChronelLoadTimeConstFile(const char fileName[512]) {
  if (!basalon::nonNull("ChronelLoadTimeConstFile", fileName)) return kResultFail;
  return chronel::loadTimeConstFile(basalon::hostText(fileName, basalon::kFileNameWidth));
}

void ChronelGetTimeConsts(double ds50UTC, double tconst[6]) {
  if (!basalon::nonNull("ChronelGetTimeConsts", tconst) || !usableTime("ChronelGetTimeConsts", ds50UTC))
    return;
  chronel::gettconst(ds50UTC, tconst);
}
