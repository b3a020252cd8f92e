// The Pascal vocabulary, token nodes, the character buffer and the scanner: the tables
// tests/data/pascal/routines.txt and scanner.txt, the word lookup against a linear search, and
// the scanner's handlers.
#include <gtest/gtest.h>

#include <memory>

#include "DataTable.h"
#include "common/Error.h"
#include "common/VornString.h"
#include "pascal/TokenNodes.h"
#include "pascal/Vornscaner.h"

namespace ravelin {
namespace {

using Args = std::vector<std::string>;
using TokenPairs = std::vector<std::pair<int, std::string>>;

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  std::string rest = text + "\n";
  while (!rest.empty()) lines.push_back(SplitFirst(rest, "\n"));
  return lines;
}

/// Sets kind on a node of type NodeT that holds a valid kind first: its text, or the message
/// of the refusal (which leaves the kind as it was).
template <class NodeT>
std::string SetKindOn(const std::string& kind, TTokenKind valid) {
  NodeT node;
  node.SetKind(valid);
  try {
    node.SetKind(static_cast<TTokenKind>(std::stoi(kind)));
  } catch (const GeneralError& e) {
    EXPECT_EQ(node.Kind, valid) << kind;
    return e.what();
  }
  return node.GetText();
}

TEST(Pascal, RoutinesGiveTheResultsOfTheTable) {
  auto kind = [](const std::string& s) { return static_cast<TTokenKind>(std::stoi(s)); };
  testing::CheckRoutineTable(
      "pascal/routines.txt",
      {
          {"KindName", [&](const Args& a) { return std::string(KindName(kind(a[0]))); }},
          {"SymbolName", [&](const Args& a) { return std::string(SymbolName(kind(a[0]))); }},
          {"WordName", [&](const Args& a) { return std::string(WordName(kind(a[0]))); }},
          {"PragmaName",
           [](const Args& a) {
             return std::string(PragmaName(static_cast<TPragmaKind>(std::stoi(a[0]))));
           }},
          {"WordKind", [](const Args& a) { return std::to_string(WordKind(a[0])); }},
          {"PragmaKind", [](const Args& a) { return std::to_string(PragmaKind(a[0])); }},
          {"IsWordOrLiteral",
           [&](const Args& a) {
             TTokenNode node;
             node.SetKind(kind(a[0]));
             return std::to_string(node.IsWordOrLiteral());
           }},
          {"SymbolNode", [](const Args& a) { return SetKindOn<TSymbolNode>(a[0], tkComma); }},
          {"WordNode", [](const Args& a) { return SetKindOn<TPasWordNode>(a[0], tkUses); }},
          {"Buffer",
           [](const Args& a) {
             std::vector<std::string> lines = LinesOf(a[0]), other;
             TVornstrBfr buffer;
             buffer.SetSource(a[0] == "none" ? nullptr : &lines);
             std::string trace, rest = a[1];
             auto show = [&](char c) {
               trace += std::string(c != ' ', c) + std::to_string(buffer.Column()) + ":" +
                        std::to_string(buffer.LineNo()) + (buffer.AtEof() ? "! " : " ");
             };
             while (!rest.empty()) {
               const std::string step = SplitFirst(rest, " ");
               if (step == "r") show(buffer.ReadChar());
               if (step == "p") show(buffer.PeekChar());
               if (step == ".") show(' ');
               if (step == "z") buffer.Reset();
               if (step == "#") trace += "#" + std::to_string(lines.size()) + " ";
               if (step[0] == '+') buffer.PushBack(step.substr(1));
               if (step[0] == '=') {
                 other = {step.substr(1)};
                 buffer.SetSource(&other);
               }
             }
             return trace.substr(0, trace.size() - 1);
           }},
      });
}

TokenPairs ScanAll(TVornPasScanner& scanner, std::vector<std::string> lines) {
  size_t limit = lines.size() + 2;  // the scanner must come to an end
  for (const auto& line : lines) limit += line.size();
  scanner.Buffer.Reset();
  scanner.SetSource(&lines);
  TokenPairs tokens;
  std::string text;
  while (tokens.size() <= limit) {
    const TTokenKind kind = scanner.NextToken(text);
    tokens.emplace_back(kind, text);
    if (scanner.AtEnd()) break;
  }
  EXPECT_LE(tokens.size(), limit) << "the scanner does not come to an end";
  scanner.Buffer.SetSource(nullptr);
  return tokens;
}

TokenPairs ScanAll(std::vector<std::string> lines) {
  TVornPasScanner scanner;
  return ScanAll(scanner, std::move(lines));
}

std::string Show(const TokenPairs& tokens) {
  std::string out;
  for (const auto& [kind, text] : tokens) out += " | " + std::to_string(kind) + " " + text;
  return out;
}

TEST(Pascal, ScannerGivesTheTokensOfTheTable) {
  for (const auto& row : testing::ReadTable("pascal/scanner.txt")) {
    TokenPairs expected;
    for (size_t i = 1; i < row.fields.size(); ++i) {
      const std::string& field = row.fields[i];
      const size_t blank = field.find(' ');
      if (field.empty()) continue;
      expected.emplace_back(std::stoi(field.substr(0, blank)),
                            blank == std::string::npos ? "" : field.substr(blank + 1));
    }
    TokenPairs actual = ScanAll(LinesOf(row.fields[0]));
    if (!actual.empty() && actual.back() == TokenPairs::value_type(0, "")) actual.pop_back();
    EXPECT_EQ(actual, expected) << row.where << "\n got" << Show(actual).substr(0, 300);
  }
}

TEST(Pascal, WordKindEqualsALinearSearchOfTheTable) {
  auto linear = [](std::string_view text) {
    for (int k = kFirstWord; k <= kLastWord; ++k)
      if (WordName(static_cast<TTokenKind>(k)) == UpperText(text)) return TTokenKind(k);
    return tkIdentifier;
  };
  std::vector<std::string> texts;
  for (int k = kFirstWord; k <= kLastWord; ++k) {  // each word, in lower case, cut and grown
    std::string word(WordName(static_cast<TTokenKind>(k)));
    for (char& c : word) c = static_cast<char>(c + 32 * (c != 'A' && c != 'Z'));
    for (size_t n = 0; n < word.size(); ++n) texts.push_back(word.substr(0, n));
    texts.insert(texts.end(), {word, word + "_", word.substr(word.empty() ? 0 : 1), "\x80" + word});
  }
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) texts.push_back({static_cast<char>(a), static_cast<char>(b)});
  for (const auto& text : texts) ASSERT_EQ(WordKind(text), linear(text)) << text;
}

