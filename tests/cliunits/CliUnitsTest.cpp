// ravelin-cli's unit commands: list, tree, depend and report on a small project built in a
// temporary folder and on the demo project, their search settings, delivery and errors.
#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>
#include <utime.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "SameText.h"
#include "TestFolder.h"
#include "cli/CliMain.h"
#include "common/VornString.h"
#include "linecount/LCntEngn.h"
#include "settings/LstGlobal.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;

using testing::ReadBytes;
using testing::WriteBytes;

// The folder name the expected reports are written with; the real one has the same length.
constexpr const char* kGoldenFolder = "/tmp/ravelin-cli-XXXXXX";
constexpr std::time_t kFileTime = 966342896;  // 2000-08-15 12:34:56 UTC

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

CliRun RunArgs(std::vector<std::string> args) {
  args.insert(args.begin(), "ravelin-cli");
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  std::ostringstream out, err;
  int status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

// The banner's date and time, which change from run to run, as a fixed text of equal width.
std::string MaskBannerTime(const std::string& text) {
  static const std::regex stamp(R"(RAVELIN REPORT \d{4} [A-Za-z]{3} \d{2} @ \d{2}:\d{2})");
  return std::regex_replace(text, stamp, "RAVELIN REPORT yyyy mmm dd @ hh:mm");
}

/// Sets an environment variable for the scope, putting the old value back at its end.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
    ::tzset();
  }
  ~ScopedEnv() {
    old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_);
    ::tzset();
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class CliUnitsTest : public ::testing::Test {
 protected:
  void TearDown() override { SetSettingsFileName(""); }

  // A project: Demo.dpr and two units in app/, a unit found only along the search paths in
  // lib/, a runtime unit one subfolder down in rtl/, and two units found nowhere.
  void SetUp() override {
    const std::pair<const char*, const char*> files[] = {
        {"app/Demo.dpr",
         "program Demo;\r\nuses\r\n  Forms,\r\n  Unit1 in 'Unit1.pas',\r\n  Helper;\r\nbegin\r\n"
         "end.\r\n"},
        {"app/Unit1.pas",
         "unit Unit1;\r\ninterface\r\nuses SysUtils, Helper;\r\nimplementation\r\n"
         "uses Windows, Unit2;\r\nend.\r\n"},
        {"app/Unit2.pas", "unit Unit2;\ninterface\nimplementation\nend.\n"},
        {"lib/Helper.pas", "unit Helper;\rinterface\ruses SysUtils;\rimplementation\rend.\r"},
        {"rtl/sys/SysUtils.pas",
         "unit SysUtils;\r\n{ the runtime library }\r\ninterface\r\nimplementation\r\nend.\r\n"},
    };
    for (const auto& [name, text] : files) {
      WriteBytes(dir_ / name, text);
      utimbuf times{kFileTime, kFileTime};
      ASSERT_EQ(::utime((dir_ / name).c_str(), &times), 0);
    }
  }

  // An expected report from the golden folder, written for kGoldenFolder, moved to dir_.
  std::string Golden(const std::string& name) const {
    std::string text = ReadBytes(fs::path(RAVELIN_SOURCE_DIR) / "tests/cliunits/golden" / name);
    EXPECT_FALSE(text.empty()) << name;
    return ReplaceAll(text, kGoldenFolder, dir_.string());
  }

  std::string Root() const { return (dir_ / "app" / "Demo.dpr").string(); }

  testing::TempFolder folder_{kGoldenFolder};
  fs::path dir_ = folder_.Path();
  ScopedEnv xdg_{"XDG_CONFIG_HOME", (dir_ / "config").string()};
  ScopedEnv tz_{"TZ", "UTC"};
  testing::ScopedCurrentFolder here_{dir_};
};

