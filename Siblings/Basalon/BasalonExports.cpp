// Host-facing exports of the trace log and the key modes.
#include <Basalon.h>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/TraceLog.h"

using namespace basalon;

int32_t BasalonOpenLogFile(const char fileName[512]) {
  if (fileName == nullptr) return 2;
  return openlogfile(std::string_view(fileName, 512));
}

void BasalonCloseLogFile(void) { closelogfile(); }

void BasalonLogError(const char msg[128]) { tracelogerror(msg, msg != nullptr ? 128 : 0); }
void BasalonLogInfo(const char msg[128]) { traceloginfo(msg, msg != nullptr ? 128 : 0); }

void BasalonGetLastErrMsg(char msg[128]) { strtochararr(lasterrormsg(), msg, 128); }
void BasalonGetLastInfoMsg(char msg[128]) { strtochararr(lastinfomsg(), msg, 128); }

void BasalonSetElsetKeyMode(int32_t mode) { elsetkeymodeset(mode); }
int32_t BasalonGetElsetKeyMode(void) { return elsetkeymodeget(); }
void BasalonSetAllKeyMode(int32_t useAll, int32_t mode) {
  useallkeymodeset(useAll);
  allkeymodeset(mode);
}
int32_t BasalonGetAllKeyMode(void) { return allkeymodeget(); }
void BasalonSetDupKeyMode(int32_t mode) { dupkeymodeset(mode); }
int32_t BasalonGetDupKeyMode(void) { return dupkeymodeget(); }
