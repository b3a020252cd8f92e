// The cycles of a uses graph: its cycle groups (every strongly connected component of two or
// more units, and every unit that uses itself), each with a shortest cycle, its interface-only
// verdict and a break hint, and the per-unit figures of a graph export.
//
// Interface-only: a cycle made of uses the compiler needs before the file's declarations,
// which it rejects as a circular unit reference. Uses of a program's, library's or package's
// single clause count as such uses: that clause is settled before anything else of the file,
// as an interface clause is.
#pragma once

#include <cstdint>
#include <vector>

#include "units/ComponentGraph.h"
#include "units/CycleBreakHint.h"
#include "units/StrongComponents.h"
#include "units/UsesGraph.h"

namespace ravelin {

/// A unit in no cycle group.
inline constexpr std::uint32_t kNoGroup = 0xFFFFFFFF;

/// Units tied together by cycles of uses.
struct CycleGroup {
  std::vector<std::uint32_t> units;  ///< in listing order
  UsesChain chain;                   ///< a shortest cycle through units[0]
  bool interfaceOnly = false;        ///< some cycle of the group has interface-like uses only
  /// When interfaceOnly: a shortest interface-only cycle through the first unit of the first
  /// (by its first unit) set of units tied together by interface-only cycles.
  UsesChain interfaceChain;
  BreakHint breakHint;  ///< the uses that lie on the most cycles of the group
};

/// What a graph export shows of one unit.
struct UnitFigures {
  std::uint32_t fanIn = 0;         ///< distinct units that use it (itself included)
  std::uint32_t fanOut = 0;        ///< distinct units it uses (itself included)
  std::uint32_t group = kNoGroup;  ///< its cycle group
};

/// The cycle groups of a uses graph and the figures of its units.
struct CycleReport {
  std::vector<CycleGroup> groups;        ///< in listing order of their first units
  std::vector<UnitFigures> units;        ///< per unit of the graph
  std::vector<std::uint32_t> component;  ///< per unit: its strongly connected component,
                                         ///< numbered in listing order of their first units

  /// True when some group holds an interface-only cycle.
  bool HasInterfaceOnlyCycle() const;
  /// True when edge lies on a cycle: both its units are in the same group.
  bool IsCycleUse(const UsesGraph& graph, std::uint32_t edge) const;
};

/// The cycle report of graph: time linear in units plus uses, plus the break hints' bounded
/// searches; no recursion.
CycleReport FindCycles(const UsesGraph& graph, const BreakHintOptions& options = {});

}  // namespace ravelin
