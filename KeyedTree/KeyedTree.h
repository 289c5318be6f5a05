// The keyed record tree engine shared by every element-set store: an AVL tree of records keyed by
// the 64-bit satKey, both key modes (standard and DMA), key bumping, duplicates, the four key
// listing orders and the reader/writer protocol. A store instantiates it with a traits struct.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "KeyedTree/AvlTree.h"
#include "Siblings/Basalon/Format.h"
#include "Siblings/Basalon/Keys.h"
#include "Siblings/Basalon/Result.h"
#include "Siblings/Basalon/Strings.h"
#include "Siblings/Basalon/TraceLog.h"

namespace keyedtree {

// satNum a failed copying find leaves in its output record.
inline constexpr int32_t kNotFoundSatNum = -123;

// What a store supplies: a traits struct derived from RecordTraits<Record> (see QelTreeTraits)
// that states what differs from these defaults, and always
//   static constexpr int32_t kElsetType;                 element-set code written into DMA blocks
//   static bool equal(const Record& a, const Record& b); identical duplicate test
//   static int32_t validate(const Record& rec);          0 when the record may be stored (logs itself)
//   static int64_t makeKey(const Record& rec);           standard-mode satKey, -1 when none
// and for the listing orders 0/1 either
//   static double epochDs50(const Record& rec);          epoch, DS50 UTC (the default sort text), or
//   static void sortString(const Record& rec, char out[32]);  a sort text of its own;
// and, only for WriteLines,
//   static int32_t writeRecord(const Record& rec, int32_t unit);  0 when the record's text was written
template <class R>
struct RecordTraits {
  using Record = R;
  // Put before every engine message ("" for none).
  static constexpr std::string_view kMessagePrefix = "";
  // Deep copy (nothing to do onto itself).
  static void copy(Record& dst, const Record& src) {
    if (&dst != &src) dst = src;
  }
  // Frees what the record owns.
  static void release(Record& rec) { rec = Record{}; }
  static int32_t satNum(const Record& rec) { return rec.satNum; }
  // The output of a failed copying find.
  static void markNotFound(Record& rec) {
    rec = Record{};
    rec.satNum = kNotFoundSatNum;
  }
};

template <class Traits>
class KeyedTree {
 public:
  using Record = typename Traits::Record;

  // One tree node. In the standard key mode the node owns its record; in the DMA mode `rec` is
  // null and the record hangs off the DMA block that the key designates.
  struct Node {
    int64_t key = 0;
    int32_t seq = 0;
    int32_t balance = 0;  // height(higher) - height(lower): -1, 0 or +1
    Node* lower = nullptr;
    Node* higher = nullptr;
    Record* rec = nullptr;
  };

  // Add status of AddNode: 0/1 inserted (1: the subtree grew), 2 key taken by a different record,
  // 3 identical record already stored under the key.
  static constexpr int32_t kInserted = 1;
  static constexpr int32_t kKeyTaken = 2;
  static constexpr int32_t kDuplicate = 3;
  static constexpr int kMaxKeyAttempts = 100;

  KeyedTree() = default;
  ~KeyedTree() = default;  // frees the node chunks; records still loaded are not released
  KeyedTree(const KeyedTree&) = delete;
  KeyedTree& operator=(const KeyedTree&) = delete;

  // ---- Reader/writer protocol -------------------------------------------------------------
  // A reader announces itself in numReads and then re-checks isUpdating; a writer raises
  // isUpdating and then waits for numReads to drain. With sequentially consistent operations at
  // least one of the two sees the other, so no reader is inside while a writer works.

  void BeginRead() {
    for (;;) {
      for (int spins = 0; isUpdating_.v.load(std::memory_order_seq_cst) != 0; ++spins) pause(spins);
      numReads_.v.fetch_add(1, std::memory_order_seq_cst);
      if (isUpdating_.v.load(std::memory_order_seq_cst) == 0) return;
      numReads_.v.fetch_sub(1, std::memory_order_seq_cst);  // a writer got in first: back out
    }
  }

  void EndRead() { numReads_.v.fetch_sub(1, std::memory_order_seq_cst); }

