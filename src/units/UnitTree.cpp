// The unit tree and the search index behind its FindNode.
#include "units/UnitTree.h"

#include <algorithm>
#include <unordered_map>

#include "common/Checked.h"
#include "common/Error.h"
#include "common/VornString.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------
// The search index behind FindNode.
//
// FindNode searches node, later siblings (with their subtrees), then children: a pre-order
// walk of the binary tree with Left before Right, that does not descend below a match, and
// keeps the last match. The tree only grows by leaves, so the walk's order of the existing
// nodes never changes, and whether a node lies below a match of its own name is settled when
// it is attached. The index keeps every node's subtree as a pair of positions in one ordered
// list (the walk's order), and per name in capitals the nodes not below another node of that
// name, ordered by position; FindNode's answer is the last of them.

/// Positions in a list that grows by insertion anywhere, compared in constant time.
class OrderList {
 public:
  OrderList() { Clear(); }

  /// Forgets every position.
  void Clear() {
    entries_.clear();
    entries_.push_back({0, kHead, kTail});          // head
    entries_.push_back({kLabelEnd, kHead, kTail});  // tail
  }
  /// A new position right after position after (kHead for the front).
  std::uint32_t InsertAfter(std::uint32_t after) {
    if (entries_[entries_[after].next].label - entries_[after].label < 2) Relabel(after);
    Entry& prev = entries_[after];
    std::uint64_t lo = prev.label;
    std::uint64_t hi = entries_[prev.next].label;
    if (entries_.size() >= 0xFFFFFFF0u) throw GeneralError("The unit tree is too large.");
    auto id = static_cast<std::uint32_t>(entries_.size());
    std::uint32_t next = prev.next;
    entries_.push_back({lo + (hi - lo) / 2, after, next});
    entries_[after].next = id;
    entries_[next].prev = id;
    return id;
  }
  /// The position right before position id.
  std::uint32_t Before(std::uint32_t id) const { return entries_[id].prev; }
  /// True when position a comes before position b.
  bool Less(std::uint32_t a, std::uint32_t b) const {
    return entries_[a].label < entries_[b].label;
  }

  static constexpr std::uint32_t kHead = 0;
  static constexpr std::uint32_t kTail = 1;

 private:
  static constexpr std::uint64_t kLabelEnd = std::uint64_t{1} << 62;
  struct Entry {
    std::uint64_t label;
    std::uint32_t prev;
    std::uint32_t next;
  };

  /// Spreads the labels of the smallest aligned label range around position at that is
  /// sparse enough, so that a gap opens after at (amortised logarithmic cost).
  void Relabel(std::uint32_t at) {
    constexpr double kDensityBase = 2.0 / 1.3;
    double limit = 1.0;
    for (int bits = 1; bits <= 62; ++bits) {
      limit *= kDensityBase;
      std::uint64_t size = std::uint64_t{1} << bits;
      std::uint64_t lo = entries_[at].label & ~(size - 1);
      std::uint64_t hi = lo + size - 1;
      std::uint32_t first = at;
      std::uint64_t count = 1;
      while (entries_[first].prev != kHead && entries_[entries_[first].prev].label >= lo) {
        first = entries_[first].prev;
        ++count;
      }
      std::uint32_t last = at;
      while (entries_[last].next != kTail && entries_[entries_[last].next].label <= hi) {
        last = entries_[last].next;
        ++count;
      }
      if (static_cast<double>(count + 1) > limit) continue;
      std::uint64_t step = size / (count + 1);
      std::uint64_t label = lo;
      for (std::uint32_t id = first;; id = entries_[id].next) {
        entries_[id].label = label;
        label += step;
        if (id == last) break;
      }
      return;
    }
    throw GeneralError("The unit tree is too large.");
  }

  std::vector<Entry> entries_;
};

class UnitFindIndex {
 public:
  /// Gives node its positions (it was just attached in the slot named) and files it under
  /// its name when no node of that name lies above it.
  void Attach(TUnitNode& node, TUnitNode* slotOwner, bool leftSlot) {
    std::uint32_t after;
    if (slotOwner == nullptr)
      after = OrderList::kHead;
    else if (leftSlot)
      after = slotOwner->begin_;  // a next sibling follows its node at once
    else
      after = order_.Before(slotOwner->end_);  // first child: after the later siblings
    node.begin_ = order_.InsertAfter(after);
    node.end_ = order_.InsertAfter(node.begin_);

    Matches& matches = names_[UpperText(node.Name)];
    auto next =
        std::lower_bound(matches.roots.begin(), matches.roots.end(), &node, ByPosition{&order_});
    if (next != matches.roots.begin()) {
      TUnitNode* before = *std::prev(next);
      if (order_.Less(node.begin_, before->end_)) return;  // below a node of its name
    }
    matches.roots.insert(next, &node);
    if (matches.last == nullptr || order_.Less(matches.last->begin_, node.begin_))
      matches.last = &node;
  }

