// The line count record as a CSV table.
#pragma once

#include <string>

#include "linecount/LineCountRecord.h"

namespace ravelin {

/// The header "name,found,blank,comment,source,commented,total" and a row per input file, in
/// input order (RFC 4180, lines ended by LF; found is true, false, or skipped for a file that
/// could not be counted).
std::string RenderCountCsv(const LineCountRecord& record);

}  // namespace ravelin
