// The small binary tree container under both trees of the unit analysis: it owns its nodes,
// destroys them all at once, walks them in order and finds or inserts a node by key through
// two virtual operations that derived trees override. No operation recurses, so a chain of
// any length (keys added in sorted order, long sibling chains) is walked and destroyed safely.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>

namespace ravelin {

/// A key: an integer or a text.
using TreeKey = std::variant<std::int64_t, std::string>;

/// A node with two links; derived nodes add their payload.
class TTreeNode {
 public:
  TTreeNode() = default;
  /// Destroys both subtrees without recursing, however deep they are.
  virtual ~TTreeNode();
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  /// In an ordered tree the subtree of smaller keys; in the unit tree the next sibling.
  std::unique_ptr<TTreeNode> Left;
  /// In an ordered tree the subtree of larger keys; in the unit tree the first child.
  std::unique_ptr<TTreeNode> Right;
};

/// Destroys every node of the subtree without recursing; node becomes empty.
void ReleaseSubtree(std::unique_ptr<TTreeNode>& node);

/// An unbalanced binary search tree that owns its nodes.
class TTree {
 public:
  /// Makes a new, unlinked node for a key (or returns none).
  using NodeFactory = std::function<std::unique_ptr<TTreeNode>(const TreeKey& key)>;
  /// Receives one node of a walk.
  using NodeVisit = std::function<void(TTreeNode& node)>;

  /// An empty tree.
  TTree() = default;
  /// Destroys every node.
  virtual ~TTree();
  TTree(const TTree&) = delete;
  TTree& operator=(const TTree&) = delete;

  /// The top node; empty when the tree is empty. Owns every node reachable from it.
  std::unique_ptr<TTreeNode> Root;

  /// -1, 0 or 1 as key1 orders before, equal to or after key2; here the variant's own order.
  virtual std::int32_t Compare(const TreeKey& key1, const TreeKey& key2) const;
  /// The key of a node; here the node's identity as an integer.
  virtual TreeKey GetKey(const TTreeNode& node) const;

  /// The node whose key equals key; when there is none, createNode makes one that is linked
  /// in where the descent ended (without rebalancing). Returns none when createNode does.
  TTreeNode* Add(const TreeKey& key, const NodeFactory& createNode);
  /// Calls visit with every node once, in order (left subtree, node, right subtree).
  void ForEach(const NodeVisit& visit);
  /// Destroys every node; the tree is empty afterwards and can be filled again.
  virtual void Clear();
};

/// The order of two texts in capitals, byte by byte as unsigned codes, a proper prefix first:
/// the comparison of unit names. Integer keys take part as their decimal text.
std::int32_t CompareUnitKeys(const TreeKey& key1, const TreeKey& key2);
/// The key as text: a text as it is, an integer as its decimal digits.
std::string KeyText(const TreeKey& key);

}  // namespace ravelin
