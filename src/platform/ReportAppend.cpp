// The one way a report reaches a report file on disk: opened as a regular file only, locked
// while it is appended to, written in one piece at the end seen under the lock, cut back to
// exactly that end when writing fails, with the signals that end a program held back until
// the file is consistent again.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/DeferredSignals.h"
#include "platform/DiskIo.h"

namespace ravelin::disk {

namespace {

/// The reason given for a link whose target does not exist.
constexpr const char* kDanglingLink = "a link to a file that does not exist";

/// A report file open for reading and writing (writing only when it cannot be read) and
/// locked against every other report append.
struct LockedReport {
  Fd fd;
  bool created = false;   // this call created the file
  bool readable = false;  // its last byte can be read
};

/// Opens target as a report file (see FileSystem::AppendReport), or returns an invalid
/// descriptor when the file changed under the call and the open must be tried again.
LockedReport TryOpenLocked(const std::string& target, std::string_view shown, const char* what) {
  LockedReport report;
  struct stat st;
  constexpr int kOpen = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  if (::lstat(target.c_str(), &st) == 0) {
    if (S_ISLNK(st.st_mode) && ::stat(target.c_str(), &st) != 0)
      ThrowIo(what, shown, errno == ENOENT ? std::string(kDanglingLink) : SystemMessage(errno));
    if (S_ISDIR(st.st_mode)) ThrowIo(what, shown, EISDIR);
    if (!S_ISREG(st.st_mode)) ThrowIo(what, shown, kNotRegular);
    report.fd = Fd(::open(target.c_str(), O_RDWR | kOpen));
    report.readable = report.fd.get() >= 0;
    if (report.fd.get() < 0 && errno == EACCES)
      report.fd = Fd(::open(target.c_str(), O_WRONLY | kOpen));
    if (report.fd.get() < 0) {
      if (errno == ENOENT) return report;  // removed meanwhile: try again
      ThrowIo(what, shown, errno);
    }
  } else if (errno == ENOENT) {
    // O_EXCL never follows a link, not even one put there meanwhile.
    report.fd = Fd(::open(target.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpen, 0666));
    if (report.fd.get() < 0) {
      if (errno == EEXIST) return report;  // created meanwhile: try again
      ThrowIo(what, shown, errno);
    }
    report.created = true;
    report.readable = true;
  } else {
    ThrowIo(what, shown, errno);
  }
  // What was opened must be a regular file, whatever the name held a moment before.
  if (::fstat(report.fd.get(), &st) != 0) ThrowIo(what, shown, errno);
  if (!S_ISREG(st.st_mode)) ThrowIo(what, shown, kNotRegular);

  // A signal that arrives before or while the lock is awaited stops the run at once.
  while (DeferredSignals::Arrived() || ::flock(report.fd.get(), LOCK_EX) != 0) {
    if (DeferredSignals::Arrived()) ThrowIo(what, shown, EINTR);
    if (errno != EINTR) ThrowIo(what, shown, errno);
  }
  // The file may have been removed or replaced while the lock was awaited (a failed first
  // append removes the file it created): then the name must be opened again.
  struct stat now;
  if (::fstat(report.fd.get(), &st) != 0) ThrowIo(what, shown, errno);
  if (st.st_nlink == 0 || ::stat(target.c_str(), &now) != 0 || now.st_dev != st.st_dev ||
      now.st_ino != st.st_ino) {
    report.fd = Fd();
  }
  return report;
}

LockedReport OpenLocked(const std::string& target, std::string_view shown, const char* what) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    LockedReport report = TryOpenLocked(target, shown, what);
    if (report.fd.get() >= 0) return report;
  }
  ThrowIo(what, shown, "the file kept changing while it was opened");
}

}  // namespace

void AppendReportOnDisk(const std::string& target, std::string_view shown, std::string_view text,
                        ReportStart start, DiskWriter& writer) {
  constexpr const char* kWhat = "Cannot write";
  DeferredSignals deferred;
  LockedReport report = OpenLocked(target, shown, kWhat);
  const int fd = report.fd.get();
  struct stat st;
  if (::fstat(fd, &st) != 0) ThrowIo(kWhat, shown, errno);
  const off_t end = st.st_size;

  std::string_view lineEnd;
  if (start == ReportStart::OnOwnLine && end > 0 && report.readable) {
    char last = '\n';
    if (::pread(fd, &last, 1, end - 1) == 1 && last != '\n' && last != '\r') lineEnd = "\r\n";
  }

  size_t written = 0;
  int err = writer.WriteAt(fd, lineEnd, end, written);
  if (err == 0) {
    size_t more = 0;
    err = writer.WriteAt(fd, text, end + static_cast<off_t>(written), more);
    written += more;
  }
  if (err == 0 && written > 0 && ::fsync(fd) != 0) err = errno;
  if (err != 0) {
    // Still under the lock, so no other report can have followed this one: what lies beyond
    // the end seen at the start is this append's own. A file this call created goes again.
    if (::fstat(fd, &st) == 0 && st.st_size <= end + static_cast<off_t>(written))
      (void)!::ftruncate(fd, end);
    if (report.created && end == 0) ::unlink(target.c_str());
    ThrowIo(kWhat, shown, err);
  }
  // The report is whole and on disk; closing releases the lock.
}

void TruncateReportOnDisk(const std::string& target, std::string_view shown) {
  constexpr const char* kWhat = "Cannot create";
  DeferredSignals deferred;
  LockedReport report = OpenLocked(target, shown, kWhat);
  if (::ftruncate(report.fd.get(), 0) != 0) ThrowIo(kWhat, shown, errno);
}

}  // namespace ravelin::disk
