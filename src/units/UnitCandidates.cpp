#include "units/UnitCandidates.h"

#include <algorithm>

#include "common/VornString.h"

namespace ravelin {

std::vector<std::string> ScopedUnitNames(std::string_view name,
                                         const std::vector<std::string>& scopes) {
  std::vector<std::string> names{std::string(name)};
  for (const std::string& scope : scopes) {
    if (scope.empty()) continue;
    std::string scoped = scope + "." + std::string(name);
    const bool seen = std::any_of(names.begin(), names.end(), [&](const std::string& known) {
      return CompareUpperText(known, scoped) == 0;
    });
    if (!seen) names.push_back(std::move(scoped));
  }
  return names;
}

const std::vector<std::string>& UnitExtensions(Dialect dialect) {
  static const std::vector<std::string> kDelphi{".pas"};
  static const std::vector<std::string> kFpc{".pas", ".pp", ".p"};
  return dialect == Dialect::Fpc ? kFpc : kDelphi;
}

std::vector<std::string> UnitFileCandidates(std::string_view name,
                                            const std::vector<std::string>& scopes,
                                            Dialect dialect) {
  std::vector<std::string> files;
  for (const std::string& unit : ScopedUnitNames(name, scopes))
    for (const std::string& extension : UnitExtensions(dialect)) files.push_back(unit + extension);
  return files;
}

}  // namespace ravelin
