#include "platform/FileSys.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <unordered_map>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/FolderScan.h"

namespace ravelin {

namespace {

std::string Quoted(std::string_view path) {
  return "\"" + std::string(path) + "\"";
}

/// True when a name holds a NUL byte: the system would read it only up to that byte and so
/// reach another file than the one named.
bool HoldsNul(std::string_view path) {
  return path.find('\0') != std::string_view::npos;
}

std::string SystemMessage(int err) {
  return std::strerror(err);
}

[[noreturn]] void ThrowIo(const char* what, std::string_view path, int err) {
  throw IoError(std::string(what) + " " + Quoted(path) + ": " + SystemMessage(err));
}

/// Closes a descriptor on every way out.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  /// Closes now; returns the close's errno or 0.
  int Close() {
    int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

/// Writes all of data; returns 0 or the errno of the failed write.
int WriteAll(int fd, std::string_view data) {
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    p += n;
    left -= static_cast<size_t>(n);
  }
  return 0;
}

bool LessForListing(const DirEntry& a, const DirEntry& b) {
  int c = CompareUpperText(a.name, b.name);
  if (c != 0) return c < 0;
  return a.name < b.name;
}

class DiskFileSystem final : public FileSystem {
 public:
  std::optional<std::string> Resolve(std::string_view path) override {
    if (HoldsNul(path)) return std::nullopt;  // no name on disk holds a NUL byte
    std::string full = FullPath(path);
    struct stat st;
    if (::stat(full.c_str(), &st) == 0) return full;  // spelled as on disk
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

  bool TryReadFile(std::string_view path, std::string& out) override {
    out.clear();
    if (HoldsNul(path)) return false;
    // Most names are spelled as on disk: open them straight away and resolve only on a miss.
    // Opening does not wait: a FIFO without a writer would otherwise block the open for ever.
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
    std::string full = FullPath(path);
    int raw = ::open(full.c_str(), kFlags);
    if (raw < 0) {
      auto resolved = Resolve(full);
      if (!resolved) return false;
      raw = ::open(resolved->c_str(), kFlags);
    }
    Fd fd(raw);
    if (fd.get() < 0) return false;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) ThrowIo("Cannot read", path, errno);
    // Only regular files and pipes hold a text to read. A folder, a device (an endless
    // /dev/zero, a terminal) or a socket cannot be opened as a file.
    if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) return false;
    // A pipe is read to its end, waiting for its writer; one without a writer reads as empty.
    if (S_ISFIFO(st.st_mode)) {
      const int flags = ::fcntl(fd.get(), F_GETFL);
      if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        ThrowIo("Cannot read", path, errno);
    }
    // Read straight into the string: the size from fstat first, then whatever follows.
    size_t used = 0;
    size_t want = S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) + 1 : 65536;
    out.resize(want);
    for (;;) {
      if (used == out.size()) out.resize(out.size() * 2);
      ssize_t n = ::read(fd.get(), out.data() + used, out.size() - used);
      if (n < 0) {
        if (errno == EINTR) continue;
        int err = errno;
        out.clear();
        ThrowIo("Cannot read", path, err);
      }
      if (n == 0) break;
      used += static_cast<size_t>(n);
    }
    out.resize(used);
    return true;
  }

  std::vector<DirEntry> ListFolder(std::string_view folder) override {
    auto resolved = Resolve(folder);
    if (!resolved) return {};
    auto cached = listings_.find(*resolved);
    if (cached != listings_.end()) return cached->second;
    std::vector<DirEntry> entries = ReadFolder(*resolved);
    std::sort(entries.begin(), entries.end(), LessForListing);
    listings_.emplace(*resolved, entries);
    return entries;
  }

  FolderScan ScanFolder(std::string_view folder) override {
    // A folder spelled as on disk is read straight away; any other is resolved first.
    FolderScan scan;
    int err = HoldsNul(folder) ? ENOENT : ScanDiskFolder(FullPath(folder), scan);
    if (err == ENOENT) {
      if (auto resolved = Resolve(folder)) err = ScanDiskFolder(*resolved, scan);
    }
    if (err != 0) scan.error = SystemMessage(err);
    return scan;
  }

