// The remove-satellite and remove-all exports every keyed store gives its host, written once:
// each store's export passes its own removal routine.
#pragma once

#include <cstdint>

namespace keyedtree {

// Removes the record of satKey through remove(satKey, flag, code); the code for the host (0, or
// the failure code with one logged line).
template <class RemoveFn>
int32_t removeSatExport(RemoveFn&& remove, int64_t satKey) {
  int32_t flag = 0, code = 0;
  remove(satKey, flag, code);
  return code;
}

// Removes every record through empty(code); the code for the host.
template <class EmptyFn>
int32_t removeAllExport(EmptyFn&& empty) {
  int32_t code = 0;
  empty(code);
  return code;
}

}  // namespace keyedtree