  // The read side for the life of the object.
  class ReadSection {
   public:
    explicit ReadSection(KeyedTree& t) : t_(t) { t_.BeginRead(); }
    ~ReadSection() { t_.EndRead(); }
    ReadSection(const ReadSection&) = delete;
    ReadSection& operator=(const ReadSection&) = delete;

   private:
    KeyedTree& t_;
  };

  // The writer lock with isUpdating raised and no reader inside, for the life of the object.
  // Not re-entrant: a holder calls none of the engine's writers.
  class WriterSection {
   public:
    explicit WriterSection(KeyedTree& t) : t_(t), guard_(t.writerLock_) {
      t_.isUpdating_.v.store(1, std::memory_order_seq_cst);
      for (int spins = 0; t_.numReads_.v.load(std::memory_order_seq_cst) != 0; ++spins) pause(spins);
    }
    ~WriterSection() { t_.isUpdating_.v.store(0, std::memory_order_seq_cst); }
    WriterSection(const WriterSection&) = delete;
    WriterSection& operator=(const WriterSection&) = delete;

   private:
    KeyedTree& t_;
    std::lock_guard<std::mutex> guard_;
  };

  // ---- Adding ------------------------------------------------------------------------------

  // Validates, keys and stores a copy of rec. Returns the key it is stored under, -1 on failure,
  // 0 for a duplicate reported as an error; *nodeOut (when given) links to the new node or is null.
  // The link stays meaningful only until the next writer: a removal may free the node or move
  // another key into it.
  int64_t AddToMem(const Record& rec, Node** nodeOut = nullptr) {
    return addToMem(rec, [&rec] { return newCopy(rec); }, nodeOut);
  }

  // As AddToMem, but the stored record takes over what rec owns (a reader's working record with
  // a million points is moved, not copied). Once the record passed its checks and got its key, rec
  // is left empty whether it was stored or dropped as a duplicate: the caller starts a new one.
  int64_t AddMovedToMem(Record&& rec, Node** nodeOut = nullptr) {
    return addToMem(rec, [&rec] { return newMoved(rec); }, nodeOut);
  }

 private:
  // AddToMem with make() giving the heap record to store (null when memory is exhausted); make is
  // called at most once, after the checks and the key.
  template <class MakeFn>
  int64_t addToMem(const Record& rec, MakeFn&& make, Node** nodeOut) {
    if (nodeOut != nullptr) *nodeOut = nullptr;
    if (Traits::validate(rec) != 0) return -1;

    if (basalon::effectiveKeyMode() == 1) return addDmaToMem(make, nodeOut);
    const int64_t satKey = Traits::makeKey(rec);
    if (satKey == -1) return -1;

    Node* node = nodes_.alloc();
    if (node == nullptr) {
      logError("AddRecToMem: Unable to allocate memory for key " + keyField(satKey) + ".");
      return -1;
    }
    node->key = satKey;
    node->rec = make();
    if (node->rec == nullptr) {
      logError("AddRecToMem: Memory allocation failed");
      nodes_.release(node);
      return -1;
    }

    int32_t status = 0;
    bool exhausted = false;
    int64_t finalKey = satKey;  // read under the writer lock: once the lock is gone, a removal
                                // elsewhere may move another key into this node
    addNode(node, status, exhausted, finalKey);
    if (status == kKeyTaken || status == kDuplicate) {
      // Not inserted: the existing record stays as it was.
      int64_t result = finalKey;  // where the identical record is stored
      if (basalon::dupkeymodeget() == 0 || exhausted) {
        // Reported as a duplicate; when every bumped key was taken there is no key to return.
        logError("AddRecToMem: Duplicated record/key " + keyField(satKey) + " found.");
        result = 0;
      }
      releaseNode(node);
      return result;
    }
    if (nodeOut != nullptr) *nodeOut = node;
    return finalKey;
  }

