// The main window's logic without widgets: the lists, the moves, the button and size rules,
// and the four commands over a fake desktop.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "FakeUiServices.h"
#include "MainTestUtil.h"
#include "linecount/LCntEngn.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"
#include "ui/logic/MainLogic.h"
#include "ui/logic/ReportFile.h"
#include "units/UnitDpnd.h"
#include "units/UnitTree.h"

namespace ravelin {
namespace {

using testing::DemoProject;
using testing::FakeUiServices;
using testing::FaultyFileSystem;
using testing::ReadBytes;
using testing::TempFolder;

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += item + "|";
  return text;
}

TFileList ListOf(bool sorted, const std::vector<std::string>& items,
                 const std::vector<int>& selected = {}) {
  TFileList list(sorted);
  for (const std::string& item : items) list.Add(item);
  for (int index : selected) list.SetSelected(index, true);
  return list;
}

// ---------------------------------------------------------------------------------------------
// Lists and moves

TEST(FileListTest, SortedListOrdersEntriesIgnoringCase) {
  struct Row {
    std::vector<std::string> added;
    std::string expected;
  } rows[] = {
      {{"/a/b.pas", "/a/A.pas", "/a/c.pas"}, "/a/A.pas|/a/b.pas|/a/c.pas|"},
      {{"/a/Zeta.pas", "/a/alpha.pas", "/a/BETA.pas"}, "/a/alpha.pas|/a/BETA.pas|/a/Zeta.pas|"},
      // Equal ignoring case: the later one goes after the earlier one.
      {{"/a/unit.pas", "/a/UNIT.pas"}, "/a/unit.pas|/a/UNIT.pas|"},
      {{"/b/x.pas", "/a/y.pas"}, "/a/y.pas|/b/x.pas|"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Joined(ListOf(true, row.added).Items()), row.expected) << Joined(row.added);
    EXPECT_EQ(Joined(ListOf(false, row.added).Items()), Joined(row.added)) << Joined(row.added);
  }
}

// Moving with ">" and "<" (reverse-order append, selection rules) is clicked through in
// MainWindowTest; here the edges of the selection helpers.
TEST(MoveTest, FirstSelectedAndSelectNear) {
  struct Row {
    int count;
    std::vector<int> selectedBefore;
    int nearIndex;
    int firstBefore;
    std::vector<int> selectedAfter;
  } rows[] = {
      {3, {}, -1, -1, {0}},                              // -1 means the first entry
      {3, {}, 7, -1, {2}},                               // beyond the end means the last entry
      {3, {1}, 0, 1, {0, 1}},                            // in addition to the selection left
      {3, {2, 0}, 1, 0, {0, 1, 2}}, {0, {}, 0, -1, {}},  // an empty list selects nothing
  };
  for (const Row& row : rows) {
    TFileList list;
    for (int i = 0; i < row.count; ++i) list.Add("/f" + std::to_string(i));
    for (int index : row.selectedBefore) list.SetSelected(index, true);
    EXPECT_EQ(FirstSelected(list), row.firstBefore) << row.nearIndex;
    SelectNear(list, row.nearIndex);
    EXPECT_EQ(list.SelectedIndexes(), row.selectedAfter) << row.nearIndex;
    if (!row.selectedAfter.empty()) {
      EXPECT_TRUE(list.Selected(list.Current())) << row.nearIndex;
    }
  }
}

TEST(MoveTest, RootFileIsTheFirstProjectFileElseTheFirstEntry) {
  struct Row {
    std::vector<std::string> items;
    int root;
  } rows[] = {
      {{"/a/u.pas", "/a/p.dpr", "/a/q.DPR"}, 1},
      {{"/a/u.pas", "/a/v.pas"}, 0},
      {{"/a/x.Dpr"}, 0},
      {{"/a/dpr.pas", "/a/dpr"}, 0},
      {{}, -1},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(RootFileIndex(ListOf(false, row.items)), row.root) << Joined(row.items);
  }
}

// ---------------------------------------------------------------------------------------------
// Size rules

TEST(LayoutTest, SizeRulesKeepTheMinimumAndPlaceTheBottomButtons) {
  struct Row {
    int w, h, left;
    int clientW, clientH;
    TRect lstSrc, lstDst, lblSrc, btnCancel, btnOptions, pnlOptions;
  } rows[] = {
      // clang-format off
      // The first size; smaller springs back to it; larger grows the lists.
      {455, 255, 185, 455, 255, {1, 33, 153, 183}, {1, 28, 185, 188}, {3, 8, 151, 16},
       {188, 4, 187, 30}, {375, 4, 80, 30}, {375, 0, 80, 217}},
      {200, 100, 185, 455, 255, {1, 33, 153, 183}, {1, 28, 185, 188}, {3, 8, 151, 16},
       {188, 4, 187, 30}, {375, 4, 80, 30}, {375, 0, 80, 217}},
      {700, 400, 185, 700, 400, {1, 33, 153, 328}, {1, 28, 430, 333}, {3, 8, 151, 16},
       {188, 4, 432, 30}, {620, 4, 80, 30}, {620, 0, 80, 362}},
      // A narrow left panel: Cancel starts right of the Source Folder button.
      {455, 255, 40, 455, 255, {1, 33, 8, 183}, {1, 28, 330, 188}, {3, 8, 6, 16},
       {154, 4, 297, 30}, {375, 4, 80, 30}, {375, 0, 80, 217}},
      // The left panel never gets narrower than the move buttons.
      {455, 255, 5, 455, 255, {1, 33, -2, 183}, {1, 28, 340, 188}, {3, 8, -4, 16},
       {154, 4, 297, 30}, {375, 4, 80, 30}, {375, 0, 80, 217}},
      // clang-format on
  };
  for (const Row& row : rows) {
    TMainLayout l = ComputeMainLayout(row.w, row.h, row.left, true);
    std::string name =
        std::to_string(row.w) + "x" + std::to_string(row.h) + " left " + std::to_string(row.left);
    EXPECT_EQ(l.clientWidth, row.clientW) << name;
    EXPECT_EQ(l.clientHeight, row.clientH) << name;
    EXPECT_EQ(l.lstSrc, row.lstSrc) << name;
    EXPECT_EQ(l.lstDst, row.lstDst) << name;
    EXPECT_EQ(l.lblSrc, row.lblSrc) << name;
    EXPECT_EQ(l.btnCancel, row.btnCancel) << name;
    EXPECT_EQ(l.btnOptions, row.btnOptions) << name;
    EXPECT_EQ(l.pnlOptions, row.pnlOptions) << name;
    EXPECT_GE(l.pnlLeft.width, 30) << name;
    EXPECT_EQ(l.pnlButton, (TRect{0, l.clientHeight - 38, l.clientWidth, 38})) << name;
  }
}

TEST(LayoutTest, WithoutFormResizeTheBottomButtonsStayPut) {
  TRect cancel{10, 4, 20, 30}, options{50, 4, 80, 30};
  TMainLayout l = ComputeMainLayout(600, 300, 250, false, cancel, options);
  EXPECT_EQ(l.btnCancel, cancel);
  EXPECT_EQ(l.btnOptions, options);
  EXPECT_EQ(l.pnlDst.left, 253);
}

// ---------------------------------------------------------------------------------------------
// The operations and commands over a fake desktop

// The window's side: the warning dialog answers from a queue (Cancel when empty).
class FakeHooks : public TMainWindowHooks {
 public:
  TMainLogic* logic = nullptr;
  std::deque<TFileExistsAnswer> existsAnswers;
  std::vector<std::string> shown;  ///< reports opened in the viewer
  int chooseCalls = 0;

