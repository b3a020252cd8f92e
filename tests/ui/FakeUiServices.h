// A stand-in for the desktop services in widget tests: file dialogs and questions answer
// from queues the test fills, and every call is recorded for the test to check.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSys.h"
#include "platform/UiServices.h"

namespace ravelin::testing {

/// Records what the window asked of the system and answers from prepared queues.
class FakeUiServices : public TUiServices {
 public:
  /// One started program with its separate arguments.
  struct Started {
    std::string program;
    std::vector<std::string> args;
  };

  /// Answers for the coming file dialogs, in order; nullopt = the user cancels. An empty
  /// queue cancels.
  std::deque<std::optional<std::vector<std::string>>> fileAnswers;
  /// Answers for the coming Yes/No questions, in order; an empty queue answers No.
  std::deque<bool> yesNoAnswers;
  /// What StartDetached reports.
  bool startSucceeds = true;
  /// A confirmed file dialog makes the chosen files' folder the current folder, as the real
  /// dialog does.
  bool changeFolderOnConfirm = true;

  std::vector<TOpenFileRequest> fileRequests;  ///< every file dialog asked for
  std::vector<std::string> questions;          ///< every Yes/No question asked
  std::vector<std::string> errors;             ///< every error message shown
  std::vector<Started> started;                ///< every program started
  std::vector<std::string> urls;               ///< every address opened
  int busyDepth = 0;                           ///< busy cursor nesting now
  int busyCount = 0;                           ///< how often the busy cursor was switched on

  std::optional<std::vector<std::string>> OpenFiles(const TOpenFileRequest& request) override {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer && !answer->empty() && changeFolderOnConfirm) {
      std::string path = answer->front();
      auto slash = path.find_last_of('/');
      if (slash != std::string::npos) {
        std::string folder = slash == 0 ? "/" : path.substr(0, slash);
        if (Fs().FolderExists(folder)) Fs().SetCurrentFolder(folder);
      }
    }
    return answer;
  }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    if (yesNoAnswers.empty()) return false;
    bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void SetBusyCursor(bool busy) override {
    if (busy) {
      ++busyDepth;
      ++busyCount;
    } else if (busyDepth > 0) {
      --busyDepth;
    }
  }
  bool StartDetached(const std::string& program, const std::vector<std::string>& args) override {
    started.push_back({program, args});
    return startSucceeds;
  }
  void OpenUrl(const std::string& url) override { urls.push_back(url); }
  void ProcessEvents() override {}
};

}  // namespace ravelin::testing
