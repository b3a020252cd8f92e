// The line count as HTML: a sortable table with a row per file, filterable by name, the
// commented share of each file's source lines drawn as a small bar.
#pragma once

#include <string>

#include "linecount/LineCountRecord.h"

namespace ravelin {

/// The totals of record as a definition list (files, lines by class with percentages, forms).
std::string RenderCountHtmlSummary(const LineCountRecord& record);

/// The line count section: its heading, the filter box and the table (id "lines").
std::string RenderCountHtmlSection(const LineCountRecord& record);

/// A whole page of the line count alone: the summary and the section.
std::string RenderCountHtml(const LineCountRecord& record);

}  // namespace ravelin
