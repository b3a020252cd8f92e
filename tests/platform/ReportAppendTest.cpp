// The one report append: a full disk (through the disk's quota), several processes appending
// at once, and a process ended by a signal while it appends. Each case checks what the report
// file holds afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <optional>

#include "TestFolder.h"
#include "common/Error.h"
#include "platform/FileSys.h"

namespace ravelin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

/// A report of lines that tell which report (id) and which line they are.
std::string Report(int id, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i)
    text += "report " + std::to_string(id) + " line " + std::to_string(i) + "\r\n";
  return text;
}

/// Starts a process that appends Report(id, lines) to file after a line end when needed.
pid_t AppendInChild(const std::string& file, int id, int lines, int startPipe = -1) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Descriptors of the parent's (a report file it holds locked) are not this run's.
    for (int fd = 3; fd < 1024; ++fd)
      if (fd != startPipe) ::close(fd);
    const std::string text = Report(id, lines);
    char go;
    if (startPipe >= 0 && ::read(startPipe, &go, 1) < 0) ::_exit(2);
    try {
      MakeDiskFileSystem()->AppendReport(file, text, ReportStart::OnOwnLine);
    } catch (const Error&) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  return pid;
}

TEST(ReportAppend, FailedAppendOnAFullDiskRemovesExactlyItsOwnBytes) {
  struct Row {
    const char* what;
    std::optional<std::string> old;  // nullopt: no report file yet
    std::uint64_t room;              // bytes the disk takes before it is full
    bool racer;                      // another run appends while the disk is full
  };
  const Row rows[] = {
      {"no room", "old\r\n", 0, false},
      {"full half way", "old report\r\n", 5000, false},
      {"full after the line end put first", "old", 2, false},
      {"new file", std::nullopt, 100, false},
      {"another run waits for the lock and keeps its report", "old\r\n", 5000, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder dir;
    const std::string file = dir / "r.txt";
    if (row.old) dir.Write("r.txt", *row.old);
    pid_t racer = -1;
    DiskQuota quota{row.room, [&] {
                      if (!row.racer) return;
                      racer = AppendInChild(file, 2, 3);
                      ::usleep(200000);  // time enough to append, were the file not locked
                    }};
    auto disk = MakeDiskFileSystem(quota);
    try {
      disk->AppendReport(file, Report(1, 1000), ReportStart::OnOwnLine);
      ADD_FAILURE() << "no error";
    } catch (const IoError& e) {
      EXPECT_EQ(e.Reason(), "No space left on device");
    }
    int status = 0;
    if (racer > 0) ::waitpid(racer, &status, 0);
    std::string expected = row.old.value_or("") + (row.racer ? Report(2, 3) : "");
    EXPECT_EQ(ReadBytes(file), expected);
    EXPECT_EQ(::access(file.c_str(), F_OK) == 0, row.old.has_value());
  }
}

TEST(ReportAppend, ConcurrentRunsQueueAndEveryReportArrivesWhole) {
  constexpr int kRuns = 20;
  for (int round = 0; round < 40; ++round) {
    TempFolder dir;
    const std::string old = "old last line without its end";
    const std::string file = dir.Write("r.txt", old);
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int id = 0; id < kRuns; ++id) children.push_back(AppendInChild(file, id, 500, start[0]));
    ::close(start[1]);  // all start at once
    for (pid_t child : children) {
      int status = 0;
      ::waitpid(child, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ::close(start[0]);
    std::string text = ReadBytes(file);
    const std::string head = old + "\r\n";
    ASSERT_EQ(text.compare(0, head.size(), head), 0) << "round " << round;
    text.erase(0, head.size());
    for (int id = 0; id < kRuns; ++id) {
      const std::string report = Report(id, 500);
      const size_t at = text.find(report);
      ASSERT_NE(at, std::string::npos) << "round " << round << ", report " << id;
      text.erase(at, report.size());
    }
    EXPECT_EQ(text, "") << "round " << round;  // nothing lost, nothing added
  }
}

TEST(ReportAppend, SignalDuringAnAppendTakesEffectOnceTheReportIsWhole) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TempFolder dir;
    const std::string file = dir.Write("r.txt", "old\r\n");
    const pid_t child = AppendInChild(file, 1, 2000000);  // about 50 MB
    struct stat st {};
    while (::stat(file.c_str(), &st) == 0 && st.st_size == 5) ::usleep(100);
    ::kill(child, signal);  // the report is being written
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
    const std::string text = ReadBytes(file);
    EXPECT_TRUE(text == "old\r\n" + Report(1, 2000000))
        << "the file holds " << text.size() << " bytes";
  }
}

}  // namespace
}  // namespace ravelin
