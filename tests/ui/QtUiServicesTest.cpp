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

TEST(QtUiServices, DialogsAskWhatTheRequestSaysAndGiveWhatTheUserChose) {
  testing::TempFolder folder;
  testing::ScopedCurrentFolder cwd;
  TQtUiServices services;
  const std::string chosen = folder.Write("sub dir/a report.txt", "x");
  for (bool accept : {true, false}) {  // a file that must exist is offered but not accepted
    TOpenFileRequest request{"Select Report File",
                             "Text (*.txt)|*.txt|Report (*.rpt)|*.rpt",
                             accept ? 2 : 9,
                             folder / "sub dir/R.TXT",
                             !accept,
                             !accept};
    testing::ModalScript script;
    script.Then([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      EXPECT_EQ(dialog->windowTitle(), "Select Report File");
      EXPECT_EQ(dialog->selectedNameFilter(), accept ? "Report (*.rpt)" : "Text (*.txt)");
      EXPECT_EQ(dialog->directory().absolutePath().toStdString(), folder / "sub dir");
      EXPECT_EQ(dialog->fileMode(), accept ? QFileDialog::AnyFile : QFileDialog::ExistingFiles);
      dialog->selectFile(QStringLiteral("a report.txt"));
      QMetaObject::invokeMethod(dialog, accept ? "accept" : "reject");
    });
    EXPECT_EQ(services.OpenFiles(request),
              accept ? std::optional(std::vector{chosen}) : std::nullopt);
    EXPECT_EQ(Fs().CurrentFolder(), folder / "sub dir");  // the chosen file's folder
  }
  for (auto [press, answer] :
       {std::pair(QMessageBox::Yes, true), std::pair(QMessageBox::No, false)}) {
    testing::ModalScript script;
    script.Then([press = press](QWidget* modal) {
      EXPECT_EQ(qobject_cast<QMessageBox*>(modal)->text(), "Reuse?");
      qobject_cast<QMessageBox*>(modal)->button(press)->click();
    });
    EXPECT_EQ(services.AskYesNo("Reuse?"), answer);
  }
  testing::ModalScript script;
  script.Then([](QWidget* modal) {
    EXPECT_EQ(qobject_cast<QMessageBox*>(modal)->icon(), QMessageBox::Critical);
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
  });
  services.ShowError("Failed to execute x");
  EXPECT_EQ(script.Handled(), 1);
}

TEST(QtUiServices, TheBusyCursorNestsAndProgramsGetTheirArgumentsUntouched) {
  testing::TempFolder folder;
  TQtUiServices services;
  ScopedUiServices installed(services);
  services.SetBusyCursor(true);
  services.SetBusyCursor(true);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  services.SetBusyCursor(false);
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  services.SetBusyCursor(false);
  services.SetBusyCursor(false);  // one too many does nothing
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_THROW(
      {
        TBusyCursor busy;
        throw IoError("x");
      },
      IoError);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  EXPECT_FALSE(services.StartDetached("", {"x"}));
  EXPECT_FALSE(services.StartDetached(folder / "no such program", {}));
  const std::string out = folder / "out.txt", argument = "it's a \"report\" $HOME;.TXT";
  ASSERT_TRUE(
      services.StartDetached("/bin/sh", {"-c", "printf %s \"$1\" > \"$2\"", "sh", argument, out}));
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
