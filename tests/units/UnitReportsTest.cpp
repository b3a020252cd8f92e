// The three unit reports: listing, tree chart and dependency table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UnitTestFiles.h"
#include "common/Error.h"
#include "units/UnitDpnd.h"

namespace ravelin {
namespace {

using testing_units::ExpectGolden;
using testing_units::LocalTimeOf;
using testing_units::ProjectTest;

class UnitReports : public ProjectTest {
 protected:
  /// The chart example: Demo.dpr names Forms and Unit1; Unit1 names Windows and SysUtils in
  /// its interface and Dialogs after implementation; Windows names A and B; A names C.
  void BuildChartExample() {
    Write("Demo.dpr", "program Demo;\nuses\n  Forms, Unit1;\nbegin\nend.\n");
    Write("Unit1.pas",
          "unit Unit1;\ninterface\nuses Windows, SysUtils;\nimplementation\nuses Dialogs;\n"
          "end.\n");
    Write("Windows.pas", "unit Windows; interface uses A, B; implementation end.");
    Write("A.pas", "unit A; interface uses C; implementation end.");
    BuildUnitTree("Demo.dpr");
  }
  static std::string ChartText() {
    std::string out;
    WriteUnitTreeChartText(out);
    return out;
  }
  static std::string ListingText() {
    std::string out;
    WriteUnitListText(out);
    return out;
  }
};

/// The lines of a report (CR LF removed); an unterminated last line is marked "<no CR LF>".
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end; start < text.size(); start = end + 2) {
    end = text.find("\r\n", start);
    bool last = end == std::string::npos;
    lines.push_back(last ? text.substr(start) + "<no CR LF>" : text.substr(start, end - start));
    if (last) break;
  }
  return lines;
}

TEST_F(UnitReports, TreeChartOfTheExampleProjectIsAppendedToTheReportFile) {
  BuildChartExample();
  ExpectGolden(ChartText(), "chart_example.txt");
  Write("Ravelin.TXT", "earlier report\r\n");
  WriteUnitTreeChart(Path("Ravelin.TXT"));
  std::string text;
  ASSERT_TRUE(Fs().TryReadFile(Path("Ravelin.TXT"), text));
  EXPECT_EQ(text, "earlier report\r\n" + testing_units::Golden("chart_example.txt"));
}

TEST_F(UnitReports, ChartOfARootAloneIsOneLine) {
  BuildUnitTree("Lonely.pas");
  auto lines = Lines(ChartText());
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[5], " V:Lonely.pas");
}

TEST(ChartPrefix, CarriesTheOpenBranchesOfTheLineAbove) {
  struct Row {
    std::string previous;
    bool hasSibling;
    int level;
    std::string expected;
  } rows[] = {
      {"   +-", true, 0, ""},
      {"", true, 1, "   +-"},
      {"", false, 1, "   =-"},
      {"   +-", true, 2, "   |    +-"},
      {"   =-", true, 2, "        +-"},
      {"   |    +-", false, 3, "   |    |    =-"},
      {"   |    |    =-", false, 2, "   |    =-"},
      {"   |    +-", true, 3, "   |    |    +-"},  // parent and grandparent go on
      {"ab", true, 3, "ab   +-"},                  // shorter than the cut: all of it
  };
  for (const auto& row : rows)
    EXPECT_EQ(ChartPrefix(row.previous, row.hasSibling, row.level), row.expected)
        << "\"" << row.previous << "\" " << row.hasSibling << " " << row.level;
}

TEST_F(UnitReports, ListingRowsShowSizeTimeAndNameOrderedByFileName) {
  Write("Demo.dpr",
        "program Demo; uses Alpha in 'b\\Alpha.pas', Beta in 'a\\Beta.pas', Empty, Windows; "
        "begin end.\r\n");
  std::string alpha = "unit Alpha; interface implementation end.\r\n";
  alpha.resize(1234567, ' ');
  Write("b/Alpha.pas", alpha);
  Write("a/Beta.pas", "unit Beta; interface implementation end.\r\n");
  Write("Empty.pas", "");
  Touch("Demo.dpr", LocalTimeOf(2000, 8, 1, 0, 0, 0));
  Touch("b/Alpha.pas", LocalTimeOf(2000, 8, 15, 10, 20, 30));
  Touch("a/Beta.pas", LocalTimeOf(1999, 12, 31, 23, 59, 59));
  Touch("Empty.pas", LocalTimeOf(2001, 1, 2, 3, 4, 5));
  BuildUnitTree("Demo.dpr");
  ExpectGolden(Anonymous(ListingText()), "listing.txt");
  // The list keeps its normal order.
  EXPECT_EQ(Anonymous(testing_units::ListText()),
            "<dir>/a/Beta.pas\n<dir>/b/Alpha.pas\n<dir>/Empty.pas\nDemo.dpr\nWindows.pas\n");
}

