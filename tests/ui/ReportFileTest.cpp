// Settling the report file and starting the viewer, without widgets.
#include <gtest/gtest.h>

#include "DialogTestUtil.h"
#include "FakeUiServices.h"
#include "common/Error.h"
#include "settings/LstGlobal.h"
#include "ui/logic/FileFilter.h"
#include "ui/logic/ReportFile.h"

namespace ravelin {
namespace {

using testing::FakeUiServices;
using testing::ReadBytes;
using testing::ScopedCurrentFolder;
using testing::TempFolder;

class ChooseReportFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScopedCurrentFolder cwd;
  FakeUiServices ui;
  ScopedUiServices installed{ui};
};

// The buttons themselves are driven through the real dialog in FrmExistsTest; here only what
// the dialog does not show: the file dialog New File opens, and a folder in the way.
TEST_F(ChooseReportFileTest, NewFileAsksForAFileWithTheReportFilter) {
  std::string name = folder.Write("Ravelin.TXT", "keep");
  std::string other = folder / "other.txt";
  ui.fileAnswers.push_back(std::vector<std::string>{other});
  auto newFile = [](const std::string&, bool) { return TFileExistsAnswer::NewFile; };
  EXPECT_TRUE(ChooseReportFile(false, name, newFile));
  EXPECT_EQ(name, other);
  EXPECT_EQ(ReadBytes(other), "");
  EXPECT_EQ(ReadBytes(folder / "Ravelin.TXT"), "keep");
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  const TOpenFileRequest& request = ui.fileRequests[0];
  EXPECT_EQ(request.title, "Select Report File");
  EXPECT_EQ(request.filter,
            "Text Files (*.txt)|*.txt|Report Files (*.rpt)|*.rpt|All Files (*.*)|*.*");
  EXPECT_EQ(request.filterIndex, 1);
  EXPECT_EQ(request.initialFile, folder / "Ravelin.TXT");
  EXPECT_FALSE(request.multiSelect);
  EXPECT_FALSE(request.mustExist);
}

TEST_F(ChooseReportFileTest, AFolderInTheWayIsAnError) {
  std::string name = folder.MakeFolder("Ravelin.TXT");
  EXPECT_THROW(ChooseReportFile(false, name,
                                [](const std::string&, bool) { return TFileExistsAnswer::Append; }),
               Error);
}

TEST(CutWordPadValue, KeepsTheThirdField) {
  struct Row {
    const char* value;
    const char* path;
  } rows[] = {
      {"Document,Document,/opt/wp/wordpad,picture", "/opt/wp/wordpad"},
      {"a,b,c", "c"},
      {"a,b,c,d,e", "c"},
      {"a,b", "b"},
      {"/opt/wp/wordpad", "/opt/wp/wordpad"},
      {"", ""},
      {",,,", ""},
      {"a,b,", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(CutWordPadValue(row.value), row.path) << row.value;
}

class ViewerTest : public ::testing::Test {
 protected:
  ~ViewerTest() override { ViewerChoice = savedChoice_, ViewerPath = savedPath_; }
  TempFolder folder;
  FakeUiServices ui;
  ScopedUiServices installed{ui};
  int savedChoice_ = ViewerChoice;
  std::string savedPath_ = ViewerPath;
};

TEST_F(ViewerTest, WordPadIsReadFromWinIniInTheWindowsFolder) {
  std::string program = folder.Write("prog/Write Pad", "");
  folder.Write("windows/WIN.INI", "[fonts]\r\nx=1\r\n[Embedding]\r\nWordPad.Document.1=Doc,Doc," +
                                      program + ",picture\r\n");
  EXPECT_EQ(WordPadFromWinIni(folder / "windows"), program);
  EXPECT_EQ(WordPadFromWinIni(folder / "nowhere"), "");
  EXPECT_EQ(WordPadFromWinIni(""), "");
  TViewerCommand command = BuildViewerCommand(0, "", folder / "windows", "/r/Ravelin.TXT");
  EXPECT_EQ(command.program, program);
  EXPECT_EQ(command.args, std::vector<std::string>{"/r/Ravelin.TXT"});
  EXPECT_EQ(command.commandLine, program + " /r/Ravelin.TXT");
}

TEST_F(ViewerTest, CommandLinesForEachViewer) {
  folder.Write("win/Win.ini", "[embedding]\nWordpad.Document.1=a,b,/no/such/wordpad,c\n");
  struct Row {
    const char* label;
    int choice;
    std::string viewerPath;
    std::string windowsDir;
    std::string program;
    std::string commandLine;
  } rows[] = {
      {"WordPad without a Windows folder", 0, "", "", "xdg-open", "xdg-open  /r/a b.TXT"},
      {"WordPad registered but missing", 0, "", folder / "win", "xdg-open", "xdg-open  /r/a b.TXT"},
      {"NotePad", 1, "/usr/bin/ed", "", "xdg-open", "xdg-open  /r/a b.TXT"},
      {"Other", 2, "my viewer", "", "my viewer", "my viewer  /r/a b.TXT"},
      {"Other without a program", 2, "", "", "", "  /r/a b.TXT"},
      {"unknown choice", 5, "x", "", "", " /r/a b.TXT"},
  };
  for (const Row& row : rows) {
    TViewerCommand command =
        BuildViewerCommand(row.choice, row.viewerPath, row.windowsDir, "/r/a b.TXT");
    EXPECT_EQ(command.program, row.program) << row.label;
    EXPECT_EQ(command.commandLine, row.commandLine) << row.label;
    if (!row.program.empty()) {
      EXPECT_EQ(command.args, std::vector<std::string>{"/r/a b.TXT"}) << row.label;
    }
  }
}

TEST_F(ViewerTest, OtherViewerPathIsFoundIgnoringCase) {
  std::string program = folder.Write("bin/Viewer", "");
  TViewerCommand command = BuildViewerCommand(2, folder / "BIN/viewer", "", "/r/x");
  EXPECT_EQ(command.program, program);
  EXPECT_EQ(command.commandLine, folder / "BIN/viewer" + "  /r/x");
}

TEST_F(ViewerTest, ShowReportStartsTheViewerWithTheFileAsOneArgument) {
  ViewerChoice = 2;
  ViewerPath = "/opt/view it";
  ShowReport("/r/it's $HOME.TXT");
  ASSERT_EQ(ui.started.size(), 1u);
  EXPECT_EQ(ui.started[0].program, "/opt/view it");
  EXPECT_EQ(ui.started[0].args, std::vector<std::string>{"/r/it's $HOME.TXT"});
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(ViewerTest, ShowReportReportsAViewerThatDoesNotStart) {
  struct Row {
    int choice;
    const char* viewerPath;
    const char* message;
  } rows[] = {
      {1, "", "Failed to execute xdg-open  /r/Ravelin.TXT"},
      {2, "", "Failed to execute   /r/Ravelin.TXT"},
      {2, "/no/viewer", "Failed to execute /no/viewer  /r/Ravelin.TXT"},
  };
  for (const Row& row : rows) {
    FakeUiServices failing;
    failing.startSucceeds = false;
    ScopedUiServices use(failing);
    ViewerChoice = row.choice;
    ViewerPath = row.viewerPath;
    ShowReport("/r/Ravelin.TXT");
    EXPECT_EQ(failing.errors, std::vector<std::string>{row.message}) << row.message;
  }
}

TEST(FileFilter, PairsAreSplitAndShownWithTheirRealPatterns) {
  TFileFilter filter = ParseFileFilter(
      "Projects (*.dpr)|*.dpr|All Source Files (*.dpr; *.pas; *.in?)|*.dpr;*.pas;*.in*|All "
      "Files|*.*");
  ASSERT_EQ(filter.size(), 3u);
  EXPECT_EQ(filter[1].patterns, (std::vector<std::string>{"*.dpr", "*.pas", "*.in*"}));
  struct Row {
    size_t index;
    const char* shown;
  } rows[] = {
      {0, "Projects (*.dpr)"},
      {1, "All Source Files (*.dpr *.pas *.in*)"},
      {2, "All Files (*)"},
  };
  for (const Row& row : rows) EXPECT_EQ(DisplayedFilter(filter[row.index]), row.shown) << row.shown;
  EXPECT_TRUE(ParseFileFilter("").empty());
  TFileFilter lone = ParseFileFilter("Anything");
  ASSERT_EQ(lone.size(), 1u);
  EXPECT_EQ(DisplayedFilter(lone[0]), "Anything (*)");
}

}  // namespace
}  // namespace ravelin
