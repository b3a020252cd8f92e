// Reading a Lazarus project (.lpi) or package (.lpk): the build mode's compiler options
// (search paths, custom options) with the Lazarus macros of the target, the units the file
// names, and the packages it requires, found under the Lazarus folder and read in turn.
#include <cctype>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "units/LazarusConditionals.h"
#include "units/LazarusPackages.h"
#include "units/ProjectReaders.h"

namespace ravelin {

namespace {

bool IsTrue(const pugi::xml_node& node) {
  return CompareUpperText(node.attribute("Value").value(), "True") == 0;
}

std::string ValueOf(const pugi::xml_node& node) {
  return node.attribute("Value").value();
}

/// The element children whose names begin with prefix: "Item1", "Item2" or "Item", "Item".
template <typename Visit>
void ForEachEntry(const pugi::xml_node& list, std::string_view prefix, Visit visit) {
  for (const pugi::xml_node& entry : list.children())
    if (entry.type() == pugi::node_element &&
        std::string_view(entry.name()).substr(0, prefix.size()) == prefix)
      visit(entry);
}

bool IsPascalUnitFile(const std::string& file) {
  const std::string extension = UpperText(ExtensionOf(file));
  return extension == ".PAS" || extension == ".PP" || extension == ".P";
}

/// The macros of one Lazarus file: the target's, the file's folders, the build mode's values.
/// Names ignore letter case; a folder's value ends in "/".
class LazarusMacros {
 public:
  LazarusMacros(const LazarusTarget& target, const ProjectOptions& options)
      : environment_(options.environment) {
    Set("TargetOS", target.targetOS);
    Set("TargetCPU", target.targetCPU);
    Set("SrcOS", target.srcOS);
    Set("LCLWidgetType", target.widgetType);
    Set("FPCVer", "3.2.2");
    Set("IDEBuildOptions", "");
    if (!options.lazarusDir.empty()) Set("LazarusDir", Fs().FullPath(options.lazarusDir) + "/");
    if (!options.fpcSourceDir.empty()) Set("FPCSrcDir", Fs().FullPath(options.fpcSourceDir) + "/");
  }

  /// Every macro by name in capitals.
  const std::map<std::string, std::string>& Values() const { return values_; }

  void Set(const std::string& name, std::string value) {
    values_[UpperText(name)] = std::move(value);
  }

  /// text with $(Name) and $Env(NAME) replaced; unknown macros stay as written.
  std::string Expand(std::string_view text) const {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
      const std::size_t dollar = text.find('$', i);
      if (dollar == std::string_view::npos) break;
      std::size_t open = dollar + 1;
      while (open < text.size() && std::isalpha(static_cast<unsigned char>(text[open]))) ++open;
      const std::size_t close =
          open < text.size() && text[open] == '(' ? text.find(')', open) : std::string_view::npos;
      out.append(text.substr(i, dollar - i));
      if (close == std::string_view::npos) {
        out += '$';
        i = dollar + 1;
        continue;
      }
      const std::string function = UpperText(text.substr(dollar + 1, open - dollar - 1));
      const std::string inner(text.substr(open + 1, close - open - 1));
      auto known = values_.find(UpperText(inner));
      if (function.empty() && known != values_.end())
        out += known->second;
      else if (function == "ENV" && environment_)
        out += environment_(inner);
      else
        out.append(text.substr(dollar, close + 1 - dollar));
      i = close + 1;
    }
    out.append(text.substr(i));
    return out;
  }

 private:
  std::map<std::string, std::string> values_;
  std::function<std::string(const std::string&)> environment_;
};

/// Gathers what Lazarus files contribute to one project record.
class LazarusReader {
 public:
  LazarusReader(ProjectFile& project, const ProjectOptions& options)
      : project_(project),
        options_(options),
        target_(LazarusTargetOf(options.target.value_or(DefaultTarget(Dialect::Fpc, "")))),
        macros_(target_, options) {}

