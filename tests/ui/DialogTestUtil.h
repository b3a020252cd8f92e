// Helpers for the dialog tests: the files on disk of TestFolder.h, the widget Tab moves to,
// and a script of actions for the modal dialogs a call opens.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

#include "TestFolder.h"

namespace ravelin::testing {

/// The widget that Tab moves to from widget: the next one in the focus chain that takes
/// focus by Tab, is enabled and would be visible with its window.
inline QWidget* NextTabStop(QWidget* widget) {
  for (QWidget* next = widget->nextInFocusChain(); next != nullptr && next != widget;
       next = next->nextInFocusChain()) {
    if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() &&
        next->isVisibleTo(widget->window()) && next != widget->window())
      return next;
  }
  return nullptr;
}

/// Acts on the modal dialogs that appear while it lives, one queued action per dialog, in
/// order. A dialog that finds the queue empty is closed with reject() and counted as
/// unexpected, so a test never hangs.
class ModalScript {
 public:
  using Action = std::function<void(QWidget*)>;

  ModalScript() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }
  ~ModalScript() { timer_.stop(); }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  /// Queues the action for the next modal dialog.
  ModalScript& Then(Action action) {
    actions_.push_back(std::move(action));
    return *this;
  }
  /// Number of dialogs acted on from the queue.
  int Handled() const { return handled_; }
  /// Number of dialogs that found the queue empty.
  int Unexpected() const { return unexpected_; }

 private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == last_.data() || !modal->isVisible()) return;
    last_ = modal;
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
};

}  // namespace ravelin::testing
