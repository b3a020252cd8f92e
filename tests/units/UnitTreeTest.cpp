// The unit tree: attaching, searching and the two walks.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "LiteralUnitTree.h"
#include "common/Error.h"
#include "common/VornString.h"
#include "units/UnitTree.h"

namespace ravelin {
namespace {

using testing_units::TLiteralTree;

TUnitNode* Add(TUnitTree& tree, TUnitNode* parent, const std::string& name, char direction,
               std::uint8_t kind = 1) {
  return tree.AddNode(parent, std::make_unique<TUnitNode>(name, kind), direction);
}

struct ChartStep {
  std::string name;
  int level;
  bool hasSibling;
  bool operator==(const ChartStep&) const = default;
};

std::vector<ChartStep> Chart(TUnitTree& tree) {
  std::vector<ChartStep> steps;
  tree.WalkChart([&](TUnitNode& node) {
    steps.push_back({node.Name, tree.Level, tree.HasSibling});
  });
  return steps;
}

std::string Describe(const std::vector<ChartStep>& steps) {
  std::string out;
  for (const auto& s : steps)
    out += s.name + "/" + std::to_string(s.level) + (s.hasSibling ? "+ " : "= ");
  return out;
}

/// The demo project: Demo.dpr names Forms and Unit1; Unit1 names Forms in its interface and
/// Dialogs after implementation.
void BuildDemo(TUnitTree& tree) {
  TUnitNode* root = Add(tree, nullptr, "/src/Demo.dpr", 'L');
  Add(tree, root, "Forms", 'L');
  TUnitNode* unit1 = Add(tree, root, "Unit1", 'L');
  Add(tree, unit1, "Forms", 'R', 1);
  Add(tree, unit1, "Dialogs", 'R', 0);
}

TEST(UnitTree, EmptyTreeFindsNothingAndWalksNothing) {
  TUnitTree tree;
  EXPECT_EQ(tree.FindNode(std::string("X")), nullptr);
  int visits = 0;
  tree.WalkChart([&](TUnitNode&) { ++visits; });
  tree.ForEachWithParent([&](TUnitNode&, TUnitNode*) { ++visits; });
  EXPECT_EQ(visits, 0);
}

TEST(UnitTree, AddNodeWithoutParentMakesTheRootThenGrowsTheTopLevel) {
  TUnitTree tree;
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  EXPECT_EQ(tree.RootNode(), root);
  TUnitNode* second = Add(tree, nullptr, "Second", 'L');
  TUnitNode* child = Add(tree, nullptr, "Child", 'R');  // no parent: the Root stands for it
  EXPECT_EQ(root->NextSibling(), second);
  EXPECT_EQ(root->FirstChild(), child);
  EXPECT_EQ(Describe(Chart(tree)), "Root/0+ Child/1= Second/0= ");
}

TEST(UnitTree, DirectionLettersIgnoreCaseAndAnyOtherLetterMeansChild) {
  struct Row {
    char direction;
    bool asChild;
  } rows[] = {{'L', false}, {'l', false}, {'R', true}, {'r', true}, {'X', true}};
  for (const auto& row : rows) {
    TUnitTree tree;
    TUnitNode* root = Add(tree, nullptr, "Root", 'L');
    TUnitNode* a = Add(tree, root, "A", 'L');
    TUnitNode* b = Add(tree, a, "B", row.direction);
    EXPECT_EQ(a->FirstChild() == b, row.asChild) << row.direction;
    EXPECT_EQ(a->NextSibling() == b, !row.asChild) << row.direction;
  }
}

TEST(UnitTree, SiblingOfAChildJoinsTheEndOfItsChain) {
  TUnitTree tree;
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  TUnitNode* a = Add(tree, root, "A", 'L');
  TUnitNode* c1 = Add(tree, a, "C1", 'R');
  Add(tree, a, "C2", 'R');
  Add(tree, c1, "C3", 'L');  // from the first child: appended behind C2
  Add(tree, a, "B", 'L');    // from a top-level node: appended to the top level
  EXPECT_EQ(Describe(Chart(tree)), "Root/0+ A/0+ C1/1+ C2/1+ C3/1= B/0= ");
}

TEST(UnitTree, WalkChartOfTheDemoGivesItsLevelsAndSiblingFlags) {
  TUnitTree tree;
  BuildDemo(tree);
  std::vector<ChartStep> expected{{"/src/Demo.dpr", 0, true},
                                  {"Forms", 0, true},
                                  {"Unit1", 0, false},
                                  {"Forms", 1, true},
                                  {"Dialogs", 1, false}};
  EXPECT_EQ(Describe(Chart(tree)), Describe(expected));
  EXPECT_EQ(tree.RootNode()->NextSibling()->NextSibling()->FirstChild()->NextSibling()->Kind, 0);
}

TEST(UnitTree, ForEachWithParentGivesTopLevelNodesNoParent) {
  TUnitTree tree;
  BuildDemo(tree);
  std::string out;
  tree.ForEachWithParent([&](TUnitNode& node, TUnitNode* parent) {
    out += node.Name + "<" + (parent ? parent->Name : "-") + " ";
  });
  EXPECT_EQ(out, "/src/Demo.dpr<- Forms<- Unit1<- Forms<Unit1 Dialogs<Unit1 ");
}

TEST(UnitTree, FindNodeKeepsTheLastMatchOfTheSearch) {
  // Top level root, A, B; A and B each have a child X: the X under B is met first, the X
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
  // Top level root, X, B; B has a child X: the top-level X hides B and everything under it.
  TUnitTree tree;
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  TUnitNode* x = Add(tree, root, "X", 'L');
  TUnitNode* b = Add(tree, root, "B", 'L');
  Add(tree, b, "X", 'R');
  EXPECT_EQ(tree.FindNode(std::string("X")), x);
  Add(tree, x, "X", 'R');  // under a match: never found either
  EXPECT_EQ(tree.FindNode(std::string("x")), x);
}

TEST(UnitTree, FindNodeIgnoresAsciiCaseOnly) {
  TUnitTree tree;
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  TUnitNode* sys = Add(tree, root, "SysUtils", 'L');
  Add(tree, root, "SYSUTILS", 'L');  // later in the chain: hidden behind the first
  TUnitNode* umlaut = Add(tree, root, "\xc4nderung", 'L');
  EXPECT_EQ(tree.FindNode(std::string("sysutils")), sys);
  EXPECT_EQ(tree.FindNode(std::string("\xc4NDERUNG")), umlaut);
  EXPECT_EQ(tree.FindNode(std::string("\xe4nderung")), nullptr);
  EXPECT_EQ(tree.FindNode(std::string("Sys")), nullptr);
}

TEST(UnitTree, FindNodeTakesIntegerKeysAsText) {
  TUnitTree tree;
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  TUnitNode* n = Add(tree, root, "42", 'L');
  EXPECT_EQ(tree.FindNode(std::int64_t{42}), n);
}

TEST(UnitTree, ClearEmptiesTreeAndSearch) {
  TUnitTree tree;
  BuildDemo(tree);
  tree.Clear();
  EXPECT_EQ(tree.RootNode(), nullptr);
  EXPECT_EQ(tree.FindNode(std::string("Forms")), nullptr);
  TUnitNode* root = Add(tree, nullptr, "Forms", 'L');
  EXPECT_EQ(tree.FindNode(std::string("Forms")), root);
}

TEST(UnitTree, LevelBeyond65535RaisesOverflow) {
  struct Row {
    int depth;  // nodes in one child chain
    bool overflows;
  } rows[] = {{65535, false}, {65536, true}};
  for (const auto& row : rows) {
    TUnitTree tree;
    TUnitNode* node = Add(tree, nullptr, "N", 'L');
    for (int i = 1; i < row.depth; ++i) node = Add(tree, node, "N", 'R');
    int visits = 0;
    int deepest = 0;
    auto walk = [&] {
      tree.WalkChart([&](TUnitNode&) {
        ++visits;
        deepest = tree.Level;
      });
    };
    if (row.overflows) {
      EXPECT_THROW(walk(), OverflowError) << row.depth;
    } else {
      EXPECT_NO_THROW(walk()) << row.depth;
    }
    EXPECT_EQ(visits, row.depth) << row.depth;
    EXPECT_EQ(deepest, row.depth - 1) << row.depth;
  }
}

TEST(UnitTree, LongChainsAreWalkedSearchedAndDestroyedWithoutRecursion) {
  constexpr int kCount = 100000;
  {
    TUnitTree tree;  // one top-level chain
    TUnitNode* root = Add(tree, nullptr, "Root", 'L');
    for (int i = 0; i < kCount; ++i) Add(tree, root, "S" + std::to_string(i), 'L');
    int visits = 0;
    tree.WalkChart([&](TUnitNode&) { ++visits; });
    tree.ForEachWithParent([&](TUnitNode&, TUnitNode*) { ++visits; });
    EXPECT_EQ(visits, 2 * (kCount + 1));
    EXPECT_EQ(tree.FindNode(std::string("s99999"))->Name, "S99999");
  }
  {
    TUnitTree tree;  // one chain of children
    TUnitNode* node = Add(tree, nullptr, "Root", 'L');
    for (int i = 0; i < kCount; ++i) node = Add(tree, node, "C" + std::to_string(i), 'R');
    int visits = 0;
    tree.ForEachWithParent([&](TUnitNode&, TUnitNode*) { ++visits; });
    EXPECT_EQ(visits, kCount + 1);
    EXPECT_EQ(tree.FindNode(std::string("C99999")), node);
    EXPECT_THROW(tree.WalkChart(nullptr), OverflowError);
  }
}

// ---------------------------------------------------------------------------------------
// FindNode against a literal search on random trees

TEST(UnitTree, FindNodeAgreesWithTheLiteralSearchOnRandomTrees) {
  std::mt19937 random(2024);
  const char* names[] = {"A", "a", "B", "b", "C", "D"};
  for (int round = 0; round < 200; ++round) {
    TUnitTree tree;
    TLiteralTree literal;
    std::vector<TUnitNode*> fast;
    std::vector<TLiteralTree::Node*> slow;
    std::unordered_map<const TUnitNode*, size_t> fastIndex;
    std::unordered_map<const TLiteralTree::Node*, size_t> slowIndex;
    // Later rounds grow long chains, which wear out the gaps between search positions.
    int count = 1 + static_cast<int>(random() % (round < 150 ? 120 : 1500));
    for (int i = 0; i < count; ++i) {
      std::string name = names[random() % 6];
      char direction = "LRlr"[random() % 4];
      size_t parent = fast.empty() || random() % 8 == 0   ? SIZE_MAX
                      : round >= 150 && random() % 4 != 0 ? fast.size() - 1
                                                          : random() % fast.size();
      TUnitNode* f = Add(tree, parent == SIZE_MAX ? nullptr : fast[parent], name, direction);
      TLiteralTree::Node* s =
          literal.AddNode(parent == SIZE_MAX ? nullptr : slow[parent], name, direction);
      fastIndex[f] = fast.size();
      slowIndex[s] = slow.size();
      fast.push_back(f);
      slow.push_back(s);
      for (const char* key : {"a", "B", "c", "d", "e"}) {
        TUnitNode* got = tree.FindNode(std::string(key));
        TLiteralTree::Node* want = literal.FindNode(key);
        ASSERT_EQ(got == nullptr, want == nullptr) << "round " << round << " key " << key;
        if (got != nullptr) {
          ASSERT_EQ(fastIndex[got], slowIndex[want]) << "round " << round << " key " << key;
        }
      }
    }
    // Same links everywhere.
    for (size_t i = 0; i < fast.size(); ++i) {
      auto idx = [&](TLiteralTree::Node* n) { return n ? slowIndex[n] : SIZE_MAX; };
      auto fidx = [&](TUnitNode* n) { return n ? fastIndex[n] : SIZE_MAX; };
      ASSERT_EQ(fidx(fast[i]->NextSibling()), idx(slow[i]->left)) << "round " << round;
      ASSERT_EQ(fidx(fast[i]->FirstChild()), idx(slow[i]->right)) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace ravelin
