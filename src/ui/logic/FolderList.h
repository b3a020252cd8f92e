// The folder picker without its widgets: the list of folders from the root down to the
// current folder with the current folder's subfolders, and the "drives" of this system (the
// root, the home folder, and the real file systems and removable media the user can read).
#pragma once

#include <string>
#include <vector>

namespace ravelin {

/// One line of the folder list.
struct FolderItem {
  std::string name;   ///< what the line shows: "/" for the root, else the folder's own name
  std::string path;   ///< the folder's full path
  int level = 0;      ///< indentation: 0 for the root, one more per folder below it
  bool open = false;  ///< on the way from the root to the current folder (itself included)
};

/// The folder list: a current folder and the lines that show it. The process's current folder
/// is never changed.
class FolderList {
 public:
  /// A list at the process's current folder.
  FolderList();
  /// The current folder's full path ("/" delimited, no trailing "/" except for the root).
  const std::string& Directory() const { return directory_; }
  /// The lines: the root, each folder down to the current one, then its subfolders (hidden
  /// ones, whose names start with ".", left out) in listing order.
  const std::vector<FolderItem>& Items() const { return items_; }
  /// The index of the current folder's line.
  int CurrentIndex() const { return currentIndex_; }
  /// Moves to folder (a relative name is taken against the list's folder; letter case as on
  /// disk is found). A folder that does not exist or cannot be listed leaves everything as it
  /// was: false then, with the system's reason in *whyNot when given.
  bool Open(const std::string& folder, std::string* whyNot = nullptr);

 private:
  void Rebuild();

  std::string directory_;
  std::vector<FolderItem> items_;
  int currentIndex_ = 0;
};

/// The mount points in the text of /proc/self/mounts ("\040" and the like decoded) that hold
/// the user's files: removable media (anything mounted under /media or /run/media) and real
/// file systems (disk, optical, network and shared folders of a virtual machine; no memory
/// file systems such as tmpfs) outside /proc, /sys, /dev and /run; in the order given,
/// without repeats.
std::vector<std::string> ParseMountPoints(const std::string& mountsText);

/// The drive box's entries: "/", the home folder (when given), then the mount points of
/// mountsText that can be listed, sorted; no entry twice.
std::vector<std::string> DriveList(const std::string& home, const std::string& mountsText);

/// The entry of drives that holds folder: the longest one that is folder itself or one of
/// its parents; -1 when none does.
int DriveIndexFor(const std::vector<std::string>& drives, const std::string& folder);

}  // namespace ravelin