TEST_F(UnitReports, EqualFileNamesKeepListOrder) {
  Write("P.dpr", "program P; uses X in 'b\\X.pas', Y in 'a\\x.pas'; begin end.");
  BuildUnitTree("P.dpr");
  auto lines = Lines(ListingText());
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_NE(lines[9].find("/a/x.pas"), std::string::npos) << lines[9];
  EXPECT_NE(lines[10].find("/b/X.pas"), std::string::npos) << lines[10];
}

TEST_F(UnitReports, ListingSetsTheBannerTimeThatLaterChartsAndTablesCarry) {
  BuildChartExample();
  EXPECT_EQ(Lines(ChartText())[0], CenterText("RAVELIN REPORT", 100));
  std::string listing = ListingText();
  SetReportClock([] { return LocalTimeOf(2001, 2, 3, 14, 7, 0); });
  std::string again;
  WriteUnitTreeChartText(again);
  WriteDependencyTableText("Demo.dpr", again);
  auto lines = Lines(again);
  EXPECT_EQ(lines[0], CenterText("RAVELIN REPORT 2000 Aug 15 @ 09:05", 100));
  EXPECT_EQ(lines[14], CenterText("RAVELIN REPORT 2000 Aug 15 @ 09:05", 100));
  WriteUnitListText(listing);
  EXPECT_NE(listing.find("RAVELIN REPORT 2001 Feb 03 @ 14:07"), std::string::npos);
  ResetUnitAnalysisState();
  EXPECT_EQ(ReportBanner, "RAVELIN REPORT");
}

TEST_F(UnitReports, ListingWrittenTwiceAppendsASecondReport) {
  Write("P.dpr", "program P; begin end.");
  BuildUnitTree("P.dpr");
  WriteUnitList(Path("out/../Report.txt"));  // created when missing
  SetReportClock([] { return LocalTimeOf(2000, 8, 15, 9, 6, 0); });
  WriteUnitList(Path("REPORT.TXT"));  // the same file, named in other letter case
  std::string text;
  ASSERT_TRUE(Fs().TryReadFile(Path("Report.txt"), text));
  auto first = text.find("@ 09:05"), second = text.find("@ 09:06");
  EXPECT_NE(second, std::string::npos);
  EXPECT_LT(first, second);
  EXPECT_EQ(text.size() % 2, 0u);
}

TEST_F(UnitReports, LongTitleIsCutTo100Characters) {
  std::string root = "Root" + std::string(120, 'x') + ".dpr";
  BuildUnitTree(root);
  EXPECT_EQ(Lines(ListingText())[3], ("Unit File Listing for " + root).substr(0, 100));
}

TEST(UnitReportFormats, SizesTimesAndFileNameOrder) {
  EXPECT_EQ(FormatFileSize(0), "");
  EXPECT_EQ(FormatFileSize(7), "7");
  EXPECT_EQ(FormatFileSize(999), "999");
  EXPECT_EQ(FormatFileSize(1000), "1,000");
  EXPECT_EQ(FormatFileSize(1234567), "1,234,567");
  EXPECT_EQ(FormatFileSize(12345678901ULL), "12,345,678,901");
  EXPECT_EQ(FormatFileTime(LocalTimeOf(2024, 2, 29, 7, 8, 9)), "2024.02.29 07:08:09");
  EXPECT_EQ(FormatBannerTime(LocalTimeOf(2024, 12, 1, 23, 59, 30)), "2024 Dec 01 @ 23:59");
  EXPECT_EQ(CompareFileNames("/B/Alpha.pas", "/A/Beta.pas"), -1);
  EXPECT_EQ(CompareFileNames("C:\\x\\alpha.pas", "ALPHA.PAS"), 0);
  EXPECT_EQ(CompareFileNames("Zeta.pas", "a:b.pas"), 1);  // a colon is no folder delimiter
}

TEST_F(UnitReports, DependencyTableOfTheExampleProject) {
  Write("Demo.dpr", "program Demo; uses Forms, Unit1; begin end.");
  Write("Unit1.pas", "unit Unit1; interface uses Forms, SysUtils; implementation end.");
  BuildUnitTree("Demo.dpr");
  std::string out;
  WriteDependencyTableText("C:\\Src\\Demo.dpr", out);
  ExpectGolden(out, "dependency_example.txt");
  WriteDependencyTable("C:\\Src\\Demo.dpr", Path("Report.txt"));
  std::string text;
  ASSERT_TRUE(Fs().TryReadFile(Path("Report.txt"), text));
  EXPECT_EQ(text, out);
}

