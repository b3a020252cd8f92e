// The exit statuses of ravelin-cli, in one place.
#pragma once

namespace ravelin::cli {

/// What a run of ravelin-cli ends with.
enum class ExitStatus : int {
  Success = 0,    ///< the report was written
  Failed = 1,     ///< the run ended with an error; nothing was written
  Usage = 2,      ///< bad options or operands; nothing was written
  Condition = 3,  ///< the report was written, but something the user asked to fail on happened
};

/// The status as the process's exit code.
constexpr int ExitCode(ExitStatus status) {
  return static_cast<int>(status);
}

/// The worse of two statuses of one run: a later condition does not hide an earlier one.
constexpr ExitStatus Worse(ExitStatus a, ExitStatus b) {
  return ExitCode(a) >= ExitCode(b) ? a : b;
}

}  // namespace ravelin::cli
