// The main window and the options dialog, a behaviour table each (tests/data/ui/main_window.txt
// and options_dialog.txt): what the user's clicks, presses and keys do to the lists, the
// fields, the reports and the settings, with the desktop's dialogs and viewer replaced by a
// fake and the modal dialogs answered as a user would.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "DataTable.h"
#include "PassThroughFileSystem.h"
#include "UiTestUtil.h"
#include "common/Error.h"
#include "common/PathUtil.h"
#include "settings/LstGlobal.h"
#include "ui/FrmDeflts.h"
#include "ui/FrmExists.h"
#include "ui/FrmFoldr.h"
#include "ui/FrmMain.h"
#include "ui/ModalResult.h"
#include "units/UnitScan.h"

namespace ravelin {
namespace {

using testing::ModalScript;

/// The disk, except that reading, appending to or replacing the files named fails.
struct FaultyFileSystem : testing::PassThroughFileSystem {
  std::set<std::string> read, append, replace;
  OpenedFile OpenRead(std::string_view p, Readable what) override {
    if (read.count(FullPath(p))) throw IoError("Unable to read " + std::string(p));
    return PassThroughFileSystem::OpenRead(p, what);
  }
  void ReplaceFile(std::string_view p, std::string_view data) override {
    if (replace.count(FullPath(p))) throw IoError("Unable to write to " + std::string(p));
    PassThroughFileSystem::ReplaceFile(p, data);
  }
  void AppendReport(std::string_view p, std::string_view text, ReportStart start) override {
    if (append.count(FullPath(p))) throw IoError("Unable to write to " + std::string(p));
    PassThroughFileSystem::AppendReport(p, text, start);
  }
};

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("Demo.dpr",
                  "program Demo;\r\n\r\nuses\r\n  Alpha, beta;\r\n\r\n{ the main block }\r\n"
                  "begin\r\n  Run; // start\r\nend.\r\n");
    folder_.Write("Alpha.pas",
                  "unit Alpha;\r\ninterface\r\nprocedure Run;\r\nimplementation\r\n"
                  "procedure Run;\r\nbegin\r\nend;\r\nend.\r\n");
    folder_.Write("beta.pas",
                  "unit beta;\r\ninterface\r\nimplementation\r\nuses\r\n  Alpha;\r\nend.\r\n");
    folder_.Write("Defs.inc", "{$DEFINE DEMO}\r\n");
    folder_.MakeFolder("away");
    Settings() = {};
    Settings().ViewerChoice = 1;
    SetSettingsFileName(folder_ / "ravelin.INI");
    UnitAnalysis() = {};
  }
  void TearDown() override {
    window_.reset();
    Settings() = {};
    UnitAnalysis() = {};
  }

