// The cycles report as fixed-width text: every cycle group with its units, a shortest cycle,
// its interface-only cycle and its break hint.
#pragma once

#include <string>

#include "units/UnitReports.h"
#include "units/UsesGraphRecords.h"

namespace ravelin {

/// Writes the cycles report of graph into f, under banner, titled with rootName.
void RenderCyclesText(const UsesGraphRecords& graph, const std::string& banner,
                      const std::string& rootName, ReportWriter& f);

}  // namespace ravelin
