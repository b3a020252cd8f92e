// The generic tree and the dependency tree built on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "units/Tree.h"
#include "units/UnitDpnd.h"

namespace ravelin {
namespace {

/// An ordered tree of integer keys.
class TIntNode : public TTreeNode {
 public:
  explicit TIntNode(std::int64_t key) : Key(key) {}
  std::int64_t Key;
};
class TIntTree : public TTree {
 public:
  TTreeKey GetKey(const TTreeNode& node) const override {
    return static_cast<const TIntNode&>(node).Key;
  }
};

std::unique_ptr<TTreeNode> MakeIntNode(const TTreeKey& key) {
  return std::make_unique<TIntNode>(std::get<std::int64_t>(key));
}

std::vector<std::int64_t> InOrder(TTree& tree) {
  std::vector<std::int64_t> keys;
  tree.ForEach([&](TTreeNode& node) { keys.push_back(static_cast<TIntNode&>(node).Key); });
  return keys;
}

/// The shape of a small tree as text: (left key right), "-" for none.
std::string Shape(const TTree& tree, const TTreeNode* node) {
  if (node == nullptr) return "-";
  return "(" + Shape(tree, node->Left.get()) + " " + KeyText(tree.GetKey(*node)) + " " +
         Shape(tree, node->Right.get()) + ")";
}

TEST(GenericTree, AddMakesTheRootReturnsExistingKeysAndSkipsRefusedNodes) {
  TIntTree tree;
  TTreeNode* first = tree.Add(std::int64_t{5}, MakeIntNode);
  EXPECT_EQ(tree.Root.get(), first);
  int created = 0;
  auto counting = [&](const TTreeKey& key) { return ++created, MakeIntNode(key); };
  EXPECT_EQ(tree.Add(std::int64_t{5}, counting), first);
  EXPECT_EQ(created, 0);
  EXPECT_EQ(tree.Add(std::int64_t{7}, [](const TTreeKey&) { return nullptr; }), nullptr);
  EXPECT_EQ(InOrder(tree), std::vector<std::int64_t>{5});
}

TEST(GenericTree, ForEachVisitsInAscendingOrderAndClearEmptiesTheTree) {
  std::vector<std::int64_t> keys{50, 20, 80, 10, 30, 70, 90, 25, 35, 75};
  TIntTree tree;
  EXPECT_TRUE(InOrder(tree).empty());
  for (auto k : keys) tree.Add(k, MakeIntNode);
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(InOrder(tree), keys);
  EXPECT_EQ(Shape(tree, tree.Root.get()),
            "(((- 10 -) 20 ((- 25 -) 30 (- 35 -))) 50 ((- 70 (- 75 -)) 80 (- 90 -)))");
  tree.Clear();
  EXPECT_FALSE(tree.Root);
  tree.Add(std::int64_t{9}, MakeIntNode);
  EXPECT_EQ(InOrder(tree), std::vector<std::int64_t>{9});
}

TEST(GenericTree, BaseTreeOrdersIntegerKeysBeforeTexts) {
  TTree tree;
  EXPECT_EQ(tree.Compare(std::int64_t{2}, std::int64_t{10}), -1);
  EXPECT_EQ(tree.Compare(std::int64_t{10}, std::int64_t{10}), 0);
  EXPECT_EQ(tree.Compare(std::string("a"), std::int64_t{10}), 1);
  TTreeNode a, b;
  EXPECT_NE(tree.Compare(tree.GetKey(a), tree.GetKey(b)), 0);  // identity keys
}

TEST(GenericTree, ChainsOf100000NodesAreWalkedAndDestroyedWithoutRecursion) {
  // A chain of Right links as ascending Add calls build it (linked directly: Add would take
  // quadratic time); one more Add descends all of it.
  constexpr std::int64_t kCount = 100000;
  TIntTree tree;
  std::unique_ptr<TTreeNode>* slot = &tree.Root;
  for (std::int64_t k = 0; k < kCount; ++k, slot = &(*slot)->Right)
    *slot = std::make_unique<TIntNode>(k);
  tree.Add(kCount, MakeIntNode);
  auto keys = InOrder(tree);
  ASSERT_EQ(keys.size(), static_cast<size_t>(kCount + 1));
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
  tree.Clear();
  // A Left chain of a node outside any tree.
  auto head = std::make_unique<TIntNode>(0);
  TTreeNode* tail = head.get();
  for (int i = 1; i < 200000; ++i, tail = tail->Left.get())
    tail->Left = std::make_unique<TIntNode>(i);
  head.reset();
}

/// The dependency tree grown by the generic descent of Add, as reference.
class TLiteralNameTree : public TTree {
 public:
  std::int32_t Compare(const TTreeKey& a, const TTreeKey& b) const override {
    return CompareUnitKeys(a, b);
  }
  TTreeKey GetKey(const TTreeNode& node) const override {
    return static_cast<const TDpndNode&>(node).Name;
  }
};

TEST(DpndTree, ComparesNamesInCapitalsByteByByte) {
  struct Row {
    std::string a, b;
    int expected;
  } rows[] = {
      {"SysUtils", "sysutils", 0},    {"Forms", "Graphics", -1}, {"Unit1", "Unit", 1},
      {"Unit", "Unit1", -1},          {"_A", "ZZ", 1},           {"\xe4", "\xc4", 1},
      {"/src/Demo.dpr", "Alpha", -1},
  };
  TDpndTree tree;
  for (const auto& row : rows)
    EXPECT_EQ(tree.Compare(row.a, row.b), row.expected) << row.a << " vs " << row.b;
}

TEST(DpndTree, AddGrowsExactlyTheTreeOfTheGenericDescent) {
  std::mt19937 random(7);
  for (int round = 0; round < 30; ++round) {
    TDpndTree fast;
    TLiteralNameTree literal;
    for (int i = 0, count = 1 + random() % 200; i < count; ++i) {
      std::string name(1 + random() % 4, ' ');
      for (char& c : name) c = "aAbBcC"[random() % 6];
      auto* b = static_cast<TDpndNode*>(literal.Add(name, CreateDpndNode));
      ASSERT_EQ(fast.AddName(name)->Name, b->Name) << "round " << round << " name " << name;
    }
    EXPECT_EQ(Shape(fast, fast.Root.get()), Shape(literal, literal.Root.get())) << round;
  }
}

TEST(DpndTree, SortedNamesMakeAChainThatStaysFast) {
  TDpndTree tree;
  constexpr int kCount = 100000;
  char name[16];
  for (int i = 0; i < kCount; ++i) {
    std::snprintf(name, sizeof name, "U%06d", i);
    tree.AddName(name);
  }
  EXPECT_EQ(tree.AddName("u000000"), static_cast<TDpndNode*>(tree.Root.get()));
  int visits = 0;
  tree.ForEach([&](TTreeNode&) { ++visits; });
  EXPECT_EQ(visits, kCount);
  EXPECT_FALSE(tree.Root->Left);  // a chain along Right links
  EXPECT_EQ(static_cast<TDpndNode&>(*CreateDpndNode(std::int64_t{42})).Name, "42");
}

}  // namespace
}  // namespace ravelin