  // The DMA mode's add. The block is registered, filled and its node inserted in one writer
  // section: a freed block's address (so its key) may come back at once, and a writer removing
  // that stale key must meet either nothing or a whole record with its node, never a block whose
  // node is yet to come (it would free the block under the add).
  template <class MakeFn>
  int64_t addDmaToMem(MakeFn& make, Node** nodeOut) {
    Record* copy = make();
    if (copy == nullptr) {
      logError("AddRecToMem: Cannot allocate memory for a new rec.");
      return -1;
    }
    std::string failure;
    int64_t satKey = -1;
    Node* node = nullptr;
    {
      WriterSection writer(*this);
      basalon::DmaBlock* block = basalon::dmaalloc(Traits::kElsetType);
      if (block == nullptr) {
        failure = "AddRecToMem: Cannot allocate memory for a new dma.";
      } else {
        block->rec = copy;
        satKey = basalon::dmakey(block);
        node = nodes_.alloc();
        if (node == nullptr) {
          failure = "AddRecToMem: Unable to allocate memory for key " + keyField(satKey) + ".";
        } else {
          node->key = satKey;
          int32_t status = 0;
          insertAtRoot(node, status);
          // A DMA key is unique to its live block; a clash means a stale node still holds it.
          if (status == kKeyTaken || status == kDuplicate) {
            failure = "AddRecToMem: Duplicated record/key " + keyField(satKey) + " found.";
            nodes_.release(node);
            node = nullptr;
          }
        }
        if (node == nullptr) {
          block->rec = nullptr;
          basalon::dmaFree(block);
        }
      }
      if (node == nullptr) deleteRecord(copy);
    }
    if (node == nullptr) {
      logError(failure);
      return -1;
    }
    if (nodeOut != nullptr) *nodeOut = node;
    return satKey;
  }

 public:

  // A zeroed node from this store's pool, for AddNode (null when memory is exhausted). Nodes given
  // to AddNode must come from here: removal returns them to the pool.
  Node* NewNode() { return nodes_.alloc(); }

  // Inserts a prepared node (from NewNode) as a writer. A standard key taken by a different record
  // is bumped with nextsatkey, up to kMaxKeyAttempts tries; a DMA key is tried once.
  void AddNode(Node* node, int32_t& status) {
    bool exhausted = false;
    int64_t finalKey = 0;
    addNode(node, status, exhausted, finalKey);
  }

  // ---- Removing and updating ---------------------------------------------------------------

  void RemoveNode(int64_t satKey, int32_t& flag, int32_t& code) {
    code = 0;
    const bool dma = basalon::isdma(satKey);
    if (dma && satKey < 1) {
      code = basalon::kResultFail;
      logError("RemoveNode: Invalid DMA key (<=0).");
      return;
    }
    WriterSection writer(*this);
    // The block is released inside the writer section so that no reader walking the tree
    // (SatKeyGet reads DMA records) or copying the record of the key can meet it being freed.
    if (dma) {
      const int32_t dmaCode = removeDma(satKey);
      if (dmaCode != 0) {
        code = dmaCode;
        return;
      }
    }
    Node* root = root_.v.load(std::memory_order_relaxed);
    bool found = false;
    auto release = [this](Node* n) { releaseNode(n); };
    avl::remove(root, satKey, flag, found, release);
    root_.v.store(root, std::memory_order_release);
    if (!found) {
      code = basalon::kResultFail;
      logError("RemoveNode: Unable to locate this key " + keyField(satKey) + " in its binary tree.");
    }
  }

  // Releases the record of a DMA key and frees its block unless another library attached data.
  // The tree's node of the key, if any, stays.
  int32_t RemoveDMA(int64_t satKey) {
    WriterSection writer(*this);
    return removeDma(satKey);
  }

  // Replaces the stored record by a copy of rec; the key is kept.
  void UpdateRec(int64_t satKey, const Record& rec, int32_t& code) {
    code = 0;
    if (basalon::isdma(satKey)) {
      if (satKey < 1) {
        code = basalon::kResultFail;
        logError("UpdateRec: Invalid DMA key (<=0).");
        return;
      }
      // The block is checked and written in one writer section: a removal or emptying cannot
      // free it in between, and no copying find can read a half-written record.
      WriterSection writer(*this);
      basalon::DmaBlock* block = liveBlock(satKey);
      // A block of another store holds another record type: it is never overwritten.
      if (block == nullptr || block->elsetType != Traits::kElsetType) {
        code = basalon::kResultFail;
        logError("UpdateRec: rec/DMA doesn't exist or was already deallocated");
        return;
      }
      if (block->rec == nullptr) {
        Record* copy = newCopy(rec);
        if (copy == nullptr) {
          code = basalon::kResultFail;
          logError("UpdateRec: Memory allocation failed");
          return;
        }
        block->rec = copy;
      } else {
        Traits::copy(*static_cast<Record*>(block->rec), rec);
      }
      return;
    }
    WriterSection writer(*this);
    Node* node = search(root_.v.load(std::memory_order_relaxed), satKey);
    if (node == nullptr) {
      code = basalon::kResultFail;
      logError("UpdateRec: Unable to locate key " + keyField(satKey) + " in its binary tree.");
      return;
    }
    // The new copy is made before the old record goes, so a failed allocation loses nothing.
    Record* copy = newCopy(rec);
    if (copy == nullptr) {
      code = basalon::kResultFail;
      logError("UpdateRec: Memory allocation failed");
      return;
    }
    deleteRecord(node->rec);
    node->rec = copy;
  }

