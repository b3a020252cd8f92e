// The file system as Ravelin sees it: names resolved ignoring letter case one component at a
// time, "\" read as "/", folders listed in a fixed order. Every access to the disk goes through
// FileSystem so that tests can put a fake in its place.
#pragma once

#include <compare>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ravelin {

/// Which file or folder a name leads to: two names with equal ids reach the same one.
struct FileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  friend bool operator==(const FileId&, const FileId&) = default;
  friend auto operator<=>(const FileId&, const FileId&) = default;
};

/// What a directory entry says about one file or folder.
struct FileStat {
  bool exists = false;
  bool isDir = false;
  std::uint64_t size = 0;
  std::time_t mtime = 0;  ///< time of last change, seconds since the epoch
  FileId id;              ///< of what the path leads to, links followed
};

/// One entry of a folder listing.
struct DirEntry {
  std::string name;
  bool isDir = false;
};

/// What a folder entry leads to, links followed.
enum class EntryKind {
  File,
  Folder,
  Other,
  Missing
};  ///< Other: device, pipe, socket;
    ///< Missing: a link leading nowhere

/// One entry of a folder read for a walk.
struct FolderEntry {
  std::string name;
  EntryKind kind = EntryKind::Missing;
  FileId id;               ///< of what the name leads to
  std::uint64_t size = 0;  ///< of what the name leads to
};

/// A folder read for a walk.
struct FolderScan {
  std::string error;  ///< the system's reason when the folder cannot be read; empty otherwise
  FileId id;          ///< the folder's own
  std::vector<FolderEntry> entries;  ///< without "." and "..", in listing order
};

/// The disk behind one interface. Paths may hold "\" and may differ in letter case from the
/// names on disk; relative paths are taken against CurrentFolder().
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// The path of an existing entry as spelled on disk (absolute, "/" delimited), found by
  /// taking each component as written when it exists, else the first entry of its folder in
  /// byte order that equals it ignoring ASCII case; nullopt when there is none.
  virtual std::optional<std::string> Resolve(std::string_view path) = 0;
  /// Size, time and kind of the entry that path resolves to; exists false when none.
  virtual FileStat Stat(std::string_view path) = 0;
  /// Reads a whole file (or a pipe, to its end) into out. False (out empty) when it cannot be
  /// opened: missing, a folder, a device or socket, no access, a name holding a NUL byte.
  /// Throws IoError naming the file when reading fails after opening.
  virtual bool TryReadFile(std::string_view path, std::string& out) = 0;
  /// The entries of a folder, "." and ".." included, sorted by their names in capitals with
  /// ties in byte order; empty when the folder cannot be listed.
  virtual std::vector<DirEntry> ListFolder(std::string_view folder) = 0;
  /// Reads a folder afresh (nothing cached) with the kind, identity and size of each entry.
  virtual FolderScan ScanFolder(std::string_view folder) = 0;
  /// Creates or replaces a file with data. The old file stays whole when writing fails
  /// (the new content goes to a file beside it first, then takes its name). Throws IoError.
  virtual void ReplaceFile(std::string_view path, std::string_view data) = 0;
  /// Appends data to a file, creating it when missing. When writing fails half way the file
  /// is cut back to its old length, so what it held is never lost. Throws IoError.
  virtual void AppendFile(std::string_view path, std::string_view data) = 0;
  /// Creates an empty file or truncates an existing one to length 0. Throws IoError.
  virtual void TruncateFile(std::string_view path) = 0;
  /// The process's current folder (absolute, no trailing "/" except for the root).
  virtual std::string CurrentFolder() = 0;
  /// Makes folder the current folder. Throws IoError when it cannot.
  virtual void SetCurrentFolder(std::string_view folder) = 0;
  /// Creates a folder and its parents when missing. Throws IoError when it cannot.
  virtual void MakeFolders(std::string_view folder) = 0;
  /// Forgets the cached folder listings; each run starts with this.
  virtual void ClearCache() = 0;

  /// True when path names an existing file; a folder is not a file.
  bool FileExists(std::string_view path);
  /// True when path names an existing folder.
  bool FolderExists(std::string_view path);
  /// Reads a whole file; throws IoError naming it when it cannot be opened or read.
  std::string ReadFile(std::string_view path);
  /// The path made absolute against the current folder with "\" as "/" and "." and ".."
  /// removed lexically, letter case as given.
  std::string FullPath(std::string_view path);
};

/// The process-wide file system (the real disk unless a test installed another).
FileSystem& Fs();

/// Installs fs as the process-wide file system for the lifetime of this object.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& fs);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

/// A new file system over the real disk, with its own listing cache.
std::unique_ptr<FileSystem> MakeDiskFileSystem();

}  // namespace ravelin
