// The cycles report and the uses graph as JSON.
#include "units/UsesGraphJson.h"

#include "units/UnitJson.h"

namespace ravelin {

namespace {

/// Sets row[unitsKey] to the units of a chain (its start, then the unit each use leads to) and
/// row[sectionsKey] to the sections of its uses.
void ChainJson(const UsesGraph& graph, const UsesChain& chain, JsonDocument& row,
               const char* unitsKey, const char* sectionsKey) {
  JsonDocument units = JsonDocument::array(), sections = JsonDocument::array();
  if (!chain.empty()) units.push_back(JsonName(graph.UnitName(graph.Use(chain.front()).from)));
  for (std::uint32_t edge : chain) {
    units.push_back(JsonName(graph.UnitName(graph.Use(edge).to)));
    sections.push_back(SectionName(graph.Use(edge).section));
  }
  row[unitsKey] = std::move(units);
  row[sectionsKey] = std::move(sections);
}

JsonDocument BreakHintJson(const UsesGraph& graph, const BreakHint& hint) {
  JsonDocument json = JsonDocument::object();
  json["exact"] = hint.exact;
  json["cycles"] = hint.cycles;
  json["broken"] = hint.broken;
  json["tied"] = hint.tied;
  JsonDocument& uses = json["uses"] = JsonDocument::array();
  for (const UnitUse& use : hint.uses) {
    JsonDocument row = JsonDocument::object();
    row["from"] = JsonName(graph.UnitName(use.from));
    row["to"] = JsonName(graph.UnitName(use.to));
    JsonDocument& sections = row["sections"] = JsonDocument::array();
    for (std::uint32_t edge : use.edges) sections.push_back(SectionName(graph.Use(edge).section));
    uses.push_back(std::move(row));
  }
  return json;
}

}  // namespace

JsonDocument CyclesJson(const UsesGraphRecords& graph) {
  const UsesGraph& g = graph.graph;
  JsonDocument document = JsonDocument::object();
  document["version"] = kMachineFormatVersion;
  document["root"] = JsonName(graph.records.root);
  document["units"] = g.UnitCount();
  JsonDocument& cycles = document["cycles"] = JsonDocument::array();
  for (const CycleGroup& group : graph.cycles.groups) {
    JsonDocument row = JsonDocument::object();
    JsonDocument& units = row["units"] = JsonDocument::array();
    for (std::uint32_t unit : group.units) units.push_back(JsonName(g.UnitName(unit)));
    ChainJson(g, group.chain, row, "chain", "sections");
    row["interfaceOnly"] = group.interfaceOnly;
    if (group.interfaceOnly) {
      ChainJson(g, group.interfaceChain, row, "interfaceChain", "interfaceSections");
    } else {
      row["interfaceChain"] = nullptr;
      row["interfaceSections"] = nullptr;
    }
    row["breakHint"] = BreakHintJson(g, group.breakHint);
    cycles.push_back(std::move(row));
  }
  return document;
}

std::string RenderCyclesJson(const UsesGraphRecords& graph) {
  return JsonText(CyclesJson(graph));
}

JsonDocument GraphJson(const UsesGraphRecords& graph) {
  JsonDocument document = UnitJson(graph.records);
  JsonDocument& units = document["units"];
  for (std::size_t i = 0; i < units.size(); ++i) {
    const UnitFigures& figures = graph.cycles.units[i];
    units[i]["fanIn"] = figures.fanIn;
    units[i]["fanOut"] = figures.fanOut;
    units[i]["cycleGroup"] =
        figures.group == kNoGroup ? JsonDocument() : JsonDocument(figures.group + 1);
  }
  JsonDocument& uses = document["uses"];
  for (std::size_t i = 0; i < uses.size(); ++i) {
    const std::uint32_t edge = graph.edgeOfUse[i];
    uses[i]["cycle"] = edge != kNoEdge && graph.cycles.IsCycleUse(graph.graph, edge);
  }
  return document;
}

std::string RenderGraphJson(const UsesGraphRecords& graph) {
  return JsonText(GraphJson(graph));
}

}  // namespace ravelin
