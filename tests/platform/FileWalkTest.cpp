#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "PassThroughFileSystem.h"
#include "TestFolder.h"
#include "common/PathUtil.h"
#include "platform/FileWalk.h"
#include "platform/GitIgnore.h"

namespace ravelin {
namespace {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

/// Walks and patterns over a tree made in a temporary folder, the current folder.
class FileWalkTest : public ::testing::Test {
 protected:
  /// Makes the entries: "name" a file, "name/" a folder, "name=target" a symbolic link.
  void Make(const std::string& tree) {
    for (const std::string& entry : Words(tree)) {
      auto link = entry.find('=');
      if (link != std::string::npos)
        std::filesystem::create_symlink(entry.substr(link + 1), dir_ / entry.substr(0, link));
      else if (entry.back() == '/')
        dir_.MakeFolder(entry);
      else
        dir_.Write(entry, entry);
    }
  }
  /// The paths taken from the inputs (patterns when they hold a wildcard), space-separated,
  /// without a leading "./"; outcomes_ gets each input's result: M(issing), F(ile), D(folder)
  /// or a pattern's match count.
  std::string Walk(const std::string& inputs, WalkOptions options = {}, FileSystem& fs = Fs()) {
    fs.ClearCache();  // as every run does: the tree changed since the last walk
    FileWalk walk(
        options, [this](const WalkWarning& w) { warnings_ += Describe(w) + "\n"; }, fs);
    outcomes_.clear();
    for (const std::string& input : Words(inputs)) {
      if (HasWildcard(input))
        outcomes_ += std::to_string(walk.AddPattern(input));
      else
        outcomes_ += "MFD"[static_cast<int>(walk.AddRoot(input))];
    }
    std::string files;
    for (const WalkedFile& file : walk.Files())
      files += (files.empty() ? "" : " ") + file.path.substr(file.path.rfind("./", 0) ? 0 : 2);
    return files;
  }
  static bool Git(const std::string& args) {  // in the current folder
    return std::system(("git " + args + " >/dev/null 2>&1").c_str()) == 0;
  }

