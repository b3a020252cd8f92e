// ravelin-cli html: one self-contained page with the line count, the units, the cycle groups
// and the picture of the uses graph of a root file.
#pragma once

#include <string>

#include "cli/CliMain.h"
#include "linecount/LineCountRecord.h"
#include "units/UsesGraphRecords.h"

namespace ravelin::cli {

/// The page of a root's analysis (graph) and line count (count), dated at time.
std::string RenderHtmlReport(const UsesGraphRecords& graph, const LineCountRecord& count,
                             std::time_t time);

/// The html command.
CliCommand HtmlCommand();

}  // namespace ravelin::cli
