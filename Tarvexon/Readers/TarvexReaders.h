// The readers of the ephemeris formats (V31, simulated observations, vector ephemeris, ITC, ECR and
// J2K predictions, ".e", OASYS, owner/operator, LCH, EELV, ZQ universal, DCE text and binary, launch
// trajectories) and what they share: lines from a unit, comment lines, fixed and free fields, the
// read-error and default-unit messages. Points are stored in km and km/s.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Tarvexon/TarvexonTypes.h"

namespace tarvexon {

// Each reader takes the unit positioned after the line that was recognised, that line as read (not
// upper-cased), the working record (new, with its file name and label set) and sets code 0, or 2
// when the ephemeris must not be stored. Points go into the record with AddOneEPPoint; at the end
// the record's epoch is the time of its first point.
void ReadV31(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadSimObs(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadVecEph(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadITC(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadECR(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadJ2K(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
// The satellite number of ".e", OASYS and owner/operator files comes from the record's file name.
void ReadDotE(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadOASYS(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadOwner(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadLCH(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadEELV(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadZQUniversalTarvex(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadDCEText(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
void ReadLaunchFormat(int32_t unit, std::string_view line, TarvexRecord& rec, int32_t& code);
// A DCE binary file, opened by name ("\" read as "/"): big-endian records framed by 4-byte length
// markers. Any framing fault is a read error (code 2).
void ReadDCEBinary(std::string_view fileName, TarvexRecord& rec, int32_t& code);

// The date whose 0 h UTC is the epoch of launch trajectory files.
struct CalendarDate {
  int year, month, day;
};
using TodayFn = CalendarDate (*)();
// Replaces the system clock's UTC date for ReadLaunchFormat; null restores the clock.
void setLaunchFormatToday(TodayFn today);

namespace readers {

// m to km, and m/s to km/s.
constexpr double kKmPerMeter = 0.001;
// DS50 of 1970 January 0.0, the origin of DCE times (days).
constexpr double kDs50Of1970Jan0 = 7305.0;

// Lines of a read unit, cut to the ephemeris line width and never padded; one buffer reused.
class UnitLines {
 public:
  explicit UnitLines(int32_t unit) : unit_(unit) {}
  // kUnitOk with the next line, kUnitEnd at the end of the file, or the unit's error code.
  int next(std::string_view& line);
  // The same, passing over comment lines.
  int nextData(std::string_view& line);

 private:
  int32_t unit_;
  std::string buf_;
};

// "*" in column 1, or nothing but blanks and commas (an empty line too).
bool isCommentLine(std::string_view line);
// Column col (1-based), a blank beyond the line's end.
inline char columnAt(std::string_view line, size_t col) { return col <= line.size() ? line[col - 1] : ' '; }
// Columns first .. first+text.size()-1 hold text exactly (missing columns read as blanks).
bool columnsAre(std::string_view line, size_t first, std::string_view text);
// The columns first .. first+width-1 as text, missing columns as blanks (at most 64 columns).
std::string_view paddedColumns(std::string_view line, size_t first, size_t width, char (&buf)[64]);

// A real / an integer in fixed columns; false for a blank, missing or unreadable field.
bool fixedReal(std::string_view line, int first, int width, double& value);
bool fixedInt(std::string_view line, int first, int width, int32_t& value);
// DS50 UTC of the date-time group in the given columns (<= 0 when it does not read).
double dtgColumns(std::string_view line, int first, int width);

// Outcome of a list-directed read of reals (separated by blanks, tabs or commas, any width).
enum class FreeRead { kOk, kTooFew, kBad };
// Reads n reals from text (further values are left unread).
FreeRead readFreeReals(std::string_view text, double* out, size_t n);
// The text from column col on (empty when the line is shorter).
inline std::string_view fromColumn(std::string_view line, size_t col) {
  return col <= line.size() ? line.substr(col - 1) : std::string_view();
}

// "*** <reader>: File read error. ***"; returns the failure code.
int32_t fileReadError(std::string_view readerName);
// True (code 2, "<reader>: Using fort.n not allowed in Zenkora due to security risk") when the unit
// is connected to a default-named file.
bool refusesDefaultUnit(int32_t unit, std::string_view readerName, int32_t& code);
// A point of time t, position and velocity (km, km/s), no covariance, appended to the record.
void addPoint(TarvexRecord& rec, double t, const double pos[3], const double vel[3], int32_t revNum = 0);
// The header line shared by simulated-observation and vector-ephemeris files: ke (columns 1-22),
// the Earth radius in km (23-44), the epoch (date-time group in 46-60). False when ke or the radius
// does not read as a positive number.
bool readSpHeader(std::string_view line, TarvexRecord& rec);
// Sets the record's epoch to its first point's time (when it has points).
void settleEpoch(TarvexRecord& rec);
// The end of a reader's line loop with the unit's last code rc: a read error (anything but the end
// of the file) gives the reader's "File read error" and code 2; otherwise the epoch is settled.
void endOfReading(int rc, std::string_view readerName, TarvexRecord& rec, int32_t& code);
// Satellite number of a file name: the first five characters after the last "/" or "\" (fewer when
// the name is shorter) as an integer; 99999 when they are not one.
int32_t satNumFromFileName(std::string_view fileName);
// Text contains the lower-case word, letters compared without regard to case.
bool containsNoCase(std::string_view text, std::string_view lowerWord);
// Text with leading blanks and tabs removed.
std::string_view leftAdjusted(std::string_view text);

}  // namespace readers
}  // namespace tarvexon
