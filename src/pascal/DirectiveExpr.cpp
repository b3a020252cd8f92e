#include "pascal/DirectiveExpr.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/VornString.h"

namespace ravelin {

namespace {

enum class TokKind { Name, Number, Text, Symbol, End };

struct Tok {
  TokKind kind = TokKind::End;
  std::string text;  // names and symbols as written; strings without quotes
  double number = 0;
};

/// The text the expression cannot be read past; caught where the expression is evaluated.
struct SyntaxError {
  std::string where;
};

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

std::vector<Tok> Tokenize(std::string_view text) {
  std::vector<Tok> toks;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    const std::size_t start = i;
    Tok tok;
    if (static_cast<unsigned char>(c) <= 32) {
      ++i;
      continue;
    } else if (IsLetter(c)) {
      while (i < text.size() && (IsLetter(text[i]) || IsDigit(text[i]))) ++i;
      tok.kind = TokKind::Name;
      tok.text = std::string(text.substr(start, i - start));
    } else if (IsDigit(c)) {
      while (i < text.size() && (IsDigit(text[i]) || text[i] == '.')) ++i;
      if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        while (i < text.size() && IsDigit(text[i])) ++i;
      }
      std::string digits(text.substr(start, i - start));
      char* end = nullptr;
      tok.kind = TokKind::Number;
      tok.number = std::strtod(digits.c_str(), &end);
      if (end != digits.c_str() + digits.size()) throw SyntaxError{digits};
    } else if (c == '$') {
      ++i;
      while (i < text.size() && IsHexDigit(text[i])) ++i;
      if (i == start + 1 || i - start > 15) throw SyntaxError{std::string(text.substr(start))};
      tok.kind = TokKind::Number;
      tok.number = static_cast<double>(
          std::strtoull(std::string(text.substr(start + 1, i - start - 1)).c_str(), nullptr, 16));
    } else if (c == '\'') {
      tok.kind = TokKind::Text;
      for (++i;; ++i) {
        if (i >= text.size()) throw SyntaxError{std::string(text.substr(start))};
        if (text[i] == '\'') {
          if (i + 1 < text.size() && text[i + 1] == '\'') {
            tok.text += '\'';
            ++i;
            continue;
          }
          ++i;
          break;
        }
        tok.text += text[i];
      }
    } else {
      static const std::string_view kPairs[] = {"<>", "<=", ">="};
      tok.kind = TokKind::Symbol;
      for (std::string_view pair : kPairs)
        if (text.substr(i, 2) == pair) tok.text = pair;
      if (tok.text.empty()) {
        if (std::string_view("()=<>+-*/,").find(c) == std::string_view::npos)
          throw SyntaxError{std::string(text.substr(start))};
        tok.text = std::string(1, c);
      }
      i += tok.text.size();
    }
    toks.push_back(std::move(tok));
  }
  toks.push_back(Tok{});
  return toks;
}

/// A value met while evaluating: a condition, a number, a text, or unknown with its reason.
struct Value {
  enum Kind { Bool, Number, Text, Unknown } kind = Unknown;
  bool flag = false;
  double number = 0;
  std::string text;  // the text of a Text value, the reason of an Unknown one

  static Value Of(bool b) { return {Bool, b, 0, {}}; }
  static Value Num(double n) { return {Number, false, n, {}}; }
  static Value Str(std::string s) { return {Text, false, 0, std::move(s)}; }
  static Value Unknowable(std::string why) { return {Unknown, false, 0, std::move(why)}; }
};

constexpr int kMaxDepth = 200;

/// Recursive descent over Pascal's precedence: relations, adding operators, multiplying
/// operators, factors.
class Evaluator {
 public:
  Evaluator(std::vector<Tok> toks, const CompilerSymbols& symbols)
      : toks_(std::move(toks)), symbols_(symbols) {}

  Value Whole() {
    Value v = Expression();
    if (Peek().kind != TokKind::End) throw SyntaxError{Peek().text};
    return v;
  }

