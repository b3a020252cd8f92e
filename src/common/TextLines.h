// Reading text line by line: a line ends at CR LF, at CR alone or at LF alone (LF CR is two
// line ends); a Ctrl-Z (code 26) ends the text wherever it stands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ravelin {

/// The text up to its first Ctrl-Z (the whole text when there is none).
inline std::string_view CutAtCtrlZ(std::string_view text) {
  auto pos = text.find('\x1A');
  return pos == std::string_view::npos ? text : text.substr(0, pos);
}

/// Calls f(std::string_view line) for every line of text, in order, without line ends. A last
/// line without a line end counts when it is not empty; an empty text has no lines.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  text = CutAtCtrlZ(text);
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* q = p;
    while (q < end && *q != '\r' && *q != '\n') ++q;
    f(std::string_view(p, static_cast<size_t>(q - p)));
    if (q == end) break;
    if (*q == '\r' && q + 1 < end && q[1] == '\n') ++q;
    p = q + 1;
  }
}

/// All lines of text (see ForEachLine).
std::vector<std::string> SplitLines(std::string_view text);

/// The lines joined, each followed by CR LF: the form of every report Ravelin writes.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace ravelin
