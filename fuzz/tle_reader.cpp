// Fuzz target of the TLE reader: the input split on newlines into name, line 1 and line 2 (or
// line 1 and line 2 when there are two lines); what parses is written back, initialised and
// propagated at a few times.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Siblings/Kinetra/Sgp4.h"
#include "Siblings/Kinetra/Sgp4Output.h"
#include "Siblings/Lineset/TleParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size() && lines.size() < 3) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  while (lines.size() < 3) lines.emplace_back();
  const bool named = lines.size() == 3 && !lines[0].empty() && lines[0][0] != '1';
  const std::string_view name = named ? lines[0] : std::string_view();
  const std::string_view l1 = named ? lines[1] : lines[0];
  const std::string_view l2 = named ? lines[2] : lines[1];

  for (bool verify : {true, false}) {
    lineset::TleRecord rec;
    std::string msg;
    lineset::TleReadOptions opt;
    opt.verifyChecksum = verify;
    const int code = lineset::parseTle(name, l1, l2, rec, msg, opt);
    if (code != 0) {
      if (msg.empty()) std::abort();  // every failure says why
      continue;
    }
    std::string w1, w2;
    lineset::writeTle(rec, w1, w2);
    lineset::TleRecord again;
    if (lineset::parseTle(name, w1, w2, again, msg, opt) != 0 || again.satNum != rec.satNum) std::abort();
    kinetra::Sgp4Obj obj;
    kinetra::initFromTle(rec, obj);
    kinetra::Sgp4Obj copy(obj);
    for (double t : {0.0, -1440.0, 720.0, 10000.0}) {
      kinetra::Sgp4State s;
      if (copy.propagate(t, s) == 0) {
        planix::BrevantaOut out;
        kinetra::toStateRecord(copy, s, out);
        for (int k = 0; k < 3; ++k)
          if (std::isnan(s.pos[k]) || std::isnan(s.vel[k])) std::abort();  // success never gives NaN
      }
    }
  }
  return 0;
}
