// The unit records as a JSON document, the same for the listing, the chart and the table.
#pragma once

#include <string>

#include "common/MachineFormats.h"
#include "units/UnitRecords.h"

namespace ravelin {

/// {"version", "root", "units": [{"name", "file" (null when not found), "size" (null when not
/// found), "modified" (ISO 8601, UTC; null when not found)}], "uses": [{"from", "to",
/// "section", "in" (null when absent)}]}; names and paths as JsonName gives them.
JsonDocument UnitJson(const UnitRecords& records);
/// UnitJson as text.
std::string RenderUnitJson(const UnitRecords& records);

}  // namespace ravelin
