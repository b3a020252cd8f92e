// The main window through its widgets: clicks and key presses on the real controls, with the
// desktop's dialogs, cursor and viewer replaced by a fake and the warning dialog driven as a
// user would.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "FakeUiServices.h"
#include "MainTestUtil.h"
#include "settings/LstGlobal.h"
#include "ui/FrmExists.h"
#include "ui/FrmMain.h"
#include "ui/VornAbout.h"
#include "units/UnitTree.h"

namespace ravelin {
namespace {

using testing::DemoProject;
using testing::FakeUiServices;
using testing::FaultyFileSystem;
using testing::ModalScript;
using testing::ReadBytes;
using testing::TempFolder;

std::string TextOf(const QWidget* w) {
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* l = qobject_cast<const QLabel*>(w)) return l->text().toStdString();
  return {};
}

std::vector<std::string> ItemsOf(const QListWidget* list) {
  std::vector<std::string> items;
  for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
  return items;
}

std::vector<int> SelectedRowsOf(const QListWidget* list) {
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) rows.push_back(i);
  return rows;
}

// Closes a modal dialog the way its own button would.
void Accept(QWidget* dialog) {
  QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
}

void ResetSettings() {
  ViewerChoice = 1;
  ViewerPath.clear();
  RtlPath.clear();
  VclPath.clear();
  SearchPaths.clear();
  UseRtl = UseVcl = UseSearchPath = false;
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : installed_(ui_), demo_(folder_) {
    SetSettingsFileName(SettingsFile());
    ResetSettings();
    ClearUnitAnalysis();
  }
  ~MainWindowTest() override {
    window_.reset();
    SetSettingsFileName("");
    ResetSettings();
    ClearUnitAnalysis();
  }

  std::string SettingsFile() const { return folder_ / "ravelin.INI"; }
  std::string ReportName() const { return demo_.folderWithSlash + DefaultReportName; }

  // Shows the window and closes the About box it opens at start.
  void Open() {
    window_ = std::make_unique<TdlgMain>();
    ModalScript script;
    script.Then([this](QWidget* dialog) {
      aboutShown_ += qobject_cast<TAboutBox*>(dialog) != nullptr;
      Accept(dialog);
    });
    window_->show();
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return window_->windowTitle().startsWith("Ravelin  V:"); }));
    EXPECT_EQ(script.Unexpected(), 0);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  TdlgMain& W() { return *window_; }

  // The user picks files with the Source Folder button.
  void Choose(const std::vector<std::string>& files) {
    ui_.fileAnswers.push_back(files);
    QTest::mouseClick(W().btnSource, Qt::LeftButton);
  }
  // A press of the left (or another) button on entry row of a list, Ctrl held.
  void PressRow(QListWidget* list, int row, Qt::MouseButton button = Qt::LeftButton) {
    QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), button, Qt::ControlModifier, r.center());
    QCoreApplication::processEvents();
  }
  // The user selects rows of the source list (each press also opens the file dialog, which
  // the fake cancels).
  void SelectSourceRows(const std::vector<int>& rows) {
    W().lstSrc->clearSelection();
    for (int row : rows) PressRow(W().lstSrc, row);
  }
  // The user moves one row of the source list to the process list with ">".
  void IncludeSourceRow(int row) {
    SelectSourceRows({row});
    QTest::mouseClick(W().btnInclude, Qt::LeftButton);
  }

  testing::ScopedCurrentFolder folderGuard_;
  TempFolder folder_;
  FakeUiServices ui_;
  ScopedUiServices installed_;
  DemoProject demo_;
  std::unique_ptr<TdlgMain> window_;
  int aboutShown_ = 0;
};

