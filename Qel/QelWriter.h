// The Qel text writer: a record as the multi-line message (80-column lines, each beginning "<> ")
// and as the 1500-column one-line message, every field at the column the Qel reader takes it from.
// Times are UTC, rounded to the millisecond with the carry taken into minute, hour, day and year.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "Qel/QelTypes.h"

namespace qel {

constexpr size_t kQelLineWidth = 80;
// Lines of the buffers this library hands out (4000 characters), and the most a message needs.
constexpr size_t kQelBufferLines = 50;
constexpr size_t kQelMaxMessageLines = 36;
constexpr size_t kQelOneLineWidth = 1500;
constexpr size_t kQelDtgWidth = 17;

// The multi-line message into lines (a buffer of 80-column lines, blanked first). numLines (when
// given) receives the lines finished. A dimension outside 0 to 9, a time that cannot be shown, a
// value too large for its column or a buffer of fewer lines than the message needs stops the
// writing at that line with one message and gives kResultFail; otherwise kResultOk.
int32_t Qel2QelLines(const QelRecord& rec, std::span<char> lines, int32_t* numLines = nullptr);
// The multi-line message written to an open unit, one line each, trailing blanks dropped. False
// when the record gives no text (nothing is then written) or a line cannot be written.
bool Qel2Lines(const QelRecord& rec, int32_t unit);
// The one-line message (1500 columns, blanked first). A dimension outside 0 to 9, a time that
// cannot be shown or a value too large for its column (a satellite number above 99999 among them)
// gives kResultFail with one message and leaves the text blank.
int32_t Qel2Qel1Line(std::span<char, kQelOneLineWidth> text, const QelRecord& rec);

// A calendar time ready to be shown: rounded to the millisecond, carried, with month and day of
// month of its day of year.
struct ShownDate {
  int32_t year = 0;
  int32_t day = 0;  // day of year
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t millis = 0;  // milliseconds of the minute, 0 to 59999
  int32_t month = 0;   // 1 to 12
  int32_t dayOfMonth = 0;
};

// False when the date cannot be shown: seconds not finite or outside 0 to 61, hour or minute outside
// the clock, a day of year the year does not have, or a year (after the carry) outside 0 to 9999.
bool showDate(const InputDate& date, ShownDate& out);
// The 17-character date-time group "YYYYDDDHHMMSS.SSS"; false (nothing written) when the date
// cannot be shown.
bool writeDtg17(const InputDate& date, std::span<char, kQelDtgWidth> out);

}  // namespace qel
