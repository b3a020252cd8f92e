// The uses graph of a unit analysis's records.
#include "units/UsesGraphRecords.h"

#include <utility>

namespace ravelin {

UsesGraph MakeUsesGraph(const UnitRecords& records, std::vector<std::uint32_t>* edgeOfUse) {
  std::vector<std::string> names;
  names.reserve(records.units.size());
  for (const UnitRecord& unit : records.units) names.push_back(unit.name);
  std::vector<UsesEdge> edges;
  edges.reserve(records.uses.size());
  if (edgeOfUse != nullptr) edgeOfUse->assign(records.uses.size(), kNoEdge);
  for (std::size_t i = 0; i < records.uses.size(); ++i) {
    const UsesRecord& use = records.uses[i];
    if (use.fromUnit >= names.size() || use.toUnit >= names.size()) continue;
    if (edgeOfUse != nullptr) (*edgeOfUse)[i] = static_cast<std::uint32_t>(edges.size());
    edges.push_back({static_cast<std::uint32_t>(use.fromUnit),
                     static_cast<std::uint32_t>(use.toUnit), use.section});
  }
  return UsesGraph(std::move(names), std::move(edges));
}

UsesGraphRecords MakeUsesGraphRecords(UnitRecords records, const BreakHintOptions& options) {
  std::vector<std::uint32_t> edgeOfUse;
  UsesGraph graph = MakeUsesGraph(records, &edgeOfUse);
  CycleReport cycles = FindCycles(graph, options);
  return {std::move(records), std::move(graph), std::move(edgeOfUse), std::move(cycles)};
}

}  // namespace ravelin
