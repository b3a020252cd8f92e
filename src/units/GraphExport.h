// The uses graph for drawing programs: DOT (Graphviz) and GraphML (yEd, Gephi). Nodes are the
// units of the listing with their file, size, fan-in, fan-out and cycle group; edges the uses
// with their sections, those on a cycle marked.
#pragma once

#include <string>
#include <string_view>

#include "common/MachineFormats.h"
#include "units/UsesGraphRecords.h"

namespace ravelin {

/// The graph in DOT: interface and main uses solid, implementation uses dashed, unresolved
/// units grey, uses on a cycle (and the units of cycle groups) red; with clusterByFolder the
/// units found on disk are drawn in one box per folder.
std::string RenderGraphDot(const UsesGraphRecords& graph, bool clusterByFolder);

/// The graph in GraphML, every attribute declared as a key: nodes "label", "file", "resolved",
/// "size", "fanIn", "fanOut", "cycleGroup" (from 1; absent when in none); edges "section",
/// "cycle". UTF-8, LF.
std::string RenderGraphMl(const UsesGraphRecords& graph);

/// text as a DOT string in double quotes, made readable UTF-8.
std::string DotQuoted(std::string_view text);

/// The node id of unit (counted from 0) in both formats: "u" and its number from 1.
std::string NodeId(std::size_t unit);

}  // namespace ravelin
