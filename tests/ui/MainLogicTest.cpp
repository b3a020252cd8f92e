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

TEST(FileListTest, SwitchingSortingOnReordersAndKeepsEachSelection) {
  TFileList list = ListOf(false, {"/p/c.pas", "/p/A.dpr", "/p/b.pas"}, {0});
  list.SetCurrent(0);
  list.SetSorted(true);
  EXPECT_EQ(Joined(list.Items()), "/p/A.dpr|/p/b.pas|/p/c.pas|");
  EXPECT_FALSE(list.Selected(0));
  EXPECT_TRUE(list.Selected(2));
  EXPECT_EQ(list.Current(), 2);
  list.Add("/p/B0.pas");
  EXPECT_EQ(Joined(list.Items()), "/p/A.dpr|/p/b.pas|/p/B0.pas|/p/c.pas|");
}

TEST(MoveTest, MoveSelectedAppendsInReverseOrderOfOldPositions) {
  struct Row {
    const char* name;
    bool targetSorted;
    std::vector<int> selected;
    std::string from, to;
  } rows[] = {
      {"three into unsorted",
       false,
       {0, 1, 3},
       "/s/c.pas|",
       "/d/z.pas|/s/d.pas|/s/b.pas|/s/a.pas|"},
      {"three into sorted", true, {0, 1, 3}, "/s/c.pas|", "/d/z.pas|/s/a.pas|/s/b.pas|/s/d.pas|"},
      {"nothing selected", false, {}, "/s/a.pas|/s/b.pas|/s/c.pas|/s/d.pas|", "/d/z.pas|"},
      {"all selected", false, {0, 1, 2, 3}, "", "/d/z.pas|/s/d.pas|/s/c.pas|/s/b.pas|/s/a.pas|"},
  };
  for (const Row& row : rows) {
    TFileList from = ListOf(true, {"/s/a.pas", "/s/b.pas", "/s/c.pas", "/s/d.pas"}, row.selected);
    TFileList to = ListOf(row.targetSorted, {"/d/z.pas"});
    MoveSelected(from, to);
    EXPECT_EQ(Joined(from.Items()), row.from) << row.name;
    if (row.targetSorted) {
      // A sorted target shows them in order, whatever order they came in.
      EXPECT_EQ(Joined(to.Items()), "/d/z.pas|/s/a.pas|/s/b.pas|/s/d.pas|") << row.name;
    } else {
      EXPECT_EQ(Joined(to.Items()), row.to) << row.name;
    }
    EXPECT_TRUE(to.SelectedIndexes().empty()) << row.name;
  }
}

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