  /// The target macros and the build mode's macro values, which every file read sees.
  LazarusMacros& Macros() { return macros_; }
  const LazarusTarget& Target() const { return target_; }

  /// The search paths and custom options of a CompilerOptions element. takeDefines: whether
  /// its -d and -u options concern the project (not for a required package's own options).
  /// Returns the unit output folder.
  std::string CompilerOptions(const pugi::xml_node& options, const std::string& base,
                              LazarusMacros& macros, const std::string& shown, bool takeDefines) {
    const pugi::xml_node paths = options.child("SearchPaths");
    std::string output = base;
    const std::string outputValue = macros.Expand(ValueOf(paths.child("UnitOutputDirectory")));
    if (!TrimSpaces(outputValue).empty() && LeftoverMacro(outputValue).empty())
      output = ExpandPath(TrimSpaces(outputValue), base);
    macros.Set("ProjOutDir", output + "/");
    macros.Set("PkgOutDir", output + "/");
    AddFolders(project_.unitFolders, macros.Expand(ValueOf(paths.child("OtherUnitFiles"))), base,
               shown, "unit path", project_.warnings);
    AddFolders(project_.includeFolders, macros.Expand(ValueOf(paths.child("IncludeFiles"))), base,
               shown, "include path", project_.warnings);
    CustomOptions(macros.Expand(ValueOf(options.child("Other").child("CustomOptions"))), base,
                  shown, takeDefines);
    const std::string script = ValueOf(options.child("Conditionals"));
    if (!TrimSpaces(script).empty()) Conditionals(script, base, macros, shown, takeDefines);
    return output;
  }

  /// Runs a build conditionals script and takes the paths and options it sets; for a required
  /// package (takeDefines false) also what it gives the projects that use it.
  void Conditionals(const std::string& script, const std::string& base, const LazarusMacros& macros,
                    const std::string& shown, bool takeDefines) {
    ConditionalsRun run = RunLazarusConditionals(script, macros.Values());
    if (!run.error.empty())
      project_.warnings.push_back(shown + ": build conditionals stop early (" + run.error + ")");
    auto& vars = run.variables;
    AddFolders(project_.unitFolders, vars["UNITPATH"], base, shown, "conditionals unit path",
               project_.warnings);
    AddFolders(project_.includeFolders, vars["INCPATH"], base, shown, "conditionals include path",
               project_.warnings);
    CustomOptions(vars["CUSTOMOPTIONS"], base, shown, takeDefines);
    if (takeDefines) return;
    AddFolders(project_.unitFolders, vars["USAGEUNITPATH"], base, shown, "conditionals unit path",
               project_.warnings);
    AddFolders(project_.includeFolders, vars["USAGEINCPATH"], base, shown,
               "conditionals include path", project_.warnings);
    CustomOptions(vars["USAGECUSTOMOPTIONS"], base, shown, true);
  }

  /// The options a compiler command line would get: -dNAME, -uNAME, -FuPATH, -FiPATH, -IPATH.
  void CustomOptions(const std::string& text, const std::string& base, const std::string& shown,
                     bool takeDefines) {
    std::size_t i = 0;
    while (i < text.size()) {
      while (i < text.size() && static_cast<unsigned char>(text[i]) <= 32) ++i;
      const std::size_t start = i;
      while (i < text.size() && static_cast<unsigned char>(text[i]) > 32) ++i;
      const std::string option = text.substr(start, i - start);
      if (option.size() < 3 || option[0] != '-') continue;
      const std::string rest = option.substr(2);
      if (option[1] == 'd' && takeDefines) {
        AddOnce(project_.defines, TextBefore(rest, ":"), true);
      } else if (option[1] == 'u' && takeDefines) {
        std::erase_if(project_.defines,
                      [&](const std::string& name) { return CompareUpperText(name, rest) == 0; });
      } else if (option.substr(0, 3) == "-Fu" && option.size() > 3) {
        AddFolders(project_.unitFolders, option.substr(3), base, shown, "-Fu option",
                   project_.warnings);
      } else if ((option.substr(0, 3) == "-Fi" && option.size() > 3) || option[1] == 'I') {
        AddFolders(project_.includeFolders, option.substr(option[1] == 'I' ? 2 : 3), base, shown,
                   "include option", project_.warnings);
      }
    }
  }

