// Comparing texts byte for byte in tests, a failure naming the first line that differs.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace ravelin::testing {

/// text with CR, LF and other control bytes written as escapes, for failure messages.
inline std::string Escaped(const std::string& text) {
  std::string shown;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (u < 32) {
      shown += "\\x" + std::string(1, "0123456789ABCDEF"[u >> 4]) + "0123456789ABCDEF"[u & 15];
    } else {
      shown += c;
    }
  }
  return "[" + shown + "]";
}

/// Where two texts first differ, for failure messages: the line number and both lines (lines
/// split after each LF, line ends shown escaped); "texts are equal" when they are.
inline std::string FirstDifference(const std::string& expected, const std::string& actual) {
  if (expected == actual) return "texts are equal";
  auto split = [](const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
      size_t end = text.find('\n', start);
      end = end == std::string::npos ? text.size() : end + 1;
      lines.push_back(text.substr(start, end - start));
      start = end;
    }
    return lines;
  };
  const auto want = split(expected);
  const auto got = split(actual);
  size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  std::ostringstream message;
  message << "texts differ first at line " << (i + 1)
          << "\n  expected: " << (i < want.size() ? Escaped(want[i]) : "<end of text>")
          << "\n  actual:   " << (i < got.size() ? Escaped(got[i]) : "<end of text>");
  return message.str();
}

/// Compares two texts byte for byte; on a difference names the first differing line.
inline ::testing::AssertionResult SameBytes(const std::string& expected,
                                            const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << FirstDifference(expected, actual);
}

}  // namespace ravelin::testing
