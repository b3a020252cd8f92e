#include "platform/FileWalk.h"

#include <iterator>
#include <utility>

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/GitIgnore.h"

namespace ravelin {

namespace {

bool IsHidden(std::string_view name) {
  return !name.empty() && name[0] == '.';
}

/// The folders where the IDE keeps backup copies of edited files.
bool IsIdeBackupFolder(std::string_view name) {
  const std::string upper = UpperText(name);
  return upper == "__HISTORY" || upper == "__RECOVERY";
}

/// True when a folder's own git repository sits in it (a ".git" folder, or a ".git" file
/// naming one elsewhere).
bool HoldsGitRepository(const FolderScan& scan) {
  for (const FolderEntry& entry : scan.entries)
    if (entry.name == ".git" && entry.kind != EntryKind::Missing) return true;
  return false;
}

}  // namespace

const std::vector<std::string>& DefaultExtensions() {
  static const std::vector<std::string> extensions = {".pas", ".pp",  ".p",  ".dpr",
                                                      ".dpk", ".lpr", ".inc"};
  return extensions;
}

std::string Describe(const WalkWarning& warning) {
  const std::string what = warning.kind == WalkWarning::Kind::Folder
                               ? "Cannot read folder \""
                               : "Cannot read the git ignore rules for \"";
  return what + warning.path + "\": " + warning.reason;
}

// ---------------------------------------------------------------------------------------------
// One traversal: a folder met on the way, and what decides where the traversal goes

struct FileWalk::Folder {
  std::string disk;   // its path on disk
  std::string shown;  // as the user sees it
  std::string rel;    // below the walked folder or the pattern's fixed part, "/"-delimited
  std::shared_ptr<IgnoreRules> rules;  // folder walks: git's rules here, if any,
  std::size_t ruleCut = 0;             // applied to rel from this position on
  PathPattern::States states;          // pattern walks: how far the pattern has come
};

class FileWalk::Policy {
 public:
  virtual ~Policy() = default;
  /// False when the folder just read is to be left (reached before); may adjust folder.
  virtual bool Enter(Folder& folder, const FolderScan& scan) = 0;
  /// True when the traversal takes this file of folder (rel: its path below the start).
  virtual bool TakesFile(const Folder& folder, const FolderEntry& entry,
                         const std::string& rel) = 0;
  /// True when the traversal goes into this subfolder of folder; completes child.
  virtual bool Descends(const Folder& folder, const FolderEntry& entry, Folder& child) = 0;
};

/// A folder walk: files by extension, nothing hidden, no IDE backups, no excluded or
/// git-ignored paths, no folder twice.
class FileWalk::RootPolicy final : public FileWalk::Policy {
 public:
  explicit RootPolicy(FileWalk& walk) : walk_(walk) {}

  bool Enter(Folder& folder, const FolderScan& scan) override {
    if (!walk_.walkedFolders_.insert(scan.id).second) return false;  // a loop, or walked before
    // A repository inside the walked one has rules of its own; the outer ones stop here.
    if (walk_.gitIgnore_ && !folder.rel.empty() && HoldsGitRepository(scan)) {
      folder.rules = walk_.GitRulesFor(folder.disk, folder.shown);
      folder.ruleCut = folder.rel.size() + 1;
    }
    return true;
  }

  bool TakesFile(const Folder& folder, const FolderEntry& entry, const std::string& rel) override {
    return !IsHidden(entry.name) && walk_.WantedExtension(entry.name) && Kept(folder, rel, false);
  }

  bool Descends(const Folder& folder, const FolderEntry& entry, Folder& child) override {
    if (IsHidden(entry.name) || IsIdeBackupFolder(entry.name) ||
        walk_.walkedFolders_.count(entry.id) != 0 || !Kept(folder, child.rel, true))
      return false;
    child.rules = folder.rules;
    child.ruleCut = folder.ruleCut;
    return true;
  }

 private:
  bool Kept(const Folder& folder, const std::string& rel, bool isFolder) {
    if (walk_.Excluded(rel, isFolder)) return false;
    return folder.rules == nullptr ||
           !folder.rules->IsIgnored(std::string_view(rel).substr(folder.ruleCut), isFolder);
  }

  FileWalk& walk_;
};

/// A pattern walk: only where the pattern leads, each folder once per pattern state.
class FileWalk::PatternPolicy final : public FileWalk::Policy {
 public:
  PatternPolicy(FileWalk& walk, const PathPattern& pattern) : walk_(walk), pattern_(pattern) {}

  bool Enter(Folder& folder, const FolderScan& scan) override {
    return visited_.emplace(scan.id, folder.states).second;
  }

  bool TakesFile(const Folder& folder, const FolderEntry& entry, const std::string& rel) override {
    auto states = pattern_.Step(folder.states, entry.name, !IsHidden(entry.name));
    if (!pattern_.Complete(states) || walk_.Excluded(rel, false)) return false;
    ++matched_;
    return true;
  }

  bool Descends(const Folder& folder, const FolderEntry& entry, Folder& child) override {
    const bool reachable = !IsHidden(entry.name) && !IsIdeBackupFolder(entry.name);
    child.states = pattern_.Step(folder.states, entry.name, reachable);
    return pattern_.CanGoOn(child.states) && !walk_.Excluded(child.rel, true);
  }

  std::size_t Matched() const { return matched_; }