  bool ChooseReportFile(std::string& fileName) override {
    ++chooseCalls;
    return ravelin::ChooseReportFile(logic->ReuseChecked, fileName,
                                     [this](const std::string&, bool) {
                                       if (existsAnswers.empty()) return TFileExistsAnswer::Cancel;
                                       TFileExistsAnswer a = existsAnswers.front();
                                       existsAnswers.pop_front();
                                       return a;
                                     });
  }
  void ShowReport(const std::string& fileName) override { shown.push_back(fileName); }
  void Refresh() override {}
  void FocusList(bool) override {}
};

class MainLogicTest : public ::testing::Test {
 protected:
  MainLogicTest() : installed_(ui_), demo_(folder_) {
    hooks_.logic = &logic_;
    ClearUnitAnalysis();
    UseRtl = UseVcl = UseSearchPath = false;
  }
  ~MainLogicTest() override { ClearUnitAnalysis(); }

  void Choose(const std::vector<std::string>& files) {
    ui_.fileAnswers.push_back(files);
    logic_.DoSourceClick();
  }
  // Moves source rows one by one with ">" as code does, so the process list keeps this order.
  void IncludeInOrder(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
      for (int i = 0; i < logic_.Src.Count(); ++i)
        logic_.Src.SetSelected(i, logic_.Src.Item(i) == file);
      logic_.DoIncludeClick(false);
    }
  }
  std::string ReportName() const { return demo_.folderWithSlash + DefaultReportName; }

