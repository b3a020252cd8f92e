// The progress of a long run on standard error: files, megabytes and the rate, on one line
// that is written over, shown only on a terminal and only once the run takes a while.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace ravelin::cli {

/// Progress of one run, shown on err.
class Progress {
 public:
  using Clock = std::chrono::steady_clock;

  /// Shows progress when wanted and standard error is a terminal.
  Progress(std::ostream& err, bool wanted);
  /// Shows progress on err when shown is true, whatever err is (for tests).
  Progress(std::ostream& err, bool shown, Clock::time_point start);

  /// One more file of the given bytes is done, at now.
  void Add(std::uint64_t bytes, Clock::time_point now = Clock::now());
  /// Clears the progress line when one was shown.
  void Finish();

  /// The line shown: "N files, X.X MB, Y.Y MB/s".
  static std::string Line(std::uint64_t files, std::uint64_t bytes, double seconds);

 private:
  std::ostream& err_;
  bool shown_;
  Clock::time_point start_;
  Clock::time_point nextShow_;
  std::uint64_t files_ = 0;
  std::uint64_t bytes_ = 0;
  bool written_ = false;
};

}  // namespace ravelin::cli
