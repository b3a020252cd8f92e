// The options dialog "Defaults", one behaviour table (tests/data/ui/options_dialog.txt): what
// typing, the buttons and the keys do to the settings and their file.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "DataTable.h"
#include "UiTestUtil.h"
#include "settings/LstGlobal.h"
#include "ui/FrmDeflts.h"
#include "ui/FrmFoldr.h"
#include "ui/ModalResult.h"

namespace ravelin {
namespace {

using testing::ModalScript;

class OptionsDialog : public ::testing::Test {
 protected:
  void TearDown() override {
    SetSettingsFileName("");
    ViewerChoice = 0, ViewerPath = RtlPath = VclPath = SearchPaths = "";
  }
  testing::TempFolder folder_;
  testing::ScopedCurrentFolder cwd_;
  testing::FakeUiServices ui_;
  ScopedUiServices installed_{ui_};
};

TEST_F(OptionsDialog, DoesWhatItsBehaviourTableSays) {
  for (const auto& row : testing::ReadTable("ui/options_dialog.txt")) {
    for (const char* name : {"rtl", "vcl", "one", "two", "home"}) folder_.MakeFolder(name);
    Fs().SetCurrentFolder(folder_ / "home");
    folder_.Write("ravelin.INI", ReplaceAll(row.fields[1], "<dir>", folder_.Path()));
    SetSettingsFileName(folder_ /
                        (row.fields[1] == "blocked" ? "ravelin.INI/x.INI" : "ravelin.INI"));
    ViewerChoice = 9, RtlPath = "changed in memory";
    ui_ = testing::FakeUiServices();
    auto dialog = std::make_unique<TdlgDefaults>();
    ModalScript script;
    int result = -1;
    auto edit = [&](const std::string& name) {
      return name == "rtl"      ? dialog->edtRTL
             : name == "vcl"    ? dialog->edtVCL
             : name == "search" ? dialog->edtSearch
                                : dialog->edtViewer;
    };
    for (const auto& w : testing::Steps(ReplaceAll(row.fields[2], "<dir>", folder_.Path()))) {
      const std::string verb = w[0], arg = w.size() > 1 ? w[1] : "",
                        folder = w.size() > 2 ? w[2] : "";
      if (verb == "type") edit(arg)->setText(QString::fromStdString(folder));
      if (verb == "radio")
        QTest::mouseClick(arg == "notepad" ? dialog->btnNotePad
                          : arg == "other" ? dialog->btnOther
                                           : dialog->btnWordPad,
                          Qt::LeftButton);
      if (verb == "pick" || verb == "unpick") {  // a folder button, then the folder dialog
        script.Then([verb, folder](QWidget* modal) {
          auto* form = qobject_cast<TdlgSelectFolder*>(modal);
          ASSERT_NE(form, nullptr);
          form->OpenFolder(folder);
          QTest::mouseClick(verb == "pick" ? form->btnOk : form->btnCancel, Qt::LeftButton);
        });
        QTest::mouseClick(arg == "rtl"   ? dialog->btnGetRTL
                          : arg == "vcl" ? dialog->btnGetVCL
                                         : dialog->btnSearch,
                          Qt::LeftButton);
      }
      if (verb == "viewer") {
        ui_.fileAnswers.push_back(arg.empty() ? std::nullopt
                                              : std::optional(std::vector<std::string>{arg}));
        QTest::mouseClick(dialog->btnGetView, Qt::LeftButton);
      }
      if (verb == "ok" || verb == "cancel" || verb == "escape") {
        script.Then([&, verb](QWidget* modal) {
          if (verb == "escape") return QTest::keyClick(modal, Qt::Key_Escape);
          QTest::mouseClick(verb == "ok" ? dialog->btnOk : dialog->btnCancel, Qt::LeftButton);
        });
        result = dialog->exec();
      }
    }
    testing::ExpectState(
        ReplaceAll(row.fields[3], "<dir>", folder_.Path()),
        [&](const std::string& key) -> std::string {
          if (key == "result")
            return result == mrOk ? "ok" : result == mrCancel ? "cancel" : "open";
          if (key == "viewer")
            return std::to_string(dialog->btnWordPad->isChecked()   ? 0
                                  : dialog->btnNotePad->isChecked() ? 1
                                                                    : 2);
          if (key == "rtl" || key == "vcl" || key == "search" || key == "program")
            return edit(key == "program" ? "viewer" : key)->text().toStdString();
          if (key == "settings")
            return std::to_string(ViewerChoice) + "|" + RtlPath + "|" + VclPath + "|" + ViewerPath +
                   "|" + SearchPaths;
          if (key == "file") {  // the [LAST] section, blanks written "_"
            const std::string text = ReplaceAll(
                ReplaceAll(testing::ReadBytes(folder_ / "ravelin.INI"), "\r\n", ","), " ", "_");
            return TextBefore(TextAfter(text, "[LAST],"), ",[dlgDefaults]") +
                   (text.find("[dlgDefaults]") != std::string::npos ? ",placed" : "");
          }
          if (key == "errors") return std::to_string(ui_.errors.size());
          if (key == "cwd") return Fs().CurrentFolder();
          if (key == "filter")
            return ui_.fileRequests.empty() ? ""
                                            : std::to_string(ui_.fileRequests[0].filterIndex) +
                                                  ui_.fileRequests[0].initialFile;
          if (key == "place")
            return std::to_string(dialog->x()) + "," + std::to_string(dialog->y()) + "," +
                   std::to_string(dialog->width());
          return "no check " + key;
        },
        row.where);
    EXPECT_EQ(script.Unexpected(), 0) << row.where;
  }
}

}  // namespace
}  // namespace ravelin
