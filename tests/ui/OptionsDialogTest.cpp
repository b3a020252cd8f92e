// The options dialog "Defaults": loading, saving, cancelling and its three kinds of buttons.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "DialogTestUtil.h"
#include "FakeUiServices.h"
#include "settings/LstGlobal.h"
#include "ui/FrmDeflts.h"
#include "ui/FrmFoldr.h"
#include "ui/ModalResult.h"

namespace ravelin {
namespace {

using testing::FakeUiServices;
using testing::ModalScript;
using testing::NextTabStop;
using testing::ReadBytes;
using testing::ScopedCurrentFolder;
using testing::TempFolder;

// The settings variables, kept so that a test leaves them as it found them.
struct SettingsSnapshot {
  int choice = ViewerChoice;
  std::string paths[4] = {ViewerPath, RtlPath, VclPath, SearchPaths};
  bool uses[3] = {UseRtl, UseVcl, UseSearchPath};
  void Restore() const {
    ViewerChoice = choice;
    ViewerPath = paths[0], RtlPath = paths[1], VclPath = paths[2], SearchPaths = paths[3];
    UseRtl = uses[0], UseVcl = uses[1], UseSearchPath = uses[2];
  }
};

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    iniName = folder / "ravelin.INI";
    SetSettingsFileName(iniName);
  }
  void TearDown() override {
    SetSettingsFileName("");
    saved.Restore();
  }
  void WriteIni(const std::string& text) { folder.Write("ravelin.INI", text); }

  TempFolder folder;
  ScopedCurrentFolder cwd;
  FakeUiServices ui;
  ScopedUiServices installed{ui};
  SettingsSnapshot saved;
  std::string iniName;
};

TEST_F(OptionsDialogTest, ShowsTheDesignedControls) {
  TdlgDefaults dialog;
  EXPECT_EQ(dialog.windowTitle(), "Defaults");
  EXPECT_EQ(dialog.gbxPaths->title(), "Paths for Delphi");
  EXPECT_EQ(dialog.btnWordPad->text(), "WordPad");
  EXPECT_EQ(dialog.btnNotePad->text(), "NotePad");
  EXPECT_EQ(dialog.btnOther->text(), "Other");
  EXPECT_EQ(dialog.btnOk->text(), "&OK");
  EXPECT_EQ(dialog.btnCancel->text(), "&Cancel");
  EXPECT_EQ(dialog.dlgFolder.Caption, "Select Folder");
  QWidget* order[] = {dialog.edtRTL,     dialog.edtVCL,     dialog.edtSearch,
                      dialog.btnWordPad, dialog.btnNotePad, dialog.btnOther,
                      dialog.edtViewer,  dialog.btnOk,      dialog.btnCancel};
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_EQ(NextTabStop(order[i]), order[i + 1]) << order[i]->objectName().toStdString();
  }
  // Every control inside the dialog, the OK and Cancel buttons below the viewer panel.
  for (QWidget* control : order) {
    QRect inDialog(control->mapTo(&dialog, QPoint(0, 0)), control->size());
    EXPECT_TRUE(dialog.rect().contains(inDialog)) << control->objectName().toStdString();
  }
}

