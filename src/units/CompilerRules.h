// The compiler's rules in the unit analysis: units known by name from the project, unit scope
// names, the dialect's source extensions, the project's search folders, and conditional
// compilation with include files while the uses clauses are read.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "pascal/CompilerSymbols.h"
#include "pascal/Conditionals.h"
#include "platform/FileSys.h"
#include "units/ProjectFile.h"
#include "units/TargetDefines.h"
#include "units/UnitScan.h"

namespace ravelin {

/// What the compiler knows beyond the root file's folder and the search settings.
struct CompilerRules {
  Dialect dialect = Dialect::Delphi;
  Target target = Target::Windows;
  CompilerSymbols symbols;               ///< predefined, the project's and the extra defines
  std::vector<std::string> unitScopes;   ///< tried in order for a name not found as is
  std::vector<std::string> unitFolders;  ///< searched after the root's folder, before the settings
  std::vector<std::string> includeFolders;  ///< searched after the including file's folder
  std::vector<ProjectUnit> units;           ///< known by name to every unit
  std::vector<ProjectUnit> rootUnits;       ///< a package's units: the uses of its root
};

/// The dialect asked for, else Free Pascal for a Lazarus project (.lpi, .lpk) or a .lpr, .lpi,
/// .lpk, .pp or .p root, else Delphi.
Dialect DialectFor(std::optional<Dialect> asked, std::optional<ProjectKind> project,
                   const std::string& root);

/// The rules of a project (null: none), for root: the dialect asked for, else Free Pascal for a
/// Lazarus project or a .lpr, .lpk, .pp or .p root, else Delphi; the target asked for, else the
/// dialect's default for the project's platform; the project's defines, then defines. A
/// package project read as the root itself gives its units as the root's uses.
CompilerRules MakeCompilerRules(const ProjectFile* project, const std::string& root,
                                std::optional<Dialect> dialect, std::optional<Target> target,
                                const std::vector<std::string>& defines);

/// The subfolders of a Free Pascal runtime library source folder that the compiler reads for a
/// target (its operating system, then its processor, then the common ones), in that order.
std::vector<std::string> FpcRtlFolders(const std::string& rtlFolder, Target target);

/// The Free Pascal source folder that holds a runtime library folder (its parent).
std::string FpcSourceFolderOf(const std::string& rtlFolder);
/// The unit folders of the Free Pascal packages (fpcSourceFolder/packages/NAME/src, or the
/// package's folder when it has no src, with the subfolders that are not another system's), as
/// the compiler's installed units make every package available; listed in order of names.
std::vector<std::string> FpcPackageFolders(const std::string& fpcSourceFolder, Target target);

/// The folders a unit is looked for in under rules, in order: the root's folder, the project's
/// unit folders, then the folders of lookup that are switched on (the class and runtime library
/// folders with their subfolders; for Free Pascal the runtime library's target folders and the
/// packages beside it).
std::vector<std::string> RuleSearchFolders(const CompilerRules& rules, const UnitLookup& lookup);
/// The folders an include file is looked for in after the including file's folder: the rules'
/// include folders, then for Free Pascal the runtime library's include folders for the target
/// and the packages' folders for the target's system.
std::vector<std::string> RuleIncludeFolders(const CompilerRules& rules, const UnitLookup& lookup);

/// Finds the files of units by name under rules; each name is looked for once.
class UnitResolver {
 public:
  UnitResolver(const CompilerRules& rules, const UnitLookup& lookup);
  /// From now on unit name is the file file (a unit named with "in" in the root file).
  void Know(const std::string& name, const std::string& file);
  /// The file of unit name, spelled as on disk: a known unit's file, else the first of each
  /// scoped name with each of the dialect's extensions found in the folders, in order; when
  /// none exists, the bare file name of the name with the first extension ("Name.pas").
  std::string Locate(const std::string& name);

 private:
  std::optional<std::string> Find(const std::string& fileName);

  const CompilerRules& rules_;
  std::vector<std::string> folders_;
  std::unordered_map<std::string, std::string> known_;  // unit name in capitals -> file
};

/// The tokens of one unit file as the compiler reads them: comments go to the conditionals,
/// tokens of code that is not compiled are dropped, and an include directive reads the named
/// file's tokens in its place (looked for beside the including file, then in includeFolders).
class CompiledTokens : public TokenSource {
 public:
  /// Include files nested deeper than this are skipped with a warning.
  static constexpr std::size_t kMaxIncludeDepth = 16;

  CompiledTokens(Conditionals& conditionals, std::string fileName,
                 const std::vector<std::string>& includeFolders,
                 std::vector<std::string>& warnings);
  ~CompiledTokens() override;
  bool Next(TVornPasScanner& scanner, TTokenKind& kind, std::string& text) override;

 private:
  struct Included;
  /// Opens the include file name as written in the file on top; warns when it cannot.
  void Push(const std::string& name, int line);

  Conditionals& conditionals_;
  std::string fileName_;
  const std::vector<std::string>& includeFolders_;
  std::vector<std::string>& warnings_;
  std::vector<std::unique_ptr<Included>> stack_;
};

}  // namespace ravelin
