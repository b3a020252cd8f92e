#include <gtest/gtest.h>

#include "common/TextLines.h"

namespace ravelin {
namespace {

TEST(SplitLines, EndsLinesAtCrLfCrOrLf) {
  struct Row {
    std::string text;
    std::vector<std::string> lines;
  } rows[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR is two line ends
      {"\r\n", {""}},
      {"\r\r\r", {"", "", ""}},
      {"a\r\n\r\n", {"a", ""}},
      {"ab\x1A"
       "cd\r\n",
       {"ab"}},  // Ctrl-Z ends the text mid-line
      {"\x1A"
       "ab",
       {}},  // Ctrl-Z first: no line at all
      {"ab\r\n\x1A", {"ab"}},
      {std::string("a\0b", 3), {std::string("a\0b", 3)}},
  };
  for (const auto& row : rows) EXPECT_EQ(SplitLines(row.text), row.lines) << row.text;
}

TEST(JoinLinesCrLf, EndsEveryLine) {
  EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLinesCrLf({}), "");
}

}  // namespace
}  // namespace ravelin
