// The file system as Ravelin sees it: names resolved ignoring letter case one component at a
// time, "\" read as "/", folders listed in a fixed order. Every access to the disk goes through
// FileSystem so that tests can put a fake in its place.
#pragma once

#include <compare>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextLines.h"

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

/// Which kinds of file a read may open.
enum class Readable {
  FileOrPipe,  ///< a regular file, or a pipe read to its end (a list given as <(find ...))
  FileOnly,    ///< a regular file only: anything else is refused before it is opened
};

/// A file open for reading, read a piece at a time; closed when destroyed.
class InputFile {
 public:
  virtual ~InputFile() = default;
  /// Reads up to size bytes into buffer and returns how many; 0 at the end of the file.
  /// Throws IoError "Cannot read "NAME": reason".
  virtual size_t Read(char* buffer, size_t size) = 0;
  /// The size of a regular file when it was opened; 0 when not known (a pipe).
  virtual std::uint64_t SizeHint() const { return 0; }
};

/// What opening a file for reading gave: the file, or the reason why it cannot be read.
struct OpenedFile {
  std::unique_ptr<InputFile> file;  ///< null when the file could not be opened
  std::string whyNot;               ///< the system's reason when file is null
  bool missing = false;             ///< when file is null: nothing of that name exists
};

/// A buffer for reading many files one after the other: it grows to the largest file read and
/// is never cleared, so a file read into it costs no freshly zeroed memory.
class ReadBuffer {
 public:
  /// The content of the file read last.
  std::string_view Text() const { return std::string_view(storage_.data(), used_); }

 private:
  friend class FileSystem;
  std::string storage_;
  size_t used_ = 0;
};

/// A file being written anew beside the name it is to take. Until Commit it is a hidden file
/// of its own (created exclusively, never through a link); dropped before Commit, it is
/// removed.
class NewFile {
 public:
  virtual ~NewFile() = default;
  /// Adds data at the end. Throws IoError "Cannot write "NAME": reason".
  virtual void Write(std::string_view data) = 0;
  /// Gives the file its name, replacing the entry of that name (a link is replaced, never
  /// followed). Throws IoError "Cannot write "NAME": reason".
  virtual void Commit() = 0;
  /// Removes the committed file again, unless its name has since been given to another file.
  virtual void Remove() = 0;
};

/// Where a report starts in its file. The two are the window's own behaviours, which stored
/// report files rely on: the unit reports go right after what the file holds, the line count
/// first ends a last line that has no line end.
enum class ReportStart {
  AtEnd,      ///< right after what the file holds (the unit reports)
  OnOwnLine,  ///< after a CR LF when the file's last line has no line end (the line count)
};

