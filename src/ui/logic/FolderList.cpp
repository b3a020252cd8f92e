#include "ui/logic/FolderList.h"

#include <algorithm>
#include <optional>
#include <set>

#include "platform/FileSys.h"

namespace ravelin {
namespace {

// "\ooo" octal escapes of the mount table turned back into their bytes.
std::string DecodeMountField(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const char a = field[i + 1], b = field[i + 2], c = field[i + 3];
      if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
        out += static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

bool IsUnder(const std::string& path, const std::string& folder) {
  return path == folder ||
         (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
          path[folder.size()] == '/');
}

bool CanList(const std::string& folder) {
  // A folder that can be listed shows at least "." and "..".
  return Fs().FolderExists(folder) && !Fs().ListFolder(folder).empty();
}

}  // namespace

FolderList::FolderList() : directory_(Fs().CurrentFolder()) {
  Rebuild();
}

bool FolderList::Open(const std::string& folder, std::string* whyNot) {
  if (folder.empty()) return false;
  Fs().ClearCache();
  const std::string full = Fs().FullPath(folder[0] == '/' ? folder : directory_ + "/" + folder);
  const std::optional<std::string> resolved = Fs().Resolve(full);
  if (!resolved || !CanList(*resolved)) {
    if (whyNot != nullptr) *whyNot = Fs().ScanFolder(resolved.value_or(full)).error;
    return false;
  }
  directory_ = *resolved;
  Rebuild();
  return true;
}

void FolderList::Rebuild() {
  items_.clear();
  items_.push_back({"/", "/", 0, true});
  std::string path;
  int level = 0;
  size_t start = 1;
  while (start < directory_.size()) {
    size_t end = directory_.find('/', start);
    if (end == std::string::npos) end = directory_.size();
    std::string name = directory_.substr(start, end - start);
    if (!name.empty()) {
      path += "/" + name;
      items_.push_back({name, path, ++level, true});
    }
    start = end + 1;
  }
  currentIndex_ = static_cast<int>(items_.size()) - 1;
  for (const DirEntry& entry : Fs().ListFolder(directory_)) {
    if (!entry.isDir || entry.name.empty() || entry.name[0] == '.') continue;
    std::string child = directory_ == "/" ? "/" + entry.name : directory_ + "/" + entry.name;
    items_.push_back({entry.name, child, level + 1, false});
  }
}

std::vector<std::string> ParseMountPoints(const std::string& mountsText) {
  // File systems that hold the user's files: on disks and memory cards, optical discs, and
  // shared over the network or from the host of a virtual machine. Memory file systems
  // (tmpfs, overlays of containers) and images of packages (squashfs) are not among them.
  static const std::set<std::string> diskTypes = {
      "ext2",    "ext3",   "ext4",     "xfs",   "btrfs",     "f2fs",  "jfs",  "reiserfs",
      "zfs",     "nilfs2", "bcachefs", "vfat",  "msdos",     "exfat", "ntfs", "ntfs3",
      "fuseblk", "hfs",    "hfsplus",  "udf",   "iso9660",   "nfs",   "nfs4", "cifs",
      "smb3",    "9p",     "virtiofs", "drvfs", "fuse.sshfs"};
  std::vector<std::string> points;
  size_t lineStart = 0;
  while (lineStart < mountsText.size()) {
    size_t lineEnd = mountsText.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = mountsText.size();
    std::string line = mountsText.substr(lineStart, lineEnd - lineStart);
    lineStart = lineEnd + 1;
    // device, mount point, type, options ... separated by blanks
    std::vector<std::string> fields;
    size_t pos = 0;
    while (pos < line.size() && fields.size() < 3) {
      size_t next = line.find_first_of(" \t", pos);
      if (next == std::string::npos) next = line.size();
      if (next > pos) fields.push_back(line.substr(pos, next - pos));
      pos = next + 1;
    }
    if (fields.size() < 3) continue;
    std::string point = DecodeMountField(fields[1]);
    if (point.empty() || point[0] != '/') continue;
    // Removable media are mounted under /media or /run/media, whatever their file system.
    const bool removable = IsUnder(point, "/media") || IsUnder(point, "/run/media");
    const bool system = IsUnder(point, "/proc") || IsUnder(point, "/sys") ||
                        IsUnder(point, "/dev") || IsUnder(point, "/run");
    if (!removable && (system || diskTypes.count(fields[2]) == 0)) continue;
    if (std::find(points.begin(), points.end(), point) == points.end()) points.push_back(point);
  }
  return points;
}

std::vector<std::string> DriveList(const std::string& home, const std::string& mountsText) {
  std::vector<std::string> drives = {"/"};
  if (!home.empty() && home != "/" && CanList(home)) drives.push_back(home);
  std::vector<std::string> mounts;
  for (const std::string& point : ParseMountPoints(mountsText)) {
    if (std::find(drives.begin(), drives.end(), point) != drives.end()) continue;
    if (CanList(point)) mounts.push_back(point);
  }
  std::sort(mounts.begin(), mounts.end());
  drives.insert(drives.end(), mounts.begin(), mounts.end());
  return drives;
}

int DriveIndexFor(const std::vector<std::string>& drives, const std::string& folder) {
  int best = -1;
  size_t bestLength = 0;
  for (size_t i = 0; i < drives.size(); ++i) {
    const std::string& drive = drives[i];
    bool holds = drive == "/" ? !folder.empty() && folder[0] == '/' : IsUnder(folder, drive);
    if (holds && (best < 0 || drive.size() > bestLength)) {
      best = static_cast<int>(i);
      bestLength = drive.size();
    }
  }
  return best;
}

}  // namespace ravelin
