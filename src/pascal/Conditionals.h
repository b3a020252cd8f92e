// Conditional compilation: fed the comments of a file in source order, it follows $IFDEF,
// $IFNDEF, $IF, $ELSEIF, $ELSE, $ENDIF / $IFEND, $DEFINE and $UNDEF and tells whether the code
// at the current point is compiled. Include directives met in compiled code are handed back to
// the caller, which feeds that file's comments next as if they stood in place of the directive.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pascal/CompilerSymbols.h"

namespace ravelin {

/// What one comment did.
enum class DirectiveEffect {
  None,         ///< an ordinary comment or a directive without meaning here ({$R+}, {$I-})
  Conditional,  ///< opened, switched or closed a conditional section
  Define,       ///< a $DEFINE or $UNDEF in compiled code changed the symbols
  Include,      ///< {$I file} or {$INCLUDE file} in compiled code: includeFile names it
};

/// The outcome of feeding one comment.
struct FeedResult {
  DirectiveEffect effect = DirectiveEffect::None;
  std::string includeFile;  ///< for Include: the file name as written, without quotes
};

/// The conditional state of one compilation. Directives inside sections that are not compiled
/// are followed only for their nesting: they define nothing, include nothing and their $IF
/// expressions are not evaluated. A $IF expression that cannot be evaluated (see
/// EvaluateDirectiveExpr) gives a warning and is taken as false, so its $ELSE part is compiled.
/// Faults of nesting ($ELSE or $ENDIF without $IF, a second $ELSE, sections left open) give
/// warnings and are otherwise ignored.
class Conditionals {
 public:
  /// Starts outside any section with the given defines and constants.
  explicit Conditionals(CompilerSymbols symbols);

  /// Feeds one comment token's text ("{$IFDEF X}", "(*$ENDIF*)", or any other comment); file
  /// and line say where it stands, for warnings ("Main.pas(12): ...").
  FeedResult Feed(std::string_view comment, std::string_view file, int line);
  /// True when code at the current point is compiled.
  bool Active() const { return stack_.empty() || stack_.back().active; }
  /// Nesting depth of open sections.
  std::size_t Depth() const { return stack_.size(); }
  /// Warns about every section still open (call at the end of a root file) and closes them.
  void Finish();
  /// The warnings so far, in the order they arose.
  const std::vector<std::string>& Warnings() const { return warnings_; }
  /// The symbols as changed by $DEFINE and $UNDEF so far.
  const CompilerSymbols& Symbols() const { return symbols_; }

 private:
  struct Section {
    bool outerActive = true;  // the code around the section is compiled
    bool taken = false;       // a branch has been chosen (or the section is not followed)
    bool active = false;      // the current branch is compiled
    bool sawElse = false;
    std::string opened;  // where it was opened: "File.pas(3)"
  };

  /// The value of the condition of a $IF-like directive; warns when it cannot be known.
  bool Condition(const std::string& name, const std::string& argument, const std::string& where);
  void Open(bool condition, std::string where);
  void Warn(const std::string& where, const std::string& text);

  CompilerSymbols symbols_;
  std::vector<Section> stack_;
  std::vector<std::string> warnings_;
};

}  // namespace ravelin
