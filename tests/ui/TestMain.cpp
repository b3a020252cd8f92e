// The widget tests' main: the program's own application object (offscreen unless a platform
// was chosen) around GoogleTest.
#include <gtest/gtest.h>

#include "ui/RavelinApp.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  ravelin::RavelinApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
