// The disk behind FileSystem on POSIX systems: names looked up ignoring letter case, reads that
// never block on a pipe or device, and writes through DiskNewFile and ReportAppend.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <unordered_map>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/DiskIo.h"
#include "platform/FileSys.h"
#include "platform/FolderScan.h"

namespace ravelin {

using namespace disk;

namespace {

bool LessForListing(const DirEntry& a, const DirEntry& b) {
  int c = CompareUpperText(a.name, b.name);
  if (c != 0) return c < 0;
  return a.name < b.name;
}

/// Opens name for reading without waiting (a FIFO without a writer would otherwise block the
/// open for ever); a file that must be regular is looked at before it is opened, so that a
/// device or pipe is never opened at all. whyNot is set when the entry is of the wrong kind.
Fd OpenForReading(const std::string& name, Readable what, std::string& whyNot) {
  if (what == Readable::FileOnly) {
    struct stat st;
    if (::stat(name.c_str(), &st) != 0) return Fd();
    if (!S_ISREG(st.st_mode)) {
      whyNot = S_ISDIR(st.st_mode) ? SystemMessage(EISDIR) : std::string(kNotRegular);
      return Fd();
    }
  }
  return Fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
}

/// A file or pipe of the disk open for reading.
class DiskInputFile final : public InputFile {
 public:
  DiskInputFile(Fd fd, std::string name, std::uint64_t size)
      : fd_(std::move(fd)), name_(std::move(name)), size_(size) {}

  size_t Read(char* buffer, size_t size) override {
    for (;;) {
      ssize_t n = ::read(fd_.get(), buffer, size);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR) ThrowIo("Cannot read", name_, errno);
    }
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
    if (HoldsNul(path)) return std::nullopt;  // no name on disk holds a NUL byte
    std::string full = FullPath(path);
    const size_t lastSlash = full.rfind('/');
    // Most misses are a name in a folder spelled as on disk (a unit's form looked for): once
    // that folder was indexed, a name it does not hold in any letter case needs no system call.
    if (trustCache_ && lastSlash != 0 && lastSlash != std::string::npos) {
      if (const NameIndex* index = CachedIndex(full.substr(0, lastSlash));
          index != nullptr && index->count(UpperText(full.substr(lastSlash + 1))) == 0) {
        return std::nullopt;
      }
    }
    struct stat st;
    if (::stat(full.c_str(), &st) == 0) return full;  // spelled as on disk
    // Then only the last component is looked up.
    if (lastSlash != 0 && lastSlash != std::string::npos) {
      const std::string folder = full.substr(0, lastSlash);
      if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        const NameIndex& index = IndexOf(folder);
        auto it = index.find(UpperText(full.substr(lastSlash + 1)));
        if (it == index.end()) return std::nullopt;
        return folder + "/" + it->second;
      }
    }
    // Walk the components: each one exactly as written when it exists, otherwise the first
    // entry of its folder in byte order that equals it ignoring ASCII case.
    std::string current;
    size_t pos = 1;
    while (pos <= full.size()) {
      size_t slash = full.find('/', pos);
      size_t end = slash == std::string::npos ? full.size() : slash;
      std::string component = full.substr(pos, end - pos);
      std::string candidate = current + "/" + component;
      if (::stat(candidate.c_str(), &st) != 0) {
        const NameIndex& index = IndexOf(current.empty() ? "/" : current);
        auto it = index.find(UpperText(component));
        if (it == index.end()) return std::nullopt;
        candidate = current + "/" + it->second;
      }
      current = std::move(candidate);
      if (slash == std::string::npos) break;
      pos = slash + 1;
    }
    if (current.empty()) current = "/";
    return current;
  }

  FileStat Stat(std::string_view path) override {
    FileStat result;
    auto resolved = Resolve(path);
    if (!resolved) return result;
    struct stat st;
    if (::stat(resolved->c_str(), &st) != 0) return result;
    result.exists = true;
    result.isDir = S_ISDIR(st.st_mode);
    result.size = static_cast<std::uint64_t>(st.st_size);
    result.mtime = st.st_mtime;
    result.id = IdOf(st);
    return result;
  }

