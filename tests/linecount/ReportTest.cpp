// The line counter's reports: the cases of tests/data/linecount/reports.txt (runs over files on
// disk are command-line tests).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <sstream>

#include "DataTable.h"
#include "SameText.h"
#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "linecount/LCntEngn.h"
#include "linecount/LCntReports.h"

namespace ravelin {
namespace {

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

}  // namespace
}  // namespace ravelin
