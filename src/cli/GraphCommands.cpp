// ravelin-cli cycles and graph, and the cycle gate of the unit commands.
#include "cli/GraphCommands.h"

#include <ctime>

#include "cli/OutputOptions.h"
#include "cli/UnitCommands.h"
#include "units/CyclesText.h"
#include "units/GraphExport.h"
#include "units/UsesGraphJson.h"

namespace ravelin::cli {

namespace {

/// The records of an analysis with their graph and cycles.
UsesGraphRecords GraphOf(const UnitAnalysisState& analysis, const BreakHintOptions& options = {}) {
  return MakeUsesGraphRecords(MakeUnitRecords(analysis), options);
}

const std::vector<std::string_view> kCyclesFormats = {"text", "json"};
const std::vector<std::string_view> kGraphFormats = {"dot", "graphml", "json"};

ExitStatus RunCycles(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  const OutputChoice output = ChooseOutput(args, kCyclesFormats);
  return RunUnitAnalysis(
      args, out, err, [&](UnitAnalysisState& analysis, const std::string&, std::string& text) {
        const UsesGraphRecords graph = GraphOf(analysis);
        if (output.format == "json") {
          text = RenderCyclesJson(graph);
        } else {
          ReportWriter f;
          f.Eol = output.eol;
          OpenReportText(f, text);
          RenderCyclesText(graph, "RAVELIN REPORT " + FormatBannerTime(std::time(nullptr)),
                           graph.records.root, f);
          f.Close();
        }
        return ExitStatus::Success;
      });
}

ExitStatus RunGraph(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  const OutputChoice output = ChooseOutput(args, kGraphFormats);
  const bool cluster = args.Has("cluster");
  if (cluster && output.format != "dot")
    throw UsageError("--cluster applies to the dot format only");
  return RunUnitAnalysis(args, out, err,
                         [&](UnitAnalysisState& analysis, const std::string&, std::string& text) {
                           const UsesGraphRecords graph = GraphOf(analysis);
                           if (output.format == "graphml") {
                             text = RenderGraphMl(graph);
                           } else if (output.format == "json") {
                             text = RenderGraphJson(graph);
                           } else {
                             text = RenderGraphDot(graph, cluster);
                           }
                           return ExitStatus::Success;
                         });
}

const char* const kCyclesHelp =
    "The uses graph has a node per unit of the unit file listing and an edge from A to B for\n"
    "every unit B named in a uses clause of A, in either section; a unit found nowhere is a\n"
    "node without uses of its own. Units that reach each other through uses form a cycle\n"
    "group, and so does a unit that uses itself. Groups are listed in order of their first\n"
    "unit, their units as the listing sorts them.\n"
    "\n"
    "For each group the report gives a shortest cycle through its first unit, each use marked\n"
    "with its section; whether a cycle of interface uses alone exists (the compiler rejects it\n"
    "as a circular unit reference; the uses of a program's single clause count as interface\n"
    "uses), with such a cycle; and a break hint: the uses whose removal breaks the most of the\n"
    "group's cycles. A use of one unit by another counts once, whatever sections name it. For\n"
    "a small group every simple cycle is counted and the hint is exact; for a large one the\n"
    "shortest cycles through up to 32 units spread over the group are counted instead, and the\n"
    "hint is approximate. When several uses tie, the first five are listed.";

}  // namespace

OptionSpec FailOnCyclesOption() {
  return {"fail-on-cycles",
          "interface",
          "exit with status 3 when the uses graph has a cycle group (=interface: only when a "
          "cycle of interface uses alone exists); the report is still written",
          0,
          false,
          true};
}

CycleGate ChooseCycleGate(const ParsedArgs& args) {
  if (!args.Has("fail-on-cycles")) return CycleGate::Off;
  const std::string kind = args.Value("fail-on-cycles");
  if (kind.empty()) return CycleGate::AnyCycle;
  if (kind == "interface") return CycleGate::InterfaceOnly;
  throw UsageError("--fail-on-cycles takes no value or =interface, not '" + kind + "'");
}

ExitStatus CheckCycleGate(CycleGate gate, const UnitAnalysisState& analysis, std::string& message) {
  if (gate == CycleGate::Off) return ExitStatus::Success;
  // The verdicts need no break hints: the cheapest ones will do.
  const UsesGraphRecords graph = GraphOf(analysis, {0, 0, 1});
  std::size_t interfaceOnly = 0;
  for (const CycleGroup& group : graph.cycles.groups) interfaceOnly += group.interfaceOnly ? 1 : 0;
  const std::size_t groups = graph.cycles.groups.size();
  if (groups == 0 || (gate == CycleGate::InterfaceOnly && interfaceOnly == 0))
    return ExitStatus::Success;
  message = std::string(kProgramName) + ": " + std::to_string(groups) +
            (groups == 1 ? " cycle group, " : " cycle groups, ") + std::to_string(interfaceOnly) +
            " with an interface-only cycle (--fail-on-cycles" +
            (gate == CycleGate::InterfaceOnly ? "=interface" : "") + ")\n";
  return ExitStatus::Condition;
}

CliCommand CyclesCommand() {
  static const std::string details =
      "Writes the cycles report: every cycle group of the uses graph of ROOT.\n\n" +
      std::string(kCyclesHelp) +
      "\n\n--format json writes {\"version\", \"root\", \"units\", \"cycles\": [{\"units\",\n"
      "\"chain\" (from the first unit back to it), \"sections\", \"interfaceOnly\",\n"
      "\"interfaceChain\", \"interfaceSections\", \"breakHint\"}]}.";
  CliCommand command = UnitCommand(
      "cycles", "list the cycles of units that use each other, with a hint to break them",
      details.c_str(), RunCycles);
  command.options = UnitOptions();
  command.options.push_back(FailOnCyclesOption());
  for (OptionSpec& option : FormatOptions(kCyclesFormats))
    command.options.push_back(std::move(option));
  return command;
}

CliCommand GraphCommand() {
  CliCommand command = UnitCommand(
      "graph", "export the uses graph for Graphviz, yEd or Gephi",
      "Writes the uses graph of ROOT: a node per unit of the unit file listing (name, file,\n"
      "size, fan-in and fan-out in distinct units, cycle group), an edge per unit named in a\n"
      "uses clause (its section; whether it lies on a cycle).\n\n"
      "--format dot (the default) is for Graphviz (dot -Tsvg): interface uses solid,\n"
      "implementation uses dashed, unresolved units grey, uses on a cycle and the units of\n"
      "cycle groups red; --cluster draws the units of each folder in a box of their own.\n"
      "--format graphml opens in yEd and Gephi, every attribute declared as a key.\n"
      "--format json is the unit document of list --format json with \"fanIn\", \"fanOut\" and\n"
      "\"cycleGroup\" per unit and \"cycle\" per use. Names that are no valid UTF-8 are drawn\n"
      "with U+FFFD for each bad byte in DOT and GraphML.",
      RunGraph);
  command.synopsis =
      "[--settings FILE] [--rtl DIR] [--vcl DIR] [--search \"DIR;DIR\"] "
      "[--format dot|graphml|json] [--cluster] [--fail-on-cycles[=interface]] [--report FILE] ROOT";
  command.options = UnitOptions();
  command.options.push_back(FailOnCyclesOption());
  command.options.push_back(FormatOptions(kGraphFormats).front());
  command.options.push_back(
      {"cluster", "", "with --format dot: draw the units of each folder in a box"});
  return command;
}

}  // namespace ravelin::cli