  testing::TempFolder dir_{"ravelin-walk-XXXXXX"};
  testing::ScopedCurrentFolder cwd_{dir_.Path()};
  std::string outcomes_, warnings_;
};

TEST_F(FileWalkTest, FoldersGiveFilesByExtensionFilesFirstWithoutHiddenBackupsOrExcludes) {
  Make("b.PP a.pas c.txt .h.pas .hid/x.pas __history/h.pas __Recovery/r.pas _u.pas sub/e.dpr");
  Make("sub/deep/f.lpr bin/g.pas src/bin/h.pas src/b.pp/i.p");
  struct Row {
    const char *excludes, *extensions, *files;  // extensions "-": the default ones
  } rows[] = {
      // clang-format off
      {"", "-", "a.pas b.PP _u.pas bin/g.pas src/b.pp/i.p src/bin/h.pas sub/e.dpr sub/deep/f.lpr"},
      {"", "txt .PP", "b.PP c.txt"},
      {"sub bin", "", "a.pas b.PP c.txt _u.pas src/b.pp/i.p"},
      {"/bin ./sub/**/*.LPR", "-", "a.pas b.PP _u.pas src/b.pp/i.p src/bin/h.pas sub/e.dpr"},
      {"*.pas b.pp/ sub\\", "-", "b.PP"},
      {"**", "-", ""},
      // clang-format on
  };
  for (const auto& row : rows) {
    WalkOptions options;
    options.excludes = Words(row.excludes);
    if (std::string(row.extensions) != "-") options.extensions = Words(row.extensions);
    EXPECT_EQ(Walk(".", options), row.files) << row.excludes << " / " << row.extensions;
  }
  WalkOptions blank;
  blank.excludes = {""};
  blank.extensions = {"", "pp"};
  EXPECT_EQ(Walk(".", blank), "b.PP");
}

TEST_F(FileWalkTest, RootsAsGivenLinksFollowedOnceFilesTakenOnceUnreadableFoldersNamed) {
  Make("src/a.pas src/sub/b.pas src/sub/c.txt lib/d.pas other/e.pas src/sub/loop=.. locked/f.pas");
  Make("src/sub/up.pas=../a.pas src/ext=../other src/gone.pas=nowhere.pas h/one.pas");
  std::filesystem::create_hard_link(dir_ / "h/one.pas", dir_ / "h/two.pas");
  ASSERT_EQ(::mkfifo((dir_ / "src/pipe.pas").c_str(), 0600), 0);
  struct Row {
    const char *roots, *files, *outcomes;
  } rows[] = {
      // clang-format off
      {"src h", "src/a.pas src/ext/e.pas src/sub/b.pas h/one.pas", "DD"},
      {"src src/sub other lib/d.pas LIB/D.PAS src/a.pas src/sub/c.txt missing",
       "src/a.pas src/ext/e.pas src/sub/b.pas lib/d.pas src/sub/c.txt", "DDDFFFFM"},
      {"SRC/Sub/ src", "SRC/Sub/b.pas SRC/Sub/up.pas SRC/Sub/loop/ext/e.pas", "DD"},
      {"src/pipe.pas", "src/pipe.pas", "F"},
      // clang-format on
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Walk(row.roots), row.files) << row.roots;
    EXPECT_EQ(outcomes_, row.outcomes) << row.roots;
  }
  EXPECT_EQ(warnings_, "");
  struct Locked : testing::PassThroughFileSystem {
    FolderScan ScanFolder(std::string_view folder) override {
      if (NamePart(folder) == "locked") return FolderScan{"Permission denied", {}, {}};
      return PassThroughFileSystem::ScanFolder(folder);
    }
  } locked;
  EXPECT_EQ(Walk("locked l*/*.pas", {}, locked), "lib/d.pas");
  EXPECT_EQ(outcomes_ + warnings_,
            "D1Cannot read folder \"locked\": Permission denied\n"
            "Cannot read folder \"locked\": Permission denied\n");
}

TEST_F(FileWalkTest, PatternsMatchEachNameIgnoringCaseAndReportWhatTheyMatch) {
  Make("a.pas b.txt src/c.pas src/d.PAS src/x/e.pas src/x/j.inc src/x/y/f.pas src/.h/g.pas");
  Make("src/__history/h.pas lib/i.pas src/x/loop=..");
  struct Row {
    const char *patterns, *excludes, *files, *outcomes;
  } rows[] = {
      // clang-format off
      {"src/*.pas", "", "src/c.pas src/d.PAS", "2"},
      {"src/**/*.pas", "", "src/c.pas src/d.PAS src/x/e.pas src/x/y/f.pas", "4"},
      {"src/**/*.pas", "y x/e.pas", "src/c.pas src/d.PAS", "2"},
      {"src/*/*.pas src/**/y/*.pas", "", "src/x/e.pas src/x/y/f.pas", "11"},
      {"**/*.pas", "", "a.pas lib/i.pas src/c.pas src/d.PAS src/x/e.pas src/x/y/f.pas", "6"},
      {"SRC/X/*.PAS src\\x\\*.inc", "", "SRC/X/e.pas src\\x\\j.inc", "11"},
      {"src/** src/.h/*.pas src/__history/*", "",
       "src/c.pas src/d.PAS src/x/e.pas src/x/j.inc src/x/y/f.pas src/.h/g.pas src/__history/h.pas",
       "511"},
      {"a.pas *.pas src/*.pas **/*.pas", "",
       "a.pas src/c.pas src/d.PAS lib/i.pas src/x/e.pas src/x/y/f.pas", "F126"},
      {"nothing/*.pas *.xyz a.pas/* src/.?/*.pas", "", "src/.h/g.pas", "0001"},
      // clang-format on
  };
  for (const auto& row : rows) {
    WalkOptions options;
    options.excludes = Words(row.excludes);
    EXPECT_EQ(Walk(row.patterns, options), row.files) << row.patterns;
    EXPECT_EQ(outcomes_, row.outcomes) << row.patterns;
  }
  EXPECT_EQ(warnings_, "");
}

TEST_F(FileWalkTest, GitIgnoredEntriesAreLeftOutAsGitLeavesThemOut) {
#ifndef RAVELIN_HAVE_LIBGIT2
  GTEST_SKIP() << "built without libgit2";
#endif
  ASSERT_TRUE(HaveGitIgnore());
  ASSERT_TRUE(Git("init -q . && git init -q inner")) << "git is missing";
  dir_.Write(".gitignore", "*.inc\n!keep.inc\nbuild/\n/top.pas\ngen/\n");
  dir_.Write("sub/.gitignore", "local.pas\n");
  dir_.Write("inner/.gitignore", "/*.pp\n");
  Make("a.pas b.inc keep.inc top.pas local.pas tracked.inc sub/top.pas sub/local.pas");
  Make("build/x.pas sub/build/y.pas gen/t.pas gen/u.pas inner/v.inc inner/w.pp");
  ASSERT_TRUE(Git("add -f tracked.inc gen/t.pas"));
  testing::TempFolder plain("ravelin-plain-XXXXXX");  // in no repository
  const std::string plainFile = plain.Write("p.pas", "");
  plain.Write(".gitignore", "*.pas\n");
  struct Row {
    const char* roots;
    bool gitIgnore;
    const char* files;
  } rows[] = {
      // clang-format off
      {".", true, "a.pas keep.inc local.pas tracked.inc gen/t.pas inner/v.inc sub/top.pas"},
      {".", false, "a.pas b.inc keep.inc local.pas top.pas tracked.inc build/x.pas gen/t.pas "
                   "gen/u.pas inner/v.inc inner/w.pp sub/local.pas sub/top.pas sub/build/y.pas"},
      {"sub build inner", true, "sub/top.pas build/x.pas inner/v.inc"},
      {plain.Path().c_str(), true, plainFile.c_str()},
      // clang-format on
  };
  for (const auto& row : rows) {
    WalkOptions options;
    options.gitIgnore = row.gitIgnore;
    EXPECT_EQ(Walk(row.roots, options), row.files) << row.roots << " " << row.gitIgnore;
  }
  EXPECT_EQ(warnings_, "");
  ASSERT_TRUE(Git("init -q bad"));  // a repository that cannot be read: walked without rules
  Make("bad/z.pas");
  dir_.Write("bad/.git/config", "[bad\n");
  EXPECT_EQ(Walk("bad"), "bad/z.pas");
  EXPECT_EQ(warnings_.substr(0, 44), "Cannot read the git ignore rules for \"bad\": ");
}

}  // namespace
}  // namespace ravelin
