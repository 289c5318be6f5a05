// The failure path: printf-style messages formatted once into a message-width buffer and logged.
#include "Siblings/Basalon/Result.h"

#include <cstdarg>
#include <cstdio>

#include "Siblings/Basalon/TraceLog.h"

namespace basalon {
namespace {

// A formatted message longer than the message width is cut by the log; format a little more
// than the width so the log sees that something was cut.
constexpr size_t kFormatRoom = 4 * kMsgWidth;

std::string_view formatted(char* buf, size_t room, const char* format, va_list args) {
  const int n = std::vsnprintf(buf, room, format, args);
  if (n < 0) return {};
  return std::string_view(buf, static_cast<size_t>(n) < room ? static_cast<size_t>(n) : room - 1);
}

}  // namespace

int fail(std::string_view message) {
  tracelogerror(message);
  return kResultFail;
}

int failf(const char* format, ...) {
  char buf[kFormatRoom];
  va_list args;
  va_start(args, format);
  tracelogerror(formatted(buf, sizeof buf, format, args));
  va_end(args);
  return kResultFail;
}

void logErrorf(const char* format, ...) {
  char buf[kFormatRoom];
  va_list args;
  va_start(args, format);
  tracelogerror(formatted(buf, sizeof buf, format, args));
  va_end(args);
}

void logInfof(const char* format, ...) {
  char buf[kFormatRoom];
  va_list args;
  va_start(args, format);
  traceloginfo(formatted(buf, sizeof buf, format, args));
  va_end(args);
}

}  // namespace basalon
