#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/VornString.h"
#include "pascal/Vornsymbols.h"

namespace ravelin {
namespace {

// The word lookup as the plain linear search over the table in value order.
TTokenKind LinearWordKind(std::string_view text) {
  const std::string upper = UpperText(text);
  for (int k = kFirstWord; k <= kLastWord; ++k) {
    if (WordName(static_cast<TTokenKind>(k)) == upper) return static_cast<TTokenKind>(k);
  }
  return tkIdentifier;
}

TEST(Vornsymbols, EveryValueHasItsDisplayName) {
  const std::string varying[] = {"<{...}>",      "<(*...*)>", "<//...>",
                                 "<identifier>", "<float>",   "<integer>",
                                 "<string>",     "<symbol>",  "<formatted-block>"};
  const std::string symbols[] = {"&", ":=", "@",  "[", "]", "^", ":",  ",", "=", ">=", ">", "<=",
                                 "<", "-",  "<>", "(", ")", "+", "..", "*", ";", ".",  "/"};
  // 32-137 in value order; "-" marks 106, which has no name.
  const std::string words =
      "AND ARRAY AS ASM BEGIN CASE CLASS CONST CONSTRUCTOR DESTRUCTOR DISPINTERFACE DIV DO "
      "DOWNTO ELSE END EXCEPT EXPORTS FILE FINALIZATION FINALLY FOR FUNCTION GOTO IF "
      "IMPLEMENTATION IN INHERITED INITIALIZATION INLINE INTERFACE IS LABEL LIBRARY MOD NIL NOT "
      "OBJECT OF OR OUT PACKED PROCEDURE PROGRAM PROPERTY RAISE RECORD REPEAT RESOURCESTRING SET "
      "SHL SHR STRING THEN THREADVAR TO TRY TYPE UNIT UNTIL USES VAR WHILE WITH XOR "
      "ABSOLUTE ABSTRACT ASSEMBLER AUTOMATED CDECL CONTAINS DEFAULT DISPID DYNAMIC - EXTERNAL FAR "
      "FORWARD IMPLEMENTS INDEX MESSAGE NAME NEAR NODEFAULT OVERLOAD OVERRIDE PACKAGE PASCAL "
      "PRIVATE PROTECTED PUBLIC PUBLISHED READ READONLY REGISTER REINTRODUCE REQUIRES RESIDENT "
      "SAFECALL STDCALL STORED VIRTUAL WRITE WRITEONLY AT ON";
  std::vector<std::string> wordNames;
  std::istringstream in(words);
  for (std::string word; in >> word;) wordNames.push_back(word == "-" ? "" : word);
  ASSERT_EQ(wordNames.size(), 106u);
  for (int k = 0; k < 256; ++k) {
    const auto kind = static_cast<TTokenKind>(k);
    const std::string symbol = k >= 9 && k <= 31 ? symbols[k - 9] : "";
    const std::string word = k >= 32 && k <= 137 ? wordNames[k - 32] : "";
    const std::string name = k <= 8 ? varying[k] : k <= 31 ? symbol : word;
    EXPECT_EQ(KindName(kind), name) << k;
    EXPECT_EQ(SymbolName(kind), symbol) << k;
    EXPECT_EQ(WordName(kind), word) << k;
    if (!word.empty()) {
      EXPECT_EQ(WordKind(word), kind) << word;
    }
  }
}

// Code elsewhere uses these values directly; the kind is stored in one byte.
static_assert(tkFormattedBlock == 8 && tkComma == 16 && tkSemicolon == 29 && tkIn == 58 &&
              tkUses == 92 && tkUnnamed == 106 && tkOn == 137 && sizeof(TTokenKind) == 1);

TEST(Vornsymbols, PragmaNames) {
  EXPECT_EQ(PragmaName(pkNone), "");
  EXPECT_EQ(PragmaName(pkFormatOff), ".F-");
  EXPECT_EQ(PragmaName(pkFormatOn), ".F+");
  EXPECT_EQ(PragmaName(static_cast<TPragmaKind>(3)), "");
}

// Every word in several letter cases is checked against the linear search below; these rows
// are the ends of the table's ranges and texts that come close to a word.
TEST(Vornsymbols, WordKindFindsTableBoundariesAndCaseVariants) {
  using namespace std::string_literals;
  struct Row {
    std::string text;
    int kind;
  };
  const Row rows[] = {
      {"AND", 32},   {"and", 32}, {"XOR", 96},   {"ABSOLUTE", 97}, {"WRITEONLY", 135},
      {"AT", 136},   {"ON", 137}, {"oN", 137},   {"", 106},        {"AND_", 3},
      {" AND", 3},   {"AND ", 3}, {"\xC1ND", 3}, {"A\316D", 3},    {"ANDANDANDANDANDAND", 3},
      {"AND\0"s, 3},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(WordKind(row.text), row.kind) << row.text;
  }
}

TEST(Vornsymbols, WordKindEqualsLinearSearchForEveryWordAndManyNonWords) {
  std::vector<std::string> texts;
  for (int k = kFirstWord; k <= kLastWord; ++k) {
    const std::string word(WordName(static_cast<TTokenKind>(k)));
    std::string lower = word, mixed = word, firstLower = word;
    for (std::size_t i = 0; i < word.size(); ++i) {
      lower[i] = static_cast<char>(word[i] + 32);
      if (i % 2 == 1) mixed[i] = lower[i];
    }
    if (!word.empty()) firstLower[0] = lower[0];
    for (const auto& w : {word, lower, mixed, firstLower}) {
      texts.push_back(w);
      for (std::size_t n = 0; n < w.size(); ++n) texts.push_back(w.substr(0, n));
      for (std::size_t n = 1; n <= w.size(); ++n) texts.push_back(w.substr(n));
      for (const char* tail : {"X", "_", "1", "\x80", "\xFF", " "}) texts.push_back(w + tail);
      for (std::size_t i = 0; i < w.size(); ++i) {
        // A letter swapped for its code +/- 128 or for the byte that differs in bit 5 only
        // when that byte is no letter.
        for (int delta : {128, -128}) {
          std::string t = w;
          t[i] = static_cast<char>(static_cast<unsigned char>(w[i]) + delta);
          texts.push_back(t);
        }
      }
    }
  }
  // Every text of one and two bytes.
  for (int a = 0; a < 256; ++a) {
    texts.push_back(std::string(1, static_cast<char>(a)));
    for (int b = 0; b < 256; ++b) {
      texts.push_back(std::string{static_cast<char>(a), static_cast<char>(b)});
    }
  }
  // Every three-letter text over letters, their neighbours and a few high bytes.
  const std::string alphabet = "ADNORSTX@[`{_0adnorstx\xC1\xE1";
  for (char a : alphabet) {
    for (char b : alphabet) {
      for (char c : alphabet) texts.push_back(std::string{a, b, c});
    }
  }
  for (const auto& text : texts) {
    ASSERT_EQ(WordKind(text), LinearWordKind(text)) << text;
  }
}

TEST(Vornsymbols, PragmaKindStripsTheOpenerAndMatchesIgnoringCase) {
  struct Row {
    std::string text;
    int kind;
  };
  const Row rows[] = {
      {"", 0},      {"{.F-", 1},  {"{.f-", 1}, {"{.F+", 2}, {"{.f+", 2},  {"(*.F", 0},
      {"(*.F-", 1}, {"//.F+", 2}, {".F-", 1},  {"x.F-", 0}, {"{.F-}", 0}, {"{.F*", 0},
      {"{", 0},     {"(", 0},     {"/", 0},    {"{.F", 0},  {"{ .F-", 0}, {"{}", 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PragmaKind(row.text), row.kind) << row.text;
  }
}

}  // namespace
}  // namespace ravelin
