#include "platform/DiskIo.h"

#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <random>

#include "common/Error.h"
#include "common/PathUtil.h"

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

std::string HiddenNameBeside(const std::string& target) {
  static std::mt19937 random(std::random_device{}());
  static std::mutex randomMutex;
  static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = JoinPath(FolderPart(target), "." + NamePart(target) + ".");
  std::lock_guard<std::mutex> lock(randomMutex);
  for (int i = 0; i < 6; ++i) name += kChars[random() % (sizeof kChars - 1)];
  return name;
}

namespace {

/// Writes what it can of data at offset; returns how much, or -1 with errno set.
ssize_t PositionedWrite(int fd, std::string_view data, off_t offset) {
#ifdef _WIN32
  // The descriptors of this build are never shared between threads while written.
  if (::_lseeki64(fd, offset, SEEK_SET) < 0) return -1;
  const unsigned size = static_cast<unsigned>(std::min<size_t>(data.size(), 1u << 30));
  return ::_write(fd, data.data(), size);
#else
  return ::pwrite(fd, data.data(), data.size(), offset);
#endif
}

}  // namespace

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
    ssize_t n = PositionedWrite(fd, left, offset + static_cast<off_t>(written));
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
#ifdef _WIN32
  (void)target;
  return 0666;  // Windows keeps no permission bits of this kind
#else
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
#endif
}

}  // namespace ravelin::disk
