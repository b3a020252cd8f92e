#include "pascal/TokenNodes.h"

#include "common/Error.h"

namespace ravelin {

bool TBaseNode::HasData() const {
  return Data != nullptr;
}

bool TTokenNode::IsWordOrLiteral() const {
  switch (Kind) {
    case tkIdentifier:
    case tkFloat:
    case tkInteger:
    case tkString:
    case tkFormattedBlock:
      return true;
    default:
      return Kind >= kFirstWord && Kind <= kLastWord;
  }
}

std::string TTokenNode::GetText() const {
  return std::string(KindName(Kind));
}

void TTokenNode::SetValue(const std::string& /*text*/) {}

void TTokenNode::SetKind(TTokenKind kind) {
  Kind = kind;
}

void TSymbolNode::SetKind(TTokenKind kind) {
  if (kind < kFirstSymbol || kind > kLastSymbol) {
    throw GeneralError(std::string(KindName(kind)) + " is not a named symbol.");
  }
  TTokenNode::SetKind(kind);
}

void TPasWordNode::SetKind(TTokenKind kind) {
  if (kind < kFirstWord || kind > kLastWord) {
    throw GeneralError(std::string(KindName(kind)) +
                       " is not a Reserved word, a Directive or a Special Word.");
  }
  TTokenNode::SetKind(kind);
}

std::string TValueNode::GetText() const {
  return Value;
}

void TIdentNode::SetValue(const std::string& text) {
  SetKind(tkIdentifier);
  Value = text;
}

void TLitString::SetValue(const std::string& text) {
  SetKind(tkString);
  Value = text;
}

void TLitFloat::SetValue(const std::string& text) {
  SetKind(tkFloat);
  Value = text;
}

void TLitInteger::SetValue(const std::string& text) {
  SetKind(tkInteger);
  Value = text;
}

}  // namespace ravelin
