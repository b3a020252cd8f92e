// The cycles report as text.
#include "units/CyclesText.h"

#include "common/VornString.h"

namespace ravelin {

namespace {

/// The width unit names are padded to, as in the unit file listing.
constexpr int kNameWidth = 20;

/// "1 unit", "2 units".
std::string Count(std::uint64_t n, const char* what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

/// The sections of a unit's uses of another: "interface", "interface, implementation".
std::string Sections(const UsesGraph& graph, const UnitUse& use) {
  std::string text;
  for (std::uint32_t edge : use.edges) {
    if (!text.empty()) text += ", ";
    text += SectionName(graph.Use(edge).section);
  }
  return text;
}

/// A chain, one unit a line: the start, then "-> unit  section" per use.
void WriteChain(const UsesGraph& graph, const UsesChain& chain, const std::string& title,
                ReportWriter& f) {
  if (chain.empty()) return;
  const std::uint32_t start = graph.Use(chain.front()).from;
  f.WriteLine("  " + title + " through " + graph.UnitName(start) + " (" +
              Count(chain.size(), "use") + "):");
  f.WriteLine("         " + graph.UnitName(start));
  for (std::uint32_t edge : chain) {
    const UsesEdge& use = graph.Use(edge);
    f.WriteLine("      -> " + PadRight(graph.UnitName(use.to), kNameWidth) + "  " +
                SectionName(use.section));
  }
}

void WriteBreakHint(const UsesGraph& graph, const BreakHint& hint, ReportWriter& f) {
  if (hint.exact) {
    f.WriteLine("  Break hint: the uses on the most of the group's " + Count(hint.cycles, "cycle") +
                " (counted exactly):");
  } else {
    f.WriteLine("  Break hint: the uses on the most of " + Count(hint.cycles, "shortest cycle") +
                " through sampled units (approximate):");
  }
  for (const UnitUse& use : hint.uses) {
    f.WriteLine("         " + PadRight(graph.UnitName(use.from), kNameWidth) + " -> " +
                PadRight(graph.UnitName(use.to), kNameWidth) + "  " + Sections(graph, use) +
                " (on " + std::to_string(hint.broken) + " of " + std::to_string(hint.cycles) + ")");
  }
  if (hint.tied > hint.uses.size()) {
    f.WriteLine("         (" + std::to_string(hint.tied) +
                " uses lie on as many cycles; the first " + std::to_string(hint.uses.size()) +
                " are listed)");
  }
}

}  // namespace

void RenderCyclesText(const UsesGraphRecords& graph, const std::string& banner,
                      const std::string& rootName, ReportWriter& f) {
  const CycleReport& cycles = graph.cycles;
  WriteReportBanner(f, banner);
  f.WriteLine("");
  f.WriteLine(CenterText("Unit Cycles for " + rootName, kReportWidth));
  f.WriteLine("");
  std::size_t interfaceOnly = 0;
  for (const CycleGroup& group : cycles.groups) interfaceOnly += group.interfaceOnly ? 1 : 0;
  const std::string units = Count(graph.graph.UnitCount(), "unit");
  if (cycles.groups.empty()) {
    f.WriteLine("No cycle groups among " + units + ".");
  } else {
    f.WriteLine(Count(cycles.groups.size(), "cycle group") + " among " + units + ", " +
                std::to_string(interfaceOnly) + " with an interface-only cycle.");
  }
  for (std::size_t g = 0; g < cycles.groups.size(); ++g) {
    const CycleGroup& group = cycles.groups[g];
    f.WriteLine("");
    f.WriteLine("Group " + std::to_string(g + 1) + ": " + Count(group.units.size(), "unit") +
                (group.interfaceOnly ? ", interface-only cycle (circular unit reference)"
                                     : ", no interface-only cycle"));
    f.WriteLine("  Units:");
    for (std::size_t i = 0; i < group.units.size(); ++i)
      f.WriteLine(IntToStrWidth(static_cast<std::int64_t>(i + 1), 7) + ": " +
                  graph.graph.UnitName(group.units[i]));
    WriteChain(graph.graph, group.chain, "Shortest cycle", f);
    if (group.interfaceOnly)
      WriteChain(graph.graph, group.interfaceChain, "Interface-only cycle", f);
    WriteBreakHint(graph.graph, group.breakHint, f);
  }
  f.WriteLine("");
  f.WriteLine("");
}

}  // namespace ravelin