  testing::ScopedCurrentFolder folderGuard_;
  TempFolder folder_;
  FakeUiServices ui_;
  ScopedUiServices installed_;
  FakeHooks hooks_;
  TMainLogic logic_{hooks_};
  DemoProject demo_;
};

TEST_F(MainLogicTest, MovesByTheUserEmptyTheUnitAnalysisMovesByCodeKeepIt) {
  using Op = void (*)(TMainLogic&, bool);
  Op include = [](TMainLogic& l, bool u) { l.DoIncludeClick(u); };
  Op exclude = [](TMainLogic& l, bool u) { l.DoExcludeClick(u); };
  Op incAll = [](TMainLogic& l, bool u) { l.DoIncAllClick(u); };
  struct Row {
    const char* name;
    Op operation;
    bool byUser, unitsKept;
  } rows[] = {
      {"include by user", include, true, false},
      {"include by code", include, false, true},
      {"exclude by user", exclude, true, false},
      {"exclude by code", exclude, false, true},
      {"include all by user", incAll, true, false},
      {"include all by code", incAll, false, true},
      {"exclude all", [](TMainLogic& l, bool u) { l.DoExcAllClick(u); }, false, false},
      {"delete all", [](TMainLogic& l, bool) { l.DoDelAllClick(); }, true, false},
  };
  for (const Row& row : rows) {
    logic_.DoDelAllClick();
    Choose({demo_.alpha, demo_.beta, demo_.project});
    IncludeInOrder({demo_.alpha});
    logic_.Dst.SetSelected(0, true);
    BuildUnitTree(demo_.project);
    row.operation(logic_, row.byUser);
    EXPECT_EQ(!UnitFileNames().empty(), row.unitsKept) << row.name;
  }
}

TEST_F(MainLogicTest, ReuseUnitListAsksOnlyWhenUnitsExistAndTheBoxIsUnchecked) {
  struct Row {
    bool haveUnits, checked;
    std::deque<bool> answers;
    bool reuse;
    size_t questions;
  } rows[] = {
      {false, false, {true}, false, 0}, {false, true, {true}, false, 0},
      {true, true, {false}, true, 0},   {true, false, {true}, true, 1},
      {true, false, {false}, false, 1},
  };
  for (const Row& row : rows) {
    ClearUnitAnalysis();
    if (row.haveUnits) BuildUnitTree(demo_.project);
    ui_.questions.clear();
    ui_.yesNoAnswers = row.answers;
    logic_.ReuseChecked = row.checked;
    std::string name = std::to_string(row.haveUnits) + std::to_string(row.checked);
    EXPECT_EQ(logic_.ReuseUnitList(), row.reuse) << name;
    ASSERT_EQ(ui_.questions.size(), row.questions) << name;
    if (row.questions) {
      EXPECT_EQ(ui_.questions[0], "Reuse existing list of units?") << name;
    }
  }
}

TEST_F(MainLogicTest, LineCountWritesTheListFileAndAppendsTheReport) {
  folder_.Write("Ravelin.TXT", "earlier report\r\n");
  Choose({demo_.beta, demo_.alpha});
  IncludeInOrder({demo_.beta, demo_.alpha});
  hooks_.existsAnswers = {TFileExistsAnswer::Append};
  logic_.DoCountLines(true);
  EXPECT_TRUE(ui_.errors.empty()) << ui_.errors.front();
  EXPECT_TRUE(logic_.Dst.Sorted());  // for good: the run did not reuse the unit list
  const std::string listFile = folder_ / "Tallion.Files";
  EXPECT_EQ(ReadBytes(listFile), demo_.alpha + "\r\n" + demo_.beta + "\r\n");
  // The report is what the line counter gives for that list, after the earlier text.
  TLcntEngine engine;
  engine.SetFileSpec(listFile);
  engine.UseListFile = engine.Detailed = true;
  ASSERT_TRUE(engine.Execute());
  std::string expected = "earlier report\r\n";
  for (const std::string& line : engine.Lines) expected += line + "\r\n";
  EXPECT_EQ(ReadBytes(ReportName()), expected);
  EXPECT_EQ(hooks_.shown, std::vector<std::string>{ReportName()});
  EXPECT_EQ(ui_.busyCount, 1);
  EXPECT_EQ(ui_.busyDepth, 0);
}

