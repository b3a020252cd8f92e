// The uses graph as a picture: laid out and drawn as SVG by the Graphviz library when the
// build has it. Large graphs are drawn condensed: each cycle group one node.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "units/UsesCondensation.h"
#include "units/UsesGraphRecords.h"

namespace ravelin {

/// Above this many units the picture shows the condensed graph.
inline constexpr std::uint32_t kFullPictureUnits = 300;

/// Above this many nodes (after condensing) no picture is drawn: the layout would take
/// seconds, and the picture could not be read anyway.
inline constexpr std::size_t kMaxPictureNodes = 600;

/// True when this build draws pictures (it was built with the Graphviz library).
bool CanDrawGraphs();

/// The condensed graph of graph in DOT: a node per cycle group (red, "group N: first +k") or
/// unit in no group, an edge per pair of nodes with uses between them.
std::string RenderCondensedDot(const UsesGraphRecords& graph, const CondensedGraph& condensed);

/// dot (a DOT graph) laid out with "dot" and drawn as an <svg> element (no XML prolog).
/// Throws GeneralError when the library rejects the graph or the build has no library.
std::string DotToSvg(const std::string& dot);

/// The picture's section (id "graph"): the SVG of the uses graph (condensed above
/// kFullPictureUnits units, saying so), or a note when this build cannot draw or the condensed
/// graph has more than kMaxPictureNodes nodes.
std::string RenderGraphHtmlSection(const UsesGraphRecords& graph);

}  // namespace ravelin
