#include "platform/ProgramStart.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "common/Error.h"
#include "common/VornString.h"
#include "platform/DiskIo.h"
#include "platform/ExePath.h"

namespace ravelin {
namespace {

// How much of the end of the error output is read for its last line.
constexpr off_t kTailBytes = 4096;

// The file to run: program itself when it names a path, else the first executable of that
// name along PATH. Looked up before the program is forked, where nothing may allocate.
std::string ProgramFile(const std::string& program, int& err) {
  err = ENOENT;
  if (program.empty()) return "";
  if (program.find('/') != std::string::npos) return program;
  std::string path = EnvironmentValue("PATH");
  if (path.empty()) path = "/usr/local/bin:/usr/bin:/bin";
  while (!path.empty()) {
    std::string folder = SplitFirst(path, ":");
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      if (::access(candidate.c_str(), X_OK) == 0) return candidate;
      err = EACCES;
    }
  }
  return "";
}

// An unnamed file in the temporary folder, for the program's error output.
int UnnamedFile() {
  std::string folder = EnvironmentValue("TMPDIR");
  if (folder.empty()) folder = "/tmp";
  int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  std::string name = folder + "/ravelin-viewer-XXXXXX";
  fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) ::unlink(name.c_str());
  return fd;
}

// The last line with printable text at the end of the file, "" when there is none.
std::string LastLine(int fd) {
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_size == 0) return "";
  const off_t start = st.st_size > kTailBytes ? st.st_size - kTailBytes : 0;
  std::string text(static_cast<size_t>(st.st_size - start), '\0');
  const ssize_t got = ::pread(fd, text.data(), text.size(), start);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  text = TrimPrintableRight(text);
  const size_t lineEnd = text.find_last_of("\r\n");
  return TrimPrintable(lineEnd == std::string::npos ? text : text.substr(lineEnd + 1));
}

}  // namespace

StartedProgram::StartedProgram(const std::string& program, const std::vector<std::string>& args) {
  int err = 0;
  const std::string file = ProgramFile(program, err);
  if (file.empty()) disk::ThrowIo("Cannot start", program, err);
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  disk::Fd errorFile(UnnamedFile());
  int report[2];
  if (errorFile.get() < 0 || ::pipe2(report, O_CLOEXEC) != 0)
    disk::ThrowIo("Cannot start", program, errno);
  disk::Fd reportRead(report[0]), reportWrite(report[1]);

  pid_ = ::fork();
  if (pid_ == 0) {
    // The child: a session of its own, the signals as a new program expects them, the error
    // output into the unnamed file. Only calls that are safe after a fork.
    ::setsid();
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    ::dup2(errorFile.get(), STDERR_FILENO);
    ::execv(file.c_str(), argv.data());
    const int execErr = errno;
    [[maybe_unused]] const ssize_t ignored = ::write(reportWrite.get(), &execErr, sizeof execErr);
    ::_exit(127);
  }
  if (pid_ < 0) disk::ThrowIo("Cannot start", program, errno);
  reportWrite.Close();
  // The pipe closes unread when the program has started; a failed start writes its errno.
  int execErr = 0;
  ssize_t got;
  do {
    got = ::read(reportRead.get(), &execErr, sizeof execErr);
  } while (got < 0 && errno == EINTR);
  if (got == static_cast<ssize_t>(sizeof execErr)) {
    ::waitpid(pid_, nullptr, 0);
    disk::ThrowIo("Cannot start", program, execErr);
  }
  errorFd_ = errorFile.Release();
}

StartedProgram::~StartedProgram() {
  if (errorFd_ >= 0) ::close(errorFd_);
}

ProgramOutcome StartedProgram::Poll() {
  if (!outcome_.running) return outcome_;
  int status = 0;
  const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
  if (ended == 0) return outcome_;
  outcome_.running = false;
  // A program collected elsewhere (ended < 0) is not known to have failed.
  if (ended == pid_ && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
    outcome_.failed = true;
    outcome_.reason = LastLine(errorFd_);
    if (outcome_.reason.empty()) {
      outcome_.reason = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                          : "ended by signal " + std::to_string(WTERMSIG(status));
    }
  }
  ::close(errorFd_);
  errorFd_ = -1;
  return outcome_;
}

}  // namespace ravelin
