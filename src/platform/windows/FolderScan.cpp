// One folder read from the disk for a walk (Windows): FindFirstFileExW for the names, each
// entry opened once for its identity (volume serial number and file index).
#include "platform/FolderScan.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "common/VornString.h"
#include "platform/windows/WideText.h"

namespace ravelin {

namespace {

bool LessForListing(const FolderEntry& a, const FolderEntry& b) {
  const int c = CompareUpperText(a.name, b.name);
  return c != 0 ? c < 0 : a.name < b.name;
}

}  // namespace

bool win::DescribeFile(const std::wstring& path, FileId& id, EntryKind& kind, std::uint64_t& size) {
  HANDLE handle =
      ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = ::GetFileInformationByHandle(handle, &info) != 0;
  ::CloseHandle(handle);
  if (!ok) return false;
  id = FileId{info.dwVolumeSerialNumber,
              (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
  size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return true;
}

int ErrnoOf(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

int ScanDiskFolder(const std::string& path, FolderScan& scan) {
  scan.entries.clear();
  std::wstring folder = win::SystemPath(path);
  EntryKind kind = EntryKind::Missing;
  std::uint64_t size = 0;
  if (!win::DescribeFile(folder, scan.id, kind, size)) return ErrnoOf(::GetLastError());
  if (kind != EntryKind::Folder) return ENOTDIR;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileExW((folder + L'*').c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD code = ::GetLastError();
    return code == ERROR_FILE_NOT_FOUND ? 0 : ErrnoOf(code);
  }
  do {
    const std::wstring_view name(found.cFileName);
    if (name == L"." || name == L"..") continue;
    FolderEntry entry;
    entry.name = win::Narrow(name);
    // A link leading nowhere, or an entry gone since the listing, stays Missing.
    win::DescribeFile(folder + std::wstring(name), entry.id, entry.kind, entry.size);
    scan.entries.push_back(std::move(entry));
  } while (::FindNextFileW(find, &found));
  const DWORD code = ::GetLastError();
  ::FindClose(find);
  if (code != ERROR_NO_MORE_FILES) {
    scan.entries.clear();
    return ErrnoOf(code);
  }
  std::sort(scan.entries.begin(), scan.entries.end(), LessForListing);
  return 0;
}

}  // namespace ravelin
