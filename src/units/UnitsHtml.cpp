// The units and their cycles as HTML.
#include "units/UnitsHtml.h"

#include <algorithm>

#include "common/HtmlText.h"
#include "common/MachineFormats.h"

namespace ravelin {

namespace {

/// A chain as "A → B (interface) → C (implementation) → A (interface)".
std::string ChainText(const UsesGraph& graph, const UsesChain& chain) {
  if (chain.empty()) return {};
  std::string text = HtmlEscape(graph.UnitName(graph.Use(chain.front()).from));
  for (std::uint32_t edge : chain) {
    const UsesEdge& use = graph.Use(edge);
    text += " &rarr; " + HtmlEscape(graph.UnitName(use.to)) + " <small>(" +
            SectionName(use.section) + ")</small>";
  }
  return text;
}

}  // namespace

std::string RenderUnitsHtmlSection(const UsesGraphRecords& graph) {
  std::string html = SortableTableStart(
      "unit-list", "Units", "units",
      {"Unit", "File", "Size", "Modified (UTC)", "Fan-in", "Fan-out", "Cycle group"});
  const std::vector<UnitRecord>& units = graph.records.units;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const UnitRecord& unit = units[i];
    const UnitFigures& figures = graph.cycles.units[i];
    html += "<tr data-i=\"" + std::to_string(i) + "\"" +
            (unit.found ? "" : " class=\"unresolved\"") + "><td>" + HtmlEscape(unit.name) + "</td>";
    if (unit.found) {
      html += "<td>" + HtmlEscape(unit.entry) + "</td>" +
              NumberCell(static_cast<std::int64_t>(unit.size)) + "<td>" +
              IsoUtcTime(unit.modified) + "</td>";
    } else {
      html += "<td class=\"error\">unresolved</td><td data-v=\"-1\"></td><td></td>";
    }
    html += NumberCell(figures.fanIn) + NumberCell(figures.fanOut);
    html += figures.group == kNoGroup ? std::string("<td data-v=\"0\"></td>")
                                      : NumberCell(figures.group + 1);
    html += "</tr>\n";
  }
  return html + "</tbody>\n</table>\n</section>\n";
}

std::string RenderCyclesHtmlSection(const UsesGraphRecords& graph) {
  const std::vector<CycleGroup>& groups = graph.cycles.groups;
  std::string html = "<section id=\"cycles\">\n<h2>Cycle groups</h2>\n";
  if (groups.empty()) return html + "<p>No cycle groups.</p>\n</section>\n";
  std::vector<std::size_t> order(groups.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_partition(order.begin(), order.end(),
                        [&](std::size_t i) { return groups[i].interfaceOnly; });
  for (std::size_t i : order) {
    const CycleGroup& group = groups[i];
    html += std::string("<div class=\"cycle-group") + (group.interfaceOnly ? " interface" : "") +
            "\">\n<h3>Group " + std::to_string(i + 1) + " (" + std::to_string(group.units.size()) +
            (group.units.size() == 1 ? " unit" : " units") + ")";
    if (group.interfaceOnly)
      html += " <span class=\"error\">error: circular unit reference in interface uses</span>";
    html += "</h3>\n<p>Units: ";
    for (std::size_t k = 0; k < group.units.size(); ++k)
      html += (k > 0 ? ", " : "") + HtmlEscape(graph.graph.UnitName(group.units[k]));
    html += "</p>\n<p>Shortest cycle: " + ChainText(graph.graph, group.chain) + "</p>\n";
    if (group.interfaceOnly) {
      html += "<p class=\"error\">Interface-only cycle: " +
              ChainText(graph.graph, group.interfaceChain) + "</p>\n";
    }
    html += "</div>\n";
  }
  return html + "</section>\n";
}

}  // namespace ravelin
