#include "platform/ProcessSetup.h"

namespace ravelin {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::string LocaleTextAsUtf8(int /*category*/, std::string_view text) {
  return std::string(text);
}

void UseBinaryStandardStreams() {}

}  // namespace ravelin
