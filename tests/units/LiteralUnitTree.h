// The unit tree grown and searched exactly as its rules are written, without any index: the
// plain copy that the tests hold the real tree against.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/VornString.h"

namespace ravelin::testing_units {

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

  /// Adds a node after the last sibling ('L') or child ('R') of parent (of the root when
  /// parent is nullptr); the first node added becomes the root.
  Node* AddNode(Node* parent, const std::string& name, char direction, std::uint8_t kind = 0) {
    nodes.push_back(std::make_unique<Node>(Node{name, kind}));
    Node* node = nodes.back().get();
    bool sibling = UpperChar(direction) == 'L';
    Node** slot = &root;
    if (parent == nullptr && root != nullptr) parent = root;
    if (parent != nullptr) slot = sibling ? &parent->left : &parent->right;
    while (*slot != nullptr) slot = &(*slot)->left;
    *slot = node;
    return node;
  }

  /// The node named key (ignoring case) that a full pre-order search meets last, not looking
  /// below a match; nullptr when there is none.
  Node* FindNode(const std::string& key) const {
    Node* result = nullptr;
    std::vector<Node*> stack{root};
    while (!stack.empty()) {
      Node* n = stack.back();
      stack.pop_back();
      if (n == nullptr) continue;
      if (CompareUpperText(key, n->name) == 0) {
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
