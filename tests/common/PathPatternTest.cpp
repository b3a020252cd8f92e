#include <gtest/gtest.h>

#include "common/PathPattern.h"

namespace ravelin {
namespace {

TEST(PathPatternTest, MatchesWholePathsIgnoringCase) {
  struct Row {
    const char* pattern;
    const char* path;
    bool matches;
  } rows[] = {
      {"*.pas", "Unit1.PAS", true},
      {"*.pas", "sub/Unit1.pas", false},
      {"src/?.pas", "SRC/a.pas", true},
      {"src/?.pas", "src/ab.pas", false},
      {"src\\*\\x.pas", "src/a/x.pas", true},
      {"src/*/x.pas", "src/x.pas", false},
      {"**/x.pas", "x.pas", true},
      {"**/x.pas", "a/b/c/x.pas", true},
      {"a/**/b/*.inc", "a/b/c.inc", true},
      {"a/**/b/*.inc", "a/x/y/b/c.inc", true},
      {"a/**/b/*.inc", "a/x/y/c.inc", false},
      {"a/**", "a/x/y/c.inc", true},
      {"a/**", "a", true},
      {"a/**/**/b", "a/b", true},
      {"./a//b/", "a/b", true},
      {"a/b", "a/b/c", false},
      {"a**b", "axxb", true},
      {"a**b", "ax/xb", false},
      {"", "", true},
      {"", "a", false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(PathPattern(row.pattern).Matches(row.path), row.matches)
        << row.pattern << " ~ " << row.path;
}

TEST(PathPatternTest, WildcardsReachAHiddenNameOnlyWhenAllowedOrSpelledWithItsDot) {
  struct Row {
    const char* pattern;
    bool allowed;
    bool complete;
  } rows[] = {
      {"*", true, true},     {"*", false, false},    {"**", false, false},     {".*", false, true},
      {".git", false, true}, {"?git", false, false}, {"**/.git", false, true}, {"x", true, false},
  };
  for (const auto& row : rows) {
    PathPattern pattern(row.pattern);
    EXPECT_EQ(pattern.Complete(pattern.Step(pattern.Start(), ".git", row.allowed)), row.complete)
        << row.pattern << " allowed " << row.allowed;
  }
  PathPattern deep("a/**/*.pas");
  auto inA = deep.Step(deep.Start(), "A", false);
  EXPECT_TRUE(deep.CanGoOn(inA));
  EXPECT_FALSE(deep.Complete(inA));
  EXPECT_FALSE(deep.CanGoOn(deep.Step(deep.Start(), "b", true)));
}

TEST(PathPatternTest, FixedPartEndsAtTheDelimiterBeforeTheFirstWildcard) {
  struct Row {
    const char* text;
    size_t length;
  } rows[] = {
      {"*.pas", 0},    {"src/*.pas", 4}, {"/home/me/**/x", 9},
      {"a\\b?\\c", 2}, {"src/a.pas", 4}, {"a.pas", 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(PathPattern::FixedPartLength(row.text), row.length) << row.text;
}

}  // namespace
}  // namespace ravelin
