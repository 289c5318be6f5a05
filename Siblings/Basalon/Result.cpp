// The failure path: printf-style messages formatted once into a message-width buffer and logged.
#include "Siblings/Basalon/Result.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "Siblings/Basalon/TraceLog.h"

namespace basalon {
namespace {

// A formatted message longer than the message width is cut by the log; format a little more
// than the width so the log sees that something was cut.
constexpr size_t kFormatRoom = 4 * kMsgWidth;

enum class LineKind { kError, kInfo };

void logFormatted(LineKind kind, const char* format, va_list args) {
  char buf[kFormatRoom];
  const int n = std::vsnprintf(buf, sizeof buf, format, args);
  const std::string_view line(buf, n < 0 ? 0 : std::min(static_cast<size_t>(n), sizeof buf - 1));
  if (kind == LineKind::kError)
    tracelogerror(line);
  else
    traceloginfo(line);
}

}  // namespace

int fail(std::string_view message) {
  tracelogerror(message);
  return kResultFail;
}

int failf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  logFormatted(LineKind::kError, format, args);
  va_end(args);
  return kResultFail;
}

void logErrorf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  logFormatted(LineKind::kError, format, args);
  va_end(args);
}

void logInfof(const char* format, ...) {
  va_list args;
  va_start(args, format);
  logFormatted(LineKind::kInfo, format, args);
  va_end(args);
}

}  // namespace basalon
