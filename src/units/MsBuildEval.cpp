#include "units/MsBuildEval.h"

#include <cstdlib>
#include <vector>

#include "common/VornString.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------
// Properties

MsBuildProperties::MsBuildProperties(Environment environment)
    : environment_(std::move(environment)) {}

void MsBuildProperties::SetFixed(const std::string& name, std::string value) {
  fixed_[UpperText(name)] = std::move(value);
}

void MsBuildProperties::Set(const std::string& name, std::string value) {
  std::string key = UpperText(name);
  if (fixed_.count(key) == 0) values_[std::move(key)] = std::move(value);
}

std::optional<std::string> MsBuildProperties::Get(const std::string& name) const {
  const std::string key = UpperText(name);
  if (auto it = fixed_.find(key); it != fixed_.end()) return it->second;
  if (auto it = values_.find(key); it != values_.end()) return it->second;
  if (environment_) {
    std::string value = environment_(name);
    if (!value.empty()) return value;
  }
  return std::nullopt;
}

namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-';
}

bool IsName(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!IsNameChar(c)) return false;
  return true;
}

/// The position of the ")" that closes the "(" at open, or npos.
std::size_t MatchingParen(std::string_view text, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::string MsBuildProperties::Expand(std::string_view text, bool keepUnknown,
                                      std::string_view self) const {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t dollar = text.find("$(", i);
    if (dollar == std::string_view::npos) break;
    const std::size_t close = MatchingParen(text, dollar + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(i, dollar - i));
    const std::string_view inner = text.substr(dollar + 2, close - dollar - 2);
    std::optional<std::string> value;
    if (IsName(inner)) value = Get(std::string(inner));
    if (value)
      out += *value;
    else if (keepUnknown && CompareUpperText(inner, self) != 0)
      out.append(text.substr(dollar, close + 1 - dollar));
    i = close + 1;
  }
  out.append(text.substr(i));
  return out;
}

// ---------------------------------------------------------------------------------------
// Conditions

namespace {

enum class TokKind { Open, Close, Comma, Compare, Not, And, Or, Quoted, Word, Function, End };

struct Tok {
  TokKind kind = TokKind::End;
  std::string text;
};

struct ConditionFault {
  std::string reason;
};

std::vector<Tok> Tokenize(std::string_view text) {
  std::vector<Tok> toks;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (static_cast<unsigned char>(c) <= 32) {
      ++i;
      continue;
    }
    Tok tok;
    const std::string_view two = text.substr(i, 2);
    if (c == '(' || c == ')' || c == ',') {
      tok.kind = c == '(' ? TokKind::Open : c == ')' ? TokKind::Close : TokKind::Comma;
      ++i;
    } else if (two == "==" || two == "!=" || two == "<=" || two == ">=") {
      tok = {TokKind::Compare, std::string(two)};
      i += 2;
    } else if (c == '<' || c == '>') {
      tok = {TokKind::Compare, std::string(1, c)};
      ++i;
    } else if (c == '!') {
      tok.kind = TokKind::Not;
      ++i;
    } else if (c == '\'') {
      const std::size_t close = text.find('\'', i + 1);
      if (close == std::string_view::npos) throw ConditionFault{"a quote is not closed"};
      tok = {TokKind::Quoted, std::string(text.substr(i + 1, close - i - 1))};
      i = close + 1;
    } else if (c == '$' && two == "$(") {
      const std::size_t close = MatchingParen(text, i + 1);
      if (close == std::string_view::npos) throw ConditionFault{"a $( is not closed"};
      tok = {TokKind::Word, std::string(text.substr(i, close + 1 - i))};
      i = close + 1;
    } else if (IsNameChar(c) || c == '.') {
      const std::size_t start = i;
      while (i < text.size() && (IsNameChar(text[i]) || text[i] == '.')) ++i;
      tok.text = std::string(text.substr(start, i - start));
      const std::string upper = UpperText(tok.text);
      std::size_t next = i;
      while (next < text.size() && text[next] == ' ') ++next;
      tok.kind = upper == "AND"                            ? TokKind::And
                 : upper == "OR"                           ? TokKind::Or
                 : next < text.size() && text[next] == '(' ? TokKind::Function
                                                           : TokKind::Word;
    } else {
      throw ConditionFault{"unexpected \"" + std::string(1, c) + "\""};
    }
    toks.push_back(std::move(tok));
  }
  toks.push_back(Tok{});
  return toks;
}

/// A value met in a condition: a truth from a comparison or function, or a text.
struct Value {
  bool isBool = false;
  bool flag = false;
  std::string text;
};

std::optional<double> NumberOf(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const double value = hex ? static_cast<double>(std::strtoull(text.c_str() + 2, &end, 16))
                           : std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return std::nullopt;
  return value;
}

