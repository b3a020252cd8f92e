// Whether a standard stream of the process is a terminal.
#pragma once

namespace ravelin {

/// True when standard error is a terminal (progress may be shown there).
bool StandardErrorIsTerminal();

}  // namespace ravelin
