// The unit tree: attaching, searching and the two walks.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "LiteralUnitTree.h"
#include "common/Error.h"
#include "units/UnitTree.h"

namespace ravelin {
namespace {

using testing_units::TLiteralTree;

TUnitNode* Add(TUnitTree& tree, TUnitNode* parent, const std::string& name, char direction,
               std::uint8_t kind = 1) {
  return tree.AddNode(parent, std::make_unique<TUnitNode>(name, kind), direction);
}

/// The chart walk as "name/level" with "+" when a sibling follows, "=" when none does.
std::string Chart(TUnitTree& tree) {
  std::string out;
  tree.WalkChart([&](TUnitNode& node) {
    out += node.Name + "/" + std::to_string(tree.Level) + (tree.HasSibling ? "+ " : "= ");
  });
  return out;
}

TEST(UnitTree, AddNodeAppendsToTheEndOfTheChainItsDirectionNames) {
  TUnitTree tree;
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  EXPECT_EQ(tree.RootNode(), root);
  Add(tree, nullptr, "Top", 'L');
  Add(tree, nullptr, "Child", 'R');  // no parent: the root stands for it
  TUnitNode* a = Add(tree, root, "A", 'L');
  TUnitNode* c1 = Add(tree, a, "C1", 'R');
  Add(tree, a, "C2", 'r');
  Add(tree, c1, "C3", 'l');  // from the first child: appended behind C2
  Add(tree, a, "C4", 'X');   // any other letter means child
  Add(tree, a, "B", 'L');    // from a top-level node: appended to the top level
  EXPECT_EQ(Chart(tree), "Root/0+ Child/1= Top/0+ A/0+ C1/1+ C2/1+ C3/1+ C4/1= B/0= ");
}

TEST(UnitTree, WalkChartAndForEachWithParentOfTheDemoAndOfAnEmptyTree) {
  // Demo.dpr names Forms and Unit1; Unit1 names Forms in its interface, Dialogs after it.
  TUnitTree tree;
  std::string out;
  auto withParents = [&] {
    tree.ForEachWithParent([&](TUnitNode& node, TUnitNode* parent) {
      out += node.Name + "<" + (parent ? parent->Name : "-") + " ";
    });
    return out;
  };
  EXPECT_EQ(Chart(tree) + withParents(), "");
  EXPECT_EQ(tree.FindNode(std::string("X")), nullptr);
  TUnitNode* root = Add(tree, nullptr, "/src/Demo.dpr", 'L');
  Add(tree, root, "Forms", 'L');
  TUnitNode* unit1 = Add(tree, root, "Unit1", 'L');
  Add(tree, unit1, "Forms", 'R', 1);
  Add(tree, unit1, "Dialogs", 'R', 0);
  EXPECT_EQ(Chart(tree), "/src/Demo.dpr/0+ Forms/0+ Unit1/0= Forms/1+ Dialogs/1= ");
  EXPECT_EQ(withParents(), "/src/Demo.dpr<- Forms<- Unit1<- Forms<Unit1 Dialogs<Unit1 ");
  tree.Clear();
  EXPECT_EQ(tree.RootNode(), nullptr);
  EXPECT_EQ(tree.FindNode(std::string("Forms")), nullptr);
}

TEST(UnitTree, FindNodeKeepsTheLastMatchOfTheSearch) {
  // Top level Root, A, B; A and B each have a child X: the X under B is met first, the X
  // under A last.
  TUnitTree tree;
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  TUnitNode* a = Add(tree, root, "A", 'L');
  TUnitNode* b = Add(tree, root, "B", 'L');
  TUnitNode* xUnderA = Add(tree, a, "X", 'R');
  Add(tree, b, "X", 'R');
  EXPECT_EQ(tree.FindNode(std::string("X")), xUnderA);
}

TEST(UnitTree, FindNodeDoesNotLookBelowOrBehindAMatch) {
  // Top level Root, X, B; B has a child X: the top-level X hides B and everything under it.
  TUnitTree tree;
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  TUnitNode* x = Add(tree, root, "X", 'L');
  TUnitNode* b = Add(tree, root, "B", 'L');
  Add(tree, b, "X", 'R');
  EXPECT_EQ(tree.FindNode(std::string("X")), x);
  Add(tree, x, "X", 'R');  // under a match: never found either
  EXPECT_EQ(tree.FindNode(std::string("x")), x);
}

TEST(UnitTree, FindNodeIgnoresAsciiCaseOnlyAndTakesIntegersAsText) {
  TUnitTree tree;
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  TUnitNode* sys = Add(tree, root, "SysUtils", 'L');
  Add(tree, root, "SYSUTILS", 'L');  // later in the chain: hidden behind the first
  TUnitNode* umlaut = Add(tree, root, "\xc4nderung", 'L');
  TUnitNode* number = Add(tree, root, "42", 'L');
  EXPECT_EQ(tree.FindNode(std::string("sysutils")), sys);
  EXPECT_EQ(tree.FindNode(std::string("\xc4NDERUNG")), umlaut);
  EXPECT_EQ(tree.FindNode(std::string("\xe4nderung")), nullptr);
  EXPECT_EQ(tree.FindNode(std::string("Sys")), nullptr);
  EXPECT_EQ(tree.FindNode(std::int64_t{42}), number);
}

TEST(UnitTree, LevelBeyond65535RaisesOverflow) {
  for (int depth : {65535, 65536}) {
    TUnitTree tree;
    TUnitNode* node = Add(tree, nullptr, "N", 'L');
    for (int i = 1; i < depth; ++i) node = Add(tree, node, "N", 'R');
    int visits = 0, deepest = 0;
    auto walk = [&] { tree.WalkChart([&](TUnitNode&) { ++visits, deepest = tree.Level; }); };
    if (depth > 65535) {
      EXPECT_THROW(walk(), OverflowError) << depth;
    } else {
      EXPECT_NO_THROW(walk()) << depth;
    }
    EXPECT_EQ(visits, depth) << depth;
    EXPECT_EQ(deepest, depth - 1) << depth;
  }
}

TEST(UnitTree, ChainsOf100000NodesAreWalkedSearchedAndDestroyedWithoutRecursion) {
  constexpr int kCount = 100000;
  TUnitTree siblings;
  TUnitNode* root = Add(siblings, nullptr, "Root", 'L');
  for (int i = 0; i < kCount; ++i) Add(siblings, root, "S" + std::to_string(i), 'L');
  int visits = 0;
  siblings.WalkChart([&](TUnitNode&) { ++visits; });
  siblings.ForEachWithParent([&](TUnitNode&, TUnitNode*) { ++visits; });
  EXPECT_EQ(visits, 2 * (kCount + 1));
  EXPECT_EQ(siblings.FindNode(std::string("s99999"))->Name, "S99999");

  TUnitTree children;
  TUnitNode* node = Add(children, nullptr, "Root", 'L');
  for (int i = 0; i < kCount; ++i) node = Add(children, node, "C" + std::to_string(i), 'R');
  visits = 0;
  children.ForEachWithParent([&](TUnitNode&, TUnitNode*) { ++visits; });
  EXPECT_EQ(visits, kCount + 1);
  EXPECT_EQ(children.FindNode(std::string("C99999")), node);
  EXPECT_THROW(children.WalkChart(nullptr), OverflowError);
}

TEST(UnitTree, FindNodeAndLinksAgreeWithTheLiteralTreeOnRandomTrees) {
  std::mt19937 random(2024);
  const char* names[] = {"A", "a", "B", "b", "C", "D"};
  for (int round = 0; round < 200; ++round) {
    TUnitTree tree;
    TLiteralTree literal;
    std::vector<TUnitNode*> fast;
    std::vector<TLiteralTree::Node*> slow;
    std::unordered_map<const void*, size_t> index{{nullptr, SIZE_MAX}};
    // Later rounds grow long chains, which wear out the gaps between search positions.
    int count = 1 + static_cast<int>(random() % (round < 150 ? 120 : 1500));
    for (int i = 0; i < count; ++i) {
      std::string name = names[random() % 6];
      char direction = "LRlr"[random() % 4];
      size_t parent = fast.empty() || random() % 8 == 0   ? SIZE_MAX
                      : round >= 150 && random() % 4 != 0 ? fast.size() - 1
                                                          : random() % fast.size();
      bool top = parent == SIZE_MAX;
      index[fast.emplace_back(Add(tree, top ? nullptr : fast[parent], name, direction))] = i;
      index[slow.emplace_back(literal.AddNode(top ? nullptr : slow[parent], name, direction))] = i;
      for (const char* key : {"a", "B", "c", "d", "e"})
        ASSERT_EQ(index[tree.FindNode(std::string(key))], index[literal.FindNode(key)])
            << "round " << round << " key " << key;
    }
    for (size_t i = 0; i < fast.size(); ++i) {
      ASSERT_EQ(index[fast[i]->NextSibling()], index[slow[i]->left]) << "round " << round;
      ASSERT_EQ(index[fast[i]->FirstChild()], index[slow[i]->right]) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace ravelin
