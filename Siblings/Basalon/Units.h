// Units: integer numbers naming open text files, in one process-wide table. Lines are read padded or
// cut to a column count, can be stepped back and rewound; files opened for writing take whole lines.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace basalon {

// Unit numbers. fileopen takes the fixed units 1-99 that callers name themselves; fileopenmt gives
// out the units 100-999, which are reserved for it. Every other routine takes any unit of 1-999.
constexpr int kFirstUnit = 1;
constexpr int kLastFixedUnit = 99;
constexpr int kFirstMtUnit = 100;
constexpr int kLastUnit = 999;

// Open modes.
constexpr int kOpenWrite = 0;   // write a new file, replacing an existing one
constexpr int kOpenRead = 1;    // read an existing file
constexpr int kOpenAppend = 2;  // write at the end of a file, creating it when missing

// Result codes of the unit routines (fileReadLine also returns kUnitEnd at the end of the file).
constexpr int kUnitOk = 0;
constexpr int kUnitEnd = -1;
constexpr int kUnitBadNumber = 1;    // unit outside the range the routine takes
constexpr int kUnitCannotOpen = 2;   // blank or invalid name, missing file, a directory, no access
constexpr int kUnitAlreadyOpen = 3;  // the unit is already connected to a file
constexpr int kUnitNotOpen = 4;      // no file is connected to the unit
constexpr int kUnitWrongMode = 5;    // reading a unit opened for writing, or the reverse
constexpr int kUnitIoError = 6;      // the system refused a read, write or close
constexpr int kUnitBadArgument = 7;  // bad open mode or column count
constexpr int kUnitNoneFree = 8;     // fileopenmt: all units 100-999 are in use

// Longest file name taken (after trimming blanks) and widest line fileReadLine gives.
constexpr size_t kFileNameLength = 512;
constexpr int kMaxLineColumns = 65536;

// Connects a file to a fixed unit (1-99). The name's first 512 characters are used, trimmed of blanks
// and NULs. flag is the caller's card-file marker (1 from the card-file readers); it is kept with the
// unit and changes nothing else. Returns kUnitOk or one of the codes above; every failure writes one
// trace-log error line naming the file.
int fileopen(int unit, std::string_view fileName, int mode, int flag = 0);
// Connects a file to the lowest free unit of 100-999; safe from any number of threads at once (a unit
// is never given to two callers while it is open). unit is 0 and status non-zero on failure (one
// trace-log error line naming the file).
void fileopenmt(std::string_view fileName, int mode, int& unit, int& status);
// Disconnects the unit (a file being written is flushed and closed; a failing close gives
// kUnitIoError). kUnitNotOpen when nothing is connected.
int fileClose(int unit);
// A read unit goes back to its first line. kUnitWrongMode for a write unit.
int fileRewind(int unit);
// A read unit steps back one line: the next read gives the line before the current position again
// (after the end of the file, the last line). At the first line nothing changes.
int fileBackspace(int unit);
// Reads the next line into out as exactly columns characters (1 to kMaxLineColumns): blank padded or
// cut. The line end is LF or CR LF; a NUL in the line becomes a blank. Returns kUnitOk, kUnitEnd at
// the end of the file (out all blanks), or an error code (out all blanks).
int fileReadLine(int unit, int columns, std::string& out);
// The same without padding: the line as it stands, cut to columns characters (out is empty at the
// end of the file or on an error). Readers that take only some columns of long lines use it.
int fileReadLineCut(int unit, int columns, std::string& out);
// Writes text as one line of a write unit, followed by a line end. A LF, CR or NUL inside the text is
// written as a blank, so one call always writes one line.
int fileWriteLine(int unit, std::string_view text);
// Writes each text as one line, as fileWriteLine does, with one look-up of the unit for them all;
// stops at the first line that cannot be written and returns its code.
int filewritelines(int unit, std::span<const std::string_view> lines);
// True when the unit is connected to a file whose name (its last path component) is exactly "fort."
// followed by the unit number, the default name such a unit has when nobody opened it by name.
bool existfortdotfileunit(int unit);
// True when a file is connected to the unit; the connected file's name as opened (empty when none).
bool fileIsOpen(int unit);
std::string filename(int unit);
// The flag passed to fileopen for the unit (0 when none or not open).
int fileFlag(int unit);

}  // namespace basalon