TEST(MoveTest, MoveButtonsFollowTheLists) {
  struct Row {
    bool src, dst;
    bool include, incAll, exclude, exAll, delAll;
  } rows[] = {
      {false, false, false, false, false, false, false},
      {true, false, true, true, false, false, true},
      {false, true, false, false, true, true, true},
      {true, true, true, true, true, true, true},
  };
  for (const Row& row : rows) {
    TFileList src(true), dst(false);
    if (row.src) src.Add("/s.pas");
    if (row.dst) dst.Add("/d.pas");
    TMoveButtons b = MoveButtonStates(src, dst);
    std::string name = std::to_string(row.src) + std::to_string(row.dst);
    EXPECT_EQ(b.include, row.include) << name;
    EXPECT_EQ(b.incAll, row.incAll) << name;
    EXPECT_EQ(b.exclude, row.exclude) << name;
    EXPECT_EQ(b.exAll, row.exAll) << name;
    EXPECT_EQ(b.delAll, row.delAll) << name;
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
      // The first size.
      {455,
       255,
       185,
       455,
       255,
       {1, 33, 153, 183},
       {1, 28, 185, 188},
       {3, 8, 151, 16},
       {188, 4, 187, 30},
       {375, 4, 80, 30},
       {375, 0, 80, 217}},
      // Smaller than the minimum springs back to it.
      {200,
       100,
       185,
       455,
       255,
       {1, 33, 153, 183},
       {1, 28, 185, 188},
       {3, 8, 151, 16},
       {188, 4, 187, 30},
       {375, 4, 80, 30},
       {375, 0, 80, 217}},
      // Larger: the lists grow, the command panel stays on the right.
      {700,
       400,
       185,
       700,
       400,
       {1, 33, 153, 328},
       {1, 28, 430, 333},
       {3, 8, 151, 16},
       {188, 4, 432, 30},
       {620, 4, 80, 30},
       {620, 0, 80, 362}},
      // A narrow left panel: Cancel starts right of the Source Folder button.
      {455,
       255,
       40,
       455,
       255,
       {1, 33, 8, 183},
       {1, 28, 330, 188},
       {3, 8, 6, 16},
       {154, 4, 297, 30},
       {375, 4, 80, 30},
       {375, 0, 80, 217}},
      // The left panel never gets narrower than the move buttons.
      {455,
       255,
       5,
       455,
       255,
       {1, 33, -2, 183},
       {1, 28, 340, 188},
       {3, 8, -4, 16},
       {154, 4, 297, 30},
       {375, 4, 80, 30},
       {375, 0, 80, 217}},
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

class FakeHooks : public TMainWindowHooks {
 public:
  TMainLogic* logic = nullptr;
  std::deque<TFileExistsAnswer> existsAnswers;  ///< answers of the warning dialog
  std::vector<std::string> askedAbout;          ///< files the warning dialog named
  std::vector<bool> appendDefaults;             ///< Append was the default answer
  std::vector<std::string> shown;               ///< reports opened in the viewer
  int chooseCalls = 0;
  int refreshes = 0;

  bool ChooseReportFile(std::string& fileName) override {
    ++chooseCalls;
    return ravelin::ChooseReportFile(logic->ReuseChecked, fileName,
                                     [this](const std::string& name, bool appendDefault) {
                                       askedAbout.push_back(name);
                                       appendDefaults.push_back(appendDefault);
                                       if (existsAnswers.empty()) return TFileExistsAnswer::Cancel;
                                       TFileExistsAnswer a = existsAnswers.front();
                                       existsAnswers.pop_front();
                                       return a;
                                     });
  }
  void ShowReport(const std::string& fileName) override { shown.push_back(fileName); }
  void Refresh() override { ++refreshes; }
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

  // The user picks files in the source-file dialog.
  void Choose(const std::vector<std::string>& files) {
    ui_.fileAnswers.push_back(files);
    logic_.DoSourceClick();
  }
  // The user picks files and moves them all to the process list.
  void ChooseAndIncludeAll(const std::vector<std::string>& files) {
    Choose(files);
    logic_.DoIncAllClick(true);
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

TEST_F(MainLogicTest, SourceDialogAsksForSourceFilesAndReplacesTheSourceList) {
  Choose({demo_.beta, demo_.project});
  ASSERT_EQ(ui_.fileRequests.size(), 1u);
  const TOpenFileRequest& r = ui_.fileRequests[0];
  EXPECT_EQ(r.title, "Select Source Files");
  EXPECT_EQ(r.filter,
            "Projects (*.dpr)|*.dpr|Units (*.pas)|*.pas|Include (*.in?)|*.in?|"
            "All Source Files (*.dpr; *.pas; *.in?)|*.dpr;*.pas;*.in*");
  EXPECT_EQ(r.filterIndex, 4);
  EXPECT_TRUE(r.multiSelect);
  EXPECT_TRUE(r.mustExist);
  EXPECT_EQ(Joined(logic_.Src.Items()), demo_.beta + "|" + demo_.project + "|");
  EXPECT_EQ(logic_.SrcCaption, demo_.folderWithSlash);
  EXPECT_EQ(Fs().CurrentFolder(), folder_.Path());
  // ">" and ">>" are enabled; "--" waits for the first move.
  EXPECT_TRUE(logic_.Buttons.include);
  EXPECT_TRUE(logic_.Buttons.incAll);
  EXPECT_FALSE(logic_.Buttons.delAll);

  // A second choice replaces the list; a cancelled one keeps it.
  Choose({demo_.alpha});
  EXPECT_EQ(Joined(logic_.Src.Items()), demo_.alpha + "|");
  ui_.fileAnswers.push_back(std::nullopt);
  logic_.DoSourceClick();
  EXPECT_EQ(Joined(logic_.Src.Items()), demo_.alpha + "|");
  EXPECT_EQ(logic_.SrcCaption, demo_.folderWithSlash);
}

TEST_F(MainLogicTest, IncludeWithNothingSelectedSelectsTheFirstEntryThenMovesIt) {
  Choose({demo_.alpha, demo_.beta});
  logic_.DoIncludeClick(true);
  EXPECT_TRUE(logic_.Dst.Empty());
  EXPECT_EQ(logic_.Src.SelectedIndexes(), std::vector<int>{0});
  logic_.DoIncludeClick(true);
  EXPECT_EQ(Joined(logic_.Dst.Items()), demo_.alpha + "|");
  EXPECT_EQ(logic_.Src.SelectedIndexes(), std::vector<int>{0});  // beta, near the old place
  EXPECT_TRUE(logic_.Buttons.exclude && logic_.Buttons.exAll && logic_.Buttons.delAll);
}

TEST_F(MainLogicTest, MovesByTheUserEmptyTheUnitAnalysisMovesByCodeKeepIt) {
  struct Row {
    const char* name;
    void (*operation)(TMainLogic&, bool);
    bool byUser;
    bool unitsKept;
  } rows[] = {
      {"include by user", [](TMainLogic& l, bool u) { l.DoIncludeClick(u); }, true, false},
      {"include by code", [](TMainLogic& l, bool u) { l.DoIncludeClick(u); }, false, true},
      {"exclude by user", [](TMainLogic& l, bool u) { l.DoExcludeClick(u); }, true, false},
      {"exclude by code", [](TMainLogic& l, bool u) { l.DoExcludeClick(u); }, false, true},
      {"include all by user", [](TMainLogic& l, bool u) { l.DoIncAllClick(u); }, true, false},
      {"include all by code", [](TMainLogic& l, bool u) { l.DoIncAllClick(u); }, false, true},
      {"exclude all", [](TMainLogic& l, bool u) { l.DoExcAllClick(u); }, false, false},
      {"delete all", [](TMainLogic& l, bool) { l.DoDelAllClick(); }, true, false},
  };
  for (const Row& row : rows) {
    logic_.DoDelAllClick();
    Choose({demo_.alpha, demo_.beta, demo_.project});
    logic_.Src.SetSelected(0, true);
    logic_.DoIncludeClick(false);
    logic_.Dst.SetSelected(0, true);
    BuildUnitTree(demo_.project);
    ASSERT_FALSE(UnitFileNames().empty()) << row.name;
    row.operation(logic_, row.byUser);
    EXPECT_EQ(!UnitFileNames().empty(), row.unitsKept) << row.name;
  }
}

TEST_F(MainLogicTest, ReduceToOneFileKeepsTheRootFileAndTheUnitAnalysis) {
  struct Row {
    std::vector<std::string> dst;
    std::string kept;
  } rows[] = {
      {{demo_.alpha, demo_.project, demo_.beta}, demo_.project},
      {{demo_.beta, demo_.alpha}, demo_.beta},
      {{demo_.alpha, demo_.beta, demo_.project}, demo_.project},
      {{demo_.alpha}, demo_.alpha},
  };
  for (const Row& row : rows) {
    logic_.DoDelAllClick();
    Choose(row.dst);
    logic_.Src.ClearSelection();
    for (const std::string& file : row.dst) {
      for (int i = 0; i < logic_.Src.Count(); ++i)
        logic_.Src.SetSelected(i, logic_.Src.Item(i) == file);
      logic_.DoIncludeClick(false);
    }
    ASSERT_EQ(Joined(logic_.Dst.Items()), Joined(row.dst));
    BuildUnitTree(demo_.project);
    logic_.ReduceToOneFile();
    EXPECT_EQ(Joined(logic_.Dst.Items()), row.kept + "|") << Joined(row.dst);
    EXPECT_EQ(logic_.Src.Count(), static_cast<int>(row.dst.size()) - 1) << Joined(row.dst);
    EXPECT_FALSE(UnitFileNames().empty()) << Joined(row.dst);
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
  logic_.Src.SetSelected(1, true);
  logic_.DoIncludeClick(true);  // beta
  logic_.Src.SetSelected(0, true);
  logic_.DoIncludeClick(true);  // alpha, after beta
  ASSERT_EQ(Joined(logic_.Dst.Items()), demo_.beta + "|" + demo_.alpha + "|");
  hooks_.existsAnswers = {TFileExistsAnswer::Append};

  logic_.DoCountLines(true);

  EXPECT_TRUE(ui_.errors.empty()) << ui_.errors.front();
  // The run without reuse sorts the process list for good.
  EXPECT_TRUE(logic_.Dst.Sorted());
  EXPECT_EQ(Joined(logic_.Dst.Items()), demo_.alpha + "|" + demo_.beta + "|");
  const std::string listFile = folder_ / "Tallion.Files";
  EXPECT_EQ(ReadBytes(listFile), demo_.alpha + "\r\n" + demo_.beta + "\r\n");
  // The report is what the line counter gives for that list, after the earlier text.
  TLcntEngine engine;
  engine.SetFileSpec(listFile);
  engine.UseListFile = true;
  engine.Detailed = true;
  ASSERT_TRUE(engine.Execute());
  std::string expected = "earlier report\r\n";
  for (const std::string& line : engine.Lines) expected += line + "\r\n";
  EXPECT_EQ(ReadBytes(ReportName()), expected);
  EXPECT_EQ(hooks_.shown, std::vector<std::string>{ReportName()});
  EXPECT_EQ(ui_.busyCount, 1);
  EXPECT_EQ(ui_.busyDepth, 0);
  EXPECT_TRUE(ui_.questions.empty());
}

TEST_F(MainLogicTest, TwoLineCountsWithAppendFollowEachOther) {
  ChooseAndIncludeAll({demo_.alpha});
  logic_.DoCountLines(true);
  std::string first = ReadBytes(ReportName());
  ASSERT_FALSE(first.empty());
  hooks_.existsAnswers = {TFileExistsAnswer::Append};
  logic_.DoCountLines(true);
  EXPECT_EQ(ReadBytes(ReportName()), first + first);
  hooks_.existsAnswers = {TFileExistsAnswer::Overwrite};
  logic_.DoCountLines(true);
  EXPECT_EQ(ReadBytes(ReportName()), first);
}

TEST_F(MainLogicTest, LineCountReusingTheUnitListCountsItsFilesWithoutSorting) {
  ChooseAndIncludeAll({demo_.project});
  logic_.DoUnitCommand(TUnitReport::List, true);
  ASSERT_TRUE(logic_.ReuseEnabled);
  std::vector<std::string> units = UnitFileNames();
  ASSERT_FALSE(units.empty());
  // Back to an unsorted process list of two files.
  logic_.DoExcAllClick(false);
  Choose({demo_.beta, demo_.alpha});
  logic_.Src.SetSelected(1, true);
  logic_.DoIncludeClick(false);
  logic_.Src.SetSelected(0, true);
  logic_.DoIncludeClick(false);
  BuildUnitTree(demo_.project);
  units = UnitFileNames();

  struct Row {
    bool checked;
    std::deque<bool> answers;
    size_t questions;
    bool reused;
  } rows[] = {{true, {}, 0, true}, {false, {true}, 1, true}};
  for (const Row& row : rows) {
    logic_.ReuseChecked = row.checked;
    ui_.questions.clear();
    ui_.yesNoAnswers = row.answers;
    hooks_.existsAnswers = {TFileExistsAnswer::Overwrite};
    logic_.DoCountLines(true);
    std::string expected;
    for (const std::string& unit : units) expected += unit + "\r\n";
    EXPECT_EQ(ReadBytes(folder_ / "Tallion.Files"), expected) << row.checked;
    EXPECT_EQ(ui_.questions.size(), row.questions) << row.checked;
    EXPECT_FALSE(logic_.Dst.Sorted()) << row.checked;
    EXPECT_EQ(Joined(logic_.Dst.Items()), demo_.beta + "|" + demo_.alpha + "|") << row.checked;
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
    ChooseAndIncludeAll({demo_.alpha, demo_.project});
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

TEST_F(MainLogicTest, CancelInTheWarningDialogWritesNothing) {
  ChooseAndIncludeAll({demo_.project});
  folder_.Write("Ravelin.TXT", "keep me");
  for (TUnitReport report : {TUnitReport::List, TUnitReport::Tree, TUnitReport::Depend}) {
    hooks_.existsAnswers = {TFileExistsAnswer::Cancel};
    logic_.DoUnitCommand(report, true);
  }
  hooks_.existsAnswers = {TFileExistsAnswer::Cancel};
  logic_.DoCountLines(true);
  EXPECT_EQ(ReadBytes(ReportName()), "keep me");
  EXPECT_TRUE(hooks_.shown.empty());
  EXPECT_FALSE(Fs().FileExists(folder_ / "Tallion.Files"));
  EXPECT_TRUE(UnitFileNames().empty());
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
    if (row.lineCount) {
      logic_.Src.SetSelected(2, true);
      logic_.DoIncludeClick(true);
      logic_.Src.SetSelected(0, true);
      logic_.DoIncludeClick(true);
    } else {
      logic_.Src.SetSelected(2, true);  // the project
      logic_.DoIncludeClick(true);
    }
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
