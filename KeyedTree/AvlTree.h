// Height-balanced (AVL) insertion, deletion and consistency walk on the keyed tree's nodes.
// A node has key, seq, balance (height(higher) - height(lower)), lower, higher and rec.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace keyedtree {

// Result of the consistency walk used by the test suites.
struct TreeReport {
  bool ok = true;
  std::string problem;  // first inconsistency found, empty when ok
  int32_t count = 0;
  int32_t height = 0;
  std::vector<std::pair<int64_t, int32_t>> keySeq;  // (key, seq) in ascending key order
};

namespace avl {

// Insertion status: 0 inserted, the subtree kept its height; 1 inserted, it grew; 2 the key is
// taken by a different record; 3 an identical record already has the key.
constexpr int32_t kGrown = 1;

// Inserts node below p. place(node) is called when the node is linked in (it gives the load
// sequence number); collision(existing) gives the status 2 or 3 for an equal key.
template <class Node, class Place, class Collision>
void insert(Node*& p, Node* node, int32_t& status, Place& place, Collision& collision) {
  if (p == nullptr) {
    place(node);
    node->balance = 0;
    node->lower = nullptr;
    node->higher = nullptr;
    p = node;
    status = kGrown;
    return;
  }
  if (node->key < p->key) {
    insert(p->lower, node, status, place, collision);
    if (status != kGrown) return;
    if (p->balance == 1) {
      p->balance = 0;
      status = 0;
    } else if (p->balance == 0) {
      p->balance = -1;
    } else {
      Node* l = p->lower;
      if (l->balance == -1) {  // single right rotation
        p->lower = l->higher;
        l->higher = p;
        p->balance = 0;
        p = l;
      } else {  // double rotation through the lower child's higher grandchild
        Node* g = l->higher;
        l->higher = g->lower;
        g->lower = l;
        p->lower = g->higher;
        g->higher = p;
        p->balance = g->balance == -1 ? 1 : 0;
        l->balance = g->balance == 1 ? -1 : 0;
        p = g;
      }
      p->balance = 0;
      status = 0;
    }
  } else if (node->key > p->key) {
    insert(p->higher, node, status, place, collision);
    if (status != kGrown) return;
    if (p->balance == -1) {
      p->balance = 0;
      status = 0;
    } else if (p->balance == 0) {
      p->balance = 1;
    } else {
      Node* h = p->higher;
      if (h->balance == 1) {  // single left rotation
        p->higher = h->lower;
        h->lower = p;
        p->balance = 0;
        p = h;
      } else {  // double rotation through the higher child's lower grandchild
        Node* g = h->lower;
        h->lower = g->higher;
        g->higher = h;
        p->higher = g->lower;
        g->lower = p;
        p->balance = g->balance == 1 ? -1 : 0;
        h->balance = g->balance == -1 ? 1 : 0;
        p = g;
      }
      p->balance = 0;
      status = 0;
    }
  } else {
    status = collision(static_cast<const Node*>(p));
  }
}

// The higher side of p got one level shorter; flag stays 1 while the subtree shrank.
template <class Node>
void balanceLeftHeavy(Node*& p, int32_t& flag) {
  if (p->balance == 1) {
    p->balance = 0;
  } else if (p->balance == 0) {
    p->balance = -1;
    flag = 0;
  } else {
    Node* l = p->lower;
    const int32_t b1 = l->balance;
    if (b1 <= 0) {  // single right rotation
      p->lower = l->higher;
      l->higher = p;
      if (b1 == 0) {
        p->balance = -1;
        l->balance = 1;
        flag = 0;
      } else {
        p->balance = 0;
        l->balance = 0;
      }
      p = l;
    } else {  // double rotation
      Node* g = l->higher;
      const int32_t b2 = g->balance;
      l->higher = g->lower;
      g->lower = l;
      p->lower = g->higher;
      g->higher = p;
      p->balance = b2 == -1 ? 1 : 0;
      l->balance = b2 == 1 ? -1 : 0;
      p = g;
      g->balance = 0;
    }
  }
}

// The lower side of p got one level shorter (mirror of balanceLeftHeavy).
template <class Node>
void balanceRightHeavy(Node*& p, int32_t& flag) {
  if (p->balance == -1) {
    p->balance = 0;
  } else if (p->balance == 0) {
    p->balance = 1;
    flag = 0;
  } else {
    Node* h = p->higher;
    const int32_t b1 = h->balance;
    if (b1 >= 0) {  // single left rotation
      p->higher = h->lower;
      h->lower = p;
      if (b1 == 0) {
        p->balance = 1;
        h->balance = -1;
        flag = 0;
      } else {
        p->balance = 0;
        h->balance = 0;
      }
      p = h;
    } else {  // double rotation
      Node* g = h->lower;
      const int32_t b2 = g->balance;
      h->lower = g->higher;
      g->higher = h;
      p->higher = g->lower;
      g->lower = p;
      p->balance = b2 == 1 ? -1 : 0;
      h->balance = b2 == -1 ? 1 : 0;
      p = g;
      g->balance = 0;
    }
  }
}

// Moves the in-order predecessor (rightmost node of r) into q and unlinks the predecessor. The
// record moves by link, so the predecessor's record keeps its address; release(node) frees the
// unlinked node together with q's old record.
template <class Node, class Release>
void swapNode(Node*& r, Node* q, int32_t& flag, Release& release) {
  if (r->higher != nullptr) {
    swapNode(r->higher, q, flag, release);
    if (flag == 1) balanceLeftHeavy(r, flag);
    return;
  }
  Node* pred = r;
  q->key = pred->key;
  q->seq = pred->seq;
  std::swap(q->rec, pred->rec);
  r = pred->lower;
  release(pred);
  flag = 1;
}

// Removes the node with key below p; found tells whether there was one.
template <class Node, class Release>
void remove(Node*& p, int64_t key, int32_t& flag, bool& found, Release& release) {
  if (p == nullptr) return;
  if (key < p->key) {
    remove(p->lower, key, flag, found, release);
    if (flag == 1) balanceRightHeavy(p, flag);
    return;
  }
  if (key > p->key) {
    remove(p->higher, key, flag, found, release);
    if (flag == 1) balanceLeftHeavy(p, flag);
    return;
  }
  found = true;
  Node* q = p;
  if (q->higher == nullptr) {
    p = q->lower;
    flag = 1;
    release(q);
  } else if (q->lower == nullptr) {
    p = q->higher;
    flag = 1;
    release(q);
  } else {
    swapNode(q->lower, q, flag, release);
    if (flag == 1) balanceRightHeavy(p, flag);
  }
}

// Height of the subtree, checking on the way that heights agree with the balance fields, that
// keys strictly ascend in order and that hasRecord(node) holds for every node.
template <class Node, class HasRecord>
int32_t check(const Node* p, TreeReport& report, bool& haveLast, int64_t& lastKey, HasRecord& hasRecord) {
  if (p == nullptr) return 0;
  const int32_t hl = check(p->lower, report, haveLast, lastKey, hasRecord);
  if (haveLast && p->key <= lastKey && report.ok) {
    report.ok = false;
    report.problem = "key " + std::to_string(p->key) + " not above " + std::to_string(lastKey);
  }
  haveLast = true;
  lastKey = p->key;
  report.keySeq.emplace_back(p->key, p->seq);
  if (!hasRecord(p) && report.ok) {
    report.ok = false;
    report.problem = "key " + std::to_string(p->key) + " has no record";
  }
  const int32_t hh = check(p->higher, report, haveLast, lastKey, hasRecord);
  if (report.ok && (p->balance != hh - hl || p->balance < -1 || p->balance > 1)) {
    report.ok = false;
    report.problem = "key " + std::to_string(p->key) + " balance " + std::to_string(p->balance) +
                     " but heights " + std::to_string(hl) + "/" + std::to_string(hh);
  }
  return 1 + std::max(hl, hh);
}

}  // namespace avl
}  // namespace keyedtree
