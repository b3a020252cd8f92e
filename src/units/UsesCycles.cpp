// The cycle report: components over all uses and over interface-like uses, one component
// graph per cycle group for its chains and break hint, and the fan figures.
#include "units/UsesCycles.h"

namespace ravelin {

namespace {

/// Distinct units at the other ends of edges ordered by that end.
std::uint32_t Distinct(const UsesGraph& graph, std::span<const std::uint32_t> edges, bool heads) {
  std::uint32_t count = 0;
  for (std::size_t i = 0; i < edges.size(); ++i) {
    auto end = [&](std::size_t k) {
      return heads ? graph.Use(edges[k]).to : graph.Use(edges[k]).from;
    };
    if (i == 0 || end(i) != end(i - 1)) ++count;
  }
  return count;
}

}  // namespace

bool CycleReport::HasInterfaceOnlyCycle() const {
  for (const CycleGroup& group : groups)
    if (group.interfaceOnly) return true;
  return false;
}

bool CycleReport::IsCycleUse(const UsesGraph& graph, std::uint32_t edge) const {
  const UsesEdge& use = graph.Use(edge);
  return units[use.from].group != kNoGroup && units[use.from].group == units[use.to].group;
}

CycleReport FindCycles(const UsesGraph& graph, const BreakHintOptions& options) {
  const StrongComponents all(graph, UsesFilter::All);
  const StrongComponents interfaceLike(graph, UsesFilter::InterfaceLike);
  BreakHintChooser hints(options);
  CycleReport report;
  report.units.resize(graph.UnitCount());
  report.component.resize(graph.UnitCount());
  for (std::uint32_t u = 0; u < graph.UnitCount(); ++u) {
    report.units[u].fanOut = Distinct(graph, graph.UsesOf(u), true);
    report.units[u].fanIn = Distinct(graph, graph.UsersOf(u), false);
    report.component[u] = all.Of(u);
  }
  for (std::uint32_t c = 0; c < all.Count(); ++c) {
    if (!all.IsCyclic(c)) continue;
    CycleGroup group;
    auto units = all.Units(c);
    group.units.assign(units.begin(), units.end());
    for (std::uint32_t u : units)
      report.units[u].group = static_cast<std::uint32_t>(report.groups.size());
    const ComponentGraph uses(graph, all, c, UsesFilter::All);
    group.chain = uses.ShortestCycle(0);
    for (std::uint32_t u : units) {
      const std::uint32_t inner = interfaceLike.Of(u);
      if (!interfaceLike.IsCyclic(inner)) continue;
      group.interfaceOnly = true;
      group.interfaceChain =
          ComponentGraph(graph, interfaceLike, inner, UsesFilter::InterfaceLike).ShortestCycle(0);
      break;
    }
    group.breakHint = hints.Choose(graph, uses);
    report.groups.push_back(std::move(group));
  }
  return report;
}

}  // namespace ravelin
