// Runs of the line counter on real files: list files, wildcard patterns, missing inputs and
// the errors that end a run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "TestFolder.h"
#include "common/Error.h"
#include "linecount/LCntEngn.h"

namespace ravelin {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

/// The names of the rows of a detailed report, in order ("TOTAL" excluded).
std::vector<std::string> RowNames(const TLcntEngine& engine) {
  std::vector<std::string> names;
  const auto& lines = engine.Lines;
  const std::string nameColumn(14, ' ');
  for (size_t i = 12; i < lines.size() && lines[i].rfind("-----", 0) != 0; ++i) {
    const std::string& line = lines[i];
    if (line.rfind("PATH: ", 0) == 0 || line.rfind("File \"", 0) == 0) continue;
    if (line.rfind(nameColumn, 0) == 0) continue;  // the row of a long name
    if (i + 1 < lines.size() && lines[i + 1].rfind(nameColumn, 0) == 0) {
      names.push_back(line);  // a long name on a line of its own
      continue;
    }
    std::string name = line.substr(0, 14);
    name.erase(0, name.find_first_not_of(' '));
    names.push_back(name);
  }
  return names;
}

/// The message of the error of type E that ends the engine's run ("" when the run succeeds).
template <class E>
std::string RunError(TLcntEngine& engine) {
  try {
    engine.Execute();
  } catch (const E& e) {
    return e.what();
  }
  return "";
}

class Engine : public ::testing::Test {
 protected:
  void SetUp() override { LastReportPath = "A:\\"; }
  TempFolder dir;

