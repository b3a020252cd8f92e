// The desktop services of Ravelin on Qt: file dialogs, message boxes, the application-wide
// busy cursor, starting programs and opening addresses.
#pragma once

#include "platform/UiServices.h"

namespace ravelin {

/// TUiServices on Qt Widgets; needs a QApplication.
class TQtUiServices final : public TUiServices {
 public:
  ~TQtUiServices() override;
  /// A QFileDialog with the request's filters, title and start name.
  std::optional<std::vector<std::string>> OpenFiles(const TOpenFileRequest& request) override;
  /// A QMessageBox with Yes and No, titled "Confirm".
  bool AskYesNo(const std::string& text) override;
  /// A QMessageBox with an error icon and OK, titled "Error".
  void ShowError(const std::string& text) override;
  /// The wait cursor as the application's override cursor, nested.
  void SetBusyCursor(bool busy) override;
  /// QProcess::startDetached with separate arguments.
  bool StartDetached(const std::string& program, const std::vector<std::string>& args) override;
  /// The desktop's opener, xdg-open, on the address.
  void OpenUrl(const std::string& url) override;
  /// QCoreApplication::processEvents.
  void ProcessEvents() override;

 private:
  int busyDepth_ = 0;
  std::string lastFolder_;
};

}  // namespace ravelin
