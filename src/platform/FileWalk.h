// Finding the files a run counts: folders walked (files taken by extension; hidden entries,
// the IDE's backup folders, excluded paths and what git ignores left out), patterns with "*",
// "?" and "**" expanded, and every file taken once however often it is reached. Inside a
// folder its files come first, then its subfolders, each in listing order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/PathPattern.h"
#include "platform/FileSys.h"

namespace ravelin {

class IgnoreRules;

/// The extensions a walk takes unless told otherwise: .pas .pp .p .dpr .dpk .lpr .inc.
const std::vector<std::string>& DefaultExtensions();

/// What a walk takes and leaves out.
struct WalkOptions {
  /// The extensions of the files a folder walk takes ("pas" or ".pas"), ignoring ASCII case;
  /// empty: every file.
  std::vector<std::string> extensions = DefaultExtensions();
  /// Paths left out: a glob with "*", "?" and "**", ignoring ASCII case, matched against the
  /// path below the walked folder (or below a pattern's fixed part). A glob without "/"
  /// matches a name at any depth; a trailing "/" matches folders only; what a folder holds
  /// goes with it.
  std::vector<std::string> excludes;
  /// Leaves out what git ignores when a walked folder lies in a git work tree.
  bool gitIgnore = true;
};

/// A file taken, in the order of taking.
struct WalkedFile {
  /// As the user would write it: the root (or the pattern's fixed part) as given, then the
  /// names found on disk.
  std::string path;
  std::uint64_t size = 0;
};

/// Something a walk could not read; it went on without it.
struct WalkWarning {
  enum class Kind {
    Folder,
    GitRules
  } kind = Kind::Folder;  ///< an unreadable folder, or
                          ///< unreadable git rules
  std::string path;       ///< the folder, spelled like the files
  std::string reason;     ///< the system's reason
};

/// The warning as one line: "Cannot read folder "X": reason" and the like.
std::string Describe(const WalkWarning& warning);

/// What a root names.
enum class RootKind { Missing, File, Folder };

/// Collects the files of a run from roots and patterns, in the order they are added.
class FileWalk {
 public:
  using WarningSink = std::function<void(const WalkWarning&)>;

  /// A walk with options on fs; warnings go to warn (dropped when it is empty).
  explicit FileWalk(WalkOptions options, WarningSink warn = {}, FileSystem& fs = Fs());
  ~FileWalk();
  FileWalk(const FileWalk&) = delete;
  FileWalk& operator=(const FileWalk&) = delete;

  /// Takes a file whatever its name, or walks a folder; root is found ignoring letter case
  /// and kept byte for byte in the paths taken. Missing (nothing taken) when it names nothing.
  RootKind AddRoot(std::string_view root);
  /// Takes the regular files that pattern matches: "*" and "?" within a name, "**" for any
  /// number of folders, ignoring ASCII case, wildcards reaching no hidden entry and no IDE
  /// backup folder, excludes applied below the pattern's fixed part. Returns how many files
  /// match, those taken before included: 0 when the pattern matches nothing.
  std::size_t AddPattern(std::string_view pattern);

  /// The files taken so far, in order (none when a file sink is set).
  const std::vector<WalkedFile>& Files() const { return files_; }
  /// Hands every file taken from now on to sink, as it is taken, instead of keeping it.
  void SetFileSink(std::function<void(WalkedFile)> sink) { sink_ = std::move(sink); }

 private:
  struct Folder;
  class Policy;
  class RootPolicy;
  class PatternPolicy;

  /// Walks from start: each folder's files first, then its subfolders, as policy decides.
  void Traverse(Folder start, Policy& policy);
  /// Takes a file unless one with the same id was taken.
  void Take(std::string path, const FileId& id, std::uint64_t size);
  /// True when an exclude glob matches path (relative, "/"-delimited).
  bool Excluded(const std::string& path, bool isFolder) const;
  /// True when a folder walk takes a file of this name (by extension).
  bool WantedExtension(std::string_view name) const;
  /// The git rules for a walk below the folder at disk (shown as shown); nullptr for none.
  std::shared_ptr<IgnoreRules> GitRulesFor(const std::string& disk, const std::string& shown);
  void Warn(WalkWarning::Kind kind, const std::string& path, const std::string& reason);

  struct Exclude {
    PathPattern glob;
    bool foldersOnly;
  };

  FileSystem& fs_;
  WarningSink warn_;
  bool gitIgnore_;
  std::vector<std::string> extensions_;  // in capitals, each with its "."
  std::vector<Exclude> excludes_;
  std::vector<WalkedFile> files_;
  std::function<void(WalkedFile)> sink_;
  std::set<FileId> takenFiles_;
  std::set<FileId> walkedFolders_;
};

}  // namespace ravelin