  /// The last node of the walk named upperName (in capitals), or none.
  TUnitNode* Find(const std::string& upperName) const {
    // The analysis asks for one name many times in a row (once per unit a file names).
    if (lastFound_ != nullptr && lastFound_->first == upperName) return lastFound_->second.last;
    auto it = names_.find(upperName);
    if (it == names_.end()) return nullptr;
    lastFound_ = &*it;
    return it->second.last;
  }

  void Clear() {
    lastFound_ = nullptr;
    names_.clear();
    order_.Clear();
  }

 private:
  struct ByPosition {
    const OrderList* order;
    bool operator()(const TUnitNode* a, const TUnitNode* b) const {
      return order->Less(a->begin_, b->begin_);
    }
  };
  struct Matches {
    std::vector<TUnitNode*> roots;  // nodes of this name not below another one, in walk order
    TUnitNode* last = nullptr;      // the last of them in the walk
  };

  OrderList order_;
  std::unordered_map<std::string, Matches> names_;
  mutable const std::pair<const std::string, Matches>* lastFound_ = nullptr;  // asked last
};

// ---------------------------------------------------------------------------------------
// TUnitTree

TUnitTree::TUnitTree() : index_(std::make_unique<UnitFindIndex>()) {}

TUnitTree::~TUnitTree() = default;

TUnitTree::TUnitTree(TUnitTree&& other) : TUnitTree() {
  *this = std::move(other);
}

TUnitTree& TUnitTree::operator=(TUnitTree&& other) {
  if (this != &other) {
    Clear();
    std::swap(Root, other.Root);
    std::swap(index_, other.index_);
    std::swap(lastTop_, other.lastTop_);
    Level = other.Level;
    HasSibling = other.HasSibling;
  }
  return *this;
}

std::int32_t TUnitTree::Compare(const TreeKey& key1, const TreeKey& key2) const {
  return CompareUnitKeys(key1, key2);
}

TreeKey TUnitTree::GetKey(const TTreeNode& node) const {
  return static_cast<const TUnitNode&>(node).Name;
}

TUnitNode* TUnitTree::AddNode(TUnitNode* parent, std::unique_ptr<TUnitNode> node, char direction) {
  if (!node) return nullptr;
  ReleaseSubtree(node->Left);
  ReleaseSubtree(node->Right);
  node->lastChild_ = nullptr;
  TUnitNode* added = node.get();
  if (parent == nullptr) {
    if (!Root) {
      added->parent_ = nullptr;
      Root = std::move(node);
      lastTop_ = added;
      index_->Attach(*added, nullptr, false);
      return added;
    }
    parent = RootNode();
  }
  bool sibling = UpperChar(direction) == 'L';
  TUnitNode* owner = sibling ? parent->parent_ : parent;  // whose child chain grows
  TUnitNode* tail = owner == nullptr ? lastTop_ : owner->lastChild_;
  added->parent_ = owner;
  if (tail == nullptr) {  // the first child of parent
    parent->Right = std::move(node);
    index_->Attach(*added, parent, false);
  } else {
    tail->Left = std::move(node);
    index_->Attach(*added, tail, true);
  }
  if (owner == nullptr)
    lastTop_ = added;
  else
    owner->lastChild_ = added;
  return added;
}

TUnitNode* TUnitTree::FindNode(const TreeKey& key) const {
  return index_->Find(UpperText(KeyText(key)));
}

void TUnitTree::WalkChart(const ChartVisit& visit) {
  Level = 0;
  HasSibling = false;
  // Each frame walks a node, or (node none, leave set) steps back up one level.
  struct Frame {
    TUnitNode* node;
    bool leave;
  };
  std::vector<Frame> stack;
  if (Root) stack.push_back({RootNode(), false});
  while (!stack.empty()) {
    Frame frame = stack.back();
    stack.pop_back();
    if (frame.leave) {
      CheckedSub(Level, 1);
      continue;
    }
    TUnitNode* node = frame.node;
    TUnitNode* next = node->NextSibling();
    HasSibling = next != nullptr;
    if (visit) visit(*node);
    CheckedInc(Level);
    if (next != nullptr) stack.push_back({next, false});
    stack.push_back({nullptr, true});
    if (TUnitNode* child = node->FirstChild()) stack.push_back({child, false});
  }
}

void TUnitTree::ForEachWithParent(const ParentVisit& visit) {
  struct Frame {
    TUnitNode* node;
    TUnitNode* parent;
  };
  std::vector<Frame> stack;
  if (Root) stack.push_back({RootNode(), nullptr});
  while (!stack.empty()) {
    Frame frame = stack.back();
    stack.pop_back();
    if (visit) visit(*frame.node, frame.parent);
    if (TUnitNode* next = frame.node->NextSibling()) stack.push_back({next, frame.parent});
    if (TUnitNode* child = frame.node->FirstChild()) stack.push_back({child, frame.node});
  }
}

void TUnitTree::Clear() {
  TTree::Clear();
  index_->Clear();
  lastTop_ = nullptr;
}

}  // namespace ravelin
