// Inside the Qel reader: the line-by-line parse of a multi-line message, shared by the reader of
// caller lines (MultiLine2Qel) and the reader of open units (ReadQelFrFileUnit).
#pragma once

#include <cstdint>
#include <string_view>

#include "Qel/QelTypes.h"

namespace qel::reader {

// The full form has the J2000, Earth-fixed, sigma and covariance lines; the short form (files
// only) has none of them.
enum class MessageShape { kFull, kShort };
// Who reads the message: the prefix of its messages and the texts of its covariance failures.
enum class MessageOrigin { kCallerLines, kUnit };

// Supplies the lines of one message in order, each as a multi-line line (beginning "<> ").
class MessageLineSource {
 public:
  virtual ~MessageLineSource() = default;
  // The next line; false when no line can be read.
  virtual bool next(std::string_view& line) = 0;
};

// Reads one message from src into rec. For the full form the source starts at line 2 (the header
// has been taken); for the short form at the satellite number line. Returns kResultOk, or
// kResultFail after logging the message of the first line that failed (fields read before it stay
// in rec). The values are not validated.
int32_t parseMessage(QelRecord& rec, MessageShape shape, MessageOrigin origin, MessageLineSource& src);

// True when the columns from `first` (1-based) hold label, letters compared without regard to case.
bool labelAt(std::string_view line, size_t first, std::string_view label);
// True for a line the file readers skip: blank (blanks and NULs only) or beginning "*".
bool isSkippedLine(std::string_view line);

}  // namespace qel::reader
