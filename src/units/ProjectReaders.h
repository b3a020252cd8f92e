// What the project file readers share: loading the XML of a project file, and gathering the
// entries of path lists and name lists into a project record. Internal to the unit analysis.
#pragma once

#ifdef RAVELIN_HAVE_PUGIXML
#include <pugixml.hpp>
#endif
#include <string>
#include <string_view>
#include <vector>

#include "units/ProjectFile.h"

namespace ravelin {

#ifdef RAVELIN_HAVE_PUGIXML
/// Reads and parses the XML file at path (absolute); shown names it in messages. Throws
/// ProjectFileError when it cannot be read or is not well-formed.
void LoadProjectXml(pugi::xml_document& doc, const std::string& path, const std::string& shown);
#endif

/// The first macro reference left in text after expansion ("$(BDS)", "$Env(X)"), or empty.
std::string LeftoverMacro(std::string_view text);

/// Adds value to list unless an entry equal to it (ignoring ASCII case when asked) is there.
void AddOnce(std::vector<std::string>& list, std::string value, bool ignoreCase);

/// Adds the entries of a ";"-separated list of folders (macros already expanded) to folders:
/// blanks around entries and empty entries dropped, "\" read as "/", a relative entry taken
/// against base. An entry still holding a macro, or naming a Windows drive, is skipped with a
/// warning "SHOWN: ... in WHAT entry "ENTRY"; entry skipped".
void AddFolders(std::vector<std::string>& folders, std::string_view list, const std::string& base,
                const std::string& shown, std::string_view what,
                std::vector<std::string>& warnings);

#ifdef RAVELIN_HAVE_PUGIXML
/// Reads a Delphi project (.dproj) from its parsed document.
ProjectFile ReadDelphiProject(const std::string& path, const std::string& shown,
                              const pugi::xml_document& doc, const ProjectOptions& options);
/// Reads a Lazarus project (.lpi) or package (.lpk) from its parsed document, with the
/// packages it requires.
ProjectFile ReadLazarusProject(const std::string& path, const std::string& shown, ProjectKind kind,
                               const pugi::xml_document& doc, const ProjectOptions& options);
#endif

}  // namespace ravelin
