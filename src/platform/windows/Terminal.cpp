// Whether a standard stream is a console (Windows).
#include "platform/Terminal.h"

#include <windows.h>

namespace ravelin {

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace ravelin
