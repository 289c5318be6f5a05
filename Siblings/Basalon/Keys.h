// Key modes and satKey services shared by every keyed store, and the DMA block that a record
// lives in when the DMA key mode is in force.
#pragma once

#include <cstdint>

namespace basalon {

// Key modes: 0 standard keys, 1 DMA keys. The effective mode is allkeymodeget() when
// useallkeymode() is non-zero, else elsetkeymodeget(). All are process-wide and atomic.
int useallkeymode();
void useAllKeyModeSet(int flag);
int allkeymodeget();
void allKeyModeSet(int mode);
int elsetkeymodeget();
void elsetkeymodeset(int mode);
// 0: an identical duplicate is an error; non-zero: the existing key is returned silently.
int dupkeymodeget();
void dupKeyModeSet(int mode);
// The effective key mode (0 or 1).
int effectiveKeyMode();

// The block a record hangs off in the DMA key mode. Field order is fixed: other libraries of
// the system attach their own data for the same satellite through the two slots.
struct DmaBlock {
  int64_t self = 0;        // the block's own address; 0 once released
  int32_t elsetType = 0;   // element-set type code of the creating store
  void* rec = nullptr;     // the record, owned by the creating store
  int32_t spare = 0;
  void* attach1 = nullptr;  // attachment slots of other libraries
  void* attach2 = nullptr;
};

// A new registered block with self set, or null when memory is exhausted.
DmaBlock* dmaalloc(int32_t elsetType);
// Unregisters and frees a block (self cleared first); null is ignored.
void dmaFree(DmaBlock* block);
// The DMA key of a block: ten times its address.
int64_t dmakey(const DmaBlock* block);

// True for every multiple of 10 (keys from createsatkey never are); keys <= 0 that are
// multiples of 10 are DMA keys too, so stores can report them as invalid DMA keys.
bool isdma(int64_t satKey);
// The live block a DMA key designates, or null when no registered block has that address
// (never dereferences a freed or made-up address).
DmaBlock* keytocptr(int64_t satKey);
// The address value a DMA key designates (satKey / 10).
int64_t satkeytoaddr(int64_t satKey);
// The next key to try when satKey is taken: same last decimal digit.
int64_t nextsatkey(int64_t satKey);

}  // namespace basalon
