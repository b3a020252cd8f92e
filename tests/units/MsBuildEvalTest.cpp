// MSBuild properties and conditions as Delphi project files use them, accepted and rejected
// inputs side by side.
#include <gtest/gtest.h>

#include <string>

#include "units/MsBuildEval.h"

namespace ravelin {
namespace {

MsBuildProperties Sample() {
  MsBuildProperties properties([](const std::string& name) {
    return name == "HOME" ? std::string("/home/me") : std::string();
  });
  properties.SetFixed("Config", "Debug");
  properties.Set("Config", "Release");  // a fixed property keeps its value
  properties.Set("Platform", "Win32");
  properties.Set("Base", "true");
  properties.Set("Dir", "lib\\");
  properties.Set("Zz_9-A0a", "edges");  // every edge of the characters of a name
  return properties;
}

TEST(MsBuildEval, Expansion) {
  const MsBuildProperties properties = Sample();
  const struct {
    std::string text;
    bool keepUnknown;
    std::string self, expected;
  } rows[] = {
      {"..\\lib;$(DCC_UnitSearchPath)", true, "dcc_unitsearchpath", "..\\lib;"},
      {"$(BDSLIB)\\x;$(DCC_UnitSearchPath)", true, "DCC_UnitSearchPath", "$(BDSLIB)\\x;"},
      {"$(BDSLIB)\\x", false, "", "\\x"},
      {"$(config)-$(PLATFORM)", true, "", "Debug-Win32"},
      {"$(HOME)/a", true, "", "/home/me/a"},
      {"$(Zz_9-A0a)", true, "", "edges"},
      {"$([System.IO.Path]::Combine(a,b))", true, "", "$([System.IO.Path]::Combine(a,b))"},
      {"x$(Unclosed", true, "", "x$(Unclosed"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(properties.Expand(row.text, row.keepUnknown, row.self), row.expected) << row.text;
}

TEST(MsBuildEval, Conditions) {
  const MsBuildProperties properties = Sample();
  const std::function<bool(const std::string&)> exists = [](const std::string& path) {
    return path == "..\\Shared.optset";
  };
  const struct {
    std::string condition;
    bool value;
    std::string error;
  } rows[] = {
      {"", true, ""},
      {"'$(Config)'=='Debug'", true, ""},
      {"'$(Config)'=='debug'", true, ""},
      {"'$(Config)' != 'Debug'", false, ""},
      {"'$(Undefined)'==''", true, ""},
      {"('$(Platform)'=='Win64' and '$(Base)'=='true') or '$(Base_Win64)'!=''", false, ""},
      {"('$(Platform)'=='Win32' AND '$(Base)'=='true') Or '$(X)'!=''", true, ""},
      {"!('$(Base)'=='true')", false, ""},
      {"'$(Base)'", true, ""},
      {"$(Base) == true", true, ""},
      {"!'off'", true, ""},
      {"'10' > '9' and '9' >= '9' and '1' < '2' and '2' <= '2'", true, ""},
      {"'0x10' == '16'", true, ""},
      {"Exists('..\\Shared.optset') and !Exists('$(Nothing)')", true, ""},
      {"HasTrailingSlash('$(Dir)') and !HasTrailingSlash('x')", true, ""},
      {"'a' < 'b'", false, "\"a\" < \"b\" compares texts"},
      {"'abc", false, "a quote is not closed"},
      {"Foo('x')", false, "unknown function FOO"},
      {"Exists('a', 'b')", false, "EXISTS needs one argument"},
      {"'$(Config)'=='Debug' and", false, "it ends too early"},
      {"('x'=='x'", false, "a \"(\" is not closed"},
      {"'x'", false, "\"x\" is not a condition"},
      {"'x' == 'x' 'y'", false, "unexpected \"y\""},
      {"'x' # 'y'", false, "unexpected \"#\""},
  };
  for (const auto& row : rows) {
    const ConditionResult result = EvaluateCondition(row.condition, properties, exists);
    EXPECT_EQ(result.value, row.value) << row.condition;
    EXPECT_EQ(result.error, row.error) << row.condition;
  }
  EXPECT_EQ(
      EvaluateCondition(std::string(500, '(') + "true" + std::string(500, ')'), properties, exists)
          .error,
      "nested too deeply");
}

}  // namespace
}  // namespace ravelin
