// The cycles report and the uses graph as JSON documents.
#pragma once

#include <string>

#include "common/MachineFormats.h"
#include "units/UsesGraphRecords.h"

namespace ravelin {

/// {"version", "root", "units" (how many), "cycles": [{"units": [names], "chain": [names, from
/// the group's first unit back to it], "sections": [the section of each use of chain],
/// "interfaceOnly", "interfaceChain" and "interfaceSections" (null when not interfaceOnly),
/// "breakHint": {"exact", "cycles", "broken", "tied", "uses": [{"from", "to", "sections"}]}}]}.
JsonDocument CyclesJson(const UsesGraphRecords& graph);
/// CyclesJson as text.
std::string RenderCyclesJson(const UsesGraphRecords& graph);

/// The unit document (UnitJson) with the figures of the graph: each unit gets "fanIn",
/// "fanOut" (distinct units) and "cycleGroup" (its group's number from 1, null when in none),
/// each use "cycle" (it lies on a cycle; false for a use naming no unit of the listing).
JsonDocument GraphJson(const UsesGraphRecords& graph);
/// GraphJson as text.
std::string RenderGraphJson(const UsesGraphRecords& graph);

}  // namespace ravelin
