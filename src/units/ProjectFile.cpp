#include "units/ProjectFile.h"

#include <algorithm>
#include <cctype>

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/ExePath.h"
#include "platform/FileSys.h"
#include "units/ProjectReaders.h"

namespace ravelin {

#ifdef RAVELIN_HAVE_PUGIXML
void LoadProjectXml(pugi::xml_document& doc, const std::string& path, const std::string& shown) {
  std::string text;
  if (!Fs().TryReadFile(path, text)) throw ProjectFileError(shown + ": cannot be read");
  const pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
  if (!result) {
    const auto offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0));
    const auto line =
        1 + std::count(text.begin(), text.begin() + std::min(offset, text.size()), '\n');
    throw ProjectFileError(shown + "(" + std::to_string(line) + "): not well-formed XML (" +
                           result.description() + ")");
  }
}

#endif

std::string LeftoverMacro(std::string_view text) {
  for (std::size_t start = text.find('$'); start != std::string_view::npos;
       start = text.find('$', start + 1)) {
    std::size_t open = start + 1;
    while (open < text.size() && std::isalpha(static_cast<unsigned char>(text[open]))) ++open;
    if (open >= text.size() || text[open] != '(') continue;
    const std::size_t close = text.find(')', open);
    return std::string(
        text.substr(start, close == std::string_view::npos ? close : close + 1 - start));
  }
  return {};
}

void AddOnce(std::vector<std::string>& list, std::string value, bool ignoreCase) {
  const bool present = std::any_of(list.begin(), list.end(), [&](const std::string& known) {
    return ignoreCase ? CompareUpperText(known, value) == 0 : known == value;
  });
  if (!present) list.push_back(std::move(value));
}

void AddFolders(std::vector<std::string>& folders, std::string_view list, const std::string& base,
                const std::string& shown, std::string_view what,
                std::vector<std::string>& warnings) {
  std::string rest(list);
  while (!rest.empty()) {
    const std::string entry = TrimSpaces(SplitFirst(rest, ";"));
    if (entry.empty()) continue;
    const std::string macro = LeftoverMacro(entry);
    const bool drive = entry.size() >= 2 && entry[1] == ':';
    if (!macro.empty() || drive) {
      const std::string reason = drive ? "a Windows drive" : "unknown macro " + macro;
      warnings.push_back(shown + ": " + reason + " in " + std::string(what) + " entry \"" + entry +
                         "\"; entry skipped");
      continue;
    }
    AddOnce(folders, ExpandPath(entry, base), false);
  }
}

bool ReadsProjectFiles() {
#ifdef RAVELIN_HAVE_PUGIXML
  return true;
#else
  return false;
#endif
}

std::optional<ProjectKind> ProjectKindOf(const std::string& path) {
  const std::string extension = UpperText(ExtensionOf(path));
  if (extension == ".DPROJ") return ProjectKind::Dproj;
  if (extension == ".LPI") return ProjectKind::Lpi;
  if (extension == ".LPK") return ProjectKind::Lpk;
  return std::nullopt;
}

ProjectFile ReadProjectFile(const std::string& path, const ProjectOptions& options) {
  const std::optional<ProjectKind> kind = ProjectKindOf(path);
  if (!kind) throw ProjectFileError(path + ": not a project file (.dproj, .lpi or .lpk)");
#ifndef RAVELIN_HAVE_PUGIXML
  (void)options;
  throw ProjectFileError(path + ": project files are not read by this build (no XML library)");
#else
  ProjectOptions withEnvironment = options;
  if (!withEnvironment.environment)
    withEnvironment.environment = [](const std::string& name) {
      return EnvironmentValue(name.c_str());
    };
  const std::string full = Fs().FullPath(path);
  pugi::xml_document doc;
  LoadProjectXml(doc, full, path);
  if (*kind == ProjectKind::Dproj) return ReadDelphiProject(full, path, doc, withEnvironment);
  return ReadLazarusProject(full, path, *kind, doc, withEnvironment);
#endif
}

}  // namespace ravelin
