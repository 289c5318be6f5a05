// Reader of one two-line element set from its (optional name line and) two lines, and the
// writer of the two lines back exactly as they were read.
#pragma once

#include <string>
#include <string_view>

#include "Siblings/Lineset/TleRecord.h"

namespace lineset {

// Result codes of parseTle (0 is success).
enum TleReadCode : int {
  kTleOk = 0,
  kTleBlankLine = 1,       // a line is empty, all blanks or contains NULs only
  kTleShortLine = 2,       // fewer than 69 columns once the line end and trailing blanks are dropped
  kTleLineNumber = 3,      // column 1 is not "1" / "2", or column 2 is not blank
  kTleChecksum = 4,        // column 69 does not match the modulo-10 sum of columns 1-68
  kTleBadField = 5,        // a numeric field holds something other than a number
  kTleSatNumMismatch = 6,  // the two lines carry different satellite numbers
  kTleBadEltType = 7,      // column 63 of line 1 names no known element type
  kTleBadValue = 8,        // a field reads but its value is impossible (day of year, mean motion)
};

struct TleReadOptions {
  // Made-up test element sets may carry wrong checksums; only such callers turn this off.
  bool verifyChecksum = true;
};

// Reads one element set. The lines may end in CR LF or LF and may carry text after column 69.
// Returns 0 and fills `out`, or a TleReadCode with `message` saying what is wrong (out cleared).
int parseTle(std::string_view name, std::string_view line1, std::string_view line2, TleRecord& out,
             std::string& message, const TleReadOptions& options = {});

// The modulo-10 checksum of columns 1-68 (digits count their value, '-' counts 1); -1 when the
// line is shorter than 68 columns.
int tleChecksum(std::string_view line);

// Writes the element set back as the two lines it was read from.
void writeTle(const TleRecord& rec, std::string& line1, std::string& line2);

}  // namespace lineset
