#include <gtest/gtest.h>

#include "common/PathUtil.h"

namespace ravelin {
namespace {

TEST(PathParts, SplitAtTheLastSlashOrBackslash) {
  struct Row {
    const char* path;
    const char* folder;
    const char* name;
    const char* ext;
    const char* base;
  } rows[] = {
      {"/src/Unit1.pas", "/src/", "Unit1.pas", ".pas", "Unit1"},
      {"C:\\Src\\Main.dpr", "C:\\Src\\", "Main.dpr", ".dpr", "Main"},
      {"a\\b/c.d.e", "a\\b/", "c.d.e", ".e", "c.d"},
      {"C:Unit", "", "C:Unit", "", "C:Unit"},  // a colon is ordinary
      {"/dir.x/file", "/dir.x/", "file", "", "file"},
      {"Unit1", "", "Unit1", "", "Unit1"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FolderPart(row.path), row.folder) << row.path;
    EXPECT_EQ(NamePart(row.path), row.name) << row.path;
    EXPECT_EQ(ExtensionOf(row.path), row.ext) << row.path;
    EXPECT_EQ(BaseNameOf(row.path), row.base) << row.path;
  }
}

TEST(ChangeExtension, ReplacesOrAppends) {
  EXPECT_EQ(ChangeExtension("/s/Unit1.pas", ".DFM"), "/s/Unit1.DFM");
  EXPECT_EQ(ChangeExtension("/s.d/Unit1", ".DFM"), "/s.d/Unit1.DFM");
  EXPECT_EQ(ChangeExtension("a.b.c", ".x"), "a.b.x");
}

TEST(ExpandPath, MakesAbsoluteRemovesDotsAndTurnsBackslashes) {
  struct Row {
    const char* path;
    const char* cwd;
    const char* want;
  } rows[] = {
      {"a.pas", "/home/u", "/home/u/a.pas"},
      {"..\\Common\\Utils.pas", "/p/src", "/p/Common/Utils.pas"},
      {"/x/./y/../z/", "/ignored", "/x/z"},
      {"../../../..", "/a", "/"},
      {"", "/a/b", "/a/b"},
      {"sub\\", "/", "/sub"},
      {"//x//y", "/", "/x/y"},
  };
  for (const auto& row : rows) EXPECT_EQ(ExpandPath(row.path, row.cwd), row.want) << row.path;
}

TEST(WildcardMatch, StarAndQuestionMarkIgnoringCase) {
  struct Row {
    const char* pattern;
    const char* name;
    bool match;
  } rows[] = {
      {"*.pas", "Unit1.PAS", true},
      {"*.pas", "Unit1.pas.bak", false},
      {"unit?.pas", "Unit1.pas", true},
      {"unit?.pas", "Unit12.pas", false},
      {"*", "", true},
      {"*", ".", true},
      {"*.in?", "defs.inc", true},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"", "", true},
      {"", "a", false},
      {"?", "", false},
      {"***x", "abcx", true},
  };
  for (const auto& row : rows)
    EXPECT_EQ(WildcardMatch(row.pattern, row.name), row.match) << row.pattern << " ~ " << row.name;
}

TEST(WildcardMatch, StaysFastOnPathologicalPatterns) {
  std::string name(100000, 'a');
  EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*a*a*b", name));
}

}  // namespace
}  // namespace ravelin
