// Unit lookup: the unit file of a name, along the project folder and the search folders.
#include "units/UnitLookup.h"

#include <string_view>

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"

namespace ravelin {

UnitLookup UnitLookup::FromSettings(const SettingsState& settings) {
  UnitLookup lookup;
  std::string paths = settings.SearchPaths;
  while (!paths.empty()) {
    std::string folder = SplitFirst(paths, ";");
    if (!folder.empty()) lookup.searchPaths.push_back(std::move(folder));
  }
  lookup.useSearchPath = settings.UseSearchPath;
  lookup.vclPath = settings.VclPath;
  lookup.useVcl = settings.UseVcl;
  lookup.rtlPath = settings.RtlPath;
  lookup.useRtl = settings.UseRtl;
  return lookup;
}

namespace {

/// The name as spelled on disk when it exists, else as given.
std::string DiskSpelling(const std::string& fullName) {
  auto resolved = Fs().Resolve(fullName);
  return resolved ? *resolved : fullName;
}

bool HasFolderPart(std::string_view name) {
  return name.find_first_of("/\\") != std::string_view::npos;
}

}  // namespace

std::string SearchSourceFolder(const std::string& folder, const std::string& name) {
  std::string direct = folder + name;
  if (Fs().FileExists(direct)) return DiskSpelling(Fs().FullPath(direct));
  for (const DirEntry& entry : Fs().ListFolder(folder)) {
    if (!entry.isDir) continue;
    std::string candidate = JoinPath(JoinPath(folder, entry.name), name);
    if (Fs().FileExists(candidate)) return DiskSpelling(Fs().FullPath(candidate));
  }
  return name;
}

std::string LocateUnitFile(const std::string& name, const UnitLookup& lookup) {
  if (HasFolderPart(name)) return DiskSpelling(Fs().FullPath(name));
  if (Fs().FileExists(name)) return DiskSpelling(Fs().FullPath(lookup.projectFolder + name));
  if (lookup.useSearchPath) {
    for (const std::string& folder : lookup.searchPaths) {
      if (folder.empty()) continue;
      std::string candidate = JoinPath(folder, name);
      if (Fs().FileExists(candidate)) {
        // The folder as configured, the file name as found on disk.
        auto resolved = Fs().Resolve(candidate);
        return resolved ? JoinPath(folder, NamePart(*resolved)) : candidate;
      }
    }
  }
  if (!lookup.vclPath.empty() && lookup.useVcl) {
    std::string found = SearchSourceFolder(lookup.vclPath, name);
    if (found != name) return found;
  }
  if (!lookup.rtlPath.empty() && lookup.useRtl) {
    std::string found = SearchSourceFolder(lookup.rtlPath, name);
    if (found != name) return found;
  }
  return name;
}

}  // namespace ravelin
