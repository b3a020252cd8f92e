// A file written anew on disk (Windows): a hidden name beside the target, created exclusively,
// that takes the target's name by MoveFileEx on Commit, so that a run that fails or is killed
// leaves no half-written file under the target's name.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

#include "platform/DiskIo.h"
#include "platform/FolderScan.h"
#include "platform/windows/WideText.h"

namespace ravelin::disk {

namespace {

class DiskNewFile final : public NewFile {
 public:
  DiskNewFile(std::string target, std::string_view shown, DiskWriter& writer)
      : target_(std::move(target)), shown_(shown), writer_(writer) {
    const DWORD attributes = ::GetFileAttributesW(win::SystemPath(target_).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      ThrowIo("Cannot create", shown_, EISDIR);
    for (int attempt = 0; attempt < 100 && fd_.get() < 0; ++attempt) {
      std::string name = HiddenNameBeside(target_);
      fd_ = Fd(::_wopen(win::SystemPath(name).c_str(),
                        _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                        _S_IREAD | _S_IWRITE));
      if (fd_.get() >= 0)
        named_ = name;
      else if (errno != EEXIST)
        break;
    }
    if (fd_.get() < 0) ThrowIo("Cannot create", shown_, errno);
  }

  ~DiskNewFile() override {
    fd_ = Fd();
    if (!named_.empty()) ::DeleteFileW(win::SystemPath(named_).c_str());
  }

  void Write(std::string_view data) override {
    size_t written = 0;
    int err = writer_.WriteAt(fd_.get(), data, size_, written);
    size_ += static_cast<off_t>(written);
    if (err != 0) Fail("Cannot write", err);
  }

  void Commit() override {
    if (::_commit(fd_.get()) != 0) Fail("Cannot write", errno);
    if (int err = fd_.Close()) Fail("Cannot write", err);
    if (!::MoveFileExW(win::SystemPath(named_).c_str(), win::SystemPath(target_).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      Fail("Cannot write", ErrnoOf(::GetLastError()));
    named_.clear();
    EntryKind kind = EntryKind::Missing;
    std::uint64_t size = 0;
    committed_ = win::DescribeFile(win::SystemPath(target_), id_, kind, size);
  }

  void Remove() override {
    FileId now;
    EntryKind kind = EntryKind::Missing;
    std::uint64_t size = 0;
    const std::wstring name = win::SystemPath(target_);
    if (committed_ && win::DescribeFile(name, now, kind, size) && now == id_)
      ::DeleteFileW(name.c_str());
  }

 private:
  [[noreturn]] void Fail(const char* what, int err) {
    fd_ = Fd();
    if (!named_.empty()) ::DeleteFileW(win::SystemPath(named_).c_str());
    named_.clear();
    ThrowIo(what, shown_, err);
  }

  std::string target_;
  std::string shown_;
  DiskWriter& writer_;
  Fd fd_;
  std::string named_;  // the hidden name of the file until Commit
  off_t size_ = 0;
  bool committed_ = false;
  FileId id_;
};

}  // namespace

std::unique_ptr<NewFile> CreateNewFileOnDisk(const std::string& target, std::string_view shown,
                                             DiskWriter& writer) {
  return std::make_unique<DiskNewFile>(target, shown, writer);
}

}  // namespace ravelin::disk
