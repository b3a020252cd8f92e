// The line classifier: how each line of a Pascal text is counted.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "common/Error.h"
#include "common/TextLines.h"
#include "linecount/LCntEngn.h"

namespace ravelin {
namespace {

std::string Describe(const TLineCounts& c) {
  return "total=" + std::to_string(c.Total) + " blank=" + std::to_string(c.Blank) +
         " comment=" + std::to_string(c.Comment) + " source=" + std::to_string(c.Source) +
         " commented=" + std::to_string(c.Commented);
}

struct Row {
  const char* what;
  std::string text;
  // Expected counts in report order.
  int total, blank, comment, source, commented;
};

void CheckRows(const std::vector<Row>& rows) {
  for (const auto& row : rows) {
    TLineCounts counts;
    ClassifyText(row.text, counts);
    const TLineCounts expected{.Total = row.total,
                               .Blank = row.blank,
                               .Source = row.source,
                               .Commented = row.commented,
                               .Comment = row.comment};
    EXPECT_EQ(Describe(counts), Describe(expected)) << row.what << ": \"" << row.text << "\"";
  }
}

TEST(Classifier, SortsLinesIntoBlankCommentSourceAndCommentedSource) {
  CheckRows({
      //  what, text, total, blank, comment, source, commented
      {"empty file", "", 0, 0, 0, 0, 0},
      {"blanks and tabs outside a comment", "  \t  ", 1, 1, 0, 0, 0},
      {"control characters only", "\x01\x02\x7f", 1, 0, 0, 1, 0},
      {"control characters below 33 only", "\x01\x02\x1f", 1, 1, 0, 0, 0},
      {"statement", "x := 1;", 1, 0, 0, 1, 0},
      {"line comment alone", "// note", 1, 0, 1, 0, 0},
      {"statement and brace comment", "x := 1; { note }", 1, 0, 0, 1, 1},
      {"statement and line comment", "x := 1; // note", 1, 0, 0, 1, 1},
      {"brace comment between statements", "a; { b } c;", 1, 0, 0, 1, 1},
      {"brace directive alone", "{$R *.res}", 1, 0, 1, 0, 0},
      {"paren-star directive alone", "(*$R+*)", 1, 0, 1, 0, 0},
      {"two paren-star comments on one line", "(* a *)(* b *)", 1, 0, 1, 0, 0},
      {"paren-star comment then code", "(* a *) x", 1, 0, 0, 1, 1},
      {"division", "x := a / b;", 1, 0, 0, 1, 0},
      {"lone parenthesis", "(", 1, 0, 0, 0, 0},
      {"lone slash", "/", 1, 0, 0, 0, 0},
      {"parenthesis and slashes only", "( / ( /", 1, 0, 0, 0, 0},
      {"bytes 128 to 255 only", "\xe4\xf6\xfc\xff", 1, 0, 0, 1, 0},
      {"NUL bytes inside code", std::string("x\0y\0", 4), 1, 0, 0, 1, 0},
      {"NUL bytes only", std::string("\0\0\0", 3), 1, 1, 0, 0, 0},
  });
}

TEST(Classifier, CarriesOpenCommentsAcrossLines) {
  CheckRows({
      {"brace comment over three lines, middle empty", "{ a\r\n\r\n b }", 3, 0, 3, 0, 0},
      {"blank line inside a paren-star comment", "(* a\r\n \t \r\n*)", 3, 0, 3, 0, 0},
      {"comment closed then statement", "{ open\r\nclose } x := 1;", 2, 0, 1, 1, 1},
      {"line that only closes a comment", "(* a\r\n*)", 2, 0, 2, 0, 0},
      {"brace comment ignores paren-star and slashes", "{ (* // \r\n } x", 2, 0, 1, 1, 1},
      {"paren-star comment ignores braces", "(* } {\r\nx\r\n*) y", 3, 0, 2, 1, 1},
      {"paren-star-paren opens and does not close", "(*)\r\nx := 1;\r\n*)", 3, 0, 3, 0, 0},
      {"comment open at the end of the text is dropped", "{ open\r\nstill", 2, 0, 2, 0, 0},
      {"state after a closed comment is code", "{ a }\r\n\r\nx", 3, 1, 1, 1, 0},
  });
}

TEST(Classifier, RemovesBubblesBeforeScanning) {
  CheckRows({
      {"bubble alone", "{}", 1, 0, 0, 0, 0},
      {"bubble with blanks around", "  {}  ", 1, 0, 0, 0, 0},
      {"nested bubbles vanish", "{{}}", 1, 0, 0, 0, 0},
      {"bubble inside an open paren-star comment", "(* a\r\n{}\r\n*)", 3, 0, 3, 0, 0},
      {"bubble after code", "end;{}", 1, 0, 0, 1, 0},
      {"bubble inside a string literal", "s := '{}';", 1, 0, 0, 1, 0},
      {"bubble leaves a comment around it", "{{}x}", 1, 0, 1, 0, 0},
      {"unmatched close after a bubble is code", "{}}", 1, 0, 0, 1, 0},
      {"bubble joins two literals into one", "'a'{}'b' // c", 1, 0, 0, 1, 1},
      {"blanks inside a bubble still make one", "{ }", 1, 0, 0, 0, 0},
      {"bubble right after an open brace comment line", "{ a\r\n}{} x", 2, 0, 1, 1, 1},
  });
}

TEST(Classifier, ReadsStringLiterals) {
  CheckRows({
      {"doubled apostrophe keeps the literal open", "s := 'it''s'; // c", 1, 0, 0, 1, 1},
      {"brace inside a literal opens no comment", "s := '{';\r\ny := 2;", 2, 0, 0, 2, 0},
      {"paren-star inside a literal", "s := '(*';\r\ny;", 2, 0, 0, 2, 0},
      {"slashes inside a literal", "s := 'http://x';", 1, 0, 0, 1, 0},
      {"unclosed literal ends with its line", "s := 'abc {\r\ny := 1;", 2, 0, 0, 2, 0},
      {"literal alone is source", "''", 1, 0, 0, 1, 0},
      {"literal after a closing comment", "{ a\r\n} 'x'", 2, 0, 1, 1, 1},
  });
}

TEST(Classifier, IgnoresBlanksInsideCommentOpeners) {
  CheckRows({
      {"parenthesis, blanks, star", "( * note * )", 1, 0, 1, 0, 0},
      {"slash, tab, slash", "x / \t/ y", 1, 0, 0, 1, 1},
      {"blanks inside a literal vanish too", "s := ' ( * ';", 1, 0, 0, 1, 0},
  });
}

TEST(Classifier, SplitsLinesAtCrLfCrAndLf) {
  CheckRows({
      {"CR LF is one line end", "a\r\nb", 2, 0, 0, 2, 0},
      {"CR alone", "a\rb\r", 2, 0, 0, 2, 0},
      {"LF alone", "a\nb\n", 2, 0, 0, 2, 0},
      {"LF CR is two line ends", "a\n\rb", 3, 1, 0, 2, 0},
      {"a file of only CRs", "\r\r\r\r", 4, 4, 0, 0, 0},
      {"last line without a line end counts", "a\r\n\r\nb", 3, 1, 0, 2, 0},
      {"line comment stops at LF", "// c\nx", 2, 0, 1, 1, 0},
      {"mixed endings in one text", "a\r\n{ b\n\rc }\rd", 5, 0, 3, 2, 0},
  });
}

TEST(Classifier, StopsAtCtrlZ) {
  CheckRows({
      {"text after Ctrl-Z is not read", "a\r\nb\x1a c\r\nd", 2, 0, 0, 2, 0},
      {"Ctrl-Z first on a line gives no line", "a\r\n\x1a b", 1, 0, 0, 1, 0},
      {"Ctrl-Z first in the file", "\x1a x", 0, 0, 0, 0, 0},
      {"Ctrl-Z inside a comment ends the text", "{ a \x1a } x", 1, 0, 1, 0, 0},
  });
}

TEST(Classifier, RejectsLinesOf65535VisibleCharacters) {
  struct LengthRow {
    const char* what;
    std::string line;
    bool overflows;
  } rows[] = {
      {"65,534 characters", std::string(65534, 'x'), false},
      {"65,535 characters", std::string(65535, 'x'), true},
      {"65,534 characters and blanks", std::string(65534, 'x') + std::string(100, ' '), false},
      {"65,535 characters in a comment", "{" + std::string(65533, 'x') + "}", true},
      {"65,535 characters made of bubbles", std::string(32767, '{') + std::string(32768, '}'),
       true},
      {"65,535 bytes above 127", std::string(65535, '\xe9'), true},
  };
  for (const auto& row : rows) {
    TLineCounts counts;
    if (row.overflows) {
      EXPECT_THROW(ClassifyText(row.line, counts), OverflowError) << row.what;
    } else {
      EXPECT_NO_THROW(ClassifyText(row.line, counts)) << row.what;
    }
  }
}

TEST(Classifier, LongLineErrorNamesTheLine) {
  TLineCounts counts;
  try {
    ClassifyText("a\r\nb\r\n" + std::string(70000, 'x'), counts);
    FAIL() << "no overflow";
  } catch (const OverflowError& e) {
    EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
  }
}

TEST(AddLineCounts, AddsFieldByFieldAndThrowsOnOverflow) {
  TLineCounts src{5, 1, 3, 2, 1};
  TLineCounts dst{10, 2, 6, 1, 2};
  AddLineCounts(src, dst);
  EXPECT_EQ(dst, (TLineCounts{15, 3, 9, 3, 3}));

  struct OverflowRow {
    const char* field;
    TLineCounts dst;
  } rows[] = {
      {"Total", {INT32_MAX, 0, 0, 0, 0}},   {"Blank", {0, INT32_MAX, 0, 0, 0}},
      {"Source", {0, 0, INT32_MAX, 0, 0}},  {"Commented", {0, 0, 0, INT32_MAX, 0}},
      {"Comment", {0, 0, 0, 0, INT32_MAX}},
  };
  for (auto row : rows) {
    EXPECT_THROW(AddLineCounts(TLineCounts{1, 1, 1, 1, 1}, row.dst), OverflowError) << row.field;
  }
}

// A literal transcription of the counting rules, slow on purpose: bubbles removed by searching
// again from the start after every removal, open comments continued by putting their opener in
// front of the line. The engine's classifier must agree with it on every line.
struct Reference {
  TScanState state = TScanState::InCode;

