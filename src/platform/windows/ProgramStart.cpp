// Starting a program for the user (Windows): the command line does not start programs, and
// the window is not built for Windows, so starting is refused with a clear reason.
#include "platform/ProgramStart.h"

#include "common/Error.h"

namespace ravelin {

StartedProgram::StartedProgram(const std::string& program, const std::vector<std::string>&) {
  const std::string reason = "starting programs is not supported on Windows";
  throw IoError("Cannot start \"" + program + "\": " + reason, reason);
}

StartedProgram::~StartedProgram() = default;

ProgramOutcome StartedProgram::Poll() {
  return outcome_;
}

}  // namespace ravelin
