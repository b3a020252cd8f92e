// The desktop services of Ravelin on Qt: file dialogs, message boxes, the application-wide
// busy cursor, starting programs and opening addresses.
#pragma once

#include <QTimer>
#include <chrono>
#include <memory>
#include <vector>

#include "platform/ProgramStart.h"
#include "platform/UiServices.h"

namespace ravelin {

/// How long a started viewer is watched for a failure.
constexpr std::chrono::milliseconds kViewerWatch{5000};

/// UiServices on Qt Widgets; needs a QApplication.
class QtUiServices final : public UiServices {
 public:
  /// Services that watch every program they start for watch.
  explicit QtUiServices(std::chrono::milliseconds watch = kViewerWatch);
  ~QtUiServices() override;
  /// A QFileDialog with the request's filters, title and start name.
  std::optional<std::vector<std::string>> OpenFiles(const OpenFileRequest& request) override;
  /// A QMessageBox with Yes and No, titled "Confirm".
  bool AskYesNo(const std::string& text) override;
  /// A QMessageBox with an error icon and OK, titled "Error".
  void ShowError(const std::string& text) override;
  /// The wait cursor as the application's override cursor, nested.
  void SetBusyCursor(bool busy) override;
  /// A StartedProgram, polled by a timer (the GUI thread never waits for it): often while it
  /// is watched, then now and then until it has ended.
  bool StartWatched(const std::string& program, const std::vector<std::string>& args,
                    std::string& whyNot, ProgramFailed failed) override;
  /// The desktop's opener, xdg-open, on the address.
  void OpenUrl(const std::string& url) override;
  /// QCoreApplication::processEvents.
  void ProcessEvents() override;

 private:
  struct WatchedProgram {
    std::unique_ptr<StartedProgram> program;
    std::chrono::steady_clock::time_point until;  // end of its watch
    ProgramFailed failed;
  };
  void PollPrograms();

  int busyDepth_ = 0;
  std::string lastFolder_;
  std::chrono::milliseconds watch_;
  std::vector<WatchedProgram> programs_;
  QTimer poller_;
};

}  // namespace ravelin