TEST_F(MainWindowTest, ControlsShowTheirCaptionsHintsStatesAndPlaces) {
  Open();
  struct Row {
    const char* name;
    const char* text;
    const char* hint;
    bool enabled;
    TRect place;
  } rows[] = {
      {"pnlLeft", "", "", true, {0, 0, 185, 217}},
      {"pnlSrc", "", "", true, {0, 0, 155, 217}},
      {"lblSrc", "Source Files:", "", true, {3, 8, 151, 16}},
      {"lstSrc", "", "", true, {1, 33, 153, 183}},
      {"pnlCtrls", "", "", true, {155, 0, 30, 217}},
      {"btnInclude", ">", "Add one file to the process list", false, {3, 32, 24, 24}},
      {"btnIncAll", ">>", "Move all files to the process list", false, {3, 64, 24, 24}},
      {"btnExclude", "<", "Remove one file from the process list", false, {3, 96, 24, 24}},
      {"btnExAll", "<<", "Remove all files from the process list", false, {3, 128, 24, 24}},
      {"btnDelAll", "--", "Remove all files from both lists", false, {3, 160, 24, 24}},
      {"splHorizon", "", "", true, {185, 0, 3, 217}},
      {"pnlDst", "", "", true, {188, 0, 187, 217}},
      {"lblDst", "Process these Files:", "", true, {2, 8, 145, 16}},
      {"lstDst", "", "", true, {1, 28, 185, 188}},
      {"pnlOptions", "", "", true, {375, 0, 80, 217}},
      {"btnUList", "Unit List", "Build a \"uses\" list of unit names.", true, {2, 2, 75, 30}},
      {"btnLCnt", "Line Count", "Count the lines in the selected files.", true, {2, 34, 75, 30}},
      {"btnUTree", "Unit Tree", "Build a \"uses\" tree of unit names.", true, {2, 68, 75, 30}},
      {"btnUDpnd",
       "Unit Depend",
       "List unit dependancies for the selected file.",
       true,
       {2, 101, 75, 30}},
      {"chkReuseIt", "Reuse List", "", false, {2, 135, 75, 17}},
      {"chkRTL", "Use RTL", "Search RTL for Unit commands", true, {2, 154, 75, 17}},
      {"chkVCL", "Use VCL", "Search VCL for Unit commands", true, {2, 170, 75, 17}},
      {"chkSearchP", "Use Search", "", true, {2, 186, 75, 17}},
      {"pnlButton", "", "", true, {0, 217, 455, 38}},
      {"btnSource", "Source Folder", "Select one or source files", true, {4, 4, 150, 30}},
      {"btnCancel", "Cancel", "Exit this tool", true, {188, 4, 187, 30}},
      {"btnOptions", "Options", "", true, {375, 4, 80, 30}},
  };
  EXPECT_EQ(W().size(), QSize(455, 255));
  for (const Row& row : rows) {
    auto* w = W().findChild<QWidget*>(QString::fromLatin1(row.name));
    ASSERT_NE(w, nullptr) << row.name;
    EXPECT_EQ(TextOf(w), row.text) << row.name;
    EXPECT_EQ(w->toolTip().toStdString(), row.hint) << row.name;
    EXPECT_EQ(w->isEnabled(), row.enabled) << row.name;
    EXPECT_EQ((TRect{w->x(), w->y(), w->width(), w->height()}), row.place) << row.name;
  }
  EXPECT_FALSE(W().chkReuseIt->isChecked());
  EXPECT_EQ(W().lstSrc->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(W().lstDst->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(QApplication::focusWidget(), W().btnUList);
}

TEST_F(MainWindowTest, TabGoesThroughTheControlsInTheDesignedOrder) {
  Open();
  W().lstDst->setFocus();
  std::vector<std::string> order;
  for (int i = 0; i < 13; ++i) {
    order.push_back(QApplication::focusWidget()->objectName().toStdString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  const std::vector<std::string> expected = {
      "lstDst",   "btnCancel", "btnSource", "btnOptions", "lstSrc",     "btnLCnt", "btnUTree",
      "btnUDpnd", "chkRTL",    "chkVCL",    "btnUList",   "chkSearchP", "lstDst"};
  EXPECT_EQ(order, expected);
}

TEST_F(MainWindowTest, FirstShowingLoadsPlacementAndSettingsAndShowsTheAboutBox) {
  folder_.Write("ravelin.INI",
                "[LAST]\r\nUse RTL=1\r\nUse VCL=0\r\nUse Search Path=1\r\n"
                "[dlgMain]\r\nTop=100\r\nLeft=0x32\r\nHeight=327\r\nWidth=608\r\n");
  Open();
  EXPECT_EQ(aboutShown_, 1);
  EXPECT_FALSE(W().ProgramVersion().empty());
  EXPECT_EQ(W().windowTitle().toStdString(), "Ravelin  V:" + W().ProgramVersion() + "  Aug 2000");
  EXPECT_TRUE(W().chkRTL->isChecked());
  EXPECT_FALSE(W().chkVCL->isChecked());
  EXPECT_TRUE(W().chkSearchP->isChecked());
  EXPECT_TRUE(UseRtl && !UseVcl && UseSearchPath);
  EXPECT_EQ(W().Top(), 100);
  EXPECT_EQ(W().Left(), 50);
  EXPECT_EQ(W().Height(), 327);
  EXPECT_EQ(W().Width(), 608);
  // The lists and the command panel follow the larger window.
  EXPECT_EQ(W().pnlOptions->x(), W().width() - 80);
  EXPECT_EQ(W().lstDst->height(), W().height() - 38 - 29);
}

// The exact places at each size are checked on the layout rules; here that the window uses them.
TEST_F(MainWindowTest, ResizingFollowsTheSizeRulesAndKeepsTheMinimum) {
  folder_.Write("ravelin.INI", "[dlgMain]\r\nHeight=100\r\nWidth=100\r\n");
  Open();
  EXPECT_EQ(W().size(), QSize(455, 255));
  W().resize(700, 400);
  QCoreApplication::processEvents();
  EXPECT_EQ(W().btnOptions->geometry(), QRect(620, 4, 80, 30));
  EXPECT_EQ(W().lstDst->geometry(), QRect(1, 28, 430, 333));
  W().resize(300, 120);
  QCoreApplication::processEvents();
  EXPECT_EQ(W().size(), QSize(455, 255));
}

TEST_F(MainWindowTest, SplitterNeverHidesTheMoveButtons) {
  Open();
  auto drag = [this](int dx) {
    QPoint start = W().splHorizon->mapToGlobal(QPoint(1, 50));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 50), QPointF(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W().splHorizon, &press);
    QPoint end = start + QPoint(dx, 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(1 + dx, 50), QPointF(end), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(W().splHorizon, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1 + dx, 50), QPointF(end),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(W().splHorizon, &release);
  };
  drag(40);
  EXPECT_EQ(W().pnlLeft->width(), 225);
  EXPECT_EQ(W().lblSrc->width(), 225 - 30 - 4);
  EXPECT_EQ(W().pnlDst->x(), 228);
  drag(-400);
  EXPECT_EQ(W().pnlLeft->width(), 30);
  EXPECT_EQ(W().pnlCtrls->x(), 0);
}

TEST_F(MainWindowTest, SourceFolderButtonFillsTheSortedSourceList) {
  Open();
  Choose({demo_.beta, demo_.project, demo_.alpha});
  ASSERT_EQ(ui_.fileRequests.size(), 1u);
  EXPECT_EQ(ui_.fileRequests[0].title, "Select Source Files");
  EXPECT_EQ(ui_.fileRequests[0].filter,
            "Projects (*.dpr)|*.dpr|Units (*.pas)|*.pas|Include (*.in?)|*.in?|"
            "All Source Files (*.dpr; *.pas; *.in?)|*.dpr;*.pas;*.in*");
  EXPECT_EQ(ui_.fileRequests[0].filterIndex, 4);
  EXPECT_TRUE(ui_.fileRequests[0].multiSelect && ui_.fileRequests[0].mustExist);
  EXPECT_EQ(ItemsOf(W().lstSrc),
            (std::vector<std::string>{demo_.alpha, demo_.beta, demo_.project}));
  EXPECT_EQ(TextOf(W().lblSrc), demo_.folderWithSlash);
  EXPECT_EQ(Fs().CurrentFolder(), folder_.Path());
  EXPECT_TRUE(W().btnInclude->isEnabled());
  EXPECT_TRUE(W().btnIncAll->isEnabled());
  EXPECT_FALSE(W().btnExclude->isEnabled());
  EXPECT_FALSE(W().btnExAll->isEnabled());
  EXPECT_FALSE(W().btnDelAll->isEnabled());
}

TEST_F(MainWindowTest, LeftPressOnTheSourceListSelectsThenOpensTheDialog) {
  Open();
  Choose({demo_.alpha, demo_.beta, demo_.project});
  PressRow(W().lstSrc, 1);
  ASSERT_TRUE(QTest::qWaitFor([this] { return ui_.fileRequests.size() == 2; }));
  // The dialog was cancelled: the list and its selection stay.
  EXPECT_EQ(SelectedRowsOf(W().lstSrc), std::vector<int>{1});
  EXPECT_EQ(W().lstSrc->count(), 3);
  // The right button selects nothing and opens nothing.
  PressRow(W().lstSrc, 2, Qt::RightButton);
  QTest::qWait(20);
  EXPECT_EQ(ui_.fileRequests.size(), 2u);
  // Confirming the dialog replaces the list.
  ui_.fileAnswers.push_back(std::vector<std::string>{demo_.include});
  PressRow(W().lstSrc, 0);
  ASSERT_TRUE(QTest::qWaitFor([this] { return W().lstSrc->count() == 1; }));
  EXPECT_EQ(ItemsOf(W().lstSrc), std::vector<std::string>{demo_.include});
}

TEST_F(MainWindowTest, IncludeAppendsSelectedFilesInReverseOrder) {
  Open();
  Choose({demo_.alpha, demo_.beta, demo_.project, demo_.include});
  // Sorted: Alpha.pas, beta.pas, Defs.inc, Demo.dpr
  SelectSourceRows({0, 1, 3});
  ASSERT_EQ(SelectedRowsOf(W().lstSrc), (std::vector<int>{0, 1, 3}));
  QTest::mouseClick(W().btnInclude, Qt::LeftButton);
  EXPECT_EQ(ItemsOf(W().lstDst),
            (std::vector<std::string>{demo_.project, demo_.beta, demo_.alpha}));
  EXPECT_EQ(ItemsOf(W().lstSrc), std::vector<std::string>{demo_.include});
  // The entry nearest the first moved one is selected, and the source list has the focus.
  EXPECT_EQ(SelectedRowsOf(W().lstSrc), std::vector<int>{0});
  EXPECT_EQ(QApplication::focusWidget(), W().lstSrc);
  EXPECT_TRUE(W().btnExclude->isEnabled());
  EXPECT_TRUE(W().btnExAll->isEnabled());
  EXPECT_TRUE(W().btnDelAll->isEnabled());

  // "<" sends the selected process file back into the sorted source list.
  W().lstDst->item(1)->setSelected(true);
  QTest::mouseClick(W().btnExclude, Qt::LeftButton);
  EXPECT_EQ(ItemsOf(W().lstDst), (std::vector<std::string>{demo_.project, demo_.alpha}));
  EXPECT_EQ(ItemsOf(W().lstSrc), (std::vector<std::string>{demo_.beta, demo_.include}));
  EXPECT_EQ(SelectedRowsOf(W().lstDst), std::vector<int>{1});
  EXPECT_EQ(QApplication::focusWidget(), W().lstDst);
}

TEST_F(MainWindowTest, MoveAllAndDeleteAllButtons) {
  Open();
  Choose({demo_.beta, demo_.alpha});
  QTest::mouseClick(W().btnIncAll, Qt::LeftButton);
  EXPECT_EQ(ItemsOf(W().lstDst), (std::vector<std::string>{demo_.alpha, demo_.beta}));
  EXPECT_EQ(W().lstSrc->count(), 0);
  EXPECT_FALSE(W().btnInclude->isEnabled());
  EXPECT_FALSE(W().btnIncAll->isEnabled());
  QTest::mouseClick(W().btnExAll, Qt::LeftButton);
  EXPECT_EQ(W().lstDst->count(), 0);
  EXPECT_EQ(ItemsOf(W().lstSrc), (std::vector<std::string>{demo_.alpha, demo_.beta}));
  EXPECT_FALSE(W().btnExAll->isEnabled());
  EXPECT_TRUE(W().btnDelAll->isEnabled());
  QTest::mouseClick(W().btnIncAll, Qt::LeftButton);
  SelectSourceRows({});
  Choose({demo_.project});
  QTest::mouseClick(W().btnDelAll, Qt::LeftButton);
  EXPECT_EQ(W().lstSrc->count(), 0);
  EXPECT_EQ(W().lstDst->count(), 0);
  for (QToolButton* b :
       {W().btnInclude, W().btnIncAll, W().btnExclude, W().btnExAll, W().btnDelAll})
    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

TEST_F(MainWindowTest, LeftPressOnTheProcessListIncludesTheSelectedSources) {
  Open();
  Choose({demo_.alpha, demo_.beta});
  QTest::mouseClick(W().btnIncAll, Qt::LeftButton);
  Choose({demo_.project, demo_.include});
  BuildUnitTree(demo_.project);
  // Nothing selected in the source list: nothing moves, the first entry becomes selected and
  // the unit analysis is emptied.
  PressRow(W().lstDst, 0);
  EXPECT_EQ(W().lstDst->count(), 2);
  EXPECT_EQ(SelectedRowsOf(W().lstSrc), std::vector<int>{0});
  EXPECT_TRUE(UnitFileNames().empty());
  // A second press moves it.
  PressRow(W().lstDst, 0);
  EXPECT_EQ(ItemsOf(W().lstDst),
            (std::vector<std::string>{demo_.alpha, demo_.beta, demo_.include}));
  // The right button does nothing.
  PressRow(W().lstDst, 0, Qt::RightButton);
  EXPECT_EQ(W().lstDst->count(), 3);
  // With an empty source list a press does nothing at all.
  QTest::mouseClick(W().btnIncAll, Qt::LeftButton);
  BuildUnitTree(demo_.project);
  PressRow(W().lstDst, 1);
  EXPECT_EQ(W().lstDst->count(), 4);
  EXPECT_FALSE(UnitFileNames().empty());
}

TEST_F(MainWindowTest, SearchBoxesSetTheirSettings) {
  Open();
  struct Row {
    QCheckBox* TdlgMain::*box;
    bool* setting;
  } rows[] = {{&TdlgMain::chkRTL, &UseRtl},
              {&TdlgMain::chkVCL, &UseVcl},
              {&TdlgMain::chkSearchP, &UseSearchPath}};
  for (const Row& row : rows) {
    QCheckBox* box = W().*row.box;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    EXPECT_TRUE(*row.setting) << box->objectName().toStdString();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    EXPECT_FALSE(*row.setting) << box->objectName().toStdString();
  }
  // Clicking writes nothing to the settings file.
  EXPECT_FALSE(Fs().FileExists(SettingsFile()));
}

TEST_F(MainWindowTest, PopupMenuOpensOverTheControlsThatCarryIt) {
  Open();
  ASSERT_EQ(W().mnuPopup->actions().size(), 3);
  EXPECT_EQ(W().mnuPopup->actions()[0]->text(), "&About");
  EXPECT_TRUE(W().mnuPopup->actions()[1]->isSeparator());
  EXPECT_EQ(W().mnuPopup->actions()[2]->text(), "&Options");
  struct Row {
    const char* name;
    bool opens;
  } rows[] = {
      {"lblSrc", true},      {"lstSrc", true},      {"lstDst", true},    {"btnInclude", true},
      {"btnDelAll", true},   {"btnLCnt", true},     {"btnUDpnd", true},  {"chkRTL", true},
      {"chkVCL", true},      {"btnSource", true},   {"btnCancel", true}, {"pnlButton", true},
      {"pnlOptions", true},  {"pnlLeft", false},    {"pnlDst", false},   {"btnUList", false},
      {"chkReuseIt", false}, {"chkSearchP", false},
  };
  for (const Row& row : rows) {
    auto* w = W().findChild<QWidget*>(QString::fromLatin1(row.name));
    ASSERT_NE(w, nullptr) << row.name;
    // A right click on a list lands on its viewport.
    if (auto* list = qobject_cast<QListWidget*>(w)) w = list->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &event);
    EXPECT_EQ(W().mnuPopup->isVisible(), row.opens) << row.name;
    W().mnuPopup->hide();
  }
  // Escape closes the menu, not the window.
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), W().mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(W().lblSrc, &event);
  ASSERT_TRUE(W().mnuPopup->isVisible());
  QTest::keyClick(W().mnuPopup, Qt::Key_Escape);
  EXPECT_FALSE(W().mnuPopup->isVisible());
  EXPECT_TRUE(W().isVisible());
  EXPECT_FALSE(Fs().FileExists(SettingsFile()));
}

TEST_F(MainWindowTest, PopupMenuItemsOpenTheAboutBoxAndTheOptionsDialog) {
  Open();
  ModalScript script;
  std::string seen;
  auto note = [&](QWidget* d) {
    seen += std::string(d->metaObject()->className()) + ";";
    QMetaObject::invokeMethod(d, "reject", Qt::QueuedConnection);
  };
  script.Then(note).Then(note);
  W().mniAbout->trigger();
  W().mniOptions->trigger();
  EXPECT_EQ(seen, "ravelin::TAboutBox;ravelin::TdlgDefaults;");
  EXPECT_EQ(script.Unexpected(), 0);
}

TEST_F(MainWindowTest, EscapeAndAltXSaveTheSettingsAndClose) {
  struct Row {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
  } rows[] = {
      {"Escape", Qt::Key_Escape, Qt::NoModifier},
      {"Alt+X", Qt::Key_X, Qt::AltModifier},
      {"Alt+Shift+X", Qt::Key_X, Qt::AltModifier | Qt::ShiftModifier},
      {"Cancel button", 0, Qt::NoModifier},
      {"title bar close", -1, Qt::NoModifier},  // saves nothing
  };
  for (const Row& row : rows) {
    std::remove(SettingsFile().c_str());
    Open();
    W().chkVCL->click();
    W().move(40, 60);
    if (row.key == -1) {
      W().close();
      EXPECT_FALSE(W().isVisible());
      EXPECT_FALSE(Fs().FileExists(SettingsFile()));
      continue;
    }
    if (row.key) {
      // The window sees the key before the list that has the focus.
      W().lstDst->setFocus();
      QTest::keyClick(W().lstDst, static_cast<Qt::Key>(row.key), row.modifiers);
    } else {
      QTest::mouseClick(W().btnCancel, Qt::LeftButton);
    }
    EXPECT_FALSE(W().isVisible()) << row.name;
    const std::string ini = ReadBytes(SettingsFile());
    for (const std::string& line :
         {std::string("[LAST]"), std::string("Use VCL=1"), std::string("[dlgMain]"),
          std::string("Top=60"), std::string("Left=40"),
          "Height=" + std::to_string(W().frameGeometry().height()),
          "Width=" + std::to_string(W().frameGeometry().width())})
      EXPECT_NE(ini.find(line), std::string::npos) << row.name << ": " << line << "\n" << ini;
    ResetSettings();
  }
  // A plain X does nothing.
  Open();
  QTest::keyClick(W().lstDst, Qt::Key_X);
  EXPECT_TRUE(W().isVisible());
}

TEST_F(MainWindowTest, UnwritableSettingsFileKeepsTheWindowOpen) {
  std::string blocked = folder_.MakeFolder("blocked.INI");
  SetSettingsFileName(blocked);
  Open();
  QTest::keyClick(W().lstDst, Qt::Key_Escape);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_EQ(ui_.errors[0].rfind("Unable to write to ", 0), 0u) << ui_.errors[0];
  EXPECT_NE(ui_.errors[0].find("blocked.INI"), std::string::npos) << ui_.errors[0];
  EXPECT_TRUE(W().isVisible());
}

TEST_F(MainWindowTest, EachCommandWritesItsReportAsTheWarningDialogAnswers) {
  struct Row {
    const char* name;
    QPushButton* TdlgMain::*command;
    const char* answer;
    bool reportWritten;  // into Ravelin.TXT after the old text, or instead of it
    bool keepsOld;
    bool otherFile;  // into the file chosen after New File
  } rows[] = {
      {"count append", &TdlgMain::btnLCnt, "btnAppend", true, true, false},
      {"count overwrite", &TdlgMain::btnLCnt, "btnOverwrite", true, false, false},
      {"count new file", &TdlgMain::btnLCnt, "btnNewFile", false, true, true},
      {"count cancel", &TdlgMain::btnLCnt, "btnCancel", false, true, false},
      {"list append", &TdlgMain::btnUList, "btnAppend", true, true, false},
      {"list overwrite", &TdlgMain::btnUList, "btnOverwrite", true, false, false},
      {"tree new file", &TdlgMain::btnUTree, "btnNewFile", false, true, true},
      {"tree cancel", &TdlgMain::btnUTree, "btnCancel", false, true, false},
      {"depend append", &TdlgMain::btnUDpnd, "btnAppend", true, true, false},
      {"depend overwrite", &TdlgMain::btnUDpnd, "btnOverwrite", true, false, false},
  };
  Open();
  Choose({demo_.project});
  QTest::mouseClick(W().btnIncAll, Qt::LeftButton);
  const std::string other = folder_ / "other.txt";
  for (const Row& row : rows) {
    folder_.Write("Ravelin.TXT", "old report\r\n");
    std::remove(other.c_str());
    ui_.started.clear();
    ui_.fileAnswers.clear();
    if (std::string(row.answer) == "btnNewFile")
      ui_.fileAnswers.push_back(std::vector<std::string>{other});
    std::string message;
    ModalScript script;
    script.Then([&](QWidget* dialog) {
      auto* warning = qobject_cast<TdlgFileExists*>(dialog);
      ASSERT_NE(warning, nullptr) << row.name;
      message = warning->Message().toStdString();
      warning->findChild<QPushButton*>(QString::fromLatin1(row.answer))->click();
    });
    QTest::mouseClick(W().*row.command, Qt::LeftButton);
    EXPECT_EQ(script.Handled(), 1) << row.name;
    EXPECT_EQ(script.Unexpected(), 0) << row.name;
    EXPECT_EQ(message, "The report file \"" + ReportName() +
                           "\" already exists. Either Append, Overwrite, Select a new file or "
                           "Cancel.")
        << row.name;
    std::string report = ReadBytes(ReportName());
    if (row.reportWritten) {
      EXPECT_GT(report.size(), std::string("old report\r\n").size()) << row.name;
      EXPECT_EQ(report.rfind("old report\r\n", 0) == 0, row.keepsOld) << row.name;
    } else {
      EXPECT_EQ(report, "old report\r\n") << row.name;
    }
    if (row.otherFile) {
      EXPECT_FALSE(ReadBytes(other).empty()) << row.name;
    }
    bool written = row.reportWritten || row.otherFile;
    ASSERT_EQ(ui_.started.size(), written ? 1u : 0u) << row.name;
    if (written) {
      EXPECT_EQ(ui_.started[0].args.back(), row.otherFile ? other : ReportName()) << row.name;
    }
    EXPECT_TRUE(ui_.errors.empty()) << row.name;
    EXPECT_EQ(ui_.busyDepth, 0) << row.name;
  }
}

TEST_F(MainWindowTest, ReuseListAsksFirstAndThenMakesAppendTheDefault) {
  Open();
  Choose({demo_.project});
  QTest::mouseClick(W().btnIncAll, Qt::LeftButton);
  EXPECT_FALSE(W().chkReuseIt->isEnabled());
  QTest::mouseClick(W().btnUList, Qt::LeftButton);  // no report yet: no warning
  EXPECT_TRUE(ui_.questions.empty());
  EXPECT_TRUE(W().chkReuseIt->isEnabled());
  const int busyAfterFirst = ui_.busyCount;
  EXPECT_EQ(busyAfterFirst, 1);

  // Unchecked: the question comes, after the warning dialog with Overwrite as default.
  ui_.yesNoAnswers = {true};
  bool appendDefault = true;
  {
    ModalScript script;
    script.Then([&](QWidget* dialog) {
      auto* warning = qobject_cast<TdlgFileExists*>(dialog);
      appendDefault = warning->btnAppend->isDefault();
      EXPECT_TRUE(warning->btnOverwrite->isDefault());
      warning->btnAppend->click();
    });
    QTest::mouseClick(W().btnUTree, Qt::LeftButton);
    EXPECT_EQ(script.Handled(), 1);
  }
  EXPECT_FALSE(appendDefault);
  EXPECT_EQ(ui_.questions, std::vector<std::string>{"Reuse existing list of units?"});
  EXPECT_EQ(ui_.busyCount, busyAfterFirst);  // reused: no new analysis

  // Checked: no question, and Append is the default answer.
  QTest::mouseClick(W().chkReuseIt, Qt::LeftButton, {}, QPoint(5, W().chkReuseIt->height() / 2));
  ASSERT_TRUE(W().chkReuseIt->isChecked());
  {
    ModalScript script;
    script.Then([&](QWidget* dialog) {
      auto* warning = qobject_cast<TdlgFileExists*>(dialog);
      appendDefault = warning->btnAppend->isDefault();
      warning->btnAppend->click();
    });
    QTest::mouseClick(W().btnUDpnd, Qt::LeftButton);
  }
  EXPECT_TRUE(appendDefault);
  EXPECT_EQ(ui_.questions.size(), 1u);

  // A move by the user empties the unit list; the box stays enabled until a command ends.
  QTest::mouseClick(W().btnExAll, Qt::LeftButton);
  EXPECT_TRUE(UnitFileNames().empty());
  EXPECT_TRUE(W().chkReuseIt->isEnabled());
}

TEST_F(MainWindowTest, LineCountSortsTheProcessListAndWritesTheListFile) {
  Open();
  Choose({demo_.alpha, demo_.beta, demo_.project});
  IncludeSourceRow(2);
  IncludeSourceRow(0);
  ASSERT_EQ(ItemsOf(W().lstDst), (std::vector<std::string>{demo_.project, demo_.alpha}));
  QTest::mouseClick(W().btnLCnt, Qt::LeftButton);
  EXPECT_TRUE(ui_.errors.empty());
  EXPECT_EQ(ItemsOf(W().lstDst), (std::vector<std::string>{demo_.alpha, demo_.project}));
  EXPECT_EQ(ReadBytes(folder_ / "Tallion.Files"), demo_.alpha + "\r\n" + demo_.project + "\r\n");
  std::string report = ReadBytes(ReportName());
  EXPECT_NE(report.find("Alpha.pas"), std::string::npos);
  EXPECT_NE(report.find("Demo.dpr"), std::string::npos);
  // The list stays sorted: a file moved in later takes its sorted place.
  IncludeSourceRow(0);
  EXPECT_EQ(ItemsOf(W().lstDst),
            (std::vector<std::string>{demo_.alpha, demo_.beta, demo_.project}));
}

TEST_F(MainWindowTest, CommandsWorkInFoldersWithBlanksQuotesDollarsAndOtherBytes) {
  const char* names[] = {"with blanks", "it's \"quoted\"", "$HOME and $(x)", "caf\xC3\xA9",
                         "caf\xE9 latin"};
  Open();
  for (const char* name : names) {
    const std::string dir = folder_.MakeFolder(name) + "/";
    const std::string project = folder_.Write(
        std::string(name) + "/Prj.dpr", "program Prj;\r\nuses\r\n  Gamma;\r\nbegin\r\nend.\r\n");
    const std::string gamma = folder_.Write(
        std::string(name) + "/Gamma.pas", "unit Gamma;\r\ninterface\r\nimplementation\r\nend.\r\n");
    const std::string report = dir + DefaultReportName;
    ui_.started.clear();
    QTest::mouseClick(W().btnDelAll, Qt::LeftButton);
    Choose({project, gamma});
    EXPECT_EQ(W().Logic().SrcCaption, dir) << name;
    QTest::mouseClick(W().btnIncAll, Qt::LeftButton);

    // No report yet: Line Count writes the list file and the report without a question.
    QTest::mouseClick(W().btnLCnt, Qt::LeftButton);
    EXPECT_EQ(ReadBytes(dir + "Tallion.Files"), gamma + "\r\n" + project + "\r\n") << name;
    EXPECT_NE(ReadBytes(report).find("PATH: " + dir + "\r\n"), std::string::npos) << name;

    // The report exists now: Unit List asks, and Append adds the unit list after the count.
    ModalScript script;
    script.Then([](QWidget* dialog) { qobject_cast<TdlgFileExists*>(dialog)->btnAppend->click(); });
    QTest::mouseClick(W().btnUList, Qt::LeftButton);
    EXPECT_EQ(script.Handled(), 1) << name;
    EXPECT_EQ(W().Logic().Dst.Items(), std::vector<std::string>{project}) << name;
    std::string text = ReadBytes(report);
    EXPECT_NE(text.find("PATH: " + dir), std::string::npos) << name;
    EXPECT_NE(text.find(gamma), std::string::npos) << name;
    EXPECT_GT(text.find(gamma), text.find("PATH: " + dir)) << name;

    // Both reports went to the viewer as one argument each, the name untouched.
    ASSERT_EQ(ui_.started.size(), 2u) << name;
    for (const auto& started : ui_.started)
      EXPECT_EQ(started.args, std::vector<std::string>{report}) << name;
    EXPECT_TRUE(ui_.errors.empty()) << name << ": " << (ui_.errors.empty() ? "" : ui_.errors[0]);
    ui_.errors.clear();
  }
}

TEST_F(MainWindowTest, ErrorInsideACommandShowsOneMessageAndLeavesTheWindowUsable) {
  Open();
  Choose({demo_.alpha, demo_.beta, demo_.project});
  IncludeSourceRow(2);
  IncludeSourceRow(0);
  const auto src = ItemsOf(W().lstSrc), dst = ItemsOf(W().lstDst);

  FaultyFileSystem faulty;
  ScopedFileSystem installedFs(faulty);
  faulty.unreadable.insert(demo_.project);
  ModalScript script;
  auto overwrite = [](QWidget* dialog) {
    qobject_cast<TdlgFileExists*>(dialog)->btnOverwrite->click();
  };
  script.Then(overwrite).Then(overwrite);
  QTest::mouseClick(W().btnLCnt, Qt::LeftButton);
  ASSERT_EQ(ui_.errors.size(), 1u);
  EXPECT_NE(ui_.errors[0].find(demo_.project), std::string::npos) << ui_.errors[0];
  EXPECT_EQ(ItemsOf(W().lstSrc), src);
  EXPECT_EQ(ItemsOf(W().lstDst), dst);
  EXPECT_EQ(ui_.busyDepth, 0);
  EXPECT_TRUE(ui_.started.empty());

  QTest::mouseClick(W().btnUList, Qt::LeftButton);
  ASSERT_EQ(ui_.errors.size(), 2u);
  EXPECT_NE(ui_.errors[1].find(demo_.project), std::string::npos) << ui_.errors[1];
  EXPECT_EQ(ui_.busyDepth, 0);
  EXPECT_FALSE(W().chkReuseIt->isEnabled());

  // The window goes on working once the file can be read again.
  faulty.unreadable.clear();
  QTest::mouseClick(W().btnUList, Qt::LeftButton);
  EXPECT_EQ(ui_.errors.size(), 2u);
  EXPECT_EQ(ui_.started.size(), 1u);
  EXPECT_EQ(script.Handled(), 2);
  EXPECT_TRUE(W().chkReuseIt->isEnabled());
}

}  // namespace
}  // namespace ravelin
