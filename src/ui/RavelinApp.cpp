#include "ui/RavelinApp.h"

#include <exception>

#include "platform/UiServices.h"
#include "ui/Glyphs.h"

namespace ravelin {

RavelinApplication::RavelinApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Ravelin"));
  setApplicationVersion(QStringLiteral(RAVELIN_VERSION));
  setWindowIcon(ProgramIcon());
}

bool RavelinApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    Ui().ShowError(e.what());
    return false;
  }
}

}  // namespace ravelin
