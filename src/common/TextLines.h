// Reading text line by line: a line ends at CR LF, at CR alone or at LF alone (LF CR is two
// line ends); a Ctrl-Z (code 26) ends the text wherever it stands.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ravelin {

/// The text up to its first Ctrl-Z (the whole text when there is none).
inline std::string_view CutAtCtrlZ(std::string_view text) {
  auto pos = text.find('\x1A');
  return pos == std::string_view::npos ? text : text.substr(0, pos);
}

/// The first CR or LF in [p, end), or end.
const char* FindLineEnd(const char* p, const char* end);

/// Calls f(std::string_view line) for every line of text, in order, without line ends. A last
/// line without a line end counts when it is not empty; an empty text has no lines.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  text = CutAtCtrlZ(text);
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* q = FindLineEnd(p, end);
    f(std::string_view(p, static_cast<size_t>(q - p)));
    if (q == end) break;
    if (*q == '\r' && q + 1 < end && q[1] == '\n') ++q;
    p = q + 1;
  }
}

/// Reads the lines of a text that arrives in pieces (a file read a block at a time) with the
/// rules of ForEachLine, holding one piece and the line being read, never the whole text.
class LineReader {
 public:
  /// Fills buffer with up to size bytes of the text and returns how many; 0 at its end.
  using Source = std::function<size_t(char* buffer, size_t size)>;

  /// Reads from source in pieces of pieceSize bytes.
  explicit LineReader(Source source, size_t pieceSize = size_t{1} << 16);
  /// Reads the lines of a text held in memory.
  explicit LineReader(std::string_view text);

  /// Puts the next line, without its line end, into line; false when there is none left.
  bool Next(std::string& line);

 private:
  /// Takes the next piece; false at the end of the text.
  bool Refill();

  Source source_;
  std::vector<char> piece_;
  std::string_view rest_;  // what is left of the current piece
  bool ended_ = false;     // the source is used up, or a Ctrl-Z ended the text
  bool afterCr_ = false;   // the last line ended in a CR: a LF right after it belongs to it
};

/// All lines of text (see ForEachLine).
std::vector<std::string> SplitLines(std::string_view text);

/// The lines joined, each followed by CR LF: the form of every report Ravelin writes.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace ravelin
