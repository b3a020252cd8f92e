// The warning dialog about an existing report file, driven through its buttons and keys.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "DialogTestUtil.h"
#include "FakeUiServices.h"
#include "ui/FrmExists.h"
#include "ui/ModalResult.h"

namespace ravelin {
namespace {

using testing::FakeUiServices;
using testing::ModalScript;
using testing::NextTabStop;
using testing::ReadBytes;
using testing::ScopedCurrentFolder;
using testing::TempFolder;

TEST(TdlgFileExists, ShowsTheDesignedCaptionsAndQuestion) {
  TdlgFileExists dialog;
  dialog.SetFileName("/home/me/src/Ravelin.TXT");
  EXPECT_EQ(dialog.windowTitle(), "Warning");
  EXPECT_EQ(dialog.Message(),
            "The report file \"/home/me/src/Ravelin.TXT\" already exists. Either Append, "
            "Overwrite, Select a new file or Cancel.");
  EXPECT_EQ(dialog.lblMsg->text().remove(QChar(0x200B)), dialog.Message());
  EXPECT_EQ(dialog.btnAppend->text(), "&Append");
  EXPECT_EQ(dialog.btnOverwrite->text(), "&Overwrite");
  EXPECT_EQ(dialog.btnNewFile->text(), "&New File");
  EXPECT_EQ(dialog.btnCancel->text(), "Cancel");
  // Left to right: Append, Overwrite, New File, Cancel, all on one row under the question.
  EXPECT_LT(dialog.btnAppend->x(), dialog.btnOverwrite->x());
  EXPECT_LT(dialog.btnOverwrite->x(), dialog.btnNewFile->x());
  EXPECT_LT(dialog.btnNewFile->x(), dialog.btnCancel->x());
  EXPECT_LE(dialog.btnCancel->geometry().right(), dialog.width());
  EXPECT_GE(dialog.btnAppend->y(), dialog.lblMsg->geometry().bottom());
}

TEST(TdlgFileExists, TabOrderIsAppendOverwriteCancelNewFile) {
  TdlgFileExists dialog;
  EXPECT_EQ(NextTabStop(dialog.btnAppend), dialog.btnOverwrite);
  EXPECT_EQ(NextTabStop(dialog.btnOverwrite), dialog.btnCancel);
  EXPECT_EQ(NextTabStop(dialog.btnCancel), dialog.btnNewFile);
  EXPECT_EQ(NextTabStop(dialog.btnNewFile), dialog.btnAppend);
}

TEST(TdlgFileExists, EachButtonClosesWithItsResult) {
  struct Row {
    const char* label;
    QPushButton* TdlgFileExists::*button;
    int result;
  } rows[] = {
      {"Append", &TdlgFileExists::btnAppend, mrYes},
      {"Overwrite", &TdlgFileExists::btnOverwrite, mrNo},
      {"New File", &TdlgFileExists::btnNewFile, mrRetry},
      {"Cancel", &TdlgFileExists::btnCancel, mrCancel},
  };
  for (const Row& row : rows) {
    TdlgFileExists dialog;
    dialog.SetFileName("/x");
    ModalScript script;
    script.Then([&](QWidget*) { QTest::mouseClick(dialog.*row.button, Qt::LeftButton); });
    EXPECT_EQ(dialog.exec(), row.result) << row.label;
  }
}

TEST(TdlgFileExists, EnterAnswersTheDefaultButton) {
  struct Row {
    bool appendDefault;
    int result;
  } rows[] = {{true, mrYes}, {false, mrNo}};
  for (const Row& row : rows) {
    TdlgFileExists dialog;
    if (row.appendDefault) {
      dialog.SetAppendDefault();
    } else {
      dialog.SetOverwriteDefault();
    }
    dialog.SetFileName("/x");
    QPushButton* expected = row.appendDefault ? dialog.btnAppend : dialog.btnOverwrite;
    QPushButton* other = row.appendDefault ? dialog.btnOverwrite : dialog.btnAppend;
    EXPECT_TRUE(expected->isDefault()) << row.appendDefault;
    EXPECT_FALSE(other->isDefault()) << row.appendDefault;
    ModalScript script;
    script.Then([&](QWidget* modal) {
      EXPECT_EQ(modal->focusWidget(), expected) << row.appendDefault;
      QTest::keyClick(modal, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), row.result) << row.appendDefault;
  }
}

TEST(TdlgFileExists, EscapeAndTheCloseBoxAnswerCancel) {
  for (bool escape : {true, false}) {
    TdlgFileExists dialog;
    dialog.SetOverwriteDefault();
    ModalScript script;
    script.Then([&](QWidget* modal) {
      if (escape) {
        QTest::keyClick(modal, Qt::Key_Escape);
      } else {
        modal->close();
      }
    });
    EXPECT_EQ(dialog.exec(), mrCancel) << (escape ? "Escape" : "close box");
  }
}

TEST(TdlgFileExists, ALongPathWrapsAndTheDialogGrowsToShowIt) {
  TdlgFileExists dialog;
  std::string longPath;
  for (int i = 0; i < 12; ++i) longPath += "/a-rather-long-folder-name";
  dialog.SetFileName(longPath + "/Ravelin.TXT");
  int needed = dialog.lblMsg->heightForWidth(dialog.lblMsg->width());
  EXPECT_GE(dialog.lblMsg->height(), needed);
  EXPECT_GE(dialog.btnAppend->y(), dialog.lblMsg->geometry().bottom());
  EXPECT_LE(dialog.btnAppend->geometry().bottom(), dialog.height());
}

// The window's report file choice with the real dialog.
class ChooseReportFileDialogTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScopedCurrentFolder cwd;
  FakeUiServices ui;
  ScopedUiServices installed{ui};
};

// Clicks one button of the warning dialog, checking which file it names.
ModalScript::Action Click(const std::string& expectedName, QPushButton* TdlgFileExists::*button) {
  return [expectedName, button](QWidget* modal) {
    auto* dialog = qobject_cast<TdlgFileExists*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->Message().contains(QString::fromStdString("\"" + expectedName + "\"")));
    QTest::mouseClick(dialog->*button, Qt::LeftButton);
  };
}

// Append, Overwrite and Cancel on a report are driven through the main window's commands.
TEST_F(ChooseReportFileDialogTest, NewFileThenAnExistingFileAsksAgainNamingIt) {
  std::string name = folder.Write("Ravelin.TXT", "one");
  std::string other = folder.Write("sub dir/other \"q\".txt", "two");
  ui.fileAnswers.push_back(std::vector<std::string>{other});
  ModalScript script;
  script.Then(Click(name, &TdlgFileExists::btnNewFile))
      .Then(Click(other, &TdlgFileExists::btnAppend));
  EXPECT_TRUE(ChooseReportFile(nullptr, true, name));
  EXPECT_EQ(script.Handled(), 2);
  EXPECT_EQ(name, other);
  EXPECT_EQ(ReadBytes(other), "two");
}

TEST_F(ChooseReportFileDialogTest, NewFileCancelledStops) {
  std::string name = folder.Write("Ravelin.TXT", "one");
  ui.fileAnswers.push_back(std::nullopt);
  ModalScript script;
  script.Then(Click(name, &TdlgFileExists::btnNewFile));
  EXPECT_FALSE(ChooseReportFile(nullptr, false, name));
  EXPECT_EQ(ReadBytes(name), "one");
  EXPECT_EQ(ui.fileRequests.size(), 1u);
}

}  // namespace
}  // namespace ravelin
