// The small dialogs through their buttons and keys: the warning about an existing report file,
// the folder dialog, and the link labels of the About box.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "UiTestUtil.h"
#include "settings/LstGlobal.h"
#include "ui/FrmDeflts.h"
#include "ui/FrmExists.h"
#include "ui/FrmFoldr.h"
#include "ui/ModalResult.h"
#include "ui/URLLabel.h"
#include "ui/VornAbout.h"
#include "ui/VornFoldr.h"
#include "ui/logic/AboutInfo.h"
#include "ui/logic/ReportFile.h"

namespace ravelin {
namespace {

using testing::ModalScript;

class Dialogs : public ::testing::Test {
 protected:
  testing::TempFolder folder_;
  testing::ScopedCurrentFolder cwd_;
  testing::FakeUiServices ui_;
  ScopedUiServices installed_{ui_};
};

TEST_F(Dialogs, TheWarningAnswersWithItsButtonsAndKeys) {
  const struct {
    const char* action;  // a button, Return or Escape
    bool appendDefault;
    int result;
  } rows[] = {
      {"btnAppend", false, mrYes},    {"btnOverwrite", true, mrNo}, {"btnNewFile", true, mrRetry},
      {"btnCancel", false, mrCancel}, {"Return", true, mrYes},      {"Return", false, mrNo},
      {"Escape", true, mrCancel},
  };
  for (const auto& row : rows) {
    TdlgFileExists dialog;
    row.appendDefault ? dialog.SetAppendDefault() : dialog.SetOverwriteDefault();
    dialog.SetFileName("/x");
    ModalScript script;
    script.Then([&](QWidget* modal) {
      const std::string action = row.action;
      if (action == "Return" || action == "Escape")
        return QTest::keyClick(modal, action == "Return" ? Qt::Key_Return : Qt::Key_Escape);
      QTest::mouseClick(modal->findChild<QPushButton*>(QString::fromLatin1(row.action)),
                        Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), row.result) << row.action << row.appendDefault;
  }
  TdlgFileExists dialog;  // a long path wraps, and the dialog grows to show it
  std::string longPath;
  for (int i = 0; i < 12; ++i) longPath += "/a-rather-long-folder-name";
  dialog.SetFileName(longPath + "/Ravelin.TXT");
  EXPECT_GE(dialog.btnAppend->y(), dialog.lblMsg->geometry().bottom());
  EXPECT_LE(dialog.btnAppend->geometry().bottom(), dialog.height());
  EXPECT_GT(dialog.height(), TdlgFileExists().height());
}

TEST_F(Dialogs, TheFolderDialogOpensFoldersAndGivesTheOneChosen) {
  folder_.MakeFolder("a/b");
  const std::string disk = folder_.MakeFolder("disk");
  TdlgSelectFolder form;
  form.show();
  ASSERT_TRUE(form.OpenFolder(folder_ / "a"));
  auto rowOf = [&](const char* name) {
    for (int row = 0; row < form.lbxFolders->count(); ++row)
      if (form.lbxFolders->item(row)->text().trimmed() == name) return row;
    return -1;
  };
  const QRect b = form.lbxFolders->visualItemRect(form.lbxFolders->item(rowOf("b")));
  QTest::mouseClick(form.lbxFolders->viewport(), Qt::LeftButton, {}, b.center());
  EXPECT_EQ(form.Directory(), folder_ / "a");  // a single click only selects
  QTest::mouseDClick(form.lbxFolders->viewport(), Qt::LeftButton, {}, b.center());
  EXPECT_EQ(form.Directory(), folder_ / "a/b");
  form.lbxFolders->setCurrentRow(rowOf("a"));
  QTest::keyClick(form.lbxFolders, Qt::Key_Return);  // opens the parent, does not press OK
  EXPECT_EQ(form.Directory(), folder_ / "a");
  EXPECT_TRUE(form.isVisible());
  form.lbxFolders->setCurrentRow(0);  // the root, first
  QTest::keyClick(form.lbxFolders, Qt::Key_Return);
  EXPECT_EQ(form.Directory(), "/");
  ASSERT_TRUE(form.OpenFolder(folder_ / "a"));
  form.SetDrives({"/", disk, folder_ / "missing"});
  for (int drive : {1, 2})
    emit form.cbxDrives->activated(drive);  // a drive that cannot be opened stays, and says why
  EXPECT_EQ(form.Directory(), disk);
  EXPECT_EQ(form.cbxDrives->currentIndex(), 1);
  emit form.cbxDrives->activated(0);
  EXPECT_EQ(form.Directory(), "/");
  ASSERT_TRUE(form.OpenFolder(folder_ / "a"));
  std::filesystem::remove(folder_ / "a/b");  // gone since it was listed
  form.lbxFolders->setCurrentRow(rowOf("b"));
  QTest::keyClick(form.lbxFolders, Qt::Key_Return);
  EXPECT_EQ(form.Directory(), folder_ / "a");
  EXPECT_EQ(ui_.errors,
            (std::vector<std::string>{
                "Cannot open \"" + folder_ / "missing" + "\": No such file or directory",
                "Cannot open \"" + folder_ / "a/b" + "\": No such file or directory"}));

  const std::string start = folder_.MakeFolder("start"),
                    inner = folder_.MakeFolder("start/in \"q\" $x");
  const struct {
    const char* how;
    std::string directory;
    bool result;
    std::string after;
  } rows[] = {
      {"OK", start, true, inner},
      {"Cancel", start, false, start},
      {"Escape", start, false, start},
      {"Return", "", true, folder_ / "a"},
      {"Return", folder_ / "missing", true, folder_ / "a"},
  };
  for (const auto& row : rows) {
    Fs().SetCurrentFolder(folder_ / "a");
    TVornselectFolderDialog dialog;
    dialog.Caption = "Pick one";
    dialog.Directory = row.directory;
    ModalScript script;
    script.Then([&](QWidget* modal) {
      auto* shown = qobject_cast<TdlgSelectFolder*>(modal);
      EXPECT_EQ(shown->windowTitle(), "Pick one");
      const std::string how = row.how;
      if (how == "Return") return QTest::keyClick(modal, Qt::Key_Return);
      shown->OpenFolder(inner);
      if (how == "Escape") return QTest::keyClick(modal, Qt::Key_Escape);
      QTest::mouseClick(how == "OK" ? shown->btnOk : shown->btnCancel, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.Execute(), row.result) << row.how;
    EXPECT_EQ(dialog.Directory, row.after) << row.how;
  }
}

TEST_F(Dialogs, EveryDialogShowsItsTextsWhole) {
  SetSettingsFileName(folder_ / "ravelin.INI");
  TdlgFileExists warning;
  warning.SetFileName("/home/me/stock/Ravelin.TXT");
  TdlgDefaults options;
  TdlgSelectFolder folder;
  TAboutBox about;
  for (QDialog* dialog : std::initializer_list<QDialog*>{&warning, &options, &folder, &about}) {
    dialog->show();
    EXPECT_EQ(testing::ClippedTexts(dialog), "") << dialog->objectName().toStdString();
    if (dialog != &about) dialog->hide();
  }
  for (int press = 1; press <= 3; ++press) {  // each credit in turn
    about.btnAssist->click();
    EXPECT_EQ(testing::ClippedTexts(&about), "") << "credit " << press;
  }
  SetSettingsFileName("");
}

TEST_F(Dialogs, ALinkLabelOpensOnAReleaseInsideItsEdges) {
  TURLLabel label;
  label.resize(80, 20);
  label.ColorMoveOver = QColor(0, 128, 0);
  label.ColorNormal = QColor(10, 10, 10);
  EXPECT_TRUE(label.font().underline());
  const struct {
    QPoint at;
    bool opens;
  } rows[] = {{{0, 0}, true},    {{80, 20}, true},  {{80, 0}, true},   {{0, 20}, true},
              {{81, 10}, false}, {{40, 21}, false}, {{-1, 10}, false}, {{40, -1}, false}};
  for (const auto& row : rows) {
    ui_.urls.clear();
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(label.FontColor(), label.ColorClick);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, row.at);
    EXPECT_EQ(ui_.urls,
              row.opens ? std::vector<std::string>{kDefaultUrl} : std::vector<std::string>{});
    EXPECT_EQ(label.FontColor(), row.opens ? label.ColorMoveOver : label.ColorNormal);
  }
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));  // without a press
  EXPECT_EQ(ui_.urls, std::vector<std::string>{});
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&label, &leave);
  EXPECT_EQ(label.FontColor(), label.ColorNormal);
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
  QApplication::sendEvent(&label, &enter);  // back over the label, the button still down
  EXPECT_EQ(label.FontColor(), label.ColorClick);
  label.setText("https://ravelin.invalid/manual");
  label.URL = "";
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(ui_.urls, std::vector<std::string>{"https://ravelin.invalid/manual"});
}

}  // namespace
}  // namespace ravelin
