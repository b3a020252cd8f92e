// The unit reports (whole reports are golden files of the command-line tests): the routines of
// tests/data/units/routines.txt, the banner's time, and the rows of the dependency table.
#include <gtest/gtest.h>

#include <clocale>

#include "DataTable.h"
#include "MachineFormatReaders.h"
#include "UnitTestFiles.h"
#include "common/MachineFormats.h"
#include "units/UnitCsv.h"
#include "units/UnitDpnd.h"
#include "units/UnitJson.h"
#include "units/UnitRecords.h"

namespace ravelin {
namespace {

using Args = std::vector<std::string>;
using testing_units::LocalTimeOf;

class UnitReports : public testing_units::ProjectTest {
 protected:
  /// The report of kind for the last analysis, as text.
  static std::string Report(UnitReportKind kind, const std::string& root = "") {
    std::string out;
    ReportWriter f;
    OpenReportText(f, out);
    WriteUnitReport(kind, UnitAnalysis(), root, f);
    return out;
  }
  static std::string Table(const std::string& root) { return Report(UnitReportKind::Depend, root); }
  /// The lines of a report without their CR LF.
  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string rest = text; !rest.empty();) lines.push_back(SplitFirst(rest, "\r\n"));
    return lines;
  }
};

TEST(UnitReportRoutines, GiveTheResultsOfTheTable) {
  auto time = [](const std::string& text) {
    int p[6];
    std::sscanf(text.c_str(), "%d %d %d %d %d %d", &p[0], &p[1], &p[2], &p[3], &p[4], &p[5]);
    return LocalTimeOf(p[0], p[1], p[2], p[3], p[4], p[5]);
  };
  testing::CheckRoutineTable(
      "units/routines.txt",
      {
          {"ChartPrefix",
           [](const Args& a) { return ChartPrefix(a[0], a[1] == "1", std::stoi(a[2])); }},
          {"FormatFileSize", [](const Args& a) { return FormatFileSize(std::stoull(a[0])); }},
          {"FormatFileTime", [&](const Args& a) { return FormatFileTime(time(a[0])); }},
          {"FormatBannerTime", [&](const Args& a) { return FormatBannerTime(time(a[0])); }},
          {"CompareFileNames",
           [](const Args& a) { return std::to_string(CompareFileNames(a[0], a[1])); }},
      });
}

#ifdef _WIN32
TEST(UnitReportRoutines, TheLocalesMonthNamesAndSeparatorComeOutAsUtf8) {
  // French in code page 1252: "déc." and a no-break space as the thousands separator.
  // As ravelin-cli sets them: the time and the numbers only, the characters' locale stays "C".
  const std::string time = std::setlocale(LC_TIME, nullptr);
  const std::string numbers = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_TIME, "French_France.1252") == nullptr ||
      std::setlocale(LC_NUMERIC, "French_France.1252") == nullptr)
    GTEST_SKIP() << "no French locale";
  const std::string size = FormatFileSize(1234567);
  const std::string banner = FormatBannerTime(LocalTimeOf(2001, 12, 3, 14, 7, 0));
  std::setlocale(LC_TIME, time.c_str());
  std::setlocale(LC_NUMERIC, numbers.c_str());
  EXPECT_TRUE(IsValidUtf8(size) && size.size() > 9) << size;  // a separator beyond ASCII
  EXPECT_NE(banner.find("d\xC3\xA9"
                        "c"),
            std::string::npos)
      << banner;
}
#endif

TEST_F(UnitReports, TheListingsTimeGoesIntoTheBannersAndLongTitlesAreCut) {
  const std::string root = "Root" + std::string(120, 'x') + ".dpr";
  Write(root, "program Root; uses A; begin end.");
  testing_units::Analyse(root);
  EXPECT_EQ(Lines(Report(UnitReportKind::Tree))[0], CenterText("RAVELIN REPORT", 100));
  const std::string listing = Report(UnitReportKind::List);
  EXPECT_EQ(Lines(listing)[3], ("Unit File Listing for " + root).substr(0, 100));
  SetReportClock([] { return LocalTimeOf(2001, 2, 3, 14, 7, 0); });
  const std::string stamped = CenterText("RAVELIN REPORT 2000 Aug 15 @ 09:05", 100);
  EXPECT_EQ(Lines(Report(UnitReportKind::Tree))[0], stamped);
  EXPECT_EQ(Lines(Table(root))[0], stamped);
  EXPECT_NE(Report(UnitReportKind::List).find("RAVELIN REPORT 2001 Feb 03 @ 14:07"),
            std::string::npos);
  UnitAnalysis() = {};
  EXPECT_EQ(UnitAnalysis().ReportBanner, "RAVELIN REPORT");
}

