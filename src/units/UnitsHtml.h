// The units and their cycles as HTML sections: the units table (file, size, time, fan-in,
// fan-out, cycle group; unresolved units marked) and the cycle groups with their chains,
// interface-only ones first and marked as errors.
#pragma once

#include <string>

#include "units/UsesGraphRecords.h"

namespace ravelin {

/// The units section: heading, filter box and the sortable table (id "units").
std::string RenderUnitsHtmlSection(const UsesGraphRecords& graph);

/// The cycles section (id "cycles"): one block per group, interface-only groups first, each
/// with its units, its shortest cycle and, when it has one, its interface-only cycle.
std::string RenderCyclesHtmlSection(const UsesGraphRecords& graph);

}  // namespace ravelin
