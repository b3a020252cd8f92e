// Whether a standard stream is a terminal.
#include "platform/Terminal.h"

#include <unistd.h>

namespace ravelin {

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace ravelin