  // Changes the stored record of satKey in one writer step: change(copy) edits a copy of it and
  // returns a code; only when that code is 0 does the copy replace the stored record. Returns false
  // (nothing logged, nothing changed) when no record has the key; otherwise code is change's result.
  // A DMA key's block is checked and its record replaced in one writer section, as in UpdateRec:
  // readers under the read side (a save, a copying find) never meet the old record being freed.
  template <class ChangeFn>
  bool ModifyRec(int64_t satKey, ChangeFn&& change, int32_t& code) {
    code = basalon::kResultOk;
    if (basalon::isdma(satKey)) {
      if (satKey < 1) return false;
      WriterSection writer(*this);
      basalon::DmaBlock* block = liveBlock(satKey);
      if (block == nullptr || block->elsetType != Traits::kElsetType || block->rec == nullptr) return false;
      Record* rec = static_cast<Record*>(block->rec);
      code = changeCopy(rec, change);
      block->rec = rec;
      return true;
    }
    WriterSection writer(*this);
    Node* node = search(root_.v.load(std::memory_order_relaxed), satKey);
    if (node == nullptr) return false;
    code = changeCopy(node->rec, change);
    return true;
  }

  // Edits the stored record of satKey in place as a writer: no reader is inside while
  // edit(record) runs, so it may grow or reallocate what the record owns. Cheaper than ModifyRec
  // for large records, but edit must leave the record whole whatever it returns (no rollback).
  // Returns false (nothing logged) when no record has the key; otherwise code is edit's result.
  template <class EditFn>
  bool EditRecInPlace(int64_t satKey, EditFn&& edit, int32_t& code) {
    code = basalon::kResultOk;
    if (basalon::isdma(satKey)) {
      if (satKey < 1) return false;
      WriterSection writer(*this);
      basalon::DmaBlock* block = liveBlock(satKey);
      if (block == nullptr || block->elsetType != Traits::kElsetType || block->rec == nullptr) return false;
      code = edit(*static_cast<Record*>(block->rec));
      return true;
    }
    WriterSection writer(*this);
    Node* node = search(root_.v.load(std::memory_order_relaxed), satKey);
    if (node == nullptr || node->rec == nullptr) return false;
    code = edit(*node->rec);
    return true;
  }

  // Removes every node (post-order, without recursion). The sequence counter keeps counting.
  void EmptyTree(int32_t& code) {
    WriterSection writer(*this);
    Node* root = root_.v.load(std::memory_order_relaxed);
    if (root == nullptr) return;
    std::vector<Node*> stack;
    stack.reserve(64);
    Node* last = nullptr;
    Node* p = root;
    while (p != nullptr || !stack.empty()) {
      if (p != nullptr) {
        stack.push_back(p);
        p = p->lower;
        continue;
      }
      Node* top = stack.back();
      if (top->higher != nullptr && last != top->higher) {
        p = top->higher;
        continue;
      }
      stack.pop_back();
      if (basalon::isdma(top->key)) removeDma(top->key);
      releaseNode(top);
      last = top;
    }
    root_.v.store(nullptr, std::memory_order_release);
    code = 0;
  }

  // ---- Lookups -----------------------------------------------------------------------------

  // Deep copy of the stored record into out; when there is none, out is released, reset and
  // marked not found.
  void FindRec(int64_t satKey, Record& out, std::string* msg = nullptr) {
    if (msg != nullptr) msg->clear();
    if (!copyOut(satKey, out, msg)) {
      Traits::release(out);
      Traits::markNotFound(out);
    }
  }