TEST_F(OptionsDialogTest, CreationReloadsTheSettingsIntoTheFields) {
  struct Row {
    const char* viewer;
    QRadioButton* TdlgDefaults::*checked;
  } rows[] = {
      {"0", &TdlgDefaults::btnWordPad}, {"1", &TdlgDefaults::btnNotePad},
      {"2", &TdlgDefaults::btnOther},   {"7", &TdlgDefaults::btnOther},
      {"x", &TdlgDefaults::btnWordPad},
  };
  for (const Row& row : rows) {
    WriteIni(std::string("[LAST]\r\nViewer=") + row.viewer +
             "\r\nRTL=/opt/rtl/\r\nVCL=/opt/vcl\r\nViewer Path=/usr/bin/less\r\n"
             "Search Paths=/a/;/b/\r\nUse RTL=0\r\n");
    UseRtl = true;  // changed in memory, not saved: creation reloads it
    TdlgDefaults dialog;
    EXPECT_TRUE((dialog.*row.checked)->isChecked()) << row.viewer;
    EXPECT_EQ(dialog.edtRTL->text(), "/opt/rtl/") << row.viewer;
    EXPECT_EQ(dialog.edtVCL->text(), "/opt/vcl") << row.viewer;
    EXPECT_EQ(dialog.edtViewer->text(), "/usr/bin/less") << row.viewer;
    EXPECT_EQ(dialog.edtSearch->text(), "/a/;/b/") << row.viewer;
    EXPECT_FALSE(UseRtl) << row.viewer;
  }
}

TEST_F(OptionsDialogTest, PlacementTakesPositionAndWidthButNotHeight) {
  WriteIni("[dlgDefaults]\r\nTop=0x40\r\nLeft=30\r\nHeight=999\r\nWidth=2000\r\n");
  TdlgDefaults dialog;
  int designHeight = TdlgDefaults().height();
  EXPECT_EQ(dialog.pos(), QPoint(30, 64));
  EXPECT_EQ(dialog.width(), 2000);
  EXPECT_EQ(dialog.height(), designHeight);
}

TEST_F(OptionsDialogTest, OkStoresTheFieldsWithTrailingSlashes) {
  struct Row {
    const char* typed;
    const char* stored;
  } rows[] = {
      {"/opt/rtl", "/opt/rtl/"},
      {"/opt/rtl/", "/opt/rtl/"},
      {"C:\\delphi\\", "C:\\delphi\\"},
      {"", ""},
  };
  for (const Row& row : rows) {
    WriteIni("");
    TdlgDefaults dialog;
    dialog.edtRTL->setText(row.typed);
    dialog.edtVCL->setText(row.typed);
    dialog.edtSearch->setText("/s1;/s2");
    dialog.edtViewer->setText("/usr/bin/my viewer");
    QTest::mouseClick(dialog.btnNotePad, Qt::LeftButton);
    ModalScript script;
    script.Then([&](QWidget*) { QTest::mouseClick(dialog.btnOk, Qt::LeftButton); });
    EXPECT_EQ(dialog.exec(), mrOk) << row.typed;
    EXPECT_EQ(RtlPath, row.stored) << row.typed;
    EXPECT_EQ(VclPath, row.stored) << row.typed;
    EXPECT_EQ(SearchPaths, "/s1;/s2") << row.typed;
    EXPECT_EQ(ViewerPath, "/usr/bin/my viewer") << row.typed;
    EXPECT_EQ(ViewerChoice, 1) << row.typed;
    std::string ini = ReadBytes(iniName);
    EXPECT_NE(ini.find(std::string("RTL=") + row.stored + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Viewer=1\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[dlgDefaults]"), std::string::npos) << ini;
    EXPECT_TRUE(ui.errors.empty()) << row.typed;
  }
}

TEST_F(OptionsDialogTest, OkKeepsSettingsThatAreNotUtf8ByteForByte) {
  // Folders named in another code page: the edits show them as best they can, and OK stores
  // the bytes that were loaded, not what the display made of them.
  struct Row {
    const char* key;
    std::string* setting;
    const char* bytes;
  } rows[] = {
      {"RTL", &RtlPath, "/opt/caf\xE9/"},
      {"VCL", &VclPath, "/opt/vcl \xFF\xFE/"},
      {"Search Paths", &SearchPaths, "/s\xE9;/t\xC3("},
      {"Viewer Path", &ViewerPath, "/usr/bin/v\xE9w"},
  };
  std::string ini = "[LAST]\r\nViewer=2\r\n";
  for (const Row& row : rows) ini += std::string(row.key) + "=" + row.bytes + "\r\n";
  WriteIni(ini);
  TdlgDefaults dialog;
  for (const Row& row : rows) *row.setting = "changed in memory";
  ModalScript script;
  script.Then([&](QWidget*) { QTest::mouseClick(dialog.btnOk, Qt::LeftButton); });
  ASSERT_EQ(dialog.exec(), mrOk);
  for (const Row& row : rows) {
    EXPECT_EQ(*row.setting, row.bytes) << row.key;
    EXPECT_NE(ReadBytes(iniName).find(std::string(row.key) + "=" + row.bytes + "\r\n"),
              std::string::npos)
        << row.key;
  }
  // A field the user changed takes the new text.
  TdlgDefaults edited;
  edited.edtRTL->setText(QStringLiteral("/opt/new"));
  script.Then([&](QWidget*) { QTest::mouseClick(edited.btnOk, Qt::LeftButton); });
  ASSERT_EQ(edited.exec(), mrOk);
  EXPECT_EQ(RtlPath, "/opt/new/");
  EXPECT_EQ(VclPath, "/opt/vcl \xFF\xFE/");
}

TEST_F(OptionsDialogTest, OkClosesEvenWhenTheSettingsCannotBeWritten) {
  folder.Write("blocker", "a file where a folder should be");
  SetSettingsFileName(folder / "blocker/ravelin.INI");
  TdlgDefaults dialog;
  dialog.edtRTL->setText("/new");
  ModalScript script;
  script.Then([&](QWidget*) { QTest::mouseClick(dialog.btnOk, Qt::LeftButton); });
  EXPECT_EQ(dialog.exec(), mrOk);
  EXPECT_EQ(RtlPath, "/new/");
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0].rfind("Unable to write to ", 0), 0u) << ui.errors[0];
}

