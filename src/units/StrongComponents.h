// The strongly connected components of a uses graph: the largest sets of units that all reach
// each other through uses.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "units/UsesGraph.h"

namespace ravelin {

/// Every unit's component, the components numbered in listing order of their first unit.
class StrongComponents {
 public:
  /// The components of graph following the uses that pass filter; no recursion, time linear
  /// in units plus uses.
  StrongComponents(const UsesGraph& graph, UsesFilter filter);

  /// Number of components (every unit belongs to exactly one).
  std::uint32_t Count() const { return static_cast<std::uint32_t>(start_.size() - 1); }
  /// The component of unit.
  std::uint32_t Of(std::uint32_t unit) const { return of_[unit]; }
  /// The position of unit among the units of its component (0 for the first).
  std::uint32_t Rank(std::uint32_t unit) const { return rank_[unit]; }
  /// The units of component c in listing order.
  std::span<const std::uint32_t> Units(std::uint32_t c) const {
    return {units_.data() + start_[c], units_.data() + start_[c + 1]};
  }
  /// True when component c holds a cycle: two or more units, or one that uses itself.
  bool IsCyclic(std::uint32_t c) const { return cyclic_[c]; }

 private:
  std::vector<std::uint32_t> of_, rank_;
  std::vector<std::uint32_t> start_{0}, units_;  // units by component
  std::vector<bool> cyclic_;
};

}  // namespace ravelin
