// The desktop services on Qt: the file dialog they build, message boxes, the busy cursor,
// starting programs, and errors that escape an event handler.
#include <gtest/gtest.h>

#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <set>

#include "UiTestUtil.h"
#include "common/Error.h"
#include "ui/QtUiServices.h"

namespace ravelin {
namespace {

TEST(QtUiServices, DialogsAskWhatTheRequestSaysAndGiveWhatTheUserChose) {
  testing::TempFolder folder;
  testing::ScopedCurrentFolder cwd;
  QtUiServices services;
  const std::string chosen = folder.Write("sub dir/a report.txt", "x");
  const std::string start = Fs().CurrentFolder();
  for (bool accept : {true, false}) {  // a file that must exist is offered but not accepted
    OpenFileRequest request{"Select Report File",
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
    EXPECT_EQ(Fs().CurrentFolder(), start);  // a dialog never moves the current folder
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
  QtUiServices services;
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
        BusyCursor busy;
        throw IoError("x");
      },
      IoError);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  const std::string out = folder / "out.txt", argument = "it's a \"report\" $HOME;.TXT";
  std::string whyNot;
  ASSERT_TRUE(services.StartWatched(
      "/bin/sh", {"-c", "printf %s \"$1\" > \"$2\"", "sh", argument, out}, whyNot, nullptr));
  EXPECT_TRUE(QTest::qWaitFor([&] { return testing::ReadBytes(out) == argument; }, 5000));
}

TEST(QtUiServices, AProgramThatCannotStartOrFailsSoonIsExplained) {
  testing::TempFolder folder;
  const struct {
    std::string program;
    const char* script;  // run by the program with -c; "": no arguments
    const char* reason;  // why it cannot start, or what its failure is told with ("": nothing)
  } rows[] = {
      {"", "", "No such file or directory"},
      {folder / "no such program", "", "No such file or directory"},
      {"no-such-ravelin-viewer", "", "No such file or directory"},
      {folder.Write("script", "exit 0"), "", "Permission denied"},  // not executable
      {"sh", "echo 'xdg-open: x-terminal-emulator: not found' >&2; echo out; exit 4",
       "xdg-open: x-terminal-emulator: not found"},
      {"/bin/sh", "printf 'first\\nlast line \\r\\n\\n' >&2; exit 1", "last line"},
      {"/bin/sh", "exit 3", "exit status 3"},
      {"/bin/sh", "kill -TERM $$", "ended by signal 15"},
      {"/bin/sh", "echo fine >&2", ""},
  };
  QtUiServices services(std::chrono::milliseconds(60000));
  std::multiset<std::string> told, wanted;  // every failure is told, once; a success is not
  auto tell = [&told](std::string what) { told.insert(what); };
  for (const auto& row : rows) {
    std::string whyNot;
    const bool started = services.StartWatched(
        row.program,
        *row.script ? std::vector<std::string>{"-c", row.script} : std::vector<std::string>{},
        whyNot, [&, row](const std::string& reason) { tell(row.script + (": " + reason)); });
    EXPECT_EQ(started, *row.script != 0) << row.program;
    EXPECT_EQ(whyNot, started ? "" : row.reason) << row.program;
    if (started && *row.reason) wanted.insert(row.script + (": " + std::string(row.reason)));
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return told.size() >= wanted.size(); }, 20000));
  QTest::qWait(200);
  EXPECT_EQ(told, wanted);

  // A program past its watch is no longer told about; one still running when the services
  // go runs on.
  told.clear();
  const std::string alive = folder / "alive";
  {
    QtUiServices brief(std::chrono::milliseconds(100));
    std::string whyNot;
    ASSERT_TRUE(brief.StartWatched("/bin/sh", {"-c", "sleep 0.5; exit 5"}, whyNot, tell));
    ASSERT_TRUE(
        brief.StartWatched("/bin/sh", {"-c", "sleep 3; echo yes > '" + alive + "'"}, whyNot, tell));
    QTest::qWait(2500);  // the first has ended and been collected
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return testing::ReadBytes(alive) == "yes\n"; }, 10000));
  EXPECT_TRUE(told.empty());
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