  // A borrowed link to the stored record. For a standard key the read side stays entered: the
  // caller calls EndRead exactly once afterwards, found or not. DMA keys need no EndRead.
  void FindRecPtr(int64_t satKey, Record*& link, std::string* msg = nullptr) {
    link = nullptr;
    if (msg != nullptr) msg->clear();
    if (basalon::isdma(satKey)) {
      if (satKey < 1) {
        setMsg(msg, "FindRecPtr: Invalid DMA key (<=0).");
        return;
      }
      basalon::DmaBlock* block = liveBlock(satKey);
      // A block made by another store carries another record type: not ours to hand out.
      if (block == nullptr || block->elsetType != Traits::kElsetType) {
        setMsg(msg, "FindRecPtr: Invalid DMA key.");
        return;
      }
      if (block->rec == nullptr) {
        setMsg(msg, "FindRecPtr: Prop data doesn't exist.");
        return;
      }
      link = static_cast<Record*>(block->rec);
      return;
    }
    BeginRead();
    Node* root = root_.v.load(std::memory_order_acquire);
    if (root == nullptr) {
      setMsg(msg, "FindRecPtr: Search tree is empty.");
      return;
    }
    Node* node = search(root, satKey);
    if (node == nullptr) {
      setMsg(msg, "FindRecPtr: search key doens't exist.");
      return;
    }
    link = node->rec;
  }

  // Deep copy of a node's record (from its DMA block for a DMA key).
  void GetRec(Record& out, const Node* node) const {
    const Record* rec = node != nullptr ? recordOf(node) : nullptr;
    if (rec != nullptr) {
      Traits::copy(out, *rec);
    } else {
      Traits::release(out);
      out = Record{};
    }
  }

  // Key of the first record with satNum met in a pre-order walk; -1 when none.
  int64_t SatKeyGet(int32_t satNum) {
    if (TreeIsEmpty()) return -1;
    ReadSection read(*this);
    int64_t result = -1;
    forEachPreOrder([&](int64_t key, const Record& rec) {
      if (Traits::satNum(rec) != satNum) return true;
      result = key;
      return false;
    });
    return result;
  }

  int32_t GetNumOfTreeNodes() {
    BeginRead();
    const int32_t n = countNodes();
    EndRead();
    return n;
  }

  // Keys in one of the listing orders, written from keys[count] on; count grows by the number
  // written. Order 0: by satellite number then epoch; 1: the reverse; 2: load order; any other:
  // ascending satKey. At most maxKeys keys are written (the caller's array room past count).
  void GetTreeKeys(int32_t& count, int64_t* keys, int32_t order, int64_t maxKeys = INT64_MAX) {
    if (keys == nullptr || maxKeys <= 0) return;
    BeginRead();
    const int64_t total = countNodes();
    const int64_t n = std::min(total, maxKeys);
    int64_t* out = keys + count;
    if (order == 0 || order == 1 || order == 2) {
      std::vector<basalon::SortString> texts(static_cast<size_t>(n));
      size_t m = 0;
      forEachInOrder([&](const Node* p) {
        if (static_cast<int64_t>(m) >= n) return false;
        char* text = texts[m].data();
        if (order == 2) {
          seqString(p->seq, text);
        } else if (const Record* rec = recordOf(p); rec != nullptr) {
          sortStringOf(*rec, text);
        } else {
          std::memset(text, ' ', basalon::kSortStringLength);
        }
        out[m++] = p->key;
        return true;
      });
      EndRead();
      basalon::quicksortiterative(std::span<basalon::SortString>(texts.data(), m),
                                  std::span<int64_t>(out, m));
      if (order == 1) std::reverse(out, out + m);
      count += static_cast<int32_t>(m);
      return;
    }
    int64_t written = 0;
    forEachInOrder([&](const Node* p) {
      if (written >= n) return false;
      out[written++] = p->key;
      return true;
    });
    EndRead();
    count += static_cast<int32_t>(written);
  }

  bool TreeIsEmpty() const { return root_.v.load(std::memory_order_acquire) == nullptr; }