TEST_F(OptionsDialogTest, CancelAndEscapeStoreNothing) {
  const std::string ini = "[LAST]\r\nRTL=/kept/\r\nViewer=1\r\n";
  for (bool escape : {false, true}) {
    WriteIni(ini);
    TdlgDefaults dialog;
    dialog.edtRTL->setText("/changed");
    dialog.btnOther->setChecked(true);
    ModalScript script;
    script.Then([&](QWidget* modal) {
      if (escape) {
        QTest::keyClick(modal, Qt::Key_Escape);
      } else {
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
      }
    });
    EXPECT_EQ(dialog.exec(), mrCancel) << escape;
    EXPECT_EQ(RtlPath, "/kept/") << escape;
    EXPECT_EQ(ViewerChoice, 1) << escape;
    EXPECT_EQ(ReadBytes(iniName), ini) << escape;
  }
}

// Picks a folder in the folder form: checks where it starts, opens target, presses OK.
ModalScript::Action PickFolder(std::string expectedStart, std::string target) {
  return [expectedStart, target](QWidget* modal) {
    auto* form = qobject_cast<TdlgSelectFolder*>(modal);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Select Folder");
    if (!expectedStart.empty()) {
      EXPECT_EQ(form->Directory(), expectedStart);
    }
    EXPECT_TRUE(form->OpenFolder(target)) << target;
    QTest::mouseClick(form->btnOk, Qt::LeftButton);
  };
}

