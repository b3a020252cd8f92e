// The desktop services on Qt: the file dialog they build, message boxes, the busy cursor,
// starting programs, and errors escaping an event handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <chrono>
#include <thread>

#include "DialogTestUtil.h"
#include "FakeUiServices.h"
#include "common/Error.h"
#include "ui/QtUiServices.h"
#include "ui/logic/ReportFile.h"

namespace ravelin {
namespace {

using testing::FakeUiServices;
using testing::ModalScript;
using testing::ReadBytes;
using testing::ScopedCurrentFolder;
using testing::TempFolder;

class QtUiServicesTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScopedCurrentFolder cwd;
  TQtUiServices services;
};

TEST_F(QtUiServicesTest, FileDialogShowsTheFiltersAndReturnsTheChosenFile) {
  std::string chosen = folder.Write("sub dir/a report.txt", "x");
  TOpenFileRequest request;
  request.title = kReportFileTitle;
  request.filter = kReportFileFilter;
  request.filterIndex = 2;
  request.initialFile = folder / "sub dir/Ravelin.TXT";
  ModalScript script;
  script.Then([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Select Report File");
    EXPECT_EQ(dialog->nameFilters(),
              QStringList({"Text Files (*.txt)", "Report Files (*.rpt)", "All Files (*)"}));
    EXPECT_EQ(dialog->selectedNameFilter(), "Report Files (*.rpt)");
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), folder / "sub dir");
    EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
    dialog->selectFile(QStringLiteral("a report.txt"));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  auto files = services.OpenFiles(request);
  ASSERT_TRUE(files.has_value());
  EXPECT_EQ(*files, std::vector<std::string>{chosen});
  // The chosen file's folder is now the current folder.
  EXPECT_EQ(std::filesystem::current_path().string(), folder / "sub dir");
}

TEST_F(QtUiServicesTest, CancelledFileDialogGivesNothingAndKeepsTheFolder) {
  std::string before = std::filesystem::current_path().string();
  TOpenFileRequest request;
  request.filter = "Projects (*.dpr)|*.dpr";
  request.multiSelect = true;
  request.mustExist = true;
  ModalScript script;
  script.Then([](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
    dialog->reject();
  });
  EXPECT_FALSE(services.OpenFiles(request).has_value());
  EXPECT_EQ(std::filesystem::current_path().string(), before);
}

TEST_F(QtUiServicesTest, QuestionsAndErrorsAreMessageBoxes) {
  struct Row {
    QMessageBox::StandardButton press;
    bool answer;
  } rows[] = {{QMessageBox::Yes, true}, {QMessageBox::No, false}};
  for (const Row& row : rows) {
    ModalScript script;
    script.Then([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text(), "Reuse existing list of units?");
      box->button(row.press)->click();
    });
    EXPECT_EQ(services.AskYesNo("Reuse existing list of units?"), row.answer);
  }
  ModalScript script;
  script.Then([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Failed to execute x");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    box->button(QMessageBox::Ok)->click();
  });
  services.ShowError("Failed to execute x");
  EXPECT_EQ(script.Handled(), 1);
}

TEST_F(QtUiServicesTest, BusyCursorNestsAndIsRestoredOnEveryWayOut) {
  ScopedUiServices installed(services);
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  services.SetBusyCursor(true);
  services.SetBusyCursor(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  services.SetBusyCursor(false);
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  services.SetBusyCursor(false);
  services.SetBusyCursor(false);  // one too many does nothing
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  try {
    TBusyCursor busy;
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    throw IoError("Cannot read x");
  } catch (const IoError&) {
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtUiServicesTest, ProgramsGetTheirArgumentsUntouched) {
  EXPECT_FALSE(services.StartDetached("", {"x"}));
  EXPECT_FALSE(services.StartDetached(folder / "no such program", {}));
  // The started program writes its one argument into a file; blanks, quotes and "$" arrive
  // as they were given.
  std::string out = folder / "out.txt";
  std::string argument = "it's a \"report\" $HOME;.TXT";
  ASSERT_TRUE(
      services.StartDetached("/bin/sh", {"-c", "printf %s \"$1\" > \"$2\"", "sh", argument, out}));
  for (int i = 0; i < 500 && ReadBytes(out) != argument; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ReadBytes(out), argument);
}

// An object whose event handler fails.
class FailingObject : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw IoError("Cannot write \"/r/x.TXT\"");
    return QObject::event(event);
  }
};

TEST(RavelinApplication, AnErrorLeavingAnEventHandlerIsShown) {
  FakeUiServices ui;
  ScopedUiServices installed(ui);
  FailingObject object;
  QEvent event(QEvent::User);
  QApplication::sendEvent(&object, &event);
  EXPECT_EQ(ui.errors, std::vector<std::string>{"Cannot write \"/r/x.TXT\""});
  EXPECT_EQ(QApplication::applicationName(), "Ravelin");
}

TEST(RunGuarded, ShowsTheErrorAndReportsIt) {
  FakeUiServices ui;
  ScopedUiServices installed(ui);
  EXPECT_TRUE(RunGuarded([] {}));
  EXPECT_FALSE(RunGuarded([] { throw OverflowError(); }));
  EXPECT_EQ(ui.errors, std::vector<std::string>{"Integer overflow"});
}

}  // namespace
}  // namespace ravelin
