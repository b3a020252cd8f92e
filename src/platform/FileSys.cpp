#include "platform/FileSys.h"

#include <algorithm>
#include <cctype>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "platform/DiskIo.h"

namespace ravelin {

using namespace disk;

namespace {

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

namespace {

/// Reads what is left of a file into storage from its start and returns the bytes read:
/// the size known at opening first, then whatever follows. storage only grows.
size_t ReadRest(InputFile& file, std::string& storage) {
  size_t used = 0;
  const size_t known = static_cast<size_t>(file.SizeHint());
  if (storage.size() < known + 1) storage.resize(known + 1);
  for (;;) {
    if (used == storage.size()) storage.resize(std::max<size_t>(storage.size() * 2, 65536));
    const size_t wanted = storage.size() - used;
    const size_t n = file.Read(storage.data() + used, wanted);
    used += n;
    // A file read short at or past its size when opened is at its end: no read more to see
    // that (one that grew meanwhile fills the room left and is read on).
    if (n == 0 || (n < wanted && known > 0 && used >= known)) return used;
  }
}

}  // namespace

std::unique_ptr<InputFile> FileSystem::OpenWhole(std::string_view path, std::string* whyNot) {
  OpenedFile opened = OpenRead(path, Readable::FileOrPipe);
  if (!opened.file && whyNot != nullptr) *whyNot = opened.whyNot;
  return std::move(opened.file);
}

bool FileSystem::TryReadFile(std::string_view path, ReadBuffer& out, std::string* whyNot) {
  out.used_ = 0;
  const std::unique_ptr<InputFile> file = OpenWhole(path, whyNot);
  if (!file) return false;
  out.used_ = ReadRest(*file, out.storage_);
  return true;
}

bool FileSystem::TryReadFile(std::string_view path, std::string& out, std::string* whyNot) {
  out.clear();
  const std::unique_ptr<InputFile> file = OpenWhole(path, whyNot);
  if (!file) return false;
  try {
    out.resize(ReadRest(*file, out));
  } catch (...) {
    out.clear();
    throw;
  }
  return true;
}

std::string FileSystem::ReadFile(std::string_view path) {
  std::string data;
  std::string whyNot;
  if (!TryReadFile(path, data, &whyNot)) ThrowIo("Cannot open", path, whyNot);
  return data;
}

LineReader ReadLines(InputFile& file) {
  return LineReader([&file](char* buffer, size_t size) { return file.Read(buffer, size); });
}

std::string FileSystem::FullPath(std::string_view path) {
#ifdef _WIN32
  // "C:\x" is absolute on its drive; "\x" on the current folder's drive. ("C:x", relative to
  // another drive's own current folder, is taken against the current folder.)
  const bool drive =
      path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
  if (drive && path.size() >= 3 && IsPathDelimiter(path[2]))
    return std::string(path.substr(0, 2)) + ExpandPath(path.substr(2), "/");
  const std::string current = CurrentFolder();
  const bool currentDrive = current.size() >= 2 && current[1] == ':';
  const std::string prefix = currentDrive ? current.substr(0, 2) : std::string();
  const std::string_view rest = drive ? path.substr(2) : path;
  if (!rest.empty() && IsPathDelimiter(rest[0])) return prefix + ExpandPath(rest, "/");
  return prefix + ExpandPath(rest, currentDrive ? std::string_view(current).substr(2) : current);
#else
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return ExpandPath(path, "/");
  return ExpandPath(path, CurrentFolder());
#endif
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

}  // namespace ravelin