/// The disk behind one interface. Paths may hold "\" and may differ in letter case from the
/// names on disk; relative paths are taken against CurrentFolder(). On the disk, Resolve, Stat,
/// OpenRead and the read helpers may run on several threads at once (reading only).
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// The path of an existing entry as spelled on disk (absolute, "/" delimited), found by
  /// taking each component as written when it exists, else the first entry of its folder in
  /// byte order that equals it ignoring ASCII case; nullopt when there is none.
  virtual std::optional<std::string> Resolve(std::string_view path) = 0;
  /// Size, time and kind of the entry that path resolves to; exists false when none.
  virtual FileStat Stat(std::string_view path) = 0;
  /// Opens a file for reading without ever waiting on the open. Refused with the reason:
  /// missing, a folder, a device or socket, a pipe unless what allows it, no access, a name
  /// holding a NUL byte. Throws IoError only when the system fails after opening.
  virtual OpenedFile OpenRead(std::string_view path, Readable what) = 0;
  /// The entries of a folder, "." and ".." included, sorted by their names in capitals with
  /// ties in byte order; empty when the folder cannot be listed.
  virtual std::vector<DirEntry> ListFolder(std::string_view folder) = 0;
  /// Reads a folder afresh (nothing cached) with the kind, identity and size of each entry.
  virtual FolderScan ScanFolder(std::string_view folder) = 0;
  /// Creates or replaces a file with data. The old file stays whole when writing fails
  /// (the new content goes to a file beside it first, then takes its name). Throws IoError.
  virtual void ReplaceFile(std::string_view path, std::string_view data) = 0;
  /// Starts writing a file anew (see NewFile): an existing file of that name, found ignoring
  /// case, is replaced only on Commit. Throws IoError "Cannot create "NAME": reason".
  virtual std::unique_ptr<NewFile> CreateNewFile(std::string_view path) = 0;
  /// Appends a report to a file: the one way every report reaches a report file.
  ///  - Whole or absent: the file is locked (flock) while it is appended to, so concurrent
  ///    runs queue; the text goes in one write at the end seen under the lock; when writing
  ///    fails, exactly the bytes of this append are cut off again, and a file that this call
  ///    created is removed.
  ///  - SIGINT, SIGTERM and SIGHUP arriving meanwhile take effect once the file is consistent.
  ///  - Only a regular file (or a link to one) is written; a folder, pipe, device, socket or
  ///    a link to nothing is refused at once. A missing file is created.
  ///  - OnOwnLine reads the file's last byte (one positioned read, under the lock) and puts a
  ///    CR LF first when it ends no line.
  /// Throws IoError "Cannot write "NAME": reason".
  virtual void AppendReport(std::string_view path, std::string_view text, ReportStart start) = 0;
  /// Creates an empty file or truncates an existing one to length 0, under the report lock;
  /// refuses what AppendReport refuses. Throws IoError "Cannot create "NAME": reason".
  virtual void TruncateFile(std::string_view path) = 0;
  /// The process's current folder (absolute, no trailing "/" except for the root).
  virtual std::string CurrentFolder() = 0;
  /// Makes folder the current folder. Throws IoError when it cannot.
  virtual void SetCurrentFolder(std::string_view folder) = 0;
  /// Creates a folder and its parents when missing. Throws IoError when it cannot.
  virtual void MakeFolders(std::string_view folder) = 0;
  /// Forgets the cached folder listings and name indexes; each run starts with this.
  virtual void ClearCache() = 0;
  /// While on, a folder whose names were read since the cache was last cleared is taken as it
  /// was then: a name it did not hold in any letter case is not looked for on disk again. For
  /// runs that read a tree as it stands and write nothing until their report (the command
  /// line's); the window keeps it off, since files may appear while it waits for the user.
  virtual void TrustFolderCache(bool on) { (void)on; }

  /// True when path names an existing file; a folder is not a file.
  bool FileExists(std::string_view path);
  /// True when path names an existing folder.
  bool FolderExists(std::string_view path);
  /// Reads a whole file (or a pipe, to its end) into out; false (out empty, the reason in
  /// *whyNot when given) when it cannot be opened (see OpenRead). Throws IoError naming the
  /// file when reading fails after opening.
  bool TryReadFile(std::string_view path, std::string& out, std::string* whyNot = nullptr);
  /// TryReadFile into a reused buffer (out.Text() empty when the file cannot be opened).
  bool TryReadFile(std::string_view path, ReadBuffer& out, std::string* whyNot = nullptr);
  /// Reads a whole file; throws IoError "Cannot open "NAME": reason" when it cannot.
  std::string ReadFile(std::string_view path);
  /// The path made absolute against the current folder with "\" as "/" and "." and ".."
  /// removed lexically, letter case as given.
  std::string FullPath(std::string_view path);

 private:
  /// OpenRead of a file or pipe to be read whole; null (the reason in *whyNot) when it cannot.
  std::unique_ptr<InputFile> OpenWhole(std::string_view path, std::string* whyNot);
};

/// Reads the lines of an open file one at a time (the rules of ForEachLine).
LineReader ReadLines(InputFile& file);

/// One run that trusts fs's folder cache (see TrustFolderCache): from a fresh cache, and no
/// longer once it ends.
class TrustedFolderCache {
 public:
  explicit TrustedFolderCache(FileSystem& fs) : fs_(fs) {
    fs_.ClearCache();
    fs_.TrustFolderCache(true);
  }
  ~TrustedFolderCache() { fs_.TrustFolderCache(false); }
  TrustedFolderCache(const TrustedFolderCache&) = delete;
  TrustedFolderCache& operator=(const TrustedFolderCache&) = delete;

 private:
  FileSystem& fs_;
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

/// A disk that fills up, for tests: once room bytes have been written through the file
/// system, every further write fails with "No space left on device"; onFull runs once, just
/// before the first write that fails.
struct DiskQuota {
  std::uint64_t room = 0;
  std::function<void()> onFull;
};

/// A new file system over the real disk whose writes run into quota.
std::unique_ptr<FileSystem> MakeDiskFileSystem(DiskQuota quota);

}  // namespace ravelin