  OpenedFile OpenRead(std::string_view path, Readable what) override {
    OpenedFile result;
    if (HoldsNul(path)) {
      result.whyNot = kHoldsNul;
      return result;
    }
    // Most names are spelled as on disk: open them straight away and resolve only on a miss.
    std::string full = FullPath(path);
    Fd fd = OpenForReading(full, what, result.whyNot);
    int err = errno;
    if (fd.get() < 0 && result.whyNot.empty()) {
      auto resolved = Resolve(full);
      if (!resolved) {
        result.missing = err == ENOENT || err == ENOTDIR;
        result.whyNot = SystemMessage(result.missing ? ENOENT : err);
        return result;
      }
      fd = OpenForReading(*resolved, what, result.whyNot);
      err = errno;
    }
    if (fd.get() < 0) {
      if (result.whyNot.empty()) result.whyNot = SystemMessage(err);
      return result;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) ThrowIo("Cannot read", path, errno);
    // Only regular files and pipes hold a text to read. A folder, a device (an endless
    // /dev/zero, a terminal) or a socket cannot be opened as a file.
    const bool pipe = S_ISFIFO(st.st_mode);
    if (!S_ISREG(st.st_mode) && !(pipe && what == Readable::FileOrPipe)) {
      result.whyNot = S_ISDIR(st.st_mode) ? SystemMessage(EISDIR) : std::string(kNotRegular);
      return result;
    }
    // A pipe is read to its end, waiting for its writer; one without a writer reads as empty.
    if (pipe) {
      const int flags = ::fcntl(fd.get(), F_GETFL);
      if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        ThrowIo("Cannot read", path, errno);
    }
    const std::uint64_t size = pipe ? 0 : static_cast<std::uint64_t>(st.st_size);
    result.file = std::make_unique<DiskInputFile>(std::move(fd), std::string(path), size);
    return result;
  }

  std::vector<DirEntry> ListFolder(std::string_view folder) override {
    auto resolved = Resolve(folder);
    if (!resolved) return {};
    {
      std::lock_guard<std::mutex> lock(cacheMutex_);
      auto cached = listings_.find(*resolved);
      if (cached != listings_.end()) return cached->second;
    }
    std::vector<DirEntry> entries = ReadFolder(*resolved);
    std::sort(entries.begin(), entries.end(), LessForListing);
    std::lock_guard<std::mutex> lock(cacheMutex_);
    listings_.emplace(*resolved, entries);
    return entries;
  }

  FolderScan ScanFolder(std::string_view folder) override {
    // A folder spelled as on disk is read straight away; any other is resolved first.
    FolderScan scan;
    std::string path = HoldsNul(folder) ? std::string() : FullPath(folder);
    int err = path.empty() ? ENOENT : ScanDiskFolder(path, scan);
    if (err == ENOENT) {
      if (auto resolved = Resolve(folder)) {
        path = std::move(*resolved);
        err = ScanDiskFolder(path, scan);
      }
    }
    if (err != 0) {
      scan.error = SystemMessage(err);
    } else {
      RememberIndex(path, scan);
    }
    return scan;
  }

  void ReplaceFile(std::string_view path, std::string_view data) override {
    std::unique_ptr<NewFile> file = CreateNewFile(path);
    file->Write(data);
    file->Commit();
  }

  std::unique_ptr<NewFile> CreateNewFile(std::string_view path) override {
    std::string target = TargetPath(path, "Cannot create");
    Forget(FolderPart(target));
    return std::make_unique<ForgetOnChange>(*this, FolderPart(target),
                                            CreateNewFileOnDisk(target, path, writer_));
  }

  void AppendReport(std::string_view path, std::string_view text, ReportStart start) override {
    std::string target = TargetPath(path, "Cannot write");
    Forget(FolderPart(target));
    AppendReportOnDisk(target, path, text, start, writer_);
  }

  void TruncateFile(std::string_view path) override {
    std::string target = TargetPath(path, "Cannot create");
    Forget(FolderPart(target));
    TruncateReportOnDisk(target, path);
  }

  std::string CurrentFolder() override {
    std::vector<char> buffer(4096);
    for (;;) {
      if (::getcwd(buffer.data(), buffer.size()) != nullptr) return std::string(buffer.data());
      if (errno != ERANGE) throw IoError("Cannot read the current folder: " + SystemMessage(errno));
      buffer.resize(buffer.size() * 2);
    }
  }

  void SetCurrentFolder(std::string_view folder) override {
    auto resolved = Resolve(folder);
    if (!resolved) ThrowIo("Cannot change to folder", folder, ENOENT);
    if (::chdir(resolved->c_str()) != 0) ThrowIo("Cannot change to folder", folder, errno);
  }

  void MakeFolders(std::string_view folder) override {
    if (HoldsNul(folder)) ThrowIo("Cannot create folder", folder, kHoldsNul);
    std::string full = FullPath(folder);
    std::string current;
    size_t pos = 1;
    while (pos <= full.size()) {
      size_t slash = full.find('/', pos);
      size_t end = slash == std::string::npos ? full.size() : slash;
      std::string next = current + "/" + full.substr(pos, end - pos);
      auto resolved = Resolve(next);
      if (resolved) {
        current = *resolved;
      } else {
        if (::mkdir(next.c_str(), 0777) != 0 && errno != EEXIST)
          ThrowIo("Cannot create folder", next, errno);
        Forget(current.empty() ? "/" : current);
        current = next;
      }
      if (slash == std::string::npos) break;
      pos = slash + 1;
    }
  }

