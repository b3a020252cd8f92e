// The application object of the desktop window.
#pragma once

#include <QApplication>

namespace ravelin {

/// QApplication titled "Ravelin" whose event dispatch shows an error that escaped an event
/// handler in a message box (Ui().ShowError) and goes on, so the window stays usable.
class RavelinApplication : public QApplication {
 public:
  /// Sets the application's name "Ravelin" and its icon.
  RavelinApplication(int& argc, char** argv);
  /// QApplication::notify with errors caught and shown.
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace ravelin
