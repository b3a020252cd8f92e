// The uses inside one strongly connected component, as a small graph of its own: units by
// their rank in the component, and one arc per pair of units however many sections name it.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "units/StrongComponents.h"
#include "units/UsesGraph.h"

namespace ravelin {

/// A chain of uses: the edges of a cycle in order, the first one leaving the unit the chain
/// starts from and the last one returning to it.
using UsesChain = std::vector<std::uint32_t>;

/// Breadth-first distances and shortest-path counts from (or to) one unit.
struct Layers {
  std::vector<std::uint32_t> distance;  ///< per local unit; kFar when not reached
  std::vector<std::uint64_t> paths;     ///< shortest paths per local unit, saturating
};

/// Distance of a unit a search does not reach.
inline constexpr std::uint32_t kFar = 0xFFFFFFFF;

/// The uses passing a filter between the units of one component. Local unit i is the unit of
/// rank i in the component; arcs of a unit go to ascending local units, and each arc keeps
/// the first edge of its pair (interface before implementation).
class ComponentGraph {
 public:
  /// The uses passing filter inside component c of components (computed with a filter that
  /// lets through at least these uses).
  ComponentGraph(const UsesGraph& graph, const StrongComponents& components, std::uint32_t c,
                 UsesFilter filter);

  /// Number of units.
  std::uint32_t Size() const { return static_cast<std::uint32_t>(units_.size()); }
  /// Number of arcs.
  std::uint32_t ArcCount() const { return static_cast<std::uint32_t>(head_.size()); }
  /// The graph's unit for a local unit.
  std::uint32_t Unit(std::uint32_t local) const { return units_[local]; }
  /// The arcs leaving a local unit: the range of arc numbers [first, last).
  std::uint32_t FirstArc(std::uint32_t local) const { return arcStart_[local]; }
  std::uint32_t EndArc(std::uint32_t local) const { return arcStart_[local + 1]; }
  /// The local unit an arc leaves.
  std::uint32_t Tail(std::uint32_t arc) const { return tail_[arc]; }
  /// The local unit an arc enters.
  std::uint32_t Head(std::uint32_t arc) const { return head_[arc]; }
  /// The first edge (by section) of an arc's pair of units.
  std::uint32_t Edge(std::uint32_t arc) const { return edge_[arc]; }
  /// The arcs entering a local unit.
  std::span<const std::uint32_t> ArcsInto(std::uint32_t local) const {
    return {into_.data() + intoStart_[local], into_.data() + intoStart_[local + 1]};
  }

  /// Breadth-first search from root along the arcs (forward) or against them, through local
  /// units of at least floor only; adds the arcs it looks at to work.
  Layers Search(std::uint32_t root, bool forward, std::uint32_t floor, std::uint64_t& work) const;
  /// A shortest cycle through a local unit that lies on one: at each step the next unit is
  /// the first in listing order that still lies on a shortest way back, its use the first in
  /// section order.
  UsesChain ShortestCycle(std::uint32_t local) const;

 private:
  std::vector<std::uint32_t> units_;
  std::vector<std::uint32_t> arcStart_{0}, tail_, head_, edge_;
  std::vector<std::uint32_t> intoStart_, into_;  // arc numbers by the local unit they enter
};

}  // namespace ravelin