  /// Queues the packages a RequiredPackages / RequiredPkgs element names, for a file in folder.
  void Require(const pugi::xml_node& list, const std::string& folder) {
    ForEachEntry(list, "Item", [&](const pugi::xml_node& item) {
      Pending pending;
      pending.package.name = ValueOf(item.child("PackageName"));
      if (pending.package.name.empty()) return;
      const pugi::xml_node version = item.child("MinVersion");
      if (CompareUpperText(version.attribute("Valid").value(), "True") == 0) {
        pending.package.minVersion = std::to_string(version.attribute("Major").as_int()) + "." +
                                     std::to_string(version.attribute("Minor").as_int()) + "." +
                                     std::to_string(version.attribute("Release").as_int());
      }
      pending.package.fpmake =
          CompareUpperText(ValueOf(item.child("DependencyType")), "FPMake") == 0;
      const std::string defaultFile = ValueOf(item.child("DefaultFilename"));
      if (!defaultFile.empty()) pending.defaultFile = ExpandPath(defaultFile, folder);
      pending_.push_back(std::move(pending));
    });
  }

  /// Finds and reads every queued package and those they require, each once.
  void ReadPackages(const std::string& shown) {
    std::set<std::string> seen;
    while (!pending_.empty()) {
      Pending next = std::move(pending_.front());
      pending_.pop_front();
      if (!seen.insert(UpperText(next.package.name)).second) continue;
      if (next.package.fpmake)
        FpMakePackage(next.package, shown);
      else
        LazarusPackage(next, shown);
      project_.packages.push_back(std::move(next.package));
    }
  }

  /// The project's units from the Units element of an .lpi; the main unit becomes mainSource.
  void ProjectUnits(const pugi::xml_node& options, const std::string& folder,
                    const LazarusMacros& macros, const std::string& shown) {
    const int mainIndex = options.child("General").child("MainUnit").attribute("Value").as_int(0);
    int index = -1;
    ForEachEntry(options.child("Units"), "Unit", [&](const pugi::xml_node& unit) {
      ++index;
      if (!IsTrue(unit.child("IsPartOfProject"))) return;
      std::string file;
      if (!UnitFile(unit, folder, macros, shown, file)) return;
      if (index == mainIndex)
        project_.mainSource = file;
      else if (IsPascalUnitFile(file))
        project_.units.push_back({UnitNameOf(unit, file), file});
    });
  }

  /// The units of a package's Files element. Their folders are not searched unless the
  /// package's unit path names them: the compiler sees only the unit path.
  void PackageUnits(const pugi::xml_node& package, const std::string& folder,
                    const LazarusMacros& macros, const std::string& shown) {
    ForEachEntry(package.child("Files"), "Item", [&](const pugi::xml_node& item) {
      std::string file;
      if (!UnitFile(item, folder, macros, shown, file) || !IsPascalUnitFile(file)) return;
      if (UpperText(ValueOf(item.child("Type"))) == "INCLUDE") return;
      project_.units.push_back({UnitNameOf(item, file), file});
    });
  }

 private:
  struct Pending {
    RequiredPackage package;
    std::string defaultFile;
  };

  static std::string UnitNameOf(const pugi::xml_node& entry, const std::string& file) {
    const std::string name = ValueOf(entry.child("UnitName"));
    return name.empty() ? BaseNameOf(file) : name;
  }

