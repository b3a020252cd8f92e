// Reading a Delphi project (.dproj): the MSBuild property groups evaluated in document order
// for one configuration and platform, then the items that name units and packages.
#include <string>
#include <utility>
#include <vector>

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "units/MsBuildEval.h"
#include "units/ProjectReaders.h"

namespace ravelin {

namespace {

constexpr int kMaxImportDepth = 8;

/// Evaluates one project document (and the files it imports) into properties and items.
class DprojEvaluator {
 public:
  DprojEvaluator(const std::string& path, const std::string& shown, const ProjectOptions& options,
                 ProjectFile& project)
      : folder_(ExpandPath(FolderPart(path), "/")),
        shown_(shown),
        properties_(options.environment),
        project_(project) {
    properties_.SetFixed("MSBuildProjectDirectory", folder_);
    properties_.SetFixed("MSBuildProjectFullPath", path);
    properties_.SetFixed("MSBuildProjectFile", NamePart(path));
    properties_.SetFixed("MSBuildProjectName", BaseNameOf(path));
    properties_.SetFixed("MSBuildProjectExtension", ExtensionOf(path));
    properties_.SetFixed("MSBuildThisFileDirectory", folder_ + "/");
    properties_.SetFixed("ProjectDir", folder_ + "/");
    properties_.SetFixed("ProjectName", BaseNameOf(path));
    if (!options.config.empty()) properties_.SetFixed("Config", options.config);
    if (!options.platform.empty()) properties_.SetFixed("Platform", options.platform);
  }

  /// Pass one: every property of the project and its imports, in document order.
  void Properties(const pugi::xml_node& project, int depth) {
    for (const pugi::xml_node& node : project.children()) {
      const std::string name = node.name();
      if (name == "PropertyGroup" && Holds(node)) {
        for (const pugi::xml_node& property : node.children()) {
          if (property.type() != pugi::node_element || !Holds(property)) continue;
          const std::string key = property.name();
          properties_.Set(key, properties_.Expand(property.text().get(), true, key));
        }
      } else if (name == "Choose") {
        Choose(node, [&](const pugi::xml_node& part) { Properties(part, depth); });
      } else if (name == "Import" && depth < kMaxImportDepth && Holds(node)) {
        Import(node, depth);
      }
    }
  }

  /// Pass two: the units and packages the project's items name.
  void Items(const pugi::xml_node& project) {
    for (const pugi::xml_node& node : project.children()) {
      const std::string name = node.name();
      if (name == "ItemGroup" && Holds(node)) {
        for (const pugi::xml_node& item : node.children("DCCReference"))
          if (Holds(item)) Reference(properties_.Expand(item.attribute("Include").value(), true));
      } else if (name == "Choose") {
        Choose(node, [&](const pugi::xml_node& part) { Items(part); });
      }
    }
  }

  /// The property's value, "" when unset.
  std::string Value(const std::string& name) const { return properties_.Get(name).value_or(""); }
  const std::string& Folder() const { return folder_; }

 private:
  /// True when the node has no Condition or its Condition holds; a Condition that cannot be
  /// evaluated is a warning and does not hold.
  bool Holds(const pugi::xml_node& node) {
    const pugi::xml_attribute condition = node.attribute("Condition");
    if (!condition) return true;
    const ConditionResult result = EvaluateCondition(
        condition.value(), properties_,
        [this](const std::string& path) { return Fs().Stat(ExpandPath(path, folder_)).exists; });
    if (!result.error.empty())
      project_.warnings.push_back(shown_ + ": condition " + condition.value() +
                                  " cannot be evaluated (" + result.error + "); taken as false");
    return result.value;
  }

  /// The first When of a Choose whose condition holds, else its Otherwise.
  template <typename Walk>
  void Choose(const pugi::xml_node& choose, Walk walk) {
    for (const pugi::xml_node& part : choose.children()) {
      const std::string name = part.name();
      if ((name == "When" && Holds(part)) || name == "Otherwise") {
        walk(part);
        return;
      }
    }
  }

  /// An imported file that exists (an option set, a shared property file) is read in place;
  /// one that does not, such as the compiler's own targets, is passed over.
  void Import(const pugi::xml_node& node, int depth) {
    const std::string file = properties_.Expand(node.attribute("Project").value(), true);
    if (file.empty() || !LeftoverMacro(file).empty()) return;
    // A relative path is taken against the folder of the file that imports.
    const std::string full = ExpandPath(file, readingFolder_);
    if (!Fs().FileExists(full)) return;
    pugi::xml_document doc;
    LoadProjectXml(doc, full, full);
    const std::string outer = std::exchange(readingFolder_, ExpandPath(FolderPart(full), "/"));
    Properties(doc.document_element(), depth + 1);
    readingFolder_ = outer;
  }

