// Text services: case conversion, blank and NUL handling, numbers from text, substring replacement,
// the value of a keyword card, a real written into a field of given width, and the key sort.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace basalon {

// ASCII case-converted copies (other bytes unchanged).
std::string touppercase(std::string_view text);
std::string tolowercase(std::string_view text);
// True when every character is a blank or a NUL (also for empty text).
bool isblankornull(std::string_view text);
// In place: every NUL becomes a blank / every blank becomes the character '0'.
void nulltospace(char* text, size_t length);
void nulltospace(std::string& text);
void blanktozerochar(char* text, size_t length);
void blanktozerochar(std::string& text);

// Value given by strtoint / strtoreal for text that is not a number; readers test for it.
constexpr int32_t kNotANumber = -123;

// The number written in a text field, leading and trailing blanks (and NULs) ignored. An integer is
// an optional sign and digits within int32; a real is read as a formatted real field (see Format.h:
// decimal point optional, exponent letter E or D). Blank text, inner blanks ("12 34") and anything else
// are not numbers: false, and value kNotANumber.
bool strtoint(std::string_view text, int32_t& value);
bool strtoreal(std::string_view text, double& value);
// The same, returning the value (kNotANumber when the text is not a number).
int32_t strtoint(std::string_view text);
double strtoreal(std::string_view text);

// text with every occurrence of from replaced by to, scanning left to right without re-scanning
// replaced text; an empty from changes nothing. Used to turn back-slashes of a file name into slashes.
std::string replacestring(std::string_view text, std::string_view from, std::string_view to);

// A real written right-justified into width columns (1 to 64) as precisely as the field allows: fixed
// point with as many decimals as fit (90.5 in 15 columns is "90.500000000000"). When fixed point cannot
// hold the value, or shows fewer significant digits of a non-zero value than Ew.(width-7) would (at
// most 8 are asked for), Ew.(width-7) is written instead (1.234e-10 in 15 columns is
// " 0.12340000E-09"). Returns false, the field filled with '*', when neither fits (or for NaN and
// infinities). Writes exactly width characters, no terminator.
bool fx0toax(double value, int width, char* out);
std::string fx0toax(double value, int width);

// Keyword cards: "KEYWORD = value" or "KEYWORD value". The value is the text after the first "=";
// without "=", the text after the first blank that follows the keyword (the first run of non-blanks).
// Leading and trailing blanks and NULs are dropped; no value gives an empty string.
std::string getinputstr(std::string_view card);
// The value as a file name: the same, cut to its first 512 characters (and trimmed again).
std::string getinputfilename(std::string_view card);

// Length of one sort string of quicksortiterative.
constexpr size_t kSortStringLength = 32;
using SortString = std::array<char, kSortStringLength>;

// Sorts n = strs.size() strings ascending in byte order and applies the same permutation to keys
// (keys.size() must equal n; otherwise nothing is done). Equal strings end up ordered by ascending key,
// so the result does not depend on the input order. Iterative quicksort (median of three, explicit stack
// of bounded depth, insertion sort for short runs); no allocation.
void quicksortiterative(std::span<SortString> strs, std::span<int64_t> keys);
// The same on n strings laid end to end, 32 characters each (strs holds 32*n characters).
void quicksortiterative(char* strs, int64_t* keys, int n);

}  // namespace basalon
