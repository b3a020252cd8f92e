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

/// A node that knows an integer key.
class TIntNode : public TTreeNode {
 public:
  explicit TIntNode(std::int64_t key) : Key(key) {}
  std::int64_t Key;
};

/// An ordered tree of integer keys.
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

/// The tree's shape as text: (left key right), "-" for none.
std::string Shape(const TTree& tree, const TTreeNode* node) {
  // Iterative so that deep chains can be printed too.
  std::string out;
  struct Frame {
    const TTreeNode* node;
    int stage;
  };
  std::vector<Frame> stack{{node, 0}};
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.node == nullptr) {
      out += "-";
      stack.pop_back();
      continue;
    }
    if (f.stage == 0) {
      out += "(";
      f.stage = 1;
      stack.push_back({f.node->Left.get(), 0});
    } else if (f.stage == 1) {
      out += " " + KeyText(tree.GetKey(*f.node)) + " ";
      f.stage = 2;
      stack.push_back({f.node->Right.get(), 0});
    } else {
      out += ")";
      stack.pop_back();
    }
  }
  return out;
}

TEST(GenericTree, AddOnAnEmptyTreeMakesTheNodeTheRoot) {
  TIntTree tree;
  TTreeNode* node = tree.Add(std::int64_t{5}, MakeIntNode);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(tree.Root.get(), node);
}

TEST(GenericTree, AddOfAnExistingKeyReturnsItsNodeWithoutCreating) {
  TIntTree tree;
  TTreeNode* first = tree.Add(std::int64_t{5}, MakeIntNode);
  int created = 0;
  TTreeNode* again = tree.Add(std::int64_t{5}, [&](const TTreeKey& key) {
    ++created;
    return MakeIntNode(key);
  });
  EXPECT_EQ(again, first);
  EXPECT_EQ(created, 0);
}

TEST(GenericTree, CreateNodeReturningNoneLeavesTheTreeAlone) {
  TIntTree tree;
  tree.Add(std::int64_t{5}, MakeIntNode);
  EXPECT_EQ(tree.Add(std::int64_t{7}, [](const TTreeKey&) { return nullptr; }), nullptr);
  EXPECT_EQ(InOrder(tree), std::vector<std::int64_t>{5});
  EXPECT_FALSE(tree.Root->Right);
}

TEST(GenericTree, ForEachVisitsInAscendingOrderWhateverTheInsertionOrder) {
  std::vector<std::int64_t> keys{50, 20, 80, 10, 30, 70, 90, 25, 35, 75};
  TIntTree tree;
  for (auto k : keys) tree.Add(k, MakeIntNode);
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(InOrder(tree), keys);
  EXPECT_EQ(Shape(tree, tree.Root.get()),
            "(((- 10 -) 20 ((- 25 -) 30 (- 35 -))) 50 ((- 70 (- 75 -)) 80 (- 90 -)))");
}

TEST(GenericTree, EmptyTreeIsNeverVisitedAndClearOfItIsHarmless) {
  TIntTree tree;
  int visits = 0;
  tree.ForEach([&](TTreeNode&) { ++visits; });
  tree.Clear();
  EXPECT_EQ(visits, 0);
  EXPECT_FALSE(tree.Root);
}

TEST(GenericTree, ClearedTreeAcceptsNewNodes) {
  TIntTree tree;
  for (std::int64_t k : {3, 1, 2}) tree.Add(k, MakeIntNode);
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
  TTreeNode a;
  TTreeNode b;
  EXPECT_NE(tree.Compare(tree.GetKey(a), tree.GetKey(b)), 0);  // identity keys
}

TEST(GenericTree, AscendingKeysMakeARightChainThatIsWalkedAndDestroyedWithoutRecursion) {
  // 100,000 nodes in a chain of Right links (as ascending Add calls would build it; linked
  // directly here because building it through Add takes quadratic time).
  constexpr std::int64_t kCount = 100000;
  TIntTree tree;
  std::unique_ptr<TTreeNode>* slot = &tree.Root;
  for (std::int64_t k = 0; k < kCount; ++k) {
    *slot = std::make_unique<TIntNode>(k);
    slot = &(*slot)->Right;
  }
  // One more Add descends the whole chain.
  tree.Add(kCount, MakeIntNode);
  auto keys = InOrder(tree);
  ASSERT_EQ(keys.size(), static_cast<size_t>(kCount + 1));
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
  tree.Clear();
  EXPECT_FALSE(tree.Root);
}

TEST(GenericTree, LeftChainOfANodeOutsideATreeIsDestroyedWithoutRecursion) {
  auto head = std::make_unique<TIntNode>(0);
  TTreeNode* tail = head.get();
  for (int i = 1; i < 200000; ++i) {
    tail->Left = std::make_unique<TIntNode>(i);
    tail = tail->Left.get();
  }
  head.reset();  // must not overflow the stack
  SUCCEED();
}

// ---------------------------------------------------------------------------------------
// The dependency tree

/// The same tree grown by the generic descent of Add, as reference.
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
  const char* letters = "aAbBcC";
  for (int round = 0; round < 30; ++round) {
    TDpndTree fast;
    TLiteralNameTree literal;
    int count = 1 + static_cast<int>(random() % 200);
    for (int i = 0; i < count; ++i) {
      std::string name;
      int length = 1 + static_cast<int>(random() % 4);
      for (int c = 0; c < length; ++c) name += letters[random() % 6];
      TDpndNode* a = fast.AddName(name);
      auto* b = static_cast<TDpndNode*>(literal.Add(name, CreateDpndNode));
      ASSERT_EQ(a->Name, b->Name) << "round " << round << " name " << name;
    }
    EXPECT_EQ(Shape(fast, fast.Root.get()), Shape(literal, literal.Root.get()))
        << "round " << round;
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
}

TEST(DpndTree, CreateDpndNodeTakesTheKeyAsText) {
  auto node = CreateDpndNode(std::string("Forms"));
  EXPECT_EQ(static_cast<TDpndNode&>(*node).Name, "Forms");
  EXPECT_TRUE(static_cast<TDpndNode&>(*node).UsedBy.empty());
  EXPECT_EQ(static_cast<TDpndNode&>(*CreateDpndNode(std::int64_t{42})).Name, "42");
}

}  // namespace
}  // namespace ravelin