TEST_F(MainLogicTest, LineCountReusingTheUnitListCountsItsFilesWithoutSorting) {
  // An unsorted process list of two files, and the units of the project.
  Choose({demo_.beta, demo_.alpha});
  IncludeInOrder({demo_.beta, demo_.alpha});
  BuildUnitTree(demo_.project);
  std::string expected;
  for (const std::string& unit : UnitFileNames()) expected += unit + "\r\n";
  ASSERT_FALSE(expected.empty());
  // Reused when the box is checked, or when the question is answered Yes.
  for (bool checked : {true, false}) {
    logic_.ReuseChecked = checked;
    ui_.yesNoAnswers = {true};
    ui_.questions.clear();
    hooks_.existsAnswers = {TFileExistsAnswer::Overwrite};
    logic_.DoCountLines(true);
    EXPECT_EQ(ReadBytes(folder_ / "Tallion.Files"), expected) << checked;
    EXPECT_EQ(ui_.questions.size(), checked ? 0u : 1u) << checked;
    EXPECT_FALSE(logic_.Dst.Sorted()) << checked;
    EXPECT_EQ(Joined(logic_.Dst.Items()), demo_.beta + "|" + demo_.alpha + "|") << checked;
  }
}

TEST_F(MainLogicTest, UnitCommandsWriteTheirReportIntoTheChosenFile) {
  struct Row {
    const char* name;
    TUnitReport report;
  } rows[] = {
      {"list", TUnitReport::List}, {"tree", TUnitReport::Tree}, {"depend", TUnitReport::Depend}};
  SetReportClock([] { return std::time_t{946684800}; });
  for (const Row& row : rows) {
    logic_.DoDelAllClick();
    Choose({demo_.alpha, demo_.project});
    logic_.DoIncAllClick(true);
    hooks_.existsAnswers = {TFileExistsAnswer::Overwrite};
    hooks_.shown.clear();
    logic_.DoUnitCommand(row.report, true);
    EXPECT_TRUE(ui_.errors.empty()) << row.name;
    // Cut down to the root file; the analysis started from it.
    EXPECT_EQ(Joined(logic_.Dst.Items()), demo_.project + "|") << row.name;
    EXPECT_EQ(Joined(logic_.Src.Items()), demo_.alpha + "|") << row.name;
    std::string expected;
    switch (row.report) {
      case TUnitReport::List:
        WriteUnitListText(expected);
        break;
      case TUnitReport::Tree:
        WriteUnitTreeChartText(expected);
        break;
      case TUnitReport::Depend:
        WriteDependencyTableText(demo_.project, expected);
        break;
    }
    EXPECT_EQ(ReadBytes(ReportName()), expected) << row.name;
    EXPECT_EQ(hooks_.shown, std::vector<std::string>{ReportName()}) << row.name;
    EXPECT_TRUE(logic_.ReuseEnabled) << row.name;
    EXPECT_EQ(ui_.busyDepth, 0) << row.name;
  }
  SetReportClock({});
}

TEST_F(MainLogicTest, CommandWithEmptyListsAndCancelledDialogStopsSilently) {
  struct Row {
    const char* name;
    void (*command)(TMainLogic&);
  } rows[] = {
      {"line count", [](TMainLogic& l) { l.DoCountLines(true); }},
      {"unit list", [](TMainLogic& l) { l.DoUnitCommand(TUnitReport::List, true); }},
      {"unit tree", [](TMainLogic& l) { l.DoUnitCommand(TUnitReport::Tree, true); }},
      {"unit depend", [](TMainLogic& l) { l.DoUnitCommand(TUnitReport::Depend, true); }},
  };
  for (const Row& row : rows) {
    ui_.fileRequests.clear();
    row.command(logic_);
    EXPECT_EQ(ui_.fileRequests.size(), 1u) << row.name;
    EXPECT_EQ(hooks_.chooseCalls, 0) << row.name;
    EXPECT_TRUE(ui_.errors.empty()) << row.name;
    EXPECT_FALSE(Fs().FileExists(ReportName())) << row.name;
  }
}

TEST_F(MainLogicTest, CommandWithEmptyProcessListTakesEverySourceFile) {
  Choose({demo_.alpha});  // left over in the source list
  ui_.fileAnswers.push_back(std::nullopt);
  logic_.DoCountLines(true);
  EXPECT_EQ(Joined(logic_.Dst.Items()), demo_.alpha + "|");
  EXPECT_EQ(hooks_.shown.size(), 1u);
}