  /// Shows the window and closes the About box it opens at start.
  void Open() {
    window_ = std::make_unique<TdlgMain>();
    current_ = window_.get();
    script_ = std::make_unique<ModalScript>();
    Expect([](QWidget* box) { QMetaObject::invokeMethod(box, "accept", Qt::QueuedConnection); });
    window_->show();
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return window_->windowTitle().startsWith("Ravelin  V:"); }));
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  TdlgMain& W() { return *window_; }
  /// Queues an action for the next modal dialog, which must come.
  void Expect(ModalScript::Action action) {
    script_->Then(std::move(action));
    ++expected_;
  }
  template <class T = QWidget>
  T* Named(const std::string& name) {
    return current_->findChild<T*>(QString::fromStdString(name));
  }
  QListWidget* List(const std::string& which) { return which == "src" ? W().lstSrc : W().lstDst; }
  std::vector<std::string> Files(const std::vector<std::string>& words) {
    std::vector<std::string> files;
    for (size_t i = 1; i < words.size(); ++i)
      files.push_back(words[i][0] == '/' ? words[i] : folder_ / words[i]);
    return files;
  }

  /// Does one step of a row; "> STEP" steps are done on the next modal dialog.
  void Do(const std::vector<std::string>& w) {
    const std::string& verb = w[0];
    if (verb == ">") {
      modalSteps_.emplace_back(w.begin() + 1, w.end());
      return;
    }
    if (!modalSteps_.empty()) {  // the step that opens the dialog
      Expect([this, steps = std::move(modalSteps_)](QWidget* modal) {
        QWidget* before = std::exchange(current_, modal);
        for (const auto& step : steps) Do(step);
        current_ = before;
      });
      modalSteps_.clear();
    }
    auto number = [&](size_t i) { return std::stoi(w.at(i)); };
    if (verb == "choose" || verb == "answer") {
      ui_.fileAnswers.push_back(Files(w));
      if (verb == "choose") QTest::mouseClick(W().btnSource, Qt::LeftButton);
    } else if (verb == "select") {
      List(w[1])->clearSelection();
      for (size_t i = 2; i < w.size(); ++i) List(w[1])->item(number(i))->setSelected(true);
    } else if (verb == "press" || verb == "rpress") {
      QListWidget* list = List(w[1]);
      QTest::mouseClick(list->viewport(), verb == "press" ? Qt::LeftButton : Qt::RightButton,
                        Qt::ControlModifier, list->visualItemRect(list->item(number(2))).center());
      QTest::qWait(20);  // the source list opens its dialog once the click is over
    } else if (verb == "click") {
      QWidget* target = Named(w[1]);
      QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, target->height() / 2));
    } else if (verb == "key") {
      const std::string key = w[1];
      QWidget* target = QApplication::activePopupWidget();
      if (target == nullptr && current_ != window_.get()) {  // a dialog may still be activating
        static_cast<void>(QTest::qWaitForWindowActive(current_, 2000));
        target = current_->focusWidget() ? current_->focusWidget() : current_;
      }
      if (target == nullptr) target = QApplication::focusWidget();
      QTest::keyClick(
          target,
          key == "Escape"   ? Qt::Key_Escape
          : key == "Tab"    ? Qt::Key_Tab
          : key == "Return" ? Qt::Key_Return
                            : Qt::Key_X,
          key.find("Alt") != std::string::npos
              ? (key.find("Shift") != std::string::npos ? Qt::AltModifier | Qt::ShiftModifier
                                                        : Qt::AltModifier)
              : Qt::NoModifier);
    } else if (verb == "focus") {
      Named(w[1])->setFocus();
    } else if (verb == "tab") {
      for (int i = 0; i < number(1); ++i) {
        tabs_ += QApplication::focusWidget()->objectName().toStdString() + ",";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
    } else if (verb == "units") {
      BuildUnitTree(folder_ / "Demo.dpr", UnitLookup::FromSettings(Settings()));
    } else if (verb == "yes") {
      ui_.yesNoAnswers.push_back(true);
    } else if (verb == "warn") {  // the warning dialog about the report file: press a button
      Expect([this, button = w[1]](QWidget* modal) {
        auto* dialog = qobject_cast<TdlgFileExists*>(modal);
        ASSERT_NE(dialog, nullptr);
        default_ = dialog->btnAppend->isDefault()      ? "append"
                   : dialog->btnOverwrite->isDefault() ? "overwrite"
                                                       : "?";
        dialog->findChild<QPushButton*>(QString::fromStdString(button))->click();
      });
    } else if (verb == "report") {
      folder_.Write("Ravelin.TXT", "old\r\n");
    } else if (verb == "form") {  // the smallest binary form
      folder_.Write(w[1], testing::ReadBytes(RAVELIN_TEST_DATA "/cli/minimal.dfm"));
    } else if (verb == "viewerfails") {
      for (size_t i = 1; i < w.size(); ++i) ui_.failsWith += (i > 1 ? " " : "") + w[i];
    } else if (verb == "fault") {
      (w[1] == "read"     ? faulty_.read
       : w[1] == "append" ? faulty_.append
                          : faulty_.replace)
          .insert(folder_ / w[2]);
    } else if (verb == "heal") {
      faulty_.read.clear(), faulty_.append.clear(), faulty_.replace.clear();
    } else if (verb == "menu") {  // a right click on a control
      QWidget* target = Named(w[1]);
      if (auto* list = qobject_cast<QListWidget*>(target)) target = list->viewport();
      QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                              target->mapToGlobal(QPoint(2, 2)));
      QApplication::sendEvent(target, &event);
    } else if (verb == "item") {  // a popup menu item: note the dialog it opens
      Expect([this](QWidget* modal) {
        opened_ += std::string(modal->metaObject()->className()) + ",";
        QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
      });
      (w[1] == "about" ? W().mniAbout : W().mniOptions)->trigger();
    } else if (verb == "type") {
      Named<QLineEdit>(w[1])->setText(QString::fromStdString(w.size() > 2 ? w[2] : ""));
    } else if (verb == "open") {  // a folder in the folder dialog
      qobject_cast<TdlgSelectFolder*>(current_)->OpenFolder(w[1]);
    } else if (verb == "exec") {
      result_ = qobject_cast<QDialog*>(current_)->exec();
    } else if (verb == "close") {
      W().close();
    } else if (verb == "reshow") {
      W().hide();
      W().show();
      QTest::qWait(50);
    } else if (verb == "blockini") {
      SetSettingsFileName(folder_.MakeFolder("blocked.INI"));
    } else if (verb == "drag") {
      QPoint at = W().splHorizon->mapToGlobal(QPoint(1, 50));
      for (auto [type, dx, button] :
           {std::tuple(QEvent::MouseButtonPress, 0, Qt::LeftButton),
            std::tuple(QEvent::MouseMove, number(1), Qt::NoButton),
            std::tuple(QEvent::MouseButtonRelease, number(1), Qt::LeftButton)}) {
        QMouseEvent event(type, QPointF(1 + dx, 50), QPointF(at + QPoint(dx, 0)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(W().splHorizon, &event);
      }
    } else if (verb == "resize") {
      W().resize(number(1), number(2));
      QCoreApplication::processEvents();
    } else {
      FAIL() << "no step " << verb;
    }
  }

  /// Runs the rows of a behaviour table; open starts each row's window.
  void RunTable(const std::string& table,
                const std::function<void(const testing::DataRow&)>& open) {
    for (const auto& row : testing::ReadTable(table)) {
      SetUp();
      script_ = std::make_unique<ModalScript>();
      open(row);
      for (const auto& step :
           testing::Steps(ReplaceAll(row.fields[row.fields.size() - 2], "<dir>", folder_.Path())))
        Do(step);
      QTest::qWait(1);  // what a started program tells arrives
      testing::ExpectState(
          row.fields.back(),
          [&](const std::string& key) { return ReplaceAll(State(key), folder_.Path(), "<dir>"); },
          row.where);
      EXPECT_EQ(ui_.busyDepth, 0) << row.where;
      EXPECT_EQ(script_->Handled(), expected_) << row.where;
      EXPECT_EQ(script_->Unexpected(), 0) << row.where;
      expected_ = 0, result_ = -1;
      options_.reset();
      TearDown();
      ui_ = testing::FakeUiServices();
      faulty_.read.clear(), faulty_.append.clear(), faulty_.replace.clear();
      default_.clear(), opened_.clear(), tabs_.clear();
      for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
        std::filesystem::remove_all(entry.path());
      Fs().ClearCache();
    }
  }

  /// What the window shows or did, by the name of a row's check.
  std::string State(const std::string& key) {
    if (key.find('.') != std::string::npos) {  // CONTROL.text, .checked, .enabled, .default
      QWidget* w = Named(TextBefore(key, "."));
      const std::string what = TextAfter(key, ".");
      if (what == "text") {
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
        return qobject_cast<QAbstractButton*>(w)->text().toStdString();
      }
      if (what == "checked") return qobject_cast<QAbstractButton*>(w)->isChecked() ? "1" : "0";
      if (what == "default") return qobject_cast<QPushButton*>(w)->isDefault() ? "1" : "0";
      if (what == "left") return std::to_string(w->x());
      if (what == "width") return std::to_string(w->width());
      return w->isEnabled() ? "1" : "0";
    }
    auto items = [&](QListWidget* list) {
      std::string text;
      for (int i = 0; i < list->count(); ++i)
        text += (i ? "," : "") + NamePart(list->item(i)->text().toStdString()) +
                (list->item(i)->isSelected() ? "*" : "");
      return text;
    };
    auto reports = [&](const std::string& name) {
      const std::string text = testing::ReadBytes(folder_ / name);
      if (!std::filesystem::exists(folder_ / name)) return std::string("none");
      std::string kinds = text.rfind("old\r\n", 0) == 0 ? "old" : "";
      for (size_t at = 0; at < text.size(); ++at) {
        for (auto [title, kind] :
             {std::pair("Line Count Detailed", "count"), std::pair("Unit File Listing", "list"),
              std::pair("Unit Tree Chart", "tree"), std::pair("Unit Dependency Table", "depend")})
          if (text.compare(at, std::strlen(title), title) == 0)
            kinds += (kinds.empty() ? "" : "+") + std::string(kind);
      }
      return kinds.empty() ? "empty" : kinds;
    };
    if (key == "src" || key == "dst") return items(List(key));
    if (key == "buttons") {
      std::string on;
      for (QToolButton* b :
           {W().btnInclude, W().btnIncAll, W().btnExclude, W().btnExAll, W().btnDelAll})
        if (b->isEnabled()) on += (on.empty() ? "" : ",") + b->text().toStdString();
      return on;
    }
    if (key == "reuse")
      return std::string(W().chkReuseIt->isEnabled() ? "on" : "off") +
             (W().chkReuseIt->isChecked() ? ",checked" : "");
    if (key == "units") return UnitAnalysis().UnitFiles.Count() == 0 ? "none" : "kept";
    if (key == "focus")
      return QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                         : "";
    if (key == "caret")
      return std::to_string(W().lstSrc->currentRow()) + "," +
             std::to_string(W().lstDst->currentRow());
    if (key == "label")
      return ReplaceAll(W().lblSrc->text().toStdString(), folder_.Path(), "<dir>");
    if (key == "report") return reports("Ravelin.TXT");
    if (key == "other") return reports("other.txt");
    if (key == "away") return reports("away/other.txt");
    if (key == "scratch")
      return std::filesystem::exists(folder_ / "Tallion.TXT")        ? "source"
             : std::filesystem::exists(folder_ / "away/Tallion.TXT") ? "away"
                                                                     : "none";
    if (key == "unitfiles") {
      std::string names;
      for (const std::string& name : UnitAnalysis().UnitFiles.Names()) names += (names.empty() ? "" : ",") + name;
      return names;
    }
    if (key == "message")
      return ReplaceAll(ReplaceAll(ui_.errors.empty() ? "" : ui_.errors[0], "\n", "|"), " ", "_");
    if (key == "clipped") return testing::ClippedTexts(&W());
    if (key == "cancel")
      return W().btnCancel->x() == W().pnlDst->x() && W().btnCancel->width() == W().pnlDst->width()
                 ? "under"
                 : std::to_string(W().btnCancel->x()) + "," +
                       std::to_string(W().btnCancel->width());
    if (key == "listfile")
      return ReplaceAll(ReplaceAll(testing::ReadBytes(folder_ / "Tallion.Files"), folder_ / "", ""),
                        "\r\n", ",");
    if (key == "viewer") {
      std::string shown;
      for (const auto& started : ui_.started)
        shown += (shown.empty() ? "" : ",") + NamePart(started.back());
      return shown;
    }
    if (key == "questions") return std::to_string(ui_.questions.size());
    if (key == "dialogs") return std::to_string(ui_.fileRequests.size());
    if (key == "errors") return std::to_string(ui_.errors.size());
    if (key == "error") {
      for (const char* name :
           {"Demo.dpr", "Alpha.pas", "beta.pas", "Tallion.Files", "Ravelin.TXT", "blocked.INI"})
        if (!ui_.errors.empty() && ui_.errors[0].find(folder_ / name) != std::string::npos)
          return name;
      return ui_.errors.empty() ? "" : ui_.errors[0];
    }
    if (key == "busy") return std::to_string(ui_.busyCount) + (ui_.busyDepth ? "+" : "");
    if (key == "default") return default_;
    if (key == "menu") return W().mnuPopup->isVisible() ? "1" : "0";
    if (key == "opened") return opened_;
    if (key == "visible") return W().isVisible() ? "1" : "0";
    if (key == "ini") {
      const std::string ini = testing::ReadBytes(folder_ / "ravelin.INI");
      if (ini.empty()) return "none";
      return "VCL" + TextBefore(TextAfter(ini, "Use VCL="), "\r") +
             (ini.find("[dlgMain]\r\nTop=") != std::string::npos ? ",placed" : "");
    }
    if (key == "search")
      return std::string(Settings().UseRtl ? "rtl" : "") + (Settings().UseVcl ? "vcl" : "") +
             (Settings().UseSearchPath ? "search" : "");
    if (key == "tabs") return tabs_;
    if (key == "left")
      return std::to_string(W().pnlLeft->width()) + "," + std::to_string(W().pnlDst->x());
    if (key == "size") return std::to_string(W().width()) + "x" + std::to_string(W().height());
    if (key == "result") return result_ == mrOk ? "ok" : result_ == mrCancel ? "cancel" : "open";
    if (key == "settings")
      return std::to_string(Settings().ViewerChoice) + "|" + Settings().RtlPath + "|" +
             Settings().VclPath + "|" + Settings().ViewerPath + "|" + Settings().SearchPaths;
    if (key == "file") {  // the [LAST] section, blanks written "_"
      const std::string text = ReplaceAll(
          ReplaceAll(testing::ReadBytes(folder_ / "ravelin.INI"), "\r\n", ","), " ", "_");
      return TextBefore(TextAfter(text, "[LAST],"), ",[dlgDefaults]") +
             (text.find("[dlgDefaults]") != std::string::npos ? ",placed" : "");
    }
    if (key == "cwd") return ReplaceAll(Fs().CurrentFolder(), folder_.Path(), "<dir>");
    if (key == "filter")
      return ui_.fileRequests.empty() ? ""
                                      : std::to_string(ui_.fileRequests[0].filterIndex) +
                                            ui_.fileRequests[0].initialFile;
    if (key == "place")
      return std::to_string(current_->x()) + "," + std::to_string(current_->y()) + "," +
             std::to_string(current_->width());
    return "no check " + key;
  }

  testing::TempFolder folder_;
  testing::ScopedCurrentFolder cwd_;
  testing::FakeUiServices ui_;
  ScopedUiServices installed_{ui_};
  FaultyFileSystem faulty_;
  ScopedFileSystem installedFs_{faulty_};
  std::unique_ptr<TdlgMain> window_;
  std::unique_ptr<TdlgDefaults> options_;
  QWidget* current_ = nullptr;  // the window the steps act on
  std::vector<std::vector<std::string>> modalSteps_;
  int result_ = -1;
  std::unique_ptr<ModalScript> script_;
  int expected_ = 0;  // modal dialogs the row's steps expect
  std::string default_, opened_, tabs_;
};

