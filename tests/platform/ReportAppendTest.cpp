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

/// A report of lines that tell which report (id, one digit) it is.
std::string Report(int id, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "report " + std::to_string(id % 10) + "\r\n";
  return text;
}

/// Starts a process that appends Report(id, lines) to file (after a line end when needed) once
/// start, when given, can be read; Wait(pid) gives its wait status.
pid_t AppendInChild(const std::string& file, int id, int lines, int start = -1) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  for (int fd = 3; fd < 1024; ++fd)  // the parent's, such as a report file it holds locked
    if (fd != start) ::close(fd);
  const std::string text = Report(id, lines);
  char go;
  if (start >= 0 && ::read(start, &go, 1) < 0) ::_exit(2);
  try {  // an error must never reach the parent's frames, copied into this process
    MakeDiskFileSystem()->AppendReport(file, text, ReportStart::OnOwnLine);
  } catch (...) {
    ::_exit(1);
  }
  ::_exit(0);
}
int Wait(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

TEST(ReportAppend, FailedAppendOnAFullDiskRemovesExactlyItsOwnBytes) {
  const struct {
    std::optional<std::string> old;  // nullopt: no report file yet; "old": full right after
    std::uint64_t room;              // the line end put first; room: the bytes the disk takes
    int racer;  // 1: another run appends meanwhile, waiting for the lock; 2: it gets SIGTERM
                // while it waits; 3: a writer that ignores the lock appends "x" meanwhile
  } rows[] = {{"old report\r\n", 5000, 0}, {"old", 2, 0},     {std::nullopt, 100, 0},
              {"old\r\n", 0, 1},           {"old\r\n", 0, 2}, {"old\r\n", 0, 3}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.old.value_or("no file") + " racer " + std::to_string(row.racer));
    TempFolder dir;
    const std::string file = dir / "r.txt";
    if (row.old) dir.Write("r.txt", *row.old);
    pid_t racer = -1;
    int status = 0;
    auto onFull = [&] {
      if (row.racer == 3) testing::WriteBytes(file, *row.old + "x");  // the end it saw, and "x"
      if (row.racer == 1 || row.racer == 2) racer = AppendInChild(file, 2, 3);
      if (racer > 0) ::usleep(200000);             // enough to append, were the file not locked
      if (row.racer == 2) ::kill(racer, SIGTERM);  // it ends while the lock is still held:
      for (int i = 0; row.racer == 2 && i < 500 && !::waitpid(racer, &status, WNOHANG); ++i)
        ::usleep(10000);
    };
    EXPECT_THROW(MakeDiskFileSystem({row.room, onFull})
                     ->AppendReport(file, Report(1, 999), ReportStart::OnOwnLine),
                 IoError);
    if (row.racer == 1) status = Wait(racer);
    EXPECT_EQ(status, row.racer == 2 ? SIGTERM : 0);  // wait status
    const std::string added = row.racer == 1 ? Report(2, 3) : row.racer == 3 ? "x" : "";
    EXPECT_EQ(ReadBytes(file), row.old.value_or("") + added);
    EXPECT_EQ(::access(file.c_str(), F_OK) == 0, row.old.has_value());
  }
}

TEST(ReportAppend, ConcurrentRunsQueueAndEveryReportArrivesWhole) {
  const std::string old = "old last line without its end";
  for (int round = 0; round < 40; ++round) {
    TempFolder dir;
    const std::string file = dir.Write("r.txt", old);
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> runs;
    for (int id = 0; id < 20; ++id) runs.push_back(AppendInChild(file, id, 500, start[0]));
    ::close(start[1]);  // all start at once
    for (pid_t run : runs) EXPECT_EQ(Wait(run), 0);
    ::close(start[0]);
    // The old text, one line end, then each report whole, in any order.
    const std::string text = ReadBytes(file);
    ASSERT_EQ(text.size(), old.size() + 2 + 20 * 5000) << round;
    EXPECT_EQ(text.substr(0, old.size() + 2), old + "\r\n");
    for (size_t at = old.size() + 2; at < text.size(); at += 5000)
      ASSERT_EQ(text.substr(at, 5000), Report(text[at + 7] - '0', 500)) << round;
  }
}

TEST(ReportAppend, SignalDuringAnAppendTakesEffectOnceTheReportIsWhole) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    TempFolder dir;
    const std::string file = dir.Write("r.txt", "old\r\n");
    const pid_t child = AppendInChild(file, 1, 5000000);  // 50 MB
    struct stat st {};
    while (::stat(file.c_str(), &st) == 0 && st.st_size == 5) ::usleep(100);
    ::kill(child, signal);  // while the report is being written
    const int status = Wait(child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
    const std::string text = ReadBytes(file);
    EXPECT_TRUE(text == "old\r\n" + Report(1, 5000000)) << signal << ": " << text.size();
  }
}

}  // namespace
}  // namespace ravelin
