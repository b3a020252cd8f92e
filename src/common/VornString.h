// Small string routines shared by every subsystem. Strings are byte strings;
// every routine returns a new string and leaves its arguments alone unless stated.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ravelin {

/// The text before the first occurrence of sep; the whole text when sep is absent or empty.
std::string TextBefore(std::string_view text, std::string_view sep);
/// The text after the first occurrence of sep; empty when sep is absent or empty.
std::string TextAfter(std::string_view text, std::string_view sep);
/// Returns TextBefore(text, sep) and replaces text by TextAfter(text, sep); without sep the
/// whole text is returned and text becomes empty.
std::string SplitFirst(std::string& text, std::string_view sep);
/// Blanks added on both sides while shorter than width (an odd extra blank goes left), then
/// cut to its first width characters.
std::string CenterText(std::string_view text, int width);
/// fill put in front of text until it is width long; never cut.
std::string PadLeftWith(std::string_view text, char fill, int width);
/// Blanks added at the end until the text is width long; never cut.
std::string PadRight(std::string_view text, int width);
/// The first occurrence of oldPart replaced by newPart; text unchanged when absent or empty.
std::string ReplaceFirst(std::string_view text, std::string_view oldPart, std::string_view newPart);
/// ReplaceFirst repeated, each time searching from the start, until oldPart no longer occurs.
/// Throws GeneralError when oldPart occurs and newPart contains it (it would never end).
std::string ReplaceAll(std::string_view text, std::string_view oldPart, std::string_view newPart);
/// TrimPrintableRight, then TrimPrintableLeft.
std::string TrimPrintable(std::string_view text);
/// Without the leading characters whose code is below 33 or above 126.
std::string TrimPrintableLeft(std::string_view text);
/// Without the trailing characters whose code is below 33 or above 126.
std::string TrimPrintableRight(std::string_view text);
/// Without the leading and trailing blanks and control characters (codes 0 to 32).
std::string TrimSpaces(std::string_view text);
/// The letters a-z turned into A-Z; every other byte unchanged.
std::string UpperText(std::string_view text);
/// Decimal text of a 32-bit signed integer, "-" for negatives, no blanks.
std::string IntToText(std::int32_t value);
/// Decimal text of value right-aligned in width with blanks on the left; never cut.
std::string IntToStrWidth(std::int64_t value, int width);
/// Appends IntToStrWidth(value, width) to out.
void AppendIntWidth(std::string& out, std::int64_t value, int width);

/// ASCII upper case of one byte.
inline char UpperChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

/// Compares two texts in capitals (UpperText) byte by byte as unsigned codes; a proper prefix
/// orders first. Returns -1, 0 or 1.
int CompareUpperText(std::string_view a, std::string_view b);

}  // namespace ravelin
