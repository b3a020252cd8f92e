// The line counter's runs: the report cases of tests/data/linecount/reports.txt, and runs over
// files on disk (list files, patterns, inputs that cannot be read, the errors that end a run).
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
    LastReportPath = start.empty() ? "A:\\" : start.substr(0, start.size() - 1);
    TableEngine engine;
    engine.SetFileSpec(block.Part("spec").substr(0, block.Part("spec").size() - 1));
    engine.Detailed = std::any_of(block.parts.begin(), block.parts.end(),
                                  [](const auto& part) { return part.first == "detailed"; });
    engine.BeginReport();
    std::istringstream files(block.Part("files"));
    for (std::string line; std::getline(files, line);) {
      std::istringstream row(line);
      std::string name, bar;
      TLineCounts c;
      TFormCounts form;
      row >> name >> c.Total >> c.Blank >> c.Comment >> c.Source >> c.Commented;
      if (row >> bar >> form.Objects >> form.Size >> form.Lines) engine.forms[name] = form;
      engine.AddFileToReport(name, c);
    }
    engine.EndReport();
    ASSERT_GE(engine.Lines.size(), 8u) << block.where;
    EXPECT_TRUE(testing::SameBytes(block.Part("report"),
                                   Joined(engine.Lines.begin() + 8, engine.Lines.end())))
        << block.where << " " << block.name;
    EXPECT_EQ(LastReportPath + "\n", block.Part("end path")) << block.where;
  }
  TLcntEngine banner;
  banner.WriteBanner();
  EXPECT_EQ(Joined(banner.Lines.begin(), banner.Lines.begin() + 2),
            "Tallion (Win32 v:0.9)     (c) The Ravelin developers\n"
            "  Count the number of blank lines, comment lines, source lines\n");
}

class Engine : public ::testing::Test {
 protected:
  void SetUp() override { LastReportPath = "A:\\"; }
  /// A detailed (or summary) run over a list file holding text; the report as one text.
  std::string RunList(const std::string& listText, bool detailed = true) {
    WriteBytes(dir / "Tallion.Files", listText);
    engine.SetFileSpec(dir / "Tallion.Files");
    engine.UseListFile = true;
    engine.Detailed = detailed;
    EXPECT_TRUE(engine.Execute());
    return Joined(engine.Lines.begin(), engine.Lines.end());
  }
  /// The message of the error that ends a run over spec ("" when it goes through).
  std::string ErrorOf(const std::string& spec, bool listFile) {
    engine.SetFileSpec(spec);
    engine.UseListFile = listFile;
    try {
      engine.Execute();
    } catch (const Error& e) {
      return e.what();
    }
    return "";
  }
  TempFolder dir;
  TLcntEngine engine;
};

TEST_F(Engine, ListFileLinesAreTrimmedEmptyOnesSkippedAndCtrlZEndsThem) {
  WriteBytes(dir / "A.pas", "a;\r\n");
  WriteBytes(dir / "sub/b.pas", "b;\r\n// c\r\n");
  WriteBytes(dir / "\xC3\x84rger.pas", "{ never closed\r\n");
  testing::ScopedCurrentFolder here(dir.Path());
  // Names keep their spelling, blanks and control characters around them go, bytes from 128
  // on stay; an input that cannot be read is named and counted as empty.
  const std::string report = RunList("\r\n  SUB\\B.pas \t\n\r\n   \r\t" + (dir / "A.pas") +
                                     "\n\x7F\xC3\x84rger.pas\r\nA.pas\r\nMissing.pas\r\n" +
                                     dir.Path() + "\r\n\x1A" + "A.pas\r\n");
  const std::string expected =
      "PATH: SUB\\\n"
      "         B.pas        0   0        1  50        1  50        0   0   0        2\n"
      "PATH: " +
      dir.Path() +
      "/\n"
      "         A.pas        0   0        0   0        1 100        0   0   0        1\n"
      "PATH: \n"
      "    \xC3\x84rger.pas        0   0        1 100        0   0        0   0 ---        1\n"
      "         A.pas        0   0        0   0        1 100        0   0   0        1\n"
      "File \"Missing.pas\" not found.\n"
      "   Missing.pas        0 ---        0 ---        0 ---        0 --- ---        0\n"
      "File \"" +
      dir.Path() +
      "\" not found.\n"
      "PATH: " +
      FolderPart(dir.Path()) + "\n";
  EXPECT_NE(report.find(expected), std::string::npos) << report;
  EXPECT_NE(report.find("\n 6 files processed.\n"), std::string::npos);
  EXPECT_EQ(engine.Totals, (TLineCounts{5, 0, 3, 0, 2}));
  // A summary run puts the lines between the banner and the summary.
  EXPECT_NE(RunList("Missing.pas\r\nA.pas", false)
                .find("\nFile \"Missing.pas\" not found.\n\nLine Count Summary Report for: \n"),
            std::string::npos);
}

