// Pelmath's input cards: JPL_FILE, JPL_START and JPL_STOP set the JPL control record.
#pragma once

#include <string_view>

namespace pelmath {

constexpr int kPelmathCardUnit = 3;  // unit a Pelmath card file is read on

// 1 "JPL_FILE" in columns 1-8, 2 "JPL_START" in columns 1-9, 3 "JPL_STOP" in columns 1-8, else 100.
// The line is compared as given (callers upper-case it first).
int PelmathCardType(std::string_view line);
// Opens the file (the name's first 512 characters up to a NUL, trailing blanks dropped) on unit 3
// and reads its cards. The open status when it cannot be opened, else the result of
// ReadPelmathFrFileUnit.
int ReadPelmathFrFile(std::string_view fileName);
// Reads the cards of an open unit from its first line. 2 for a unit connected to a default-named
// fort.n file (refused), else 0.
int ReadPelmathFrFileUnit(int unit);

}  // namespace pelmath