  void ReplaceFile(std::string_view path, std::string_view data) override {
    std::string target = TargetPath(path);
    std::string folder = FolderPart(target);
    std::string temp = target + ".new-XXXXXX";
    std::vector<char> tempName(temp.begin(), temp.end());
    tempName.push_back('\0');
    Fd fd(::mkstemp(tempName.data()));
    if (fd.get() < 0) ThrowIo("Cannot write", path, errno);
    std::string tempPath(tempName.data());
    auto fail = [&](int err) {
      ::unlink(tempPath.c_str());
      ThrowIo("Cannot write", path, err);
    };
    struct stat st;
    mode_t mode = 0666 & ~CurrentUmask();
    if (::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
    if (::fchmod(fd.get(), mode) != 0) fail(errno);
    if (int err = WriteAll(fd.get(), data)) fail(err);
    if (::fsync(fd.get()) != 0) fail(errno);
    if (int err = fd.Close()) fail(err);
    if (::rename(tempPath.c_str(), target.c_str()) != 0) fail(errno);
    Forget(folder);
  }

  void AppendFile(std::string_view path, std::string_view data) override {
    std::string target = TargetPath(path);
    bool created = false;
    int raw = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (raw < 0 && errno == ENOENT) {
      raw = ::open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      created = raw >= 0;
    }
    Fd fd(raw);
    if (fd.get() < 0) ThrowIo("Cannot write", path, errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) ThrowIo("Cannot write", path, errno);
    if (S_ISDIR(st.st_mode)) ThrowIo("Cannot write", path, EISDIR);
    off_t oldSize = st.st_size;
    int err = WriteAll(fd.get(), data);
    if (err == 0 && S_ISREG(st.st_mode) && ::fsync(fd.get()) != 0) err = errno;
    if (err == 0) err = fd.Close();
    if (err != 0) {
      // Cut the file back to what it held, so a half-written report never corrupts it.
      if (created) {
        ::unlink(target.c_str());
      } else if (S_ISREG(st.st_mode)) {
        int back = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (back >= 0) {
          (void)!::ftruncate(back, oldSize);
          ::close(back);
        }
      }
      ThrowIo("Cannot write", path, err);
    }
    if (created) Forget(FolderPart(target));
  }

  void TruncateFile(std::string_view path) override {
    std::string target = TargetPath(path);
    Fd fd(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.get() < 0) ThrowIo("Cannot create", path, errno);
    if (int err = fd.Close()) ThrowIo("Cannot create", path, err);
    Forget(FolderPart(target));
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
    if (HoldsNul(folder)) ThrowIo("Cannot create folder", folder, EINVAL);
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

  void ClearCache() override {
    indexes_.clear();
    listings_.clear();
  }

 private:
  using NameIndex = std::map<std::string, std::string>;  // upper-cased name -> name on disk

  static mode_t CurrentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
  }

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

  /// The case-insensitive index of a folder's names, listed once per run.
  const NameIndex& IndexOf(const std::string& folder) {
    auto it = indexes_.find(folder);
    if (it != indexes_.end()) return it->second;
    std::vector<DirEntry> entries = ReadFolder(folder);
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    NameIndex index;
    for (const auto& e : entries) index.emplace(UpperText(e.name), e.name);
    return indexes_.emplace(folder, std::move(index)).first->second;
  }

  /// Where a file to be written goes: the existing file when one matches ignoring case,
  /// otherwise the given name inside its (resolved) folder.
  std::string TargetPath(std::string_view path) {
    if (HoldsNul(path)) ThrowIo("Cannot write", path, EINVAL);
    if (auto resolved = Resolve(path)) return *resolved;
    std::string full = FullPath(path);
    std::string folder = FolderPart(full);
    std::string name = NamePart(full);
    if (auto dir = Resolve(folder)) return JoinPath(*dir, name);
    return full;
  }

  /// Drops what is cached about one folder after it changed.
  void Forget(const std::string& folder) {
    std::string key = folder;
    if (key.size() > 1 && key.back() == '/') key.pop_back();
    indexes_.erase(key);
    listings_.erase(key);
  }

  std::unordered_map<std::string, NameIndex> indexes_;
  std::unordered_map<std::string, std::vector<DirEntry>> listings_;
};

FileSystem*& Installed() {
  static FileSystem* installed = nullptr;
  return installed;
}

}  // namespace

bool FileSystem::FileExists(std::string_view path) {
  FileStat st = Stat(path);
  return st.exists && !st.isDir;
}

bool FileSystem::FolderExists(std::string_view path) {
  FileStat st = Stat(path);
  return st.exists && st.isDir;
}

std::string FileSystem::ReadFile(std::string_view path) {
  std::string data;
  if (!TryReadFile(path, data)) throw IoError("Cannot open " + Quoted(path));
  return data;
}

std::string FileSystem::FullPath(std::string_view path) {
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return ExpandPath(path, "/");
  return ExpandPath(path, CurrentFolder());
}

FileSystem& Fs() {
  static std::unique_ptr<FileSystem> disk = MakeDiskFileSystem();
  FileSystem* installed = Installed();
  return installed != nullptr ? *installed : *disk;
}

ScopedFileSystem::ScopedFileSystem(FileSystem& fs) : previous_(Installed()) {
  Installed() = &fs;
}

ScopedFileSystem::~ScopedFileSystem() {
  Installed() = previous_;
}

std::unique_ptr<FileSystem> MakeDiskFileSystem() {
  return std::make_unique<DiskFileSystem>();
}

}  // namespace ravelin
