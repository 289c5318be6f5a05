// Helpers shared by the test programs: reference-data paths and trace-log checks.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "Siblings/Basalon/TraceLog.h"

namespace zktest {

// Path of a reference file under the shared data folder.
inline std::string dataPath(const std::string& name) { return std::string(ZK_DATA_DIR) + "/" + name; }

// Skips the current test with a message naming the missing reference file.
#define ZK_REQUIRE_DATA(path)                                                  \
  do {                                                                         \
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "needs reference file " << (path); \
  } while (0)

// Counts trace-log lines written between construction and a call of errors()/infos().
class LogWatch {
 public:
  LogWatch() : err0_(basalon::traceErrorCount()), info0_(basalon::traceInfoCount()) {}
  long errors() const { return basalon::traceErrorCount() - err0_; }
  long infos() const { return basalon::traceInfoCount() - info0_; }
  static std::string lastError() { return basalon::lastErrorMsg(); }
  static std::string lastInfo() { return basalon::lastInfoMsg(); }

 private:
  long err0_, info0_;
};

}  // namespace zktest
