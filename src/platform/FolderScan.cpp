#include "platform/FolderScan.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/VornString.h"

namespace ravelin {

namespace {

bool LessForListing(const FolderEntry& a, const FolderEntry& b) {
  const int c = CompareUpperText(a.name, b.name);
  return c != 0 ? c < 0 : a.name < b.name;
}

/// Fills entry from what its name leads to. Returns 0, or the errno when an entry cannot be
/// looked at although it is no link: the folder grants no search permission.
int DescribeEntry(int dirFd, unsigned char type, FolderEntry& entry) {
  struct stat st;
  if (::fstatat(dirFd, entry.name.c_str(), &st, 0) != 0) {
    // A link leading nowhere, to itself or out of reach, or an entry gone since the listing,
    // stays Missing.
    return type == DT_LNK || errno == ENOENT || errno == ELOOP ? 0 : errno;
  }
  entry.kind = S_ISREG(st.st_mode)   ? EntryKind::File
               : S_ISDIR(st.st_mode) ? EntryKind::Folder
                                     : EntryKind::Other;
  entry.id = IdOf(st);
  entry.size = static_cast<std::uint64_t>(st.st_size);
  return 0;
}

/// Reads the entries of the open folder dir into scan; returns 0 or the errno.
int ReadEntries(DIR* dir, FolderScan& scan) {
  for (;;) {
    errno = 0;
    const struct dirent* e = ::readdir(dir);
    if (e == nullptr) return errno;
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    FolderEntry entry;
    entry.name = e->d_name;
    if (int err = DescribeEntry(::dirfd(dir), e->d_type, entry)) return err;
    scan.entries.push_back(std::move(entry));
  }
}

}  // namespace

FileId IdOf(const struct stat& st) {
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

int ScanDiskFolder(const std::string& path, FolderScan& scan) {
  scan.entries.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat st;
  DIR* dir = ::fstat(fd, &st) == 0 ? ::fdopendir(fd) : nullptr;
  if (dir == nullptr) {
    const int err = errno;
    ::close(fd);
    return err;
  }
  scan.id = IdOf(st);
  const int err = ReadEntries(dir, scan);
  ::closedir(dir);
  if (err != 0) {
    scan.entries.clear();
    return err;
  }
  std::sort(scan.entries.begin(), scan.entries.end(), LessForListing);
  return 0;
}

}  // namespace ravelin
