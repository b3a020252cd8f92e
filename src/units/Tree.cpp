#include "units/Tree.h"

#include <vector>

#include "common/VornString.h"

namespace ravelin {

void ReleaseSubtree(std::unique_ptr<TTreeNode>& node) {
  if (!node) return;
  std::vector<std::unique_ptr<TTreeNode>> pending;
  pending.push_back(std::move(node));
  while (!pending.empty()) {
    std::unique_ptr<TTreeNode> current = std::move(pending.back());
    pending.pop_back();
    if (current->Left) pending.push_back(std::move(current->Left));
    if (current->Right) pending.push_back(std::move(current->Right));
    // current now has no links, so its destructor does not descend.
  }
}

TTreeNode::~TTreeNode() {
  ReleaseSubtree(Left);
  ReleaseSubtree(Right);
}

TTree::~TTree() {
  ReleaseSubtree(Root);
}

std::int32_t TTree::Compare(const TreeKey& key1, const TreeKey& key2) const {
  if (key1 < key2) return -1;
  if (key2 < key1) return 1;
  return 0;
}

TreeKey TTree::GetKey(const TTreeNode& node) const {
  return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(&node));
}

TTreeNode* TTree::Add(const TreeKey& key, const NodeFactory& createNode) {
  std::unique_ptr<TTreeNode>* slot = &Root;
  while (*slot) {
    TTreeNode& node = **slot;
    std::int32_t c = Compare(key, GetKey(node));
    if (c == 0) return &node;
    slot = c < 0 ? &node.Left : &node.Right;
  }
  std::unique_ptr<TTreeNode> created = createNode ? createNode(key) : nullptr;
  if (!created) return nullptr;
  ReleaseSubtree(created->Left);
  ReleaseSubtree(created->Right);
  *slot = std::move(created);
  return slot->get();
}

void TTree::ForEach(const NodeVisit& visit) {
  // In order: the left spine is pushed, then each node is visited after its left subtree,
  // its right link read before the visit.
  std::vector<TTreeNode*> stack;
  TTreeNode* node = Root.get();
  while (node != nullptr || !stack.empty()) {
    while (node != nullptr) {
      stack.push_back(node);
      node = node->Left.get();
    }
    node = stack.back();
    stack.pop_back();
    TTreeNode* right = node->Right.get();
    if (visit) visit(*node);
    node = right;
  }
}

void TTree::Clear() {
  ReleaseSubtree(Root);
}

std::string KeyText(const TreeKey& key) {
  if (const auto* text = std::get_if<std::string>(&key)) return *text;
  return std::to_string(std::get<std::int64_t>(key));
}

std::int32_t CompareUnitKeys(const TreeKey& key1, const TreeKey& key2) {
  const auto* text1 = std::get_if<std::string>(&key1);
  const auto* text2 = std::get_if<std::string>(&key2);
  if (text1 != nullptr && text2 != nullptr) return CompareUpperText(*text1, *text2);
  return CompareUpperText(KeyText(key1), KeyText(key2));
}

}  // namespace ravelin