TEST_F(MainLogicTest, ErrorInsideACommandShowsOneMessageAndKeepsBothLists) {
  struct Row {
    const char* name;
    bool lineCount;
    TUnitReport report;
    const char* unreadable;
    const char* unappendable;
    const char* unreplaceable;
    const char* namedFile;
  } rows[] = {
      {"count: unwritable list file", true, TUnitReport::List, "", "", "Tallion.Files",
       "Tallion.Files"},
      {"count: unwritable report", true, TUnitReport::List, "", "Ravelin.TXT", "", "Ravelin.TXT"},
      {"count: unreadable source", true, TUnitReport::List, "beta.pas", "", "", "beta.pas"},
      {"list: unreadable root", false, TUnitReport::List, "Demo.dpr", "", "", "Demo.dpr"},
      {"tree: unreadable unit", false, TUnitReport::Tree, "Alpha.pas", "", "", "Alpha.pas"},
      {"depend: unwritable report", false, TUnitReport::Depend, "", "Ravelin.TXT", "",
       "Ravelin.TXT"},
  };
  for (const Row& row : rows) {
    FaultyFileSystem faulty;
    ScopedFileSystem installedFs(faulty);
    ClearUnitAnalysis();
    logic_.DoDelAllClick();
    Choose({demo_.beta, demo_.alpha, demo_.project});
    IncludeInOrder(row.lineCount ? std::vector{demo_.project, demo_.beta, demo_.alpha}
                                 : std::vector{demo_.project});
    const std::vector<std::string> src = logic_.Src.Items(), dst = logic_.Dst.Items();
    const bool sorted = logic_.Dst.Sorted();
    auto full = [&](const char* name) { return *name ? folder_ / name : std::string(); };
    if (*row.unreadable) faulty.unreadable.insert(full(row.unreadable));
    if (*row.unappendable) faulty.unappendable.insert(full(row.unappendable));
    if (*row.unreplaceable) faulty.unreplaceable.insert(full(row.unreplaceable));
    ui_.errors.clear();
    hooks_.shown.clear();
    Fs().TruncateFile(ReportName());
    hooks_.existsAnswers = {TFileExistsAnswer::Append};

    logic_.Guarded([&] {
      if (row.lineCount) {
        logic_.DoCountLines(true);
      } else {
        logic_.DoUnitCommand(row.report, true);
      }
    });

    ASSERT_EQ(ui_.errors.size(), 1u) << row.name;
    EXPECT_NE(ui_.errors[0].find(full(row.namedFile)), std::string::npos)
        << row.name << ": " << ui_.errors[0];
    EXPECT_EQ(logic_.Src.Items(), src) << row.name;
    EXPECT_EQ(logic_.Dst.Items(), dst) << row.name;
    EXPECT_EQ(logic_.Dst.Sorted(), sorted) << row.name;
    EXPECT_EQ(ui_.busyDepth, 0) << row.name;
    EXPECT_TRUE(hooks_.shown.empty()) << row.name;
    EXPECT_EQ(ReadBytes(ReportName()), "") << row.name;
    if (!row.lineCount && *row.unreadable) {
      // Half an analysis is never offered for reuse.
      EXPECT_TRUE(UnitFileNames().empty()) << row.name;
      EXPECT_FALSE(logic_.ReuseEnabled) << row.name;
    }
  }
}

TEST(AppendReportLinesTest, KeepsWhatTheFileHeldAndEndsAnOpenLastLine) {
  struct Row {
    const char* name;
    bool exists;
    std::string before;
    std::string after;
  } rows[] = {
      {"missing file", false, "", "one\r\ntwo\r\n"},
      {"empty file", true, "", "one\r\ntwo\r\n"},
      {"ended line", true, "old\r\n", "old\r\none\r\ntwo\r\n"},
      {"line feed only", true, "old\n", "old\none\r\ntwo\r\n"},
      {"open last line", true, "old", "old\r\none\r\ntwo\r\n"},
  };
  TempFolder folder;
  for (const Row& row : rows) {
    std::string file = folder / (std::string(row.name) + ".txt");
    if (row.exists) folder.Write(std::string(row.name) + ".txt", row.before);
    AppendReportLines(file, {"one", "two"});
    EXPECT_EQ(ReadBytes(file), row.after) << row.name;
  }
}

}  // namespace
}  // namespace ravelin