TEST_F(Engine, PatternRunsTakeMatchesInNameOrderIgnoringCase) {
  for (const char* name : {"b.pas", "A.PAS", "c.txt", "a.pas", "Unit1.pas", "Unit22.pas"})
    WriteBytes(dir / name, "a;");
  std::filesystem::create_directory(dir / "Sub.pas");
  ASSERT_EQ(::mkfifo((dir / "Pipe.pas").c_str(), 0600), 0);  // read as empty, never waited for
  const struct {
    const char* pattern;
    std::vector<std::string> rows;
  } rows[] = {
      {"*.pas", {"A.PAS", "a.pas", "b.pas", "Pipe.pas", "Sub.pas", "Unit1.pas", "Unit22.pas"}},
      {"unit?.PAS", {"Unit1.pas"}},
      {"Unit22.dfm", {"Unit22.pas"}},  // a form file stands for its unit
      {"nothing*.pas", {}},
  };
  for (const auto& row : rows) {
    engine.Detailed = true;
    EXPECT_EQ(ErrorOf(dir / row.pattern, false), "") << row.pattern;
    const std::string report = Joined(engine.Lines.begin(), engine.Lines.end());
    size_t at = 0;
    for (const std::string& name : row.rows) {
      at = report.find("\n" + PadLeftWith(name, ' ', 14) + " ", at);
      EXPECT_NE(at, std::string::npos) << row.pattern << ": " << name << "\n" << report;
    }
    EXPECT_EQ(engine.FileCount, row.rows.size()) << row.pattern;
  }
  EXPECT_EQ(ErrorOf(dir / "*.pas", false), "");
  EXPECT_NE(Joined(engine.Lines.begin(), engine.Lines.end())
                .find("File \"" + (dir / "Sub.pas") + "\" not found."),
            std::string::npos);
}

TEST_F(Engine, ErrorsEndTheRunNamingTheFile) {
  WriteBytes(dir / "Huge.pas", std::string(10 * 1024 * 1024, 'x'));  // no line end
  WriteBytes(dir / "Huge.Files", dir / "Huge.pas");
  std::string many;
  for (int i = 0; i < 65536; ++i) many += "m\r\n";
  WriteBytes(dir / "Many.Files", many);
  testing::ScopedCurrentFolder here(dir.Path());
  EXPECT_EQ(ErrorOf(dir / "Missing.Files", true),
            "Cannot open the list file \"" + (dir / "Missing.Files") + "\": no such readable file");
  EXPECT_EQ(ErrorOf(dir / "Huge.Files", true),
            "Integer overflow in \"" + (dir / "Huge.pas") +
                "\": line 1 holds 65,535 or more visible characters");
  EXPECT_EQ(ErrorOf(dir / "Many.Files", true).rfind("Integer overflow", 0), 0u);
  EXPECT_EQ(engine.FileCount, 65535);
}

}  // namespace
}  // namespace ravelin
