#include "platform/DiskIo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/Error.h"

namespace ravelin::disk {

std::string Quoted(std::string_view path) {
  return "\"" + std::string(path) + "\"";
}

std::string SystemMessage(int err) {
  return std::strerror(err);
}

void ThrowIo(const char* what, std::string_view path, const std::string& reason) {
  throw IoError(std::string(what) + " " + Quoted(path) + ": " + reason, reason);
}

void ThrowIo(const char* what, std::string_view path, int err) {
  ThrowIo(what, path, SystemMessage(err));
}

int Fd::Close() {
  int rc = ::close(fd_);
  fd_ = -1;
  return rc == 0 ? 0 : errno;
}

void Fd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int DiskWriter::WriteAt(int fd, std::string_view data, off_t offset, size_t& written) {
  written = 0;
  std::string_view left = data;
  int failure = 0;
  if (quota_) {
    // Only what fits into the room left reaches the file; the write after it fails.
    const std::uint64_t room = quota_->room > used_ ? quota_->room - used_ : 0;
    if (left.size() > room) {
      left = left.substr(0, static_cast<size_t>(room));
      failure = ENOSPC;
    }
  }
  while (!left.empty()) {
    ssize_t n = ::pwrite(fd, left.data(), left.size(), offset + static_cast<off_t>(written));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    written += static_cast<size_t>(n);
    used_ += static_cast<std::uint64_t>(n);
    left.remove_prefix(static_cast<size_t>(n));
  }
  if (failure != 0 && !full_) {
    full_ = true;
    if (quota_->onFull) quota_->onFull();
  }
  return failure;
}

unsigned NewFileMode(const std::string& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace ravelin::disk
