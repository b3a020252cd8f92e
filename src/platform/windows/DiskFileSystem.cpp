// The disk behind FileSystem on Windows: names go to the wide-character API as "\\?\" paths,
// letter case is ignored by the system itself, and writes go through DiskNewFile and
// ReportAppend.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/DiskIo.h"
#include "platform/FileSys.h"
#include "platform/FolderScan.h"
#include "platform/windows/WideText.h"

namespace ravelin {

using namespace disk;

namespace {

/// Seconds since the epoch for a FILETIME (100 ns ticks since 1601).
std::time_t UnixTime(const FILETIME& time) {
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  constexpr std::uint64_t kEpoch = 116444736000000000ULL;
  return ticks < kEpoch ? 0 : static_cast<std::time_t>((ticks - kEpoch) / 10000000ULL);
}

/// A file of the disk open for reading.
class DiskInputFile final : public InputFile {
 public:
  DiskInputFile(Fd fd, std::string name, std::uint64_t size)
      : fd_(std::move(fd)), name_(std::move(name)), size_(size) {}

  size_t Read(char* buffer, size_t size) override {
    const unsigned chunk = static_cast<unsigned>(std::min<size_t>(size, 1u << 30));
    const int n = ::_read(fd_.get(), buffer, chunk);
    if (n < 0) ThrowIo("Cannot read", name_, errno);
    return static_cast<size_t>(n);
  }
  std::uint64_t SizeHint() const override { return size_; }

 private:
  Fd fd_;
  std::string name_;
  std::uint64_t size_;
};

class DiskFileSystem final : public FileSystem {
 public:
  explicit DiskFileSystem(std::optional<DiskQuota> quota = std::nullopt)
      : writer_(std::move(quota)) {}

  std::optional<std::string> Resolve(std::string_view path) override {
    if (HoldsNul(path)) return std::nullopt;
    // The system finds names ignoring letter case; each component is spelled as on disk.
    const std::string full = FullPath(path);
    const size_t root = full.find('/');
    if (root == std::string::npos) return std::nullopt;
    std::string spelled = full.substr(0, root + 1);  // "C:/"
    for (size_t start = root + 1; start < full.size();) {
      const size_t slash = std::min(full.find('/', start), full.size());
      const std::string component = full.substr(start, slash - start);
      if (component.find_first_of("*?") != std::string::npos) return std::nullopt;
      if (spelled.back() != '/') spelled += '/';
      WIN32_FIND_DATAW found{};
      HANDLE find = ::FindFirstFileExW(win::SystemPath(spelled + component).c_str(),
                                       FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
      if (find == INVALID_HANDLE_VALUE) return std::nullopt;
      ::FindClose(find);
      spelled += win::Narrow(found.cFileName);
      start = slash + 1;
    }
    return spelled;
  }

  FileStat Stat(std::string_view path) override {
    FileStat result;
    auto resolved = Resolve(path);
    if (!resolved) return result;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const std::wstring name = win::SystemPath(*resolved);
    if (!::GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) return result;
    EntryKind kind = EntryKind::Missing;
    if (!win::DescribeFile(name, result.id, kind, result.size)) return result;
    result.exists = true;
    result.isDir = kind == EntryKind::Folder;
    result.mtime = UnixTime(data.ftLastWriteTime);
    return result;
  }

  OpenedFile OpenRead(std::string_view path, Readable) override {
    OpenedFile result;
    if (HoldsNul(path)) {
      result.whyNot = kHoldsNul;
      return result;
    }
    const std::wstring name = win::SystemPath(FullPath(path));
    FileId id;
    EntryKind kind = EntryKind::Missing;
    std::uint64_t size = 0;
    if (!win::DescribeFile(name, id, kind, size)) {
      const int err = ErrnoOf(::GetLastError());
      result.missing = err == ENOENT;
      result.whyNot = SystemMessage(err);
      return result;
    }
    if (kind != EntryKind::File) {
      result.whyNot = kind == EntryKind::Folder ? SystemMessage(EISDIR) : kNotRegular;
      return result;
    }
    Fd fd(::_wopen(name.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
    if (fd.get() < 0) {
      result.whyNot = SystemMessage(errno);
      return result;
    }
    result.file = std::make_unique<DiskInputFile>(std::move(fd), std::string(path), size);
    return result;
  }

  std::vector<DirEntry> ListFolder(std::string_view folder) override {
    FolderScan scan;
    auto resolved = Resolve(folder);
    if (!resolved || ScanDiskFolder(*resolved, scan) != 0) return {};
    std::vector<DirEntry> entries = {{".", true}, {"..", true}};
    for (FolderEntry& entry : scan.entries)
      entries.push_back({std::move(entry.name), entry.kind == EntryKind::Folder});
    std::stable_sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
      const int c = CompareUpperText(a.name, b.name);
      return c != 0 ? c < 0 : a.name < b.name;
    });
    return entries;
  }

  FolderScan ScanFolder(std::string_view folder) override {
    FolderScan scan;
    const int err = HoldsNul(folder) ? ENOENT : ScanDiskFolder(FullPath(folder), scan);
    if (err != 0) scan.error = SystemMessage(err);
    return scan;
  }

  void ReplaceFile(std::string_view path, std::string_view data) override {
    std::unique_ptr<NewFile> file = CreateNewFile(path);
    file->Write(data);
    file->Commit();
  }

  std::unique_ptr<NewFile> CreateNewFile(std::string_view path) override {
    return CreateNewFileOnDisk(TargetPath(path, "Cannot create"), path, writer_);
  }

  void AppendReport(std::string_view path, std::string_view text, ReportStart start) override {
    AppendReportOnDisk(TargetPath(path, "Cannot write"), path, text, start, writer_);
  }

  void TruncateFile(std::string_view path) override {
    TruncateReportOnDisk(TargetPath(path, "Cannot create"), path);
  }

  std::string CurrentFolder() override {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
      const DWORD n = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
      if (n == 0)
        throw IoError("Cannot read the current folder: " + win::WindowsMessage(::GetLastError()));
      if (n < buffer.size()) {
        std::string folder = ToSlashes(win::Narrow(std::wstring_view(buffer.data(), n)));
        if (folder.rfind("//?/", 0) == 0) folder.erase(0, 4);
        if (folder.size() > 3 && folder.back() == '/') folder.pop_back();
        return folder;
      }
      buffer.resize(n);
    }
  }

