// The unit records as CSV tables: the units, or the uses.
#pragma once

#include <string>

#include "units/UnitRecords.h"

namespace ravelin {

/// "name,file,size,modified" and a row per unit in listing order; file, size and modified are
/// empty for a unit that was not found, modified is ISO 8601 in UTC (RFC 4180, LF).
std::string RenderUnitListCsv(const UnitRecords& records);
/// "from,to,section" and a row per use, in the order the analysis met them.
std::string RenderUsesCsv(const UnitRecords& records);

}  // namespace ravelin
