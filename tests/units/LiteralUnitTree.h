// The unit tree grown and searched exactly as its rules are written, without any index, and
// names compared in ASCII capitals by a comparison of its own: the plain copy that the tests
// hold the real tree and the real analysis against.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ravelin::testing_units {

/// True when two names are equal in ASCII capitals.
inline bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto up = [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
    if (up(a[i]) != up(b[i])) return false;
  }
  return true;
}

/// A plain binary tree of units: left leads to the next sibling, right to the first child.
struct TLiteralTree {
  struct Node {
    std::string name;
    std::uint8_t kind = 0;
    Node* left = nullptr;   // next sibling
    Node* right = nullptr;  // first child
  };
  std::vector<std::unique_ptr<Node>> nodes;
  Node* root = nullptr;

  /// Adds a node after the last sibling ('L', 'l') or child (any other letter) of parent (of
  /// the root when parent is nullptr); the first node added becomes the root.
  Node* AddNode(Node* parent, const std::string& name, char direction, std::uint8_t kind = 0) {
    nodes.push_back(std::make_unique<Node>(Node{name, kind}));
    Node* node = nodes.back().get();
    Node** slot = &root;
    if (parent == nullptr && root != nullptr) parent = root;
    if (parent != nullptr)
      slot = direction == 'L' || direction == 'l' ? &parent->left : &parent->right;
    while (*slot != nullptr) slot = &(*slot)->left;
    *slot = node;
    return node;
  }

  /// The node named key that a full search (node, later siblings, then children) meets last,
  /// not looking below or behind a match; nullptr when there is none.
  Node* FindNode(const std::string& key) const {
    Node* result = nullptr;
    std::vector<Node*> stack{root};
    while (!stack.empty()) {
      Node* n = stack.back();
      stack.pop_back();
      if (n == nullptr) continue;
      if (SameName(key, n->name)) {
        result = n;
        continue;
      }
      stack.push_back(n->right);  // searched after ...
      stack.push_back(n->left);   // ... the later siblings
    }
    return result;
  }
};

}  // namespace ravelin::testing_units