/// The rows of a dependency table built from a hand-made unit tree.
class DependencyRows : public UnitReports {
 protected:
  TUnitNode* Node(TUnitNode* parent, const std::string& name, char direction = 'R') {
    return TheUnitTree().AddNode(parent, std::make_unique<TUnitNode>(name, 1), direction);
  }
  std::vector<std::string> Rows() {
    std::string out;
    WriteDependencyTableText("Root", out);
    auto lines = Lines(out);
    return std::vector<std::string>(lines.begin() + 7, lines.end());
  }
};

TEST_F(DependencyRows, UsersWrapAfterNineEntriesOrPastColumn87) {
  struct Row {
    const char* what;
    const char* user;  // users user1, user2, ... each name the unit Used once
    int users;
    std::vector<std::string> expected;  // the row of Used from its name cell on
  } rows[] = {
      {"nobody", "U", 0, {"Used        *base unit*"}},
      {"nine users fill one line",
       "U",
       9,
       {"Used        U1        U2        U3        U4        U5        U6        U7        "
        "U8        U9        "}},
      {"the tenth user starts a line of 18 blanks",
       "U",
       10,
       {"Used        U1        U2        U3        U4        U5        U6        U7        "
        "U8        U9        ",
        "                  U10       "}},
      {"names of 10 to 19 characters take 20 columns; the sixth wraps at column 100",
       "LongName0",
       6,
       {"Used        LongName01          LongName02          LongName03          "
        "LongName04          LongName05          ",
        "                  LongName06          "}},
  };
  for (const auto& row : rows) {
    ClearUnitAnalysis();
    TUnitNode* root = Node(nullptr, "Root", 'L');
    for (int i = 1; i <= row.users; ++i)
      Node(Node(root, row.user + std::to_string(i), 'L'), "Used");
    if (row.users == 0) Node(root, "Used", 'L');
    std::vector<std::string> used;  // the row of Used and the lines it wraps onto
    for (const auto& line : Rows()) {
      if (line.find("  Used ") <= 6)
        used.push_back(line.substr(line.find("Used")));
      else if (!used.empty() && line.rfind(std::string(18, ' '), 0) == 0)
        used.push_back(line);
      else if (!used.empty())
        break;
    }
    EXPECT_EQ(used, row.expected) << row.what;
  }
}

TEST_F(DependencyRows, NameCellsWidenForLongNamesAndTheRootShowsItsFileName) {
  TUnitNode* root = Node(nullptr, "/src/proj/Main.dpr", 'L');
  TUnitNode* a = Node(root, "ElevenChars", 'L');  // 11: cell of 12
  Node(a, "TwelveCharsX");                        // 12: cell of 22
  Node(a, "Forms");
  TUnitNode* b = Node(root, "B", 'L');
  Node(b, "FORMS");  // one row under the spelling met first, ...
  Node(b, "forms");  // ... naming a user as often as it names the unit
  EXPECT_EQ(Rows(), (std::vector<std::string>{
                        "   1  Main.dpr    *base unit*", "   2  B           *base unit*",
                        "   3  ElevenChars *base unit*",
                        "   4  Forms       ElevenChars         B         B         ",
                        "   5  TwelveCharsX          ElevenChars         "}));
}

TEST_F(DependencyRows, RowNumbersFrom10000WidenTheNumberField) {
  TUnitNode* root = Node(nullptr, "Root", 'L');
  for (int i = 10000; i < 20000; ++i) Node(root, "U" + std::to_string(i), 'L');
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 10001u);
  EXPECT_EQ(rows[0], "   1  Root        *base unit*");
  EXPECT_EQ(rows[9998], "9999  U19997      *base unit*");
  EXPECT_EQ(rows[9999], "10000  U19998      *base unit*");
  EXPECT_EQ(rows[10000], "10001  U19999      *base unit*");
}

TEST_F(DependencyRows, EmptyTreeGivesTheHeaderOnly) {
  std::string out;
  WriteDependencyTableText("Nothing", out);
  auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[6].size(), 108u);
}

TEST(DependencyTable, RowWithoutNodeIsAnInvertedTreeErrorAndEmptyUserADashedEntry) {
  TReportFile f;
  std::string out;
  OpenReportText(f, out);
  BeginDependencyTable(&f, "x");
  WriteTableRow(nullptr);
  TDpndNode node("Unit1");
  node.UsedBy = {"", "A"};
  WriteTableRow(&node);
  BeginDependencyTable(nullptr, "");
  f.Close();
  EXPECT_EQ(out, " Inverted Tree Error \r\n   2  Unit1        ------ A         \r\n");
}

}  // namespace
}  // namespace ravelin
