// Starting a program for the user (the report viewer): on its own, in a session of its own and
// never waited for, with its error output kept aside so that a program which fails soon after
// its start can be explained.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace ravelin {

/// How a started program has fared so far.
struct ProgramOutcome {
  bool running = true;  ///< it has not ended yet
  bool failed = false;  ///< it ended with a status other than 0, or by a signal
  /// When failed: the last line it wrote to its error output, else "exit status N" or
  /// "ended by signal N".
  std::string reason;
};

/// A program started without waiting for it. Its error output goes to an unnamed temporary
/// file; the rest of its environment (standard input and output included) is the caller's.
class StartedProgram {
 public:
  /// Starts program (a name without "/" is looked up along PATH) with args as separate
  /// arguments, never through a shell. Throws IoError "Cannot start "PROGRAM": reason" when
  /// it cannot be started.
  StartedProgram(const std::string& program, const std::vector<std::string>& args);
  /// Stops watching; a program still running runs on.
  ~StartedProgram();
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  /// Looks, without waiting, whether the program has ended (and collects it when it has).
  ProgramOutcome Poll();

 private:
  pid_t pid_ = -1;
  int errorFd_ = -1;  // the unnamed file holding its error output
  ProgramOutcome outcome_;
};

}  // namespace ravelin
