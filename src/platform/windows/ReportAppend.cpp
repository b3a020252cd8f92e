// The one way a report reaches a report file on disk (Windows): opened as a regular file only,
// locked (LockFileEx) while it is appended to, written in one piece at the end seen under the
// lock, cut back to exactly that end when writing fails, with Ctrl+C held back until the file
// is consistent again.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "platform/DeferredSignals.h"
#include "platform/DiskIo.h"
#include "platform/FolderScan.h"
#include "platform/windows/WideText.h"

namespace ravelin::disk {

namespace {

/// A report file open for reading and writing (writing only when it cannot be read) and
/// locked against every other report append.
struct LockedReport {
  Fd fd;
  bool created = false;   // this call created the file
  bool readable = false;  // its last byte can be read
};

HANDLE OpenHandle(const std::wstring& name, DWORD access, DWORD disposition) {
  return ::CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

LockedReport OpenLocked(const std::string& target, std::string_view shown, const char* what) {
  const std::wstring name = win::SystemPath(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    LockedReport report;
    FileId id;
    EntryKind kind = EntryKind::Missing;
    std::uint64_t size = 0;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (win::DescribeFile(name, id, kind, size)) {
      if (kind == EntryKind::Folder) ThrowIo(what, shown, EISDIR);
      handle = OpenHandle(name, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
      report.readable = handle != INVALID_HANDLE_VALUE;
      if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED)
        handle = OpenHandle(name, GENERIC_WRITE, OPEN_EXISTING);
      if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_NOT_FOUND) continue;
    } else {
      handle = OpenHandle(name, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
      if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_EXISTS) continue;
      report.created = report.readable = true;
    }
    if (handle == INVALID_HANDLE_VALUE) ThrowIo(what, shown, ErrnoOf(::GetLastError()));
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
      ::CloseHandle(handle);
      ThrowIo(what, shown, kNotRegular);
    }
    report.fd = Fd(::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY));
    if (report.fd.get() < 0) {
      ::CloseHandle(handle);
      ThrowIo(what, shown, EMFILE);
    }
    // A Ctrl+C that arrives before the lock is taken stops the run at once.
    if (DeferredSignals::Arrived()) ThrowIo(what, shown, EINTR);
    OVERLAPPED whole{};
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole))
      ThrowIo(what, shown, ErrnoOf(::GetLastError()));
    return report;
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
  const off_t end = static_cast<off_t>(::_lseeki64(fd, 0, SEEK_END));
  if (end < 0) ThrowIo(kWhat, shown, errno);

  std::string_view lineEnd;
  if (start == ReportStart::OnOwnLine && end > 0 && report.readable) {
    char last = '\n';
    if (::_lseeki64(fd, end - 1, SEEK_SET) >= 0 && ::_read(fd, &last, 1) == 1 && last != '\n' &&
        last != '\r')
      lineEnd = "\r\n";
  }

  size_t written = 0;
  int err = writer.WriteAt(fd, lineEnd, end, written);
  if (err == 0) {
    size_t more = 0;
    err = writer.WriteAt(fd, text, end + static_cast<off_t>(written), more);
    written += more;
  }
  if (err == 0 && written > 0 && ::_commit(fd) != 0) err = errno;
  if (err != 0) {
    // Still under the lock: what lies beyond the end seen at the start is this append's own.
    (void)::_chsize_s(fd, end);
    if (report.created && end == 0) ::DeleteFileW(win::SystemPath(target).c_str());
    ThrowIo(kWhat, shown, err);
  }
  // The report is whole and on disk; closing releases the lock.
}

void TruncateReportOnDisk(const std::string& target, std::string_view shown) {
  constexpr const char* kWhat = "Cannot create";
  DeferredSignals deferred;
  LockedReport report = OpenLocked(target, shown, kWhat);
  if (::_chsize_s(report.fd.get(), 0) != 0) ThrowIo(kWhat, shown, errno);
}

}  // namespace ravelin::disk
