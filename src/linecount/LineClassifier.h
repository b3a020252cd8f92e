// The line classifier: what kind of line (blank, comment, source, commented source) each line
// of a Pascal source file is, and the counters of one file or of a whole run.
#pragma once

#include <cstdint>
#include <string_view>

namespace ravelin {

/// The five counters of one file or of a whole run.
struct TLineCounts {
  std::int32_t Total = 0;  ///< every line read
  std::int32_t Blank = 0;  ///< empty lines (or only blanks and control characters) outside comments
  std::int32_t Source = 0;     ///< lines that hold program text
  std::int32_t Commented = 0;  ///< lines that hold program text and a comment (also in Source)
  std::int32_t Comment = 0;  ///< lines with a comment and no program text; empty lines in a comment

  friend bool operator==(const TLineCounts&, const TLineCounts&) = default;
};

/// Where the classifier stands between two lines of one file.
enum class ScanState : std::uint8_t {
  InCode,       ///< no comment is open
  InBrace,      ///< a comment opened with "{" is open
  InParenStar,  ///< a comment opened with "(*" is open
};

/// A line holding this many visible characters (codes 33 and above) or more is out of range.
inline constexpr std::int64_t kMaxVisibleLineLength = 65535;

/// Adds each counter of src to the same counter of dst; overflow throws OverflowError.
void AddLineCounts(const TLineCounts& src, TLineCounts& dst);

/// Classifies one line (without its line end) into counts, carrying state to the next line.
/// Throws OverflowError for 65,535 or more visible characters or a counter overflow.
void ClassifyLine(std::string_view line, ScanState& state, TLineCounts& counts);
/// Sets counts to zero and classifies every line of one whole text (a file's content): lines
/// end at CR LF, CR or LF, and a Ctrl-Z ends the text. Throws as ClassifyLine does.
void ClassifyText(std::string_view text, TLineCounts& counts);

}  // namespace ravelin
