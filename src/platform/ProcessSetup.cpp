#include "platform/ProcessSetup.h"

namespace ravelin {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void UseBinaryStandardStreams() {}

}  // namespace ravelin