TEST(Pascal, ScannerCallsItsHandlersAndTellsWhereReadingStands) {
  TVornPasScanner scanner;
  EXPECT_TRUE(scanner.AtEnd());  // nothing attached yet
  std::vector<std::string> offTexts;
  int onCalls = 0;
  scanner.OnFormatOff = [&](TVornPasScanner& sender, std::string& text, TTokenKind& kind) {
    EXPECT_EQ(&sender, &scanner);
    EXPECT_EQ(kind, tkBraceComment);
    offTexts.push_back(text);
    text = "kept as written";
    kind = tkFormattedBlock;
  };
  scanner.OnFormatOn = [&](TVornPasScanner& sender) {
    EXPECT_EQ(&sender, &scanner);
    ++onCalls;
  };
  EXPECT_EQ(Show(ScanAll(scanner, {"{.f- off}x{.F+}{.F-}{.F}(*.F-*){ .F-}//.F-", "{.F+ on}"})),
            " | 8 kept as written | 3 x | 0 {.F+} | 8 kept as written | 0 {.F} | 1 (*.F-*)"
            " | 0 { .F-} | 2 //.F- | 0 {.F+ on} | 0 ");
  EXPECT_EQ(offTexts, (std::vector<std::string>{"{.f- off}", "{.F-}"}));
  EXPECT_EQ(onCalls, 2);

  // The buffer tells where reading stands; the base Scan reads to the end and gives false.
  std::vector<std::string> lines = {"// a", "", "  abc := 1"};
  TVornPasScanner plain;
  plain.SetSource(&lines);
  std::string text;
  EXPECT_EQ(plain.NextToken(text), tkLineComment);
  EXPECT_EQ(plain.Buffer.PeekChar(), '\r');  // the line end is left unread
  EXPECT_EQ(plain.NextToken(text), tkIdentifier);
  EXPECT_EQ(plain.Buffer.LineNo() * 100 + plain.Buffer.Column(), 305);
  EXPECT_FALSE(plain.Scan());
  EXPECT_TRUE(plain.AtEnd());
}

}  // namespace
}  // namespace ravelin
