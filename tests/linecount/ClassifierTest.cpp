// How lines are counted: the table tests/data/linecount/routines.txt, the annotated fixture
// files, and random texts against the counting rules taken literally.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <regex>

#include "DataTable.h"
#include "SameText.h"
#include "common/Error.h"
#include "common/TextLines.h"
#include "linecount/LCntEngn.h"
#include "linecount/LCntReports.h"

namespace ravelin {
namespace {

using Args = std::vector<std::string>;

std::string Show(const TLineCounts& c) {
  return std::to_string(c.Total) + " " + std::to_string(c.Blank) + " " + std::to_string(c.Comment) +
         " " + std::to_string(c.Source) + " " + std::to_string(c.Commented);
}

TEST(LineCounter, RoutinesGiveTheResultsOfTheTable) {
  testing::CheckRoutineTable(
      "linecount/routines.txt",
      {
          {"Classify",
           [](const Args& a) {
             TLineCounts whole, byLine;
             try {
               ClassifyText(a[0], whole);
             } catch (const OverflowError& e) {
               return std::string(e.what());
             }
             ScanState state = ScanState::InCode;
             ForEachLine(a[0], [&](std::string_view line) { ClassifyLine(line, state, byLine); });
             EXPECT_EQ(Show(byLine), Show(whole)) << "line by line: " << a[0];
             return Show(whole);
           }},
          {"RoundedPercent",
           [](const Args& a) {
             return std::to_string(RoundedPercent(std::stoll(a[0]), std::stoll(a[1])));
           }},
          {"SetFileSpec",
           [](const Args& a) {
             TLcntEngine engine;
             engine.SetFileSpec(a[0]);
             EXPECT_EQ(engine.CurrentFile, engine.FileSpec);
             return engine.FileSpec + " " + engine.SpecPath;
           }},
      });
}

// Every file under tests/data/linecount/fixtures states its counts in its first line:
// "{ expect: total=N blank=N comment=N source=N commented=N }".
TEST(LineCounter, FixtureFilesGiveTheCountsTheyState) {
  const std::regex annotation(
      R"(expect: total=(\d+) blank=(\d+) comment=(\d+) source=(\d+) commented=(\d+))");
  int files = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(RAVELIN_TEST_DATA "/linecount/fixtures")) {
    const std::string path = entry.path().string();
    const std::string head = testing::ReadBytes(path).substr(0, 200);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(head, m, annotation)) << path;
    TLcntEngine engine;
    TLineCounts counts;
    engine.CountFile(path, counts);
    EXPECT_EQ(Show(counts),
              m.str(1) + " " + m.str(2) + " " + m.str(3) + " " + m.str(4) + " " + m.str(5))
        << path;
    ++files;
  }
  EXPECT_GE(files, 10);
}

// The counting rules taken literally, slow on purpose: the visible characters of a line, the
// bubbles removed by searching again from the start, an open comment continued by putting its
// opener in front of the line, then a scan from left to right.
struct Reference {
  ScanState state = ScanState::InCode;

  void Line(const std::string& line, TLineCounts& c) {
    ++c.Total;
    std::string s;
    for (char ch : line)
      if (static_cast<unsigned char>(ch) >= 33) s += ch;
    if (s.empty()) {
      ++(state == ScanState::InCode ? c.Blank : c.Comment);
      return;
    }
    for (size_t pos; (pos = s.find("{}")) != std::string::npos;) s.erase(pos, 2);
    if (state == ScanState::InBrace) s = "{" + s;
    if (state == ScanState::InParenStar) s = "(*" + s;
    bool comment = false, source = false;
    auto closeAfter = [&](const std::string& close, size_t from, ScanState open) {
      comment = true;
      const size_t end = s.find(close, from);
      state = end == std::string::npos ? open : ScanState::InCode;
      s.erase(0, end == std::string::npos ? s.size() : end + close.size());
    };
    while (!s.empty()) {
      state = ScanState::InCode;
      if (s[0] == '\'') {
        source = true;
        size_t i = 1;  // a doubled apostrophe stays inside the literal
        while (i < s.size() && !(s[i] == '\'' && (i + 1 == s.size() || s[i + 1] != '\'')))
          i += s[i] == '\'' ? 2 : 1;
        s.erase(0, std::min(i + 1, s.size()));
      } else if (s.rfind("(*", 0) == 0) {
        closeAfter("*)", 2, ScanState::InParenStar);
      } else if (s.rfind("//", 0) == 0) {
        comment = true;
        s.clear();
      } else if (s[0] == '{') {
        closeAfter("}", 1, ScanState::InBrace);
      } else {
        source = source || (s[0] != '(' && s[0] != '/');
        s.erase(0, 1);
      }
    }
    if (comment) ++(source ? c.Commented : c.Comment);
    if (source) ++c.Source;
  }
};

TEST(LineCounter, AgreesWithTheRulesTakenLiterallyOnRandomTexts) {
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
                                std::string(16, ' '),
                                "procedure TForm1.Button1Click"};
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int i = 0, n = static_cast<int>(random() % 40); i < n; ++i)
      text += pieces[random() % std::size(pieces)];
    Reference reference;
    ScanState state = ScanState::InCode;
    TLineCounts expected, byLine, whole;
    ForEachLine(text, [&](std::string_view line) {
      reference.Line(std::string(line), expected);
      ClassifyLine(line, state, byLine);
      ASSERT_EQ(state, reference.state) << testing::Escaped(text) << " line " << expected.Total;
    });
    ClassifyText(text, whole);
    ASSERT_EQ(Show(whole), Show(expected)) << testing::Escaped(text);
    ASSERT_EQ(Show(byLine), Show(expected)) << testing::Escaped(text);
  }
}

}  // namespace
}  // namespace ravelin