TEST_F(UnitReports, PathsComeBackByteForByteFromTheUnitFormats) {
  // Each name of the table is a folder holding the root, a unit beside it, and (when the name
  // fits in a Pascal string) a unit in a subfolder of that name, named with "in".
  for (const auto& row : testing::ReadTable("linecount/names.txt")) {
    const std::string name = row.fields[0];
    const bool inPath = name.find_first_of("'\r\n") == std::string::npos;
    Write(name + "/Root.dpr", "program Root; uses Unit1" +
                                  (inPath ? ", Unit2 in '" + name + "/Unit2.pas'" : "") +
                                  "; begin end.");
    Write(name + "/Unit1.pas", "unit Unit1; interface implementation end.");
    Write(name + "/" + name + "/Unit2.pas", "unit Unit2; interface implementation end.");
    testing::ScopedCurrentFolder here(testing::Utf8Path(Path(name)));
    UnitAnalysis() = {};
    testing_units::Analyse(Path(name + "/Root.dpr"));
    const UnitRecords records = MakeUnitRecords(UnitAnalysis());
    const JsonDocument json = JsonDocument::parse(RenderUnitJson(records));
    const auto list = testing::ReadCsv(RenderUnitListCsv(records));
    const auto uses = testing::ReadCsv(RenderUsesCsv(records));

    EXPECT_EQ(testing::NameOf(json.at("root")), Path(name + "/Root.dpr")) << row.where;
    const std::vector<std::string> files = {Path(name + "/Root.dpr"), Path(name + "/Unit1.pas"),
                                            Path(name + "/" + name + "/Unit2.pas")};
    ASSERT_EQ(json.at("units").size(), inPath ? 3u : 2u) << row.where;
    ASSERT_EQ(list.size(), json.at("units").size() + 1) << row.where;
    for (size_t i = 0; i < json.at("units").size(); ++i) {
      EXPECT_EQ(testing::NameOf(json.at("units")[i].at("file")), files[i]) << row.where;
      EXPECT_EQ(list[i + 1][1], files[i]) << row.where;
    }
    ASSERT_EQ(uses.size(), json.at("uses").size() + 1) << row.where;
    if (inPath) {
      EXPECT_EQ(testing::NameOf(json.at("uses")[1].at("in")), name + "/Unit2.pas") << row.where;
      EXPECT_EQ(uses[2], (std::vector<std::string>{"Root", "Unit2", "main"})) << row.where;
    }
  }
}

/// The dependency table of a hand-made unit tree, from its first row on.
class DependencyRows : public UnitReports {
 protected:
  TUnitNode* Node(TUnitNode* parent, const std::string& name, char direction = 'R') {
    return UnitAnalysis().UnitTree.AddNode(parent, std::make_unique<TUnitNode>(name, 1), direction);
  }
  std::vector<std::string> Rows() {
    auto lines = Lines(Table("Root"));
    return std::vector<std::string>(lines.begin() + 7, lines.end());
  }
};

TEST_F(DependencyRows, RowNumbersFrom10000WidenTheNumberField) {
  TUnitNode* root = Node(nullptr, "Root", 'L');
  for (int i = 10000; i < 20000; ++i) Node(root, "U" + std::to_string(i), 'L');
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 10001u);
  EXPECT_EQ(rows[9998], "9999  U19997      *base unit*");
  EXPECT_EQ(rows[9999], "10000  U19998      *base unit*");
}

TEST(DependencyTable, RowWithoutNodeIsAnInvertedTreeErrorAndAnEmptyUserADash) {
  ReportWriter f;
  std::string out;
  OpenReportText(f, out);
  DependencyTable table(f, "x");
  table.WriteTableRow(nullptr);
  TDpndNode node("Unit1");
  node.UsedBy = {"", "A"};
  table.WriteTableRow(&node);
  f.Close();
  EXPECT_EQ(out, " Inverted Tree Error \r\n   2  Unit1        ------ A         \r\n");
}

}  // namespace
}  // namespace ravelin
