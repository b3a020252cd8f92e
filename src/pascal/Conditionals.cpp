#include "pascal/Conditionals.h"

#include "common/VornString.h"
#include "pascal/CompilerDirective.h"
#include "pascal/DirectiveExpr.h"

namespace ravelin {

namespace {

/// The file name of an include directive's argument: quotes removed; empty for the switch
/// forms ({$I+}, {$I-}, {$I+,R-}) and for the inserted texts of the form {$I %DATE%}.
std::string IncludeName(const std::string& argument) {
  if (argument.empty() || argument[0] == '+' || argument[0] == '-' || argument[0] == '%') return {};
  if (argument[0] == '\'') {
    const std::size_t close = argument.find('\'', 1);
    return argument.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  // An unquoted name ends at the first blank: what follows is a note.
  std::size_t end = 0;
  while (end < argument.size() && static_cast<unsigned char>(argument[end]) > 32) ++end;
  return argument.substr(0, end);
}

}  // namespace

Conditionals::Conditionals(CompilerSymbols symbols) : symbols_(std::move(symbols)) {}

void Conditionals::Warn(const std::string& where, const std::string& text) {
  warnings_.push_back(where + ": " + text);
}

bool Conditionals::Condition(const std::string& name, const std::string& argument,
                             const std::string& where) {
  if (name == "IFDEF" || name == "IFNDEF") {
    const std::string symbol = FirstWord(argument);
    if (symbol.empty()) {
      Warn(where, "$" + name + " without a name; taken as false");
      return false;
    }
    return symbols_.IsDefined(symbol) == (name == "IFDEF");
  }
  if (name == "IFOPT") {
    Warn(where, "$IFOPT " + argument + " cannot be evaluated; taken as false");
    return false;
  }
  const DirectiveTruth truth = EvaluateDirectiveExpr(argument, symbols_);
  if (truth.truth == Truth::Unknown)
    Warn(where, "$" + name + " " + argument + " cannot be evaluated (" + truth.reason +
                    "); taken as false");
  return truth.truth == Truth::True;
}

void Conditionals::Open(bool condition, std::string where) {
  Section section;
  section.outerActive = Active();
  section.active = section.outerActive && condition;
  section.taken = !section.outerActive || condition;
  section.opened = std::move(where);
  stack_.push_back(std::move(section));
}

FeedResult Conditionals::Feed(std::string_view comment, std::string_view file, int line) {
  const std::optional<CompilerDirective> directive = ParseDirective(comment);
  if (!directive) return {};
  const std::string& name = directive->name;
  const std::string& argument = directive->argument;
  const std::string where = std::string(file) + "(" + std::to_string(line) + ")";
  const FeedResult conditional{DirectiveEffect::Conditional, {}};

  if (name == "IFDEF" || name == "IFNDEF" || name == "IF" || name == "IFOPT") {
    Open(Active() && Condition(name, argument, where), where);
    return conditional;
  }
  if (name == "ELSEIF" || name == "ELSE") {
    if (stack_.empty()) {
      Warn(where, "$" + name + " without $IF; ignored");
      return conditional;
    }
    Section& section = stack_.back();
    if (section.sawElse)
      Warn(where, "$" + name + " after $ELSE of the section opened at " + section.opened);
    if (name == "ELSE") section.sawElse = true;
    if (section.taken) {
      section.active = false;
    } else {
      section.active = name == "ELSE" || Condition(name, argument, where);
      section.taken = section.active;
    }
    return conditional;
  }
  if (name == "ENDIF" || name == "IFEND") {
    if (stack_.empty())
      Warn(where, "$" + name + " without $IF; ignored");
    else
      stack_.pop_back();
    return conditional;
  }
  if (!Active()) return {};
  if (name == "DEFINE" || name == "UNDEF") {
    const std::string symbol = FirstWord(argument);
    if (symbol.empty()) {
      Warn(where, "$" + name + " without a name; ignored");
      return {};
    }
    if (name == "DEFINE")
      symbols_.Define(symbol);
    else
      symbols_.Undefine(symbol);
    return {DirectiveEffect::Define, {}};
  }
  if (name == "I" || name == "INCLUDE") {
    std::string include = IncludeName(argument);
    if (!include.empty()) return {DirectiveEffect::Include, std::move(include)};
  }
  return {};
}

void Conditionals::Finish() {
  for (const Section& section : stack_) Warn(section.opened, "conditional section not closed");
  stack_.clear();
}

}  // namespace ravelin
