// The uses graph drawn through the Graphviz library.
#include "units/GraphSvg.h"

#ifdef RAVELIN_HAVE_GRAPHVIZ
#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>
#endif

#include <memory>

#include "common/Error.h"
#include "common/HtmlText.h"
#include "units/GraphExport.h"
#include "units/UsesCondensation.h"

namespace ravelin {

bool CanDrawGraphs() {
#ifdef RAVELIN_HAVE_GRAPHVIZ
  return true;
#else
  return false;
#endif
}

std::string RenderCondensedDot(const UsesGraphRecords& graph, const CondensedGraph& condensed) {
  std::string text = "digraph condensed {\n";
  text += "  node [shape=box, style=rounded, fontname=Helvetica, fontsize=10];\n";
  text += "  edge [arrowsize=0.7];\n";
  for (std::size_t i = 0; i < condensed.nodes.size(); ++i) {
    const CondensedNode& node = condensed.nodes[i];
    const std::string& first = graph.graph.UnitName(node.firstUnit);
    text += "  c" + std::to_string(i + 1) + " [label=";
    if (node.group == kNoGroup) {
      text += DotQuoted(first);
      if (!graph.records.units[node.firstUnit].found)
        text += ", style=\"rounded,filled\", fillcolor=gray92, color=gray60, fontcolor=gray45";
    } else {
      text += DotQuoted("group " + std::to_string(node.group + 1) + ": " + first + " +" +
                        std::to_string(node.unitCount - 1)) +
              ", color=red, fontcolor=red";
    }
    text += "];\n";
  }
  for (const CondensedUse& use : condensed.uses) {
    text += "  c" + std::to_string(use.from + 1) + " -> c" + std::to_string(use.to + 1) +
            (use.uses > 1 ? " [tooltip=\"" + std::to_string(use.uses) + " uses\"]" : "") + ";\n";
  }
  return text + "}\n";
}

std::string DotToSvg(const std::string& dot) {
#ifdef RAVELIN_HAVE_GRAPHVIZ
  // One context for the whole process: the library keeps a cache of font names across
  // contexts, and freeing one context leaves that cache pointing at freed memory.
  static const std::unique_ptr<GVC_t, int (*)(GVC_t*)> context(gvContext(), gvFreeContext);
  if (!context) throw GeneralError("Cannot draw the uses graph: the graph library did not start");
  std::unique_ptr<Agraph_t, int (*)(Agraph_t*)> g(agmemread(dot.c_str()), agclose);
  if (!g) throw GeneralError("Cannot draw the uses graph: the graph library rejected it");
  if (gvLayout(context.get(), g.get(), "dot") != 0)
    throw GeneralError("Cannot draw the uses graph: its layout failed");
  char* data = nullptr;
  unsigned int length = 0;
  const int rendered = gvRenderData(context.get(), g.get(), "svg", &data, &length);
  std::string svg = rendered == 0 && data != nullptr ? std::string(data, length) : std::string();
  gvFreeRenderData(data);
  gvFreeLayout(context.get(), g.get());
  const std::size_t start = svg.find("<svg");
  if (start == std::string::npos)
    throw GeneralError("Cannot draw the uses graph: the graph library drew nothing");
  return svg.substr(start);
#else
  (void)dot;
  throw GeneralError("Cannot draw the uses graph: this build has no graph library");
#endif
}

std::string RenderGraphHtmlSection(const UsesGraphRecords& graph) {
  std::string html = "<section id=\"graph\">\n<h2>Uses graph</h2>\n";
  if (!CanDrawGraphs()) {
    return html +
           "<p class=\"note\" id=\"no-picture\">The picture of the uses graph is unavailable: "
           "this build of ravelin-cli has no graph library. <code>ravelin-cli graph</code> "
           "writes the graph for drawing programs.</p>\n</section>\n";
  }
  const bool condensed = graph.graph.UnitCount() > kFullPictureUnits;
  std::string dot;
  if (condensed) {
    const CondensedGraph nodes = Condense(graph.graph, graph.cycles);
    const std::string units = std::to_string(graph.graph.UnitCount());
    if (nodes.nodes.size() > kMaxPictureNodes) {
      return html + "<p class=\"note\" id=\"no-picture\">The graph has " + units + " units, " +
             std::to_string(nodes.nodes.size()) +
             " even with each cycle group drawn as one node: too many to draw here. "
             "<code>ravelin-cli graph --format dot</code> writes the full graph.</p>\n"
             "</section>\n";
    }
    html += "<p class=\"note\">The graph has " + units +
            " units: each cycle group is drawn as one node. <code>ravelin-cli graph --format "
            "dot</code> writes the full graph.</p>\n";
    dot = RenderCondensedDot(graph, nodes);
  } else {
    dot = RenderGraphDot(graph, false);
    html +=
        "<p class=\"note\">Interface uses solid, implementation uses dashed, cycles red, "
        "unresolved units grey.</p>\n";
  }
  html += "<div class=\"graph\">\n" + DotToSvg(dot) + "</div>\n";
  return html + "</section>\n";
}

}  // namespace ravelin
