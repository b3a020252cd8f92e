// The condensed uses graph: every strongly connected component one node (a cycle group, or a
// unit in no cycle), so that what remains has no cycle and can be drawn in layers.
#pragma once

#include <cstdint>
#include <vector>

#include "units/UsesCycles.h"
#include "units/UsesGraph.h"

namespace ravelin {

/// One node of the condensed graph.
struct CondensedNode {
  std::uint32_t firstUnit = 0;     ///< its first unit in listing order
  std::uint32_t unitCount = 0;     ///< how many units it stands for
  std::uint32_t group = kNoGroup;  ///< its cycle group, if it is one
};

/// The uses from one node of the condensed graph to another.
struct CondensedUse {
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  std::uint32_t uses = 0;  ///< edges of the graph it stands for
};

/// The condensed graph: nodes numbered as the report's components, uses by from, then to.
struct CondensedGraph {
  std::vector<CondensedNode> nodes;
  std::vector<CondensedUse> uses;
};

/// The condensed graph of graph and its cycle report, in time linear in units plus uses.
CondensedGraph Condense(const UsesGraph& graph, const CycleReport& report);

}  // namespace ravelin