 private:
  const Tok& Peek() const { return toks_[pos_]; }
  bool PeekSymbol(std::string_view s) const {
    return Peek().kind == TokKind::Symbol && Peek().text == s;
  }
  bool PeekName(std::string_view s) const {
    return Peek().kind == TokKind::Name && UpperText(Peek().text) == s;
  }
  const Tok& Take() {
    const Tok& tok = toks_[pos_];
    if (tok.kind != TokKind::End) ++pos_;
    return tok;
  }
  void Expect(std::string_view symbol) {
    if (!PeekSymbol(symbol)) throw SyntaxError{Peek().text};
    Take();
  }

  Value Expression() {
    if (++depth_ > kMaxDepth) throw SyntaxError{"(nesting too deep)"};
    Value left = Simple();
    static const std::string_view kRelations[] = {"=", "<>", "<", ">", "<=", ">="};
    for (std::string_view op : kRelations) {
      if (PeekSymbol(op)) {
        Take();
        left = Compare(left, op, Simple());
        break;
      }
    }
    --depth_;
    return left;
  }

  Value Simple() {
    Value left = Term();
    for (;;) {
      if (PeekName("OR") || PeekName("XOR")) {
        const bool isOr = UpperText(Take().text) == "OR";
        left = isOr ? Or(left, Term()) : Xor(left, Term());
      } else if (PeekSymbol("+") || PeekSymbol("-")) {
        const char op = Take().text[0];
        left = Arithmetic(left, op, Term());
      } else {
        return left;
      }
    }
  }

  Value Term() {
    Value left = Factor();
    for (;;) {
      if (PeekName("AND")) {
        Take();
        left = And(left, Factor());
      } else if (PeekSymbol("*") || PeekSymbol("/") || PeekName("DIV") || PeekName("MOD")) {
        const std::string op = UpperText(Take().text);
        left = Arithmetic(left, op == "DIV" ? 'd' : op == "MOD" ? 'm' : op[0], Factor());
      } else {
        return left;
      }
    }
  }

  Value Factor() {
    if (++depth_ > kMaxDepth) throw SyntaxError{"(nesting too deep)"};
    Value v = FactorBody();
    --depth_;
    return v;
  }

  Value FactorBody() {
    const Tok& tok = Take();
    switch (tok.kind) {
      case TokKind::Number:
        return Value::Num(tok.number);
      case TokKind::Text:
        return Value::Str(tok.text);
      case TokKind::Name:
        return Named(tok.text);
      case TokKind::Symbol:
        if (tok.text == "(") {
          Value v = Expression();
          Expect(")");
          return v;
        }
        if (tok.text == "-" || tok.text == "+") {
          Value v = Factor();
          if (v.kind == Value::Number && tok.text == "-") v.number = -v.number;
          if (v.kind == Value::Number || v.kind == Value::Unknown) return v;
          return Value::Unknowable("a sign before what is not a number");
        }
        break;
      case TokKind::End:
        break;
    }
    throw SyntaxError{tok.text.empty() ? "(end)" : tok.text};
  }

  /// A name: a word operator, TRUE / FALSE, Defined(X), a function of one argument looked up
  /// as a constant, or a constant.
  Value Named(const std::string& name) {
    const std::string upper = UpperText(name);
    if (upper == "NOT") return Not(Factor());
    if (upper == "TRUE" || upper == "FALSE") return Value::Of(upper == "TRUE");
    if (!PeekSymbol("(")) {
      if (auto constant = symbols_.Constant(name)) return Value::Num(*constant);
      return Value::Unknowable(name + " is not known");
    }
    Take();
    std::string argument;
    if (Peek().kind == TokKind::Name) argument = Take().text;
    if (argument.empty() || !PeekSymbol(")")) throw SyntaxError{name + "(" + argument};
    Take();
    if (upper == "DEFINED") return Value::Of(symbols_.IsDefined(argument));
    if (auto constant = symbols_.Constant(name + "(" + argument + ")"))
      return Value::Num(*constant);
    return Value::Unknowable(name + "(" + argument + ") is not known");
  }

