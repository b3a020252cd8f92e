// Compiler directives as they come out of the scanner: a brace or parenthesis-star comment whose
// text begins with "$" right after its opener ("{$IFDEF X}", "(*$I file.inc*)").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ravelin {

/// One directive: its name in capitals and the text after the name.
struct CompilerDirective {
  std::string name;      ///< "IFDEF", "I", "DEFINE", ... in capitals; empty for "{$}"
  std::string argument;  ///< the rest of the comment, blanks and line ends trimmed on both sides
};

/// The directive a comment token holds, or none for an ordinary comment (a line comment, or
/// a comment whose opener is not followed directly by "$").
std::optional<CompilerDirective> ParseDirective(std::string_view comment);

/// The first word of a directive's argument (letters, digits, "_"); "X" of "X // note".
std::string FirstWord(std::string_view argument);

}  // namespace ravelin
