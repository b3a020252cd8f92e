#include "common/TextLines.h"

#include <cstddef>
#include <cstring>
#include <utility>

namespace ravelin {

const char* FindLineEnd(const char* p, const char* end) {
  // Searches the library does many bytes at a time, in windows, so that a text whose lines
  // end in one kind only is never searched to its end for the other kind at every line.
  constexpr std::ptrdiff_t kWindow = 256;
  while (p < end) {
    const char* const to = end - p > kWindow ? p + kWindow : end;
    const void* lf = std::memchr(p, '\n', static_cast<size_t>(to - p));
    const char* const limit = lf != nullptr ? static_cast<const char*>(lf) : to;
    if (const void* cr = std::memchr(p, '\r', static_cast<size_t>(limit - p)))
      return static_cast<const char*>(cr);
    if (lf != nullptr) return limit;
    p = to;
  }
  return end;
}

LineReader::LineReader(Source source, size_t pieceSize)
    : source_(std::move(source)), piece_(pieceSize == 0 ? 1 : pieceSize) {}

LineReader::LineReader(std::string_view text) : rest_(CutAtCtrlZ(text)) {
  ended_ = true;  // nothing beyond the text itself
}

bool LineReader::Refill() {
  if (ended_) return false;
  const size_t n = source_(piece_.data(), piece_.size());
  if (n == 0) {
    ended_ = true;
    return false;
  }
  rest_ = std::string_view(piece_.data(), n);
  if (const size_t ctrlZ = rest_.find('\x1A'); ctrlZ != std::string_view::npos) {
    rest_ = rest_.substr(0, ctrlZ);
    ended_ = true;  // the text ends here; the source is not read again
  }
  return true;
}

bool LineReader::Next(std::string& line) {
  line.clear();
  for (;;) {
    if (rest_.empty() && !Refill()) return !line.empty();
    if (rest_.empty()) continue;
    if (afterCr_) {
      afterCr_ = false;
      if (rest_.front() == '\n') {
        rest_.remove_prefix(1);
        continue;
      }
    }
    const char* const begin = rest_.data();
    const char* const lineEnd = FindLineEnd(begin, begin + rest_.size());
    const size_t stop = static_cast<size_t>(lineEnd - begin);
    if (stop == rest_.size()) {
      line.append(rest_);
      rest_ = {};
      continue;
    }
    line.append(rest_.substr(0, stop));
    afterCr_ = rest_[stop] == '\r';
    rest_.remove_prefix(stop + 1);
    return true;
  }
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const auto& line : lines) out.append(line).append("\r\n");
  return out;
}

}  // namespace ravelin
