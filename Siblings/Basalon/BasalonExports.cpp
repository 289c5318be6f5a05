// Host-facing exports of the trace log and the key modes.
#include <Basalon.h>

#include "Siblings/Basalon/HostBuffers.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/TraceLog.h"

using namespace basalon;

int32_t BasalonOpenLogFile(const char fileName[512]) {
  if (!nonNull("BasalonOpenLogFile", fileName)) return kResultFail;
  const std::string name = hostText(fileName, kFileNameWidth);
  if (openLogFile(name) != kResultOk)
    return failf("BasalonOpenLogFile: Unable to open log file '%s'", name.c_str());
  return kResultOk;
}

void BasalonCloseLogFile(void) { closeLogFile(); }

void BasalonLogError(const char msg[128]) {
  if (nonNull("BasalonLogError", msg)) tracelogerror(msg, static_cast<int>(kMsgWidth));
}
void BasalonLogInfo(const char msg[128]) {
  if (nonNull("BasalonLogInfo", msg)) traceloginfo(msg, static_cast<int>(kMsgWidth));
}

void BasalonGetLastErrMsg(char msg[128]) {
  if (nonNull("BasalonGetLastErrMsg", msg)) strtochararr(lastErrorMsg(), msg, kMsgWidth);
}
void BasalonGetLastInfoMsg(char msg[128]) {
  if (nonNull("BasalonGetLastInfoMsg", msg)) strtochararr(lastInfoMsg(), msg, kMsgWidth);
}

void BasalonSetElsetKeyMode(int32_t mode) { elsetkeymodeset(mode); }
int32_t BasalonGetElsetKeyMode(void) { return elsetkeymodeget(); }
void BasalonSetAllKeyMode(int32_t useAll, int32_t mode) {
  useAllKeyModeSet(useAll);
  allKeyModeSet(mode);
}
int32_t BasalonGetAllKeyMode(void) { return allkeymodeget(); }
void BasalonSetDupKeyMode(int32_t mode) { dupKeyModeSet(mode); }
int32_t BasalonGetDupKeyMode(void) { return dupkeymodeget(); }
