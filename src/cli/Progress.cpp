// Progress on standard error.
#include "cli/Progress.h"

#include <cstdio>
#include <string>

#include "platform/Terminal.h"

namespace ravelin::cli {

namespace {
/// A run shorter than this shows nothing; after it, the line is renewed this often.
constexpr auto kFirstShow = std::chrono::seconds(1);
constexpr auto kRenewal = std::chrono::milliseconds(200);
}  // namespace

Progress::Progress(std::ostream& err, bool wanted)
    : Progress(err, wanted && StandardErrorIsTerminal(), Clock::now()) {}

Progress::Progress(std::ostream& err, bool shown, Clock::time_point start)
    : err_(err), shown_(shown), start_(start), nextShow_(start + kFirstShow) {}

std::string Progress::Line(std::uint64_t files, std::uint64_t bytes, double seconds) {
  const double megabytes = static_cast<double>(bytes) / 1e6;
  char text[96];
  std::snprintf(text, sizeof text, "%llu files, %.1f MB, %.1f MB/s",
                static_cast<unsigned long long>(files), megabytes,
                seconds > 0 ? megabytes / seconds : 0.0);
  return text;
}

void Progress::Add(std::uint64_t bytes, Clock::time_point now) {
  ++files_;
  bytes_ += bytes;
  if (!shown_ || now < nextShow_) return;
  nextShow_ = now + kRenewal;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  // Carriage return, the line, and the rest of the old line erased.
  err_ << "\rravelin-cli: " << Line(files_, bytes_, seconds) << "\x1B[K" << std::flush;
  written_ = true;
}

void Progress::Finish() {
  if (written_) err_ << "\r\x1B[K" << std::flush;
  written_ = false;
}

}  // namespace ravelin::cli