bool TruthOf(const Value& v) {
  if (v.isBool) return v.flag;
  const std::string upper = UpperText(v.text);
  for (std::string_view yes : {"TRUE", "ON", "YES", "!FALSE", "!OFF", "!NO"})
    if (upper == yes) return true;
  for (std::string_view no : {"FALSE", "OFF", "NO", "!TRUE", "!ON", "!YES"})
    if (upper == no) return false;
  throw ConditionFault{"\"" + v.text + "\" is not a condition"};
}

std::string TextOf(const Value& v) {
  return v.isBool ? (v.flag ? "true" : "false") : v.text;
}

class ConditionParser {
 public:
  ConditionParser(std::vector<Tok> toks, const MsBuildProperties& properties,
                  const std::function<bool(const std::string&)>& exists)
      : toks_(std::move(toks)), properties_(properties), exists_(exists) {}

  bool Whole() {
    const bool value = TruthOf(Or());
    if (Peek().kind != TokKind::End) throw ConditionFault{"unexpected \"" + Peek().text + "\""};
    return value;
  }

 private:
  const Tok& Peek() const { return toks_[pos_]; }
  const Tok& Take() {
    const Tok& tok = toks_[pos_];
    if (tok.kind != TokKind::End) ++pos_;
    return tok;
  }
  static Value Bool(bool b) { return {true, b, {}}; }

  Value Or() {
    if (++depth_ > 100) throw ConditionFault{"nested too deeply"};
    Value left = And();
    while (Peek().kind == TokKind::Or) {
      Take();
      const bool right = TruthOf(And());
      left = Bool(TruthOf(left) || right);
    }
    --depth_;
    return left;
  }

  Value And() {
    Value left = Unary();
    while (Peek().kind == TokKind::And) {
      Take();
      const bool right = TruthOf(Unary());
      left = Bool(TruthOf(left) && right);
    }
    return left;
  }

  Value Unary() {
    if (Peek().kind == TokKind::Not) {
      Take();
      if (++depth_ > 100) throw ConditionFault{"nested too deeply"};
      const bool value = TruthOf(Unary());
      --depth_;
      return Bool(!value);
    }
    Value left = Operand();
    if (Peek().kind != TokKind::Compare) return left;
    const std::string op = Take().text;
    const Value right = Operand();
    const std::string a = TextOf(left), b = TextOf(right);
    const std::optional<double> x = NumberOf(a), y = NumberOf(b);
    if (op == "==" || op == "!=") {
      const bool equal = x && y ? *x == *y : CompareUpperText(a, b) == 0;
      return Bool(equal == (op == "=="));
    }
    if (!x || !y) throw ConditionFault{"\"" + a + "\" " + op + " \"" + b + "\" compares texts"};
    if (op == "<") return Bool(*x < *y);
    if (op == ">") return Bool(*x > *y);
    if (op == "<=") return Bool(*x <= *y);
    return Bool(*x >= *y);
  }

  Value Operand() {
    const Tok& tok = Take();
    switch (tok.kind) {
      case TokKind::Open: {
        Value v = Or();
        if (Take().kind != TokKind::Close) throw ConditionFault{"a \"(\" is not closed"};
        return v;
      }
      case TokKind::Quoted:
      case TokKind::Word:
        return {false, false, properties_.Expand(tok.text, false)};
      case TokKind::Function:
        return Call(UpperText(tok.text));
      default:
        break;
    }
    throw ConditionFault{tok.kind == TokKind::End ? "it ends too early"
                                                  : "unexpected \"" + tok.text + "\""};
  }

  Value Call(const std::string& name) {
    Take();  // "("
    std::vector<std::string> arguments;
    while (Peek().kind != TokKind::Close) {
      const Tok& tok = Take();
      if (tok.kind != TokKind::Quoted && tok.kind != TokKind::Word)
        throw ConditionFault{"bad arguments of " + name};
      arguments.push_back(properties_.Expand(tok.text, false));
      if (Peek().kind == TokKind::Comma) Take();
    }
    Take();
    if (arguments.size() != 1) throw ConditionFault{name + " needs one argument"};
    const std::string& argument = arguments[0];
    if (name == "EXISTS")
      return Bool(!TrimSpaces(argument).empty() && exists_(TrimSpaces(argument)));
    if (name == "HASTRAILINGSLASH")
      return Bool(!argument.empty() && (argument.back() == '/' || argument.back() == '\\'));
    throw ConditionFault{"unknown function " + name};
  }

  std::vector<Tok> toks_;
  const MsBuildProperties& properties_;
  const std::function<bool(const std::string&)>& exists_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

ConditionResult EvaluateCondition(std::string_view condition, const MsBuildProperties& properties,
                                  const std::function<bool(const std::string&)>& exists) {
  if (TrimSpaces(condition).empty()) return {true, {}};
  try {
    return {ConditionParser(Tokenize(condition), properties, exists).Whole(), {}};
  } catch (const ConditionFault& fault) {
    return {false, fault.reason};
  }
}

}  // namespace ravelin