  /// Runs a detailed (or summary) count over a list file holding text.
  TLcntEngine& RunList(const std::string& listText, bool detailed = true) {
    WriteBytes(dir / "Tallion.Files", listText);
    engine_.SetFileSpec(dir / "Tallion.Files");
    engine_.UseListFile = true;
    engine_.Detailed = detailed;
    EXPECT_TRUE(engine_.Execute());
    return engine_;
  }
  TLcntEngine engine_;
};

TEST_F(Engine, ListFileSkipsEmptyLinesTrimsNamesAndStopsAtCtrlZ) {
  WriteBytes(dir / "A.pas", "a;\r\n");
  WriteBytes(dir / "B.pas", "b;\r\n// c\r\n");
  WriteBytes(dir / "C.pas", "c;");
  // Every line end counts; Ctrl-Z ends the list.
  auto& engine = RunList("\r\n  " + (dir / "B.pas") + " \t\n\r\n   \r\t" + (dir / "A.pas") + "\n" +
                         (dir / "B.pas") + "\x1a" + (dir / "C.pas") + "\r\n");
  EXPECT_EQ(RowNames(engine), (std::vector<std::string>{"B.pas", "A.pas", "B.pas"}));
  EXPECT_EQ(engine.FileCount, 3);
  EXPECT_EQ(engine.Totals, (TLineCounts{5, 0, 3, 0, 2}));
}

// Regression: trimming every byte above 126 from list lines cut the first letter off UTF-8
// names such as "Ärger.pas", which were then reported as not found.
TEST_F(Engine, ListFileKeepsNonAsciiLettersAtTheEndsOfNames) {
  WriteBytes(dir / "\xC3\x84rger.pas", "a;\r\n");
  WriteBytes(dir / "Caf\xC3\xA9", "b;\r\n");
  testing::ScopedCurrentFolder here(dir.Path());
  auto& engine = RunList(" \xC3\x84rger.pas\x7F\r\nCaf\xC3\xA9\t\r\n");
  EXPECT_EQ(engine.FileCount, 2);
  EXPECT_EQ(engine.Totals.Source, 2);
  EXPECT_EQ(std::count_if(engine.Lines.begin(), engine.Lines.end(),
                          [](const std::string& l) { return l.find("not found") != l.npos; }),
            0);
}

TEST_F(Engine, MissingListFileEndsTheRunWithAnErrorNamingIt) {
  TLcntEngine engine;
  engine.SetFileSpec(dir / "Missing.Files");
  engine.UseListFile = true;
  EXPECT_NE(RunError<IoError>(engine).find("Missing.Files"), std::string::npos);
}

TEST_F(Engine, UnreadableInputsAreReportedAsNotFoundAndCountedAsEmpty) {
  WriteBytes(dir / "A.pas", "a;\r\n");
  std::filesystem::create_directory(dir / "Folder.pas");
  const std::string missing = dir / "Missing.pas";
  auto& engine = RunList(missing + "\r\n" + (dir / "Folder.pas") + "\r\n" + (dir / "A.pas"));
  const auto& lines = engine.Lines;
  auto at = [&](const std::string& text) {
    return std::find(lines.begin(), lines.end(), text) - lines.begin();
  };
  const auto notFound = at("File \"" + missing + "\" not found.");
  ASSERT_LT(notFound, static_cast<long>(lines.size()));
  // The message stands before the file's "PATH: " line and its row of zeros.
  EXPECT_EQ(lines[notFound + 1], "PATH: " + dir.Path() + "/");
  EXPECT_EQ(lines[notFound + 2],
            "   Missing.pas        0 ---        0 ---        0 ---        0 --- ---        0");
  EXPECT_EQ(lines[notFound + 3], "File \"" + (dir / "Folder.pas") + "\" not found.");
  EXPECT_EQ(engine.FileCount, 3);
  EXPECT_EQ(engine.Totals.Total, 1);
}

TEST_F(Engine, SummaryRunPutsNotFoundLinesBetweenBannerAndSummary) {
  const std::string missing = dir / "Missing.pas";
  auto& engine = RunList(missing, /*detailed=*/false);
  ASSERT_GT(engine.Lines.size(), 10u);
  EXPECT_EQ(engine.Lines[8], "File \"" + missing + "\" not found.");
  EXPECT_EQ(engine.Lines[9], "");
  EXPECT_EQ(engine.Lines[10], "Line Count Summary Report for: ");
}

TEST_F(Engine, NamesResolveIgnoringCaseAndBackslashesButKeepTheirSpelling) {
  WriteBytes(dir / "sub/unit1.pas", "x;\r\n");
  auto& engine = RunList(dir.Path() + "/SUB\\Unit1.PAS");
  EXPECT_EQ(engine.Totals.Source, 1);
  EXPECT_NE(std::find(engine.Lines.begin(), engine.Lines.end(), "PATH: " + dir.Path() + "/SUB\\"),
            engine.Lines.end());
  EXPECT_EQ(RowNames(engine), (std::vector<std::string>{"Unit1.PAS"}));
}

TEST_F(Engine, OpenCommentDoesNotCarryIntoTheNextFile) {
  WriteBytes(dir / "A.pas", "{ never closed\r\n");
  WriteBytes(dir / "B.pas", "x;\r\n");
  auto& engine = RunList((dir / "A.pas") + "\r\n" + (dir / "B.pas"));
  EXPECT_EQ(engine.Totals, (TLineCounts{2, 0, 1, 0, 1}));
}

TEST_F(Engine, WildcardRunGoesOnPastAPipeAmongTheMatches) {
  // A named pipe that nobody writes to must not stop the run: it reads as an empty file.
  WriteBytes(dir / "A.pas", "a;");
  ASSERT_EQ(::mkfifo((dir / "Pipe.pas").c_str(), 0600), 0);
  TLcntEngine engine;
  engine.SetFileSpec(dir / "*.pas");
  engine.Detailed = true;
  ASSERT_TRUE(engine.Execute());
  EXPECT_EQ(RowNames(engine), (std::vector<std::string>{"A.pas", "Pipe.pas"}));
  EXPECT_EQ(engine.Totals.Total, 1);
}

TEST_F(Engine, WildcardListsMatchesInNameOrderIgnoringCase) {
  for (const char* name :
       {"b.pas", "A.PAS", "c.txt", "a.pas", "Unit1.pas", "Unit22.pas", "Unit3.pas"})
    WriteBytes(dir / name, "a;");
  std::filesystem::create_directory(dir / "Sub.pas");
  struct Row {
    const char* pattern;
    std::vector<std::string> rows;
  } rows[] = {
      // Sorted by the names in capitals, ties in byte order; a matching folder is not found.
      {"*.pas", {"A.PAS", "a.pas", "b.pas", "Sub.pas", "Unit1.pas", "Unit22.pas", "Unit3.pas"}},
      {"unit?.PAS", {"Unit1.pas", "Unit3.pas"}},
      {"Unit22.dfm", {"Unit22.pas"}},  // a form file stands for its unit
      {"nothing*.pas", {}},
  };
  for (const auto& row : rows) {
    TLcntEngine engine;
    engine.SetFileSpec(dir / row.pattern);
    engine.Detailed = true;
    ASSERT_TRUE(engine.Execute()) << row.pattern;
    EXPECT_EQ(RowNames(engine), row.rows) << row.pattern;
    EXPECT_EQ(engine.FileCount, static_cast<int>(row.rows.size())) << row.pattern;
  }
  const std::string notFound = "File \"" + (dir / "Sub.pas") + "\" not found.";
  TLcntEngine engine;
  engine.SetFileSpec(dir / "*.pas");
  ASSERT_TRUE(engine.Execute());
  EXPECT_NE(std::find(engine.Lines.begin(), engine.Lines.end(), notFound), engine.Lines.end());
}

TEST_F(Engine, LineOf65535CharactersEndsTheRunNamingTheFile) {
  WriteBytes(dir / "Huge.pas", std::string(10 * 1024 * 1024, 'x'));  // 10 MB, no line end
  WriteBytes(dir / "Tallion.Files", dir / "Huge.pas");
  TLcntEngine engine;
  engine.SetFileSpec(dir / "Tallion.Files");
  engine.UseListFile = true;
  const std::string message = RunError<OverflowError>(engine);
  EXPECT_NE(message.find("\"" + (dir / "Huge.pas") + "\""), std::string::npos) << message;
  EXPECT_EQ(message.rfind("Integer overflow", 0), 0u) << message;
}

TEST_F(Engine, MoreThan65535FilesEndTheRunWithAnOverflow) {
  // The same missing name 65,536 times: each is processed (and not found).
  std::string list;
  for (int i = 0; i < 65536; ++i) list += "m\r\n";
  WriteBytes(dir / "Tallion.Files", list);
  TLcntEngine engine;
  engine.SetFileSpec(dir / "Tallion.Files");
  engine.UseListFile = true;
  testing::ScopedCurrentFolder here(dir.Path());
  EXPECT_THROW(engine.Execute(), OverflowError);
  EXPECT_EQ(engine.FileCount, 65535);
}

}  // namespace
}  // namespace ravelin