TEST_F(OptionsDialogTest, FolderButtonsFillTheirFieldAndRestoreTheCurrentFolder) {
  std::string rtl = folder.MakeFolder("rtl now");
  std::string chosen = folder.MakeFolder("rtl new");
  std::string vcl = folder.MakeFolder("vcl");
  std::string home = folder.MakeFolder("home");
  Fs().SetCurrentFolder(home);
  TdlgDefaults dialog;
  dialog.edtRTL->setText(QString::fromStdString(rtl));
  ModalScript script;
  script.Then(PickFolder(rtl, chosen)).Then(PickFolder("", vcl)).Then([&](QWidget* modal) {
    auto* form = qobject_cast<TdlgSelectFolder*>(modal);
    ASSERT_NE(form, nullptr);
    form->OpenFolder(rtl);
    QTest::mouseClick(form->btnCancel, Qt::LeftButton);  // cancelled: the field stays
  });
  QTest::mouseClick(dialog.btnGetRTL, Qt::LeftButton);
  EXPECT_EQ(dialog.edtRTL->text().toStdString(), chosen + "/");
  EXPECT_EQ(Fs().CurrentFolder(), home);
  QTest::mouseClick(dialog.btnGetVCL, Qt::LeftButton);
  EXPECT_EQ(dialog.edtVCL->text().toStdString(), vcl + "/");
  EXPECT_EQ(Fs().CurrentFolder(), home);
  QTest::mouseClick(dialog.btnGetRTL, Qt::LeftButton);
  EXPECT_EQ(dialog.edtRTL->text().toStdString(), chosen + "/");
  EXPECT_EQ(Fs().CurrentFolder(), home);
  EXPECT_EQ(script.Handled(), 3);
}

TEST_F(OptionsDialogTest, SearchButtonAppendsEachFolderAfterASemicolon) {
  std::string one = folder.MakeFolder("one");
  std::string two = folder.MakeFolder("two");
  for (const char* start : {"", "/first"}) {
    TdlgDefaults dialog;
    dialog.edtSearch->setText(start);
    ModalScript script;
    // The second pick starts where the first one ended.
    script.Then(PickFolder("", one)).Then(PickFolder(one, two));
    QTest::mouseClick(dialog.btnSearch, Qt::LeftButton);
    QTest::mouseClick(dialog.btnSearch, Qt::LeftButton);
    std::string expected = one + "/;" + two + "/";
    if (*start) expected = std::string(start) + ";" + expected;
    EXPECT_EQ(dialog.edtSearch->text().toStdString(), expected) << start;
  }
}

TEST_F(OptionsDialogTest, SearchButtonKeepsTheBytesOfTheFoldersBeforeIt) {
  std::string one = folder.MakeFolder("one");
  WriteIni("[LAST]\r\nSearch Paths=/s\xE9\r\n");
  TdlgDefaults dialog;
  ModalScript script;
  script.Then(PickFolder("", one));
  QTest::mouseClick(dialog.btnSearch, Qt::LeftButton);
  script.Then([&](QWidget*) { QTest::mouseClick(dialog.btnOk, Qt::LeftButton); });
  ASSERT_EQ(dialog.exec(), mrOk);
  EXPECT_EQ(SearchPaths, "/s\xE9;" + one + "/");
}

TEST_F(OptionsDialogTest, ViewerButtonPicksAProgram) {
  TdlgDefaults dialog;
  dialog.edtViewer->setText("/usr/bin/old");
  dialog.btnWordPad->setChecked(true);
  ui.fileAnswers.push_back(std::vector<std::string>{"/usr/bin/new viewer"});
  ui.fileAnswers.push_back(std::nullopt);
  ui.changeFolderOnConfirm = false;
  QTest::mouseClick(dialog.btnGetView, Qt::LeftButton);
  EXPECT_EQ(dialog.edtViewer->text(), "/usr/bin/new viewer");
  EXPECT_TRUE(dialog.btnWordPad->isChecked());  // the radio buttons stay as they were
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].filter, "Programs (*.exe)|*.exe|All Files|*.*");
  EXPECT_EQ(ui.fileRequests[0].initialFile, "/usr/bin/old");
  EXPECT_TRUE(ui.fileRequests[0].mustExist);
  EXPECT_FALSE(ui.fileRequests[0].multiSelect);
  QTest::mouseClick(dialog.btnGetView, Qt::LeftButton);  // cancelled: unchanged
  EXPECT_EQ(dialog.edtViewer->text(), "/usr/bin/new viewer");
}

}  // namespace
}  // namespace ravelin
