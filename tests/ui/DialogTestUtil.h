// Helpers for the dialog tests: a scratch folder on disk, the current folder restored after a
// test, and a script of actions for the modal dialogs a call opens.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>

namespace ravelin::testing {

/// A new empty folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "ravelin-ui-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  /// The folder's full path, no trailing "/".
  const std::string& Path() const { return path_; }
  /// The full path of name inside the folder.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  /// Writes a file (creating its folders) and returns its full path.
  std::string Write(const std::string& name, const std::string& text) const {
    std::filesystem::path file = std::filesystem::path(path_) / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file.string();
  }
  /// Creates a folder (and its parents) and returns its full path.
  std::string MakeFolder(const std::string& name) const {
    std::filesystem::create_directories(std::filesystem::path(path_) / name);
    return path_ + "/" + name;
  }

 private:
  std::string path_;
};

/// Reads a whole file; empty when it cannot be read.
inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Puts the process's current folder back when the test ends.
class CurrentFolderGuard {
 public:
  CurrentFolderGuard() : saved_(std::filesystem::current_path()) {}
  ~CurrentFolderGuard() {
    std::error_code ignored;
    std::filesystem::current_path(saved_, ignored);
  }

 private:
  std::filesystem::path saved_;
};

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
  /// Actions not used yet.
  int Pending() const { return static_cast<int>(actions_.size()); }

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
