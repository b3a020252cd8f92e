// The line count record as a JSON document.
#pragma once

#include <string>

#include "common/MachineFormats.h"
#include "linecount/LineCountRecord.h"

namespace ravelin {

/// {"version", "files": [{"name", "found", "blank", "comment", "source", "commented",
/// "total", and "skipped": the reason, for a file that could not be counted}], "forms":
/// [{"name", "objects", "lines", "size"}], "totals": {the five counts, "files", "forms",
/// "objects", "lines", "size", and "skipped": how many, when any}}; names as JsonName gives them.
JsonDocument CountJson(const LineCountRecord& record);
/// CountJson as text.
std::string RenderCountJson(const LineCountRecord& record);

}  // namespace ravelin
