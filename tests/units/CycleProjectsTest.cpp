// The cycle groups of small projects analysed on disk (tests/data/units/cycles.txt), and the
// names the graph formats draw.
#include <gtest/gtest.h>

#include "DataTable.h"
#include "UnitTestFiles.h"
#include "units/CyclesText.h"
#include "units/GraphExport.h"
#include "units/UnitRecords.h"
#include "units/UsesGraphRecords.h"

namespace ravelin {
namespace {

class CycleProjects : public testing_units::ProjectTest {};

std::string ChainText(const UsesGraph& graph, const UsesChain& chain) {
  std::string text = graph.UnitName(graph.Use(chain.at(0)).from);
  for (std::uint32_t edge : chain)
    text += std::string(" -") + SectionName(graph.Use(edge).section) + "-> " +
            graph.UnitName(graph.Use(edge).to);
  return text;
}

/// The groups as the data file writes them.
std::string CyclesText(const UsesGraphRecords& records) {
  const UsesGraph& graph = records.graph;
  std::string text;
  for (const CycleGroup& group : records.cycles.groups) {
    text += "group";
    for (std::uint32_t unit : group.units) text += " " + graph.UnitName(unit);
    text += "\nchain " + ChainText(graph, group.chain) + "\n";
    if (group.interfaceOnly) text += "interface " + ChainText(graph, group.interfaceChain) + "\n";
    const BreakHint& hint = group.breakHint;
    text += std::string("hint ") + (hint.exact ? "exact " : "approx ") +
            std::to_string(hint.cycles) + ":";
    for (const UnitUse& use : hint.uses)
      text += " " + graph.UnitName(use.from) + "->" + graph.UnitName(use.to);
    text += " on " + std::to_string(hint.broken) + "\n";
  }
  return text;
}

TEST_F(CycleProjects, ProjectsGiveTheirCycleGroups) {
  for (const auto& block : testing::ReadBlocks("units/cycles.txt")) {
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
      std::filesystem::remove_all(entry.path());
    Fs().ClearCache();
    UnitAnalysis() = {};
    std::string root;
    for (const auto& [key, text] : block.parts) {
      if (key.rfind("file ", 0) != 0) continue;
      Write(key.substr(5), text);
      if (root.empty()) root = Path(key.substr(5));
    }
    testing_units::Analyse(root);
    const UsesGraphRecords records = MakeUsesGraphRecords(MakeUnitRecords(UnitAnalysis()));
    EXPECT_EQ(CyclesText(records), block.Part("cycles")) << block.where;
  }
}

TEST_F(CycleProjects, TheTextReportSaysWhenTheHintIsApproximate) {
  Write("A.pas", "unit A; interface uses B; implementation uses B; end.");
  Write("B.pas", "unit B; interface implementation uses A; end.");
  testing_units::Analyse(Path("A.pas"));
  std::string text;
  ReportWriter f;
  OpenReportText(f, text);
  RenderCyclesText(MakeUsesGraphRecords(MakeUnitRecords(UnitAnalysis()), {0, 0, 1}), "BANNER",
                   "A.pas", f);
  f.Close();
  EXPECT_NE(
      text.find("\r\n  Break hint: the uses on the most of 1 shortest cycle through sampled units "
                "(approximate):\r\n         A                    -> B                     "
                "interface, implementation (on 1 of 1)\r\n"),
      std::string::npos)
      << text;
}

TEST(GraphNames, AreReadableUtf8AndQuotedInDot) {
  const struct {
    std::string in, out;
  } rows[] = {
      {"Unit\xC3\x84", "Unit\xC3\x84"},          // valid UTF-8 stays
      {"A\xC4", "A\xEF\xBF\xBD"},                // a cut sequence
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // an overlong form, byte by byte
      {"a\tb\x7F",
       "a\xEF\xBF\xBD"
       "b\xEF\xBF\xBD"},                                           // control characters
      {"\xED\xA0\x80x", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx"},  // a surrogate
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                    // four bytes
      {"=\xE2\x82\xAC", "=\xE2\x82\xAC"},                          // three bytes, at the end
  };
  for (const auto& row : rows) EXPECT_EQ(ReadableUtf8(row.in), row.out) << testing::Escaped(row.in);

  // DOT strings escape quotes and backslashes, nothing else.
  UnitRecords records;
  records.units.push_back({"Q\"u\\x", "/home/me/a'b/Q.pas", true, 7, 0});
  EXPECT_NE(RenderGraphDot(MakeUsesGraphRecords(records), false)
                .find(R"(u1 [label="Q\"u\\x", file="/home/me/a'b/Q.pas", size=7,)"),
            std::string::npos);
}

}  // namespace
}  // namespace ravelin
