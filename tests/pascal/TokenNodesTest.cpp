#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>

#include "common/Error.h"
#include "pascal/TokenNodes.h"

namespace ravelin {
namespace {

class TTrackedData : public TNodeData {
 public:
  explicit TTrackedData(bool& destroyed) : FDestroyed(destroyed) {}
  ~TTrackedData() override { FDestroyed = true; }

 private:
  bool& FDestroyed;
};

TEST(TokenNodes, DataIsOwnedAndFreedWithTheNode) {
  bool destroyed = false;
  {
    auto node = std::make_unique<TPasWordNode>();
    node->Data = std::make_unique<TTrackedData>(destroyed);
    EXPECT_TRUE(node->HasData());
    std::unique_ptr<TBaseNode> base = std::move(node);
    EXPECT_TRUE(base->HasData());
  }
  EXPECT_TRUE(destroyed);
}

TEST(TokenNodes, IsWordOrLiteralByKind) {
  TTokenNode node;
  for (int k = 0; k < 256; ++k) {
    node.SetKind(static_cast<TTokenKind>(k));
    const bool expected = k == 3 || k == 4 || k == 5 || k == 6 || k == 8 || (k >= 32 && k <= 137);
    EXPECT_EQ(node.IsWordOrLiteral(), expected) << k;
  }
}

TEST(TokenNodes, SymbolAndWordNodesShowTheirKindName) {
  TSymbolNode bracket;
  bracket.SetKind(tkLBracket);
  EXPECT_EQ(bracket.GetText(), "[");
  EXPECT_FALSE(bracket.IsWordOrLiteral());
  TPasWordNode end;
  end.SetKind(tkEnd);
  EXPECT_EQ(end.GetText(), "END");
  EXPECT_TRUE(end.IsWordOrLiteral());
  // Neither keeps a text of its own.
  end.SetValue("end");
  EXPECT_EQ(end.GetText(), "END");
  EXPECT_EQ(end.Kind, tkEnd);
}

TEST(TokenNodes, ValueNodesTakeKindAndTextFromSetValue) {
  struct Row {
    std::unique_ptr<TValueNode> node;
    std::string text;
    TTokenKind kind;
  };
  Row rows[] = {
      {std::make_unique<TIdentNode>(), "MyUnit", tkIdentifier},
      {std::make_unique<TLitString>(), "'It''s'#13", tkString},
      {std::make_unique<TLitFloat>(), "1.5E-3", tkFloat},
      {std::make_unique<TLitInteger>(), "$FF", tkInteger},
  };
  for (auto& row : rows) {
    row.node->SetValue(row.text);
    EXPECT_EQ(row.node->Kind, row.kind) << row.text;
    EXPECT_EQ(row.node->GetText(), row.text);
    EXPECT_TRUE(row.node->IsWordOrLiteral()) << row.text;
  }
}

TEST(TokenNodes, SetValueGoesThroughTheVirtualSetKind) {
  class TRecordingIdent : public TIdentNode {
   public:
    int Calls = 0;
    void SetKind(TTokenKind kind) override {
      ++Calls;
      TIdentNode::SetKind(kind);
    }
  };
  TRecordingIdent node;
  node.SetValue("x");
  EXPECT_EQ(node.Calls, 1);
  EXPECT_EQ(node.Kind, tkIdentifier);
}

struct KindRow {
  int kind;
  const char* message;  // empty when accepted
};

/// Sets each row's kind on a fresh node that holds start: an accepted kind is taken, a refused
/// one throws the row's message and leaves start in place.
template <class NodeT>
void ExpectKindRangeCheck(std::span<const KindRow> rows, TTokenKind start) {
  for (const auto& row : rows) {
    NodeT node;
    node.SetKind(start);
    const std::string message = row.message;
    if (message.empty()) {
      node.SetKind(static_cast<TTokenKind>(row.kind));
      EXPECT_EQ(node.Kind, row.kind);
      continue;
    }
    try {
      node.SetKind(static_cast<TTokenKind>(row.kind));
      ADD_FAILURE() << "accepted " << row.kind;
    } catch (const GeneralError& e) {
      EXPECT_EQ(std::string(e.what()), message) << row.kind;
    }
    EXPECT_EQ(node.Kind, start) << row.kind;
  }
}

TEST(TokenNodes, WordNodeRangeCheck) {
  const KindRow rows[] = {
      {32, ""},
      {106, ""},
      {137, ""},
      {31, "/ is not a Reserved word, a Directive or a Special Word."},
      {3, "<identifier> is not a Reserved word, a Directive or a Special Word."},
      {138, " is not a Reserved word, a Directive or a Special Word."},
      {255, " is not a Reserved word, a Directive or a Special Word."},
  };
  ExpectKindRangeCheck<TPasWordNode>(rows, tkUses);
}

TEST(TokenNodes, SymbolNodeRangeCheck) {
  const KindRow rows[] = {
      {9, ""},
      {31, ""},
      {7, "<symbol> is not a named symbol."},
      {3, "<identifier> is not a named symbol."},
      {0, "<{...}> is not a named symbol."},
      {8, "<formatted-block> is not a named symbol."},
      {32, "AND is not a named symbol."},
      {106, " is not a named symbol."},
      {200, " is not a named symbol."},
  };
  ExpectKindRangeCheck<TSymbolNode>(rows, tkComma);
}

}  // namespace
}  // namespace ravelin
