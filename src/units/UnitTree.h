// The unit tree: the "uses" relation of one analysis as a tree of unit names, each hung under
// the node of the unit whose clause names it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "units/Tree.h"

namespace ravelin {

class TUnitTree;
class UnitFindIndex;

/// One unit name of a uses clause (or the analysed root file) in the unit tree.
class TUnitNode : public TTreeNode {
 public:
  /// A node with the given name and kind and no links.
  TUnitNode(std::string name, std::uint8_t kind) : Name(std::move(name)), Kind(kind) {}

  /// The root's file name as the caller gave it, or the unit name as spelled in the clause.
  /// Not to be changed once the node is in a tree.
  std::string Name;
  /// 1: the root, or named before the word implementation; 0: named after it.
  std::uint8_t Kind = 0;

  /// The next sibling (the Left link), or none.
  TUnitNode* NextSibling() const { return static_cast<TUnitNode*>(Left.get()); }
  /// The first child (the Right link), or none.
  TUnitNode* FirstChild() const { return static_cast<TUnitNode*>(Right.get()); }

 private:
  friend class TUnitTree;
  friend class UnitFindIndex;
  TUnitNode* parent_ = nullptr;     // the node whose child chain holds this one; none on top
  TUnitNode* lastChild_ = nullptr;  // the end of this node's child chain
  std::uint32_t begin_ = 0;         // where this node's subtree starts in search order
  std::uint32_t end_ = 0;           // where it ends
};

/// The "uses" relation of one analysis: Right is a node's first child, Left its next sibling;
/// the Root and its sibling chain form the top level. Nodes enter only through AddNode.
class TUnitTree : public TTree {
 public:
  /// Receives one node of a chart walk.
  using ChartVisit = std::function<void(TUnitNode& node)>;
  /// Receives one node and its parent (none on the top level).
  using ParentVisit = std::function<void(TUnitNode& node, TUnitNode* parent)>;

  /// An empty tree.
  TUnitTree();
  /// Destroys every node.
  ~TUnitTree() override;
  /// Takes other's nodes; other is left empty.
  TUnitTree(TUnitTree&& other);
  /// Destroys every node, then takes other's; other is left empty.
  TUnitTree& operator=(TUnitTree&& other);

  /// During WalkChart: the depth of the node being visited, 0 on the top level.
  std::uint16_t Level = 0;
  /// During WalkChart: whether the node being visited has a next sibling.
  bool HasSibling = false;

  /// Unit names in capitals, byte by byte; integer keys as decimal text.
  std::int32_t Compare(const TreeKey& key1, const TreeKey& key2) const override;
  /// The node's Name as a text key.
  TreeKey GetKey(const TTreeNode& node) const override;

  /// Attaches node ("L": as the last sibling of parent; any other letter: as its last child;
  /// lower case as upper case). With no parent an empty tree takes node as its Root, otherwise
  /// the Root stands for the parent. Returns the node, now owned by the tree.
  TUnitNode* AddNode(TUnitNode* parent, std::unique_ptr<TUnitNode> node, char direction);
  /// The node a search of the whole tree meets last among the nodes named key (ignoring
  /// ASCII case), where the search (node, its later siblings, then its children) does not
  /// look past a match; none when there is no such node.
  TUnitNode* FindNode(const TreeKey& key) const;
  /// Calls visit (when given) with every node in chart order (node, its children, its later
  /// siblings), with Level and HasSibling describing that node. Throws OverflowError when the
  /// depth passes 65,535.
  void WalkChart(const ChartVisit& visit);
  /// Calls visit with every node and its parent: node, its children, then its later siblings.
  void ForEachWithParent(const ParentVisit& visit);
  /// Destroys every node.
  void Clear() override;

  /// The Root as a unit node, or none.
  TUnitNode* RootNode() const { return static_cast<TUnitNode*>(Root.get()); }
  /// Nodes are attached with AddNode only.
  TTreeNode* Add(const TreeKey& key, const NodeFactory& createNode) = delete;

 private:
  std::unique_ptr<UnitFindIndex> index_;
  TUnitNode* lastTop_ = nullptr;  // the end of the top-level chain
};

}  // namespace ravelin
