// Result codes and text widths shared by every library, and the one failure path: a failure
// writes exactly one trace-log line (cut to the message width by the log) and returns its code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace basalon {

// Codes an export returns.
inline constexpr int kResultOk = 0;
inline constexpr int kResultFail = 2;
// The satKey an add returns on failure (0 is a reported duplicate).
inline constexpr int64_t kKeyFail = -1;

// Widths of the host's fixed-length text buffers.
inline constexpr size_t kMsgWidth = 128;       // messages and labels
inline constexpr size_t kTextWidth = 512;      // file names, field values, string arrays
inline constexpr size_t kFileNameWidth = 512;  // file names
inline constexpr size_t kSatNameWidth = 8;     // satellite names
inline constexpr size_t kDtgWidth = 20;        // date-time groups

// Writes one error line and returns kResultFail.
int fail(std::string_view message);
// The same with a printf-style message.
int failf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes one error line with a printf-style message; for paths that return something else.
void logErrorf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes one information line with a printf-style message.
void logInfof(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace basalon