  // Writes every record in ascending key order with writeOne (0 = written). A record that gives no
  // text or cannot be written does not stop the others; returns how many records were not written.
  // writeOne reads the stored record in place under the read side (no writer can change it
  // meanwhile), so it must not call the store's writers.
  template <class WriteFn>
  int32_t WriteLinesWith(WriteFn&& writeOne) {
    int32_t failed = 0;
    ReadSection read(*this);
    forEachInOrder([&](const Node* p) {
      const Record* rec = recordOf(p);
      if (rec == nullptr || writeOne(*rec) != 0) ++failed;
      return true;
    });
    return failed;
  }

  // Writes every record to an open unit with the store's own record writer; the number not written.
  int32_t WriteLines(int32_t unit) {
    return WriteLinesWith([unit](const Record& rec) { return Traits::writeRecord(rec, unit); });
  }

  // Calls visit(key, record) for every node in pre-order (node, lower, higher) under the read side.
  template <class VisitFn>
  void VisitPreOrder(VisitFn&& visit) {
    ReadSection read(*this);
    forEachPreOrder([&visit](int64_t key, const Record& rec) {
      visit(key, rec);
      return true;
    });
  }

  // The store's process-wide writer lock (held by every WriterSection; each store names it).
  std::mutex& WriterLock() { return writerLock_; }

  // The last load sequence number given out (never reset).
  int32_t LastSeqNum() const { return seqNum_.load(std::memory_order_relaxed); }
  int32_t NumReads() const { return numReads_.v.load(std::memory_order_seq_cst); }

  // Consistency walk for the test suites: heights agree with the balance fields, balances are
  // within -1..+1, keys strictly ascend, and every standard-key node has its record.
  TreeReport Validate() {
    TreeReport report;
    BeginRead();
    bool haveLast = false;
    int64_t lastKey = 0;
    auto hasRecord = [](const Node* p) { return p->rec != nullptr || basalon::isdma(p->key); };
    report.height = avl::check(root_.v.load(std::memory_order_acquire), report, haveLast, lastKey, hasRecord);
    EndRead();
    report.count = static_cast<int32_t>(report.keySeq.size());
    return report;
  }

 private:
  // RemoveDMA inside a writer section already held.
  int32_t removeDma(int64_t satKey) {
    basalon::DmaBlock* block = liveBlock(satKey);
    if (block == nullptr) {
      logError("RemoveDMA: /DMA doesn't exist or was already deallocated");
      return basalon::kResultFail;
    }
    if (block->elsetType != Traits::kElsetType) {
      logError("RemoveDMA: This DMA object isn't a correct object.");
      return basalon::kResultFail;
    }
    deleteRecord(static_cast<Record*>(block->rec));
    block->rec = nullptr;
    if (block->attach1 == nullptr && block->attach2 == nullptr) basalon::dmaFree(block);
    return basalon::kResultOk;
  }

  // FindRec's search: true when the stored record was copied into out (every field of out is
  // then overwritten); otherwise the message, if any, is set.
  bool copyOut(int64_t satKey, Record& out, std::string* msg) {
    if (basalon::isdma(satKey)) {
      if (satKey < 1) {
        setMsg(msg, "FindRec: Invalid DMA key (<=0).");
        return false;
      }
      // Under the read side, so that the block's check and the copy meet no update, removal or
      // emptying of the same key half-way.
      ReadSection read(*this);
      basalon::DmaBlock* block = liveBlock(satKey);
      if (block == nullptr || block->elsetType != Traits::kElsetType || block->rec == nullptr) return false;
      Traits::copy(out, *static_cast<const Record*>(block->rec));
      return true;
    }
    if (TreeIsEmpty()) {
      setMsg(msg, "FindRec: Search tree is empty.");
      return false;
    }
    BeginRead();
    const Node* node = search(root_.v.load(std::memory_order_acquire), satKey);
    if (node != nullptr) Traits::copy(out, *node->rec);
    EndRead();
    if (node == nullptr) setMsg(msg, "FindRec: search key doens't exist.");
    return node != nullptr;
  }

  // Each shared word on its own cache line: readers only read isUpdating and root while the
  // read count changes on every entry.
  template <class T>
  struct alignas(64) Padded {
    std::atomic<T> v{};
  };

  // Fixed explicit stack for walks: an AVL tree of 2^31 nodes is at most 45 levels deep, and a
  // walk pushes at most two nodes per level.
  struct StackWalk {
    std::array<const Node*, 192> items{};
    size_t n = 0;
    void push(const Node* p) {
      if (p != nullptr && n < items.size()) items[n++] = p;
    }
    const Node* pop() { return items[--n]; }
    bool empty() const { return n == 0; }
  };

