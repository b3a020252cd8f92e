// The line counter's reports: the cases of tests/data/linecount/reports.txt (runs over files on
// disk are command-line tests).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <sstream>

#include "DataTable.h"
#include "MachineFormatReaders.h"
#include "SameText.h"
#include "TestFolder.h"
#include "common/Error.h"
#include "common/MachineFormats.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "linecount/CountCsv.h"
#include "linecount/CountJson.h"
#include "linecount/LCntEngn.h"
#include "linecount/LCntReports.h"

namespace ravelin {
namespace {

using testing::NameOf;
using testing::ReadCsv;
using testing::TempFolder;
using testing::WriteBytes;

/// An engine whose inputs have the forms a table gives them.
class TableEngine : public TLcntEngine {
 public:
  std::map<std::string, TFormCounts> forms;
  bool CountForm(const std::string& fileName, TFormCounts& counts) override {
    auto it = forms.find(fileName);
    if (it == forms.end()) return false;
    counts = it->second;
    return true;
  }
};

std::string Joined(std::vector<std::string>::const_iterator from,
                   std::vector<std::string>::const_iterator to) {
  std::string text;
  for (; from != to; ++from) text += *from + "\n";
  return text;
}

TEST(LineCountReport, CasesGiveTheirReports) {
  const auto blocks = testing::ReadBlocks("linecount/reports.txt");
  EXPECT_GE(blocks.size(), 10u);
  for (const auto& block : blocks) {
    const std::string start = block.Part("start path");
    std::string lastReportPath = start.empty() ? "A:\\" : start.substr(0, start.size() - 1);
    TableEngine engine;
    engine.SetFileSpec(block.Part("spec").substr(0, block.Part("spec").size() - 1));
    const bool detailed = std::any_of(block.parts.begin(), block.parts.end(),
                                      [](const auto& part) { return part.first == "detailed"; });
    engine.BeginRecord();
    std::istringstream files(block.Part("files"));
    for (std::string line; std::getline(files, line);) {
      std::istringstream row(line);
      std::string name, bar;
      TLineCounts c;
      TFormCounts form;
      row >> name >> c.Total >> c.Blank >> c.Comment >> c.Source >> c.Commented;
      if (row >> bar >> form.Objects >> form.Size >> form.Lines) engine.forms[name] = form;
      engine.AddFile(name, true, c);
    }
    const auto lines = RenderLineCountText(engine.Record, detailed, lastReportPath);
    ASSERT_GE(lines.size(), 8u) << block.where;
    EXPECT_TRUE(testing::SameBytes(block.Part("report"), Joined(lines.begin() + 8, lines.end())))
        << block.where << " " << block.name;
    EXPECT_EQ(lastReportPath + "\n", block.Part("end path")) << block.where;
  }
  LineCountRecord none;
  std::string path;
  const auto banner = RenderLineCountText(none, true, path);
  EXPECT_EQ(Joined(banner.begin(), banner.begin() + 2),
            "Tallion (Win32 v:0.9)     (c) The Ravelin developers\n"
            "  Count the number of blank lines, comment lines, source lines\n");
}

TEST(LineCountEngine, APatternTakesItsFoldersMatchingEntriesInListingOrderWithAnyJobs) {
  testing::TempFolder folder("ravelin-pattern-XXXXXX");
  for (const char* name : {"b.pas", "A.pas", "c.txt", "d.PAS"}) folder.Write(name, "x;\n\n");
  folder.MakeFolder("sub.pas");  // an entry that matches but holds no text: not found
  for (unsigned jobs : {1u, 2u}) {
    TLcntEngine engine;
    engine.FormScratch = false;
    engine.Jobs = jobs;
    engine.SetFileSpec(folder.Path() + "/*.pas");
    engine.Count();
    std::string rows;
    for (const CountedFile& file : engine.Record.files)
      rows += NamePart(file.name) + (file.found ? " " + IntToText(file.counts.Total) : " -") + ";";
    EXPECT_EQ(rows, "A.pas 2;b.pas 2;d.PAS 2;sub.pas -;") << jobs;
  }
}

TEST(LineCountFormats, NamesComeBackByteForByteFromEveryFormat) {
  testing::TempFolder folder("ravelin-names-XXXXXX");
  testing::ScopedCurrentFolder here(folder.Path());
  const auto rows = testing::ReadTable("linecount/names.txt");
  TLcntEngine engine;
  engine.Names.emplace();
  for (const auto& row : rows) {
    folder.Write(row.fields[0], "x;\n");
    engine.Names->push_back(row.fields[0]);
  }
  engine.Names->push_back("missing\xFF.pas");
  engine.Count();

  const JsonDocument json = JsonDocument::parse(RenderCountJson(engine.Record));
  const auto csv = ReadCsv(RenderCountCsv(engine.Record));
  std::string path;
  std::string text;
  for (const auto& line : RenderLineCountText(engine.Record, true, path)) text += line + "\n";
  ASSERT_EQ(json.at("files").size(), rows.size() + 1);
  ASSERT_EQ(csv.size(), rows.size() + 2);
  EXPECT_EQ(csv[0], (std::vector<std::string>{"name", "found", "blank", "comment", "source",
                                              "commented", "total"}));
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    const JsonDocument& file = json.at("files")[i];
    EXPECT_EQ(file.at("name").dump(), row.fields[1]) << row.where;
    EXPECT_EQ(NameOf(file.at("name")), row.fields[0]) << row.where;
    EXPECT_EQ(file.at("source"), 1) << row.where;
    EXPECT_EQ(RenderCountCsv(engine.Record).find("\n" + row.fields[2] + ",true,0,0,1,0,1\n") !=
                  std::string::npos,
              true)
        << row.where;
    EXPECT_EQ(csv[i + 1][0], row.fields[0]) << row.where;
    const std::string shown = row.fields[0].size() > 14
                                  ? "\n" + row.fields[0] + "\n"
                                  : PadLeftWith(row.fields[0], ' ', 14) + "        0   0";
    EXPECT_NE(text.find(shown), std::string::npos) << row.where;
  }
  EXPECT_EQ(json.at("files").back().at("found"), false);
  EXPECT_EQ(csv.back(),
            (std::vector<std::string>{"missing\xFF.pas", "false", "0", "0", "0", "0", "0"}));
  EXPECT_NE(text.find("File \"missing\xFF.pas\" not found."), std::string::npos);
  EXPECT_EQ(json.at("totals").at("files"), rows.size() + 1);
}

}  // namespace
}  // namespace ravelin
