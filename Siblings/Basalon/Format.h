// Formatted numbers shared by every reader and writer of the family: Iw, Iw.m, Fw.d and Ew.d fields
// written right-justified into caller buffers, and integer / real fields read from fixed columns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace basalon {

// Widest field the writers accept; a wider field is filled with '*'.
constexpr int kMaxFieldWidth = 256;

// Writers. Each writes exactly w characters into out (no terminator) and returns true when the value
// fits; otherwise the w characters are all '*' and the result is false. w <= 0 writes nothing and
// returns false. No allocation, no locale.
//
// Rules (those of a Fortran formatted write with no scale factor and no plus signs):
// - Rounding is half away from zero on the exact decimal value of the double: 0.125 in F5.2 is
//   " 0.13" (0.125 is exact in binary), 2.675 in F5.2 is " 2.67" (the double is 2.67499999...).
// - A value that rounds to zero is written without a minus sign (-0.001 in F5.2 is " 0.00"; -0.0 in
//   E13.6 is " 0.000000E+00"), so every field holding zero reads the same.
// - Fw.d writes a zero integer part as "0" when the field has room and drops it otherwise
//   (0.5 in F3.2 is ".50", -0.5 in F4.2 is "-.50"); Fw.0 ends with the decimal point ("   3.").
// - Ew.d writes "0.", d digits, "E", the exponent sign and two digits; the leading 0 is dropped when
//   the field has no room for it (-1.5 in E12.6 is "-.150000E+01"). A decimal exponent beyond +-99
//   does not fit the two-digit form and fills the field with '*' (the readers take only exponents
//   with a letter). d must be at least 1.
// - NaN and infinities fill the field with '*'.
bool writeI(char* out, int w, int64_t value);
// Iw.m: at least m digits, zero padded ("-05" for -5 in I3.2); m > w fills with '*'; m = 0 and a zero
// value give w blanks.
bool writeIm(char* out, int w, int m, int64_t value);
bool writeF(char* out, int w, int d, double value);
bool writeE(char* out, int w, int d, double value);
// The integer in minimal width (as many columns as the digits and sign need); out holds at least
// 20 characters. Returns the number of characters written.
int writeI0(char* out, int64_t value);

namespace detail {
// writeF and writeE through the decimal text of the double only (the general path the writers fall
// back to where the 128-bit integer path cannot answer); for tests comparing the two.
bool writefText(char* out, int w, int d, double value);
bool writeeText(char* out, int w, int d, double value);
}  // namespace detail

// The same as strings of w characters ('*' filled when the value does not fit).
std::string formatI(int64_t value, int w);
std::string formatIm(int64_t value, int w, int m);
std::string formatF(double value, int w, int d);
std::string formatE(double value, int w, int d);
std::string formatI0(int64_t value);

// Result codes of the field readers.
constexpr int kFieldOk = 0;
constexpr int kFieldBad = 2;  // not a number, a number out of range, or bad columns

// The columns first .. first+width-1 (1-based) of a line; columns beyond the line's end are absent
// from the view (they read as blanks). Empty for width <= 0 or first < 1.
std::string_view fieldColumns(std::string_view line, int first, int width);

// Reading a field: blanks (and NULs) anywhere in it are ignored; an all-blank field reads as 0 with
// blank set true. An integer is an optional sign and digits. A real is an optional sign, digits with
// at most one decimal point (a real without a point is taken as written, "25" is 25.0), and an
// optional exponent of E, e, D or d, an optional sign and digits. An exponent without a letter
// ("12345-3") is not accepted. Anything else gives kFieldBad with value 0. Reals that overflow are
// bad; reals that underflow read as 0.
int parseInt(std::string_view text, int64_t& value, bool* blank = nullptr);
int parseReal(std::string_view text, double& value, bool* blank = nullptr);

// The same for the field at columns first .. first+width-1 of a line. A first column below 1 or a
// negative width gives kFieldBad. The int32 form also fails for values outside int32.
int readIntField(std::string_view line, int first, int width, int64_t& value, bool* blank = nullptr);
int readIntField(std::string_view line, int first, int width, int32_t& value, bool* blank = nullptr);
int readRealField(std::string_view line, int first, int width, double& value, bool* blank = nullptr);

}  // namespace basalon