TEST_F(Windows, MainWindowDoesWhatItsTableSays) {
  RunTable("ui/main_window.txt", [this](const testing::DataRow&) { Open(); });
}

TEST_F(Windows, OptionsDialogDoesWhatItsTableSays) {
  RunTable("ui/options_dialog.txt", [this](const testing::DataRow& row) {
    for (const char* name : {"rtl", "vcl", "one", "two", "home"}) folder_.MakeFolder(name);
    Fs().SetCurrentFolder(folder_ / "home");
    folder_.Write("ravelin.INI", ReplaceAll(row.fields[1], "<dir>", folder_.Path()));
    if (row.fields[1] == "blocked") SetSettingsFileName(folder_ / "ravelin.INI/x.INI");
    Settings().ViewerChoice = 9, Settings().RtlPath = "changed in memory";
    options_ = std::make_unique<TdlgDefaults>();
    current_ = options_.get();
  });
}

TEST_F(Windows, FirstShowingLoadsTheSettingsAndPlacementAndShowsTheVersion) {
  folder_.Write("ravelin.INI",
                "[LAST]\r\nUse RTL=1\r\nUse VCL=0\r\nUse Search Path=1\r\n"
                "[dlgMain]\r\nTop=100\r\nLeft=0x32\r\nHeight=327\r\nWidth=608\r\n");
  Open();
  EXPECT_EQ(W().windowTitle().toStdString(), "Ravelin  V:" RAVELIN_VERSION "  Aug 2000");
  EXPECT_TRUE(W().chkRTL->isChecked() && !W().chkVCL->isChecked() && W().chkSearchP->isChecked());
  EXPECT_EQ(std::vector<int>({W().Top(), W().Left(), W().Height(), W().Width()}),
            std::vector<int>({100, 50, 327, 608}));
  EXPECT_EQ(W().pnlOptions->x(), W().width() - 80);  // the panels follow the larger window
}

}  // namespace
}  // namespace ravelin
