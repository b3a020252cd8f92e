// The output formats of the commands: for each record a table of format names and the
// renderer that writes the record in that format. A new format is a renderer and one line in
// its table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "linecount/LineCountRecord.h"
#include "units/UnitReports.h"

namespace ravelin {
struct UnitAnalysisState;
}

namespace ravelin::cli {

/// A line count to render.
struct CountOutput {
  const LineCountRecord& record;
  bool detailed;    ///< the detailed text report, else the summary
  std::string eol;  ///< what ends a text line
};

/// A unit report to render.
struct UnitOutput {
  UnitAnalysisState& analysis;  ///< the analysis (the text reports stamp its banner)
  UnitReportKind kind;          ///< which report
  std::string rootName;         ///< the root as the command was given it
  std::string eol;              ///< what ends a text line
};

/// One format of a record: its --format name and its renderer.
template <class Output>
struct Format {
  std::string_view name;
  std::string (*render)(const Output& output);
};

/// The formats of the line count: text, json, csv.
const std::vector<Format<CountOutput>>& CountFormats();
/// The formats of the unit reports (list, tree, depend): text, json, csv.
const std::vector<Format<UnitOutput>>& UnitFormats();

/// The names of a table's formats, in order.
template <class Output>
std::vector<std::string_view> FormatNames(const std::vector<Format<Output>>& formats) {
  std::vector<std::string_view> names;
  for (const auto& format : formats) names.push_back(format.name);
  return names;
}

/// The renderer of the format named name (one of the table's names).
template <class Output>
std::string Render(const std::vector<Format<Output>>& formats, std::string_view name,
                   const Output& output) {
  for (const auto& format : formats)
    if (format.name == name) return format.render(output);
  return formats.front().render(output);
}

}  // namespace ravelin::cli