  void Reference(const std::string& include) {
    std::string rest = include;
    while (!rest.empty()) {
      const std::string entry = TrimSpaces(SplitFirst(rest, ";"));
      if (entry.empty()) continue;
      if (const std::string macro = LeftoverMacro(entry); !macro.empty()) {
        project_.warnings.push_back(shown_ + ": unknown macro " + macro + " in DCCReference \"" +
                                    entry + "\"; reference skipped");
        continue;
      }
      if (CompareUpperText(ExtensionOf(entry), ".dcp") == 0) {
        project_.packages.push_back({BaseNameOf(entry), {}, {}, false});
        continue;
      }
      project_.units.push_back({BaseNameOf(entry), ExpandPath(entry, folder_)});
    }
  }

  std::string folder_;
  std::string readingFolder_ = folder_;  // the folder of the file whose properties are read
  std::string shown_;
  MsBuildProperties properties_;
  ProjectFile& project_;
};

/// The values of the items or elements of one kind, for the check of a chosen name.
std::vector<std::string> Names(const pugi::xml_node& project, const char* group, const char* item,
                               const char* attribute) {
  std::vector<std::string> names;
  for (const pugi::xml_node& node : project.children(group))
    for (const pugi::xml_node& entry : node.children(item)) {
      const std::string name = entry.attribute(attribute).value();
      if (!name.empty() && name != "Base") names.push_back(name);
    }
  return names;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

/// Throws when the project lists its choices and chosen is not one of them.
void CheckChoice(const std::string& shown, const char* what, const std::string& chosen,
                 const std::vector<std::string>& known) {
  if (chosen.empty() || known.empty()) return;
  for (const std::string& name : known)
    if (CompareUpperText(name, chosen) == 0) return;
  throw ProjectFileError(shown + ": no " + what + " \"" + chosen +
                         "\" (the project has: " + JoinNames(known) + ")");
}

void AddList(std::vector<std::string>& list, const std::string& value) {
  std::string rest = value;
  while (!rest.empty()) {
    std::string entry = TrimSpaces(SplitFirst(rest, ";"));
    if (!entry.empty()) AddOnce(list, std::move(entry), true);
  }
}

}  // namespace

ProjectFile ReadDelphiProject(const std::string& path, const std::string& shown,
                              const pugi::xml_document& doc, const ProjectOptions& options) {
  const pugi::xml_node root = doc.document_element();
  if (std::string(root.name()) != "Project")
    throw ProjectFileError(shown + ": not a Delphi project (no Project element)");
  CheckChoice(shown, "configuration", options.config,
              Names(root, "ItemGroup", "BuildConfiguration", "Include"));
  CheckChoice(shown, "platform", options.platform,
              Names(root.child("ProjectExtensions").child("BorlandProject"), "Platforms",
                    "Platform", "value"));

  ProjectFile project;
  project.path = path;
  project.kind = ProjectKind::Dproj;
  DprojEvaluator evaluator(path, shown, options, project);
  evaluator.Properties(root, 0);
  evaluator.Items(root);

  project.config = evaluator.Value("Config");
  project.platform = evaluator.Value("Platform");
  const std::string mainSource = evaluator.Value("MainSource");
  if (!mainSource.empty()) project.mainSource = ExpandPath(mainSource, evaluator.Folder());
  const std::string unitPath = evaluator.Value("DCC_UnitSearchPath");
  AddFolders(project.unitFolders, unitPath, evaluator.Folder(), shown, "unit search path",
             project.warnings);
  // The compiler looks for include files along the include path, then the unit search path
  // (whose skipped entries were warned about above).
  AddFolders(project.includeFolders, evaluator.Value("DCC_IncludePath"), evaluator.Folder(), shown,
             "include path", project.warnings);
  std::vector<std::string> warnedAlready;
  AddFolders(project.includeFolders, unitPath, evaluator.Folder(), shown, "unit search path",
             warnedAlready);
  AddList(project.unitScopes, evaluator.Value("DCC_Namespace"));
  AddList(project.defines, evaluator.Value("DCC_Define"));
  return project;
}

}  // namespace ravelin
