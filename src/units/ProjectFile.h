// Project files as the compiler sees them: a Delphi project (.dproj, MSBuild XML) or a Lazarus
// project or package (.lpi, .lpk) read into one plain record of search folders, unit scope
// names, defines, required packages and the units the project names, for one configuration and
// platform.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Error.h"
#include "units/TargetDefines.h"

namespace ravelin {

/// The kinds of project file that can be read.
enum class ProjectKind { Dproj, Lpi, Lpk };

/// A unit the project names with its file.
struct ProjectUnit {
  std::string name;  ///< the unit name: as the project writes it, else the file's base name
  std::string file;  ///< absolute, "/" delimited, letter case as written
};

/// A package a Lazarus project or package requires (transitively), or a package a Delphi
/// package project names (.dcp).
struct RequiredPackage {
  std::string name;        ///< as written in the requiring file
  std::string minVersion;  ///< "1.1" from MinVersion, empty when none is asked for
  std::string file;        ///< the .lpk (or Free Pascal package folder) found; empty when not
  bool fpmake = false;     ///< a Free Pascal package (DependencyType FPMake), not a .lpk
};

/// Everything a project file tells the compiler, for the configuration and platform read.
/// Folders are absolute and "/" delimited, each listed once, in search order; a relative entry
/// is taken against the folder of the file that names it, "\" is read as "/", and letter case
/// is kept as written (the file system finds names ignoring case). Folders are not checked for
/// existence. The root file's own folder is not listed unless the project names it.
struct ProjectFile {
  std::string path;  ///< the project file, absolute
  ProjectKind kind = ProjectKind::Dproj;
  std::string mainSource;  ///< the program or library file, absolute; empty for a package
  std::string config;      ///< the configuration (Delphi) or build mode (Lazarus) read
  std::string platform;    ///< the platform (Delphi: Win32, Win64, ...; Lazarus: $(TargetOS))
  std::vector<std::string> unitFolders;     ///< where units are looked for, in order
  std::vector<std::string> includeFolders;  ///< where include files are looked for, in order
  std::vector<std::string> unitScopes;      ///< unit scope names in order ("System", "Vcl")
  std::vector<std::string> defines;         ///< conditional defines, each once, in order
  std::vector<RequiredPackage> packages;    ///< required packages, transitively, each once
  std::vector<ProjectUnit> units;           ///< units named by the project with their files
  std::vector<std::string> warnings;        ///< "FILE: reason" for what was skipped
};

/// How a project file is read.
struct ProjectOptions {
  /// The configuration (Delphi) or build mode (Lazarus) by name; empty: the project's default.
  std::string config;
  /// The Delphi platform (Win32, Win64, Linux64, ...); empty: the project's default.
  std::string platform;
  /// The target of Lazarus macros ($(TargetOS), $(LCLWidgetType), ...); none: DefaultTarget.
  std::optional<Target> target;
  /// The Lazarus folder under which required packages (NAME.lpk) are found; empty: none.
  std::string lazarusDir;
  /// The Free Pascal source folder under which FPMake packages (packages/NAME) are found.
  std::string fpcSourceDir;
  /// Environment variables by name ("" when unset); empty: the process's environment.
  std::function<std::string(const std::string&)> environment;
};

/// A project file that cannot be used: unreadable, not well-formed XML, of an unknown kind,
/// or without the configuration, platform or build mode asked for. The message names the file.
class ProjectFileError : public Error {
 public:
  explicit ProjectFileError(const std::string& message) : Error(message) {}
};

/// True when this build reads project files (it has the XML library); without it
/// ReadProjectFile refuses every file with a ProjectFileError saying so.
bool ReadsProjectFiles();

/// The kind of a project file by its extension (any letter case), or none.
std::optional<ProjectKind> ProjectKindOf(const std::string& path);

/// Reads a .dproj, .lpi or .lpk file through the process's file system. What can be skipped
/// (an unknown macro in a path, a required package not found) becomes a warning; what makes
/// the file unusable throws ProjectFileError.
ProjectFile ReadProjectFile(const std::string& path, const ProjectOptions& options);

}  // namespace ravelin
