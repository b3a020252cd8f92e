// ravelin-cli: exit statuses, messages, report delivery to standard output and to a report
// file, and the three ways of naming the input of "count".
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <sstream>

#include "SameText.h"
#include "TestFolder.h"
#include "cli/CliMain.h"
#include "linecount/LCntEngn.h"

namespace ravelin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct Result {
  int status;
  std::string out;
  std::string err;
};

/// Runs ravelin-cli in a fresh process state (the last report path as at program start).
Result RunCliWith(std::vector<std::string> args) {
  LastReportPath = "A:\\";
  args.insert(args.begin(), "ravelin-cli");
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::ostringstream out, err;
  int status = RunCli(static_cast<int>(args.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

std::string Joined(const std::vector<std::string>& args) {
  std::string text;
  for (const auto& arg : args) text += "[" + arg + "] ";
  return text;
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir / "Alpha.pas", "unit Alpha;\r\n\r\n{ note }\r\nend. // done\r\n");
    WriteBytes(dir / "Beta.pas", "unit Beta;\nend.\n");
  }
  TempFolder dir;
};

TEST_F(Cli, UsageErrorsExitWith2AndExplainOnStandardError) {
  const std::vector<std::vector<std::string>> rows = {
      {},
      {"frobnicate"},
      {"count"},
      {"count", "--bogus", "a.pas"},
      {"count", "-x", "a.pas"},
      {"count", "--list"},
      {"count", "--list", "files.txt", "a.pas"},
      {"count", "--list", "a", "--list", "b"},
      {"count", "--summary=yes", "a.pas"},
      {"count", "--report"},
      {"count", "--report", "", "a.pas"},
      {"help", "frobnicate"},
  };
  for (const auto& args : rows) {
    Result r = RunCliWith(args);
    EXPECT_EQ(r.status, 2) << Joined(args);
    EXPECT_EQ(r.out, "") << Joined(args);
    EXPECT_EQ(r.err.rfind("ravelin-cli: ", 0), 0u) << Joined(args) << r.err;
  }
}

TEST_F(Cli, HelpExplainsEveryOption) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"count", "--help"}, {"help", "count"}, {"count", "a.pas", "-h"}}) {
    Result r = RunCliWith(args);
    EXPECT_EQ(r.status, 0) << Joined(args);
    for (const char* option : {"--list LISTFILE", "--summary", "--report FILE", "--help"})
      EXPECT_NE(r.out.find(option), std::string::npos) << Joined(args) << " lacks " << option;
  }
  Result overview = RunCliWith({"--help"});
  EXPECT_EQ(overview.status, 0);
  EXPECT_NE(overview.out.find("count"), std::string::npos);
  EXPECT_EQ(RunCliWith({"--version"}).status, 0);
}

