#include "units/LazarusConditionals.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "common/TextLines.h"
#include "common/VornString.h"
#include "pascal/Vornscaner.h"

namespace ravelin {

namespace {

struct Token {
  TTokenKind kind;
  std::string text;
};

struct ScriptFault {
  std::string reason;
};

/// The characters a string literal stands for: quoted pieces, #codes and ^letters.
std::string Unquote(const std::string& literal) {
  std::string out;
  std::size_t i = 0;
  while (i < literal.size()) {
    if (literal[i] == '\'') {
      for (++i; i < literal.size(); ++i) {
        if (literal[i] != '\'') {
          out += literal[i];
        } else if (i + 1 < literal.size() && literal[i + 1] == '\'') {
          out += '\'';
          ++i;
        } else {
          break;
        }
      }
      ++i;
    } else if (literal[i] == '#') {
      const std::size_t start = ++i;
      const bool hex = i < literal.size() && literal[i] == '$';
      if (hex) ++i;
      while (i < literal.size() && std::isxdigit(static_cast<unsigned char>(literal[i]))) ++i;
      const std::string digits = literal.substr(hex ? start + 1 : start, i - start - (hex ? 1 : 0));
      out += static_cast<char>(std::strtol(digits.c_str(), nullptr, hex ? 16 : 10) & 0xFF);
    } else {  // ^M
      if (i + 1 < literal.size()) out += static_cast<char>(literal[i + 1] & 0x1F);
      i += 2;
    }
  }
  return out;
}

/// A value of the script: a truth or a text.
struct Value {
  bool isBool = false;
  bool flag = false;
  std::string text;
};

constexpr int kMaxDepth = 100;

class Interpreter {
 public:
  Interpreter(std::vector<Token> tokens, std::map<std::string, std::string>& variables)
      : tokens_(std::move(tokens)), variables_(variables) {}

  void Run() {
    while (!AtEndOfInput()) {
      Statement(true);
      if (!AtEndOfInput() && !Accept(tkSemicolon)) throw ScriptFault{"\";\" expected"};
    }
  }

 private:
  bool AtEndOfInput() const { return pos_ + 1 >= tokens_.size(); }
  const Token& Peek() const { return tokens_[pos_]; }
  const Token& Take() {
    const Token& token = tokens_[pos_];
    if (!AtEndOfInput()) ++pos_;
    return token;
  }
  bool Accept(TTokenKind kind) {
    if (Peek().kind != kind || AtEndOfInput()) return false;
    ++pos_;
    return true;
  }
  void Expect(TTokenKind kind, const char* what) {
    if (!Accept(kind)) throw ScriptFault{std::string(what) + " expected"};
  }

  /// One statement; run says whether it takes effect (a branch not taken is only read).
  void Statement(bool run) {
    if (++depth_ > kMaxDepth) throw ScriptFault{"nested too deeply"};
    if (Accept(tkIf)) {
      const bool condition = Truth(Expression());
      Expect(tkThen, "then");
      Statement(run && condition);
      if (Accept(tkElse)) Statement(run && !condition);
    } else if (Accept(tkBegin)) {
      while (!Accept(tkEnd)) {
        if (AtEndOfInput()) throw ScriptFault{"end expected"};
        if (!Accept(tkSemicolon)) Statement(run);
      }
    } else if (Peek().kind == tkIdentifier) {
      const std::string name = UpperText(Take().text);
      const bool add = Accept(tkPlus);
      if (add)
        Expect(tkEqual, "+=");
      else
        Expect(tkAssign, ":=");
      const Value value = Expression();
      if (run) variables_[name] = (add ? Get(name) : "") + Text(value);
    }
    --depth_;
  }

  Value Expression() {
    if (++depth_ > kMaxDepth) throw ScriptFault{"nested too deeply"};
    Value left = Simple();
    const TTokenKind op = Peek().kind;
    if (op == tkEqual || op == tkNotEqual || op == tkLess || op == tkGreater || op == tkLessEqual ||
        op == tkGreaterEqual) {
      Take();
      const int order = CompareUpperText(Text(left), Text(Simple()));
      left = Bool(op == tkEqual       ? order == 0
                  : op == tkNotEqual  ? order != 0
                  : op == tkLess      ? order < 0
                  : op == tkGreater   ? order > 0
                  : op == tkLessEqual ? order <= 0
                                      : order >= 0);
    }
    --depth_;
    return left;
  }

