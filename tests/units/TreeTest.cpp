// The dependency tree and the unit tree: how nodes are attached and found, walks over 100,000
// nodes without recursion, and random trees against literal copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <unordered_map>

#include "LiteralUnitTree.h"
#include "common/Error.h"
#include "units/Tree.h"
#include "units/UnitDpnd.h"
#include "units/UnitTree.h"

namespace ravelin {
namespace {

using testing_units::TLiteralTree;

/// A small tree's shape: (left key right), "-" for none.
std::string Shape(const TTree& tree, const TTreeNode* node) {
  if (node == nullptr) return "-";
  return "(" + Shape(tree, node->Left.get()) + " " + KeyText(tree.GetKey(*node)) + " " +
         Shape(tree, node->Right.get()) + ")";
}

/// The dependency tree grown by the generic descent of Add, as reference.
class TLiteralNameTree : public TTree {
 public:
  std::int32_t Compare(const TreeKey& a, const TreeKey& b) const override {
    return CompareUnitKeys(a, b);
  }
  TreeKey GetKey(const TTreeNode& node) const override {
    return static_cast<const TDpndNode&>(node).Name;
  }
};

TEST(DpndTree, GrowsTheTreeOfTheGenericDescentComparingNamesInCapitals) {
  TDpndTree tree;
  const struct {
    std::string a, b;
    int order;
  } rows[] = {{"SysUtils", "sysutils", 0}, {"Forms", "Graphics", -1},
              {"Unit1", "Unit", 1},        {"_A", "ZZ", 1},
              {"\xe4", "\xc4", 1},         {"/src/D.dpr", "Alpha", -1}};
  for (const auto& row : rows)
    EXPECT_EQ(tree.Compare(row.a, row.b), row.order) << row.a << " " << row.b;
  std::mt19937 random(7);
  for (int round = 0; round < 30; ++round) {
    TDpndTree fast;
    TLiteralNameTree literal;
    for (int i = 0, count = 1 + random() % 200; i < count; ++i) {
      std::string name(1 + random() % 4, ' ');
      for (char& c : name) c = "aAbBcC"[random() % 6];
      auto* b = static_cast<TDpndNode*>(literal.Add(name, CreateDpndNode));
      ASSERT_EQ(fast.AddName(name)->Name, b->Name) << round << " " << name;
    }
    EXPECT_EQ(Shape(fast, fast.Root.get()), Shape(literal, literal.Root.get())) << round;
  }
  for (int i = 0; i < 100000; ++i) tree.AddName("U" + std::to_string(1000000 + i));  // a chain
  EXPECT_EQ(tree.AddName("u1000000"), static_cast<TDpndNode*>(tree.Root.get()));
  EXPECT_FALSE(tree.Root->Left);
  EXPECT_EQ(static_cast<TDpndNode&>(*CreateDpndNode(std::int64_t{42})).Name, "42");
  TTree plain;  // the base tree orders integer keys before texts, nodes by identity
  EXPECT_EQ(plain.Compare(std::int64_t{2}, std::int64_t{10}), -1);
  EXPECT_EQ(plain.Compare(std::string("a"), std::int64_t{10}), 1);
  TTreeNode a, b;
  EXPECT_NE(plain.Compare(plain.GetKey(a), plain.GetKey(b)), 0);
}

TUnitNode* Add(TUnitTree& tree, TUnitNode* parent, const std::string& name, char direction) {
  return tree.AddNode(parent, std::make_unique<TUnitNode>(name, 1), direction);
}

/// The chart walk as "name/level" with "+" when a sibling follows, "=" when none does.
std::string Chart(TUnitTree& tree) {
  std::string out;
  tree.WalkChart([&](TUnitNode& node) {
    out += node.Name + "/" + std::to_string(tree.Level) + (tree.HasSibling ? "+ " : "= ");
  });
  return out;
}

TEST(UnitTree, AttachesAtTheEndOfTheChainItsDirectionNamesAndWalksIt) {
  TUnitTree tree;
  EXPECT_EQ(Chart(tree), "");
  TUnitNode* root = Add(tree, nullptr, "Root", 'L');
  Add(tree, nullptr, "Top", 'L');
  Add(tree, nullptr, "Child", 'R');  // no parent: the root stands for it
  TUnitNode* a = Add(tree, root, "A", 'L');
  TUnitNode* c1 = Add(tree, a, "C1", 'R');
  Add(tree, a, "C2", 'r');
  Add(tree, c1, "C3", 'l');  // from the first child: appended behind C2
  Add(tree, a, "C4", 'X');   // any other letter means child
  Add(tree, a, "B", 'L');    // from a top-level node: appended to the top level
  EXPECT_EQ(Chart(tree), "Root/0+ Child/1= Top/0+ A/0+ C1/1+ C2/1+ C3/1+ C4/1= B/0= ");
  std::string parents;
  tree.ForEachWithParent([&](TUnitNode& node, TUnitNode* parent) {
    parents += node.Name + "<" + (parent ? parent->Name : "-") + " ";
  });
  EXPECT_EQ(parents, "Root<- Child<Root Top<- A<- C1<A C2<A C3<A C4<A B<- ");
  EXPECT_EQ(tree.FindNode(std::string("c3"))->Name, "C3");
  EXPECT_EQ(tree.FindNode(std::int64_t{42}), nullptr);
  Add(tree, root, "42", 'L');
  EXPECT_EQ(tree.FindNode(std::int64_t{42})->Name, "42");
  EXPECT_EQ(tree.FindNode(std::string("\xe4")), nullptr);
  tree.Clear();
  EXPECT_EQ(tree.RootNode(), nullptr);
  EXPECT_EQ(tree.FindNode(std::string("A")), nullptr);
}

TEST(UnitTree, LevelsBeyond65535OverflowAndLongChainsNeedNoRecursion) {
  for (int depth : {65535, 65536}) {
    TUnitTree tree;
    TUnitNode* node = Add(tree, nullptr, "N", 'L');
    for (int i = 1; i < depth; ++i) node = Add(tree, node, "N", 'R');
    int visits = 0, deepest = 0;
    auto walk = [&] { tree.WalkChart([&](TUnitNode&) { ++visits, deepest = tree.Level; }); };
    if (depth > 65535) {
      EXPECT_THROW(walk(), OverflowError);
    } else {
      EXPECT_NO_THROW(walk());
    }
    EXPECT_EQ(visits, depth);
    EXPECT_EQ(deepest, depth - 1);
  }
  TUnitTree siblings;
  TUnitNode* root = Add(siblings, nullptr, "Root", 'L');
  for (int i = 0; i < 100000; ++i) Add(siblings, root, "S" + std::to_string(i), 'L');
  int visits = 0;
  siblings.ForEachWithParent([&](TUnitNode&, TUnitNode*) { ++visits; });
  EXPECT_EQ(visits, 100001);
  EXPECT_EQ(siblings.FindNode(std::string("s99999"))->Name, "S99999");
}

TEST(UnitTree, AgreesWithTheLiteralTreeOnRandomTrees) {
  std::mt19937 random(2024);
  const char* names[] = {"A", "a", "B", "b", "C", "D"};
  for (int round = 0; round < 200; ++round) {
    TUnitTree tree;
    TLiteralTree literal;
    std::vector<TUnitNode*> fast;
    std::vector<TLiteralTree::Node*> slow;
    std::unordered_map<const void*, size_t> index{{nullptr, SIZE_MAX}};
    // Later rounds grow long chains, which wear out the gaps between search positions.
    const int count = 1 + static_cast<int>(random() % (round < 150 ? 120 : 1500));
    for (int i = 0; i < count; ++i) {
      const std::string name = names[random() % 6];
      const char direction = "LRlr"[random() % 4];
      const size_t parent = fast.empty() || random() % 8 == 0   ? SIZE_MAX
                            : round >= 150 && random() % 4 != 0 ? fast.size() - 1
                                                                : random() % fast.size();
      const bool top = parent == SIZE_MAX;
      index[fast.emplace_back(Add(tree, top ? nullptr : fast[parent], name, direction))] = i;
      index[slow.emplace_back(literal.AddNode(top ? nullptr : slow[parent], name, direction))] = i;
      for (const char* key : {"a", "B", "c", "d", "e"})
        ASSERT_EQ(index[tree.FindNode(std::string(key))], index[literal.FindNode(key)])
            << "round " << round << " key " << key;
    }
    for (size_t i = 0; i < fast.size(); ++i) {
      ASSERT_EQ(index[fast[i]->NextSibling()], index[slow[i]->left]) << round;
      ASSERT_EQ(index[fast[i]->FirstChild()], index[slow[i]->right]) << round;
    }
  }
}

}  // namespace
}  // namespace ravelin
