// Helpers of the window tests: a stand-in for the desktop's dialogs and programs that answers
// from queues and records every call, a script of actions for the modal dialogs a call opens,
// and the steps of a behaviour table.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "platform/UiServices.h"

namespace ravelin::testing {

/// Records what the window asked of the system and answers from prepared queues.
class FakeUiServices : public TUiServices {
 public:
  /// Answers for the coming file dialogs (nullopt or an empty queue: the user cancels).
  std::deque<std::optional<std::vector<std::string>>> fileAnswers;
  /// Answers for the coming Yes/No questions (an empty queue answers No).
  std::deque<bool> yesNoAnswers;
  bool startSucceeds = true;  ///< what StartDetached reports

  std::vector<TOpenFileRequest> fileRequests;     ///< every file dialog asked for
  std::vector<std::string> questions;             ///< every Yes/No question asked
  std::vector<std::string> errors;                ///< every error message shown
  std::vector<std::vector<std::string>> started;  ///< every program started, then its arguments
  std::vector<std::string> urls;                  ///< every address opened
  int busyDepth = 0;                              ///< busy cursor nesting now
  int busyCount = 0;                              ///< how often the busy cursor was switched on

  std::optional<std::vector<std::string>> OpenFiles(const TOpenFileRequest& request) override {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer && !answer->empty() && Fs().FolderExists(FolderOf(answer->front())))
      Fs().SetCurrentFolder(FolderOf(answer->front()));  // as the system's dialog does
    return answer;
  }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    const bool answer = !yesNoAnswers.empty() && yesNoAnswers.front();
    if (!yesNoAnswers.empty()) yesNoAnswers.pop_front();
    return answer;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void SetBusyCursor(bool busy) override {
    busyCount += busy;
    busyDepth = busy ? busyDepth + 1 : std::max(0, busyDepth - 1);
  }
  bool StartDetached(const std::string& program, const std::vector<std::string>& args) override {
    started.push_back({program});
    started.back().insert(started.back().end(), args.begin(), args.end());
    return startSucceeds;
  }
  void OpenUrl(const std::string& url) override { urls.push_back(url); }
  void ProcessEvents() override {}

 private:
  static std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == 0 ? "/" : path.substr(0, slash);
  }
};

/// Acts on the modal dialogs that appear while it lives, one queued action per dialog, in
/// order. A dialog that finds the queue empty is rejected and counted, so a test never hangs.
class ModalScript {
 public:
  using Action = std::function<void(QWidget*)>;

  ModalScript() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  /// Queues the action for the next modal dialog.
  ModalScript& Then(Action action) {
    actions_.push_back(std::move(action));
    return *this;
  }
  int Handled() const { return handled_; }
  int Unexpected() const { return unexpected_; }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (modal == last_.data()) {  // still open long after its action: never hang
      if (++polls_ == 1000) QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
      unexpected_ += polls_ == 1000;
      return;
    }
    last_ = modal;
    polls_ = 0;
    if (actions_.empty()) {
      ++unexpected_;
      QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
      return;
    }
    Action action = std::move(actions_.front());
    actions_.pop_front();
    ++handled_;
    action(modal);
  }

  QTimer timer_;
  std::deque<Action> actions_;
  QPointer<QWidget> last_;
  int handled_ = 0;
  int unexpected_ = 0;
  int polls_ = 0;
};

/// The steps of a behaviour table's row ("step; step; ..."), each split into its words.
inline std::vector<std::vector<std::string>> Steps(const std::string& text) {
  std::vector<std::vector<std::string>> steps;
  for (std::string rest = text; !rest.empty();) {
    std::string step = TrimPrintable(SplitFirst(rest, "; "));
    steps.emplace_back();
    while (!step.empty()) steps.back().push_back(SplitFirst(step, " "));
  }
  return steps;
}

/// The checks of a row ("key=value key=value"): each value must equal what the state gives.
inline void ExpectState(const std::string& checks,
                        const std::function<std::string(const std::string&)>& state,
                        const std::string& where) {
  for (std::string rest = checks; !rest.empty();) {
    const std::string check = SplitFirst(rest, " ");
    if (check.empty()) continue;
    EXPECT_EQ(state(TextBefore(check, "=")), TextAfter(check, "=")) << where << ": " << check;
  }
}

}  // namespace ravelin::testing
