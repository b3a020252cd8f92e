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

// Answers the warning dialog from a list and records what it was asked.
struct ScriptedAsk {
  std::vector<TFileExistsAnswer> answers;
  std::vector<std::string> askedNames;
  std::vector<bool> appendDefaults;

  TAskFileExists Fn() {
    return [this](const std::string& name, bool appendDefault) {
      askedNames.push_back(name);
      appendDefaults.push_back(appendDefault);
      if (answers.empty()) return TFileExistsAnswer::Cancel;
      TFileExistsAnswer answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    };
  }
};

class ChooseReportFileTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScopedCurrentFolder cwd;
  FakeUiServices ui;
  ScopedUiServices installed{ui};
};

TEST_F(ChooseReportFileTest, MissingFileIsCreatedEmptyWithoutQuestion) {
  std::string name = folder / "Ravelin.TXT";
  ScriptedAsk ask;
  EXPECT_TRUE(ChooseReportFile(false, name, ask.Fn()));
  EXPECT_TRUE(ask.askedNames.empty());
  EXPECT_EQ(name, folder / "Ravelin.TXT");
  EXPECT_TRUE(std::filesystem::exists(name));
  EXPECT_EQ(ReadBytes(name), "");
}

TEST_F(ChooseReportFileTest, AnswersActOnTheExistingFile) {
  struct Row {
    const char* label;
    TFileExistsAnswer answer;
    bool goesOn;
    const char* contentAfter;
  } rows[] = {
      {"Append keeps the text", TFileExistsAnswer::Append, true, "old report\r\n"},
      {"Overwrite empties the file", TFileExistsAnswer::Overwrite, true, ""},
      {"Cancel stops and keeps the text", TFileExistsAnswer::Cancel, false, "old report\r\n"},
  };
  for (const Row& row : rows) {
    std::string name = folder.Write("Ravelin.TXT", "old report\r\n");
    ScriptedAsk ask;
    ask.answers = {row.answer};
    EXPECT_EQ(ChooseReportFile(false, name, ask.Fn()), row.goesOn) << row.label;
    EXPECT_EQ(ReadBytes(name), row.contentAfter) << row.label;
    ASSERT_EQ(ask.askedNames.size(), 1u) << row.label;
    EXPECT_EQ(ask.askedNames[0], name) << row.label;
  }
}

TEST_F(ChooseReportFileTest, ReuseCheckedMakesAppendTheDefault) {
  std::string name = folder.Write("Ravelin.TXT", "x");
  for (bool reuse : {true, false}) {
    ScriptedAsk ask;
    ask.answers = {TFileExistsAnswer::Append};
    ChooseReportFile(reuse, name, ask.Fn());
    ASSERT_EQ(ask.appendDefaults.size(), 1u);
    EXPECT_EQ(ask.appendDefaults[0], reuse) << "reuse " << reuse;
  }
}

TEST_F(ChooseReportFileTest, NewFileAsksForAFileWithTheReportFilter) {
  std::string name = folder.Write("Ravelin.TXT", "keep");
  std::string other = folder / "other.txt";
  ui.fileAnswers.push_back(std::vector<std::string>{other});
  ScriptedAsk ask;
  ask.answers = {TFileExistsAnswer::NewFile};
  EXPECT_TRUE(ChooseReportFile(false, name, ask.Fn()));
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
  // A confirmed file dialog leaves its folder as the current folder.
  EXPECT_EQ(std::filesystem::current_path().string(), folder.Path());
}

TEST_F(ChooseReportFileTest, NewFileNamingAnotherExistingFileAsksAgainAboutIt) {
  std::string name = folder.Write("Ravelin.TXT", "first");
  std::string other = folder.Write("other.rpt", "second");
  ui.fileAnswers.push_back(std::vector<std::string>{other});
  ScriptedAsk ask;
  ask.answers = {TFileExistsAnswer::NewFile, TFileExistsAnswer::Overwrite};
  EXPECT_TRUE(ChooseReportFile(true, name, ask.Fn()));
  EXPECT_EQ(name, other);
  ASSERT_EQ(ask.askedNames.size(), 2u);
  EXPECT_EQ(ask.askedNames[1], other);
  EXPECT_EQ(ReadBytes(other), "");
  EXPECT_EQ(ReadBytes(folder / "Ravelin.TXT"), "first");
}

TEST_F(ChooseReportFileTest, NewFileWithTheFileDialogCancelledStops) {
  std::string name = folder.Write("Ravelin.TXT", "keep");
  ui.fileAnswers.push_back(std::nullopt);
  ScriptedAsk ask;
  ask.answers = {TFileExistsAnswer::NewFile};
  EXPECT_FALSE(ChooseReportFile(false, name, ask.Fn()));
  EXPECT_EQ(name, folder / "Ravelin.TXT");
  EXPECT_EQ(ReadBytes(name), "keep");
}

TEST_F(ChooseReportFileTest, AFolderInTheWayIsAnError) {
  std::string name = folder.MakeFolder("Ravelin.TXT");
  ScriptedAsk ask;
  EXPECT_THROW(ChooseReportFile(false, name, ask.Fn()), Error);
}

TEST(FileExistsMessage, NamesTheFileInQuotes) {
  EXPECT_EQ(FileExistsMessage("/src/Ravelin.TXT"),
            "The report file \"/src/Ravelin.TXT\" already exists. Either Append, Overwrite, "
            "Select a new file or Cancel.");
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
  void SetUp() override {
    savedChoice_ = ViewerChoice;
    savedPath_ = ViewerPath;
  }
  void TearDown() override {
    ViewerChoice = savedChoice_;
    ViewerPath = savedPath_;
  }
  TempFolder folder;
  FakeUiServices ui;
  ScopedUiServices installed{ui};

 private:
  int savedChoice_ = 0;
  std::string savedPath_;
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