 private:
  FileWalk& walk_;
  const PathPattern& pattern_;
  std::set<std::pair<FileId, PathPattern::States>> visited_;
  std::size_t matched_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The walk

FileWalk::FileWalk(WalkOptions options, WarningSink warn, FileSystem& fs)
    : fs_(fs), warn_(std::move(warn)), gitIgnore_(options.gitIgnore) {
  for (const std::string& extension : options.extensions) {
    if (extension.empty()) continue;
    extensions_.push_back(UpperText(extension[0] == '.' ? extension : "." + extension));
  }
  for (const std::string& text : options.excludes) {
    std::string glob = ToSlashes(text);
    bool foldersOnly = false;
    while (glob.size() > 1 && glob.back() == '/') {
      glob.pop_back();
      foldersOnly = true;
    }
    if (glob.empty()) continue;
    if (glob.find('/') == std::string::npos) glob = "**/" + glob;  // a name at any depth
    excludes_.push_back(Exclude{PathPattern(glob), foldersOnly});
  }
}

FileWalk::~FileWalk() = default;

RootKind FileWalk::AddRoot(std::string_view root) {
  if (root.empty()) return RootKind::Missing;
  const FileStat stat = fs_.Stat(root);
  if (!stat.exists) return RootKind::Missing;
  if (!stat.isDir) {
    Take(std::string(root), stat.id, stat.size);
    return RootKind::File;
  }
  if (walkedFolders_.count(stat.id) != 0) return RootKind::Folder;
  Folder start;
  start.disk = fs_.Resolve(root).value_or(std::string(root));
  start.shown = root;
  if (gitIgnore_) start.rules = GitRulesFor(start.disk, start.shown);
  RootPolicy policy(*this);
  Traverse(std::move(start), policy);
  return RootKind::Folder;
}

std::size_t FileWalk::AddPattern(std::string_view pattern) {
  const std::size_t fixedLength = PathPattern::FixedPartLength(pattern);
  const PathPattern rest(pattern.substr(fixedLength));
  Folder start;
  start.shown = pattern.substr(0, fixedLength);
  const std::string where = start.shown.empty() ? "." : start.shown;
  const FileStat stat = fs_.Stat(where);
  if (rest.Size() == 0 || !stat.isDir) return 0;
  start.disk = fs_.Resolve(where).value_or(where);
  start.states = rest.Start();
  PatternPolicy policy(*this, rest);
  Traverse(std::move(start), policy);
  return policy.Matched();
}

void FileWalk::Traverse(Folder start, Policy& policy) {
  // Depth first without recursion, so a deep tree cannot exhaust the stack: a folder's files
  // are taken while it is read, its subfolders go on the stack in reverse listing order.
  std::vector<Folder> pending;
  pending.push_back(std::move(start));
  while (!pending.empty()) {
    Folder folder = std::move(pending.back());
    pending.pop_back();
    const FolderScan scan = fs_.ScanFolder(folder.disk);
    if (!scan.error.empty()) {
      Warn(WalkWarning::Kind::Folder, folder.shown, scan.error);
      continue;
    }
    if (!policy.Enter(folder, scan)) continue;
    std::vector<Folder> subfolders;
    for (const FolderEntry& entry : scan.entries) {
      std::string rel = folder.rel.empty() ? entry.name : folder.rel + "/" + entry.name;
      if (entry.kind == EntryKind::File) {
        if (policy.TakesFile(folder, entry, rel))
          Take(JoinPath(folder.shown, entry.name), entry.id, entry.size);
      } else if (entry.kind == EntryKind::Folder) {
        Folder child;
        child.disk = JoinPath(folder.disk, entry.name);
        child.shown = JoinPath(folder.shown, entry.name);
        child.rel = std::move(rel);
        if (policy.Descends(folder, entry, child)) subfolders.push_back(std::move(child));
      }
    }
    pending.insert(pending.end(), std::make_move_iterator(subfolders.rbegin()),
                   std::make_move_iterator(subfolders.rend()));
  }
}

void FileWalk::Take(std::string path, const FileId& id, std::uint64_t size) {
  if (!takenFiles_.insert(id).second) return;
  if (sink_) {
    sink_(WalkedFile{std::move(path), size});
  } else {
    files_.push_back(WalkedFile{std::move(path), size});
  }
}

bool FileWalk::Excluded(const std::string& path, bool isFolder) const {
  for (const Exclude& exclude : excludes_)
    if ((isFolder || !exclude.foldersOnly) && exclude.glob.Matches(path)) return true;
  return false;
}

bool FileWalk::WantedExtension(std::string_view name) const {
  if (extensions_.empty()) return true;
  for (const std::string& extension : extensions_) {
    if (name.size() > extension.size() &&
        UpperText(name.substr(name.size() - extension.size())) == extension)
      return true;
  }
  return false;
}

std::shared_ptr<IgnoreRules> FileWalk::GitRulesFor(const std::string& disk,
                                                   const std::string& shown) {
  std::string error;
  std::shared_ptr<IgnoreRules> rules = OpenGitIgnore(disk, error);
  if (!error.empty()) Warn(WalkWarning::Kind::GitRules, shown, error);
  return rules;
}

void FileWalk::Warn(WalkWarning::Kind kind, const std::string& path, const std::string& reason) {
  if (warn_) warn_(WalkWarning{kind, path.empty() ? "." : path, reason});
}

}  // namespace ravelin
