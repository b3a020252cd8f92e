// The uses graph in DOT.
#include <map>

#include "common/PathUtil.h"
#include "units/GraphExport.h"

namespace ravelin {

namespace {

std::string NodeLine(const UsesGraphRecords& graph, std::size_t unit) {
  const UnitRecord& record = graph.records.units[unit];
  const UnitFigures& figures = graph.cycles.units[unit];
  std::string line = NodeId(unit) + " [label=" + DotQuoted(record.name);
  if (record.found) {
    line += ", file=" + DotQuoted(record.entry) + ", size=" + std::to_string(record.size) +
            ", tooltip=" + DotQuoted(record.entry);
  } else {
    line +=
        ", tooltip=\"unresolved\", style=\"rounded,filled\", fillcolor=gray92, color=gray60, "
        "fontcolor=gray45";
  }
  line += ", fanin=" + std::to_string(figures.fanIn) + ", fanout=" + std::to_string(figures.fanOut);
  if (figures.group != kNoGroup) {
    line += ", cyclegroup=" + std::to_string(figures.group + 1) + ", color=red";
  }
  return line + "];";
}

}  // namespace

std::string RenderGraphDot(const UsesGraphRecords& graph, bool clusterByFolder) {
  const UnitRecords& records = graph.records;
  std::string text = "digraph uses {\n";
  text += "  graph [label=" + DotQuoted("Uses of " + records.root) +
          ", labelloc=t, fontname=Helvetica];\n";
  text += "  node [shape=box, style=rounded, fontname=Helvetica, fontsize=10];\n";
  text += "  edge [arrowsize=0.7];\n";

  // The units found on disk in a box per folder (folders in order of their first unit), the
  // unresolved ones outside.
  std::vector<std::string> folders;
  std::map<std::string, std::vector<std::size_t>> unitsOfFolder;
  std::vector<std::size_t> loose;
  for (std::size_t unit = 0; unit < records.units.size(); ++unit) {
    const UnitRecord& record = records.units[unit];
    if (!clusterByFolder || !record.found) {
      loose.push_back(unit);
      continue;
    }
    auto [it, added] = unitsOfFolder.try_emplace(FolderPart(record.entry));
    if (added) folders.push_back(it->first);
    it->second.push_back(unit);
  }
  for (std::size_t i = 0; i < folders.size(); ++i) {
    text += "  subgraph cluster_" + std::to_string(i + 1) + " {\n";
    text += "    label=" + DotQuoted(folders[i]) + "; style=rounded; color=gray70;\n";
    for (std::size_t unit : unitsOfFolder[folders[i]])
      text += "    " + NodeLine(graph, unit) + "\n";
    text += "  }\n";
  }
  for (std::size_t unit : loose) text += "  " + NodeLine(graph, unit) + "\n";

  const UsesGraph& g = graph.graph;
  for (std::uint32_t edge = 0; edge < g.UseCount(); ++edge) {
    const UsesEdge& use = g.Use(edge);
    text +=
        "  " + NodeId(use.from) + " -> " + NodeId(use.to) + " [section=" + SectionName(use.section);
    if (use.section == UsesSection::Implementation) text += ", style=dashed";
    if (graph.cycles.IsCycleUse(g, edge)) text += ", color=red";
    text += "];\n";
  }
  return text + "}\n";
}

}  // namespace ravelin
