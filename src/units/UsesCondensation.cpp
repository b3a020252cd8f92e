// The condensed graph: component pairs of the uses ordered by two stable counting passes and
// merged where equal.
#include "units/UsesCondensation.h"

namespace ravelin {

CondensedGraph Condense(const UsesGraph& graph, const CycleReport& report) {
  CondensedGraph condensed;
  for (std::uint32_t u = 0; u < graph.UnitCount(); ++u) {
    const std::uint32_t c = report.component[u];
    if (c == condensed.nodes.size()) condensed.nodes.push_back({u, 0, report.units[u].group});
    ++condensed.nodes[c].unitCount;
  }
  // The uses between components, ordered by to, then stably by from.
  std::vector<CondensedUse> pairs;
  for (std::uint32_t e = 0; e < graph.UseCount(); ++e) {
    const std::uint32_t from = report.component[graph.Use(e).from];
    const std::uint32_t to = report.component[graph.Use(e).to];
    if (from != to) pairs.push_back({from, to, 1});
  }
  const std::size_t n = condensed.nodes.size();
  for (bool byFrom : {false, true}) {
    std::vector<std::uint32_t> start(n + 1, 0);
    for (const CondensedUse& p : pairs) ++start[(byFrom ? p.from : p.to) + 1];
    for (std::size_t c = 0; c < n; ++c) start[c + 1] += start[c];
    std::vector<CondensedUse> sorted(pairs.size());
    for (const CondensedUse& p : pairs) sorted[start[byFrom ? p.from : p.to]++] = p;
    pairs.swap(sorted);
  }
  for (const CondensedUse& p : pairs) {
    CondensedUse* last = condensed.uses.empty() ? nullptr : &condensed.uses.back();
    if (last != nullptr && last->from == p.from && last->to == p.to)
      ++last->uses;
    else
      condensed.uses.push_back(p);
  }
  return condensed;
}

}  // namespace ravelin