  Value Simple() {
    Value left = Term();
    for (;;) {
      if (Accept(tkPlus)) {
        left = Value{false, false, Text(left) + Text(Term())};
      } else if (Accept(tkOr)) {
        const bool right = Truth(Term());
        left = Bool(Truth(left) || right);
      } else {
        return left;
      }
    }
  }

  Value Term() {
    Value left = Factor();
    while (Accept(tkAnd)) {
      const bool right = Truth(Factor());
      left = Bool(Truth(left) && right);
    }
    return left;
  }

  Value Factor() {
    const Token& token = Take();
    switch (token.kind) {
      case tkNot: {
        if (++depth_ > kMaxDepth) throw ScriptFault{"nested too deeply"};
        const bool value = Truth(Factor());
        --depth_;
        return Bool(!value);
      }
      case tkLParen: {
        Value value = Expression();
        Expect(tkRParen, ")");
        return value;
      }
      case tkString:
        return Value{false, false, Unquote(token.text)};
      case tkInteger:
      case tkFloat:
        return Value{false, false, token.text};
      case tkIdentifier:
        return Named(UpperText(token.text));
      default:
        break;
    }
    throw ScriptFault{"unexpected \"" + token.text + "\""};
  }

  Value Named(const std::string& name) {
    if (name == "TRUE" || name == "FALSE") return Bool(name == "TRUE");
    if (!Accept(tkLParen)) return Value{false, false, Get(name)};
    if (name == "DEFINED" || name == "UNDEFINED") {  // the argument names a variable
      if (Peek().kind != tkIdentifier) throw ScriptFault{name + " needs a name"};
      const bool defined = variables_.count(UpperText(Take().text)) != 0;
      Expect(tkRParen, ")");
      return Bool(defined == (name == "DEFINED"));
    }
    const Value argument = Expression();
    Expect(tkRParen, ")");
    if (name == "GETIDEVALUE") {
      static const std::map<std::string, std::string> kIde{{"OS", "TARGETOS"},
                                                           {"CPU", "TARGETCPU"},
                                                           {"SRCOS", "SRCOS"},
                                                           {"LCLWIDGETTYPE", "LCLWIDGETTYPE"}};
      auto it = kIde.find(UpperText(Text(argument)));
      return Value{false, false, it == kIde.end() ? "" : Get(it->second)};
    }
    throw ScriptFault{"unknown function " + name};
  }

  /// The value of a variable; '' when it was never set.
  std::string Get(const std::string& name) const {
    auto it = variables_.find(name);
    return it == variables_.end() ? std::string() : it->second;
  }

  static Value Bool(bool b) { return Value{true, b, {}}; }
  static std::string Text(const Value& v) {
    return v.isBool ? (v.flag ? "True" : "False") : v.text;
  }
  static bool Truth(const Value& v) {
    if (v.isBool) return v.flag;
    throw ScriptFault{"\"" + v.text + "\" is not a condition"};
  }

  std::vector<Token> tokens_;
  std::map<std::string, std::string>& variables_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

ConditionalsRun RunLazarusConditionals(std::string_view script,
                                       std::map<std::string, std::string> variables) {
  std::vector<std::string> lines = SplitLines(std::string(script));
  TVornPasScanner scanner;
  scanner.SetSource(&lines);
  std::vector<Token> tokens;
  while (!scanner.AtEnd()) {
    std::string text;
    const TTokenKind kind = scanner.NextToken(text);
    if (kind > tkLineComment) tokens.push_back({kind, std::move(text)});
  }
  tokens.push_back({tkEnd, "(end)"});  // stands for the end of the script
  ConditionalsRun run;
  run.variables = std::move(variables);
  try {
    Interpreter(std::move(tokens), run.variables).Run();
  } catch (const ScriptFault& fault) {
    run.error = fault.reason;
  }
  return run;
}

}  // namespace ravelin