TEST_F(CliUnitsTest, TreeDrawsTheChartFromAFreshStart) {
  // A listing first: its time must not reach the next command's banner.
  ASSERT_EQ(RunArgs({"list", "app/Demo.dpr"}).status, 0);
  CliRun run = RunArgs({"tree", "--search", "lib", "--rtl", "rtl", "app/Demo.dpr"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(testing::SameBytes(Golden("tree.txt"), run.out));
  EXPECT_EQ(fs::current_path(), dir_);  // the start folder is back
}

TEST_F(CliUnitsTest, DependReadsSearchFoldersFromTheSettingsFile) {
  WriteBytes(dir_ / "my.INI", "[LAST]\r\nSearch Paths=" + (dir_ / "lib").string() +
                                  "\r\nRTL=" + (dir_ / "rtl").string() +
                                  "/\r\nUse RTL=1\r\nUse Search Path=1\r\n");
  CliRun run = RunArgs({"depend", "--settings", "my.INI", Root()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(testing::SameBytes(Golden("depend.txt"), run.out));
}

TEST_F(CliUnitsTest, ListShowsEveryUnitFileWithSizeAndTime) {
  CliRun run = RunArgs({"list", "--vcl", "rtl", "--search", ";lib;;", Root()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(testing::SameBytes(Golden("list.txt"), MaskBannerTime(run.out)));
}

TEST_F(CliUnitsTest, CommandLineFoldersOverrideTheSettingsAndSwitchThemOn) {
  const std::string lib = (dir_ / "lib").string();
  const std::string rtl = (dir_ / "rtl").string() + "/";
  const std::string settingsOff =
      "[LAST]\r\nSearch Paths=" + lib + "\r\nRTL=" + rtl + "\r\nVCL=" + rtl + "\r\n";
  const std::string settingsOn = settingsOff + "Use RTL=1\r\nUse Search Path=1\r\nUse VCL=0\r\n";
  const std::string settingsElsewhere =
      "[LAST]\r\nSearch Paths=/nonexistent\r\nUse Search Path=1\r\n";
  const struct {
    const char* name;
    std::string settings;  // empty: no --settings
    std::vector<std::string> options;
    bool helperFound;
    bool sysUtilsFound;
  } rows[] = {
      {"nothing switched on", "", {}, false, false},
      {"--search", "", {"--search", "lib"}, true, false},
      {"--rtl", "", {"--rtl", "rtl"}, false, true},
      {"--vcl", "", {"--vcl", "rtl/"}, false, true},
      {"settings with searches off", settingsOff, {}, false, false},
      {"settings with searches on", settingsOn, {}, true, true},
      {"--search switches the stored path on", settingsOff, {"--search", "lib"}, true, false},
      {"--search replaces the stored path", settingsElsewhere, {"--search", "lib"}, true, false},
      {"--rtl replaces the stored folder", settingsOn, {"--rtl", "lib"}, true, false},
  };
  for (const auto& row : rows) {
    std::vector<std::string> args = {"list"};
    if (!row.settings.empty()) {
      WriteBytes(dir_ / "row.INI", row.settings);
      args.insert(args.end(), {"--settings", "row.INI"});
    }
    args.insert(args.end(), row.options.begin(), row.options.end());
    args.push_back(Root());
    CliRun run = RunArgs(args);
    ASSERT_EQ(run.status, 0) << row.name << ": " << run.err;
    const std::string helper = row.helperFound ? lib + "/Helper.pas" : "  Helper.pas";
    const std::string sysUtils =
        row.sysUtilsFound ? (dir_ / "rtl/sys/SysUtils.pas").string() : "  SysUtils.pas";
    EXPECT_NE(run.out.find(helper + "\r\n"), std::string::npos) << row.name;
    EXPECT_NE(run.out.find(sysUtils + "\r\n"), std::string::npos) << row.name;
  }
}

TEST_F(CliUnitsTest, ReportIsTheFourButtonsInTurnWithReuseList) {
  CliRun run = RunArgs({"report", "--search", "lib", "--rtl", "rtl", "app/Demo.dpr"});
  ASSERT_EQ(run.status, 0) << run.err;

  // The line count part is what `count` gives for the unit files, in their list order, in the
  // project's folder, from the line counter's state at start.
  auto at = [&](const char* name) { return (dir_ / name).string(); };
  fs::current_path(dir_ / "app");
  LastReportPath = "A:\\";
  CliRun count =
      RunArgs({"count", Root(), at("app/Unit1.pas"), at("app/Unit2.pas"), at("lib/Helper.pas"),
               at("rtl/sys/SysUtils.pas"), "Forms.pas", "Windows.pas"});
  fs::current_path(dir_);
  ASSERT_EQ(count.status, 0) << count.err;
  EXPECT_NE(count.out.find("PATH: " + (dir_ / "app").string() + "/\r\n"), std::string::npos);

  // Chart and table carry the listing's time in their banners.
  auto timed = [](std::string text) {
    return text.replace(text.find(CenterText("RAVELIN REPORT", 100)), 100,
                        CenterText("RAVELIN REPORT yyyy mmm dd @ hh:mm", 100));
  };
  const std::string expected =
      Golden("list.txt") + timed(Golden("tree.txt")) + timed(Golden("depend.txt")) + count.out;
  EXPECT_TRUE(testing::SameBytes(expected, MaskBannerTime(run.out)));
  EXPECT_FALSE(fs::exists(dir_ / "app" / "Tallion.Files"));
}

TEST_F(CliUnitsTest, ReportFileIsAppendedToAndNamedFromTheStartFolder) {
  WriteBytes(dir_ / "out.txt", "earlier report\r\n");
  CliRun first = RunArgs({"depend", "--report", "out.txt", "app/Demo.dpr"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, "");
  CliRun second = RunArgs({"depend", "--report", "out.txt", "app/Demo.dpr"});
  ASSERT_EQ(second.status, 0) << second.err;
  CliRun shown = RunArgs({"depend", "app/Demo.dpr"});
  EXPECT_EQ(ReadBytes(dir_ / "out.txt"), "earlier report\r\n" + shown.out + shown.out);
  EXPECT_FALSE(fs::exists(dir_ / "app" / "out.txt"));
}

TEST_F(CliUnitsTest, BadCommandLinesAndMissingFilesGiveErrors) {
  WriteBytes(dir_ / "plain", "a file");
  const std::string missing = (dir_ / "missing.dpr").string();
  const struct {
    std::vector<std::string> args;
    int status;
    std::string message;  // what stderr must hold
  } rows[] = {
      {{"list"}, 2, "ravelin-cli: no root file given"},
      {{"tree", "a.dpr", "b.dpr"}, 2, "ravelin-cli: give exactly one root file"},
      {{"depend", "--bogus", "app/Demo.dpr"}, 2, "unknown option '--bogus'"},
      {{"report", "app/Demo.dpr", "--rtl"}, 2, "'--rtl' needs a value"},
      {{"list", "missing.dpr"}, 1, "ravelin-cli: Cannot open \"" + missing + "\""},
      {{"tree", "app"}, 1, "ravelin-cli: Cannot open \"" + (dir_ / "app").string() + "\""},
      {{"depend", "--settings", "none.INI", "app/Demo.dpr"},
       1,
       "ravelin-cli: Cannot open settings file \"" + (dir_ / "none.INI").string() + "\""},
      {{"report", "--report", "plain/out.txt", "app/Demo.dpr"},
       1,
       "ravelin-cli: Cannot write \"" + (dir_ / "plain/out.txt").string() + "\""},
  };
  for (const auto& row : rows) {
    CliRun run = RunArgs(row.args);
    std::string line;
    for (const auto& arg : row.args) line += arg + " ";
    EXPECT_EQ(run.status, row.status) << line;
    EXPECT_NE(run.err.find(row.message), std::string::npos) << line << "\n" << run.err;
    EXPECT_EQ(run.out, "") << line;
    EXPECT_EQ(fs::current_path(), dir_) << line;
  }
  EXPECT_EQ(ReadBytes(dir_ / "plain"), "a file");
}

TEST_F(CliUnitsTest, ReportOnTheDemoProjectCountsEveryListedFile) {
  // A copy of the demo: the line count leaves the scratch file of a binary form in the
  // project's folder, which must not land in the source tree.
  const fs::path demo = fs::path(RAVELIN_SOURCE_DIR) / "samples/demo";
  ASSERT_TRUE(fs::is_regular_file(demo / "Demo.dpr")) << demo;
  fs::copy(demo, dir_ / "demo", fs::copy_options::recursive);
  const std::string root = (dir_ / "demo/Demo.dpr").string();
  CliRun run = RunArgs({"report", root});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string titles[] = {"Unit File Listing for " + root, "Unit Tree Chart for " + root,
                                "Unit Dependency Table for " + root, "Line Count Detailed Report"};
  size_t at = 0;
  for (const auto& title : titles) {
    size_t found = run.out.find(title, at);
    ASSERT_NE(found, std::string::npos) << title;
    at = found;
  }
  // One listing row per unit file, and the line count goes over exactly those files.
  static const std::regex listRow(R"(\r\n +\d+: )");
  const std::string listing = run.out.substr(0, run.out.find(titles[1]));
  auto rows = std::distance(std::sregex_iterator(listing.begin(), listing.end(), listRow),
                            std::sregex_iterator());
  ASSERT_GT(rows, 1);
  EXPECT_NE(run.out.find("\r\n " + std::to_string(rows) + " files processed.\r\n"),
            std::string::npos);
  EXPECT_EQ(fs::current_path(), dir_);
  EXPECT_FALSE(fs::exists(fs::path(root).parent_path() / "Tallion.Files"));
}

TEST_F(CliUnitsTest, HelpCoversTheUnitCommands) {
  CliRun overview = RunArgs({"--help"});
  EXPECT_EQ(overview.status, 0);
  for (const char* name : {"list", "tree", "depend", "report"}) {
    EXPECT_NE(overview.out.find(std::string("\n  ") + name + " "), std::string::npos) << name;
    CliRun help = RunArgs({name, "--help"});
    EXPECT_EQ(help.status, 0) << name;
    for (const char* option : {"--settings FILE", "--rtl DIR", "--vcl DIR", "--search", "--report"})
      EXPECT_NE(help.out.find(option), std::string::npos) << name << " " << option;
  }
}

}  // namespace
}  // namespace ravelin
