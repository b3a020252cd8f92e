// The character source of the Pascal scanner: a list of text lines read one character at a
// time, each line followed by a carriage return, with one character of look-ahead, text
// pushed back in front of the input, an end-of-input flag and line and column counters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Checked.h"
#include "common/TextLines.h"

namespace ravelin {

/// Reads a list of lines, or the lines of a LineReader, character by character; only the
/// current line is held. The list or reader belongs to the caller and must outlive its use here.
class TVornstrBfr {
 public:
  /// The end-of-line character that follows every line.
  static constexpr char kEndOfLine = '\r';
  /// The character returned at the end of input.
  static constexpr char kEndOfInput = '\0';

  /// A buffer at end of input with no list, LineNo 0 and Column 0.
  TVornstrBfr() = default;

  /// Attaches lines (may be null); AtEof becomes true when there are none. The counters and
  /// the pending text stay: call Reset first to start a new list.
  void SetSource(std::vector<std::string>* lines);
  /// Attaches a reader whose lines are taken one at a time as reading reaches them (a file of
  /// any size is never held whole); AtEof becomes true when the first fetch finds no line.
  void SetSource(LineReader& reader);
  /// Back to end of input, LineNo 0, Column 0, nothing pending; empties the attached list,
  /// which stays attached, or lets go of the attached reader.
  void Reset();

  /// Takes the next character; at end of input sets AtEof and Column 0 and returns 0.
  char ReadChar() {
    if (FPos == FPending.size()) Fetch();
    if (FPos == FPending.size()) {
      FAtEof = true;
      FColumn = 0;
      return kEndOfInput;
    }
    CheckedInc(FColumn);
    return FPending[FPos++];
  }
  /// The next character without taking it; at end of input sets AtEof and returns 0.
  char PeekChar() {
    if (FPos == FPending.size()) Fetch();
    if (FPos == FPending.size()) {
      FAtEof = true;
      return kEndOfInput;
    }
    return FPending[FPos];
  }
  /// Puts text in front of the input: the next reads return its characters in order.
  /// LineNo and Column do not change.
  void PushBack(std::string_view text);

  /// True when a read or peek found no character left and no further line.
  bool AtEof() const { return FAtEof; }
  /// Characters taken by ReadChar since the current line was fetched.
  std::int32_t Column() const { return FColumn; }
  /// Number of fetch attempts so far: the current line counted from 1.
  std::int32_t LineNo() const { return FLineNo; }
  /// The attached list, or null.
  std::vector<std::string>* SourceLines() const { return FSourceLines; }

 private:
  /// Takes the next line into the pending text (only called when nothing is pending);
  /// every call counts LineNo up by one, also at end of input.
  void Fetch();

  bool FAtEof = true;
  std::int32_t FColumn = 0;
  std::int32_t FLineNo = 0;
  std::vector<std::string>* FSourceLines = nullptr;
  LineReader* FReader = nullptr;
  std::string FPending;  ///< pushed-back text, the rest of the line and its line end, ...
  std::size_t FPos = 0;  ///< ... from this offset on; what lies before it is used up
};

}  // namespace ravelin
