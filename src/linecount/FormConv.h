// The converter of binary form files into their textual form, and the counter of the lines of
// a textual form. A binary form is a resource header followed by a "TPF0" stream of components,
// properties and values; its textual form is what form counting measures, so every line break
// here matters.
//
// Choices made where the binary format leaves the text open:
// - Reals are written in the general decimal form with up to 15 significant digits (exact
//   decimal expansion of the stored bits, rounded half to even), fixed notation while the
//   number has at most 15 integer digits and is at least 0.00001, otherwise "1.5E20" /
//   "1E-7". Zero is "0" whatever its sign; infinities are "INF" and "-INF", NaNs "NAN".
// - A wide-string character from 32 to 255 other than the apostrophe is written as that byte;
//   a character above 255 is taken alone and written as "#" and its decimal code.
// - A child position or an item index is an integer value (1, 2 or 4 bytes); anything else
//   there is an invalid property value.
// - Nesting (components, lists, collections) deeper than kMaxFormNesting levels is an invalid
//   stream format: it bounds the indentation, and with it the text one input byte can cause.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ravelin {

/// The message of a stream that is no binary form (header, signature, nesting too deep).
inline constexpr const char* kInvalidStreamFormat = "Invalid stream format";
/// The message of a value type outside the table or a missing item marker.
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";
/// The message of a stream that ends before its structure does.
inline constexpr const char* kStreamReadError = "Stream read error";

/// The deepest nesting level of components, lists and collections a form may reach.
inline constexpr int kMaxFormNesting = 256;

/// Receives the converted text in pieces, in order.
using FormTextSink = std::function<void(std::string_view)>;

/// Converts the bytes of a binary form file into its textual form, every line ended by CR LF,
/// handing the text to sink in pieces of at most about 64 KiB. Throws StreamError with one of
/// the three messages above; the text converted before the failure has been handed on.
void ConvertFormBinaryToText(std::string_view form, const FormTextSink& sink);

/// The whole textual form of a binary form file (see ConvertFormBinaryToText).
std::string FormBinaryToText(std::string_view form);

/// True when the first word of a line (trimmed of characters outside 33..126 at both ends, cut
/// at its first blank) is "object" in any letter case: the line of a counted component.
bool IsObjectLine(std::string_view line);

/// Counts the lines of a textual form and its "object" lines (IsObjectLine) while the text is
/// handed over in pieces of any size, with the same result as reading the whole text line by
/// line: CR LF, CR or LF end a line, a Ctrl-Z ends the text, a last line without a line end
/// counts when it is not empty. Holds no more than the one line not yet ended.
class FormLineCounter {
 public:
  /// Counts the complete lines of the next piece; throws OverflowError when a counter would
  /// pass 2,147,483,647.
  void Feed(std::string_view piece);
  /// Counts the last line when the text ended without a line end; call once, after the last
  /// piece.
  void Finish();
  /// Lines counted so far.
  std::int32_t Lines() const { return lines_; }
  /// "object" lines counted so far.
  std::int32_t Objects() const { return objects_; }

 private:
  void Count(std::string_view line);

  std::int32_t lines_ = 0;
  std::int32_t objects_ = 0;
  std::string pending_;   // the start of a line whose end has not come yet
  bool afterCr_ = false;  // the last piece ended in CR: an LF next belongs to that line end
  bool ended_ = false;    // a Ctrl-Z ended the text
};

/// Real text of a 10-byte extended real given as its 64-bit mantissa and its sign and
/// exponent word.
std::string ExtendedToText(std::uint64_t mantissa, std::uint16_t signExponent);
/// Real text of an 8-byte real given as its bits.
std::string DoubleToText(std::uint64_t bits);
/// Real text of a 4-byte real given as its bits.
std::string SingleToText(std::uint32_t bits);
/// Real text of a currency amount stored as the amount times 10000.
std::string CurrencyToText(std::int64_t amountTimes10000);

}  // namespace ravelin
