// Token nodes: a scanned file held as a list of heap nodes, one per significant token.
// Symbol and word nodes keep only their kind; identifier and literal nodes keep their text.
#pragma once

#include <memory>
#include <string>

#include "pascal/Vornsymbols.h"

namespace ravelin {

/// Base of any object a node may carry in Data; destroyed with the node.
class NodeData {
 public:
  virtual ~NodeData() = default;
};

/// Root of the node family.
class TBaseNode {
 public:
  TBaseNode() = default;
  virtual ~TBaseNode() = default;
  TBaseNode(const TBaseNode&) = delete;
  TBaseNode& operator=(const TBaseNode&) = delete;

  /// Optional object owned by the node; empty when the node is created.
  std::unique_ptr<NodeData> Data;

  /// True when Data is present.
  virtual bool HasData() const;
  /// True for identifiers, literals, formatted blocks and words.
  virtual bool IsWordOrLiteral() const = 0;
  /// The token's text.
  virtual std::string GetText() const = 0;
};

/// A token with a kind; its text is the display name of the kind.
class TTokenNode : public TBaseNode {
 public:
  /// The token's kind; set through SetKind (or SetValue), 0 when created.
  TTokenKind Kind = tkBraceComment;

  /// True for kinds 3, 4, 5, 6, 8 and 32-137.
  bool IsWordOrLiteral() const override;
  /// KindName(Kind).
  std::string GetText() const override;
  /// Sets the token's text; a plain token node has none and ignores it.
  virtual void SetValue(const std::string& text);
  /// Kind := kind.
  virtual void SetKind(TTokenKind kind);
};

/// A symbol token, kinds 9-31.
class TSymbolNode : public TTokenNode {
 public:
  /// Kind := kind; throws GeneralError (kind unchanged) unless 9 <= kind <= 31.
  void SetKind(TTokenKind kind) override;
};

/// A reserved word, directive or special word, kinds 32-137.
class TPasWordNode : public TTokenNode {
 public:
  /// Kind := kind; throws GeneralError (kind unchanged) unless 32 <= kind <= 137.
  void SetKind(TTokenKind kind) override;
};

/// A token that keeps its text as scanned.
class TValueNode : public TTokenNode {
 public:
  /// The token's text exactly as scanned.
  std::string Value;

  /// Value.
  std::string GetText() const override;
};

/// An identifier, in the letter case in which it was written.
class TIdentNode : public TValueNode {
 public:
  /// SetKind(tkIdentifier), then Value := text.
  void SetValue(const std::string& text) override;
};

/// A string literal with its apostrophes.
class TLitString : public TValueNode {
 public:
  /// SetKind(tkString), then Value := text.
  void SetValue(const std::string& text) override;
};

/// A real-number literal.
class TLitFloat : public TValueNode {
 public:
  /// SetKind(tkFloat), then Value := text.
  void SetValue(const std::string& text) override;
};

/// An integer literal, decimal or "$" hexadecimal.
class TLitInteger : public TValueNode {
 public:
  /// SetKind(tkInteger), then Value := text.
  void SetValue(const std::string& text) override;
};

}  // namespace ravelin
