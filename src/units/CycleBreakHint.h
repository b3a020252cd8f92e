// The break hint of a cycle group: the uses whose removal would break the most of its cycles.
//
// A small group's simple cycles are all listed (Johnson's circuit search, within a step
// budget per group and one for all groups of a graph) and each use is scored by the cycles it
// lies on: the hint is exact. When the listing would pass the budget (the number of simple
// cycles can grow exponentially), the hint is approximate: for up to sampledUnits units spread
// evenly over the group's listing, the shortest cycles through that unit are counted on each
// use (two breadth-first searches per unit), and the uses lying on the most of them win. So
// the work stays linear in units plus uses, plus the bounded budget.
#pragma once

#include <cstdint>
#include <vector>

#include "units/ComponentGraph.h"
#include "units/UsesGraph.h"

namespace ravelin {

/// One unit's uses of another, every section together: to cut it, remove all its edges.
struct UnitUse {
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  std::vector<std::uint32_t> edges;  ///< its edges, in section order
};

/// The uses of a group that lie on the most of its cycles.
struct BreakHint {
  bool exact = false;         ///< every simple cycle of the group was counted
  std::uint64_t cycles = 0;   ///< exact: the group's simple cycles; approximate: the shortest
                              ///< cycles through the sampled units (saturating)
  std::uint64_t broken = 0;   ///< of those, how many each use in `uses` lies on
  std::uint32_t tied = 0;     ///< how many uses lie on that many; `uses` lists the first
  std::vector<UnitUse> uses;  ///< at most kHintUses, by listing order of from, then of to
};

/// Most uses a break hint lists.
inline constexpr std::uint32_t kHintUses = 5;

/// Limits of the break hint.
struct BreakHintOptions {
  /// Steps (uses followed) allowed for counting a group's cycles exactly; beyond them the
  /// hint is approximate.
  std::uint64_t exactSteps = 1'000'000;
  /// Steps allowed for counting cycles exactly in all groups of a graph together.
  std::uint64_t totalExactSteps = 20'000'000;
  /// Units whose shortest cycles an approximate hint counts (at least 1).
  std::uint32_t sampledUnits = 32;
};

/// Chooses the break hints of the groups of one graph, which share the total budget.
class BreakHintChooser {
 public:
  /// A chooser with the whole total budget left.
  explicit BreakHintChooser(const BreakHintOptions& options)
      : options_(options), stepsLeft_(options.totalExactSteps) {}
  /// The break hint of a cycle group, given the group's ComponentGraph over all uses.
  BreakHint Choose(const UsesGraph& graph, const ComponentGraph& group);

 private:
  BreakHintOptions options_;
  std::uint64_t stepsLeft_;
};

}  // namespace ravelin
