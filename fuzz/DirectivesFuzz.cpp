// Fuzz target of conditional compilation and of the two condition languages: arbitrary bytes
// are scanned as Pascal and every comment is fed to the conditional state; the same bytes are
// evaluated as a $IF expression, as an MSBuild condition and run as a Lazarus build
// conditionals script. Nothing may crash or hang, and the
// state must stay consistent: code is compiled outside every section, sections close.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextLines.h"
#include "pascal/Conditionals.h"
#include "pascal/DirectiveExpr.h"
#include "pascal/Vornscaner.h"
#include "units/LazarusConditionals.h"
#include "units/MsBuildEval.h"
#include "units/TargetDefines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ravelin;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const CompilerSymbols symbols = PredefinedSymbols(Dialect::Fpc, Target::Linux);

  std::vector<std::string> lines = SplitLines(std::string(input));
  TVornPasScanner scanner;
  scanner.SetSource(&lines);
  Conditionals conditionals(symbols);
  while (!scanner.AtEnd()) {
    std::string text;
    const TTokenKind kind = scanner.NextToken(text);
    if (kind != tkBraceComment && kind != tkParenComment) continue;
    const FeedResult result = conditionals.Feed(text, "fuzz.pas", scanner.Buffer.LineNo());
    if (result.effect == DirectiveEffect::Include && result.includeFile.empty()) std::abort();
    if (conditionals.Depth() == 0 && !conditionals.Active()) std::abort();
  }
  conditionals.Finish();
  if (conditionals.Depth() != 0 || !conditionals.Active()) std::abort();

  const DirectiveTruth truth = EvaluateDirectiveExpr(input, symbols);
  if ((truth.truth == Truth::Unknown) == truth.reason.empty()) std::abort();

  MsBuildProperties properties([](const std::string&) { return std::string(); });
  properties.Set("Config", "Debug");
  const ConditionResult condition =
      EvaluateCondition(input, properties, [](const std::string&) { return false; });
  if (!condition.error.empty() && condition.value) std::abort();

  RunLazarusConditionals(input, {{"TARGETOS", "linux"}, {"SRCOS", "unix"}});
  return 0;
}