  static Value Not(const Value& v) {
    if (v.kind == Value::Bool) return Value::Of(!v.flag);
    return NotCondition(v);
  }
  /// v as it stands in a logical operation that needs a condition.
  static Value NotCondition(const Value& v) {
    return v.kind == Value::Unknown ? v : Value::Unknowable("a value that is not a condition");
  }
  static bool IsFalse(const Value& v) { return v.kind == Value::Bool && !v.flag; }
  static bool IsTrue(const Value& v) { return v.kind == Value::Bool && v.flag; }

  static Value And(const Value& a, const Value& b) {
    if (IsFalse(a) || IsFalse(b)) return Value::Of(false);
    if (a.kind != Value::Bool) return NotCondition(a);
    if (b.kind != Value::Bool) return NotCondition(b);
    return Value::Of(true);
  }
  static Value Or(const Value& a, const Value& b) {
    if (IsTrue(a) || IsTrue(b)) return Value::Of(true);
    if (a.kind != Value::Bool) return NotCondition(a);
    if (b.kind != Value::Bool) return NotCondition(b);
    return Value::Of(false);
  }
  static Value Xor(const Value& a, const Value& b) {
    if (a.kind != Value::Bool) return NotCondition(a);
    if (b.kind != Value::Bool) return NotCondition(b);
    return Value::Of(a.flag != b.flag);
  }

  static Value Arithmetic(const Value& a, char op, const Value& b) {
    if (a.kind == Value::Unknown) return a;
    if (b.kind == Value::Unknown) return b;
    if (a.kind == Value::Text && b.kind == Value::Text && op == '+')
      return Value::Str(a.text + b.text);
    if (a.kind != Value::Number || b.kind != Value::Number)
      return Value::Unknowable("arithmetic on what is not a number");
    const double x = a.number, y = b.number;
    switch (op) {
      case '+':
        return Value::Num(x + y);
      case '-':
        return Value::Num(x - y);
      case '*':
        return Value::Num(x * y);
      default:
        break;
    }
    if (y == 0) return Value::Unknowable("a division by zero");
    if (op == '/') return Value::Num(x / y);
    const double quotient = std::trunc(x / y);
    return Value::Num(op == 'd' ? quotient : x - quotient * y);
  }

  static Value Compare(const Value& a, std::string_view op, const Value& b) {
    if (a.kind == Value::Unknown) return a;
    if (b.kind == Value::Unknown) return b;
    if (a.kind != b.kind) return Value::Unknowable("a comparison of unlike values");
    int order = 0;
    if (a.kind == Value::Number)
      order = a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    else if (a.kind == Value::Text)
      order = a.text.compare(b.text) < 0 ? -1 : a.text == b.text ? 0 : 1;
    else
      order = a.flag == b.flag ? 0 : a.flag ? 1 : -1;
    if (op == "=") return Value::Of(order == 0);
    if (op == "<>") return Value::Of(order != 0);
    if (op == "<") return Value::Of(order < 0);
    if (op == ">") return Value::Of(order > 0);
    if (op == "<=") return Value::Of(order <= 0);
    return Value::Of(order >= 0);
  }

  std::vector<Tok> toks_;
  const CompilerSymbols& symbols_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

DirectiveTruth EvaluateDirectiveExpr(std::string_view text, const CompilerSymbols& symbols) {
  Value v;
  try {
    v = Evaluator(Tokenize(text), symbols).Whole();
  } catch (const SyntaxError& error) {
    return {Truth::Unknown, "cannot read it at \"" + error.where + "\""};
  }
  if (v.kind == Value::Bool) return {v.flag ? Truth::True : Truth::False, {}};
  if (v.kind == Value::Unknown) return {Truth::Unknown, v.text};
  return {Truth::Unknown, "it is not a condition"};
}

}  // namespace ravelin
