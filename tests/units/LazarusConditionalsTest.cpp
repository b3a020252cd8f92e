// Build conditionals scripts of Lazarus packages: what they set for given macros, and where
// they stop.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "units/LazarusConditionals.h"

namespace ravelin {
namespace {

/// "NAME=value|NAME=value" as a map.
std::map<std::string, std::string> Pairs(const std::string& text) {
  std::map<std::string, std::string> pairs;
  std::istringstream items(text);
  for (std::string item; std::getline(items, item, '|');)
    if (!item.empty()) pairs[item.substr(0, item.find('='))] = item.substr(item.find('=') + 1);
  return pairs;
}

TEST(LazarusConditionals, ScriptsSetPathsAndOptions) {
  const std::string widgets =
      "// widget set specific options\n"
      "if LCLWidgetType+''='' then LCLWidgetType := 'gtk2';\n"
      "base := LCLWidgetType+'/';\n"
      "if LCLWidgetType='gtk3' then begin\n"
      "  CustomOptions := '-dgtk3'; UnitPath := base + 'gtk3bindings';\n"
      "end else if LCLWidgetType='cocoa' then begin\n"
      "  CustomOptions := '-dcocoa';\n"
      "  if TargetCPU<>'i386' then\n"
      "    CustomOptions += ' -dNoCarbon';\n"
      "end;";
  const struct {
    std::string script, variables, expected, error;
  } rows[] = {
      {"if SrcOS<>'win' then\n  UnitPath := 'nonwin32';", "SRCOS=unix", "UNITPATH=nonwin32", ""},
      {"if SrcOS<>'win' then\n  UnitPath := 'nonwin32';", "SRCOS=Win", "UNITPATH=", ""},
      {widgets, "LCLWIDGETTYPE=cocoa|TARGETCPU=aarch64", "CUSTOMOPTIONS=-dcocoa -dNoCarbon", ""},
      {widgets, "LCLWIDGETTYPE=gtk3", "CUSTOMOPTIONS=-dgtk3|UNITPATH=gtk3/gtk3bindings", ""},
      {widgets, "", "LCLWIDGETTYPE=gtk2|BASE=gtk2/|CUSTOMOPTIONS=", ""},
      {"if undefined(fpGUIPlatform) then fpGUIPlatform := 'x11';;\nIncPath := 'corelib/' + "
       "fpGUIPlatform",
       "", "INCPATH=corelib/x11", ""},
      {"if Undefined(fpGUIPlatform) then fpGUIPlatform := 'x11'; IncPath := fpGUIPlatform",
       "FPGUIPLATFORM=gdi", "INCPATH=gdi", ""},
      {"if SrcOS='win' then if TargetOS='win64' then UnitPath := 'a' else UnitPath := 'b';",
       "SRCOS=unix|TARGETOS=linux", "UNITPATH=", ""},
      {"if ('b' > 'a') and not ('a' > 'a') and ('a' < 'b') and ('a' <= 'a') and ('a' >= 'a') "
       "then UnitPath := 'ordered'",
       "", "UNITPATH=ordered", ""},
      {"If Debug = 'True' then\nbegin\n  UnitPath += ';x';\nend;", "", "UNITPATH=", ""},
      {"if Defined(Debug) and (GetIDEValue('cpu') = TargetCPU) then UnitPath := 'dbg'",
       "DEBUG=1|TARGETCPU=x86_64", "UNITPATH=dbg", ""},
      {"if not (SrcOS='win') and (TargetOS='linux') or False then IncPath := 'x' else IncPath "
       ":= 'y';",
       "SRCOS=unix|TARGETOS=darwin", "INCPATH=y", ""},
      {"UnitPath := 'a'#65^M + 7", "", "UNITPATH=aA\r7", ""},
      {"UnitPath := 'kept'; CustomOptions := Foo('x');", "", "UNITPATH=kept",
       "unknown function FOO"},
      {"if 'a' then UnitPath := 'x';", "", "UNITPATH=", "\"a\" is not a condition"},
      {"UnitPath := 'x' IncPath := 'y'", "", "UNITPATH=x", "\";\" expected"},
      {"begin UnitPath := 'x';", "", "UNITPATH=x", "end expected"},
      {"if Defined('x') then", "", "", "DEFINED needs a name"},
      {"UnitPath := (", "", "", "unexpected \"(end)\""},
      {"if SrcOS='unix' UnitPath := 'x';", "", "", "then expected"},
      {"x := " + std::string(300, '(') + "'a'" + std::string(300, ')'), "", "",
       "nested too deeply"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.script);
    const ConditionalsRun run = RunLazarusConditionals(row.script, Pairs(row.variables));
    EXPECT_EQ(run.error, row.error);
    for (const auto& [name, value] : Pairs(row.expected)) {
      auto it = run.variables.find(name);
      EXPECT_EQ(it == run.variables.end() ? "" : it->second, value) << name;
    }
  }
}

}  // namespace
}  // namespace ravelin