  // Nodes come from chunks of kChunk so that the tree's nodes lie close together in memory (a
  // descent then touches few pages); released nodes are kept on a free list for reuse.
  class NodePool {
   public:
    NodePool() = default;
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;
    ~NodePool() {
      for (Node* chunk : chunks_) delete[] chunk;
    }
    // A zeroed node, or null when memory is exhausted.
    Node* alloc() {
      std::lock_guard<std::mutex> guard(lock_);
      if (free_ == nullptr && !grow()) return nullptr;
      Node* n = free_;
      free_ = n->lower;
      *n = Node{};
      return n;
    }
    void release(Node* n) {
      std::lock_guard<std::mutex> guard(lock_);
      n->rec = nullptr;
      n->higher = nullptr;
      n->lower = free_;
      free_ = n;
    }

   private:
    static constexpr size_t kChunk = 4096;
    bool grow() {
      Node* chunk = new (std::nothrow) Node[kChunk];
      if (chunk == nullptr) return false;
      try {
        chunks_.push_back(chunk);
      } catch (const std::bad_alloc&) {
        delete[] chunk;
        return false;
      }
      for (size_t i = 0; i < kChunk; ++i) chunk[i].lower = i + 1 < kChunk ? &chunk[i + 1] : free_;
      free_ = chunk;
      return true;
    }
    std::mutex lock_;
    Node* free_ = nullptr;
    std::vector<Node*> chunks_;
  };

  static void pause(int spins) {
    if (spins > 64) std::this_thread::yield();
  }

  static void logError(const std::string& text) {
    std::string line;
    line.reserve(Traits::kMessagePrefix.size() + text.size());
    line.append(Traits::kMessagePrefix);
    line.append(text);
    basalon::tracelogerror(line);
  }

  static void setMsg(std::string* msg, std::string_view text) {
    if (msg == nullptr) return;
    msg->assign(Traits::kMessagePrefix);
    msg->append(text);
  }

  // A key right-justified in 19 columns.
  static std::string keyField(int64_t key) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%19" PRId64, key);
    return buf;
  }

