// The Qel text reader: the four text forms of a message (multi-line, short multi-line, concatenated,
// one-line) parsed into records, and whole files and units loaded into the Qel store with counts.
// Values keep the record's units (km, km/s, s); the UT1 rate is read in ms/day and held in s/day.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "Qel/QelTypes.h"
#include "Siblings/Basalon/LineSource.h"

namespace qel {

// Card types of a line of a Qel file.
constexpr int32_t kQelCardMultiLine = 1;  // "<> SP VEC": first line of a multi-line message
constexpr int32_t kQelCardOneLine = 2;    // a one-line message
constexpr int32_t kQelCardInputFile = 3;  // a card naming another file to load
constexpr int32_t kQelCardShortForm = 4;  // "SATELLITE NUMBER:": first line of a short message
constexpr int32_t kQelCardDmaOn = 5;      // "ZQ_DMA_ON": DMA keys from here on
constexpr int32_t kQelCardNone = 100;     // not a Qel card

// Columns read from a unit per line, and the width of the one-line form.
constexpr int kQelReadColumns = 1500;
// Lines and columns of the split of a concatenated message.
constexpr size_t kConcatMaxLines = 40;
constexpr size_t kConcatLineWidth = 512;
// Messages of fewer lines are not multi-line messages.
constexpr int32_t kMinMessageLines = 27;

using ConcatLines = std::span<char, kConcatMaxLines * kConcatLineWidth>;

// The card type of a line. Labels are compared without regard to case, so the line need not be an
// upper-cased copy.
int32_t QelCardType(std::string_view line);

// A multi-line message from `lines`, a buffer of lines of lineLength characters each (the first is
// line 1 of the message; lines beyond the buffer read as blank). errCode 2 with one message on the
// first line whose label is missing or whose fields do not read; the values are not validated.
void MultiLine2Qel(QelRecord& rec, std::string_view lines, size_t lineLength);
// A one-line message (its first 1500 columns; missing columns read as blank), then validated:
// errCode is the validation code, or 2 with one message when a field does not read.
void Qel1Line2Qel(QelRecord& rec, std::string_view text);
// Splits a concatenated message at every "<>" into lines of 512 characters (blanked first, NULs of
// the text read as blanks; the text itself is never written). numLines is 0 when the text holds no
// "<>"; more than 40 segments keep the first 40 with one information line.
void Concatenated2MultiLine(std::string_view text, int32_t& numLines, ConcatLines lines);
// A record from a one-line or concatenated message; errCode 2 with one message when it cannot be read.
void AnyQelStrings2Qel(QelRecord& rec, std::string_view text);
// A one-line message as multi-line text (80-column lines, blanked first). numLines is left 0.
// kResultFail (lines blank) when the message does not read or its record cannot be written.
int32_t Qel1Line2QelLines(std::string_view oneLine, std::span<char> lines, int32_t& numLines);

// Reads and drops n lines of a read unit; stops early at the end or on a read error.
void SkipLines(int32_t unit, int32_t n);
// The message whose first line (card type 1 or 4) was just read from the unit: the unit steps back
// one line and reads the message from there. code 0, or 2 with one message; a parsed message is
// validated and the validation code becomes code (and errCode).
void ReadQelFrFileUnit(int32_t unit, QelRecord& rec, int32_t& code);
// Loads every message from the unit's current line to its end into the store, with the maneuver
// card lines that follow each loaded message; counts grow by the messages loaded, duplicated and
// bad. code is that of the last multi-line message parsed (0 when none failed), or 2 when the unit
// is refused or cannot be read. Serialised by the reader lock, taken before the store's writer lock.
void ReadOnlyQels(int32_t unit, basalon::LoadCounts& counts, int32_t& code);
// Loads a card file on an open unit: first the files named by input-file cards and the DMA switch,
// then the unit's own messages; logs the count line. Returns 0, 2 when a message or a referenced
// file failed, or the open code of a referenced file that cannot be opened. counts (when given)
// receives the counts of the count line.
int32_t ReadQelsFrFileUnit(int32_t unit, basalon::LoadCounts* counts = nullptr);
// The same for a named file (first 512 characters of the name); its open code when it cannot be opened.
int32_t ReadQelsFrFile(std::string_view fileName, basalon::LoadCounts* counts = nullptr);

}  // namespace qel
