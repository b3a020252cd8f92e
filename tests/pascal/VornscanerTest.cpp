#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "pascal/Vornscaner.h"

namespace ravelin {
namespace {

using TToken = std::pair<int, std::string>;
using TTokens = std::vector<TToken>;

// Every token of lines, the final end-of-input call (kind 0, empty text) included. Fails
// when the scanner returns more tokens than the input has characters plus lines plus two.
TTokens ScanAll(TVornPasScanner& scanner, std::vector<std::string> lines) {
  std::size_t limit = lines.size() + 2;
  for (const auto& line : lines) limit += line.size();
  scanner.Buffer.Reset();
  scanner.SetSource(&lines);
  TTokens tokens;
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

TTokens ScanAll(std::vector<std::string> lines) {
  TVornPasScanner scanner;
  return ScanAll(scanner, std::move(lines));
}

std::string Show(const TTokens& tokens) {
  std::string out;
  for (const auto& [kind, text] : tokens) out += "(" + std::to_string(kind) + " " + text + ")";
  return out;
}

struct TRow {
  std::vector<std::string> lines;
  TTokens tokens;  // without the final (0, "")
};

void CheckRows(const std::vector<TRow>& rows) {
  for (const auto& row : rows) {
    std::string input;
    for (const auto& line : row.lines) input += line + "|";
    TTokens expected = row.tokens;
    expected.emplace_back(0, "");
    const TTokens actual = ScanAll(row.lines);
    EXPECT_EQ(actual, expected) << input << "\n got " << Show(actual) << "\nwant "
                                << Show(expected);
  }
}

TEST(Vornscaner, ScansEachTokenKind) {
  CheckRows({
      {{"x:=y+1;"}, {{3, "x"}, {10, ":="}, {3, "y"}, {26, "+"}, {5, "1"}, {29, ";"}}},
      {{"begin End"}, {{36, "begin"}, {47, "End"}}},
      {{"a[1..2]"}, {{3, "a"}, {12, "["}, {5, "1"}, {27, ".."}, {5, "2"}, {13, "]"}}},
      {{"(.i.)"}, {{12, "["}, {3, "i"}, {13, "]"}}},
      {{"(.1.)"}, {{12, "["}, {4, "1."}, {25, ")"}}},
      {{"3.14"}, {{4, "3.14"}}},
      {{"2e10"}, {{4, "2E10"}}},
      {{"1.5E-3"}, {{4, "1.5E-3"}}},
      {{"$FF"}, {{5, "$FF"}}},
      {{"007"}, {{5, "007"}}},
      {{"{}"}, {{0, ""}}},
      {{"{ x }"}, {{0, "{ x }"}}},
      {{"(* a *)"}, {{1, "(* a *)"}}},
      {{"// a"}, {{2, "// a"}}},
      {{"'abc'"}, {{6, "'abc'"}}},
      {{"#65#66"}, {{6, "#65#66"}}},
      {{"a/b"}, {{3, "a"}, {31, "/"}, {3, "b"}}},
      {{"a//b"}, {{3, "a"}, {2, "//b"}}},
      {{"<>"}, {{23, "<>"}}},
      {{"< >"}, {{21, "<"}, {19, ">"}}},
  });
}

// The first token of a line holding only c: what NextToken does with each character.
TEST(Vornscaner, DispatchesEveryCharacter) {
  struct Row {
    std::string chars;
    int kind;
    std::string text;  // "*" stands for the character itself
  };
  // "#", "'" and "{" run on into the line end; every character of singles is a token alone.
  std::vector<Row> rows = {{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_", 3, "*"},
                           {"0123456789", 5, "*"},
                           {"#", 6, "#\r"},
                           {"'", 6, "'\r"},
                           {"{", 0, "{\r"}};
  const std::string singles = "$(./:<>&)*+,-;=@[]^";
  const int singleKinds[] = {5,  24, 30, 31, 15, 21, 19, 9,  25, 28,
                             26, 16, 22, 29, 17, 11, 12, 13, 14};
  for (size_t i = 0; i < singles.size(); ++i)
    rows.push_back({singles.substr(i, 1), singleKinds[i], "*"});
  // Characters that start no token: control characters, blank, 127 and up, and these.
  const std::string skippedMarks = " !\"%?\\`|}~";
  for (int code = 0; code < 256; ++code) {
    const char c = static_cast<char>(code);
    const Row* found = nullptr;
    for (const auto& row : rows) {
      if (row.chars.find(c) != std::string::npos) found = &row;
    }
    const bool skipped = code < 32 || code >= 127 || skippedMarks.find(c) != std::string::npos;
    ASSERT_NE(found == nullptr, !skipped) << "character " << code << " in no row or in two";
    if (skipped) {
      // Read and thrown away: the next token follows at once.
      EXPECT_EQ(ScanAll({std::string{c, 'x'}}), (TTokens{{3, "x"}, {0, ""}})) << code;
      EXPECT_EQ(ScanAll({std::string(1, c)}), (TTokens{{0, ""}})) << code;
      continue;
    }
    const TTokens tokens = ScanAll({std::string(1, c)});
    ASSERT_FALSE(tokens.empty()) << code;
    const std::string text = found->text == "*" ? std::string(1, c) : found->text;
    EXPECT_EQ(tokens.front(), TToken(found->kind, text)) << code << "\n got " << Show(tokens);
  }
}

TEST(Vornscaner, BufferTellsWhereReadingStandsAfterEachToken) {
  std::vector<std::string> lines = {"// a", "", "  abc := 1"};
  TVornPasScanner scanner;
  scanner.SetSource(&lines);
  std::string text;
  EXPECT_EQ(scanner.NextToken(text), tkLineComment);
  EXPECT_EQ(text, "// a");
  EXPECT_EQ(scanner.Buffer.LineNo(), 1);
  EXPECT_EQ(scanner.Buffer.PeekChar(), '\r');  // the line end is left unread
  EXPECT_EQ(scanner.NextToken(text), tkIdentifier);
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(scanner.Buffer.LineNo(), 3);
  EXPECT_EQ(scanner.Buffer.Column(), 5);
}

TEST(Vornscaner, ScansSymbolsWordsAndNumbers) {
  CheckRows({
      {{"&:=@[]^:,=>=><=<-<>()+..*;./"},
       {{9, "&"},  {10, ":="}, {11, "@"},  {12, "["},  {13, "]"}, {14, "^"}, {15, ":"},  {16, ","},
        {17, "="}, {18, ">="}, {19, ">"},  {20, "<="}, {21, "<"}, {22, "-"}, {23, "<>"}, {24, "("},
        {25, ")"}, {26, "+"},  {27, ".."}, {28, "*"},  {29, ";"}, {30, "."}, {31, "/"}}},
      {{"uses AT on String"}, {{92, "uses"}, {136, "AT"}, {137, "on"}, {84, "String"}}},
      {{"_x1 x_Y9 Writeonly"}, {{3, "_x1"}, {3, "x_Y9"}, {135, "Writeonly"}}},
      {{"1..10"}, {{5, "1"}, {27, ".."}, {5, "10"}}},
      {{"1.e5 1e+5 1E 1end"}, {{4, "1.E5"}, {4, "1E+5"}, {4, "1E"}, {4, "1E"}, {3, "nd"}}},
      {{"1.5.6"}, {{4, "1.5"}, {30, "."}, {5, "6"}}},
      {{"$ $fg $0aZ"}, {{5, "$"}, {5, "$f"}, {3, "g"}, {5, "$0a"}, {3, "Z"}}},
      {{"x.y"}, {{3, "x"}, {30, "."}, {3, "y"}}},
      {{"a:b"}, {{3, "a"}, {15, ":"}, {3, "b"}}},
      {{"ab\xE9"
        "cd"},
       {{3, "ab"}, {3, "cd"}}},
      {{"! \" % ? \\ ` | } ~ \x7F"}, {}},
  });
}

TEST(Vornscaner, ScansStringLiteralsAsOneToken) {
  CheckRows({
      {{"'It''s'#13#10'ok'^M;"}, {{6, "'It''s'#13#10'ok'^M"}, {29, ";"}}},
      {{"#$0D#$0a'x'"}, {{6, "#$0D#$0a'x'"}}},
      {{"#a"}, {{6, "#a"}}},
      {{"#1.5x"}, {{6, "#1.5"}, {3, "x"}}},
      {{"'' ''"}, {{6, "''"}, {6, "''"}}},
      {{"^"}, {{14, "^"}}},
      {{"'ab", "cd'x"}, {{6, "'ab\rcd'"}, {3, "x"}}},
  });
}

TEST(Vornscaner, ScansCommentsOverLines) {
  CheckRows({
      {{"{ a", "b }c"}, {{0, "{ a\rb }"}, {3, "c"}}},
      {{"(* a", "*)c"}, {{1, "(* a\r*)"}, {3, "c"}}},
      {{"(*)x*)"}, {{1, "(*)x*)"}}},
      {{"(**)x"}, {{1, "(**)"}, {3, "x"}}},
      {{"(***)"}, {{1, "(***)"}}},
      {{"{a}{b}"}, {{0, "{a}"}, {0, "{b}"}}},
      {{"// x", "y"}, {{2, "// x"}, {3, "y"}}},
      {{"//"}, {{2, "//"}}},
      {{"(* // *) { (* } x"}, {{1, "(* // *)"}, {0, "{ (* }"}, {3, "x"}}},
  });
}

TEST(Vornscaner, UnclosedTokensEndWithTheInput) {
  // Each keeps what was read, line ends included, and the scan ends with it.
  const std::vector<TRow> rows = {
      {{"'"}, {{6, "'\r"}}},
      {{"{"}, {{0, "{\r"}}},
      {{"'a'^"}, {{6, "'a'^\r"}}},
      {{"(*"}, {{1, "(*\r"}}},
      {{"(*", "*"}, {{1, "(*\r*\r"}}},
      {{"x 'ab", "c"}, {{3, "x"}, {6, "'ab\rc\r"}}},
      {{"{ a", "", "b"}, {{0, "{ a\r\rb\r"}}},
  };
  for (const auto& row : rows) {
    const TTokens actual = ScanAll(row.lines);
    EXPECT_EQ(actual, row.tokens) << row.lines[0] << "\n got " << Show(actual);
  }
}

TEST(Vornscaner, BadBytesAreSkippedAndTheScanEnds) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  std::string high;
  for (int c = 127; c < 256; ++c) high += static_cast<char>(c);
  CheckRows({
      {{std::string("a\0b", 3)}, {{3, "a"}, {3, "b"}}},
      {{std::string(5, '\0')}, {}},
      {{high, high}, {}},
      {{"", "", ""}, {}},
      {{}, {}},
  });
  const TTokens tokens = ScanAll({all, all});
  ASSERT_FALSE(tokens.empty());
  EXPECT_EQ(tokens.back(), TToken(0, ""));
}

TEST(Vornscaner, MegabyteLinesScanWhole) {
  const std::size_t size = std::size_t{1} << 20;
  const std::string letters(size, 'x');
  const std::vector<TRow> rows = {
      {{letters}, {{3, letters}, {0, ""}}},
      {{"'" + letters}, {{6, "'" + letters + "\r"}}},
      {{"{" + letters}, {{0, "{" + letters + "\r"}}},
      {{"(*" + letters + "*)"}, {{1, "(*" + letters + "*)"}, {0, ""}}},
      {{"//" + letters}, {{2, "//" + letters}, {0, ""}}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ScanAll(row.lines), row.tokens) << row.lines[0].substr(0, 3);
  }
  std::string spaced;
  for (std::size_t i = 0; i < size / 2; ++i) spaced += "a ";
  EXPECT_EQ(ScanAll({spaced}).size(), size / 2 + 1);
}

TEST(Vornscaner, FormatPragmasCallTheHandlers) {
  TVornPasScanner scanner;
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
  const TTokens tokens =
      ScanAll(scanner, {"{.f- off}x{.F+}{.F-}{.F}(*.F-*){ .F-}//.F-", "{.F+ on}"});
  const TTokens expected = {
      {8, "kept as written"}, {3, "x"},      {0, "{.F+}"}, {8, "kept as written"}, {0, "{.F}"},
      {1, "(*.F-*)"},         {0, "{ .F-}"}, {2, "//.F-"}, {0, "{.F+ on}"},        {0, ""},
  };
  EXPECT_EQ(tokens, expected) << Show(tokens);
  EXPECT_EQ(offTexts, (std::vector<std::string>{"{.f- off}", "{.F-}"}));
  EXPECT_EQ(onCalls, 2);
}

TEST(Vornscaner, PragmaWithoutHandlerIsAnOrdinaryComment) {
  EXPECT_EQ(ScanAll({"{.F-}{.F+}"}), (TTokens{{0, "{.F-}"}, {0, "{.F+}"}, {0, ""}}));
}

TEST(Vornscaner, DescendantsReplaceRecognitionRoutines) {
  class TUpperWords : public TVornPasScanner {
   public:
    void ScanWord(TTokenKind& kind, std::string& text) override {
      TVornPasScanner::ScanWord(kind, text);
      for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    int Tokens = 0;
    bool Scan() override {
      std::string text;
      while (!AtEnd()) {
        NextToken(text);
        ++Tokens;
      }
      return true;
    }
  };
  TUpperWords scanner;
  EXPECT_EQ(ScanAll(scanner, {"unit abc;"}),
            (TTokens{{90, "UNIT"}, {3, "ABC"}, {29, ";"}, {0, ""}}));
  std::vector<std::string> lines = {"a b"};
  scanner.Buffer.Reset();
  scanner.SetSource(&lines);
  EXPECT_TRUE(scanner.Scan());
  EXPECT_EQ(scanner.Tokens, 3);
}

TEST(Vornscaner, BaseScanReadsToTheEndAndReturnsFalse) {
  std::vector<std::string> lines = {"unit a;", "{ open"};
  TVornPasScanner scanner;
  scanner.SetSource(&lines);
  EXPECT_FALSE(scanner.AtEnd());
  EXPECT_FALSE(scanner.Scan());
  EXPECT_TRUE(scanner.AtEnd());
  // The buffer is reused for the next list after a Reset.
  scanner.Buffer.Reset();
  EXPECT_TRUE(lines.empty());
  lines = {"b"};
  scanner.SetSource(&lines);
  std::string text;
  EXPECT_EQ(scanner.NextToken(text), tkIdentifier);
  EXPECT_EQ(text, "b");
}

}  // namespace
}  // namespace ravelin