  void Line(std::string line, TLineCounts& c) {
    ++c.Total;
    size_t first = 0;
    while (first < line.size() && static_cast<unsigned char>(line[first]) < 33) ++first;
    if (first == line.size()) {
      ++(state == TScanState::InCode ? c.Blank : c.Comment);
      return;
    }
    std::string s;
    for (char ch : line)
      if (static_cast<unsigned char>(ch) >= 33) s += ch;
    for (size_t pos; (pos = s.find("{}")) != std::string::npos;) s.erase(pos, 2);
    if (state == TScanState::InBrace) s = "{" + s;
    if (state == TScanState::InParenStar) s = "(*" + s;
    bool comment = false, source = false;
    while (!s.empty()) {
      if (s[0] == '\'') {
        source = true;
        state = TScanState::InCode;
        size_t i = 1;  // a doubled apostrophe stays inside the literal
        while (i < s.size() && !(s[i] == '\'' && (i + 1 == s.size() || s[i + 1] != '\'')))
          i += s[i] == '\'' ? 2 : 1;
        s.erase(0, std::min(i + 1, s.size()));
      } else if (s.rfind("(*", 0) == 0) {
        comment = true;
        state = TScanState::InParenStar;
        s.erase(0, 2);
        auto close = s.find("*)");
        if (close == std::string::npos) {
          s.clear();
        } else {
          s.erase(0, close + 2);
          state = TScanState::InCode;
        }
      } else if (s[0] == '(') {
        state = TScanState::InCode;
        s.erase(0, 1);
      } else if (s.rfind("//", 0) == 0) {
        comment = true;
        state = TScanState::InCode;
        s.clear();
      } else if (s[0] == '/') {
        state = TScanState::InCode;
        s.erase(0, 1);
      } else if (s[0] == '{') {
        comment = true;
        state = TScanState::InBrace;
        auto close = s.find('}');
        if (close == std::string::npos) {
          s.clear();
        } else {
          s.erase(0, close + 1);
          state = TScanState::InCode;
        }
      } else {
        source = true;
        state = TScanState::InCode;
        s.erase(0, 1);
      }
    }
    if (comment) ++(source ? c.Commented : c.Comment);
    if (source) ++c.Source;
  }
};

TEST(Classifier, AgreesWithTheRulesTakenLiterallyOnRandomTexts) {
  // Whole texts with every kind of line end: the scan of a text (which reads lines where they
  // stand, and long runs many bytes at a time) and the scan line by line, state carried from
  // line to line, must both agree with the rules.
  const std::string pieces[] = {"{",
                                "}",
                                "(",
                                "*",
                                ")",
                                "/",
                                "'",
                                " ",
                                "\t",
                                "a",
                                "{}",
                                "(*",
                                "*)",
                                "//",
                                "''",
                                "\r\n",
                                "\r",
                                "\n",
                                "\x80",
                                std::string(1, '\0'),
                                "Result := Value;",
                                "                ",
                                "procedure TForm1.Button1Click"};
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) text += pieces[random() % std::size(pieces)];

    std::string shown;
    for (char c : text)
      shown += c == '\r' ? std::string("\\r") : c == '\n' ? "\\n" : std::string(1, c);
    Reference reference;
    TScanState state = TScanState::InCode;
    TLineCounts expected, byLine, whole;
    ForEachLine(text, [&](std::string_view line) {
      reference.Line(std::string(line), expected);
      ClassifyLine(line, state, byLine);
      EXPECT_EQ(state, reference.state) << "[" << shown << "] at line " << expected.Total;
    });
    ClassifyText(text, whole);
    ASSERT_EQ(Describe(whole), Describe(expected)) << "[" << shown << "]";
    ASSERT_EQ(Describe(byLine), Describe(expected)) << "[" << shown << "]";
  }
}

}  // namespace
}  // namespace ravelin
