// Glue between the Qel exports' host buffers and the Qel library routines: the documented buffer
// lengths, text in and out of blank-padded buffers, the two arrays of the array form, and the
// refusal of null pointers and non-finite numbers (one trace-log line naming the export).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "Qel/QelFields.h"
#include "Qel/QelWriter.h"
#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Result.h"

namespace qeldll {

// Documented lengths of the host's buffers (characters, or doubles for the double array).
constexpr size_t kTextLength =
    qel::kQelBufferLines * qel::kQelLineWidth;            // 4000: message text, 50 lines of 80
constexpr size_t kOneLineLength = qel::kQelOneLineWidth;  // 1500: one-line message
constexpr size_t kArrayLength = qel::kQelArrayLength;     // 512: string and double arrays
constexpr size_t kValueLength = basalon::kTextWidth;      // 512: one field value
constexpr size_t kEpochTextLength = basalon::kDtgWidth;   // 20: epoch text of a key
constexpr size_t kDtg17Length = qel::kQelDtgWidth;        // 17: "YYYYDDDHHMMSS.SSS"

// Slots of the double array that carry a field: 0 to 48, and the packed covariance at 100 to 144.
// The free slots between and after them are never read, so what a host leaves there is no input.
constexpr size_t kScalarSlots = 49;

// A host text buffer of `length` characters as it stands (NULs read as blanks, nothing trimmed).
inline std::string hostBuffer(const char* buf, size_t length) { return basalon::chararrtostr(buf, length); }

// A host file name: read to its first NUL, trimmed of blanks on both sides.
inline std::string hostFileName(const char* buf) {
  return std::string(basalon::trim(basalon::hostText(buf, basalon::kFileNameWidth)));
}

// Fills an output text buffer with blanks / copies text into it, cut or blank padded.
inline void blankOut(char* buf, size_t length) { std::fill_n(buf, length, ' '); }
inline void textOut(std::string_view text, char* buf, size_t length) {
  basalon::strtochararr(text, buf, length);
}

inline qel::QelConstChars charsIn(const char* buf) { return qel::QelConstChars(buf, kArrayLength); }
inline qel::QelChars charsOut(char* buf) { return qel::QelChars(buf, kArrayLength); }
inline qel::QelConstDoubles doublesIn(const double* buf) { return qel::QelConstDoubles(buf, kArrayLength); }
inline qel::QelDoubles doublesOut(double* buf) { return qel::QelDoubles(buf, kArrayLength); }
inline std::span<char> linesOut(char* buf) { return std::span<char>(buf, kTextLength); }
inline std::span<char, kOneLineLength> oneLineOut(char* buf) {
  return std::span<char, kOneLineLength>(buf, kOneLineLength);
}

// True when every slot of the double array that carries a field is finite; otherwise one line
// "<exportName>: input is NaN or infinite" and false.
inline bool arrayFinite(const char* exportName, const double* doubles) {
  return basalon::allFinite(exportName, doubles, kScalarSlots) &&
         basalon::allFinite(exportName, doubles + qel::kQelCovSlot, qel::kQelPackedCovLength);
}

}  // namespace qeldll
