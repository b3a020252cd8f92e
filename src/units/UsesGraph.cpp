// The uses graph: both adjacency lists built by stable counting sorts, in linear time.
#include "units/UsesGraph.h"

#include <limits>

#include "common/Error.h"

namespace ravelin {

namespace {

/// order stably sorted by key (below buckets); start receives where each key's run begins,
/// with the end as its last entry.
template <class Key>
std::vector<std::uint32_t> SortBy(const std::vector<std::uint32_t>& order, std::size_t buckets,
                                  Key key, std::vector<std::uint32_t>& start) {
  start.assign(buckets + 1, 0);
  for (std::uint32_t e : order) ++start[key(e) + 1];
  for (std::size_t b = 0; b < buckets; ++b) start[b + 1] += start[b];
  std::vector<std::uint32_t> next(start);
  std::vector<std::uint32_t> sorted(order.size());
  for (std::uint32_t e : order) sorted[next[key(e)]++] = e;
  return sorted;
}

}  // namespace

UsesGraph::UsesGraph(std::vector<std::string> units, std::vector<UsesEdge> uses)
    : names_(std::move(units)), uses_(std::move(uses)) {
  constexpr std::size_t kLimit = std::numeric_limits<std::uint32_t>::max();
  if (names_.size() >= kLimit || uses_.size() >= kLimit) throw GeneralError("Uses graph too large");
  for (const UsesEdge& edge : uses_)
    if (edge.from >= names_.size() || edge.to >= names_.size())
      throw GeneralError("Use of a unit out of range");

  const std::size_t n = names_.size();
  std::vector<std::uint32_t> order(uses_.size());
  for (std::uint32_t e = 0; e < order.size(); ++e) order[e] = e;
  auto section = [&](std::uint32_t e) { return static_cast<std::size_t>(uses_[e].section); };
  auto from = [&](std::uint32_t e) { return static_cast<std::size_t>(uses_[e].from); };
  auto to = [&](std::uint32_t e) { return static_cast<std::size_t>(uses_[e].to); };
  std::vector<std::uint32_t> scratch;
  std::vector<std::uint32_t> bySection = SortBy(order, 3, section, scratch);
  out_ = SortBy(SortBy(bySection, n, to, scratch), n, from, outStart_);
  in_ = SortBy(SortBy(bySection, n, from, scratch), n, to, inStart_);
}

}  // namespace ravelin
