#include <gtest/gtest.h>

#include "common/PathPattern.h"

namespace ravelin {
namespace {

TEST(PathPatternTest, MatchesWholePathsIgnoringCase) {
  struct Row {
    const char *pattern, *path;
    bool matches;
  } rows[] = {
      // clang-format off
      {"*.pas", "Unit1.PAS", true},           {"*.pas", "sub/Unit1.pas", false},
      {"src/?.pas", "SRC/a.pas", true},       {"src/?.pas", "src/ab.pas", false},
      {"src\\*\\x.pas", "src/a/x.pas", true}, {"src/*/x.pas", "src/x.pas", false},
      {"**/x.pas", "x.pas", true},            {"**/x.pas", "a/b/c/x.pas", true},
      {"a/**/b/*.inc", "a/b/c.inc", true},    {"a/**/b/*.inc", "a/x/y/b/c.inc", true},
      {"a/**/b/*.inc", "a/x/y/c.inc", false}, {"a/**", "a/x/y/c.inc", true},
      {"a/**", "a", true},                    {"a/**/**/b", "a/b", true},
      {"./a//b/", "a/b", true},               {"a/b", "a/b/c", false},
      {"a**b", "axxb", true},                 {"a**b", "ax/xb", false},
      {"", "", true},                         {"", "a", false},
      // clang-format on
  };
  for (const auto& row : rows)
    EXPECT_EQ(PathPattern(row.pattern).Matches(row.path), row.matches)
        << row.pattern << " ~ " << row.path;
}

}  // namespace
}  // namespace ravelin