  void TrustFolderCache(bool on) override { trustCache_ = on; }

  void ClearCache() override {
    std::lock_guard<std::mutex> lock(cacheMutex_);
    indexes_.clear();
    listings_.clear();
  }

 private:
  using NameIndex = std::map<std::string, std::string>;  // upper-cased name -> name on disk

  static std::vector<DirEntry> ReadFolder(const std::string& folder) {
    std::vector<DirEntry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return entries;
    while (struct dirent* e = ::readdir(dir)) {
      DirEntry entry;
      entry.name = e->d_name;
      if (e->d_type == DT_DIR) {
        entry.isDir = true;
      } else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
        struct stat st;
        std::string full = folder == "/" ? "/" + entry.name : folder + "/" + entry.name;
        entry.isDir = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      }
      entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return entries;
  }

  /// The folder's index when one was made since the cache was last cleared, else nullptr.
  const NameIndex* CachedIndex(const std::string& folder) {
    std::lock_guard<std::mutex> lock(cacheMutex_);
    auto it = indexes_.find(folder);
    return it == indexes_.end() ? nullptr : &it->second;
  }

  /// Keeps the index of a folder just read whole, so that looking up names in it (a unit's
  /// form) needs no system call. Its entries come in listing order: of names equal ignoring
  /// case, the first in byte order comes first, as IndexOf keeps it.
  void RememberIndex(const std::string& folder, const FolderScan& scan) {
    NameIndex index;
    for (const FolderEntry& entry : scan.entries) index.emplace(UpperText(entry.name), entry.name);
    std::lock_guard<std::mutex> lock(cacheMutex_);
    indexes_.emplace(folder, std::move(index));  // one made before stays: it may be in use
  }

  /// The case-insensitive index of a folder's names, listed once per run.
  const NameIndex& IndexOf(const std::string& folder) {
    // Several threads may read files at once: the cache is shared; an index, once made, is
    // never changed (only dropped by Forget and ClearCache, which no reader runs beside).
    if (const NameIndex* cached = CachedIndex(folder)) return *cached;
    std::vector<DirEntry> entries = ReadFolder(folder);
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    NameIndex index;
    for (const auto& e : entries) index.emplace(UpperText(e.name), e.name);
    std::lock_guard<std::mutex> lock(cacheMutex_);
    return indexes_.emplace(folder, std::move(index)).first->second;
  }

  /// Where a file to be written goes: the existing file when one matches ignoring case,
  /// otherwise the given name inside its (resolved) folder.
  std::string TargetPath(std::string_view path, const char* what) {
    if (HoldsNul(path)) ThrowIo(what, path, kHoldsNul);
    if (auto resolved = Resolve(path)) return *resolved;
    std::string full = FullPath(path);
    std::string folder = FolderPart(full);
    std::string name = NamePart(full);
    if (auto dir = Resolve(folder)) return JoinPath(*dir, name);
    return full;
  }

  /// A new file that drops what is cached about its folder when it takes or gives up its name,
  /// so that a folder index never misses a file written since.
  class ForgetOnChange final : public NewFile {
   public:
    ForgetOnChange(DiskFileSystem& fs, std::string folder, std::unique_ptr<NewFile> file)
        : fs_(fs), folder_(std::move(folder)), file_(std::move(file)) {}
    void Write(std::string_view data) override { file_->Write(data); }
    void Commit() override {
      file_->Commit();
      fs_.Forget(folder_);
    }
    void Remove() override {
      file_->Remove();
      fs_.Forget(folder_);
    }

   private:
    DiskFileSystem& fs_;
    std::string folder_;
    std::unique_ptr<NewFile> file_;
  };

  /// Drops what is cached about one folder after it changed.
  void Forget(const std::string& folder) {
    std::string key = folder;
    if (key.size() > 1 && key.back() == '/') key.pop_back();
    std::lock_guard<std::mutex> lock(cacheMutex_);
    indexes_.erase(key);
    listings_.erase(key);
  }

  std::atomic<bool> trustCache_{false};
  std::mutex cacheMutex_;  // guards indexes_ and listings_
  std::unordered_map<std::string, NameIndex> indexes_;
  std::unordered_map<std::string, std::vector<DirEntry>> listings_;
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