  // Load sequence number as 12 digits, zero padded, then blanks to 32 characters.
  static void seqString(int32_t seq, char* out) {
    std::memset(out, ' ', 32);
    int64_t v = seq;
    const bool negative = v < 0;
    if (negative) v = -v;
    for (int i = 11; i >= 0; --i) {
      out[i] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
    if (negative) out[0] = '-';
  }

  static Record* newCopy(const Record& rec) {
    Record* copy = nullptr;
    try {
      copy = new Record;
      Traits::copy(*copy, rec);
    } catch (const std::bad_alloc&) {
      deleteRecord(copy);
      return nullptr;
    }
    return copy;
  }

  static Record* newMoved(Record& rec) {
    try {
      return new Record(std::move(rec));
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  static void deleteRecord(Record* rec) {
    if (rec == nullptr) return;
    Traits::release(*rec);
    delete rec;
  }

  // Lets change edit a copy of *slot and puts the copy in its place when change gives 0.
  template <class ChangeFn>
  static int32_t changeCopy(Record*& slot, ChangeFn& change) {
    Record* copy = newCopy(*slot);
    if (copy == nullptr) {
      logError("ModifyRec: Memory allocation failed");
      return basalon::kResultFail;
    }
    const int32_t code = change(*copy);
    if (code != basalon::kResultOk) {
      deleteRecord(copy);
      return code;
    }
    deleteRecord(slot);
    slot = copy;
    return code;
  }

  void releaseNode(Node* node) {
    deleteRecord(node->rec);
    nodes_.release(node);
  }

  // The live block a DMA key designates (self non-zero and equal to the key's address), or null.
  static basalon::DmaBlock* liveBlock(int64_t satKey) {
    basalon::DmaBlock* block = basalon::keytocptr(satKey);
    if (block == nullptr || block->self == 0 || block->self != basalon::satkeytoaddr(satKey)) return nullptr;
    return block;
  }

  // A node's record: its own in the standard mode, its DMA block's otherwise.
  static Record* recordOf(const Node* node) {
    if (node->rec != nullptr) return node->rec;
    if (!basalon::isdma(node->key)) return nullptr;
    basalon::DmaBlock* block = liveBlock(node->key);
    if (block == nullptr || block->elsetType != Traits::kElsetType) return nullptr;
    return static_cast<Record*>(block->rec);
  }

  static Node* search(Node* p, int64_t key) {
    while (p != nullptr && p->key != key) p = key < p->key ? p->lower : p->higher;
    return p;
  }

  // Sort text of orders 0/1: the store's own, or by default the satellite number in 9 digits
  // (zero padded, '*' when it does not fit) then the epoch in DS50 UTC as F16.9, blanks to 32.
  static void sortStringOf(const Record& rec, char* out) {
    if constexpr (requires { Traits::epochDs50(rec); }) {
      std::memset(out, ' ', basalon::kSortStringLength);
      if (!basalon::writeIm(out, 9, 9, Traits::satNum(rec))) std::memset(out, '*', 9);
      basalon::writeF(out + 9, 16, 9, Traits::epochDs50(rec));
    } else {
      Traits::sortString(rec, out);
    }
  }

  // Pre-order walk (node, lower, higher) over the nodes that have a record; fn(key, record)
  // returns false to stop.
  template <class Fn>
  void forEachPreOrder(Fn&& fn) const {
    StackWalk stack;
    stack.push(root_.v.load(std::memory_order_acquire));
    while (!stack.empty()) {
      const Node* p = stack.pop();
      const Record* rec = recordOf(p);
      if (rec != nullptr && !fn(p->key, static_cast<const Record&>(*rec))) return;
      stack.push(p->higher);
      stack.push(p->lower);
    }
  }

  int32_t countNodes() const {
    int32_t n = 0;
    StackWalk stack;
    stack.push(root_.v.load(std::memory_order_acquire));
    while (!stack.empty()) {
      const Node* p = stack.pop();
      ++n;
      stack.push(p->lower);
      stack.push(p->higher);
    }
    return n;
  }

  // In-order walk without recursion; fn returns false to stop.
  template <class Fn>
  void forEachInOrder(Fn&& fn) const {
    StackWalk stack;
    const Node* p = root_.v.load(std::memory_order_acquire);
    while (p != nullptr || !stack.empty()) {
      while (p != nullptr) {
        stack.push(p);
        p = p->lower;
      }
      p = stack.pop();
      if (!fn(p)) return;
      p = p->higher;
    }
  }

  // AddNode; exhausted tells that every one of the kMaxKeyAttempts keys was taken.
  void addNode(Node* node, int32_t& status, bool& exhausted, int64_t& finalKey) {
    WriterSection writer(*this);
    exhausted = false;
    if (basalon::isdma(node->key)) {
      status = 0;
      insertAtRoot(node, status);
      finalKey = node->key;
      return;
    }
    const int64_t firstKey = node->key;
    for (int attempt = 0; attempt < kMaxKeyAttempts; ++attempt) {
      status = 0;
      insertAtRoot(node, status);
      if (status < kKeyTaken || status == kDuplicate) {
        finalKey = node->key;
        return;
      }
      node->key = basalon::nextsatkey(node->key);
    }
    node->key = firstKey;
    finalKey = firstKey;
    status = kDuplicate;
    exhausted = true;
  }

  void insertAtRoot(Node* node, int32_t& status) {
    Node* root = root_.v.load(std::memory_order_relaxed);
    auto place = [this](Node* n) { n->seq = seqNum_.fetch_add(1, std::memory_order_relaxed) + 1; };
    const Record* incoming = recordOf(node);
    auto collision = [incoming](const Node* existingNode) {
      const Record* existing = recordOf(existingNode);
      return existing != nullptr && incoming != nullptr && Traits::equal(*existing, *incoming) ? kDuplicate
                                                                                               : kKeyTaken;
    };
    avl::insert(root, node, status, place, collision);
    root_.v.store(root, std::memory_order_release);
  }

  Padded<Node*> root_;
  Padded<int32_t> isUpdating_;
  Padded<int32_t> numReads_;
  std::atomic<int32_t> seqNum_{0};
  std::mutex writerLock_;
  NodePool nodes_;
};

}  // namespace keyedtree
