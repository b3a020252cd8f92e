// The uses inside one component: built from the graph's ordered uses in time linear in the
// component's units and uses; breadth-first searches and shortest cycles over it.
#include "units/ComponentGraph.h"

#include <limits>

namespace ravelin {

namespace {

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() - b
             ? std::numeric_limits<std::uint64_t>::max()
             : a + b;
}

}  // namespace

ComponentGraph::ComponentGraph(const UsesGraph& graph, const StrongComponents& components,
                               std::uint32_t c, UsesFilter filter) {
  auto units = components.Units(c);
  units_.assign(units.begin(), units.end());
  const std::uint32_t n = Size();
  intoStart_.assign(n + 1, 0);
  for (std::uint32_t local = 0; local < n; ++local) {
    for (std::uint32_t e : graph.UsesOf(units_[local])) {
      const UsesEdge& use = graph.Use(e);
      if (!Passes(filter, use.section) || components.Of(use.to) != c) continue;
      const std::uint32_t head = components.Rank(use.to);
      // Uses come by unit used, then section: the first of a pair opens its arc.
      if (head_.size() > arcStart_.back() && head_.back() == head) continue;
      tail_.push_back(local);
      head_.push_back(head);
      edge_.push_back(e);
      ++intoStart_[head + 1];
    }
    arcStart_.push_back(static_cast<std::uint32_t>(head_.size()));
  }
  for (std::uint32_t local = 0; local < n; ++local) intoStart_[local + 1] += intoStart_[local];
  std::vector<std::uint32_t> next(intoStart_);
  into_.resize(head_.size());
  for (std::uint32_t arc = 0; arc < ArcCount(); ++arc) into_[next[head_[arc]]++] = arc;
}

Layers ComponentGraph::Search(std::uint32_t root, bool forward, std::uint32_t floor,
                              std::uint64_t& work) const {
  Layers layers{std::vector<std::uint32_t>(Size(), kFar), std::vector<std::uint64_t>(Size(), 0)};
  std::vector<std::uint32_t> queue{root};
  layers.distance[root] = 0;
  layers.paths[root] = 1;
  auto reach = [&](std::uint32_t from, std::uint32_t to) {
    if (to < floor) return;
    if (layers.distance[to] == kFar) {
      layers.distance[to] = layers.distance[from] + 1;
      queue.push_back(to);
    }
    if (layers.distance[to] == layers.distance[from] + 1)
      layers.paths[to] = SaturatingAdd(layers.paths[to], layers.paths[from]);
  };
  for (std::size_t i = 0; i < queue.size(); ++i) {
    const std::uint32_t v = queue[i];
    if (forward) {
      work += EndArc(v) - FirstArc(v);
      for (std::uint32_t arc = FirstArc(v); arc < EndArc(v); ++arc) reach(v, head_[arc]);
    } else {
      work += ArcsInto(v).size();
      for (std::uint32_t arc : ArcsInto(v)) reach(v, tail_[arc]);
    }
  }
  return layers;
}

UsesChain ComponentGraph::ShortestCycle(std::uint32_t local) const {
  std::uint64_t work = 0;
  const std::vector<std::uint32_t> back = Search(local, false, 0, work).distance;
  std::uint32_t length = kFar;
  for (std::uint32_t arc = FirstArc(local); arc < EndArc(local); ++arc)
    if (back[head_[arc]] != kFar && back[head_[arc]] + 1 < length) length = back[head_[arc]] + 1;
  UsesChain chain;
  if (length == kFar) return chain;
  for (std::uint32_t at = local; chain.size() < length;) {
    const std::uint32_t remaining = length - static_cast<std::uint32_t>(chain.size()) - 1;
    std::uint32_t arc = FirstArc(at);
    while (back[head_[arc]] != remaining) ++arc;
    chain.push_back(edge_[arc]);
    at = head_[arc];
  }
  return chain;
}

}  // namespace ravelin
