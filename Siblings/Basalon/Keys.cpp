// Key modes and the registry of live DMA blocks.
#include "Siblings/Basalon/Keys.h"

#include <atomic>
#include <mutex>
#include <new>
#include <unordered_set>

namespace basalon {
namespace {

std::atomic<int> gUseAllKeyMode{0};
std::atomic<int> gAllKeyMode{0};
std::atomic<int> gElsetKeyMode{0};
std::atomic<int> gDupKeyMode{0};

struct DmaRegistry {
  std::mutex lock;
  std::unordered_set<int64_t> live;  // addresses of blocks not yet freed
};

DmaRegistry& registry() {
  static DmaRegistry r;
  return r;
}

}  // namespace

int useallkeymode() { return gUseAllKeyMode.load(); }
void useAllKeyModeSet(int flag) { gUseAllKeyMode.store(flag); }
int allkeymodeget() { return gAllKeyMode.load(); }
void allKeyModeSet(int mode) { gAllKeyMode.store(mode); }
int elsetkeymodeget() { return gElsetKeyMode.load(); }
void elsetkeymodeset(int mode) { gElsetKeyMode.store(mode); }
int dupkeymodeget() { return gDupKeyMode.load(); }
void dupKeyModeSet(int mode) { gDupKeyMode.store(mode); }
int effectiveKeyMode() { return useallkeymode() != 0 ? allkeymodeget() : elsetkeymodeget(); }

DmaBlock* dmaalloc(int32_t elsetType) {
  DmaBlock* b = new (std::nothrow) DmaBlock;
  if (b == nullptr) return nullptr;
  b->self = static_cast<int64_t>(reinterpret_cast<intptr_t>(b));
  b->elsetType = elsetType;
  DmaRegistry& r = registry();
  std::lock_guard<std::mutex> guard(r.lock);
  r.live.insert(b->self);
  return b;
}

void dmaFree(DmaBlock* block) {
  if (block == nullptr) return;
  {
    DmaRegistry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    r.live.erase(static_cast<int64_t>(reinterpret_cast<intptr_t>(block)));
  }
  block->self = 0;
  delete block;
}

int64_t dmakey(const DmaBlock* block) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(block)) * 10; }

bool isdma(int64_t satKey) { return satKey % 10 == 0; }

DmaBlock* keytocptr(int64_t satKey) {
  if (satKey <= 0 || satKey % 10 != 0) return nullptr;
  const int64_t addr = satKey / 10;
  DmaRegistry& r = registry();
  std::lock_guard<std::mutex> guard(r.lock);
  if (r.live.count(addr) == 0) return nullptr;
  return reinterpret_cast<DmaBlock*>(static_cast<intptr_t>(addr));
}

int64_t satkeytoaddr(int64_t satKey) { return satKey / 10; }

int64_t nextsatkey(int64_t satKey) {
  // Step by 10 so the element-type digit stays; wrap before overflow keeping the digit.
  constexpr int64_t kLimit = INT64_MAX - 10;
  if (satKey > kLimit) return satKey % 10 + 10;
  return satKey + 10;
}

}  // namespace basalon
