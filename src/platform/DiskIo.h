// The pieces the disk file system is built from (inside src/platform only): descriptors that
// close themselves, the errors that name a file and the system's reason, and the one place
// where bytes are written, which a test's quota can make fail as a full disk would.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSys.h"

namespace ravelin::disk {

/// The name in double quotes, as every message shows a file.
std::string Quoted(std::string_view path);

/// The system's text for an errno value ("No such file or directory").
std::string SystemMessage(int err);

/// The reason given for an entry that is neither a regular file nor what else was allowed.
inline constexpr const char* kNotRegular = "not a regular file";
/// The reason given for a name that holds a NUL byte.
inline constexpr const char* kHoldsNul = "the name holds a NUL byte";

/// Throws IoError "WHAT "PATH": reason".
[[noreturn]] void ThrowIo(const char* what, std::string_view path, const std::string& reason);
/// Throws IoError "WHAT "PATH": the system's text for err".
[[noreturn]] void ThrowIo(const char* what, std::string_view path, int err);

/// True when a name holds a NUL byte: the system would read it only up to that byte and so
/// reach another file than the one named.
inline bool HoldsNul(std::string_view path) {
  return path.find('\0') != std::string_view::npos;
}

/// Closes a descriptor on every way out.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(Fd&& other) noexcept : fd_(other.Release()) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = other.Release();
    }
    return *this;
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;

  int get() const { return fd_; }
  /// Closes now; returns the close's errno or 0.
  int Close();
  /// Gives the descriptor up without closing it.
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  void Reset();
  int fd_;
};

/// Every write of the disk file system goes through one DiskWriter.
class DiskWriter {
 public:
  /// Writes to the disk as it is; with a quota, as a disk that fills up.
  explicit DiskWriter(std::optional<DiskQuota> quota = std::nullopt) : quota_(std::move(quota)) {}

  /// Writes all of data at offset. Returns 0, or the errno of the write that failed; written
  /// tells how many bytes reached the file either way.
  int WriteAt(int fd, std::string_view data, off_t offset, size_t& written);

 private:
  std::optional<DiskQuota> quota_;
  std::uint64_t used_ = 0;
  bool full_ = false;
};

/// A name beside target that nothing holds yet: "." + target's name + "." + six characters.
std::string HiddenNameBeside(const std::string& target);

/// The file mode a new file gets: the old file's when a regular file of that name exists
/// (through a link too), else 0666 less the process's umask.
unsigned NewFileMode(const std::string& target);

/// The disk implementation of FileSystem::CreateNewFile for target, the name the file is to
/// take (shown is the name for messages).
std::unique_ptr<NewFile> CreateNewFileOnDisk(const std::string& target, std::string_view shown,
                                             DiskWriter& writer);

/// The disk implementation of FileSystem::AppendReport on target.
void AppendReportOnDisk(const std::string& target, std::string_view shown, std::string_view text,
                        ReportStart start, DiskWriter& writer);

/// The disk implementation of FileSystem::TruncateFile on target.
void TruncateReportOnDisk(const std::string& target, std::string_view shown);

}  // namespace ravelin::disk
