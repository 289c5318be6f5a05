// The unit table: one slot per unit number, guarded by one mutex; each open file has its own mutex so
// that threads reading or writing different units do not wait for each other.
// Read units keep a 64 KiB window of the file and the byte offset of the next line; stepping back
// scans backwards for the previous line end, so no per-line history is kept.
#include "Siblings/Basalon/Units.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "Siblings/Basalon/FixedText.h"
#include "Siblings/Basalon/TraceLog.h"

namespace basalon {
namespace {

constexpr size_t kWindow = 64 * 1024;

struct UnitFile {
  std::mutex lock;
  std::string name;
  int mode = kOpenRead;
  int flag = 0;
  bool open = true;  // false once closed (a thread may still hold the object)
  // Read units.
  int fd = -1;
  std::vector<char> window;
  int64_t windowStart = 0;
  size_t windowLen = 0;
  int64_t pos = 0;  // byte offset of the next line
  // Write units.
  std::FILE* out = nullptr;

  ~UnitFile() {
    if (fd >= 0) ::close(fd);
    if (out != nullptr) std::fclose(out);
  }

  // Loads the window starting at offset; false on a read error. windowLen 0 means the end of the file.
  bool load(int64_t offset) {
    ssize_t n;
    do {
      n = ::pread(fd, window.data(), window.size(), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0) return false;
    windowStart = offset;
    windowLen = static_cast<size_t>(n);
    return true;
  }

  bool inWindow(int64_t offset) const {
    return offset >= windowStart && offset < windowStart + static_cast<int64_t>(windowLen);
  }
};

struct UnitTable {
  std::mutex lock;
  std::array<std::shared_ptr<UnitFile>, kLastUnit + 1> slots;
};

UnitTable& table() {
  static UnitTable t;
  return t;
}

std::shared_ptr<UnitFile> lookup(int unit) {
  if (unit < kFirstUnit || unit > kLastUnit) return nullptr;
  UnitTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  return t.slots[static_cast<size_t>(unit)];
}

// The name as callers pass it: first 512 characters, trimmed of blanks and NULs.
std::string cleanName(std::string_view fileName) {
  return std::string(trim(fileName.substr(0, std::min(fileName.size(), kFileNameLength))));
}

const char* reason(int err) {
  switch (err) {
    case ENOENT:
      return "no such file";
    case EACCES:
    case EPERM:
      return "permission denied";
    case EISDIR:
      return "is a directory";
    case EMFILE:
    case ENFILE:
      return "too many open files";
    default:
      return "system error";
  }
}

void logFailure(const char* routine, const std::string& what, const std::string& name) {
  tracelogerror(std::string(routine) + ": " + what + " '" + name + "'.");
}

// Opens the named file in the given mode into a new unit object; err receives the errno on failure.
std::shared_ptr<UnitFile> openFile(const std::string& name, int mode, int flag, int& err) {
  err = 0;
  if (name.empty() || name.find('\0') != std::string::npos) {
    err = ENOENT;
    return nullptr;
  }
  auto u = std::make_shared<UnitFile>();
  u->name = name;
  u->mode = mode;
  u->flag = flag;
  if (mode == kOpenRead) {
    u->fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (u->fd < 0) {
      err = errno;
      return nullptr;
    }
    struct stat st {};
    if (::fstat(u->fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      err = EISDIR;
      return nullptr;
    }
    u->window.resize(kWindow);
  } else {
    u->out = std::fopen(name.c_str(), mode == kOpenWrite ? "we" : "ae");
    if (u->out == nullptr) {
      err = errno;
      return nullptr;
    }
  }
  return u;
}

std::string unitAndFile(int unit, const std::string& name) {
  return "Unit " + std::to_string(unit) + ", file '" + name + "'";
}

}  // namespace

int fileopen(int unit, std::string_view fileName, int mode, int flag) {
  const std::string name = cleanName(fileName);
  if (unit < kFirstUnit || unit > kLastFixedUnit) {
    logFailure("fileopen", "Invalid unit number " + std::to_string(unit) + " (1-99) for file", name);
    return kUnitBadNumber;
  }
  if (mode != kOpenWrite && mode != kOpenRead && mode != kOpenAppend) {
    logFailure("fileopen", "Invalid open mode " + std::to_string(mode) + " for file", name);
    return kUnitBadArgument;
  }
  UnitTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  std::shared_ptr<UnitFile>& slot = t.slots[static_cast<size_t>(unit)];
  if (slot != nullptr) {
    tracelogerror("fileopen: " + unitAndFile(unit, slot->name) + " is already open; cannot open '" + name +
                  "'.");
    return kUnitAlreadyOpen;
  }
  int err = 0;
  std::shared_ptr<UnitFile> u = openFile(name, mode, flag, err);
  if (u == nullptr) {
    logFailure("fileopen", std::string("Unable to open (") + reason(err) + ") file", name);
    return kUnitCannotOpen;
  }
  slot = std::move(u);
  return kUnitOk;
}

void fileopenmt(std::string_view fileName, int mode, int& unit, int& status) {
  unit = 0;
  const std::string name = cleanName(fileName);
  if (mode != kOpenWrite && mode != kOpenRead && mode != kOpenAppend) {
    logFailure("fileopenmt", "Invalid open mode " + std::to_string(mode) + " for file", name);
    status = kUnitBadArgument;
    return;
  }
  UnitTable& t = table();
  std::lock_guard<std::mutex> guard(t.lock);
  int chosen = 0;
  for (int k = kFirstMtUnit; k <= kLastUnit && chosen == 0; ++k)
    if (t.slots[static_cast<size_t>(k)] == nullptr) chosen = k;
  if (chosen == 0) {
    logFailure("fileopenmt", "No free unit (100-999) for file", name);
    status = kUnitNoneFree;
    return;
  }
  int err = 0;
  std::shared_ptr<UnitFile> u = openFile(name, mode, 0, err);
  if (u == nullptr) {
    logFailure("fileopenmt", std::string("Unable to open (") + reason(err) + ") file", name);
    status = kUnitCannotOpen;
    return;
  }
  t.slots[static_cast<size_t>(chosen)] = std::move(u);
  unit = chosen;
  status = kUnitOk;
}

int fileClose(int unit) {
  if (unit < kFirstUnit || unit > kLastUnit) return kUnitBadNumber;
  std::shared_ptr<UnitFile> u;
  {
    UnitTable& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    u = std::move(t.slots[static_cast<size_t>(unit)]);
    t.slots[static_cast<size_t>(unit)] = nullptr;
  }
  if (u == nullptr) return kUnitNotOpen;
  std::lock_guard<std::mutex> guard(u->lock);
  u->open = false;
  int code = kUnitOk;
  if (u->out != nullptr) {
    if (std::fclose(u->out) != 0) code = kUnitIoError;
    u->out = nullptr;
  }
  if (u->fd >= 0) {
    ::close(u->fd);
    u->fd = -1;
  }
  return code;
}

namespace {

// Runs op on the open read unit under its lock, or returns the code that stops it.
template <typename Op>
int withReadUnit(int unit, Op op) {
  if (unit < kFirstUnit || unit > kLastUnit) return kUnitBadNumber;
  std::shared_ptr<UnitFile> u = lookup(unit);
  if (u == nullptr) return kUnitNotOpen;
  std::lock_guard<std::mutex> guard(u->lock);
  if (!u->open) return kUnitNotOpen;
  if (u->mode != kOpenRead) return kUnitWrongMode;
  return op(*u);
}

}  // namespace

int fileRewind(int unit) {
  return withReadUnit(unit, [](UnitFile& u) {
    u.pos = 0;
    return kUnitOk;
  });
}

int fileBackspace(int unit) {
  return withReadUnit(unit, [](UnitFile& u) {
    if (u.pos == 0) return kUnitOk;
    // The previous line ends at pos-1 (its LF) or, for a last line without LF, at pos.
    int64_t end = u.pos;
    if (!u.inWindow(end - 1) && !u.load(std::max<int64_t>(0, end - static_cast<int64_t>(kWindow))))
      return kUnitIoError;
    if (u.inWindow(end - 1) && u.window[static_cast<size_t>(end - 1 - u.windowStart)] == '\n') --end;
    // Search backwards from end-1 for the LF that ends the line before it.
    int64_t q = end - 1;
    while (q >= 0) {
      if (!u.inWindow(q) && !u.load(std::max<int64_t>(0, q + 1 - static_cast<int64_t>(kWindow))))
        return kUnitIoError;
      if (!u.inWindow(q)) break;  // the file shrank underneath us
      const char* base = u.window.data();
      const size_t upto = static_cast<size_t>(q - u.windowStart) + 1;
      const void* hit = memrchr(base, '\n', upto);
      if (hit != nullptr) {
        u.pos = u.windowStart + (static_cast<const char*>(hit) - base) + 1;
        return kUnitOk;
      }
      q = u.windowStart - 1;
    }
    u.pos = 0;
    return kUnitOk;
  });
}

namespace {

// Reads the next line of a read unit into out: its first cols characters, NULs as blanks, the CR of a
// CR LF line end dropped. With pad the line is blank padded to cols characters; without, it keeps
// its own length.
int readNextLine(UnitFile& u, size_t cols, bool pad, std::string& out) {
  out.assign(pad ? cols : 0, ' ');
  int64_t p = u.pos;
  size_t length = 0;  // characters of the line seen so far (without LF)
  char last = '\0';
  bool any = false, ended = false;
  while (!ended) {
    if (!u.inWindow(p)) {
      if (!u.load(p)) {
        out.assign(pad ? cols : 0, ' ');
        return kUnitIoError;
      }
      if (u.windowLen == 0) break;  // end of file
    }
    const char* start = u.window.data() + (p - u.windowStart);
    const size_t avail = u.windowLen - static_cast<size_t>(p - u.windowStart);
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
    const size_t chunk = nl != nullptr ? static_cast<size_t>(nl - start) : avail;
    any = true;
    if (length < cols) {
      const size_t take = std::min(chunk, cols - length);
      if (pad) {
        std::memcpy(out.data() + length, start, take);
      } else {
        out.append(start, take);
      }
    }
    if (chunk > 0) last = start[chunk - 1];
    length += chunk;
    p += static_cast<int64_t>(chunk);
    if (nl != nullptr) {
      ++p;
      ended = true;
    }
  }
  if (!any) return kUnitEnd;
  if (out.find('\0') != std::string::npos) std::replace(out.begin(), out.end(), '\0', ' ');
  if (last == '\r' && length > 0 && length <= cols) {  // CR of a CR LF line end
    if (pad) {
      out[length - 1] = ' ';
    } else {
      out.pop_back();
    }
  }
  u.pos = p;
  return kUnitOk;
}

int readLine(int unit, int columns, bool pad, std::string& out) {
  if (columns < 1 || columns > kMaxLineColumns) {
    out.clear();
    return kUnitBadArgument;
  }
  const int rc = withReadUnit(
      unit, [&](UnitFile& u) { return readNextLine(u, static_cast<size_t>(columns), pad, out); });
  if (rc != kUnitOk) out.assign(pad ? static_cast<size_t>(columns) : 0, ' ');
  return rc;
}

}  // namespace

int fileReadLine(int unit, int columns, std::string& out) { return readLine(unit, columns, true, out); }

int fileReadLineCut(int unit, int columns, std::string& out) { return readLine(unit, columns, false, out); }

namespace {

// One line to an open write unit whose lock is held: LF, CR and NUL inside the text become blanks.
int writeOneLine(UnitFile& u, std::string_view text) {
  const bool clean = text.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
  size_t written;
  if (clean) {
    written = std::fwrite(text.data(), 1, text.size(), u.out);
  } else {
    std::string line(text);
    for (char& c : line)
      if (c == '\n' || c == '\r' || c == '\0') c = ' ';
    written = std::fwrite(line.data(), 1, line.size(), u.out);
  }
  if (written != text.size() || std::fputc('\n', u.out) == EOF) return kUnitIoError;
  return kUnitOk;
}

// Calls write(unit file) with the unit's lock held, once the unit is known to be open for writing.
template <class WriteFn>
int withWriteUnit(int unit, WriteFn&& write) {
  if (unit < kFirstUnit || unit > kLastUnit) return kUnitBadNumber;
  std::shared_ptr<UnitFile> u = lookup(unit);
  if (u == nullptr) return kUnitNotOpen;
  std::lock_guard<std::mutex> guard(u->lock);
  if (!u->open) return kUnitNotOpen;
  if (u->mode == kOpenRead) return kUnitWrongMode;
  return write(*u);
}

}  // namespace

int fileWriteLine(int unit, std::string_view text) {
  return withWriteUnit(unit, [text](UnitFile& u) { return writeOneLine(u, text); });
}

int filewritelines(int unit, std::span<const std::string_view> lines) {
  return withWriteUnit(unit, [lines](UnitFile& u) {
    for (const std::string_view text : lines) {
      const int rc = writeOneLine(u, text);
      if (rc != kUnitOk) return rc;
    }
    return static_cast<int>(kUnitOk);
  });
}

bool existfortdotfileunit(int unit) {
  std::shared_ptr<UnitFile> u = lookup(unit);
  if (u == nullptr) return false;
  std::lock_guard<std::mutex> guard(u->lock);
  if (!u->open) return false;
  const size_t slash = u->name.find_last_of("/\\");
  const std::string_view base =
      slash == std::string::npos ? std::string_view(u->name) : std::string_view(u->name).substr(slash + 1);
  return base == "fort." + std::to_string(unit);
}

bool fileIsOpen(int unit) { return lookup(unit) != nullptr; }

std::string filename(int unit) {
  std::shared_ptr<UnitFile> u = lookup(unit);
  return u != nullptr ? u->name : std::string();
}

int fileFlag(int unit) {
  std::shared_ptr<UnitFile> u = lookup(unit);
  return u != nullptr ? u->flag : 0;
}

}  // namespace basalon
