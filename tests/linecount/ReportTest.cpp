// The line count reports: golden files for the two worked examples, and the rules for rows,
// "PATH: " lines, percentages and the summary.
#include <gtest/gtest.h>

#include "SameText.h"
#include "TestFolder.h"
#include "common/TextLines.h"
#include "linecount/LCntEngn.h"

namespace ravelin {
namespace {

const TLineCounts kMain{120, 14, 80, 6, 26};
const TLineCounts kReportWriter{45, 5, 33, 0, 7};

std::string Golden(const std::string& name) {
  return testing::ReadBytes(RAVELIN_TEST_DATA "/linecount/golden/" + name);
}

/// The lines of a report after the eight banner lines.
std::vector<std::string> AfterBanner(const TLcntEngine& engine) {
  return std::vector<std::string>(engine.Lines.begin() + 8, engine.Lines.end());
}

class Report : public ::testing::Test {
 protected:
  void SetUp() override { LastReportPath = "A:\\"; }
};

/// The report of a run over the two example files of a list file, its lines joined by CR LF.
std::string TwoFileReport(bool detailed) {
  TLcntEngine engine;
  engine.SetFileSpec("C:\\Src\\Tallion.Files");
  engine.Detailed = detailed;
  engine.BeginReport();
  engine.AddFileToReport("C:\\Src\\Main.pas", kMain);
  engine.AddFileToReport("C:\\Src\\ReportWriterUnit.pas", kReportWriter);
  engine.EndReport();
  return JoinLinesCrLf(engine.Lines);
}

TEST_F(Report, DetailedReportOverTwoFilesMatchesGolden) {
  EXPECT_TRUE(testing::SameBytes(Golden("detailed_two_files.txt"), TwoFileReport(true)));
  EXPECT_EQ(LastReportPath, "");
}

TEST_F(Report, SummaryReportOverTwoFilesMatchesGolden) {
  EXPECT_TRUE(testing::SameBytes(Golden("summary_two_files.txt"), TwoFileReport(false)));
  EXPECT_EQ(LastReportPath, "A:\\") << "a summary run leaves the last path alone";
}

TEST(RoundedPercent, RoundsExactHalvesToTheEvenNeighbour) {
  struct Row {
    std::int64_t count, base, percent;
  } rows[] = {
      {23, 40, 58},  // 57.5: a binary floating-point quotient would give 57
      {3, 40, 8},    // 7.5
      {1, 8, 12},    // 12.5
      {1, 200, 0},   // 0.5
      {3, 200, 2},   // 1.5
      {1, 3, 33},
      {2, 3, 67},
      {0, 7, 0},
      {5, 5, 100},
      {19, 165, 12},
      {6, 113, 5},
      {INT32_MAX, INT32_MAX, 100},
      {INT32_MAX / 2, INT32_MAX, 50},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(RoundedPercent(row.count, row.base), row.percent) << row.count << " of " << row.base;
  }
}

TEST_F(Report, PathLineAppearsWhenTheFolderChanges) {
  struct Row {
    const char* what;
    std::vector<std::string> names;
    std::vector<std::string> pathLines;
  } rows[] = {
      {"two files in one folder", {"/a/X.pas", "/a/Y.pas"}, {"PATH: /a/"}},
      {"alternating folders",
       {"/a/X.pas", "/b/Y.pas", "/a/Z.pas"},
       {"PATH: /a/", "PATH: /b/", "PATH: /a/"}},
      {"backslash and slash both delimit",
       {"C:\\Src\\X.pas", "sub/Y.pas"},
       {"PATH: C:\\Src\\", "PATH: sub/"}},
      {"case counts in the comparison", {"/a/X.pas", "/A/Y.pas"}, {"PATH: /a/", "PATH: /A/"}},
      {"a name without folder after one with", {"/a/X.pas", "Y.pas"}, {"PATH: /a/", "PATH: "}},
  };
  for (const auto& row : rows) {
    LastReportPath = "A:\\";
    TLcntEngine engine;
    for (const auto& name : row.names) engine.WriteDetailRow(name, TLineCounts{1, 1, 0, 0, 0});
    std::vector<std::string> pathLines;
    for (const auto& line : engine.Lines)
      if (line.rfind("PATH: ", 0) == 0) pathLines.push_back(line);
    EXPECT_EQ(pathLines, row.pathLines) << row.what;
  }
}

TEST_F(Report, LastPathCarriesFromRunToRunInOneProcess) {
  // The TOTAL row empties the last path, so every detailed run names the folder of its first
  // file again; a name without a folder then needs no "PATH: " line in a later run.
  struct Row {
    const char* what;
    std::vector<std::string> runs;  // one file per run
    std::vector<std::vector<std::string>> pathLines;
  } rows[] = {
      {"same folder twice",
       {"/a/X.pas", "/a/X.pas"},
       {{"PATH: /a/", "PATH: "}, {"PATH: /a/", "PATH: "}}},
      {"no folder twice", {"X.pas", "X.pas"}, {{"PATH: "}, {}}},
  };
  for (const auto& row : rows) {
    LastReportPath = "A:\\";
    for (size_t run = 0; run < row.runs.size(); ++run) {
      TLcntEngine engine;
      engine.Detailed = true;
      engine.BeginReport();
      engine.AddFileToReport(row.runs[run], TLineCounts{1, 1, 0, 0, 0});
      engine.EndReport();
      std::vector<std::string> pathLines;
      for (const auto& line : engine.Lines)
        if (line.rfind("PATH: ", 0) == 0) pathLines.push_back(line);
      EXPECT_EQ(pathLines, row.pathLines[run]) << row.what << ", run " << run + 1;
    }
  }
}

TEST_F(Report, RowsShowPercentagesOrDashesAndLongNamesStandAlone) {
  const std::string zeros = "        0 ---        0 ---        0 ---        0 --- ---        0";
  struct Row {
    const char* what;
    const char* name;
    TLineCounts counts;
    std::vector<std::string> lines;
  } rows[] = {
      {"only blank lines",
       "X.pas",
       {3, 3, 0, 0, 0},
       {"         X.pas        3 100        0   0        0   0        0   0 ---        3"}},
      {"nothing counted", "X.pas", {}, {"         X.pas" + zeros}},
      {"lines counted in total alone",
       "X.pas",
       {2, 0, 0, 0, 0},
       {"         X.pas        0   0        0   0        0   0        0   0 ---        2"}},
      {"numbers wider than their fields push the line right",
       "X.pas",
       {123456789, 0, 123456789, 123456789, 0},
       {"         X.pas        0   0        0   0 123456789 100 123456789 100 100 123456789"}},
      {"a name of 14 characters fits", "Exactly14x.pas", {}, {"Exactly14x.pas" + zeros}},
      {"a longer name gets a line of its own",
       "Fifteen15xy.pas",
       {},
       {"Fifteen15xy.pas", std::string(14, ' ') + zeros}},
  };
  for (const auto& row : rows) {
    LastReportPath = "";
    TLcntEngine engine;
    engine.WriteDetailRow(row.name, row.counts);
    EXPECT_EQ(engine.Lines, row.lines) << row.what;
  }
}

TEST_F(Report, DetailedRunWithoutFilesShowsZeroTotals) {
  TLcntEngine engine;
  engine.Detailed = true;
  engine.BeginReport();
  engine.EndReport();
  const std::vector<std::string> expected = {
      "                           Line Count Detailed Report",
      "                                             all    commented",
      "          name    Blank  %   comment  %    source  %    source   %  %S    total",
      "-------------- -------- --- -------- --- -------- --- -------- --- --- --------",
      "-------------- -------- --- -------- --- -------- --- -------- --- --- --------",
      "PATH: ",
      "         TOTAL        0 ---        0 ---        0 ---        0 --- ---        0",
      "",
      " 0 files processed.",
      " %S :: per cent of source lines containing inline comments.",
      "",
  };
  EXPECT_EQ(AfterBanner(engine), expected);
}

TEST_F(Report, SummaryLeavesOutWhatHasNoBase) {
  struct Row {
    const char* what;
    int files;
    TLineCounts totals;
    std::vector<std::string> summary;
  } rows[] = {
      {"no files",
       0,
       {},
       {"", "Line Count Summary Report for: ", "    /s/*.pas",
        "    type of line      count    % of total", "    ------------     ------    ----------",
        "                     ======", "     Total lines:         0", ""}},
      {"one file has no list-file line, no source gives an empty line",
       1,
       {4, 1, 0, 0, 3},
       {"", "Line Count Summary Report for: ", "    /s/*.pas",
        "    type of line      count    % of total", "    ------------     ------    ----------",
        "           Blank          1            25", "         Comment          3            75",
        "      All Source          0             0", "",
        "                     ======", "     Total lines:         4", ""}},
      {"three files",
       3,
       {40, 0, 23, 23, 0},
       {"", "Line Count Summary Report for: ", "    /s/*.pas",
        "    (a list file containing 3 file names)", "    type of line      count    % of total",
        "    ------------     ------    ----------", "           Blank          0             0",
        "         Comment          0             0", "      All Source         23            58",
        "Commented source         **     23     58   (is 100% of All Source)",
        "                     ======", "     Total lines:        40", ""}},
  };
  for (const auto& row : rows) {
    TLcntEngine engine;
    engine.SetFileSpec("/s/*.pas");
    engine.BeginReport();
    for (int i = 0; i < row.files; ++i)
      engine.AddFileToReport("/s/F" + std::to_string(i) + ".pas",
                             i == 0 ? row.totals : TLineCounts{});
    engine.EndReport();
    EXPECT_EQ(AfterBanner(engine), row.summary) << row.what;
  }
}

TEST(SetFileSpec, TakesAFormFileAsItsUnitAndSplitsTheFolder) {
  struct Row {
    const char* name;
    const char* fileSpec;
    const char* specPath;
  } rows[] = {
      {"/src/Unit1.dfm", "/src/Unit1.pas", "/src/"},
      {"C:\\Src\\Main.DFM", "C:\\Src\\Main.pas", "C:\\Src\\"},
      {"/src/*.Dfm", "/src/*.pas", "/src/"},
      {"/src.dfm/Unit1", "/src.dfm/Unit1", "/src.dfm/"},
      {"Tallion.Files", "Tallion.Files", ""},
      {"a/b\\*.pas", "a/b\\*.pas", "a/b\\"},
  };
  for (const auto& row : rows) {
    TLcntEngine engine;
    engine.SetFileSpec(row.name);
    EXPECT_EQ(engine.FileSpec, row.fileSpec) << row.name;
    EXPECT_EQ(engine.CurrentFile, row.fileSpec) << row.name;
    EXPECT_EQ(engine.SpecPath, row.specPath) << row.name;
  }
}

TEST(Banner, FirstLineCarriesTheNameVersionAndOwnershipNotice) {
  TLcntEngine engine;
  engine.WriteBanner();
  ASSERT_EQ(engine.Lines.size(), 8u);
  EXPECT_EQ(engine.Lines[0].rfind("Tallion (Win32 v:0.9)     ", 0), 0u);
  EXPECT_GT(engine.Lines[0].size(), 26u);
  EXPECT_NE(engine.Lines[0][26], ' ');
}

}  // namespace
}  // namespace ravelin
