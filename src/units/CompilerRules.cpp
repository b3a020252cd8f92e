// The compiler's rules in the unit analysis: the rules of a project, the folders and file names
// a unit is looked for under, and the compiled tokens of a unit file.
#include "units/CompilerRules.h"

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "units/UnitCandidates.h"
#include "units/UnitLookup.h"

namespace ravelin {

namespace {

bool IsFpcSourceName(const std::string& path) {
  const std::string extension = UpperText(ExtensionOf(path));
  return extension == ".LPR" || extension == ".LPK" || extension == ".LPI" || extension == ".PP" ||
         extension == ".P";
}

/// The folder and each of its subfolders ("." and ".." left out), in listing order.
void AddWithSubfolders(const std::string& folder, std::vector<std::string>& folders) {
  folders.push_back(folder);
  for (const DirEntry& entry : Fs().ListFolder(folder)) {
    if (entry.isDir && entry.name != "." && entry.name != "..")
      folders.push_back(JoinPath(folder, entry.name));
  }
}

/// The folder and, to a depth of kMaxSourceDepth, its subfolders that hold no other system's
/// sources, examples or tests.
void AddSourceFolders(const std::string& folder, const LazarusTarget& systems, int depth,
                      std::vector<std::string>& folders) {
  constexpr int kMaxSourceDepth = 3;
  folders.push_back(folder);
  if (depth >= kMaxSourceDepth) return;
  for (const DirEntry& entry : Fs().ListFolder(folder)) {
    if (!entry.isDir || entry.name.empty() || entry.name.front() == '.' ||
        entry.name == "examples" || entry.name == "tests" ||
        OsFolderOf(entry.name, systems) == OsFolder::Foreign)
      continue;
    AddSourceFolders(JoinPath(folder, entry.name), systems, depth + 1, folders);
  }
}

/// The file name as spelled on disk, made full.
std::string OnDisk(const std::string& path) {
  std::string full = Fs().FullPath(path);
  auto resolved = Fs().Resolve(full);
  return resolved ? *resolved : full;
}

}  // namespace

Dialect DialectFor(std::optional<Dialect> asked, std::optional<ProjectKind> project,
                   const std::string& root) {
  if (asked) return *asked;
  if (project) return *project == ProjectKind::Dproj ? Dialect::Delphi : Dialect::Fpc;
  return IsFpcSourceName(root) ? Dialect::Fpc : Dialect::Delphi;
}

CompilerRules MakeCompilerRules(const ProjectFile* project, const std::string& root,
                                std::optional<Dialect> dialect, std::optional<Target> target,
                                const std::vector<std::string>& defines) {
  CompilerRules rules;
  rules.dialect =
      DialectFor(dialect, project != nullptr ? std::optional(project->kind) : std::nullopt, root);
  const std::string platform = project != nullptr ? project->platform : std::string();
  rules.target = target.value_or(DefaultTarget(rules.dialect, platform));
  rules.symbols = PredefinedSymbols(rules.dialect, rules.target, platform);
  if (project != nullptr) {
    for (const std::string& define : project->defines) rules.symbols.Define(define);
    rules.unitScopes = project->unitScopes;
    rules.unitFolders = project->unitFolders;
    rules.includeFolders = project->includeFolders;
    rules.units = project->units;
    if (project->kind == ProjectKind::Lpk && root == project->path)
      rules.rootUnits = project->units;
  }
  for (const std::string& define : defines) rules.symbols.Define(define);
  return rules;
}

std::vector<std::string> FpcRtlFolders(const std::string& rtlFolder, Target target) {
  std::vector<std::string> names;
  switch (target) {
    case Target::Linux:
      names = {"linux", "unix", "x86_64"};
      break;
    case Target::Windows:
      names = {"win64", "win", "x86_64"};
      break;
    case Target::MacOS:
      names = {"darwin", "bsd", "unix", "aarch64"};
      break;
  }
  names.insert(names.end(), {"inc", "objpas"});
  std::vector<std::string> folders;
  for (const std::string& name : names) folders.push_back(JoinPath(rtlFolder, name));
  return folders;
}

std::string FpcSourceFolderOf(const std::string& rtlFolder) {
  std::string rtl = rtlFolder;
  while (!rtl.empty() && (rtl.back() == '/' || rtl.back() == '\\')) rtl.pop_back();
  return rtl.empty() ? std::string() : FolderPart(rtl);
}

std::vector<std::string> FpcPackageFolders(const std::string& fpcSourceFolder, Target target) {
  const LazarusTarget systems = LazarusTargetOf(target);
  std::vector<std::string> folders;
  const std::string packages = JoinPath(fpcSourceFolder, "packages");
  for (const DirEntry& package : Fs().ListFolder(packages)) {
    if (!package.isDir || package.name.empty() || package.name.front() == '.') continue;
    std::string sources = JoinPath(JoinPath(packages, package.name), "src");
    if (!Fs().FolderExists(sources)) sources = JoinPath(packages, package.name);
    AddSourceFolders(sources, systems, 0, folders);
  }
  return folders;
}

std::vector<std::string> RuleIncludeFolders(const CompilerRules& rules, const UnitLookup& lookup) {
  std::vector<std::string> folders = rules.includeFolders;
  if (rules.dialect != Dialect::Fpc || !lookup.useRtl || lookup.rtlPath.empty()) return folders;
  const std::string cpu = LazarusTargetOf(rules.target).targetCPU;
  for (const std::string& folder : FpcRtlFolders(lookup.rtlPath, rules.target)) {
    folders.push_back(folder);
    folders.push_back(JoinPath(folder, cpu));
  }
  for (const char* name : {"objpas/sysutils", "objpas/classes"})
    folders.push_back(JoinPath(lookup.rtlPath, name));
  // A package's folder for the target's system holds what its units include.
  const LazarusTarget systems = LazarusTargetOf(rules.target);
  for (std::string& folder : FpcPackageFolders(FpcSourceFolderOf(lookup.rtlPath), rules.target)) {
    if (OsFolderOf(NamePart(folder), systems) == OsFolder::Target)
      folders.push_back(std::move(folder));
  }
  return folders;
}

std::vector<std::string> RuleSearchFolders(const CompilerRules& rules, const UnitLookup& lookup) {
  std::vector<std::string> folders{lookup.projectFolder};
  folders.insert(folders.end(), rules.unitFolders.begin(), rules.unitFolders.end());
  if (lookup.useSearchPath) {
    for (const std::string& folder : lookup.searchPaths)
      if (!folder.empty()) folders.push_back(folder);
  }
  if (lookup.useVcl && !lookup.vclPath.empty()) AddWithSubfolders(lookup.vclPath, folders);
  if (lookup.useRtl && !lookup.rtlPath.empty()) {
    if (rules.dialect == Dialect::Fpc) {
      for (std::string& folder : FpcRtlFolders(lookup.rtlPath, rules.target))
        folders.push_back(std::move(folder));
      const std::string sources = FpcSourceFolderOf(lookup.rtlPath);
      for (std::string& folder : FpcPackageFolders(sources, rules.target))
        folders.push_back(std::move(folder));
    } else {
      AddWithSubfolders(lookup.rtlPath, folders);
    }
  }
  return folders;
}

// ---------------------------------------------------------------------------------------
// UnitResolver

UnitResolver::UnitResolver(const CompilerRules& rules, const UnitLookup& lookup)
    : rules_(rules), folders_(RuleSearchFolders(rules, lookup)) {
  // A unit the project names with a file that is gone is looked for like any other.
  for (const ProjectUnit& unit : rules.units)
    if (Fs().FileExists(unit.file)) Know(unit.name, OnDisk(unit.file));
}

void UnitResolver::Know(const std::string& name, const std::string& file) {
  known_[UpperText(name)] = file;
}

std::optional<std::string> UnitResolver::Find(const std::string& fileName) {
  for (const std::string& folder : folders_) {
    std::string candidate = JoinPath(folder, fileName);
    if (Fs().FileExists(candidate)) return OnDisk(candidate);
  }
  return std::nullopt;
}

std::string UnitResolver::Locate(const std::string& name) {
  const std::string key = UpperText(name);
  if (auto it = known_.find(key); it != known_.end()) return it->second;
  const std::vector<std::string>& extensions = UnitExtensions(rules_.dialect);
  std::string file = name + extensions.front();
  for (const std::string& scoped : ScopedUnitNames(name, rules_.unitScopes)) {
    std::optional<std::string> found;
    for (const std::string& folder : folders_) {
      for (const std::string& extension : extensions) {
        std::string candidate = JoinPath(folder, scoped + extension);
        if (Fs().FileExists(candidate)) {
          found = OnDisk(candidate);
          break;
        }
      }
      if (found) break;
    }
    if (found) {
      file = std::move(*found);
      break;
    }
  }
  known_.emplace(key, file);
  return file;
}

// ---------------------------------------------------------------------------------------
// CompiledTokens

struct CompiledTokens::Included {
  Included(std::string name, std::unique_ptr<InputFile> input)
      : fileName(std::move(name)), file(std::move(input)), lines(ReadLines(*file)) {
    scanner.SetSource(lines);
  }
  std::string fileName;
  std::unique_ptr<InputFile> file;
  LineReader lines;
  TVornPasScanner scanner;
};

CompiledTokens::CompiledTokens(Conditionals& conditionals, std::string fileName,
                               const std::vector<std::string>& includeFolders,
                               std::vector<std::string>& warnings)
    : conditionals_(conditionals),
      fileName_(std::move(fileName)),
      includeFolders_(includeFolders),
      warnings_(warnings) {}

CompiledTokens::~CompiledTokens() = default;

bool CompiledTokens::Next(TVornPasScanner& scanner, TTokenKind& kind, std::string& text) {
  for (;;) {
    TVornPasScanner& from = stack_.empty() ? scanner : stack_.back()->scanner;
    if (from.AtEnd()) {
      if (stack_.empty()) return false;
      stack_.pop_back();
      continue;
    }
    text.clear();
    kind = from.NextToken(text);
    if (kind == tkBraceComment || kind == tkParenComment) {
      const std::string& file = stack_.empty() ? fileName_ : stack_.back()->fileName;
      FeedResult result = conditionals_.Feed(text, NamePart(file), from.Buffer.LineNo());
      if (result.effect == DirectiveEffect::Include) Push(result.includeFile, from.Buffer.LineNo());
      return true;
    }
    if (kind == tkLineComment || conditionals_.Active()) return true;
  }
}

void CompiledTokens::Push(const std::string& written, int line) {
  const std::string& including = stack_.empty() ? fileName_ : stack_.back()->fileName;
  const std::string where = NamePart(including) + "(" + std::to_string(line) + "): ";
  if (stack_.size() >= kMaxIncludeDepth) {
    warnings_.push_back(where + "include file \"" + written + "\" nested too deeply; skipped");
    return;
  }
  const std::string name = ReplaceAll(written, "\\", "/");
  if (name.empty()) return;
  std::vector<std::string> names{name};
  if (ExtensionOf(name).empty()) {
    for (const char* extension : {".inc", ".pas", ".pp"}) names.push_back(name + extension);
  }
  std::vector<std::string> folders{FolderPart(including)};
  folders.insert(folders.end(), includeFolders_.begin(), includeFolders_.end());
  for (const std::string& folder : folders) {
    for (const std::string& candidate : names) {
      const std::string path = name.front() == '/' ? candidate : JoinPath(folder, candidate);
      if (!Fs().FileExists(path)) continue;
      OpenedFile opened = Fs().OpenRead(path, Readable::FileOnly);
      if (!opened.file) {
        warnings_.push_back(where + "cannot read include file \"" + path + "\": " + opened.whyNot);
        return;
      }
      stack_.push_back(std::make_unique<Included>(OnDisk(path), std::move(opened.file)));
      return;
    }
  }
  warnings_.push_back(where + "include file \"" + written + "\" not found; skipped");
}

}  // namespace ravelin
