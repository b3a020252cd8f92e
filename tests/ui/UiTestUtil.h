// Helpers of the window tests: a stand-in for the desktop's dialogs and programs that answers
// from queues and records every call, a script of actions for the modal dialogs a call opens,
// and the steps of a behaviour table.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
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
class FakeUiServices : public UiServices {
 public:
  /// Answers for the coming file dialogs (nullopt or an empty queue: the user cancels).
  std::deque<std::optional<std::vector<std::string>>> fileAnswers;
  /// Answers for the coming Yes/No questions (an empty queue answers No).
  std::deque<bool> yesNoAnswers;
  bool startSucceeds = true;  ///< false: a program cannot start ("No such file or directory")
  std::string failsWith;      ///< not empty: a started program soon fails, printing this

  std::vector<OpenFileRequest> fileRequests;      ///< every file dialog asked for
  std::vector<std::string> questions;             ///< every Yes/No question asked
  std::vector<std::string> errors;                ///< every error message shown
  std::vector<std::vector<std::string>> started;  ///< every program started, then its arguments
  std::vector<std::string> urls;                  ///< every address opened
  int busyDepth = 0;                              ///< busy cursor nesting now
  int busyCount = 0;                              ///< how often the busy cursor was switched on

  /// A confirmed dialog moves the current folder to the chosen file's folder, as a system's
  /// dialog may: the window must work whatever a dialog did to it.
  std::optional<std::vector<std::string>> OpenFiles(const OpenFileRequest& request) override {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer && !answer->empty() && Fs().FolderExists(FolderOf(answer->front())))
      Fs().SetCurrentFolder(FolderOf(answer->front()));
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
  bool StartWatched(const std::string& program, const std::vector<std::string>& args,
                    std::string& whyNot, ProgramFailed failed) override {
    started.push_back({program});
    started.back().insert(started.back().end(), args.begin(), args.end());
    if (!startSucceeds) whyNot = "No such file or directory";
    if (startSucceeds && !failsWith.empty())  // told later, as the watch tells it
      QTimer::singleShot(0, [failed, reason = failsWith] { failed(reason); });
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

/// The controls of window whose text does not show whole, cut by their own size or by the
/// panels around them (names separated by ","; labels whose text is a path are left out).
inline std::string ClippedTexts(QWidget* window) {
  std::string clipped;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || w->window() != window) continue;
    QRect shown = w->rect();  // in w's coordinates, less what the panels around it cut off
    for (QWidget* p = w; p->parentWidget() != nullptr && !p->isWindow(); p = p->parentWidget())
      shown &= p->parentWidget()->rect().translated(-w->mapTo(p->parentWidget(), QPoint(0, 0)));
    const QFontMetrics& font = w->fontMetrics();
    bool fits = true;
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().startsWith('/')) {
      const QSize need =
          label->wordWrap() ? QSize(0, label->heightForWidth(shown.width())) : label->sizeHint();
      fits = need.width() <= shown.width() && need.height() <= shown.height();
    } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
      fits = w->sizeHint().width() <= shown.width();
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      QStyleOptionButton option;
      option.initFrom(button);
      option.rect = shown;
      option.features =
          button->autoDefault() ? QStyleOptionButton::AutoDefaultButton : QStyleOptionButton::None;
      const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
      fits =
          font.horizontalAdvance(button->text().remove('&')) + icon <=
          button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    }
    if (!fits) clipped += (clipped.empty() ? "" : ",") + w->objectName().toStdString();
  }
  return clipped;
}

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
