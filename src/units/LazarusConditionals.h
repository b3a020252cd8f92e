// The build conditionals of Lazarus packages and projects: a small Pascal-like script
// ("if SrcOS<>'win' then UnitPath := 'nonwin32';") that reads the target macros and sets
// further search paths and options.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace ravelin {

/// The variables after a script ran (names in capitals), or the reason it could not run.
struct ConditionalsRun {
  std::map<std::string, std::string> variables;  ///< UNITPATH, INCPATH, CUSTOMOPTIONS, ...
  std::string error;                             ///< empty when the script ran to its end
};

/// Runs a build conditionals script. variables holds the macros it reads (names in capitals:
/// TARGETOS, SRCOS, LCLWIDGETTYPE, ...); a name never set reads as ''. Understood: if / then /
/// else, begin / end, ":=" and "+=", strings, numbers, + (joins texts), = <> < > <= >=
/// (texts compare ignoring case), and / or / not, parentheses, Defined(X), Undefined(X),
/// GetIDEValue('OS' | 'CPU' | 'SrcOS' | 'LCLWidgetType'). Anything else stops the script with
/// an error; what it set until then is kept.
ConditionalsRun RunLazarusConditionals(std::string_view script,
                                       std::map<std::string, std::string> variables);

}  // namespace ravelin
