// A file written anew on disk: an unnamed file in the target's folder (or, where the file
// system has none, an exclusively created hidden one) that takes the target's name by rename
// on Commit. Nothing is ever opened through the target's name, so a link placed there
// redirects nothing, and a run that fails or is killed leaves no half-written file behind.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/DiskIo.h"

namespace ravelin::disk {

namespace {

class DiskNewFile final : public NewFile {
 public:
  DiskNewFile(std::string target, std::string_view shown, DiskWriter& writer)
      : target_(std::move(target)), shown_(shown), writer_(writer) {
    struct stat st;
    if (::lstat(target_.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      ThrowIo("Cannot create", shown_, EISDIR);
    std::string folder = FolderPart(target_);
    if (folder.empty()) folder = ".";
    fd_ = Fd(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (fd_.get() < 0) {
      // No unnamed files here (an older or a network file system): a hidden one instead,
      // created exclusively, which never follows a link.
      for (int attempt = 0; attempt < 100 && fd_.get() < 0; ++attempt) {
        std::string name = HiddenNameBeside(target_);
        fd_ = Fd(::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd_.get() >= 0)
          named_ = name;
        else if (errno != EEXIST)
          break;
      }
      if (fd_.get() < 0) ThrowIo("Cannot create", shown_, errno);
    }
    if (::fchmod(fd_.get(), NewFileMode(target_)) != 0) Fail("Cannot create", errno);
  }

  ~DiskNewFile() override {
    if (!named_.empty()) ::unlink(named_.c_str());  // not committed: the hidden file goes
  }

  void Write(std::string_view data) override {
    size_t written = 0;
    int err = writer_.WriteAt(fd_.get(), data, size_, written);
    size_ += static_cast<off_t>(written);
    if (err != 0) Fail("Cannot write", err);
  }

  void Commit() override {
    if (::fsync(fd_.get()) != 0) Fail("Cannot write", errno);
    struct stat st;
    if (::fstat(fd_.get(), &st) != 0) Fail("Cannot write", errno);
    if (named_.empty()) {
      // Give the unnamed file a hidden name of its own first: a link cannot replace a name.
      const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
      for (int attempt = 0; attempt < 100 && named_.empty(); ++attempt) {
        std::string name = HiddenNameBeside(target_);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
          named_ = name;
        else if (errno != EEXIST)
          Fail("Cannot write", errno);
      }
      if (named_.empty()) Fail("Cannot write", EEXIST);
    }
    if (int err = fd_.Close()) Fail("Cannot write", err);
    if (::rename(named_.c_str(), target_.c_str()) != 0) Fail("Cannot write", errno);
    named_.clear();
    committed_ = true;
    device_ = st.st_dev;
    inode_ = st.st_ino;
  }

  void Remove() override {
    struct stat st;
    if (committed_ && ::lstat(target_.c_str(), &st) == 0 && st.st_dev == device_ &&
        st.st_ino == inode_) {
      ::unlink(target_.c_str());
    }
  }

 private:
  [[noreturn]] void Fail(const char* what, int err) {
    fd_ = Fd();
    if (!named_.empty()) ::unlink(named_.c_str());
    named_.clear();
    ThrowIo(what, shown_, err);
  }

  std::string target_;
  std::string shown_;
  DiskWriter& writer_;
  Fd fd_;
  std::string named_;  // the hidden name of the file until Commit; empty while it has none
  off_t size_ = 0;
  bool committed_ = false;
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

}  // namespace

std::unique_ptr<NewFile> CreateNewFileOnDisk(const std::string& target, std::string_view shown,
                                             DiskWriter& writer) {
  return std::make_unique<DiskNewFile>(target, shown, writer);
}

}  // namespace ravelin::disk
