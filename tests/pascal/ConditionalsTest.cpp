// Conditional compilation, run over the cases of tests/data/pascal/conditionals.txt (the file
// explains its format): every line is scanned with the Pascal scanner and its comments fed in
// order, and the compiled state, the includes and the warnings are checked as the file says; a
// "+" or "-" between the directives of a line is checked like a line starting with it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "common/VornString.h"
#include "pascal/Conditionals.h"
#include "pascal/Vornscaner.h"

namespace ravelin {
namespace {

struct Case {
  std::string name;
  std::vector<std::string> lines;
};

std::vector<Case> ReadCases() {
  std::istringstream in(testing::ReadBytes(RAVELIN_TEST_DATA "/pascal/conditionals.txt"));
  std::vector<Case> cases;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("=== ", 0) == 0)
      cases.push_back({line.substr(4), {}});
    else if (!cases.empty() && !line.empty() && line[0] != '#')
      cases.back().lines.push_back(line);
  }
  return cases;
}

/// The symbols of "defines: A B" and "constants: NAME=VALUE ..." lines.
void ReadSymbol(const std::string& line, CompilerSymbols& symbols) {
  std::istringstream words(TextAfter(line, ":"));
  for (std::string word; words >> word;) {
    if (line.rfind("defines:", 0) == 0) {
      symbols.Define(word);
    } else {
      const auto eq = word.rfind('=');
      symbols.SetConstant(word.substr(0, eq), std::stod(word.substr(eq + 1)));
    }
  }
}

TEST(Conditionals, EveryCaseOfTheTable) {
  const std::vector<Case> cases = ReadCases();
  ASSERT_EQ(cases.size(), 10u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompilerSymbols symbols;
    for (const std::string& line : c.lines)
      if (line.rfind("defines:", 0) == 0 || line.rfind("constants:", 0) == 0)
        ReadSymbol(line, symbols);
    Conditionals conditionals(symbols);
    std::vector<std::string> expectedWarnings;
    std::string lastInclude;
    int lineNo = 0;
    for (const std::string& line : c.lines) {
      ++lineNo;
      SCOPED_TRACE(line);
      const std::string text = line.size() > 1 ? line.substr(2) : "";
      if (line[0] == '+' || line[0] == '-') {
        EXPECT_EQ(conditionals.Active(), line[0] == '+');
      } else if (line[0] == '>') {
        EXPECT_EQ(lastInclude, text);
      } else if (line[0] == '!') {
        expectedWarnings.push_back(text);
      } else if (line.find(':') == std::string::npos || line[0] == '{' || line[0] == '(') {
        std::vector<std::string> source{line};
        TVornPasScanner scanner;
        scanner.SetSource(&source);
        lastInclude.clear();
        while (!scanner.AtEnd()) {
          std::string token;
          const TTokenKind kind = scanner.NextToken(token);
          if (kind == tkPlus || kind == tkMinus) {  // a marker within the line
            EXPECT_EQ(conditionals.Active(), kind == tkPlus);
          }
          if (kind != tkBraceComment && kind != tkParenComment) continue;
          const FeedResult result = conditionals.Feed(token, "test.pas", lineNo);
          if (result.effect == DirectiveEffect::Include) lastInclude += result.includeFile;
        }
      }
    }
    conditionals.Finish();
    ASSERT_EQ(conditionals.Warnings().size(), expectedWarnings.size());
    for (std::size_t i = 0; i < expectedWarnings.size(); ++i)
      EXPECT_NE(conditionals.Warnings()[i].find(expectedWarnings[i]), std::string::npos)
          << conditionals.Warnings()[i];
  }
}

TEST(Conditionals, DefinesChangeTheSymbolsHandedBack) {
  Conditionals conditionals(CompilerSymbols{});
  EXPECT_EQ(conditionals.Feed("{$DEFINE Trace}", "a.pas", 1).effect, DirectiveEffect::Define);
  EXPECT_EQ(conditionals.Feed("{$IFDEF TRACE}", "a.pas", 2).effect, DirectiveEffect::Conditional);
  EXPECT_EQ(conditionals.Depth(), 1u);
  EXPECT_EQ(conditionals.Feed("{ plain }", "a.pas", 3).effect, DirectiveEffect::None);
  EXPECT_EQ(conditionals.Symbols().Defines(), std::vector<std::string>{"TRACE"});
}

}  // namespace
}  // namespace ravelin
