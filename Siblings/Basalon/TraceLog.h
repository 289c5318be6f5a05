// Trace log: one line per error or notice, appended to the host's log file when one is open.
// The last error and information lines are kept so hosts and tests can read them back.
#pragma once

#include <string>
#include <string_view>

namespace basalon {

// Appends one error line: trailing blanks and NULs dropped, control and non-printable bytes
// shown as escapes (\n, \x1B), cut to the message width. Never fails.
void tracelogerror(std::string_view text);
void tracelogerror(const char* text, int length);
// Appends one information line.
void traceloginfo(std::string_view text);
void traceloginfo(const char* text, int length);

// Opens (appending) the log file; kResultOk, or kResultFail (no line written) when it cannot be opened.
int openLogFile(std::string_view fileName);
// Closes the log file if one is open.
void closeLogFile();

// The last lines written (empty before the first one), and how many were written so far.
std::string lastErrorMsg();
std::string lastInfoMsg();
long traceErrorCount();
long traceInfoCount();

}  // namespace basalon