  bool UnitFile(const pugi::xml_node& entry, const std::string& folder, const LazarusMacros& macros,
                const std::string& shown, std::string& file) {
    const std::string written = macros.Expand(ValueOf(entry.child("Filename")));
    if (TrimSpaces(written).empty()) return false;
    if (const std::string macro = LeftoverMacro(written); !macro.empty()) {
      project_.warnings.push_back(shown + ": unknown macro " + macro + " in file name \"" +
                                  written + "\"; file skipped");
      return false;
    }
    file = ExpandPath(written, folder);
    return true;
  }

  OsFolder OsFolderKind(const std::string& name) const { return OsFolderOf(name, target_); }

  void FpMakePackage(RequiredPackage& package, const std::string& shown) {
    if (!options_.fpcSourceDir.empty()) {
      const std::string folder =
          ExpandPath("packages/" + package.name, Fs().FullPath(options_.fpcSourceDir));
      if (Fs().FolderExists(folder)) {
        // The sources lie in src and, for larger packages, in its subfolders; a subfolder
        // named after an operating system holds what src includes for that system.
        package.file = folder;
        const std::string sources = folder + "/src";
        if (!Fs().FolderExists(sources)) {
          AddOnce(project_.unitFolders, folder, false);
          return;
        }
        AddOnce(project_.unitFolders, sources, false);
        for (const DirEntry& entry : Fs().ListFolder(sources)) {
          if (!entry.isDir || entry.name[0] == '.') continue;
          const std::string sub = sources + "/" + entry.name;
          const OsFolder kind = OsFolderKind(entry.name);
          if (kind == OsFolder::Foreign) continue;
          AddOnce(project_.unitFolders, sub, false);
          if (kind == OsFolder::Target) AddOnce(project_.includeFolders, sub, false);
        }
        return;
      }
    }
    project_.warnings.push_back(
        shown + ": required Free Pascal package " + package.name + " not found" +
        (options_.fpcSourceDir.empty() ? " (no Free Pascal source folder given)"
                                       : " under " + options_.fpcSourceDir));
  }

  void LazarusPackage(Pending& pending, const std::string& shown) {
    RequiredPackage& package = pending.package;
    if (!pending.defaultFile.empty() && Fs().FileExists(pending.defaultFile))
      package.file = pending.defaultFile;
    if (package.file.empty() && !options_.lazarusDir.empty()) {
      if (!index_) index_ = std::make_unique<LazarusPackageIndex>(options_.lazarusDir);
      package.file = index_->Find(package.name);
    }
    if (package.file.empty()) {
      project_.warnings.push_back(shown + ": required package " + package.name + " not found" +
                                  (options_.lazarusDir.empty() ? " (no Lazarus folder given)"
                                                               : " under " + options_.lazarusDir));
      return;
    }
    pugi::xml_document doc;
    try {
      LoadProjectXml(doc, package.file, package.file);
    } catch (const ProjectFileError& error) {
      project_.warnings.push_back(std::string(error.what()) + "; package skipped");
      return;
    }
    const pugi::xml_node root = doc.document_element().child("Package");
    const std::string folder = ExpandPath(FolderPart(package.file), "/");
    LazarusMacros macros = macros_;
    macros.Set("PkgDir", folder + "/");
    AddOnce(project_.unitFolders, folder, false);
    const std::string output =
        CompilerOptions(root.child("CompilerOptions"), folder, macros, package.file, false);
    // What the package gives the projects that use it: defines and further folders.
    const pugi::xml_node usage = root.child("UsageOptions");
    CustomOptions(macros.Expand(ValueOf(usage.child("CustomOptions"))), folder, package.file, true);
    std::vector<std::string> usageFolders;
    AddFolders(usageFolders, macros.Expand(ValueOf(usage.child("UnitPath"))), folder, package.file,
               "usage unit path", project_.warnings);
    for (std::string& usageFolder : usageFolders)
      if (usageFolder != output) AddOnce(project_.unitFolders, std::move(usageFolder), false);
    AddFolders(project_.includeFolders, macros.Expand(ValueOf(usage.child("IncludePath"))), folder,
               package.file, "usage include path", project_.warnings);
    Require(root.child("RequiredPkgs"), folder);
  }

