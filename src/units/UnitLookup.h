// Unit lookup: where the file of a unit named in a uses clause is found, along the folders a
// UnitLookup names.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace ravelin {

struct SettingsState;
struct CompilerRules;

/// The folders a unit file is looked for in, in the order they are searched. The unit
/// analysis fills projectFolder from its root file; the rest comes from the settings (or a
/// command line).
struct UnitLookup {
  /// The root file's folder, with its trailing delimiter: a unit file lying in the current
  /// folder is entered under this folder.
  std::string projectFolder;
  /// Further folders, searched in order (empty pieces are skipped).
  std::vector<std::string> searchPaths;
  /// Search searchPaths.
  bool useSearchPath = false;
  /// The class library folder, searched with one level of subfolders.
  std::string vclPath;
  /// Search vclPath.
  bool useVcl = false;
  /// The runtime library folder, searched with one level of subfolders.
  std::string rtlPath;
  /// Search rtlPath.
  bool useRtl = false;
  /// When set, the unit analysis follows the compiler's rules (see CompilerRules.h); null: the
  /// design's rules, the unit file Name.pas looked for along the folders above.
  std::shared_ptr<const CompilerRules> rules;

  /// The folders of the settings: SearchPaths split at ";", the library folders and the three
  /// switches.
  static UnitLookup FromSettings(const SettingsState& settings);
};

/// The file under which a unit file name is found (a name with a folder part: that name made
/// full; else the current folder, entered under lookup.projectFolder, then the folders of
/// lookup in order), spelled as on disk; name unchanged when it is found nowhere.
std::string LocateUnitFile(const std::string& name, const UnitLookup& lookup);
/// The file named name directly in folder (folder and name put together as they are), else in
/// one of the entries of folder's listing that is a folder (".", ".." included), as a full path
/// spelled as on disk; name unchanged when it is found nowhere.
std::string SearchSourceFolder(const std::string& folder, const std::string& name);

}  // namespace ravelin