TEST_F(Cli, CountWritesTheReportToStandardOutputWithCrLf) {
  testing::ScopedCurrentFolder here(dir.Path());
  Result r = RunCliWith({"count", "Alpha.pas", "Beta.pas"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("Tallion (Win32 v:0.9)", 0), 0u);
  EXPECT_NE(r.out.find("\r\n     Alpha.pas        1  25        1  25        2  50        1  25  "
                       "50        4\r\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\r\n 2 files processed.\r\n"), std::string::npos);
  // Every line ends in CR LF and nothing else ends a line.
  for (size_t i = 0; i < r.out.size(); ++i) {
    if (r.out[i] == '\n') {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(r.out[i - 1], '\r') << "at byte " << i;
    }
  }
  EXPECT_EQ(r.out.substr(r.out.size() - 4), "\r\n\r\n");
}

TEST_F(Cli, NamesCountExactlyAsAListFileInTheCurrentFolder) {
  testing::ScopedCurrentFolder here(dir.Path());
  const std::vector<std::string> names = {"Beta.pas", "Missing.pas", "Alpha.pas"};
  for (bool summary : {false, true}) {
    std::vector<std::string> byName = {"count"};
    std::vector<std::string> byList = {"count", "--list", dir / "Tallion.Files"};
    if (summary) {
      byName.push_back("--summary");
      byList.push_back("--summary");
    }
    byName.insert(byName.end(), names.begin(), names.end());
    Result fromNames = RunCliWith(byName);
    EXPECT_FALSE(std::filesystem::exists(dir / "Tallion.Files")) << "names write no list file";

    WriteBytes(dir / "Tallion.Files", "Beta.pas\r\nMissing.pas\r\nAlpha.pas\r\n");
    Result fromList = RunCliWith(byList);
    std::filesystem::remove(dir / "Tallion.Files");

    EXPECT_EQ(fromNames.status, 0);
    EXPECT_EQ(fromList.status, 0);
    EXPECT_TRUE(testing::SameBytes(fromList.out, fromNames.out)) << "summary " << summary;
  }
}

TEST_F(Cli, OneQuotedPatternCountsTheMatchingFiles) {
  Result r = RunCliWith({"count", "--summary", dir.Path() + "/*.PAS"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\r\n    " + dir.Path() + "/*.PAS\r\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("(a list file containing 2 file names)"), std::string::npos);
  EXPECT_NE(r.out.find("     Total lines:         6\r\n"), std::string::npos) << r.out;
}

TEST_F(Cli, ReportOptionAppendsAndKeepsWhatTheFileHeld) {
  const std::string report = dir / "Ravelin.TXT";
  WriteBytes(report, "earlier report\r\n");
  Result toFile = RunCliWith({"count", "--report", report, dir / "Alpha.pas"});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_EQ(toFile.out, "");
  Result toStdout = RunCliWith({"count", dir / "Alpha.pas"});
  EXPECT_TRUE(testing::SameBytes("earlier report\r\n" + toStdout.out, ReadBytes(report)));

  // A second run appends again; a missing report file is created.
  ASSERT_EQ(RunCliWith({"count", "--report=" + report, dir / "Alpha.pas"}).status, 0);
  EXPECT_EQ(ReadBytes(report), "earlier report\r\n" + toStdout.out + toStdout.out);
  ASSERT_EQ(RunCliWith({"count", "--report", dir / "New.TXT", dir / "Alpha.pas"}).status, 0);
  EXPECT_EQ(ReadBytes(dir / "New.TXT"), toStdout.out);
}

TEST_F(Cli, ReportStartsOnALineOfItsOwnAfterAnUnfinishedLastLine) {
  const std::string report = dir / "Ravelin.TXT";
  const std::string fresh = RunCliWith({"count", dir / "Alpha.pas"}).out;
  struct Row {
    const char* what;
    std::string old;
    std::string want;  // what the report file holds afterwards
  } rows[] = {
      {"last line without a line end", "earlier", "earlier\r\n" + fresh},
      {"last line ended by CR LF", "earlier\r\n", "earlier\r\n" + fresh},
      {"last line ended by LF", "earlier\n", "earlier\n" + fresh},
      {"last line ended by CR", "earlier\r", "earlier\r" + fresh},
      {"empty file", "", fresh},
  };
  for (const auto& row : rows) {
    WriteBytes(report, row.old);
    ASSERT_EQ(RunCliWith({"count", "--report", report, dir / "Alpha.pas"}).status, 0) << row.what;
    EXPECT_TRUE(testing::SameBytes(row.want, ReadBytes(report))) << row.what;
  }
}

TEST_F(Cli, FailedRunExitsWith1NamingTheFileAndWritesNothing) {
  WriteBytes(dir / "Long.pas", "x;\r\n" + std::string(70000, 'y') + "\r\n");
  const std::string report = dir / "Ravelin.TXT", fresh = dir / "Fresh.TXT";
  const std::string list = dir / "NoSuch.Files", badReport = dir / "no-such-folder/Ravelin.TXT";
  struct Row {
    std::vector<std::string> args;
    std::string named;  // the file the message names
  } rows[] = {
      {{"count", "--list", list, "--report", report}, list},
      {{"count", "--list", list, "--report", fresh}, list},
      {{"count", "--report", report, dir / "Alpha.pas", dir / "Long.pas"},
       "\"" + (dir / "Long.pas") + "\""},
      {{"count", "--report", badReport, dir / "Alpha.pas"}, badReport},
  };
  for (const auto& row : rows) {
    WriteBytes(report, "old\r\n");
    Result r = RunCliWith(row.args);
    EXPECT_EQ(r.status, 1) << Joined(row.args);
    EXPECT_EQ(r.out, "") << Joined(row.args);
    EXPECT_EQ(r.err.rfind("ravelin-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(row.named), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(report), "old\r\n") << Joined(row.args);
    EXPECT_FALSE(std::filesystem::exists(fresh)) << Joined(row.args);
  }
}

TEST_F(Cli, ReportFailingHalfWayLeavesTheOldContentIntact) {
  // The file-size limit lets the append start and stops it part way, as a full disk would.
  const std::string report = dir / "Ravelin.TXT";
  const std::string old(100, 'o');
  WriteBytes(report, old);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 300;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Result r = RunCliWith({"count", "--report", report, dir / "Alpha.pas"});
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(report), std::string::npos) << r.err;
  EXPECT_EQ(ReadBytes(report), old);
}

}  // namespace
}  // namespace ravelin