  ProjectFile& project_;
  const ProjectOptions& options_;
  LazarusTarget target_;
  LazarusMacros macros_;
  std::deque<Pending> pending_;
  std::unique_ptr<LazarusPackageIndex> index_;  // made when first needed
};

/// The build mode chosen by options (by name), else the active one, else the default one; its
/// element, or none when the project has no build modes and the default one is meant.
pugi::xml_node ChooseBuildMode(const pugi::xml_node& projectOptions, const std::string& wanted,
                               const std::string& shown) {
  const pugi::xml_node modes = projectOptions.child("BuildModes");
  std::string name = wanted.empty() ? std::string(modes.attribute("Active").value()) : wanted;
  pugi::xml_node chosen, byDefault;
  std::string names;
  ForEachEntry(modes, "Item", [&](const pugi::xml_node& item) {
    const std::string itemName = item.attribute("Name").value();
    names += (names.empty() ? "" : ", ") + itemName;
    if (!chosen && !name.empty() && CompareUpperText(itemName, name) == 0) chosen = item;
    if (!byDefault && CompareUpperText(item.attribute("Default").value(), "True") == 0)
      byDefault = item;
  });
  if (!chosen && !wanted.empty())
    throw ProjectFileError(shown + ": no build mode \"" + wanted +
                           "\" (the project has: " + (names.empty() ? "none" : names) + ")");
  return chosen ? chosen : byDefault;
}

}  // namespace

ProjectFile ReadLazarusProject(const std::string& path, const std::string& shown, ProjectKind kind,
                               const pugi::xml_document& doc, const ProjectOptions& options) {
  const pugi::xml_node root = doc.document_element();
  const pugi::xml_node body = root.child(kind == ProjectKind::Lpi ? "ProjectOptions" : "Package");
  if (std::string(root.name()) != "CONFIG" || !body)
    throw ProjectFileError(shown + ": not a Lazarus " +
                           (kind == ProjectKind::Lpi ? "project" : "package") + " file");
  ProjectFile project;
  project.path = path;
  project.kind = kind;
  const std::string folder = ExpandPath(FolderPart(path), "/");
  LazarusReader reader(project, options);
  project.platform = reader.Target().targetOS;
  if (kind == ProjectKind::Lpi) {
    const pugi::xml_node mode = ChooseBuildMode(body, options.config, shown);
    project.config = mode ? mode.attribute("Name").value() : "default";
    reader.Macros().Set("BuildMode", project.config);
    ForEachEntry(mode.child("MacroValues"), "Macro", [&](const pugi::xml_node& macro) {
      reader.Macros().Set(macro.attribute("Name").value(), macro.attribute("Value").value());
    });
    LazarusMacros macros = reader.Macros();
    macros.Set("ProjPath", folder + "/");
    macros.Set("ProjFile", path);
    const pugi::xml_node compilerOptions = mode.child("CompilerOptions")
                                               ? mode.child("CompilerOptions")
                                               : root.child("CompilerOptions");
    reader.CompilerOptions(compilerOptions, folder, macros, shown, true);
    reader.ProjectUnits(body, folder, macros, shown);
    reader.Require(body.child("RequiredPackages"), folder);
  } else {
    LazarusMacros macros = reader.Macros();
    macros.Set("PkgDir", folder + "/");
    reader.CompilerOptions(body.child("CompilerOptions"), folder, macros, shown, true);
    reader.PackageUnits(body, folder, macros, shown);
    reader.Require(body.child("RequiredPkgs"), folder);
  }
  reader.ReadPackages(shown);
  return project;
}

}  // namespace ravelin
