// Strongly connected components: Tarjan's single depth-first pass with an explicit stack of
// frames (unit, position in its uses) instead of recursion, so a chain of any length fits.
#include "units/StrongComponents.h"

#include <algorithm>
#include <limits>

namespace ravelin {

namespace {

constexpr std::uint32_t kUnvisited = std::numeric_limits<std::uint32_t>::max();

struct Frame {
  std::uint32_t unit;
  std::uint32_t next;  // the next position in UsesOf(unit) to follow
};

}  // namespace

StrongComponents::StrongComponents(const UsesGraph& graph, UsesFilter filter) {
  const std::uint32_t n = graph.UnitCount();
  std::vector<std::uint32_t> index(n, kUnvisited), low(n, 0), found(n, kUnvisited);
  std::vector<bool> onStack(n), selfUse(n);
  std::vector<std::uint32_t> stack;
  std::vector<Frame> frames;
  std::uint32_t counter = 0, components = 0;

  auto enter = [&](std::uint32_t unit) {
    index[unit] = low[unit] = counter++;
    stack.push_back(unit);
    onStack[unit] = true;
    frames.push_back({unit, 0});
  };
  for (std::uint32_t root = 0; root < n; ++root) {
    if (index[root] != kUnvisited) continue;
    enter(root);
    while (!frames.empty()) {
      const std::uint32_t v = frames.back().unit;
      auto uses = graph.UsesOf(v);
      if (frames.back().next < uses.size()) {
        const UsesEdge& edge = graph.Use(uses[frames.back().next++]);
        if (!Passes(filter, edge.section)) continue;
        const std::uint32_t w = edge.to;
        if (w == v) selfUse[v] = true;
        if (index[w] == kUnvisited)
          enter(w);
        else if (onStack[w])
          low[v] = std::min(low[v], index[w]);
        continue;
      }
      frames.pop_back();
      if (!frames.empty()) low[frames.back().unit] = std::min(low[frames.back().unit], low[v]);
      if (low[v] != index[v]) continue;
      std::uint32_t w;
      do {  // v is the root of a component: everything above it on the stack belongs to it
        w = stack.back();
        stack.pop_back();
        onStack[w] = false;
        found[w] = components;
      } while (w != v);
      ++components;
    }
  }

  // Renumber by first unit in listing order and group the units of each component.
  std::vector<std::uint32_t> number(components, kUnvisited), size;
  of_.resize(n);
  rank_.resize(n);
  for (std::uint32_t u = 0; u < n; ++u) {
    std::uint32_t& c = number[found[u]];
    if (c == kUnvisited) {
      c = static_cast<std::uint32_t>(size.size());
      size.push_back(0);
      cyclic_.push_back(false);
    }
    of_[u] = c;
    rank_[u] = size[c]++;
    if (selfUse[u] || size[c] > 1) cyclic_[c] = true;
  }
  start_.assign(size.size() + 1, 0);
  for (std::uint32_t c = 0; c < size.size(); ++c) start_[c + 1] = start_[c] + size[c];
  units_.resize(n);
  for (std::uint32_t u = 0; u < n; ++u) units_[start_[of_[u]] + rank_[u]] = u;
}

}  // namespace ravelin
