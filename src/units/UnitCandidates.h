// The file names under which the compiler looks for a unit: the name as written, then the name
// under each unit scope name in order ("SysUtils" as "System.SysUtils"), each with the source
// extensions of the dialect.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "units/TargetDefines.h"

namespace ravelin {

/// The unit names to try for name: name as written, then each scope, ".", name, in the order
/// of scopes (empty scopes skipped, a scope that repeats tried once).
std::vector<std::string> ScopedUnitNames(std::string_view name,
                                         const std::vector<std::string>& scopes);
/// The source extensions of a unit, in the order they are tried: ".pas" for Delphi; ".pas",
/// ".pp", ".p" for Free Pascal.
const std::vector<std::string>& UnitExtensions(Dialect dialect);
/// Every file name to try for a unit: each scoped name (ScopedUnitNames) with each extension.
std::vector<std::string> UnitFileCandidates(std::string_view name,
                                            const std::vector<std::string>& scopes,
                                            Dialect dialect);

}  // namespace ravelin
