// The expressions of {$IF ...} and {$ELSEIF ...}: Defined(X), the named constants of the
// compilation compared with numbers, and not / and / or / xor over them.
#pragma once

#include <string>
#include <string_view>

#include "pascal/CompilerSymbols.h"

namespace ravelin {

/// Whether a condition holds; Unknown when it names what the compilation does not know.
enum class Truth { False, True, Unknown };

/// The outcome of one expression.
struct DirectiveTruth {
  Truth truth = Truth::Unknown;
  std::string reason;  ///< why it is Unknown ("FPC_FULLVERSION is not known"); empty otherwise
};

/// Evaluates a $IF expression. Known: Defined(NAME), TRUE, FALSE, numbers (decimal, real,
/// $hex), 'strings', the constants of symbols (also as NAME(ARG), e.g. SizeOf(Pointer)),
/// = <> < > <= >=, + - * / div mod, not and or xor, parentheses. Anything else (Declared(X),
/// an unknown name, a syntax error) is Unknown, in three-valued logic: "Defined(FPC) and
/// (FPC_FULLVERSION > 0)" is False when FPC is not defined, whatever the right side.
DirectiveTruth EvaluateDirectiveExpr(std::string_view text, const CompilerSymbols& symbols);

}  // namespace ravelin
