// What the operating system and its standard dialogs do for the desktop window, behind one
// small interface: file-open dialogs, message boxes, the busy cursor, starting a program and
// opening an address. The window calls Ui(); the desktop build installs the toolkit's
// implementation and tests install a fake. No toolkit code here.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ravelin {

/// What a file-open dialog is asked to show.
struct OpenFileRequest {
  /// Window title; empty gives the system's own title.
  std::string title;
  /// Filter pairs "Description|patterns|Description|patterns", patterns separated by ";".
  std::string filter;
  /// The filter pair shown first, counted from 1.
  int filterIndex = 1;
  /// Name proposed in the dialog (a file name or a full path); may be empty.
  std::string initialFile;
  /// Several files may be chosen.
  bool multiSelect = false;
  /// The chosen files must exist (the folder must exist in every case).
  bool mustExist = false;
};

/// Told why a started program failed soon after its start.
using ProgramFailed = std::function<void(const std::string& reason)>;

/// The desktop services the window needs from the system.
class UiServices {
 public:
  virtual ~UiServices() = default;
  /// Shows a modal file-open dialog. The chosen files as full paths, or nullopt when the user
  /// cancelled. The process's current folder stays as it was (the next dialog opens where
  /// this one was left).
  virtual std::optional<std::vector<std::string>> OpenFiles(const OpenFileRequest& request) = 0;
  /// Asks a question in a modal message box with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  /// Shows text in a modal error message box with the single button OK.
  virtual void ShowError(const std::string& text) = 0;
  /// true: the busy cursor over the whole application; false: the cursor before it. Calls
  /// nest: each true is undone by one false; a false without a true does nothing.
  virtual void SetBusyCursor(bool busy) = 0;
  /// Starts program with args as separate arguments (never through a shell) without waiting
  /// for it. True when it started; false with the system's reason in whyNot when it cannot.
  /// The program is watched for a few seconds: when it ends with a failure meanwhile, failed
  /// runs later on this thread with the reason (the last line of its error output, or its
  /// exit status).
  virtual bool StartWatched(const std::string& program, const std::vector<std::string>& args,
                            std::string& whyNot, ProgramFailed failed) = 0;
  /// Asks the desktop to open an address or document; the result is not reported.
  virtual void OpenUrl(const std::string& url) = 0;
  /// Lets the window system handle pending events (closed dialogs repaint).
  virtual void ProcessEvents() = 0;
};

/// The process-wide services: the installed ones, else a silent stand-in that cancels every
/// dialog, answers No, and starts nothing.
UiServices& Ui();

/// Installs services as the process-wide ones for the lifetime of this object.
class ScopedUiServices {
 public:
  explicit ScopedUiServices(UiServices& services);
  ~ScopedUiServices();
  ScopedUiServices(const ScopedUiServices&) = delete;
  ScopedUiServices& operator=(const ScopedUiServices&) = delete;

 private:
  UiServices* previous_;
};

/// Shows the busy cursor for the lifetime of this object; restored on every way out.
class BusyCursor {
 public:
  BusyCursor() { Ui().SetBusyCursor(true); }
  ~BusyCursor() { Ui().SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

/// Runs action; an exception derived from std::exception is shown with Ui().ShowError(its
/// text) instead of leaving the event handler. False when an error was shown.
bool RunGuarded(const std::function<void()>& action);

}  // namespace ravelin
