// Trace log kept behind one mutex: lines from many threads never interleave.
#include "Siblings/Basalon/TraceLog.h"

#include <cstdio>
#include <mutex>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Result.h"

namespace basalon {
namespace {

struct LogState {
  std::mutex lock;
  std::FILE* file = nullptr;
  std::string lastError, lastInfo;
  long numErrors = 0, numInfos = 0;
};

LogState& state() {
  static LogState s;
  return s;
}

// One printable line of at most the message width: trailing blanks and NULs dropped, control
// and non-printable bytes (newlines included) shown as escapes, the rest cut.
std::string printableLine(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string line;
  for (const char ch : trimRight(text)) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x20 && b < 0x7F) {
      line += ch;
    } else if (b == '\n') {
      line += "\\n";
    } else if (b == '\r') {
      line += "\\r";
    } else if (b == '\t') {
      line += "\\t";
    } else {
      line += "\\x";
      line += kHex[b >> 4];
      line += kHex[b & 0xF];
    }
    if (line.size() >= kMsgWidth) break;
  }
  if (line.size() > kMsgWidth) line.resize(kMsgWidth);
  return line;
}

void append(std::string_view text, bool isError) {
  const std::string line = printableLine(text);
  LogState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  if (isError) {
    s.lastError = line;
    ++s.numErrors;
  } else {
    s.lastInfo = line;
    ++s.numInfos;
  }
  if (s.file != nullptr) {
    std::fprintf(s.file, "%s %s\n", isError ? "ERROR:" : "INFO: ", line.c_str());
    std::fflush(s.file);
  }
}

}  // namespace

void tracelogerror(std::string_view text) { append(text, true); }
void traceloginfo(std::string_view text) { append(text, false); }

void tracelogerror(const char* text, int length) {
  append(text != nullptr && length > 0 ? std::string_view(text, static_cast<size_t>(length)) : std::string_view(),
         true);
}

void traceloginfo(const char* text, int length) {
  append(text != nullptr && length > 0 ? std::string_view(text, static_cast<size_t>(length)) : std::string_view(),
         false);
}

int openLogFile(std::string_view fileName) {
  const std::string name(trimRight(fileName));
  if (name.empty()) return kResultFail;
  std::FILE* f = std::fopen(name.c_str(), "a");
  if (f == nullptr) return kResultFail;
  LogState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.file != nullptr) std::fclose(s.file);
  s.file = f;
  return kResultOk;
}

void closeLogFile() {
  LogState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.file != nullptr) std::fclose(s.file);
  s.file = nullptr;
}

std::string lastErrorMsg() {
  LogState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.lastError;
}

std::string lastInfoMsg() {
  LogState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.lastInfo;
}

long traceErrorCount() {
  LogState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.numErrors;
}

long traceInfoCount() {
  LogState& s = state();
  std::lock_guard<std::mutex> guard(s.lock);
  return s.numInfos;
}

}  // namespace basalon
