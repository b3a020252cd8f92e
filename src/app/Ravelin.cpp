// The desktop program: the application titled "Ravelin" with its one main window.
#include <cstdio>
#include <cstring>

#include "platform/UiServices.h"
#include "ui/FrmMain.h"
#include "ui/QtUiServices.h"
#include "ui/RavelinApp.h"

namespace {

const char* const kUsage =
    "Usage: ravelin [--help] [--version]\n"
    "Opens the Ravelin window: pick Delphi source files, then count their lines or list,\n"
    "chart and cross-reference the units they use. The reports are plain-text files in the\n"
    "source folder. For the same reports without a window use ravelin-cli.\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("ravelin %s\n", RAVELIN_VERSION);
      return 0;
    }
  }

  ravelin::RavelinApplication app(argc, argv);
  ravelin::QtUiServices services;
  ravelin::ScopedUiServices installed(services);
  ravelin::TdlgMain dlgMain;
  dlgMain.show();
  return app.exec();
}
