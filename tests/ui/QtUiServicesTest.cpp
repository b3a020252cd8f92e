// The desktop services on Qt: the file dialog they build, message boxes, the busy cursor,
// starting programs, and errors that escape an event handler.
#include <gtest/gtest.h>

#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <chrono>
#include <thread>

#include "UiTestUtil.h"
#include "common/Error.h"
#include "ui/QtUiServices.h"

namespace ravelin {
namespace {

using testing::ModalScript;

class QtUiServicesTest : public ::testing::Test {
 protected:
  testing::TempFolder folder_;
  testing::ScopedCurrentFolder cwd_;
  TQtUiServices services_;
};

TEST_F(QtUiServicesTest, TheFileDialogShowsTheFiltersAndGivesTheChosenFiles) {
  const std::string chosen = folder_.Write("sub dir/a report.txt", "x");
  const struct {
    int filterIndex;
    bool multiSelect, mustExist, accept;
    QFileDialog::FileMode mode;
    const char* filter;
  } rows[] = {{2, false, false, true, QFileDialog::AnyFile, "Report Files (*.rpt)"},
              {9, false, true, false, QFileDialog::ExistingFile, "Text Files (*.txt)"},
              {1, true, true, false, QFileDialog::ExistingFiles, "Text Files (*.txt)"}};
  for (const auto& row : rows) {
    Fs().SetCurrentFolder(folder_.Path());
    TOpenFileRequest request{
        "Select Report File",
        "Text Files (*.txt)|*.txt|Report Files (*.rpt)|*.rpt|All Files (*.*)|*.*",
        row.filterIndex,
        folder_ / "sub dir/Ravelin.TXT",
        row.multiSelect,
        row.mustExist};
    ModalScript script;
    script.Then([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      EXPECT_EQ(dialog->windowTitle(), "Select Report File");
      EXPECT_EQ(dialog->nameFilters(),
                QStringList({"Text Files (*.txt)", "Report Files (*.rpt)", "All Files (*)"}));
      EXPECT_EQ(dialog->selectedNameFilter(), row.filter);
      EXPECT_EQ(dialog->directory().absolutePath().toStdString(), folder_ / "sub dir");
      EXPECT_EQ(dialog->fileMode(), row.mode);
      dialog->selectFile(QStringLiteral("a report.txt"));
      QMetaObject::invokeMethod(dialog, row.accept ? "accept" : "reject");
    });
    const auto files = services_.OpenFiles(request);
    EXPECT_EQ(files, row.accept ? std::optional(std::vector<std::string>{chosen}) : std::nullopt);
    // A confirmed dialog makes the chosen file's folder the current folder.
    EXPECT_EQ(Fs().CurrentFolder(), row.accept ? folder_ / "sub dir" : folder_.Path());
  }
}

TEST_F(QtUiServicesTest, QuestionsAndErrorsAreMessageBoxes) {
  for (auto [press, answer] :
       {std::pair(QMessageBox::Yes, true), std::pair(QMessageBox::No, false)}) {
    ModalScript script;
    script.Then([press = press](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      EXPECT_EQ(box->text(), "Reuse existing list of units?");
      box->button(press)->click();
    });
    EXPECT_EQ(services_.AskYesNo("Reuse existing list of units?"), answer);
  }
  ModalScript script;
  script.Then([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    EXPECT_EQ(box->text(), "Failed to execute x");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->button(QMessageBox::Ok)->click();
  });
  services_.ShowError("Failed to execute x");
  EXPECT_EQ(script.Handled(), 1);
}

TEST_F(QtUiServicesTest, TheBusyCursorNestsAndIsRestoredOnEveryWayOut) {
  ScopedUiServices installed(services_);
  services_.SetBusyCursor(true);
  services_.SetBusyCursor(true);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  services_.SetBusyCursor(false);
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  services_.SetBusyCursor(false);
  services_.SetBusyCursor(false);  // one too many does nothing
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  try {
    TBusyCursor busy;
    throw IoError("Cannot read x");
  } catch (const IoError&) {
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtUiServicesTest, ProgramsGetTheirArgumentsUntouched) {
  EXPECT_FALSE(services_.StartDetached("", {"x"}));
  EXPECT_FALSE(services_.StartDetached(folder_ / "no such program", {}));
  const std::string out = folder_ / "out.txt", argument = "it's a \"report\" $HOME;.TXT";
  ASSERT_TRUE(
      services_.StartDetached("/bin/sh", {"-c", "printf %s \"$1\" > \"$2\"", "sh", argument, out}));
  for (int i = 0; i < 500 && testing::ReadBytes(out) != argument; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(testing::ReadBytes(out), argument);
}

class FailingObject : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw IoError("Cannot write \"/r/x.TXT\"");
    return QObject::event(event);
  }
};

TEST(RavelinApplication, AnErrorLeavingAnEventHandlerOrAGuardedActionIsShown) {
  testing::FakeUiServices ui;
  ScopedUiServices installed(ui);
  FailingObject object;
  QEvent event(QEvent::User);
  QApplication::sendEvent(&object, &event);
  EXPECT_TRUE(RunGuarded([] {}));
  EXPECT_FALSE(RunGuarded([] { throw OverflowError(); }));
  EXPECT_EQ(ui.errors, (std::vector<std::string>{"Cannot write \"/r/x.TXT\"", "Integer overflow"}));
  EXPECT_EQ(QApplication::applicationName(), "Ravelin");
}

}  // namespace
}  // namespace ravelin
