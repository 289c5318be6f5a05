// The remove-satellite and remove-all exports every keyed store gives its host, written once:
// each store's export passes its own removal routine.
#pragma once

#include <cstdint>

#include "Siblings/Basalon/HostBuffers.h"

namespace keyedtree {

// Removes the record of satKey through remove(satKey, flag, code); the code for the host (0, or
// the failure code with one logged line).
template <class RemoveFn>
int32_t removeSatExport(RemoveFn&& remove, int64_t satKey) {
  int32_t flag = 0, code = 0;
  remove(satKey, flag, code);
  return code;
}

// Up to maxKeys keys in an order through getKeys(count, keys, order, maxKeys); the number written.
// A null array gets 0 and one logged line naming the export.
template <class GetKeysFn>
int32_t getKeysExport(const char* exportName, GetKeysFn&& getKeys, int32_t order, int32_t maxKeys,
                      int64_t* keys) {
  if (!basalon::nonNull(exportName, keys) || maxKeys <= 0) return 0;
  int32_t count = 0;
  getKeys(count, keys, order, maxKeys);
  return count;
}

// Removes every record through empty(code); the code for the host.
template <class EmptyFn>
int32_t removeAllExport(EmptyFn&& empty) {
  int32_t code = 0;
  empty(code);
  return code;
}

}  // namespace keyedtree
