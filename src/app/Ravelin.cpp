// The desktop program: the application titled "Ravelin" with its one main window.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/UiServices.h"
#include "ui/QtUiServices.h"
#include "ui/RavelinApp.h"

#if __has_include("ui/FrmMain.h")
#include "ui/FrmMain.h"
#define RAVELIN_HAS_MAIN_WINDOW 1
#else
#include <QLabel>
#endif

#include "app/Screenshots.h"

namespace {

const char* const kUsage =
    "Usage: ravelin [--help] [--version]\n"
    "Opens the Ravelin window: pick Delphi source files, then count their lines or list,\n"
    "chart and cross-reference the units they use. The reports are plain-text files in the\n"
    "source folder. For the same reports without a window use ravelin-cli.\n";

}  // namespace

int main(int argc, char** argv) {
  std::string screenshotFolder;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("ravelin %s\n", RAVELIN_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--screenshots") == 0 && i + 1 < argc) {
      screenshotFolder = argv[++i];
    }
  }

  ravelin::TRavelinApplication app(argc, argv);
  ravelin::TQtUiServices services;
  ravelin::ScopedUiServices installed(services);
  if (!screenshotFolder.empty()) return ravelin::TakeScreenshots(screenshotFolder);

#ifdef RAVELIN_HAS_MAIN_WINDOW
  ravelin::TdlgMain dlgMain;
  dlgMain.show();
#else
  QLabel dlgMain(QStringLiteral("Ravelin"));
  dlgMain.setWindowTitle(QStringLiteral("Ravelin"));
  dlgMain.show();
#endif
  return app.exec();
}
