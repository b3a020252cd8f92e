// ravelin-screenshots: draws the window and the dialogs for the documentation into a folder
// (scripts/screenshots.sh); not part of the installed programs.
#include <cstdio>

#include "app/Screenshots.h"
#include "platform/UiServices.h"
#include "ui/QtUiServices.h"
#include "ui/RavelinApp.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("Usage: ravelin-screenshots FOLDER\n", stderr);
    return 2;
  }
  ravelin::RavelinApplication app(argc, argv);
  ravelin::QtUiServices services;
  ravelin::ScopedUiServices installed(services);
  return ravelin::TakeScreenshots(argv[1]);
}