  void SetCurrentFolder(std::string_view folder) override {
    auto resolved = Resolve(folder);
    if (!resolved) ThrowIo("Cannot change to folder", folder, ENOENT);
    if (!::SetCurrentDirectoryW(win::SystemPath(*resolved + "/").c_str()))
      ThrowIo("Cannot change to folder", folder, ErrnoOf(::GetLastError()));
  }

  void MakeFolders(std::string_view folder) override {
    if (HoldsNul(folder)) ThrowIo("Cannot create folder", folder, kHoldsNul);
    const std::string full = FullPath(folder);
    // Every folder from the first below the root on: "C:/a", "C:/a/b", ...
    for (size_t slash = full.find('/', full.find('/') + 1);; slash = full.find('/', slash + 1)) {
      const std::string next = full.substr(0, slash);
      if (!Resolve(next) && !::CreateDirectoryW(win::SystemPath(next).c_str(), nullptr) &&
          ::GetLastError() != ERROR_ALREADY_EXISTS)
        ThrowIo("Cannot create folder", next, ErrnoOf(::GetLastError()));
      if (slash == std::string::npos) break;
    }
  }

  void ClearCache() override {}  // nothing is cached: the system ignores letter case itself

 private:
  std::string TargetPath(std::string_view path, const char* what) {
    if (HoldsNul(path)) ThrowIo(what, path, kHoldsNul);
    return FullPath(path);
  }

  DiskWriter writer_;
};

}  // namespace

std::unique_ptr<FileSystem> MakeDiskFileSystem() {
  return std::make_unique<DiskFileSystem>();
}

std::unique_ptr<FileSystem> MakeDiskFileSystem(DiskQuota quota) {
  return std::make_unique<DiskFileSystem>(std::move(quota));
}

}  // namespace ravelin
